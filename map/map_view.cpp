#include "map_view.hpp"

#include "user_file.hpp"

#include "matching.hpp"
#include "number_text.hpp"

#include <QAction>
#include <QActionGroup>
#include <QBuffer>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QSvgGenerator>
#include <QToolBar>
#include <QUndoCommand>
#include <QUndoStack>
#include <QVBoxLayout>

#include <sstream>

namespace compmap {

namespace {

QString text(float value) {
    return QString::fromStdString(fields::formatFloat(value));
}

QString unitText(FlowUnit unit) {
    return QString::fromUtf8(flowUnitText(unit).data());
}

QString kindText(LineKind kind) {
    switch (kind) {
    case LineKind::Surge:
        return QObject::tr("surge line");
    case LineKind::Speed:
        return QObject::tr("speed line");
    case LineKind::Island:
        return QObject::tr("efficiency island");
    }
    return {};
}

// Through the one path for users' files, so that a failed save or export leaves the old file as
// it was and says why in the system's words.
bool writeWhole(const QString& file, const QByteArray& bytes, QString* problem) {
    const QByteArray name = QFile::encodeName(file);
    const auto why =
        userfile::write(std::string(name.constData(), std::size_t(name.size())),
                        std::string_view(bytes.constData(), std::size_t(bytes.size())));
    if (!why)
        return true;
    *problem = QObject::tr("%1 was not saved: %2\nThe file was not changed.")
                   .arg(file, QString::fromLocal8Bit(*why));
    return false;
}

} // namespace

// The drawing surface: paints the map and hands clicks and mouse moves to the view.
class MapCanvas : public QWidget {
public:
    explicit MapCanvas(MapView* view) : QWidget(view), view_(view) {
        setMouseTracking(true);
        setMinimumSize(320, 240);
        setCursor(Qt::CrossCursor);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), palette().window());
        const auto& s = view_->state_;
        const MapOverlay overlay{view_->series_, s.draft ? &*s.draft : nullptr,
                                 view_->pendingMark_};
        paintMap(painter, view_->geometry(), s.map, &view_->picture_, overlay);
    }
    void mousePressEvent(QMouseEvent* event) override {
        if (event->button() == Qt::LeftButton)
            view_->clicked(event->position());
    }
    void mouseMoveEvent(QMouseEvent* event) override { view_->hovered(event->position()); }

private:
    MapView* view_;
};

// One undoable step: the whole state before and after.
class MapView::Edit : public QUndoCommand {
public:
    Edit(MapView* view, const QString& what, State before, State after)
        : QUndoCommand(what), view_(view), before_(std::move(before)), after_(std::move(after)) {}
    void undo() override { view_->apply(before_); }
    void redo() override { view_->apply(after_); }

private:
    MapView* view_;
    State before_, after_;
};

