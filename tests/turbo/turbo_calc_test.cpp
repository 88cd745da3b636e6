// The Turbo Analysis calculations on their own: the figures as the window shows them (six
// significant digits), the exact relations between results, infinities and NaN carried through,
// and which fields each command may change.
#include "engine_cycle.hpp"
#include "number_text.hpp"
#include "wheel_and_converter.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace {

using turbo::TurboFields;
using Field = float TurboFields::*;

struct NamedField {
    const char* name;
    Field field;
};

// All 26 fields, in binding order.
const std::vector<NamedField> kAllFields = {
    {"m_AmbientTemp", &TurboFields::m_AmbientTemp},
    {"m_CompTempRise", &TurboFields::m_CompTempRise},
    {"m_ConvCm", &TurboFields::m_ConvCm},
    {"m_CompDischargeTemp", &TurboFields::m_CompDischargeTemp},
    {"m_CompEfficiency", &TurboFields::m_CompEfficiency},
    {"m_HubDiameter", &TurboFields::m_HubDiameter},
    {"m_ConvInches", &TurboFields::m_ConvInches},
    {"m_InducerDiameter", &TurboFields::m_InducerDiameter},
    {"m_NozzlePr", &TurboFields::m_NozzlePr},
    {"m_NozzleOutletDensity", &TurboFields::m_NozzleOutletDensity},
    {"m_MassFlowEstimate", &TurboFields::m_MassFlowEstimate},
    {"m_MaxRpm", &TurboFields::m_MaxRpm},
    {"m_MassFlow", &TurboFields::m_MassFlow},
    {"m_NozzleEfficiency", &TurboFields::m_NozzleEfficiency},
    {"m_NozzleArea", &TurboFields::m_NozzleArea},
    {"m_NozzleDiameter", &TurboFields::m_NozzleDiameter},
    {"m_NozzleExitTemp", &TurboFields::m_NozzleExitTemp},
    {"m_CompOutletDiameter", &TurboFields::m_CompOutletDiameter},
    {"m_P2", &TurboFields::m_P2},
    {"m_AmbientPressure", &TurboFields::m_AmbientPressure},
    {"m_TurbineEfficiency", &TurboFields::m_TurbineEfficiency},
    {"m_Thrust", &TurboFields::m_Thrust},
    {"m_TurbineOutletTemp", &TurboFields::m_TurbineOutletTemp},
    {"m_TurbinePrRequired", &TurboFields::m_TurbinePrRequired},
    {"m_TurbineTempDrop", &TurboFields::m_TurbineTempDrop},
    {"m_NozzleVelocity", &TurboFields::m_NozzleVelocity},
};

bool contains(const std::vector<Field>& fields, Field field) {
    return std::ranges::find(fields, field) != fields.end();
}

std::string shown(float value) {
    return fields::formatFloat(value);
}

std::uint32_t bits(float value) {
    return std::bit_cast<std::uint32_t>(value);
}

struct Expected {
    Field field;
    const char* text;
};

void expectShown(const TurboFields& f, const std::vector<Expected>& expected,
                 const std::string& context) {
    for (const auto& e : expected) {
        const char* name = "?";
        for (const auto& n : kAllFields)
            if (n.field == e.field)
                name = n.name;
        EXPECT_EQ(shown(f.*e.field), e.text) << context << ": " << name;
    }
}

TEST(TurboFields, DefaultsAreTheNearestFloatsToTheFormValues) {
    const TurboFields f;
    const std::vector<Expected> inputs = {
        {&TurboFields::m_CompOutletDiameter, "4.3"},
        {&TurboFields::m_InducerDiameter, "3"},
        {&TurboFields::m_HubDiameter, "1.2"},
        {&TurboFields::m_MassFlow, "1.41"},
        {&TurboFields::m_P2, "32"},
        {&TurboFields::m_CompEfficiency, "70"},
        {&TurboFields::m_TurbineEfficiency, "78"},
        {&TurboFields::m_NozzleEfficiency, "90"},
        {&TurboFields::m_AmbientTemp, "15"},
        {&TurboFields::m_AmbientPressure, "14.7"},
    };
    expectShown(f, inputs, "defaults");
    EXPECT_EQ(bits(f.m_CompOutletDiameter), bits(4.3f));
    EXPECT_EQ(static_cast<double>(f.m_CompOutletDiameter), 4.300000190734863);
    for (const auto& n : kAllFields) {
        const bool isInput =
            std::ranges::any_of(inputs, [&](const Expected& e) { return e.field == n.field; });
        if (!isInput) {
            EXPECT_EQ(bits(f.*n.field), 0u) << n.name;
        }
    }
}

