// The map view, offscreen: opening a map whose picture has a million pixels and drawing it with
// 10 candidates of 1,000 operating points each, held against a floor that reads the same picture
// and draws it and the same points with bare Qt (the same shapes, no map). Run with the
// RelWithDebInfo build:
//   vorlaxen-map-bench --benchmark_repetitions=10 --benchmark_enable_random_interleaving=true
// The goal: the view at most 1.3 times the floor.

#include "map_view.hpp"

#include <QApplication>
#include <QImage>
#include <QImageReader>
#include <QPainter>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cmath>
#include <fstream>
#include <memory>

namespace {

constexpr int kSide = 1000; // 1,000 x 1,000 pixels
constexpr int kCandidates = 10, kPoints = 1000;

// A picture that does not compress to nothing, a map calibrated on it, and the candidates.
struct Files {
    QTemporaryDir folder;
    QString map = folder.filePath("map.vxmap");
    QString picture = folder.filePath("sheet.png");
    std::vector<compmap::MapSeries> series;

    Files() {
        QImage image(kSide, kSide, QImage::Format_RGB32);
        for (int y = 0; y < kSide; ++y)
            for (int x = 0; x < kSide; ++x)
                image.setPixel(x, y, qRgb((x * 7 + y) % 256, (x ^ y) % 256, (x * y) % 256));
        image.save(picture);
        std::ofstream(map.toStdString()) << "picture sheet.png\nflow-axis 0 0 1000 100\n"
                                            "pressure-axis 1000 1 0 4\n";
        for (int c = 0; c < kCandidates; ++c) {
            compmap::MapSeries s{QStringLiteral("C%1").arg(c),
                                 QColor::fromHsv(c * 36, 255, 200),
                                 {},
                                 compmap::MapPoint{50.0f + c, 2.5f}};
            for (int i = 0; i < kPoints; ++i)
                s.sweep.push_back({float(10 + 0.08 * i + c), float(1.2 + 0.0025 * i)});
            series.push_back(std::move(s));
        }
    }
};
std::unique_ptr<Files> files;

void BM_MapView(benchmark::State& state) {
    compmap::MapView view;
    view.resize(1200, 1100);
    view.show();
    QImage target(view.canvas()->size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        QString problem;
        if (!view.openMap(files->map, {}, &problem))
            state.SkipWithError(problem.toStdString().c_str());
        view.setSeries(files->series);
        view.canvas()->render(&target);
    }
}
BENCHMARK(BM_MapView)->Unit(benchmark::kMillisecond)->UseRealTime();

// The same picture read and drawn scaled into the same area, and the same points drawn with the
// same shapes, their places computed inline.
void BM_MapViewFloor(benchmark::State& state) {
    compmap::MapView view;
    view.resize(1200, 1100);
    view.show();
    const QSize size = view.canvas()->size();
    QImage target(size, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        QImage picture;
        QImageReader(files->picture).read(&picture);
        QPainter painter(&target);
        painter.fillRect(target.rect(), Qt::white);
        painter.setRenderHint(QPainter::Antialiasing);
        const double scale = std::min(double(size.width()) / kSide, double(size.height()) / kSide);
        const QPointF origin((size.width() - kSide * scale) / 2,
                             (size.height() - kSide * scale) / 2);
        painter.drawImage(QRectF(origin, QSizeF(kSide * scale, kSide * scale)), picture);
        const auto place = [&](const compmap::MapPoint& p) {
            return origin + QPointF(p.flow * 10, 1000 - (p.pressureRatio - 1) * 1000 / 3) * scale;
        };
        for (const auto& s : files->series) {
            QPolygonF line;
            for (const auto& p : s.sweep)
                line << place(p);
            painter.setPen(QPen(s.colour, 1));
            painter.drawPolyline(line);
            painter.setPen(Qt::NoPen);
            painter.setBrush(s.colour);
            for (const QPointF& p : line)
                painter.drawEllipse(p, 2.5, 2.5);
            painter.setPen(QPen(Qt::black, 1.5));
            painter.drawEllipse(place(*s.design), 6, 6);
            painter.setBrush(Qt::NoBrush);
        }
    }
}
BENCHMARK(BM_MapViewFloor)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    files = std::make_unique<Files>();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    files.reset();
    return 0;
}
