// SPDX-License-Identifier: MIT
#include "material.h"
#include "input_error.h"
#include "numbers.h"

#include <yaml-cpp/depthguard.h>
#include <yaml-cpp/yaml.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <sstream>

namespace {

using dispersion::Quantity;

std::string range_of(const Quantity& quantity)
{
    return numbers::shortest(quantity.lowest()) + " to " + numbers::shortest(quantity.highest()) + " nm";
}

long line_of(const YAML::Node& node)
{
    return node.Mark().line + 1;
}

// The text of a scalar, or of a sequence's scalars joined by spaces.
std::string words_of(const YAML::Node& node)
{
    if (node.IsScalar())
        return node.Scalar();
    std::string words;
    if (node.IsSequence())
        for (const YAML::Node& item : node)
            words += (item.IsScalar() ? item.Scalar() : "?") + ' ';
    return words;
}

std::vector<std::string_view> split(std::string_view text)
{
    std::vector<std::string_view> words;
    for (size_t i = 0; i < text.size();) {
        i = text.find_first_not_of(" \t\r", i);
        if (i == std::string_view::npos)
            break;
        const size_t end = std::min(text.find_first_of(" \t\r", i), text.size());
        words.push_back(text.substr(i, end - i));
        i = end;
    }
    return words;
}

std::vector<double> numbers_in(const YAML::Node& entry, const char* key, numbers::Unit unit = numbers::Unit::nm)
{
    const YAML::Node node = entry[key];
    if (!node)
        throw InputError(line_of(entry), std::string("no ") + key);
    std::vector<double> values;
    const std::string words = words_of(node);
    for (const std::string_view word : split(words)) {
        double value = 0;
        if (!numbers::parse_wavelength(word, unit, value))  // in nm: the number as it stands
            throw InputError(line_of(node), std::string(key) + ": \"" + std::string(word) + "\" is not a number");
        values.push_back(value);
    }
    return values;
}

Quantity formula(const YAML::Node& entry, int kind)
{
    Quantity quantity;
    quantity.from_formula = true;
    quantity.formula = {kind, numbers_in(entry, "coefficients")};
    if (const std::string why = dispersion::check(quantity.formula); !why.empty())
        throw InputError(line_of(entry["coefficients"]), why);
    const std::vector<double> range = numbers_in(entry, "wavelength_range", numbers::Unit::um);
    if (range.size() != 2 || !(range[0] > 0 && range[0] < range[1] && range[1] < HUGE_VAL))
        throw InputError(line_of(entry["wavelength_range"]), "wavelength_range is not two wavelengths, the shorter first");
    quantity.from_nm = range[0];
    quantity.to_nm = range[1];
    return quantity;
}

// A tabulated entry's rows, `columns` numbers each, as the quantities of the
// columns after the wavelength.
std::vector<Quantity> tables(const YAML::Node& entry, const std::string& text, size_t columns)
{
    const YAML::Node data = entry["data"];
    if (!data || !data.IsScalar())
        throw InputError(line_of(entry), "no data");
    // A block scalar's rows start on the line after its indicator.
    const size_t at = data.Mark().pos;
    long line = line_of(data) + (at < text.size() && (text[at] == '|' || text[at] == '>'));
    std::vector<Quantity> quantities(columns - 1);
    std::istringstream rows(data.Scalar());
    for (std::string row; std::getline(rows, row); ++line) {
        const std::vector<std::string_view> fields = split(row);
        if (fields.empty())
            continue;
        if (fields.size() != columns)
            throw InputError(line, std::to_string(fields.size()) + " numbers where " + std::to_string(columns) + " belong");
        double lambda = 0;
        if (!numbers::parse_wavelength(fields[0], numbers::Unit::um, lambda))
            throw InputError(line, "field 1: \"" + std::string(fields[0]) + "\" is not a wavelength");
        for (size_t i = 1; i < columns; ++i) {
            double value = 0;
            if (!numbers::parse(fields[i], value))
                throw InputError(line, "field " + std::to_string(i + 1) + ": \"" + std::string(fields[i]) + "\" is not a number");
            dispersion::Table& table = quantities[i - 1].table;
            table.nanometres.push_back(lambda);
            table.values.push_back(value);
            table.lines.push_back(line);
        }
    }
    if (quantities[0].table.values.empty())
        throw InputError(line_of(data), "no rows in data");
    return quantities;
}

// Text that yaml-cpp would take apart byte by byte: NUL bytes, or no UTF-8.
bool is_text(const std::string& text)
{
    for (size_t i = 0; i < text.size();) {
        const unsigned char c = text[i];
        const size_t length = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
        if (c == 0 || length == 0 || i + length > text.size())
            return false;
        for (size_t j = 1; j < length; ++j)
            if ((static_cast<unsigned char>(text[i + j]) >> 6) != 2)
                return false;
        i += length;
    }
    return true;
}

void throw_at(const YAML::Exception& error, const char* what)
{
    throw InputError(error.mark.is_null() ? 0 : error.mark.line + 1, std::string(what) + error.msg);
}

} // namespace

