#include "candidate_table.hpp"

#include "atmosphere.hpp"
#include "candidate_columns.hpp"
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
        // With a measured outlet temperature the cell shows the inlet temperature solved from it,
        // marked; typing still changes the typed one, used again once the measurement is cleared.
        if (*what.input == EngineInput::TurbineInletTemp && results_[row] &&
            results_[row]->inletSolved) {
            const QString solved = figureText(fields::toDisplay(
                fields::Quantity::Temperature, units_, results_[row]->turbineInletTemp));
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
    // A run log that cannot be read costs only its markers: the candidate opens without them and
    // keeps the file's name, so saving does not lose it.
    QStringList badLogs;
    for (auto& c : read.candidates) {
        if (c.runLogFile.empty())
            continue;
        auto log = runs::loadRunLog((folder_ / c.runLogFile).string());
        if (auto* ok = std::get_if<runs::RunLog>(&log))
            c.runLog = std::make_shared<const runs::RunLog>(std::move(*ok));
        else
            badLogs << toQString(std::get<runs::RunLogError>(log).text());
    }
    if (note && !badLogs.isEmpty()) {
        if (!note->isEmpty())
            note->append(QStringLiteral("\n\n"));
        note->append(tr("These run logs could not be read; their candidates opened without "
                        "measured points:\n%1")
                         .arg(badLogs.join(QLatin1Char('\n'))));
    }
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
    for (auto& c : saved) {
        if (!c.map.empty() && std::filesystem::path(c.map).is_relative())
            c.map = std::filesystem::absolute(folder_ / c.map)
                        .lexically_normal()
                        .lexically_relative(folder)
                        .generic_string();
        // A log opened from the menu is named in full until saved beside its candidates.
        if (!c.runLogFile.empty())
            c.runLogFile = std::filesystem::absolute(folder_ / c.runLogFile)
                               .lexically_normal()
                               .lexically_relative(folder)
                               .generic_string();
    }
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
    QString note = gaps_[row].isEmpty()
                       ? QString()
                       : toQString(candidates_[row].name) + QStringLiteral(": ") + gaps_[row];
    if (results_[row] && results_[row]->inletSolved) {
        const auto input = EngineInput::TurbineInletTemp;
        note += (note.isEmpty() ? QString() : QStringLiteral("\n")) +
                tr("%1: the turbine inlet temperature is solved from the measured turbine outlet "
                   "temperature; the typed %2 is not used.")
                    .arg(toQString(candidates_[row].name),
                         toQString(cellText(input, units_, candidates_[row][input])));
    }
    return note;
}

} // namespace explorer
