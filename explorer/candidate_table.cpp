#include "candidate_table.hpp"

#include "atmosphere.hpp"
#include "candidate_file.hpp"
#include "efficiency_from_map.hpp"
#include "looks.hpp"
#include "number_text.hpp"
#include "operating_text.hpp"
#include "qt_text.hpp"
#include "run_markers.hpp"

#include <QBrush>
#include <QComboBox>
#include <QPainter>
#include <QPixmap>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QUndoCommand>
#include <QUndoStack>

#include <algorithm>
#include <cmath>
#include <sstream>

namespace explorer {

namespace {

// Columns: the name, the fields of a candidate engine (inputs in file order, then results), and
// the note on what the curves cannot show.
constexpr int kNameColumn = 0;
constexpr int kFirstFieldColumn = 1;
constexpr int kFieldCount = static_cast<int>(fields::kEngineFields.size());
// Then the candidate's compressor map and its figures there.
constexpr int kMapColumn = kFirstFieldColumn + kFieldCount;
constexpr int kEfficiencyFromMapColumn = kMapColumn + 1;
constexpr int kFirstMatchColumn = kEfficiencyFromMapColumn + 1;
constexpr int kMatchCount = static_cast<int>(fields::kMapMatchingFields.size());
constexpr int kNoteColumn = kFirstMatchColumn + kMatchCount;
constexpr int kSourceColumn = kFirstFieldColumn + static_cast<int>(turbo::kMassFlowSourceField);
constexpr int kFuelColumn = kFirstFieldColumn + static_cast<int>(turbo::kFuelField);

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

// Results are shaded so that they never pass for something typed.
const QColor kResultShade(0xee, 0xf0, 0xf4);
// A figure read off the compressor map rather than typed.
const QColor kFromMapShade(0xd8, 0xec, 0xff);

// "100,000": a count grouped in thousands the same way whatever the system's language.
QString groupedCount(std::size_t count) {
    QString digits = QString::number(count);
    for (auto at = digits.size() - 3; at > 0; at -= 3)
        digits.insert(at, QLatin1Char(','));
    return digits;
}

QString sourceWord(MassFlowSource source) {
    return toQString(fields::kEngineFields[turbo::kMassFlowSourceField]
                         .choices[source == MassFlowSource::Estimate ? 1 : 0]);
}

// The mass-flow source and the fuel are each one of a few words: a list, not a text box.
class SourceDelegate : public QStyledItemDelegate {
public:
    SourceDelegate(std::size_t field, QObject* parent)
        : QStyledItemDelegate(parent), field_(field) {}
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&,
                          const QModelIndex&) const override {
        auto* list = new QComboBox(parent);
        for (const auto word : fields::kEngineFields[field_].choices)
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

private:
    std::size_t field_;
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
    if (key == "map")
        return kMapColumn;
    if (key == compmap::kEfficiencyFromMapColumn)
        return kEfficiencyFromMapColumn;
    if (const auto match = fields::findField(fields::kMapMatchingFields, key))
        return kFirstMatchColumn + static_cast<int>(*match);
    const auto found = fields::findField(fields::kEngineFields, key);
    return found ? kFirstFieldColumn + static_cast<int>(*found) : -1;
}

const MapLibrary::Entry* CandidateTable::mapOf(int row) {
    return maps_.get(folder_, candidates_.at(static_cast<std::size_t>(row)).map);
}

void CandidateTable::reloadMaps() {
    maps_.clear();
    apply(state());
}

void CandidateTable::setMap(const std::filesystem::path& file, const compmap::CompressorMap& map) {
    maps_.put(file, map);
    apply(state());
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
    if (section == kMapColumn)
        return tr("Compressor\nMap");
    if (section == kEfficiencyFromMapColumn)
        return tr("Efficiency\nfrom Map");
    if (section >= kFirstMatchColumn && section < kNoteColumn) {
        const auto& field = fields::kMapMatchingFields[std::size_t(section - kFirstMatchColumn)];
        // The corrected flow is in the unit of each row's map.
        return fieldName(field) + (field.unit.empty()
                                       ? QStringLiteral("\n(map's unit)")
                                       : QStringLiteral("\n(") + toQString(field.unit) + u')');
    }
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
    if (index.column() == kEfficiencyFromMapColumn)
        return base | Qt::ItemIsUserCheckable;
    if (index.column() == kNameColumn || index.column() == kSourceColumn ||
        index.column() == kMapColumn || index.column() == kFuelColumn)
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
        if (role == Qt::DecorationRole) {
            QPixmap sample(24, 12);
            sample.fill(Qt::transparent);
            QPainter painter(&sample);
            paintLookSample(painter, QRectF(0, 0, 24, 12), candidate.look);
            return sample;
        }
        return {};
    }
    if (column == kNoteColumn)
        return role == Qt::DisplayRole || role == Qt::ToolTipRole ? gaps_[row] : QVariant();
    if (column == kSourceColumn)
        return role == Qt::DisplayRole || role == Qt::EditRole
                   ? sourceWord(candidate.massFlowSource)
                   : QVariant();
    if (column == kMapColumn)
        return mapData(row, role);
    if (column == kEfficiencyFromMapColumn)
        return efficiencyFromMapData(row, role);
    if (column >= kFirstMatchColumn && column < kNoteColumn)
        return matchData(row, column - kFirstMatchColumn, role);
    if (column == kFuelColumn)
        return role == Qt::DisplayRole || role == Qt::EditRole
                   ? toQString(turbo::fuelProperties(candidate.fuel).key)
                   : QVariant();

