// SPDX-License-Identifier: MIT
// Numbers in tables: a field read whole in the C locale, a wavelength in its
// unit as nanometres, and a double written as the shortest text that reads
// back as it.
#pragma once

#include <string>
#include <string_view>

namespace numbers {

// The whole of `text` as a double: decimal or e-notation with an optional
// sign, inf or nan.  False for anything else ("1,5", "12abc", "") and for a
// number beyond a double's range, which would read as 0 or inf.
bool parse(std::string_view text, double& value);

// The units a wavelength is given in.  Micrometres become nanometres
// exactly: the decimal times 1000, rounded once.
enum class Unit { nm, um, eV, per_cm };
bool parse_unit(std::string_view name, Unit& unit);  // nm, um, eV or cm-1
bool parse_wavelength(std::string_view text, Unit unit, double& nanometres);
double nanometres(double wavelength, Unit unit);  // a double in `unit`, rounded once

// `value` as the shortest text that reads back as it ("1000", "632.8",
// "1e+17", "-0", "inf", "nan"), from `out` on; returns its end.
constexpr int longest_text = 32;  // what `out` must hold
char* write(char* out, double value);
std::string shortest(double value);  // the same, as a string for messages

} // namespace numbers
