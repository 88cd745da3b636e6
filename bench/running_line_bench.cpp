// A 200-point running line on the demonstration map, with the compressor efficiency from its
// islands: the line's summary (idle, first limit, crossings) and 200 balanced points. Run with the
// RelWithDebInfo build:
//   vorlaxen-running-line-bench --benchmark_repetitions=10
// The goal: under 5 ms.

#include "map_file.hpp"
#include "running_line.hpp"

#include <benchmark/benchmark.h>

namespace {

void runningLine200(benchmark::State& state) {
    const auto read = compmap::loadMap(VX_DEMO_MAP);
    const auto& map = read.map.value();
    offdesign::LineSetup setup;
    const auto areas = offdesign::designAreas(setup.assumed, 32, 788, 1.41);
    setup.turbineArea = areas.turbine;
    setup.nozzleArea = areas.nozzle;
    setup.map = &map;
    setup.efficiencyFromMap = true;
    for (auto _ : state) {
        const offdesign::RunningLine line(setup, 0.15, 60);
        double thrust = 0;
        for (int i = 0; i < 200; ++i)
            thrust += line.at(0.3 * (i + 1)).thrust;
        benchmark::DoNotOptimize(thrust);
    }
}
BENCHMARK(runningLine200)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
