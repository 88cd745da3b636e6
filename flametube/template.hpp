#pragma once
// The drilling template: the flame tube's wall unrolled (pi x diameter across, the length down),
// every hole's centre as a cross with its drill's circle, the rows labelled, the seam and the
// strip to glue over, tiled over pages of A4 or Letter at 1:1 with marks to lay them together
// and two scale bars on every page to check the print.

#include "drawing.hpp"
#include "tube.hpp"

#include <string>
#include <vector>

namespace flametube {

enum class Paper { A4, Letter };

struct PaperSize {
    double width, height; // mm, portrait
};
PaperSize paperSize(Paper paper);

inline constexpr double kPageMargin = 10;  // what printers cannot reach, mm
inline constexpr double kTileOverlap = 10; // shared by neighbouring pages, mm
inline constexpr double kGlueOverlap = 12; // the strip beyond the seam, mm
inline constexpr double kScaleBarMm = 100;
inline constexpr double kScaleBarInches = 4;
inline constexpr const char* kPrintNote = "print at 100 % (no fit to page)";

// Where the template puts things, in the unrolled sheet's millimetres (before tiling): the wall's
// top left corner (the seam at the inlet end) and every hole's centre.
struct SheetHole {
    std::size_t row;
    Point centre; // mm on the sheet
    double radius;
};

struct TileInfo {
    Point sheetOrigin; // the sheet point at the tile's top left
    Point pageOrigin;  // where that point sits on its page
    int row = 0, column = 0;
};

struct Template {
    Drawing drawing;
    std::vector<TileInfo> tiles; // one per page
    Point wallOrigin;            // the wall's top left on the sheet
    double wallWidth = 0;        // pi x diameter, mm
    double wallHeight = 0;       // the tube's length, mm
    std::vector<SheetHole> holes;
};

// Needs a drillable plan. `name` heads each page.
Template drawTemplate(const TubePlan& plan, Paper paper, const std::string& name);

} // namespace flametube
