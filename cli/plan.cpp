#include "plan.hpp"

#include "messages.hpp"
#include "number_text.hpp"

#include <algorithm>
#include <charconv>

namespace cli {

bool Plan::isGiven(std::size_t field) const {
    for (const auto& g : given)
        if (g.field == field)
            return true;
    for (const auto& c : choices)
        if (c.field == field)
            return true;
    return false;
}

int choiceFromText(const Field& field, std::string_view text, const std::string& where) {
    const auto choice = choiceFromText(field, text);
    if (!choice) {
        std::vector<std::string> words(field.choices.begin(), field.choices.end());
        throw BadInput(where + ": " + shown(text) + " is not one of " + joined(words));
    }
    return *choice;
}

int unitIndexFromText(std::string_view text, const std::string& where) {
    const auto unit = unitFromKey(text);
    if (!unit)
        throw BadInput(where + ": " + shown(text) + " is not a unit; choose in, mm, cm or none");
    return *unit;
}

std::string bothTurbineTemps(std::string_view dash) {
    const std::string outlet = std::string(dash) + std::string(fields::kOutletGiven.first);
    const std::string inlet = std::string(dash) + std::string(fields::kOutletGiven.second);
    return inlet + " and " + outlet + " are both given: drop " + inlet +
           ", which is then solved from the measured outlet temperature";
}

std::optional<std::size_t> otherTurbineTemp(const Calculation& calc, std::size_t field) {
    const auto fields = calc.fields();
    const auto outlet = findField(fields, fields::kOutletGiven.first);
    const auto inlet = findField(fields, fields::kOutletGiven.second);
    if (!outlet || !inlet || !isInput(fields[*outlet]))
        return std::nullopt;
    if (field == *outlet)
        return inlet;
    if (field == *inlet)
        return outlet;
    return std::nullopt;
}

namespace {

int readDigits(const std::string& text) {
    int digits = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), digits);
    if (text.empty() || error != std::errc{} || end != text.data() + text.size() || digits < 1 ||
        digits > kMaxDigits)
        throw BadInput("--digits: " + shown(text) + " is not a whole number from 1 to " +
                       std::to_string(kMaxDigits));
    return digits;
}

std::vector<std::string> readColumns(const std::string& text) {
    std::vector<std::string> names;
    std::size_t start = 0;
    for (;;) {
        const auto comma = text.find(',', start);
        std::string name = text.substr(start, comma - start);
        if (name.empty())
            throw BadInput("--columns: " + shown(text) + " has an empty name; write A,B,C");
        for (const auto& n : names)
            if (n == name)
                throw BadInput("--columns: " + shown(name) + " appears twice");
        names.push_back(std::move(name));
        if (comma == std::string::npos)
            return names;
        start = comma + 1;
    }
}

} // namespace

Plan makePlan(const Arguments& args) {
    const Calculation& calc = *args.calc;
    const auto fields = calc.fields();
    Plan plan;
    if (args.given("csv") && args.given("json"))
        throw BadInput("--csv and --json exclude each other; choose one");
    plan.format = args.given("csv")    ? Format::Csv
                  : args.given("json") ? Format::Json
                                       : Format::Table;
    if (args.given("digits"))
        plan.digits = readDigits(args.values("digits").front());
    if (args.given("columns"))
        plan.columns = readColumns(args.values("columns").front());

    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (!args.inputs[i])
            continue;
        const std::string option = "--" + std::string(fields[i].key);
        const auto& text = *args.inputs[i];
        if (fields[i].kind == Kind::Units) {
            plan.unitIndex = unitIndexFromText(text, option);
            plan.unitGiven = true;
            continue;
        }
        if (fields[i].kind == Kind::Choice) {
            plan.choices.push_back({i, choiceFromText(fields[i], text, option)});
            continue;
        }
        const auto value = fields::parseFloat(text);
        if (!value)
            throw BadInput(option + ": " + numberProblem(text));
        plan.given.push_back({i, *value});
    }

    std::size_t rows = 1;
    for (const auto& sweepText : args.values("sweep")) {
        const Sweep sweep = parseSweep(calc, sweepText);
        const std::string name(fields[sweep.field].key);
        if (plan.isGiven(sweep.field))
            throw BadInput("--sweep " + sweepText + ": --" + name + " is also given");
        for (const auto& s : plan.sweeps)
            if (s.field == sweep.field)
                throw BadInput("--sweep " + sweepText + ": " + name + " is swept twice");
        rows *= sweep.points.count;
        if (rows > fields::kMaxSweepRows)
            throw BadInput("--sweep: more than " + std::to_string(fields::kMaxSweepRows) +
                           " points in all");
        plan.sweeps.push_back(sweep);
    }

    for (const auto& g : plan.given)
        if (const auto other = otherTurbineTemp(calc, g.field); other && plan.isGiven(*other))
            throw BadInput(bothTurbineTemps("--"));
    for (const auto& sweep : plan.sweeps)
        if (const auto other = otherTurbineTemp(calc, sweep.field);
            other && (plan.isGiven(*other) ||
                      std::any_of(plan.sweeps.begin(), plan.sweeps.end(),
                                  [&](const Sweep& t) { return t.field == *other; })))
            throw BadInput(bothTurbineTemps("--"));

    if (args.given("input")) {
        if (!plan.sweeps.empty())
            throw BadInput("--input and --sweep exclude each other; choose one");
        plan.input = args.values("input").front();
    } else {
        for (std::size_t i = 0; i < fields.size(); ++i) {
            if (!fields[i].required || plan.isGiven(i))
                continue;
            bool swept = false;
            for (const auto& s : plan.sweeps)
                swept = swept || s.field == i;
            if (!swept)
                throw BadInput(std::string(args.info->name) + ": --" + std::string(fields[i].key) +
                               " is required");
        }
    }
    return plan;
}

std::vector<OutColumn> outputColumns(const Calculation& calc, const Plan& plan,
                                     std::vector<OutColumn> carried) {
    auto all = std::move(carried);
    for (auto& c : allFields(calc))
        all.push_back(std::move(c));
    if (plan.columns.empty())
        return all;
    std::vector<OutColumn> chosen;
    std::vector<std::string> names;
    for (const auto& c : all)
        names.push_back(c.name);
    for (const auto& wanted : plan.columns) {
        bool found = false;
        for (const auto& c : all)
            if (c.name == wanted) {
                chosen.push_back(c);
                found = true;
            }
        if (!found) {
            std::string message = "--columns: no column " + shown(wanted);
            if (const auto near = closest(wanted, names); !near.empty())
                message += "; did you mean " + std::string(near) + "?";
            else
                message += "; the columns are " + joined(names);
            throw BadInput(message);
        }
    }
    return chosen;
}

} // namespace cli

namespace cli {

void startPoint(Calculation& calc, const Plan& plan, int unitIndex) {
    calc.start(unitIndex);
    for (const auto& g : plan.given)
        calc.set(g.field, g.value);
    for (const auto& c : plan.choices)
        calc.setChoice(c.field, c.index);
}

} // namespace cli