    const ColumnRole& what = columnRoles()[static_cast<std::size_t>(column - 1)];
    if (role == Qt::TextAlignmentRole)
        return int(Qt::AlignRight | Qt::AlignVCenter);
    if (what.input) {
        const Cell& cell = candidate[*what.input];
        const bool estimated = *what.input == EngineInput::MassFlow &&
                               candidate.massFlowSource == MassFlowSource::Estimate;
        // With the efficiency from the map, the cell shows the map's, marked; typing still
        // changes the typed one, which the cycle takes again when the box is cleared.
        if (*what.input == EngineInput::CompEfficiency && candidate.efficiencyFromMap &&
            !cell.bad) {
            const auto& fromMap = mapEfficiencies_[row];
            switch (role) {
            case Qt::DisplayRole:
                return fromMap ? figureText(*fromMap) : QString();
            case Qt::EditRole:
                return toQString(cellText(*what.input, units_, cell));
            case Qt::BackgroundRole:
                return QBrush(fromMap ? kFromMapShade : QColor(0xff, 0xc8, 0xc8));
            case Qt::ToolTipRole:
                return fromMap ? tr("From the map: %1 %").arg(figureText(*fromMap)) : ownGaps_[row];
            default:
                return {};
            }
        }
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
    if (what.result && results_[row]) {
        const auto& r = *results_[row];
        // The limits gone past, by how much, marked so the row stands out.
        if (*what.result == turbo::result("limits")) {
            if (role == Qt::DisplayRole || role == Qt::ToolTipRole)
                return limitsText(r.point.limits, units_);
            if (role == Qt::BackgroundRole)
                return QBrush(r.point.limits.any() ? QColor(0xff, 0xe0, 0xb0) : kResultShade);
            return {};
        }
        if (role == Qt::ToolTipRole)
            return fuelGapText(r, *what.result);
        if (role == Qt::DisplayRole) {
            const auto& field = turbo::engineField(*what.result);
            return figureText(fields::toDisplay(field.quantity, units_, r[*what.result]));
        }
    }
    if (what.result && role == Qt::BackgroundRole)
        return QBrush(kResultShade); // worked out, not typed
    return {};
}

bool CandidateTable::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (index.isValid() && index.column() == kEfficiencyFromMapColumn &&
        role == Qt::CheckStateRole) {
        State after = state();
        auto& wanted = after.candidates[static_cast<std::size_t>(index.row())].efficiencyFromMap;
        const bool checked = value.toInt() == Qt::Checked;
        if (wanted == checked)
            return false;
        wanted = checked;
        push(checked ? tr("Take Efficiency from Map") : tr("Type Efficiency"), std::move(after));
        return true;
    }
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
    } else if (column == kMapColumn) {
        candidate.map = text.trimmed().toStdString();
        what = tr("Change Compressor Map");
    } else if (column == kSourceColumn) {
        const auto& choices = fields::kEngineFields[turbo::kMassFlowSourceField].choices;
        if (text == toQString(choices[0]))
            candidate.massFlowSource = MassFlowSource::Typed;
        else if (text == toQString(choices[1]))
            candidate.massFlowSource = MassFlowSource::Estimate;
        else
            return false;
        what = tr("Change Mass Flow Source");
    } else if (column == kFuelColumn) {
        const auto fuel = turbo::fuelFromKey(text.toStdString());
        if (!fuel)
            return false;
        candidate.fuel = *fuel;
        what = tr("Change Fuel");
    } else {
        const EngineInput input = *columnRoles()[static_cast<std::size_t>(column - 1)].input;
        // Read by the rule of the windows' boxes; text that is not a number stays as typed.
        candidate[input] = readCell(input, units_, text.toStdString());
        what = tr("Edit %1").arg(fieldName(turbo::engineField(input)));
        // An altitude fills the ambient values from the standard atmosphere; typed over, they win.
        if (input == turbo::input("altitude") && !candidate[input].bad &&
            !std::isnan(candidate[input].value)) {
            const auto ambient = turbo::standardAmbient(candidate[input].value);
            candidate[EngineInput::AmbientTemp] = Cell::number(ambient.temp);
            candidate[EngineInput::AmbientPressure] = Cell::number(ambient.pressure);
        }
    }
    push(what, std::move(after));
    return true;
}

