// Cells as typed: numbers in display units stored in the forms' units, text that is not a number
// kept and named.
#include "candidates.hpp"

#include <gtest/gtest.h>

namespace {

using explorer::Candidate;
using explorer::EngineInput;
using fields::UnitSystem;

TEST(Cells, MetricTextIsStoredInTheFormsUnits) {
    const auto cell =
        explorer::readCell(EngineInput::CompOutletDiameter, UnitSystem::Metric, " 109.22 ");
    ASSERT_FALSE(cell.bad);
    EXPECT_EQ(cell.value, static_cast<float>(double(109.22f) / 25.4));
    EXPECT_EQ(explorer::cellText(EngineInput::CompOutletDiameter, UnitSystem::Metric, cell),
              "109.22");
    EXPECT_EQ(explorer::cellText(EngineInput::CompOutletDiameter, UnitSystem::Forms, cell), "4.3");
}

TEST(Cells, TextThatIsNotANumberIsKeptAndNamed) {
    Candidate c("T3 \"big\"");
    c[EngineInput::InducerDiameter] =
        explorer::readCell(EngineInput::InducerDiameter, UnitSystem::Forms, "4,3");
    ASSERT_TRUE(c[EngineInput::InducerDiameter].bad);
    EXPECT_EQ(explorer::cellText(EngineInput::InducerDiameter, UnitSystem::Metric,
                                 c[EngineInput::InducerDiameter]),
              "4,3");
    EXPECT_EQ(explorer::problem(c),
              "Candidate \"T3 \"big\"\", Inducer Diameter: \"4,3\" is not a number (the decimal "
              "point is '.')");
    EXPECT_FALSE(explorer::evaluate(c));

    c[EngineInput::InducerDiameter] = explorer::Cell::number(3);
    c[EngineInput::P2] = explorer::readCell(EngineInput::P2, UnitSystem::Forms, "");
    EXPECT_EQ(explorer::problem(c), "Candidate \"T3 \"big\"\", P2: a number is missing");
    c[EngineInput::P2] = explorer::readCell(EngineInput::P2, UnitSystem::Forms, "1e40");
    EXPECT_EQ(explorer::problem(c), "Candidate \"T3 \"big\"\", P2: \"1e40\" is out of range (the "
                                    "largest number is 3.40282e+38)");
}

} // namespace
