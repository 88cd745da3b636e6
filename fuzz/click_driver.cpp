// Random clicking and typing over the Design Explorer, its map tabs and the run-log window, as a
// restless user would, for a given time: every action must finish (drawing included) within two
// seconds, and Qt must not warn of a NaN drawn. Meant to run under AddressSanitizer and
// UndefinedBehaviorSanitizer (-DVX_SANITIZE=ON).
//
//     vorlaxen-click-driver [--seed N] [--seconds S] [--run-log FILE]
//
// Exits 0 after S seconds (600 by default) and prints how many actions it made; 1 at the first
// slow action or NaN warning, naming the action; the sanitizers end it on a memory fault.
#include "candidate_table.hpp"
#include "curve_chart.hpp"
#include "explorer_window.hpp"
#include "map_panel.hpp"
#include "map_view.hpp"
#include "run_log_window.hpp"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QListWidget>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUndoStack>

#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

namespace {

bool nanWarned = false;
QtMessageHandler previousHandler = nullptr;

void watchMessages(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (text.contains(QLatin1String("NaN"), Qt::CaseInsensitive))
        nanWarned = true;
    previousHandler(type, context, text);
}

// Typed values: ordinary, the edges of a float, and text that is no number.
const char* const kValues[] = {"1.41", "14100",  "1e9",     "-1e9", "1e-30", "0",
                               "-0",   "3.4e38", "-273.15", "100",  "200",   "inf",
                               "nan",  "abc",    "",        "4,3",  "11000"};

class Driver {
public:
    Driver(ExplorerWindow& w, unsigned seed, QString runLog)
        : w_(w), random_(seed), runLog_(std::move(runLog)) {}

    // One random action; its name for the report.
    std::string act() {
        switch (pick(9)) {
        case 0:
        case 1:
        case 2:
            return typeIntoCell();
        case 3:
            return toggleResult();
        case 4:
            return rowCommand();
        case 5:
            return undoOrRedo();
        case 6:
            return sweep();
        case 7:
            return mapAction();
        default:
            return otherView();
        }
    }

private:
    int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }
    const char* value() { return kValues[pick(int(std::size(kValues)))]; }

    std::string typeIntoCell() {
        auto* model = w_.candidates();
        if (model->rowCount() == 0)
            return "no row to type into";
        const QModelIndex index = model->index(pick(model->rowCount()), pick(model->columnCount()));
        if (!(model->flags(index) & Qt::ItemIsEditable))
            return "a shaded cell";
        const char* text = value();
        model->setData(index, QString::fromLatin1(text), Qt::EditRole);
        return "type " + std::string(text) + " into row " + std::to_string(index.row()) +
               ", column " + std::to_string(index.column());
    }
    std::string toggleResult() {
        QListWidget* list = w_.resultsList();
        QListWidgetItem* item = list->item(pick(list->count()));
        item->setCheckState(item->checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
        return "tick " + item->text().toStdString();
    }
    std::string rowCommand() {
        static const char* const kCommands[] = {"add", "duplicate", "delete", "moveUp", "moveDown"};
        auto* model = w_.candidates();
        if (model->rowCount() > 0)
            w_.table()->selectRow(pick(model->rowCount()));
        const char* name = kCommands[pick(5)];
        if (model->rowCount() > 40 && (name == kCommands[0] || name == kCommands[1]))
            name = "delete"; // keep the table a size a person works with
        if (QAction* a = w_.action(QString::fromLatin1(name)); a && a->isEnabled())
            a->trigger();
        return name;
    }
    std::string undoOrRedo() {
        if (pick(2) == 0) {
            w_.undoStack()->undo();
            return "undo";
        }
        w_.undoStack()->redo();
        return "redo";
    }
    std::string sweep() {
        QLineEdit* boxes[] = {w_.sweepFromBox(), w_.sweepToBox(), w_.sweepStepBox()};
        QLineEdit* box = boxes[pick(3)];
        const char* text = value();
        box->setText(QString::fromLatin1(text));
        emit box->editingFinished();
        if (pick(4) == 0)
            w_.sweptInputBox()->setCurrentIndex(pick(w_.sweptInputBox()->count()));
        if (pick(8) == 0)
            w_.unitsBox()->setCurrentIndex(pick(w_.unitsBox()->count()));
        return "sweep box " + std::string(text);
    }
    std::string mapAction() {
        compmap::MapView* view = w_.maps()->openDemo();
        w_.views()->setCurrentIndex(pick(w_.views()->count()));
        static const char* const kTools[] = {
            "calibrateFlow", "calibratePressure", "traceSurge", "traceSpeed",
            "traceIsland",   "finishLine",        "undo",       "redo"};
        if (pick(2) == 0) {
            const char* name = kTools[pick(int(std::size(kTools)))];
            if (auto* a = view->findChild<QAction*>(QString::fromLatin1(name)))
                a->trigger();
            return std::string("map ") + name;
        }
        QWidget* canvas = view->canvas();
        const QPoint at(pick(std::max(1, canvas->width())), pick(std::max(1, canvas->height())));
        QTest::mouseClick(canvas, Qt::LeftButton, {}, at);
        QTest::mouseMove(canvas, at);
        if (auto* entry = view->findChild<QLineEdit*>(QStringLiteral("value"));
            entry && entry->isVisible()) {
            entry->setText(QString::fromLatin1(value()));
            QTest::keyClick(entry, Qt::Key_Return);
        }
        return "map click";
    }
    std::string otherView() {
        if (!runLog_.isEmpty() && w_.candidates()->rowCount() > 0 && pick(3) == 0) {
            explorer::openRunLog(&w_, pick(w_.candidates()->rowCount()), runLog_);
            return "open run log";
        }
        w_.views()->setCurrentIndex(pick(w_.views()->count()));
        return "switch view";
    }

    ExplorerWindow& w_;
    std::mt19937 random_;
    QString runLog_;
};

} // namespace

