// SPDX-License-Identifier: MIT
// What is wrong with an input, and on which of its lines.
#pragma once

#include <stdexcept>
#include <string>

struct InputError : std::runtime_error {
    InputError(long line_number, const std::string& what) : std::runtime_error(what), line(line_number) {}
    long line;  // 0 where no one line is at fault
};
