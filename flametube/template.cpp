#include "template.hpp"

#include "figures_text.hpp"

#include <algorithm>
#include <cmath>
#include <utility>

namespace flametube {

namespace {

constexpr double kHeaderHeight = 12; // two lines of text above the tile
constexpr double kFooterHeight = 22; // the two scale bars below it
constexpr double kSheetTop = 16;     // room for the end and seam labels above the wall
constexpr double kSheetLeft = 4;
constexpr double kSheetBottom = 10;
constexpr double kLabelGap = 5;
constexpr double kLabelSize = 2.8;
constexpr double kLabelLeading = 4;
constexpr double kMarkRadius = 2.5;
constexpr double kHatchStep = 4;

// The sheet before it is cut into pages.
struct Sheet {
    std::vector<Line> lines;
    std::vector<Circle> circles;
    std::vector<Text> texts;
    std::vector<Rect> keepOut; // where no mark may go: the glue strip and the labels
    double width = 0, height = 0;
};

void cross(std::vector<Line>& lines, Point c, double half, double width) {
    lines.push_back({{c.x - half, c.y}, {c.x + half, c.y}, width});
    lines.push_back({{c.x, c.y - half}, {c.x, c.y + half}, width});
}

// The labels of a row: what to drill, where, and the area against the computed one.
std::vector<std::string> rowLabel(const TubePlan& plan, std::size_t r) {
    const HoleRow& row = plan.rows[r];
    const HoleChoice& c = *row.choice;
    const double mm = plan.mmPerUnit;
    const std::string sign = c.areaError >= 0 ? "+" : "";
    return {std::string(kRowNames[r]) + ": " + std::to_string(c.holes) + " x " + c.drillText,
            "at " + fixed(row.axial * mm, 1) + " mm (" + fixed(row.position, 3) + " L), every " +
                fixed(row.pitch * mm, 1) + " mm",
            fixed(c.drilledArea * mm * mm, 0) + " mm\u00b2 for " + fixed(row.area * mm * mm, 0) +
                " computed (" + sign + fixed(c.areaError * 100, 1) + " %)"};
}

Sheet drawSheet(const TubePlan& plan, Template& out) {
    Sheet s;
    const double mm = plan.mmPerUnit;
    const double around = plan.circumference() * mm;
    const double length = double(plan.window.m_TubeLength) * mm;
    const Point o{kSheetLeft, kSheetTop};
    out.wallOrigin = o;
    out.wallWidth = around;
    out.wallHeight = length;

    // The wall, the seam where its left edge comes to lie, and the glue strip beyond.
    const double right = o.x + around;
    const double bottom = o.y + length;
    s.lines.push_back({o, {right, o.y}, 0.35});
    s.lines.push_back({{o.x, bottom}, {right, bottom}, 0.35});
    s.lines.push_back({o, {o.x, bottom}, 0.35});
    s.lines.push_back({{right, o.y}, {right, bottom}, 0.35, true});
    const double glueRight = right + kGlueOverlap;
    s.lines.push_back({{right, o.y}, {glueRight, o.y}, 0.35});
    s.lines.push_back({{right, bottom}, {glueRight, bottom}, 0.35});
    s.lines.push_back({{glueRight, o.y}, {glueRight, bottom}, 0.35});
    // Hatched, but clear where its name is written.
    const std::string glue = "glue overlap " + fixed(kGlueOverlap, 0) + " mm";
    const double glueText = textWidth(glue, 2.5) / 2 + 2;
    const double middle = o.y + 4 + glueText; // near the top, so it sits whole on one page
    for (double y = o.y; y < bottom; y += kHatchStep / 2) {
        const double x0 = right, y0 = y, x1 = right + std::min(kGlueOverlap, bottom - y);
        const double y1 = std::min(bottom, y + kGlueOverlap);
        if (y1 < middle - glueText || y0 > middle + glueText)
            s.lines.push_back({{x0, y0}, {x1, y1}, 0.1});
    }
    s.texts.push_back({{right + kGlueOverlap / 2 + 1, middle}, glue, 2.5, Anchor::Middle, 90});
    s.keepOut.push_back({right - 2, o.y - 2, kGlueOverlap + 4, length + 4});
    s.texts.push_back({{o.x, o.y - 8}, "inlet end (compressor side)", 3, Anchor::Start, 0, true});
    s.texts.push_back({{o.x, o.y - 2}, "left edge", 2.5});
    s.texts.push_back(
        {{right, o.y - 2}, "seam: the left edge lies on this line", 2.5, Anchor::End});
    s.texts.push_back({{o.x, bottom + 6}, "outlet end (turbine side)", 3, Anchor::Start, 0, true});

    // The rows: a scribed line through the centres, each centre a cross, each hole its drill.
    double labelX = glueRight + kLabelGap;
    double widest = 0;
    double labelFloor = 0; // labels never overlap: each starts below the one before
    for (std::size_t r = 0; r < plan.rows.size(); ++r) {
        const HoleRow& row = plan.rows[r];
        const double y = o.y + row.axial * mm;
        const double radius = row.choice->drillMm / 2;
        s.lines.push_back({{o.x, y}, {right, y}, 0.1, true});
        for (int k = 0; k < row.choice->holes; ++k) {
            const Point c{o.x + (row.startShare + k) * row.pitch * mm, y};
            s.circles.push_back({c, radius, 0.25});
            cross(s.lines, c, radius + 1.5, 0.15);
            out.holes.push_back({r, c, radius});
        }
        const auto label = rowLabel(plan, r);
        double top = std::max(y - kLabelLeading / 2, labelFloor);
        for (std::size_t i = 0; i < label.size(); ++i) {
            s.texts.push_back({{labelX, top + kLabelSize + i * kLabelLeading},
                               label[i],
                               kLabelSize,
                               Anchor::Start,
                               0,
                               i == 0});
            widest = std::max(widest, textWidth(label[i], kLabelSize));
        }
        labelFloor = top + label.size() * kLabelLeading + 2;
        s.keepOut.push_back({labelX - 2, top - 2, 90, labelFloor - top + 2});
        // A leader from the row's end to its label when the label had to move down.
        s.lines.push_back({{glueRight, y}, {labelX - 1, top + kLabelSize - 1}, 0.1});
    }
    s.width = labelX + widest + 2;
    s.height = std::max(bottom + kSheetBottom, labelFloor);
    return s;
}

// Where a text's letters go, roughly, on the sheet.
Rect extent(const Text& t) {
    const double w = textWidth(t.text, t.size);
    const double start = t.anchor == Anchor::Start ? 0 : t.anchor == Anchor::Middle ? -w / 2 : -w;
    if (t.angle != 0) // upright, reading upwards or downwards: across becomes down
        return {t.at.x - t.size, t.at.y + start, t.size * 1.3, w};
    return {t.at.x + start, t.at.y - t.size, w, t.size * 1.3};
}

bool inside(const Rect& r, double x0, double y0, double x1, double y1) {
    return x1 >= r.x && x0 <= r.x + r.width && y1 >= r.y && y0 <= r.y + r.height;
}

// The bars every page carries, below its tile.
void scaleBars(Page& page, double left, double top) {
    const double inch = fields::kMillimetresPerInch;
    auto bar = [&](double y, double length, double tick, int ticks, const std::string& label) {
        page.frameLines.push_back({{left, y}, {left + length, y}, 0.3});
        for (int i = 0; i <= ticks; ++i) {
            const double x = left + i * tick;
            const double h = i == 0 || i == ticks ? 3 : 1.5;
            page.frameLines.push_back({{x, y - h}, {x, y}, 0.2});
        }
        page.texts.push_back({{left + length + 3, y}, label, 3});
    };
    bar(top + 6, kScaleBarMm, 10, 10, "100 mm: check with a ruler");
    bar(top + 17, kScaleBarInches * inch, inch / 2, 8, "4 in: check with a ruler");
}

} // namespace

PaperSize paperSize(Paper paper) {
    return paper == Paper::A4 ? PaperSize{210, 297} : PaperSize{215.9, 279.4};
}

Template drawTemplate(const TubePlan& plan, Paper paper, const std::string& name) {
    Template t;
    t.drawing.title = name + " - flame tube drilling template";
    const Sheet sheet = drawSheet(plan, t);
    const PaperSize size = paperSize(paper);
    const Rect tile{kPageMargin, kPageMargin + kHeaderHeight, size.width - 2 * kPageMargin,
                    size.height - 2 * kPageMargin - kHeaderHeight - kFooterHeight};
    const double stepX = tile.width - kTileOverlap;
    const double stepY = tile.height - kTileOverlap;
    auto count = [](double extent, double room, double step) {
        return extent <= room ? 1 : static_cast<int>(std::ceil((extent - kTileOverlap) / step));
    };
    const int columns = count(sheet.width, tile.width, stepX);
    const int rows = count(sheet.height, tile.height, stepY);

    // Marks for laying pages together, in the middle of each strip two pages share, clear of
    // the holes.
    std::vector<Point> marks;
    auto clear = [&](Point p) {
        const double d = kMarkRadius + 3;
        for (const Rect& k : sheet.keepOut)
            if (p.x > k.x - d && p.x < k.x + k.width + d && p.y > k.y - d &&
                p.y < k.y + k.height + d)
                return false;
        return std::none_of(t.holes.begin(), t.holes.end(), [&](const SheetHole& h) {
            return std::hypot(h.centre.x - p.x, h.centre.y - p.y) < h.radius + kMarkRadius + 2;
        });
    };
    auto place = [&](Point p, Point along) {
        for (int tries = 0; tries < 40 && !clear(p); ++tries)
            p = {p.x + along.x, p.y + along.y};
        marks.push_back(p);
    };
    for (int c = 1; c < columns; ++c)
        for (int r = 0; r < rows; ++r)
            for (const double share : {0.3, 0.7})
                place({c * stepX + kTileOverlap / 2, r * stepY + share * stepY}, {0, 4});
    for (int r = 1; r < rows; ++r)
        for (int c = 0; c < columns; ++c)
            for (const double share : {0.3, 0.7})
                place({c * stepX + share * stepX, r * stepY + kTileOverlap / 2}, {4, 0});
    std::vector<Line> markLines;
    // A diamond round a cross, unlike any hole.
    for (const Point& m : marks) {
        const double d = kMarkRadius + 1;
        const Point n{m.x, m.y - d}, e{m.x + d, m.y}, s{m.x, m.y + d}, w{m.x - d, m.y};
        for (const auto& [a, b] :
             {std::pair{n, e}, std::pair{e, s}, std::pair{s, w}, std::pair{w, n}})
            markLines.push_back({a, b, 0.25});
        cross(markLines, m, d + 1.5, 0.2);
    }

    const int total = rows * columns;
    std::vector<int> textPage;
    for (const Text& text : sheet.texts) {
        const Rect e = extent(text);
        int found = -1, starts = 0;
        for (int i = 0; i < total && found < 0; ++i) {
            const double x = (i % columns) * stepX, y = (i / columns) * stepY;
            if (e.x >= x && e.x + e.width <= x + tile.width && e.y >= y &&
                e.y + e.height <= y + tile.height)
                found = i;
            if (e.x >= x && e.y >= y)
                starts = i; // the last tile whose corner is above and left of it
        }
        textPage.push_back(found >= 0 ? found : starts);
    }
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < columns; ++c) {
            Page page;
            page.width = size.width;
            page.height = size.height;
            page.clip = tile;
            const Point origin{c * stepX, r * stepY};
            t.tiles.push_back({origin, {tile.x, tile.y}, r, c});
            auto toPage = [&](Point p) {
                return Point{p.x - origin.x + tile.x, p.y - origin.y + tile.y};
            };
            auto addLines = [&](const std::vector<Line>& from) {
                for (const Line& l : from) {
                    const Line m{toPage(l.a), toPage(l.b), l.width, l.dashed};
                    if (inside(tile, std::min(m.a.x, m.b.x), std::min(m.a.y, m.b.y),
                               std::max(m.a.x, m.b.x), std::max(m.a.y, m.b.y)))
                        page.lines.push_back(m);
                }
            };
            auto addCircles = [&](const std::vector<Circle>& from) {
                for (const Circle& k : from) {
                    const Circle m{toPage(k.centre), k.radius, k.width};
                    if (inside(tile, m.centre.x - m.radius, m.centre.y - m.radius,
                               m.centre.x + m.radius, m.centre.y + m.radius))
                        page.circles.push_back(m);
                }
            };
            addLines(sheet.lines);
            addCircles(sheet.circles);
            addLines(markLines);
            // Texts whole or not at all, on the first page that holds all of one (its clip does
            // not cut texts), else on the page where it starts.
            for (std::size_t i = 0; i < sheet.texts.size(); ++i) {
                if (textPage[i] != r * columns + c)
                    continue;
                Text m = sheet.texts[i];
                m.at = toPage(m.at);
                page.texts.push_back(m);
            }
            // Where this page is cut to lie on the one to its left or above.
            if (c > 0)
                page.frameLines.push_back({{tile.x + kTileOverlap / 2, tile.y},
                                           {tile.x + kTileOverlap / 2, tile.y + tile.height},
                                           0.2,
                                           true});
            if (r > 0)
                page.frameLines.push_back({{tile.x, tile.y + kTileOverlap / 2},
                                           {tile.x + tile.width, tile.y + kTileOverlap / 2},
                                           0.2,
                                           true});
            const int number = r * columns + c + 1;
            page.texts.push_back({{kPageMargin, kPageMargin + 3.5},
                                  name + " - flame tube drilling template - page " +
                                      std::to_string(number) + " of " + std::to_string(total) +
                                      " (row " + std::to_string(r + 1) + ", column " +
                                      std::to_string(c + 1) + ")",
                                  3.2,
                                  Anchor::Start,
                                  0,
                                  true});
            std::string note = std::string(kPrintNote);
            if (total > 1)
                note += "; cut along a dashed edge through the marks and lay it on the page "
                        "before, marks on marks";
            page.texts.push_back({{kPageMargin, kPageMargin + 9}, note, 2.6});
            scaleBars(page, kPageMargin, tile.y + tile.height + 1);
            t.drawing.pages.push_back(std::move(page));
        }
    return t;
}

} // namespace flametube
