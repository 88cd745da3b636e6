#pragma once
// The candidate engine at the points of a run log: each point's conditions in place of the
// candidate's inputs, what the model predicts of each measured quantity, and, for a point the
// model cannot work out, why.
//
// At each point the log's P2, ambient temperature and pressure replace the candidate's, and a
// measured turbine outlet temperature sets the turbine inlet temperature (solved from it). A
// point without P2 takes it from its speed on the compressor map, when there is one: the
// pressure ratio of the speed lines at the point's corrected flow, interpolated linearly in
// speed between the two lines that enclose it (the inverse of the map's own speed reading). A
// measured air flow is the point's input unless the model is asked to predict it.

#include "compressor_map.hpp"
#include "engine.hpp"
#include "run_log.hpp"

#include <optional>
#include <span>
#include <string>
#include <vector>

namespace runs {

// How the model meets the log.
struct ModelSetup {
    const compmap::CompressorMap* map = nullptr; // for points with speed and no P2
    // The model works out the air flow itself (a fitted mass flow or factor, or a model that
    // sets the flow from its own parts), so a measured one is compared, not used as input.
    bool predictsMassFlow = false;
};

// What the model predicts of a measured quantity.
struct Predicted {
    Measured measured;
    float (*predicted)(const turbo::EngineResults& results);
};
std::span<const Predicted> predictedQuantities();

// The one call into the engine model for a point of the log.
turbo::EngineResults modelAt(const turbo::EngineInputs& in);

// The candidate at one point of the log, or why the point cannot be worked out.
struct AtPoint {
    std::optional<turbo::EngineInputs> inputs;
    std::string reason; // when there are none
};
AtPoint atPoint(const turbo::EngineInputs& candidate, const RunPoint& point,
                const ModelSetup& setup = {});

// One measured value beside the model's.
struct Comparison {
    std::size_t point = 0; // index in the log
    std::size_t line = 0;  // in the file
    Measured measured = Measured::Thrust;
    float value = 0;     // measured, forms' units
    float predicted = 0; // by the model, forms' units
    double ratio = 0;    // predicted / measured
    double residual = 0; // (predicted - measured) / measured
    float p2 = 0;        // the point's P2 (measured, or from its speed), psig
};

// A point, or one measured value of it, left out, and why.
struct Skipped {
    std::size_t line = 0;
    std::string reason;
};

struct Held {
    std::vector<Comparison> comparisons; // point by point in the log's order
    std::vector<Skipped> skipped;
};

// Every measured value the model predicts; a point or value the model cannot work out is
// skipped with its reason.
Held compare(const turbo::EngineInputs& candidate, const RunLog& log, const ModelSetup& setup = {});

// Why the model has no finite figure for this quantity at this point ("" when it has one).
std::string whyNoFigure(const turbo::EngineResults& results, Measured measured);

// The pressure ratio at this speed and corrected flow, between the speed lines that enclose it.
std::optional<double> pressureRatioAtSpeed(const compmap::CompressorMap& map, double flow,
                                           double speed);

} // namespace runs
