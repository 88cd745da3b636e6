// Inputs at the edges of what is physically possible: each row changes one input of the
// window's defaults and says which input, if any, is refused.
#include "input_range.hpp"
#include "operating.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

constexpr float kNan = std::numeric_limits<float>::quiet_NaN();

turbo::RangeInputs defaults() {
    // The window's: 15 deg. C, 14.7 psi, P2 32, 70/78/90 %, combustion 95 %, 788 deg. C.
    return {15, 14.7f, 32, 70, 78, 90, 95, 788, kNan, kNan};
}

TEST(InputRange, EachInputAtTheEdgeOfItsRange) {
    using In = turbo::RangeInputs;
    const struct {
        const char* what;
        void (*change)(In&);
        const char* refused; // "" when the point is possible
    } rows[] = {
        {"the defaults", [](In&) {}, ""},
        {"ambient -300 deg. C", [](In& i) { i.ambientTemp = -300; }, "ambient-temp"},
        {"ambient at absolute zero", [](In& i) { i.ambientTemp = -273.15f; }, "ambient-temp"},
        {"ambient just above it", [](In& i) { i.ambientTemp = -273.1f; }, ""},
        {"inlet below absolute zero", [](In& i) { i.turbineInletTemp = -274; },
         "turbine-inlet-temp"},
        {"measured outlet below it", [](In& i) { i.measuredTurbineOutletTemp = -400; },
         "measured-turbine-outlet-temp"},
        {"turbine efficiency 0", [](In& i) { i.turbineEfficiency = 0; }, "turbine-efficiency"},
        {"comp efficiency 200 %", [](In& i) { i.compEfficiency = 200; }, "comp-efficiency"},
        {"nozzle efficiency 100 %", [](In& i) { i.nozzleEfficiency = 100; }, ""},
        {"nozzle efficiency just over", [](In& i) { i.nozzleEfficiency = 100.00001f; },
         "nozzle-efficiency"},
        {"combustion efficiency negative", [](In& i) { i.combustionEfficiency = -5; },
         "combustion-efficiency"},
        {"efficiency not given (NaN)", [](In& i) { i.compEfficiency = kNan; }, ""},
        {"ambient pressure 0", [](In& i) { i.ambientPressure = 0; }, "ambient-pressure"},
        {"P2 a full vacuum: -14.7 psig", [](In& i) { i.p2 = -14.7f; }, "p2"},
        {"P2 a partial vacuum", [](In& i) { i.p2 = -10; }, ""},
        // With nothing typed, the altitude gives the ambient values.
        {"altitude 100 km",
         [](In& i) {
             i.ambientTemp = i.ambientPressure = turbo::notGiven();
             i.altitude = 100000;
         },
         "altitude"},
        {"altitude at the tropopause",
         [](In& i) {
             i.ambientTemp = i.ambientPressure = turbo::notGiven();
             i.altitude = 11000;
         },
         ""},
        {"altitude 6 km below sea level",
         [](In& i) {
             i.ambientPressure = turbo::notGiven();
             i.altitude = -6000;
         },
         "altitude"},
        {"altitude unused: both ambient values typed", [](In& i) { i.altitude = 100000; }, ""},
        // 1 psi at 11 km is about 3.3 psi: a P2 of -4 psig is below a vacuum there.
        {"P2 against the altitude's pressure",
         [](In& i) {
             i.ambientTemp = i.ambientPressure = turbo::notGiven();
             i.altitude = 11000;
             i.p2 = -4;
         },
         "p2"},
    };
    for (const auto& row : rows) {
        In in = defaults();
        row.change(in);
        const auto problem = turbo::inputRangeProblem(in);
        if (*row.refused == '\0') {
            EXPECT_FALSE(problem) << row.what << ": " << problem->reason;
        } else {
            ASSERT_TRUE(problem) << row.what;
            EXPECT_EQ(problem->key, row.refused) << row.what;
            EXPECT_FALSE(problem->reason.empty()) << row.what;
        }
    }
}

} // namespace
