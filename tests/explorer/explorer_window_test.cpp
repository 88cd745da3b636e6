// The Design Explorer driven as a person would: editing cells of the candidates' table, reading
// the chart, switching units, saving and opening files, closing with unsaved work.
#include "calculation_fields.hpp"
#include "candidate_table.hpp"
#include "curve_chart.hpp"
#include "design_sheet.hpp"
#include "explorer_window.hpp"
#include "looks.hpp"
#include "number_text.hpp"
#include "window_driver.hpp"

#include <QAbstractButton>
#include <QApplication>
#include <QChart>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QLineSeries>
#include <QListWidget>
#include <QMessageBox>
#include <QPageLayout>
#include <QScatterSeries>
#include <QSettings>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextLayout>
#include <QTextTable>
#include <QTimer>
#include <QUndoStack>
#include <QValueAxis>

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <functional>
#include <set>

using namespace window_test;

namespace {

// Every test starts from a first opening: no remembered units, sweep or size.
class Explorer : public ::testing::Test {
protected:
    // The test program keeps its settings in a folder of its own (see window_test_main).
    void SetUp() override { QSettings("Vorlaxen Designer", "Design Explorer").clear(); }
    QTemporaryDir files_;
};

QModelIndex cell(ExplorerWindow& w, int row, std::string_view key) {
    return w.candidates()->index(row, w.candidates()->column(key));
}

QString shown(ExplorerWindow& w, int row, std::string_view key) {
    return cell(w, row, key).data().toString();
}

// Double-clicks into the cell, types, and presses Enter, as a person edits a table.
void typeIntoCell(ExplorerWindow& w, int row, std::string_view key, const QString& text) {
    QTableView* table = w.table();
    const QModelIndex index = cell(w, row, key);
    table->scrollTo(index);
    table->setCurrentIndex(index);
    table->edit(index);
    QWidget* editor = nullptr;
    for (QWidget* child : table->viewport()->findChildren<QWidget*>())
        if (child->isVisible() &&
            (qobject_cast<QLineEdit*>(child) || qobject_cast<QComboBox*>(child)))
            editor = child;
    if (auto* list = qobject_cast<QComboBox*>(editor)) { // the mass-flow source: pick a word
        const int item = list->findText(text);
        ASSERT_GE(item, 0) << text.toStdString();
        list->setCurrentIndex(item);
        emit list->activated(item);
        return;
    }
    ASSERT_TRUE(qobject_cast<QLineEdit*>(editor)) << "no cell editor for " << key;
    typeInto(editor, text);
    pressKey(editor, Qt::Key_Return);
    QApplication::processEvents(); // the view commits what was typed on its next turn
}

// The points of one candidate's line on a panel, all its segments together.
QList<QPointF> linePoints(ExplorerWindow& w, int panel, const QString& candidate) {
    QList<QPointF> points;
    for (QAbstractSeries* s : w.chart()->chart(panel)->series()) {
        auto* line = qobject_cast<QLineSeries*>(s); // not the candidates' own points
        if (line && line->name() == candidate && line->isVisible())
            points += line->points();
    }
    return points;
}

QString axisTitle(ExplorerWindow& w, int panel, Qt::Orientation orientation) {
    const auto axes = w.chart()->chart(panel)->axes(orientation);
    return axes.isEmpty() ? QString() : axes.front()->titleText();
}

// Answers the next question box with the given button.
void answerNextQuestion(QMessageBox::StandardButton button, QString* text = nullptr) {
    QTimer::singleShot(20, [=] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        if (text)
            *text = box->text();
        box->button(button)->click();
    });
}

