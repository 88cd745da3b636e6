// Run with the RelWithDebInfo build, the floor and the real path side by side:
//   vorlaxen-bench --benchmark_filter=Batch --benchmark_repetitions=5
//                  --benchmark_enable_random_interleaving=true
// VX_BENCH_ROWS sets the rows of the generated file (a million by default).

#include "calculation_fields.hpp"
#include "engine_cycle.hpp"
#include "flame_tube.hpp"
#include "run.hpp"
#include "unit_presets.hpp"
#include "wheel_and_converter.hpp"

#include <benchmark/benchmark.h>

#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

// A check that fails makes the whole run fail (exit status 1), not only mark its own line: the
// smoke test runs this program and must see it.
bool failed = false;

void fail(benchmark::State& state, const char* message) {
    failed = true;
    state.SkipWithError(message);
}

void BM_MaxRpm(benchmark::State& state) {
    turbo::TurboFields f;
    for (auto _ : state) {
        benchmark::DoNotOptimize(f);
        turbo::calcMaxRpm(f);
        benchmark::DoNotOptimize(f.m_MaxRpm);
    }
}
BENCHMARK(BM_MaxRpm);

void BM_MassFlow(benchmark::State& state) {
    turbo::TurboFields f;
    for (auto _ : state) {
        benchmark::DoNotOptimize(f);
        turbo::calcMassFlow(f);
        benchmark::DoNotOptimize(f.m_MassFlow);
    }
}
BENCHMARK(BM_MassFlow);

void BM_Cycle(benchmark::State& state) {
    turbo::TurboFields f;
    for (auto _ : state) {
        benchmark::DoNotOptimize(f);
        benchmark::DoNotOptimize(turbo::calcFullAnalysis(f));
    }
}
BENCHMARK(BM_Cycle);

void BM_FlameTube(benchmark::State& state) {
    combustor::CombustorFields f;
    f.m_UnitIndex = combustor::kMillimetres;
    combustor::applyUnitPreset(f);
    f.m_InducerDiameter = 57;
    for (auto _ : state) {
        benchmark::DoNotOptimize(f);
        combustor::calcFlameTube(f);
        benchmark::DoNotOptimize(f.m_TertiaryHoles);
    }
}
BENCHMARK(BM_FlameTube);

void BM_Convert(benchmark::State& state) {
    turbo::TurboFields f;
    for (auto _ : state) {
        f.m_ConvCm = 10;
        f.m_ConvInches = 0;
        benchmark::DoNotOptimize(f);
        turbo::convertLength(f);
        benchmark::DoNotOptimize(f.m_ConvInches);
    }
}
BENCHMARK(BM_Convert);

// One whole invocation for a single point, option parsing included.
void BM_CommandLine(benchmark::State& state, std::vector<const char*> args) {
    std::istringstream in;
    std::ostringstream out;
    std::ostringstream err;
    for (auto _ : state) {
        out.str({});
        if (cli::run(static_cast<int>(args.size()), args.data(), in, out, err) != 0)
            fail(state, "vorlaxen-calc failed");
    }
}
BENCHMARK_CAPTURE(BM_CommandLine, max_rpm, {"vorlaxen-calc", "max-rpm", "--json"});
BENCHMARK_CAPTURE(BM_CommandLine, mass_flow, {"vorlaxen-calc", "mass-flow", "--json"});
BENCHMARK_CAPTURE(BM_CommandLine, cycle, {"vorlaxen-calc", "cycle", "--p2", "15", "--json"});
BENCHMARK_CAPTURE(BM_CommandLine, flame_tube,
                  {"vorlaxen-calc", "flame-tube", "--units", "mm", "--inducer-diameter", "57",
                   "--json"});
BENCHMARK_CAPTURE(BM_CommandLine, convert,
                  {"vorlaxen-calc", "convert", "--conv-cm", "10", "--json"});

// --- The batch path and its floor -------------------------------------------------------------

constexpr const char* kHeader = "mass-flow,p2,comp-efficiency,turbine-efficiency,nozzle-"
                                "efficiency,ambient-temp,ambient-pressure\n";

std::size_t benchRows() {
    if (const char* rows = std::getenv("VX_BENCH_ROWS"))
        return std::strtoul(rows, nullptr, 10);
    return 1'000'000;
}

void appendNumber(std::string& line, float value) {
    char text[32];
    line.append(text, std::to_chars(text, text + sizeof text, value).ptr);
}

// The cycle inputs of a spreadsheet of candidates: plausible ranges, typed with few digits.
std::string writeInputFile(std::size_t rows) {
    const auto path = (std::filesystem::temp_directory_path() /
                       ("vorlaxen-bench-" + std::to_string(::getpid()) + ".csv"))
                          .string();
    std::ofstream file(path, std::ios::binary);
    file << kHeader;
    std::mt19937 random(12345);
    auto pick = [&](int low, int high, float scale) {
        return static_cast<float>(std::uniform_int_distribution<int>(low, high)(random)) / scale;
    };
    std::string line;
    for (std::size_t r = 0; r < rows; ++r) {
        line.clear();
        const float values[7] = {pick(50, 300, 100), pick(50, 400, 10),  pick(600, 800, 10),
                                 pick(650, 850, 10), pick(850, 950, 10), pick(-100, 400, 10),
                                 pick(120, 150, 10)};
        for (int i = 0; i < 7; ++i) {
            if (i > 0)
                line += ',';
            appendNumber(line, values[i]);
        }
        line += '\n';
        file << line;
    }
    return path;
}

