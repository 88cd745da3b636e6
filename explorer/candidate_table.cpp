#include "candidate_table.hpp"

#include "candidate_file.hpp"
#include "number_text.hpp"
#include "qt_text.hpp"
#include "run_markers.hpp"

#include <QBrush>
#include <QComboBox>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QUndoCommand>
#include <QUndoStack>

#include <algorithm>
#include <cmath>
#include <sstream>

namespace explorer {

namespace {

// Distinct on white and in print; a candidate keeps its colour through reordering.
const QColor kPalette[] = {
    QColor(0x1f, 0x77, 0xb4), QColor(0xd6, 0x27, 0x28), QColor(0x2c, 0xa0, 0x2c),
    QColor(0xff, 0x7f, 0x0e), QColor(0x94, 0x67, 0xbd), QColor(0x8c, 0x56, 0x4b),
    QColor(0xe3, 0x77, 0xc2), QColor(0x7f, 0x7f, 0x7f), QColor(0xbc, 0xbd, 0x22),
    QColor(0x17, 0xbe, 0xcf),
};

// Columns: the name, the fields of a candidate engine (inputs in file order, then results), and
// the note on what the curves cannot show.
constexpr int kNameColumn = 0;
constexpr int kFirstFieldColumn = 1;
constexpr int kFieldCount = static_cast<int>(fields::kEngineFields.size());
constexpr int kNoteColumn = kFirstFieldColumn + kFieldCount;
constexpr int kSourceColumn = kFirstFieldColumn + static_cast<int>(turbo::kMassFlowSourceField);

// What each field column holds: an input, a result, or the mass-flow source.
struct ColumnRole {
    std::optional<EngineInput> input;
    std::optional<EngineResult> result;
};

const std::array<ColumnRole, fields::kEngineFields.size()>& columnRoles() {
    static const auto roles = [] {
        std::array<ColumnRole, fields::kEngineFields.size()> r{};
        for (std::size_t i = 0; i < turbo::kEngineInputCount; ++i)
            r[turbo::engineFieldIndex(static_cast<EngineInput>(i))].input =
                static_cast<EngineInput>(i);
        for (std::size_t i = 0; i < turbo::kEngineResultCount; ++i)
            r[turbo::engineFieldIndex(static_cast<EngineResult>(i))].result =
                static_cast<EngineResult>(i);
        return r;
    }();
    return roles;
}

QString sourceWord(MassFlowSource source) {
    return toQString(fields::kEngineFields[turbo::kMassFlowSourceField]
                         .choices[source == MassFlowSource::Estimate ? 1 : 0]);
}

// The mass-flow source is one of two words: a list, not a text box.
class SourceDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&,
                          const QModelIndex&) const override {
        auto* list = new QComboBox(parent);
        for (const auto word : fields::kEngineFields[turbo::kMassFlowSourceField].choices)
            list->addItem(toQString(word));
        connect(list, &QComboBox::activated, this, [this, list] {
            auto* self = const_cast<SourceDelegate*>(this);
            emit self->commitData(list);
            emit self->closeEditor(list);
        });
        return list;
    }
    void setEditorData(QWidget* editor, const QModelIndex& index) const override {
        static_cast<QComboBox*>(editor)->setCurrentText(index.data(Qt::EditRole).toString());
    }
    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override {
        model->setData(index, static_cast<QComboBox*>(editor)->currentText(), Qt::EditRole);
    }
};

} // namespace

// One step of the undo history: every candidate before and after. Candidates are few and small,
// so a copy is simpler to get right than a step per kind of change.
class CandidateTable::Change : public QUndoCommand {
public:
    Change(CandidateTable* table, const QString& text, State before, State after)
        : QUndoCommand(text), table_(table), before_(std::move(before)), after_(std::move(after)) {}
    void undo() override { table_->apply(before_); }
    void redo() override { table_->apply(after_); }

private:
    CandidateTable* table_;
    State before_;
    State after_;
};

CandidateTable::CandidateTable(QUndoStack* undo, QObject* parent)
    : QAbstractTableModel(parent), undo_(undo) {
    reset();
}

CandidateTable::~CandidateTable() = default;

// ---- names -----------------------------------------------------------------------------------

