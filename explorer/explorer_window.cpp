#include "explorer_window.hpp"

#include "candidate_table.hpp"
#include "curve_chart.hpp"
#include "message_box.hpp"
#include "number_text.hpp"
#include "qt_text.hpp"
#include "round_numbers.hpp"
#include "run_log_window.hpp"
#include "sweep.hpp"
#include "template_builder.hpp"
#include "units.hpp"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDate>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPainter>
#include <QPdfWriter>
#include <QPushButton>
#include <QSaveFile>
#include <QSettings>
#include <QSplitter>
#include <QSvgGenerator>
#include <QTableView>
#include <QTextDocument>
#include <QUndoStack>
#include <QVBoxLayout>

using explorer::figureText;
using explorer::toQString;

namespace {

constexpr int kMaxRecent = 8;

QSettings settings() {
    return QSettings(QStringLiteral("Vorlaxen Designer"), QStringLiteral("Design Explorer"));
}

enum ExportKind { ExportPng, ExportSvg, ExportCsv, ExportPdf };

} // namespace

ExplorerWindow::ExplorerWindow(QWidget* parent) : CDialog(133, parent) {
    // The template gives the first size only: this window is laid out by Qt and may be resized.
    const QSize firstSize = size();
    setMinimumSize(QSize(480, 320));
    setMaximumSize(QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX));
    setWindowFlags(windowFlags() | Qt::WindowMaximizeButtonHint | Qt::WindowMinimizeButtonHint);
    setSizeGripEnabled(true);
    resize(firstSize);

    undo_ = new QUndoStack(this);
    model_ = new explorer::CandidateTable(undo_, this);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    auto* bar = new QMenuBar(this);
    layout->setMenuBar(bar);
    QMenu* fileMenu = bar->addMenu(tr("&File"));
    QMenu* editMenu = bar->addMenu(tr("&Edit"));
    buildMenus(fileMenu, editMenu);

    auto* splitter = new QSplitter(Qt::Horizontal, this);
    splitter->addWidget(buildCandidatesSide());
    splitter->addWidget(buildChartSide());
    splitter->setStretchFactor(0, 1);
    splitter->setStretchFactor(1, 1);
    splitter->setChildrenCollapsible(false);
    layout->addWidget(splitter, 1);

    restoreSettings();

    connect(undo_, &QUndoStack::cleanChanged, this, [this] { updateTitle(); });
    connect(model_, &explorer::CandidateTable::candidatesChanged, this, [this] {
        refreshChart();
        showRowNote();
    });
    connect(table_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this] { showRowNote(); });
    connect(chart_, &explorer::CurveChart::pointHovered, hover_, &QLabel::setText);
    updateTitle();
}

ExplorerWindow::~ExplorerWindow() {
    // The undo stack, the table model and the selection are children that Qt deletes after this
    // destructor, and deleting them emits signals; the window must no longer answer them then.
    undo_->disconnect(this);
    model_->disconnect(this);
    table_->selectionModel()->disconnect(this);
}

QAction* ExplorerWindow::action(const QString& objectName) const {
    return findChild<QAction*>(objectName);
}

