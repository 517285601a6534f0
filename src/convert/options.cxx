// SPDX-License-Identifier: MIT
#include "options.h"

#include <algorithm>
#include <cmath>

extern const char usage[] = R"(Usage: kalvira-convert [OPTIONS] [NAME|FILE]...
       kalvira-convert --list [WORD]...
       kalvira-convert --about NAME|FILE
Converts materials of the refractiveindex.info database, by name, tables of
lambda, n', k (or lambda, e', e'') and the database's material files (YAML)
into one CSV table of lambda_nm, n, k, eps1, eps2, K, alpha, R, the depth
1/alpha and lambda as energy, wavenumber and frequency.  Reads standard input
where none is given or FILE is -.  A NAME is shelf/book/page, book/page or a
book of one page, as the database's catalogue spells them: main/Au/Johnson,
Au/Johnson, specs/SCHOTT-optical/N-BK7.

  --list [WORD]...     the pages whose names hold every WORD, or all of them:
                       shelf/book/page, the book's name and the page's
                         kalvira-convert --list gold
  --about NAME|FILE    what to cite: references, comments, conditions, the
                       data and their ranges, the database
                         kalvira-convert --about main/Au/Johnson
  --database DIR       the database in DIR, or in DIR/database (a clone of its
                       repository), instead of KALVIRA_DATABASE or the one
                       installed with the program

  --columns nk|eps     a table's columns after lambda: n', k (the default) or e', e''
                         kalvira-convert --columns eps eps.csv
  --unit nm|um|eV|cm-1 the unit of a table's lambda, of --at and of --range
                       (default nm; material files are always in um)
                         kalvira-convert --unit eV ellipsometry.txt
  --at LIST            only at these wavelengths, interpolated between rows
                         kalvira-convert --at 632.8,1064 main/Au/Johnson
  --range FROM:TO:STEP at FROM, FROM + STEP, ... up to TO
                         kalvira-convert --range 400:800:0.5 Au/Johnson
  --convention plus|minus  imaginary parts in the e^(-iwt) convention, where
                       an absorber's are positive (plus, the default), or in
                       e^(+iwt), where they are negative (minus); a table of
                       extinction coefficients k >= 0 needs neither
                         kalvira-convert --convention minus --columns eps eps.csv
  -o, --output FILE    write FILE whole or not at all, instead of standard output
                         kalvira-convert -o Au.csv main/Au/Johnson
  --line-buffered      write each row as it is made, to a pipe too (to a
                       terminal always): for a table read live
                         instrument | kalvira-convert --line-buffered | plot
  -h, --help           this text
  --version            the version, and the database's
See kalvira-convert(1).
)";

Options parse_options(int argc, const char* const* argv)
{
    Options options;
    std::string columns = "nk", unit = "nm", convention = "plus";
    bool only_files = false;
    for (int i = 1; i < argc; ++i) {
        std::string word = argv[i], value;
        if (only_files || word == "-" || word[0] != '-') {
            options.files.push_back(word);
            continue;
        }
        if (word == "--") {
            only_files = true;
            continue;
        }
        if (word == "-h" || word == "--help") {
            options.help = true;
            return options;
        }
        if (word == "--line-buffered" || word == "--list" || word == "--version") {  // --version names --database's
            (word == "--list" ? options.list : word == "--version" ? options.version : options.line_buffered) = true;
            continue;
        }
        const size_t equals = word.find('=');
        const bool inline_value = word.compare(0, 2, "--") == 0 && equals != std::string::npos;
        if (inline_value) {
            value = word.substr(equals + 1);
            word.resize(equals);
        }
        std::string* target = word == "--columns" ? &columns : word == "--unit" ? &unit : word == "--convention" ? &convention
                            : word == "--at" ? &options.at : word == "--range" ? &options.range
                            : word == "-o" || word == "--output" ? &options.output
                            : word == "--database" ? &options.database : word == "--about" ? &options.about : nullptr;
        if (!target)
            throw UsageError{"unknown option " + word};
        if (!inline_value && ++i == argc)
            throw UsageError{word + " wants a value"};
        *target = inline_value ? value : argv[i];
        if (target->empty())
            throw UsageError{word + " wants a value"};
    }
    if (columns != "nk" && columns != "eps")
        throw UsageError{"--columns takes nk or eps, not " + columns};
    if (!numbers::parse_unit(unit, options.unit))
        throw UsageError{"--unit takes nm, um, eV or cm-1, not " + unit};
    if (convention != "plus" && convention != "minus")
        throw UsageError{"--convention takes plus or minus, not " + convention};
    if (!options.at.empty() && !options.range.empty())
        throw UsageError{"--at and --range exclude each other"};
    options.epsilon = columns == "eps";
    options.minus = convention == "minus";
    if (options.list && !options.about.empty())
        throw UsageError{"--list and --about exclude each other"};
    if (!options.about.empty() && !options.files.empty())
        throw UsageError{"--about takes one material, not " + options.files[0] + " too"};
    if (options.files.empty() && !options.list && options.about.empty())
        options.files.push_back("-");
    return options;
}

Wavelengths::Wavelengths(const Options& options) : unit_(options.unit)
{
    if (!options.at.empty())
        list(options.at);
    else if (!options.range.empty())
        range(options.range);
}

double Wavelengths::operator[](double i) const
{
    if (!listed_.empty())
        return listed_[size_t(i)];
    const double value = from_ + i * step_;
    return numbers::nanometres(i + 1 == count_ && std::fabs(value - to_) <= 1e-9 * step_ ? to_ : value, unit_);
}

void Wavelengths::list(const std::string& text)
{
    for (size_t i = 0; i <= text.size();) {
        const size_t end = std::min(text.find(',', i), text.size());
        double value = 0;
        if (!numbers::parse_wavelength(std::string_view(text).substr(i, end - i), unit_, value) || !(value > 0))
            throw UsageError{"--at: \"" + text.substr(i, end - i) + "\" is not a wavelength"};
        listed_.push_back(value);
        i = end + 1;
    }
}

void Wavelengths::range(const std::string& text)
{
    const size_t first = text.find(':'), second = first == std::string::npos ? first : text.find(':', first + 1);
    double* parts[] = {&from_, &to_, &step_};
    const size_t starts[] = {0, first + 1, second + 1}, ends[] = {first, second, text.size()};
    for (int i = 0; i < 3; ++i)
        if (second == std::string::npos ||
            !numbers::parse(std::string_view(text).substr(starts[i], ends[i] - starts[i]), *parts[i]) || !std::isfinite(*parts[i]))
            throw UsageError{"--range takes FROM:TO:STEP, not " + text};
    if (!(step_ > 0) || !(from_ <= to_) || !(from_ > 0))
        throw UsageError{"--range wants 0 < FROM <= TO and a STEP above 0, not " + text};
    count_ = std::floor((to_ - from_) / step_ * (1 + 1e-12) + 1e-9) + 1;
    if (count_ > 1e9)
        throw UsageError{"--range gives more than 10^9 wavelengths: " + text};
}
