// What each of the program's own windows shows: the agreement, the launcher and its menu, the
// About box, the program's icon and version, and that every text fits the room it is given.
#include "program_driver.hpp"
#include "window_driver.hpp"

#include "about_dialog.hpp"
#include "agreement_dialog.hpp"
#include "cwinapp.hpp"
#include "launcher_dialog.hpp"
#include "version_record.hpp"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>

#include <gtest/gtest.h>

#include <memory>

using namespace window_test;
using namespace program_test;

namespace {

QPushButton* button(CDialog& dialog, int id) {
    return qobject_cast<QPushButton*>(dialog.GetDlgItem(id));
}

QStringList labelTexts(const QWidget& window) {
    QStringList texts;
    for (const QLabel* label : window.findChildren<QLabel*>())
        if (!label->text().isEmpty())
            texts << label->text();
    return texts;
}

TEST(Agreement, ShowsTheWholeAgreementReadOnlyWithDisagreeAsTheDefault) {
    AgreementDialog agreement;
    runModal(agreement, [&] {
        EXPECT_EQ(agreement.windowTitle(), "Vorlaxen User License and Agreement");
        EXPECT_FALSE(agreement.windowFlags() & Qt::WindowCloseButtonHint);
        EXPECT_TRUE(labelTexts(agreement).contains("End User License Agreement (EULA):"));

        auto* text = qobject_cast<QPlainTextEdit*>(agreement.GetDlgItem(1007));
        ASSERT_NE(text, nullptr);
        EXPECT_TRUE(isReadOnly(text));
        EXPECT_EQ(text->lineWrapMode(), QPlainTextEdit::WidgetWidth);
        EXPECT_EQ(text->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        const QString shown = textOf(text);
        EXPECT_TRUE(shown.startsWith("This is a plain language EULA that you must actually read, "
                                     "understand and agree to before you can use the software. "));
        EXPECT_FALSE(shown.contains('\n')) << "one paragraph";
        EXPECT_GE(shown.size(), 1600);
        EXPECT_LE(shown.size(), 1800);
        EXPECT_EQ(shown.toStdString(), agreement.m_AgreementText);
        for (const char* part : {"wheel", "full-authority", "free of charge", "entertainment",
                                 "unaltered", "discussion", "'I agree'", "hold harmless"})
            EXPECT_TRUE(shown.contains(part)) << part;

        // Typing into the agreement changes nothing.
        text->setFocus();
        pressKey(text, Qt::Key_X);
        EXPECT_EQ(textOf(text), shown);

        EXPECT_EQ(button(agreement, 1003)->text(), "I Agree");
        EXPECT_EQ(button(agreement, 2)->text(), "I Disagree");
        EXPECT_TRUE(button(agreement, 2)->isDefault());
        EXPECT_FALSE(button(agreement, 1003)->isDefault());
    });
}

TEST(Launcher, MenuHoldsItsItemsInOrderWithTheirCommands) {
    LauncherDialog launcher;
    runModal(launcher, [&] {
        auto* bar = launcher.findChild<QMenuBar*>();
        ASSERT_NE(bar, nullptr);
        QStringList found;
        for (QAction* popup : bar->actions()) {
            found << popup->text();
            // A drop-down is a window of its own; it still uses the dialog's font.
            EXPECT_EQ(popup->menu()->font(), launcher.font());
            for (QAction* item : popup->menu()->actions())
                found << (item->isSeparator()
                              ? QString("-")
                              : QString("  %1 %2").arg(item->text()).arg(item->data().toInt()));
        }
        const QStringList expected{"&Menu",
                                   "  &About Vorlaxen... 100",
                                   "-",
                                   "  &Exit 2",
                                   "&Run",
                                   "  &Turbo Analysis 132",
                                   "  &Combustor Designer 131",
                                   "-",
                                   "  &Design Explorer... 133"};
        EXPECT_EQ(found, expected);
    });
}

TEST(Launcher, ShowsItsButtonsWithTheNameAndToolOnSeparateLines) {
    LauncherDialog launcher;
    runModal(launcher, [&] {
        EXPECT_EQ(launcher.windowTitle(), "Vorlaxen Designer 2.0");
        // The caption is padded with blanks so that the program's name has a line of its own.
        EXPECT_EQ(button(launcher, 1005)->text(), "Vorlaxen\nTurbo Analysis");
        EXPECT_FALSE(button(launcher, 1002)->text().contains("  "));
        EXPECT_EQ(button(launcher, 1002)->text().simplified(), "Combustor and Flame Tube Designer");
        EXPECT_EQ(button(launcher, 1)->text(), "&Exit");
        EXPECT_TRUE(button(launcher, 1)->isFlat());
        EXPECT_TRUE(launcher.windowFlags() & Qt::WindowCloseButtonHint);
        const QStringList labels = labelTexts(launcher);
        ASSERT_EQ(labels.size(), 1);
        EXPECT_TRUE(labels[0].startsWith("Illustration: ")) << labels[0].toStdString();
    });
}

TEST(About, ShowsNameVersionCreditsAndContactAndClosesOnOk) {
    AboutDialog about;
    const int code = runModal(about, [&] {
        EXPECT_EQ(about.windowTitle(), "About Vorlaxen Designer");
        const QStringList labels = labelTexts(about);
        EXPECT_TRUE(labels.contains("Vorlaxen Designer Version 2.0"));
        EXPECT_EQ(labels.size(), 5) << labels.join(" | ").toStdString();
        EXPECT_TRUE(button(about, 1)->isDefault());
        pressKey(about.focusWidget() ? about.focusWidget() : &about, Qt::Key_Return);
        EXPECT_FALSE(about.isVisible());
    });
    EXPECT_EQ(code, IDOK);
}

// Every text of these windows must fit its rectangle in the dialog font, and every control must
// lie inside its window, or the user sees cut-off words.
TEST(Layout, EveryTextFitsAndEveryControlLiesInsideItsWindow) {
    std::unique_ptr<CDialog> windows[] = {std::make_unique<AgreementDialog>(),
                                          std::make_unique<LauncherDialog>(),
                                          std::make_unique<AboutDialog>()};
    for (auto& window : windows) {
        runModal(*window, [&] {
            const QRect inside = window->rect();
            for (QWidget* child : window->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
                if (child->isWindow())
                    continue;
                EXPECT_TRUE(inside.contains(child->geometry()))
                    << window->windowTitle().toStdString() << ": "
                    << child->metaObject()->className();
            }
            for (QLabel* label : window->findChildren<QLabel*>()) {
                if (label->text().isEmpty())
                    continue;
                const int needed = label->heightForWidth(label->width());
                EXPECT_LE(needed, label->height())
                    << window->windowTitle().toStdString() << ": " << label->text().toStdString();
            }
            for (QPushButton* push : window->findChildren<QPushButton*>()) {
                const QFontMetrics metrics(push->font());
                const QSize text = metrics.size(0, push->text());
                EXPECT_LE(text.width() + 4, push->width()) << push->text().toStdString();
                EXPECT_LE(text.height(), push->height()) << push->text().toStdString();
            }
        });
    }
}

TEST(Identity, EveryWindowCarriesTheIconAndTheProgramKnowsItsVersion) {
    QList<QSize> hostSizes, launcherSizes, toolSizes;
    qint64 launcherIcon = 0;
    runToLauncher([&](CDialog&, CDialog& launcher) {
        hostSizes = AfxGetApp()->m_pMainWnd->windowIcon().availableSizes();
        launcherSizes = launcher.windowIcon().availableSizes();
        launcherIcon = launcher.windowIcon().cacheKey();
        onNextModal([&](CDialog& tool) {
            toolSizes = tool.windowIcon().availableSizes();
            click(tool.GetDlgItem(1));
        });
        click(launcher.GetDlgItem(1002));
    });
    for (const auto* sizes : {&hostSizes, &launcherSizes, &toolSizes}) {
        EXPECT_TRUE(sizes->contains(QSize(32, 32)));
        EXPECT_TRUE(sizes->contains(QSize(16, 16)));
    }
    EXPECT_EQ(launcherIcon, QApplication::windowIcon().cacheKey());
    EXPECT_EQ(QApplication::applicationName(), "Vorlaxen Designer");
    EXPECT_EQ(QApplication::applicationVersion(), "2.0.0");
    // The Windows-style record is made from the project's version by the build.
    EXPECT_STREQ(version_record::kFileVersion, "2, 0, 0, 0");
}

} // namespace
