// SPDX-License-Identifier: MIT
// The converted spectrum as CSV: a header naming each column with its unit,
// then a line a row, each value the shortest text that reads back as it.
#pragma once

#include "output.h"
#include "spectrum_row.h"

#include <string>
#include <string_view>

class CsvWriter {
public:
    CsvWriter(Output& output, bool with_source);  // with_source: a first column naming each row's file
    void header();
    void row(const SpectrumRow& row);
    void set_source(std::string_view name);  // the file the next rows come from

private:
    Output& output_;
    bool with_source_;
    std::string source_;  // as a CSV field, with its comma
};
