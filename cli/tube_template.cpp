#include "tube_template.hpp"

#include "messages.hpp"
#include "svg_writer.hpp"
#include "template.hpp"
#include "user_file.hpp"

namespace cli {

namespace {

flametube::Paper paperOf(const Arguments& args) {
    if (!args.given("paper"))
        return flametube::Paper::A4;
    const std::string& text = args.values("paper").front();
    if (text == "a4" || text == "A4")
        return flametube::Paper::A4;
    if (text == "letter" || text == "Letter")
        return flametube::Paper::Letter;
    throw BadInput("--paper: " + shown(text) + " is not a paper; choose a4 or letter");
}

} // namespace

void checkTemplateOptions(const Arguments& args, bool onePoint) {
    if (!args.given("template") && !args.given("paper"))
        return;
    if (!args.calc->tubePlan())
        throw BadInput(std::string(args.given("template") ? "--template" : "--paper") +
                       " is for flame-tube, which draws the tube");
    if (!args.given("template"))
        throw BadInput("--paper goes with --template");
    if (!onePoint)
        throw BadInput("--template draws one tube; it does not go with --input or --sweep");
    paperOf(args);
}

void writeTemplate(const Arguments& args, const Calculation& calc) {
    if (!args.given("template"))
        return;
    const flametube::TubePlan& plan = *calc.tubePlan();
    if (plan.mmPerUnit <= 0)
        throw BadInput("--template: choose a unit with --units (in, mm or cm) to draw the tube");
    if (!plan.drillable()) {
        for (std::size_t r = 0; r < plan.rows.size(); ++r)
            if (!plan.rows[r].choice)
                throw BadInput("--template: no drill of the series gives the " +
                               std::string(flametube::kRowNames[r]) +
                               " row's hole area within 5 % in whole holes");
        throw BadInput("--template: the tube has no size to draw");
    }
    const auto drawn = flametube::drawTemplate(plan, paperOf(args), "Flame tube");
    const std::string& file = args.values("template").front();
    if (const auto problem = userfile::write(file, flametube::svgText(drawn.drawing)))
        throw BadInput("--template: " + shown(file) + " was not written: " + *problem);
}

} // namespace cli
