#include "program_driver.hpp"

#include "designer_app.hpp"
#include "window_driver.hpp"

#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QWindow>

namespace program_test {

WindowLog::WindowLog() {
    qApp->installEventFilter(this);
}

WindowLog::~WindowLog() {
    qApp->removeEventFilter(this);
}

bool WindowLog::isBlocked(const QWidget* window) const {
    const auto found = blocked_.find(window);
    return found != blocked_.end() && found->second;
}

bool WindowLog::eventFilter(QObject* watched, QEvent* event) {
    auto* dialog = qobject_cast<QDialog*>(watched);
    if (dialog && dialog->isWindow()) {
        switch (event->type()) {
        case QEvent::Show:
            shown << dialog->windowTitle();
            break;
        case QEvent::WindowBlocked:
            blocked_[dialog] = true;
            break;
        case QEvent::WindowUnblocked:
            blocked_[dialog] = false;
            break;
        default:
            break;
        }
    }
    return false;
}

bool runProgram(const std::function<void(CDialog&)>& atAgreement) {
    DesignerApp app;
    window_test::onNextModal(atAgreement);
    return app.InitInstance();
}

bool runToLauncher(const std::function<void(CDialog&, CDialog&)>& atLauncher,
                   bool* agreementAfterLauncher) {
    return runProgram([&](CDialog& agreement) {
        window_test::onNextModal([&](CDialog& launcher) { atLauncher(agreement, launcher); });
        window_test::click(agreement.GetDlgItem(1003));
        if (agreementAfterLauncher)
            *agreementAfterLauncher = agreement.isVisible();
    });
}

QAction* menuItem(CDialog& dialog, const QString& text) {
    auto* bar = dialog.findChild<QMenuBar*>();
    if (!bar)
        return nullptr;
    for (QAction* popup : bar->actions())
        if (popup->menu())
            for (QAction* item : popup->menu()->actions())
                if (item->text() == text)
                    return item;
    return nullptr;
}

QStringList visibleDialogs() {
    QStringList titles;
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (qobject_cast<QDialog*>(widget) && widget->isVisible())
            titles << widget->windowTitle();
    return titles;
}

void clickThroughWindow(QWidget* button) {
    QWidget* window = button->window();
    const QPoint at = button->mapTo(window, button->rect().center());
    QTest::mouseClick(window->windowHandle(), Qt::LeftButton, Qt::NoModifier, at);
}

} // namespace program_test