void CandidateTable::attachEditors(QTableView* view) {
    view->setItemDelegateForColumn(kSourceColumn,
                                   new SourceDelegate(turbo::kMassFlowSourceField, view));
    view->setItemDelegateForColumn(kFuelColumn, new SourceDelegate(turbo::kFuelField, view));
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
    results_.resize(candidates_.size());
    gaps_.resize(candidates_.size());
    ownGaps_.resize(candidates_.size());
    mapEfficiencies_.resize(candidates_.size());
    matches_.resize(candidates_.size());
    for (std::size_t i = 0; i < candidates_.size(); ++i) {
        results_[i] = evaluateRow(i, ownGaps_[i]);
        const auto* map = maps_.get(folder_, candidates_[i].map);
        matches_[i] = map && map->map ? matchAtP2(candidates_[i], *map->map) : std::nullopt;
    }
    if (sameShape && rowCount() > 0)
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
    else if (!sameShape)
        endResetModel();
    emit candidatesChanged();
}

std::optional<turbo::EngineResults> CandidateTable::evaluateRow(std::size_t row, QString& why) {
    const Candidate& candidate = candidates_[row];
    why.clear();
    mapEfficiencies_[row].reset();
    if (!candidate.efficiencyFromMap)
        return evaluate(candidate);
    const auto in = engineInputs(candidate);
    if (!in)
        return std::nullopt;
    const auto* entry = maps_.get(folder_, candidate.map);
    if (!entry || !entry->map) {
        why = entry ? tr("no figures: the efficiency is to come from the map, which cannot be read")
                    : tr("no figures: the efficiency is to come from the map, but none is given");
        return std::nullopt;
    }
    auto onMap = compmap::evaluateWithMapEfficiency(*in, *entry->map);
    if (!onMap.results) {
        why = tr("no figures at P2: compressor efficiency from the map: %1")
                  .arg(toQString(compmap::kOutsideIslands));
        return std::nullopt;
    }
    mapEfficiencies_[row] = onMap.efficiency;
    return onMap.results;
}

std::vector<const compmap::CompressorMap*> CandidateTable::efficiencyMaps() const {
    std::vector<const compmap::CompressorMap*> out(candidates_.size(), nullptr);
    for (std::size_t i = 0; i < candidates_.size(); ++i)
        if (candidates_[i].efficiencyFromMap)
            if (const auto* entry = maps_.get(folder_, candidates_[i].map); entry && entry->map)
                out[i] = &*entry->map;
    return out;
}

