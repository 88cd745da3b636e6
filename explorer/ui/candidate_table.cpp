#include "candidate_table.hpp"

#include "atmosphere.hpp"
#include "candidate_columns.hpp"
#include "chart_panels.hpp"
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

using namespace table;

namespace {
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

// One step of the undo history: the candidates it replaced and those it put in their place, so
// that among thousands of candidates an edit keeps only the one row it changed.
class CandidateTable::Change : public QUndoCommand {
public:
    // The candidates of every step are named from the folder the change was made in; a Save As
    // into another folder since then renames them as they come back.
    Change(CandidateTable* table, const QString& text, std::vector<Splice> steps)
        : QUndoCommand(text), table_(table), steps_(std::move(steps)),
          folder_(table->work_.folder()) {}
    void undo() override {
        for (auto step = steps_.rbegin(); step != steps_.rend(); ++step)
            table_->apply(step->at, step->inserted.size(),
                          table_->work_.namedHere(step->removed, folder_));
    }
    void redo() override {
        for (const Splice& step : steps_)
            table_->apply(step.at, step.removed.size(),
                          table_->work_.namedHere(step.inserted, folder_));
    }

private:
    CandidateTable* table_;
    std::vector<Splice> steps_;
    std::filesystem::path folder_;
};

CandidateTable::CandidateTable(QUndoStack* undo, QObject* parent)
    : QAbstractTableModel(parent), undo_(undo) {}

CandidateTable::~CandidateTable() = default;

// ---- names -----------------------------------------------------------------------------------

QString CandidateTable::fieldName(const fields::Field& field) {
    return toQString(fields::displayName(field));
}

QString CandidateTable::titleWithUnit(const fields::Field& field, fields::UnitSystem units) {
    return explorer::titleWithUnit(field, units);
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

// ---- the table -------------------------------------------------------------------------------

int CandidateTable::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(work_.size());
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
        work_.candidate(static_cast<std::size_t>(index.row())).massFlowSource ==
            MassFlowSource::Estimate)
        return base;
    return base | Qt::ItemIsEditable;
}