void ExplorerWindow::buildMenus(QMenu* file, QMenu* edit) {
    auto add = [this](QMenu* menu, const QString& name, const QString& text, QKeySequence shortcut,
                      auto handler) {
        QAction* act = menu->addAction(text);
        act->setObjectName(name);
        act->setShortcut(shortcut);
        connect(act, &QAction::triggered, this, handler);
        return act;
    };
    add(file, QStringLiteral("new"), tr("&New"), QKeySequence::New, [this] { OnFileNew(); });
    add(file, QStringLiteral("open"), tr("&Open..."), QKeySequence::Open, [this] { OnFileOpen(); });
    recentMenu_ = file->addMenu(tr("Open &Recent"));
    connect(recentMenu_, &QMenu::aboutToShow, this, [this] { fillRecentMenu(); });
    file->addSeparator();
    add(file, QStringLiteral("save"), tr("&Save"), QKeySequence::Save, [this] { OnFileSave(); });
    add(file, QStringLiteral("saveAs"), tr("Save &As..."), QKeySequence::SaveAs,
        [this] { OnFileSaveAs(); });
    file->addSeparator();
    QMenu* exports = file->addMenu(tr("&Export"));
    add(exports, QStringLiteral("exportPng"), tr("Chart as &PNG Picture..."), {},
        [this] { OnExport(ExportPng); });
    add(exports, QStringLiteral("exportSvg"), tr("Chart as &SVG Drawing..."), {},
        [this] { OnExport(ExportSvg); });
    add(exports, QStringLiteral("exportCsv"), tr("Curve &Data as CSV..."), {},
        [this] { OnExport(ExportCsv); });
    add(exports, QStringLiteral("exportPdf"), tr("Design &Sheet as PDF..."), {},
        [this] { OnExport(ExportPdf); });
    file->addSeparator();
    add(file, QStringLiteral("close"), tr("&Close"), QKeySequence::Close,
        [this] { SendCommand(IDCANCEL); });

    QAction* undoAction = undo_->createUndoAction(this, tr("&Undo"));
    undoAction->setObjectName(QStringLiteral("undo"));
    undoAction->setShortcut(QKeySequence::Undo);
    QAction* redoAction = undo_->createRedoAction(this, tr("&Redo"));
    redoAction->setObjectName(QStringLiteral("redo"));
    redoAction->setShortcut(QKeySequence::Redo);
    edit->addAction(undoAction);
    edit->addAction(redoAction);
    edit->addSeparator();
    auto current = [this] {
        return table_->currentIndex().isValid() ? table_->currentIndex().row() : -1;
    };
    add(edit, QStringLiteral("add"), tr("&Add Candidate"), QKeySequence(Qt::CTRL | Qt::Key_Plus),
        [this] { table_->selectRow(model_->addCandidate()); });
    add(edit, QStringLiteral("duplicate"), tr("D&uplicate Candidate"),
        QKeySequence(Qt::CTRL | Qt::Key_D), [this, current] {
            if (const int row = current(); row >= 0)
                table_->selectRow(model_->duplicateCandidate(row));
        });
    add(edit, QStringLiteral("delete"), tr("&Delete Candidate"), {}, [this, current] {
        if (const int row = current(); row >= 0)
            model_->deleteCandidate(row);
    });
    add(edit, QStringLiteral("moveUp"), tr("Move U&p"), QKeySequence(Qt::CTRL | Qt::Key_Up),
        [this, current] {
            if (const int row = current(); row > 0) {
                model_->moveCandidate(row, row - 1);
                table_->selectRow(row - 1);
            }
        });
    add(edit, QStringLiteral("moveDown"), tr("Move Dow&n"), QKeySequence(Qt::CTRL | Qt::Key_Down),
        [this, current] {
            if (const int row = current(); row >= 0 && row + 1 < model_->rowCount()) {
                model_->moveCandidate(row, row + 1);
                table_->selectRow(row + 1);
            }
        });
    explorer::addRunLogActions(this, edit);
    for (QAction* act : file->actions() + edit->actions())
        act->setShortcutContext(Qt::WindowShortcut);
    addActions(file->actions());
    addActions(edit->actions());
}

QWidget* ExplorerWindow::buildCandidatesSide() {
    auto* side = new QWidget(this);
    auto* layout = new QVBoxLayout(side);
    layout->setContentsMargins(0, 0, 0, 0);

    auto* buttons = new QHBoxLayout;
    auto button = [&](const QString& text, const QString& actionName) {
        auto* push = new QPushButton(text, side);
        push->setObjectName(actionName + QStringLiteral("Button"));
        push->setAutoDefault(false); // Enter belongs to the cell being edited
        connect(push, &QPushButton::clicked, this,
                [this, actionName] { action(actionName)->trigger(); });
        buttons->addWidget(push);
    };
    button(tr("Add"), QStringLiteral("add"));
    button(tr("Duplicate"), QStringLiteral("duplicate"));
    button(tr("Delete"), QStringLiteral("delete"));
    button(tr("Up"), QStringLiteral("moveUp"));
    button(tr("Down"), QStringLiteral("moveDown"));
    buttons->addStretch(1);
    buttons->addWidget(new QLabel(tr("Units:"), side));
    units_ = new QComboBox(side);
    units_->addItem(tr("Forms' units (in, psi, lb/s)"));
    units_->addItem(tr("Metric (mm, bar, kg/s)"));
    buttons->addWidget(units_);
    layout->addLayout(buttons);

    table_ = new QTableView(side);
    table_->setModel(model_);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                            QAbstractItemView::AnyKeyPressed);
    table_->verticalHeader()->setVisible(false);
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table_->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    model_->attachEditors(table_);
    layout->addWidget(table_, 1);

    message_ = new QLabel(side);
    message_->setWordWrap(true);
    message_->setObjectName(QStringLiteral("rowMessage"));
    layout->addWidget(message_);

    connect(units_, &QComboBox::currentIndexChanged, this, [this] { unitsChanged(); });
    return side;
}

