#pragma once
// Realises a dialog template as Qt widgets: every control at its rectangle, converted from dialog
// units to pixels by the dialog font's average character width (x / 4) and height (y / 8), so
// that a window scales with its font and the screen.

#include "dialog_template.hpp"

#include <QFont>
#include <QRect>

#include <functional>
#include <map>

class QDialog;
class QWidget;

namespace dialogs {

class DialogUnits {
public:
    explicit DialogUnits(const QFont& font);
    QRect toPixels(const DialogRect& rect) const;
    int x(int units) const;
    int y(int units) const;

private:
    int baseX_;
    int baseY_;
};

// The program's one font, in `points`: every window, menu, message and help text uses it.
QFont programFont(int points = 8);
// The font a dialog is drawn in: the program's font in the template's size.
QFont dialogFont(const DialogTemplate& dialog);

struct BuiltDialog {
    std::map<int, QWidget*> controls; // by control number; unnumbered controls are left out
    int menuHeight = 0;
};

// Builds the controls (and the menu, if the template names one) onto `dialog`, and sets its
// title, font and fixed size. `onCommand` receives the number of a clicked button or menu item.
BuiltDialog buildDialog(QDialog& dialog, const DialogTemplate& tmpl,
                        const std::function<void(int)>& onCommand);

} // namespace dialogs
