#include "fit_command.hpp"

#include "fit.hpp"
#include "fit_command_output.hpp"
#include "map_matching.hpp"
#include "messages.hpp"
#include "number_text.hpp"
#include "operating.hpp"
#include "options.hpp"
#include "output.hpp"
#include "plan.hpp"
#include "run.hpp"

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

namespace cli {

namespace {

// The options of `engine` that make no sense for a fit.
constexpr std::string_view kNotForFit[] = {"sweep", "columns"};

struct FitArguments {
    std::vector<std::string> engineArgs; // argv as `engine` would take it
    std::optional<std::string> fit;
    std::optional<std::string> predict;
    bool help = false;
};

// --fit and --predict are the fit's own; everything else goes to `engine`'s parser.
FitArguments splitArguments(int argc, const char* const* argv) {
    FitArguments a;
    a.engineArgs = {argv[0], "engine"};
    const std::pair<std::string_view, std::optional<std::string>*> own[] = {
        {"--fit", &a.fit}, {"--predict", &a.predict}};
    for (int i = 2; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--help" || arg == "-h")
            a.help = true;
        const auto* mine = std::find_if(std::begin(own), std::end(own), [&](const auto& o) {
            return arg == o.first || arg.starts_with(std::string(o.first) + "=");
        });
        if (mine == std::end(own)) {
            a.engineArgs.emplace_back(arg);
            continue;
        }
        const auto [name, value] = *mine;
        if (*value)
            throw BadInput(std::string(name) + " is given twice");
        if (arg.size() > name.size())
            *value = std::string(arg.substr(name.size() + 1));
        else if (i + 1 < argc && !std::string_view(argv[i + 1]).starts_with("--"))
            *value = argv[++i];
        else
            throw BadInput(std::string(name) + " needs a value" +
                           (name == "--fit" ? ": " + runs::assumptionKeys() : ": a run log"));
    }
    return a;
}

std::vector<runs::Assumption> readAssumptions(const std::string& text) {
    std::vector<runs::Assumption> chosen;
    std::size_t start = 0;
    for (;;) {
        const auto comma = text.find(',', start);
        const auto key = std::string_view(text).substr(start, comma - start);
        const auto a = runs::assumptionFromKey(key);
        if (!a) {
            std::vector<std::string> keys;
            for (const auto& info : runs::assumptions())
                keys.emplace_back(info.key);
            const auto near = closest(key, keys);
            throw BadInput("--fit: " + shown(key) + " is not an assumption the fit can change; " +
                           (near.empty() ? "choose from " + runs::assumptionKeys()
                                         : "did you mean " + std::string(near) + "?"));
        }
        chosen.push_back(*a);
        if (comma == std::string::npos)
            return chosen;
        start = comma + 1;
    }
}

turbo::EngineInputs candidateFrom(const Calculation& calc) {
    turbo::EngineInputs in;
    for (std::size_t i = 0; i < turbo::kEngineInputCount; ++i) {
        const auto input = static_cast<turbo::EngineInput>(i);
        in[input] = calc.get(turbo::engineFieldIndex(input));
    }
    in.massFlowSource =
        static_cast<turbo::MassFlowSource>(calc.choice(turbo::kMassFlowSourceField));
    in.fuel = static_cast<turbo::Fuel>(calc.choice(turbo::kFuelField));
    // Ambient and fuel properties not typed stay so: the fit's evaluation works them out.
    return in;
}

runs::RunLog readLog(const std::string& path, std::istream& in) {
    const auto read = path == "-" ? runs::readRunLog(in, "standard input")
                                  : runs::loadRunLog(path, userfile::Source::AlsoPipes);
    if (const auto* e = std::get_if<runs::RunLogError>(&read))
        throw BadInput(e->text());
    return std::get<runs::RunLog>(read);
}

} // namespace

std::string fitHelp() {
    return "Usage: " + std::string(kProgram) +
           " fit --input RUN.csv --fit ASSUMPTION,... [--predict OTHER.csv]\n"
           "          [engine options]\n"
           "Fits a candidate engine's assumptions to a run log, by least squares on the\n"
           "relative errors of the measured values the model predicts (thrust, fuel flow,\n"
           "and mass flow when a fitted assumption moves it). The candidate is given with\n"
           "the options of '" +
           std::string(kProgram) +
           " engine' (see its --help).\n\n"
           "Options:\n"
           "  --input FILE    The run log (CSV), - for standard input. Its columns may be\n"
           "                  any of rpm, p2, turbine-outlet-temp (or egt), thrust,\n"
           "                  fuel-flow, mass-flow, ambient-temp, ambient-pressure, in the\n"
           "                  forms' units or with a unit in brackets: thrust[N], p2[bar],\n"
           "                  egt[degC]. Other columns are ignored.\n"
           "  --fit A,B,...   What to fit: " +
           runs::assumptionKeys() +
           "\n"
           "  --predict FILE  Hold the fitted engine against another run log, whose points\n"
           "                  take no part in the fit: measured, predicted and error\n"
           "  --map FILE      A compressor map: a point with rpm and no P2 takes its P2\n"
           "                  from the speed lines at its corrected flow\n"
           "  --csv           Write CSV: a kind column (assumption, correlation, point,\n"
           "                  held-out, skipped, held-out-skipped, overall, warning)\n"
           "  --json          Write one JSON object\n"
           "  --digits N      Write numbers to N significant digits (1 to 9)\n"
           "  --help          Show this help and exit\n\n"
           "At each point the log's P2, ambient temperature and pressure replace the\n"
           "candidate's, a measured turbine outlet temperature sets the turbine inlet\n"
           "temperature, and a measured mass flow is the point's input unless a fitted\n"
           "assumption moves it. A point the model cannot work out is skipped with its\n"
           "reason. Each fitted value has its standard error from the fit's Jacobian,\n"
           "scaled by the reduced chi-square of the relative errors.\n";
}

int runFit(int argc, const char* const* argv, std::istream& in, std::ostream& out,
           std::ostream& err) {
    try {
        const auto a = splitArguments(argc, argv);
        if (a.help) {
            out << fitHelp();
            return out.flush() ? kExitOk : kExitWriteFailed;
        }
        std::vector<const char*> engineArgv;
        for (const auto& s : a.engineArgs)
            engineArgv.push_back(s.c_str());
        Arguments args = parseArguments(static_cast<int>(engineArgv.size()), engineArgv.data());
        for (const auto name : kNotForFit)
            if (args.given(name))
                throw BadInput("--" + std::string(name) + " does not apply to fit");
        if (!a.fit)
            throw BadInput("choose what to fit with --fit, from " + runs::assumptionKeys());
        const Plan plan = makePlan(args);
        if (!plan.input)
            throw BadInput("fit needs the run log: --input RUN.csv");
        if (a.predict && *a.predict == "-" && *plan.input == "-")
            throw BadInput("--input and --predict cannot both read standard input");
        const auto chosen = readAssumptions(*a.fit);
        startPoint(*args.calc, plan, -1);
        const auto candidate = candidateFrom(*args.calc);
        runs::ModelSetup setup;
        MapLibrary maps(mapImportSettings(args));
        if (const auto& map = args.values("map"); !map.empty())
            setup.map = &maps.load(map.front(), "--map");
        const auto log = readLog(*plan.input, in);
        std::optional<runs::RunLog> other;
        if (a.predict)
            other = readLog(*a.predict, in);
        const auto result = runs::fit(candidate, log, chosen, setup);
        if (const auto* e = std::get_if<runs::FitError>(&result))
            throw BadInput("cannot fit: " + e->message);
        const auto& r = std::get<runs::FitResult>(result);
        FitReport report{log, r, other ? &*other : nullptr, std::nullopt};
        if (other)
            report.heldOut = runs::compare(r.calibrated, *other, r.setup);
        switch (plan.format) {
        case Format::Table:
            writeFitTable(out, report, plan.digits);
            break;
        case Format::Csv:
            writeFitCsv(out, report, plan.digits);
            break;
        case Format::Json:
            writeFitJson(out, report, plan.digits);
            break;
        }
    } catch (const BadInput& e) {
        err << kProgram << ": " << e.what() << "\nRun '" << kProgram << " fit --help' for more.\n";
        return kExitBadInput;
    }
    if (!out.flush()) {
        err << kProgram << ": " << OutputFailed().what() << '\n';
        return kExitWriteFailed;
    }
    return kExitOk;
}

} // namespace cli
