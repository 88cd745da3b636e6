// The turbine inlet temperature as a cycle input, and vorlaxen-calc engine on the Design
// Explorer's own file.

#include "cli_test_support.hpp"

#include "candidate_file.hpp"
#include "candidates.hpp"
#include "engine_cycle.hpp"
#include "number_text.hpp"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

using namespace clitest;

namespace {

TEST(Cycle, TurbineInletTempAsOptionAndColumn) {
    // At 788 nothing changes: the option gives the output without it, byte for byte.
    EXPECT_EQ(calc({"cycle", "--turbine-inlet-temp", "788", "--csv"}).out,
              calc({"cycle", "--csv"}).out);
    turbo::TurboFields f;
    f.m_P2 = 20;
    turbo::calcFullAnalysis(f, 900.5f);
    const auto byOption =
        csvPoint(calc({"cycle", "--p2", "20", "--turbine-inlet-temp", "900.5", "--csv"}).out);
    const auto byColumn =
        csvPoint(calc({"cycle", "--input", "-", "--csv"}, "turbine-inlet-temp,p2\n900.5,20\n").out);
    for (const auto& point : {byOption, byColumn}) {
        EXPECT_EQ(point.at("turbine-inlet-temp"), "900.5");
        EXPECT_TRUE(sameFloat(number(point.at("turbine-outlet-temp")), f.m_TurbineOutletTemp));
        EXPECT_TRUE(sameFloat(number(point.at("thrust")), f.m_Thrust));
    }
    EXPECT_NE(f.m_Thrust,
              number(csvPoint(calc({"cycle", "--p2", "20", "--csv"}).out).at("thrust")));
}

// The explorer's saved file runs through engine unchanged and gives the figures of its rows.
TEST(Engine, ExplorerFileGivesTheExplorersFigures) {
    auto candidates = explorer::startingCandidates();
    explorer::Candidate hot("Hot, \"big\" wheel");
    hot[explorer::EngineInput::TurbineInletTemp] = explorer::Cell::number(905.25f);
    hot[explorer::EngineInput::MassFlow] = explorer::Cell::number(2.7f);
    hot[explorer::EngineInput::P2] = explorer::Cell::number(1.5f); // no thrust: nozzle PR below 1
    candidates.push_back(hot);
    // Every new input away from its default: the fuel, assumptions and limits agree too.
    explorer::Candidate diesel("Diesel, fast wheel");
    diesel.fuel = turbo::Fuel::Diesel;
    diesel[turbo::input("combustion-efficiency")] = explorer::Cell::number(90);
    diesel[turbo::input("tip-speed")] = explorer::Cell::number(1600);
    diesel[turbo::input("pressure-loss")] = explorer::Cell::number(0.15f);
    diesel[turbo::input("turbine-outlet-temp-limit")] = explorer::Cell::number(600);
    candidates.push_back(diesel);
    for (std::size_t i = 0; i < candidates.size(); ++i)
        candidates[i].look = static_cast<int>(i) + 4;
    std::ostringstream file;
    ASSERT_FALSE(explorer::writeCandidates(file, candidates));

    const auto outcome = calc({"engine", "--input", "-", "--csv"}, file.str());
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_EQ(outcome.err,
              "vorlaxen-calc: carried through unchanged, not inputs of engine: name, look\n");
    std::string header = "name,look";
    for (const auto& f : fields::kEngineFields)
        header += "," + std::string(f.key);
    EXPECT_TRUE(outcome.out.starts_with(header + "\n")) << outcome.out;

    // Quoted names come back quoted, each look as it was (1 to 20 in the file); the numbers
    // start after them.
    std::istringstream lines(outcome.out);
    std::string line;
    std::getline(lines, line);
    for (const auto& candidate : candidates) {
        ASSERT_TRUE(std::getline(lines, line));
        const auto results = explorer::evaluate(candidate);
        ASSERT_TRUE(results);
        std::string name = candidate.name;
        if (name.find_first_of(",\"") != std::string::npos) {
            std::string q = "\"";
            for (char c : name)
                q += c == '"' ? std::string("\"\"") : std::string(1, c);
            name = q + "\"";
        }
        name += "," + std::to_string(candidate.look + 1);
        ASSERT_TRUE(line.starts_with(name + ",")) << line;
        const auto row = csvRows(line.substr(name.size() + 1))[0];
        ASSERT_EQ(row.size(), fields::kEngineFields.size());
        EXPECT_EQ(row[turbo::kMassFlowSourceField],
                  candidate.massFlowSource == turbo::MassFlowSource::Estimate ? "estimate"
                                                                              : "typed");
        EXPECT_TRUE(sameFloat(number(row[turbo::engineFieldIndex(explorer::EngineInput::MassFlow)]),
                              results->results.massFlow));
        for (std::size_t r = 0; r < turbo::kEngineResultCount; ++r) {
            const auto result = static_cast<turbo::EngineResult>(r);
            if (turbo::engineField(result).kind != fields::Kind::Number) { // the limits, as words
                EXPECT_EQ(row[turbo::engineFieldIndex(result)],
                          fields::kLimitWords[results->limitSet]);
                continue;
            }
            EXPECT_TRUE(sameFloat(number(row[turbo::engineFieldIndex(result)]), (*results)[result]))
                << candidate.name << ' ' << turbo::engineField(result).key;
        }
    }
    EXPECT_FALSE(std::getline(lines, line));
}

TEST(Engine, MassFlowSourceWords) {
    const auto estimate = csvPoint(calc({"engine", "--mass-flow-source", "Estimate", "--columns",
                                         "mass-flow-source,mass-flow,mass-flow-estimate", "--csv"})
                                       .out);
    EXPECT_EQ(estimate.at("mass-flow-source"), "estimate");
    EXPECT_EQ(estimate.at("mass-flow"), estimate.at("mass-flow-estimate"));
    const auto bad = calc({"engine", "--input", "-"}, "mass-flow-source\nguess\n");
    EXPECT_EQ(bad.status, 2);
    EXPECT_EQ(bad.err, "vorlaxen-calc: standard input, line 2, column 1 (mass-flow-source): "
                       "\"guess\" is not one of typed, estimate, turbine\n");
}

} // namespace
