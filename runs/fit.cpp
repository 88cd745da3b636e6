#include "fit.hpp"

#include "evaluate_point.hpp"
#include "number_text.hpp"

#include <gsl/gsl_errno.h>
#include <gsl/gsl_multifit_nlinear.h>
#include <gsl/gsl_vector.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <memory>

namespace runs {

namespace {

using turbo::EngineInput;
using turbo::EngineInputs;
using turbo::EngineResult;
using turbo::EngineResults;

constexpr Measured kThrustOnly[] = {Measured::Thrust};
constexpr Measured kThrustAndFuel[] = {Measured::Thrust, Measured::FuelFlow};
constexpr Measured kFuelOnly[] = {Measured::FuelFlow};
constexpr Measured kAllThree[] = {Measured::Thrust, Measured::MassFlow, Measured::FuelFlow};

// Efficiencies below 30 % do not run a turbocharger engine at all; the mass flow spans the
// smallest wheels to far beyond the largest.
constexpr std::array<AssumptionInfo, kAssumptionCount> kAssumptions{{
    {Assumption::TurbineEfficiency, "turbine-efficiency", "Turbine Efficiency",
     fields::Quantity::Percent, 30, 100, kThrustOnly},
    {Assumption::NozzleEfficiency, "nozzle-efficiency", "Nozzle Efficiency",
     fields::Quantity::Percent, 30, 100, kThrustOnly},
    {Assumption::CompEfficiency, "comp-efficiency", "Comp. Efficiency", fields::Quantity::Percent,
     30, 100, kThrustAndFuel},
    {Assumption::CombustionEfficiency, "combustion-efficiency", "Combustion Efficiency",
     fields::Quantity::Percent, 30, 100, kFuelOnly},
    {Assumption::MassFlow, "mass-flow", "Mass Flow", fields::Quantity::MassFlow, 0.01f, 50,
     kAllThree},
    {Assumption::MassFlowFactor, "mass-flow-factor", "Mass Flow Estimate Factor",
     fields::Quantity::None, 0.1f, 10, kAllThree},
}};

constexpr std::array<Predicted, 3> kPredicted{{
    {Measured::Thrust, [](const EngineResults& r) { return r[EngineResult::Thrust]; }},
    {Measured::MassFlow, [](const EngineResults& r) { return r.massFlow; }},
    {Measured::FuelFlow, [](const EngineResults& r) { return r[turbo::result("fuel-flow")]; }},
}};

// A fitted value this close to an end of its range (as a share of the range) has stopped there.
constexpr double kAtBound = 1e-3;
// Below this reciprocal condition number the chosen assumptions move the residuals alike. Thrust
// alone cannot separate the nozzle efficiency from the mass flow (thrust goes with their product's
// square root): about 6e-5; turbine efficiency and mass flow, which it can, about 3e-2.
constexpr double kAlike = 1e-3;

// A stand-in for a prediction that is not a number, large enough that the solver turns back.
constexpr double kNoPrediction = 1e6;

// Puts an assumption's value into the candidate; the factor scales the wheel's estimate.
void apply(Assumption a, double value, float estimate, EngineInputs& in) {
    if (a == Assumption::MassFlow || a == Assumption::MassFlowFactor)
        in.massFlowSource = turbo::MassFlowSource::Typed;
    in[inputOf(a)] = static_cast<float>(a == Assumption::MassFlowFactor ? value * estimate : value);
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
    std::vector<Term> terms;

    EngineInputs inputsAt(const double* u) const {
        EngineInputs in = candidate;
        for (std::size_t j = 0; j < chosen.size(); ++j)
            apply(chosen[j], bounded(assumptionInfo(chosen[j]), u[j]), estimate, in);
        return in;
    }

    // The relative errors, in the order of terms; points are worked out once each.
    void residuals(const EngineInputs& in, std::vector<double>& out) const {
        out.clear();
        std::size_t last = static_cast<std::size_t>(-1);
        EngineResults results;
        for (const auto& t : terms) {
            if (t.point != last) {
                results = point::evaluatePoint({pointInputs(in, log.points[t.point])}).results;
                last = t.point;
            }
            out.push_back((double(t.predicted->predicted(results)) - t.measured) / t.measured);
        }
    }
};

int residualsForGsl(const gsl_vector* x, void* params, gsl_vector* f) {
    const auto& problem = *static_cast<const Problem*>(params);
    std::vector<double> u(x->size);
    for (std::size_t j = 0; j < u.size(); ++j)
        u[j] = gsl_vector_get(x, j);
    std::vector<double> r;
    problem.residuals(problem.inputsAt(u.data()), r);
    for (std::size_t i = 0; i < r.size(); ++i)
        gsl_vector_set(f, i, std::isfinite(r[i]) ? r[i] : kNoPrediction);
    return GSL_SUCCESS;
}

double rmsOf(const std::vector<double>& r) {
    double sum = 0;
    for (const double v : r)
        sum += v * v;
    return r.empty() ? 0 : std::sqrt(sum / double(r.size()));
}

std::string lineText(std::size_t line) {
    return "line " + std::to_string(line);
}

std::string lower(std::string_view label) {
    std::string s(label);
    for (char& c : s)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return s;
}

} // namespace

turbo::EngineInput inputOf(Assumption a) {
    switch (a) {
    case Assumption::TurbineEfficiency:
        return turbo::EngineInput::TurbineEfficiency;
    case Assumption::NozzleEfficiency:
        return turbo::EngineInput::NozzleEfficiency;
    case Assumption::CompEfficiency:
        return turbo::EngineInput::CompEfficiency;
    case Assumption::CombustionEfficiency:
        return turbo::input("combustion-efficiency");
    default:
        return turbo::EngineInput::MassFlow;
    }
}

const AssumptionInfo& assumptionInfo(Assumption a) {
    return kAssumptions[static_cast<std::size_t>(a)];
}

std::optional<Assumption> assumptionFromKey(std::string_view key) {
    for (const auto& a : kAssumptions)
        if (a.key == key)
            return a.assumption;
    return std::nullopt;
}

std::string assumptionKeys() {
    std::string keys;
    for (const auto& a : kAssumptions)
        keys.append(keys.empty() ? "" : ", ").append(a.key);
    return keys;
}

std::span<const Predicted> predictedQuantities() {
    return kPredicted;
}

EngineInputs pointInputs(const EngineInputs& candidate, const RunPoint& point) {
    EngineInputs in = point::workedOutInputs(candidate);
    if (const auto v = point[Measured::P2])
        in[EngineInput::P2] = *v;
    if (const auto v = point[Measured::AmbientTemp])
        in[EngineInput::AmbientTemp] = *v;
    if (const auto v = point[Measured::AmbientPressure])
        in[EngineInput::AmbientPressure] = *v;
    // Last: the solved inlet temperature depends on the compressor, so on the conditions above.
    if (const auto v = point[Measured::TurbineOutletTemp]) {
        in[EngineInput::TurbineInletTemp] = turbo::solveTurbineInletTemp(in, *v);
        // The point's own exhaust temperature, not the candidate's.
        in[EngineInput::MeasuredTurbineOutletTemp] = turbo::notGiven();
    }
    return in;
}

std::vector<Comparison> compare(const EngineInputs& candidate, const RunLog& log) {
    std::vector<Comparison> out;
    for (std::size_t p = 0; p < log.points.size(); ++p) {
        const auto& point = log.points[p];
        std::optional<EngineResults> results;
        for (const auto& q : kPredicted) {
            const auto measured = point[q.measured];
            if (!measured)
                continue;
            if (!results)
                results = point::evaluatePoint({pointInputs(candidate, point)}).results;
            Comparison c;
            c.point = p;
            c.line = point.line;
            c.measured = q.measured;
            c.value = *measured;
            c.predicted = q.predicted(*results);
            c.ratio = double(c.predicted) / double(c.value);
            c.residual = (double(c.predicted) - double(c.value)) / double(c.value);
            out.push_back(c);
        }
    }
    return out;
}

std::variant<FitResult, FitError> fit(const EngineInputs& candidate, const RunLog& log,
                                      std::span<const Assumption> chosen) {
    if (chosen.empty())
        return FitError{"choose what to fit: " + assumptionKeys()};
    for (std::size_t j = 0; j < chosen.size(); ++j)
        if (std::find(chosen.begin(), chosen.begin() + j, chosen[j]) != chosen.begin() + j)
            return FitError{std::string(assumptionInfo(chosen[j]).key) + " is chosen twice"};
    const auto chosenHas = [&](Assumption a) {
        return std::find(chosen.begin(), chosen.end(), a) != chosen.end();
    };
    if (chosenHas(Assumption::MassFlow) && chosenHas(Assumption::MassFlowFactor))
        return FitError{"fit either mass-flow or mass-flow-factor, not both: the factor scales "
                        "the estimate that a fitted mass flow replaces"};

    const auto baseline = point::evaluatePoint({candidate}).results;
    Problem problem{candidate, log, chosen, baseline[EngineResult::MassFlowEstimate], {}};
    for (std::size_t p = 0; p < log.points.size(); ++p)
        for (const auto& q : kPredicted)
            if (const auto v = log.points[p][q.measured]) {
                if (*v == 0)
                    return FitError{lineText(log.points[p].line) + ": the measured " +
                                    lower(measuredInfo(q.measured).label) +
                                    " is 0, and a relative error needs a measurement other "
                                    "than 0"};
                problem.terms.push_back({p, &q, *v});
            }

    for (const auto a : chosen) {
        const auto& info = assumptionInfo(a);
        const bool measured = std::any_of(info.moves.begin(), info.moves.end(), [&](Measured m) {
            return std::any_of(problem.terms.begin(), problem.terms.end(),
                               [&](const Term& t) { return t.predicted->measured == m; });
        });
        if (!measured) {
            std::string needs;
            for (const auto m : info.moves)
                needs.append(needs.empty() ? "" : " or ").append(measuredInfo(m).key);
            return FitError{"fitting " + std::string(info.key) + " needs a measured " + needs +
                            "; the log has none"};
        }
    }
    if (problem.terms.size() < chosen.size())
        return FitError{std::to_string(chosen.size()) + " assumptions need at least " +
                        std::to_string(chosen.size()) +
                        " measured values the model predicts; the log has " +
                        std::to_string(problem.terms.size())};

    FitResult result;
    std::vector<double> u;
    for (const auto a : chosen) {
        const auto& info = assumptionInfo(a);
        const float start = a == Assumption::MassFlowFactor ? 1.0f
                            : a == Assumption::MassFlow     ? baseline.massFlow
                                                            : candidate[inputOf(a)];
        result.values.push_back({a, start, start});
        u.push_back(unbounded(info, start));
    }
    std::vector<double> r;
    problem.residuals(problem.inputsAt(u.data()), r);
    for (std::size_t i = 0; i < r.size(); ++i)
        if (!std::isfinite(r[i])) {
            const auto& t = problem.terms[i];
            return FitError{lineText(log.points[t.point].line) + ": the model gives no finite " +
                            lower(measuredInfo(t.predicted->measured).label) +
                            " at the starting assumptions; check the candidate and the point's "
                            "conditions"};
        }
    result.rmsBefore = rmsOf(r);

    // GSL's default handler aborts the program; its status codes are read instead.
    gsl_set_error_handler_off();
    gsl_multifit_nlinear_parameters params = gsl_multifit_nlinear_default_parameters();
    // The model's figures are floats: a derivative step must move them by far more than their
    // rounding, and central differences halve the error of the step.
    params.fdtype = GSL_MULTIFIT_NLINEAR_CTRDIFF;
    params.h_df = 1e-3;
    const std::size_t n = problem.terms.size(), p = chosen.size();
    std::unique_ptr<gsl_multifit_nlinear_workspace, void (*)(gsl_multifit_nlinear_workspace*)> work(
        gsl_multifit_nlinear_alloc(gsl_multifit_nlinear_trust, &params, n, p),
        gsl_multifit_nlinear_free);
    std::unique_ptr<gsl_vector, void (*)(gsl_vector*)> x(gsl_vector_alloc(p), gsl_vector_free);
    if (!work || !x)
        return FitError{"not enough memory for the fit"};
    for (std::size_t j = 0; j < p; ++j)
        gsl_vector_set(x.get(), j, u[j]);
    gsl_multifit_nlinear_fdf fdf{};
    fdf.f = residualsForGsl;
    fdf.n = n;
    fdf.p = p;
    fdf.params = &problem;
    int status = gsl_multifit_nlinear_init(x.get(), &fdf, work.get());
    int info = 0;
    if (status == GSL_SUCCESS)
        status =
            gsl_multifit_nlinear_driver(200, 1e-8, 1e-10, 0, nullptr, nullptr, &info, work.get());
    // No progress means the floats of the model cannot be matched any closer.
    if (status != GSL_SUCCESS && status != GSL_EMAXITER && status != GSL_ENOPROG)
        return FitError{std::string("the solver stopped: ") + gsl_strerror(status)};
    result.converged = status != GSL_EMAXITER;
    result.iterations = gsl_multifit_nlinear_niter(work.get());
    if (gsl_multifit_nlinear_rcond(&result.conditioning, work.get()) != GSL_SUCCESS)
        result.conditioning = 0;

    const gsl_vector* at = gsl_multifit_nlinear_position(work.get());
    for (std::size_t j = 0; j < p; ++j)
        u[j] = gsl_vector_get(at, j);
    result.calibrated = problem.inputsAt(u.data());
    for (std::size_t j = 0; j < p; ++j)
        result.values[j].fitted = static_cast<float>(bounded(assumptionInfo(chosen[j]), u[j]));
    for (const auto& v : result.values) {
        const auto& info = assumptionInfo(v.assumption);
        const double margin = (double(info.upper) - info.lower) * kAtBound;
        if (v.fitted <= info.lower + margin || v.fitted >= info.upper - margin)
            result.warnings.push_back(
                std::string(info.key) + " stopped at the end of its range (" +
                fields::formatFloat(info.lower) + " to " + fields::formatFloat(info.upper) +
                "): the measurements ask for a value the model does not allow");
    }
    if (result.warnings.empty() && p > 1 && result.conditioning < kAlike) {
        std::string keys;
        for (const auto a : chosen)
            keys.append(keys.empty() ? "" : ", ").append(assumptionInfo(a).key);
        result.warnings.push_back(
            "the measurements cannot tell " + keys +
            " apart (they change the measured quantities alike): the values found are one of "
            "many that fit about as well; measure more (the mass flow) or fit fewer");
    }
    result.comparisons = compare(result.calibrated, log);
    std::vector<double> fitted;
    for (const auto& c : result.comparisons) {
        if (!std::isfinite(c.residual))
            return FitError{lineText(c.line) + ": the model gives no finite " +
                            lower(measuredInfo(c.measured).label) + " at the fitted values"};
        fitted.push_back(c.residual);
    }
    result.rms = rmsOf(fitted);
    return result;
}

} // namespace runs
