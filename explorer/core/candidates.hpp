#pragma once
// The Design Explorer's candidate engines, without any window: each candidate's name and inputs
// as typed, and its figures.

#include "engine.hpp"
#include "evaluate_point.hpp"
#include "number_text.hpp"
#include "run_log.hpp"
#include "text.hpp"

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace explorer {

using turbo::EngineInput;
using turbo::EngineResult;
using turbo::MassFlowSource;

// One input of a candidate. Text that is not a number is kept as typed, so the row still shows it
// and says what is wrong; such a candidate is not computed.
struct Cell {
    float value = 0;  // in the forms' units; meaningless while bad
    std::string text; // what was typed, when it is not a number
    bool bad = false;

    static Cell number(float value) { return Cell{value, {}, false}; }
};

// How many candidates the chart tells apart, each by its own colour and line style.
inline constexpr int kLookCount = 20;

struct Candidate {
    std::string name;
    int look = -1; // its colour and line style on the chart, 0 to kLookCount - 1; -1 until given
    MassFlowSource massFlowSource = MassFlowSource::Typed;
    turbo::Fuel fuel = turbo::Fuel::Kerosene;
    std::array<Cell, turbo::kEngineInputCount> inputs; // by EngineInput
    std::string map; // its compressor map file, relative to the candidates file; "" for none
    // Its run log's file, relative to the candidates file (absolute until first saved); "" for
    // none.
    std::string runLogFile;
    std::shared_ptr<const runs::RunLog> runLog; // measured points, when opened
    // The compressor efficiency at each point read off that map instead of the typed one.
    bool efficiencyFromMap = false;

    // A candidate with the Turbo Analysis window's defaults; its ambient values and fuel
    // properties not given, so the altitude and the fuel decide them.
    explicit Candidate(std::string name = "Candidate");

    Cell& operator[](EngineInput i) { return inputs[static_cast<std::size_t>(i)]; }
    const Cell& operator[](EngineInput i) const { return inputs[static_cast<std::size_t>(i)]; }
};

// The two candidates a new explorer starts with: the Turbo Analysis window's defaults, and a
// smaller wheel whose mass flow is the wheel's estimate.
std::vector<Candidate> startingCandidates();

// Reads a cell's text as a display value of the input in the given units, by the rule of the
// windows' boxes (fields::parseFloat), and converts it to the forms' units. Text that is not a
// number gives a bad cell holding the text.
Cell readCell(EngineInput input, fields::UnitSystem units, std::string_view text);

// The cell's text as shown in the given units: the number to six significant digits, or the bad
// text as typed.
std::string cellText(EngineInput input, fields::UnitSystem units, const Cell& cell);

// What stops the candidate from being computed, naming the candidate and the input
// ("Candidate \"T3\": Inducer Diameter: \"4,3\" is not a number"); nullopt when every cell holds a
// number. Only the first bad cell is named.
std::optional<std::string> problem(const Candidate& candidate);

// [range check] The first input outside its physical range (an ambient at or below absolute
// zero, an efficiency of 0 or over 100 %, ...): "no figures: Turbine Efficiency is outside ...".
// Such a candidate gets no figures and no curve.
std::optional<std::string> rangeProblem(const Candidate& candidate);
// The same for inputs as a sweep moves them, without the lead: "Ambient Temperature is at or
// below absolute zero ...".
std::optional<std::string> rangeProblem(const turbo::EngineInputs& in, bool efficiencyFromMap);

// The candidate's inputs as the engine takes them; nullopt when a cell is bad.
std::optional<turbo::EngineInputs> engineInputs(const Candidate& candidate);

// The candidate's point, as point::evaluatePoint works it out (on its map when given, with the
// efficiency read off it when the candidate asks); nullopt when a cell is bad.
std::optional<point::Point> evaluate(const Candidate& candidate,
                                     const compmap::CompressorMap* map = nullptr);

// The cell's text as shown: for an input not given, the value the point works out for it.
std::string cellText(const Candidate& candidate, EngineInput input, fields::UnitSystem units);

// Pieces of messages: the input's plain label ("Inducer Diameter", "P2"), and the program's
// quoting and "not a number" wording.
std::string inputName(EngineInput input);
using fields::notANumber;
using text::quoted;

} // namespace explorer
