// SPDX-License-Identifier: MIT
// kalvira-convert: tables and refractiveindex.info material files into every
// quantity kalvira's window shows, as one CSV table.

#include "csv_writer.h"
#include "identity.h"
#include "input_error.h"
#include "material.h"
#include "numbers.h"
#include "output.h"
#include "table_reader.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <vector>
#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

namespace {

constexpr char usage[] = R"(Usage: kalvira-convert [OPTIONS] [FILE]...
Converts tables of lambda, n', k (or lambda, e', e'') and refractiveindex.info
material files (YAML) into one CSV table of lambda_nm, n, k, eps1, eps2, K, alpha,
R, the depth 1/alpha and lambda as energy, wavenumber and frequency.  Reads
standard input where no FILE is given or FILE is -.

  --columns nk|eps     a table's columns after lambda: n', k (the default) or e', e''
                         kalvira-convert --columns eps eps.csv
  --unit nm|um|eV|cm-1 the unit of a table's lambda, of --at and of --range
                       (default nm; material files are always in um)
                         kalvira-convert --unit eV ellipsometry.txt
  --at LIST            only at these wavelengths, interpolated between rows
                         kalvira-convert --at 632.8,1064 Johnson.yml
  --range FROM:TO:STEP at FROM, FROM + STEP, ... up to TO
                         kalvira-convert --range 400:800:0.5 N-BK7.yml
  --convention plus|minus  imaginary parts in the e^(-iwt) convention, where
                       an absorber's are positive (plus, the default), or in
                       e^(+iwt), where they are negative (minus); a table of
                       extinction coefficients k >= 0 needs neither
                         kalvira-convert --convention minus --columns eps eps.csv
  -o, --output FILE    write FILE whole or not at all, instead of standard output
                         kalvira-convert -o Au.csv Johnson.yml
  -h, --help           this text
  --version            the version
See kalvira-convert(1).
)";

struct Options {
    bool epsilon = false, minus = false;
    numbers::Unit unit = numbers::Unit::nm;
    std::string at, range, output;
    bool wavelengths_given() const { return !at.empty() || !range.empty(); }
    std::vector<std::string> files;
};

struct UsageError {
    std::string why;
};

Options parse_options(int argc, char** argv)
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
            std::fputs(usage, stdout);
            std::exit(0);
        }
        if (word == "--version") {
            std::printf("kalvira-convert %s\n", kalvira_version);
            std::exit(0);
        }
        const size_t equals = word.find('=');
        const bool inline_value = word.compare(0, 2, "--") == 0 && equals != std::string::npos;
        if (inline_value) {
            value = word.substr(equals + 1);
            word.resize(equals);
        }
        std::string* target = word == "--columns" ? &columns : word == "--unit" ? &unit : word == "--convention" ? &convention
                            : word == "--at" ? &options.at : word == "--range" ? &options.range
                            : word == "-o" || word == "--output" ? &options.output : nullptr;
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
    if (options.files.empty())
        options.files.push_back("-");
    return options;
}

// The wavelengths asked for, in nm: those of --at, or --range's FROM + i STEP in
// its unit, TO the last where it is reached to within rounding.
class Wavelengths {
public:
    explicit Wavelengths(const Options& options) : unit_(options.unit)
    {
        if (!options.at.empty())
            list(options.at);
        else if (!options.range.empty())
            range(options.range);
    }
    double size() const { return listed_.empty() ? count_ : double(listed_.size()); }
    double operator[](double i) const
    {
        if (!listed_.empty())
            return listed_[size_t(i)];
        const double value = from_ + i * step_;
        return numbers::nanometres(i + 1 == count_ && std::fabs(value - to_) <= 1e-9 * step_ ? to_ : value, unit_);
    }

private:
    void list(const std::string& text)
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
    void range(const std::string& text)
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

    numbers::Unit unit_;
    std::vector<double> listed_;
    double from_ = 0, to_ = 0, step_ = 0, count_ = 0;
};

// One input: a material, a table loaded whole (to be interpolated) or one to stream.
struct Input {
    std::string name;
    std::FILE* file = nullptr;
    std::unique_ptr<TableReader> reader;
    std::optional<Material> material;  // a table loaded whole is one too, with its two columns as n and k
    OwnRows own;                       // a material's own rows, where no wavelengths are given
    ~Input()
    {
        if (file && file != stdin)
            std::fclose(file);
    }
};

std::string message_for(const std::string& name, const InputError& error)
{
    const std::string shown = name == "-" ? "standard input" : name;
    return error.line > 0 ? shown + ":" + std::to_string(error.line) + ": " + error.what() : shown + ": " + error.what();
}

Material load_table(TableReader& reader)
{
    Material table;
    table.one_table = true;
    table.k.emplace();
    for (TableRow row; reader.next(row);) {
        for (auto& [quantity, value] : {std::pair{&table.n, row.first}, {&*table.k, row.second}}) {
            quantity->table.nanometres.push_back(row.nanometres);
            quantity->table.values.push_back(value);
            quantity->table.lines.push_back(reader.line());
        }
    }
    if (table.n.table.values.empty())
        throw InputError(0, "no rows");
    return table;
}

