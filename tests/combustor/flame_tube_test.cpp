// Flame tube sizing on the fields alone, compared as the window shows the figures (six digits).
#include "flame_tube.hpp"
#include "number_text.hpp"
#include "unit_presets.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

using combustor::CombustorFields;
using fields::formatFloat;

namespace {

constexpr int kNone = -1;

// The fields after choosing a unit, taking its standard drills and typing D.
CombustorFields sized(int unit, float inducerDiameter) {
    CombustorFields f;
    f.m_UnitIndex = unit;
    combustor::applyUnitPreset(f);
    f.m_InducerDiameter = inducerDiameter;
    combustor::calcFlameTube(f);
    return f;
}

// Six-digit texts of every result; nullptr where a case does not pin a figure down.
struct Expected {
    const char* radius;
    const char* area;
    const char* length;
    const char* diameter;
    const char* holeAreas[3];
    const char* holes[3];
};

struct SizingCase {
    int unit;
    float inducerDiameter;
    Expected want;
};

void expectShown(const char* want, float got, const char* what, const SizingCase& c) {
    if (!want)
        return;
    EXPECT_EQ(formatFloat(got), want)
        << what << " for unit " << c.unit << ", D = " << c.inducerDiameter;
}

TEST(FlameTube, WorkedFiguresForEveryUnitSystem) {
    const SizingCase cases[] = {
        {combustor::kInches,
         1.5f,
         {"0.75",
          "1.76715",
          "9",
          "4.5",
          {"0.530144", "0.353429", "0.883573"},
          {"10.8", "3.2", "2.88"}}},
        {combustor::kInches, 1.6f, {"0.8", nullptr, "9.6", "5", {}, {}}},
        {combustor::kInches, 2.0f, {"1", nullptr, "12", "5", {}, {}}},
        {combustor::kInches,
         3.0f,
         {"1.5",
          "7.06858",
          "18",
          "6",
          {"2.12057", "1.41372", "3.53429"},
          {"43.2", "12.8", "11.52"}}},
        {combustor::kInches, 5.5f, {"2.75", nullptr, "33", "11", {}, {}}},
        {combustor::kMillimetres, 40.0f, {"20", nullptr, "240", "120", {}, {}}},
        {combustor::kMillimetres,
         57.0f,
         {"28.5", nullptr, "342", "143.173", {}, {"27.075", "6.498", "6.3457"}}},
        {combustor::kMillimetres, 63.5f, {nullptr, nullptr, "381", "127", {}, {}}},
        {combustor::kMillimetres, 70.0f, {nullptr, nullptr, "420", "140", {}, {}}},
        {combustor::kCentimetres, 3.0f, {nullptr, nullptr, "18", "9", {}, {}}},
        {combustor::kCentimetres, 5.7f, {nullptr, nullptr, "34.2", "14.3173", {}, {}}},
        {combustor::kCentimetres,
         7.0f,
         {"3.5", nullptr, "42", "14", {}, {"40.8333", "9.8", "9.57031"}}},
    };
    for (const auto& c : cases) {
        const CombustorFields f = sized(c.unit, c.inducerDiameter);
        expectShown(c.want.radius, f.m_InducerRadius, "radius", c);
        expectShown(c.want.area, f.m_InducerArea, "inducer area", c);
        expectShown(c.want.length, f.m_TubeLength, "length", c);
        expectShown(c.want.diameter, f.m_TubeDiameter, "diameter", c);
        expectShown(c.want.holeAreas[0], f.m_PrimaryHoleArea, "primary hole area", c);
        expectShown(c.want.holeAreas[1], f.m_SecondaryHoleArea, "secondary hole area", c);
        expectShown(c.want.holeAreas[2], f.m_TertiaryHoleArea, "tertiary hole area", c);
        expectShown(c.want.holes[0], f.m_PrimaryHoles, "primary holes", c);
        expectShown(c.want.holes[1], f.m_SecondaryHoles, "secondary holes", c);
        expectShown(c.want.holes[2], f.m_TertiaryHoles, "tertiary holes", c);
    }
}

// Both sides of every threshold. The stored float is what is compared with the double bound:
// 1.6f is a little above 1.6, while 50.55f, 5.055f and 6.35f are a little below their bounds.
TEST(FlameTube, DiameterRatioOnBothSidesOfEveryThreshold) {
    const struct {
        int unit;
        float d;
        const char* diameter; // as shown
        const char* ratioIs;  // "3", "2", "5/D", "above 3", or "between" 2 and 2.01
    } cases[] = {
        {combustor::kInches, 1.59f, "4.77", "3"},
        {combustor::kInches, 1.6f, "5", "5/D"}, // not 4.8
        {combustor::kInches, 2.49f, "5", "5/D"},
        {combustor::kInches, 2.5f, "5", "2"},
        {combustor::kMillimetres, 50.55f, "151.65", "3"},
        {combustor::kMillimetres, 50.56f, "152.635", "above 3"},
        {combustor::kMillimetres, 63.49f, "127.03", "between"},
        {combustor::kMillimetres, 63.5f, "127", "2"},
        {combustor::kCentimetres, 5.055f, "15.165", "3"},
        {combustor::kCentimetres, 5.056f, "15.2635", "above 3"},
        {combustor::kCentimetres, 6.349f, "12.703", "between"},
        {combustor::kCentimetres, 6.35f, "12.7", "between"}, // 6.35f < 6.35: still on the slope
        {combustor::kCentimetres, 6.36f, "12.72", "2"},
        {kNone, 1.6f, "4.8", "3"},
        {kNone, 70.0f, "210", "3"},
        {3, 70.0f, "210", "3"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.unit) + " D=" + std::to_string(c.d));
        const double k = combustor::diameterRatio(c.unit, c.d);
        const std::string is = c.ratioIs;
        if (is == "3")
            EXPECT_EQ(k, 3.0);
        else if (is == "2")
            EXPECT_EQ(k, 2.0);
        else if (is == "5/D")
            EXPECT_EQ(k, 5.0 / double(c.d));
        else if (is == "above 3")
            EXPECT_GT(k, 3.0);
        else {
            EXPECT_GT(k, 2.0);
            EXPECT_LT(k, 2.01);
        }
        EXPECT_EQ(formatFloat(sized(c.unit, c.d).m_TubeDiameter), c.diameter);
    }
}

