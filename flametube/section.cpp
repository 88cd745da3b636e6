#include "section.hpp"

#include "figures_text.hpp"
#include "template.hpp"

#include <algorithm>
#include <array>
#include <cmath>

namespace flametube {

namespace {

// Lengths the figures do not give, as shares of the wheel's diameter, only to place the parts.
constexpr double kWheelLength = 0.35;
constexpr double kDiffuserGap = 0.15;
constexpr double kTurbineLength = 0.3;
constexpr double kNozzleLength = 0.9;
constexpr std::array<double, 7> kScales{1, 2, 2.5, 4, 5, 10, 20};
constexpr double kMargin = 6;
constexpr double kTitleRoom = 14;
constexpr double kLabelRoom = 22; // above and below the engine for the figures
constexpr double kTextSize = 2.8;

} // namespace

double sectionScale(const Drawing& section) {
    // The title ends in "1:N".
    const auto colon = section.title.rfind(':');
    return colon == std::string::npos ? 1 : std::stod(section.title.substr(colon + 1));
}

Drawing drawSection(const TubePlan& plan, const EngineOutline& engine, const std::string& name,
                    double width, double height) {
    const double mm = plan.mmPerUnit;
    const double tubeD = double(plan.window.m_TubeDiameter) * mm;
    const double tubeL = double(plan.window.m_TubeLength) * mm;
    const double housingD = tubeD + kHousingAllowanceInches * fields::kMillimetresPerInch;
    const double wheel = std::max(engine.wheelMm, engine.inducerMm);
    const double wheelL = kWheelLength * wheel;
    const double gap = kDiffuserGap * wheel;
    const double turbineL = kTurbineLength * wheel;
    const double nozzleL = kNozzleLength * wheel;
    const double lengthAll = wheelL + gap + tubeL + turbineL + nozzleL;
    const double tallest = std::max(housingD, wheel);

    const double roomX = width - 2 * kMargin;
    const double roomY = height - 2 * kMargin - kTitleRoom - 2 * kLabelRoom;
    double scale = kScales.back();
    for (const double s : kScales)
        if (lengthAll / s <= roomX && tallest / s <= roomY) {
            scale = s;
            break;
        }
    const std::string scaleText = fixed(scale, scale == std::floor(scale) ? 0 : 1);

    Drawing d;
    d.title = name + " - engine section, scale 1:" + scaleText;
    Page p;
    p.width = width;
    p.height = height;
    p.clip = {0, 0, width, height};
    const double axis = kMargin + kTitleRoom + kLabelRoom + roomY / 2;
    const double left = kMargin + (roomX - lengthAll / scale) / 2;
    auto X = [&](double x) { return left + x / scale; };
    auto Y = [&](double r) { return axis - r / scale; }; // r above the axis; -r below
    auto seg = [&](double x0, double r0, double x1, double r1, double w = 0.3, bool dash = false) {
        p.lines.push_back({{X(x0), Y(r0)}, {X(x1), Y(r1)}, w, dash});
        p.lines.push_back({{X(x0), Y(-r0)}, {X(x1), Y(-r1)}, w, dash});
    };
    auto label = [&](double x, double r, const std::string& text, bool above) {
        // A leader from the part out to its figure, above or below the engine.
        const double edge = above ? axis - tallest / scale / 2 - 4 : axis + tallest / scale / 2 + 4;
        const double at = above ? edge - 2 : edge + 2 + kTextSize;
        p.lines.push_back({{X(x), Y(above ? r : -r)}, {X(x), edge}, 0.1});
        p.texts.push_back({{X(x), at}, text, kTextSize, Anchor::Middle});
    };

    // Centre line.
    p.lines.push_back({{X(-2), axis}, {X(lengthAll + 2), axis}, 0.1, true});
    // Compressor wheel: the inducer at the front, the outlet at the back.
    const double ri = engine.inducerMm / 2, rw = engine.wheelMm / 2;
    seg(0, ri, wheelL * 0.4, ri);
    seg(wheelL * 0.4, ri, wheelL, rw);
    seg(wheelL, rw, wheelL, 0);
    seg(0, ri, 0, ri * 0.35);
    // Housing, dashed, from behind the wheel to the turbine.
    const double x1 = wheelL + gap;
    const double rh = housingD / 2, rt = tubeD / 2;
    seg(wheelL, rw, x1, rh, 0.2, true);
    seg(x1, rh, x1 + tubeL + turbineL, rh, 0.2, true);
    // Flame tube and its rows of holes, each hole on both walls at its drill's size.
    seg(x1, rt, x1 + tubeL, rt, 0.4);
    seg(x1, rt, x1, 0, 0.4);
    for (std::size_t r = 0; r < plan.rows.size(); ++r) {
        const HoleRow& row = plan.rows[r];
        const double x = x1 + row.axial * mm;
        const double hole = row.choice->drillMm / scale;
        p.circles.push_back({{X(x), Y(rt)}, std::max(hole / 2, 0.4), 0.2});
        p.circles.push_back({{X(x), Y(-rt)}, std::max(hole / 2, 0.4), 0.2});
    }
    // Turbine (not sized here) and the nozzle down to the cycle's diameter.
    const double x2 = x1 + tubeL;
    seg(x2, rt, x2 + turbineL, rt * 0.8, 0.3);
    seg(x2 + turbineL, rh, x2 + turbineL, rt * 0.8, 0.3);
    const double rn = engine.nozzleMm && *engine.nozzleMm > 0 ? *engine.nozzleMm / 2 : rt * 0.5;
    seg(x2 + turbineL, rh, lengthAll, rn, 0.4);

    // Figures: above the engine the wheel and tube, below the rows and nozzle.
    label(0, ri, "inducer " + fixed(engine.inducerMm, 1) + " mm", true);
    label(x1 + tubeL * 0.5, rt,
          "flame tube " + fixed(tubeD, 1) + " x " + fixed(tubeL, 1) + " mm long", true);
    label(x2 + turbineL + nozzleL * 0.5, rh, "housing " + fixed(housingD, 1) + " mm", true);
    label(wheelL, rw, "wheel " + fixed(engine.wheelMm, 1) + " mm", false);
    label(x2 + turbineL / 2, rt * 0.9, "turbine (not sized here)", false);
    for (std::size_t r = 0; r < plan.rows.size(); ++r) {
        const HoleRow& row = plan.rows[r];
        // Staggered down so neighbouring rows' figures do not meet.
        const double x = x1 + row.axial * mm;
        const std::string text = std::string(1, kRowNames[r][0]) + ": " +
                                 std::to_string(row.choice->holes) + " x " + row.choice->drillText;
        const double edge = axis + tallest / scale / 2 + 4 + r * (kTextSize + 1.5);
        p.lines.push_back({{X(x), Y(-rt)}, {X(x), edge + 1}, 0.1});
        p.texts.push_back({{X(x) + 1, edge + 1 + kTextSize}, text, kTextSize, Anchor::Start});
    }
    label(lengthAll, rn,
          engine.nozzleMm ? "nozzle " + fixed(*engine.nozzleMm, 1) + " mm" : "nozzle (no figure)",
          false);

    p.texts.push_back({{kMargin, kMargin + 5}, d.title, 3.5, Anchor::Start, 0, true});
    p.texts.push_back({{kMargin, kMargin + 10},
                       "Diameters from the figures; the lengths of wheel, turbine and nozzle only "
                       "place them. Dashed: the housing, tube diameter plus 1.25 in.",
                       2.5});
    // A bar of 100 mm at this scale.
    const double barY = height - kMargin - 2;
    const double bar = 100 / scale;
    p.lines.push_back({{kMargin, barY}, {kMargin + bar, barY}, 0.3});
    p.lines.push_back({{kMargin, barY - 2}, {kMargin, barY}, 0.2});
    p.lines.push_back({{kMargin + bar, barY - 2}, {kMargin + bar, barY}, 0.2});
    p.texts.push_back({{kMargin + bar + 2, barY}, "100 mm at 1:" + scaleText, 2.5});
    d.pages.push_back(std::move(p));
    return d;
}

} // namespace flametube
