// The candidate file: a round trip changes no bit, a bad file says where and leaves the work
// alone, and a save that fails leaves the old file as it was.
#include "candidate_file.hpp"
#include "engine_cycle.hpp"
#include "number_text.hpp"
#include "workspace.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <csignal>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <sstream>

#include <sys/resource.h>
#include <sys/stat.h>

namespace {

using explorer::Candidate;
using explorer::Cell;
using explorer::EngineInput;
namespace fs = std::filesystem;

std::string slurp(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

class CandidateSave : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("vx-candidates-" + std::to_string(::getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }
    fs::path dir_;
};

std::vector<Candidate> oddCandidates() {
    auto list = explorer::startingCandidates();
    Candidate odd(" comma, \"quote\"\nand a line break ");
    const float values[] = {std::numeric_limits<float>::quiet_NaN(),
                            -std::numeric_limits<float>::infinity(),
                            -0.0f,
                            1e-45f,
                            std::numeric_limits<float>::max(),
                            0.1f,
                            1.41307f,
                            -273.15f,
                            123456.789f,
                            3.4e-38f,
                            1000.25f};
    for (std::size_t i = 0; i < std::min(odd.inputs.size(), std::size(values)); ++i)
        odd.inputs[i] = Cell::number(values[i]);
    odd.look = explorer::kLookCount - 1;
    list.push_back(odd);
    list.push_back(Candidate(""));
    list.back().look = 0;
    return list;
}

TEST(CandidateFile, RoundTripKeepsEveryBit) {
    const auto list = oddCandidates();
    std::stringstream file;
    ASSERT_FALSE(explorer::writeCandidates(file, list));
    const auto text = file.str();
    EXPECT_TRUE(text.starts_with(
        "name,comp-outlet-diameter,inducer-diameter,hub-diameter,mass-flow-source,mass-flow,p2,"
        "comp-efficiency,turbine-efficiency,nozzle-efficiency,ambient-temp,ambient-pressure,"
        "turbine-inlet-temp,fuel,fuel-lhv,fuel-density,combustion-efficiency,tip-speed,"
        "pressure-loss,altitude,turbine-inlet-temp-limit,turbine-outlet-temp-limit,"
        "tip-speed-limit,nozzle-critical-pr,measured-turbine-outlet-temp,turbine-area,look\n"
        "Turbo Analysis defaults,4.3,3,1.2,typed,1.41,32,70,78,"
        "90,15,14.7,788,kerosene,43.2,0.8,95,1450,0.1,nan,788,720,1450,1.8504754,nan,nan,\n"
        "Smaller wheel,3.5,2.4,0.95,estimate,"))
        << text;

    const auto back = explorer::readCandidates(file, "mem.csv");
    ASSERT_FALSE(back.error) << back.error->text();
    ASSERT_EQ(back.candidates.size(), list.size());
    for (std::size_t c = 0; c < list.size(); ++c) {
        EXPECT_EQ(back.candidates[c].name, list[c].name);
        EXPECT_EQ(back.candidates[c].massFlowSource, list[c].massFlowSource);
        EXPECT_EQ(back.candidates[c].look, list[c].look);
        for (std::size_t i = 0; i < list[c].inputs.size(); ++i) {
            // With the estimate chosen, the file holds the estimate as the mass flow; an ambient
            // value or fuel property not given, the one the point worked out.
            const bool used = i == std::size_t(EngineInput::MassFlow) ||
                              turbo::isNotGiven(list[c].inputs[i].value);
            const float expected =
                used ? explorer::evaluate(list[c])->used.values[i] : list[c].inputs[i].value;
            EXPECT_EQ(std::bit_cast<std::uint32_t>(back.candidates[c].inputs[i].value),
                      std::bit_cast<std::uint32_t>(expected))
                << c << " " << i;
        }
    }
}

TEST(CandidateFile, ColumnsInAnyOrderAndDefaults) {
    std::istringstream file(" p2 , name\n15,A\n20,\"B, C\"\n");
    const auto r = explorer::readCandidates(file, "x.csv");
    ASSERT_FALSE(r.error) << r.error->text();
    ASSERT_EQ(r.candidates.size(), 2u);
    EXPECT_EQ(r.candidates[1].name, "B, C");
    EXPECT_EQ(r.candidates[1][EngineInput::P2].value, 20.0f);
    EXPECT_EQ(r.candidates[0][EngineInput::TurbineInletTemp].value, 788.0f);
    EXPECT_EQ(r.candidates[0].massFlowSource, explorer::MassFlowSource::Typed);

    std::istringstream unnamed("p2\n15\n16\n");
    EXPECT_EQ(explorer::readCandidates(unnamed, "y.csv").candidates[1].name, "Candidate 2");

    // Without a source: the wheel's estimate when the file sizes the wheel and gives no mass flow.
    const std::pair<const char*, explorer::MassFlowSource> sources[] = {
        {"name,inducer-diameter\nA,2.6\n", explorer::MassFlowSource::Estimate},
        {"name,hub-diameter,p2\nA,1,20\n", explorer::MassFlowSource::Estimate},
        {"name,inducer-diameter,mass-flow\nA,2.6,1\n", explorer::MassFlowSource::Typed},
        {"name,comp-outlet-diameter\nA,4\n", explorer::MassFlowSource::Typed},
    };
    for (const auto& [text, source] : sources) {
        std::istringstream in(text);
        EXPECT_EQ(explorer::readCandidates(in, "z.csv").candidates.at(0).massFlowSource, source)
            << text;
    }
}

// The run-log column is written only when a candidate has a log, so other files stay as they were,
// and its name reads back untouched (a comma, a space, a folder).
TEST(CandidateFile, RunLogColumnOnlyWhenGiven) {
    auto list = explorer::startingCandidates();
    std::ostringstream plain;
    ASSERT_FALSE(explorer::writeCandidates(plain, list));
    EXPECT_EQ(plain.str().find("run-log"), std::string::npos);

    list.at(1).runLogFile = "bench runs/day 2, hot.csv";
    std::ostringstream withLog;
    ASSERT_FALSE(explorer::writeCandidates(withLog, list));
    const std::string text = withLog.str();
    EXPECT_NE(text.substr(0, text.find('\n')).find(",run-log"), std::string::npos);
    std::istringstream in(text);
    const auto back = explorer::readCandidates(in, "c.csv");
    ASSERT_FALSE(back.error) << back.error->text();
    ASSERT_EQ(back.candidates.size(), list.size());
    EXPECT_EQ(back.candidates[0].runLogFile, "");
    EXPECT_EQ(back.candidates[1].runLogFile, "bench runs/day 2, hot.csv");
    EXPECT_FALSE(back.candidates[1].runLog); // the file is read by whoever opens the candidates

    std::istringstream other("Name,RUN-LOG\nA, logs/a.csv \n");
    EXPECT_EQ(explorer::readCandidates(other, "o.csv").candidates.at(0).runLogFile, "logs/a.csv");
}

// What vorlaxen-calc reads opens here too: a spreadsheet's ';', names and words in any case, old
// Mac line ends; its other columns (a result, a note) are left out and named.
TEST(CandidateFile, FilesOfOtherProgramsOpen) {
    const struct {
        const char* text;
        std::vector<std::string> ignored;
    } cases[] = {
        {"Name;P2;Mass-Flow-Source\nA;15;Typed\n", {}},
        {"name,p2,mass-flow-source,thrust,note\rA,15,TYPED,49.3,x\r", {"thrust", "note"}},
    };
    for (const auto& c : cases) {
        std::istringstream file(c.text);
        const auto r = explorer::readCandidates(file, "other.csv");
        ASSERT_FALSE(r.error) << r.error->text();
        ASSERT_EQ(r.candidates.size(), 1u) << c.text;
        EXPECT_EQ(r.candidates[0].name, "A");
        EXPECT_EQ(r.candidates[0][EngineInput::P2].value, 15.0f);
        EXPECT_EQ(r.candidates[0].massFlowSource, explorer::MassFlowSource::Typed);
        EXPECT_EQ(r.ignored, c.ignored);
    }
}

struct BadFile {
    const char* text;
    const char* error;
};

TEST(CandidateFile, BadFilesSayWhereAndGiveNothing) {
    const BadFile cases[] = {
        {"", "bad.csv: empty input; the first line must name the columns (name, comp-outlet-"},
        {"p2,name,p2\n", "bad.csv, line 1, column 3: column \"p2\" appears twice"},
        {"p2,name,P2\n", "bad.csv, line 1, column 3: column \"p2\" appears twice"},
        {"p2,,name\n", "bad.csv, line 1, column 2: the column has no name"},
        {"name,p2\nA,15\n\nB,4,3\n", "bad.csv, line 4, column 3: 3 fields where the header has 2"},
        {"name,p2\nA\n", "bad.csv, line 2, column 2: 1 field where the header has 2"},
        {"name,p2\nA,15\nB,\"4,3\"\n",
         "bad.csv, line 3, column 2: p2: \"4,3\" is not a number (the decimal point is '.')"},
        {"name,p2\nA,1e39\n", "bad.csv, line 2, column 2: p2: \"1e39\" is out of range (the "
                              "largest number is 3.40282e+38)"},
        {"name,mass-flow-source\nA,Type\n",
         "bad.csv, line 2, column 2: mass-flow-source \"Type\" is not \"typed\", \"estimate\" or "
         "\"turbine\""},
        {"name,p2\n\"A,15\n", "bad.csv, line 2: a quoted field is not closed"},
        {"name,look\nA,21\n", "bad.csv, line 2, column 2: look \"21\" is not a whole number"},
        {"name,look\nA,0\n", "bad.csv, line 2, column 2: look \"0\" is not a whole number"},
    };
    for (const auto& c : cases) {
        std::istringstream file(c.text);
        const auto r = explorer::readCandidates(file, "bad.csv");
        ASSERT_TRUE(r.error) << c.text;
        EXPECT_TRUE(r.error->text().starts_with(c.error)) << r.error->text();
        EXPECT_TRUE(r.candidates.empty());
    }
    const auto missing = explorer::loadCandidates("/nonexistent/folder/engines.csv");
    ASSERT_TRUE(missing.error);
    EXPECT_EQ(missing.error->text(),
              "/nonexistent/folder/engines.csv: cannot open: No such file or directory");
}

TEST_F(CandidateSave, SaveReplacesTheFileAndKeepsItsPermissions) {
    const auto file = dir_ / "engines.csv";
    std::ofstream(file) << "old\n";
    fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    const auto list = explorer::startingCandidates();
    ASSERT_FALSE(explorer::saveCandidates(file, list));
    const auto back = explorer::loadCandidates(file);
    ASSERT_FALSE(back.error);
    EXPECT_EQ(back.candidates.size(), 2u);
    EXPECT_EQ(fs::status(file).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator{}), 1);
}

TEST_F(CandidateSave, FailedSaveLeavesTheOldFileIntact) {
    const auto file = dir_ / "engines.csv";
    const std::string old = "name,p2\nkept,15\n";
    std::ofstream(file) << old;

    // A cell that is not a number: nothing is written.
    auto list = explorer::startingCandidates();
    list[1][EngineInput::P2] = Cell{0, "abc", true};
    const auto refused = explorer::saveCandidates(file, list);
    ASSERT_TRUE(refused);
    EXPECT_EQ(refused->text(), file.string() + ": not saved: Candidate \"Smaller wheel\", P2: "
                                               "\"abc\" is not a number");
    EXPECT_EQ(slurp(file), old);

    // The disk fills up halfway: a file size limit makes the write fail as a full disk would.
    std::vector<Candidate> many(50, Candidate("a long enough name to pass the limit"));
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit small = saved;
    small.rlim_cur = 1000;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const auto failed = explorer::saveCandidates(file, many);
    ::setrlimit(RLIMIT_FSIZE, &saved);
    ASSERT_TRUE(failed);
    EXPECT_EQ(failed->text(), file.string() + ": not saved: writing failed: File too large");
    EXPECT_EQ(slurp(file), old);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator{}), 1)
        << "the temporary file is removed";

    // A folder that does not exist.
    const auto nowhere =
        explorer::saveCandidates(dir_ / "no" / "engines.csv", explorer::startingCandidates());
    ASSERT_TRUE(nowhere);
    EXPECT_NE(nowhere->message.find("No such file or directory"), std::string::npos);
}

} // namespace

