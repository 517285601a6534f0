// SPDX-License-Identifier: MIT
// kalvira-convert's command line: its options, checked, and the wavelengths
// that --at or --range ask for.
#pragma once

#include "numbers.h"

#include <string>
#include <vector>

extern const char usage[];

struct Options {
    bool help = false, version = false, list = false;
    bool epsilon = false, minus = false, line_buffered = false;
    numbers::Unit unit = numbers::Unit::nm;
    std::string at, range, output, database, about;
    bool wavelengths_given() const { return !at.empty() || !range.empty(); }
    std::vector<std::string> files;  // files and names, "-" where none is given; --list's words
};

struct UsageError {
    std::string why;
};

Options parse_options(int argc, const char* const* argv);  // UsageError for a wrong one

// The wavelengths asked for, in nm: those of --at, or --range's FROM + i STEP in
// its unit, TO the last where it is reached to within rounding.  UsageError
// where they are not wavelengths.
class Wavelengths {
public:
    explicit Wavelengths(const Options& options);
    double size() const { return listed_.empty() ? count_ : double(listed_.size()); }
    double operator[](double i) const;

private:
    void list(const std::string& text);
    void range(const std::string& text);

    numbers::Unit unit_;
    std::vector<double> listed_;
    double from_ = 0, to_ = 0, step_ = 0, count_ = 0;
};
