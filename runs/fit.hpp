#pragma once
// A candidate engine's assumptions fitted to its run log.
//
// The fit is least squares on relative errors, (predicted - measured) / measured, of the measured
// values the model predicts at each point (see point_model.hpp), with GSL's nonlinear least
// squares (a trust-region Levenberg-Marquardt solver, Debian's libgsl): the problem is small and
// smooth, and a well-tried packaged solver beats one of our own. Each assumption is kept in its
// physical range by fitting an unbounded number mapped onto the range with a logistic curve.
//
// What can be fitted is a table (fit.cpp), one row an assumption: its key, range, the measured
// quantities it moves and how its value reaches the engine's inputs. A new part of the model
// with a figure worth fitting is one more row.
//
// Standard errors and correlations come from the Jacobian J of the relative errors at the
// solution, in the assumptions' own units: covariance = s^2 (J^T J)^-1 with s^2 = chi^2 / dof,
// chi^2 the sum of squared relative errors and dof the measured values less the assumptions
// (Press et al., Numerical Recipes, 3rd ed., sec. 15.4-15.5; the linearised estimate, good while
// the model is nearly linear over an error's width).

#include "point_model.hpp"

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace runs {

// How a fitted value reaches the candidate's inputs.
enum class Sets {
    Input,          // the engine input named by the row, as it is
    TypedMassFlow,  // the mass flow, which the candidate then uses in place of the estimate
    EstimateFactor, // a factor on the wheel's estimate, given to the candidate as a typed flow
};

struct AssumptionInfo {
    std::string_view key;   // for options and files
    std::string_view label; // for headings and messages
    fields::Quantity quantity;
    float lower, upper;              // the range the fit keeps to, in the forms' units
    std::span<const Measured> moves; // the measured quantities it changes
    std::string_view input;          // the key of the engine input it sets
    Sets sets = Sets::Input;
};

// An assumption is its place in the table.
using Assumption = std::size_t;

std::span<const AssumptionInfo> assumptions();
const AssumptionInfo& assumptionInfo(Assumption a);
std::optional<Assumption> assumptionFromKey(std::string_view key);
// "turbine-efficiency, nozzle-efficiency, ..." for help and messages.
std::string assumptionKeys();
// The engine input an assumption sets.
turbo::EngineInput inputOf(Assumption a);

struct FittedValue {
    Assumption assumption = 0;
    float start = 0; // the candidate's value (1 for the factor)
    float fitted = 0;
    double stdError = 0; // NaN when it cannot be told (no degree of freedom, or alike)
    bool atBound = false;
};

struct FitResult {
    std::vector<FittedValue> values;
    // Row-major, values.size() squared: each pair's correlation; NaN where it cannot be told.
    std::vector<double> correlation;
    std::vector<Comparison> comparisons; // at the fitted values
    std::vector<Skipped> skipped;        // points or values the model cannot work out
    double rmsBefore = 0;                // root mean square of the relative errors at the start
    double rms = 0;                      // and at the fitted values
    double chiSquare = 0;                // sum of squared relative errors at the fitted values
    std::size_t dof = 0;                 // measured values less fitted assumptions
    double reducedChiSquare = 0;         // chiSquare / dof; NaN with no degree of freedom
    std::size_t iterations = 0;
    std::size_t starts = 1; // more when a start ended at an end of a range and others were tried
    bool converged = false; // false when the solver stopped at its iteration limit
    // What the figures alone do not show, every one of them: an assumption at the end of its
    // range, assumptions the measurements cannot tell apart, too few degrees of freedom.
    std::vector<std::string> warnings;
    // The candidate with the fitted values; a fitted factor becomes a typed mass flow of the
    // factor times the estimate.
    turbo::EngineInputs calibrated;
    ModelSetup setup; // as the fit used it; hold the calibrated candidate against other logs so

    double correlationOf(std::size_t i, std::size_t j) const {
        return correlation[i * values.size() + j];
    }
};

struct FitError {
    std::string message;
};

// Fits the chosen assumptions (each at most once; not both the mass flow and the factor). A
// chosen assumption that moves the mass flow makes the model predict it.
std::variant<FitResult, FitError> fit(const turbo::EngineInputs& candidate, const RunLog& log,
                                      std::span<const Assumption> assumptions,
                                      const ModelSetup& setup = {});

} // namespace runs
