#include "fit.hpp"

#include "number_text.hpp"

#include <gsl/gsl_errno.h>
#include <gsl/gsl_matrix.h>
#include <gsl/gsl_multifit_nlin.h>
#include <gsl/gsl_multifit_nlinear.h>
#include <gsl/gsl_vector.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <memory>

namespace runs {

namespace {

using turbo::EngineInput;
using turbo::EngineInputs;
using turbo::EngineResult;

constexpr Measured kThrustOnly[] = {Measured::Thrust};
constexpr Measured kThrustAndFuel[] = {Measured::Thrust, Measured::FuelFlow};
constexpr Measured kFuelOnly[] = {Measured::FuelFlow};
constexpr Measured kAllThree[] = {Measured::Thrust, Measured::MassFlow, Measured::FuelFlow};

// Efficiencies below 30 % do not run a turbocharger engine at all; the mass flow spans the
// smallest wheels to far beyond the largest; a loss of half the pressure ratio leaves no engine.
// A part of the model with an area to fit (the turbine's flow capacity, the jet nozzle) joins as
// a row of Sets::Input with its input's key, and with Measured::MassFlow among what it moves.
constexpr auto kAssumptions = std::to_array<AssumptionInfo>({
    {"turbine-efficiency", "Turbine Efficiency", fields::Quantity::Percent, 30, 100, kThrustOnly,
     "turbine-efficiency"},
    {"nozzle-efficiency", "Nozzle Efficiency", fields::Quantity::Percent, 30, 100, kThrustOnly,
     "nozzle-efficiency"},
    {"comp-efficiency", "Comp. Efficiency", fields::Quantity::Percent, 30, 100, kThrustAndFuel,
     "comp-efficiency"},
    {"combustion-efficiency", "Combustion Efficiency", fields::Quantity::Percent, 30, 100,
     kFuelOnly, "combustion-efficiency"},
    {"pressure-loss", "Pressure Loss", fields::Quantity::None, 0, 0.5f, kThrustOnly,
     "pressure-loss"},
    {"mass-flow", "Mass Flow", fields::Quantity::MassFlow, 0.01f, 50, kAllThree, "mass-flow",
     Sets::TypedMassFlow},
    {"mass-flow-factor", "Mass Flow Estimate Factor", fields::Quantity::None, 0.1f, 10, kAllThree,
     "mass-flow", Sets::EstimateFactor},
});

// Each row's engine input, found by key when this compiles: an unknown key does not compile.
consteval std::array<EngineInput, kAssumptions.size()> rowInputs() {
    std::array<EngineInput, kAssumptions.size()> inputs{};
    for (std::size_t i = 0; i < kAssumptions.size(); ++i)
        inputs[i] =
            EngineInput{turbo::detail::position(turbo::isEngineInput, kAssumptions[i].input)};
    return inputs;
}
constexpr auto kRowInputs = rowInputs();

// A fitted value this close to an end of its range (as a share of the range) has stopped there.
constexpr double kAtBound = 1e-3;
// Two assumptions correlated beyond this move the measured values alike: thrust alone cannot
// separate the nozzle efficiency from the mass flow (about -0.9999), while turbine efficiency and
// a measured mass flow separate well (below 0.9).
constexpr double kAlike = 0.99;
// A stand-in for a prediction that is not a number, large enough that the solver turns back.
constexpr double kNoPrediction = 1e6;
// Where a start that ended at an end of a range is tried again, as shares of each range.
constexpr double kOtherStarts[] = {0.5, 0.25, 0.75};
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

bool movesMassFlow(Assumption a) {
    const auto& moves = kAssumptions[a].moves;
    return std::find(moves.begin(), moves.end(), Measured::MassFlow) != moves.end();
}

// The fitted number u is unbounded; the assumption is lower + span / (1 + e^-u).
double bounded(const AssumptionInfo& info, double u) {
    return info.lower + (double(info.upper) - info.lower) / (1 + std::exp(-u));
}
double unbounded(const AssumptionInfo& info, double value) {
    const double span = double(info.upper) - info.lower;
    const double inside = std::clamp(value - info.lower, span * 1e-3, span * (1 - 1e-3));
    return std::log(inside / (span - inside));
}

struct Term {
    std::size_t point;
    const Predicted* predicted;
    double measured;
};

struct Problem {
    const EngineInputs& candidate;
    const RunLog& log;
    std::span<const Assumption> chosen;
    float estimate;
    ModelSetup setup;
    std::vector<Term> terms;

