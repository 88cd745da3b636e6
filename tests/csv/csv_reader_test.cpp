// The CSV reader on its own, with buffers small enough that records straddle every refill.

#include "csv_reader.hpp"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace {

struct Record {
    std::size_t line;
    std::vector<std::string> fields;
    bool operator==(const Record&) const = default;
};

std::vector<Record> readAll(const std::string& text, std::size_t buffer, char separator = ',') {
    std::istringstream in(text);
    csv::CsvReader reader(in, buffer, 1024, separator);
    std::vector<Record> records;
    while (reader.next()) {
        Record r{reader.line(), {}};
        for (auto f : reader.fields())
            r.fields.emplace_back(f);
        records.push_back(r);
    }
    return records;
}

TEST(CsvReader, QuotingLineEndsAndBlankLines) {
    const struct {
        std::string text;
        std::vector<Record> records;
    } cases[] = {
        {"a,b\n1,2\n", {{1, {"a", "b"}}, {2, {"1", "2"}}}},
        {"a,b\r\n1,2\r\n", {{1, {"a", "b"}}, {2, {"1", "2"}}}},
        {"a,b\n1,2", {{1, {"a", "b"}}, {2, {"1", "2"}}}},
        {"a,b\r\n1,2\r", {{1, {"a", "b"}}, {2, {"1", "2"}}}},
        {"\xEF\xBB\xBF"
         "a\n1\n",
         {{1, {"a"}}, {2, {"1"}}}},
        {"\n\na\n\r\n\n1\n\n", {{3, {"a"}}, {6, {"1"}}}},
        {"\"a,b\",\"say \"\"hi\"\"\"\n", {{1, {"a,b", "say \"hi\""}}}},
        {"\"\"\"\"\"\"\n", {{1, {"\"\""}}}},
        {"\"two\nlines\",x\nnext\n", {{1, {"two\nlines", "x"}}, {3, {"next"}}}},
        {" \"a\" , b\n", {{1, {"a", " b"}}}},
        {",\n", {{1, {"", ""}}}},
        {"1\"2,3\n", {{1, {"1\"2", "3"}}}},
        {"\"\"\n", {{1, {""}}}},
        {"", {}},
    };
    for (const auto& c : cases)
        for (std::size_t buffer : {16, 1 << 20})
            EXPECT_EQ(readAll(c.text, buffer), c.records) << c.text << " buffer " << buffer;
}

// The first line that is not blank decides: ';' when it has one and no ',' outside quotes.
TEST(CsvReader, SemicolonSeparatorFoundFromTheFirstRecord) {
    const struct {
        std::string text;
        std::vector<Record> records;
    } cases[] = {
        {"a;b\n1,5;2\n", {{1, {"a", "b"}}, {2, {"1,5", "2"}}}},
        {"\r\n\"x;y\";b\r\n\"1;2\";3\r\n", {{2, {"x;y", "b"}}, {3, {"1;2", "3"}}}},
        {"\"a,b\";c\n1;2\n", {{1, {"a,b", "c"}}, {2, {"1", "2"}}}},
        {"a;b,c\n1;2,3\n", {{1, {"a;b", "c"}}, {2, {"1;2", "3"}}}},
        {"a\n1;2\n", {{1, {"a"}}, {2, {"1;2"}}}},
        {"\xEF\xBB\xBF"
         "a;b\n",
         {{1, {"a", "b"}}}},
    };
    for (const auto& c : cases)
        for (std::size_t buffer : {16, 1 << 20})
            EXPECT_EQ(readAll(c.text, buffer, csv::kDetectSeparator), c.records)
                << c.text << " buffer " << buffer;
}

TEST(CsvReader, RecordsAcrossManyRefills) {
    std::string text;
    std::vector<Record> expected;
    for (int i = 0; i < 300; ++i) {
        const std::string a = std::to_string(i * 7919);
        const std::string b = std::string(static_cast<std::size_t>(i % 37), 'x');
        text += a + ",\"" + b + "\"\"" + "\"\n";
        expected.push_back({static_cast<std::size_t>(i + 1), {a, b + "\""}});
    }
    EXPECT_EQ(readAll(text, 16), expected);
    EXPECT_EQ(readAll(text, 1000), expected);
}

TEST(CsvReader, MalformedAndOverlongRecords) {
    const struct {
        std::string text;
        std::size_t line;
    } cases[] = {
        {"a\n\"open\n", 2},
        {"a\n\n\"x\"y\n", 3},
        {"a\n" + std::string(2000, 'x') + "\n", 2},
    };
    for (const auto& c : cases) {
        try {
            readAll(c.text, 16);
            ADD_FAILURE() << "accepted: " << c.text.substr(0, 20);
        } catch (const csv::CsvError& e) {
            EXPECT_EQ(e.line(), c.line) << c.text.substr(0, 20);
        }
    }
}

} // namespace
