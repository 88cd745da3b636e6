#pragma once
// A run log: what a data logger or a test stand wrote down while the engine ran, one point a
// line. The first line names the columns; any of the quantities below may be there, in any order,
// in the forms' units or with a unit after the name in brackets ("thrust[N]", "egt[degC]",
// "p2[bar]"). Names are read in any case, with '_' for '-'. Columns of anything else are kept as
// names and take no part. A cell left empty means not measured at that point.

#include "file_problem.hpp"
#include "units.hpp"

#include <array>
#include <cstddef>
#include <istream>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace runs {

enum class Measured : std::size_t {
    Rpm,
    P2,
    TurbineOutletTemp,
    Thrust,
    FuelFlow,
    MassFlow,
    AmbientTemp,
    AmbientPressure,
};
inline constexpr std::size_t kMeasuredCount = 8;

struct MeasuredInfo {
    Measured measured;
    std::string_view key;   // the column's name, as the engine's field of that quantity
    std::string_view alias; // another name loggers use ("" for none)
    std::string_view label; // for headings and messages
    fields::Quantity quantity;
};

// Every measured quantity once, in the order of the enumeration.
const MeasuredInfo& measuredInfo(Measured m);
std::array<Measured, kMeasuredCount> allMeasured();

struct RunPoint {
    std::size_t line = 0;                                    // in the file, counting from 1
    std::array<std::optional<float>, kMeasuredCount> values; // in the forms' units

    std::optional<float> operator[](Measured m) const {
        return values[static_cast<std::size_t>(m)];
    }
};

struct RunLog {
    std::string file;
    std::vector<std::string> otherColumns; // the names of the columns that take no part
    std::vector<RunPoint> points;
    // Whether the log has a column of the quantity (cells may still be empty).
    std::array<bool, kMeasuredCount> hasColumn{};

    bool has(Measured m) const { return hasColumn[static_cast<std::size_t>(m)]; }
};

// Why a log was refused.
using RunLogError = text::FileProblem;

// All of the log or, at the first problem, nothing but why.
using RunLogResult = std::variant<RunLog, RunLogError>;

inline constexpr std::size_t kMaxPoints = 100'000;

RunLogResult readRunLog(std::istream& in, std::string_view fileName);
RunLogResult loadRunLog(const std::string& path);

} // namespace runs
