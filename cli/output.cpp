#include "output.hpp"

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

PointWriter::PointWriter(Sink& sink, Format format, const Calculation& calc)
    : sink_(sink), format_(format), calc_(calc) {
    for (const auto& f : calc.fields()) {
        labelWidth_ = std::max(labelWidth_, f.label.size());
        // "key": "value", with room for quotes around a non-finite number
        rowBytes_ += f.key.size() + kMaxNumberText + 8;
    }
    rowBytes_ += 8;
}

void PointWriter::begin() {
    if (format_ != Format::Csv)
        return;
    std::string header;
    for (const auto& f : calc_.fields()) {
        if (!header.empty())
            header += ',';
        header += f.key;
    }
    header += '\n';
    sink_.write(header);
}

void PointWriter::point() {
    switch (format_) {
    case Format::Table:
        table();
        break;
    case Format::Json:
        json();
        break;
    case Format::Csv:
        csv();
        break;
    }
    ++points_;
}

void PointWriter::csv() {
    char* p = sink_.reserve(rowBytes_);
    const auto fields = calc_.fields();
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0)
            *p++ = ',';
        if (fields[i].kind == Kind::Units)
            p = put(p, unitKey(calc_.unitIndex()));
        else
            p = writeShortest(p, calc_.get(i));
    }
    *p++ = '\n';
    sink_.commit(p);
}

// One object per line, so that a batch reads as JSON Lines and a single point as one object.
void PointWriter::json() {
    char* p = sink_.reserve(rowBytes_);
    *p++ = '{';
    const auto fields = calc_.fields();
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0)
            p = put(p, ", ");
        *p++ = '"';
        p = put(p, fields[i].key);
        p = put(p, "\": ");
        if (fields[i].kind == Kind::Units) {
            *p++ = '"';
            p = put(p, unitKey(calc_.unitIndex()));
            *p++ = '"';
            continue;
        }
        const float value = calc_.get(i);
        const bool quoted = !std::isfinite(value); // JSON has no literal for these
        if (quoted)
            *p++ = '"';
        p = writeShortest(p, value);
        if (quoted)
            *p++ = '"';
    }
    p = put(p, "}\n");
    sink_.commit(p);
}

// Label, value and unit text line by line under the captions of the form's frames, numbers to six
// digits as the form shows them.
void PointWriter::table() {
    std::string text;
    if (points_ > 0)
        text += '\n';
    std::string_view frame = "\x01"; // no frame seen yet
    const auto fields = calc_.fields();
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const auto& f = fields[i];
        if (f.frame != frame) {
            // An untitled frame after another one is set apart by a blank line.
            if (!f.frame.empty())
                text.append(f.frame).append("\n");
            else if (i > 0)
                text += '\n';
            frame = f.frame;
        }
        std::string value;
        if (f.kind == Kind::Units) {
            const auto preset = combustor::presetFor(calc_.unitIndex());
            value = preset ? std::string(preset->listItem) : "(none)";
        } else {
            value = fields::formatFloat(calc_.get(i));
        }
        text += "  ";
        text += f.label;
        text.append(labelWidth_ + 2 - f.label.size(), ' ');
        text += value;
        if (!f.unit.empty()) {
            text.append(value.size() < 12 ? 12 - value.size() : 1, ' ');
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
