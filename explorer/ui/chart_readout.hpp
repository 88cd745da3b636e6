#pragma once
// What the chart reads out under the mouse: a vertical line at the pointer's x across every panel,
// with each candidate's value there, so candidates are compared at one boost without hunting for
// their lines.

#include <QObject>
#include <QString>

#include <functional>
#include <vector>

class QChartView;
class QGraphicsLineItem;
class QGraphicsSimpleTextItem;

namespace explorer {

class ChartReadout : public QObject {
    Q_OBJECT

public:
    // valuesAt(panel, x) gives the lines of text for that panel at x ("Candidate: 58.6").
    explicit ChartReadout(std::function<QString(int panel, double x)> valuesAt,
                          QObject* parent = nullptr);

    // The panels' views, in order; called again when panels come and go.
    void setViews(std::vector<QChartView*> views);

    // Shows the crosshair at x on every panel (as the mouse would), or hides it.
    void showAt(double x);
    void hide();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Marks {
        QChartView* view = nullptr;
        QGraphicsLineItem* line = nullptr;
        QGraphicsSimpleTextItem* text = nullptr;
    };

    std::function<QString(int, double)> valuesAt_;
    std::vector<Marks> marks_;
};

} // namespace explorer