MapView::MapView(QWidget* parent) : QWidget(parent), undo_(new QUndoStack(this)) {
    auto* bar = new QToolBar(this);
    QAction* picture = bar->addAction(tr("Picture..."));
    picture->setObjectName(QStringLiteral("openPicture"));
    picture->setToolTip(tr("Open the maker's map sheet as a picture (PNG or JPEG)"));
    connect(picture, &QAction::triggered, this, [this] {
        const QString file = QFileDialog::getOpenFileName(
            this, tr("Map picture"), folder_, tr("Pictures (*.png *.jpg *.jpeg *.bmp)"));
        QString problem;
        if (!file.isEmpty() && !openPicture(file, &problem))
            showProblem(problem);
    });
    QAction* exportAction = bar->addAction(tr("Export..."));
    exportAction->setObjectName(QStringLiteral("exportMap"));
    connect(exportAction, &QAction::triggered, this, [this] {
        // The dialog adds the chosen type's suffix before it asks about overwriting.
        QFileDialog dialog(this, tr("Export the map"), folder_);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setNameFilters({tr("PNG picture (*.png)"), tr("SVG drawing (*.svg)")});
        dialog.setDefaultSuffix(QStringLiteral("png"));
        connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog](const QString& f) {
            dialog.setDefaultSuffix(f.contains(QLatin1String("svg")) ? QStringLiteral("svg")
                                                                     : QStringLiteral("png"));
        });
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return;
        const QString file = dialog.selectedFiles().constFirst();
        QString problem;
        if (!exportTo(file, &problem))
            showProblem(problem);
    });
    bar->addSeparator();
    tools_ = new QActionGroup(this);
    tools_->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    const auto tool = [&](const QString& label, const char* name, Tool which) {
        QAction* action = bar->addAction(label);
        action->setObjectName(QString::fromLatin1(name));
        action->setCheckable(true);
        tools_->addAction(action);
        connect(action, &QAction::toggled, this, [this, which](bool on) {
            if (on)
                setTool(which);
            else if (tool_ == which)
                setTool(Tool::None);
        });
    };
    tool(tr("Calibrate flow"), "calibrateFlow", Tool::CalibrateFlow);
    tool(tr("Calibrate ratio"), "calibratePressure", Tool::CalibratePressure);
    bar->addSeparator();
    tool(tr("Surge line"), "traceSurge", Tool::TraceSurge);
    tool(tr("Speed line"), "traceSpeed", Tool::TraceSpeed);
    tool(tr("Island"), "traceIsland", Tool::TraceIsland);
    QAction* finish = bar->addAction(tr("Finish line"));
    finish->setObjectName(QStringLiteral("finishLine"));
    connect(finish, &QAction::triggered, this, [this] {
        QString problem;
        if (!finishLine(&problem))
            showProblem(problem);
    });
    bar->addSeparator();
    QAction* undo = undo_->createUndoAction(this, tr("Undo"));
    undo->setObjectName(QStringLiteral("undo"));
    undo->setShortcut(QKeySequence::Undo);
    QAction* redo = undo_->createRedoAction(this, tr("Redo"));
    redo->setObjectName(QStringLiteral("redo"));
    redo->setShortcut(QKeySequence::Redo);
    bar->addAction(undo);
    bar->addAction(redo);

    unit_ = new QComboBox(this);
    unit_->setObjectName(QStringLiteral("flowUnit"));
    unit_->addItem(unitText(FlowUnit::LbPerMin));
    unit_->addItem(unitText(FlowUnit::KgPerS));
    unit_->setToolTip(tr("The unit of the map's corrected flow axis"));
    connect(unit_, &QComboBox::activated, this, [this](int index) {
        const FlowUnit unit = index == 1 ? FlowUnit::KgPerS : FlowUnit::LbPerMin;
        if (unit == state_.map.flowUnit)
            return;
        State next = state_;
        next.map.flowUnit = unit;
        push(tr("Flow unit %1").arg(unitText(unit)), std::move(next));
    });
    prompt_ = new QLabel(this);
    value_ = new QLineEdit(this);
    value_->setObjectName(QStringLiteral("value"));
    value_->setMaximumWidth(120);
    connect(value_, &QLineEdit::returnPressed, this, &MapView::valueEntered);
    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("status"));
    status_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    canvas_ = new MapCanvas(this);

    auto* entry = new QHBoxLayout;
    entry->addWidget(new QLabel(tr("Flow unit:"), this));
    entry->addWidget(unit_);
    entry->addSpacing(12);
    entry->addWidget(prompt_);
    entry->addWidget(value_);
    entry->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(bar);
    layout->addLayout(entry);
    layout->addWidget(canvas_, 1);
    layout->addWidget(status_);
    updatePrompt();
}

MapView::~MapView() = default;

bool MapView::openMap(const QString& file, const ImportSettings& settings, QString* problem) {
    const auto read = loadMap(file.toStdString(), settings);
    if (read.error) {
        *problem = QString::fromStdString(read.error->text());
        return false;
    }
    setMap(*read.map, QFileInfo(file).absolutePath());
    return true;
}

void MapView::setMap(const CompressorMap& map, const QString& folder) {
    folder_ = folder;
    undo_->clear();
    pendingMark_.reset();
    picture_ = QImage(); // read afresh: the file may have changed since
    apply(State{map, {}, {}, {}});
}

