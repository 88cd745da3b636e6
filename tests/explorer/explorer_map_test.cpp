// A candidate on its turbocharger's map, as a person makes the map in the Design Explorer: the
// candidates file names a map that is only a picture; the user calibrates it and traces the surge
// line in its tab, and the table's row shows the surge margin at once.
#include "candidate_file.hpp"
#include "candidate_table.hpp"
#include "design_sheet.hpp"
#include "digitizer_import_dialog.hpp"
#include "explorer_window.hpp"
#include "map_panel.hpp"
#include "map_view.hpp"
#include "number_text.hpp"
#include "window_driver.hpp"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>
#include <QTimer>
#include <QUndoStack>

#include <gtest/gtest.h>

#include <fstream>

using namespace window_test;

namespace {

// The demonstration picture's grid: flow 0 to 140 lb/min from x 80 to 972, ratio 1 to 4.5 from
// y 658 to 24.
QPointF pixelOf(double flow, double ratio) {
    return {80 + flow / 140 * 892, 658 - (ratio - 1) / 3.5 * 634};
}

void clickPixel(compmap::MapView& view, QPointF pixel) {
    QTest::mouseClick(view.canvas(), Qt::LeftButton, {}, view.canvasPosition(pixel).toPoint());
}

void trigger(compmap::MapView& view, const char* action) {
    view.findChild<QAction*>(QString::fromLatin1(action))->trigger();
}

TEST(ExplorerMap, CalibrateTraceAndTheRowShowsTheFigures) {
    QTemporaryDir dir;
    const std::filesystem::path folder = dir.path().toStdString();
    ASSERT_TRUE(QFile::copy(QStringLiteral(VX_DEMO_MAP_PICTURE), dir.filePath("sheet.png")));
    std::ofstream(folder / "turbo.vxmap") << "picture sheet.png\n";
    auto candidates = explorer::startingCandidates();
    candidates[0].map = "turbo.vxmap";
    ASSERT_FALSE(explorer::saveCandidates(folder / "engines.csv", candidates));

    ExplorerWindow w;
    w.resize(1800, 1000);
    runModal(w, [&] {
        ASSERT_TRUE(w.openFile(dir.filePath("engines.csv")));
        compmap::MapView* view = w.maps()->view(folder / "turbo.vxmap");
        ASSERT_TRUE(view);
        w.maps()->setCurrentWidget(view);
        QApplication::processEvents();
        const auto margin = [&](int row) {
            return w.candidates()
                ->index(row, w.candidates()->column("surge-margin"))
                .data()
                .toString();
        };
        EXPECT_EQ(margin(0), ""); // a picture alone has no surge line

        trigger(*view, "calibrateFlow");
        for (const auto& [flow, typed] : {std::pair{20.0, "20"}, {120.0, "120"}}) {
            clickPixel(*view, pixelOf(flow, 1));
            typeInto(view->valueBox(), typed);
            pressKey(view->valueBox(), Qt::Key_Return);
        }
        trigger(*view, "calibratePressure");
        for (const auto& [ratio, typed] : {std::pair{1.5, "1.5"}, {4.0, "4"}}) {
            clickPixel(*view, pixelOf(0, ratio));
            typeInto(view->valueBox(), typed);
            pressKey(view->valueBox(), Qt::Key_Return);
        }
        trigger(*view, "traceSurge");
        for (const double n : {0.5, 0.75, 1.0}) // the picture's surge line at three speeds
            clickPixel(*view, pixelOf(70 * n, 1 + 2.9 * n * n));
        trigger(*view, "finishLine");

        // At the defaults (84.6 lb/min, ratio 3.17687) the traced line, straight from
        // (52.5, 2.63125) to (70, 3.9), is at 52.5 + 0.54562 / 1.26875 x 17.5 = 60.03 lb/min:
        // a margin of (84.6 - 60.03) / 84.6 = 29.05 %. The second candidate has no map.
        // Clicks land on whole screen pixels, each worth about 0.3 lb/min here.
        const auto shown = fields::parseFloat(margin(0).toStdString());
        ASSERT_TRUE(shown) << margin(0).toStdString();
        EXPECT_NEAR(*shown, 29.05, 0.6);
        EXPECT_EQ(margin(1), "");
        EXPECT_EQ(w.candidates()->index(0, w.candidates()->column("corrected-flow")).data(),
                  "84.6");

        // Undoing the surge line takes the figure away again.
        trigger(*view, "undo");
        EXPECT_EQ(margin(0), "");

        // Saved into a folder of its own, the file still finds the map.
        ASSERT_TRUE(QDir(dir.path()).mkdir("copy"));
        ASSERT_TRUE(w.saveTo(dir.filePath("copy/engines.csv")));
        EXPECT_EQ(w.candidates()->index(0, w.candidates()->column("map")).data(), "../turbo.vxmap");
        EXPECT_EQ(w.candidates()->index(0, w.candidates()->column("corrected-flow")).data(),
                  "84.6");
        EXPECT_EQ(w.maps()->count(), 2); // the same map's tab, not a second one
        // The calibration is still unsaved work until the map is saved.
        EXPECT_TRUE(w.windowTitle().contains('*'));
        ASSERT_TRUE(w.maps()->save(view, false));
        EXPECT_FALSE(w.windowTitle().contains('*'));
    });
}

// The demonstration map puts the defaults in its 65 % island. Ticking "efficiency from map" on
// a candidate typed at 70 % gives the figures of one typed at 65 %; below every island the row
// has none, and says why.
TEST(ExplorerMap, EfficiencyFromTheMap) {
    QTemporaryDir dir;
    const std::filesystem::path folder = dir.path().toStdString();
    std::filesystem::copy_file(VX_DEMO_MAP, folder / "demo.vxmap");
    std::vector<explorer::Candidate> candidates(2);
    candidates[0].map = candidates[1].map = "demo.vxmap";
    candidates[1][turbo::EngineInput::CompEfficiency] = explorer::Cell::number(65);
    ASSERT_FALSE(explorer::saveCandidates(folder / "engines.csv", candidates));

    ExplorerWindow w;
    w.resize(1800, 1000);
    runModal(w, [&] {
        ASSERT_TRUE(w.openFile(dir.filePath("engines.csv")));
        auto* model = w.candidates();
        const auto cell = [&](int row, std::string_view key) {
            return model->index(row, model->column(key));
        };
        const auto thrust = [&](int row) { return cell(row, "thrust").data().toString(); };
        ASSERT_NE(thrust(0), thrust(1));

        // Clicking the box, as a person ticks it.
        QTableView* table = w.table();
        const QModelIndex box = cell(0, "efficiency-from-map");
        table->scrollTo(box);
        const QRect rect = table->visualRect(box);
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {},
                          QPoint(rect.left() + 10, rect.center().y()));
        ASSERT_EQ(box.data(Qt::CheckStateRole).toInt(), Qt::Checked);
        EXPECT_EQ(thrust(0), thrust(1));
        EXPECT_EQ(cell(0, "comp-temp-rise").data(), cell(1, "comp-temp-rise").data());
        EXPECT_EQ(cell(0, "comp-efficiency").data().toString(), "65");
        EXPECT_EQ(cell(0, "comp-efficiency").data(Qt::ToolTipRole).toString(),
                  "From the map: 65 %");

        // At 0.5 psig the point is below every island.
        model->setData(cell(0, "p2"), "0.5", Qt::EditRole);
        EXPECT_EQ(thrust(0), "");
        EXPECT_NE(model->rowNote(0).indexOf("outside every efficiency island"), -1)
            << model->rowNote(0).toStdString();

        w.undoStack()->undo();
        w.undoStack()->undo();
        EXPECT_EQ(box.data(Qt::CheckStateRole).toInt(), Qt::Unchecked);
        EXPECT_NE(thrust(0), thrust(1));
    });
}

