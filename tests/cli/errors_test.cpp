// Bad options and bad input: a message naming the option, or the line and column, status 2, and
// whatever was written before the bad row still well-formed.

#include "cli_test_support.hpp"

#include "calculation_fields.hpp"

#include <gtest/gtest.h>

#include "run.hpp"

#include <chrono>
#include <random>
#include <sstream>
#include <streambuf>
#include <string>
#include <vector>

using namespace clitest;

namespace {

struct Refused {
    std::vector<std::string> args;
    std::string input;
    std::string message; // a part of what standard error must say
};

void expectRefused(const std::vector<Refused>& cases) {
    for (const auto& c : cases) {
        std::string line;
        for (const auto& a : c.args)
            line += a + ' ';
        const auto outcome = calc(c.args, c.input);
        EXPECT_EQ(outcome.status, 2) << line;
        EXPECT_NE(outcome.err.find(c.message), std::string::npos)
            << line << "\nexpected: " << c.message << "\ngot: " << outcome.err;
        EXPECT_TRUE(outcome.err.starts_with("vorlaxen-calc: ")) << outcome.err;
    }
}

TEST(Errors, Options) {
    expectRefused({
        {{},
         "",
         "choose a calculation: max-rpm, mass-flow, cycle, flame-tube, convert, engine, fit."},
        {{"thrust"}, "", "unknown calculation \"thrust\"; choose one of max-rpm, mass-flow,"},
        {{"cylce"}, "", "unknown calculation \"cylce\"; did you mean cycle?"},
        {{"--p2", "4", "cycle"}, "", "--p2: name the calculation first"},
        {{"--verison"}, "", "unknown option --verison; did you mean --version?"},
        {{"-v"}, "", "unknown option -v;"},
        {{"cycle", "-v"}, "", "unknown option -v for cycle;"},
        // Unknown, repeated and malformed options, in the program's words.
        {{"cycle", "--p3", "15"}, "", "unknown option --p3 for cycle; did you mean --p2?\n"},
        {{"cycle", "--colums", "p2"}, "", "did you mean --columns?"},
        {{"cycle", "--hub-diameter", "1"}, "", "it is an option of mass-flow, engine\n"},
        {{"cycle", "--zzz"}, "", "the options are --mass-flow, --p2,"},
        {{"mass-flow", "--mass-flow", "1"}, "", "--mass-flow is a result of mass-flow, not an"},
        {{"cycle", "--p2"}, "", "--p2 needs a value"},
        {{"cycle", "--p2", "--csv"}, "", "--p2 needs a value"},
        {{"cycle", "--p2", "1", "--p2", "2"}, "", "--p2 is given twice"},
        {{"cycle", "--csv", "--csv"}, "", "--csv is given twice"},
        {{"cycle", "--csv=yes"}, "", "--csv takes no value"},
        {{"cycle", "15"}, "", "unexpected argument \"15\""},
        {{"cycle", "--p3", "1"}, "", "Run 'vorlaxen-calc cycle --help' for more."},
        {{"cycle", "--p2", "4,3"}, "", "--p2: \"4,3\" is not a number (the decimal point is '.'"},
        {{"cycle", "--p2", "1e39"}, "", "--p2: \"1e39\" is out of range"},
        {{"cycle", "--ambient-temp", "abc"}, "", "--ambient-temp: \"abc\" is not a number"},
        {{"cycle", "--p2", ""}, "", "--p2: a number is missing"},
        {{"cycle", "--p2=1 2"}, "", "--p2: \"1 2\" is not a number"},
        {{"cycle", "--csv", "--json"}, "", "--csv and --json exclude each other"},
        {{"flame-tube"}, "", "--inducer-diameter is required"},
        {{"flame-tube", "--inducer-diameter", "3", "--units", "ft"},
         "",
         "--units: \"ft\" is not a unit; choose in, mm, cm or none"},
        {{"cycle", "--digits", "0"}, "", "--digits: \"0\" is not a whole number from 1 to 9"},
        {{"cycle", "--digits", "10"}, "", "from 1 to 9"},
        {{"cycle", "--digits", "3.5"}, "", "from 1 to 9"},
        {{"cycle", "--columns", "p2,trust"}, "", "--columns: no column \"trust\"; did you mean"},
        {{"cycle", "--columns", "p2,,thrust"}, "", "--columns: \"p2,,thrust\" has an empty name"},
        {{"cycle", "--columns", "p2,p2"}, "", "--columns: \"p2\" appears twice"},
        {{"cycle", "--input", "/nonexistent/designs.csv"}, "", "--input: cannot open"},
        {{"cycle", "--input", "/"}, "", "--input: \"/\" is a directory"},
        {{"cycle", "--input", "-", "--sweep", "p2=1:2:1"}, "p2\n1\n", "exclude each other"},
    });
}

TEST(Errors, Sweeps) {
    expectRefused({
        {{"cycle", "--sweep", "p2"}, "", "expected NAME=START:STOP:STEP"},
        {{"cycle", "--sweep", "p2=1:2"}, "", "expected NAME=START:STOP:STEP"},
        {{"cycle", "--sweep", "p2=1:2:1:4"}, "", "\"1:4\" is not a number"},
        {{"cycle", "--sweep", "p2=a:2:1"}, "", "\"a\" is not a number"},
        {{"cycle", "--sweep", "p2=1:1e39:1"}, "", "\"1e39\" is not a number"},
        {{"cycle", "--sweep", "p2=nan:2:1"}, "", "\"nan\" is not a number"},
        {{"cycle", "--sweep", "p2=1:2:0"}, "", "the step is 0"},
        {{"cycle", "--sweep", "p2=5:40:-5"}, "", "the step goes away from the stop"},
        {{"cycle", "--sweep", "p2=0:1e9:1e-3"}, "", "more than 1000000 points"},
        {{"cycle", "--sweep", "p2=1:1e6:1", "--sweep", "comp-efficiency=1:1e6:1"},
         "",
         "more than 100000000 points in all"},
        {{"cycle", "--sweep", "thrust=1:2:1"}, "", "\"thrust\" is not a number input"},
        {{"cycle", "--sweep", "x=1:2:1"}, "", "choose one of mass-flow, p2,"},
        {{"flame-tube", "--sweep", "units=1:2:1"}, "", "\"units\" is not a number input"},
        {{"cycle", "--sweep", "p2=1:2:1", "--sweep", "p2=3:4:1"}, "", "p2 is swept twice"},
        {{"cycle", "--p2", "3", "--sweep", "p2=1:2:1"}, "", "--p2 is also given"},
    });
}

TEST(Errors, InputFiles) {
    const std::vector<std::string> batch{"cycle", "--input", "-", "--csv"};
    expectRefused({
        {batch, "", "standard input: empty input; the first line must name the columns"},
        {batch, "\n\n", "empty input"},
        {{"cycle", "--input", "/proc/self/mem"}, "", "reading failed: Input/output error"},
        {batch, "p2,,x\n1,2,3\n", "line 1, column 2: the column has no name"},
        {batch, "name,p2,name\n", "line 1, column 3: column \"name\" appears twice"},
        {batch, "p2,thrust\n", "line 1, column 2: \"thrust\" is a result, not an input"},
        {batch, "p2,p2\n", "column \"p2\" appears twice"},
        {{"cycle", "--input", "-", "--p2", "3"}, "p2\n1\n", "\"p2\" is also given as --p2"},
        {{"flame-tube", "--input", "-", "--units", "in"},
         "units,inducer-diameter\n",
         "also given as --units"},
        {{"flame-tube", "--input", "-"}, "units\nmm\n", "no column \"inducer-diameter\""},
        {{"flame-tube", "--input", "-"},
         "inducer-diameter,units\n3,inches\n",
         "line 2, column 2 (units): \"inches\" is not a unit"},
        {batch, "p2,mass-flow\n1,2\n3\n", "line 3, column 2: 1 field where the header has 2"},
        {batch, "p2,mass-flow\n1,2,3\n", "line 2, column 3: 3 fields where the header has 2"},
        {batch, "p2,mass-flow\n1,\n", "line 2, column 2 (mass-flow): a number is missing"},
        {batch, "p2\n1\n\n\n2,5\n", "line 5, column 2: 2 fields"},
        {batch, "p2,P2\n", "line 1, column 2: column \"p2\" appears twice"},
        {batch, "p2\n\"1\n2\n", "line 2: a quoted field is not closed"},
        {batch, "p2\n\"1\"2\n", "line 2: text after the closing quote of field 1"},
        // A line break inside quotes (around blanks a number may have) still counts as a line.
        {batch, "p2,mass-flow\n\"\n1\",2\n7,x\n", "line 4, column 2 (mass-flow): \"x\""},
        {batch, std::string("p2\n1\0002\n", 7), "line 2, column 1 (p2): \"1?2\" is not a number"},
        {batch, "p2\n\xff\xfe\n", "line 2, column 1 (p2): \"??\" is not a number"},
        // A spreadsheet's ';' file: read, but its decimal commas are not.
        {batch, "p2;mass-flow\n15;1,41\n",
         "line 2, column 2 (mass-flow): \"1,41\" is not a "
         "number (the decimal point is '.')"},
    });
}

// Rows before the bad one are written whole: the output so far is valid CSV.
TEST(Errors, RowsBeforeABadRowStayValid) {
    std::string input = "p2\n";
    for (int i = 0; i < 5000; ++i)
        input += std::to_string(i % 40) + "\n";
    input += "oops\n1\n";
    const auto outcome = calc({"cycle", "--input", "-", "--csv"}, input);
    EXPECT_EQ(outcome.status, 2);
    EXPECT_NE(outcome.err.find("line 5002, column 1 (p2): \"oops\""), std::string::npos)
        << outcome.err;
    const auto rows = csvRows(outcome.out);
    ASSERT_EQ(rows.size(), 5001u);
    for (const auto& row : rows)
        ASSERT_EQ(row.size(), fields::kCycleFields.size());
    EXPECT_TRUE(outcome.out.ends_with("\n"));
}

} // namespace

