#include "run.hpp"

#include "batch.hpp"
#include "fit_command.hpp"
#include "help.hpp"
#include "map_matching.hpp"
#include "messages.hpp"
#include "options.hpp"
#include "output.hpp"
#include "plan.hpp"
#include "running_line_command.hpp"
#include "sweep_option.hpp"
#include "tube_template.hpp"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace cli {

namespace {

void runSweeps(Calculation& calc, const Plan& plan, PointWriter& writer, std::ostream& err) {
    std::vector<std::size_t> index(plan.sweeps.size(), 0);
    for (;;) {
        startPoint(calc, plan, plan.unitIndex);
        for (std::size_t s = 0; s < plan.sweeps.size(); ++s)
            calc.set(plan.sweeps[s].field, plan.sweeps[s].points.point(index[s]));
        // [range check] A point outside the physical range has no figures; the others go on.
        const auto refused = computeInRange(calc);
        if (refused)
            err << kProgram << ": " << *refused << "; no figures for this point\n";
        writer.point({}, refused.has_value());
        // The last sweep moves fastest.
        std::size_t s = plan.sweeps.size();
        while (s > 0 && ++index[s - 1] == plan.sweeps[s - 1].points.count)
            index[--s] = 0;
        if (s == 0)
            return;
    }
}

void runInput(const Arguments& args, const Plan& plan, std::istream& in, Sink& sink,
              std::ostream& err) {
    std::ifstream file;
    std::istream* source = &in;
    std::string name = "standard input";
    if (*plan.input != "-") {
        std::error_code ec;
        if (std::filesystem::is_directory(*plan.input, ec))
            throw BadInput("--input: " + shown(*plan.input) + " is a directory");
        file.open(*plan.input, std::ios::binary);
        if (!file)
            throw BadInput("--input: cannot open " + shown(*plan.input) + ": " +
                           std::strerror(errno));
        source = &file;
        name = *plan.input;
    }
    runBatch(args.info->name, *args.calc, plan, *source, name, sink, err, mapImportSettings(args));
    if (source->bad())
        throw BadInput("--input: reading " + name + " failed: " + std::strerror(errno));
}

} // namespace

int run(int argc, const char* const* argv, std::istream& in, std::ostream& out, std::ostream& err) {
    if (argc > 1 && argv[1] == kFitCommand)
        return runFit(argc, argv, in, out, err);
    if (argc > 1 && argv[1] == kRunningLineCommand)
        return runRunningLine(argc, argv, in, out, err);
    Arguments args;
    try {
        args = parseArguments(argc, argv);
    } catch (const BadInput& e) {
        std::string command(kProgram);
        for (int i = 1; i < argc; ++i)
            if (findCalculation(argv[i])) {
                command += ' ';
                command += argv[i];
                break;
            }
        err << kProgram << ": " << e.what() << "\nRun '" << command << " --help' for more.\n";
        return kExitBadInput;
    }
    switch (args.action) {
    case Arguments::Action::Help:
        out << (args.info ? calculationHelp(*args.info, *args.calc) : programHelp());
        return out.flush() ? kExitOk : kExitWriteFailed;
    case Arguments::Action::Version:
        out << versionText();
        return out.flush() ? kExitOk : kExitWriteFailed;
    case Arguments::Action::Completion:
        out << bashCompletion();
        return out.flush() ? kExitOk : kExitWriteFailed;
    case Arguments::Action::Run:
        break;
    }
    if (!args.info) {
        // fit is a command of its own, parsed apart, but a choice all the same.
        auto choices = calculationNames();
        choices.emplace_back(kFitCommand);
        err << kProgram << ": choose a calculation: " << joined(choices) << ".\nRun '" << kProgram
            << " --help' for more.\n";
        return kExitBadInput;
    }

    Sink sink(out);
    try {
        std::optional<MapLibrary> maps;
        const auto& mapFile = args.values("map");
        if (!mapFile.empty()) {
            if (!args.calc->runsCycle())
                throw BadInput("--map is for cycle and engine, which run the cycle");
            maps.emplace(mapImportSettings(args));
            auto mapped = std::make_unique<MappedCalculation>(std::move(args.calc));
            mapped->useMap(&maps->load(mapFile.front(), "--map", userfile::Source::AlsoPipes));
            args.calc = std::move(mapped);
            args.inputs.resize(args.calc->fields().size()); // the map's fields are results
        }
        Calculation& calc = *args.calc;
        const Plan plan = makePlan(args);
        checkTemplateOptions(args, !plan.input && plan.sweeps.empty());
        if (plan.input) {
            runInput(args, plan, in, sink, err);
        } else {
            const auto layout = plan.sweeps.empty() ? TableLayout::Form : TableLayout::Rows;
            PointWriter writer(sink, plan.format, calc, outputColumns(calc, plan), plan.digits,
                               layout);
            writer.begin();
            if (plan.sweeps.empty()) {
                startPoint(calc, plan, plan.unitIndex);
                // [range check] One point outside the physical range: its reason, no figures.
                if (const auto refused = computeInRange(calc))
                    throw BadInput("--" + *refused + "; no figures");
                writeTemplate(args, calc);
                writer.point();
            } else {
                runSweeps(calc, plan, writer, err);
            }
        }
    } catch (const BadInput& e) {
        sink.flush(); // the points before the bad one stand
        err << kProgram << ": " << e.what() << '\n';
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