QWidget* ExplorerWindow::buildChartSide() {
    auto* side = new QWidget(this);
    auto* layout = new QVBoxLayout(side);
    layout->setContentsMargins(0, 0, 0, 0);

    auto* sweep = new QHBoxLayout;
    sweep->addWidget(new QLabel(tr("Sweep:"), side));
    sweptInput_ = new QComboBox(side);
    for (std::size_t i = 0; i < turbo::kEngineInputCount; ++i) {
        const auto& field = turbo::engineField(static_cast<explorer::EngineInput>(i));
        sweptInput_->addItem(explorer::CandidateTable::fieldName(field), toQString(field.key));
    }
    sweep->addWidget(sweptInput_, 1);
    auto box = [&](const QString& label) {
        sweep->addWidget(new QLabel(label, side));
        auto* edit = new QLineEdit(side);
        edit->setMaximumWidth(70);
        sweep->addWidget(edit);
        connect(edit, &QLineEdit::editingFinished, this, [this] { sweepTextEdited(); });
        return edit;
    };
    sweepFrom_ = box(tr("from"));
    sweepTo_ = box(tr("to"));
    sweepStep_ = box(tr("step"));
    layout->addLayout(sweep);

    auto* plotRow = new QHBoxLayout;
    auto* plotLabel = new QLabel(tr("Plot:"), side);
    plotLabel->setAlignment(Qt::AlignTop);
    plotRow->addWidget(plotLabel);
    results_ = new QListWidget(side);
    results_->setFlow(QListView::LeftToRight);
    results_->setWrapping(true);
    results_->setResizeMode(QListView::Adjust);
    for (std::size_t i = 0; i < turbo::kEngineResultCount; ++i) {
        const auto& field = turbo::engineField(static_cast<explorer::EngineResult>(i));
        auto* item = new QListWidgetItem(explorer::CandidateTable::fieldName(field), results_);
        item->setData(Qt::UserRole, toQString(field.key));
        item->setFlags(Qt::ItemIsUserCheckable | Qt::ItemIsEnabled);
        item->setCheckState(Qt::Unchecked);
    }
    results_->setMaximumHeight(results_->fontMetrics().height() * 5);
    plotRow->addWidget(results_, 1);
    layout->addLayout(plotRow);

    chart_ = new explorer::CurveChart(side);
    layout->addWidget(chart_, 1);
    hover_ = new QLabel(side);
    hover_->setObjectName(QStringLiteral("hoverText"));
    layout->addWidget(hover_);

    connect(sweptInput_, &QComboBox::currentIndexChanged, this, [this] { sweptInputChanged(); });
    connect(results_, &QListWidget::itemChanged, this, [this] {
        saveSweepSettings();
        refreshChart();
    });
    return side;
}

// ---- settings -------------------------------------------------------------------------------

