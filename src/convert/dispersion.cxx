// SPDX-License-Identifier: MIT
#include "dispersion.h"
#include "rounded.h"

#include <algorithm>
#include <cmath>
#include <functional>

namespace dispersion {

namespace {

// How many coefficients a formula can take: C1, then each term's own.
struct Terms {
    std::vector<int> sizes;  // the terms after C1, in order
};
Terms terms_of(int kind)
{
    switch (kind) {
    case 4: return {{4, 4, 2, 2, 2, 2}};  // two resonances, then powers
    case 7: return {{1, 1, 1, 1, 1}};
    case 8: return {{2, 1}};
    case 9: return {{2, 3}};
    default: return {std::vector<int>(8, 2)};  // sums of pairs, up to C17
    }
}

double power(double base, double exponent)
{
    return exponent == 2.0 ? base * base : std::pow(base, exponent);
}

// Each formula's steps as the database writes it, at lambda in micrometres;
// an absent coefficient is an absent term (C(i) is c[i - 1]).
[[gnu::noipa]] double formula_steps(const Formula* formula, double nanometres)
{
    const std::vector<double>& c = formula->coefficients;
    const size_t count = c.size();
    const double L = nanometres / 1000.0, L2 = L * L;
    const auto has = [count](size_t i) { return i <= count; };  // C(i) given
    double sum = c[0];
    switch (formula->kind) {
    case 1:
    case 2:
        for (size_t i = 2; has(i + 1); i += 2)
            sum += c[i - 1] * L2 / (L2 - (formula->kind == 1 ? c[i] * c[i] : c[i]));
        return std::sqrt(1.0 + sum);
    case 3:
    case 5:
        for (size_t i = 2; has(i + 1); i += 2)
            sum += c[i - 1] * power(L, c[i]);
        return formula->kind == 3 ? std::sqrt(sum) : sum;
    case 4:
        for (size_t i = 2; i <= 6 && has(i + 3); i += 4)
            sum += c[i - 1] * power(L, c[i]) / (L2 - power(c[i + 1], c[i + 2]));
        for (size_t i = 10; has(i + 1); i += 2)
            sum += c[i - 1] * power(L, c[i]);
        return std::sqrt(sum);
    case 6:
        for (size_t i = 2; has(i + 1); i += 2)
            sum += c[i - 1] / (c[i] - 1.0 / L2);
        return 1.0 + sum;
    case 7: {
        const double pole = 1.0 / (L2 - 0.028);
        const double terms[] = {pole, pole * pole, L2, L2 * L2, L2 * L2 * L2};
        for (size_t i = 2; has(i); ++i)
            sum += c[i - 1] * terms[i - 2];
        return sum;
    }
    case 8: {
        if (has(3))
            sum += c[1] * L2 / (L2 - c[2]);
        if (has(4))
            sum += c[3] * L2;
        return std::sqrt((1.0 + 2.0 * sum) / (1.0 - sum));
    }
    default: {  // 9
        if (has(3))
            sum += c[1] / (L2 - c[2]);
        if (has(6)) {
            const double shifted = L - c[4];
            sum += c[3] * shifted / (shifted * shifted + c[5]);
        }
        return std::sqrt(sum);
    }
    }
}

[[gnu::noipa]] double interpolation_steps(double v0, double v1, double x0, double x1, double x)
{
    const double v = v0 + (v1 - v0) * ((x - x0) / (x1 - x0));
    return std::clamp(v, std::fmin(v0, v1), std::fmax(v0, v1));  // never past a row, whatever the rounding
}

} // namespace

std::string check(const Formula& formula)
{
    if (formula.kind < 1 || formula.kind > 9)
        return "no formula " + std::to_string(formula.kind);
    size_t taken = 1;
    for (const int size : terms_of(formula.kind).sizes) {
        if (formula.coefficients.size() == taken)
            break;
        taken += size;
        if (formula.coefficients.size() < taken)
            return "a term of formula " + std::to_string(formula.kind) + " lacks a coefficient: " +
                   std::to_string(formula.coefficients.size()) + " given";
    }
    if (formula.coefficients.empty() || formula.coefficients.size() > taken)
        return "formula " + std::to_string(formula.kind) + " takes 1 to " + std::to_string(taken) +
               " coefficients, not " + std::to_string(formula.coefficients.size());
    return "";
}

double refractive_index(const Formula& formula, double nanometres)
{
    return optics::rounded_as_doubles(formula_steps, &formula, nanometres);
}

size_t order_break(const Table& table)
{
    const std::vector<double>& x = table.nanometres;
    if (x.size() < 2)
        return x.size();
    const bool ascending = x[0] < x[1];
    for (size_t i = 1; i < x.size(); ++i)
        if (ascending ? !(x[i - 1] < x[i]) : !(x[i - 1] > x[i]))
            return i;
    return x.size();
}

double interpolate(const Table& table, double nanometres)
{
    const std::vector<double>& x = table.nanometres;
    const bool ascending = x.size() < 2 || x[0] < x[1];
    const auto row = ascending ? std::lower_bound(x.begin(), x.end(), nanometres)
                               : std::lower_bound(x.begin(), x.end(), nanometres, std::greater<>());
    const size_t i = std::min<size_t>(row - x.begin(), x.size() - 1);
    if (x[i] == nanometres || i == 0)
        return table.values[i];
    return optics::rounded_as_doubles(interpolation_steps, table.values[i - 1], table.values[i], x[i - 1], x[i], nanometres);
}

double Quantity::lowest() const
{
    return from_formula ? from_nm : std::fmin(table.nanometres.front(), table.nanometres.back());
}

double Quantity::highest() const
{
    return from_formula ? to_nm : std::fmax(table.nanometres.front(), table.nanometres.back());
}

double Quantity::at(double nanometres) const
{
    return from_formula ? refractive_index(formula, nanometres) : interpolate(table, nanometres);
}

} // namespace dispersion
