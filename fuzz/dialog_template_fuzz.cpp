// Dialog and menu templates: any text either reads as a template or is refused with a
// TemplateError that names a line of the text; nothing else may escape.
#include "dialog_template.hpp"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const int lines = static_cast<int>(std::count(text.begin(), text.end(), '\n')) + 1;
    try {
        const auto dialog = dialogs::parseDialogTemplate(text);
        for (const auto& control : dialog.controls)
            if (dialog.find(control.id) == nullptr)
                std::abort();
    } catch (const dialogs::TemplateError& error) {
        if (error.line() < 1 || error.line() > lines)
            std::abort();
    }
    try {
        dialogs::parseMenuTemplate(text);
    } catch (const dialogs::TemplateError& error) {
        if (error.line() < 1 || error.line() > lines)
            std::abort();
    }
    return 0;
}