QString CandidateTable::fieldName(const fields::Field& field) {
    return toQString(fields::displayName(field));
}

QString CandidateTable::titleWithUnit(const fields::Field& field, fields::UnitSystem units) {
    const auto unit = fields::unitText(field.quantity, units);
    return unit.empty()
               ? fieldName(field)
               : fieldName(field) + QStringLiteral(" (") + toQString(unit) + QLatin1Char(')');
}

const fields::Field* CandidateTable::fieldAt(int column) const {
    const int i = column - kFirstFieldColumn;
    return i >= 0 && i < kFieldCount ? &fields::kEngineFields[static_cast<std::size_t>(i)]
                                     : nullptr;
}

int CandidateTable::column(std::string_view key) const {
    if (key == "name")
        return kNameColumn;
    const auto found = fields::findField(fields::kEngineFields, key);
    return found ? kFirstFieldColumn + static_cast<int>(*found) : -1;
}

// ---- the table -------------------------------------------------------------------------------

int CandidateTable::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(candidates_.size());
}

int CandidateTable::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kNoteColumn + 1;
}

QVariant CandidateTable::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    if (section == kNameColumn)
        return tr("Name");
    if (section == kNoteColumn)
        return tr("No Figure");
    const fields::Field* field = fieldAt(section);
    if (!field)
        return {};
    // Two lines keep the columns narrow: the name over its unit.
    const auto unit = fields::unitText(field->quantity, units_);
    return unit.empty()
               ? fieldName(*field)
               : fieldName(*field) + QStringLiteral("\n(") + toQString(unit) + QLatin1Char(')');
}

Qt::ItemFlags CandidateTable::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    const Qt::ItemFlags base = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (index.column() == kNameColumn || index.column() == kSourceColumn)
        return base | Qt::ItemIsEditable;
    const fields::Field* field = fieldAt(index.column());
    if (!field)
        return base;
    const ColumnRole& role = columnRoles()[static_cast<std::size_t>(index.column() - 1)];
    if (!role.input)
        return base;
    // With the estimate as its source, the mass flow is worked out from the wheel, not typed.
    if (*role.input == EngineInput::MassFlow &&
        candidates_[static_cast<std::size_t>(index.row())].massFlowSource ==
            MassFlowSource::Estimate)
        return base;
    return base | Qt::ItemIsEditable;
}

QVariant CandidateTable::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const std::size_t row = static_cast<std::size_t>(index.row());
    const Candidate& candidate = candidates_[row];
    const int column = index.column();

    if (column == kNameColumn) {
        if (role == Qt::DisplayRole || role == Qt::EditRole)
            return toQString(candidate.name);
        if (role == Qt::DecorationRole)
            return colours_[row];
        return {};
    }
    if (column == kNoteColumn)
        return role == Qt::DisplayRole || role == Qt::ToolTipRole ? gaps_[row] : QVariant();
    if (column == kSourceColumn)
        return role == Qt::DisplayRole || role == Qt::EditRole
                   ? sourceWord(candidate.massFlowSource)
                   : QVariant();

    const ColumnRole& what = columnRoles()[static_cast<std::size_t>(column - 1)];
    if (role == Qt::TextAlignmentRole)
        return int(Qt::AlignRight | Qt::AlignVCenter);
    if (what.input) {
        const Cell& cell = candidate[*what.input];
        const bool estimated = *what.input == EngineInput::MassFlow &&
                               candidate.massFlowSource == MassFlowSource::Estimate;
        switch (role) {
        case Qt::DisplayRole:
        case Qt::EditRole:
            if (estimated) // the number the cycle uses: the wheel's estimate
                return results_[row]
                           ? figureText(fields::toDisplay(fields::Quantity::MassFlow, units_,
                                                          results_[row]->massFlow))
                           : QString();
            return toQString(cellText(*what.input, units_, cell));
        case Qt::BackgroundRole:
            return cell.bad && !estimated ? QBrush(QColor(0xff, 0xc8, 0xc8)) : QVariant();
        case Qt::ToolTipRole:
            return cell.bad && !estimated ? tr("\"%1\" is not a number").arg(toQString(cell.text))
                                          : QVariant();
        case Qt::ForegroundRole:
            return estimated ? QBrush(Qt::darkGray) : QVariant();
        default:
            return {};
        }
    }
    if (what.result && role == Qt::DisplayRole && results_[row]) {
        const auto& field = turbo::engineField(*what.result);
        return figureText(
            fields::toDisplay(field.quantity, units_, (*results_[row])[*what.result]));
    }
    return {};
}

