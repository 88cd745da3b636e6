#pragma once
// The program's messages. A message box is a window of its own and would take the platform's
// font; these use the program's, as every dialog does.

#include <QMessageBox>
#include <QString>

namespace dialogs {

// Shows `text` modally over `parent` with an "OK" button until the user closes it.
void showMessage(QWidget* parent, const QString& title, const QString& text,
                 QMessageBox::Icon icon = QMessageBox::Warning);

} // namespace dialogs
