#include "file_problem.hpp"
#include "text.hpp"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(Text, TrimmedTakesSpaceTabCarriageReturnAndLineFeed) {
    struct Case {
        std::string in, out;
    } cases[] = {
        {"", ""},
        {" \t\r\n ", ""},
        {"\tp2 \r\n", "p2"},
        {" two words ", "two words"},
        {"\v1\f", "\v1\f"},                         // vertical tab and form feed are not blanks
        {"\xc2\xa0x\xc2\xa0", "\xc2\xa0x\xc2\xa0"}, // nor is a no-break space
    };
    for (const auto& c : cases)
        EXPECT_EQ(text::trimmed(c.in), c.out) << c.in;
}

TEST(Text, CaseIsAsciiOnly) {
    EXPECT_EQ(text::lowered("Mass-Flow \xc3\x84Z"), "mass-flow \xc3\x84z");
    struct Case {
        std::string a, b;
        bool same;
    } cases[] = {
        {"", "", true},         {"JET-A", "jet-a", true},
        {"Yes", "yes ", false}, {"\xc3\x84", "\xc3\xa4", false}, // Ä and ä are other bytes
        {"[", "{", false},                                       // 'Z' + 1 is not lowered
        {"@", "`", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(text::sameIgnoringCase(c.a, c.b), c.same) << c.a << " / " << c.b;
}

TEST(Text, QuotedShowsReadableTextAndCutsLongText) {
    const std::string forty(40, 'x');
    std::string umlauts;
    for (int i = 0; i < 40; ++i)
        umlauts += "\xc3\xbc";
    struct Case {
        std::string in, out;
    } cases[] = {
        {"", "\"\""},
        {"T3 \"big\"", "\"T3 \"big\"\""},
        {"a\tb\r\n", "\"a?b??\""},
        {"D\xc3\xbc"
         "se \xe2\x82\xac",
         "\"D\xc3\xbcse \xe2\x82\xac\""},
        {"\xff\xfe", "\"??\""},
        {"\xc3", "\"?\""},           // cut inside a character
        {"\xc0\xaf", "\"??\""},      // an overlong '/'
        {"\xed\xa0\x80", "\"???\""}, // a surrogate
        {"\xc2\x85\x7f", "\"??\""},  // next line and delete are control characters
        {forty, "\"" + forty + "\""},
        {forty + "y", "\"" + forty + "...\""},
        {umlauts, "\"" + umlauts + "\""},
        {umlauts + "\xc3\xbc", "\"" + umlauts + "...\""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(text::quoted(c.in), c.out) << c.in;
}

TEST(Text, FileProblemLeavesOutWhatDoesNotApply) {
    EXPECT_EQ((text::FileProblem{"a.csv", 3, 2, "bad"}.text()), "a.csv, line 3, column 2: bad");
    EXPECT_EQ((text::FileProblem{"a.csv", 3, 0, "bad"}.text()), "a.csv, line 3: bad");
    EXPECT_EQ((text::FileProblem{"a.csv", 0, 0, "missing"}.text()), "a.csv: missing");
}

} // namespace