// The box that takes the candidate's efficiency from its map.
QVariant CandidateTable::efficiencyFromMapData(std::size_t row, int role) const {
    const bool wanted = candidates_[row].efficiencyFromMap;
    if (role == Qt::CheckStateRole)
        return wanted ? Qt::Checked : Qt::Unchecked;
    if (role == Qt::DisplayRole)
        return wanted ? tr("yes") : QString();
    if (role == Qt::ToolTipRole)
        return tr("Take the compressor efficiency at each point from the map's islands instead "
                  "of the typed one");
    return {};
}

int CandidateTable::freeLook(const std::vector<Candidate>& candidates) {
    std::vector<int> uses(kLookCount, 0);
    for (const Candidate& c : candidates)
        if (c.look >= 0 && c.look < kLookCount)
            ++uses[static_cast<std::size_t>(c.look)];
    // The first unused look; past twenty, the least used.
    return static_cast<int>(std::min_element(uses.begin(), uses.end()) - uses.begin());
}

void CandidateTable::giveLooks(std::vector<Candidate>& candidates) {
    for (Candidate& c : candidates)
        if (c.look < 0 || c.look >= kLookCount)
            c.look = freeLook(candidates);
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
    Candidate added(freeName());
    // A new candidate's mass flow comes from its wheel until the user types one.
    added.massFlowSource = MassFlowSource::Estimate;
    added.look = freeLook(after.candidates);
    after.candidates.push_back(std::move(added));
    push(tr("Add Candidate"), std::move(after));
    return rowCount() - 1;
}

int CandidateTable::duplicateCandidate(int at) {
    State after = state();
    Candidate copy = candidates_.at(static_cast<std::size_t>(at));
    copy.name = tr("%1 (copy)").arg(toQString(copy.name)).toStdString();
    copy.look = freeLook(after.candidates);
    after.candidates.insert(after.candidates.begin() + at + 1, std::move(copy));
    push(tr("Duplicate Candidate"), std::move(after));
    return at + 1;
}

int CandidateTable::insertCandidate(int at, Candidate candidate) {
    State after = state();
    candidate.look = freeLook(after.candidates);
    after.candidates.insert(after.candidates.begin() + at, std::move(candidate));
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
    push(tr("Delete Candidate"), std::move(after));
}

void CandidateTable::deleteCandidates(std::vector<int> rows) {
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    if (rows.empty())
        return;
    State after = state();
    for (auto it = rows.rbegin(); it != rows.rend(); ++it)
        if (*it >= 0 && *it < rowCount())
            after.candidates.erase(after.candidates.begin() + *it);
    push(rows.size() == 1 ? tr("Delete Candidate") : tr("Delete Candidates"), std::move(after));
}

void CandidateTable::moveCandidate(int from, int to) {
    State after = state();
    std::swap(after.candidates.at(static_cast<std::size_t>(from)),
              after.candidates.at(static_cast<std::size_t>(to)));
    push(tr("Move Candidate"), std::move(after));
}

void CandidateTable::reset() {
    auto candidates = startingCandidates();
    giveLooks(candidates);
    beginResetModel();
    candidates_.clear();
    endResetModel();
    apply({std::move(candidates)});
}

bool CandidateTable::load(const QString& path, QString* problem, QString* note) {
    ReadResult read = loadCandidates(path.toStdString());
    if (read.error) {
        *problem = toQString(read.error->text());
        return false;
    }
    if (note && !read.ignored.empty()) {
        QStringList names;
        for (const auto& name : read.ignored)
            names << toQString(name);
        *note = tr("These columns are not columns of candidates; they were left out and will not "
                   "be saved: %1")
                    .arg(names.join(QStringLiteral(", ")));
    }
    giveLooks(read.candidates);
    folder_ = std::filesystem::absolute(path.toStdString()).parent_path();
    maps_.clear();
    beginResetModel();
    candidates_.clear();
    endResetModel();
    apply({std::move(read.candidates)});
    return true;
}

