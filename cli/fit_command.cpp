#include "fit_command.hpp"

#include "fit.hpp"
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

constexpr std::string_view kFitOption = "--fit";
// The options of `engine` that make no sense for a fit.
constexpr std::string_view kNotForFit[] = {"sweep", "columns"};

struct FitArguments {
    std::vector<std::string> engineArgs; // argv as `engine` would take it
    std::optional<std::string> fit;
    bool help = false;
};

FitArguments splitArguments(int argc, const char* const* argv) {
    FitArguments a;
    a.engineArgs = {argv[0], "engine"};
    for (int i = 2; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--help" || arg == "-h")
            a.help = true;
        if (arg != kFitOption && !arg.starts_with(std::string(kFitOption) + "=")) {
            a.engineArgs.emplace_back(arg);
            continue;
        }
        if (a.fit)
            throw BadInput("--fit is given twice");
        if (arg.size() > kFitOption.size())
            a.fit = std::string(arg.substr(kFitOption.size() + 1));
        else if (i + 1 < argc && !std::string_view(argv[i + 1]).starts_with("--"))
            a.fit = argv[++i];
        else
            throw BadInput("--fit needs a value: " + runs::assumptionKeys());
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
            for (std::size_t i = 0; i < runs::kAssumptionCount; ++i)
                keys.emplace_back(runs::assumptionInfo(runs::Assumption(i)).key);
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
    // Ambient not typed comes from the altitude, or the defaults, as for engine.
    turbo::fillAmbient(in[turbo::input("altitude")], in[turbo::EngineInput::AmbientTemp],
                       in[turbo::EngineInput::AmbientPressure]);
    return in;
}

runs::RunLog readLog(const std::string& path, std::istream& in) {
    const auto read = path == "-" ? runs::readRunLog(in, "standard input") : runs::loadRunLog(path);
    if (const auto* e = std::get_if<runs::RunLogError>(&read))
        throw BadInput(e->text());
    return std::get<runs::RunLog>(read);
}

// Numbers as the other calculations write them: shortest exact text, or --digits.
class Numbers {
public:
    explicit Numbers(int digits) : digits_(digits) {}
    std::string operator()(float v) const {
        char buffer[kMaxNumberText];
        return {buffer, digits_ == 0 ? writeShortest(buffer, v) : writeDigits(buffer, v, digits_)};
    }
    std::string operator()(double v) const { return (*this)(static_cast<float>(v)); }

private:
    int digits_;
};

std::string padded(std::string text, std::size_t width) {
    if (text.size() < width)
        text.append(width - text.size(), ' ');
    return text;
}

std::string jsonText(std::string_view text) {
    std::string out = "\"";
    for (const char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\')
            out += '\\';
        if (u < 0x20) {
            static constexpr char kHex[] = "0123456789abcdef";
            out += "\\u00";
            out += kHex[u >> 4];
            out += kHex[u & 15];
            continue;
        }
        out += c;
    }
    return out + "\"";
}

std::string_view keyOf(runs::Measured m) {
    return runs::measuredInfo(m).key;
}

// For people: six significant digits unless --digits says otherwise, errors in percent.
void writeTable(std::ostream& out, const runs::RunLog& log, const runs::FitResult& r, int digits) {
    const auto number = [&](double v) {
        const auto f = static_cast<float>(v);
        if (digits != 0)
            return Numbers(digits)(f);
        return fields::formatFloat(f);
    };
    out << "Fitted to " << log.file << ": " << log.points.size() << " points, "
        << r.comparisons.size() << " measured values, " << r.iterations << " iterations"
        << (r.converged ? "" : " (stopped at the limit, not converged)") << "\n\n";
    std::size_t width = 22;
    for (const auto& v : r.values)
        width = std::max(width, runs::assumptionInfo(v.assumption).label.size() + 2);
    out << padded("", width) << padded("Start", 14) << "Fitted\n";
    for (const auto& v : r.values) {
        const auto& info = runs::assumptionInfo(v.assumption);
        out << padded(std::string(info.label), width) << padded(number(v.start), 14)
            << number(v.fitted);
        if (const auto unit = fields::unitText(info.quantity, fields::UnitSystem::Forms);
            !unit.empty())
            out << ' ' << unit;
        out << '\n';
    }
    out << padded("Error, rms (%)", width) << padded(number(r.rmsBefore * 100), 14)
        << number(r.rms * 100) << "\n\n";
    out << padded("Line", 6) << padded("Quantity", 12) << padded("Measured", 12)
        << padded("Predicted", 12) << padded("Unit", 10) << padded("Ratio", 12) << "Error (%)\n";
    for (const auto& c : r.comparisons) {
        const auto& info = runs::measuredInfo(c.measured);
        out << padded(std::to_string(c.line), 6) << padded(std::string(info.key), 12)
            << padded(number(c.value), 12) << padded(number(c.predicted), 12)
            << padded(std::string(fields::unitText(info.quantity, fields::UnitSystem::Forms)), 10)
            << padded(number(c.ratio), 12) << number(c.residual * 100) << '\n';
    }
    for (const auto& w : r.warnings)
        out << "\nNote: " << w << '\n';
}

// One table with a kind column: the fitted assumptions, the measured points, the overall error.
void writeCsv(std::ostream& out, const runs::FitResult& r, const Numbers& number) {
    out << "kind,key,line,start,fitted,measured,predicted,ratio,residual\n";
    for (const auto& v : r.values)
        out << "assumption," << runs::assumptionInfo(v.assumption).key << ",," << number(v.start)
            << ',' << number(v.fitted) << ",,,,\n";
    for (const auto& c : r.comparisons)
        out << "point," << keyOf(c.measured) << ',' << c.line << ",,," << number(c.value) << ','
            << number(c.predicted) << ',' << number(c.ratio) << ',' << number(c.residual) << '\n';
    out << "overall,rms,," << number(r.rmsBefore) << ',' << number(r.rms) << ",,,,\n";
}

std::string jsonNumber(const Numbers& number, float v) {
    return std::isfinite(v) ? number(v) : "null";
}

void writeJson(std::ostream& out, const runs::RunLog& log, const runs::FitResult& r,
               const Numbers& number) {
    const auto n = [&](auto v) { return jsonNumber(number, static_cast<float>(v)); };
    out << "{\"log\":" << jsonText(log.file) << ",\"iterations\":" << r.iterations
        << ",\"converged\":" << (r.converged ? "true" : "false") << ",\"assumptions\":{";
    for (std::size_t i = 0; i < r.values.size(); ++i)
        out << (i ? "," : "") << jsonText(runs::assumptionInfo(r.values[i].assumption).key)
            << ":{\"start\":" << n(r.values[i].start) << ",\"fitted\":" << n(r.values[i].fitted)
            << '}';
    out << "},\"rms_before\":" << n(r.rmsBefore) << ",\"rms\":" << n(r.rms) << ",\"points\":[";
    for (std::size_t i = 0; i < r.comparisons.size(); ++i) {
        const auto& c = r.comparisons[i];
        out << (i ? "," : "") << "{\"line\":" << c.line
            << ",\"quantity\":" << jsonText(keyOf(c.measured)) << ",\"measured\":" << n(c.value)
            << ",\"predicted\":" << n(c.predicted) << ",\"ratio\":" << n(c.ratio)
            << ",\"residual\":" << n(c.residual) << '}';
    }
    out << "],\"warnings\":[";
    for (std::size_t i = 0; i < r.warnings.size(); ++i)
        out << (i ? "," : "") << jsonText(r.warnings[i]);
    out << "]}\n";
}

} // namespace

