#pragma once
// Writing a field so that CsvReader reads back exactly the text written.

#include <string_view>

namespace csv {

// A field needs quotes when the reader would otherwise split it at a comma, end it at a line
// break or take its quotes as its own; one that begins or ends with a blank is quoted too, since
// the reader takes blanks around quotes as padding.
inline bool needsQuotes(std::string_view text) {
    const auto isBlank = [](char c) { return c == ' ' || c == '\t'; };
    return text.find_first_of(",\"\r\n") != std::string_view::npos ||
           (!text.empty() && (isBlank(text.front()) || isBlank(text.back())));
}

} // namespace csv
