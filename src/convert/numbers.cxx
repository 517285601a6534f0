// SPDX-License-Identifier: MIT
#include "numbers.h"
#include "optics.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <string>

namespace numbers {

bool parse(std::string_view text, double& value)
{
    if (text.size() > 1 && text[0] == '+' && text[1] != '-' && text[1] != '+')
        text.remove_prefix(1);  // from_chars takes no plus sign
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    return error == std::errc() && stop == end && !text.empty();
}

bool parse_unit(std::string_view name, Unit& unit)
{
    for (const auto& [known, meaning] : {std::pair{"nm", Unit::nm}, {"um", Unit::um}, {"eV", Unit::eV}, {"cm-1", Unit::per_cm}})
        if (name == known) {
            unit = meaning;
            return true;
        }
    return false;
}

namespace {

// The decimal `text` times 1000, read once: its exponent raised by three.
bool parse_thousandfold(std::string_view text, double& value)
{
    const size_t e = text.find_first_of("eE");
    long exponent = 0;
    if (e != std::string_view::npos) {
        const char* end = text.data() + text.size();
        const char* start = text.data() + e + 1 + (e + 1 < text.size() && text[e + 1] == '+');
        const auto [stop, error] = std::from_chars(start, end, exponent);
        if (error != std::errc() || stop != end || exponent > 100000 || exponent < -100000)
            return false;
        text = text.substr(0, e);
    }
    if (text.empty() || text.find_first_of("eEnNiI") != std::string_view::npos)  // no inf, nan or e left
        return false;
    return parse(std::string(text) + 'e' + std::to_string(exponent + 3), value);
}

} // namespace

bool parse_wavelength(std::string_view text, Unit unit, double& nanometres)
{
    if (unit == Unit::um)
        return parse_thousandfold(text, nanometres);
    double value = 0;
    if (!parse(text, value))
        return false;
    nanometres = numbers::nanometres(value, unit);
    return true;
}

// hc/x and 1e7/x are each their own inverse: an energy in eV gives the
// wavelength in nm by the division that gives the energy of a wavelength.
double nanometres(double wavelength, Unit unit)
{
    switch (unit) {
    case Unit::um: return wavelength * 1000.0;
    case Unit::eV: return optics::photon_energy(wavelength);
    case Unit::per_cm: return optics::wavenumber(wavelength);
    default: return wavelength;
    }
}

char* write(char* out, double value)
{
    if (std::isnan(value)) {  // without the sign and payload that differ between architectures
        std::memcpy(out, "nan", 3);
        return out + 3;
    }
    return std::to_chars(out, out + longest_text, value).ptr;
}

std::string shortest(double value)
{
    char text[longest_text];
    return std::string(text, write(text, value));
}

} // namespace numbers