std::string fitHelp() {
    return "Usage: " + std::string(kProgram) +
           " fit --input RUN.csv --fit ASSUMPTION,... [engine options]\n"
           "Fits a candidate engine's assumptions to a run log, by least squares on the\n"
           "relative errors of the measured values the model predicts (thrust, mass flow).\n"
           "The candidate is given with the options of '" +
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
           "  --csv           Write CSV: a kind column (assumption, point, overall)\n"
           "  --json          Write one JSON object\n"
           "  --digits N      Write numbers to N significant digits (1 to 9)\n"
           "  --help          Show this help and exit\n\n"
           "At each point the log's P2, ambient temperature and pressure replace the\n"
           "candidate's, and a measured turbine outlet temperature sets the turbine inlet\n"
           "temperature.\n";
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
        const auto chosen = readAssumptions(*a.fit);
        startPoint(*args.calc, plan, -1);
        const auto candidate = candidateFrom(*args.calc);
        const auto log = readLog(*plan.input, in);
        const auto result = runs::fit(candidate, log, chosen);
        if (const auto* e = std::get_if<runs::FitError>(&result))
            throw BadInput("cannot fit: " + e->message);
        const auto& r = std::get<runs::FitResult>(result);
        const Numbers number(plan.digits);
        switch (plan.format) {
        case Format::Table:
            writeTable(out, log, r, plan.digits);
            break;
        case Format::Csv:
            writeCsv(out, r, number);
            break;
        case Format::Json:
            writeJson(out, log, r, number);
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