TEST_F(Explorer, OpensWithTwoCandidatesAndTheirThrustAgainstP2) {
    ExplorerWindow w;
    runModal(w, [&] {
        EXPECT_EQ(w.windowTitle(), "Vorlaxen - Design Explorer");
        ASSERT_EQ(w.candidates()->rowCount(), 2);
        // The first candidate holds the Turbo Analysis window's defaults.
        EXPECT_EQ(shown(w, 0, "comp-outlet-diameter"), "4.3");
        EXPECT_EQ(shown(w, 0, "mass-flow"), "1.41");
        EXPECT_EQ(shown(w, 0, "p2"), "32");
        EXPECT_EQ(shown(w, 0, "turbine-inlet-temp"), "788");
        const auto expected = explorer::evaluate(w.candidates()->candidateList()[0]);
        ASSERT_TRUE(expected);
        EXPECT_EQ(shown(w, 0, "thrust"), QString::fromStdString(fields::formatFloat(
                                             (*expected)[explorer::EngineResult::Thrust])));

        EXPECT_EQ(w.sweptInputBox()->currentText(), "P2");
        EXPECT_EQ(textOf(w.sweepFromBox()), "0");
        EXPECT_EQ(textOf(w.sweepToBox()), "50");
        ASSERT_EQ(w.chart()->panelCount(), 1);
        EXPECT_EQ(axisTitle(w, 0, Qt::Horizontal), "P2 (psig)");
        EXPECT_EQ(axisTitle(w, 0, Qt::Vertical), "Thrust (lbs.)");
        for (int row = 0; row < 2; ++row) {
            const auto points = linePoints(w, 0, w.candidates()->index(row, 0).data().toString());
            EXPECT_GT(points.size(), 400) << row;
            for (const QPointF& p : points) // a gap where there is no thrust, never a zero
                EXPECT_TRUE(std::isfinite(p.y()) && p.y() != 0.0) << p.x();
            // The low boost end gives no thrust, and the row says so.
            EXPECT_GT(points.front().x(), 0.0) << row;
        }
        EXPECT_TRUE(w.messageLine()->text().contains("no thrust for P2 = 0 to"))
            << w.messageLine()->text().toStdString();
    });
}

// The chart reads out: the first candidate's own point sits at its P2 of 32 psig and its thrust,
// and the crosshair at P2 = 32 names each candidate with its value there (the documented
// 58.6333 lbf for the window's defaults).
TEST_F(Explorer, ChartMarksEachCandidatesOwnPointAndReadsEveryValueAtThePointer) {
    ExplorerWindow w;
    runModal(w, [&] {
        QList<QPointF> own;
        for (QAbstractSeries* s : w.chart()->chart(0)->series())
            if (auto* scatter = qobject_cast<QScatterSeries*>(s); scatter && scatter->isVisible())
                own += scatter->points();
        ASSERT_EQ(own.size(), 2);
        EXPECT_EQ(own[0].x(), 32.0);
        EXPECT_EQ(fields::formatFloat(static_cast<float>(own[0].y())), "58.6333");

        const QStringList lines = w.chart()->valuesAt(0, 32.0).split('\n');
        ASSERT_EQ(lines.size(), 2);
        EXPECT_EQ(lines[0], w.candidates()->index(0, 0).data().toString() + ": 58.6333");
        // Below P2 = 1 the second candidate's nozzle PR is under 1: no thrust to read.
        EXPECT_TRUE(w.chart()->valuesAt(0, 0.05).contains("no figure"));
        auto* y = static_cast<QValueAxis*>(w.chart()->chart(0)->axes(Qt::Vertical).front());
        EXPECT_EQ(y->tickType(), QValueAxis::TicksDynamic);
        EXPECT_EQ(std::fmod(y->max(), y->tickInterval()), 0.0); // ends on a round tick
    });
}

