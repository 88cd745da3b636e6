// Batches and sweeps: every row's numbers read back to exactly the floats the calculations give.

#include "cli_test_support.hpp"

#include "calculation_fields.hpp"
#include "engine_cycle.hpp"
#include "flame_tube.hpp"
#include "number_text.hpp"
#include "unit_presets.hpp"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

using namespace clitest;

namespace {

const std::vector<std::string> kCycleColumns = {"mass-flow",
                                                "p2",
                                                "comp-efficiency",
                                                "turbine-efficiency",
                                                "nozzle-efficiency",
                                                "ambient-temp",
                                                "ambient-pressure",
                                                "turbine-inlet-temp",
                                                "comp-temp-rise",
                                                "comp-discharge-temp",
                                                "turbine-temp-drop",
                                                "turbine-outlet-temp",
                                                "turbine-pr-required",
                                                "nozzle-pr",
                                                "nozzle-exit-temp",
                                                "nozzle-velocity",
                                                "nozzle-outlet-density",
                                                "nozzle-area",
                                                "nozzle-diameter",
                                                "thrust"};

std::vector<float> cycleRow(const turbo::TurboFields& f,
                            float turbineInletTemp = turbo::kDefaultTurbineInletTemp) {
    return {f.m_MassFlow,
            f.m_P2,
            f.m_CompEfficiency,
            f.m_TurbineEfficiency,
            f.m_NozzleEfficiency,
            f.m_AmbientTemp,
            f.m_AmbientPressure,
            turbineInletTemp,
            f.m_CompTempRise,
            f.m_CompDischargeTemp,
            f.m_TurbineTempDrop,
            f.m_TurbineOutletTemp,
            f.m_TurbinePrRequired,
            f.m_NozzlePr,
            f.m_NozzleExitTemp,
            f.m_NozzleVelocity,
            f.m_NozzleOutletDensity,
            f.m_NozzleArea,
            f.m_NozzleDiameter,
            f.m_Thrust};
}

// The window's columns of a cycle row; the fuel and limits beyond them are tested on their own.
void expectRow(const std::vector<std::string>& written, const std::vector<float>& expected,
               std::size_t row) {
    ASSERT_EQ(written.size(), fields::kCycleFields.size()) << "row " << row;
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const auto at = *fields::findField(fields::kCycleFields, kCycleColumns[i]);
        EXPECT_TRUE(sameFloat(number(written[at]), expected[i]))
            << "row " << row << ", " << kCycleColumns[i] << ": " << written[at];
    }
}

// Columns in another order, two of them missing (they take the defaults), CRLF, a quoted field.
TEST(Batch, CycleRowsReadBackExactly) {
    std::mt19937 random(7);
    // Within the physical range (efficiencies above 0, P2 above a vacuum), which is checked on
    // its own.
    std::uniform_real_distribution<float> any(-10.0f, 200.0f);
    std::uniform_real_distribution<float> percent(1.0f, 100.0f);
    std::string input = "ambient-temp,\"p2\",mass-flow,turbine-efficiency,comp-efficiency\r\n";
    std::vector<turbo::TurboFields> expected;
    for (int r = 0; r < 200; ++r) {
        turbo::TurboFields f;
        f.m_AmbientTemp = any(random);
        f.m_P2 = any(random);
        f.m_MassFlow = any(random);
        f.m_TurbineEfficiency = percent(random);
        f.m_CompEfficiency = percent(random);
        for (float v : {f.m_AmbientTemp, f.m_P2, f.m_MassFlow, f.m_TurbineEfficiency})
            input += fields::shortestFloat(v) + ",";
        input += fields::shortestFloat(f.m_CompEfficiency) + "\r\n";
        turbo::calcFullAnalysis(f);
        expected.push_back(f);
    }
    const auto outcome = calc({"cycle", "--input", "-", "--csv"}, input);
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    const auto rows = csvRows(outcome.out);
    ASSERT_EQ(rows.size(), expected.size() + 1);
    for (std::size_t i = 0; i < fields::kCycleFields.size(); ++i)
        EXPECT_EQ(rows[0].at(i), fields::kCycleFields[i].key);
    for (std::size_t r = 0; r < expected.size(); ++r)
        expectRow(rows[r + 1], cycleRow(expected[r]), r);
}

