#include "curve_chart.hpp"

#include "chart_readout.hpp"
#include "looks.hpp"
#include "number_text.hpp"
#include "qt_text.hpp"
#include "round_numbers.hpp"
#include "template_builder.hpp"

#include <QChart>
#include <QChartView>
#include <QEvent>
#include <QFontMetricsF>
#include <QGraphicsScene>
#include <QHelpEvent>
#include <QLegendMarker>
#include <QLineSeries>
#include <QPainter>
#include <QScatterSeries>
#include <QToolTip>
#include <QVBoxLayout>
#include <QValueAxis>

#include <algorithm>
#include <cmath>
#include <limits>

namespace explorer {

namespace {

// The shading of runs past a limit: dark enough to find, light enough to read the lines through.
const QColor kBeyondShade(0, 0, 0, 50);

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
// The axis is changed only where the range changes: each change lays out every line again.
// The order matters: a wide range under the old fine step would lay out millions of ticks
// first, so a coarser step goes in before the range and a finer one after it (and after it
// too when the axis had evenly spaced ticks, whose range may be any).
void setRoundRange(QValueAxis* axis, double low, double high, int ticks) {
    const RoundRange r = drawableAxis(low, high, ticks);
    const bool dynamic = axis->tickType() == QValueAxis::TicksDynamic;
    if (!(r.step > 0)) {
        if (dynamic)
            axis->setTickType(QValueAxis::TicksFixed);
        axis->setTickCount(ticks + 1);
        axis->setRange(r.from, r.to);
        return;
    }
    const bool newStep = !dynamic || axis->tickInterval() != r.step || axis->tickAnchor() != 0;
    const bool coarser = newStep && dynamic && r.step > axis->tickInterval();
    const auto setStep = [&] {
        axis->setTickAnchor(0);
        axis->setTickInterval(r.step);
        axis->setTickType(QValueAxis::TicksDynamic);
    };
    if (coarser)
        setStep();
    if (axis->min() != r.from || axis->max() != r.to)
        axis->setRange(r.from, r.to);
    if (newStep && !coarser)
        setStep();
}

constexpr std::size_t kSmoothPointsPerPixel = 8;
constexpr double kSampleWidth = 24;
constexpr double kSampleGap = 4;
constexpr double kEntryGap = 14;
constexpr double kLegendMargin = 4;

} // namespace

// The legend above the panels: every candidate's line and whole name, in as many rows as needed.
class CurveChart::Legend : public QWidget {
public:
    explicit Legend(QWidget* parent) : QWidget(parent) {
        setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    }
    void setCurves(const std::vector<ChartCurve>& curves) {
        curves_.clear();
        for (const ChartCurve& c : curves)
            curves_.push_back({c.candidate, c.look, {}, {}, {}, {}});
        fitHeight();
        update();
    }
    const std::vector<ChartCurve>& curves() const { return curves_; }

protected:
    void resizeEvent(QResizeEvent*) override { fitHeight(); }
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        paintLegend(painter, layoutLegend(curves_, width(), font()), QPointF(0, 0), font());
    }
    bool event(QEvent* e) override {
        if (e->type() == QEvent::ToolTip) {
            const auto* help = static_cast<QHelpEvent*>(e);
            for (const auto& entry : layoutLegend(curves_, width(), font()))
                if (entry.box.contains(help->pos())) {
                    QToolTip::showText(help->globalPos(), entry.name, this);
                    return true;
                }
            QToolTip::hideText();
            return true;
        }
        return QWidget::event(e);
    }

private:
    void fitHeight() {
        const auto entries = layoutLegend(curves_, width(), font());
        const double bottom = entries.empty() ? 0.0 : entries.back().box.bottom() + kLegendMargin;
        setFixedHeight(static_cast<int>(std::ceil(bottom)));
    }

    std::vector<ChartCurve> curves_; // names and looks only
};

CurveChart::CurveChart(QWidget* parent) : QWidget(parent) {
    setFont(dialogs::programFont());
    readout_ = new ChartReadout([this](int panel, double x) { return valuesAt(panel, x); }, this);
    layout_ = new QVBoxLayout(this);
    layout_->setContentsMargins(0, 0, 0, 0);
    layout_->setSpacing(0);
    legend_ = new Legend(this);
    layout_->addWidget(legend_);
}