void ExplorerWindow::restoreSettings() {
    QSettings s = settings();
    if (const QSize remembered = s.value(QStringLiteral("window/size")).toSize();
        remembered.isValid())
        resize(remembered.expandedTo(minimumSize()));
    const auto system =
        fields::systemFromKey(s.value(QStringLiteral("units")).toString().toStdString());
    {
        const QSignalBlocker block(units_);
        units_->setCurrentIndex(system == fields::UnitSystem::Metric ? 1 : 0);
    }
    model_->setUnits(units());

    {
        const QSignalBlocker block(sweptInput_);
        const int index = sweptInput_->findData(s.value(QStringLiteral("sweep/input")).toString());
        sweptInput_->setCurrentIndex(index >= 0
                                         ? index
                                         : sweptInput_->findData(toQString(
                                               turbo::engineField(explorer::EngineInput::P2).key)));
    }
    // The sweep is remembered as its boxes showed it, in the units remembered with it.
    const auto from =
        fields::parseSweepNumber(s.value(QStringLiteral("sweep/from")).toString().toStdString());
    const auto to =
        fields::parseSweepNumber(s.value(QStringLiteral("sweep/to")).toString().toStdString());
    const auto step =
        fields::parseSweepNumber(s.value(QStringLiteral("sweep/step")).toString().toStdString());
    if (from && to && step)
        setSweep(*from, *to, *step);
    else
        defaultSweep();

    const QStringList plotted =
        s.value(QStringLiteral("plot/results"), QStringList{QStringLiteral("thrust")})
            .toStringList();
    const QSignalBlocker block(results_);
    for (int i = 0; i < results_->count(); ++i) {
        QListWidgetItem* item = results_->item(i);
        item->setCheckState(plotted.contains(item->data(Qt::UserRole).toString()) ? Qt::Checked
                                                                                  : Qt::Unchecked);
    }
}

void ExplorerWindow::saveSweepSettings() const {
    QSettings s = settings();
    s.setValue(QStringLiteral("units"), toQString(fields::systemKey(units())));
    s.setValue(QStringLiteral("sweep/input"), sweptInput_->currentData().toString());
    s.setValue(QStringLiteral("sweep/from"), sweepFrom_->text());
    s.setValue(QStringLiteral("sweep/to"), sweepTo_->text());
    s.setValue(QStringLiteral("sweep/step"), sweepStep_->text());
    QStringList plotted;
    for (int i = 0; i < results_->count(); ++i)
        if (results_->item(i)->checkState() == Qt::Checked)
            plotted << results_->item(i)->data(Qt::UserRole).toString();
    s.setValue(QStringLiteral("plot/results"), plotted);
}

fields::UnitSystem ExplorerWindow::units() const {
    return units_->currentIndex() == 1 ? fields::UnitSystem::Metric : fields::UnitSystem::Forms;
}

explorer::EngineInput ExplorerWindow::sweptInput() const {
    return static_cast<explorer::EngineInput>(std::max(sweptInput_->currentIndex(), 0));
}

std::vector<explorer::EngineResult> ExplorerWindow::plottedResults() const {
    std::vector<explorer::EngineResult> results;
    for (int i = 0; i < results_->count(); ++i)
        if (results_->item(i)->checkState() == Qt::Checked)
            results.push_back(static_cast<explorer::EngineResult>(i));
    return results;
}

explorer::CurveRequest ExplorerWindow::curveRequest() const {
    explorer::CurveRequest request;
    request.swept = sweptInput();
    request.from = sweep_.from;
    request.to = sweep_.to;
    request.step = sweep_.step;
    request.results = plottedResults();
    request.units = units();
    return request;
}

void ExplorerWindow::rememberRecent(const QString& path) {
    QSettings s = settings();
    QStringList recent = s.value(QStringLiteral("files/recent")).toStringList();
    const QString absolute = QFileInfo(path).absoluteFilePath();
    recent.removeAll(absolute);
    recent.prepend(absolute);
    while (recent.size() > kMaxRecent)
        recent.removeLast();
    s.setValue(QStringLiteral("files/recent"), recent);
}

void ExplorerWindow::fillRecentMenu() {
    recentMenu_->clear();
    const QStringList recent = settings().value(QStringLiteral("files/recent")).toStringList();
    for (int i = 0; i < recent.size(); ++i) {
        const QString path = recent[i];
        QAction* act = recentMenu_->addAction(
            QStringLiteral("&%1 %2").arg(i + 1).arg(QFileInfo(path).fileName()));
        act->setToolTip(path);
        connect(act, &QAction::triggered, this, [this, path] {
            if (maySetAside())
                openFile(path);
        });
    }
    if (recent.isEmpty())
        recentMenu_->addAction(tr("(none)"))->setEnabled(false);
}

// ---- title, units, sweep ---------------------------------------------------------------------

