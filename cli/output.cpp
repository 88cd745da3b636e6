#include "output.hpp"

#include "field_file.hpp"
#include "number_text.hpp"
#include "unit_presets.hpp"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <string>

namespace cli {

Sink::Sink(std::ostream& out, std::size_t capacity) : out_(out), buffer_(capacity) {}

char* Sink::reserve(std::size_t n) {
    if (buffer_.size() - used_ < n) {
        if (!flush())
            throw OutputFailed();
        if (buffer_.size() < n)
            buffer_.resize(n);
    }
    return buffer_.data() + used_;
}

void Sink::write(std::string_view text) {
    char* p = reserve(text.size());
    std::memcpy(p, text.data(), text.size());
    commit(p + text.size());
}

bool Sink::flush() {
    if (used_ > 0)
        out_.write(buffer_.data(), static_cast<std::streamsize>(used_));
    used_ = 0;
    out_.flush();
    return static_cast<bool>(out_);
}

namespace {

// The columns a text takes on a terminal: its UTF-8 characters, not its bytes ("\u2014" is one).
std::size_t columnsOf(std::string_view text) {
    return static_cast<std::size_t>(std::ranges::count_if(
        text, [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

char* put(char* out, std::string_view text) {
    std::memcpy(out, text.data(), text.size());
    return out + text.size();
}

} // namespace

char* writeShortest(char* out, float value) {
    if (std::isnan(value))
        return put(out, "nan");
    if (std::isinf(value))
        return put(out, value < 0 ? "-inf" : "inf");
    return std::to_chars(out, out + kMaxNumberText, value).ptr;
}

char* writeDigits(char* out, float value, int digits) {
    if (!std::isfinite(value))
        return writeShortest(out, value);
    return std::to_chars(out, out + kMaxNumberText, value, std::chars_format::general, digits).ptr;
}

std::vector<OutColumn> allFields(const Calculation& calc) {
    std::vector<OutColumn> columns;
    const auto fields = calc.fields();
    for (std::size_t i = 0; i < fields.size(); ++i)
        columns.push_back({std::string(fields[i].key), false, i});
    return columns;
}

namespace {

// The length of the well-formed UTF-8 sequence at the start of text, 0 when it is not one
// (a stray continuation byte, a cut sequence, an overlong form, a surrogate, beyond U+10FFFF).
std::size_t utf8Length(std::string_view text) {
    const auto at = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = at(0);
    std::size_t length = 0;
    unsigned char low = 0x80, high = 0xBF; // the second byte's range
    if (lead < 0x80)
        return 1;
    if (lead >= 0xC2 && lead <= 0xDF)
        length = 2;
    else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else
        return 0;
    if (text.size() < length || at(1) < low || at(1) > high)
        return 0;
    for (std::size_t i = 2; i < length; ++i)
        if (at(i) < 0x80 || at(i) > 0xBF)
            return 0;
    return length;
}

// Bytes that are not UTF-8 become U+FFFD: JSON text is Unicode, and a raw byte would make the
// whole line unreadable.
char* putJsonText(char* p, std::string_view text) {
    static constexpr char kHex[] = "0123456789abcdef";
    *p++ = '"';
    while (!text.empty()) {
        const char c = text.front();
        const auto u = static_cast<unsigned char>(c);
        std::size_t length = 1;
        if (c == '"' || c == '\\') {
            *p++ = '\\';
            *p++ = c;
        } else if (u < 0x20) {
            p = put(p, "\\u00");
            *p++ = kHex[u >> 4];
            *p++ = kHex[u & 15];
        } else if ((length = utf8Length(text)) == 0) {
            p = put(p, "\xEF\xBF\xBD");
            length = 1;
        } else {
            p = put(p, text.substr(0, length));
        }
        text.remove_prefix(length);
    }
    *p++ = '"';
    return p;
}

} // namespace

PointWriter::PointWriter(Sink& sink, Format format, const Calculation& calc,
                         std::vector<OutColumn> columns, int digits, TableLayout layout)
    : sink_(sink), format_(format), calc_(calc), columns_(std::move(columns)), digits_(digits),
      layout_(layout) {
    const auto fields = calc.fields();
    const std::size_t numberWidth = digits_ > 0 ? static_cast<std::size_t>(digits_) + 6 : 12;
    for (const auto& c : columns_) {
        if (!c.carried)
            labelWidth_ = std::max(labelWidth_, fields[c.index].label.size());
        anyCarried_ = anyCarried_ || c.carried;
        // "key": "value", for a number or the unit's key
        rowBytes_ += c.name.size() + kMaxNumberText + 8;
        widths_.push_back(std::max(c.name.size(), numberWidth));
        const bool isNumber = !c.carried && fields[c.index].kind == Kind::Number;
        cells_.push_back({isNumber ? calc.slot(c.index) : nullptr, c.carried, c.index});
    }
    rowBytes_ += 8;
}

void PointWriter::begin() {
    std::string header;
    if (format_ == Format::Csv) {
        for (const auto& c : columns_) {
            if (!header.empty())
                header += ',';
            header += c.name;
        }
        header += '\n';
    } else if (format_ == Format::Table && layout_ == TableLayout::Rows) {
        for (std::size_t i = 0; i < columns_.size(); ++i) {
            const auto& name = columns_[i].name;
            if (i > 0)
                header += "  ";
            // Names stand over their values: right for numbers, left for text.
            const bool left =
                columns_[i].carried || calc_.fields()[columns_[i].index].kind != Kind::Number;
            if (!left)
                header.append(widths_[i] - name.size(), ' ');
            header += name;
            if (left && i + 1 < columns_.size())
                header.append(widths_[i] - name.size(), ' ');
        }
        header += '\n';
    }
    sink_.write(header);
}

void PointWriter::point(std::span<const std::string_view> inputRow) {
    switch (format_) {
    case Format::Table:
        if (layout_ == TableLayout::Form)
            form();
        else
            rows(inputRow);
        break;
    case Format::Json:
        json(inputRow);
        break;
    case Format::Csv:
        csv(inputRow);
        break;
    }
    ++points_;
}

// The text of a field that holds a word: the unit's key or the choice made.
std::string_view PointWriter::word(std::size_t field) const {
    const auto& f = calc_.fields()[field];
    if (f.kind == Kind::Units)
        return unitKey(calc_.unitIndex());
    const auto choice = static_cast<std::size_t>(calc_.choice(field));
    return choice < f.choices.size() ? f.choices[choice] : std::string_view("?");
}

char* PointWriter::number(char* p, float value) const {
    return digits_ == 0 ? writeShortest(p, value) : writeDigits(p, value, digits_);
}

// Quoting and escapes take at most six bytes for one.
std::size_t PointWriter::carriedBytes(std::span<const std::string_view> inputRow) const {
    std::size_t bytes = 0;
    if (anyCarried_)
        for (const auto& c : columns_)
            if (c.carried)
                bytes += 6 * inputRow[c.index].size() + 2;
    return bytes;
}

void PointWriter::csv(std::span<const std::string_view> inputRow) {
    char* p = sink_.reserve(rowBytes_ + carriedBytes(inputRow));
    const auto fields = calc_.fields();
    for (const auto& cell : cells_) {
        if (cell.value && std::isnan(*cell.value) && fields[cell.index].mayBeEmpty)
            ; // no figure: an empty cell
        else if (cell.value)
            p = number(p, *cell.value);
        else if (cell.carried)
            p = csv::writeField(p, inputRow[cell.index]);
        else
            p = put(p, word(cell.index));
        *p++ = ',';
    }
    if (cells_.empty())
        *p++ = '\n';
    else
        p[-1] = '\n'; // in place of the last comma
    sink_.commit(p);
}

// One object per line, so that a batch reads as JSON Lines and a single point as one object.
// JSON has no literal for NaN and the infinities; they are null, which numeric tools skip.
void PointWriter::json(std::span<const std::string_view> inputRow) {
    char* p = sink_.reserve(rowBytes_ + carriedBytes(inputRow));
    *p++ = '{';
    const auto fields = calc_.fields();
    bool first = true;
    for (const auto& c : columns_) {
        if (!first)
            p = put(p, ", ");
        first = false;
        *p++ = '"';
        p = put(p, c.name);
        p = put(p, "\": ");
        if (c.carried) {
            p = putJsonText(p, inputRow[c.index]);
        } else if (fields[c.index].kind != Kind::Number) {
            *p++ = '"';
            p = put(p, word(c.index));
            *p++ = '"';
        } else {
            const float value = calc_.get(c.index);
            p = std::isfinite(value) ? number(p, value) : put(p, "null");
        }
    }
    p = put(p, "}\n");
    sink_.commit(p);
}

// Under the column names: numbers to six digits as the form shows them (or --digits), text as
// it came.
void PointWriter::rows(std::span<const std::string_view> inputRow) {
    std::string text;
    const auto fields = calc_.fields();
    for (std::size_t i = 0; i < columns_.size(); ++i) {
        const auto& c = columns_[i];
        if (i > 0)
            text += "  ";
        std::string value;
        bool left = true;
        if (c.carried) {
            value = inputRow[c.index];
        } else if (fields[c.index].kind != Kind::Number) {
            value = word(c.index);
        } else {
            char buffer[kMaxNumberText];
            const float v = calc_.get(c.index);
            if (std::isnan(v) && fields[c.index].mayBeEmpty)
                value.clear(); // no figure
            else if (std::isnan(v) && fields::isInput(fields[c.index]))
                value = "\u2014"; // not given
            else
                value = digits_ == 0 ? fields::formatFloat(v)
                                     : std::string(buffer, writeDigits(buffer, v, digits_));
            left = false;
        }
        const std::size_t shown = columnsOf(value);
        const std::size_t pad = shown < widths_[i] ? widths_[i] - shown : 0;
        if (!left)
            text.append(pad, ' ');
        text += value;
        if (left && i + 1 < columns_.size())
            text.append(pad, ' ');
    }
    text += '\n';
    sink_.write(text);
}

// Label, value and unit text line by line under the captions of the form's frames, numbers to six
// digits as the form shows them.
void PointWriter::form() {
    std::string text;
    if (points_ > 0)
        text += '\n';
    std::string_view frame = "\x01"; // no frame seen yet
    const auto fields = calc_.fields();
    bool firstLine = true;
    for (const auto& c : columns_) {
        const auto& f = fields[c.index];
        if (f.frame != frame) {
            // An untitled frame after another one is set apart by a blank line.
            if (!f.frame.empty())
                text.append(f.frame).append("\n");
            else if (!firstLine)
                text += '\n';
            frame = f.frame;
        }
        firstLine = false;
        std::string value;
        if (f.kind == Kind::Units) {
            const auto preset = combustor::presetFor(calc_.unitIndex());
            value = preset ? std::string(preset->listItem) : "(none)";
        } else if (f.kind == Kind::Choice) {
            value = word(c.index);
        } else if (f.mayBeEmpty && std::isnan(calc_.get(c.index))) {
            value = "(none)"; // outside what the map shows
        } else if (fields::isInput(f) && std::isnan(calc_.get(c.index))) {
            value = "\u2014"; // not given (an altitude left out), not a failed figure
        } else if (digits_ > 0) {
            char buffer[kMaxNumberText];
            value.assign(buffer, writeDigits(buffer, calc_.get(c.index), digits_));
        } else {
            value = fields::formatFloat(calc_.get(c.index));
        }
        text += "  ";
        text += f.label;
        text.append(labelWidth_ + 2 - f.label.size(), ' ');
        text += value;
        if (!f.unit.empty()) {
            text.append(columnsOf(value) < 12 ? 12 - columnsOf(value) : 1, ' ');
            text += f.unit;
        }
        text += '\n';
        if (f.kind == Kind::Units && !calc_.unitName().empty()) {
            const std::string_view label = "Unit of measurement:";
            text += "  ";
            text += label;
            text.append(labelWidth_ + 2 > label.size() ? labelWidth_ + 2 - label.size() : 1, ' ');
            text += calc_.unitName();
            text += '\n';
        }
    }
    sink_.write(text);
}

} // namespace cli