// A hotter turbine goes past two limits: the row says which and by how much, and the chart
// shades its line there. An altitude typed in fills the ambient values.
TEST_F(Explorer, LimitsGonePastAreMarkedAndAnAltitudeFillsTheAmbient) {
    ExplorerWindow w;
    runModal(w, [&] {
        EXPECT_EQ(shown(w, 0, "limits"), "");
        typeIntoCell(w, 0, "turbine-inlet-temp", "900");
        // 900 - 788 = 112; the outlet, 900 - 141.582 = 758.418, is 38.418 past 720.
        EXPECT_EQ(shown(w, 0, "limits"),
                  "turbine inlet temperature +112 deg. C; turbine outlet temperature +38.418 "
                  "deg. C");
        EXPECT_TRUE(cell(w, 0, "limits").data(Qt::BackgroundRole).isValid());
        bool shaded = false;
        for (QAbstractSeries* s : w.chart()->chart(0)->series())
            if (auto* line = qobject_cast<QLineSeries*>(s);
                line && line->isVisible() && line->name().isEmpty() && line->pen().width() > 2)
                shaded = shaded || line->count() > 0;
        EXPECT_TRUE(shaded);

        typeIntoCell(w, 1, "altitude", "1000"); // 8.5 deg. C, 89874.6 Pa = 13.0352 psi
        EXPECT_EQ(shown(w, 1, "ambient-temp"), "8.5");
        EXPECT_EQ(shown(w, 1, "ambient-pressure"), "13.0352");
        answerNextQuestion(QMessageBox::Discard);
    });
}

TEST_F(Explorer, AnAddedCandidateGetsItsOwnCurveAndEditsUndo) {
    ExplorerWindow w;
    runModal(w, [&] {
        click(w.findChild<QAbstractButton*>("addButton"));
        ASSERT_EQ(w.candidates()->rowCount(), 3);
        const QString name = w.candidates()->index(2, 0).data().toString();
        EXPECT_EQ(name, "Candidate 1");
        // A new candidate's mass flow comes from its wheel.
        EXPECT_EQ(shown(w, 2, "mass-flow-source"), "estimate");
        const auto before = linePoints(w, 0, name);
        ASSERT_FALSE(before.isEmpty());

        typeIntoCell(w, 2, "inducer-diameter", "3.5");
        EXPECT_EQ(shown(w, 2, "inducer-diameter"), "3.5");
        // A bigger inducer with the wheel's estimate breathes more air: more thrust at 30 psig.
        const auto after = linePoints(w, 0, name);
        ASSERT_FALSE(after.isEmpty());
        auto at30 = [](const QList<QPointF>& points) {
            for (const QPointF& p : points)
                if (std::abs(p.x() - 30.0) < 1e-6)
                    return p.y();
            return 0.0;
        };
        EXPECT_GT(at30(after), at30(before));
        EXPECT_TRUE(!w.undoStack()->isClean());

        w.activateWindow(); // shortcuts go to the active window
        ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
        QTest::keyClick(w.table(), Qt::Key_Z, Qt::ControlModifier);
        EXPECT_EQ(shown(w, 2, "inducer-diameter"), "3");
        EXPECT_EQ(linePoints(w, 0, name), before);
        QTest::keyClick(w.table(), Qt::Key_Z, Qt::ControlModifier);
        EXPECT_EQ(w.candidates()->rowCount(), 2);
        EXPECT_FALSE(!w.undoStack()->isClean());
    });
}

