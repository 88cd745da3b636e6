#include "csv_reader.hpp"

#include <algorithm>
#include <cstring>

namespace csv {

namespace {

// "" becomes " in place; the field was checked to hold quotes only in pairs.
char* undouble(char* first, char* last) {
    char* out = first;
    for (char* p = first; p < last; ++p) {
        *out++ = *p;
        if (*p == '"')
            ++p;
    }
    return out;
}

} // namespace

CsvReader::CsvReader(std::istream& in, std::size_t bufferSize, std::size_t maxRecord,
                     char separator)
    : in_(in), buffer_(std::max<std::size_t>(bufferSize, 16)), maxRecord_(maxRecord),
      separator_(separator) {}

// Looks at the first line that is not blank, read whole into the buffer, for ',' and ';' outside
// quotes. A quoted line break is not looked through: a header rarely has one.
void CsvReader::detectSeparator() {
    std::size_t offset = 0; // from begin_, which a refill moves
    for (;;) {
        const char* data = buffer_.data() + begin_;
        const std::size_t size = end_ - begin_;
        while (offset < size && (data[offset] == '\r' || data[offset] == '\n'))
            ++offset;
        if (offset < size && std::memchr(data + offset, '\n', size - offset))
            break;
        if (eof_ || size >= maxRecord_ || !refill())
            break;
    }
    const char* data = buffer_.data() + begin_;
    const std::size_t size = end_ - begin_;
    bool quoted = false;
    bool comma = false;
    bool semicolon = false;
    for (std::size_t i = offset; i < size && (quoted || data[i] != '\n'); ++i) {
        if (data[i] == '"')
            quoted = !quoted;
        else if (!quoted && data[i] == ',')
            comma = true;
        else if (!quoted && data[i] == ';')
            semicolon = true;
    }
    separator_ = semicolon && !comma ? ';' : ',';
}

// Looks at the first line break: a '\r' not followed by '\n' means every line ends so, and each
// '\r' is read as '\n' from then on.
void CsvReader::detectLineEnds() {
    for (;;) {
        const char* data = buffer_.data() + begin_;
        const std::size_t size = end_ - begin_;
        const char* last = data + size;
        const char* brk = std::find_if(data, last, [](char c) { return c == '\r' || c == '\n'; });
        if (brk != last && (brk + 1 < last || eof_)) {
            crOnly_ = *brk == '\r' && (brk + 1 == last || brk[1] != '\n');
            break;
        }
        if (eof_ || size >= maxRecord_ || !refill())
            break;
    }
    if (crOnly_)
        std::replace(buffer_.data() + begin_, buffer_.data() + end_, '\r', '\n');
}

// Moves the unread data to the front and reads more after it, growing the buffer when a single
// record fills it. False when nothing more could be read.
bool CsvReader::refill() {
    if (eof_)
        return false;
    if (begin_ > 0) {
        std::memmove(buffer_.data(), buffer_.data() + begin_, end_ - begin_);
        end_ -= begin_;
        begin_ = 0;
    }
    if (end_ == buffer_.size()) {
        if (buffer_.size() >= maxRecord_)
            throw CsvError(nextLine_,
                           "a record longer than " + std::to_string(maxRecord_ >> 20) + " MiB");
        buffer_.resize(std::min(buffer_.size() * 2, maxRecord_));
    }
    in_.read(buffer_.data() + end_, static_cast<std::streamsize>(buffer_.size() - end_));
    const auto got = static_cast<std::size_t>(in_.gcount());
    if (crOnly_)
        std::replace(buffer_.data() + end_, buffer_.data() + end_ + got, '\r', '\n');
    end_ += got;
    if (got == 0)
        eof_ = true;
    return got > 0;
}

// Finds the fields of the record at begin_ without changing the buffer, so that it can start
// again after a refill. On Done, end is the offset just past the record's line break.
CsvReader::Parse CsvReader::parseRecord(std::size_t& end) {
    spans_.clear();
    quotedBreaks_ = 0;
    const char* const data = buffer_.data();
    std::size_t pos = begin_;
    std::size_t lineEnd = 0; // where the next '\n' (or the data) ends, once looked up
    bool lineEndKnown = false;
    for (;;) {
        Span span{pos, pos, false, false};
        // Blanks before an opening quote are tolerated, as are blanks after the closing one.
        std::size_t quote = pos;
        while (quote < end_ && (data[quote] == ' ' || data[quote] == '\t'))
            ++quote;
        if (quote < end_ && data[quote] == '"') {
            pos = quote + 1;
            span.first = pos;
            span.quoted = true;
            for (;;) {
                const void* found = std::memchr(data + pos, '"', end_ - pos);
                if (!found) {
                    if (!eof_)
                        return Parse::NeedMore;
                    throw CsvError(recordLine_, "a quoted field is not closed");
                }
                pos = static_cast<std::size_t>(static_cast<const char*>(found) - data);
                if (pos + 1 >= end_ && !eof_)
                    return Parse::NeedMore; // is it a doubled quote?
                if (pos + 1 < end_ && data[pos + 1] == '"') {
                    span.escaped = true;
                    pos += 2;
                    continue;
                }
                break;
            }
            span.last = pos;
            quotedBreaks_ +=
                static_cast<std::size_t>(std::count(data + span.first, data + span.last, '\n'));
            ++pos; // the closing quote
            while (pos < end_ && (data[pos] == ' ' || data[pos] == '\t'))
                ++pos;
            if (pos < end_ && data[pos] == '\r')
                ++pos;
            if (pos < end_ && data[pos] != separator_ && data[pos] != '\n')
                throw CsvError(recordLine_, "text after the closing quote of field " +
                                                std::to_string(spans_.size() + 1));
        } else {
            // The line's end is looked up once and kept; a comma is looked for only before it.
            if (!lineEndKnown || lineEnd < pos) {
                const void* nl = std::memchr(data + pos, '\n', end_ - pos);
                lineEnd = nl ? static_cast<std::size_t>(static_cast<const char*>(nl) - data) : end_;
                lineEndKnown = true;
            }
            const void* comma = std::memchr(data + pos, separator_, lineEnd - pos);
            pos =
                comma ? static_cast<std::size_t>(static_cast<const char*>(comma) - data) : lineEnd;
            span.last = pos;
            const bool endsLine = pos >= end_ || data[pos] == '\n';
            if (endsLine && span.last > span.first && data[span.last - 1] == '\r')
                --span.last;
        }
        if (pos >= end_ && !eof_)
            return Parse::NeedMore;
        spans_.push_back(span);
        if (pos >= end_) {
            end = pos;
            return Parse::Done;
        }
        if (data[pos] == '\n') {
            end = pos + 1;
            return Parse::Done;
        }
        ++pos; // the comma
    }
}

bool CsvReader::next() {
    for (;;) {
        if (begin_ == end_ && !refill())
            return false;
        if (first_ && end_ - begin_ < 3 && !eof_) {
            refill();
            continue;
        }
        if (first_) {
            first_ = false;
            if (end_ - begin_ >= 3 && std::memcmp(buffer_.data() + begin_, "\xEF\xBB\xBF", 3) == 0)
                begin_ += 3;
            detectLineEnds();
            if (separator_ == kDetectSeparator)
                detectSeparator();
        }
        recordLine_ = nextLine_;
        std::size_t end = 0;
        while (parseRecord(end) == Parse::NeedMore)
            refill();
        char* const data = buffer_.data();
        // Its own line, ended by a line break or the end of the input, and the breaks inside
        // quotes.
        nextLine_ += 1 + quotedBreaks_;

        fields_.clear();
        for (const auto& span : spans_) {
            char* first = data + span.first;
            char* last = data + span.last;
            if (span.escaped)
                last = undouble(first, last);
            fields_.emplace_back(first, static_cast<std::size_t>(last - first));
        }
        begin_ = end;
        // A blank line is no record ("" is one, an empty field).
        if (fields_.size() == 1 && fields_[0].empty() && !spans_[0].quoted)
            continue;
        return true;
    }
}

} // namespace csv
