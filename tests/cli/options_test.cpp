// The output options, the program's own words about itself, and columns carried through a batch.

#include "cli_test_support.hpp"

#include <gtest/gtest.h>

#include <algorithm>

#include <string>
#include <vector>

using namespace clitest;

namespace {

// --columns picks and orders the columns in every format, sweeps and batches alike.
TEST(Options, ColumnsPickAndOrderInEveryFormat) {
    const std::vector<std::string> sweep{"cycle", "--sweep", "p2=10:20:10", "--columns",
                                         "thrust,p2"};
    auto csv = sweep;
    csv.push_back("--csv");
    EXPECT_EQ(calc(csv).out, "thrust,p2\n41.627472,10\n53.751545,20\n");
    auto json = sweep;
    json.push_back("--json");
    EXPECT_EQ(calc(json).out, "{\"thrust\": 41.627472, \"p2\": 10}\n"
                              "{\"thrust\": 53.751545, \"p2\": 20}\n");
    // A sweep's table: a row per point under the column names.
    EXPECT_EQ(calc(sweep).out, "      thrust            p2\n"
                               "     41.6275            10\n"
                               "     53.7515            20\n");
    // One point keeps the form's lines, only those asked for.
    EXPECT_EQ(calc({"cycle", "--columns", "thrust,p2"}).out,
              "Full Analysis - Nozzle\n"
              "  Thrust:     58.6333     lbs.\n"
              "Full Analysis - Compressor and Turbine\n"
              "  P2 (psig):  32\n");
}

TEST(Options, DigitsRoundInCsvAndJson) {
    EXPECT_EQ(calc({"cycle", "--columns", "p2,thrust,nozzle-pr", "--digits", "3", "--csv"}).out,
              "p2,thrust,nozzle-pr\n32,58.6,1.44\n");
    EXPECT_EQ(calc({"max-rpm", "--comp-outlet-diameter", "0.001", "--digits", "2", "--json"}).out,
              "{\"comp-outlet-diameter\": 0.001, \"tip-speed\": 1.4e+03, \"max-rpm\": 3.3e+08}\n");
    // Without --digits, the shortest text that reads back exactly.
    EXPECT_EQ(calc({"cycle", "--columns", "thrust", "--csv"}).out, "thrust\n58.63326\n");
}

TEST(Options, UnitsInAnyCase) {
    for (const char* units : {"MM", "Mm", "mm"}) {
        const auto outcome =
            calc({"flame-tube", "--units", units, "--inducer-diameter", "57", "--csv"});
        EXPECT_EQ(outcome.status, 0) << units << outcome.err;
        EXPECT_TRUE(outcome.out.find("\nmm,57,") != std::string::npos) << outcome.out;
    }
    EXPECT_EQ(calc({"flame-tube", "--input", "-", "--csv", "--columns", "units,tube-diameter"},
                   "units,inducer-diameter\nIN,3\n")
                  .out,
              "units,tube-diameter\nin,6\n");
}

TEST(Options, VersionAndHelpExitZero) {
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"--version"}, {"cycle", "--version"}}) {
        const auto outcome = calc(args);
        EXPECT_EQ(outcome.status, 0);
        EXPECT_EQ(outcome.out, "vorlaxen-calc 2.0.0\n");
    }
    // help2man reads the usage line and the option lines.
    const auto help = calc({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_TRUE(help.out.starts_with("Usage: vorlaxen-calc CALCULATION [OPTION]...\n"));
    for (const char* line : {"\n  --version  ", "\n  --columns A,B,...  ", "\n  --p2 NUMBER  "})
        EXPECT_NE(help.out.find(line), std::string::npos) << line;
    const auto cycle = calc({"cycle", "-h"});
    EXPECT_EQ(cycle.status, 0);
    EXPECT_TRUE(cycle.out.starts_with("Usage: vorlaxen-calc cycle [OPTION]...\n"));
}

// A refused header leaves standard output empty: no half-written results file.
TEST(Batch, NothingIsWrittenBeforeTheHeaderIsAccepted) {
    for (const char* format : {"--csv", "--json", "--digits=3"}) {
        const auto outcome = calc({"cycle", "--input", "-", format}, "p2,thrust\n15,1\n");
        EXPECT_EQ(outcome.status, 2);
        EXPECT_EQ(outcome.out, "") << format;
    }
}

TEST(Batch, SemicolonSeparatedFilesAreRead) {
    const auto outcome = calc({"cycle", "--input", "-", "--csv", "--columns", "p2,mass-flow"},
                              "\"p2\";mass-flow\r\n15;1.41\r\n\"3.5\";2\r\n");
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_EQ(outcome.out, "p2,mass-flow\n15,1.41\n3.5,2\n");
}

// Columns that are not inputs go through unchanged, first, in their order; stderr names them.
TEST(Batch, OtherColumnsAreCarriedThrough) {
    const auto outcome =
        calc({"max-rpm", "--input", "-", "--csv"}, "name,comp-outlet-diameter,note\n"
                                                   "\"GT28, used\",2,\"say \"\"hi\"\"\"\n"
                                                   "T3,4.3,\n");
    EXPECT_EQ(outcome.status, 0);
    EXPECT_EQ(outcome.err, "vorlaxen-calc: carried through unchanged, not inputs of max-rpm: "
                           "name, note\n");
    EXPECT_EQ(outcome.out, "name,note,comp-outlet-diameter,tip-speed,max-rpm\n"
                           "\"GT28, used\",\"say \"\"hi\"\"\",2,1450,166157.75\n"
                           "T3,,4.3,1450,77282.67\n");
    const auto json = calc({"max-rpm", "--input", "-", "--json", "--columns", "name,max-rpm"},
                           "comp-outlet-diameter,name\n2,\"a\"\"\\\"\n");
    EXPECT_EQ(json.out, "{\"name\": \"a\\\"\\\\\", \"max-rpm\": 166157.75}\n");
}

// mass-flow's output feeds cycle: its mass flow is cycle's input, the rest is carried.
TEST(Batch, MassFlowChainsIntoCycle) {
    const auto first = calc({"mass-flow", "--sweep", "inducer-diameter=2:3:1", "--csv"});
    ASSERT_EQ(first.status, 0);
    const auto chained = calc({"cycle", "--input", "-", "--csv"}, first.out);
    ASSERT_EQ(chained.status, 0) << chained.err;
    EXPECT_EQ(chained.err, "vorlaxen-calc: carried through unchanged, not inputs of cycle: "
                           "inducer-diameter, hub-diameter, mass-flow-estimate\n");
    const auto rows = csvRows(chained.out);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0][3], "mass-flow");
    const auto direct =
        csvPoint(calc({"cycle", "--mass-flow", csvRows(first.out)[2][3], "--csv"}).out);
    EXPECT_EQ(rows[2][3], direct.at("mass-flow"));
    const auto thrust = std::find(rows[0].begin(), rows[0].end(), "thrust") - rows[0].begin();
    EXPECT_EQ(rows[2].at(static_cast<std::size_t>(thrust)), direct.at("thrust"));
}

} // namespace