// Each command on the selected row, as the buttons give them; a candidate keeps its colour and its
// line's colour wherever it moves.
TEST_F(Explorer, RowCommandsKeepEachCandidatesColour) {
    ExplorerWindow w;
    runModal(w, [&] {
        auto names = [&] {
            QStringList list;
            for (int row = 0; row < w.candidates()->rowCount(); ++row)
                list << w.candidates()->index(row, 0).data().toString();
            return list;
        };
        const QString first = names()[0], second = names()[1];
        const int firstLook = w.candidates()->look(0);
        const struct {
            const char* button;
            int row; // selected before the click
            QStringList expected;
        } steps[] = {
            {"moveDownButton", 0, {second, first}},
            {"duplicateButton", 1, {second, first, first + " (copy)"}},
            {"moveUpButton", 2, {second, first + " (copy)", first}},
            {"deleteButton", 0, {first + " (copy)", first}},
        };
        for (const auto& step : steps) {
            w.table()->selectRow(step.row);
            click(w.findChild<QAbstractButton*>(step.button));
            EXPECT_EQ(names(), step.expected) << step.button;
        }
        EXPECT_EQ(w.candidates()->look(1), firstLook);
        EXPECT_NE(w.candidates()->look(0), firstLook); // a copy gets a look of its own
        for (QAbstractSeries* series : w.chart()->chart(0)->series()) {
            auto* line = qobject_cast<QLineSeries*>(series);
            if (line && line->isVisible() && line->name() == first) {
                EXPECT_EQ(line->pen(), explorer::lookPen(firstLook, 2));
            }
        }
        answerNextQuestion(QMessageBox::Discard);
    });
}

TEST_F(Explorer, ACellThatIsNotANumberIsMarkedAndItsRowIsNotComputed) {
    ExplorerWindow w;
    runModal(w, [&] {
        typeIntoCell(w, 1, "hub-diameter", "0,95");
        EXPECT_EQ(shown(w, 1, "hub-diameter"), "0,95"); // the typed text stays
        EXPECT_TRUE(cell(w, 1, "hub-diameter").data(Qt::BackgroundRole).isValid());
        const QString message = w.messageLine()->text();
        EXPECT_TRUE(message.contains(w.candidates()->index(1, 0).data().toString()))
            << message.toStdString();
        EXPECT_TRUE(message.contains("Hub Diameter")) << message.toStdString();
        EXPECT_EQ(shown(w, 1, "thrust"), "");
        EXPECT_TRUE(linePoints(w, 0, w.candidates()->index(1, 0).data().toString()).isEmpty());
        EXPECT_FALSE(linePoints(w, 0, w.candidates()->index(0, 0).data().toString()).isEmpty());

        typeIntoCell(w, 1, "hub-diameter", "0.9");
        EXPECT_FALSE(cell(w, 1, "hub-diameter").data(Qt::BackgroundRole).isValid());
        EXPECT_NE(shown(w, 1, "thrust"), "");
        answerNextQuestion(QMessageBox::Discard);
    });
}

TEST_F(Explorer, MetricShowsEveryBoxAndAxisInMetricAndIsRemembered) {
    {
        ExplorerWindow w;
        runModal(w, [&] {
            w.unitsBox()->setCurrentIndex(1);
            EXPECT_EQ(shown(w, 0, "comp-outlet-diameter"), "109.22"); // 4.3 in
            EXPECT_EQ(shown(w, 0, "p2"), "2.20632");                  // 32 psig in bar
            EXPECT_EQ(axisTitle(w, 0, Qt::Horizontal), "P2 (bar g)");
            EXPECT_EQ(axisTitle(w, 0, Qt::Vertical), "Thrust (N)");
            EXPECT_EQ(textOf(w.sweepToBox()), "3.5"); // 50 psig = 3.44738 bar, made round
            EXPECT_EQ(textOf(w.sweepStepBox()), "0.01");
            EXPECT_TRUE(w.candidates()
                            ->headerData(w.candidates()->column("inducer-diameter"), Qt::Horizontal,
                                         Qt::DisplayRole)
                            .toString()
                            .contains("(mm)"));

            typeIntoCell(w, 0, "inducer-diameter", "88.9");
            EXPECT_EQ(
                w.candidates()->candidateList()[0][explorer::EngineInput::InducerDiameter].value,
                3.5f);
            // Back in the forms' units, the untouched values are exactly what they were.
            w.unitsBox()->setCurrentIndex(0);
            EXPECT_EQ(shown(w, 0, "p2"), "32");
            EXPECT_EQ(shown(w, 0, "inducer-diameter"), "3.5");
            w.unitsBox()->setCurrentIndex(1);
            w.sweptInputBox()->setCurrentIndex(w.sweptInputBox()->findText("Ambient Temp."));
            answerNextQuestion(QMessageBox::Discard);
        });
    }
    ExplorerWindow again;
    runModal(again, [&] {
        EXPECT_EQ(again.unitsBox()->currentIndex(), 1);
        EXPECT_EQ(again.sweptInputBox()->currentText(), "Ambient Temp.");
        EXPECT_EQ(axisTitle(again, 0, Qt::Horizontal), "Ambient Temp. (deg. C)");
    });
}

