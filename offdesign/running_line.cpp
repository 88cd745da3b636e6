#include "running_line.hpp"

#include "turbo_constants.hpp"
#include "turbo_fields.hpp"

#include <cmath>
#include <functional>
#include <limits>

namespace offdesign {

namespace {

constexpr double kPercent = 100;
constexpr double kTolerance = 1e-13;      // of the turbine flow, for the balance
constexpr double kP2Resolution = 1e-4;    // psi, for the events of the summary
constexpr int kMostEfficiencyRounds = 12; // islands settle in two or three

struct Balance {
    CyclePoint cycle;
    double flow = kNoValue;
    double residual = kNoValue;
    LineGap gap = LineGap::None;
};

// The inlet temperature where turbine and nozzle pass the same flow. The difference falls as the
// inlet gets hotter: the turbine's pressure ratio falls toward 1 and its flow with it, while the
// pressure left for the nozzle rises. At the coldest inlet that still drives the compressor the
// turbine needs all the pressure and the nozzle passes nothing, so a root lies above it. Found by
// regula falsi with the Illinois step, which keeps the bracket.
Balance balanceNozzle(const LineSetup& s, const EngineAssumptions& assumed, double p2) {
    Balance b;
    const double drop = cycleAt(assumed, p2, 0).turbineTempDrop;
    double low =
        drop / (assumed.turbineEfficiency / kPercent) * (1 + 1e-12) - turbo::kZeroCelsiusInKelvin;
    double high = kHottestSearched;
    if (cycleAt(assumed, p2, high).p3 <= assumed.ambientPressure) {
        b.gap = LineGap::NoBoost;
        return b;
    }
    double turbine = 0;
    auto excess = [&](double tit) {
        b.cycle = cycleAt(assumed, p2, tit);
        turbine = turbineFlow(b.cycle, s.turbineArea);
        return turbine - nozzleFlow(b.cycle, s.nozzleArea);
    };
    double fLow = excess(low);
    double fHigh = excess(high);
    if (!(fHigh < 0)) {
        b.gap = LineGap::NoBalance;
        return b;
    }
    double tit = high, f = fHigh;
    for (int i = 0; i < 200; ++i) {
        tit = (low * fHigh - high * fLow) / (fHigh - fLow);
        f = excess(tit);
        if (std::abs(f) <= kTolerance * turbine || high - low <= kTolerance * (high + 273))
            break;
        if ((f < 0) == (fHigh < 0)) {
            high = tit;
            fHigh = f;
            fLow /= 2;
        } else {
            low = tit;
            fLow = f;
            fHigh /= 2;
        }
    }
    b.flow = turbine;
    b.residual = f / turbine;
    return b;
}

Balance balanceFixedInlet(const LineSetup& s, const EngineAssumptions& assumed, double p2) {
    Balance b;
    b.cycle = cycleAt(assumed, p2, s.fixedTit);
    if (!(b.cycle.turbineShare < 1))
        b.gap = LineGap::TurbineTooWeak;
    else if (!(b.cycle.nozzlePr > 1))
        b.gap = LineGap::NoJet;
    else {
        b.flow = turbineFlow(b.cycle, s.turbineArea);
        b.residual = 0;
    }
    return b;
}

Balance balance(const LineSetup& s, const EngineAssumptions& assumed, double p2) {
    return std::isnan(s.nozzleArea) ? balanceFixedInlet(s, assumed, p2)
                                    : balanceNozzle(s, assumed, p2);
}

compmap::MatchFigures onMap(const LineSetup& s, const EngineAssumptions& assumed,
                            const Balance& b) {
    return compmap::match(*s.map,
                          {static_cast<float>(b.flow), static_cast<float>(b.cycle.compressorPr),
                           static_cast<float>(assumed.ambientTemp),
                           static_cast<float>(assumed.ambientPressure)});
}

bool anyNan(const LineSetup& s, double p2) {
    const auto& e = s.assumed;
    for (const double v : {p2, e.compEfficiency, e.turbineEfficiency, e.nozzleEfficiency,
                           e.ambientTemp, e.ambientPressure, e.lossValue, s.turbineArea})
        if (std::isnan(v))
            return true;
    return std::isnan(s.nozzleArea) && std::isnan(s.fixedTit);
}

// Bisects [low, high] for where `test` turns from false to true.
double turningPoint(double low, double high, const std::function<bool(double)>& test) {
    while (high - low > kP2Resolution) {
        const double mid = (low + high) / 2;
        (test(mid) ? high : low) = mid;
    }
    return (low + high) / 2;
}

} // namespace

std::string_view lineGapText(LineGap gap) {
    switch (gap) {
    case LineGap::None:
        return "";
    case LineGap::NotANumber:
        return "an input is not a number";
    case LineGap::NoArea:
        return "no turbine or nozzle area: the design point has no figure to take one from";
    case LineGap::NoBoost:
        return "too low to self-sustain: the combustor's loss takes all the boost";
    case LineGap::NoBalance:
        return "too low to self-sustain: no turbine inlet temperature balances turbine and nozzle";
    case LineGap::TurbineTooWeak:
        return "too low to self-sustain: the turbine cannot drive the compressor at this inlet "
               "temperature";
    case LineGap::NoJet:
        return "too low to self-sustain: no pressure left for the jet nozzle";
    case LineGap::OutsideIslands:
        return "outside every efficiency island of the map";
    }
    return "";
}

Areas designAreas(const EngineAssumptions& assumed, double p2, double tit, double massFlow) {
    const auto c = cycleAt(assumed, p2, tit);
    return {turbineAreaFor(c, massFlow), nozzleAreaFor(c, massFlow)};
}

bool LinePoint::selfSustaining(const turbo::Limits& l) const {
    return gap == LineGap::None && cycle.tit <= l[turbo::Limit::TurbineInletTemp] && thrust > 0;
}

std::string_view LinePoint::limitPassed() const {
    for (const auto& info : turbo::limitInfos())
        if (info.limit != turbo::Limit::NozzleCriticalPr && limits.exceeds(info.limit))
            return info.key;
    if (surges)
        return "surge";
    if (overSpeed)
        return "top-speed";
    return "";
}

LinePoint RunningLine::at(double p2) const {
    const auto& s = setup_;
    LinePoint p;
    p.p2 = p2;
    if (anyNan(s, p2)) {
        p.gap = LineGap::NotANumber;
        return p;
    }
    const auto usable = [](double area) { return area > 0 && std::isfinite(area); };
    if (!usable(s.turbineArea) || !(std::isnan(s.nozzleArea) || usable(s.nozzleArea))) {
        p.gap = LineGap::NoArea;
        return p;
    }
    EngineAssumptions assumed = s.assumed;
    Balance b = balance(s, assumed, p2);
    std::optional<compmap::MatchFigures> figures;
    if (s.map && b.gap == LineGap::None)
        figures = onMap(s, assumed, b);
    if (s.efficiencyFromMap && figures) {
        // The island holding the point gives the efficiency that places it; at an island's edge
        // the two may take turns, and the point then sits on the edge: the lower one is taken.
        double previous = kNoValue;
        for (int round = 0; round < kMostEfficiencyRounds; ++round) {
            if (!figures->efficiency) {
                b.gap = LineGap::OutsideIslands;
                break;
            }
            const double island = *figures->efficiency;
            if (island == assumed.compEfficiency)
                break;
            const bool alternating = island == previous;
            previous = assumed.compEfficiency;
            assumed.compEfficiency = alternating ? std::min(island, previous) : island;
            b = balance(s, assumed, p2);
            if (b.gap != LineGap::None)
                break;
            figures = onMap(s, assumed, b);
            if (alternating)
                break;
        }
    }
    p.gap = b.gap;
    p.cycle = b.cycle;
    p.compEfficiency = assumed.compEfficiency;
    p.onMap = figures;
    if (b.gap != LineGap::None && b.gap != LineGap::OutsideIslands)
        return p;
    p.massFlow = b.flow;
    p.residual = b.residual;
    const double nozzleArea =
        std::isnan(s.nozzleArea) ? nozzleAreaFor(b.cycle, b.flow) : s.nozzleArea;
    p.thrust = thrust(b.cycle, b.flow, nozzleArea);
    if (p.gap == LineGap::OutsideIslands)
        return p;
    p.fuel = turbo::calcFuel(s.fuel, static_cast<float>(b.cycle.compDischargeTemp),
                             static_cast<float>(b.cycle.tit), static_cast<float>(p.massFlow),
                             static_cast<float>(p.thrust));
    if (figures && figures->speed) {
        const double ambientKelvin = assumed.ambientTemp + compmap::kKelvinOffset;
        p.rpm = *figures->speed * std::sqrt(ambientKelvin / s.map->referenceTemperature);
        p.tipSpeed = p.rpm * double(turbo::kPi) * s.compOutletDiameter / turbo::kInchesPerFoot /
                     turbo::kSecondsPerMinute;
    }
    p.surges = figures && figures->surgeMargin && *figures->surgeMargin < 0;
    p.overSpeed = figures && figures->overSpeed;
    p.limits = turbo::checkLimits(
        s.limits,
        {.turbineInletTemp = static_cast<float>(b.cycle.tit),
         .turbineOutletTemp = static_cast<float>(b.cycle.turbineOutletTemp),
         .tipSpeed = static_cast<float>(p.tipSpeed),
         .nozzlePr = static_cast<float>(b.cycle.nozzlePr),
         .surgeMargin = figures && figures->surgeMargin ? static_cast<float>(*figures->surgeMargin)
                                                        : std::numeric_limits<float>::quiet_NaN()});
    return p;
}

RunningLine::RunningLine(LineSetup setup, double p2Low, double p2High, int steps)
    : setup_(std::move(setup)) {
    for (int i = 0; i <= steps; ++i)
        grid_.push_back(at(p2Low + (p2High - p2Low) * i / steps));
    const auto& limits = setup_.limits;
    auto& sum = summary_;
    std::size_t idle = grid_.size();
    for (std::size_t i = 0; i < grid_.size() && idle == grid_.size(); ++i)
        if (grid_[i].selfSustaining(limits))
            idle = i;
    if (idle < grid_.size()) {
        sum.idleP2 = idle == 0 ? grid_[0].p2
                               : turningPoint(grid_[idle - 1].p2, grid_[idle].p2, [&](double p2) {
                                     return at(p2).selfSustaining(limits);
                                 });
        // Near idle the exhaust may already be past its limit; the first limit reached is the
        // one met going up from where the engine first runs clear of all of them.
        std::size_t clear = idle;
        while (clear < grid_.size() && !grid_[clear].limitPassed().empty())
            ++clear;
        for (std::size_t i = clear + 1; i < grid_.size(); ++i) {
            if (grid_[i].limitPassed().empty())
                continue;
            sum.firstLimitP2 = turningPoint(grid_[i - 1].p2, grid_[i].p2, [&](double p2) {
                return !at(p2).limitPassed().empty();
            });
            sum.firstLimit = at(*sum.firstLimitP2 + kP2Resolution).limitPassed();
            break;
        }
    }
    for (std::size_t i = 1; i < grid_.size(); ++i) {
        const auto& a = grid_[i - 1];
        const auto& b = grid_[i];
        const auto margin = [](const LinePoint& p) {
            return p.onMap ? p.onMap->surgeMargin : std::nullopt;
        };
        if (!sum.surgeP2 && margin(a) && margin(b) && (*margin(a) < 0) != (*margin(b) < 0))
            sum.surgeP2 = turningPoint(a.p2, b.p2, [&](double p2) {
                const auto m = margin(at(p2));
                return m && (*m < 0) == (*margin(b) < 0);
            });
        if (!sum.topSpeedP2 && a.onMap && b.onMap && !a.overSpeed && b.overSpeed)
            sum.topSpeedP2 = turningPoint(a.p2, b.p2, [&](double p2) { return at(p2).overSpeed; });
    }
}

std::optional<LinePoint> RunningLine::atSpeed(double speed) const {
    if (!setup_.map || std::isnan(speed))
        return std::nullopt;
    const auto speedOf = [](const LinePoint& p) {
        return p.onMap && p.onMap->speed ? std::optional<double>(*p.onMap->speed) : std::nullopt;
    };
    for (std::size_t i = 1; i < grid_.size(); ++i) {
        const auto a = speedOf(grid_[i - 1]);
        const auto b = speedOf(grid_[i]);
        if (!a || !b || (*a - speed) * (*b - speed) > 0)
            continue;
        // Regula falsi on the speed, which the lines give piecewise linearly.
        double low = grid_[i - 1].p2, high = grid_[i].p2, fLow = *a - speed, fHigh = *b - speed;
        LinePoint p = fLow == 0 ? grid_[i - 1] : grid_[i];
        for (int k = 0; k < 60 && fLow != 0 && fHigh != 0; ++k) {
            const double mid =
                fHigh == fLow ? (low + high) / 2 : (low * fHigh - high * fLow) / (fHigh - fLow);
            p = at(mid);
            const auto s = speedOf(p);
            if (!s)
                return std::nullopt;
            const double f = *s - speed;
            if (std::abs(f) <= 1e-6 * speed || high - low <= 1e-9 * (high + 1))
                break;
            if ((f < 0) == (fHigh < 0)) {
                high = mid;
                fHigh = f;
                fLow /= 2;
            } else {
                low = mid;
                fLow = f;
                fHigh /= 2;
            }
        }
        return p;
    }
    return std::nullopt;
}

} // namespace offdesign
