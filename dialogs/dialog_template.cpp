#include "dialog_template.hpp"

#include <charconv>
#include <cstddef>
#include <optional>

namespace dialogs {

TemplateError::TemplateError(int line, const std::string& message)
    : std::runtime_error("template line " + std::to_string(line) + ": " + message), line_(line) {}

const ControlSpec* DialogTemplate::find(int controlId) const {
    for (const auto& control : controls)
        if (control.id == controlId)
            return &control;
    return nullptr;
}

namespace {

struct Token {
    std::string text;
    bool quoted = false;       // holds a quoted part
    bool startsQuoted = false; // is a quoted text as a whole, not key="value"
};

// Splits a line into words and quoted strings ("..." with \" and \\ inside). A word of the form
// key="value" becomes one token "key=value".
std::vector<Token> tokenize(std::string_view line, int lineNo) {
    std::vector<Token> tokens;
    std::size_t i = 0;
    while (i < line.size()) {
        if (line[i] == ' ' || line[i] == '\t' || line[i] == '\r') {
            ++i;
            continue;
        }
        Token token;
        while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r') {
            if (line[i] != '"') {
                token.text += line[i++];
                continue;
            }
            token.startsQuoted = !token.quoted && token.text.empty();
            token.quoted = true;
            ++i;
            bool closed = false;
            while (i < line.size()) {
                char c = line[i++];
                if (c == '"') {
                    closed = true;
                    break;
                }
                if (c == '\\' && i < line.size())
                    c = line[i++];
                token.text += c;
            }
            if (!closed)
                throw TemplateError(lineNo, "a quoted text is not closed");
        }
        tokens.push_back(std::move(token));
    }
    return tokens;
}

int toInt(const Token& token, int lineNo) {
    int value = 0;
    const char* first = token.text.data();
    const char* last = first + token.text.size();
    const auto [end, error] = std::from_chars(first, last, value);
    if (token.quoted || error != std::errc{} || end != last)
        throw TemplateError(lineNo, "'" + token.text + "' is not a whole number");
    return value;
}

std::optional<ControlKind> kindOf(std::string_view word) {
    static constexpr std::pair<std::string_view, ControlKind> kinds[] = {
        {"label", ControlKind::Label},     {"edit", ControlKind::Edit},
        {"button", ControlKind::Button},   {"defbutton", ControlKind::DefButton},
        {"group", ControlKind::Group},     {"list", ControlKind::List},
        {"picture", ControlKind::Picture}, {"icon", ControlKind::Icon},
        {"rule", ControlKind::Rule},
    };
    for (const auto& [name, kind] : kinds)
        if (word == name)
            return kind;
    return std::nullopt;
}

std::vector<std::string> splitItems(const std::string& text) {
    std::vector<std::string> items;
    std::size_t start = 0;
    while (true) {
        const auto bar = text.find('|', start);
        items.push_back(text.substr(start, bar - start));
        if (bar == std::string::npos)
            return items;
        start = bar + 1;
    }
}

void applyOption(ControlSpec& control, const Token& token, int lineNo) {
    const std::string& word = token.text;
    const auto equals = word.find('=');
    if (equals == std::string::npos) {
        if (word == "right")
            control.alignRight = true;
        else if (word == "center")
            control.alignCenter = true;
        else if (word == "readonly")
            control.readOnly = true;
        else if (word == "multiline")
            control.multiline = true;
        else if (word == "vscroll")
            control.verticalScroll = true;
        else if (word == "sunken")
            control.sunken = true;
        else if (word == "flat")
            control.flat = true;
        else if (word == "focus")
            control.initialFocus = true;
        else
            throw TemplateError(lineNo, "unknown option '" + word + "'");
        return;
    }
    const std::string key = word.substr(0, equals);
    const Token value{word.substr(equals + 1), token.quoted, token.quoted};
    if (key == "name")
        control.name = value.text;
    else if (key == "items")
        control.items = splitItems(value.text);
    else if (key == "resource")
        control.resource = toInt(value, lineNo);
    else
        throw TemplateError(lineNo, "unknown option '" + key + "'");
}

template <class Visit> void forEachLine(std::string_view text, Visit visit) {
    int lineNo = 0;
    std::size_t start = 0;
    while (start <= text.size()) {
        auto end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        ++lineNo;
        auto tokens = tokenize(text.substr(start, end - start), lineNo);
        if (!tokens.empty() && !(tokens[0].text.starts_with('#') && !tokens[0].startsQuoted))
            visit(tokens, lineNo);
        start = end + 1;
    }
}

void expectCount(const std::vector<Token>& tokens, std::size_t count, int lineNo) {
    if (tokens.size() != count)
        throw TemplateError(lineNo, "'" + tokens[0].text + "' takes " + std::to_string(count - 1) +
                                        " values");
}

} // namespace

