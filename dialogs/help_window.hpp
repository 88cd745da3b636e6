#pragma once
// Help for the window F1 is pressed in. Each window's help is a text resource named by the
// window's number: "text/132-turbo-analysis-help.txt" is the help of dialog template 132. A
// CDialog shows its own on F1 with nothing more to do; any other window calls addHelpKey.
//
// Help texts are plain text. Lines of a paragraph are joined; a blank line ends a paragraph, and a
// line starting "- " or "1. " starts a new line of a list.

#include <QDialog>
#include <QString>

class QPlainTextEdit;

namespace dialogs {

// The help text of window `helpId`, laid out in paragraphs; empty when there is none.
QString helpText(int helpId);

// A resizable window that shows a help text in the program's font and scrolls it.
class HelpWindow : public QDialog {
    Q_OBJECT

public:
    HelpWindow(const QString& windowTitle, const QString& text, QWidget* parent = nullptr);
    QString text() const;

private:
    QPlainTextEdit* view_;
};

// Shows the help of window `helpId`, titled after `parent`, modally over it until it is closed.
void showHelp(QWidget* parent, int helpId);

// Makes F1 anywhere in `window` show the help of window `helpId`.
void addHelpKey(QWidget* window, int helpId);

} // namespace dialogs
