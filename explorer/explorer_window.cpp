#include "explorer_window.hpp"

#include "candidate_table.hpp"
#include "candidate_view.hpp"
#include "curve_chart.hpp"
#include "explorer_settings.hpp"
#include "map_panel.hpp"
#include "message_box.hpp"
#include "qt_text.hpp"
#include "run_log_window.hpp"
#include "save_path.hpp"
#include "template_builder.hpp"
#include "units.hpp"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QSplitter>
#include <QTableView>
#include <QUndoStack>
#include <QVBoxLayout>

namespace {

constexpr int kMaxRecent = 8;

} // namespace

ExplorerWindow::ExplorerWindow(QWidget* parent) : CDialog(133, parent) {
    // Laid out by Qt and resizable; its first size is settled once it is built.
    setMaximumSize(QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX));
    setWindowFlags(windowFlags() | Qt::WindowMaximizeButtonHint | Qt::WindowMinimizeButtonHint);
    setSizeGripEnabled(true);

    undo_ = new QUndoStack(this);
    model_ = new explorer::CandidateTable(undo_, this);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    auto* bar = new QMenuBar(this);
    layout->setMenuBar(bar);
    QMenu* fileMenu = bar->addMenu(tr("&File"));
    QMenu* editMenu = bar->addMenu(tr("&Edit"));
    buildMenus(fileMenu, editMenu);

    // The row commands and the units span the window, so neither side is held wide by them.
    auto* commands = new QHBoxLayout;
    layout->addLayout(commands);
    auto* splitter = new QSplitter(Qt::Horizontal, this);
    splitter->addWidget(buildCandidatesSide(commands));
    splitter->addWidget(buildChartSide());
    splitter->setStretchFactor(0, 1);
    splitter->setStretchFactor(1, 1);
    splitter->setChildrenCollapsible(false);
    layout->addWidget(splitter, 1);
    maps_->fillMenu(bar->addMenu(tr("&Map")));

    restoreSettings();
    placeWindow();

    connect(undo_, &QUndoStack::cleanChanged, this, [this] { updateTitle(); });
    connect(maps_, &explorer::MapPanel::modifiedChanged, this, [this] { updateTitle(); });
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
    // Not every desktop gives Save As a key; this one always has Ctrl+Shift+S.
    add(file, QStringLiteral("saveAs"), tr("Save &As..."),
        QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S), [this] { OnFileSaveAs(); });
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
    add(edit, QStringLiteral("delete"), tr("&Delete Candidates"), QKeySequence::Delete, [this] {
        std::vector<int> rows;
        for (const QModelIndex& index : table_->selectionModel()->selectedRows())
            rows.push_back(index.row());
        if (rows.empty() && table_->currentIndex().isValid())
            rows.push_back(table_->currentIndex().row());
        model_->deleteCandidates(rows);
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

QWidget* ExplorerWindow::buildCandidatesSide(QHBoxLayout* buttons) {
    auto* side = new QWidget(this);
    auto* layout = new QVBoxLayout(side);
    layout->setContentsMargins(0, 0, 0, 0);

    auto button = [&](const QString& text, const QString& actionName) {
        auto* push = new QPushButton(text, this);
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
    buttons->addWidget(new QLabel(tr("Units:"), this));
    units_ = new QComboBox(this);
    units_->addItem(tr("Forms' units (in, psi, lb/s)"));
    units_->addItem(tr("Metric (mm, bar, kg/s)"));
    buttons->addWidget(units_);

    table_ = new explorer::CandidateView(side);
    table_->setModel(model_);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::ExtendedSelection);
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

void ExplorerWindow::rememberRecent(const QString& path) {
    QStringList recent = explorer::readSetting(explorer::Setting::RecentFiles).toStringList();
    const QString absolute = QFileInfo(path).absoluteFilePath();
    recent.removeAll(absolute);
    recent.prepend(absolute);
    while (recent.size() > kMaxRecent)
        recent.removeLast();
    explorer::writeSetting(explorer::Setting::RecentFiles, recent);
}

void ExplorerWindow::fillRecentMenu() {
    recentMenu_->clear();
    const QStringList recent = explorer::readSetting(explorer::Setting::RecentFiles).toStringList();
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

// The remembered place and size, which Qt keeps on a screen that is there now; the first time, as
// large as the screen allows up to a comfortable size, so every control shows.
void ExplorerWindow::placeWindow() {
    setMinimumSize(layout()->minimumSize());
    const QByteArray remembered =
        explorer::readSetting(explorer::Setting::WindowGeometry).toByteArray();
    if (!remembered.isEmpty() && restoreGeometry(remembered))
        return;
    const QSize comfortable(1180, 780);
    QSize first = comfortable;
    if (const QScreen* here = screen()) {
        const QRect room = here->availableGeometry();
        first = comfortable.boundedTo(room.size() * 0.92).expandedTo(minimumSize());
        first = first.boundedTo(room.size());
        move(room.center() - QPoint(first.width() / 2, first.height() / 2));
    }
    resize(first);
}

// ---- title ---------------------------------------------------------------------

void ExplorerWindow::updateTitle() {
    const QString base = QString::fromStdString(dialogTemplate().title);
    // A map traced and not yet saved is unsaved work too.
    const bool modified = !undo_->isClean() || maps_->isModified();
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
void ExplorerWindow::showRowNote() {
    // What is wrong with the sweep comes first: it empties every curve.
    const QModelIndex current = table_->currentIndex();
    const QString note = current.isValid() ? model_->rowNote(current.row()) : QString();
    message_->setText(sweepProblem_.isEmpty() || note.isEmpty()
                          ? sweepProblem_ + note
                          : sweepProblem_ + QLatin1Char('\n') + note);
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
    explorer::writeSetting(explorer::Setting::WindowGeometry, saveGeometry());
    CDialog::OnCancel();
}

bool ExplorerWindow::maySetAside() {
    // The maps first: saving a digitizer's map renames it in the candidates.
    if (!maps_->maySetAside())
        return false;
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
        const QString path = askCandidatePath(tr("Save Candidates"));
        return !path.isEmpty() && saveTo(path);
    }
    return saveTo(file_);
}

// ---- files -----------------------------------------------------------------------------------

void ExplorerWindow::OnFileNew() {
    if (!maySetAside())
        return;
    const auto before = maps_->openViews();
    model_->reset();
    undo_->clear();
    maps_->closeStale(before);
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
    const QString path = askCandidatePath(tr("Save Candidates As"));
    if (!path.isEmpty())
        saveTo(path);
}

QString ExplorerWindow::askCandidatePath(const QString& caption) {
    return dialogs::askSavePath(this, caption, file_, tr("Candidate files (*.csv)"),
                                QStringLiteral("csv"));
}

bool ExplorerWindow::openFile(const QString& path) {
    QString problem, note;
    const auto before = maps_->openViews();
    if (!model_->load(path, &problem, &note)) {
        dialogs::showMessage(this, windowTitle(),
                             tr("%1\nThe candidates that were open are unchanged.").arg(problem));
        return false;
    }
    undo_->clear();
    // The maps of the work set aside go with it; those the new candidates name open again.
    maps_->closeStale(before);
    file_ = path;
    fileStamp_ = userfile::stampOf(QFile::encodeName(path).toStdString());
    rememberRecent(path);
    updateTitle();
    table_->selectRow(0);
    if (!note.isEmpty())
        dialogs::showMessage(this, windowTitle(), note, QMessageBox::Information);
    return true;
}

bool ExplorerWindow::saveTo(const QString& path) {
    const std::string name = QFile::encodeName(path).toStdString();
    // Someone else's changes to the open file are not overwritten unasked.
    if (path == file_ && userfile::stampOf(name) != fileStamp_) {
        switch (dialogs::askAboutDiskChange(this, path)) {
        case dialogs::DiskChange::Reload:
            return openFile(path);
        case dialogs::DiskChange::Overwrite:
            break;
        case dialogs::DiskChange::SaveElsewhere: {
            const QString other = askCandidatePath(tr("Save Candidates As"));
            if (other.isEmpty())
                return false;
            if (other != path)
                return saveTo(other);
            break; // the same file chosen again, and its replacing confirmed in the dialog
        }
        case dialogs::DiskChange::Cancel:
            return false;
        }
    }
    QString problem;
    if (!model_->save(path, &problem)) {
        dialogs::showMessage(this, windowTitle(), tr("%1\nThe file was not changed.").arg(problem));
        return false;
    }
    file_ = path;
    fileStamp_ = userfile::stampOf(name);
    undo_->setClean();
    rememberRecent(path);
    updateTitle();
    return true;
}
