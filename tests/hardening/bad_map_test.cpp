// Every way a map file can be wrong that a person is likely to meet: each is refused whole with
// a message naming the line and column, and nothing of the map is kept.
#include "map_file.hpp"

#include <gtest/gtest.h>

#include <sstream>

using namespace compmap;

namespace {

struct BadFile {
    const char* what;
    bool csv;
    const char* text;
    std::size_t line, column;
    const char* says;
};

const BadFile kBadFiles[] = {
    {"unknown statement", false, "flow-unit lb/min\nspeedline 5\n", 2, 1, "unknown statement"},
    {"unknown unit", false, "flow-unit  lb/h\n", 1, 12, "unknown flow unit \"lb/h\""},
    {"decimal comma", false, "surge\n 1,5 2\n 3 4\nend\n", 2, 2, "decimal point"},
    {"point without a ratio", false, "surge\n1\n2 3\nend\n", 2, 1, "expected a point"},
    {"too few island points", false, "island 70\n1 2\n2 2\nend\n", 4, 1, "at least 3"},
    {"no end", false, "speed 90000\n1 2\n2 3\n", 1, 0, "no \"end\""},
    {"next line begun without end", false, "speed 9\n1 2\n2 3\nisland 60\n", 4, 1,
     "begun on line 1 has no \"end\""},
    {"end alone", false, "end\n", 1, 1, "without a line begun"},
    {"two surge lines", false, "surge\n1 2\n2 3\nend\nsurge\n", 5, 1, "a second surge line"},
    {"infinite point", false, "surge\n1 inf\n", 2, 3, "not a finite number"},
    {"zero reference", false, "reference-pressure 0\n", 1, 20, "above zero"},
    {"stated twice", false, "reference-temperature 288\nreference-temperature 298\n", 2, 1,
     "appears twice"},
    {"axis pixels equal", false, "flow-axis 10 0 10 50\n", 1, 16, "pixels must differ"},
    {"axis short", false, "pressure-axis 10 1 20\n", 1, 0, "needs 4 numbers"},
    {"picture without name", false, "picture   \n", 1, 0, "needs a file name"},
    {"csv: empty", true, "", 0, 0, "empty"},
    {"csv: unknown dataset", true, "surge,,Dataset 2,\nX,Y,X,Y\n", 1, 3, "\"Dataset 2\""},
    {"csv: name over Y", true, "surge,x\nX,Y\n", 1, 2, "over its X column"},
    {"csv: no X,Y row", true, "surge,\n1,2\n", 2, 1, "X,Y"},
    {"csv: half a point", true, "surge,\nX,Y\n1,2\n3,\n", 4, 2, "missing"},
    {"csv: text for a number", true, "70 %,\nX,Y\n1,2\nabc,3\n2,2\n", 4, 1, "\"abc\""},
    {"csv: value beyond", true, "surge,\nX,Y\n1,2,3\n", 3, 3, "beyond the named datasets"},
    {"csv: too few", true, "surge,,70 %,\nX,Y,X,Y\n1,2,1,1\n2,3,2,1\n", 1, 3, "at least 3"},
    {"csv: open quote", true, "surge,\nX,Y\n\"1,2\n", 3, 0, "quote"},
};

TEST(BadInput, MapFilesAreRefusedWholeWithLineAndColumn) {
    for (const auto& bad : kBadFiles) {
        SCOPED_TRACE(bad.what);
        std::istringstream in(bad.text);
        const char* file = bad.csv ? "bad.csv" : "bad.vxmap";
        const auto read = bad.csv ? readDigitizerCsv(in, file, {}) : readMapText(in, file);
        EXPECT_FALSE(read.map);
        ASSERT_TRUE(read.error);
        EXPECT_EQ(read.error->file, file);
        EXPECT_EQ(read.error->line, bad.line);
        EXPECT_EQ(read.error->column, bad.column);
        EXPECT_NE(read.error->message.find(bad.says), std::string::npos) << read.error->message;
    }
}

TEST(BadInput, AMapThatCannotBeOpenedSaysWhy) {
    const auto read = loadMap("/nonexistent/turbo.vxmap");
    ASSERT_TRUE(read.error);
    EXPECT_EQ(read.error->text(),
              "/nonexistent/turbo.vxmap: cannot open: No such file or directory");
}

} // namespace