TEST(FlameTube, MetricSlopeFallsFromJustAboveThreeToTwo) {
    // The same fraction of the way along the slope gives the same ratio in mm and in cm.
    EXPECT_EQ(formatFloat(float(combustor::diameterRatio(combustor::kMillimetres, 57.0f))),
              "2.51181");
    EXPECT_EQ(formatFloat(float(combustor::diameterRatio(combustor::kCentimetres, 5.7f))),
              "2.51181");
    double previous = 4.0;
    for (float d = 50.6f; d < 63.5f; d += 1.0f) {
        const double k = combustor::diameterRatio(combustor::kMillimetres, d);
        EXPECT_LT(k, previous) << d;
        EXPECT_GT(k, 2.0) << d;
        previous = k;
    }
}

TEST(FlameTube, ZeroDrillsGiveInfiniteCountsAndZeroInducerGivesNaN) {
    const struct {
        float d;
        const char* holes;
        const char* holeArea;
    } cases[] = {
        {3.0f, "inf", "2.12057"},
        {1.5f, "inf", "0.530144"},
        {0.0f, "nan", "0"},
    };
    for (const auto& c : cases) {
        const CombustorFields f = sized(kNone, c.d); // no unit: drills stay 0
        EXPECT_EQ(formatFloat(f.m_PrimaryHoleArea), c.holeArea);
        for (float holes : {f.m_PrimaryHoles, f.m_SecondaryHoles, f.m_TertiaryHoles})
            EXPECT_EQ(formatFloat(holes), c.holes) << c.d;
    }
    const CombustorFields three = sized(kNone, 3.0f);
    EXPECT_EQ(formatFloat(three.m_TubeDiameter), "9");
    EXPECT_EQ(formatFloat(three.m_TubeLength), "18");
    EXPECT_TRUE(std::isinf(three.m_PrimaryHoles) && three.m_PrimaryHoles > 0);
}

TEST(FlameTube, OddInputsGoThroughTheFormulas) {
    // A negative diameter: negative radius, length and tube, a positive area and hole counts.
    const CombustorFields neg = sized(combustor::kInches, -2.0f);
    EXPECT_EQ(formatFloat(neg.m_InducerRadius), "-1");
    EXPECT_EQ(formatFloat(neg.m_InducerArea), "3.14159");
    EXPECT_EQ(formatFloat(neg.m_TubeLength), "-12");
    EXPECT_EQ(formatFloat(neg.m_TubeDiameter), "-6");
    EXPECT_EQ(formatFloat(neg.m_PrimaryHoles), "19.2");

    // A single zero drill only makes its own row infinite; the counts are not whole holes.
    CombustorFields f;
    f.m_UnitIndex = combustor::kInches;
    combustor::applyUnitPreset(f);
    f.m_SecondaryDrill = 0.0f;
    f.m_InducerDiameter = 1.5f;
    combustor::calcFlameTube(f);
    EXPECT_EQ(formatFloat(f.m_PrimaryHoles), "10.8");
    EXPECT_EQ(formatFloat(f.m_SecondaryHoles), "inf");
    EXPECT_EQ(formatFloat(f.m_TertiaryHoles), "2.88");

    const CombustorFields nan = sized(combustor::kMillimetres, std::nanf(""));
    EXPECT_EQ(formatFloat(nan.m_TubeDiameter), "nan");
    EXPECT_EQ(formatFloat(nan.m_PrimaryHoles), "nan");
}

TEST(FlameTube, ChangesOnlyTheResults) {
    CombustorFields f;
    f.m_UnitIndex = combustor::kCentimetres;
    combustor::applyUnitPreset(f);
    f.m_PrimaryDrill = 0.7f; // typed over the preset
    f.m_InducerDiameter = 5.7f;
    const CombustorFields before = f;
    combustor::calcFlameTube(f);
    EXPECT_EQ(f.m_UnitIndex, before.m_UnitIndex);
    EXPECT_EQ(f.m_InducerDiameter, before.m_InducerDiameter);
    EXPECT_EQ(f.m_PrimaryDrill, 0.7f);
    EXPECT_EQ(f.m_SecondaryDrill, before.m_SecondaryDrill);
    EXPECT_EQ(f.m_TertiaryDrill, before.m_TertiaryDrill);
    EXPECT_EQ(f.m_UnitName, "Metric - Centimeters");
    EXPECT_EQ(f.m_PrimaryExample, before.m_PrimaryExample);
    EXPECT_EQ(f.m_SecondaryExample, before.m_SecondaryExample);
    EXPECT_EQ(f.m_TertiaryExample, before.m_TertiaryExample);
}

} // namespace
