// Reading run logs: units converted with the unit table's exact factors, aliases and odd spellings
// of names taken, unknown columns kept aside; every bad log refused whole with its line and column.
#include "run_log.hpp"

#include <gtest/gtest.h>

#include <sstream>

namespace {

using runs::Measured;

runs::RunLogResult read(const std::string& text) {
    std::istringstream in(text);
    return runs::readRunLog(in, "run.csv");
}

TEST(RunLog, ReadsUnitsAliasesAndUnknownColumns) {
    const auto result = read("Time,RPM,egt[degC],Thrust [N],p2[bar],mass_flow[kg/s],note\n"
                             "0.5,91000,650,100,1,0.5,warm\n"
                             "1.0,95000,,120.5,1.2,,\n");
    ASSERT_TRUE(std::holds_alternative<runs::RunLog>(result))
        << std::get<runs::RunLogError>(result).text();
    const auto& log = std::get<runs::RunLog>(result);
    EXPECT_EQ(log.otherColumns, (std::vector<std::string>{"Time", "note"}));
    ASSERT_EQ(log.points.size(), 2u);
    const auto& p = log.points[0];
    EXPECT_EQ(p.line, 2u);
    EXPECT_EQ(*p[Measured::Rpm], 91000.0f);
    EXPECT_EQ(*p[Measured::TurbineOutletTemp], 650.0f);
    // 100 N = 22.480894 lbf; 1 bar = 14.503774 psi; 0.5 kg/s = 1.1023113 lb/s.
    EXPECT_NEAR(*p[Measured::Thrust], 22.480894f, 2e-6f);
    EXPECT_NEAR(*p[Measured::P2], 14.503774f, 2e-6f);
    EXPECT_NEAR(*p[Measured::MassFlow], 1.1023113f, 2e-7f);
    EXPECT_FALSE(p[Measured::AmbientTemp]);
    EXPECT_TRUE(log.has(Measured::MassFlow));
    EXPECT_FALSE(log.points[1][Measured::TurbineOutletTemp]); // left empty: not measured
    EXPECT_FALSE(log.points[1][Measured::MassFlow]);
}

TEST(RunLog, ReadsASemicolonLogInTheFormsUnits) {
    const auto result =
        read("thrust;turbine-outlet-temp;ambient-pressure[psia]\r\n25;640;14.2\r\n");
    ASSERT_TRUE(std::holds_alternative<runs::RunLog>(result));
    const auto& p = std::get<runs::RunLog>(result).points.at(0);
    EXPECT_EQ(*p[Measured::Thrust], 25.0f);
    EXPECT_EQ(*p[Measured::AmbientPressure], 14.2f);
}

struct Bad {
    const char* text;
    std::size_t line, column;
    const char* says;
};

TEST(RunLog, BadLogsNameLineAndColumnAndLoadNothing) {
    const Bad cases[] = {
        {"", 0, 0, "empty"},
        {"rpm,thrust\n", 0, 0, "no points"},
        {"time,note\n1,a\n", 1, 0, "no column of a measured quantity"},
        {"thrust,egt,turbine-outlet-temp\n1,2,3\n", 1, 3, "turbine-outlet-temp appears twice"},
        {"p2,thrust[kg]\n1,2\n", 1, 2, "\"kg\" is not a unit of thrust"},
        {"egt[K]\n900\n", 1, 1, "not a unit of turbine-outlet-temp"},
        {"thrust,p2\n1,2\n3\n", 3, 2, "1 field where the header has 2"},
        {"thrust,p2\n1,2,3\n", 2, 3, "3 fields"},
        {"p2[bar]\n3e38\n", 2, 1, "not a finite measurement"}, // beyond a float in psi
        {"thrust\n1\n\"2\n", 3, 0, ""},                        // a quote left open
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const auto result = read(c.text);
        ASSERT_TRUE(std::holds_alternative<runs::RunLogError>(result));
        const auto& e = std::get<runs::RunLogError>(result);
        EXPECT_EQ(e.file, "run.csv");
        EXPECT_EQ(e.line, c.line);
        EXPECT_EQ(e.column, c.column);
        EXPECT_NE(e.message.find(c.says), std::string::npos) << e.message;
    }
}

} // namespace
