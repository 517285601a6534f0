// SPDX-License-Identifier: MIT
// kalvira-convert's rooms on the database's own files: the formulas against
// their exact values in MPFR and the sources' known values, the tables'
// interpolation and own rows, wavelengths read exactly, and a converted row
// that is the window's arithmetic bit for bit.  Usage: convert_test DATA_DIR

#include <gtest/gtest.h>
#include "exact.h"

#include "catalogue.h"
#include "csv_writer.h"
#include "material.h"
#include "optics.h"
#include "plain_text.h"
#include "table_reader.h"

#include <cfloat>
#include <charconv>
#include <filesystem>
#include <fstream>
#include <limits>
#include <random>
#include <sstream>

namespace {

std::string data_dir, database_dir;
constexpr double inf = std::numeric_limits<double>::infinity();

Material material(const std::string& file)
{
    std::ifstream in(data_dir + "/" + file, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + data_dir + "/" + file + ": give the data's folder as the argument");
    std::stringstream text;
    text << in.rdbuf();
    return read_material(text.str());
}

// Each formula in exact arithmetic, at the exact lambda / 1000.
Exact exact_n(const dispersion::Formula& formula, double nanometres)
{
    const std::vector<double>& c = formula.coefficients;
    const auto C = [&c](size_t i) { return i <= c.size() ? Exact(c[i - 1]) : Exact(); };
    const auto power = [](const Exact& x, const Exact& y) { return apply(mpfr_pow, x, y); };
    const Exact L = Exact(nanometres) / 1000.0, L2 = L * L, one(1.0);
    Exact sum = C(1);
    const size_t m = c.size();
    switch (formula.kind) {
    case 1: case 2:
        for (size_t i = 2; i + 1 <= m; i += 2)
            sum = sum + C(i) * L2 / (L2 - (formula.kind == 1 ? C(i + 1) * C(i + 1) : C(i + 1)));
        return sqrt(sum + one);
    case 3: case 5:
        for (size_t i = 2; i + 1 <= m; i += 2)
            sum = sum + C(i) * power(L, C(i + 1));
        return formula.kind == 3 ? sqrt(sum) : sum;
    case 4:
        for (size_t i = 2; i <= 6 && i + 3 <= m; i += 4)
            sum = sum + C(i) * power(L, C(i + 1)) / (L2 - power(C(i + 2), C(i + 3)));
        for (size_t i = 10; i + 1 <= m; i += 2)
            sum = sum + C(i) * power(L, C(i + 1));
        return sqrt(sum);
    case 6:
        for (size_t i = 2; i + 1 <= m; i += 2)
            sum = sum + C(i) / (C(i + 1) - one / L2);
        return sum + one;
    case 7: {
        const Exact pole = one / (L2 - decimal("0.028"));
        return sum + C(2) * pole + C(3) * pole * pole + C(4) * L2 + C(5) * L2 * L2 + C(6) * L2 * L2 * L2;
    }
    case 8: {
        const Exact S = sum + C(2) * L2 / (L2 - C(3)) + C(4) * L2;
        return sqrt((one + S * 2.0) / (one - S));
    }
    default: {
        const Exact shifted = L - C(5);
        return sqrt(sum + C(2) / (L2 - C(3)) + C(4) * shifted / (shifted * shifted + C(6)));
    }
    }
}

// Every formula across its range within 4 units of the exact n (the double
// 0.028 of Herzberger's pole is 2^-59 off, 0.3 units at most), and the
// sources' values to the digits they give.
TEST(Formulas, AgainstExactValues)
{
    for (const auto& [file, kind] : {std::pair{"main/SiO2/nk/Malitson.yml", 1}, {"main/AgGaS2/nk/Boyd-o.yml", 2},
                                     {"specs/schott/optical/N-BK7.yml", 2}, {"main/BeAl6O10/nk/Pestryakov-alpha.yml", 3},
                                     {"specs/cdgm/optical/BAF2.yml", 3}, {"main/AgCl/nk/Tilton.yml", 4},
                                     {"main/BaF2/nk/Bosomworth-300K.yml", 4}, {"glass/misc/soda-lime/nk/Nyakuchena.yml", 5},
                                     {"main/Ar/nk/Peck-0C.yml", 6}, {"main/Si/nk/Edwards.yml", 7}, {"main/AgBr/nk/Schroter.yml", 8},
                                     {"organic/CH4N2O - urea/nk/Rosker-e.yml", 9}}) {
        const dispersion::Quantity n = material(file).n;
        ASSERT_TRUE(n.from_formula && n.formula.kind == kind) << file;
        for (int i = 0; i <= 64; ++i) {
            const double lambda = i == 64 ? n.highest() : n.lowest() + (n.highest() - n.lowest()) * i / 64;
            const double value = n.at(lambda);
            const Exact exact = exact_n(n.formula, lambda);
            EXPECT_TRUE(near(value, exact, 4)) << file << " at " << lambda << " nm: " << value << ", "
                                               << ulps(value, exact, exact) << " units off";
        }
    }
    // every term of each formula, each coefficient weighing in
    const std::vector<double> pairs{0.5, 0.6, 0.07, 0.4, 0.11, 0.2, 0.13, 0.1, 0.17, 0.05, 0.19, 0.02, 0.23, 0.01, 0.29, 0.005, 0.31},
        powers{1.5, 0.1, 2, 0.01, -2, 0.001, 4, 0.002, -4, 1e-4, 6, 3e-4, -6, 1e-5, 8, 2e-5, -8};
    for (const dispersion::Formula& formula :
         {dispersion::Formula{1, pairs}, {2, pairs}, {3, powers}, {5, powers},
          {4, {1.5, 0.1, 2, 0.1, 2, 0.05, 2, 0.2, 1, 0.01, 2, 0.002, -2, 0.001, 4, 1e-4, -4}},
          {6, {1e-4, 1e-3, 100, 2e-3, 110, 3e-3, 120, 4e-3, 130, 5e-3, 140, 6e-3, 150, 7e-3, 160, 8e-3, 170}},
          {7, {1.5, 0.1, 0.01, -0.001, 1e-4, -1e-5}}, {8, {0.1, 0.2, 0.05, 0.01}}, {9, {2, 0.1, 0.05, 0.02, 1, 0.1}}}) {
        ASSERT_EQ(dispersion::check(formula), "") << formula.kind;
        for (const double lambda : {800.0, 1300.0, 2000.0})
            EXPECT_TRUE(near(dispersion::refractive_index(formula, lambda), exact_n(formula, lambda), 4))
                << "formula " << formula.kind << " at " << lambda << " nm";
    }
    for (const auto& [file, lambda, expected] : {std::tuple{"specs/schott/optical/N-BK7.yml", 587.56, 1.5168},
                                                 {"main/SiO2/nk/Malitson.yml", 587.56, 1.4585}, {"main/SiO2/nk/Malitson.yml", 1064.0, 1.4496}})
        EXPECT_NEAR(material(file).n.at(lambda), expected, 0.5e-4) << file << " at " << lambda;
}

// Linear between rows, a row's own value at its wavelength (the far end of a
// step included), never past a row; the order that interpolation needs.
TEST(Tables, Interpolation)
{
    const dispersion::Table table{{100, 200, 400}, {1, 3, 0.1}, {1, 2, 3}};
    for (const auto& [lambda, expected] : {std::pair{100.0, 1.0}, {200.0, 3.0}, {400.0, 0.1}, {150.0, 2.0}, {300.0, 1.55}})
        EXPECT_EQ(dispersion::interpolate(table, lambda), expected) << lambda;
    std::mt19937_64 bits(38);
    for (int i = 0; i < 2000; ++i) {
        const double x0 = std::uniform_real_distribution<double>(200, 2000)(bits), x1 = x0 * (1 + std::ldexp(1.0, -(i % 40) - 1));
        const double v0 = std::uniform_real_distribution<double>(-5, 5)(bits), v1 = i % 3 ? v0 * 1.5 : -v0;
        const double x = std::uniform_real_distribution<double>(x0, x1)(bits);
        const Exact exact = Exact(v0) + (Exact(v1) - Exact(v0)) * (Exact(x) - Exact(x0)) / (Exact(x1) - Exact(x0));
        const double v = dispersion::interpolate({{x0, x1}, {v0, v1}, {1, 2}}, x);
        ASSERT_TRUE(near(v, exact, 2, Exact(std::fmax(std::fabs(v0), std::fabs(v1))))) << x0 << " " << x1 << " " << x;
        ASSERT_TRUE(v >= std::fmin(v0, v1) && v <= std::fmax(v0, v1));
    }
    const double overshoots = -0x1.b557eb6687055p+0;  // where the plain steps give the next double below it
    EXPECT_EQ(dispersion::interpolate({{0x1.47f3a459316ebp+1, 0x1.bbf4e710c31fp+2}, {0x1.f5057a5df20a8p-2, overshoots}, {1, 2}},
                                      0x1.bbf4e710c31efp+2), overshoots);
    for (const auto& [wavelengths, order_break] : {std::pair{std::vector<double>{1, 2, 3}, 3}, {{3, 2, 1}, 3}, {{1, 2, 2, 3}, 2},
                                                   {{1, 3, 2}, 2}, {{2, 1, 3}, 2}, {{5}, 1}})
        EXPECT_EQ(dispersion::order_break({wavelengths, wavelengths, {}}), size_t(order_break));
    const dispersion::Table descending{{400, 200}, {4, 2}, {1, 2}};
    EXPECT_EQ(dispersion::interpolate(descending, 300), 3);
}

// The files' own rows: a table as published, both tables' wavelengths once
// each where n and k come from two, the rows outside the other left out.
TEST(Tables, OwnRows)
{
    struct Case {
        const char* file;
        size_t rows, left_out;
        Point first;
    };
    for (const Case& c : {Case{"main/Au/nk/Johnson.yml", 49, 0, {187.9, 1.28, 1.188}},
                          {"main/Al2O3/nk/Boidin.yml", 0, 0, {300, 1.73756, 0}},
                          {"specs/schott/optical/N-BK7.yml", 25, 0, {300, 0, 2.8607e-06}},
                          {"specs/cdgm/optical/BAF2.yml", 0, 14, {370, 0, 4.1512e-08}},
                          {"main/MoS2/nk/Yim-20nm.yml", 30, 2, {382.938, 0, 2.8874}}}) {
        const Material m = material(c.file);
        const OwnRows own = own_rows(m);
        if (c.rows) {
            EXPECT_EQ(own.points.size(), c.rows) << c.file;
        }
        EXPECT_EQ(own.left_out, c.left_out) << c.file;
        const Point& first = own.points.front();
        EXPECT_TRUE(first.nanometres == c.first.nanometres && first.k == c.first.k && (c.first.n == 0 || first.n == c.first.n))
            << c.file << ": " << first.nanometres << " " << first.n << " " << first.k;
        for (size_t i = 1; i < own.points.size() && m.k && !m.one_table && !m.n.from_formula; ++i)
            ASSERT_LT(own.points[i - 1].nanometres, own.points[i].nanometres) << c.file;
    }
    const Material mos2 = material("main/MoS2/nk/Yim-20nm.yml");  // n between its rows 381.514 and 405.058 nm
    EXPECT_TRUE(near(own_rows(mos2).points[0].n, Exact(2.39671) + (Exact(3.05240) - Exact(2.39671)) *
                     (Exact(382.938) - Exact(381.514)) / (Exact(405.058) - Exact(381.514)), 2));
}

// The digits D with F of them after the point, times 10^(3 + E - F), rounded
// once from the exact value (ties included, which a rounded decimal misses).
double thousandfold(const std::string& digits, int fraction_digits, int exponent)
{
    const int power = 3 + exponent - fraction_digits;
    Exact scale = 1.0, whole = decimal(digits.c_str());
    for (int i = 0; i < std::abs(power); ++i)
        scale = scale * 10.0;
    mpfr_t result;
    mpfr_init2(result, 53);
    (power >= 0 ? mpfr_mul : mpfr_div)(result, whole.v, scale.v, MPFR_RNDN);
    const double value = mpfr_get_d(result, MPFR_RNDN);
    mpfr_clear(result);
    return value;
}

// A wavelength in micrometres is its decimal times 1000, rounded once; a field is a number only whole.
TEST(Numbers, ReadExactly)
{
    std::mt19937_64 bits(1000);
    for (int i = 0; i < 20000; ++i) {
        const int fraction_digits = int(bits() % 9), exponent = i % 4 ? 0 : i % 8 ? -2 : 1;
        const double value = std::ldexp(double(bits() >> 11), -int(bits() % 60));
        char text[64];
        std::snprintf(text, sizeof text, "%.*f%s", fraction_digits, value, exponent == 0 ? "" : exponent < 0 ? "e-2" : "E+1");
        std::string digits = text;
        digits = digits.substr(0, digits.find_first_of("eE"));
        digits.erase(std::remove(digits.begin(), digits.end(), '.'), digits.end());
        double nm = 0;
        ASSERT_TRUE(numbers::parse_wavelength(text, numbers::Unit::um, nm)) << text;
        ASSERT_EQ(nm, thousandfold(digits, fraction_digits, exponent)) << text;
    }
    EXPECT_EQ(thousandfold("3530042299858253", 2, 0), 35300422998582528.0);  // a tie, to even
    for (const auto& [text, number] : {std::pair{"0.6328", true}, {"+1.5", true}, {"-0", true}, {"1e3", true}, {"inf", true},
                                       {"1,5", false}, {"12abc", false}, {"", false}, {"+-1", false}, {"1e999", false}, {"0x1A", false}}) {
        double value = 0;
        EXPECT_EQ(numbers::parse(text, value), number) << text;
    }
}

// The catalogue's and the references' HTML and Markdown as text a user reads.
TEST(Names, PlainText)
{
    for (const auto& [marked, plain] : std::initializer_list<std::pair<const char*, const char*>>{
             {"BeAl<sub>2</sub>O<sub>4</sub> (Chrysoberyl)", "BeAl2O4 (Chrysoberyl)"},
             {"n,k 0.188&ndash;1.94 &micro;m; 1&times;10<sup>-3</sup> &amp; &#945;&#x3b2; &lt;x&gt;", "n,k 0.188–1.94 µm; 1×10-3 & αβ <x>"},
             {"&unknown; &#xD800; &#0; a & b; 1 < 2 and 3 > 2", "&unknown; &#xD800; &#0; a & b; 1 < 2 and 3 > 2"},
             {"<a href=\"https://doi.org/10.1/x\"><i>Phys. Rev. B</i> <b>6</b>, 4370 (1972)</a>", "Phys. Rev. B 6, 4370 (1972) (https://doi.org/10.1/x)"},
             {"<a href='https://a.org/'>https://a.org/</a>", "https://a.org/"},
             {"[*Phys. Rev. B* **6**, 4370](https://doi.org/10.1/x)", "Phys. Rev. B 6, 4370 (https://doi.org/10.1/x)"},
             {"see <https://refractiveindex.info>, `n_2` and __bold__", "see https://refractiveindex.info, n_2 and bold"},
             {"n*k and 2 * 3, [x] (y)", "n*k and 2 * 3, [x] (y)"}})
        EXPECT_EQ(plain_text(marked), plain) << marked;
}

// The snapshot's catalogue: each page once, read line by line as YAML proper
// reads it, found again by its own name, its file inside the database.
TEST(Names, TheSnapshot)
{
    const Catalogue catalogue(database_dir, "the snapshot");
    ASSERT_EQ(catalogue.pages().size(), 3559u);
    const auto copy = std::filesystem::temp_directory_path() / ("convert_test-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
    std::filesystem::create_directories(copy);
    std::filesystem::create_directory_symlink(std::filesystem::absolute(database_dir) / "data", copy / "data");
    std::ifstream in(database_dir + "/catalog-nk.yml", std::ios::binary);
    std::ofstream(copy / "catalog-nk.yml", std::ios::binary) << "---\n" << in.rdbuf();  // a form only YAML proper reads
    const Catalogue through_yaml(copy.string(), "the snapshot");
    std::filesystem::remove_all(copy);
    ASSERT_EQ(through_yaml.pages().size(), catalogue.pages().size());
    for (size_t i = 0; i < catalogue.pages().size(); ++i) {
        const Page &page = catalogue.pages()[i], &again = through_yaml.pages()[i];
        const auto fields = [](const Page& p, long line) { return std::make_tuple(p.shelf, p.book, p.page, p.book_name, p.page_name, p.data, line); };
        EXPECT_EQ(fields(page, page.line), fields(again, again.line - 1))
            << page.name();
        EXPECT_EQ(&catalogue.find(page.name()), &page);
        const std::string file = catalogue.file(page);
        const Page* found = catalogue.page_of(file);
        EXPECT_TRUE(found && found->data == page.data) << file;
    }
}

// Every column of a converted row is optics' own result bit for bit, corners
// included, as read back from the written text; in both sign conventions.
TEST(Converted, RowsAreTheWindowsArithmetic)
{
    const std::string values[] = {"0", "-0", "1.5", "-2.25", "4.9e-324", "2.2e-308", "1e200", "1.7976931348623157e308", "inf", "-inf", "nan"};
    std::string table;
    for (const std::string& a : values)
        for (const std::string& b : values)
            for (const char* lambda : {"632.8", "1e-310", "3e5"})
                table += std::string(lambda) + " " + a + "," + b + "\n";
    const auto same = [](double a, double b) { return std::isnan(a) ? std::isnan(b) : a == b && std::signbit(a) == std::signbit(b); };
    for (const bool epsilon : {false, true})
        for (const bool minus : {false, true}) {
            std::FILE* input = std::tmpfile();
            std::fputs(table.c_str(), input);
            std::rewind(input);
            const std::string written = testing::TempDir() + "/rows.csv";
            {
                Output output(written);
                CsvWriter writer(output, false);
                TableReader reader(input, numbers::Unit::nm);
                for (TableRow row; reader.next(row);)
                    writer.row(epsilon ? from_epsilon(row.nanometres, row.first, row.second, minus)
                                       : from_n(row.nanometres, row.first, row.second, minus));
                output.commit();
            }
            std::fclose(input);
            std::ifstream text(written);
            std::FILE* again = std::tmpfile();
            std::fputs(table.c_str(), again);
            std::rewind(again);
            TableReader given(again, numbers::Unit::nm);  // the rows given, to compare with
            int rows = 0;
            for (std::string line; std::getline(text, line); ++rows) {
                TableRow row;
                ASSERT_TRUE(given.next(row));
                const double sign = minus ? -1.0 : 1.0;
                const std::complex<double> n = epsilon ? optics::principal_root(row.first, sign * row.second)
                                                       : std::complex<double>(row.first, sign * row.second);
                const std::complex<double> e = epsilon ? std::complex<double>(row.first, sign * row.second)
                                                       : optics::square(row.first, sign * row.second);
                const double K = optics::attenuation(n.imag(), row.nanometres);
                const double expected[] = {row.nanometres, n.real(), sign * n.imag(), e.real(), sign * e.imag(), K,
                                           optics::absorption_per_cm(K), optics::reflectance(n.real(), n.imag()),
                                           optics::penetration_depth(K), optics::photon_energy(row.nanometres),
                                           optics::wavenumber(row.nanometres), optics::frequency(row.nanometres)};
                std::istringstream fields(line);
                std::string field;
                for (const double value : expected) {
                    std::getline(fields, field, ',');
                    double read = 0;
                    ASSERT_TRUE(numbers::parse(field, read)) << line;
                    ASSERT_TRUE(same(read, value)) << line << ": " << field << " for " << value;
                }
            }
            EXPECT_EQ(rows, 11 * 11 * 3);
            std::fclose(again);
        }
}

} // namespace

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    data_dir = argc > 1 ? argv[1] : "";
    database_dir = argc > 2 ? argv[2] : "";
    return RUN_ALL_TESTS();
}
