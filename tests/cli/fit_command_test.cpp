// vorlaxen-calc fit: the candidate's options reach the fit, the log is read from a file or
// standard input, and every refusal says what to change. And cycle with a measured turbine outlet
// temperature in place of the inlet temperature.
#include "cli_test_support.hpp"

#include <gtest/gtest.h>

using namespace clitest;

namespace {

const std::string kLog = "p2[psi],thrust[lbf],note\n15,30,a\n25,42,b\n32,47,c\n";

TEST(FitCommand, FitsTheCandidateGivenByOptions) {
    const auto o = calc({"fit", "--fit", "turbine-efficiency", "--turbine-efficiency", "70",
                         "--input", "-", "--csv"},
                        kLog);
    ASSERT_EQ(o.status, 0) << o.err;
    const auto rows = csvRows(o.out);
    ASSERT_EQ(rows.size(), 6u); // header, one assumption, three points, overall
    EXPECT_EQ(rows[1][0], "assumption");
    EXPECT_EQ(rows[1][3], "70"); // the start is the option's value
    const float fitted = number(rows[1][4]);
    EXPECT_TRUE(fitted > 30 && fitted < 100) << fitted;
    for (std::size_t i = 2; i < 5; ++i) {
        EXPECT_EQ(rows[i][0], "point");
        EXPECT_EQ(rows[i][2], std::to_string(i)); // the log's line
        EXPECT_NEAR(number(rows[i][7]), number(rows[i][6]) / number(rows[i][5]), 1e-6);
    }
    EXPECT_EQ(rows[2][5], "30");
    EXPECT_EQ(rows[5][0], "overall");
    EXPECT_LT(number(rows[5][4]), number(rows[5][3])); // the fit lowered the error
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
         "cannot fit: line 2: the model gives no finite thrust"},
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