// The design sheet gives each map with candidates on it a page: here the one map the first
// candidate names, with its point at the defaults (84.6 lb/min, ratio 3.17687, worked out in the
// command line's test); the second candidate has no map.
TEST(ExplorerMap, DesignSheetHasAPageForTheMap) {
    QTemporaryDir dir;
    const std::filesystem::path folder = dir.path().toStdString();
    std::filesystem::copy_file(VX_DEMO_MAP, folder / "demo.vxmap");
    auto candidates = explorer::startingCandidates();
    candidates[0].map = "demo.vxmap";
    ASSERT_FALSE(explorer::saveCandidates(folder / "engines.csv", candidates));

    ExplorerWindow w;
    w.resize(1800, 1000);
    runModal(w, [&] {
        ASSERT_TRUE(w.openFile(dir.filePath("engines.csv")));
        const auto maps = w.maps()->sheetMaps();
        ASSERT_EQ(maps.size(), 1u);
        ASSERT_EQ(maps[0].series.size(), 1u);
        ASSERT_TRUE(maps[0].series[0].design);
        EXPECT_FLOAT_EQ(maps[0].series[0].design->flow, 84.6f);
        EXPECT_NEAR(maps[0].series[0].design->pressureRatio, 3.17687, 1e-5);

        explorer::DesignSheet sheet(*w.candidates(), *w.chart(), "engines.csv", maps);
        const QSizeF page(523, 770); // A4 within 12 mm margins, in points
        const auto pages = sheet.layout(page);
        ASSERT_GE(pages.size(), 2u);
        const auto& last = pages.back();
        ASSERT_EQ(last.size(), 3u);
        EXPECT_NE(last[0].text->toPlainText().indexOf("demo.vxmap"), -1);
        EXPECT_EQ(last[1].map, 0);
        // Under the map, the legend names the candidate on it.
        EXPECT_NE(
            last[2].text->toPlainText().indexOf(w.candidates()->index(0, 0).data().toString()), -1);
        EXPECT_GE(last[2].place.top(), last[1].place.bottom());
        EXPECT_LE(last[2].place.bottom(), page.height());
    });
}