TEST_F(Explorer, SavedCandidatesOpenAgainAsTheyWere) {
    const QString path = files_.filePath("turbos.csv");
    ExplorerWindow w;
    runModal(w, [&] {
        typeIntoCell(w, 0, "name", "GT2860");
        typeIntoCell(w, 0, "p2", "27.3");
        EXPECT_EQ(w.windowTitle(), "Untitled* - Vorlaxen - Design Explorer");
        ASSERT_TRUE(w.saveTo(path));
        EXPECT_EQ(w.windowTitle(), "turbos.csv - Vorlaxen - Design Explorer");
        EXPECT_FALSE(!w.undoStack()->isClean());
        const auto saved = w.candidates()->candidateList();

        w.action("new")->trigger();
        EXPECT_EQ(shown(w, 0, "p2"), "32");
        ASSERT_TRUE(w.openFile(path));
        ASSERT_EQ(w.candidates()->candidateList().size(), saved.size());
        for (std::size_t c = 0; c < saved.size(); ++c) {
            const auto& read = w.candidates()->candidateList()[c];
            EXPECT_EQ(read.name, saved[c].name);
            EXPECT_EQ(read.massFlowSource, saved[c].massFlowSource);
            // With the estimate as source the file holds the estimate, the number the cycle used.
            for (std::size_t i = 0; i < read.inputs.size(); ++i) {
                if (read.massFlowSource == turbo::MassFlowSource::Typed ||
                    i != std::size_t(explorer::EngineInput::MassFlow)) {
                    // Bit for bit: the altitude's "none" is a NaN; an ambient value or fuel
                    // property not given is saved as the one the point worked out.
                    const auto input = static_cast<explorer::EngineInput>(i);
                    const float want = turbo::isNotGiven(saved[c].inputs[i].value)
                                           ? explorer::evaluate(saved[c])->used[input]
                                           : saved[c].inputs[i].value;
                    EXPECT_EQ(std::bit_cast<std::uint32_t>(read.inputs[i].value),
                              std::bit_cast<std::uint32_t>(want))
                        << c << " " << i;
                }
            }
        }
    });
}

TEST_F(Explorer, AFileThatCannotBeReadLeavesTheOpenCandidates) {
    const QString path = files_.filePath("bad.csv");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("name,p2,P2\nA,30,1\n");
    file.close();
    ExplorerWindow w;
    runModal(w, [&] {
        typeIntoCell(w, 0, "p2", "20");
        QString message;
        {
            PopupWatcher watcher;
            EXPECT_FALSE(w.openFile(path));
            ASSERT_EQ(watcher.messages().size(), 1);
            message = watcher.messages().front();
        }
        EXPECT_TRUE(message.contains("bad.csv")) << message.toStdString();
        EXPECT_TRUE(message.contains("line 1")) << message.toStdString();
        EXPECT_TRUE(message.contains("column 3")) << message.toStdString();
        EXPECT_EQ(w.candidates()->rowCount(), 2);
        EXPECT_EQ(shown(w, 0, "p2"), "20");
        EXPECT_TRUE(!w.undoStack()->isClean());
        answerNextQuestion(QMessageBox::Discard);
    });
}

