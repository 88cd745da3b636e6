// The documented figures of every calculation, through the command line. Each figure is compared
// as the form shows it: six significant digits.

#include "cli_test_support.hpp"

#include "engine_cycle.hpp"
#include "number_text.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace clitest;

namespace {

struct Figure {
    std::string key;
    std::string shown;
};

struct Case {
    std::vector<std::string> args;
    std::vector<Figure> figures;
};

// Through CSV, which writes "nan" and "inf" where JSON can only say null.
void expectFigures(const std::vector<Case>& cases) {
    for (const auto& c : cases) {
        auto args = c.args;
        args.push_back("--csv");
        const auto outcome = calc(args);
        std::string line;
        for (const auto& a : args)
            line += a + ' ';
        ASSERT_EQ(outcome.status, 0) << line << outcome.err;
        const auto point = csvPoint(outcome.out);
        for (const auto& f : c.figures) {
            ASSERT_TRUE(point.contains(f.key)) << line << f.key;
            EXPECT_EQ(fields::formatFloat(number(point.at(f.key))), f.shown) << line << f.key;
        }
    }
}

TEST(Figures, Cycle) {
    expectFigures({
        {{"cycle"},
         {{"comp-temp-rise", "161.191"},
          {"comp-discharge-temp", "176.191"},
          {"turbine-temp-drop", "141.582"},
          {"turbine-pr-required", "2.13097"},
          {"turbine-outlet-temp", "646.418"},
          {"nozzle-pr", "1.44388"},
          {"nozzle-exit-temp", "574.367"},
          {"nozzle-velocity", "1339"},
          {"nozzle-outlet-density", "38.4294"},
          {"nozzle-area", "5.82725"},
          {"nozzle-diameter", "2.72387"},
          {"thrust", "58.6333"}}},
        {{"cycle", "--p2", "15"},
         {{"turbine-pr-required", "1.51092"},
          {"nozzle-pr", "1.27102"},
          {"nozzle-velocity", "1126.02"},
          {"nozzle-diameter", "3.111"},
          {"thrust", "49.3072"}}},
        {{"cycle", "--turbine-efficiency", "10"},
         {{"comp-temp-rise", "161.191"},
          {"turbine-outlet-temp", "646.418"},
          {"turbine-pr-required", "nan"},
          {"nozzle-pr", "nan"},
          {"nozzle-exit-temp", "nan"},
          {"nozzle-velocity", "nan"},
          {"nozzle-area", "nan"},
          {"thrust", "nan"}}},
        {{"cycle", "--p2", "0"},
         {{"comp-temp-rise", "0"},
          {"turbine-pr-required", "1"},
          {"nozzle-pr", "0.9"},
          {"nozzle-exit-temp", "813.28"},
          {"nozzle-velocity", "nan"},
          {"nozzle-area", "nan"},
          {"nozzle-diameter", "nan"},
          {"thrust", "nan"}}},
    });
}

TEST(Figures, MaxRpmAndMassFlow) {
    expectFigures({
        {{"max-rpm"}, {{"comp-outlet-diameter", "4.3"}, {"max-rpm", "77282.7"}}},
        {{"max-rpm", "--comp-outlet-diameter", "0"}, {{"max-rpm", "inf"}}},
        {{"mass-flow"}, {{"mass-flow-estimate", "1.41307"}, {"mass-flow", "1.41307"}}},
        {{"mass-flow", "--inducer-diameter", "2", "--hub-diameter", "0.8"},
         {{"inducer-diameter", "2"},
          {"hub-diameter", "0.8"},
          {"mass-flow-estimate", "0.628031"},
          {"mass-flow", "0.628031"}}},
        {{"mass-flow", "--inducer-diameter", "2", "--hub-diameter", "2"},
         {{"mass-flow-estimate", "0"}, {"mass-flow", "0"}}},
    });
}

TEST(Figures, Converter) {
    expectFigures({
        {{"convert", "--conv-cm", "10"}, {{"conv-cm", "10"}, {"conv-inches", "3.93701"}}},
        {{"convert", "--conv-inches", "1"}, {{"conv-cm", "2.54"}, {"conv-inches", "1"}}},
        {{"convert", "--conv-cm", "5", "--conv-inches", "1"},
         {{"conv-cm", "5"}, {"conv-inches", "1.9685"}}},
        {{"convert", "--conv-cm", "1", "--conv-inches", "5"},
         {{"conv-cm", "12.7"}, {"conv-inches", "5"}}},
        {{"convert", "--conv-cm", "-1"}, {{"conv-cm", "0"}, {"conv-inches", "0"}}},
        {{"convert", "--conv-cm", "3", "--conv-inches", "3"},
         {{"conv-cm", "3"}, {"conv-inches", "3"}}},
    });
}

TEST(Figures, FlameTube) {
    auto tube = [](std::string units, std::string d) {
        return std::vector<std::string>{"flame-tube", "--units", units, "--inducer-diameter", d};
    };
    expectFigures({
        {tube("in", "1.5"),
         {{"tube-diameter", "4.5"},
          {"tube-length", "9"},
          {"inducer-area", "1.76715"},
          {"primary-hole-area", "0.530144"},
          {"secondary-hole-area", "0.353429"},
          {"tertiary-hole-area", "0.883573"},
          {"primary-holes", "10.8"},
          {"secondary-holes", "3.2"},
          {"tertiary-holes", "2.88"}}},
        {tube("in", "1.6"), {{"tube-diameter", "5"}, {"tube-length", "9.6"}}},
        {tube("in", "2"), {{"tube-diameter", "5"}, {"tube-length", "12"}}},
        {tube("in", "3"),
         {{"inducer-radius", "1.5"},
          {"inducer-area", "7.06858"},
          {"tube-length", "18"},
          {"tube-diameter", "6"},
          {"primary-hole-area", "2.12057"},
          {"secondary-hole-area", "1.41372"},
          {"tertiary-hole-area", "3.53429"},
          {"primary-holes", "43.2"},
          {"secondary-holes", "12.8"},
          {"tertiary-holes", "11.52"}}},
        {tube("in", "5.5"), {{"tube-diameter", "11"}, {"tube-length", "33"}}},
        {tube("mm", "40"), {{"tube-diameter", "120"}, {"tube-length", "240"}}},
        {tube("mm", "57"),
         {{"primary-drill", "6"},
          {"secondary-drill", "10"},
          {"tertiary-drill", "16"},
          {"tube-diameter", "143.173"},
          {"primary-holes", "27.075"},
          {"secondary-holes", "6.498"},
          {"tertiary-holes", "6.3457"}}},
        {tube("mm", "63.5"), {{"tube-diameter", "127"}}},
        {tube("mm", "70"), {{"tube-diameter", "140"}}},
        {tube("cm", "3"), {{"tube-diameter", "9"}}},
        {tube("cm", "5.7"), {{"tube-diameter", "14.3173"}, {"tube-length", "34.2"}}},
        {tube("cm", "7"),
         {{"tube-diameter", "14"},
          {"primary-holes", "40.8333"},
          {"secondary-holes", "9.8"},
          {"tertiary-holes", "9.57031"}}},
        // The window's start: no unit, so no drills and infinitely many holes.
        {{"flame-tube", "--inducer-diameter", "3"},
         {{"tube-diameter", "9"},
          {"tube-length", "18"},
          {"primary-drill", "0"},
          {"primary-holes", "inf"},
          {"secondary-holes", "inf"},
          {"tertiary-holes", "inf"}}},
        // A typed drill replaces the preset.
        {{"flame-tube", "--units", "in", "--inducer-diameter", "3", "--primary-drill", "0.5"},
         {{"primary-drill", "0.5"}, {"primary-holes", "10.8"}, {"secondary-drill", "0.375"}}},
    });
}

// A typed number is stored as the window stores it, and the shortest text reads back to it.
TEST(Figures, BitForBitWithTheWindowsCalculation) {
    const std::vector<std::vector<std::string>> inputs = {
        {"1.41", "32", "70", "78", "90", "15", "14.7"},
        {" 2.5 ", "+7.3", "66.6", "81.2", "93.3", "-12.5", "13.1"},
        {"0.1", "1e-50", "1e-3", "100", "1", "273.15", "1e30"},
        {"-1", "-14.6", "1e-3", "100", "1", "-273", "14.7"}, // just inside the physical range
    };
    const char* keys[] = {
        "mass-flow",         "p2",           "comp-efficiency", "turbine-efficiency",
        "nozzle-efficiency", "ambient-temp", "ambient-pressure"};
    for (const auto& row : inputs) {
        std::vector<std::string> args{"cycle", "--csv"};
        turbo::TurboFields f;
        float* targets[] = {
            &f.m_MassFlow,         &f.m_P2,          &f.m_CompEfficiency, &f.m_TurbineEfficiency,
            &f.m_NozzleEfficiency, &f.m_AmbientTemp, &f.m_AmbientPressure};
        for (int i = 0; i < 7; ++i) {
            args.push_back(std::string("--") + keys[i]);
            args.push_back(row[i]);
            *targets[i] = *fields::parseFloat(row[i]);
        }
        turbo::calcFullAnalysis(f);
        const auto outcome = calc(args);
        ASSERT_EQ(outcome.status, 0) << outcome.err;
        const auto object = csvPoint(outcome.out);
        const std::pair<const char*, float> expected[] = {
            {"p2", f.m_P2},
            {"ambient-pressure", f.m_AmbientPressure},
            {"comp-temp-rise", f.m_CompTempRise},
            {"turbine-pr-required", f.m_TurbinePrRequired},
            {"nozzle-exit-temp", f.m_NozzleExitTemp},
            {"nozzle-outlet-density", f.m_NozzleOutletDensity},
            {"nozzle-diameter", f.m_NozzleDiameter},
            {"thrust", f.m_Thrust},
        };
        for (const auto& [key, value] : expected)
            EXPECT_TRUE(sameFloat(number(object.at(key)), value))
                << row[1] << ' ' << key << ": " << object.at(key);
    }
}

TEST(Output, TableShowsTheFormsLabelsAndUnits) {
    const auto cycle = calc({"cycle", "--p2", "15"});
    ASSERT_EQ(cycle.status, 0);
    for (const char* text : {"Full Analysis - Compressor and Turbine\n", "Full Analysis - Nozzle\n",
                             "  P2 (psig):                         15\n",
                             "  Thrust:                            49.3072     lbs.\n",
                             "  Ambient Temp.:                     15          deg. C\n",
                             // an altitude not given is no figure: a dash, not "nan"
                             "  Altitude:                          \u2014           m\n"})
        EXPECT_NE(cycle.out.find(text), std::string::npos) << text << "\nin:\n" << cycle.out;

    const auto tube = calc({"flame-tube", "--units", "mm", "--inducer-diameter", "57"});
    EXPECT_NE(tube.out.find("Select Units:               Metric - mm\n"), std::string::npos)
        << tube.out;
    EXPECT_NE(tube.out.find("Unit of measurement:        Metric - Millimeters\n"),
              std::string::npos);
}

// JSON has no literal for NaN and the infinities: null, which numeric tools skip.
TEST(Output, JsonWritesNullForValuesThatAreNotFinite) {
    const auto outcome = calc({"cycle", "--p2", "0", "--json"});
    EXPECT_NE(outcome.out.find("\"thrust\": null, "), std::string::npos) << outcome.out;
    EXPECT_NE(outcome.out.find("\"p2\": 0, "), std::string::npos);
    const auto inf = calc({"max-rpm", "--comp-outlet-diameter", "-0", "--json"});
    EXPECT_NE(inf.out.find("\"max-rpm\": null"), std::string::npos) << inf.out;
    const auto units = calc({"flame-tube", "--inducer-diameter", "1", "--json"});
    EXPECT_TRUE(units.out.starts_with("{\"units\": \"none\", ")) << units.out;
}

TEST(Output, HelpForTheProgramAndEachCalculation) {
    const auto program = calc({"--help"});
    EXPECT_EQ(program.status, 0);
    for (const char* name : {"max-rpm", "mass-flow", "cycle", "flame-tube", "convert"}) {
        EXPECT_NE(program.out.find(name), std::string::npos) << name;
        const auto one = calc({name, "--help"});
        EXPECT_EQ(one.status, 0) << name;
        EXPECT_NE(one.out.find("--sweep"), std::string::npos) << name;
    }
    EXPECT_NE(calc({"cycle", "--help"}).out.find("--p2 NUMBER"), std::string::npos);
    EXPECT_NE(calc({"cycle", "--help"}).out.find("(default 32)"), std::string::npos);
}

} // namespace