QVariant CandidateTable::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const std::size_t row = static_cast<std::size_t>(index.row());
    const Candidate& candidate = work_.candidate(row);
    const CandidatePoint& point = work_.point(row);
    const auto& results = point.figures;
    const int column = index.column();

    if (column == kNameColumn) {
        if (role == Qt::DisplayRole || role == Qt::EditRole)
            return toQString(candidate.name);
        if (role == Qt::DecorationRole) {
            // Painted once per look, not once per row.
            static QPixmap samples[kLookCount];
            const int look = std::clamp(candidate.look, 0, kLookCount - 1);
            QPixmap& sample = samples[look];
            if (sample.isNull()) {
                sample = QPixmap(24, 12);
                sample.fill(Qt::transparent);
                QPainter painter(&sample);
                paintLookSample(painter, QRectF(0, 0, 24, 12), look);
            }
            return sample;
        }
        return {};
    }
    if (column == kNoteColumn)
        return role == Qt::DisplayRole || role == Qt::ToolTipRole ? toQString(work_.gaps(row))
                                                                  : QVariant();
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
            const auto& fromMap = point.mapEfficiency;
            switch (role) {
            case Qt::DisplayRole:
                return fromMap ? figureText(*fromMap) : QString();
            case Qt::EditRole:
                return toQString(cellText(*what.input, units_, cell));
            case Qt::BackgroundRole:
                return QBrush(fromMap ? kFromMapShade : QColor(0xff, 0xc8, 0xc8));
            case Qt::ToolTipRole:
                return fromMap ? tr("From the map: %1 %").arg(figureText(*fromMap))
                               : toQString(point.why);
            default:
                return {};
            }
        }
        // With a measured outlet temperature the cell shows the inlet temperature solved from it,
        // marked; typing still changes the typed one, used again once the measurement is cleared.
        if (*what.input == EngineInput::TurbineInletTemp && results &&
            results->results.inletSolved) {
            const QString solved = figureText(fields::toDisplay(
                fields::Quantity::Temperature, units_, results->results.turbineInletTemp));
            switch (role) {
            case Qt::DisplayRole:
                return solved;
            case Qt::EditRole:
                return toQString(cellText(*what.input, units_, cell));
            case Qt::BackgroundRole:
                return QBrush(kSolvedShade);
            case Qt::ToolTipRole:
                return tr("Solved from the measured turbine outlet temperature: %1").arg(solved);
            default:
                return {};
            }
        }
        switch (role) {
        case Qt::DisplayRole:
        case Qt::EditRole:
            if (estimated) // the number the cycle uses: the wheel's estimate
                return results ? figureText(fields::toDisplay(fields::Quantity::MassFlow, units_,
                                                              results->results.massFlow))
                               : QString();
            return toQString(cellText(candidate, *what.input, units_));
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
    if (what.result && results) {
        const auto& r = *results;
        // The limits gone past, by how much, marked so the row stands out.
        if (*what.result == turbo::result("limits")) {
            if (role == Qt::DisplayRole || role == Qt::ToolTipRole)
                return limitsText(r.limits, units_);
            if (role == Qt::BackgroundRole)
                return QBrush(r.limits.any() ? QColor(0xff, 0xe0, 0xb0) : kResultShade);
            return {};
        }
        if (role == Qt::ToolTipRole)
            return toQString(point::reasonText(r, point::reasonFor(r, *what.result)));
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
        const auto row = static_cast<std::size_t>(index.row());
        Candidate edited = work_.candidate(row);
        const bool checked = value.toInt() == Qt::Checked;
        if (edited.efficiencyFromMap == checked)
            return false;
        edited.efficiencyFromMap = checked;
        pushEdit(checked ? tr("Take Efficiency from Map") : tr("Type Efficiency"), row,
                 std::move(edited));
        return true;
    }
    if (!index.isValid() || role != Qt::EditRole || !(flags(index) & Qt::ItemIsEditable))
        return false;
    const QString text = value.toString();
    // An untouched cell keeps its exact value, not the value of its six-digit text.
    if (text == data(index, Qt::EditRole).toString())
        return false;
    const auto row = static_cast<std::size_t>(index.row());
    Candidate candidate = work_.candidate(row);
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
        const auto chosen =
            std::find_if(choices.begin(), choices.end(),
                         [&](std::string_view word) { return text == toQString(word); });
        if (chosen == choices.end())
            return false;
        candidate.massFlowSource = static_cast<MassFlowSource>(chosen - choices.begin());
        what = tr("Change Mass Flow Source");
    } else if (column == kFuelColumn) {
        const auto fuel = turbo::fuelFromKey(text.toStdString());
        if (!fuel)
            return false;
        candidate.fuel = *fuel;
        // The fuel's own properties, or the typed ones a custom fuel starts from.
        candidate[turbo::input("fuel-lhv")] = Cell::number(turbo::notGiven());
        candidate[turbo::input("fuel-density")] = Cell::number(turbo::notGiven());
        what = tr("Change Fuel");
    } else {
        const EngineInput input = *columnRoles()[static_cast<std::size_t>(column - 1)].input;
        // Read by the rule of the windows' boxes; text that is not a number stays as typed.
        candidate[input] = readCell(input, units_, text.toStdString());
        what = tr("Edit %1").arg(fieldName(turbo::engineField(input)));
        // A typed altitude gives the ambient values again (the point works them out from it);
        // typed over afterwards, they win.
        if (input == turbo::input("altitude")) {
            candidate[EngineInput::AmbientTemp] = Cell::number(turbo::notGiven());
            candidate[EngineInput::AmbientPressure] = Cell::number(turbo::notGiven());
        }
        // A fuel property typed over a named fuel's own makes it custom, as the point takes it.
        if (const auto in = engineInputs(candidate))
            candidate.fuel = point::workedOutInputs(*in).fuel;
    }
    pushEdit(what, row, std::move(candidate));
    return true;
}

void CandidateTable::attachEditors(QTableView* view) {
    view->setItemDelegateForColumn(kSourceColumn,
                                   new SourceDelegate(turbo::kMassFlowSourceField, view));
    view->setItemDelegateForColumn(kFuelColumn, new SourceDelegate(turbo::kFuelField, view));
}