// --- Full analysis -------------------------------------------------------------------------

TEST(FullAnalysis, DefaultsGiveTheDocumentedFigures) {
    TurboFields f;
    const auto in = turbo::calcFullAnalysis(f);
    expectShown(f,
                {
                    {&TurboFields::m_CompTempRise, "161.191"},
                    {&TurboFields::m_CompDischargeTemp, "176.191"},
                    {&TurboFields::m_TurbineTempDrop, "141.582"},
                    {&TurboFields::m_TurbinePrRequired, "2.13097"},
                    {&TurboFields::m_TurbineOutletTemp, "646.418"},
                    {&TurboFields::m_NozzlePr, "1.44388"},
                    {&TurboFields::m_NozzleExitTemp, "574.367"},
                    {&TurboFields::m_NozzleVelocity, "1339"},
                    {&TurboFields::m_NozzleOutletDensity, "38.4294"},
                    {&TurboFields::m_NozzleArea, "5.82725"},
                    {&TurboFields::m_NozzleDiameter, "2.72387"},
                    {&TurboFields::m_Thrust, "58.6333"},
                },
                "defaults");
    EXPECT_EQ(shown(in.compressorPr), "3.17687");
    EXPECT_EQ(shown(in.turbineOutletKelvin), "919.418");
    EXPECT_EQ(shown(in.nozzleTempDrop), "72.0508");
}

TEST(FullAnalysis, LowerBoostGivesTheDocumentedFigures) {
    TurboFields f;
    f.m_P2 = 15.0f;
    turbo::calcFullAnalysis(f);
    expectShown(f,
                {
                    {&TurboFields::m_TurbinePrRequired, "1.51092"},
                    {&TurboFields::m_NozzlePr, "1.27102"},
                    {&TurboFields::m_NozzleVelocity, "1126.02"},
                    {&TurboFields::m_NozzleDiameter, "3.111"},
                    {&TurboFields::m_Thrust, "49.3072"},
                },
                "P2 15");
}

// Results that stay numbers and results that become infinite or NaN when an input is at an edge.
TEST(FullAnalysis, EdgeInputsCarryInfinitiesAndNaNIntoTheDependentResults) {
    const struct Case {
        const char* what;
        std::function<void(TurboFields&)> set;
        std::vector<Expected> expected;
    } cases[] = {
        // The drop is more than 10 % of 1061 K: a negative base for the turbine ratio's power.
        {"turbine efficiency 10",
         [](TurboFields& f) { f.m_TurbineEfficiency = 10.0f; },
         {{&TurboFields::m_CompTempRise, "161.191"},
          {&TurboFields::m_CompDischargeTemp, "176.191"},
          {&TurboFields::m_TurbineTempDrop, "141.582"},
          {&TurboFields::m_TurbineOutletTemp, "646.418"},
          {&TurboFields::m_TurbinePrRequired, "nan"},
          {&TurboFields::m_NozzlePr, "nan"},
          {&TurboFields::m_NozzleExitTemp, "nan"},
          {&TurboFields::m_NozzleVelocity, "nan"},
          {&TurboFields::m_NozzleOutletDensity, "nan"},
          {&TurboFields::m_NozzleArea, "nan"},
          {&TurboFields::m_NozzleDiameter, "nan"},
          {&TurboFields::m_Thrust, "nan"}}},
        // No boost: the nozzle gets less than ambient, its temperature "drop" is negative.
        {"P2 0",
         [](TurboFields& f) { f.m_P2 = 0.0f; },
         {{&TurboFields::m_CompTempRise, "0"},
          {&TurboFields::m_TurbinePrRequired, "1"},
          {&TurboFields::m_NozzlePr, "0.9"},
          {&TurboFields::m_NozzleExitTemp, "813.28"},
          {&TurboFields::m_NozzleVelocity, "nan"},
          {&TurboFields::m_NozzleArea, "nan"},
          {&TurboFields::m_NozzleDiameter, "nan"},
          {&TurboFields::m_Thrust, "nan"}}},
        // PRc = 32 / 0: infinite rise; -1 / (inf - 1) is -0, whose power is 0.
        {"ambient pressure 0",
         [](TurboFields& f) { f.m_AmbientPressure = 0.0f; },
         {{&TurboFields::m_CompTempRise, "inf"},
          {&TurboFields::m_CompDischargeTemp, "inf"},
          {&TurboFields::m_TurbineTempDrop, "inf"},
          {&TurboFields::m_TurbinePrRequired, "0"},
          {&TurboFields::m_TurbineOutletTemp, "-inf"},
          {&TurboFields::m_NozzlePr, "nan"},
          {&TurboFields::m_NozzleExitTemp, "nan"},
          {&TurboFields::m_NozzleVelocity, "nan"},
          {&TurboFields::m_NozzleOutletDensity, "nan"},
          {&TurboFields::m_NozzleArea, "nan"},
          {&TurboFields::m_NozzleDiameter, "nan"},
          {&TurboFields::m_Thrust, "nan"}}},
        {"compressor efficiency 0",
         [](TurboFields& f) { f.m_CompEfficiency = 0.0f; },
         {{&TurboFields::m_CompTempRise, "inf"},
          {&TurboFields::m_CompDischargeTemp, "inf"},
          {&TurboFields::m_TurbineTempDrop, "inf"},
          {&TurboFields::m_TurbinePrRequired, "0"},
          {&TurboFields::m_TurbineOutletTemp, "-inf"},
          {&TurboFields::m_NozzlePr, "inf"},
          {&TurboFields::m_NozzleExitTemp, "nan"},
          {&TurboFields::m_NozzleVelocity, "nan"},
          {&TurboFields::m_Thrust, "nan"}}},
        {"turbine efficiency 0",
         [](TurboFields& f) { f.m_TurbineEfficiency = 0.0f; },
         {{&TurboFields::m_TurbineOutletTemp, "646.418"},
          {&TurboFields::m_TurbinePrRequired, "0"},
          {&TurboFields::m_NozzlePr, "inf"}}},
        // No temperature drop in the nozzle: no velocity, so an infinite area and no thrust.
        {"nozzle efficiency 0",
         [](TurboFields& f) { f.m_NozzleEfficiency = 0.0f; },
         {{&TurboFields::m_NozzlePr, "1.44388"},
          {&TurboFields::m_NozzleExitTemp, "646.418"},
          {&TurboFields::m_NozzleVelocity, "0"},
          {&TurboFields::m_NozzleArea, "inf"},
          {&TurboFields::m_NozzleDiameter, "inf"},
          {&TurboFields::m_Thrust, "0"}}},
    };
    for (const auto& c : cases) {
        TurboFields f;
        c.set(f);
        turbo::calcFullAnalysis(f);
        expectShown(f, c.expected, c.what);
    }
}

