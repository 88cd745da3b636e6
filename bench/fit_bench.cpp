// A 20-point run log fitted for three assumptions: the turbine, compressor and combustion
// efficiencies, from the defaults, with thrust and fuel flow measured at every point. The goal is
// well under a second a fit. Run with the RelWithDebInfo build:
//   vorlaxen-fit-bench --benchmark_repetitions=5

#include "fit.hpp"

#include <benchmark/benchmark.h>

namespace {

runs::RunLog twentyPoints() {
    turbo::EngineInputs truth;
    truth[turbo::EngineInput::TurbineEfficiency] = 74;
    truth[turbo::EngineInput::CompEfficiency] = 66;
    truth[turbo::input("combustion-efficiency")] = 90;
    runs::RunLog log;
    for (int i = 0; i < 20; ++i) {
        runs::RunPoint point;
        point.line = std::size_t(i) + 2;
        point.values[std::size_t(runs::Measured::P2)] = 8.0f + 1.2f * float(i);
        point.values[std::size_t(runs::Measured::TurbineOutletTemp)] = 560.0f + 5.0f * float(i);
        const auto r = runs::modelAt(*runs::atPoint(truth, point).inputs);
        // A fixed pattern of errors of about 1 %, so every run fits the same log.
        const float off = 1 + 0.01f * float((i * 7) % 5 - 2) / 2;
        point.values[std::size_t(runs::Measured::Thrust)] = r[turbo::EngineResult::Thrust] * off;
        point.values[std::size_t(runs::Measured::FuelFlow)] =
            r[turbo::result("fuel-flow")] * (2 - off);
        log.points.push_back(point);
    }
    return log;
}

void BM_Fit20Points(benchmark::State& state) {
    const auto log = twentyPoints();
    const runs::Assumption chosen[] = {*runs::assumptionFromKey("turbine-efficiency"),
                                       *runs::assumptionFromKey("comp-efficiency"),
                                       *runs::assumptionFromKey("combustion-efficiency")};
    for (auto _ : state) {
        auto result = runs::fit(turbo::EngineInputs{}, log, chosen);
        if (!std::holds_alternative<runs::FitResult>(result)) {
            state.SkipWithError("the fit failed");
            break;
        }
        benchmark::DoNotOptimize(result);
    }
}
BENCHMARK(BM_Fit20Points)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
