#pragma once
// Draws a compressor map: the maker's picture (or, without one, a plain sheet with axes drawn from
// the traced lines), the traced lines with their labels, and the candidates' operating points.
// One painter for the screen, the exported pictures and the demonstration map's own picture.

#include "compressor_map.hpp"

#include <QColor>
#include <QImage>
#include <QPointF>
#include <QRectF>
#include <QString>

#include <optional>
#include <span>
#include <vector>

class QPainter;

namespace compmap {

// One candidate's points on the map: its sweep as a line of points, its own P2 as a marked point.
struct MapSeries {
    QString name;
    QColor colour;
    std::vector<MapPoint> sweep;
    std::optional<MapPoint> design;
};

// Between the picture's pixels and the map's values, and between the picture and the area it is
// drawn in (scaled to fit, its shape kept, centred).
class MapGeometry {
public:
    // Without a picture the sheet is drawn here, with axes fitted to the map's lines and points.
    static constexpr int kSheetWidth = 1000, kSheetHeight = 720;

    MapGeometry(const CompressorMap& map, const QImage* picture, std::span<const MapSeries> series,
                const QRectF& area);

    bool hasPicture() const { return hasPicture_; }
    // Values can be placed: both axes calibrated, or no picture (the plain sheet).
    bool calibrated() const { return flow_.valid() && pressure_.valid(); }
    const AxisCalibration& flowAxis() const { return flow_; }
    const AxisCalibration& pressureAxis() const { return pressure_; }
    QRectF sheet() const { return sheet_; } // where the picture is drawn
    QRectF plot() const;                    // the plain sheet's axes box, in picture pixels

    QPointF toArea(QPointF pixel) const;
    QPointF toPixel(QPointF areaPoint) const;
    QPointF toArea(const MapPoint& point) const; // needs calibrated()
    MapPoint toMap(QPointF areaPoint) const;     // needs calibrated()

private:
    bool hasPicture_;
    QSizeF pictureSize_;
    QRectF sheet_;
    double scale_ = 1;
    AxisCalibration flow_, pressure_;
};

// What is drawn besides the map itself.
struct MapOverlay {
    std::span<const MapSeries> series;
    const MapLine* draft = nullptr;     // a line being traced
    std::optional<QPointF> pendingMark; // a calibration click awaiting its value, in pixels
};

void paintMap(QPainter& painter, const MapGeometry& geometry, const CompressorMap& map,
              const QImage* picture, const MapOverlay& overlay);

} // namespace compmap