bool CandidateTable::save(const QString& path, QString* problem) {
    const auto folder = std::filesystem::absolute(path.toStdString()).parent_path();
    std::vector<Candidate> saved = candidates_;
    for (auto& c : saved)
        if (!c.map.empty() && std::filesystem::path(c.map).is_relative())
            c.map = std::filesystem::absolute(folder_ / c.map)
                        .lexically_normal()
                        .lexically_relative(folder)
                        .generic_string();
    if (const auto error = saveCandidates(path.toStdString(), saved)) {
        *problem = toQString(error->text());
        return false;
    }
    // The same files, named from the new folder (undoing past this point brings back the old
    // names, which the new folder does not resolve).
    if (folder != folder_) {
        folder_ = folder;
        apply({std::move(saved)});
    }
    return true;
}

// The map cell: the file as written, marked when it cannot be read.
QVariant CandidateTable::mapData(std::size_t row, int role) const {
    const Candidate& candidate = candidates_[row];
    if (role == Qt::DisplayRole || role == Qt::EditRole)
        return toQString(candidate.map);
    const auto* entry = maps_.get(folder_, candidate.map);
    if (!entry || entry->map)
        return role == Qt::ToolTipRole && entry ? toQString(entry->file.string()) : QVariant();
    if (role == Qt::BackgroundRole)
        return QBrush(QColor(0xff, 0xc8, 0xc8));
    if (role == Qt::ToolTipRole)
        return toQString(entry->problem);
    return {};
}

// The map's figures at P2; a surging or overspeeding point is marked.
QVariant CandidateTable::matchData(std::size_t row, int which, int role) const {
    const auto& match = matches_[row];
    if (!match)
        return {};
    if (role == Qt::TextAlignmentRole)
        return int(Qt::AlignRight | Qt::AlignVCenter);
    const bool surges = which == 2 && match->surgeMargin && *match->surgeMargin < 0;
    const bool overSpeed = which == 4 && match->overSpeed;
    if (role == Qt::BackgroundRole)
        return surges || overSpeed ? QBrush(QColor(0xff, 0xc8, 0xc8)) : QVariant();
    if (role == Qt::ToolTipRole)
        return surges      ? tr("Left of the surge line: the compressor surges")
               : overSpeed ? tr("Beyond the highest speed line on the map")
                           : QVariant();
    if (role != Qt::DisplayRole)
        return {};
    const std::optional<float> values[] = {match->correctedFlow, match->pressureRatio,
                                           match->surgeMargin, match->efficiency, match->speed};
    const auto& value = values[which];
    return value ? figureText(*value) : QString();
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
    const auto efficiency = efficiencyMaps();
    computeCurves(candidates_, request, curves_, efficiency);
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
            case fields::SweepProblem::TooManyPoints:
                *problem = tr("The sweep has more than %1 points; take a larger step.")
                               .arg(groupedCount(kMaxCurvePoints));
                break;
            default:
                *problem = tr("The sweep's numbers are out of range.");
                break;
            }
        }
        return panels;
    }

    const auto& x = curves_.x;
    for (std::size_t c = 0; c < candidates_.size(); ++c) {
        const CandidateCurves& computed = curves_.candidates[c];
        QString gaps = ownGaps_[c];
        for (std::size_t k = 0; k < computed.results.size(); ++k) {
            const auto& y = computed.results[k].y;
            ChartCurve line{toQString(candidates_[c].name),
                            candidates_[c].look,
                            {},
                            ownPoint(c, request, k),
                            {},
                            {}};
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
            // Runs past a limit are shaded over the line.
            QList<QPointF> beyond;
            for (std::size_t i = 0; i <= y.size(); ++i) {
                if (i < y.size() && computed.beyondLimit[i] && std::isfinite(y[i])) {
                    beyond.append(QPointF(x[i], y[i]));
                } else if (!beyond.isEmpty()) {
                    line.beyond.push_back(beyond);
                    beyond.clear();
                }
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
    writeCurveCsv(out, candidates_, request, efficiencyMaps());
    return QByteArray::fromStdString(out.str());
}

} // namespace explorer