bool MapView::saveMap(const QString& file, QString* problem) {
    const QString folder = QFileInfo(file).absolutePath();
    CompressorMap map = state_.map;
    if (!map.picture.empty()) {
        const QString picture = QDir(folder_).absoluteFilePath(QString::fromStdString(map.picture));
        if (picture.startsWith(QLatin1Char(':'))) {
            // A map that came with the program: its picture goes beside the copy.
            const QString name = QFileInfo(picture).fileName();
            const QString copy = QDir(folder).filePath(name);
            if (!QFileInfo::exists(copy) && !QFile::copy(picture, copy)) {
                *problem = tr("%1 could not be written.").arg(copy);
                return false;
            }
            QFile::setPermissions(copy, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup |
                                            QFile::ReadOther);
            map.picture = name.toStdString();
        } else {
            map.picture = QDir(folder).relativeFilePath(picture).toStdString();
        }
    }
    std::ostringstream text;
    writeMapText(text, map);
    const std::string bytes = std::move(text).str();
    if (!writeWhole(file, QByteArray(bytes.data(), qsizetype(bytes.size())), problem))
        return false;
    folder_ = folder;
    state_.map.picture = map.picture; // the same picture, named from the new folder
    return true;
}

bool MapView::openPicture(const QString& file, QString* problem) {
    QImageReader reader(file);
    if (!reader.canRead()) {
        *problem = tr("%1 is not a picture that can be read: %2").arg(file, reader.errorString());
        return false;
    }
    State next = state_;
    next.map.picture = folder_.isEmpty() ? QFileInfo(file).absoluteFilePath().toStdString()
                                         : QDir(folder_).relativeFilePath(file).toStdString();
    push(tr("Open picture %1").arg(QFileInfo(file).fileName()), std::move(next));
    return true;
}

void MapView::setSeries(std::vector<MapSeries> series) {
    series_ = std::move(series);
    canvas_->update();
}

MapGeometry MapView::geometry() const {
    return MapGeometry(state_.map, &picture_, series_, QRectF(canvas_->rect()));
}

QPointF MapView::canvasPosition(QPointF pixel) const {
    return geometry().toArea(pixel);
}

void MapView::apply(const State& state) {
    const bool newPicture = state.map.picture != state_.map.picture || picture_.isNull();
    state_ = state;
    if (newPicture) {
        picture_ = QImage();
        if (!state_.map.picture.empty()) {
            const QString path = QDir(folder_).filePath(QString::fromStdString(state_.map.picture));
            QImageReader reader(path);
            reader.setAutoTransform(true);
            if (!reader.read(&picture_))
                showProblem(tr("The map's picture %1 could not be read: %2")
                                .arg(path, reader.errorString()));
        }
    }
    unit_->setCurrentIndex(state_.map.flowUnit == FlowUnit::KgPerS ? 1 : 0);
    updatePrompt();
    canvas_->update();
    emit mapChanged();
}

void MapView::push(const QString& what, State next) {
    if (next == state_)
        return;
    status_->clear();
    undo_->push(new Edit(this, what, state_, std::move(next)));
}

void MapView::setTool(Tool tool) {
    if (tool_ == tool)
        return;
    tool_ = tool;
    pendingMark_.reset();
    for (QAction* action : tools_->actions()) {
        const bool on =
            (action->objectName() == "calibrateFlow" && tool == Tool::CalibrateFlow) ||
            (action->objectName() == "calibratePressure" && tool == Tool::CalibratePressure) ||
            (action->objectName() == "traceSurge" && tool == Tool::TraceSurge) ||
            (action->objectName() == "traceSpeed" && tool == Tool::TraceSpeed) ||
            (action->objectName() == "traceIsland" && tool == Tool::TraceIsland);
        if (action->isChecked() != on)
            action->setChecked(on);
    }
    value_->clear();
    status_->clear();
    updatePrompt();
    canvas_->update();
}

