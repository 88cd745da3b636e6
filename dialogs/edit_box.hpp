#pragma once
// The one-line box of every dialog. A number the program writes that is wider than the box is
// shown shortened, never cut at the box's edge: cut, "1.19707e+10" would read "1.19707e+1", a
// different number. The shortened form keeps the sign and the exponent and as many leading
// digits as fit, and marks the cut with an ellipsis ("1.19…e+10"), with or without the focus. The
// box's tooltip shows the whole six-digit text; copying copies it; a box the user can edit shows
// it once the user starts to change it.

#include <QLineEdit>
#include <QString>

#include <functional>

namespace dialogs {

// `full` as it fits where `fits` says so: unchanged when it fits, otherwise in scientific form
// with the leading significant digits that fit and "…" where digits were left out ("1.19…e+10",
// "…e+10" when no digit fits). Text that is not a number in the program's own format is returned
// unchanged; "…" alone when nothing fits.
QString fitNumberText(const QString& full, const std::function<bool(const QString&)>& fits);

class EditBox : public QLineEdit {
    Q_OBJECT

public:
    explicit EditBox(QWidget* parent = nullptr);

    // The program writes a number's text: shown whole if it fits or the user is in the box,
    // otherwise shortened. Either way the box counts as unedited.
    void showNumber(const QString& text);

    // The text the box stands for: the whole number text while the box shows what the program
    // wrote, otherwise what the box holds.
    QString numberText() const;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    bool showsWritten() const { return !isModified() && text() == shown_; }
    bool shortened() const; // shows a short form of what the program wrote
    void display(const QString& text);
    void refit();

    QString written_; // the whole text the program last wrote
    QString shown_;   // what the box showed for it
};

} // namespace dialogs
