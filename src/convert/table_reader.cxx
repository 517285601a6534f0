// SPDX-License-Identifier: MIT
#include "table_reader.h"
#include "input_error.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace {

// What the input has now, without waiting for more as fread would: a table
// fed live through a pipe is read row by row.
long read_some(std::FILE* input, char* to, size_t count)
{
#ifdef _WIN32
    return _read(_fileno(input), to, unsigned(count));
#else
    long got;
    do
        got = ::read(fileno(input), to, count);
    while (got < 0 && errno == EINTR);
    return got;
#endif
}

std::string_view without_byte_order_mark(std::string_view text)
{
    return text.substr(0, 3) == "\xEF\xBB\xBF" ? text.substr(3) : text;
}

// Whether `text` holds a whole line that is neither blank nor a comment, which
// tells a table from a material file.
bool tells_kind(std::string_view text)
{
    text = without_byte_order_mark(text);
    for (size_t i = 0, end; (end = text.find('\n', i)) != std::string_view::npos; i = end + 1) {
        const size_t first = text.find_first_not_of(" \t\r", i);
        if (first < end && text[first] != '#')
            return true;
    }
    return false;
}

// Memory stays the same whatever the table's length: a buffer that grows to
// hold the longest line, up to its limit.
constexpr size_t first_buffer = 1 << 16, longest_line = 1 << 20;

bool blank(char c)
{
    return c == ' ' || c == '\t' || c == '\r';
}

// A field as a message can show it: short, and without control characters.
std::string quoted(std::string_view field)
{
    std::string shown = "\"";
    for (const char c : field.substr(0, 40))
        shown += static_cast<unsigned char>(c) < 0x20 ? '?' : c;
    return shown + (field.size() > 40 ? "...\"" : "\"");
}

} // namespace

TableReader::TableReader(std::FILE* input, numbers::Unit unit) : input_(input), unit_(unit), buffer_(first_buffer) {}

bool TableReader::fill()
{
    if (at_end_)
        return false;
    std::memmove(buffer_.data(), buffer_.data() + begin_, end_ - begin_);
    end_ -= begin_;
    begin_ = 0;
    const long got = read_some(input_, buffer_.data() + end_, buffer_.size() - end_);
    if (got < 0)
        throw InputError(0, std::string("cannot be read: ") + std::strerror(errno));
    end_ += got;
    at_end_ = got == 0;
    return got > 0;
}

std::string_view TableReader::start()
{
    while (end_ - begin_ < 4096 && !tells_kind({buffer_.data() + begin_, end_ - begin_}) && fill()) {
    }
    return {buffer_.data() + begin_, end_ - begin_};
}

std::string TableReader::rest()
{
    std::string text(buffer_.data() + begin_, end_ - begin_);
    begin_ = end_ = 0;
    while (fill()) {
        text.append(buffer_.data(), end_);
        begin_ = end_ = 0;
    }
    return text;
}

bool TableReader::next(TableRow& row)
{
    for (;;) {
        const char* first = buffer_.data() + begin_;
        const char* newline = static_cast<const char*>(std::memchr(first, '\n', end_ - begin_));
        if (!newline && !at_end_) {
            if (end_ - begin_ == buffer_.size()) {
                if (buffer_.size() == longest_line)
                    throw InputError(line_ + 1, "a line longer than " + std::to_string(longest_line) + " bytes: not a table");
                buffer_.resize(std::min(2 * buffer_.size(), longest_line));
            }
            fill();
            continue;
        }
        if (!newline && begin_ == end_)
            return false;
        const size_t length = newline ? newline - first : end_ - begin_;
        begin_ += length + (newline != nullptr);
        ++line_;
        std::string_view text(first, length);
        if (text.find('\0') != std::string_view::npos)
            throw InputError(line_, "not text (a NUL byte)");
        if (line_ == 1)
            text = without_byte_order_mark(text);
        text = text.substr(0, text.find('#'));
        if (text.find_first_not_of(" \t\r") == std::string_view::npos)
            continue;
        if (header_possible_) {
            const size_t start = text.find_first_not_of(" \t\r");
            const size_t stop = text.find_first_of(" \t\r,;", start);
            double ignored = 0;
            header_possible_ = false;
            for (const char c : text)  // a header is text; this would be a binary file's first bytes
                if (static_cast<unsigned char>(c) < 0x20 && c != '\t' && c != '\r')
                    throw InputError(line_, "not text (control characters)");
            if (!numbers::parse(text.substr(start, stop == std::string_view::npos ? stop : stop - start), ignored))
                continue;
        }
        read(text, row);
        return true;
    }
}

// Runs of blanks are one separator, and so is a comma or semicolon with blanks
// around it; two commas side by side have an empty field between them.
void TableReader::read(std::string_view text, TableRow& row)
{
    size_t count = 0, i = 0;
    const size_t size = text.size();
    while (i < size && blank(text[i]))
        ++i;
    while (i < size) {
        const size_t start = i;
        while (i < size && !blank(text[i]) && text[i] != ',' && text[i] != ';')
            ++i;
        if (count < 4)
            fields_[count] = text.substr(start, i - start);
        ++count;
        while (i < size && blank(text[i]))
            ++i;
        if (i < size && (text[i] == ',' || text[i] == ';')) {
            ++i;
            while (i < size && blank(text[i]))
                ++i;
            if (i == size) {  // a separator at the end: an empty last field
                if (count < 4)
                    fields_[count] = {};
                ++count;
            }
        }
    }
    if (count != 3)
        throw InputError(line_, std::to_string(count) + " fields where 3 belong");
    if (!numbers::parse_wavelength(fields_[0], unit_, row.nanometres))
        throw InputError(line_, "field 1: " + quoted(fields_[0]) + " is not a number");
    double* values[] = {&row.first, &row.second};
    for (int f = 1; f < 3; ++f)
        if (!numbers::parse(fields_[f], *values[f - 1]))
            throw InputError(line_, "field " + std::to_string(f + 1) + ": " + quoted(fields_[f]) + " is not a number");
}
