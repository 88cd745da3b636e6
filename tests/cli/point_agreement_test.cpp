// Every view of a point gives the same figures: vorlaxen-calc cycle, vorlaxen-calc engine and the
// evaluation itself, bit for bit, with every operating input moved off its default, one point at
// a time and along sweeps. A further view (another command or window) is one more leg in
// `legs()`.

#include "cli_test_support.hpp"

#include "evaluate_point.hpp"
#include "map_file.hpp"
#include "number_text.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <utility>
#include <vector>

using namespace clitest;

namespace {

using point::EngineInput;

// An input by key, as the command line names it; the cycle's measured outlet temperature goes by
// its own key there.
using Setting = std::pair<std::string, std::string>;

struct Case {
    const char* what;
    std::vector<Setting> settings;
};

const Case kCases[] = {
    {"defaults", {}},
    {"altitude", {{"altitude", "1500"}}},
    {"altitude and a typed temperature", {{"altitude", "2500"}, {"ambient-temp", "30"}}},
    {"measured outlet temperature", {{"measured-turbine-outlet-temp", "600"}}},
    {"diesel", {{"fuel", "diesel"}}},
    {"propane, less burned", {{"fuel", "propane"}, {"combustion-efficiency", "90"}}},
    {"custom fuel", {{"fuel", "custom"}, {"fuel-lhv", "40"}, {"fuel-density", "0.7"}}},
    {"a heating value typed over diesel's", {{"fuel", "diesel"}, {"fuel-lhv", "41"}}},
    {"tip speed", {{"tip-speed", "1500"}}},
    {"pressure loss", {{"pressure-loss", "0.5"}, {"p2", "20"}}},
    {"limits",
     {{"turbine-inlet-temp-limit", "700"},
      {"turbine-outlet-temp-limit", "500"},
      {"tip-speed-limit", "1400"},
      {"nozzle-critical-pr", "1.3"}}},
    {"everything at once",
     {{"altitude", "800"},
      {"measured-turbine-outlet-temp", "620"},
      {"fuel", "custom"},
      {"fuel-lhv", "44"},
      {"tip-speed", "1480"},
      {"pressure-loss", "0.15"},
      {"turbine-outlet-temp-limit", "600"},
      {"mass-flow", "0.9"}}},
};

// The evaluation's own figure for a column.
std::string expectedText(const point::Point& p, const fields::Field& f) {
    if (f.key == "fuel")
        return std::string(f.choices[static_cast<std::size_t>(p.used.fuel)]);
    if (f.key == "limits")
        return std::string(fields::kLimitWords[p.limitSet]);
    return std::string(f.choices[static_cast<std::size_t>(p.used.massFlowSource)]);
}
float expectedNumber(const point::Point& p, std::string_view key) {
    const auto& m = p.onMap;
    if (key == "corrected-flow")
        return m ? m->correctedFlow : NAN;
    if (key == "pressure-ratio")
        return m ? m->pressureRatio : NAN;
    if (key == "surge-margin")
        return m && m->surgeMargin ? *m->surgeMargin : NAN;
    if (key == "map-efficiency")
        return m && m->efficiency ? *m->efficiency : NAN;
    if (key == "map-speed")
        return m && m->speed ? *m->speed : NAN;
    for (std::size_t i = 0; i < turbo::kEngineResultCount; ++i)
        if (turbo::engineField(static_cast<point::EngineResult>(i)).key == key)
            return p.results.values[i];
    for (std::size_t i = 0; i < turbo::kEngineInputCount; ++i)
        if (turbo::engineField(static_cast<EngineInput>(i)).key == key)
            return p.used.values[i];
    ADD_FAILURE() << "no figure for " << key;
    return NAN;
}

point::PointInputs inputsOf(const std::vector<Setting>& settings,
                            const compmap::CompressorMap* map) {
    point::PointInputs in{.engine = point::defaultInputs(), .map = map};
    for (const auto& [key, value] : settings) {
        if (key == "fuel") {
            in.engine.fuel = *turbo::fuelFromKey(value);
            continue;
        }
        for (std::size_t i = 0; i < turbo::kEngineInputCount; ++i)
            if (turbo::engineField(static_cast<EngineInput>(i)).key == key)
                in.engine.values[i] = *fields::parseFloat(value);
    }
    return in;
}

// The command line's options for the settings: the cycle names the measured outlet temperature
// by the result it replaces.
std::vector<std::string> options(const char* calculation, const std::vector<Setting>& settings) {
    std::vector<std::string> args{calculation, "--csv", "--map", VX_DEMO_MAP};
    for (const auto& [key, value] : settings) {
        const bool outlet = key == "measured-turbine-outlet-temp";
        args.push_back("--" + (outlet && std::string(calculation) == "cycle"
                                   ? std::string(fields::kOutletGiven.first)
                                   : key));
        args.push_back(value);
    }
    return args;
}

// Every column of a command's output against the evaluation, row by row.
void expectSame(const std::string& out, const std::vector<point::Point>& points,
                const std::string& where) {
    const auto rows = csvRows(out);
    ASSERT_EQ(rows.size(), points.size() + 1) << where << "\n" << out;
    const auto& header = rows[0];
    for (std::size_t r = 0; r < points.size(); ++r)
        for (std::size_t c = 0; c < header.size(); ++c) {
            const auto& text = rows[r + 1][c];
            const auto& key = header[c];
            SCOPED_TRACE(where + ", row " + std::to_string(r) + ", " + key);
            const auto field = fields::findField(fields::kEngineFields, key);
            if (field && fields::kEngineFields[*field].kind == fields::Kind::Choice) {
                EXPECT_EQ(text, expectedText(points[r], fields::kEngineFields[*field]));
                continue;
            }
            // The cycle's turbine outlet temperature is the result, a measured one given or not.
            const float want = expectedNumber(points[r], key);
            EXPECT_TRUE(sameFloat(text.empty() ? NAN : number(text), want)) << text;
        }
}

const compmap::CompressorMap& demoMap() {
    static const auto map = *compmap::loadMap(VX_DEMO_MAP).map;
    return map;
}

TEST(PointAgreement, CycleEngineAndTheEvaluationAtOnePoint) {
    for (const auto& c : kCases)
        for (const char* calculation : {"cycle", "engine"}) {
            const auto run = calc(options(calculation, c.settings));
            ASSERT_EQ(run.status, 0) << c.what << ": " << run.err;
            expectSame(run.out, {point::evaluatePoint(inputsOf(c.settings, &demoMap()))},
                       std::string(c.what) + ", " + calculation);
        }
}

// Every input offered as a sweep, altitude included, moved along it on top of a case.
TEST(PointAgreement, CycleEngineAndTheEvaluationAlongSweeps) {
    const struct {
        const char* input;
        double from, to, step;
    } sweeps[] = {
        {"altitude", 0, 3000, 1000},    {"p2", 10, 40, 10},       {"pressure-loss", 0, 0.6, 0.2},
        {"tip-speed", 1300, 1600, 100}, {"fuel-lhv", 30, 50, 10}, {"ambient-temp", -20, 40, 20},
    };
    for (const auto& s : sweeps)
        for (const auto& c : {kCases[0], kCases[std::size(kCases) - 1]}) {
            std::vector<Setting> fixed;
            for (const auto& setting : c.settings)
                if (setting.first != s.input)
                    fixed.push_back(setting);
            std::vector<point::Point> points;
            for (int i = 0; s.from + i * s.step <= s.to + 1e-9; ++i) {
                auto settings = fixed;
                settings.emplace_back(s.input,
                                      fields::formatFloat(static_cast<float>(s.from + i * s.step)));
                points.push_back(point::evaluatePoint(inputsOf(settings, &demoMap())));
            }
            for (const char* calculation : {"cycle", "engine"}) {
                auto args = options(calculation, fixed);
                args.push_back("--sweep");
                args.push_back(std::string(s.input) + "=" + fields::formatFloat(float(s.from)) +
                               ":" + fields::formatFloat(float(s.to)) + ":" +
                               fields::formatFloat(float(s.step)));
                const auto run = calc(args);
                ASSERT_EQ(run.status, 0) << run.err;
                expectSame(run.out, points,
                           std::string(c.what) + ", " + calculation + " along " + s.input);
            }
        }
}

} // namespace