namespace {

// Mangled files give a result or a refusal, never anything else; with the sanitizer build this
// also checks the reader's buffer handling on odd input.
TEST(Errors, GarbledInputIsEitherReadOrRefused) {
    const std::pair<const char*, std::string> valid[] = {
        {"cycle", "p2,\"mass-flow\",ambient-temp\r\n15,1.41,-5\n\"32\",\" 2\",1e1\n"},
        {"flame-tube", "inducer-diameter,units,\"primary-drill\"\n57,mm,6\n\"3\",in,\"0.25\"\n"},
    };
    const char pieces[] = {'"', ',', '\n', '\r', ' ', '1', 'e', '-', '\0', '\xff'};
    std::mt19937 random(2024);
    int accepted = 0;
    for (int round = 0; round < 400; ++round) {
        for (const auto& [name, text] : valid) {
            std::string input = text;
            const int edits = 1 + static_cast<int>(random() % 4);
            for (int e = 0; e < edits; ++e) {
                const std::size_t at = random() % (input.size() + 1);
                const char piece = pieces[random() % sizeof pieces];
                if (random() % 2 && at < input.size())
                    input[at] = piece;
                else
                    input.insert(at, 1, piece);
            }
            const auto outcome = calc({name, "--input", "-", "--csv"}, input);
            EXPECT_TRUE(outcome.status == 0 || outcome.status == 2) << input;
            // Success says nothing besides naming the columns a mangled header carried.
            std::string said = outcome.err;
            if (said.starts_with("vorlaxen-calc: carried through unchanged"))
                said.erase(0, said.find('\n') + 1);
            EXPECT_EQ(outcome.status == 0, said.empty()) << input << outcome.err;
            accepted += outcome.status == 0;
        }
    }
    // The edits must leave some files readable, or this tests only the first refusal.
    EXPECT_GT(accepted, 10);
}

} // namespace