// An option fills in a column the file lacks; JSON gives an object per row.
TEST(Batch, OptionsServeAsDefaultsAndJsonGivesALinePerRow) {
    const auto outcome =
        calc({"cycle", "--input", "-", "--json", "--mass-flow", "2.82"}, "p2\n15\n32\n");
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    const auto first = jsonObject(outcome.out.substr(0, outcome.out.find('\n')));
    const auto second = jsonObject(outcome.out.substr(
        outcome.out.find('\n') + 1, outcome.out.size() - outcome.out.find('\n') - 2));
    EXPECT_EQ(first.at("mass-flow"), "2.82");
    EXPECT_EQ(first.at("p2"), "15");
    EXPECT_EQ(second.at("p2"), "32");
    // Twice the default mass flow: twice the default thrust.
    EXPECT_EQ(fields::formatFloat(number(second.at("thrust"))), "117.267");
}

TEST(Batch, FlameTubeUnitsPerRowWithTheirPresets) {
    const auto outcome = calc({"flame-tube", "--input", "-", "--csv"},
                              "inducer-diameter,units,secondary-drill\n57,mm,10\n3,in,0.375\n"
                              "7,cm,1\n3,none,0.5\n");
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    const auto rows = csvRows(outcome.out);
    ASSERT_EQ(rows.size(), 5u);
    const struct {
        int unit;
        float d;
        float secondary;
    } points[] = {{combustor::kMillimetres, 57, 10},
                  {combustor::kInches, 3, 0.375f},
                  {combustor::kCentimetres, 7, 1},
                  {-1, 3, 0.5f}};
    const char* unitKeys[] = {"none", "in", "mm", "cm"};
    for (std::size_t r = 0; r < 4; ++r) {
        combustor::CombustorFields f;
        f.m_UnitIndex = points[r].unit;
        combustor::applyUnitPreset(f);
        f.m_InducerDiameter = points[r].d;
        f.m_SecondaryDrill = points[r].secondary;
        combustor::calcFlameTube(f);
        const float expected[] = {f.m_InducerDiameter,  f.m_PrimaryDrill,      f.m_SecondaryDrill,
                                  f.m_TertiaryDrill,    f.m_InducerRadius,     f.m_InducerArea,
                                  f.m_TubeLength,       f.m_TubeDiameter,      f.m_PrimaryHoleArea,
                                  f.m_PrimaryHoles,     f.m_SecondaryHoleArea, f.m_SecondaryHoles,
                                  f.m_TertiaryHoleArea, f.m_TertiaryHoles};
        const auto& row = rows[r + 1];
        ASSERT_EQ(row.size(), fields::kFlameTubeFields.size()); // then the drilled tube's
        EXPECT_EQ(row[0], unitKeys[points[r].unit + 1]);
        for (std::size_t i = 0; i < 14; ++i)
            EXPECT_TRUE(sameFloat(number(row[i + 1]), expected[i]))
                << "row " << r << ", " << rows[0][i + 1] << ": " << row[i + 1];
    }
}

TEST(Batch, HeaderOnlyGivesHeaderOnly) {
    const auto outcome = calc({"max-rpm", "--input", "-", "--csv"}, "comp-outlet-diameter\n");
    EXPECT_EQ(outcome.status, 0);
    EXPECT_EQ(outcome.out, "comp-outlet-diameter,tip-speed,max-rpm\n");
}

