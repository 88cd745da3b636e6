// The Design Explorer's chart, offscreen: an edited cell to the redrawn chart with 10
// candidates, a 1,000-point sweep and 3 plotted results, held against a floor that puts the same
// precomputed points into the same chart and renders it. Also the program's start, to the
// agreement on screen. Run with the RelWithDebInfo build:
//   vorlaxen-explorer-bench --benchmark_repetitions=10 --benchmark_enable_random_interleaving=true
// VX_START_PROBE names another build's start probe, to compare starts.
// The scale cases open a file of many candidates and edit one of them; run each alone, so that
// the peak memory it reports is its own:
//   vorlaxen-explorer-bench --benchmark_filter=BM_OpenMany/10000

#include "candidate_file.hpp"
#include "candidate_table.hpp"
#include "chart_panels.hpp"
#include "curve_chart.hpp"
#include "explorer_window.hpp"

#include <QApplication>
#include <QChart>
#include <QChartView>
#include <QImage>
#include <QLineEdit>
#include <QLineSeries>
#include <QListWidget>
#include <QTemporaryDir>
#include <QUndoStack>
#include <QVBoxLayout>
#include <QValueAxis>
#include <QXYSeries>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>

extern char** environ;

namespace {

// One window set up as the case describes, shared by the edit and the floor.
class Setup {
public:
    Setup() {
        window.resize(1400, 900);
        window.show();
        explorer::CandidateTable* table = window.candidates();
        while (table->rowCount() < 10)
            table->addCandidate();
        // Ten different wheels, so that no two lines coincide.
        for (int row = 0; row < 10; ++row)
            table->setData(table->index(row, table->column("inducer-diameter")),
                           QString::number(2.5 + 0.1 * row), Qt::EditRole);
        window.sweepToBox()->setText(QStringLiteral("49.95"));
        window.sweepStepBox()->setText(QStringLiteral("0.05")); // 1,000 points from 0
        emit window.sweepStepBox()->editingFinished();
        QListWidget* results = window.resultsList();
        for (int i = 0; i < results->count(); ++i) {
            const QString key = results->item(i)->data(Qt::UserRole).toString();
            const bool plotted = key == QLatin1String("thrust") ||
                                 key == QLatin1String("turbine-outlet-temp") ||
                                 key == QLatin1String("nozzle-diameter");
            results->item(i)->setCheckState(plotted ? Qt::Checked : Qt::Unchecked);
        }
        window.undoStack()->clear();
        window.undoStack()->setUndoLimit(50); // thousands of edits in a run
        QApplication::processEvents();
    }

    // The edit: the first candidate's inducer diameter, between two values.
    void edit(bool second) {
        explorer::CandidateTable* table = window.candidates();
        table->setData(table->index(0, table->column("inducer-diameter")),
                       second ? QStringLiteral("3.1") : QStringLiteral("3"), Qt::EditRole);
    }

    // Lays out and paints the chart as the screen would.
    void render() {
        QApplication::processEvents();
        image = window.chart()->grab().toImage();
        benchmark::DoNotOptimize(image.constBits());
    }

