// The unit table: exact factors, the texts, and that typing a value in display units and showing
// it again gives the same text.
#include "number_text.hpp"
#include "units.hpp"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>

namespace {

using fields::fromDisplay;
using fields::Quantity;
using fields::toDisplay;
using fields::UnitSystem;

struct Known {
    Quantity quantity;
    float forms;
    const char* metric; // as shown, six significant digits
};

TEST(Units, MetricFiguresFromTheExactDefinitions) {
    const Known cases[] = {
        {Quantity::Length, 1.0f, "25.4"},
        {Quantity::Length, 4.3f, "109.22"},
        {Quantity::Area, 1.0f, "645.16"},
        {Quantity::GaugePressure, 32.0f, "2.20632"},
        {Quantity::Pressure, 14.695949f, "1.01325"}, // one standard atmosphere
        {Quantity::Temperature, 788.0f, "788"},
        {Quantity::MassFlow, 1.0f, "0.453592"},
        {Quantity::Velocity, 1450.0f, "441.96"},
        {Quantity::SpecificVolume, 1.0f, "0.062428"},
        {Quantity::Force, 1.0f, "4.44822"},
        {Quantity::Speed, 77282.7f, "77282.7"},
        {Quantity::Percent, 78.0f, "78"},
        {Quantity::None, 1.44388f, "1.44388"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(fields::formatFloat(toDisplay(c.quantity, UnitSystem::Metric, c.forms)), c.metric)
            << fields::unitText(c.quantity, UnitSystem::Metric);
}

// The derived factors are the doubles nearest to their exact values; computed in doubles they may
// land one step off, never more.
TEST(Units, DerivedFactorsAgreeWithTheirDefinitions) {
    auto near = [](double a, double b) { return a == b || std::nextafter(a, b) == b; };
    const double lbf = 0.45359237 * 9.80665;
    EXPECT_TRUE(near(fields::displayPerForms(Quantity::Force, UnitSystem::Metric), lbf));
    EXPECT_TRUE(near(fields::displayPerForms(Quantity::Pressure, UnitSystem::Metric),
                     lbf / (0.0254 * 0.0254) / 1e5));
    EXPECT_EQ(fields::displayPerForms(Quantity::GaugePressure, UnitSystem::Metric),
              fields::displayPerForms(Quantity::Pressure, UnitSystem::Metric));
    EXPECT_TRUE(near(fields::displayPerForms(Quantity::SpecificVolume, UnitSystem::Metric),
                     0.3048 * 0.3048 * 0.3048 / 0.45359237));
    EXPECT_EQ(fields::displayPerForms(Quantity::Area, UnitSystem::Metric), 25.4 * 25.4);
}

TEST(Units, FormsUnitsChangeNoBit) {
    const float values[] = {4.3f, -0.0f, 1e-45f, std::numeric_limits<float>::infinity(),
                            std::numeric_limits<float>::quiet_NaN()};
    for (const auto& q : fields::quantities())
        for (float v : values) {
            EXPECT_EQ(std::bit_cast<std::uint32_t>(toDisplay(q.quantity, UnitSystem::Forms, v)),
                      std::bit_cast<std::uint32_t>(v));
            EXPECT_EQ(std::bit_cast<std::uint32_t>(fromDisplay(q.quantity, UnitSystem::Forms, v)),
                      std::bit_cast<std::uint32_t>(v));
        }
}

// What a person types in metric is what they see again after it has been stored in the forms'
// units: text -> display float -> forms float -> display float -> text.
TEST(Units, TypedMetricTextComesBackAsTyped) {
    const char* typed[] = {"0",     "25.4",    "109.22", "0.5",    "2.20632", "1.01325", "0.001",
                           "12345", "-3.2",    "99.999", "643.21", "1e-05",   "4.44822", "777777",
                           "0.1",   "3.14159", "1e+10",  "inf",    "nan"};
    for (const auto& q : fields::quantities())
        for (const char* text : typed) {
            const float shown = *fields::parseFloat(text);
            const float stored = fromDisplay(q.quantity, UnitSystem::Metric, shown);
            EXPECT_EQ(fields::formatFloat(toDisplay(q.quantity, UnitSystem::Metric, stored)),
                      fields::formatFloat(shown))
                << text << " " << fields::unitText(q.quantity, UnitSystem::Metric);
        }
}

} // namespace
