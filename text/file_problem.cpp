#include "file_problem.hpp"

namespace text {

std::string located(std::string_view file, std::size_t line, std::size_t column) {
    std::string where(file);
    if (line > 0)
        where += ", line " + std::to_string(line);
    if (column > 0)
        where += ", column " + std::to_string(column);
    return where;
}

std::string FileProblem::text() const {
    return located(file, line, column) + ": " + message;
}

} // namespace text
