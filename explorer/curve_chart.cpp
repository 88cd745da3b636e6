#include "curve_chart.hpp"

#include "chart_readout.hpp"
#include "number_text.hpp"
#include "qt_text.hpp"
#include "round_numbers.hpp"

#include <QChart>
#include <QChartView>
#include <QGraphicsScene>
#include <QLegendMarker>
#include <QLineSeries>
#include <QPainter>
#include <QScatterSeries>
#include <QVBoxLayout>
#include <QValueAxis>

#include <algorithm>
#include <cmath>
#include <limits>

namespace explorer {

namespace {

// The extent of every finite point of a panel, widened when flat so the axis has a span.
std::pair<double, double> yExtent(const ChartPanel& panel) {
    double low = std::numeric_limits<double>::infinity();
    double high = -low;
    for (const auto& curve : panel.curves)
        for (const auto& segment : curve.segments)
            for (const QPointF& p : segment) {
                low = std::min(low, p.y());
                high = std::max(high, p.y());
            }
    for (const auto& curve : panel.curves)
        for (const QPointF& p : curve.markers) {
            low = std::min(low, p.y());
            high = std::max(high, p.y());
        }
    if (!(low <= high))
        return {0.0, 1.0};
    if (low == high) {
        const double pad = low == 0.0 ? 1.0 : std::abs(low) * 0.1;
        return {low - pad, high + pad};
    }
    return {low, high};
}

// Ticks at round numbers (1, 2, 5 x 10^n) whatever the unit, the ends widened to the next tick.
void setRoundRange(QValueAxis* axis, double low, double high, int ticks) {
    const RoundRange r = roundAxis(low, high, ticks);
    axis->setRange(r.from, r.to);
    if (r.step > 0) {
        axis->setTickType(QValueAxis::TicksDynamic);
        axis->setTickAnchor(0);
        axis->setTickInterval(r.step);
    }
}

} // namespace

CurveChart::CurveChart(QWidget* parent) : QWidget(parent) {
    readout_ = new ChartReadout([this](int panel, double x) { return valuesAt(panel, x); }, this);
    layout_ = new QVBoxLayout(this);
    layout_->setContentsMargins(0, 0, 0, 0);
    layout_->setSpacing(0);
}

CurveChart::~CurveChart() = default;

QChart* CurveChart::chart(int panel) const {
    return panels_.at(static_cast<size_t>(panel)).chart;
}

QChartView* CurveChart::view(int panel) const {
    return panels_.at(static_cast<size_t>(panel)).view;
}

CurveChart::Panel& CurveChart::addPanel() {
    Panel panel;
    panel.chart = new QChart;
    panel.chart->setMargins(QMargins(4, 4, 4, 4));
    panel.chart->setBackgroundRoundness(0);
    panel.xAxis = new QValueAxis;
    panel.yAxis = new QValueAxis;
    panel.xAxis->setTickCount(6);
    panel.yAxis->setTickCount(5);
    panel.chart->addAxis(panel.xAxis, Qt::AlignBottom);
    panel.chart->addAxis(panel.yAxis, Qt::AlignLeft);
    panel.chart->legend()->setAlignment(Qt::AlignTop);
    panel.view = new QChartView(panel.chart);
    panel.view->setRenderHint(QPainter::Antialiasing);
    panel.view->setMinimumHeight(140);
    layout_->addWidget(panel.view, 1);
    panels_.push_back(std::move(panel));
    return panels_.back();
}

QLineSeries* CurveChart::addSeries(Panel& panel, int panelIndex, int lineIndex) {
    auto* series = new QLineSeries;
    panel.chart->addSeries(series);
    series->attachAxis(panel.xAxis);
    series->attachAxis(panel.yAxis);
    connect(series, &QLineSeries::hovered, this,
            [this, panelIndex, lineIndex](const QPointF& at, bool entered) {
                emit pointHovered(entered ? pointText(panelIndex, lineIndex, at) : QString());
            });
    return series;
}

void CurveChart::fill(Panel& panel, int panelIndex, const ChartPanel& data) {
    panel.title = data.title;
    panel.yAxis->setTitleText(data.title);
    const auto [low, high] = yExtent(data);
    setRoundRange(panel.yAxis, low, high, 4);

    // Lines beyond the candidates shown are emptied and hidden, kept for the next edit.
    const size_t count = std::max(panel.lines.size(), data.curves.size());
    panel.lines.resize(count);
    for (size_t i = 0; i < count; ++i) {
        Line& line = panel.lines[i];
        const ChartCurve* curve = i < data.curves.size() ? &data.curves[i] : nullptr;
        const size_t segments = curve ? std::max<size_t>(curve->segments.size(), 1) : 0;
        while (line.series.size() < std::max<size_t>(segments, 1))
            line.series.push_back(addSeries(panel, panelIndex, static_cast<int>(i)));
        line.candidate = curve ? curve->candidate : QString();
        line.segments = curve ? curve->segments : std::vector<QList<QPointF>>{};
        for (size_t s = 0; s < line.series.size(); ++s) {
            QLineSeries* series = line.series[s];
            const bool used = curve && s < segments;
            if (curve) {
                if (series->name() != curve->candidate)
                    series->setName(curve->candidate);
                if (series->color() != curve->colour) {
                    QPen pen(curve->colour, 2);
                    series->setPen(pen);
                }
            }
            if (used && s < curve->segments.size())
                series->replace(curve->segments[s]);
            else if (series->count() > 0)
                series->clear();
            // One legend entry per candidate: its first segment speaks for the whole line.
            const auto markers = panel.chart->legend()->markers(series);
            for (QLegendMarker* marker : markers)
                marker->setVisible(curve && s == 0);
            series->setVisible(used);
        }
        fillMarks(panel, line, curve);
        const bool marked = curve && !curve->markers.isEmpty();
        if (marked && !line.markers) {
            line.markers = new QScatterSeries;
            line.markers->setObjectName(QStringLiteral("runMarkers"));
            line.markers->setMarkerSize(8);
            panel.chart->addSeries(line.markers);
            line.markers->attachAxis(panel.xAxis);
            line.markers->attachAxis(panel.yAxis);
            for (QLegendMarker* marker : panel.chart->legend()->markers(line.markers))
                marker->setVisible(false);
        }
        if (line.markers) {
            if (marked) {
                line.markers->setColor(curve->colour);
                line.markers->setBorderColor(curve->colour.darker());
                line.markers->replace(curve->markers);
            } else {
                line.markers->clear();
            }
            line.markers->setVisible(marked);
        }
    }
    // The legend is shown once, above the top panel; the colours carry through the others.
    panel.chart->legend()->setVisible(panelIndex == 0);
}

// The candidate's own point and the shading of its runs past a limit, drawn over its line and
// kept out of the legend.
void CurveChart::fillMarks(Panel& panel, Line& line, const ChartCurve* curve) {
    auto attach = [&](QXYSeries* series) {
        panel.chart->addSeries(series);
        series->attachAxis(panel.xAxis);
        series->attachAxis(panel.yAxis);
        for (QLegendMarker* marker : panel.chart->legend()->markers(series))
            marker->setVisible(false);
    };
    if (!line.own) {
        line.own = new QScatterSeries;
        line.own->setMarkerSize(9);
        attach(line.own);
    }
    const QColor colour = curve ? curve->colour : QColor();
    if (curve && curve->own) {
        line.own->setColor(colour);
        line.own->setBorderColor(Qt::black);
        line.own->replace(QList<QPointF>{*curve->own});
        line.own->setVisible(true);
    } else {
        line.own->clear();
        line.own->setVisible(false);
    }
    const std::size_t shades = curve ? curve->beyond.size() : 0;
    while (line.shades.size() < shades) {
        auto* shade = new QLineSeries;
        attach(shade);
        line.shades.push_back(shade);
    }
    for (std::size_t s = 0; s < line.shades.size(); ++s) {
        QLineSeries* shade = line.shades[s];
        if (s < shades) {
            QColor pale = colour;
            pale.setAlpha(70);
            shade->setPen(QPen(pale, 9, Qt::SolidLine, Qt::RoundCap));
            shade->replace(curve->beyond[s]);
            shade->setVisible(true);
        } else {
            shade->clear();
            shade->setVisible(false);
        }
    }
}

void CurveChart::show(const QString& xTitle, double xFrom, double xTo,
                      const std::vector<ChartPanel>& panels) {
    xTitle_ = xTitle;
    while (panels_.size() < panels.size())
        addPanel();
    while (panels_.size() > panels.size()) {
        delete panels_.back().view; // owns its chart, which owns series and axes
        panels_.pop_back();
    }
    double low = std::min(xFrom, xTo);
    double high = std::max(xFrom, xTo);
    if (!(low < high)) {
        low -= 1.0;
        high += 1.0;
    }
    std::vector<QChartView*> views;
    for (const auto& panel : panels_)
        views.push_back(panel.view);
    if (views != readoutViews_) {
        readout_->setViews(views);
        readoutViews_ = views;
    }
    for (size_t i = 0; i < panels.size(); ++i) {
        Panel& panel = panels_[i];
        panel.xAxis->setTitleText(xTitle);
        setRoundRange(panel.xAxis, low, high, 6);
        fill(panel, static_cast<int>(i), panels[i]);
    }
}

QString CurveChart::pointText(int panelIndex, int curve, QPointF at) const {
    if (panelIndex < 0 || panelIndex >= panelCount())
        return {};
    const Panel& panel = panels_[static_cast<size_t>(panelIndex)];
    if (curve < 0 || curve >= static_cast<int>(panel.lines.size()))
        return {};
    const Line& line = panel.lines[static_cast<size_t>(curve)];
    // The computed point nearest the mouse along the swept input, not the mouse position.
    const QPointF* nearest = nullptr;
    for (const auto& segment : line.segments)
        for (const QPointF& p : segment)
            if (!nearest || std::abs(p.x() - at.x()) < std::abs(nearest->x() - at.x()))
                nearest = &p;
    if (!nearest)
        return {};
    return tr("%1: %2 = %3, %4 = %5")
        .arg(line.candidate, xTitle_, figureText(static_cast<float>(nearest->x())), panel.title,
             figureText(static_cast<float>(nearest->y())));
}

QString CurveChart::valuesAt(int panelIndex, double x) const {
    if (panelIndex < 0 || panelIndex >= panelCount())
        return {};
    QStringList lines;
    for (const Line& line : panels_[static_cast<size_t>(panelIndex)].lines) {
        if (line.candidate.isEmpty())
            continue;
        std::optional<double> y;
        for (const auto& segment : line.segments) {
            for (qsizetype i = 0; i < segment.size() && !y; ++i) {
                const QPointF& a = segment[i];
                if (a.x() == x)
                    y = a.y();
                else if (i + 1 < segment.size()) {
                    const QPointF& b = segment[i + 1];
                    if ((a.x() < x && x < b.x()) || (b.x() < x && x < a.x()))
                        y = a.y() + (b.y() - a.y()) * (x - a.x()) / (b.x() - a.x());
                }
            }
            if (y)
                break;
        }
        lines << tr("%1: %2").arg(line.candidate,
                                  y ? figureText(static_cast<float>(*y)) : tr("no figure"));
    }
    return lines.join(QLatin1Char('\n'));
}

void CurveChart::paint(QPainter& painter, const QRectF& target) const {
    if (panels_.empty())
        return;
    const double height = target.height() / static_cast<double>(panels_.size());
    for (size_t i = 0; i < panels_.size(); ++i) {
        const QRectF part(target.left(), target.top() + height * static_cast<double>(i),
                          target.width(), height);
        QGraphicsScene* scene = panels_[i].chart->scene();
        scene->render(&painter, part, panels_[i].chart->geometry(), Qt::IgnoreAspectRatio);
    }
}

} // namespace explorer
