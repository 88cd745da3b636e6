#pragma once
// A compressor map on screen: the maker's picture, the lines traced on it, the candidates'
// operating points and the values under the mouse; with the tools that make a picture into a
// map (calibrate each axis with two clicked points and their typed values, trace the surge line,
// speed lines and efficiency islands by clicking along them), every step undoable; and export of
// what is shown to PNG or SVG.

#include "compressor_map.hpp"
#include "map_file.hpp"
#include "map_painter.hpp"

#include <QImage>
#include <QString>
#include <QWidget>

#include <optional>
#include <vector>

class QActionGroup;
class QComboBox;
class QLabel;
class QLineEdit;
class QUndoStack;

namespace compmap {

// The picture format a file's name asks for: "JPEG" for .jpg and .jpeg, "BMP" for .bmp, else
// "PNG", so that a picture's data is what its name says.
const char* imageFormatFor(const QString& file);

class MapView : public QWidget {
    Q_OBJECT

public:
    enum class Tool { None, CalibrateFlow, CalibratePressure, TraceSurge, TraceSpeed, TraceIsland };

    // Everything an edit can change, kept whole by each undo step (a map is a few kilobytes).
    struct State {
        CompressorMap map;
        std::optional<MapLine> draft; // a line being traced
        // The first clicked point of an axis being calibrated: its pixel and value.
        std::optional<std::pair<float, float>> flowMark, pressureMark;
        // The folder the picture's name is relative to: it goes with the name, so a step undone
        // past a save into another folder still finds the picture.
        QString folder;
        bool operator==(const State&) const = default;
    };

    explicit MapView(QWidget* parent = nullptr);
    ~MapView() override;

    // Opens either map form; the picture is looked for beside the map file. On failure the view
    // is unchanged and `problem` says why.
    bool openMap(const QString& file, const ImportSettings& settings, QString* problem);
    // A map whose picture path is relative to `folder`; the undo history starts afresh.
    void setMap(const CompressorMap& map, const QString& folder);
    // Writes the map file whole or not at all; the picture's path is made relative to the new
    // file's folder.
    bool saveMap(const QString& file, QString* problem);
    const CompressorMap& map() const { return state_.map; }
    const State& state() const { return state_; }
    // The picture the map's picture path names, relative to `folder`; an undoable step.
    bool openPicture(const QString& file, QString* problem);

    void setSeries(std::vector<MapSeries> series);
    const std::vector<MapSeries>& series() const { return series_; }
    const QImage& picture() const { return picture_; }
    QUndoStack* undoStack() const { return undo_; }

    void setTool(Tool tool);
    Tool tool() const { return tool_; }
    // Ends the line being traced and keeps it, with the typed value; false with the reason.
    bool finishLine(QString* problem);

    // By the file name's suffix: .png at the picture's own size, .svg.
    bool exportTo(const QString& file, QString* problem) const;

    QWidget* canvas() const { return canvas_; }
    QLineEdit* valueBox() const { return value_; }
    // Where a picture pixel is on the canvas now.
    QPointF canvasPosition(QPointF pixel) const;
    // The values under a canvas position, as the hover line shows them.
    QString valuesAt(QPointF canvasPoint) const;

signals:
    void mapChanged();

private:
    friend class MapCanvas;
    class Edit;
    MapGeometry geometry() const;
    void apply(const State& state); // from an undo step
    void push(const QString& what, State next);
    void clicked(QPointF canvasPoint);
    void hovered(QPointF canvasPoint);
    void valueEntered();
    void showProblem(const QString& problem);
    void updatePrompt();

    State state_;
    QString folder_;
    QImage picture_;
    std::vector<MapSeries> series_;
    Tool tool_ = Tool::None;
    std::optional<QPointF> pendingMark_; // a calibration click awaiting its value
    QUndoStack* undo_;
    QWidget* canvas_;
    QLineEdit* value_;
    QLabel* prompt_;
    QLabel* status_;
    QComboBox* unit_;
    QActionGroup* tools_;
};

} // namespace compmap