bool CandidateTable::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || role != Qt::EditRole || !(flags(index) & Qt::ItemIsEditable))
        return false;
    const QString text = value.toString();
    // An untouched cell keeps its exact value, not the value of its six-digit text.
    if (text == data(index, Qt::EditRole).toString())
        return false;
    State after = state();
    Candidate& candidate = after.candidates[static_cast<std::size_t>(index.row())];
    const int column = index.column();
    QString what;
    if (column == kNameColumn) {
        candidate.name = text.toStdString();
        what = tr("Rename Candidate");
    } else if (column == kSourceColumn) {
        const auto& choices = fields::kEngineFields[turbo::kMassFlowSourceField].choices;
        if (text == toQString(choices[0]))
            candidate.massFlowSource = MassFlowSource::Typed;
        else if (text == toQString(choices[1]))
            candidate.massFlowSource = MassFlowSource::Estimate;
        else
            return false;
        what = tr("Change Mass Flow Source");
    } else {
        const EngineInput input = *columnRoles()[static_cast<std::size_t>(column - 1)].input;
        // Read by the rule of the windows' boxes; text that is not a number stays as typed.
        candidate[input] = readCell(input, units_, text.toStdString());
        what = tr("Edit %1").arg(fieldName(turbo::engineField(input)));
    }
    push(what, std::move(after));
    return true;
}

void CandidateTable::attachEditors(QTableView* view) {
    view->setItemDelegateForColumn(kSourceColumn, new SourceDelegate(view));
}

// ---- changes ---------------------------------------------------------------------------------

void CandidateTable::push(const QString& what, State after) {
    undo_->push(new Change(this, what, state(), std::move(after)));
}

void CandidateTable::apply(const State& next) {
    const bool sameShape = next.candidates.size() == candidates_.size();
    if (!sameShape)
        beginResetModel();
    candidates_ = next.candidates;
    colours_ = next.colours;
    results_.resize(candidates_.size());
    gaps_.resize(candidates_.size());
    for (std::size_t i = 0; i < candidates_.size(); ++i)
        results_[i] = evaluate(candidates_[i]);
    if (sameShape && rowCount() > 0)
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
    else if (!sameShape)
        endResetModel();
    emit candidatesChanged();
}

QColor CandidateTable::freeColour() const {
    for (const QColor& colour : kPalette)
        if (std::find(colours_.begin(), colours_.end(), colour) == colours_.end())
            return colour;
    return kPalette[colours_.size() % std::size(kPalette)];
}

std::string CandidateTable::freeName() const {
    for (int n = 1;; ++n) {
        const std::string name = tr("Candidate %1").arg(n).toStdString();
        if (std::none_of(candidates_.begin(), candidates_.end(),
                         [&](const Candidate& c) { return c.name == name; }))
            return name;
    }
}

int CandidateTable::addCandidate() {
    State after = state();
    after.candidates.emplace_back(freeName());
    after.colours.push_back(freeColour());
    push(tr("Add Candidate"), std::move(after));
    return rowCount() - 1;
}

int CandidateTable::duplicateCandidate(int at) {
    State after = state();
    Candidate copy = candidates_.at(static_cast<std::size_t>(at));
    copy.name = tr("%1 (copy)").arg(toQString(copy.name)).toStdString();
    after.candidates.insert(after.candidates.begin() + at + 1, std::move(copy));
    after.colours.insert(after.colours.begin() + at + 1, freeColour());
    push(tr("Duplicate Candidate"), std::move(after));
    return at + 1;
}

int CandidateTable::insertCandidate(int at, Candidate candidate) {
    State after = state();
    after.candidates.insert(after.candidates.begin() + at, std::move(candidate));
    after.colours.insert(after.colours.begin() + at, freeColour());
    push(tr("Add Candidate"), std::move(after));
    return at;
}

