#pragma once
// How a candidate's line looks: one of twenty pairs of colour and line style, no two alike, so
// lines are told apart on screen and, by their dashes, in black-and-white print.

#include <QColor>
#include <QPen>

class QPainter;
class QRectF;

namespace explorer {

QColor lookColour(int look);
Qt::PenStyle lookStyle(int look);
QPen lookPen(int look, double width);

// A short stretch of the candidate's line, centred vertically in `box`.
void paintLookSample(QPainter& painter, const QRectF& box, int look);

} // namespace explorer
