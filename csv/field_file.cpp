#include "field_file.hpp"

#include "csv_field.hpp"

#include <algorithm>
#include <ostream>
#include <string>
#include <unordered_map>
#include <unordered_set>

namespace csv {

namespace {

char lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string lowered(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        c = lower(c);
    return out;
}

std::string quotedName(std::string_view name) {
    return "\"" + std::string(name) + "\"";
}

} // namespace

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    return text;
}

bool sameIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (lower(a[i]) != lower(b[i]))
            return false;
    return true;
}

std::optional<std::size_t> matchWord(std::string_view text,
                                     std::span<const std::string_view> words) {
    text = trimmed(text);
    for (std::size_t i = 0; i < words.size(); ++i)
        if (sameIgnoringCase(text, words[i]))
            return i;
    return std::nullopt;
}

FieldFileReader::FieldFileReader(std::istream& in, std::span<const std::string_view> known,
                                 UnknownColumns unknown, std::size_t bufferSize)
    : reader_(in, bufferSize, CsvReader::kMaxRecord, kDetectSeparator) {
    try {
        if (!reader_.next())
            throw FieldFileError(0, 0, "empty input; the first line must name the columns");
    } catch (const CsvError& e) {
        throw FieldFileError(e.line(), 0, e.what());
    }
    headerLine_ = reader_.line();
    // Looked up by hash, so that a header of a million columns reads in linear time.
    std::unordered_map<std::string, std::size_t> byName;
    for (std::size_t k = 0; k < known.size(); ++k)
        byName.emplace(lowered(known[k]), k);
    std::vector<bool> seenKnown(known.size(), false);
    std::unordered_set<std::string> seenCarried;

    const auto header = reader_.fields();
    columns_.reserve(header.size());
    for (std::size_t c = 0; c < header.size(); ++c) {
        const std::string_view name = trimmed(header[c]);
        if (name.empty())
            fail(c, "the column has no name");
        const auto found = byName.find(lowered(name));
        if (found != byName.end()) {
            if (seenKnown[found->second])
                fail(c, "column " + quotedName(known[found->second]) + " appears twice");
            seenKnown[found->second] = true;
            columns_.emplace_back(found->second);
            continue;
        }
        if (unknown == UnknownColumns::Refuse)
            fail(c, "unknown column " + quotedName(name));
        if (!seenCarried.emplace(name).second)
            fail(c, "column " + quotedName(name) + " appears twice");
        columns_.emplace_back(std::nullopt);
        carried_.emplace_back(name);
    }
}

bool FieldFileReader::next() {
    try {
        if (!reader_.next())
            return false;
    } catch (const CsvError& e) {
        throw FieldFileError(e.line(), 0, e.what());
    }
    const std::size_t fields = reader_.fields().size();
    if (fields != columns_.size())
        fail(std::min(fields, columns_.size()),
             std::to_string(fields) + (fields == 1 ? " field" : " fields") +
                 " where the header has " + std::to_string(columns_.size()));
    return true;
}

void FieldFileReader::fail(std::size_t column, const std::string& message) const {
    throw FieldFileError(reader_.line(), column + 1, message);
}

char* writeField(char* out, std::string_view text) {
    if (!needsQuotes(text))
        return std::copy(text.begin(), text.end(), out);
    *out++ = '"';
    for (char c : text) {
        *out++ = c;
        if (c == '"')
            *out++ = '"';
    }
    *out++ = '"';
    return out;
}

void writeField(std::ostream& out, std::string_view text) {
    std::string field(2 * text.size() + 2, '\0');
    field.resize(static_cast<std::size_t>(writeField(field.data(), text) - field.data()));
    out << field;
}

} // namespace csv