void CandidateTable::setRunLog(int row, std::shared_ptr<const runs::RunLog> log) {
    State after = state();
    after.candidates.at(static_cast<std::size_t>(row)).runLog = std::move(log);
    push(tr("Open Run Log"), std::move(after));
}

void CandidateTable::deleteCandidate(int at) {
    State after = state();
    after.candidates.erase(after.candidates.begin() + at);
    after.colours.erase(after.colours.begin() + at);
    push(tr("Delete Candidate"), std::move(after));
}

void CandidateTable::moveCandidate(int from, int to) {
    State after = state();
    std::swap(after.candidates.at(static_cast<std::size_t>(from)),
              after.candidates.at(static_cast<std::size_t>(to)));
    std::swap(after.colours.at(static_cast<std::size_t>(from)),
              after.colours.at(static_cast<std::size_t>(to)));
    push(tr("Move Candidate"), std::move(after));
}

namespace {

std::vector<QColor> paletteFor(std::size_t count) {
    std::vector<QColor> colours;
    for (std::size_t i = 0; i < count; ++i)
        colours.push_back(kPalette[i % std::size(kPalette)]);
    return colours;
}

} // namespace

void CandidateTable::reset() {
    auto candidates = startingCandidates();
    const auto colours = paletteFor(candidates.size());
    beginResetModel();
    candidates_.clear();
    endResetModel();
    apply({std::move(candidates), colours});
}

bool CandidateTable::load(const QString& path, QString* problem) {
    ReadResult read = loadCandidates(path.toStdString());
    if (read.error) {
        *problem = toQString(read.error->text());
        return false;
    }
    const auto colours = paletteFor(read.candidates.size());
    beginResetModel();
    candidates_.clear();
    endResetModel();
    apply({std::move(read.candidates), colours});
    return true;
}

bool CandidateTable::save(const QString& path, QString* problem) const {
    if (const auto error = saveCandidates(path.toStdString(), candidates_)) {
        *problem = toQString(error->text());
        return false;
    }
    return true;
}

// ---- units -----------------------------------------------------------------------------------

void CandidateTable::setUnits(fields::UnitSystem units) {
    if (units == units_)
        return;
    units_ = units;
    emit headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
    if (rowCount() > 0)
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
}

QString CandidateTable::rowNote(int at) const {
    if (at < 0 || at >= rowCount())
        return {};
    const std::size_t row = static_cast<std::size_t>(at);
    if (const auto why = problem(candidates_[row]))
        return tr("%1. Nothing is calculated for this candidate until it is a number.")
            .arg(toQString(*why));
    return gaps_[row].isEmpty()
               ? QString()
               : toQString(candidates_[row].name) + QStringLiteral(": ") + gaps_[row];
}

// ---- curves ----------------------------------------------------------------------------------

// Where the candidate itself sits on its curve: its own value of the swept input (the mass flow
// it used, when that is the wheel's estimate) and its result there, as its row shows them.
std::optional<QPointF> CandidateTable::ownPoint(std::size_t c, const CurveRequest& request,
                                                std::size_t k) const {
    const auto& r = results_[c];
    if (!r)
        return std::nullopt;
    const auto xField = turbo::engineField(request.swept);
    const float xForms =
        request.swept == EngineInput::MassFlow ? r->massFlow : candidates_[c][request.swept].value;
    const EngineResult result = request.results[k];
    const float x = fields::toDisplay(xField.quantity, request.units, xForms);
    const float y =
        fields::toDisplay(turbo::engineField(result).quantity, request.units, (*r)[result]);
    if (!std::isfinite(x) || !std::isfinite(y))
        return std::nullopt;
    return QPointF(x, y);
}

