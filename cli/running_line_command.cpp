#include "running_line_command.hpp"

#include "engine.hpp"
#include "evaluate_point.hpp"
#include "map_matching.hpp"
#include "messages.hpp"
#include "operating.hpp"
#include "options.hpp"
#include "output.hpp"
#include "plan.hpp"
#include "run.hpp"
#include "running_line.hpp"
#include "sweep.hpp"

#include <array>
#include <cmath>
#include <optional>
#include <vector>

namespace cli {

namespace {

using offdesign::LineGap;
using Q = fields::Quantity;

// What the line holds fixed from point to point, for the row and the help.
constexpr std::array<std::string_view, 2> kHeldFixed{"gauge P2", "corrected speed"};
constexpr std::array<std::string_view, 4> kOnMapWords{"", "surge", "top-speed", "surge top-speed"};
constexpr std::array<std::string_view, 7> kFirstLimitWords{"",
                                                           "turbine-inlet-temp-limit",
                                                           "turbine-outlet-temp-limit",
                                                           "tip-speed-limit",
                                                           "nozzle-critical-pr",
                                                           "surge",
                                                           "top-speed"};
constexpr std::string_view kNotReached = "the line does not reach this speed on the map";

// The reason column's words: every gap of the line, the speed not reached, and every gap of the
// fuel (a CSV word carries no comma, so the fuel's comma becomes a semicolon).
const std::vector<std::string_view>& reasonWords() {
    static const std::vector<std::string> owned = [] {
        std::vector<std::string> w;
        for (int g = 0; g <= int(LineGap::OutsideIslands); ++g)
            w.emplace_back(offdesign::lineGapText(LineGap(g)));
        w.emplace_back(kNotReached);
        for (int g = 1; g <= int(turbo::FuelGap::Rich); ++g) {
            std::string text(turbo::fuelGapText(turbo::FuelGap(g)));
            for (auto& c : text)
                c = c == ',' ? ';' : c;
            w.push_back(text);
        }
        return w;
    }();
    static const std::vector<std::string_view> views(owned.begin(), owned.end());
    return views;
}
constexpr int kNotReachedWord = int(LineGap::OutsideIslands) + 1;

fields::Field value(std::string_view key, std::string_view label, std::string_view unit, Q quantity,
                    std::string_view description = {}) {
    auto f = fields::detail::described(
        fields::detail::number(Role::Out, key, 0, "", label, unit, quantity), description);
    f.mayBeEmpty = true;
    return f;
}
fields::Field word(std::string_view key, std::string_view label,
                   std::span<const std::string_view> words, std::string_view description) {
    fields::Field f = value(key, label, "", Q::None, description);
    f.kind = Kind::Choice;
    f.choices = words;
    return f;
}

enum Column : std::size_t {
    P2,
    MapSpeed,
    Rpm,
    MassFlow,
    Tit,
    Tot,
    NozzleExit,
    Thrust,
    FuelAir,
    FuelFlow,
    Tsfc,
    CompEfficiency,
    PressureRatio,
    CorrectedFlow,
    SurgeMargin,
    TurbinePr,
    NozzlePr,
    TipSpeed,
    Residual,
    Limits,
    OnMap,
    Reason,
    HeldFixed,
    IdleP2,
    FirstLimit,
    FirstLimitP2,
    SurgeP2,
    TopSpeedP2,
    TurbineArea,
    NozzleArea,
    kColumns
};

const std::vector<fields::Field>& lineFields() {
    static const std::vector<fields::Field> f{
        value("p2", "P2 (psig):", "", Q::GaugePressure),
        value("map-speed", "Map Speed:", "rpm", Q::Speed, "Corrected speed from the speed lines"),
        value("rpm", "Shaft Speed:", "rpm", Q::Speed, "Map speed at this ambient temperature"),
        value("mass-flow", "Mass Flow Rate:", "lb/s", Q::MassFlow),
        value("turbine-inlet-temp", "Turbine Inlet Temp.:", "deg. C", Q::Temperature),
        value("turbine-outlet-temp", "Turbine Outlet Temp.:", "deg. C", Q::Temperature),
        value("nozzle-exit-temp", "Nozzle Exit Temp:", "deg. C", Q::Temperature),
        value("thrust", "Thrust:", "lbs.", Q::Force),
        value("fuel-air-ratio", "Fuel-Air Ratio:", "", Q::None),
        value("fuel-flow", "Fuel Flow:", "lb/h", Q::FuelFlow),
        value("tsfc", "TSFC:", "lb/(lbf·h)", Q::FuelConsumption),
        value("comp-efficiency", "Comp. Efficiency:", "%", Q::Percent),
        value("pressure-ratio", "Pressure Ratio:", "", Q::None),
        value("corrected-flow", "Corrected Flow:", "", Q::None, "In the map's flow unit"),
        value("surge-margin", "Surge Margin:", "%", Q::Percent),
        value("turbine-pr-required", "Turbine PR:", "", Q::None),
        value("nozzle-pr", "Nozzle PR:", "", Q::None),
        value("tip-speed", "Tip Speed:", "ft./sec.", Q::Velocity),
        value("flow-residual", "Flow Residual:", "", Q::None,
              "(turbine flow - nozzle flow) / turbine flow"),
        word("limits", "Limits Exceeded:", fields::kLimitWords, "The limits the point goes past"),
        word("on-map", "On The Map:", kOnMapWords, "Past the surge line or the top speed line"),
        word("reason", "Reason:", reasonWords(), "Why a figure is missing"),
        word("held-fixed", "Held Fixed:", kHeldFixed, "What stays fixed from point to point"),
        value("idle-p2", "Idle P2:", "", Q::GaugePressure, "The lowest self-sustaining P2"),
        word("first-limit", "First Limit:", kFirstLimitWords, "The first limit reached"),
        value("first-limit-p2", "First Limit P2:", "", Q::GaugePressure),
        value("surge-p2", "Surge P2:", "", Q::GaugePressure, "Where the line crosses surge"),
        value("top-speed-p2", "Top Speed P2:", "", Q::GaugePressure,
              "Where the line crosses the top speed line"),
        value("turbine-area", "Turbine Area:", "sq. in.", Q::Area),
        value("nozzle-area", "Jet Nozzle Area:", "sq. in.", Q::Area),
    };
    return f;
}

// The rows as a calculation, so that the table, CSV and JSON are written as for every other.
class LineRows final : public Calculation {
public:
    LineRows() {
        for (std::size_t i = 0; i < kColumns; ++i)
            slotList_[i] = lineFields()[i].kind == Kind::Number ? &values_[i] : nullptr;
        slots_ = slotList_;
    }
    std::span<const Field> fields() const override { return lineFields(); }
    void start(int) override {}
    void compute() override {}
    void setChoice(std::size_t field, int index) override { choices_[field] = index; }
    int choice(std::size_t field) const override { return choices_[field]; }

