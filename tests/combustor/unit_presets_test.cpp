// "Enter" beside the unit list: the unit's name, standard drills and examples, on the fields alone.
#include "number_text.hpp"
#include "unit_presets.hpp"

#include <gtest/gtest.h>

using combustor::CombustorFields;

namespace {

// Fields as a user may have left them: typed drills, a diameter and an earlier result.
CombustorFields typedByHand(int unit) {
    CombustorFields f;
    f.m_UnitIndex = unit;
    f.m_PrimaryDrill = 0.1f;
    f.m_SecondaryDrill = 0.2f;
    f.m_TertiaryDrill = 0.3f;
    f.m_InducerDiameter = 2.0f;
    f.m_TubeDiameter = 5.0f;
    f.m_PrimaryHoles = 12.0f;
    f.m_UnitName = "typed";
    f.m_PrimaryExample = "a";
    f.m_SecondaryExample = "b";
    f.m_TertiaryExample = "c";
    return f;
}

TEST(UnitPresets, EachUnitFillsItsNameDrillsAndExamples) {
    const struct {
        int unit;
        const char* name;
        const char* drills[3]; // as shown
        float drillValues[3];
        const char* examples[3];
    } cases[] = {
        {0,
         "Standard - Inches",
         {"0.25", "0.375", "0.625"},
         {0.25f, 0.375f, 0.625f},
         {"1/4 = .25", "3/8 = .375", "5/8 = .625"}},
        {1,
         "Metric - Millimeters",
         {"6", "10", "16"},
         {6.0f, 10.0f, 16.0f},
         {"6 mm", "10 mm", "16 mm"}},
        {2,
         "Metric - Centimeters",
         {"0.6", "1", "1.6"},
         {0.6f, 1.0f, 1.6f},
         {"6mm = .6", "10mm = 1.0", "16mm = 1.6"}},
    };
    for (const auto& c : cases) {
        CombustorFields f = typedByHand(c.unit);
        combustor::applyUnitPreset(f);
        EXPECT_EQ(f.m_UnitName, c.name);
        const float drills[] = {f.m_PrimaryDrill, f.m_SecondaryDrill, f.m_TertiaryDrill};
        const std::string examples[] = {f.m_PrimaryExample, f.m_SecondaryExample,
                                        f.m_TertiaryExample};
        for (int row = 0; row < 3; ++row) {
            EXPECT_EQ(drills[row], c.drillValues[row]) << c.name << " row " << row;
            EXPECT_EQ(fields::formatFloat(drills[row]), c.drills[row]);
            EXPECT_EQ(examples[row], c.examples[row]);
        }
        // The diameter and the earlier results stay, even though they may be in another unit.
        EXPECT_EQ(f.m_UnitIndex, c.unit);
        EXPECT_EQ(f.m_InducerDiameter, 2.0f);
        EXPECT_EQ(f.m_TubeDiameter, 5.0f);
        EXPECT_EQ(f.m_PrimaryHoles, 12.0f);
    }
}

TEST(UnitPresets, AnyOtherIndexChangesNothing) {
    for (int unit : {-1, 3, 4, -2, 1000}) {
        CombustorFields f = typedByHand(unit);
        combustor::applyUnitPreset(f);
        EXPECT_EQ(f.m_UnitName, "typed") << unit;
        EXPECT_EQ(f.m_PrimaryDrill, 0.1f);
        EXPECT_EQ(f.m_SecondaryDrill, 0.2f);
        EXPECT_EQ(f.m_TertiaryDrill, 0.3f);
        EXPECT_EQ(f.m_PrimaryExample, "a");
        EXPECT_EQ(f.m_SecondaryExample, "b");
        EXPECT_EQ(f.m_TertiaryExample, "c");
        EXPECT_FALSE(combustor::presetFor(unit).has_value());
    }
}

TEST(UnitPresets, ListItemsInOrder) {
    ASSERT_EQ(combustor::kUnitPresets.size(), 3u);
    EXPECT_EQ(combustor::kUnitPresets[0].listItem, "Standard - in");
    EXPECT_EQ(combustor::kUnitPresets[1].listItem, "Metric - mm");
    EXPECT_EQ(combustor::kUnitPresets[2].listItem, "Metric - cm");
}

} // namespace
