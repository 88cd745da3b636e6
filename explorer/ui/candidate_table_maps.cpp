// The candidates' table and their compressor maps: the map cell, the figures at P2 and the
// efficiency read off the map.

#include "candidate_columns.hpp"
#include "candidate_table.hpp"
#include "qt_text.hpp"

#include <QBrush>

namespace explorer {

using namespace table;

void CandidateTable::reloadMaps() {
    work_.reloadMaps();
    allChanged();
}

void CandidateTable::setMap(const std::filesystem::path& file, const compmap::CompressorMap& map) {
    work_.putMap(file, map);
    allChanged();
}

// The box that takes the candidate's efficiency from its map.
QVariant CandidateTable::efficiencyFromMapData(std::size_t row, int role) const {
    const bool wanted = work_.candidate(row).efficiencyFromMap;
    if (role == Qt::CheckStateRole)
        return wanted ? Qt::Checked : Qt::Unchecked;
    if (role == Qt::DisplayRole)
        return wanted ? tr("yes") : QString();
    if (role == Qt::ToolTipRole)
        return tr("Take the compressor efficiency at each point from the map's islands instead "
                  "of the typed one");
    return {};
}

// The map cell: the file as written, marked when it cannot be read.
QVariant CandidateTable::mapData(std::size_t row, int role) const {
    const Candidate& candidate = work_.candidate(row);
    if (role == Qt::DisplayRole || role == Qt::EditRole)
        return toQString(candidate.map);
    const auto* entry = work_.mapOf(row);
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
    const auto& match = work_.point(row).match;
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

} // namespace explorer
