#include "field_file.hpp"

#include "csv_field.hpp"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <ostream>
#include <string>

namespace csv {

namespace {

// The names seen so far, to find one named twice: open addressing over one flat table, each slot
// a name's index and part of its hash, so that most look-ups touch a single cache line.
class NameSet {
public:
    explicit NameSet(std::size_t names) {
        std::size_t size = 16;
        while (size < 2 * names)
            size *= 2;
        slots_.assign(size, 0);
    }
    // False when an equal name is already in the set.
    bool insert(std::span<const std::string_view> names, std::size_t index) {
        const std::string_view name = trimmed(names[index]);
        const std::uint64_t hash = std::hash<std::string_view>{}(name);
        const std::uint64_t tag = hash >> 32;
        const std::size_t mask = slots_.size() - 1;
        for (std::size_t at = hash & mask;; at = (at + 1) & mask) {
            const std::uint64_t slot = slots_[at];
            if (slot == 0) {
                slots_[at] = tag << 32 | (index + 1);
                return true;
            }
            if (slot >> 32 == tag && trimmed(names[(slot & 0xFFFFFFFF) - 1]) == name)
                return false;
        }
    }

private:
    std::vector<std::uint64_t> slots_;
};

} // namespace

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
    std::vector<bool> seenKnown(known.size(), false);
    // Carried names are looked up by hash, so that a header of a million columns reads in time
    // linear in its length.
    const auto header = reader_.fields();
    NameSet seenCarried(unknown == UnknownColumns::Carry ? header.size() : 0);
    columns_.reserve(header.size());
    for (std::size_t c = 0; c < header.size(); ++c) {
        const std::string_view name = trimmed(header[c]);
        if (name.empty())
            fail(c, "the column has no name");
        std::size_t k = 0;
        while (k < known.size() && !sameIgnoringCase(name, known[k]))
            ++k;
        if (k < known.size()) {
            if (seenKnown[k])
                fail(c, "column " + text::quoted(known[k]) + " appears twice");
            seenKnown[k] = true;
            columns_.emplace_back(k);
            continue;
        }
        if (unknown == UnknownColumns::Refuse)
            fail(c, "unknown column " + text::quoted(name));
        if (!seenCarried.insert(header, c))
            fail(c, "column " + text::quoted(name) + " appears twice");
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
