#pragma once
// Drives a real dialog as a person would: type into boxes, click buttons, press keys, read what
// the boxes show. Dialogs run modally, as in the program.

#include <QFont>
#include <QImage>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

class CDialog;
class QTimer;
class QWidget;

namespace window_test {

// Runs dialog.DoModal() and calls `whileOpen` once the dialog is on screen. If the dialog is still
// open afterwards it is cancelled, so that a test never hangs. Returns DoModal's end code.
int runModal(CDialog& dialog, const std::function<void()>& whileOpen);

// Calls `whileOpen` with the next modal dialog that opens (one opened by a handler), then
// cancels it if still open. The pointer handed over is valid only during the call.
void onNextModal(const std::function<void(CDialog&)>& whileOpen);

// Reads and closes every message box and help window that opens while it lives, so that a test
// sees what the user was told and never hangs on it. It stops with its scope: nothing it was
// armed for can reach into a later test.
class PopupWatcher {
public:
    struct Popup {
        bool help = false; // a help window, otherwise a message box
        QString title;
        QString text;
        QFont font;
    };

    PopupWatcher();
    ~PopupWatcher();
    PopupWatcher(const PopupWatcher&) = delete;
    PopupWatcher& operator=(const PopupWatcher&) = delete;

    const std::vector<Popup>& seen() const { return seen_; }
    QStringList messages() const; // the texts of the message boxes, in order
    QStringList helps() const;    // the texts of the help windows, in order

private:
    std::unique_ptr<QTimer> timer_;
    std::vector<Popup> seen_;
};

void typeInto(QWidget* box, const QString& text); // replaces the box's text by typing
void click(QWidget* button);
void pressKey(QWidget* target, int key); // Qt::Key_Return, Qt::Key_Escape, ...
QString textOf(QWidget* box);            // what a box or list shows
bool isReadOnly(QWidget* box);
QImage grab(QWidget* window);

} // namespace window_test
