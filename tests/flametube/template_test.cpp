#include "candidate.hpp"
#include "svg_writer.hpp"
#include "template.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <regex>
#include <string>
#include <vector>

namespace {

using flametube::Paper;

struct Shape {
    int page;
    double x1, y1, x2, y2; // a line's ends, or a circle's centre twice
};

// Reads back the SVG's own coordinates: each page's offset, its circles and lines.
struct ReadBack {
    std::vector<Shape> circles, lines;
    int pages = 0;
};

ReadBack readSvg(const std::string& svg) {
    ReadBack out;
    const std::regex page(R"re(<g id="page(\d+)" transform="translate\(0 ([-\d.]+)\)">)re");
    const std::regex circle(R"re(<circle cx="([-\d.]+)" cy="([-\d.]+)")re");
    const std::regex line(
        R"re(<line x1="([-\d.]+)" y1="([-\d.]+)" x2="([-\d.]+)" y2="([-\d.]+)")re");
    std::size_t at = 0;
    double top = 0;
    while (at < svg.size()) {
        const auto end = svg.find('\n', at);
        const std::string text = svg.substr(at, end - at);
        at = end == std::string::npos ? svg.size() : end + 1;
        std::smatch m;
        if (std::regex_search(text, m, page)) {
            ++out.pages;
            top = std::stod(m[2]);
        } else if (std::regex_search(text, m, circle)) {
            const double x = std::stod(m[1]), y = std::stod(m[2]);
            out.circles.push_back({out.pages - 1, x, y + top, x, y + top});
        } else if (std::regex_search(text, m, line)) {
            out.lines.push_back({out.pages - 1, std::stod(m[1]), std::stod(m[2]) + top,
                                 std::stod(m[3]), std::stod(m[4]) + top});
        }
    }
    return out;
}

flametube::TubePlan tube(fields::UnitSystem units, float shownInducer, int holes) {
    flametube::CandidateFigures figures;
    figures.inducerDiameter = fields::fromDisplay(fields::Quantity::Length, units, shownInducer);
    auto plan = flametube::candidateTube(figures, units);
    // Every row drilled with the given count, to try the spacing of 1 to 40 holes.
    for (auto& row : plan.rows) {
        row.choice->holes = holes;
        row.pitch = plan.circumference() / holes;
    }
    return plan;
}

// Each hole's centre, worked out from the tube's figures alone: the wall's corner, then
// (start + k) x pi x D / n across and position x L down, in millimetres.
TEST(DrillingTemplate, HolesAndScaleBarsReadBackExactlyOnEveryTile) {
    struct Case {
        fields::UnitSystem units;
        float inducer; // as shown
        int holes;
        Paper paper;
        int pages; // 1 for one page, 2 for "several"
    };
    const Case cases[] = {
        {fields::UnitSystem::Metric, 10, 1, Paper::A4, 1},       // 30 x 60 mm tube
        {fields::UnitSystem::Forms, 0.4f, 7, Paper::Letter, 1},  // 1.2 x 2.4 in
        {fields::UnitSystem::Metric, 57, 27, Paper::A4, 2},      // 143 x 342 mm
        {fields::UnitSystem::Forms, 1.0f, 12, Paper::Letter, 2}, // 3 x 6 in
        {fields::UnitSystem::Forms, 3.0f, 40, Paper::A4, 2},     // 6 x 18 in
        {fields::UnitSystem::Forms, 3.0f, 1, Paper::Letter, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.inducer << " " << c.holes);
        const auto plan = tube(c.units, c.inducer, c.holes);
        const auto t = flametube::drawTemplate(plan, c.paper, "Test");
        const auto back = readSvg(flametube::svgText(t.drawing));
        ASSERT_EQ(back.pages, static_cast<int>(t.drawing.pages.size()));
        if (c.pages == 1)
            EXPECT_EQ(back.pages, 1);
        else
            EXPECT_GT(back.pages, 1);
        const double pageHeight = flametube::paperSize(c.paper).height;
        const double mm = plan.mmPerUnit;
        const double around = 3.14159265 * double(plan.window.m_TubeDiameter) * mm;
        for (std::size_t r = 0; r < 3; ++r) {
            const auto& row = plan.rows[r];
            for (int k = 0; k < c.holes; ++k) {
                const double x = t.wallOrigin.x + (row.startShare + k) * around / c.holes;
                const double y =
                    t.wallOrigin.y + row.position * double(plan.window.m_TubeLength) * mm;
                // On every page that shows it, at the page's place for that sheet point.
                int found = 0;
                for (const auto& circle : back.circles) {
                    const auto& tile = t.tiles[static_cast<std::size_t>(circle.page)];
                    const double sx = circle.x1 - tile.pageOrigin.x + tile.sheetOrigin.x;
                    const double sy = circle.y1 - circle.page * pageHeight - tile.pageOrigin.y +
                                      tile.sheetOrigin.y;
                    if (std::hypot(sx - x, sy - y) <= 0.1)
                        ++found;
                }
                EXPECT_GE(found, 1) << "row " << r << " hole " << k;
            }
        }
        // A 100 mm and a 4 in bar on every page.
        for (int p = 0; p < back.pages; ++p) {
            bool metric = false, inch = false;
            for (const auto& l : back.lines) {
                if (l.page != p || std::abs(l.y1 - l.y2) > 1e-9)
                    continue;
                const double length = std::abs(l.x2 - l.x1);
                metric = metric || std::abs(length - 100) <= 0.1;
                inch = inch || std::abs(length - 101.6) <= 0.1;
            }
            EXPECT_TRUE(metric && inch) << "page " << p + 1;
        }
    }
}

} // namespace