// ---- changes ---------------------------------------------------------------------------------

void CandidateTable::push(const QString& what, std::vector<Splice> steps) {
    undo_->push(new Change(this, what, std::move(steps)));
}

void CandidateTable::pushEdit(const QString& what, std::size_t row, Candidate edited) {
    push(what, {{row, {work_.candidate(row)}, {std::move(edited)}}});
}

std::vector<Candidate> CandidateTable::apply(std::size_t at, std::size_t removed,
                                             std::vector<Candidate> inserted) {
    const std::size_t count = inserted.size();
    if (count != removed)
        beginResetModel();
    auto out = work_.splice(at, removed, std::move(inserted));
    if (count != removed)
        endResetModel();
    else if (count > 0)
        emit dataChanged(index(static_cast<int>(at), 0),
                         index(static_cast<int>(at + count) - 1, columnCount() - 1));
    emit candidatesChanged();
    return out;
}

void CandidateTable::allChanged() {
    if (rowCount() > 0)
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
    emit candidatesChanged();
}

void CandidateTable::setRequest(const CurveRequest& request) {
    const auto& was = work_.request();
    if (was.swept == request.swept && was.from == request.from && was.to == request.to &&
        was.step == request.step && was.results == request.results && was.units == request.units)
        return;
    work_.setRequest(request);
    if (rowCount() > 0)
        emit dataChanged(index(0, kNoteColumn), index(rowCount() - 1, kNoteColumn));
}

bool CandidateTable::load(const QString& path, QString* problem, QString* note) {
    OpenNotes notes;
    const CurveRequest request = work_.request();
    beginResetModel();
    const auto error = work_.open(path.toStdString(), &notes);
    work_.setRequest(request);
    endResetModel();
    if (error) {
        *problem = toQString(*error);
        return false;
    }
    if (note && !notes.ignoredColumns.empty()) {
        QStringList names;
        for (const auto& name : notes.ignoredColumns)
            names << toQString(name);
        *note = tr("These columns are not columns of candidates; they were left out and will not "
                   "be saved: %1")
                    .arg(names.join(QStringLiteral(", ")));
    }
    // A run log that cannot be read costs only its markers.
    if (note && !notes.unreadRunLogs.empty()) {
        QStringList badLogs;
        for (const auto& log : notes.unreadRunLogs)
            badLogs << toQString(log);
        if (!note->isEmpty())
            note->append(QStringLiteral("\n\n"));
        note->append(tr("These run logs could not be read; their candidates opened without "
                        "measured points:\n%1")
                         .arg(badLogs.join(QLatin1Char('\n'))));
    }
    emit candidatesChanged();
    return true;
}

bool CandidateTable::save(const QString& path, QString* problem) {
    const auto folder = work_.folder();
    if (const auto error = work_.save(path.toStdString())) {
        *problem = toQString(*error);
        return false;
    }
    // The same files, named from the new folder (undoing past this point brings back the old
    // names, which the new folder does not resolve).
    if (work_.folder() != folder)
        allChanged();
    return true;
}

QByteArray CandidateTable::curveCsv() const {
    std::ostringstream out;
    work_.writeCurves(out);
    return QByteArray::fromStdString(out.str());
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
    const Candidate& candidate = work_.candidate(row);
    if (const auto why = problem(candidate))
        return tr("%1. Nothing is calculated for this candidate until it is a number.")
            .arg(toQString(*why));
    const QString gaps = toQString(work_.gaps(row));
    QString note =
        gaps.isEmpty() ? QString() : toQString(candidate.name) + QStringLiteral(": ") + gaps;
    if (const auto& results = work_.point(row).figures; results && results->results.inletSolved) {
        const auto input = EngineInput::TurbineInletTemp;
        note += (note.isEmpty() ? QString() : QStringLiteral("\n")) +
                tr("%1: the turbine inlet temperature is solved from the measured turbine outlet "
                   "temperature; the typed %2 is not used.")
                    .arg(toQString(candidate.name), toQString(cellText(candidate, input, units_)));
    }
    return note;
}

} // namespace explorer
