// vorlaxen-calc fit: the candidate's options reach the fit, the log is read from a file or
// standard input, and every refusal says what to change. And cycle with a measured turbine outlet
// temperature in place of the inlet temperature.
#include "cli_test_support.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace clitest;

namespace {

const std::string kLog = "p2[psi],thrust[lbf],note\n15,30,a\n25,42,b\n32,47,c\n";

TEST(FitCommand, FitsTheCandidateGivenByOptions) {
    const auto o = calc({"fit", "--fit", "turbine-efficiency", "--turbine-efficiency", "70",
                         "--input", "-", "--csv"},
                        kLog);
    ASSERT_EQ(o.status, 0) << o.err;
    const auto rows = csvRows(o.out);
    // header, one assumption, three points, rms, degrees of freedom, reduced chi-square
    ASSERT_EQ(rows.size(), 8u);
    EXPECT_EQ(rows[1][0], "assumption");
    EXPECT_EQ(rows[1][4], "70"); // the start is the option's value
    const float fitted = number(rows[1][5]);
    EXPECT_TRUE(fitted > 30 && fitted < 100) << fitted;
    EXPECT_GT(number(rows[1][6]), 0); // a standard error
    for (std::size_t i = 2; i < 5; ++i) {
        EXPECT_EQ(rows[i][0], "point");
        EXPECT_EQ(rows[i][3], std::to_string(i)); // the log's line
        EXPECT_NEAR(number(rows[i][9]), number(rows[i][8]) / number(rows[i][7]), 1e-6);
    }
    EXPECT_EQ(rows[2][7], "30");
    EXPECT_EQ(rows[2][11], "15"); // its P2
    EXPECT_EQ(rows[5][1], "rms");
    EXPECT_LT(number(rows[5][5]), number(rows[5][4])); // the fit lowered the error
    EXPECT_EQ(rows[6][12], "2");                       // 3 values, 1 assumption
}

TEST(FitCommand, HoldsTheFittedEngineAgainstAnotherRunLog) {
    // Two runs made by the engine itself with a 72 % turbine, at different P2: fitted to the
    // first from 78 %, the engine predicts the second's thrust to within its float rounding.
    const auto made = [](const char* sweep) {
        return calc({"engine", "--sweep", sweep, "--turbine-efficiency", "72", "--csv", "--columns",
                     "p2,thrust"})
            .out;
    };
    const auto other = std::filesystem::temp_directory_path() / "vx_fit_other_run.csv";
    std::ofstream(other) << made("p2=14:30:8");
    const auto o = calc({"fit", "--fit", "turbine-efficiency", "--input", "-", "--predict",
                         other.string(), "--csv"},
                        made("p2=12:28:4"));
    std::filesystem::remove(other);
    ASSERT_EQ(o.status, 0) << o.err;
    const auto rows = csvRows(o.out);
    EXPECT_NEAR(number(rows[1][5]), 72, 0.01);
    std::vector<std::string> p2s;
    for (const auto& row : rows)
        if (row[0] == "held-out") {
            EXPECT_NEAR(number(row[10]), 0, 1e-5) << row[3];
            p2s.push_back(row[11]);
        }
    EXPECT_EQ(p2s, (std::vector<std::string>{"14", "22", "30"}));
    EXPECT_EQ(rows.back()[1], "held-out-rms");
}

TEST(FitCommand, PointsWithSpeedAndNoPressureTakeItFromTheMap) {
    const std::string log = "rpm,thrust,mass-flow\n60000,20,0.8\n75000,30,1.0\n90000,40,1.3\n";
    const auto without = calc({"fit", "--fit", "turbine-efficiency", "--input", "-"}, log);
    EXPECT_NE(without.err.find("no compressor map to read it from the speed"), std::string::npos)
        << without.err;
    const auto with = calc(
        {"fit", "--fit", "turbine-efficiency", "--input", "-", "--map", VX_DEMO_MAP, "--csv"}, log);
    ASSERT_EQ(with.status, 0) << with.err;
    const auto rows = csvRows(with.out);
    ASSERT_EQ(rows[2][0], "point");
    // 48 lb/min on the demonstration map's 60,000 rpm line, between (45.554, 2.053) and
    // (49.107, 2.061): ratio 2.05851, so 1.05851 x 14.7 = 15.560 psig on the standard day.
    EXPECT_NEAR(number(rows[2][11]), 15.560, 0.002);
}

struct Refused {
    std::vector<std::string> args;
    std::string log;
    std::string says;
};

TEST(FitCommand, RefusalsSayWhatToChange) {
    const Refused cases[] = {
        {{"fit", "--input", "-"}, kLog, "choose what to fit with --fit"},
        {{"fit", "--fit", "turbine-eficiency", "--input", "-"},
         kLog,
         "did you mean turbine-efficiency?"},
        {{"fit", "--fit", "mass-flow"}, kLog, "fit needs the run log: --input RUN.csv"},
        {{"fit", "--fit", "mass-flow", "--fit", "mass-flow", "--input", "-"},
         kLog,
         "--fit is given twice"},
        {{"fit", "--fit", "mass-flow", "--sweep", "p2=1:2:1", "--input", "-"},
         kLog,
         "--sweep does not apply to fit"},
        {{"fit", "--fit", "mass-flow", "--input", "-"},
         "thrust\n30\nabc\n",
         "standard input, line 3, column 1: thrust: \"abc\" is not a number"},
        {{"fit", "--fit", "mass-flow", "--input", "-", "--p2", "0"},
         "thrust\n30\n",
         "at a point the model can work out; line 2: no P2 (or speed, with a compressor map)"},
        {{"fit", "--fit", "mass-flow", "--input", "-", "--predict"},
         kLog,
         "--predict needs a value"},
        {{"fit", "--fit", "mass-flow", "--input", "/nonexistent/run.csv"},
         "",
         "/nonexistent/run.csv: cannot open"},
    };
    for (const auto& c : cases) {
        const auto o = calc(c.args, c.log);
        EXPECT_EQ(o.status, 2) << c.says;
        EXPECT_NE(o.err.find(c.says), std::string::npos) << o.err;
    }
}

// At the defaults the turbine temperature drop is 141.582 deg. C: an outlet of 600 needs an inlet
// of 741.582, and the outlet comes back as given.
TEST(CycleOutletTemp, SolvesTheInletAndRefusesBoth) {
    const auto o = calc({"cycle", "--turbine-outlet-temp", "600", "--csv"});
    ASSERT_EQ(o.status, 0) << o.err;
    const auto point = csvPoint(o.out);
    EXPECT_EQ(point.at("turbine-outlet-temp"), "600");
    EXPECT_NEAR(number(point.at("turbine-inlet-temp")), 741.582f, 1e-3f);
    const Refused both[] = {
        {{"cycle", "--turbine-outlet-temp", "600", "--turbine-inlet-temp", "700"},
         "",
         "--turbine-inlet-temp and --turbine-outlet-temp are both given: drop "
         "--turbine-inlet-temp"},
        {{"cycle", "--turbine-inlet-temp", "700", "--input", "-"},
         "turbine-outlet-temp\n600\n",
         "line 1, column 1: turbine-inlet-temp and turbine-outlet-temp are both given"},
        {{"cycle", "--sweep", "turbine-outlet-temp=500:600:50", "--turbine-inlet-temp", "700"},
         "",
         "both given"},
    };
    for (const auto& c : both) {
        const auto r = calc(c.args, c.log);
        EXPECT_EQ(r.status, 2) << c.says;
        EXPECT_NE(r.err.find(c.says), std::string::npos) << r.err;
    }
}

} // namespace
