#pragma once
// Curves of the Design Explorer: one input swept by the sweep rule of vorlaxen-calc, chosen results
// per candidate, and where a result gives no figure, one line saying over what range and why.

#include "candidates.hpp"
#include "compressor_map.hpp"
#include "sweep.hpp"
#include "units.hpp"

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace explorer {

// The most points a sweep may have: a chart shows far fewer, and this bounds the memory of many
// candidates and several results.
inline constexpr std::size_t kMaxCurvePoints = 100'000;

// What to plot. from, to and step are in the display units of the swept input: point i is
// float(from + i x step) (fields::Sweep), shown as it is and converted to the forms' units for
// the calculation. With the mass flow swept, the swept value is used even where the candidate
// asks for the wheel's estimate.
struct CurveRequest {
    EngineInput swept = EngineInput::P2;
    double from = 0;
    double to = 50;
    double step = 0.1;
    std::vector<EngineResult> results{EngineResult::Thrust};
    fields::UnitSystem units = fields::UnitSystem::Forms;
};

// One result of one candidate along the sweep.
struct ResultCurve {
    std::vector<float> y; // display units, one per point; NaN and infinities kept (gaps)
    // Where and why it gives no figure, e.g. "no thrust below P2 = 2.4 psig: nozzle PR below 1";
    // "" when every point has one.
    std::string gaps;
};

struct CandidateCurves {
    std::string problem;              // why it is not computed ("" when it is)
    std::vector<ResultCurve> results; // by CurveRequest::results; empty with a problem
    std::vector<bool> beyondLimit;    // by point: past one of the candidate's limits
};

// Computes one candidate on the sweep's points x (display units of the swept input), reusing
// out's storage. map: the candidate's map (nullptr for none); its points are put on it, so their
// limits include the map's, and take their efficiency from it when the candidate asks.
void computeCandidateCurves(const Candidate& candidate, const CurveRequest& request,
                            std::span<const float> x, CandidateCurves& out,
                            const compmap::CompressorMap* map);

// Index ranges [first, last) of the runs of finite y, for drawing a line in pieces.
struct Run {
    std::size_t first;
    std::size_t last;
};
std::vector<Run> finiteRuns(std::span<const float> y);

} // namespace explorer