    EngineInputs inputsWith(std::span<const double> values) const {
        EngineInputs in = candidate;
        for (std::size_t j = 0; j < chosen.size(); ++j) {
            const auto& info = kAssumptions[chosen[j]];
            double v = values[j];
            if (info.sets != Sets::Input)
                in.massFlowSource = turbo::MassFlowSource::Typed;
            if (info.sets == Sets::EstimateFactor)
                v *= estimate;
            in[kRowInputs[chosen[j]]] = static_cast<float>(v);
        }
        return in;
    }

    // The relative errors, in the order of terms; points are worked out once each.
    std::vector<double> residuals(std::span<const double> values) const {
        const EngineInputs in = inputsWith(values);
        std::vector<double> out;
        std::size_t last = static_cast<std::size_t>(-1);
        std::optional<turbo::EngineResults> results;
        for (const auto& t : terms) {
            if (t.point != last) {
                const auto at = atPoint(in, log.points[t.point], setup);
                results = at.inputs ? std::optional(modelAt(*at.inputs)) : std::nullopt;
                last = t.point;
            }
            const double r =
                results ? (double(t.predicted->predicted(*results)) - t.measured) / t.measured
                        : kNaN;
            out.push_back(std::isfinite(r) ? r : kNoPrediction);
        }
        return out;
    }

