#pragma once
// Runs the whole program as its entry does (the application object's start-up) and hands each
// window to the test as it opens, with a record of every window that was shown.

#include "cdialog.hpp"

#include <QObject>
#include <QPointer>
#include <QStringList>

#include <functional>
#include <map>

class QAction;
class QWidget;

namespace program_test {

// Watches the whole application: the title of every dialog that was shown, in order, and which
// windows a modal window above them blocks from input.
class WindowLog : public QObject {
public:
    WindowLog();
    ~WindowLog() override;

    QStringList shown;
    bool isBlocked(const QWidget* window) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::map<const QObject*, bool> blocked_;
};

// Starts the program with `atAgreement` called once the agreement is on screen. Returns what the
// start-up returned (false: the program ends without a message loop).
bool runProgram(const std::function<void(CDialog&)>& atAgreement);

// Starts the program, clicks "I Agree" and calls `atLauncher` once the launcher is on screen;
// the launcher is closed afterwards if the step left it open. `agreementAfterLauncher` tells
// whether the agreement was still on screen once the launcher had closed.
bool runToLauncher(const std::function<void(CDialog& agreement, CDialog& launcher)>& atLauncher,
                   bool* agreementAfterLauncher = nullptr);

// The menu item of a dialog's menu bar with this text ("&Exit"), or nullptr.
QAction* menuItem(CDialog& dialog, const QString& text);

// Dialogs of the program still on screen.
QStringList visibleDialogs();

// A click delivered through the window system, as a real mouse's: a window that a modal window
// above it blocks does not receive it.
void clickThroughWindow(QWidget* button);

} // namespace program_test
