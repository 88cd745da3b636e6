// The program as a whole, driven as a person would: the agreement at start, the launcher, the
// two tools and the About box, and every way out.
#include "program_driver.hpp"
#include "window_driver.hpp"

#include "candidate_table.hpp"
#include "curve_chart.hpp"
#include "designer_app.hpp"
#include "explorer_window.hpp"
#include "help_window.hpp"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

#include <cfenv>

using namespace window_test;
using namespace program_test;

namespace {

const QString kAgreement = "Vorlaxen User License and Agreement";
const QString kLauncher = "Vorlaxen Designer 2.0";
const QString kTurbo = "Vorlaxen - Turbo Analysis";
const QString kCombustor = "Vorlaxen - Combustor and Flame Tube";
const QString kAbout = "About Vorlaxen Designer";
const QString kExplorer = "Vorlaxen - Design Explorer";

TEST(Start, DisagreeingEndsTheProgramWithNoOtherWindow) {
    const struct {
        const char* how;
        std::function<void(CDialog&)> answer;
    } cases[] = {
        {"\"I Disagree\"", [](CDialog& d) { click(d.GetDlgItem(2)); }},
        {"Escape",
         [](CDialog& d) { pressKey(d.focusWidget() ? d.focusWidget() : &d, Qt::Key_Escape); }},
        {"Enter (the default button)",
         [](CDialog& d) { pressKey(d.focusWidget() ? d.focusWidget() : &d, Qt::Key_Return); }},
    };
    for (const auto& c : cases) {
        WindowLog log;
        QPointer<CDialog> agreement;
        bool closedByAnswer = false;
        CDialog* host = nullptr;
        const bool started = runProgram([&](CDialog& d) {
            agreement = &d;
            host = AfxGetApp()->m_pMainWnd;
            EXPECT_TRUE(host && !host->isVisible()) << c.how << ": the main window is never seen";
            EXPECT_EQ(d.parentWidget(), nullptr) << c.how;
            EXPECT_EQ(visibleDialogs(), QStringList{kAgreement}) << c.how;
            c.answer(d);
            closedByAnswer = !d.isVisible();
        });
        EXPECT_FALSE(started) << c.how;
        EXPECT_TRUE(closedByAnswer) << c.how;
        // Only the agreement was ever shown: not the host, not the launcher.
        EXPECT_EQ(log.shown, QStringList{kAgreement}) << c.how;
        EXPECT_TRUE(visibleDialogs().isEmpty()) << c.how;
        EXPECT_TRUE(agreement.isNull()) << c.how; // gone with its run
    }
}

TEST(Launcher, EveryWayOfClosingItEndsTheProgram) {
    const struct {
        const char* how;
        std::function<void(CDialog&)> close;
    } cases[] = {
        {"the \"&Exit\" button", [](CDialog& l) { click(l.GetDlgItem(1)); }},
        {"the \"&Exit\" menu item", [](CDialog& l) { menuItem(l, "&Exit")->trigger(); }},
        {"the close box", [](CDialog& l) { l.close(); }},
        {"Escape",
         [](CDialog& l) { pressKey(l.focusWidget() ? l.focusWidget() : &l, Qt::Key_Escape); }},
    };
    for (const auto& c : cases) {
        WindowLog log;
        QPointer<CDialog> agreement, launcher;
        bool launcherClosed = false;
        bool agreementAfterLauncher = true;
        const bool started = runToLauncher(
            [&](CDialog& a, CDialog& l) {
                agreement = &a;
                launcher = &l;
                ASSERT_NE(menuItem(l, "&Exit"), nullptr);
                c.close(l);
                launcherClosed = !l.isVisible();
            },
            &agreementAfterLauncher);
        EXPECT_TRUE(launcherClosed) << c.how;
        EXPECT_FALSE(agreementAfterLauncher) << c.how << ": the agreement ends with the launcher";
        EXPECT_FALSE(started) << c.how;
        EXPECT_EQ(log.shown, (QStringList{kAgreement, kLauncher})) << c.how;
        EXPECT_TRUE(visibleDialogs().isEmpty()) << c.how;
        EXPECT_TRUE(agreement.isNull() && launcher.isNull()) << c.how;
    }
}

TEST(Launcher, TheAgreementStaysBeneathItAndTakesNoInput) {
    WindowLog log;
    runToLauncher([&](CDialog& agreement, CDialog& launcher) {
        EXPECT_EQ(launcher.parentWidget(), &agreement);
        EXPECT_EQ(QApplication::activeModalWidget(), &launcher);
        EXPECT_EQ(visibleDialogs().size(), 2);
        EXPECT_TRUE(agreement.isVisible());
        EXPECT_TRUE(log.isBlocked(&agreement));
        EXPECT_FALSE(log.isBlocked(&launcher));

        // A real click on "I Agree" beneath the launcher reaches nothing...
        clickThroughWindow(agreement.GetDlgItem(1003));
        QApplication::processEvents();
        EXPECT_EQ(log.shown, (QStringList{kAgreement, kLauncher}));
        // ...while the same kind of click on the launcher's own button does.
        onNextModal([](CDialog& tool) { click(tool.GetDlgItem(1)); });
        clickThroughWindow(launcher.GetDlgItem(1005));
        EXPECT_EQ(log.shown, (QStringList{kAgreement, kLauncher, kTurbo}));
        EXPECT_TRUE(launcher.isVisible());
    });
}

TEST(Launcher, TurboAnalysisOpensFreshWithItsDefaultsEveryTime) {
    WindowLog log;
    QPointer<CDialog> first;
    bool firstGoneBeforeSecond = false;
    runToLauncher([&](CDialog&, CDialog& launcher) {
        onNextModal([&](CDialog& turbo) {
            first = &turbo;
            EXPECT_EQ(turbo.parentWidget(), &launcher);
            EXPECT_EQ(textOf(turbo.GetDlgItem(1000)), "4.3");
            click(turbo.GetDlgItem(1001)); // maximum speed from the default outlet diameter
            EXPECT_EQ(textOf(turbo.GetDlgItem(1002)), "77282.7");
            typeInto(turbo.GetDlgItem(1003), "2");
            typeInto(turbo.GetDlgItem(1032), "10");
            click(turbo.GetDlgItem(1)); // "Exit"
        });
        click(launcher.GetDlgItem(1005));
        EXPECT_TRUE(launcher.isVisible());
        EXPECT_EQ(QApplication::activeModalWidget(), &launcher);

        onNextModal([&](CDialog& turbo) {
            firstGoneBeforeSecond = first.isNull();
            EXPECT_EQ(textOf(turbo.GetDlgItem(1000)), "4.3");
            EXPECT_EQ(textOf(turbo.GetDlgItem(1002)), "0");
            EXPECT_EQ(textOf(turbo.GetDlgItem(1003)), "3");
            EXPECT_EQ(textOf(turbo.GetDlgItem(1032)), "0");
            click(turbo.GetDlgItem(1));
        });
        menuItem(launcher, "&Turbo Analysis")->trigger();
    });
    EXPECT_TRUE(firstGoneBeforeSecond);
    EXPECT_EQ(log.shown, (QStringList{kAgreement, kLauncher, kTurbo, kTurbo}));
}

// Division by zero in a window gives infinities and NaN, never a trap: the program's start-up
// leaves floating-point exceptions masked.
TEST(Start, LeavesFloatingPointTrapsOff) {
    runToLauncher([&](CDialog&, CDialog& launcher) {
        EXPECT_EQ(fegetexcept(), 0);
        onNextModal([&](CDialog& turbo) {
            typeInto(turbo.GetDlgItem(1030), "0"); // ambient pressure
            click(turbo.GetDlgItem(1009));         // full analysis: PR = (P2 + 0) / 0
            EXPECT_EQ(textOf(turbo.GetDlgItem(1027)), "nan");
            click(turbo.GetDlgItem(1));
        });
        click(launcher.GetDlgItem(1005));
    });
}

TEST(Launcher, CombustorOpensFreshFromItsButtonAndFromTheMenu) {
    WindowLog log;
    runToLauncher([&](CDialog&, CDialog& launcher) {
        onNextModal([&](CDialog& combustor) {
            EXPECT_EQ(combustor.parentWidget(), &launcher);
            qobject_cast<QComboBox*>(combustor.GetDlgItem(1018))->setCurrentIndex(1);
            click(combustor.GetDlgItem(1020)); // "Enter"
            EXPECT_EQ(textOf(combustor.GetDlgItem(1019)), "Metric - Millimeters");
            EXPECT_EQ(textOf(combustor.GetDlgItem(1014)), "6");
            click(combustor.GetDlgItem(1));
        });
        click(launcher.GetDlgItem(1002));

        onNextModal([&](CDialog& combustor) {
            EXPECT_EQ(qobject_cast<QComboBox*>(combustor.GetDlgItem(1018))->currentIndex(), -1);
            EXPECT_EQ(textOf(combustor.GetDlgItem(1019)), "");
            EXPECT_EQ(textOf(combustor.GetDlgItem(1014)), "0");
            click(combustor.GetDlgItem(1));
        });
        menuItem(launcher, "&Combustor Designer")->trigger();
    });
    EXPECT_EQ(log.shown, (QStringList{kAgreement, kLauncher, kCombustor, kCombustor}));
}

TEST(Launcher, EachCommandOpensItsWindowAboveTheLauncher) {
    const struct {
        const char* how;
        std::function<void(CDialog&)> open;
        QString title;
    } cases[] = {
        {"Turbo Analysis button", [](CDialog& l) { click(l.GetDlgItem(1005)); }, kTurbo},
        {"Turbo Analysis menu item", [](CDialog& l) { menuItem(l, "&Turbo Analysis")->trigger(); },
         kTurbo},
        {"Combustor button", [](CDialog& l) { click(l.GetDlgItem(1002)); }, kCombustor},
        {"Combustor menu item", [](CDialog& l) { menuItem(l, "&Combustor Designer")->trigger(); },
         kCombustor},
        {"About menu item", [](CDialog& l) { menuItem(l, "&About Vorlaxen...")->trigger(); },
         kAbout},
    };
    for (const auto& c : cases) {
        WindowLog log;
        runToLauncher([&](CDialog&, CDialog& launcher) {
            QString openTitle;
            QStringList onScreen;
            onNextModal([&](CDialog& window) {
                openTitle = window.windowTitle();
                onScreen = visibleDialogs();
                EXPECT_EQ(window.parentWidget(), &launcher) << c.how;
                click(window.GetDlgItem(1)); // "Exit" or "OK"
                EXPECT_FALSE(window.isVisible()) << c.how;
            });
            c.open(launcher);
            EXPECT_EQ(openTitle, c.title) << c.how;
            EXPECT_EQ(onScreen.size(), 3) << c.how << ": agreement, launcher and " << c.how;
            // Closing the window above returns to the launcher, still open.
            EXPECT_TRUE(launcher.isVisible()) << c.how;
            EXPECT_EQ(QApplication::activeModalWidget(), &launcher) << c.how;
        });
        EXPECT_EQ(log.shown, (QStringList{kAgreement, kLauncher, c.title})) << c.how;
    }
}

TEST(Launcher, DesignExplorerOpensFreshFromTheRunMenu) {
    WindowLog log;
    runToLauncher([&](CDialog&, CDialog& launcher) {
        QAction* item = menuItem(launcher, "&Design Explorer...");
        ASSERT_NE(item, nullptr);

        onNextModal([&](CDialog& window) {
            EXPECT_EQ(window.parentWidget(), &launcher);
            EXPECT_EQ(visibleDialogs().size(), 3);
            EXPECT_TRUE(window.isSizeGripEnabled()) << "resizable";
            auto* explorer = qobject_cast<ExplorerWindow*>(&window);
            ASSERT_NE(explorer, nullptr);
            EXPECT_EQ(explorer->chart()->panelCount(), 1);
            explorer->action("add")->trigger();
            EXPECT_EQ(explorer->candidates()->rowCount(), 3);
            // Unsaved work: closing asks, and "Discard" lets it go.
            QTimer::singleShot(20, [] {
                if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
                    box->button(QMessageBox::Discard)->click();
            });
            window.SendCommand(IDCANCEL);
            EXPECT_FALSE(window.isVisible());
        });
        item->trigger();
        EXPECT_EQ(QApplication::activeModalWidget(), &launcher);

        onNextModal([&](CDialog& window) {
            EXPECT_EQ(qobject_cast<ExplorerWindow*>(&window)->candidates()->rowCount(), 2);
        });
        item->trigger();
    });
    EXPECT_EQ(log.shown, (QStringList{kAgreement, kLauncher, kExplorer,
                                      "Untitled* - " + kExplorer, // the question on closing
                                      kExplorer}));
}

// F1, pressed where the user is, shows the help of that window in a help window of the
// program's font, and leaves the window open.
TEST(Help, F1ShowsTheHelpOfTheWindowItIsPressedIn) {
    const struct {
        int templateId;
        const char* title;
        const char* saying;                 // a phrase only that window's help has
        std::function<void(CDialog&)> open; // from the launcher; nothing for the launcher itself
    } cases[] = {
        {130, "Vorlaxen Designer 2.0", "launcher", nullptr},
        {132, "Vorlaxen - Turbo Analysis", "\"nan\"",
         [](CDialog& l) { click(l.GetDlgItem(1005)); }},
        {131, "Vorlaxen - Combustor and Flame Tube", "not rounded",
         [](CDialog& l) { click(l.GetDlgItem(1002)); }},
        {100, "About Vorlaxen Designer", "documentation",
         [](CDialog& l) { menuItem(l, "&About Vorlaxen...")->trigger(); }},
        {133, "Vorlaxen - Design Explorer", "Mass Flow Source",
         [](CDialog& l) { menuItem(l, "&Design Explorer...")->trigger(); }},
    };
    const auto pressF1 = [](CDialog& window) {
        PopupWatcher watcher;
        pressKey(window.focusWidget() ? window.focusWidget() : &window, Qt::Key_F1);
        EXPECT_TRUE(window.isVisible());
        return watcher.seen();
    };
    const auto expectHelp = [](const std::vector<PopupWatcher::Popup>& seen, int templateId,
                               const char* title, const char* saying, const QFont& font) {
        ASSERT_EQ(seen.size(), 1) << title;
        EXPECT_TRUE(seen[0].help) << title;
        EXPECT_EQ(seen[0].title, QString("Help: %1").arg(title));
        EXPECT_EQ(seen[0].text, dialogs::helpText(templateId)) << title;
        EXPECT_TRUE(seen[0].text.contains(saying)) << title;
        EXPECT_EQ(seen[0].font.family(), font.family()) << title;
    };
    for (const auto& c : cases) {
        runToLauncher([&](CDialog&, CDialog& launcher) {
            if (!c.open) {
                expectHelp(pressF1(launcher), c.templateId, c.title, c.saying, launcher.font());
                return;
            }
            onNextModal([&](CDialog& window) {
                expectHelp(pressF1(window), c.templateId, c.title, c.saying, window.font());
            });
            c.open(launcher);
        });
    }
    runProgram([&](CDialog& agreement) {
        agreement.GetDlgItem(1007)->setFocus(); // from inside the agreement text
        expectHelp(pressF1(agreement), 129, "Vorlaxen User License and Agreement", "I Disagree",
                   agreement.font());
        click(agreement.GetDlgItem(2));
    });
}

} // namespace
