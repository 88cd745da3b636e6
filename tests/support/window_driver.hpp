#pragma once
// Drives a real dialog as a person would: type into boxes, click buttons, press keys, read what
// the boxes show. Dialogs run modally, as in the program.

#include <QImage>
#include <QString>

#include <functional>
#include <memory>

class CDialog;
class QWidget;

namespace window_test {

// Runs dialog.DoModal() and calls `whileOpen` once the dialog is on screen. If the dialog is still
// open afterwards it is cancelled, so that a test never hangs. Returns DoModal's end code.
int runModal(CDialog& dialog, const std::function<void()>& whileOpen);

// Calls `whileOpen` with the next modal dialog that opens (one opened by a handler), then
// cancels it if still open. The pointer handed over is valid only during the call.
void onNextModal(const std::function<void(CDialog&)>& whileOpen);

// Reads and dismisses the next message box that opens; the text is filled in when it does.
std::shared_ptr<QString> dismissNextMessageBox();

void typeInto(QWidget* box, const QString& text); // replaces the box's text by typing
void click(QWidget* button);
void pressKey(QWidget* target, int key); // Qt::Key_Return, Qt::Key_Escape, ...
QString textOf(QWidget* box);            // what a box or list shows
bool isReadOnly(QWidget* box);
QImage grab(QWidget* window);

} // namespace window_test
