// SPDX-License-Identifier: MIT
// A plain table, read as a stream: rows of a wavelength and two numbers,
// separated by commas, semicolons, tabs or spaces; # starts a comment, and a
// first line that does not start with a number is a header.
#pragma once

#include "numbers.h"

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

struct TableRow {
    double nanometres, first, second;
};

class TableReader {
public:
    TableReader(std::FILE* input, numbers::Unit unit);  // reads its descriptor; does not close `input`
    std::string_view start();  // the first bytes, read ahead, for telling what the input is
    std::string rest();        // everything not yet read, the start included
    bool next(TableRow& row);  // false at the end; InputError for a bad line
    long line() const { return line_; }

private:
    bool fill();  // more of the input after what is unread; false at its end
    void read(std::string_view text, TableRow& row);

    std::FILE* input_;
    numbers::Unit unit_;
    std::vector<char> buffer_;
    size_t begin_ = 0, end_ = 0;  // what is read but not taken
    long line_ = 0;
    bool header_possible_ = true, at_end_ = false;
    std::string_view fields_[4];
};
