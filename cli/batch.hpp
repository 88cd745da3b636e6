#pragma once
// --input: a CSV file of points, a row each.

#include "map_file.hpp"
#include "output.hpp"
#include "plan.hpp"

#include <istream>
#include <ostream>
#include <string_view>

namespace cli {

// Reads the header, writes the output's header only once the input's is accepted, then a point
// per row. Columns that are not inputs of the calculation are carried through, and `err` is told
// once which. Throws BadInput naming the line and column of the first problem.
// For engine (and cycle) a "map" column names each row's compressor map, relative to the input
// file's folder; the map's figures follow the results (an empty cell takes --map's map, if any).
// `mapSettings` reads a digitizer's CSV map.
void runBatch(std::string_view calcName, Calculation& calc, const Plan& plan, std::istream& in,
              std::string_view source, Sink& sink, std::ostream& err,
              const compmap::ImportSettings& mapSettings = {});

} // namespace cli