    std::vector<double> valuesOf(const gsl_vector* u) const {
        std::vector<double> v(chosen.size());
        for (std::size_t j = 0; j < v.size(); ++j)
            v[j] = bounded(kAssumptions[chosen[j]], gsl_vector_get(u, j));
        return v;
    }
};

int residualsForGsl(const gsl_vector* u, void* params, gsl_vector* f) {
    const auto& problem = *static_cast<const Problem*>(params);
    const auto r = problem.residuals(problem.valuesOf(u));
    for (std::size_t i = 0; i < r.size(); ++i)
        gsl_vector_set(f, i, r[i]);
    return GSL_SUCCESS;
}

double sumOfSquares(const std::vector<double>& r) {
    double sum = 0;
    for (const double v : r)
        sum += v * v;
    return sum;
}

// Root mean square of the relative errors; NaN with none to take it of.
double rmsOf(const Held& held) {
    double sum = 0;
    for (const auto& c : held.comparisons)
        sum += c.residual * c.residual;
    return held.comparisons.empty() ? kNaN : std::sqrt(sum / double(held.comparisons.size()));
}

struct Solution {
    std::vector<double> values;
    double chiSquare = 0;
    std::size_t iterations = 0;
    bool converged = false;
};

template <class T, void (*Free)(T*)> using Owned = std::unique_ptr<T, decltype(Free)>;

std::variant<Solution, FitError> solveFrom(const Problem& problem, std::vector<double> start) {
    // GSL's default handler aborts the program; its status codes are read instead.
    gsl_set_error_handler_off();
    gsl_multifit_nlinear_parameters params = gsl_multifit_nlinear_default_parameters();
    // The model's figures are floats: a derivative step must move them by far more than their
    // rounding, and central differences halve the error of the step.
    params.fdtype = GSL_MULTIFIT_NLINEAR_CTRDIFF;
    params.h_df = 1e-3;
    const std::size_t n = problem.terms.size(), p = problem.chosen.size();
    Owned<gsl_multifit_nlinear_workspace, gsl_multifit_nlinear_free> work(
        gsl_multifit_nlinear_alloc(gsl_multifit_nlinear_trust, &params, n, p),
        gsl_multifit_nlinear_free);
    Owned<gsl_vector, gsl_vector_free> x(gsl_vector_alloc(p), gsl_vector_free);
    if (!work || !x)
        return FitError{"not enough memory for the fit"};
    for (std::size_t j = 0; j < p; ++j)
        gsl_vector_set(x.get(), j, unbounded(kAssumptions[problem.chosen[j]], start[j]));
    gsl_multifit_nlinear_fdf fdf{};
    fdf.f = residualsForGsl;
    fdf.n = n;
    fdf.p = p;
    fdf.params = const_cast<Problem*>(&problem);
    int status = gsl_multifit_nlinear_init(x.get(), &fdf, work.get());
    int info = 0;
    if (status == GSL_SUCCESS)
        status =
            gsl_multifit_nlinear_driver(200, 1e-8, 1e-10, 0, nullptr, nullptr, &info, work.get());
    // No progress means the floats of the model cannot be matched any closer.
    if (status != GSL_SUCCESS && status != GSL_EMAXITER && status != GSL_ENOPROG)
        return FitError{std::string("the solver stopped: ") + gsl_strerror(status)};
    Solution s;
    s.converged = status != GSL_EMAXITER;
    s.iterations = gsl_multifit_nlinear_niter(work.get());
    s.values = problem.valuesOf(gsl_multifit_nlinear_position(work.get()));
    s.chiSquare = sumOfSquares(problem.residuals(s.values));
    return s;
}

bool atBound(Assumption a, double value) {
    const auto& info = kAssumptions[a];
    const double margin = (double(info.upper) - info.lower) * kAtBound;
    return value <= info.lower + margin || value >= info.upper - margin;
}

// (J^T J)^-1 with J the relative errors' derivatives in the assumptions' own units, by central
// differences with steps far above the model's float rounding; empty when it cannot be formed.
std::vector<double> unscaledCovariance(const Problem& problem, const std::vector<double>& at) {
    const std::size_t n = problem.terms.size(), p = at.size();
    Owned<gsl_matrix, gsl_matrix_free> jacobian(gsl_matrix_alloc(n, p), gsl_matrix_free);
    Owned<gsl_matrix, gsl_matrix_free> covar(gsl_matrix_alloc(p, p), gsl_matrix_free);
    if (!jacobian || !covar)
        return {};
    for (std::size_t j = 0; j < p; ++j) {
        const auto& info = kAssumptions[problem.chosen[j]];
        const double h = 1e-3 * std::max(std::abs(at[j]), 1e-2 * (double(info.upper) - info.lower));
        auto up = at, down = at;
        up[j] += h;
        down[j] -= h;
        const auto ru = problem.residuals(up), rd = problem.residuals(down);
        for (std::size_t i = 0; i < n; ++i)
            gsl_matrix_set(jacobian.get(), i, j, (ru[i] - rd[i]) / (2 * h));
    }
    if (gsl_multifit_covar(jacobian.get(), 0.0, covar.get()) != GSL_SUCCESS)
        return {};
    std::vector<double> c(p * p);
    for (std::size_t i = 0; i < p; ++i)
        for (std::size_t j = 0; j < p; ++j)
            c[i * p + j] = gsl_matrix_get(covar.get(), i, j);
    return c;
}

void addStatistics(const Problem& problem, FitResult& result, const std::vector<double>& at) {
    const std::size_t p = at.size();
    const auto c = unscaledCovariance(problem, at);
    const double s2 = result.dof > 0 ? result.chiSquare / double(result.dof) : kNaN;
    result.correlation.assign(p * p, kNaN);
    for (std::size_t i = 0; i < p; ++i) {
        result.values[i].stdError = c.empty() ? kNaN : std::sqrt(s2 * c[i * p + i]);
        for (std::size_t j = 0; j < p && !c.empty(); ++j)
            result.correlation[i * p + j] = c[i * p + j] / std::sqrt(c[i * p + i] * c[j * p + j]);
    }
}

std::string shownRange(const AssumptionInfo& info) {
    return fields::formatFloat(info.lower) + " to " + fields::formatFloat(info.upper);
}

void addWarnings(FitResult& result) {
    const std::size_t p = result.values.size();
    for (const auto& v : result.values) {
        if (!v.atBound)
            continue;
        const auto& info = kAssumptions[v.assumption];
        result.warnings.push_back(
            std::string(info.key) + " stopped at the end of its range (" + shownRange(info) + ")" +
            (result.starts > 1 ? " from each of " + std::to_string(result.starts) + " starts"
                               : "") +
            ": the measurements ask for a value the model does not allow");
    }
    // Assumptions alike in pairs are put together, one note a group: turbine and factor alike,
    // and factor and combustion alike, are one group of three.
    std::vector<std::size_t> group(p);
    for (std::size_t i = 0; i < p; ++i)
        group[i] = i;
    const auto alike = [&](std::size_t i, std::size_t j) {
        return !(std::abs(result.correlationOf(i, j)) <= kAlike); // NaN counts as alike
    };
    for (std::size_t i = 0; i < p; ++i)
        for (std::size_t j = i + 1; j < p; ++j)
            if (alike(i, j))
                std::replace(group.begin(), group.end(), group[j], group[i]);
    for (std::size_t g = 0; g < p; ++g) {
        std::string keys, correlations;
        std::size_t members = 0;
        for (std::size_t i = 0; i < p; ++i) {
            if (group[i] != g)
                continue;
            ++members;
            keys.append(keys.empty() ? "" : ", ")
                .append(kAssumptions[result.values[i].assumption].key);
            for (std::size_t j = i + 1; j < p; ++j)
                if (group[j] == g && alike(i, j) && std::isfinite(result.correlationOf(i, j)))
                    correlations.append(correlations.empty() ? "" : ", ")
                        .append(
                            fields::formatFloat(static_cast<float>(result.correlationOf(i, j))));
        }
        if (members < 2)
            continue;
        result.warnings.push_back(
            "the measurements cannot tell " + keys +
            " apart (they change the measured quantities alike" +
            (correlations.empty()                          ? std::string()
             : correlations.find(',') == std::string::npos ? ", correlation " + correlations
                                                           : ", correlations " + correlations) +
            "): the values found are one of many that fit about as well; measure more (the "
            "mass flow) or fit fewer");
    }
    if (result.dof == 0)
        result.warnings.push_back(
            "no degrees of freedom: as many measured values as fitted assumptions, so the fit "
            "passes through them and says nothing of their scatter; there are no standard errors");
    else if (result.dof == 1)
        result.warnings.push_back("one degree of freedom: the standard errors rest on a single "
                                  "measured value more than the assumptions, and are rough");
}

} // namespace

std::span<const AssumptionInfo> assumptions() {
    return kAssumptions;
}

const AssumptionInfo& assumptionInfo(Assumption a) {
    return kAssumptions[a];
}

std::optional<Assumption> assumptionFromKey(std::string_view key) {
    for (std::size_t i = 0; i < kAssumptions.size(); ++i)
        if (kAssumptions[i].key == key)
            return i;
    return std::nullopt;
}

std::string assumptionKeys() {
    std::string keys;
    for (const auto& a : kAssumptions)
        keys.append(keys.empty() ? "" : ", ").append(a.key);
    return keys;
}

turbo::EngineInput inputOf(Assumption a) {
    return kRowInputs[a];
}

std::variant<FitResult, FitError> fit(const EngineInputs& candidate, const RunLog& log,
                                      std::span<const Assumption> chosen, const ModelSetup& given) {
    if (chosen.empty())
        return FitError{"choose what to fit: " + assumptionKeys()};
    for (std::size_t j = 0; j < chosen.size(); ++j) {
        if (chosen[j] >= kAssumptions.size())
            return FitError{"no such assumption"};
        if (std::find(chosen.begin(), chosen.begin() + j, chosen[j]) != chosen.begin() + j)
            return FitError{std::string(kAssumptions[chosen[j]].key) + " is chosen twice"};
    }
    const auto sets = [&](Sets s) {
        return std::count_if(chosen.begin(), chosen.end(),
                             [&](Assumption a) { return kAssumptions[a].sets == s; });
    };
    if (sets(Sets::TypedMassFlow) > 0 && sets(Sets::EstimateFactor) > 0)
        return FitError{"fit either mass-flow or mass-flow-factor, not both: the factor scales "
                        "the estimate that a fitted mass flow replaces"};

    ModelSetup setup = given;
    setup.predictsMassFlow =
        setup.predictsMassFlow || std::any_of(chosen.begin(), chosen.end(), movesMassFlow);
    const auto baseline = modelAt(candidate);
    Problem problem{candidate, log, chosen, baseline[EngineResult::MassFlowEstimate], setup, {}};

    FitResult result;
    result.setup = setup;
    // The candidate's own values first, then the same shares of every range.
    std::vector<std::vector<double>> starts(1);
    for (const auto a : chosen) {
        const auto& info = kAssumptions[a];
        const float s = info.sets == Sets::EstimateFactor  ? 1.0f
                        : info.sets == Sets::TypedMassFlow ? baseline.massFlow
                                                           : candidate[kRowInputs[a]];
        result.values.push_back({a, s, s});
        starts.front().push_back(s);
    }
    for (const double share : kOtherStarts) {
        starts.emplace_back();
        for (const auto a : chosen)
            starts.back().push_back(kAssumptions[a].lower + share * (double(kAssumptions[a].upper) -
                                                                     kAssumptions[a].lower));
    }
    // The terms are the values the model works out at the start; the others are skipped. Where
    // the candidate's own values leave points the model cannot work out, the start that works out
    // the most is taken: a poor start should not cost the data.
    std::size_t first = 0;
    Held held = compare(problem.inputsWith(starts[0]), log, setup);
    for (std::size_t s = 1; s < starts.size() && !held.skipped.empty(); ++s)
        if (auto other = compare(problem.inputsWith(starts[s]), log, setup);
            other.comparisons.size() > held.comparisons.size()) {
            held = std::move(other);
            first = s;
        }
    for (const auto& c : held.comparisons)
        for (const auto& q : predictedQuantities())
            if (q.measured == c.measured)
                problem.terms.push_back({c.point, &q, c.value});
    for (const auto a : chosen) {
        const auto& info = kAssumptions[a];
        const bool measured = std::any_of(info.moves.begin(), info.moves.end(), [&](Measured m) {
            return std::any_of(problem.terms.begin(), problem.terms.end(),
                               [&](const Term& t) { return t.predicted->measured == m; });
        });
        if (measured)
            continue;
        std::string needs;
        bool inLog = false;
        for (const auto m : info.moves) {
            needs.append(needs.empty() ? "" : " or ").append(measuredInfo(m).key);
            inLog = inLog || std::any_of(log.points.begin(), log.points.end(),
                                         [&](const RunPoint& p) { return p[m].has_value(); });
        }
        return FitError{"fitting " + std::string(info.key) + " needs a measured " + needs +
                        (!inLog || held.skipped.empty()
                             ? "; the log has none"
                             : " at a point the model can work out; line " +
                                   std::to_string(held.skipped.front().line) + ": " +
                                   held.skipped.front().reason)};
    }
    if (problem.terms.size() < chosen.size())
        return FitError{std::to_string(chosen.size()) + " assumptions need at least " +
                        std::to_string(chosen.size()) +
                        " measured values the model predicts; the log has " +
                        std::to_string(problem.terms.size())};
    result.rmsBefore =
        rmsOf(first == 0 ? held : compare(problem.inputsWith(starts[0]), log, setup));

    auto solved = solveFrom(problem, starts[first]);
    if (const auto* e = std::get_if<FitError>(&solved))
        return *e;
    auto best = std::get<Solution>(solved);
    result.starts = 1;
    const auto endsAtBound = [&](const Solution& s) {
        for (std::size_t j = 0; j < chosen.size(); ++j)
            if (atBound(chosen[j], s.values[j]))
                return true;
        return false;
    };
    // A start far from the answer can end at an end of a range where a better fit lies inside;
    // the other starts find it before the data are blamed.
    for (std::size_t s = 0; s < starts.size() && endsAtBound(best); ++s) {
        if (s == first)
            continue;
        ++result.starts;
        auto again = solveFrom(problem, starts[s]);
        if (const auto* found = std::get_if<Solution>(&again);
            found && found->chiSquare < best.chiSquare)
            best = *found;
    }

    result.converged = best.converged;
    result.iterations = best.iterations;
    result.calibrated = problem.inputsWith(best.values);
    for (std::size_t j = 0; j < chosen.size(); ++j) {
        result.values[j].fitted = static_cast<float>(best.values[j]);
        result.values[j].atBound = atBound(chosen[j], best.values[j]);
    }
    result.chiSquare = best.chiSquare;
    result.dof = problem.terms.size() - chosen.size();
    result.reducedChiSquare = result.dof > 0 ? result.chiSquare / double(result.dof) : kNaN;
    addStatistics(problem, result, best.values);
    addWarnings(result);

    auto after = compare(result.calibrated, log, setup);
    result.rms = rmsOf(after);
    result.comparisons = std::move(after.comparisons);
    result.skipped = std::move(after.skipped);
    return result;
}

} // namespace runs