void ExplorerWindow::updateTitle() {
    const QString base = QString::fromStdString(dialogTemplate().title);
    const bool modified = !undo_->isClean();
    if (file_.isEmpty() && !modified) {
        setWindowTitle(base);
        return;
    }
    // The file's name first, with a star while it differs from what the file holds.
    const QString name = file_.isEmpty() ? tr("Untitled") : QFileInfo(file_).fileName();
    setWindowTitle(name + (modified ? QStringLiteral("*") : QString()) + QStringLiteral(" - ") +
                   base);
}

// Shows the sweep in its boxes and takes it back from what they show, so the chart sweeps
// exactly the numbers the user sees.
void ExplorerWindow::setSweep(double from, double to, double step) {
    sweepFrom_->setText(figureText(static_cast<float>(from)));
    sweepTo_->setText(figureText(static_cast<float>(to)));
    sweepStep_->setText(figureText(static_cast<float>(step)));
    sweep_.from = fields::parseSweepNumber(sweepFrom_->text().toStdString()).value_or(from);
    sweep_.to = fields::parseSweepNumber(sweepTo_->text().toStdString()).value_or(to);
    sweep_.step = fields::parseSweepNumber(sweepStep_->text().toStdString()).value_or(step);
}

// P2 from 0 to 50 psig; any other input from half to one and a half times the first
// candidate's value, in a hundred steps.
void ExplorerWindow::defaultSweep() {
    const explorer::EngineInput input = sweptInput();
    const auto quantity = turbo::engineField(input).quantity;
    if (input == explorer::EngineInput::P2) {
        const explorer::CurveRequest standard;
        const double factor = fields::displayPerForms(quantity, units());
        setRoundedSweep(standard.from * factor, standard.to * factor, standard.step * factor);
        return;
    }
    const auto& candidates = model_->candidateList();
    float value = turbo::EngineInputs()[input];
    if (!candidates.empty() && !candidates.front()[input].bad)
        value = candidates.front()[input].value;
    const double shown = fields::toDisplay(quantity, units(), value);
    setRoundedSweep(shown * 0.5, shown * 1.5, shown / 100.0);
}

// A default converted into metric units is made round; the forms' units keep their figures.
void ExplorerWindow::setRoundedSweep(double from, double to, double step) {
    if (units() == fields::UnitSystem::Forms) {
        setSweep(from, to, step);
        return;
    }
    const auto round = explorer::roundSweep(from, to, step);
    setSweep(round.from, round.to, round.step);
}

void ExplorerWindow::unitsChanged() {
    const fields::UnitSystem was = model_->units();
    model_->setUnits(units());
    const auto quantity = turbo::engineField(sweptInput()).quantity;
    const double factor =
        fields::displayPerForms(quantity, units()) / fields::displayPerForms(quantity, was);
    setRoundedSweep(sweep_.from * factor, sweep_.to * factor, sweep_.step * factor);
    saveSweepSettings();
    refreshChart();
}

void ExplorerWindow::sweptInputChanged() {
    defaultSweep();
    saveSweepSettings();
    refreshChart();
}

void ExplorerWindow::sweepTextEdited() {
    const auto from = fields::parseSweepNumber(sweepFrom_->text().toStdString());
    const auto to = fields::parseSweepNumber(sweepTo_->text().toStdString());
    const auto step = fields::parseSweepNumber(sweepStep_->text().toStdString());
    if (!from || !to || !step) {
        message_->setText(tr("The sweep needs a number in each of \"from\", \"to\" and \"step\"; "
                             "the chart shows the last sweep that could be read."));
        return;
    }
    if (*from == sweep_.from && *to == sweep_.to && *step == sweep_.step)
        return;
    sweep_.from = *from;
    sweep_.to = *to;
    sweep_.step = *step;
    saveSweepSettings();
    refreshChart();
}

void ExplorerWindow::showRowNote() {
    const QModelIndex current = table_->currentIndex();
    message_->setText(current.isValid() ? model_->rowNote(current.row()) : QString());
}