namespace {

// Takes nothing, as a full disk does.
class RefusingBuffer : public std::streambuf {
protected:
    int_type overflow(int_type) override { return traits_type::eof(); }
    std::streamsize xsputn(const char*, std::streamsize) override { return 0; }
};

TEST(Errors, AnOutputThatRefusesBytesEndsTheRunAtOnce) {
    // A hundred million points into a full disk: the run stops at the first refused write
    // instead of computing them all, which would take minutes.
    for (const char* format : {"--csv", "--json", ""}) {
        std::vector<const char*> argv{"vorlaxen-calc", "cycle",   "--sweep",
                                      "p2=0:999999:1", "--sweep", "ambient-temp=0:99:1"};
        if (*format)
            argv.push_back(format);
        RefusingBuffer refusing;
        std::ostream out(&refusing);
        std::ostringstream err;
        std::istringstream in;
        const auto started = std::chrono::steady_clock::now();
        const int status = cli::run(static_cast<int>(argv.size()), argv.data(), in, out, err);
        const auto took = std::chrono::steady_clock::now() - started;
        EXPECT_EQ(status, cli::kExitWriteFailed) << format;
        EXPECT_EQ(err.str(), "vorlaxen-calc: the output could not be written\n") << format;
        EXPECT_LT(took, std::chrono::seconds(10)) << format;
    }
}

} // namespace
