// vorlaxen-calc running-line: the line through the design point, its rows in every format, and
// the refusals. The physics is checked in the off-design tests; here only what the command adds.
#include "cli_test_support.hpp"

#include <gtest/gtest.h>

namespace {

using clitest::calc;
using clitest::csvRows;
using clitest::number;

TEST(RunningLine, PassesThroughTheDesignPointInEveryFormat) {
    // The window's point: 1.41 lb/s at 788 deg. C and 58.6333 lbf; both areas from it.
    const auto csv = calc({"running-line", "--sweep", "p2=30:34:2", "--csv", "--columns",
                           "p2,mass-flow,turbine-inlet-temp,thrust,reason,held-fixed"});
    ASSERT_EQ(csv.status, 0) << csv.err;
    const auto rows = csvRows(csv.out);
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[2][0], "32");
    EXPECT_NEAR(number(rows[2][1]), 1.41, 1.41e-6);
    EXPECT_NEAR(number(rows[2][2]), 788, 788e-6);
    EXPECT_NEAR(number(rows[2][3]), 58.6333, 1e-4);
    EXPECT_EQ(rows[2][4], "");
    EXPECT_EQ(rows[2][5], "gauge P2");
    const auto json = calc({"running-line", "--sweep", "p2=1:2:1", "--json"});
    ASSERT_EQ(json.status, 0) << json.err;
    const auto first = clitest::jsonObject(json.out.substr(0, json.out.find('\n')));
    EXPECT_EQ(first.at("reason"),
              "too low to self-sustain: the combustor's loss takes all the boost");
    EXPECT_EQ(first.at("thrust"), "null");
    EXPECT_EQ(calc({"running-line", "--sweep", "p2=30:34:2"}).status, 0);
}

// At a fixed corrected speed the air is thinner aloft, so the engine passes less and pushes less;
// at a fixed gauge P2 it would be made to spin faster instead.
TEST(RunningLine, AltitudeHoldsTheCorrectedSpeed) {
    auto thrustAt = [](const char* altitude) {
        const auto r = calc({"running-line", "--map", VX_DEMO_MAP, "--sweep", "rpm=75000:75000:1",
                             "--altitude", altitude, "--csv", "--columns", "thrust,held-fixed"});
        EXPECT_EQ(r.status, 0) << r.err;
        const auto rows = csvRows(r.out);
        EXPECT_EQ(rows.at(1).at(1), "corrected speed");
        return number(rows.at(1).at(0));
    };
    const float ground = thrustAt("0");
    const float high = thrustAt("3000");
    EXPECT_LT(high, 0.8f * ground);
    EXPECT_GT(high, 0.5f * ground);
}

// One point of the same model: the air flow what a turbine of that area passes at the candidate's
// inlet temperature; mass-flow-used the air flow each point used.
TEST(RunningLine, TheTurbineAsTheEnginesMassFlowSource) {
    const struct {
        std::vector<std::string> extra;
        double massFlow;
    } cases[] = {
        {{}, 1.41},                              // no area: the candidate's own point
        {{"--turbine-area", "2.6067958"}, 1.41}, // the design point's area
        {{"--turbine-area", "5.2135916"}, 2.82}, // twice the area passes twice the air
        {{"--turbine-area", "2.6067958", "--p2", "20"}, 1.0294017}, // by hand: turbine PR 1.68664
    };
    for (const auto& c : cases) {
        std::vector<std::string> args{"engine", "--mass-flow-source", "turbine",
                                      "--csv",  "--columns",          "mass-flow-used,mass-flow"};
        args.insert(args.end(), c.extra.begin(), c.extra.end());
        const auto r = calc(args);
        ASSERT_EQ(r.status, 0) << r.err;
        const auto row = csvRows(r.out).at(1);
        EXPECT_NEAR(number(row[0]), c.massFlow, c.massFlow * 1e-6) << row[0];
        EXPECT_EQ(row[0], row[1]);
    }
    const auto cycle =
        csvRows(calc({"cycle", "--mass-flow", "0.9", "--csv", "--columns", "mass-flow-used"}).out);
    EXPECT_EQ(cycle.at(1).at(0), "0.9");
}

TEST(RunningLine, RefusesWhatCannotBeDone) {
    const struct {
        std::vector<std::string> args;
        const char* says;
    } cases[] = {
        {{"running-line", "--sweep", "rpm=60000:80000:10000"}, "give --map"},
        {{"running-line", "--from-design-point", "--nozzle-area", "5"}, "--from-design-point"},
        {{"running-line", "--turbine-area", "-2"}, "not an area above 0"},
        {{"running-line", "--combustor-loss", "fixed"}, "ratio, percent"},
        {{"running-line", "--efficiency-from-map"}, "needs --map"},
        {{"running-line", "--sweep", "p2=5"}, "START:STOP:STEP"},
    };
    for (const auto& c : cases) {
        const auto r = calc(c.args);
        EXPECT_EQ(r.status, 2) << c.says;
        EXPECT_NE(r.err.find(c.says), std::string::npos) << r.err;
    }
}

} // namespace
