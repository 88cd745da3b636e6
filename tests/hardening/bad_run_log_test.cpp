// Every measured column of a run log, in turn, with a cell that is not a usable measurement: the
// whole log is refused, and the message names the file, the line, the column and its quantity.
// An empty or blank cell is no error: the quantity was not measured at that point.
#include "run_log.hpp"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace {

struct BadCell {
    const char* what;
    std::string text; // as written in the file
};

const BadCell kBadCells[] = {
    {"letters", "abc"},
    {"decimal comma", "\"4,3\""},
    {"beyond the float range", "1e39"},
    {"beyond the negative float range", "-1e39"},
    {"a 10,000-character number", "1" + std::string(9'999, '0')},
    {"not a number", "nan"},
    {"infinite", "-inf"},
    {"two numbers", "1 2"},
};

TEST(BadRunLog, EveryMeasuredColumnRefusesACellThatIsNotAMeasurement) {
    std::string header = "note";
    for (const auto m : runs::allMeasured())
        header.append(",").append(runs::measuredInfo(m).key);
    for (std::size_t column = 0; column < runs::kMeasuredCount; ++column) {
        const auto& key = runs::measuredInfo(runs::allMeasured()[column]).key;
        for (const auto& bad : kBadCells) {
            SCOPED_TRACE(std::string(key) + ", " + bad.what);
            std::string text =
                header + "\nfirst" + std::string(runs::kMeasuredCount, ',') + "\nsecond";
            for (std::size_t c = 0; c < runs::kMeasuredCount; ++c)
                text += "," + (c == column ? bad.text : "1");
            std::istringstream in(text + "\n");
            const auto result = runs::readRunLog(in, "bench.csv");
            ASSERT_TRUE(std::holds_alternative<runs::RunLogError>(result));
            const auto& e = std::get<runs::RunLogError>(result);
            EXPECT_EQ(e.text().rfind("bench.csv, line 3, column " + std::to_string(column + 2) +
                                         ": " + std::string(key) + ": ",
                                     0),
                      0u)
                << e.text();
        }
    }
}

TEST(BadRunLog, BlankCellsAreNotMeasuredAtThatPoint) {
    std::istringstream in("thrust,p2\n , \t\n20,\n");
    const auto result = runs::readRunLog(in, "bench.csv");
    ASSERT_TRUE(std::holds_alternative<runs::RunLog>(result));
    const auto& points = std::get<runs::RunLog>(result).points;
    ASSERT_EQ(points.size(), 2u);
    EXPECT_FALSE(points[0][runs::Measured::Thrust]);
    EXPECT_EQ(points[1][runs::Measured::Thrust], 20.0f);
}

} // namespace