bool looks_like_material(std::string_view start)
{
    if (start.substr(0, 3) == "\xEF\xBB\xBF")
        start.remove_prefix(3);
    for (size_t i = 0; i < start.size();) {
        const size_t end = std::min(start.find('\n', i), start.size());
        const std::string_view line = start.substr(i, end - i);
        i = end + 1;
        const size_t first = line.find_first_not_of(" \t\r");
        if (first == std::string_view::npos || line[first] == '#')
            continue;
        if (line.substr(0, 3) == "---" || line.substr(0, 5) == "%YAML")
            return true;
        const size_t colon = line.find(':');
        return std::isalpha(static_cast<unsigned char>(line[0])) && colon != std::string_view::npos &&
               (colon + 1 == line.size() || line[colon + 1] == ' ' || line[colon + 1] == '\r');
    }
    return false;
}

Material read_material(const std::string& text)
{
    if (!is_text(text))
        throw InputError(0, "not a text file (a NUL byte, or no UTF-8)");
    YAML::Node root;
    try {
        root = YAML::Load(text);
    } catch (const YAML::DeepRecursion& error) {
        throw InputError(0, "YAML nested more than " + std::to_string(error.depth()) + " deep");
    } catch (const YAML::Exception& error) {
        throw_at(error, "YAML: ");
    }
    const YAML::Node data = root.IsMap() ? root["DATA"] : YAML::Node();
    if (!data || !data.IsSequence())
        throw InputError(0, "not a refractiveindex.info material file: no list DATA");
    Material material;
    bool has_n = false, nonlinear = false;
    try {
        for (const YAML::Node& entry : data) {
            const YAML::Node type = entry.IsMap() ? entry["type"] : YAML::Node();
            if (!type || !type.IsScalar())
                throw InputError(line_of(entry), "a DATA entry without a type");
            const std::string name = type.Scalar();
            std::vector<Quantity> given;  // n, k as the entry gives them; an empty one is not given
            if (name == "tabulated nk") {
                given = tables(entry, text, 3);
            } else if (name == "tabulated n" || name == "tabulated n2") {
                given = tables(entry, text, 2);
                nonlinear = nonlinear || name == "tabulated n2";
                if (name == "tabulated n2")
                    continue;
            } else if (name == "tabulated k") {
                given = {Quantity(), tables(entry, text, 2)[0]};
            } else if (name.size() == 9 && name.compare(0, 8, "formula ") == 0 && name[8] >= '1' && name[8] <= '9') {
                given = {formula(entry, name[8] - '0')};
            } else {
                throw InputError(line_of(type), "unknown DATA type \"" + name + "\"");
            }
            const auto gives = [](const std::vector<Quantity>& q, size_t i) {
                return q.size() > i && (q[i].from_formula || !q[i].table.values.empty());
            };
            if (!has_n && gives(given, 0)) {
                material.n = given[0];
                has_n = true;
                material.one_table = gives(given, 1) && !material.k;
            }
            if (!material.k && gives(given, 1))
                material.k = given[1];
        }
    } catch (const YAML::Exception& error) {
        throw_at(error, "");
    }
    if (!has_n)
        throw InputError(0, nonlinear ? "gives the nonlinear index n2, not n: no optical constants to convert"
                                      : "gives k alone, no n: nothing to convert");
    return material;
}

OwnRows own_rows(const Material& material)
{
    const Quantity& n = material.n;
    OwnRows rows;
    if (!material.k && n.from_formula)
        throw InputError(0, "gives a formula alone, no wavelengths of its own: give --at or --range within " + range_of(n));
    const auto add = [&rows](double nanometres, double n_value, double k_value) { rows.points.push_back({nanometres, n_value, k_value}); };
    if (!material.k || material.one_table) {  // one table's rows as published
        const dispersion::Table& table = n.table;
        for (size_t i = 0; i < table.values.size(); ++i)
            add(table.nanometres[i], table.values[i], material.k ? material.k->table.values[i] : 0.0);
        return rows;
    }
    const Quantity& k = *material.k;
    const auto check_order = [](const Quantity& quantity, const char* name) {
        const dispersion::Table& table = quantity.table;
        if (const size_t i = dispersion::order_break(table); i < table.values.size())
            throw InputError(table.lines[i], std::string("the wavelengths of ") + name +
                                                 " do not strictly increase here, so it cannot be interpolated");
    };
    if (n.from_formula) {  // a formula's n at each row of k as published
        for (size_t i = 0; i < k.table.values.size(); ++i) {
            const double lambda = k.table.nanometres[i];
            if (n.covers(lambda))
                add(lambda, n.at(lambda), k.table.values[i]);
            else
                ++rows.left_out;
        }
        rows.why = "outside the formula's range, " + range_of(n);
        return rows;
    }
    check_order(n, "n");
    check_order(k, "k");
    std::vector<double> both = n.table.nanometres;
    both.insert(both.end(), k.table.nanometres.begin(), k.table.nanometres.end());
    std::sort(both.begin(), both.end());
    both.erase(std::unique(both.begin(), both.end()), both.end());
    for (const double lambda : both) {
        if (n.covers(lambda) && k.covers(lambda))
            add(lambda, n.at(lambda), k.at(lambda));
        else
            ++rows.left_out;
    }
    rows.why = "where n (" + range_of(n) + ") and k (" + range_of(k) + ") do not overlap";
    return rows;
}
