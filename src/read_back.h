// SPDX-License-Identifier: MIT
// A number as the shortest text that reads back as it: the value a tooltip
// gives, without the toolkit.
#pragma once

// The fewest significant digits with which "%.*g" writes `value` so that
// strtod reads back exactly `value`; for a whole number below 10^17 at least
// its whole digits, so that 1000 reads 1000, not 1e+03.
int digits_to_read_back(double value);
