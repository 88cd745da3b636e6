#include "tube.hpp"

#include "flame_tube.hpp"
#include "unit_presets.hpp"

#include <algorithm>
#include <cmath>
#include <vector>

namespace flametube {

namespace {

constexpr double kMetricFirstMm = 1.0;
constexpr double kMetricLastMm = 13.0;
constexpr int kMetricStepsPerMm = 10;
constexpr int kInchSteps = 64; // 1/64 in to 64/64 in
constexpr double kMmPerInch = fields::kMillimetresPerInch;
constexpr double kMostHoles = 10000; // beyond this no drill is worth offering

// The series in millimetres, smallest first.
const std::vector<double>& seriesMm(DrillSeries series) {
    static const std::vector<double> metric = [] {
        std::vector<double> v;
        const int first = static_cast<int>(kMetricFirstMm * kMetricStepsPerMm);
        const int last = static_cast<int>(kMetricLastMm * kMetricStepsPerMm);
        for (int tenth = first; tenth <= last; ++tenth)
            v.push_back(tenth / double(kMetricStepsPerMm));
        return v;
    }();
    static const std::vector<double> inch = [] {
        std::vector<double> v;
        for (int n = 1; n <= kInchSteps; ++n)
            v.push_back(n * kMmPerInch / kInchSteps);
        return v;
    }();
    return series == DrillSeries::Metric ? metric : inch;
}

double circleArea(double diameter) {
    return (diameter / 2) * (diameter / 2) * combustor::kPi;
}

} // namespace

DrillSeries seriesForUnits(int unitIndex) {
    return unitIndex == combustor::kInches ? DrillSeries::Inch : DrillSeries::Metric;
}

std::optional<double> mmPerUnit(int unitIndex) {
    switch (unitIndex) {
    case combustor::kInches:
        return kMmPerInch;
    case combustor::kMillimetres:
        return 1.0;
    case combustor::kCentimetres:
        return 10.0;
    default:
        return std::nullopt;
    }
}

std::string_view unitText(int unitIndex) {
    static constexpr std::array<std::string_view, 3> texts{"in", "mm", "cm"};
    return unitIndex >= 0 && unitIndex < 3 ? texts[static_cast<std::size_t>(unitIndex)] : "";
}

std::string drillText(double drillMm, DrillSeries series) {
    if (series == DrillSeries::Metric) {
        const long tenths = std::lround(drillMm * kMetricStepsPerMm);
        return std::to_string(tenths / kMetricStepsPerMm) + "." +
               std::to_string(tenths % kMetricStepsPerMm) + " mm";
    }
    long num = std::lround(drillMm / kMmPerInch * kInchSteps);
    long den = kInchSteps;
    while (num % 2 == 0 && den > 1) {
        num /= 2;
        den /= 2;
    }
    return den == 1 ? std::to_string(num) + " in"
                    : std::to_string(num) + "/" + std::to_string(den) + " in";
}

std::optional<HoleChoice> chooseHoles(double area, double preferredDrill, double unitMm,
                                      DrillSeries series) {
    const double preferredMm = preferredDrill * unitMm;
    if (!std::isfinite(area) || area <= 0 || !std::isfinite(preferredMm) || preferredMm <= 0 ||
        !(unitMm > 0))
        return std::nullopt;
    const std::vector<double>& drills = seriesMm(series);
    auto tryDrill = [&](double mm) -> std::optional<HoleChoice> {
        const double drill = mm / unitMm;
        const double one = circleArea(drill);
        const double holes = std::max(1.0, std::round(area / one));
        if (holes > kMostHoles)
            return std::nullopt;
        const double drilled = holes * one;
        const double error = drilled / area - 1;
        if (std::abs(error) > kAreaTolerance)
            return std::nullopt;
        return HoleChoice{mm,      drill, static_cast<int>(holes),
                          drilled, error, drillText(mm, series)};
    };
    // Outwards from the asked drill, the nearer of the two neighbours first (the smaller when
    // both are as near).
    auto above = static_cast<std::size_t>(
        std::lower_bound(drills.begin(), drills.end(), preferredMm) - drills.begin());
    std::size_t below = above; // drills[below - 1] is the next one down
    while (below > 0 || above < drills.size()) {
        const bool down = above == drills.size() || (below > 0 && preferredMm - drills[below - 1] <=
                                                                      drills[above] - preferredMm);
        const double mm = down ? drills[--below] : drills[above++];
        if (auto choice = tryDrill(mm))
            return choice;
    }
    return std::nullopt;
}

std::array<double, 3> TubeInput::defaultPositions() {
    std::array<double, 3> out{};
    for (std::size_t r = 0; r < out.size(); ++r)
        out[r] =
            fields::kFlameTubeFields[*fields::findField(fields::kFlameTubeFields, kPositionKeys[r])]
                .defaultValue;
    return out;
}

double TubePlan::circumference() const {
    return combustor::kPi * double(window.m_TubeDiameter);
}

bool TubePlan::drillable() const {
    return mmPerUnit > 0 && std::isfinite(window.m_TubeDiameter) && window.m_TubeDiameter > 0 &&
           std::isfinite(window.m_TubeLength) && window.m_TubeLength > 0 &&
           std::all_of(rows.begin(), rows.end(), [](const HoleRow& r) { return r.choice; });
}

TubePlan planTube(const TubeInput& input) {
    combustor::CombustorFields f;
    // As the window does it: the unit chosen, "Enter" for its presets, the diameter typed, then
    // "Calculate Flame Tube"; drills asked for replace the presets as if typed.
    f.m_UnitIndex = input.unitIndex;
    combustor::applyUnitPreset(f);
    if (input.drills) {
        f.m_PrimaryDrill = (*input.drills)[kPrimary];
        f.m_SecondaryDrill = (*input.drills)[kSecondary];
        f.m_TertiaryDrill = (*input.drills)[kTertiary];
    }
    f.m_InducerDiameter = input.inducerDiameter;
    combustor::calcFlameTube(f);
    return planFromWindow(f, input.series, input.positions);
}

TubePlan planFromWindow(const combustor::CombustorFields& f, DrillSeries series,
                        const std::array<double, 3>& positions) {
    TubePlan plan;
    plan.window = f;
    plan.unitIndex = f.m_UnitIndex;
    plan.mmPerUnit = mmPerUnit(f.m_UnitIndex).value_or(0);
    plan.series = series;
    const std::array<float, 3> areas{f.m_PrimaryHoleArea, f.m_SecondaryHoleArea,
                                     f.m_TertiaryHoleArea};
    const std::array<float, 3> counts{f.m_PrimaryHoles, f.m_SecondaryHoles, f.m_TertiaryHoles};
    const std::array<float, 3> drills{f.m_PrimaryDrill, f.m_SecondaryDrill, f.m_TertiaryDrill};
    const double around = plan.circumference();
    for (std::size_t r = 0; r < plan.rows.size(); ++r) {
        HoleRow& row = plan.rows[r];
        row.area = areas[r];
        row.exactHoles = counts[r];
        row.position = positions[r];
        row.axial = row.position * double(f.m_TubeLength);
        if (plan.mmPerUnit > 0)
            row.choice = chooseHoles(row.area, drills[r], plan.mmPerUnit, series);
        row.pitch = row.choice ? around / row.choice->holes : 0;
        // Staggered: alternate rows start half and a quarter of a pitch from the seam, so no
        // hole lies on the seam and no hole lines up with one of the row before.
        row.startShare = r % 2 == 0 ? 0.5 : 0.25;
    }
    return plan;
}

} // namespace flametube
