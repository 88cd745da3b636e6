// What a builder asks after the cycle: fuel, the standard atmosphere at an airfield, the limits a
// point goes beyond, and the two assumptions that became inputs. Expected figures are worked by
// hand from the formulas with the cycle's shown values, or taken from published tables.
#include "atmosphere.hpp"
#include "calculation_fields.hpp"
#include "engine_cycle.hpp"
#include "fuel.hpp"
#include "limits.hpp"
#include "number_text.hpp"
#include "units.hpp"
#include "wheel_and_converter.hpp"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>

namespace {

using turbo::FuelGap;
using turbo::FuelResult;
using turbo::Limit;

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

std::uint32_t bits(float v) {
    return std::bit_cast<std::uint32_t>(v);
}

// Relative agreement with a hand-worked figure given to six digits.
void expectClose(double actual, double expected, const char* what) {
    EXPECT_NEAR(actual, expected, std::abs(expected) * 2e-5) << what;
}

// The window's default point: discharge 176.191 deg. C, turbine inlet 788, 1.41 lb/s, 58.6333 lbf.
turbo::TurboFields defaultCycle() {
    turbo::TurboFields f;
    turbo::calcFullAnalysis(f);
    return f;
}

TEST(Fuel, EachFuelAtTheDefaultPointGivesTheHandWorkedFigures) {
    // Enthalpy balance with Walsh & Fletcher's polynomials, T2 = 176.191 + 273.15 K,
    // T3 = 1061.15 K, worked in a separate script; then x 1.41 x 3600, x 0.45359237 / density,
    // / 58.6333.
    const struct {
        turbo::Fuel fuel;
        float efficiency;
        double far, flow, litres, tsfc;
    } cases[] = {
        {turbo::Fuel::Kerosene, 95, 0.0170199, 86.3932, 48.9841, 1.47345},
        {turbo::Fuel::Diesel, 95, 0.0171871, 87.2417, 47.1097, 1.48792},
        {turbo::Fuel::Propane, 95, 0.0158270, 80.3379, 71.4522, 1.37017},
        {turbo::Fuel::Kerosene, 100, 0.0161283, 81.8674, 46.4180, 1.39626},
    };
    const auto f = defaultCycle();
    for (const auto& c : cases) {
        const auto r = turbo::calcFuel(turbo::fuelInputs(c.fuel, kNaN, kNaN, c.efficiency),
                                       f.m_CompDischargeTemp, 788.0f, f.m_MassFlow, f.m_Thrust);
        const auto key = std::string(turbo::fuelProperties(c.fuel).key);
        expectClose(r[FuelResult::FuelAirRatio], c.far, key.c_str());
        expectClose(r[FuelResult::FuelFlow], c.flow, key.c_str());
        expectClose(r[FuelResult::FuelVolumeFlow], c.litres, key.c_str());
        expectClose(r[FuelResult::Tsfc], c.tsfc, key.c_str());
        for (const auto gap : r.gaps)
            EXPECT_EQ(gap, FuelGap::None) << key;
    }
}

TEST(Fuel, CustomWithAFuelsNumbersTypedGivesTheSameBits) {
    const auto f = defaultCycle();
    auto run = [&](turbo::FuelInputs in) {
        return turbo::calcFuel(in, f.m_CompDischargeTemp, 788.0f, f.m_MassFlow, f.m_Thrust);
    };
    const auto diesel = run(turbo::fuelInputs(turbo::Fuel::Diesel, 1, 1, 95));
    const auto custom = run(turbo::fuelInputs(turbo::Fuel::Custom, *fields::parseFloat("42.8"),
                                              *fields::parseFloat("0.84"), 95));
    for (std::size_t i = 0; i < turbo::kFuelResultCount; ++i)
        EXPECT_EQ(bits(diesel.values[i]), bits(custom.values[i])) << i;
    EXPECT_EQ(turbo::fuelFromKey("Propane"), turbo::Fuel::Propane);
    EXPECT_FALSE(turbo::fuelFromKey("petrol"));
}

// Where the formulas give no fuel flow, the result is NaN with its reason, and so is every
// result computed from it; the others keep their figures.
TEST(Fuel, ResultsWithoutAFigureSayWhy) {
    const struct {
        const char* what;
        float t2, t3, lhv, density, massFlow, thrust;
        FuelGap far, flow, volume, tsfc;
    } cases[] = {
        {"no discharge temperature", kNaN, 788, 43.2f, 0.8f, 1.41f, 58.6f, FuelGap::CycleNotFinite,
         FuelGap::CycleNotFinite, FuelGap::CycleNotFinite, FuelGap::CycleNotFinite},
        // The air leaves the compressor at 176 deg. C: it needs no fuel to reach 100.
        {"inlet below discharge", 176, 100, 43.2f, 0.8f, 1.41f, 58.6f, FuelGap::HotAlready,
         FuelGap::HotAlready, FuelGap::HotAlready, FuelGap::HotAlready},
        // 0.95 MJ/kg is less than the heat the products of a kg of fuel and the air hold at 1061 K.
        {"heating value 1", 176, 788, 1, 0.8f, 1.41f, 58.6f, FuelGap::FuelTooWeak,
         FuelGap::FuelTooWeak, FuelGap::FuelTooWeak, FuelGap::FuelTooWeak},
        // 10 MJ/kg needs 0.18 kg of fuel per kg of air for 1100 deg. C; kerosene burns 0.068.
        {"beyond stoichiometric", 15, 1100, 10, 0.8f, 1.41f, 58.6f, FuelGap::Rich, FuelGap::Rich,
         FuelGap::Rich, FuelGap::Rich},
        {"heating value NaN", 176, 788, kNaN, 0.8f, 1.41f, 58.6f, FuelGap::FuelNotFinite,
         FuelGap::FuelNotFinite, FuelGap::FuelNotFinite, FuelGap::FuelNotFinite},
        {"mass flow below 0", 176, 788, 43.2f, 0.8f, -1, 58.6f, FuelGap::None, FuelGap::NoMassFlow,
         FuelGap::NoMassFlow, FuelGap::NoMassFlow},
        {"density 0", 176, 788, 43.2f, 0, 1.41f, 58.6f, FuelGap::None, FuelGap::None,
         FuelGap::NoDensity, FuelGap::None},
        {"no thrust", 176, 788, 43.2f, 0.8f, 1.41f, kNaN, FuelGap::None, FuelGap::None,
         FuelGap::None, FuelGap::NoThrust},
        {"thrust 0", 176, 788, 43.2f, 0.8f, 1.41f, 0, FuelGap::None, FuelGap::None, FuelGap::None,
         FuelGap::NoThrust},
    };
    for (const auto& c : cases) {
        const auto r = turbo::calcFuel({c.lhv, c.density, 95}, c.t2, c.t3, c.massFlow, c.thrust);
        const FuelGap expected[] = {c.far, c.flow, c.volume, c.tsfc};
        for (std::size_t i = 0; i < turbo::kFuelResultCount; ++i) {
            EXPECT_EQ(r.gaps[i], expected[i]) << c.what << ", result " << i;
            EXPECT_EQ(std::isnan(r.values[i]), expected[i] != FuelGap::None)
                << c.what << ", result " << i;
        }
    }
    EXPECT_FALSE(turbo::fuelGapText(FuelGap::FuelTooWeak).empty());
}

// US Standard Atmosphere 1976 (identical to ICAO's below 32 km), by geopotential altitude:
// temperature in K and pressure in Pa to six digits.
TEST(StandardAtmosphere, AgreesWithThePublishedTable) {
    const struct {
        float altitude;
        double kelvin, pascals;
    } table[] = {
        {0, 288.15, 101325},     {1000, 281.65, 89874.6}, {2000, 275.15, 79495.2},
        {3000, 268.65, 70108.5}, {5000, 255.65, 54019.9}, {11000, 216.65, 22632.1},
        {-500, 291.4, 107478}, // below sea level (Dead Sea shore)
    };
    constexpr double kPascalsPerPsi = 6894.757293168362;
    for (const auto& row : table) {
        const auto a = turbo::standardAmbient(row.altitude);
        EXPECT_NEAR(a.temp, row.kelvin - 273.15, 1e-4) << row.altitude;
        EXPECT_NEAR(a.pressure * kPascalsPerPsi, row.pascals, row.pascals * 1e-5) << row.altitude;
    }
    const auto seaLevel = turbo::standardAmbient(0);
    EXPECT_EQ(seaLevel.temp, 15.0f);
    EXPECT_EQ(fields::formatFloat(seaLevel.pressure), "14.6959"); // 14.696 psi
    EXPECT_TRUE(std::isnan(turbo::standardAmbient(11001).pressure));
    EXPECT_TRUE(std::isnan(turbo::standardAmbient(kNaN).temp));
}

TEST(StandardAtmosphere, TypedValuesWinOverTheAltitudeAndTheDefaultsStandWithout) {
    const auto at1000 = turbo::standardAmbient(1000);
    const struct {
        std::optional<float> altitude, temp, pressure;
        float wantTemp, wantPressure;
    } cases[] = {
        {{}, {}, {}, 15.0f, 14.7f},
        {1000.0f, {}, {}, at1000.temp, at1000.pressure},
        {1000.0f, 30.0f, {}, 30.0f, at1000.pressure},
        {1000.0f, {}, 12.0f, at1000.temp, 12.0f},
        {{}, 30.0f, {}, 30.0f, 14.7f},
    };
    for (const auto& c : cases) {
        const auto a = turbo::chooseAmbient(c.altitude, c.temp, c.pressure);
        EXPECT_EQ(bits(a.temp), bits(c.wantTemp));
        EXPECT_EQ(bits(a.pressure), bits(c.wantPressure));
    }
}

TEST(Limits, CriticalPressureRatioOfTheCyclesGas) {
    // gamma = 1 / 0.752 = 1.32979; (1 + 0.164894)^4.03226 = 1.85048.
    EXPECT_NEAR(turbo::nozzleCriticalPressureRatio(), 1.8504755, 1e-7);
    // The field rows' defaults are the limits' own.
    const turbo::Limits limits;
    for (const auto& info : turbo::limitInfos()) {
        if (info.limit == Limit::SurgeMargin)
            continue; // the map's result, bounded at 0 %
        const auto at = fields::findField(fields::kOperatingInputs, info.key);
        ASSERT_TRUE(at) << info.key;
        EXPECT_EQ(bits(fields::kOperatingInputs[*at].defaultValue), bits(limits[info.limit]))
            << info.key;
    }
}

TEST(Limits, SayWhichLimitAPointExceedsAndByHowMuch) {
    const turbo::Limits limits; // 788 and 720 deg. C, 1450 ft/s, 1.85048
    const struct {
        turbo::LimitedFigures figures;
        const char* keys;
        float tit, tot, tip, pr, surge; // excess
    } cases[] = {
        {{788, 646.418f, 1450, 1.44388f, kNaN}, "", 0, 0, 0, 0, 0}, // the defaults on the limits
        {{800, 650, 1450, 1.5f, 12}, "turbine-inlet-temp-limit", 12, 0, 0, 0, 0},
        {{788, 750, 1600, 1.5f, 0}, "turbine-outlet-temp-limit tip-speed-limit", 0, 30, 150, 0, 0},
        {{788, 600, 1450, 2.0f, kNaN}, "nozzle-critical-pr", 0, 0, 0, 0.149524f, 0},
        // A surge margin is a lower bound: 4.5 % into surge is 4.5 past it.
        {{788, 600, 1450, 1.5f, -4.5f}, "surge-margin", 0, 0, 0, 0, 4.5f},
        {{kNaN, kNaN, kNaN, kNaN, kNaN}, "", 0, 0, 0, 0, 0}, // no figure exceeds nothing
    };
    for (const auto& c : cases) {
        const auto e = turbo::checkLimits(limits, c.figures);
        EXPECT_EQ(fields::kLimitWords[turbo::limitSet(e)], c.keys);
        EXPECT_EQ(e[Limit::TurbineInletTemp], c.tit);
        EXPECT_EQ(e[Limit::TurbineOutletTemp], c.tot);
        EXPECT_EQ(e[Limit::TipSpeed], c.tip);
        EXPECT_NEAR(e[Limit::NozzleCriticalPr], c.pr, 1e-6);
        EXPECT_EQ(e[Limit::SurgeMargin], c.surge);
        EXPECT_EQ(e.any(), *c.keys != '\0');
    }
}

TEST(Assumptions, TipSpeedAndPressureLossAsInputs) {
    turbo::TurboFields f;
    turbo::calcMaxRpm(f, 1000.0f);
    expectClose(f.m_MaxRpm, 53298.4, "1000 / (pi x 4.3 / 12) x 60");

    // The default typed as 0.1 is the double 0.1 the cycle always used: the same bits.
    EXPECT_EQ(turbo::typedDecimal(0.1f), 0.1);
    auto typed = defaultCycle();
    turbo::calcFullAnalysis(typed, 788.0f, turbo::typedDecimal(0.1f));
    EXPECT_EQ(bits(typed.m_Thrust), bits(defaultCycle().m_Thrust));
    // (3.17687 - 0.2) / 2.13097.
    turbo::calcFullAnalysis(typed, 788.0f, turbo::typedDecimal(0.2f));
    expectClose(typed.m_NozzlePr, 1.39696, "nozzle PR with a loss of 0.2");
}

TEST(Units, OtherUnitsPeopleUse) {
    using fields::Quantity;
    const struct {
        Quantity quantity;
        const char* unit;
        double perForms;
    } cases[] = {
        {Quantity::Force, "kgf", 0.45359237},     // 1 lbf = 0.45359237 kgf
        {Quantity::Force, "N", 4.4482216152605},  //
        {Quantity::MassFlow, "lb/min", 60},       //
        {Quantity::FuelFlow, "kg/h", 0.45359237}, //
        {Quantity::VolumeFlow, "mL/min", 1000 / 60.0},
        {Quantity::FuelConsumption, "g/(kN·s)", 28.32545036}, // 10^6 / (9.80665 x 3600)
    };
    for (const auto& c : cases)
        EXPECT_NEAR(fields::perFormsOf(c.quantity, c.unit).value_or(0), c.perForms,
                    c.perForms * 1e-9)
            << c.unit;
    EXPECT_FALSE(fields::perFormsOf(Quantity::Force, "lb/min"));
}

} // namespace