void MapView::updatePrompt() {
    QString prompt;
    switch (tool_) {
    case Tool::None:
        break;
    case Tool::CalibrateFlow:
    case Tool::CalibratePressure: {
        const bool flow = tool_ == Tool::CalibrateFlow;
        const bool second = flow ? bool(state_.flowMark) : bool(state_.pressureMark);
        const QString what =
            flow ? tr("flow (%1)").arg(unitText(state_.map.flowUnit)) : tr("pressure ratio");
        prompt = pendingMark_ ? tr("Type the %1 at the marked point:").arg(what)
                 : second     ? tr("Click a second known %1 on the axis").arg(what)
                              : tr("Click a known %1 on the axis").arg(what);
        break;
    }
    case Tool::TraceSurge:
        prompt = tr("Click along the surge line, then Finish line");
        break;
    case Tool::TraceSpeed:
        prompt = tr("Speed (rpm):");
        break;
    case Tool::TraceIsland:
        prompt = tr("Efficiency (%):");
        break;
    }
    prompt_->setText(prompt);
    const bool typing =
        (pendingMark_ && (tool_ == Tool::CalibrateFlow || tool_ == Tool::CalibratePressure)) ||
        tool_ == Tool::TraceSpeed || tool_ == Tool::TraceIsland;
    value_->setVisible(typing);
    prompt_->setVisible(!prompt.isEmpty());
}

void MapView::clicked(QPointF canvasPoint) {
    const MapGeometry g = geometry();
    const QPointF pixel = g.toPixel(canvasPoint);
    switch (tool_) {
    case Tool::None:
        return;
    case Tool::CalibrateFlow:
    case Tool::CalibratePressure:
        if (!g.hasPicture()) {
            showProblem(tr("Open the map's picture first: the axes are calibrated on it."));
            return;
        }
        pendingMark_ = pixel;
        updatePrompt();
        value_->setFocus(Qt::OtherFocusReason);
        value_->selectAll();
        canvas_->update();
        return;
    case Tool::TraceSurge:
    case Tool::TraceSpeed:
    case Tool::TraceIsland: {
        if (!g.hasPicture() || !g.calibrated()) {
            showProblem(tr("Calibrate both axes on the picture first."));
            return;
        }
        const LineKind kind = tool_ == Tool::TraceSurge   ? LineKind::Surge
                              : tool_ == Tool::TraceSpeed ? LineKind::Speed
                                                          : LineKind::Island;
        State next = state_;
        if (!next.draft || next.draft->kind != kind)
            next.draft = MapLine{kind, 0, {}};
        next.draft->points.push_back(g.toMap(canvasPoint));
        push(tr("Trace a point of the %1").arg(kindText(kind)), std::move(next));
        // So that "type its speed, press Enter" needs no click on the box.
        if (kind != LineKind::Surge)
            value_->setFocus(Qt::OtherFocusReason);
        return;
    }
    }
}

void MapView::valueEntered() {
    if (tool_ == Tool::TraceSpeed || tool_ == Tool::TraceIsland) {
        QString problem;
        if (!finishLine(&problem))
            showProblem(problem);
        return;
    }
    if (!pendingMark_ || (tool_ != Tool::CalibrateFlow && tool_ != Tool::CalibratePressure))
        return;
    const auto value = fields::parseFloat(value_->text().toStdString());
    if (!value || !std::isfinite(*value)) {
        showProblem(tr("\"%1\" is not a number.").arg(value_->text()));
        value_->selectAll();
        return;
    }
    const bool flow = tool_ == Tool::CalibrateFlow;
    const float pixel = float(flow ? pendingMark_->x() : pendingMark_->y());
    State next = state_;
    auto& mark = flow ? next.flowMark : next.pressureMark;
    QString what;
    if (!mark) {
        mark = std::make_pair(pixel, *value);
        what = flow ? tr("Calibrate the flow axis (first point)")
                    : tr("Calibrate the pressure ratio axis (first point)");
    } else {
        const AxisCalibration axis{mark->first, mark->second, pixel, *value};
        if (axis.pixel1 == axis.pixel2 || axis.value1 == axis.value2) {
            showProblem(tr("The two points of an axis need different places and values."));
            return;
        }
        (flow ? next.map.flowAxis : next.map.pressureAxis) = axis;
        mark.reset();
        what = flow ? tr("Calibrate the flow axis") : tr("Calibrate the pressure ratio axis");
    }
    pendingMark_.reset();
    value_->clear();
    push(what, std::move(next));
}