void ExplorerWindow::refreshChart() {
    const explorer::CurveRequest request = curveRequest();
    QString problem;
    const auto panels = model_->curves(request, &problem);
    chart_->show(
        explorer::CandidateTable::titleWithUnit(turbo::engineField(request.swept), request.units),
        std::min(request.from, request.to), std::max(request.from, request.to), panels);
    if (!problem.isEmpty())
        message_->setText(problem);
    else
        showRowNote();
}

// ---- the dialog's own commands ---------------------------------------------------------------

bool ExplorerWindow::OnInitDialog() {
    refreshChart();
    if (model_->rowCount() > 0)
        table_->selectRow(0);
    table_->setFocus(Qt::OtherFocusReason); // typing starts in the first candidate's row
    return true;
}

void ExplorerWindow::OnOK() {}

void ExplorerWindow::OnCancel() {
    if (!maySetAside())
        return;
    // The size is kept when the window closes, not at every step of a resize.
    settings().setValue(QStringLiteral("window/size"), size());
    CDialog::OnCancel();
}

bool ExplorerWindow::maySetAside() {
    if (undo_->isClean())
        return true;
    const QString name = file_.isEmpty() ? tr("the new candidates") : QFileInfo(file_).fileName();
    QMessageBox ask(QMessageBox::Question, windowTitle(),
                    tr("Save the changes to %1 first?").arg(name),
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, this);
    ask.setDefaultButton(QMessageBox::Save);
    ask.setFont(dialogs::programFont());
    const int answer = ask.exec();
    if (answer == QMessageBox::Cancel)
        return false;
    if (answer == QMessageBox::Discard)
        return true;
    if (file_.isEmpty()) {
        const QString path = QFileDialog::getSaveFileName(this, tr("Save Candidates"), QString(),
                                                          tr("Candidate files (*.csv)"));
        return !path.isEmpty() && saveTo(path);
    }
    return saveTo(file_);
}

// ---- files -----------------------------------------------------------------------------------

void ExplorerWindow::OnFileNew() {
    if (!maySetAside())
        return;
    model_->reset();
    undo_->clear();
    file_.clear();
    updateTitle();
    table_->selectRow(0);
}

void ExplorerWindow::OnFileOpen() {
    if (!maySetAside())
        return;
    const QString path = QFileDialog::getOpenFileName(this, tr("Open Candidates"), QString(),
                                                      tr("Candidate files (*.csv);;All files (*)"));
    if (!path.isEmpty())
        openFile(path);
}

void ExplorerWindow::OnFileSave() {
    if (file_.isEmpty())
        OnFileSaveAs();
    else
        saveTo(file_);
}

void ExplorerWindow::OnFileSaveAs() {
    QString path = QFileDialog::getSaveFileName(this, tr("Save Candidates As"), file_,
                                                tr("Candidate files (*.csv)"));
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".csv");
    saveTo(path);
}

bool ExplorerWindow::openFile(const QString& path) {
    QString problem;
    if (!model_->load(path, &problem)) {
        dialogs::showMessage(this, windowTitle(),
                             tr("%1\nThe candidates that were open are unchanged.").arg(problem));
        return false;
    }
    undo_->clear();
    file_ = path;
    rememberRecent(path);
    updateTitle();
    table_->selectRow(0);
    return true;
}

bool ExplorerWindow::saveTo(const QString& path) {
    QString problem;
    if (!model_->save(path, &problem)) {
        dialogs::showMessage(this, windowTitle(), tr("%1\nThe file was not changed.").arg(problem));
        return false;
    }
    file_ = path;
    undo_->setClean();
    rememberRecent(path);
    updateTitle();
    return true;
}

// ---- exports ---------------------------------------------------------------------------------

void ExplorerWindow::OnExport(int kind) {
    struct Choice {
        QString caption, filter, suffix;
    };
    static const Choice choices[] = {
        {tr("Export Chart as PNG"), tr("PNG pictures (*.png)"), QStringLiteral("png")},
        {tr("Export Chart as SVG"), tr("SVG drawings (*.svg)"), QStringLiteral("svg")},
        {tr("Export Curve Data as CSV"), tr("CSV files (*.csv)"), QStringLiteral("csv")},
        {tr("Export Design Sheet as PDF"), tr("PDF documents (*.pdf)"), QStringLiteral("pdf")},
    };
    const Choice& choice = choices[kind];
    QString path = QFileDialog::getSaveFileName(this, choice.caption, QString(), choice.filter);
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += QLatin1Char('.') + choice.suffix;
    switch (kind) {
    case ExportPng:
        exportChartImage(path);
        break;
    case ExportSvg:
        exportChartSvg(path);
        break;
    case ExportCsv:
        exportCurveCsv(path);
        break;
    case ExportPdf:
        exportDesignSheet(path);
        break;
    }
}

