#pragma once
// A candidate engine beside its run log, and the candidate's assumptions fitted to it.
//
// At each point of the log the candidate is worked out with the point's own conditions in place
// of its inputs (P2, ambient temperature and pressure, and a measured turbine outlet temperature,
// from which the turbine inlet temperature is solved). What the engine measured and the model
// predicts (thrust, mass flow, fuel flow) is compared; speed is carried but not predicted.
//
// The fit is least squares on relative errors, (predicted - measured) / measured, with GSL's
// nonlinear least squares (a trust-region Levenberg-Marquardt solver, Debian's libgsl): the
// problem is small and smooth, and a well-tried packaged solver beats one of our own. Each
// assumption is kept in its physical range by fitting an unbounded number mapped onto the range
// with a logistic curve.

#include "engine.hpp"
#include "run_log.hpp"

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace runs {

enum class Assumption : std::size_t {
    TurbineEfficiency,
    NozzleEfficiency,
    CompEfficiency,
    CombustionEfficiency,
    MassFlow,       // the typed mass flow (the candidate then uses it, not the estimate)
    MassFlowFactor, // a factor on the wheel's estimate
};
inline constexpr std::size_t kAssumptionCount = 6;

// The engine input an assumption sets (the mass flow for both mass-flow assumptions).
turbo::EngineInput inputOf(Assumption assumption);

struct AssumptionInfo {
    Assumption assumption;
    std::string_view key;   // for options and files
    std::string_view label; // for headings and messages
    fields::Quantity quantity;
    float lower, upper;              // the range the fit keeps to, in the forms' units
    std::span<const Measured> moves; // the measured quantities it changes
};

const AssumptionInfo& assumptionInfo(Assumption a);
std::optional<Assumption> assumptionFromKey(std::string_view key);
// "turbine-efficiency, nozzle-efficiency, ..." for help and messages.
std::string assumptionKeys();

// What the model predicts of a measured quantity.
struct Predicted {
    Measured measured;
    float (*predicted)(const turbo::EngineResults& results);
};
std::span<const Predicted> predictedQuantities();

// The candidate at one point of the log: its inputs with the point's conditions.
turbo::EngineInputs pointInputs(const turbo::EngineInputs& candidate, const RunPoint& point);

// One measured value beside the model's.
struct Comparison {
    std::size_t point = 0; // index in the log
    std::size_t line = 0;  // in the file
    Measured measured = Measured::Thrust;
    float value = 0;     // measured, forms' units
    float predicted = 0; // by the model, forms' units
    double ratio = 0;    // predicted / measured
    double residual = 0; // (predicted - measured) / measured
};

// Every measured value the model predicts, point by point in the log's order.
std::vector<Comparison> compare(const turbo::EngineInputs& candidate, const RunLog& log);

struct FittedValue {
    Assumption assumption;
    float start = 0; // the candidate's value (1 for the factor)
    float fitted = 0;
};

struct FitResult {
    std::vector<FittedValue> values;
    std::vector<Comparison> comparisons; // at the fitted values
    double rmsBefore = 0;                // root mean square of the relative errors at the start
    double rms = 0;                      // and at the fitted values
    std::size_t iterations = 0;
    bool converged = false; // false when the solver stopped at its iteration limit
    // The reciprocal condition number of the fit's Jacobian (in the unbounded numbers): near 0
    // when the measurements cannot tell the chosen assumptions apart.
    double conditioning = 1;
    // What the figures alone do not show: an assumption stopped at the end of its range, or
    // assumptions the measurements cannot tell apart (the values found are then one of many that
    // fit about as well).
    std::vector<std::string> warnings;
    // The candidate with the fitted values; a fitted factor becomes a typed mass flow of the
    // factor times the estimate.
    turbo::EngineInputs calibrated;
};

struct FitError {
    std::string message;
};

// Fits the chosen assumptions (each at most once; not both the mass flow and the factor).
std::variant<FitResult, FitError> fit(const turbo::EngineInputs& candidate, const RunLog& log,
                                      std::span<const Assumption> assumptions);

} // namespace runs
