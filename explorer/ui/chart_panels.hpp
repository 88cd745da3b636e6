#pragma once
// The explorer's chart made from its workspace: one panel per plotted result, one line per
// candidate drawn. Nothing is changed by drawing; the table's notes come from the workspace too.

#include "curve_chart.hpp"
#include "workspace.hpp"

#include <QString>

#include <cstddef>
#include <optional>
#include <vector>

namespace explorer {

// The most candidates the chart draws: past this a chart is no longer read line by line, and each
// line costs its share of every redraw. The table shows them all.
inline constexpr std::size_t kMostDrawn = 100;

// The panels of the workspace's request, the first `most` candidates on them. Empty panels (still
// titled) when the sweep gives no points.
std::vector<ChartPanel> chartPanels(const Workspace& work, std::size_t most = kMostDrawn);

// What is wrong with the sweep, for the line under the table; empty when nothing is.
QString sweepProblemText(fields::SweepProblem problem);

// "P2 (psig)", "Thrust (N)": a field's name and its unit in the given system.
QString titleWithUnit(const fields::Field& field, fields::UnitSystem units);

} // namespace explorer