std::vector<ChartPanel> CandidateTable::curves(const CurveRequest& request, QString* problem) {
    computeCurves(candidates_, request, curves_);
    std::vector<ChartPanel> panels;
    panels.reserve(request.results.size());
    for (const EngineResult result : request.results)
        panels.push_back({titleWithUnit(turbo::engineField(result), request.units), {}});
    if (curves_.sweepProblem != fields::SweepProblem::None) {
        if (problem) {
            switch (curves_.sweepProblem) {
            case fields::SweepProblem::ZeroStep:
                *problem = tr("The sweep's step is 0.");
                break;
            case fields::SweepProblem::AwayFromStop:
                *problem = tr("The sweep's step goes away from \"to\".");
                break;
            default:
                *problem = tr("The sweep has more than %1 points.").arg(fields::kMaxSweepPoints);
                break;
            }
        }
        return panels;
    }

    const auto& x = curves_.x;
    for (std::size_t c = 0; c < candidates_.size(); ++c) {
        const CandidateCurves& computed = curves_.candidates[c];
        QString gaps;
        for (std::size_t k = 0; k < computed.results.size(); ++k) {
            const auto& y = computed.results[k].y;
            ChartCurve line{toQString(candidates_[c].name), colours_[c], {},
                            ownPoint(c, request, k),        {},          {}};
            if (const auto& log = candidates_[c].runLog)
                for (const Marker& m :
                     runMarkers(candidates_[c], *log, request, request.results[k]))
                    line.markers.append(QPointF(m.x, m.y));
            for (const Run run : finiteRuns(y)) { // a gap where there is no figure, never a zero
                QList<QPointF> points;
                points.reserve(static_cast<qsizetype>(run.last - run.first));
                for (std::size_t i = run.first; i < run.last; ++i)
                    points.append(QPointF(x[i], y[i]));
                line.segments.push_back(std::move(points));
            }
            panels[k].curves.push_back(std::move(line));
            if (!computed.results[k].gaps.empty())
                gaps += (gaps.isEmpty() ? QString() : QStringLiteral("; ")) +
                        toQString(computed.results[k].gaps);
        }
        if (gaps != gaps_[c]) {
            gaps_[c] = gaps;
            const QModelIndex note = index(static_cast<int>(c), kNoteColumn);
            emit dataChanged(note, note);
        }
    }
    return panels;
}

QByteArray CandidateTable::curveCsv(const CurveRequest& request) const {
    std::ostringstream out;
    writeCurveCsv(out, candidates_, request);
    return QByteArray::fromStdString(out.str());
}

// ---- design sheet ----------------------------------------------------------------------------

QString CandidateTable::sheetHeading(const QDate& date, const QString& fileName) const {
    QString html = tr("<h2>Vorlaxen Designer &mdash; design sheet</h2><p>");
    if (!fileName.isEmpty())
        html += fileName.toHtmlEscaped() + QStringLiteral(" &middot; ");
    html += date.toString(Qt::ISODate) + QStringLiteral(" &middot; ") +
            (units_ == fields::UnitSystem::Metric ? tr("metric units") : tr("the forms' units")) +
            QStringLiteral("</p>");
    html += QStringLiteral("<p><b>%1</b></p>")
                .arg(tr("These figures are proposals for discussion, worked out from the figures "
                        "typed and basic arithmetic. They are not engineered, tested or fit for "
                        "machine design: check every figure yourself before you rely on it.")
                         .toHtmlEscaped());
    return html;
}

QString CandidateTable::sheetTable() const {
    // Candidates as columns, fields as rows: a sheet has more room down than across.
    QString html =
        QStringLiteral("<table border=\"1\" cellspacing=\"0\" cellpadding=\"2\"><tr><th></th>");
    for (std::size_t c = 0; c < candidates_.size(); ++c)
        html += QStringLiteral("<th><font color=\"%1\">&#9632;</font> %2</th>")
                    .arg(colours_[c].name(), toQString(candidates_[c].name).toHtmlEscaped());
    html += QStringLiteral("</tr>");
    for (int column = kFirstFieldColumn; column <= kNoteColumn; ++column) {
        html += QStringLiteral("<tr><td>%1</td>")
                    .arg(headerData(column, Qt::Horizontal, Qt::DisplayRole)
                             .toString()
                             .replace(QLatin1Char('\n'), QLatin1Char(' '))
                             .toHtmlEscaped());
        for (int r = 0; r < rowCount(); ++r)
            html +=
                QStringLiteral("<td align=\"%1\">%2</td>")
                    .arg(column == kNoteColumn ? QStringLiteral("left") : QStringLiteral("right"),
                         data(index(r, column), Qt::DisplayRole).toString().toHtmlEscaped());
        html += QStringLiteral("</tr>");
    }
    return html + QStringLiteral("</table>");
}

} // namespace explorer
