// A measured exhaust temperature in place of the turbine inlet temperature: the solved inlet
// temperature, fed to the cycle, gives the measured outlet temperature back.
#include "engine_cycle.hpp"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using turbo::TurboFields;

float outletFrom(const TurboFields& f, float inlet) {
    TurboFields g = f;
    turbo::calcFullAnalysis(g, inlet);
    return g.m_TurbineOutletTemp;
}

// One float step at the value's magnitude.
float step(float v) {
    return std::nextafter(std::abs(v), INFINITY) - std::abs(v);
}

// How far the cycle's outlet at this inlet temperature is from the wanted one.
double miss(const TurboFields& f, float inlet, float wanted) {
    return std::abs(double(outletFrom(f, inlet)) - double(wanted));
}

struct Case {
    const char* what;
    float p2;
    float compEfficiency;
    float outlet;
};

// A typed outlet need not be one the cycle can give (inlet floats are spaced as wide as the
// outlet's or wider, and ties round to even), so the check is that no float inlet nearby does
// better and that the miss is below one float step of the inlet.
TEST(TurbineOutletTemp, SolvedInletGivesTheNearestOutlet) {
    const Case cases[] = {
        {"the defaults' outlet, as typed", 32, 70, 646.418f},
        {"ordinary exhaust", 32, 70, 600},
        {"hot exhaust", 32, 70, 712.75f},
        {"low boost", 15, 70, 555.5f},
        {"poor compressor", 32, 55, 620},
        {"outlet of zero", 32, 70, 0},
        {"below zero", 32, 70, -40},
        // 400 + 141.6 lies above 512, where float steps are twice those at 400.
        {"inlet a power of two above", 32, 70, 400.1f},
        {"tiny outlet", 32, 70, 1e-3f},
        {"hot, compressor near 100 %", 45, 99.5f, 1000},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TurboFields f;
        f.m_P2 = c.p2;
        f.m_CompEfficiency = c.compEfficiency;
        const float inlet = turbo::solveTurbineInletTemp(f, c.outlet);
        const double best = miss(f, inlet, c.outlet);
        EXPECT_LE(best, step(inlet)) << "inlet " << inlet;
        float down = inlet, up = inlet;
        for (int i = 0; i < 8; ++i) {
            down = std::nextafter(down, -INFINITY);
            up = std::nextafter(up, INFINITY);
            EXPECT_GE(miss(f, down, c.outlet), best) << down;
            EXPECT_GE(miss(f, up, c.outlet), best) << up;
        }
    }
    // Outlet 0: the inlet is the turbine temperature drop, 141.582 at the defaults.
    EXPECT_NEAR(turbo::solveTurbineInletTemp(TurboFields{}, 0), 141.582f, 1e-3f);
}

// Any outlet the cycle gives comes back exactly: at the defaults' 788 deg. C (outlet 646.418)
// and across inlet temperatures from 300 to 1300 deg. C at two compressor efficiencies.
TEST(TurbineOutletTemp, EveryOutletTheCycleGivesComesBackExactly) {
    TurboFields defaults;
    const float outlet788 = outletFrom(defaults, 788);
    EXPECT_NEAR(outlet788, 646.418f, 1e-3f);
    EXPECT_NEAR(turbo::solveTurbineInletTemp(defaults, outlet788), 788.0f, step(788.0f));
    for (const float efficiency : {70.0f, 61.3f}) {
        TurboFields f;
        f.m_CompEfficiency = efficiency;
        int misses = 0;
        for (float inlet = 300; inlet < 1300; inlet += 0.0371f) {
            const float outlet = outletFrom(f, inlet);
            misses += outletFrom(f, turbo::solveTurbineInletTemp(f, outlet)) != outlet;
        }
        EXPECT_EQ(misses, 0) << efficiency;
    }
}

TEST(TurbineOutletTemp, NotANumberPassesThrough) {
    TurboFields f;
    EXPECT_TRUE(std::isnan(turbo::solveTurbineInletTemp(f, NAN)));
    f.m_CompEfficiency = 0; // an infinite compressor rise and turbine drop
    EXPECT_FALSE(std::isfinite(turbo::solveTurbineInletTemp(f, 600)));
}

} // namespace
