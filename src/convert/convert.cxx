// SPDX-License-Identifier: MIT
// kalvira-convert: tables, and refractiveindex.info materials by name or file,
// into every quantity kalvira's window shows, as one CSV table; the database
// searched, and what to cite.

#include "about.h"
#include "catalogue.h"
#include "csv_writer.h"
#include "database.h"
#include "identity.h"
#include "input_error.h"
#include "material.h"
#include "numbers.h"
#include "options.h"
#include "output.h"
#include "plain_text.h"
#include "table_reader.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <new>
#include <optional>
#include <string>
#include <vector>
#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

namespace {

// The database and its catalogue, read once where a name needs them.
class Library {
public:
    explicit Library(const std::string& database) : given_(database) {}
    const Database& database()
    {
        if (!database_)
            database_ = find_database(given_);
        return *database_;
    }
    const Catalogue& catalogue()
    {
        if (!catalogue_)
            catalogue_.emplace(database().folder, database().description);
        return *catalogue_;
    }

private:
    std::string given_;
    std::optional<Database> database_;
    std::optional<Catalogue> catalogue_;
};

// A name is what is no file; what looks like a path stays a file that is missing.
bool is_name(const std::string& argument)
{
    std::error_code error;
    if (argument == "-" || std::filesystem::exists(std::filesystem::u8path(argument), error))
        return false;
    const std::string extension = std::filesystem::u8path(argument).extension().string();
    return argument[0] != '/' && argument.compare(0, 2, "./") != 0 && argument.compare(0, 3, "../") != 0 &&
           argument.find('\\') == std::string::npos && extension != ".yml" && extension != ".yaml" && extension != ".csv" &&
           extension != ".txt" && extension != ".dat" && extension != ".tsv";
}

// One input: a material, a table loaded whole (to be interpolated) or one to stream.
struct Input {
    std::string name;   // the source column's: a file's, or a page's shelf/book/page
    std::string shown;  // in messages: the file too
    std::FILE* file = nullptr;
    std::unique_ptr<TableReader> reader;
    std::optional<Material> material;  // a table loaded whole is one too, with its two columns as n and k
    OwnRows own;                       // a material's own rows, where no wavelengths are given
    std::optional<TableRow> first_row;  // a streamed table's, read before anything is written
    ~Input()
    {
        if (file && file != stdin)
            std::fclose(file);
    }
};

std::string message_for(const std::string& shown, const InputError& error)
{
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

// The pages whose names hold every word, a line each.
int list(const Options& options, Library& library)
{
    const std::vector<const Page*> found = library.catalogue().search(options.files);
    if (found.empty()) {
        std::string words;
        for (const std::string& word : options.files)
            words += (words.empty() ? "" : " ") + word;
        throw InputError(0, "nothing in " + library.database().description + " holds " + words + library.catalogue().suggestions(words));
    }
    Output output;
    for (const Page* page : found)
        output.write(page->name() + '\t' + plain_text(page->book_name) + '\t' + plain_text(page->page_name) + '\n');
    output.commit();
    return 0;
}

int cite(const Options& options, Library& library)
{
    std::string name, file = options.about, database;
    if (is_name(options.about)) {
        const Page& page = library.catalogue().find(options.about);
        name = page.name();
        file = library.catalogue().file(page);
        database = library.database().description;
    } else {
        try {  // a file of the database is cited by its name; any file, without a database too
            if (const Page* page = library.catalogue().page_of(file)) {
                name = page->name();
                database = library.database().description;
            }
        } catch (const InputError&) {
        }
    }
    std::string text;
    try {
        text = about(name, file, database);
    } catch (const InputError& error) {
        throw InputError(0, message_for(name.empty() ? file : name + " (" + file + ")", error));
    }
    Output output;
    output.write(text);
    output.commit();
    return 0;
}

int run(const Options& options)
{
    Library library(options.database);
    if (options.list)
        return list(options, library);
    if (!options.about.empty())
        return cite(options, library);
    const Wavelengths wavelengths(options);
    std::vector<std::unique_ptr<Input>> inputs;
    for (const std::string& argument : options.files) {
        auto input = std::make_unique<Input>();
        input->name = input->shown = argument;
        std::string path = argument;
        if (argument == "-") {
            input->shown = "standard input";
        } else if (is_name(argument)) {
            const Page& page = library.catalogue().find(argument);
            path = library.catalogue().file(page);
            input->name = page.name();
            input->shown = page.name() + " (" + path + ")";
        }
        input->file = argument == "-" ? stdin : std::fopen(path.c_str(), "rb");
        if (!input->file)
            throw InputError(0, std::string("cannot open ") + path + ": " + std::strerror(errno));
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
            } else if (TableRow row; input->reader->next(row)) {  // a binary file refused before the header
                input->first_row = row;
            }
        } catch (const InputError& error) {
            throw InputError(0, message_for(input->shown, error));
        }
    }

    std::unique_ptr<Output> output = options.output.empty() ? std::make_unique<Output>() : std::make_unique<Output>(options.output);
    if (options.line_buffered)
        output->line_buffered();
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
                std::fprintf(stderr, "kalvira-convert: %s: %zu row%s left out, %s\n", input->shown.c_str(), left_out,
                             left_out == 1 ? "" : "s", input->own.why.c_str());
        } else {
            try {
                TableRow row = input->first_row.value_or(TableRow{});
                for (bool more = input->first_row.has_value(); more; more = input->reader->next(row))
                    write(row.nanometres, row.first, row.second);
            } catch (const InputError& error) {
                if (options.output.empty())
                    output->commit();  // the rows before the bad line stay on standard output; a file is not written
                throw InputError(0, message_for(input->shown, error));
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
        const Options options = parse_options(argc, argv);
        if (options.help || options.version) {
            if (options.help) {
                std::fputs(usage, stdout);
                return 0;
            }
            std::printf("kalvira-convert %s\n", kalvira_version);
            try {
                std::printf("%s\n", find_database(options.database).description.c_str());
            } catch (const InputError& error) {
                std::printf("%s\n", error.what());
            }
            return 0;
        }
        return run(options);
    } catch (const UsageError& error) {
        std::fprintf(stderr, "kalvira-convert: %s\n\n%s", error.why.c_str(), usage);
        return 2;
    } catch (const InputError& error) {
        std::fprintf(stderr, "kalvira-convert: %s\n", error.what());
    } catch (const OutputError& error) {
        std::fprintf(stderr, "kalvira-convert: %s\n", error.what());
    } catch (const std::bad_alloc&) {
        std::fputs("kalvira-convert: out of memory\n", stderr);
    } catch (...) {  // a fault of its own: no library's words for the user
        std::fputs("kalvira-convert: an internal error; please report it with the input that caused it\n", stderr);
    }
    return 1;
}