TEST(FullAnalysis, NoBoostGivesANegativeNozzleTemperatureDrop) {
    TurboFields f;
    f.m_P2 = 0.0f;
    const auto in = turbo::calcFullAnalysis(f);
    EXPECT_EQ(in.compressorPr, 1.0f);
    EXPECT_LT(in.nozzleTempDrop, 0.0f);
    EXPECT_TRUE(std::isnan(f.m_NozzleVelocity));
}

TEST(FullAnalysis, DoublingTheMassFlowDoublesAreaAndThrustExactly) {
    for (const float massFlow : {1.41f, 0.628031f, 3.3f, 1e-3f}) {
        TurboFields single;
        single.m_MassFlow = massFlow;
        TurboFields doubled = single;
        doubled.m_MassFlow = 2.0f * massFlow;
        turbo::calcFullAnalysis(single);
        turbo::calcFullAnalysis(doubled);

        EXPECT_EQ(bits(doubled.m_NozzleArea), bits(2.0f * single.m_NozzleArea)) << massFlow;
        EXPECT_EQ(bits(doubled.m_Thrust), bits(2.0f * single.m_Thrust)) << massFlow;
        // sqrt(2) apart, up to the two float roundings of area and diameter.
        EXPECT_NEAR(double(doubled.m_NozzleDiameter) / double(single.m_NozzleDiameter),
                    std::sqrt(2.0), 4e-7)
            << massFlow;
        const Field unchanged[] = {
            &TurboFields::m_CompTempRise,        &TurboFields::m_CompDischargeTemp,
            &TurboFields::m_TurbineTempDrop,     &TurboFields::m_TurbinePrRequired,
            &TurboFields::m_TurbineOutletTemp,   &TurboFields::m_NozzlePr,
            &TurboFields::m_NozzleExitTemp,      &TurboFields::m_NozzleVelocity,
            &TurboFields::m_NozzleOutletDensity,
        };
        for (const Field field : unchanged)
            EXPECT_EQ(bits(doubled.*field), bits(single.*field)) << massFlow;
    }
}

// --- Max RPM, mass flow, converter ---------------------------------------------------------

TEST(MaxRpm, FromTheOutletDiameter) {
    const struct {
        float diameter;
        const char* rpm;
    } cases[] = {
        {4.3f, "77282.7"},
        {2.15f, "154565"},
        {0.0f, "inf"},
        {-4.3f, "-77282.7"},
    };
    for (const auto& c : cases) {
        TurboFields f;
        f.m_CompOutletDiameter = c.diameter;
        turbo::calcMaxRpm(f);
        EXPECT_EQ(shown(f.m_MaxRpm), c.rpm) << c.diameter;
    }
}