namespace {

bool refused(QWidget* window, const QString& path) {
    dialogs::showMessage(window, window->windowTitle(),
                         QObject::tr("%1 could not be written.").arg(path));
    return false;
}

} // namespace

bool ExplorerWindow::exportChartImage(const QString& path) {
    // Twice the screen's pixels, so the picture stays sharp on paper and on a projector.
    const QSize size = chart_->size();
    QImage image(size * 2, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(2.0);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        chart_->paint(painter, QRectF(QPointF(0, 0), QSizeF(size)));
    }
    return image.save(path, "PNG") || refused(this, path);
}

bool ExplorerWindow::exportChartSvg(const QString& path) {
    QSvgGenerator svg;
    svg.setFileName(path);
    svg.setSize(chart_->size());
    svg.setViewBox(QRect(QPoint(0, 0), chart_->size()));
    svg.setTitle(tr("Design Explorer chart"));
    QPainter painter;
    if (!painter.begin(&svg))
        return refused(this, path);
    chart_->paint(painter, QRectF(QPointF(0, 0), QSizeF(chart_->size())));
    painter.end();
    return QFileInfo(path).size() > 0 || refused(this, path);
}

bool ExplorerWindow::exportCurveCsv(const QString& path) {
    const QByteArray text = model_->curveCsv(curveRequest());
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size() || !file.commit())
        return refused(this, path);
    return true;
}

bool ExplorerWindow::exportDesignSheet(const QString& path) {
    QPdfWriter pdf(path);
    pdf.setPageSize(QPageSize(QPageSize::A4));
    pdf.setPageOrientation(QPageLayout::Landscape);
    pdf.setPageMargins(QMarginsF(12, 12, 12, 12), QPageLayout::Millimeter);
    pdf.setTitle(tr("Vorlaxen Designer - design sheet"));
    pdf.setCreator(QStringLiteral("Vorlaxen Designer"));
    QPainter painter;
    if (!painter.begin(&pdf))
        return refused(this, path);

    // Laid out in points (1/72 in) whatever the writer's resolution.
    const double scale = pdf.resolution() / 72.0;
    painter.scale(scale, scale);
    paintDesignSheet(painter, QSizeF(pdf.width() / scale, pdf.height() / scale));
    return painter.end() || refused(this, path);
}

void ExplorerWindow::paintDesignSheet(QPainter& painter, const QSizeF& size) {
    const QRectF page(QPointF(0, 0), size);
    QTextDocument head;
    head.setDefaultFont(QFont(font().family(), 9));
    head.setTextWidth(page.width());
    head.setHtml(model_->sheetHeading(QDate::currentDate(),
                                      file_.isEmpty() ? QString() : QFileInfo(file_).fileName()));
    head.drawContents(&painter);
    double top = head.size().height() + 4;

    // The chart takes the left part of the page at its on-screen proportions; the candidates'
    // figures stand beside it.
    const double chartWidth = page.width() * 0.55;
    const QSizeF shown = chart_->size();
    const double chartHeight =
        std::min(page.height() - top, chartWidth * shown.height() / std::max(1.0, shown.width()));
    chart_->paint(painter, QRectF(0, top, chartWidth, chartHeight));

    QTextDocument figures;
    figures.setDefaultFont(QFont(font().family(), 7));
    figures.setTextWidth(page.width() - chartWidth - 8);
    figures.setHtml(model_->sheetTable() + explorer::measuredSheetHtml(*model_));
    painter.save();
    painter.translate(chartWidth + 8, top);
    const double room = page.height() - top;
    if (figures.size().height() > room) { // a long list is shrunk to stay on the one page
        const double shrink = room / figures.size().height();
        painter.scale(shrink, shrink);
    }
    figures.drawContents(&painter);
    painter.restore();
}