namespace {

// Fuel, limits, altitude and the two assumptions through the options; figures by hand (see the
// calculations' own tests for the working).
TEST(Operating, FuelLimitsAltitudeAndAssumptionsAsOptions) {
    const auto kerosene = csvPoint(calc({"cycle", "--fuel", "kerosene", "--csv"}).out);
    for (const auto* key : {"fuel-air-ratio", "fuel-flow", "fuel-volume-flow", "tsfc", "limits"})
        EXPECT_TRUE(kerosene.contains(key)) << key;
    EXPECT_EQ(fields::formatFloat(number(kerosene.at("fuel-flow"))), "86.3932");
    EXPECT_EQ(kerosene.at("limits"), "");

    // 900 deg. C is past the 788 limit, and leaves 900 - 141.582 = 758.4 past the outlet's 720;
    // a nozzle PR of 1.44388 is past a critical 1.4.
    EXPECT_EQ(csvPoint(calc({"cycle", "--turbine-inlet-temp", "900", "--csv"}).out).at("limits"),
              "turbine-inlet-temp-limit turbine-outlet-temp-limit");
    EXPECT_EQ(csvPoint(calc({"cycle", "--nozzle-critical-pr", "1.4", "--csv"}).out).at("limits"),
              "nozzle-critical-pr");

    // At 1000 m: 8.5 deg. C and 89874.6 Pa = 13.0352 psi; a typed temperature wins.
    const auto high =
        csvPoint(calc({"cycle", "--altitude", "1000", "--ambient-temp", "30", "--csv"}).out);
    EXPECT_EQ(high.at("ambient-temp"), "30");
    EXPECT_EQ(fields::formatFloat(number(high.at("ambient-pressure"))), "13.0352");
    const auto level = csvPoint(calc({"cycle", "--csv"}).out);
    EXPECT_EQ(level.at("ambient-pressure"), "14.7"); // no altitude: the window's default

    // 1000 / (pi x 4.3 / 12) x 60 = 53298.4; (3.17687 - 0.2) / 2.13097 = 1.39696.
    EXPECT_EQ(fields::formatFloat(number(
                  csvPoint(calc({"max-rpm", "--tip-speed", "1000", "--csv"}).out).at("max-rpm"))),
              "53298.4");
    EXPECT_EQ(
        fields::formatFloat(number(
            csvPoint(calc({"cycle", "--pressure-loss", "0.2", "--csv"}).out).at("nozzle-pr"))),
        "1.39696");
}

} // namespace