struct InputFile {
    std::size_t rows = benchRows();
    std::string path = writeInputFile(rows);
    ~InputFile() { std::filesystem::remove(path); }
};

const InputFile& inputFile() {
    static const InputFile file;
    return file;
}

char* putShortest(char* out, float value) {
    if (std::isnan(value)) {
        std::memcpy(out, "nan", 3);
        return out + 3;
    }
    if (std::isinf(value)) {
        const char* text = value < 0 ? "-inf" : "inf";
        const std::size_t n = std::strlen(text);
        std::memcpy(out, text, n);
        return out + n;
    }
    return std::to_chars(out, out + 32, value).ptr;
}

// The least a program can do for the same result: columns in a known order, no quotes, no
// checks beyond from_chars; the cycle; its fields with to_chars into one buffered write.
std::size_t floorLoop(const std::string& path, std::FILE* sink) {
    std::FILE* in = std::fopen(path.c_str(), "rb");
    if (!in)
        return 0;
    std::vector<char> input(std::size_t{1} << 20);
    std::vector<char> output(std::size_t{1} << 18);
    std::size_t used = 0;
    std::size_t have = 0;
    std::size_t rows = 0;
    bool header = true;
    // The file's columns and the cycle's fields, placed once, outside the loop: a field the window
    // does not keep (the turbine inlet temperature) is written as its default.
    std::vector<float turbo::TurboFields::*> inputs;
    for (const char* key = kHeader; *key != '\n';) {
        const char* end = key + std::strcspn(key, ",\n");
        inputs.push_back(turbo::turboMember(std::string_view(key, end - key)));
        key = *end == ',' ? end + 1 : end;
    }
    std::string outHeader;
    std::vector<float turbo::TurboFields::*> outputs;
    std::vector<float> fixed;
    for (const auto& field : fields::kCycleFields) {
        outHeader += std::string(outHeader.empty() ? "" : ",") + std::string(field.key);
        outputs.push_back(turbo::turboMember(field.key));
        fixed.push_back(field.defaultValue);
    }
    outHeader += '\n';
    std::fwrite(outHeader.data(), 1, outHeader.size(), sink);
    for (;;) {
        const std::size_t got = std::fread(input.data() + have, 1, input.size() - have, in);
        have += got;
        const char* p = input.data();
        const char* const end = input.data() + have;
        for (;;) {
            const char* nl = static_cast<const char*>(std::memchr(p, '\n', end - p));
            if (!nl)
                break;
            if (header) {
                header = false;
                p = nl + 1;
                continue;
            }
            turbo::TurboFields f;
            for (const auto member : inputs)
                p = std::from_chars(p, nl, f.*member).ptr + 1;
            p = nl + 1;
            turbo::calcFullAnalysis(f);
            if (output.size() - used < outputs.size() * 16 + 1) {
                std::fwrite(output.data(), 1, used, sink);
                used = 0;
            }
            char* o = output.data() + used;
            for (std::size_t i = 0; i < outputs.size(); ++i) {
                o = putShortest(o, outputs[i] ? f.*outputs[i] : fixed[i]);
                *o++ = i + 1 == outputs.size() ? '\n' : ',';
            }
            used = static_cast<std::size_t>(o - output.data());
            ++rows;
        }
        have = static_cast<std::size_t>(end - p);
        std::memmove(input.data(), p, have);
        if (got == 0)
            break;
    }
    std::fwrite(output.data(), 1, used, sink);
    std::fflush(sink);
    std::fclose(in);
    return rows;
}

void BM_BatchFloor(benchmark::State& state) {
    const auto& file = inputFile();
    std::FILE* sink = std::fopen("/dev/null", "wb");
    for (auto _ : state)
        if (floorLoop(file.path, sink) != file.rows)
            fail(state, "the floor loop lost rows");
    std::fclose(sink);
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * file.rows));
}
BENCHMARK(BM_BatchFloor)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_BatchCsv(benchmark::State& state) {
    const auto& file = inputFile();
    std::ofstream sink("/dev/null", std::ios::binary);
    std::istringstream in;
    std::ostringstream err;
    const char* args[] = {"vorlaxen-calc", "cycle", "--input", file.path.c_str(), "--csv"};
    for (auto _ : state)
        if (cli::run(5, args, in, sink, err) != 0)
            fail(state, "vorlaxen-calc failed");
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * file.rows));
}
BENCHMARK(BM_BatchCsv)->Unit(benchmark::kMillisecond)->UseRealTime();

// Both paths must write the same bytes, or the comparison means nothing.
void BM_BatchOutputsAgree(benchmark::State& state) {
    const auto& file = inputFile();
    for (auto _ : state) {
        char* floorText = nullptr;
        std::size_t floorSize = 0;
        std::FILE* memory = open_memstream(&floorText, &floorSize);
        floorLoop(file.path, memory);
        std::fclose(memory);
        std::ostringstream real;
        std::istringstream in;
        std::ostringstream err;
        const char* args[] = {"vorlaxen-calc", "cycle", "--input", file.path.c_str(), "--csv"};
        cli::run(5, args, in, real, err);
        const bool same = real.str() == std::string_view(floorText, floorSize);
        std::free(floorText);
        if (!same)
            fail(state, "the floor and vorlaxen-calc wrote different bytes");
    }
}
BENCHMARK(BM_BatchOutputsAgree)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (failed)
        std::fprintf(stderr, "vorlaxen-bench: a check failed (see the error above)\n");
    return failed ? 1 : 0;
}