// Opening a digitizer's export asks its unit and reference; a box without a number above zero
// keeps the question open.
TEST(ExplorerMap, DigitizerExportAsksItsUnitAndReference) {
    QTemporaryDir dir;
    const std::filesystem::path file = dir.filePath("wpd.csv").toStdString();
    std::ofstream(file) << "surge,\nX,Y\n0.2,1\n0.3,3\n";
    ExplorerWindow w;
    runModal(w, [&] {
        bool refused = false;
        QTimer::singleShot(0, [&] {
            auto* ask =
                qobject_cast<explorer::DigitizerImportDialog*>(QApplication::activeModalWidget());
            ASSERT_TRUE(ask);
            ask->unitBox()->setCurrentText("kg/s");
            typeInto(ask->temperatureBox(), "0");
            ask->accept();
            refused = ask->isVisible();
            typeInto(ask->temperatureBox(), "298");
            typeInto(ask->pressureBox(), "14.5038");
            ask->accept();
        });
        compmap::MapView* view = w.maps()->openFile(file);
        ASSERT_TRUE(view);
        EXPECT_TRUE(refused);
        EXPECT_EQ(view->map().flowUnit, compmap::FlowUnit::KgPerS);
        EXPECT_EQ(view->map().referenceTemperature, 298.0f);
        EXPECT_EQ(view->map().referencePressure, 14.5038f);
        // The CSV cannot keep what was typed: the tab is unsaved until it is saved as a map file.
        EXPECT_TRUE(w.maps()->tabText(w.maps()->indexOf(view)).endsWith('*'));
        w.maps()->closeStale(w.maps()->openViews()); // set aside unasked
    });
}

} // namespace
