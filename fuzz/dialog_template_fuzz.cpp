// Dialog and menu templates: any text either reads as a template or is refused with a
// TemplateError that names a line of the text; nothing else may escape. A template that reads is
// written back out and must read again to the same template, so a word the reader drops, mixes
// up or unescapes wrongly shows as a difference.
#include "dialog_template.hpp"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

std::string quoted(const std::string& text) {
    std::string q = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\')
            q += '\\';
        q += c;
    }
    return q + '"';
}

const char* kindWord(dialogs::ControlKind kind) {
    using K = dialogs::ControlKind;
    switch (kind) {
    case K::Label:
        return "label";
    case K::Edit:
        return "edit";
    case K::Button:
        return "button";
    case K::DefButton:
        return "defbutton";
    case K::Group:
        return "group";
    case K::List:
        return "list";
    case K::Picture:
        return "picture";
    case K::Icon:
        return "icon";
    case K::Rule:
        return "rule";
    }
    std::abort();
}

std::string written(const dialogs::DialogTemplate& d) {
    using std::to_string;
    std::string t = "dialog " + to_string(d.id) + " " + to_string(d.width) + " " +
                    to_string(d.height) + " " + quoted(d.title) + "\n";
    t += "font " + to_string(d.fontPoints) + " " + quoted(d.fontFace) + "\n";
    t += "menu " + to_string(d.menuId) + "\n";
    if (!d.closeBox)
        t += "noclose\n";
    for (const auto& c : d.controls) {
        t += std::string(kindWord(c.kind)) + " " + to_string(c.id) + " " + to_string(c.rect.x) +
             " " + to_string(c.rect.y) + " " + to_string(c.rect.width) + " " +
             to_string(c.rect.height) + " " + quoted(c.caption);
        const std::pair<bool, const char*> flags[] = {{c.alignRight, "right"},
                                                      {c.alignCenter, "center"},
                                                      {c.readOnly, "readonly"},
                                                      {c.multiline, "multiline"},
                                                      {c.verticalScroll, "vscroll"},
                                                      {c.sunken, "sunken"},
                                                      {c.flat, "flat"}};
        for (const auto& [on, word] : flags)
            if (on)
                t += std::string(" ") + word;
        if (!c.name.empty())
            t += " name=" + quoted(c.name);
        if (!c.items.empty()) {
            std::string items;
            for (std::size_t i = 0; i < c.items.size(); ++i)
                items += (i > 0 ? "|" : "") + c.items[i];
            t += " items=" + quoted(items);
        }
        if (c.resource != 0)
            t += " resource=" + to_string(c.resource);
        t += "\n";
    }
    return t;
}

std::string written(const dialogs::MenuTemplate& m) {
    std::string t = "menu " + std::to_string(m.id) + "\n";
    for (const auto& p : m.popups) {
        t += "popup " + quoted(p.text) + "\n";
        for (const auto& item : p.items)
            t += item.separator
                     ? std::string("separator\n")
                     : "item " + std::to_string(item.id) + " " + quoted(item.text) + "\n";
    }
    return t;
}

// Reads what was written from a template and compares it as written again.
template <class Template, class Parse> void expectSameAfterRewrite(const Template& t, Parse parse) {
    const std::string once = written(t);
    std::string twice;
    try {
        twice = written(parse(once));
    } catch (const dialogs::TemplateError&) {
        std::abort(); // what the reader gave cannot be read back
    }
    if (once != twice)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const int lines = static_cast<int>(std::count(text.begin(), text.end(), '\n')) + 1;
    try {
        const auto dialog = dialogs::parseDialogTemplate(text);
        expectSameAfterRewrite(dialog, dialogs::parseDialogTemplate);
        // find() gives the first control with a number, and nothing for a number none has.
        for (const auto& control : dialog.controls) {
            const auto first = std::find_if(dialog.controls.begin(), dialog.controls.end(),
                                            [&](const auto& c) { return c.id == control.id; });
            if (dialog.find(control.id) != &*first)
                std::abort();
        }
        int unused = 0;
        while (std::any_of(dialog.controls.begin(), dialog.controls.end(),
                           [&](const auto& c) { return c.id == unused; }))
            ++unused;
        if (dialog.find(unused) != nullptr)
            std::abort();
    } catch (const dialogs::TemplateError& error) {
        if (error.line() < 1 || error.line() > lines)
            std::abort();
    }
    try {
        const auto menu = dialogs::parseMenuTemplate(text);
        expectSameAfterRewrite(menu, dialogs::parseMenuTemplate);
    } catch (const dialogs::TemplateError& error) {
        if (error.line() < 1 || error.line() > lines)
            std::abort();
    }
    return 0;
}
