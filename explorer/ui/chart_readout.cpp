#include "chart_readout.hpp"

#include <QChart>
#include <QChartView>
#include <QEvent>
#include <QGraphicsLineItem>
#include <QGraphicsScene>
#include <QGraphicsSimpleTextItem>
#include <QMouseEvent>
#include <QPen>

#include <algorithm>

namespace explorer {

ChartReadout::ChartReadout(std::function<QString(int, double)> valuesAt, QObject* parent)
    : QObject(parent), valuesAt_(std::move(valuesAt)) {}

void ChartReadout::setViews(std::vector<QChartView*> views) {
    // A view that stays keeps its marks; a view that went took its marks with its scene.
    std::vector<Marks> kept;
    for (QChartView* view : views) {
        auto found = std::find_if(marks_.begin(), marks_.end(),
                                  [view](const Marks& m) { return m.view == view; });
        if (found != marks_.end()) {
            kept.push_back(*found);
            continue;
        }
        Marks m;
        m.view = view;
        m.line = new QGraphicsLineItem(view->chart());
        m.line->setPen(QPen(QColor(80, 80, 80), 1, Qt::DashLine));
        m.line->setZValue(10);
        m.line->hide();
        m.text = new QGraphicsSimpleTextItem(view->chart());
        m.text->setZValue(11);
        m.text->hide();
        view->setMouseTracking(true);
        view->viewport()->installEventFilter(this);
        kept.push_back(m);
    }
    marks_ = std::move(kept);
}

void ChartReadout::showAt(double x) {
    for (std::size_t i = 0; i < marks_.size(); ++i) {
        Marks& m = marks_[i];
        QChart* chart = m.view->chart();
        const QRectF area = chart->plotArea();
        const double at = chart->mapToPosition(QPointF(x, 0)).x();
        if (at < area.left() || at > area.right()) {
            m.line->hide();
            m.text->hide();
            continue;
        }
        m.line->setLine(at, area.top(), at, area.bottom());
        m.line->show();
        m.text->setText(valuesAt_(static_cast<int>(i), x));
        // Beside the line, on the side with room.
        const QRectF box = m.text->boundingRect();
        const double left = at + 6 + box.width() <= area.right() ? at + 6 : at - 6 - box.width();
        m.text->setPos(left, area.top() + 2);
        m.text->show();
    }
}

void ChartReadout::hide() {
    for (auto& m : marks_) {
        m.line->hide();
        m.text->hide();
    }
}

bool ChartReadout::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseMove) {
        for (const auto& m : marks_)
            if (m.view->viewport() == watched) {
                const QPointF scene =
                    m.view->mapToScene(static_cast<QMouseEvent*>(event)->position().toPoint());
                const QPointF local = m.view->chart()->mapFromScene(scene);
                if (m.view->chart()->plotArea().contains(local))
                    showAt(m.view->chart()->mapToValue(local).x());
                else
                    hide();
                break;
            }
    } else if (event->type() == QEvent::Leave) {
        hide();
    }
    return QObject::eventFilter(watched, event);
}

} // namespace explorer
