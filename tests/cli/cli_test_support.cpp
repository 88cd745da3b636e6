#include "cli_test_support.hpp"

#include "number_text.hpp"
#include "run.hpp"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <sstream>

namespace clitest {

Outcome calc(const std::vector<std::string>& args, const std::string& input) {
    std::vector<const char*> argv{"vorlaxen-calc"};
    for (const auto& a : args)
        argv.push_back(a.c_str());
    std::istringstream in(input);
    std::ostringstream out;
    std::ostringstream err;
    const int status = cli::run(static_cast<int>(argv.size()), argv.data(), in, out, err);
    return {status, out.str(), err.str()};
}

std::map<std::string, std::string> jsonObject(const std::string& line) {
    std::map<std::string, std::string> object;
    EXPECT_TRUE(line.starts_with("{\"") && line.ends_with("}")) << line;
    std::size_t pos = 1;
    while (pos < line.size() && line[pos] == '"') {
        const auto keyEnd = line.find('"', pos + 1);
        const std::string key = line.substr(pos + 1, keyEnd - pos - 1);
        pos = keyEnd + 3; // past `": `
        std::size_t valueEnd = line.find_first_of(",}", pos);
        std::string value = line.substr(pos, valueEnd - pos);
        if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
            value = value.substr(1, value.size() - 2);
        EXPECT_TRUE(object.emplace(key, value).second) << "twice: " << key;
        pos = valueEnd + (line.compare(valueEnd, 2, ", ") == 0 ? 2 : 1);
    }
    return object;
}

std::vector<std::vector<std::string>> csvRows(const std::string& text) {
    std::vector<std::vector<std::string>> rows;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        std::vector<std::string> fields;
        std::istringstream parts(line);
        std::string field;
        while (std::getline(parts, field, ','))
            fields.push_back(field);
        if (!line.empty() && line.back() == ',') // an empty last field
            fields.emplace_back();
        rows.push_back(fields);
    }
    return rows;
}

std::map<std::string, std::string> csvPoint(const std::string& text) {
    const auto rows = csvRows(text);
    std::map<std::string, std::string> point;
    EXPECT_EQ(rows.size(), 2u) << text;
    if (rows.size() != 2 || rows[0].size() != rows[1].size())
        return point;
    for (std::size_t i = 0; i < rows[0].size(); ++i)
        point[rows[0][i]] = rows[1][i];
    return point;
}

float number(const std::string& text) {
    const auto value = fields::parseFloat(text);
    EXPECT_TRUE(value.has_value()) << '"' << text << "\" does not read back";
    return value.value_or(0.0f);
}

bool sameFloat(float a, float b) {
    if (std::isnan(a) || std::isnan(b))
        return std::isnan(a) && std::isnan(b);
    return std::bit_cast<std::uint32_t>(a) == std::bit_cast<std::uint32_t>(b);
}

} // namespace clitest
