// The dialog framework driven as a person would: typing, clicking, Enter and Escape, menus,
// nested modal runs, and boxes whose text is not a number.
#include "data_exchange.hpp"
#include "window_driver.hpp"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>

using namespace window_test;

namespace {

class ExchangeDialog : public CDialog {
public:
    explicit ExchangeDialog(QWidget* parent = nullptr) : CDialog(9001, parent) {
        mapCommand(1010, &ExchangeDialog::OnAdd);
        mapCommand(1011, &ExchangeDialog::OnNest);
    }

    float m_First = 4.3f;
    float m_Second = 0.1f;
    float m_Third = 0.0f;
    float m_Sum = 0.0f;
    CString m_Note = "ready";
    int m_Choice = -1;
    CButton m_AddButton;
    int adds = 0;
    int nestedEndCode = 0;

    QLineEdit* box(int id) const { return qobject_cast<QLineEdit*>(GetDlgItem(id)); }

protected:
    void DoDataExchange(CDataExchange& dx) override {
        DDX_Control(dx, 1010, m_AddButton);
        DDX_Text(dx, 1001, m_First);
        DDX_Text(dx, 1002, m_Second);
        DDX_Text(dx, 1003, m_Third);
        DDX_Text(dx, 1004, m_Sum);
        DDX_Text(dx, 1005, m_Note);
        DDX_CBIndex(dx, 1006, m_Choice);
    }

private:
    void OnAdd() {
        if (!UpdateData(TRUE))
            return;
        ++adds;
        m_Sum = static_cast<float>(double(m_First) + double(m_Second) + double(m_Third));
        m_Note = "added";
        UpdateData(FALSE);
    }
    void OnNest() {
        ExchangeDialog inner(this);
        onNextModal([](CDialog& open) { open.SendCommand(IDOK); });
        nestedEndCode = inner.DoModal();
    }
};

std::uint32_t bits(float v) {
    return std::bit_cast<std::uint32_t>(v);
}

TEST(CDialog, OpensShowingEveryBoundField) {
    ExchangeDialog dialog;
    runModal(dialog, [&] {
        EXPECT_EQ(textOf(dialog.box(1001)), "4.3");
        EXPECT_EQ(textOf(dialog.box(1002)), "0.1");
        EXPECT_EQ(textOf(dialog.box(1004)), "0");
        EXPECT_EQ(textOf(dialog.box(1005)), "ready");
        EXPECT_EQ(qobject_cast<QComboBox*>(dialog.GetDlgItem(1006))->currentIndex(), -1);
        EXPECT_TRUE(isReadOnly(dialog.box(1004)));
        EXPECT_EQ(dialog.windowTitle(), "Exchange Test");
        EXPECT_EQ(dialog.m_AddButton.button(), dialog.GetDlgItem(1010));
    });
}

TEST(CDialog, UnchangedBoxesReadBackTheExactFloatWritten) {
    ExchangeDialog dialog;
    dialog.m_First = 1.0f / 3.0f; // shows as 0.333333, which is another float
    runModal(dialog, [&] {
        click(dialog.GetDlgItem(1010));
        EXPECT_EQ(bits(dialog.m_First), bits(1.0f / 3.0f));
        EXPECT_EQ(bits(dialog.m_Sum), bits(static_cast<float>(double(1.0f / 3.0f) + double(0.1f))));
        // Typed by hand, even the same text, the six digits are what counts.
        typeInto(dialog.box(1001), "0.333333");
        click(dialog.GetDlgItem(1010));
        EXPECT_EQ(bits(dialog.m_First), bits(0.333333f));
    });
}

TEST(CDialog, NaNAndInfinityResultsReadBackWithoutError) {
    ExchangeDialog dialog;
    runModal(dialog, [&] {
        typeInto(dialog.box(1001), "inf");
        typeInto(dialog.box(1002), "-inf");
        click(dialog.GetDlgItem(1010));
        EXPECT_EQ(textOf(dialog.box(1004)), "nan");
        EXPECT_EQ(dialog.adds, 1);
        typeInto(dialog.box(1001), "1");
        typeInto(dialog.box(1002), "2");
        click(dialog.GetDlgItem(1010)); // reads the "nan" result box back without complaint
        EXPECT_EQ(dialog.adds, 2);
        EXPECT_EQ(textOf(dialog.box(1004)), "3");
    });
}

TEST(CDialog, TextThatIsNotANumberStopsTheCommandAndKeepsTheText) {
    const struct {
        int box;
        const char* typed;
        const char* label;
    } cases[] = {
        {1001, "abc", "First Number"},
        {1002, "4,3", "Second Number"},
        {1002, "", "Second Number"},
        {1003, "1e39", "Third box"},
    };
    for (const auto& c : cases) {
        ExchangeDialog dialog;
        runModal(dialog, [&] {
            typeInto(dialog.box(c.box), c.typed);
            PopupWatcher watcher;
            click(dialog.GetDlgItem(1010));
            EXPECT_EQ(dialog.adds, 0) << c.typed;
            ASSERT_EQ(watcher.messages().size(), 1);
            EXPECT_TRUE(watcher.messages()[0].contains(QString("box \"%1\" ").arg(c.label)))
                << watcher.messages()[0].toStdString();
            EXPECT_TRUE(watcher.messages()[0].contains("\"Add\" was not carried out"));
            EXPECT_EQ(textOf(dialog.box(c.box)), c.typed);
            EXPECT_EQ(textOf(dialog.box(1004)), "0");
            EXPECT_EQ(textOf(dialog.box(1005)), "ready");
            EXPECT_EQ(dialog.focusWidget(), dialog.box(c.box));
            EXPECT_EQ(dialog.box(c.box)->selectedText(), c.typed);
        });
    }
}

TEST(CDialog, EnterRunsTheDefaultButtonAndEscapeCancels) {
    ExchangeDialog dialog;
    const int code = runModal(dialog, [&] {
        typeInto(dialog.box(1002), "2");
        pressKey(dialog.box(1002), Qt::Key_Return);
        EXPECT_EQ(dialog.adds, 1);
        EXPECT_EQ(textOf(dialog.box(1004)), "6.3");
        pressKey(dialog.box(1002), Qt::Key_Escape);
        EXPECT_FALSE(dialog.isVisible());
    });
    EXPECT_EQ(code, IDCANCEL);
}

TEST(CDialog, OkReadsTheFormAndEnds) {
    ExchangeDialog dialog;
    const int code = runModal(dialog, [&] {
        typeInto(dialog.box(1001), "7");
        qobject_cast<QComboBox*>(dialog.GetDlgItem(1006))->setCurrentIndex(2);
        click(dialog.GetDlgItem(IDOK));
    });
    EXPECT_EQ(code, IDOK);
    EXPECT_EQ(dialog.m_First, 7.0f);
    EXPECT_EQ(dialog.m_Choice, 2);
}

TEST(CDialog, HandlersRunNestedModalDialogsFromButtonsAndMenus) {
    ExchangeDialog dialog;
    runModal(dialog, [&] {
        click(dialog.GetDlgItem(1011));
        EXPECT_EQ(dialog.nestedEndCode, IDOK);
        EXPECT_TRUE(dialog.isVisible());
        dialog.nestedEndCode = 0;
        auto* bar = dialog.findChild<QMenuBar*>();
        ASSERT_NE(bar, nullptr);
        QAction* nest = nullptr;
        for (QAction* popup : bar->actions())
            for (QAction* item : popup->menu()->actions())
                if (item->text() == "&Nest")
                    nest = item;
        ASSERT_NE(nest, nullptr);
        nest->trigger();
        EXPECT_EQ(dialog.nestedEndCode, IDOK);
    });
}

} // namespace