bool MapView::finishLine(QString* problem) {
    if (!state_.draft) {
        *problem = tr("Click along a line on the picture first.");
        return false;
    }
    MapLine line = *state_.draft;
    if (line.kind != LineKind::Surge) {
        const auto value = fields::parseFloat(value_->text().toStdString());
        if (!value || !std::isfinite(*value)) {
            *problem = line.kind == LineKind::Speed ? tr("Type the line's speed in rpm.")
                                                    : tr("Type the island's efficiency in %.");
            value_->setFocus(Qt::OtherFocusReason);
            return false;
        }
        line.value = *value;
    }
    if (line.points.size() < minimumPoints(line.kind)) {
        *problem = tr("A %1 needs at least %2 points.")
                       .arg(kindText(line.kind))
                       .arg(minimumPoints(line.kind));
        return false;
    }
    State next = state_;
    next.draft.reset();
    if (line.kind == LineKind::Surge) // a map has one surge line: the new one replaces it
        std::erase_if(next.map.lines, [](const MapLine& l) { return l.kind == LineKind::Surge; });
    next.map.lines.push_back(line);
    value_->clear();
    push(tr("Trace the %1").arg(QString::fromStdString(lineName(line))), std::move(next));
    return true;
}

void MapView::hovered(QPointF canvasPoint) {
    const QString values = valuesAt(canvasPoint);
    canvas_->setToolTip(values);
    if (status_->property("problem").toBool())
        return;
    status_->setText(values);
}

QString MapView::valuesAt(QPointF canvasPoint) const {
    const MapGeometry g = geometry();
    if (!g.calibrated() || !g.sheet().contains(canvasPoint))
        return {};
    const MapPoint p = g.toMap(canvasPoint);
    QString line = tr("flow %1 %2, pressure ratio %3")
                       .arg(text(p.flow), unitText(state_.map.flowUnit), text(p.pressureRatio));
    const auto f = matchCorrected(state_.map, p.flow, p.pressureRatio);
    if (f.speed)
        line += tr(", %1 rpm").arg(text(*f.speed));
    if (f.efficiency)
        line += tr(", efficiency %1 %").arg(text(*f.efficiency));
    if (f.surgeMargin)
        line += tr(", surge margin %1 %").arg(text(*f.surgeMargin));
    return line;
}

void MapView::showProblem(const QString& problem) {
    status_->setText(problem);
    status_->setStyleSheet(problem.isEmpty() ? QString() : QStringLiteral("color: #b00000"));
    status_->setProperty("problem", !problem.isEmpty());
}

bool MapView::exportTo(const QString& file, QString* problem) const {
    // The picture's own size, so that nothing of the maker's sheet is lost.
    const QSize size = picture_.isNull()
                           ? QSize(MapGeometry::kSheetWidth, MapGeometry::kSheetHeight)
                           : picture_.size();
    const QRectF area(QPointF(0, 0), QSizeF(size));
    const MapGeometry g(state_.map, &picture_, series_, area);
    const MapOverlay overlay{series_, nullptr, std::nullopt};
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (file.endsWith(QLatin1String(".svg"), Qt::CaseInsensitive)) {
        QSvgGenerator svg;
        svg.setOutputDevice(&buffer);
        svg.setSize(size);
        svg.setViewBox(QRect(QPoint(0, 0), size));
        svg.setTitle(tr("Compressor map"));
        QPainter painter(&svg);
        paintMap(painter, g, state_.map, &picture_, overlay);
    } else {
        QImage image(size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::white);
        {
            QPainter painter(&image);
            paintMap(painter, g, state_.map, &picture_, overlay);
        }
        if (!image.save(&buffer, "PNG")) {
            *problem = tr("%1 could not be written: the picture could not be made.").arg(file);
            return false;
        }
    }
    return writeWhole(file, bytes, problem);
}

} // namespace compmap