TEST_F(Explorer, ClosingWithUnsavedWorkAsksFirst) {
    ExplorerWindow w;
    runModal(w, [&] {
        typeIntoCell(w, 0, "p2", "20");
        QString question;
        answerNextQuestion(QMessageBox::Cancel, &question);
        w.SendCommand(IDCANCEL);
        EXPECT_TRUE(question.contains("Save the changes")) << question.toStdString();
        EXPECT_TRUE(w.isVisible());
        answerNextQuestion(QMessageBox::Discard);
        w.SendCommand(IDCANCEL);
        EXPECT_FALSE(w.isVisible());
    });
}

TEST_F(Explorer, ExportsWriteEachFormat) {
    ExplorerWindow w;
    runModal(w, [&] {
        const struct {
            const char* name;
            bool (ExplorerWindow::*write)(const QString&);
            QByteArray starts;
        } cases[] = {
            {"chart.png", &ExplorerWindow::exportChartImage, "\x89PNG"},
            {"chart.svg", &ExplorerWindow::exportChartSvg, "<?xml"},
            {"sheet.pdf", &ExplorerWindow::exportDesignSheet, "%PDF"},
            {"curves.csv", &ExplorerWindow::exportCurveCsv, "name,"},
        };
        for (const auto& c : cases) {
            const QString path = files_.filePath(c.name);
            EXPECT_TRUE((w.*c.write)(path)) << c.name;
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << c.name;
            EXPECT_TRUE(file.readAll().startsWith(c.starts)) << c.name;
        }
    });
}

TEST_F(Explorer, HoveringALineNamesTheExactPoint) {
    ExplorerWindow w;
    runModal(w, [&] {
        const QString name = w.candidates()->index(0, 0).data().toString();
        const auto points = linePoints(w, 0, name);
        ASSERT_FALSE(points.isEmpty());
        const QPointF near = points[points.size() / 2] + QPointF(0.02, 5.0);
        const QString text = w.chart()->pointText(0, 0, near);
        const QPointF exact = points[points.size() / 2];
        EXPECT_EQ(text,
                  QString("%1: P2 (psig) = %2, Thrust (lbs.) = %3")
                      .arg(name, QString::fromStdString(fields::formatFloat(float(exact.x()))),
                           QString::fromStdString(fields::formatFloat(float(exact.y())))));
    });
}