namespace {

TEST(CurveCsv, RowsAreTheCyclesFiguresInTheFormsUnits) {
    auto list = explorer::startingCandidates();
    list.push_back(Candidate("bad"));
    list.back()[EngineInput::P2] = Cell{0, "x", true}; // left out
    explorer::CurveRequest request;
    request.units = fields::UnitSystem::Metric;
    request.from = 2;
    request.to = 2.2;
    request.step = 0.1;
    explorer::Workspace work(list);
    work.setRequest(request);
    std::ostringstream out;
    ASSERT_FALSE(work.writeCurves(out));
    std::istringstream lines(out.str());
    std::string header, row;
    std::getline(lines, header);
    std::string cycleHeader = "name";
    for (const auto& field : fields::kCycleFields)
        cycleHeader += "," + std::string(field.key);
    EXPECT_EQ(header, cycleHeader); // as vorlaxen-calc cycle writes it
    std::getline(lines, row);
    // The first point, 2 bar g, in psi, through the window's own calculation.
    turbo::TurboFields f;
    f.m_P2 = fields::fromDisplay(fields::Quantity::GaugePressure, fields::UnitSystem::Metric, 2.0f);
    turbo::calcFullAnalysis(f);
    // The window's columns; the fuel and limits after them are the engine's own (tested there).
    std::vector<std::string> cells;
    {
        std::istringstream split(row);
        for (std::string cell; std::getline(split, cell, ',');)
            cells.push_back(cell);
        if (row.ends_with(','))
            cells.emplace_back();
    }
    ASSERT_EQ(cells.size(), fields::kCycleFields.size() + 1);
    EXPECT_EQ(cells[1 + *fields::findField(fields::kCycleFields, "fuel")], "kerosene");
    EXPECT_EQ(cells[1 + *fields::findField(fields::kCycleFields, "limits")], ""); // none past
    const char* windowKeys[] = {"mass-flow",
                                "p2",
                                "comp-efficiency",
                                "turbine-efficiency",
                                "nozzle-efficiency",
                                "ambient-temp",
                                "ambient-pressure",
                                "turbine-inlet-temp",
                                "comp-temp-rise",
                                "comp-discharge-temp",
                                "turbine-temp-drop",
                                "turbine-outlet-temp",
                                "turbine-pr-required",
                                "nozzle-pr",
                                "nozzle-exit-temp",
                                "nozzle-velocity",
                                "nozzle-outlet-density",
                                "nozzle-area",
                                "nozzle-diameter",
                                "thrust"};
    std::string expected = "Turbo Analysis defaults";
    std::string written = cells[0];
    for (const char* key : windowKeys)
        written += "," + cells[1 + *fields::findField(fields::kCycleFields, key)];
    for (float v : {f.m_MassFlow,
                    f.m_P2,
                    f.m_CompEfficiency,
                    f.m_TurbineEfficiency,
                    f.m_NozzleEfficiency,
                    f.m_AmbientTemp,
                    f.m_AmbientPressure,
                    788.0f,
                    f.m_CompTempRise,
                    f.m_CompDischargeTemp,
                    f.m_TurbineTempDrop,
                    f.m_TurbineOutletTemp,
                    f.m_TurbinePrRequired,
                    f.m_NozzlePr,
                    f.m_NozzleExitTemp,
                    f.m_NozzleVelocity,
                    f.m_NozzleOutletDensity,
                    f.m_NozzleArea,
                    f.m_NozzleDiameter,
                    f.m_Thrust})
        expected += "," + fields::shortestFloat(v);
    EXPECT_EQ(written, expected);
    std::size_t rows = 1;
    while (std::getline(lines, row))
        ++rows;
    EXPECT_EQ(rows, 2u * 3u); // two good candidates, three points each

    request.swept = EngineInput::InducerDiameter; // a wheel size: its own column after the name
    work.setRequest(request);
    std::ostringstream wheel;
    ASSERT_FALSE(work.writeCurves(wheel));
    EXPECT_TRUE(wheel.str().starts_with("name,inducer-diameter,mass-flow,"));
}

} // namespace
