#pragma once
// The standard-library layers' text as the explorer's widgets show it: UTF-8 throughout, and
// figures in the windows' six-digit form (never the locale's).

#include "number_text.hpp"

#include <QString>

#include <string_view>

namespace explorer {

inline QString toQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

inline QString figureText(float value) {
    return toQString(fields::formatFloat(value));
}

} // namespace explorer