// Files as spreadsheets and other programs write them read as the plain one does.
TEST(Batch, SpellingsOfTheSameFileGiveTheSamePoints) {
    const auto plain = calc({"cycle", "--input", "-", "--csv"}, "p2,mass-flow\n15,2\n20,3\n");
    ASSERT_EQ(plain.status, 0) << plain.err;
    for (const char* input : {
             "p2,mass-flow\r15,2\r20,3\r",    // old Mac line ends
             "p2,mass-flow\r\n15,2\r\n20,3",  // CRLF, no last line end
             "P2;Mass-Flow\n15;2\n20;3\n",    // a spreadsheet's ';', names in any case
             " p2 , MASS-FLOW\n15,2\n20,3\n", // blanks around the names
         }) {
        const auto outcome = calc({"cycle", "--input", "-", "--csv"}, input);
        EXPECT_EQ(outcome.status, 0) << input << outcome.err;
        EXPECT_EQ(outcome.out, plain.out) << input;
        EXPECT_EQ(outcome.err, "") << input;
    }
}

// JSON is Unicode: a byte that is not UTF-8 becomes U+FFFD, text that is passes through.
TEST(Batch, CarriedTextIsValidJson) {
    const auto outcome =
        calc({"cycle", "--input", "-", "--json"}, "name,p2\n\xff\x41 \xC3\xA9 \xC3,15\n");
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_EQ(jsonObject(outcome.out.substr(0, outcome.out.find('\n'))).at("name"),
              "\xEF\xBF\xBD\x41 \xC3\xA9 \xEF\xBF\xBD");
}

// First sweep slowest; each value is START + i*STEP in double, stored as float.
TEST(Sweep, CartesianProductFirstSlowest) {
    const auto outcome =
        calc({"cycle", "--sweep", "p2=5:40:5", "--sweep", "comp-efficiency=65:75:5", "--csv"});
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    const auto rows = csvRows(outcome.out);
    ASSERT_EQ(rows.size(), 8u * 3 + 1);
    for (std::size_t r = 0; r < 24; ++r) {
        turbo::TurboFields f;
        f.m_P2 = static_cast<float>(5.0 + static_cast<double>(r / 3) * 5.0);
        f.m_CompEfficiency = static_cast<float>(65.0 + static_cast<double>(r % 3) * 5.0);
        turbo::calcFullAnalysis(f);
        expectRow(rows[r + 1], cycleRow(f), r);
    }
}

TEST(Sweep, HowStepsAreCounted) {
    const struct {
        std::string sweepText;
        std::vector<float> values;
    } cases[] = {
        {"comp-outlet-diameter=0:1:0.25", {0, 0.25f, 0.5f, 0.75f, 1}},
        // 0.1 is not exact, yet 1 is reached: a stop within a billionth of a step counts.
        {"comp-outlet-diameter=0:1:0.1",
         {0, 0.1f, 0.2f, static_cast<float>(0.1 * 3), 0.4f, 0.5f, static_cast<float>(0.1 * 6),
          static_cast<float>(0.1 * 7), 0.8f, 0.9f, 1}},
        {"comp-outlet-diameter=1:2.9:1", {1, 2}},
        {"comp-outlet-diameter=4:2:-1", {4, 3, 2}},
        {"comp-outlet-diameter=3:3:1", {3}},
        {"comp-outlet-diameter=-1.5:+1.5:1.5", {-1.5f, 0, 1.5f}},
    };
    for (const auto& c : cases) {
        const auto outcome = calc({"max-rpm", "--sweep", c.sweepText, "--csv"});
        ASSERT_EQ(outcome.status, 0) << c.sweepText << outcome.err;
        const auto rows = csvRows(outcome.out);
        ASSERT_EQ(rows.size(), c.values.size() + 1) << c.sweepText;
        for (std::size_t i = 0; i < c.values.size(); ++i)
            EXPECT_TRUE(sameFloat(number(rows[i + 1][0]), c.values[i]))
                << c.sweepText << " point " << i << ": " << rows[i + 1][0];
    }
}

TEST(Sweep, FlameTubeDiameterSweepSatisfiesTheRequiredInput) {
    const auto outcome =
        calc({"flame-tube", "--units", "in", "--sweep", "inducer-diameter=1.5:3:1.5", "--csv"});
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    const auto rows = csvRows(outcome.out);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[1][8], "4.5"); // tube-diameter
    EXPECT_EQ(rows[2][8], "6");
}

} // namespace
