#pragma once
// What the candidates' table keeps in each column, shared by the files the table is written in.

#include "candidate_table.hpp"
#include "qt_text.hpp"

#include <QColor>
#include <QString>

#include <array>
#include <optional>

namespace explorer::table {

// Columns: the name, the fields of a candidate engine (inputs in file order, then results), and
// the note on what the curves cannot show.
inline constexpr int kNameColumn = 0;
inline constexpr int kFirstFieldColumn = 1;
inline constexpr int kFieldCount = static_cast<int>(fields::kEngineFields.size());
// Then the candidate's compressor map and its figures there.
inline constexpr int kMapColumn = kFirstFieldColumn + kFieldCount;
inline constexpr int kEfficiencyFromMapColumn = kMapColumn + 1;
inline constexpr int kFirstMatchColumn = kEfficiencyFromMapColumn + 1;
inline constexpr int kMatchCount = static_cast<int>(fields::kMapMatchingFields.size());
inline constexpr int kNoteColumn = kFirstMatchColumn + kMatchCount;
inline constexpr int kSourceColumn =
    kFirstFieldColumn + static_cast<int>(turbo::kMassFlowSourceField);
inline constexpr int kFuelColumn = kFirstFieldColumn + static_cast<int>(turbo::kFuelField);

// What each field column holds: an input, a result, or the mass-flow source.
struct ColumnRole {
    std::optional<EngineInput> input;
    std::optional<EngineResult> result;
};

inline const std::array<ColumnRole, fields::kEngineFields.size()>& columnRoles() {
    static const auto roles = [] {
        std::array<ColumnRole, fields::kEngineFields.size()> r{};
        for (std::size_t i = 0; i < turbo::kEngineInputCount; ++i)
            r[turbo::engineFieldIndex(static_cast<EngineInput>(i))].input =
                static_cast<EngineInput>(i);
        for (std::size_t i = 0; i < turbo::kEngineResultCount; ++i)
            r[turbo::engineFieldIndex(static_cast<EngineResult>(i))].result =
                static_cast<EngineResult>(i);
        return r;
    }();
    return roles;
}

// Results are shaded so that they never pass for something typed.
inline const QColor kResultShade(0xee, 0xf0, 0xf4);
// A figure read off the compressor map rather than typed.
inline const QColor kFromMapShade(0xd8, 0xec, 0xff);
// A figure solved from a measurement in place of the typed one.
inline const QColor kSolvedShade(0xe0, 0xf4, 0xdc);

// "100,000": a count grouped in thousands the same way whatever the system's language.
inline QString groupedCount(std::size_t count) {
    QString digits = QString::number(count);
    for (auto at = digits.size() - 3; at > 0; at -= 3)
        digits.insert(at, QLatin1Char(','));
    return digits;
}

inline QString sourceWord(MassFlowSource source) {
    return toQString(fields::kEngineFields[turbo::kMassFlowSourceField]
                         .choices[static_cast<std::size_t>(source)]);
}

} // namespace explorer::table
