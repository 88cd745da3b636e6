// Every input box of every tool window, in turn, with text that is not a number: the command
// computes and writes nothing, one message names the box, the focus is in it with the text
// selected, the typed text stays and no other box changes. Text that reads as a number, however
// odd, is taken: "1e-50" as 0 (the nearest float) and a hand-typed "nan" as NaN, which then goes
// through the formulas like any other value.
#include "combustor_dialog.hpp"
#include "turbo_analysis_dialog.hpp"
#include "window_driver.hpp"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>

#include <gtest/gtest.h>

#include <cfenv>
#include <functional>
#include <map>
#include <memory>
#include <vector>

using namespace window_test;

namespace {

const QString kLongNumber = QStringLiteral("1") + QString(9'999, QLatin1Char('0'));

struct BadText {
    const char* what;
    QString text;
};

const std::vector<BadText> kNotNumbers = {
    {"empty", ""},
    {"spaces only", "   "},
    {"letters", "abc"},
    {"decimal comma", "4,3"},
    {"beyond the float range", "1e39"},
    {"beyond the negative float range", "-1e39"},
    {"a 10,000-character number", kLongNumber},
};

// Puts text into a box as a person would: typed, or pasted when it is long.
void enter(QLineEdit* box, const QString& text) {
    if (text.size() < 100) {
        typeInto(box, text);
        return;
    }
    box->setFocus(Qt::OtherFocusReason);
    QApplication::clipboard()->setText(text);
    box->selectAll();
    box->paste();
}

std::vector<int> inputBoxes(const CDialog& dialog) {
    std::vector<int> ids;
    for (const auto& entry : dialog.dialogTemplate().controls)
        if (entry.kind == dialogs::ControlKind::Edit && !entry.readOnly)
            ids.push_back(entry.id);
    return ids;
}

std::map<int, QString> boxTexts(const CDialog& dialog) {
    std::map<int, QString> texts;
    for (const auto& entry : dialog.dialogTemplate().controls)
        if (entry.kind == dialogs::ControlKind::Edit || entry.kind == dialogs::ControlKind::List)
            texts[entry.id] = textOf(dialog.GetDlgItem(entry.id));
    return texts;
}

QLineEdit* box(const CDialog& dialog, int id) {
    return qobject_cast<QLineEdit*>(dialog.GetDlgItem(id));
}

// Runs every bad text on every input box of a fresh window, with `command` run after typing.
template <class Dialog>
void expectRefusedEverywhere(const std::function<void(Dialog&, QLineEdit*)>& prepare,
                             const std::function<void(Dialog&, QLineEdit*)>& command) {
    const std::vector<int> ids = inputBoxes(Dialog());
    ASSERT_FALSE(ids.empty());
    for (const int id : ids) {
        for (const auto& bad : kNotNumbers) {
            SCOPED_TRACE(QString("box %1, %2").arg(id).arg(bad.what).toStdString());
            Dialog dialog;
            runModal(dialog, [&] {
                QLineEdit* typedBox = box(dialog, id);
                prepare(dialog, typedBox);
                enter(typedBox, bad.text);
                auto before = boxTexts(dialog);
                PopupWatcher watcher;
                command(dialog, typedBox);
                ASSERT_EQ(watcher.messages().size(), 1);
                EXPECT_TRUE(
                    watcher.messages()[0].contains(QString("\"%1\"").arg(dialog.controlLabel(id))))
                    << watcher.messages()[0].toStdString();
                EXPECT_EQ(dialog.focusWidget(), typedBox);
                EXPECT_EQ(typedBox->selectedText(), bad.text);
                EXPECT_EQ(boxTexts(dialog), before); // the typed text included
            });
        }
    }
}

void nothing(CDialog&, QLineEdit*) {}

TEST(BadInput, TurboAnalysisRefusesTextThatIsNotANumberInEveryBox) {
    expectRefusedEverywhere<TurboAnalysisDialog>(
        nothing, [](TurboAnalysisDialog&, QLineEdit* typed) { pressKey(typed, Qt::Key_Return); });
}

TEST(BadInput, EveryReadingTurboCommandRefuses) {
    for (const int command : {1001, 1005, 1009, 1035}) {
        TurboAnalysisDialog dialog;
        runModal(dialog, [&] {
            typeInto(box(dialog, 1030), "14,7");
            const auto before = boxTexts(dialog);
            PopupWatcher watcher;
            click(dialog.GetDlgItem(command));
            EXPECT_EQ(watcher.messages().size(), 1) << command;
            EXPECT_EQ(boxTexts(dialog), before) << command;
        });
    }
}

TEST(BadInput, CombustorRefusesTextThatIsNotANumberInEveryBox) {
    // With a unit chosen and its presets applied, so that a refused read visibly changes nothing.
    const auto chooseMillimetres = [](CombustorDialog& dialog, QLineEdit*) {
        qobject_cast<QComboBox*>(dialog.GetDlgItem(1018))->setCurrentIndex(1);
        click(dialog.GetDlgItem(1020));
        typeInto(box(dialog, 1001), "57");
        click(dialog.GetDlgItem(1003));
    };
    expectRefusedEverywhere<CombustorDialog>(
        chooseMillimetres,
        [](CombustorDialog&, QLineEdit* typed) { pressKey(typed, Qt::Key_Return); });
    expectRefusedEverywhere<CombustorDialog>(
        chooseMillimetres,
        [](CombustorDialog& dialog, QLineEdit*) { click(dialog.GetDlgItem(1020)); });
}

TEST(BadInput, TinyNumbersReadAsZeroAndTypedNaNGoesThrough) {
    TurboAnalysisDialog turbo;
    runModal(turbo, [&] {
        PopupWatcher watcher;
        typeInto(box(turbo, 1000), "1e-50");
        click(turbo.GetDlgItem(1001));
        EXPECT_EQ(textOf(box(turbo, 1000)), "0");   // the value the calculation used
        EXPECT_EQ(textOf(box(turbo, 1002)), "inf"); // an outlet diameter of 0
        typeInto(box(turbo, 1007), "nan");
        click(turbo.GetDlgItem(1009));
        EXPECT_EQ(textOf(box(turbo, 1007)), "nan");
        EXPECT_EQ(textOf(box(turbo, 1011)), "nan");
        EXPECT_EQ(textOf(box(turbo, 1027)), "nan");
        typeInto(box(turbo, 1007), "32");
        click(turbo.GetDlgItem(1009)); // the NaN results read back; the cycle is whole again
        EXPECT_EQ(textOf(box(turbo, 1027)), "58.6333");
        EXPECT_TRUE(watcher.messages().isEmpty());
    });

    CombustorDialog combustor;
    runModal(combustor, [&] {
        PopupWatcher watcher;
        typeInto(box(combustor, 1001), "3");
        typeInto(box(combustor, 1014), "-1e-50");
        click(combustor.GetDlgItem(1003));
        EXPECT_EQ(textOf(box(combustor, 1014)), "-0");
        EXPECT_EQ(textOf(box(combustor, 1011)), "inf");
        typeInto(box(combustor, 1001), "NaN");
        click(combustor.GetDlgItem(1003));
        EXPECT_EQ(textOf(box(combustor, 1007)), "nan");
        EXPECT_TRUE(watcher.messages().isEmpty());
    });
}

TEST(BadInput, AUnitListWithNothingSelectedIsNoError) {
    CombustorDialog dialog;
    runModal(dialog, [&] {
        PopupWatcher watcher;
        typeInto(box(dialog, 1014), "0.5");
        click(dialog.GetDlgItem(1020)); // "Enter" with no unit: nothing changes
        EXPECT_EQ(textOf(box(dialog, 1014)), "0.5");
        EXPECT_EQ(textOf(box(dialog, 1019)), "");
        typeInto(box(dialog, 1001), "3");
        click(dialog.GetDlgItem(1003)); // sized with the ratio of no unit, 3
        EXPECT_EQ(textOf(box(dialog, 1007)), "9");
        EXPECT_TRUE(watcher.messages().isEmpty());
    });
}

TEST(BadInput, FloatingPointTrapsStayOffInTheWindows) {
    // The windowing system and the windows leave the floating-point exceptions masked.
    TurboAnalysisDialog dialog;
    runModal(dialog, [&] {
        typeInto(box(dialog, 1030), "0");
        click(dialog.GetDlgItem(1009));
        EXPECT_EQ(fegetexcept(), 0);
    });
}

} // namespace
