#pragma once
// Runs vorlaxen-calc in-process and reads what it wrote.

#include <map>
#include <string>
#include <vector>

namespace clitest {

struct Outcome {
    int status;
    std::string out;
    std::string err;
};

Outcome calc(const std::vector<std::string>& args, const std::string& input = "");

// One JSON line of ours: key to value text, strings unquoted.
std::map<std::string, std::string> jsonObject(const std::string& line);
// Rows of comma-separated fields (our output never quotes).
std::vector<std::vector<std::string>> csvRows(const std::string& text);
// The one point of a CSV output: column name to text.
std::map<std::string, std::string> csvPoint(const std::string& text);
// A number as written by the program; fails the test if it does not read.
float number(const std::string& text);
// Same bits, or both NaN.
bool sameFloat(float a, float b);

} // namespace clitest