// Every input the command line takes for cycle and engine changes a figure: none is taken and
// then ignored. Each is moved off its default (a word to another word; a number down and up, as a
// limit changes a figure only where the point crosses it) and the output compared.
TEST(PointInputs, EveryInputOfCycleAndEngineChangesAFigure) {
    for (const char* calculation : {"cycle", "engine"}) {
        const auto& fields = fields::findCalculation(calculation)->fields;
        const auto before = calc({calculation, "--csv"});
        ASSERT_EQ(before.status, 0);
        for (const auto& f : fields) {
            if (!fields::isInput(f))
                continue;
            std::vector<std::string> values;
            if (f.kind == fields::Kind::Choice)
                values = {std::string(f.choices[1])};
            else if (std::isnan(f.defaultValue))
                values = {"500"}; // an altitude, a measured temperature
            else
                values = {fields::formatFloat(f.defaultValue * 0.5f),
                          fields::formatFloat(f.defaultValue * 1.5f)};
            SCOPED_TRACE(std::string(calculation) + " --" + std::string(f.key));
            bool moved = false;
            for (const auto& value : values) {
                const auto after = calc({calculation, "--csv", "--" + std::string(f.key), value});
                if (after.status != 0) {
                    moved = true; // refused, with its reason
                    continue;
                }
                // The input's own column echoes it; some other column must move too.
                const auto a = csvPoint(before.out);
                const auto b = csvPoint(after.out);
                for (const auto& [key, text] : a)
                    if (key != f.key && b.at(key) != text)
                        moved = true;
            }
            EXPECT_TRUE(moved);
        }
    }
}
