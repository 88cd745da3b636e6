#pragma once
// The explorer's chart: one panel per plotted result, stacked over a shared swept input, one line
// per candidate in the candidate's colour and line style, under one legend that names every
// candidate in full. A curve arrives already cut into its finite segments, so a result that has no
// figure leaves a gap and is never drawn as zero.

#include <QFont>
#include <QList>
#include <QPointF>
#include <QString>
#include <QWidget>

#include <optional>
#include <vector>

class QChart;
class QChartView;
class QLineSeries;
class QScatterSeries;
class QPainter;
class QScatterSeries;
class QValueAxis;
class QVBoxLayout;

namespace explorer {

class ChartReadout;

struct ChartCurve {
    QString candidate;
    int look = 0;                         // its colour and line style (looks.hpp)
    std::vector<QList<QPointF>> segments; // each a run of finite points, in sweep order
    std::optional<QPointF> own;           // the candidate's own value of the swept input
    std::vector<QList<QPointF>> beyond;   // runs of points past one of its limits, shaded
    QList<QPointF> markers;               // measured points of the candidate's run log
};

struct ChartPanel {
    QString title; // the result and its unit, "Thrust (lbf)"
    std::vector<ChartCurve> curves;
};

// What a chart shows, enough to draw it again at another size.
struct ChartContent {
    QString xTitle;
    double xFrom = 0, xTo = 1;
    std::vector<ChartPanel> panels;
};

class CurveChart : public QWidget {
    Q_OBJECT

public:
    explicit CurveChart(QWidget* parent = nullptr);
    ~CurveChart() override;

    // Plots these panels over the x range [xFrom, xTo]. Series already on the chart are reused
    // and refilled in one step each, so an edit costs little more than drawing the new points.
    void plot(const QString& xTitle, double xFrom, double xTo,
              const std::vector<ChartPanel>& panels);

    void plot(const ChartContent& content) {
        plot(content.xTitle, content.xFrom, content.xTo, content.panels);
    }
    const ChartContent& content() const { return content_; }

    int panelCount() const { return static_cast<int>(panels_.size()); }
    QChart* chart(int panel) const;
    QChartView* view(int panel) const;

    // What hovering the point nearest to `at` on a candidate's line of a panel says:
    // "Candidate 2: P2 = 12 psig, Thrust = 21.3 lbf"; empty when the line has no points.
    QString pointText(int panel, int curve, QPointF at) const;

    // Each candidate's value at x on a panel, one line each, read off its line between the
    // computed points: "Candidate 2: 21.3"; "Candidate 2: no figure" where it has none.
    QString valuesAt(int panel, double x) const;
    ChartReadout* readout() const { return readout_; }

    // Draws the legend and every panel into `target` on any paint device (image, SVG, PDF).
    void paint(QPainter& painter, const QRectF& target) const;

    // The legend's entries laid out in rows across `width` in `font`: each entry's box and its
    // name, elided in the middle only when one name is wider than the whole width.
    struct LegendEntry {
        QRectF box;
        QString shown;
        QString name;
        int look = 0;
    };
    static std::vector<LegendEntry> layoutLegend(const std::vector<ChartCurve>& curves,
                                                 double width, const QFont& font);
    static double paintLegend(QPainter& painter, const std::vector<LegendEntry>& entries,
                              QPointF at, const QFont& font);

signals:
    // The text of the point under the mouse, or empty when the mouse leaves a line.
    void pointHovered(const QString& text);

private:
    struct Line {
        QString candidate;
        std::vector<QLineSeries*> series; // the first always on the chart, for the legend
        std::vector<QList<QPointF>> segments;
        QScatterSeries* own = nullptr;     // the candidate's own point
        std::vector<QLineSeries*> shades;  // wide, pale strokes over the runs past a limit
        QScatterSeries* markers = nullptr; // made when the candidate first has some
    };
    struct Panel {
        QChartView* view = nullptr;
        QChart* chart = nullptr;
        QValueAxis* xAxis = nullptr;
        QValueAxis* yAxis = nullptr;
        QString title;
        std::vector<Line> lines;
    };

    Panel& addPanel();
    QLineSeries* addSeries(Panel& panel, int panelIndex, int lineIndex);
    void fill(Panel& panel, int panelIndex, const ChartPanel& data);
    void fillMarks(Panel& panel, Line& line, const ChartCurve* curve);

    class Legend;

    QVBoxLayout* layout_ = nullptr;
    Legend* legend_ = nullptr;
    std::vector<Panel> panels_;
    QString xTitle_;
    ChartContent content_;
    ChartReadout* readout_ = nullptr;
    std::vector<QChartView*> readoutViews_;
};

} // namespace explorer
