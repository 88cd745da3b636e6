#include "looks.hpp"

#include "candidates.hpp"

#include <QPainter>

#include <array>

namespace explorer {

namespace {

// Dark enough to read on white; the second ten are deeper or rarer hues than the first.
constexpr std::array<QRgb, kLookCount> kColours = {
    0x1f77b4, 0xd62728, 0x2ca02c, 0xff7f0e, 0x9467bd, 0x8c564b, 0xe377c2,
    0x7f7f7f, 0xbcbd22, 0x17becf, 0x08306b, 0x67000d, 0x00441b, 0xb8860b,
    0x4b0082, 0x008080, 0xff1493, 0x000000, 0x808000, 0xb15928,
};

constexpr std::array<Qt::PenStyle, 5> kStyles = {Qt::SolidLine, Qt::DashLine, Qt::DotLine,
                                                 Qt::DashDotLine, Qt::DashDotDotLine};

std::size_t index(int look) {
    return static_cast<std::size_t>(((look % kLookCount) + kLookCount) % kLookCount);
}

} // namespace

QColor lookColour(int look) {
    return QColor::fromRgb(kColours[index(look)]);
}

Qt::PenStyle lookStyle(int look) {
    // The styles repeat every five, shifted by one for the second ten, so that no two looks share
    // both colour family and dashes.
    const std::size_t i = index(look);
    return kStyles[(i + i / 10) % kStyles.size()];
}

QPen lookPen(int look, double width) {
    QPen pen(lookColour(look), width, lookStyle(look));
    pen.setCapStyle(Qt::FlatCap);
    return pen;
}

void paintLookSample(QPainter& painter, const QRectF& box, int look) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(lookPen(look, 2.0));
    const double y = box.center().y();
    painter.drawLine(QPointF(box.left(), y), QPointF(box.right(), y));
    painter.restore();
}

} // namespace explorer
