#include "drawing_painter.hpp"

#include <QFont>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPainterPath>
#include <QPdfWriter>
#include <QString>

namespace flametube {

namespace {

void drawLine(QPainter& painter, const Line& l) {
    QPen pen(Qt::black, l.width);
    pen.setCapStyle(Qt::FlatCap);
    if (l.dashed)
        pen.setDashPattern({2 / l.width, 1 / l.width}); // 2 mm on, 1 mm off, as the SVG
    painter.setPen(pen);
    painter.drawLine(QPointF(l.a.x, l.a.y), QPointF(l.b.x, l.b.y));
}

} // namespace

void paintPage(QPainter& painter, const Page& page) {
    painter.save();
    painter.setBrush(Qt::NoBrush);
    painter.setClipRect(QRectF(page.clip.x, page.clip.y, page.clip.width, page.clip.height));
    for (const Line& l : page.lines)
        drawLine(painter, l);
    for (const Circle& c : page.circles) {
        painter.setPen(QPen(Qt::black, c.width));
        painter.drawEllipse(QPointF(c.centre.x, c.centre.y), c.radius, c.radius);
    }
    painter.setClipping(false);
    for (const Line& l : page.frameLines)
        drawLine(painter, l);
    // Texts as outlines of a font sized in millimetres, so that no device's resolution rounds
    // their size.
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    for (const Text& t : page.texts) {
        QFont font(QStringLiteral("Sans Serif"));
        font.setPixelSize(100); // drawn scaled down: a path 100 units to the font's size
        font.setBold(t.bold);
        QPainterPath path;
        path.addText(0, 0, font, QString::fromStdString(t.text));
        const double width = path.boundingRect().right();
        const double shift = t.anchor == Anchor::Start    ? 0
                             : t.anchor == Anchor::Middle ? -width / 2
                                                          : -width;
        painter.save();
        painter.translate(t.at.x, t.at.y);
        painter.rotate(t.angle);
        painter.scale(t.size / 100, t.size / 100); // the font's size in mm, as the SVG's
        painter.translate(shift, 0);
        painter.drawPath(path);
        painter.restore();
    }
    painter.restore();
}

bool writePdf(QIODevice* out, const Drawing& drawing) {
    if (drawing.pages.empty())
        return false;
    QPdfWriter pdf(out);
    pdf.setTitle(QString::fromStdString(drawing.title));
    pdf.setCreator(QStringLiteral("Vorlaxen Designer"));
    auto pageSize = [](const Page& p) {
        return QPageSize(QSizeF(p.width, p.height), QPageSize::Millimeter, QString(),
                         QPageSize::ExactMatch);
    };
    pdf.setPageLayout(QPageLayout(pageSize(drawing.pages.front()), QPageLayout::Portrait,
                                  QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter));
    QPainter painter;
    if (!painter.begin(&pdf))
        return false;
    const double perMm = pdf.resolution() / 25.4;
    for (std::size_t i = 0; i < drawing.pages.size(); ++i) {
        if (i > 0) {
            pdf.setPageSize(pageSize(drawing.pages[i]));
            pdf.newPage();
        }
        painter.save();
        painter.scale(perMm, perMm);
        paintPage(painter, drawing.pages[i]);
        painter.restore();
    }
    return painter.end();
}

} // namespace flametube