DialogTemplate parseDialogTemplate(std::string_view text) {
    DialogTemplate dialog;
    bool seenHeader = false;
    forEachLine(text, [&](const std::vector<Token>& t, int lineNo) {
        const std::string& word = t[0].text;
        if (word == "dialog") {
            expectCount(t, 5, lineNo);
            dialog.id = toInt(t[1], lineNo);
            dialog.width = toInt(t[2], lineNo);
            dialog.height = toInt(t[3], lineNo);
            dialog.title = t[4].text;
            seenHeader = true;
            return;
        }
        if (!seenHeader)
            throw TemplateError(lineNo, "a template starts with its 'dialog' line");
        if (word == "font") {
            expectCount(t, 3, lineNo);
            dialog.fontPoints = toInt(t[1], lineNo);
            dialog.fontFace = t[2].text;
        } else if (word == "menu") {
            expectCount(t, 2, lineNo);
            dialog.menuId = toInt(t[1], lineNo);
        } else if (word == "noclose") {
            expectCount(t, 1, lineNo);
            dialog.closeBox = false;
        } else if (const auto kind = kindOf(word)) {
            if (t.size() < 6)
                throw TemplateError(lineNo, "a control needs its number and rectangle");
            ControlSpec control;
            control.kind = *kind;
            control.id = toInt(t[1], lineNo);
            control.rect = {toInt(t[2], lineNo), toInt(t[3], lineNo), toInt(t[4], lineNo),
                            toInt(t[5], lineNo)};
            std::size_t next = 6;
            if (next < t.size() && t[next].startsQuoted)
                control.caption = t[next++].text;
            for (; next < t.size(); ++next)
                applyOption(control, t[next], lineNo);
            dialog.controls.push_back(std::move(control));
        } else {
            throw TemplateError(lineNo, "unknown line '" + word + "'");
        }
    });
    if (!seenHeader)
        throw TemplateError(1, "a template starts with its 'dialog' line");
    return dialog;
}

MenuTemplate parseMenuTemplate(std::string_view text) {
    MenuTemplate menu;
    bool seenHeader = false;
    forEachLine(text, [&](const std::vector<Token>& t, int lineNo) {
        const std::string& word = t[0].text;
        if (word == "menu") {
            expectCount(t, 2, lineNo);
            menu.id = toInt(t[1], lineNo);
            seenHeader = true;
            return;
        }
        if (!seenHeader)
            throw TemplateError(lineNo, "a menu starts with its 'menu' line");
        if (word == "popup") {
            expectCount(t, 2, lineNo);
            menu.popups.push_back({t[1].text, {}});
            return;
        }
        if (menu.popups.empty())
            throw TemplateError(lineNo, "an item belongs to a popup");
        if (word == "item") {
            expectCount(t, 3, lineNo);
            menu.popups.back().items.push_back({toInt(t[1], lineNo), t[2].text, false});
        } else if (word == "separator") {
            expectCount(t, 1, lineNo);
            menu.popups.back().items.push_back({0, {}, true});
        } else {
            throw TemplateError(lineNo, "unknown line '" + word + "'");
        }
    });
    if (!seenHeader)
        throw TemplateError(1, "a menu starts with its 'menu' line");
    return menu;
}

} // namespace dialogs
