#include "candidate.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

using fields::UnitSystem;
using flametube::DrillSeries;

void expectSix(double actual, double expected) {
    EXPECT_NEAR(actual, expected, std::abs(expected) * 5e-6) << "expected " << expected;
}

// The worked examples of the Combustor window, reached from a candidate's inducer diameter in
// the explorer's units (inches for the forms' units, millimetres for metric).
TEST(CandidateTube, EqualsTheWindowsWorkedExamples) {
    struct Case {
        UnitSystem units;
        float shown; // the inducer diameter as the explorer shows it
        double diameter, length, primary, secondary, tertiary;
    };
    const Case cases[] = {
        {UnitSystem::Forms, 1.5f, 4.5, 9, 10.8, 3.2, 2.88},
        {UnitSystem::Forms, 3.0f, 6, 18, 43.2, 12.8, 11.52},
        {UnitSystem::Forms, 2.0f, 5, 12, NAN, NAN, NAN},
        {UnitSystem::Metric, 57.0f, 143.173, 342, 27.075, 6.498, 6.3457},
        {UnitSystem::Metric, 40.0f, 120, 240, NAN, NAN, NAN},
        {UnitSystem::Metric, 70.0f, 140, 420, NAN, NAN, NAN},
    };
    for (const Case& c : cases) {
        flametube::CandidateFigures figures;
        figures.inducerDiameter = fields::fromDisplay(fields::Quantity::Length, c.units, c.shown);
        const auto plan = flametube::candidateTube(figures, c.units);
        SCOPED_TRACE(c.shown);
        expectSix(plan.window.m_TubeDiameter, c.diameter);
        expectSix(plan.window.m_TubeLength, c.length);
        if (!std::isnan(c.primary)) {
            expectSix(plan.window.m_PrimaryHoles, c.primary);
            expectSix(plan.window.m_SecondaryHoles, c.secondary);
            expectSix(plan.window.m_TertiaryHoles, c.tertiary);
        }
    }
}

// Worked by hand: n = round(area / (pi d^2 / 4)) for the nearest drill first, the next nearest
// while n x the hole's area is more than 5 % off.
TEST(WholeHoles, NearestDrillWithinFivePercent) {
    struct Case {
        double area, preferred, unitMm;
        DrillSeries series;
        int holes;
        const char* drill;
    };
    const Case cases[] = {
        // 765.528 / 28.2743 = 27.08: 27 holes, -0.3 %.
        {765.528, 6, 1, DrillSeries::Metric, 27, "6.0 mm"},
        // 10 mm: 6.5 either way 7.7 % off; 9.9 mm: 7 holes +5.6 %; 10.1: 6 holes -5.8 %;
        // 9.8 mm: 7 x 75.43 = 528.0, +3.5 %.
        {510.352, 10, 1, DrillSeries::Metric, 7, "9.8 mm"},
        // 16 mm is past the series: 13 mm, 1275.88 / 132.73 = 9.61, 10 holes +4.0 %.
        {1275.88, 16, 1, DrillSeries::Metric, 10, "13.0 mm"},
        // Inches: 2.12057 / 0.0490874 = 43.2, 43 holes of 1/4 in, -0.5 %.
        {2.12057, 0.25, 25.4, DrillSeries::Inch, 43, "1/4 in"},
        // 5/8 in: 3.53429 / 0.306796 = 11.52: 12 holes, +4.2 %.
        {3.53429, 0.625, 25.4, DrillSeries::Inch, 12, "5/8 in"},
        // A metric drill in an inch tube: 6 mm = 0.23622 in, 0.043825 in2 a hole, 48.4 -> 48.
        {2.12057, 6 / 25.4, 25.4, DrillSeries::Metric, 48, "6.0 mm"},
    };
    for (const Case& c : cases) {
        const auto choice = flametube::chooseHoles(c.area, c.preferred, c.unitMm, c.series);
        ASSERT_TRUE(choice) << c.area;
        EXPECT_EQ(choice->holes, c.holes) << c.area;
        EXPECT_EQ(choice->drillText, c.drill) << c.area;
        EXPECT_LE(std::abs(choice->areaError), 0.05);
    }
}

TEST(WholeHoles, NoneWhereNoDrillFits) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    // One 1 mm hole is 0.785 mm2: no whole number of any drill makes 0.1 mm2.
    EXPECT_FALSE(flametube::chooseHoles(0.1, 1, 1, DrillSeries::Metric));
    for (const double bad : {0.0, -5.0, nan, inf}) {
        EXPECT_FALSE(flametube::chooseHoles(bad, 6, 1, DrillSeries::Metric));
        EXPECT_FALSE(flametube::chooseHoles(500, bad, 1, DrillSeries::Metric));
    }
}

TEST(WholeHoles, DrillTexts) {
    EXPECT_EQ(flametube::drillText(25.4 * 40 / 64, DrillSeries::Inch), "5/8 in");
    EXPECT_EQ(flametube::drillText(25.4 / 64, DrillSeries::Inch), "1/64 in");
    EXPECT_EQ(flametube::drillText(25.4, DrillSeries::Inch), "1 in");
    EXPECT_EQ(flametube::drillText(12.7, DrillSeries::Metric), "12.7 mm");
    EXPECT_EQ(flametube::drillText(1.0, DrillSeries::Metric), "1.0 mm");
}

// A tube of 2000 mm2 drilled; 0.5 kg/s at 3 bar and 400 K. Worked by hand:
// rho = 300000 / (287.05 x 400) = 2.61279 kg/m3; V = 0.5 / (2.61279 x 0.6 x 0.002) = 159.473 m/s;
// dP = rho V^2 / 2 = 33223.5 Pa, 11.07 % of P3: above 8 %, flagged.
TEST(TubeChecks, VelocityDropAndSharesByHand) {
    flametube::CandidateFigures figures;
    figures.inducerDiameter = fields::fromDisplay(fields::Quantity::Length, UnitSystem::Metric, 57);
    auto plan = flametube::candidateTube(figures, UnitSystem::Metric);
    ASSERT_TRUE(plan.drillable());
    const double areas[] = {600, 400, 1000};
    for (std::size_t r = 0; r < 3; ++r)
        plan.rows[r].choice->drilledArea = areas[r];
    flametube::CycleAir air{0.5, 300000, 400, 0.0075};
    const auto c = flametube::checkTube(plan, air);
    ASSERT_TRUE(c);
    expectSix(c->rows[0].share, 0.3);
    expectSix(c->rows[2].air, 0.25);
    EXPECT_NEAR(c->holeVelocity, 159.473, 1e-3);
    EXPECT_NEAR(c->linerDrop, 33223.5, 0.5);
    // Primary air 0.15 kg/s, fuel 0.0075 kg/s: f/a 0.05, 0.735 of stoichiometric: too lean.
    EXPECT_NEAR(*c->primaryEquivalence, 0.05 / 0.068, 1e-9);
    ASSERT_EQ(c->flags.size(), 2u);
    EXPECT_EQ(c->flags[0].figure, "liner pressure drop");
    EXPECT_NE(c->flags[0].reason.find("11.1 %"), std::string::npos) << c->flags[0].reason;
    EXPECT_NE(c->flags[1].reason.find("too lean"), std::string::npos);
}

} // namespace
