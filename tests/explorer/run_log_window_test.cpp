// A candidate's run log in the Design Explorer: its points on the chart in the candidate's colour,
// measured against predicted, a fit, and the calibrated copy it offers.
#include "candidate_table.hpp"
#include "curve_chart.hpp"
#include "explorer_window.hpp"
#include "looks.hpp"
#include "run_log_window.hpp"
#include "window_driver.hpp"

#include <QChart>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QScatterSeries>
#include <QSettings>
#include <QTableView>
#include <QTableWidget>
#include <QUndoStack>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <unistd.h>

using namespace window_test;

namespace {

QScatterSeries* markersOf(explorer::CurveChart* chart) {
    for (auto* series : chart->chart(0)->series())
        if (auto* scatter = qobject_cast<QScatterSeries*>(series);
            scatter && scatter->isVisible() && scatter->objectName() == "runMarkers")
            return scatter;
    return nullptr;
}

TEST(RunLogInExplorer, MarkersTableFitAndCalibratedCopy) {
    QSettings("Vorlaxen Designer", "Design Explorer").clear();
    ExplorerWindow w;
    runModal(w, [&] {
        auto* model = w.candidates();
        ASSERT_TRUE(explorer::openRunLog(&w, 0, QStringLiteral(VX_EXAMPLE_RUN_LOG)));
        // The shipped log's nine thrust points on the thrust panel, in the first row's colour.
        QScatterSeries* markers = markersOf(w.chart());
        ASSERT_NE(markers, nullptr);
        EXPECT_EQ(markers->count(), 9);
        EXPECT_EQ(markers->color(), explorer::lookColour(model->look(0)));
        // 0.45 bar is 6.52671 psig; 73.9 N is 16.6134 lbf.
        EXPECT_NEAR(markers->at(0).x(), 6.52671, 1e-4);
        EXPECT_NEAR(markers->at(0).y(), 16.6134, 1e-4);

        EXPECT_TRUE(explorer::measuredSheetHtml(*model).contains(">16.6134<")); // design sheet

        explorer::RunLogWindow run(model, 0, &w);
        QTableWidget* table = run.table();
        ASSERT_EQ(table->rowCount(), 18);          // thrust and fuel flow at each of nine points
        EXPECT_EQ(table->item(0, 0)->text(), "2"); // the log's line
        EXPECT_EQ(table->item(0, 2)->text(), "16.6134");
        EXPECT_NEAR(table->item(0, 4)->text().toDouble(),
                    table->item(0, 3)->text().toDouble() / 16.6134, 1e-5);
        EXPECT_TRUE(table->item(0, 5)->text().isEmpty()); // no fit yet
        // The errors against P2: a series of nine for thrust, one for fuel flow, and the zero line.
        const auto series = run.residualChart()->series();
        ASSERT_EQ(series.size(), 3);
        EXPECT_EQ(series[0]->name(), "Thrust");
        const auto* thrust = qobject_cast<QScatterSeries*>(series[0]);
        ASSERT_EQ(thrust->count(), 9);
        EXPECT_NEAR(thrust->at(0).x(), 6.52671, 1e-4);
        EXPECT_NEAR(thrust->at(0).y(), (table->item(0, 4)->text().toDouble() - 1) * 100, 1e-3);

        click(run.fitChoice(*runs::assumptionFromKey("nozzle-efficiency")));
        click(run.fitButton());
        const QString text = run.fitText()->text();
        EXPECT_TRUE(text.startsWith("Nozzle Efficiency: ")) << text.toStdString();
        EXPECT_TRUE(text.contains(QString::fromUtf8(" \u00b1 "))) << text.toStdString();
        EXPECT_TRUE(text.contains("Degrees of freedom: 17;")) << text.toStdString(); // 18 - 1
        EXPECT_FALSE(table->item(0, 5)->text().isEmpty());
        EXPECT_EQ(run.residualChart()->title(), "Error after the fit against P2");
        ASSERT_TRUE(run.copyButton()->isEnabled());

        const int rows = model->rowCount();
        click(run.copyButton());
        ASSERT_EQ(model->rowCount(), rows + 1);
        const auto& copy = model->candidateList()[1];
        EXPECT_EQ(copy.name, model->candidateList()[0].name + " (calibrated)");
        EXPECT_NE(copy[turbo::EngineInput::NozzleEfficiency].value, 90.0f);
        EXPECT_EQ(copy.runLog, model->candidateList()[0].runLog);

        // Undo takes back the copy, then the log and its markers.
        w.undoStack()->undo();
        w.undoStack()->undo();
        EXPECT_FALSE(model->candidateList()[0].runLog);
        EXPECT_EQ(markersOf(w.chart()), nullptr);
    });
}

TEST(RunLogInExplorer, ABadLogIsRefusedAndChangesNothing) {
    ExplorerWindow w;
    runModal(w, [&] {
        PopupWatcher watcher;
        EXPECT_FALSE(explorer::openRunLog(&w, 0, QStringLiteral("/nonexistent/run.csv")));
        ASSERT_EQ(watcher.messages().size(), 1);
        EXPECT_TRUE(watcher.messages()[0].contains("/nonexistent/run.csv: cannot open"));
        EXPECT_FALSE(w.candidates()->candidateList()[0].runLog);
        EXPECT_EQ(w.undoStack()->count(), 0);
    });
}

// Saved with its candidates the log is named from the file's folder, read again on opening; a log
// gone missing is named in the message and its candidate opens without points, keeping the name.
TEST(RunLogInExplorer, TheLogIsKeptWithTheCandidatesFile) {
    namespace fs = std::filesystem;
    const fs::path dir = fs::temp_directory_path() / ("vx-runlog-" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir / "logs");
    fs::create_directories(dir / "designs");
    fs::copy_file(VX_EXAMPLE_RUN_LOG, dir / "logs" / "bench.csv");
    const QString file = QString::fromStdString((dir / "designs" / "c.csv").string());
    {
        ExplorerWindow w;
        ASSERT_TRUE(explorer::openRunLog(
            &w, 1, QString::fromStdString((dir / "logs" / "bench.csv").string())));
        QString problem;
        ASSERT_TRUE(w.candidates()->save(file, &problem)) << problem.toStdString();
    }
    std::ifstream saved(dir / "designs" / "c.csv");
    const std::string text{std::istreambuf_iterator<char>(saved), {}};
    EXPECT_NE(text.find(",../logs/bench.csv\n"), std::string::npos) << text;

    ExplorerWindow again;
    QString problem, note;
    ASSERT_TRUE(again.candidates()->load(file, &problem, &note));
    const auto& list = again.candidates()->candidateList();
    ASSERT_TRUE(list.at(1).runLog);
    EXPECT_EQ(list[1].runLog->points.size(), 9u);
    EXPECT_FALSE(list[0].runLog);
    EXPECT_TRUE(note.isEmpty()) << note.toStdString();

    fs::remove(dir / "logs" / "bench.csv");
    ASSERT_TRUE(again.candidates()->load(file, &problem, &note));
    EXPECT_TRUE(note.contains("bench.csv: cannot open")) << note.toStdString();
    EXPECT_FALSE(again.candidates()->candidateList().at(1).runLog);
    EXPECT_EQ(again.candidates()->candidateList()[1].runLogFile, "../logs/bench.csv");
    fs::remove_all(dir);
}

} // namespace
