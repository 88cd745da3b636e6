// --map on the command line: the figures of the demonstration map at the Turbo Analysis defaults
// worked out by hand from its file, a digitizer's map with its unit and reference given, and a
// candidates file whose rows name their maps.
#include "cli_test_support.hpp"

#include "candidate_file.hpp"
#include "workspace.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

using namespace clitest;

namespace {

const std::string kDemo = VX_DEMO_MAP;

std::map<std::string, std::string> jsonPoint(const std::string& out) {
    return jsonObject(out.substr(0, out.find('\n')));
}

TEST(MapOption, DemonstrationMapAtTheDefaults) {
    const auto out = calc({"cycle", "--map", kDemo, "--csv"});
    ASSERT_EQ(out.status, 0) << out.err;
    const auto point = csvPoint(out.out);
    // 1.41 lb/s on the reference day is 84.6 lb/min. PRc is 3.17687; the surge line runs from
    // (59.5, 3.095) to (63, 3.349) there: 59.5 + 0.08187 / 0.254 x 3.5 = 60.628 lb/min, so the
    // margin is (84.6 - 60.628) / 84.6 = 28.34 %.
    EXPECT_FLOAT_EQ(number(point.at("corrected-flow")), 84.6f);
    EXPECT_NEAR(number(point.at("pressure-ratio")), 3.17687, 1e-5);
    EXPECT_NEAR(number(point.at("surge-margin")), 28.34, 0.01);
    EXPECT_EQ(point.at("map-efficiency"), "65");
    // Between the 80,000 rpm line (about 2.88 there) and the 90,000 rpm line (about 3.40).
    EXPECT_GT(number(point.at("map-speed")), 85000);
    EXPECT_LT(number(point.at("map-speed")), 87000);
    // Below 1 psig of boost the point is under every speed line and island: no figures.
    const auto low = jsonPoint(calc({"cycle", "--map", kDemo, "--p2", "0.5", "--json"}).out);
    EXPECT_EQ(low.at("map-speed"), "null");
    EXPECT_EQ(low.at("map-efficiency"), "null");
}

TEST(MapOption, DigitizerMapWithItsUnitAndReference) {
    const auto folder = std::filesystem::temp_directory_path() / "vx-map-option-test";
    std::filesystem::create_directories(folder / "maps");
    std::ofstream(folder / "maps" / "wpd.csv") << "surge,\nX,Y\n0.2,1\n0.2,5\n";
    const std::string map = (folder / "maps" / "wpd.csv").string();
    // At 288 K and 29.4 psi the reference halves the pressure term: 1.41 lb/s x 0.45359237 x 2.
    const auto out = calc(
        {"cycle", "--map", map, "--map-flow-unit", "kg/s", "--map-ref-pressure", "29.4", "--json"});
    ASSERT_EQ(out.status, 0) << out.err;
    const auto point = jsonPoint(out.out);
    EXPECT_FLOAT_EQ(number(point.at("corrected-flow")), 1.41f * 0.45359237f * 2);
    EXPECT_NEAR(number(point.at("surge-margin")), (1.2791305 - 0.2) / 1.2791305 * 100, 1e-3);

    // Rows name their maps relative to the candidates file; an empty cell has none.
    std::ofstream(folder / "engines.csv")
        << "name,p2,map\nmapped,32,maps/wpd.csv\nunmapped,32,\nlost,32,maps/none.vxmap\n";
    const auto rows =
        calc({"engine", "--input", (folder / "engines.csv").string(), "--map-flow-unit", "kg/s",
              "--csv", "--columns", "corrected-flow,surge-margin,name"});
    EXPECT_EQ(rows.status, 2);
    EXPECT_EQ(csvRows(rows.out).size(), 3u) << rows.out; // the header and the rows before
    EXPECT_EQ(csvRows(rows.out)[2], (std::vector<std::string>{"", "", "unmapped"}));
    EXPECT_NE(rows.err.find("engines.csv, line 4, column 3 (map): "), std::string::npos)
        << rows.err;
    EXPECT_NE(rows.err.find("none.vxmap: cannot open"), std::string::npos) << rows.err;
    std::filesystem::remove_all(folder);
}

// The explorer's table and vorlaxen-calc engine put the same file's candidates on the same map
// bit for bit.
TEST(MapOption, EngineGivesTheExplorersFigures) {
    const auto folder = std::filesystem::temp_directory_path() / "vx-map-explorer-test";
    std::filesystem::create_directories(folder);
    std::filesystem::copy_file(kDemo, folder / "demo.vxmap",
                               std::filesystem::copy_options::overwrite_existing);
    auto candidates = explorer::startingCandidates();
    for (auto& c : candidates)
        c.map = "demo.vxmap";
    candidates[1][explorer::EngineInput::P2] = explorer::Cell::number(17.25f);
    ASSERT_FALSE(explorer::saveCandidates(folder / "c.csv", candidates));
    const auto out = calc({"engine", "--input", (folder / "c.csv").string(), "--json"});
    ASSERT_EQ(out.status, 0) << out.err;
    explorer::Workspace work;
    ASSERT_FALSE(work.open(folder / "c.csv"));
    std::istringstream lines(out.out);
    std::string line;
    for (std::size_t c = 0; c < work.size(); ++c) {
        ASSERT_TRUE(std::getline(lines, line));
        const auto point = jsonObject(line);
        const auto& f = work.point(c).match;
        ASSERT_TRUE(f && f->surgeMargin && f->efficiency && f->speed);
        EXPECT_TRUE(sameFloat(number(point.at("corrected-flow")), f->correctedFlow));
        EXPECT_TRUE(sameFloat(number(point.at("pressure-ratio")), f->pressureRatio));
        EXPECT_TRUE(sameFloat(number(point.at("surge-margin")), *f->surgeMargin));
        EXPECT_TRUE(sameFloat(number(point.at("map-efficiency")), *f->efficiency));
        EXPECT_TRUE(sameFloat(number(point.at("map-speed")), *f->speed));
    }
    std::filesystem::remove_all(folder);
}

TEST(MapOption, OnlyForTheCalculationsThatRunTheCycle) {
    const auto out = calc({"max-rpm", "--map", kDemo});
    EXPECT_EQ(out.status, 2);
    EXPECT_NE(out.err.find("--map is for cycle and engine"), std::string::npos) << out.err;
    EXPECT_EQ(calc({"cycle", "--map", kDemo, "--map-flow-unit", "lb/h"}).status, 2);
}

} // namespace

