#pragma once
// A flame tube a builder can drill: the Combustor window's sizing for an inducer diameter, then
// for each row of air holes a whole number of holes of a drill from a standard series, where the
// row sits along the tube and how its holes are spaced around it.

#include "combustor_fields.hpp"

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace flametube {

// The drills a builder can buy: metric in 0.1 mm steps from 1 to 13 mm, or fractional inch sizes
// in 1/64 in steps from 1/64 to 1 in.
enum class DrillSeries { Metric, Inch };

// The series a unit system's builder most likely has: inch for inches, metric otherwise.
DrillSeries seriesForUnits(int unitIndex);
// Millimetres per length unit of the window's unit systems; nothing for no unit.
std::optional<double> mmPerUnit(int unitIndex);
// "in", "mm", "cm"; "" for none.
std::string_view unitText(int unitIndex);

// A row's area within this share of the computed one counts as matched.
inline constexpr double kAreaTolerance = 0.05;

struct HoleChoice {
    double drillMm = 0;     // the drill's diameter
    double drill = 0;       // the same in the tube's unit
    int holes = 0;          // a whole number, at least 1
    double drilledArea = 0; // holes x the drill's area, in the tube's square unit
    double areaError = 0;   // drilled over computed area, less 1
    std::string drillText;  // "6.0 mm", "5/8 in"
};

// The drill of the series nearest the preferred one whose whole number of holes comes within
// kAreaTolerance of the area; nothing when no drill does (or the figures are not usable).
std::optional<HoleChoice> chooseHoles(double area, double preferredDrill, double mmPerUnit,
                                      DrillSeries series);

// The text of a drill of the series, "6.0 mm" or "5/8 in".
std::string drillText(double drillMm, DrillSeries series);

enum Row : std::size_t { kPrimary = 0, kSecondary = 1, kTertiary = 2 };
inline constexpr std::array<std::string_view, 3> kRowNames{"Primary", "Secondary", "Tertiary"};
// The fields of each row beyond the window's, by key (see fields::kFlameTubeFields).
inline constexpr std::array<std::string_view, 3> kPositionKeys{
    "primary-position", "secondary-position", "tertiary-position"};
inline constexpr std::array<std::string_view, 3> kWholeHolesKeys{
    "primary-whole-holes", "secondary-whole-holes", "tertiary-whole-holes"};
inline constexpr std::array<std::string_view, 3> kChosenDrillKeys{
    "primary-chosen-drill", "secondary-chosen-drill", "tertiary-chosen-drill"};
inline constexpr std::array<std::string_view, 3> kDrilledAreaKeys{
    "primary-drilled-area", "secondary-drilled-area", "tertiary-drilled-area"};

struct TubeInput {
    int unitIndex = combustor::kMillimetres;
    float inducerDiameter = 0; // in the unit system's length unit
    // Drills asked for, in the unit; the window's presets for the unit when not given.
    std::optional<std::array<float, 3>> drills;
    DrillSeries series = DrillSeries::Metric;
    // Each row's place along the tube as a share of its length from the inlet end.
    std::array<double, 3> positions = defaultPositions();

    static std::array<double, 3> defaultPositions();
};

struct HoleRow {
    double area = 0;      // the window's hole area, tube unit squared
    float exactHoles = 0; // the window's count for the asked drill
    std::optional<HoleChoice> choice;
    double position = 0;   // share of the tube's length from the inlet end
    double axial = 0;      // the same in the tube's unit
    double pitch = 0;      // between neighbouring holes around the tube, in the unit
    double startShare = 0; // the first hole from the seam, in pitches (rows are staggered)
};

struct TubePlan {
    combustor::CombustorFields window; // the window's figures for these inputs, bit for bit
    int unitIndex = -1;
    double mmPerUnit = 0; // 0 for no unit
    DrillSeries series = DrillSeries::Metric;
    std::array<HoleRow, 3> rows;

    double circumference() const; // pi x diameter, in the unit
    bool drillable() const;       // a unit, a finite tube and a choice for every row
};

TubePlan planTube(const TubeInput& input);
// The same from the window's figures as calcFlameTube left them.
TubePlan planFromWindow(const combustor::CombustorFields& window, DrillSeries series,
                        const std::array<double, 3>& positions);

} // namespace flametube
