// SPDX-License-Identifier: MIT
#include "about.h"
#include "input_error.h"
#include "numbers.h"
#include "plain_text.h"

#include <yaml-cpp/yaml.h>

#include <algorithm>
#include <fstream>
#include <iterator>

namespace {

constexpr char database_citation[] =
    "M. N. Polyanskiy, \"Refractiveindex.info database of optical constants\", Sci. Data 11, 94 (2024), "
    "https://doi.org/10.1038/s41597-023-02898-2";

// Each line of TEXT as plain text, indented, blank lines and trailing spaces dropped.
std::string indented(const std::string& text)
{
    std::string out;
    for (size_t at = 0; at < text.size();) {
        const size_t end = std::min(text.find('\n', at), text.size());
        std::string line = plain_text(std::string_view(text).substr(at, end - at));
        at = end + 1;
        line.erase(0, std::min(line.find_first_not_of(" \t"), line.size()));
        line.erase(line.find_last_not_of(" \t\r") + 1);
        if (!line.empty())
            out += "  " + line + "\n";
    }
    return out;
}

// The range of an entry's wavelengths in nm: a formula's wavelength_range, a
// table's first column.
std::string range_of(const YAML::Node& entry)
{
    std::vector<double> micrometres;
    // A line's first number: a table's wavelength, or each bound of a range (a list, or words).
    const auto first_number = [&micrometres](std::string_view line) {
        const size_t first = line.find_first_not_of(" \t"), last = line.find_first_of(" \t\r", first);
        if (double value; first != std::string_view::npos && numbers::parse(line.substr(first, last - first), value))
            micrometres.push_back(value);
    };
    if (const YAML::Node range = entry["wavelength_range"]; range && range.IsSequence()) {
        for (const YAML::Node& bound : range)
            if (bound.IsScalar())
                first_number(bound.Scalar());
    } else if (range && range.IsScalar()) {
        const std::string& words = range.Scalar();
        first_number(words);
        first_number(std::string_view(words).substr(std::min(words.find_first_of(" \t", words.find_first_not_of(" \t")), words.size())));
    } else if (const YAML::Node data = entry["data"]; data && data.IsScalar()) {
        const std::string& rows = data.Scalar();
        for (size_t at = 0; at < rows.size();) {
            const size_t end = std::min(rows.find('\n', at), rows.size());
            first_number(std::string_view(rows).substr(at, end - at));
            at = end + 1;
        }
    }
    if (micrometres.empty())
        return "";
    const auto [low, high] = std::minmax_element(micrometres.begin(), micrometres.end());
    return ", " + numbers::shortest(numbers::nanometres(*low, numbers::Unit::um)) + " to " +
           numbers::shortest(numbers::nanometres(*high, numbers::Unit::um)) + " nm";
}

} // namespace

std::string about(const std::string& name, const std::string& file, const std::string& database)
{
    std::ifstream in(file, std::ios::binary);
    if (!in)
        throw InputError(0, "cannot open " + file);
    const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    YAML::Node root;
    try {
        root = YAML::Load(text);
    } catch (const YAML::Exception& error) {
        throw InputError(error.mark.is_null() ? 0 : error.mark.line + 1, "YAML: " + error.msg);
    }
    const YAML::Node data = root.IsMap() ? root["DATA"] : YAML::Node();
    if (!data || !data.IsSequence())
        throw InputError(0, "not a refractiveindex.info material file: no list DATA");
    std::string out = (name.empty() ? "" : name + "\n") + file + "\n";
    for (const char* key : {"REFERENCES", "COMMENTS"})
        if (const YAML::Node node = root[key]; node && node.IsScalar())
            out += std::string("\n") + key + "\n" + indented(node.Scalar());
    if (const YAML::Node conditions = root["CONDITIONS"]; conditions && conditions.IsMap()) {
        out += "\nCONDITIONS\n";
        for (const auto& condition : conditions)
            if (condition.first.IsScalar() && condition.second.IsScalar())
                out += "  " + condition.first.Scalar() + ": " + condition.second.Scalar() + "\n";
    }
    out += "\nDATA\n";
    for (const YAML::Node& entry : data)
        if (const YAML::Node type = entry.IsMap() ? entry["type"] : YAML::Node(); type && type.IsScalar())
            out += "  " + type.Scalar() + range_of(entry) + "\n";
    out += "\nDATABASE\n" + (database.empty() ? "" : "  " + database + "\n") + "  " + database_citation + "\n";
    return out;
}
