#include "window_driver.hpp"

#include "cdialog.hpp"
#include "help_window.hpp"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace window_test {

namespace {

// Polls until `find` returns a widget that is on screen and active (so that focus, as a person
// would see it, has arrived), then hands it to `act`. After about two seconds a window that is
// on screen but never became active is handed over all the same; one not on screen is given up.
void whenOpen(const std::function<QWidget*()>& find, const std::function<void(QWidget*)>& act,
              int triesLeft = 200) {
    QTimer::singleShot(10, [=] {
        if (QWidget* widget = find();
            widget && widget->isVisible() && (widget->isActiveWindow() || triesLeft == 0)) {
            act(widget);
            return;
        }
        if (triesLeft > 0)
            whenOpen(find, act, triesLeft - 1);
    });
}

} // namespace

int runModal(CDialog& dialog, const std::function<void()>& whileOpen) {
    whenOpen([&dialog]() -> QWidget* { return &dialog; },
             [&dialog, whileOpen](QWidget*) {
                 whileOpen();
                 if (dialog.isVisible())
                     dialog.SendCommand(IDCANCEL);
             });
    return dialog.DoModal();
}

void onNextModal(const std::function<void(CDialog&)>& whileOpen) {
    QWidget* before = QApplication::activeModalWidget();
    whenOpen(
        [before]() -> QWidget* {
            QWidget* top = QApplication::activeModalWidget();
            return top != before ? qobject_cast<CDialog*>(top) : nullptr;
        },
        [whileOpen](QWidget* widget) {
            auto* dialog = static_cast<CDialog*>(widget);
            whileOpen(*dialog);
            if (dialog->isVisible())
                dialog->SendCommand(IDCANCEL);
        });
}

PopupWatcher::PopupWatcher() : timer_(std::make_unique<QTimer>()) {
    timer_->setInterval(5);
    QObject::connect(timer_.get(), &QTimer::timeout, [this] {
        QWidget* top = QApplication::activeModalWidget();
        if (auto* box = qobject_cast<QMessageBox*>(top)) {
            seen_.push_back({false, box->windowTitle(), box->text(), box->font()});
            box->done(QMessageBox::Ok);
        } else if (auto* help = qobject_cast<dialogs::HelpWindow*>(top)) {
            seen_.push_back({true, help->windowTitle(), help->text(), help->font()});
            help->reject();
        }
    });
    timer_->start();
}

PopupWatcher::~PopupWatcher() = default;

QStringList PopupWatcher::messages() const {
    QStringList texts;
    for (const auto& popup : seen_)
        if (!popup.help)
            texts << popup.text;
    return texts;
}

QStringList PopupWatcher::helps() const {
    QStringList texts;
    for (const auto& popup : seen_)
        if (popup.help)
            texts << popup.text;
    return texts;
}

void typeInto(QWidget* box, const QString& text) {
    box->setFocus(Qt::OtherFocusReason);
    if (auto* line = qobject_cast<QLineEdit*>(box)) {
        line->selectAll();
        QTest::keyClick(line, Qt::Key_Delete);
        QTest::keyClicks(line, text);
    }
}

void click(QWidget* button) {
    QTest::mouseClick(button, Qt::LeftButton);
}

void pressKey(QWidget* target, int key) {
    QTest::keyClick(target, static_cast<Qt::Key>(key));
}

QString textOf(QWidget* box) {
    if (auto* line = qobject_cast<QLineEdit*>(box))
        return line->text();
    if (auto* list = qobject_cast<QComboBox*>(box))
        return list->currentText();
    if (auto* area = qobject_cast<QPlainTextEdit*>(box))
        return area->toPlainText();
    if (auto* button = qobject_cast<QPushButton*>(box))
        return button->text();
    return {};
}

bool isReadOnly(QWidget* box) {
    if (auto* line = qobject_cast<QLineEdit*>(box))
        return line->isReadOnly();
    if (auto* area = qobject_cast<QPlainTextEdit*>(box))
        return area->isReadOnly();
    return false;
}

QImage grab(QWidget* window) {
    return window->grab().toImage();
}

} // namespace window_test