std::vector<CurveChart::LegendEntry> CurveChart::layoutLegend(const std::vector<ChartCurve>& curves,
                                                              double width, const QFont& font) {
    const QFontMetricsF metrics(font);
    const double rowHeight = std::ceil(metrics.height()) + 2;
    const double room = std::max(width - 2 * kLegendMargin, kSampleWidth * 3);
    std::vector<LegendEntry> entries;
    double x = kLegendMargin;
    double y = kLegendMargin;
    for (const ChartCurve& curve : curves) {
        QString shown = curve.candidate;
        double textWidth = metrics.horizontalAdvance(shown);
        const double most = room - kSampleWidth - kSampleGap;
        if (textWidth > most) { // only a name wider than the whole legend is shortened
            shown = metrics.elidedText(shown, Qt::ElideMiddle, most);
            textWidth = metrics.horizontalAdvance(shown);
        }
        const double entryWidth = kSampleWidth + kSampleGap + std::ceil(textWidth);
        if (x > kLegendMargin && x + entryWidth > kLegendMargin + room) {
            x = kLegendMargin;
            y += rowHeight;
        }
        entries.push_back(
            {QRectF(x, y, entryWidth, rowHeight), shown, curve.candidate, curve.look});
        x += entryWidth + kEntryGap;
    }
    return entries;
}

double CurveChart::paintLegend(QPainter& painter, const std::vector<LegendEntry>& entries,
                               QPointF at, const QFont& font) {
    painter.save();
    painter.setFont(font);
    for (const LegendEntry& entry : entries) {
        const QRectF box = entry.box.translated(at);
        paintLookSample(painter, QRectF(box.left(), box.top(), kSampleWidth, box.height()),
                        entry.look);
        painter.setPen(Qt::black);
        painter.drawText(box.adjusted(kSampleWidth + kSampleGap, 0, 0, 0),
                         Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, entry.shown);
    }
    painter.restore();
    return entries.empty() ? 0.0 : entries.back().box.bottom() + kLegendMargin;
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
    panel.chart->legend()->hide(); // one legend above all panels names the candidates
    for (QValueAxis* axis : {panel.xAxis, panel.yAxis}) {
        axis->setLabelsFont(font());
        axis->setTitleFont(font());
    }
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
    // The axis is given its round range in one step, and only when it changes: each change
    // lays out every line of the panel again.
    const auto [low, high] = yExtent(data);
    setRoundRange(panel.yAxis, low, high, 4);

    // Smoothing costs most of a redraw once the lines are dense; past a few points to a pixel
    // the eye no longer sees the steps.
    std::size_t points = 0;
    for (const auto& curve : data.curves)
        for (const auto& segment : curve.segments)
            points += static_cast<std::size_t>(segment.size());
    panel.view->setRenderHint(QPainter::Antialiasing,
                              points <= kSmoothPointsPerPixel * static_cast<std::size_t>(std::max(
                                                                    panel.view->width(), 1)));

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
                if (const QPen pen = lookPen(curve->look, 2); series->pen() != pen)
                    series->setPen(pen);
            }
            if (used && s < curve->segments.size())
                series->replace(curve->segments[s]);
            else if (series->count() > 0)
                series->clear();
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
                line.markers->setColor(lookColour(curve->look));
                line.markers->setBorderColor(lookColour(curve->look).darker());
                line.markers->replace(curve->markers);
            } else {
                line.markers->clear();
            }
            line.markers->setVisible(marked);
        }
    }
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
    const QColor colour = curve ? lookColour(curve->look) : QColor();
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
            // A narrow grey band under the line rather than a wide one in its colour: where many
            // candidates pass a limit together their bands would otherwise hide the curves, and
            // grey reads the same on a black-and-white print.
            shade->setPen(QPen(kBeyondShade, 6, Qt::SolidLine, Qt::FlatCap));
            shade->replace(curve->beyond[s]);
            shade->setVisible(true);
        } else {
            shade->clear();
            shade->setVisible(false);
        }
    }
}

void CurveChart::plot(const QString& xTitle, double xFrom, double xTo,
                      const std::vector<ChartPanel>& panels) {
    xTitle_ = xTitle;
    content_ = {xTitle, xFrom, xTo, panels};
    legend_->setCurves(panels.empty() ? std::vector<ChartCurve>{} : panels.front().curves);
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
    if (panels_.empty() || width() <= 0 || height() <= 0)
        return;
    // Drawn as laid out on screen, scaled to the target.
    painter.save();
    painter.translate(target.topLeft());
    painter.scale(target.width() / width(), target.height() / height());
    // In the screen's pixels, like everything else here, whatever the device's resolution.
    QFont text = font();
    text.setPixelSize(QFontInfo(font()).pixelSize());
    paintLegend(painter, layoutLegend(legend_->curves(), width(), text),
                QPointF(legend_->geometry().topLeft()), text);
    for (const Panel& panel : panels_) {
        const QRectF part(panel.view->geometry());
        panel.chart->scene()->render(&painter, part, panel.chart->geometry(),
                                     Qt::IgnoreAspectRatio);
    }
    painter.restore();
}

} // namespace explorer