    void put(Column c, double v) { values_[c] = static_cast<float>(v); }
    void put(Column c, std::optional<double> v) { put(c, v.value_or(offdesign::kNoValue)); }
    void clear() {
        values_.fill(std::nanf(""));
        choices_.fill(0);
    }

private:
    std::array<float, kColumns> values_{};
    std::array<int, kColumns> choices_{};
    std::array<float*, kColumns> slotList_{};
};

void fill(LineRows& r, const offdesign::LinePoint& p) {
    r.put(P2, p.p2);
    r.setChoice(Reason, int(p.gap));
    if (p.gap != LineGap::None)
        return; // no figure stands without the balance (or the island) it came from
    r.put(MassFlow, p.massFlow);
    r.put(CompEfficiency, p.compEfficiency);
    r.put(Tit, p.cycle.tit);
    r.put(Tot, p.cycle.turbineOutletTemp);
    r.put(NozzleExit, p.cycle.nozzleExitTemp);
    r.put(Thrust, p.thrust);
    r.put(PressureRatio, p.cycle.compressorPr);
    r.put(TurbinePr, p.cycle.turbinePr);
    r.put(NozzlePr, p.cycle.nozzlePr);
    r.put(Residual, p.residual);
    if (p.onMap) {
        r.put(CorrectedFlow, p.onMap->correctedFlow);
        r.put(MapSpeed, p.onMap->speed ? std::optional<double>(*p.onMap->speed) : std::nullopt);
        r.put(SurgeMargin,
              p.onMap->surgeMargin ? std::optional<double>(*p.onMap->surgeMargin) : std::nullopt);
    }
    r.put(Rpm, p.rpm);
    r.put(TipSpeed, p.tipSpeed);
    r.put(FuelAir, p.fuel[turbo::FuelResult::FuelAirRatio]);
    r.put(FuelFlow, p.fuel[turbo::FuelResult::FuelFlow]);
    r.put(Tsfc, p.fuel[turbo::FuelResult::Tsfc]);
    for (const auto gap : p.fuel.gaps)
        if (gap != turbo::FuelGap::None) {
            r.setChoice(Reason, kNotReachedWord + int(gap));
            break;
        }
    unsigned set = 0;
    for (std::size_t i = 0; i < turbo::kLimitCount; ++i)
        set |= p.limits.exceeds(turbo::Limit(i)) ? 1u << i : 0u;
    r.setChoice(Limits, int(set));
    r.setChoice(OnMap, (p.surges ? 1 : 0) + (p.overSpeed ? 2 : 0));
}

void fillSummary(LineRows& r, const offdesign::RunningLine& line) {
    const auto& s = line.summary();
    r.put(IdleP2, s.idleP2);
    r.put(FirstLimitP2, s.firstLimitP2);
    for (std::size_t i = 0; i < kFirstLimitWords.size(); ++i)
        if (kFirstLimitWords[i] == s.firstLimit)
            r.setChoice(FirstLimit, int(i));
    r.put(SurgeP2, s.surgeP2);
    r.put(TopSpeedP2, s.topSpeedP2);
    r.put(TurbineArea, line.setup().turbineArea);
    r.put(NozzleArea, line.setup().nozzleArea);
}

struct LineArguments {
    std::vector<std::string> engineArgs; // argv as `engine` would take it
    std::optional<std::string> turbineArea, nozzleArea, sweep, columns, loss;
    bool fromDesignPoint = false, efficiencyFromMap = false, help = false;
};

LineArguments splitArguments(int argc, const char* const* argv) {
    LineArguments a;
    a.engineArgs = {argv[0], "engine"};
    const std::pair<std::string_view, std::optional<std::string> LineArguments::*> valued[] = {
        {"--turbine-area", &LineArguments::turbineArea},
        {"--nozzle-area", &LineArguments::nozzleArea},
        {"--sweep", &LineArguments::sweep},
        {"--columns", &LineArguments::columns},
        {"--combustor-loss", &LineArguments::loss}};
    for (int i = 2; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--help" || arg == "-h")
            a.help = true;
        if (arg == "--from-design-point" || arg == "--efficiency-from-map") {
            (arg == "--from-design-point" ? a.fromDesignPoint : a.efficiencyFromMap) = true;
            continue;
        }
        bool taken = false;
        for (const auto& [name, member] : valued) {
            if (arg != name && !arg.starts_with(std::string(name) + "="))
                continue;
            taken = true;
            if (a.*member)
                throw BadInput(std::string(name) + " is given twice");
            if (arg.size() > name.size())
                a.*member = std::string(arg.substr(name.size() + 1));
            else if (i + 1 < argc)
                a.*member = argv[++i];
            else
                throw BadInput(std::string(name) + " needs a value");
        }
        if (!taken)
            a.engineArgs.emplace_back(arg);
    }
    return a;
}

double areaFrom(const std::string& text, const char* option) {
    const auto v = fields::parseSweepNumber(text);
    if (!v || !(*v > 0))
        throw BadInput(std::string(option) + ": " + shown(text) + " is not an area above 0");
    return *v;
}

// The candidate as typed; its ambient from the altitude when `altitude` is set, else from what was
// typed or the window's defaults.
turbo::EngineInputs candidateFrom(const Calculation& calc, bool altitude) {
    turbo::EngineInputs in;
    for (std::size_t i = 0; i < turbo::kEngineInputCount; ++i) {
        const auto input = static_cast<turbo::EngineInput>(i);
        in[input] = calc.get(turbo::engineFieldIndex(input));
    }
    in.massFlowSource =
        static_cast<turbo::MassFlowSource>(calc.choice(turbo::kMassFlowSourceField));
    in.fuel = static_cast<turbo::Fuel>(calc.choice(turbo::kFuelField));
    if (!altitude)
        in[turbo::input("altitude")] = std::nanf("");
    return point::workedOutInputs(in);
}

struct SweepPlan {
    bool bySpeed = false;
    fields::Sweep points;
};

SweepPlan readSweep(const std::optional<std::string>& text, double designP2, bool haveMap) {
    SweepPlan s;
    if (!text) { // 24 points up to half again the design point's P2
        fields::planSweep(designP2 / 16, designP2 * 1.5, designP2 / 16, s.points);
        return s;
    }
    const auto eq = text->find('=');
    const std::string name = text->substr(0, eq);
    if (eq == std::string::npos || (name != "p2" && name != "rpm"))
        throw BadInput("--sweep: " + shown(*text) + " is not p2=START:STOP:STEP or rpm=...");
    s.bySpeed = name == "rpm";
    if (s.bySpeed && !haveMap)
        throw BadInput("--sweep rpm=...: the speed comes from a map; give --map");
    const auto rest = std::string_view(*text).substr(eq + 1);
    const auto c1 = rest.find(':');
    const auto c2 = c1 == std::string_view::npos ? c1 : rest.find(':', c1 + 1);
    std::optional<double> start, stop, step;
    if (c2 != std::string_view::npos) {
        start = fields::parseSweepNumber(rest.substr(0, c1));
        stop = fields::parseSweepNumber(rest.substr(c1 + 1, c2 - c1 - 1));
        step = fields::parseSweepNumber(rest.substr(c2 + 1));
    }
    if (!start || !stop || !step ||
        fields::planSweep(*start, *stop, *step, s.points, 100000) != fields::SweepProblem::None)
        throw BadInput("--sweep: " + shown(*text) +
                       " needs START:STOP:STEP with a step toward STOP, at most 100000 points");
    return s;
}

// The highest pressure ratio traced on the map.
double topPressureRatio(const compmap::CompressorMap& map) {
    double top = 0;
    for (const auto& l : map.lines)
        for (const auto& p : l.points)
            top = std::max(top, double(p.pressureRatio));
    return top;
}

} // namespace

std::string runningLineHelp() {
    return "Usage: " + std::string(kProgram) +
           " running-line [--turbine-area AREA] [--nozzle-area AREA | --from-design-point]\n"
           "       [--sweep p2=START:STOP:STEP | --sweep rpm=START:STOP:STEP --map FILE]\n"
           "       [--efficiency-from-map] [--combustor-loss ratio|percent] [engine options]\n"
           "Where a candidate engine runs with its turbine and jet nozzle fixed: the turbine\n"
           "passes W = A_t P3 phi(turbine PR) / sqrt(T3), a nozzle of effective area A_t with\n"
           "the compressible flow function phi (choked from the critical ratio on), and the\n"
           "convergent jet nozzle passes what its area and the pressure left give. At each P2\n"
           "the turbine inlet temperature is the one where both flows agree (the running line\n"
           "of Saravanamuttoo et al., Gas Turbine Theory, off-design chapter; Walsh & Fletcher,\n"
           "Gas Turbine Performance). The candidate is given with the options of '" +
           std::string(kProgram) +
           " engine'\n(see its --help); its P2, turbine inlet temperature and mass flow are the\n"
           "design point, taken at its ambient without the altitude (15 deg. C and 14.7 psi\n"
           "unless typed): the areas are the built engine's, and --altitude moves only the\n"
           "ambient the line runs in.\n\n"
           "Options:\n"
           "  --turbine-area AREA   Turbine flow capacity, sq. in. (default: from the design\n"
           "                        point)\n"
           "  --nozzle-area AREA    Jet nozzle exit area, sq. in. (default: the design point's)\n"
           "  --from-design-point   Both areas from the design point (the default), so the\n"
           "                        line runs through it\n"
           "  --sweep p2=A:B:S      The points along P2, psig (default: 24 up to 1.5 x P2)\n"
           "  --sweep rpm=A:B:S     The points along the map's speed (corrected rpm)\n"
           "  --map FILE            Place the line on this compressor map: speed, surge\n"
           "                        margin, crossings of the surge and top speed lines\n"
           "  --efficiency-from-map The compressor efficiency from the map's islands,\n"
           "                        iterated until the island holding the point gives it\n"
           "  --combustor-loss W    ratio: --pressure-loss taken off the compressor pressure\n"
           "                        ratio (default, as the Full Analysis); percent: --pressure-\n"
           "                        loss as % of the combustor's inlet pressure\n"
           "  --csv, --json, --columns A,B,..., --digits N   As for the other calculations\n"
           "  --help                Show this help and exit\n\n"
           "Each row gives P2, speed, air flow, turbine inlet and outlet temperature, thrust,\n"
           "fuel (enthalpy balance with temperature-dependent properties, Walsh & Fletcher),\n"
           "TSFC, the map's figures, the flow balance's residual, the limits passed and the\n"
           "reason for every missing figure; the idle (lowest self-sustaining) P2, the first\n"
           "limit reached and the crossings are the same on every row.\n"
           "Altitude: along P2 the gauge P2 is held fixed, so a point at altitude is not the\n"
           "same engine speed; along rpm the map's corrected speed is held fixed, as a real\n"
           "engine at the same corrected speed. The held-fixed column says which.\n";
}

int runRunningLine(int argc, const char* const* argv, std::istream&, std::ostream& out,
                   std::ostream& err) {
    Sink sink(out);
    try {
        const auto a = splitArguments(argc, argv);
        if (a.help) {
            out << runningLineHelp();
            return out.flush() ? kExitOk : kExitWriteFailed;
        }
        if (a.fromDesignPoint && (a.turbineArea || a.nozzleArea))
            throw BadInput("--from-design-point takes both areas from the design point: drop "
                           "--turbine-area and --nozzle-area, or it");
        std::vector<const char*> engineArgv;
        for (const auto& s : a.engineArgs)
            engineArgv.push_back(s.c_str());
        Arguments args = parseArguments(static_cast<int>(engineArgv.size()), engineArgv.data());
        if (args.given("input"))
            throw BadInput("--input does not apply to running-line");
        Plan plan = makePlan(args);
        if (a.columns)
            plan.columns = [&] {
                std::vector<std::string> names;
                std::size_t start = 0;
                for (;;) {
                    const auto comma = a.columns->find(',', start);
                    names.push_back(a.columns->substr(start, comma - start));
                    if (comma == std::string::npos)
                        return names;
                    start = comma + 1;
                }
            }();
        startPoint(*args.calc, plan, -1);
        const auto candidate = candidateFrom(*args.calc, true);
        // The engine is built for its design point on the ground: the areas come from there,
        // and an altitude moves only the ambient the line runs in.
        const auto grounded = candidateFrom(*args.calc, false);
        const auto design = turbo::evaluateEngine(grounded);

        offdesign::LineSetup setup;
        auto& assumed = setup.assumed;
        assumed.compEfficiency = candidate[turbo::EngineInput::CompEfficiency];
        assumed.turbineEfficiency = candidate[turbo::EngineInput::TurbineEfficiency];
        assumed.nozzleEfficiency = candidate[turbo::EngineInput::NozzleEfficiency];
        assumed.ambientTemp = candidate[turbo::EngineInput::AmbientTemp];
        assumed.ambientPressure = candidate[turbo::EngineInput::AmbientPressure];
        assumed.lossValue = turbo::typedDecimal(candidate[turbo::input("pressure-loss")]);
        if (a.loss) {
            if (*a.loss == offdesign::kCombustorLossWords[1])
                assumed.loss = offdesign::CombustorLoss::PercentOfP3;
            else if (*a.loss != offdesign::kCombustorLossWords[0])
                throw BadInput("--combustor-loss: " + shown(*a.loss) +
                               " is not one of ratio, percent");
        }
        const double designP2 = candidate[turbo::EngineInput::P2];
        auto designAssumed = assumed;
        designAssumed.ambientTemp = grounded[turbo::EngineInput::AmbientTemp];
        designAssumed.ambientPressure = grounded[turbo::EngineInput::AmbientPressure];
        const auto areas = offdesign::designAreas(designAssumed, designP2, design.turbineInletTemp,
                                                  design.massFlow);
        setup.turbineArea =
            a.turbineArea ? areaFrom(*a.turbineArea, "--turbine-area") : areas.turbine;
        setup.nozzleArea = a.nozzleArea ? areaFrom(*a.nozzleArea, "--nozzle-area") : areas.nozzle;
        setup.fuel = turbo::fuelInputs(candidate.fuel, candidate[turbo::input("fuel-lhv")],
                                       candidate[turbo::input("fuel-density")],
                                       candidate[turbo::input("combustion-efficiency")]);
        setup.limits[turbo::Limit::TurbineInletTemp] =
            candidate[turbo::input("turbine-inlet-temp-limit")];
        setup.limits[turbo::Limit::TurbineOutletTemp] =
            candidate[turbo::input("turbine-outlet-temp-limit")];
        setup.limits[turbo::Limit::TipSpeed] = candidate[turbo::input("tip-speed-limit")];
        setup.limits[turbo::Limit::NozzleCriticalPr] =
            candidate[turbo::input("nozzle-critical-pr")];
        setup.compOutletDiameter = candidate[turbo::EngineInput::CompOutletDiameter];

        std::optional<MapLibrary> maps;
        if (args.given("map")) {
            maps.emplace(mapImportSettings(args));
            setup.map = &maps->load(args.values("map").front(), "--map");
        }
        if (a.efficiencyFromMap && !setup.map)
            throw BadInput("--efficiency-from-map needs --map");
        setup.efficiencyFromMap = a.efficiencyFromMap;
        const auto sweep = readSweep(a.sweep, designP2, setup.map != nullptr);

        // The range searched for idle, limits and crossings: from no boost to the map's top or
        // beyond the sweep.
        double high = std::max(1.5 * designP2, 1.0);
        if (!sweep.bySpeed)
            for (const std::size_t i : {std::size_t{0}, sweep.points.count - 1})
                high = std::max(high, double(sweep.points.point(i)));
        if (setup.map)
            high = std::max(high, (topPressureRatio(*setup.map) - 1) * assumed.ambientPressure);
        const offdesign::RunningLine line(setup, high / 400, high);

        LineRows rows;
        PointWriter writer(sink, plan.format, rows, outputColumns(rows, plan), plan.digits,
                           TableLayout::Rows);
        writer.begin();
        for (std::size_t i = 0; i < sweep.points.count; ++i) {
            const double v = sweep.points.point(i);
            rows.clear();
            if (!sweep.bySpeed) {
                fill(rows, line.at(v));
            } else if (const auto p = line.atSpeed(v)) {
                fill(rows, *p);
            } else {
                rows.setChoice(Reason, kNotReachedWord);
                rows.put(MapSpeed, v);
            }
            rows.setChoice(HeldFixed, sweep.bySpeed ? 1 : 0);
            fillSummary(rows, line);
            writer.point();
        }
    } catch (const BadInput& e) {
        sink.flush();
        err << kProgram << ": " << e.what() << "\nRun '" << kProgram
            << " running-line --help' for more.\n";
        return kExitBadInput;
    } catch (const OutputFailed& e) {
        err << kProgram << ": " << e.what() << '\n';
        return kExitWriteFailed;
    }
    if (!sink.flush()) {
        err << kProgram << ": " << OutputFailed().what() << '\n';
        return kExitWriteFailed;
    }
    return kExitOk;
}

} // namespace cli