TEST(MassFlow, FromInducerAndHubAndCopiedIntoTheFullAnalysisInput) {
    const struct {
        float inducer;
        float hub;
        const char* flow;
    } cases[] = {
        {3.0f, 1.2f, "1.41307"},
        {2.0f, 0.8f, "0.628031"},
        {2.5f, 2.5f, "0"},
        {1.2f, 3.0f, "-1.41307"}, // hub larger than the inducer: negative, copied all the same
    };
    for (const auto& c : cases) {
        TurboFields f;
        f.m_InducerDiameter = c.inducer;
        f.m_HubDiameter = c.hub;
        turbo::calcMassFlow(f);
        EXPECT_EQ(shown(f.m_MassFlowEstimate), c.flow) << c.inducer << " / " << c.hub;
        EXPECT_EQ(bits(f.m_MassFlow), bits(f.m_MassFlowEstimate)) << c.inducer << " / " << c.hub;
    }
}

TEST(Converter, ConvertsFromTheLargerNumber) {
    const struct {
        float cm, inches;
        const char* cmAfter;
        const char* inchesAfter;
    } cases[] = {
        {10.0f, 0.0f, "10", "3.93701"}, {0.0f, 1.0f, "2.54", "1"},      {5.0f, 1.0f, "5", "1.9685"},
        {1.0f, 5.0f, "12.7", "5"},      {-1.0f, 0.0f, "0", "0"},        {3.0f, 3.0f, "3", "3"},
        {0.0f, 0.0f, "0", "0"},         {-2.54f, -1.0f, "-2.54", "-1"},
    };
    for (const auto& c : cases) {
        TurboFields f;
        f.m_ConvCm = c.cm;
        f.m_ConvInches = c.inches;
        turbo::convertLength(f);
        EXPECT_EQ(shown(f.m_ConvCm), c.cmAfter) << c.cm << " cm, " << c.inches << " in";
        EXPECT_EQ(shown(f.m_ConvInches), c.inchesAfter) << c.cm << " cm, " << c.inches << " in";
    }
}

// --- What each command may touch -------------------------------------------------------------

TEST(Commands, EachChangesOnlyTheFieldsItNames) {
    const struct {
        const char* command;
        std::function<void(TurboFields&)> run;
        std::vector<Field> changes;
    } commands[] = {
        {"max rpm", [](TurboFields& f) { turbo::calcMaxRpm(f); }, {&TurboFields::m_MaxRpm}},
        {"mass flow",
         [](TurboFields& f) { turbo::calcMassFlow(f); },
         {&TurboFields::m_MassFlowEstimate, &TurboFields::m_MassFlow}},
        // 7 cm and 1 inch: only the inch box is written (the other direction is in the table
        // above).
        {"convert", [](TurboFields& f) { turbo::convertLength(f); }, {&TurboFields::m_ConvInches}},
        {"full analysis",
         [](TurboFields& f) { turbo::calcFullAnalysis(f); },
         {&TurboFields::m_CompTempRise, &TurboFields::m_CompDischargeTemp,
          &TurboFields::m_TurbineTempDrop, &TurboFields::m_TurbinePrRequired,
          &TurboFields::m_TurbineOutletTemp, &TurboFields::m_NozzlePr,
          &TurboFields::m_NozzleExitTemp, &TurboFields::m_NozzleVelocity,
          &TurboFields::m_NozzleOutletDensity, &TurboFields::m_NozzleArea,
          &TurboFields::m_NozzleDiameter, &TurboFields::m_Thrust}},
    };
    for (const auto& c : commands) {
        // Every field holds a value no command would produce, so any write shows.
        TurboFields before;
        float marker = 1000.0f;
        for (const auto& n : kAllFields)
            if (!contains(c.changes, n.field))
                before.*n.field = (marker += 1.25f);
        before.m_ConvCm = 7.0f; // the converter needs two different numbers to do anything
        before.m_ConvInches = 1.0f;
        TurboFields after = before;
        c.run(after);
        for (const auto& n : kAllFields) {
            if (contains(c.changes, n.field)) {
                EXPECT_NE(bits(after.*n.field), bits(before.*n.field))
                    << c.command << ": " << n.name;
            } else {
                EXPECT_EQ(bits(after.*n.field), bits(before.*n.field))
                    << c.command << ": " << n.name;
            }
        }
    }
}

} // namespace