// The design sheet on either paper with one to twenty candidates, long names and long figures:
// every figure on one line, every table no wider than the page, every piece on its page, every
// candidate in one table, and every name whole in the legend.
TEST_F(Explorer, TheDesignSheetNeverWrapsOrCutsAFigure) {
    const struct {
        int candidates;
        QPageSize::PageSizeId paper;
        int units; // index in the units list
    } cases[] = {
        {1, QPageSize::A4, 0},      {3, QPageSize::Letter, 1}, {8, QPageSize::A4, 1},
        {12, QPageSize::Letter, 0}, {20, QPageSize::A4, 1},    {20, QPageSize::Letter, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.candidates);
        ExplorerWindow w;
        auto* table = w.candidates();
        while (table->rowCount() < c.candidates)
            table->addCandidate();
        while (table->rowCount() > c.candidates)
            table->deleteCandidate(0);
        for (int row = 0; row < c.candidates; ++row)
            table->setData(cell(w, row, "name"),
                           QString("Candidate with a longer name than most, %1").arg(row),
                           Qt::EditRole);
        // Figures as long as the program writes them: "-1.23457e+06" and the like.
        table->setData(cell(w, 0, "inducer-diameter"), "123456.7", Qt::EditRole);
        table->setData(cell(w, 0, "ambient-temp"), "-0.000123457", Qt::EditRole);
        w.unitsBox()->setCurrentIndex(c.units);
        w.refreshChart();

        const QPageLayout paper(QPageSize(c.paper), QPageLayout::Portrait,
                                QMarginsF(12, 12, 12, 12), QPageLayout::Millimeter);
        const QSizeF page = paper.paintRect(QPageLayout::Point).size();
        explorer::DesignSheet sheet(*table, *w.chart(), "engines.csv");
        std::set<QString> named;
        int figures = 0;
        const auto pages = sheet.layout(page);
        // The figures start under the chart on the first page rather than leaving it half empty.
        EXPECT_TRUE(std::any_of(pages.front().begin(), pages.front().end(), [](const auto& piece) {
            return piece.text && !piece.text->rootFrame()->childFrames().isEmpty();
        }));
        for (const auto& pieces : pages) {
            for (const auto& piece : pieces) {
                EXPECT_LE(piece.place.bottom(), page.height() + 0.5);
                if (!piece.text)
                    continue;
                EXPECT_LE(piece.text->size().width(), page.width() + 0.5);
                for (QTextFrame* frame : piece.text->rootFrame()->childFrames()) {
                    auto* grid = qobject_cast<QTextTable*>(frame);
                    if (!grid)
                        continue;
                    for (int column = 1; column < grid->columns(); ++column) {
                        // Every part heads its columns with the candidates' names.
                        const QString head =
                            grid->cellAt(0, column).firstCursorPosition().block().text();
                        EXPECT_TRUE(head.contains("Candidate with")) << head.toStdString();
                        named.insert(head);
                    }
                    figures += (grid->rows() - 1) * (grid->columns() - 1);
                    for (int row = 1; row < grid->rows(); ++row)
                        for (int column = 1; column < grid->columns(); ++column) {
                            const QTextBlock figure =
                                grid->cellAt(row, column).firstCursorPosition().block();
                            EXPECT_EQ(figure.layout()->lineCount(), 1)
                                << figure.text().toStdString();
                        }
                }
            }
        }
        EXPECT_EQ(named.size(), std::size_t(c.candidates));
        // Every field of every candidate once, whichever part of the table it falls in.
        EXPECT_EQ(figures, c.candidates * (table->columnCount() - 2));
        const auto legend = explorer::CurveChart::layoutLegend(
            w.chart()->content().panels.at(0).curves, page.width(), w.chart()->font());
        ASSERT_EQ(legend.size(), std::size_t(c.candidates));
        for (const auto& entry : legend) {
            EXPECT_EQ(entry.shown, entry.name);
            EXPECT_LE(entry.box.right(), page.width());
        }
    }
}

} // namespace

namespace {

// Huge and tiny figures typed into every number cell (14100 for 1.41 without its point sent the
// axes into laying out millions of ticks): each edit is drawn within a second, and so is every
// result ticked under Plot with the mass flow at 1e9.
TEST_F(Explorer, ExtremeTypedValuesRedrawWithinASecond) {
    ExplorerWindow w;
    runModal(w, [&] {
        const auto redrawn = [&](const std::string& what, const std::function<void()>& act) {
            QElapsedTimer timer;
            timer.start();
            act();
            QApplication::processEvents();
            (void)w.chart()->grab(); // lays out and paints every panel, axes and ticks
            EXPECT_LT(timer.elapsed(), 1000) << what;
        };
        for (const auto& field : fields::kEngineFields) {
            if (!fields::isInput(field) || field.kind != fields::Kind::Number ||
                w.candidates()->column(field.key) < 0)
                continue;
            for (const char* value : {"14100", "1e9", "1e-30", "-3e38"}) {
                redrawn(std::string(field.key) + " = " + value,
                        [&] { typeIntoCell(w, 0, field.key, QString::fromLatin1(value)); });
                w.undoStack()->undo();
            }
        }
        typeIntoCell(w, 0, "mass-flow", "1e9");
        for (int i = 0; i < w.resultsList()->count(); ++i)
            redrawn("plot " + w.resultsList()->item(i)->text().toStdString(),
                    [&] { w.resultsList()->item(i)->setCheckState(Qt::Checked); });
        w.undoStack()->setClean(); // closes without asking about the edits
    });
}

} // namespace
