#include "map_painter.hpp"

#include "matching.hpp"
#include "number_text.hpp"

#include <QCoreApplication>
#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

#include <algorithm>
#include <cmath>

namespace compmap {

namespace {

// The plain sheet's axes box inside its 1000 x 720 pixels: room for the tick labels and titles.
const QRectF kPlot(QPointF(80, 24),
                   QPointF(MapGeometry::kSheetWidth - 28, MapGeometry::kSheetHeight - 62));

QString tickText(float value) {
    return QString::fromStdString(fields::formatFloat(value));
}

// A round step (1, 2 or 5 times a power of ten) giving about `count` intervals over `span`.
double niceStep(double span, int count) {
    const double raw = span / count;
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    for (const double f : {1.0, 2.0, 5.0})
        if (raw <= f * power)
            return f * power;
    return 10 * power;
}

// The plain sheet's axes: flow from 0, pressure ratio from 1, each to a round value above all
// that is drawn.
void fitAxes(const CompressorMap& map, std::span<const MapSeries> series, AxisCalibration& flow,
             AxisCalibration& pressure) {
    double maxFlow = 0, maxRatio = 1;
    const auto take = [&](const MapPoint& p) {
        if (std::isfinite(p.flow) && std::isfinite(p.pressureRatio)) {
            maxFlow = std::max(maxFlow, double(p.flow));
            maxRatio = std::max(maxRatio, double(p.pressureRatio));
        }
    };
    for (const auto& line : map.lines)
        std::for_each(line.points.begin(), line.points.end(), take);
    for (const auto& s : series) {
        std::for_each(s.sweep.begin(), s.sweep.end(), take);
        if (s.design)
            take(*s.design);
    }
    if (maxFlow <= 0)
        maxFlow = 1;
    if (maxRatio <= 1)
        maxRatio = 2;
    const double flowStep = niceStep(maxFlow * 1.05, 8);
    const double ratioStep = niceStep((maxRatio - 1) * 1.05, 8);
    const double flowTop = std::ceil(maxFlow * 1.05 / flowStep) * flowStep;
    const double ratioTop = 1 + std::ceil((maxRatio - 1) * 1.05 / ratioStep) * ratioStep;
    flow = {float(kPlot.left()), 0, float(kPlot.right()), float(flowTop)};
    pressure = {float(kPlot.bottom()), 1, float(kPlot.top()), float(ratioTop)};
}

void paintSheet(QPainter& painter, const MapGeometry& g, FlowUnit unit) {
    const QRectF box(g.toArea(g.plot().topLeft()), g.toArea(g.plot().bottomRight()));
    painter.fillRect(g.sheet(), Qt::white);
    // Text and its room scale with the sheet, so both axis titles stay whole at any size.
    const double k = g.sheet().width() / g.kSheetWidth;
    QFont font = painter.font();
    font.setPixelSize(std::max(8, int(std::lround(13 * k))));
    painter.setFont(font);
    const auto& fa = g.flowAxis();
    const auto& pa = g.pressureAxis();
    const double flowStep = niceStep(double(fa.value2) - double(fa.value1), 8);
    const double ratioStep = niceStep(double(pa.value2) - double(pa.value1), 8);
    const QPen grid(QColor(220, 220, 220), 0);
    const QPen ink(Qt::black, 0);
    for (double v = fa.value1; v <= fa.value2 + flowStep / 2; v += flowStep) {
        const double x = g.toArea(QPointF(fa.pixelAt(v), 0)).x();
        painter.setPen(grid);
        painter.drawLine(QPointF(x, box.top()), QPointF(x, box.bottom()));
        painter.setPen(ink);
        painter.drawText(QRectF(x - 40 * k, box.bottom() + 4 * k, 80 * k, 20 * k),
                         Qt::AlignHCenter | Qt::AlignTop, tickText(float(v)));
    }
    for (double v = pa.value1; v <= pa.value2 + ratioStep / 2; v += ratioStep) {
        const double y = g.toArea(QPointF(0, pa.pixelAt(v))).y();
        painter.setPen(grid);
        painter.drawLine(QPointF(box.left(), y), QPointF(box.right(), y));
        painter.setPen(ink);
        painter.drawText(QRectF(box.left() - 66 * k, y - 10 * k, 60 * k, 20 * k),
                         Qt::AlignRight | Qt::AlignVCenter, tickText(float(v)));
    }
    painter.setPen(ink);
    painter.drawRect(box);
    painter.drawText(QRectF(box.left(), box.bottom() + 24 * k, box.width(), 24 * k),
                     Qt::AlignCenter,
                     QCoreApplication::translate("MapView", "Corrected air flow (%1)")
                         .arg(QString::fromUtf8(flowUnitText(unit).data())));
    painter.save();
    painter.translate(box.left() - 58 * k, box.center().y());
    painter.rotate(-90);
    painter.drawText(QRectF(-150 * k, -22 * k, 300 * k, 20 * k), Qt::AlignCenter,
                     QCoreApplication::translate("MapView", "Pressure ratio"));
    painter.restore();
}

// A label on a light box, so that it reads over the picture's own print.
void label(QPainter& painter, QPointF at, const QString& text) {
    const QRectF box = painter.fontMetrics().boundingRect(text).translated(at.toPoint());
    painter.fillRect(box.adjusted(-2, 0, 2, 0), QColor(255, 255, 255, 225));
    painter.drawText(at, text);
}

QPolygonF polygon(const MapGeometry& g, const std::vector<MapPoint>& points) {
    QPolygonF out;
    out.reserve(qsizetype(points.size()));
    for (const auto& p : points)
        out << g.toArea(p);
    return out;
}

void paintLines(QPainter& painter, const MapGeometry& g, const CompressorMap& map) {
    for (const auto& line : map.lines) {
        const QPolygonF shape = polygon(g, line.points);
        const QString text = QString::fromStdString(lineName(line));
        switch (line.kind) {
        case LineKind::Surge:
            painter.setPen(QPen(QColor(190, 30, 30), 2.5));
            painter.drawPolyline(shape);
            break;
        case LineKind::Speed: {
            painter.setPen(QPen(QColor(40, 70, 140), 1.5));
            painter.drawPolyline(shape);
            // Labelled at the right end, where speed lines fan out.
            const auto end = std::max_element(shape.begin(), shape.end(),
                                              [](auto a, auto b) { return a.x() < b.x(); });
            label(painter, *end + QPointF(4, 4), text);
            break;
        }
        case LineKind::Island: {
            painter.setPen(QPen(QColor(30, 130, 60), 1.5));
            painter.drawPolygon(shape);
            const auto top = std::min_element(shape.begin(), shape.end(),
                                              [](auto a, auto b) { return a.y() < b.y(); });
            label(painter, *top + QPointF(-12, -3), text);
            break;
        }
        }
    }
}

void paintSeries(QPainter& painter, const MapGeometry& g, const CompressorMap& map,
                 std::span<const MapSeries> series) {
    for (const auto& s : series) {
        const QPolygonF sweep = polygon(g, s.sweep);
        painter.setPen(QPen(s.colour, 1));
        painter.drawPolyline(sweep);
        painter.setPen(Qt::NoPen);
        painter.setBrush(s.colour);
        for (const QPointF& p : sweep)
            painter.drawEllipse(p, 2.5, 2.5);
        if (s.design) {
            const QPointF p = g.toArea(*s.design);
            painter.setPen(QPen(Qt::black, 1.5));
            painter.drawEllipse(p, 6, 6);
            // Left of the surge line or beyond the highest speed line: ringed in red.
            const auto f = matchCorrected(map, s.design->flow, s.design->pressureRatio);
            if ((f.surgeMargin && *f.surgeMargin < 0) || f.overSpeed) {
                painter.setBrush(Qt::NoBrush);
                painter.setPen(QPen(Qt::red, 2.5));
                painter.drawEllipse(p, 11, 11);
                painter.setBrush(s.colour);
            }
        }
        painter.setBrush(Qt::NoBrush);
    }
}

} // namespace

MapGeometry::MapGeometry(const CompressorMap& map, const QImage* picture,
                         std::span<const MapSeries> series, const QRectF& area)
    : hasPicture_(picture && !picture->isNull()) {
    if (hasPicture_) {
        pictureSize_ = picture->size();
        flow_ = map.flowAxis.value_or(AxisCalibration{});
        pressure_ = map.pressureAxis.value_or(AxisCalibration{});
    } else {
        pictureSize_ = QSizeF(kSheetWidth, kSheetHeight);
        fitAxes(map, series, flow_, pressure_);
    }
    scale_ = std::min(area.width() / pictureSize_.width(), area.height() / pictureSize_.height());
    const QSizeF size = pictureSize_ * scale_;
    sheet_ = QRectF(area.center() - QPointF(size.width() / 2, size.height() / 2), size);
}

QRectF MapGeometry::plot() const {
    return kPlot;
}

QPointF MapGeometry::toArea(QPointF pixel) const {
    return sheet_.topLeft() + pixel * scale_;
}

QPointF MapGeometry::toPixel(QPointF areaPoint) const {
    return (areaPoint - sheet_.topLeft()) / scale_;
}

QPointF MapGeometry::toArea(const MapPoint& point) const {
    return toArea(QPointF(flow_.pixelAt(point.flow), pressure_.pixelAt(point.pressureRatio)));
}

MapPoint MapGeometry::toMap(QPointF areaPoint) const {
    const QPointF pixel = toPixel(areaPoint);
    return {float(flow_.valueAt(pixel.x())), float(pressure_.valueAt(pixel.y()))};
}

void paintMap(QPainter& painter, const MapGeometry& geometry, const CompressorMap& map,
              const QImage* picture, const MapOverlay& overlay) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    if (geometry.hasPicture())
        painter.drawImage(geometry.sheet(), *picture);
    else
        paintSheet(painter, geometry, map.flowUnit);
    if (geometry.calibrated()) {
        // Lines and points stop at the frame: the plain sheet's axes box, or the picture.
        painter.setClipRect(geometry.hasPicture()
                                ? geometry.sheet()
                                : QRectF(geometry.toArea(geometry.plot().topLeft()),
                                         geometry.toArea(geometry.plot().bottomRight())),
                            painter.hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
        paintLines(painter, geometry, map);
        if (overlay.draft) {
            painter.setPen(QPen(QColor(230, 120, 0), 2, Qt::DashLine));
            const QPolygonF draft = polygon(geometry, overlay.draft->points);
            if (overlay.draft->kind == LineKind::Island)
                painter.drawPolygon(draft);
            else
                painter.drawPolyline(draft);
            for (const QPointF& p : draft)
                painter.drawEllipse(p, 3, 3);
        }
        paintSeries(painter, geometry, map, overlay.series);
    }
    if (overlay.pendingMark) {
        const QPointF p = geometry.toArea(*overlay.pendingMark);
        painter.setPen(QPen(QColor(230, 120, 0), 2));
        painter.drawLine(p - QPointF(10, 0), p + QPointF(10, 0));
        painter.drawLine(p - QPointF(0, 10), p + QPointF(0, 10));
    }
    painter.restore();
}

} // namespace compmap
