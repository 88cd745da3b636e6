// Draws a map without a picture as a maker's sheet would show it, to a PNG, and prints the axis
// statements that calibrate that picture, for the map file:
//   vorlaxen-map-picture <map file> <png>
#include "map_file.hpp"
#include "map_painter.hpp"
#include "number_text.hpp"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <cstdio>

int main(int argc, char** argv) {
    QGuiApplication application(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: vorlaxen-map-picture <map file> <png>\n");
        return 2;
    }
    auto read = compmap::loadMap(argv[1]);
    if (read.error) {
        std::fprintf(stderr, "%s\n", read.error->text().c_str());
        return 1;
    }
    compmap::CompressorMap map = *read.map;
    map.picture.clear();
    const QSize size(compmap::MapGeometry::kSheetWidth, compmap::MapGeometry::kSheetHeight);
    const compmap::MapGeometry geometry(map, nullptr, {}, QRectF(QPointF(0, 0), QSizeF(size)));
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        compmap::paintMap(painter, geometry, map, nullptr, {});
    }
    if (!image.save(QString::fromLocal8Bit(argv[2]), "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", argv[2]);
        return 1;
    }
    const auto axis = [](const char* key, const compmap::AxisCalibration& a) {
        std::printf("%s %s %s %s %s\n", key, compmap::numberText(a.pixel1).c_str(),
                    compmap::numberText(a.value1).c_str(), compmap::numberText(a.pixel2).c_str(),
                    compmap::numberText(a.value2).c_str());
    };
    axis("flow-axis", geometry.flowAxis());
    axis("pressure-axis", geometry.pressureAxis());
    return 0;
}