// At the defaults the point is in the 65 % island (above): taking the efficiency from the map is
// then the same engine as typing 65, bit for bit. Below every island there is no thrust.
TEST(MapOption, EfficiencyFromTheMap) {
    const auto folder = std::filesystem::temp_directory_path() / "vx-map-efficiency-test";
    std::filesystem::create_directories(folder);
    std::filesystem::copy_file(kDemo, folder / "demo.vxmap",
                               std::filesystem::copy_options::overwrite_existing);
    const auto file = (folder / "engines.csv").string();
    const std::vector<std::string> columns = {
        "engine", "--input",   file,
        "--csv",  "--columns", "comp-efficiency,comp-temp-rise,thrust,tsfc"};
    std::ofstream(file) << "name,p2,comp-efficiency,map,efficiency-from-map\n"
                        << "map,32,70,demo.vxmap,Yes\ntyped,32,65,demo.vxmap,no\n"
                        << "low,0.5,70,demo.vxmap,yes\n";
    const auto out = calc(columns);
    ASSERT_EQ(out.status, 0) << out.err;
    const auto rows = csvRows(out.out);
    ASSERT_EQ(rows.size(), 4u) << out.out;
    EXPECT_EQ(rows[1][0], "65");
    EXPECT_EQ(rows[1], rows[2]);
    EXPECT_EQ(rows[3], (std::vector<std::string>{"nan", "nan", "nan", "nan"}));

    struct Bad {
        const char* row;
        const char* says;
    } bad[] = {
        {"a,32,70,demo.vxmap,maybe",
         "line 2, column 5 (efficiency-from-map): \"maybe\" is neither"},
        {"a,32,70,,yes", "line 2, column 5 (efficiency-from-map): the efficiency is to come from "
                         "the map, but the row has no map"},
    };
    for (const auto& b : bad) {
        std::ofstream(file) << "name,p2,comp-efficiency,map,efficiency-from-map\n" << b.row << '\n';
        const auto failed = calc(columns);
        EXPECT_EQ(failed.status, 2) << b.row;
        EXPECT_NE(failed.err.find(b.says), std::string::npos) << failed.err;
    }
    std::filesystem::remove_all(folder);
}
