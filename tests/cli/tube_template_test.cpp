#include "cli_test_support.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

using clitest::calc;
using clitest::csvPoint;

// The window's 57 mm example drilled from the metric series (worked by hand in the tube's own
// tests): 27 x 6.0, 7 x 9.8, 10 x 13.0 mm; in inches, D = 3: 43 x 1/4, 13 x 3/8, 12 x 5/8 in.
TEST(FlameTubeCommand, WholeHolesAndDrills) {
    struct Case {
        const char* units;
        const char* diameter;
        const char* series;
        const char* expected; // holes and drills, row by row
    };
    const Case cases[] = {
        {"mm", "57", "unit", "27,6,7,9.8,10,13"},
        {"in", "3", "unit", "43,0.25,13,0.375,12,0.625"},
        {"none", "3", "unit", ",,,,,"}, // no unit: no drill to choose
    };
    for (const Case& c : cases) {
        const auto out =
            calc({"flame-tube", "--units", c.units, "--inducer-diameter", c.diameter,
                  "--drill-series", c.series, "--csv", "--columns",
                  "primary-whole-holes,primary-chosen-drill,secondary-whole-holes,"
                  "secondary-chosen-drill,tertiary-whole-holes,tertiary-chosen-drill"});
        ASSERT_EQ(out.status, 0) << out.err;
        EXPECT_EQ(out.out.substr(out.out.find('\n') + 1), std::string(c.expected) + "\n")
            << c.units;
    }
}

TEST(FlameTubeCommand, TemplateIsWrittenOrRefusedWithReason) {
    const auto dir = std::filesystem::temp_directory_path() / "vx-tube-template-test";
    std::filesystem::create_directories(dir);
    const auto file = (dir / "tube.svg").string();
    std::filesystem::remove(file);
    const auto ok = calc({"flame-tube", "--units", "in", "--inducer-diameter", "3", "--template",
                          file, "--paper", "letter", "--csv"});
    ASSERT_EQ(ok.status, 0) << ok.err;
    std::ifstream in(file);
    std::stringstream svg;
    svg << in.rdbuf();
    EXPECT_NE(svg.str().find("width=\"215.900mm\""), std::string::npos);
    EXPECT_NE(svg.str().find("print at 100 % (no fit to page)"), std::string::npos);

    struct Refusal {
        std::vector<std::string> args;
        const char* message;
    };
    const Refusal refusals[] = {
        {{"flame-tube", "--units", "none", "--inducer-diameter", "3", "--template", file},
         "choose a unit"},
        {{"flame-tube", "--units", "mm", "--sweep", "inducer-diameter=40:60:10", "--template",
          file},
         "does not go with --input or --sweep"},
        {{"cycle", "--template", file}, "--template is for flame-tube"},
        {{"flame-tube", "--units", "mm", "--inducer-diameter", "57", "--template", file, "--paper",
          "a3"},
         "choose a4 or letter"},
        {{"flame-tube", "--units", "mm", "--inducer-diameter", "57", "--template",
          (dir / "missing" / "t.svg").string()},
         "was not written"},
    };
    for (const auto& r : refusals) {
        const auto out = calc(r.args);
        EXPECT_EQ(out.status, 2) << r.message;
        EXPECT_NE(out.err.find(r.message), std::string::npos) << out.err;
    }
    std::filesystem::remove_all(dir);
}

} // namespace