int main(int argc, char** argv) {
    // Random clicks change the remembered settings: keep them away from the user's.
    QTemporaryDir settings;
    qputenv("XDG_CONFIG_HOME", settings.path().toLocal8Bit());
    QApplication app(argc, argv);
    unsigned seed = 1;
    double seconds = 600;
    QString runLog;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string option = argv[i];
        if (option == "--seed")
            seed = unsigned(std::strtoul(argv[i + 1], nullptr, 10));
        else if (option == "--seconds")
            seconds = std::strtod(argv[i + 1], nullptr);
        else if (option == "--run-log")
            runLog = QString::fromLocal8Bit(argv[i + 1]);
    }
    previousHandler = qInstallMessageHandler(watchMessages);
    ExplorerWindow w;
    // A question or message that an action opens is answered "no" at once, as an impatient user
    // would; the driver's own step waits inside it otherwise.
    QTimer dismiss;
    QObject::connect(&dismiss, &QTimer::timeout, [&w] {
        QWidget* top = QApplication::activeModalWidget();
        if (auto* dialog = qobject_cast<QDialog*>(top); dialog && dialog != &w)
            dialog->reject();
    });
    dismiss.start(200);
    int status = 0;
    QTimer::singleShot(0, [&] {
        w.resize(1200, 800);
        Driver driver(w, seed, runLog);
        QElapsedTimer total;
        total.start();
        long actions = 0;
        while (status == 0 && total.elapsed() < seconds * 1000) {
            QElapsedTimer one;
            one.start();
            const std::string what = driver.act();
            QApplication::processEvents();
            (void)w.grab(); // everything on screen drawn
            ++actions;
            if (one.elapsed() > 2000 || nanWarned) {
                std::fprintf(stderr, "action %ld (%s): %s\n", actions, what.c_str(),
                             nanWarned ? "a NaN was drawn" : "took over two seconds");
                status = 1;
            }
        }
        std::printf("%ld actions in %.0f s, seed %u\n", actions, total.elapsed() / 1000.0, seed);
        w.undoStack()->setClean(); // nothing to ask about on closing
        w.SendCommand(IDCANCEL);
    });
    w.DoModal();
    return status;
}
