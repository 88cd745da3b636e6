#pragma once
// Dialog and menu templates: the arrangement of a window held as data among the resources, with
// every control's number, kind, caption, options and rectangle in dialog units.
//
// A dialog template is a text of lines; '#' starts a comment line.
//   dialog <id> <width> <height> "<title>"
//   font <points> "<face>"
//   menu <id>
//   noclose                      (no close box in the title bar)
//   <kind> <id> <x> <y> <w> <h> ["caption"] [option ...]
// Kinds: label, edit, button, defbutton, group, list (a drop-down list), picture, icon, rule.
// Options: right, center, readonly, multiline, vscroll, sunken, flat,
//   focus             holds the focus when the window opens (a box with its text selected),
//   name="..."        what a message calls the box (otherwise the label before it),
//   items="a|b|c"     the items of a list,
//   resource=<id>     the bitmap of a picture or the icon of an icon.
//
// A menu template:
//   menu <id>
//   popup "<text>"
//   item <id> "<text>"
//   separator

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace dialogs {

enum class ControlKind { Label, Edit, Button, DefButton, Group, List, Picture, Icon, Rule };

struct DialogRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

struct ControlSpec {
    ControlKind kind = ControlKind::Label;
    int id = -1; // -1 for controls that are never addressed
    DialogRect rect;
    std::string caption;
    bool alignRight = false;
    bool alignCenter = false;
    bool readOnly = false;
    bool multiline = false;
    bool verticalScroll = false;
    bool sunken = false;
    bool flat = false;
    bool initialFocus = false;
    std::string name;
    std::vector<std::string> items;
    int resource = 0;
};

struct DialogTemplate {
    int id = 0;
    std::string title;
    int width = 0;
    int height = 0;
    int fontPoints = 8;
    std::string fontFace = "MS Sans Serif";
    int menuId = 0; // 0 for no menu
    bool closeBox = true;
    std::vector<ControlSpec> controls;

    const ControlSpec* find(int controlId) const;
};

struct MenuItemSpec {
    int id = 0;
    std::string text;
    bool separator = false;
};

struct MenuPopupSpec {
    std::string text;
    std::vector<MenuItemSpec> items;
};

struct MenuTemplate {
    int id = 0;
    std::vector<MenuPopupSpec> popups;
};

// A template that cannot be read: says the line and what is wrong with it.
class TemplateError : public std::runtime_error {
public:
    TemplateError(int line, const std::string& message);
    int line() const { return line_; }

private:
    int line_;
};

DialogTemplate parseDialogTemplate(std::string_view text);
MenuTemplate parseMenuTemplate(std::string_view text);

} // namespace dialogs
