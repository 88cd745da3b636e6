// A person makes the demonstration map's picture into a map: calibrates both axes by clicking
// its labelled grid lines and typing their values, traces the surge line and an island by
// clicking along them, and reads the figures; then takes the steps back.
#include "map_view.hpp"
#include "matching.hpp"
#include "window_driver.hpp"

#include <QAction>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QUndoStack>

#include <gtest/gtest.h>

using namespace compmap;
using namespace window_test;

namespace {

const QString kPicture = QStringLiteral(VX_DEMO_MAP_PICTURE);

void trigger(MapView& view, const char* action) {
    view.findChild<QAction*>(QString::fromLatin1(action))->trigger();
}

void clickPixel(MapView& view, QPointF pixel) {
    QTest::mouseClick(view.canvas(), Qt::LeftButton, {}, view.canvasPosition(pixel).toPoint());
}

// The picture's grid: flow 0 to 140 lb/min from x 80 to 972, ratio 1 to 4.5 from y 658 to 24.
QPointF pixelOf(double flow, double ratio) {
    return {80 + flow / 140 * 892, 658 - (ratio - 1) / 3.5 * 634};
}

TEST(MapView, CalibrateTraceAndReadTheFigures) {
    QTemporaryDir folder;
    MapView view;
    view.resize(1100, 900);
    view.show();
    view.setMap({}, folder.path());
    QString problem;
    ASSERT_TRUE(view.openPicture(kPicture, &problem)) << problem.toStdString();

    trigger(view, "calibrateFlow");
    for (const auto& [flow, typed] : {std::pair{20.0, "20"}, {120.0, "120"}}) {
        clickPixel(view, pixelOf(flow, 1));
        typeInto(view.valueBox(), typed);
        pressKey(view.valueBox(), Qt::Key_Return);
    }
    trigger(view, "calibratePressure");
    for (const auto& [ratio, typed] : {std::pair{1.5, "1.5"}, {4.0, "4"}}) {
        clickPixel(view, pixelOf(0, ratio));
        typeInto(view.valueBox(), typed);
        pressKey(view.valueBox(), Qt::Key_Return);
    }
    ASSERT_TRUE(view.map().flowAxis && view.map().pressureAxis);
    // Clicks land on whole screen pixels: a value is off by at most about a pixel's worth.
    const double flowPixel = 140.0 / 892 * 2, ratioPixel = 3.5 / 634 * 2;
    EXPECT_NEAR(view.map().flowAxis->valueAt(pixelOf(60, 1).x()), 60, flowPixel);
    EXPECT_NEAR(view.map().pressureAxis->valueAt(pixelOf(0, 3).y()), 3, ratioPixel);

    // The surge line through flow 70 n and ratio 1 + 2.9 n^2 (n = 0.5 ... 1), as drawn.
    trigger(view, "traceSurge");
    for (const double n : {0.5, 0.75, 1.0})
        clickPixel(view, pixelOf(70 * n, 1 + 2.9 * n * n));
    trigger(view, "finishLine");
    // A square island around flow 80, ratio 2.6.
    trigger(view, "traceIsland");
    for (const auto& [flow, ratio] : {std::pair{70.0, 2.4}, {90.0, 2.4}, {90.0, 2.8}, {70.0, 2.8}})
        clickPixel(view, pixelOf(flow, ratio));
    typeInto(view.valueBox(), "77");
    pressKey(view.valueBox(), Qt::Key_Return);
    ASSERT_EQ(view.map().lines.size(), 2u);
    EXPECT_EQ(view.map().lines[1].value, 77.0f);

    // At 80 lb/min and ratio 2.45: the surge line, straight between n = 0.5 and 0.75, is at flow
    // 35 + (2.45 - 1.725) / (2.63125 - 1.725) x 17.5 = 49.0 and the margin (80 - 49) / 80 = 38.8 %.
    const auto f = matchCorrected(view.map(), 80, 2.45f);
    EXPECT_NEAR(*f.surgeMargin, 38.8, 0.5);
    EXPECT_EQ(f.efficiency, 77.0f);
    EXPECT_FALSE(matchCorrected(view.map(), 95, 2.45f).efficiency);
    EXPECT_TRUE(view.valuesAt(view.canvasPosition(pixelOf(80, 2.45))).contains("efficiency 77 %"));

    // Every step goes back: the island, its points, the surge line, its points, the axes' points.
    EXPECT_EQ(view.undoStack()->count(), 1 + 4 + 3 + 1 + 4 + 1); // the picture first
    trigger(view, "undo");
    EXPECT_EQ(view.map().lines.size(), 1u);
    ASSERT_TRUE(view.state().draft);
    EXPECT_EQ(view.state().draft->points.size(), 4u);
    view.undoStack()->setIndex(1);
    EXPECT_TRUE(view.map().lines.empty());
    EXPECT_FALSE(view.map().flowAxis || view.map().pressureAxis || view.state().draft);
    trigger(view, "redo");
    EXPECT_TRUE(view.state().flowMark);

    const QString png = folder.filePath("map.png"), svg = folder.filePath("map.svg");
    EXPECT_TRUE(view.exportTo(png, &problem)) << problem.toStdString();
    EXPECT_EQ(QImage(png).size(), QImage(kPicture).size());
    EXPECT_TRUE(view.exportTo(svg, &problem)) << problem.toStdString();
}

} // namespace