// A formula that gives no real n there is as wrong as a bad line.
void check_real(const Material& material, double lambda, double n)
{
    if (std::isnan(n) && material.n.from_formula)
        throw InputError(0, "the formula gives no real n at " + numbers::shortest(lambda) + " nm");
}

// Every wavelength asked for lies where n and k are both defined.
void check_covered(const Material& material, const Wavelengths& wavelengths)
{
    double lowest = material.n.lowest(), highest = material.n.highest();
    for (const dispersion::Quantity* quantity : {&material.n, material.k ? &*material.k : nullptr}) {
        if (!quantity || quantity->from_formula)
            continue;
        if (const size_t i = dispersion::order_break(quantity->table); i < quantity->table.values.size())
            throw InputError(quantity->table.lines[i], "the wavelengths do not strictly increase here, so the table cannot be interpolated");
        lowest = std::fmax(lowest, quantity->lowest());
        highest = std::fmin(highest, quantity->highest());
    }
    for (double i = 0; i < wavelengths.size(); ++i) {
        const double lambda = wavelengths[i];
        if (!(lambda >= lowest && lambda <= highest))
            throw InputError(0, numbers::shortest(lambda) + " nm lies outside the data, which cover " + numbers::shortest(lowest) + " to " + numbers::shortest(highest) +
                                    " nm" + (lowest > highest ? " (n and k do not overlap)" : ""));
        if (material.n.from_formula)
            check_real(material, lambda, material.n.at(lambda));
    }
}

int run(const Options& options)
{
    const Wavelengths wavelengths(options);
    std::vector<std::unique_ptr<Input>> inputs;
    for (const std::string& name : options.files) {
        auto input = std::make_unique<Input>();
        input->name = name;
        input->file = name == "-" ? stdin : std::fopen(name.c_str(), "rb");
        if (!input->file)
            throw InputError(0, std::string("cannot open ") + name + ": " + std::strerror(errno));
        inputs.push_back(std::move(input));
    }
    for (auto& input : inputs) {  // what can be known before writing is checked first
        try {
            input->reader = std::make_unique<TableReader>(input->file, options.unit);
            if (looks_like_material(input->reader->start()))
                input->material = read_material(input->reader->rest());
            else if (options.wavelengths_given())
                input->material = load_table(*input->reader);
            if (options.wavelengths_given()) {
                check_covered(*input->material, wavelengths);
            } else if (input->material) {
                input->own = own_rows(*input->material);
                for (const Point& point : input->own.points)
                    check_real(*input->material, point.nanometres, point.n);
            }
        } catch (const InputError& error) {
            throw InputError(0, message_for(input->name, error));
        }
    }

    std::unique_ptr<Output> output = options.output.empty() ? std::make_unique<Output>() : std::make_unique<Output>(options.output);
    CsvWriter writer(*output, inputs.size() > 1);
    const auto write = [&writer, &options](double lambda, double first, double second) {
        writer.row(options.epsilon ? from_epsilon(lambda, first, second, options.minus) : from_n(lambda, first, second, options.minus));
    };
    writer.header();
    for (auto& input : inputs) {
        writer.set_source(input->name);
        const Material* material = input->material ? &*input->material : nullptr;
        if (material && options.wavelengths_given()) {
            for (double i = 0; i < wavelengths.size(); ++i) {
                const double lambda = wavelengths[i];
                write(lambda, material->n.at(lambda), material->k ? material->k->at(lambda) : 0.0);
            }
        } else if (material) {
            for (const Point& point : input->own.points)
                write(point.nanometres, point.n, point.k);
            if (const size_t left_out = input->own.left_out; left_out > 0)
                std::fprintf(stderr, "kalvira-convert: %s: %zu row%s left out, %s\n", input->name.c_str(), left_out,
                             left_out == 1 ? "" : "s", input->own.why.c_str());
        } else {
            try {
                for (TableRow row; input->reader->next(row);)
                    write(row.nanometres, row.first, row.second);
            } catch (const InputError& error) {
                if (options.output.empty())
                    output->commit();  // the rows before the bad line stay on standard output; a file is not written
                throw InputError(0, message_for(input->name, error));
            }
        }
    }
    output->commit();
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
#ifdef _WIN32
    _setmode(_fileno(stdin), _O_BINARY);  // the same bytes as elsewhere, and CR LF read as LF
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    try {
        return run(parse_options(argc, argv));
    } catch (const UsageError& error) {
        std::fprintf(stderr, "kalvira-convert: %s\n\n%s", error.why.c_str(), usage);
        return 2;
    } catch (const InputError& error) {
        std::fprintf(stderr, "kalvira-convert: %s\n", error.what());
    } catch (const std::exception& error) {
        std::fprintf(stderr, "kalvira-convert: %s\n", error.what());
    }
    return 1;
}
