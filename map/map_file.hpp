#pragma once
// Reading and writing compressor maps, in two forms.
//
// 1. The map file (".vxmap"): plain text, one statement a line, written and read by hand.
//    Blank lines and everything after a '#' are ignored; words are separated by blanks.
//
//      flow-unit lb/min              # or kg/s; lb/min when left out
//      reference-temperature 288     # K, of the corrected flow; 288 when left out
//      reference-pressure 14.7       # psi absolute; 14.7 when left out
//      picture sheet.png
//                                    # optional, relative to this file's folder; the rest of
//                                    # the line is the name, blanks and '#' included
//      flow-axis 112 10 820 60       # optional: pixel x 112 is flow 10, pixel x 820 is 60
//      pressure-axis 540 1 40 4      # optional: pixel y 540 is ratio 1, pixel y 40 is 4
//      surge                         # a line: its kind, then one "flow pressure-ratio" a line
//        8.5 1.3
//        12 2.1
//      end
//      speed 100000                  # a speed line in rpm
//        ...
//      end
//      island 72                     # an efficiency island in %, a closed contour
//        ...
//      end
//
//    At most one surge line; a line needs two points, an island three; every number finite,
//    reference conditions above zero, an axis's two pixels and two values different.
//
// 2. A digitizer's CSV export, as WebPlotDigitizer writes it: the first row names the datasets
//    (each over two columns), the second row says X,Y under each, then one row per point with
//    the X (flow) and Y (pressure ratio) of each dataset; shorter datasets leave their cells empty.
//    A name containing "surge" (any case) is the surge line, a number followed by "rpm" a speed
//    line, a number followed by "%" an efficiency island. Such a file carries no unit and no
//    reference conditions: the caller supplies them.
//
// Either reader gives the whole map or an error naming the file, line and column; never a part.

#include "compressor_map.hpp"
#include "file_problem.hpp"

#include <cstddef>
#include <filesystem>
#include <istream>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <variant>

namespace compmap {

// Why a map could not be read. In a map file the column is the character's, in a CSV file the
// field's.
using MapError = text::FileProblem;

struct MapReadResult {
    std::optional<CompressorMap> map;
    std::optional<MapError> error;
};

// What a digitizer's export does not say.
struct ImportSettings {
    FlowUnit flowUnit = FlowUnit::LbPerMin;
    float referenceTemperature = kDefaultReferenceTemperature; // K
    float referencePressure = kDefaultReferencePressure;       // psi, absolute
};

MapReadResult readMapText(std::istream& in, std::string_view fileName);
MapReadResult readDigitizerCsv(std::istream& in, std::string_view fileName,
                               const ImportSettings& settings);

// Reads either form: a name ending in ".csv" (any case) as a digitizer's export, anything
// else as a map file.
MapReadResult loadMap(const std::filesystem::path& file, const ImportSettings& settings = {});

// The map file's text; it reads back to the same map, bit for bit.
void writeMapText(std::ostream& out, const CompressorMap& map);

} // namespace compmap