    ExplorerWindow window;
    QImage image;
};

// Made when a case first needs it, and gone before the application object is.
std::unique_ptr<Setup> shared;

Setup& setup() {
    if (!shared)
        shared = std::make_unique<Setup>();
    return *shared;
}

void BM_EditToChart(benchmark::State& state) {
    Setup& s = setup();
    std::size_t points = 0;
    bool second = false;
    for (auto _ : state) {
        s.edit(second = !second);
        s.render();
    }
    for (int p = 0; p < s.window.chart()->panelCount(); ++p)
        for (auto* series : s.window.chart()->chart(p)->series())
            points += static_cast<std::size_t>(static_cast<QXYSeries*>(series)->count());
    state.counters["points"] = static_cast<double>(points);
    // The chart's size, so that a floor can be drawn at it.
    state.counters["chart_width"] = s.window.chart()->width();
    state.counters["chart_height"] = s.window.chart()->height();
}
BENCHMARK(BM_EditToChart)->Unit(benchmark::kMillisecond)->UseRealTime();

// The same two charts, computed once beforehand: only filling the series and rendering remain.
void BM_EditToChartFloor(benchmark::State& state) {
    Setup& s = setup();
    explorer::CurveRequest request;
    request.from = 0;
    request.to = 49.95;
    request.step = 0.05;
    request.results = {explorer::EngineResult::TurbineOutletTemp,
                       explorer::EngineResult::NozzleDiameter, explorer::EngineResult::Thrust};
    std::vector<explorer::ChartPanel> panels[2];
    for (int i = 0; i < 2; ++i) {
        s.edit(i == 1);
        s.window.candidates()->setRequest(request);
        panels[i] = explorer::chartPanels(s.window.candidates()->workspace());
    }
    const QString title = QStringLiteral("P2 (psig)");
    bool second = false;
    for (auto _ : state) {
        second = !second;
        s.window.chart()->plot(title, 0, 49.95, panels[second ? 1 : 0]);
        s.render();
    }
}
BENCHMARK(BM_EditToChartFloor)->Unit(benchmark::kMillisecond)->UseRealTime();

// The bare floor: three plain QChartViews stacked in a widget of the chart's size, each with one
// default line series per candidate holding the same points, refilled by replace() and grabbed.
void BM_EditToChartBareFloor(benchmark::State& state) {
    Setup& s = setup();
    explorer::CurveRequest request;
    request.from = 0;
    request.to = 49.95;
    request.step = 0.05;
    request.results = {explorer::EngineResult::TurbineOutletTemp,
                       explorer::EngineResult::NozzleDiameter, explorer::EngineResult::Thrust};
    std::vector<explorer::ChartPanel> panels[2];
    for (int i = 0; i < 2; ++i) {
        s.edit(i == 1);
        s.window.candidates()->setRequest(request);
        panels[i] = explorer::chartPanels(s.window.candidates()->workspace());
    }
    QWidget floor;
    auto* layout = new QVBoxLayout(&floor);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    std::vector<std::vector<QLineSeries*>> series(panels[0].size());
    for (std::size_t p = 0; p < panels[0].size(); ++p) {
        auto* chart = new QChart;
        auto* x = new QValueAxis;
        auto* y = new QValueAxis;
        chart->addAxis(x, Qt::AlignBottom);
        chart->addAxis(y, Qt::AlignLeft);
        x->setRange(0, 49.95);
        double low = 1e300, high = -1e300;
        for (const auto& curve : panels[0][p].curves) {
            auto* line = new QLineSeries;
            chart->addSeries(line);
            line->attachAxis(x);
            line->attachAxis(y);
            series[p].push_back(line);
            for (const auto& segment : curve.segments)
                for (const QPointF& point : segment) {
                    low = std::min(low, point.y());
                    high = std::max(high, point.y());
                }
        }
        y->setRange(low, high);
        auto* view = new QChartView(chart);
        view->setRenderHint(QPainter::Antialiasing);
        layout->addWidget(view);
    }
    floor.resize(s.window.chart()->size());
    floor.show();
    QApplication::processEvents();
    QImage image;
    bool second = false;
    for (auto _ : state) {
        second = !second;
        const auto& data = panels[second ? 1 : 0];
        for (std::size_t p = 0; p < data.size(); ++p)
            for (std::size_t c = 0; c < data[p].curves.size(); ++c)
                series[p][c]->replace(data[p].curves[c].segments.empty()
                                          ? QList<QPointF>()
                                          : data[p].curves[c].segments.front());
        QApplication::processEvents();
        image = floor.grab().toImage();
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_EditToChartBareFloor)->Unit(benchmark::kMillisecond)->UseRealTime();

// The largest resident size since the last reset, in MB (Linux's VmHWM).
double peakMegabytes() {
    std::ifstream status("/proc/self/status");
    std::string word;
    while (status >> word)
        if (word == "VmHWM:") {
            double kb = 0;
            status >> kb;
            return kb / 1024.0;
        }
    return 0;
}

void resetPeak() {
    std::ofstream("/proc/self/clear_refs") << "5";
}

// A candidates file of `count` different wheels, written once per count.
std::string manyCandidates(int count) {
    const std::string file = "/tmp/vx-explorer-bench-" + std::to_string(count) + ".csv";
    std::vector<explorer::Candidate> list;
    for (int i = 0; i < count; ++i) {
        explorer::Candidate c("Wheel " + std::to_string(i + 1));
        c[explorer::EngineInput::InducerDiameter] =
            explorer::Cell::number(2.0f + 0.0001f * static_cast<float>(i));
        list.push_back(std::move(c));
    }
    explorer::saveCandidates(file, list);
    return file;
}

// Opening a file of many candidates until the window has drawn them: table and chart.
void BM_OpenMany(benchmark::State& state) {
    const std::string file = manyCandidates(static_cast<int>(state.range(0)));
    double peak = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto window = std::make_unique<ExplorerWindow>();
        window->resize(1400, 900);
        window->show();
        QApplication::processEvents();
        resetPeak();
        state.ResumeTiming();
        window->openFile(QString::fromStdString(file));
        QApplication::processEvents();
        benchmark::DoNotOptimize(window->grab().toImage().constBits());
        state.PauseTiming();
        peak = std::max(peak, peakMegabytes());
        window.reset();
        state.ResumeTiming();
    }
    state.counters["peak_MB"] = peak;
}
BENCHMARK(BM_OpenMany)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->UseRealTime();

// One typed cell among many candidates, until the window has drawn the change.
void BM_EditAmongMany(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    const std::string file = manyCandidates(count);
    ExplorerWindow window;
    window.resize(1400, 900);
    window.show();
    window.openFile(QString::fromStdString(file));
    QApplication::processEvents();
    explorer::CandidateTable* table = window.candidates();
    const QModelIndex cell = table->index(count / 2, table->column("hub-diameter"));
    bool second = false;
    for (auto _ : state) {
        second = !second;
        table->setData(cell, second ? QStringLiteral("1.1") : QStringLiteral("1.2"), Qt::EditRole);
        QApplication::processEvents();
        benchmark::DoNotOptimize(window.grab().toImage().constBits());
    }
    state.counters["peak_MB"] = peakMegabytes();
}
BENCHMARK(BM_EditAmongMany)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->UseRealTime();

// The whole program from process start until the agreement has been painted, offscreen.
void BM_ProgramStart(benchmark::State& state) {
    const char* chosen = std::getenv("VX_START_PROBE");
    const std::string probe = chosen ? chosen : VX_START_PROBE;
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e)
        env.emplace_back(*e);
    env.emplace_back("QT_QPA_PLATFORM=offscreen");
    std::vector<char*> envp;
    for (auto& e : env)
        envp.push_back(e.data());
    envp.push_back(nullptr);
    std::string arg0 = probe;
    char* argv[] = {arg0.data(), nullptr};
    double cpuSeconds = 0;
    for (auto _ : state) {
        pid_t pid = 0;
        if (posix_spawn(&pid, probe.c_str(), nullptr, nullptr, argv, envp.data()) != 0) {
            state.SkipWithError("cannot start the probe");
            return;
        }
        int status = 0;
        rusage usage{};
        wait4(pid, &status, 0, &usage);
        cpuSeconds += double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                      double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            state.SkipWithError("the agreement never showed");
            return;
        }
    }
    // The probe's own processor time, less disturbed by a busy machine than the wall clock.
    state.counters["cpu_ms"] = benchmark::Counter(cpuSeconds * 1e3 / double(state.iterations()));
}
BENCHMARK(BM_ProgramStart)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // The explorer remembers its sweep and recent files: here, never in the user's settings.
    QTemporaryDir settings;
    qputenv("XDG_CONFIG_HOME", settings.path().toLocal8Bit());
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    shared.reset();
    return 0;
}
