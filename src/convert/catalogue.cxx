// SPDX-License-Identifier: MIT
#include "catalogue.h"
#include "input_error.h"
#include "plain_text.h"

#include <yaml-cpp/yaml.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>

namespace fs = std::filesystem;

namespace {

constexpr char catalogue_name[] = "catalog-nk.yml";
constexpr std::string_view level_keys[] = {"SHELF", "BOOK", "PAGE"};

std::string lower(std::string_view text)
{
    std::string out(text);
    for (char& c : out)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

bool has_control(std::string_view text)
{
    return std::any_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; });
}

// A value as upstream writes it: plain, or in double quotes without escapes.
// false for any other form.
bool simple_value(std::string_view text, std::string& value)
{
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    if (!text.empty() && text[0] == '"') {
        if (text.size() < 2 || text.back() != '"' || text.substr(1, text.size() - 2).find_first_of("\"\\") != std::string_view::npos)
            return false;
        value = text.substr(1, text.size() - 2);
        return true;
    }
    if (!text.empty() && (std::string_view("-?:,[]{}#&*!|>'%@`").find(text[0]) != std::string_view::npos ||
                          text.find(": ") != std::string_view::npos || text.find(" #") != std::string_view::npos))
        return false;
    value = text;
    return true;
}

// The catalogue as upstream writes it: a block list of mappings, a key a
// line, each list at one indentation a level.  false where the text steps
// outside that form, which YAML proper then reads.
bool read_quickly(std::string_view text, std::vector<Page>& pages)
{
    int indent_of[3] = {0, -1, -1};  // each level's "- " indentation
    int level = -1;                  // of the entry being read
    bool divider = false, content[3] = {};
    std::string shelf, book, book_name;
    long number = 0;
    for (size_t at = 0; at < text.size();) {
        const size_t end = std::min(text.find('\n', at), text.size());
        std::string_view line = text.substr(at, end - at);
        at = end + 1;
        ++number;
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        const size_t first = line.find_first_not_of(' ');
        if (first == std::string_view::npos || line[first] == '#')
            continue;
        if (line[first] == '\t')
            return false;
        const bool item = line.compare(first, 2, "- ") == 0;
        const int indent = int(first);
        const size_t key_start = first + (item ? 2 : 0), colon = line.find(':', key_start);
        if (colon == std::string_view::npos || (colon + 1 < line.size() && line[colon + 1] != ' '))
            return false;
        const std::string_view key = line.substr(key_start, colon - key_start);
        std::string value;
        if (!simple_value(line.substr(std::min(colon + 2, line.size())), value))
            return false;
        if (item) {
            int next = 0;
            while (next < 3 && indent_of[next] != indent)
                ++next;
            if (next == 3 && level >= 0 && level < 2 && content[level] && indent_of[level + 1] < 0 && indent > indent_of[level])
                indent_of[next = level + 1] = indent;
            if (next == 3 || (next > 0 && (level < next - 1 || !content[next - 1])))
                return false;
            divider = key == "DIVIDER";
            if (!divider && (key != level_keys[next] || value.empty()))  // YAML proper names an entry without its id
                return false;
            level = next;
            std::fill(content + level, content + 3, false);
            if (divider)
                continue;
            if (level == 0)
                shelf = value;
            else if (level == 1)
                book = value, book_name.clear();
            else
                pages.push_back({shelf, book, value, book_name, "", "", number});
        } else {
            if (level < 0 || divider || indent != indent_of[level] + 2)
                return false;
            if (key == "name" && level == 1)
                book_name = value;
            else if (key == "name" && level == 2)
                pages.back().page_name = value;
            else if (key == "data" && level == 2)
                pages.back().data = value;
            else if (key == "content" && level < 2 && value.empty())
                content[level] = true;
            else if (key != "name")
                return false;
        }
    }
    return true;
}

long line_of(const YAML::Node& node)
{
    return node.Mark().line + 1;
}

std::string scalar(const YAML::Node& node)
{
    return node && node.IsScalar() ? node.Scalar() : "";
}

// Any other form of the catalogue, through YAML proper.
void read_yaml(const YAML::Node& list, int level, Page& page, std::vector<Page>& pages)
{
    if (!list.IsSequence())
        throw InputError(line_of(list), "not a list of entries");
    for (const YAML::Node& entry : list) {
        if (entry.IsMap() && entry["DIVIDER"])
            continue;
        const std::string id = entry.IsMap() ? scalar(entry[std::string(level_keys[level])]) : "";
        if (id.empty())
            throw InputError(line_of(entry), "an entry with neither DIVIDER nor " + std::string(level_keys[level]));
        if (level == 2) {
            page.page = id;
            page.page_name = scalar(entry["name"]);
            page.data = scalar(entry["data"]);
            page.line = line_of(entry);
            pages.push_back(page);
            continue;
        }
        (level == 0 ? page.shelf : page.book) = id;
        page.book_name = scalar(entry["name"]);
        if (const YAML::Node content = entry["content"]; content && !content.IsNull())
            read_yaml(content, level + 1, page, pages);
    }
}

size_t distance(std::string_view a, std::string_view b)  // Levenshtein's
{
    std::vector<size_t> row(b.size() + 1);
    for (size_t j = 0; j <= b.size(); ++j)
        row[j] = j;
    for (size_t i = 1; i <= a.size(); ++i) {
        size_t diagonal = row[0];
        row[0] = i;
        for (size_t j = 1; j <= b.size(); ++j) {
            const size_t above = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] != b[j - 1])});
            diagonal = above;
        }
    }
    return row[b.size()];
}

std::vector<std::string_view> parts_of(std::string_view name)
{
    std::vector<std::string_view> parts;
    for (size_t at = 0;;) {
        const size_t slash = name.find('/', at);
        parts.push_back(name.substr(at, slash == std::string_view::npos ? slash : slash - at));
        if (slash == std::string_view::npos)
            return parts;
        at = slash + 1;
    }
}

bool matches(const Page& page, const std::vector<std::string_view>& parts, bool ignoring_case)
{
    const std::string_view ids[] = {page.shelf, page.book, page.page};
    const size_t first = parts.size() == 1 ? 1 : 3 - parts.size();  // a book alone, or the last parts
    if (parts.size() > 3)
        return false;
    for (size_t i = 0; i < parts.size(); ++i)
        if (ignoring_case ? lower(parts[i]) != lower(ids[first + i]) : parts[i] != ids[first + i])
            return false;
    return true;
}

} // namespace

Catalogue::Catalogue(const std::string& folder, std::string description) : folder_(folder), description_(std::move(description))
{
    const std::string path = (fs::u8path(folder) / catalogue_name).string();
    std::ifstream file(path, std::ios::binary);
    if (!file)
        throw InputError(0, folder + " holds no " + catalogue_name);
    const std::string text{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    std::vector<Page> pages;
    if (!read_quickly(text, pages)) {
        pages.clear();
        Page page;
        try {
            read_yaml(YAML::Load(text), 0, page, pages);
        } catch (const YAML::Exception& error) {
            throw InputError(0, path + ":" + std::to_string(error.mark.line + 1) + ": YAML: " + error.msg);
        } catch (const InputError& error) {
            throw InputError(0, path + ":" + std::to_string(error.line) + ": " + error.what());
        }
    }
    std::set<std::string> seen;  // a page listed twice is one page
    for (Page& page : pages)
        if (seen.insert(page.name()).second)
            pages_.push_back(std::move(page));
}

const Page& Catalogue::find(std::string_view name) const
{
    if (name.empty() || has_control(name))
        throw InputError(0, name.empty() ? "an empty name, neither a file nor a material" : "a material's name holds no control characters");
    const std::vector<std::string_view> parts = parts_of(name);
    if (std::find(parts.begin(), parts.end(), "..") != parts.end())
        throw InputError(0, std::string(name) + ": a material's name holds no \"..\"");
    for (const bool ignoring_case : {false, true}) {
        std::vector<const Page*> found;
        for (const Page& page : pages_)
            if (matches(page, parts, ignoring_case))
                found.push_back(&page);
        if (found.size() == 1)
            return *found[0];
        if (found.size() > 1) {
            std::string which = std::string(name) + (parts.size() == 1 ? " is a book of several pages" : " names several pages") + "; give one of:";
            for (const Page* page : found)
                which += "\n  " + page->name() + "  " + plain_text(page->page_name);
            throw InputError(0, which);
        }
    }
    throw InputError(0, "no material " + std::string(name) + " in " + description_ + suggestions(name));
}

std::string Catalogue::suggestions(std::string_view name) const
{
    const std::string wanted = lower(name);
    const size_t most = std::max<size_t>(1, wanted.size() / 3);
    std::vector<std::pair<size_t, const Page*>> near;
    for (const Page& page : pages_) {
        const std::string forms[] = {page.name(), page.book + '/' + page.page, page.book, page.page};
        size_t nearest = most + 1;
        for (const std::string& form : forms)
            if (std::max(form.size(), wanted.size()) - std::min(form.size(), wanted.size()) <= most)
                nearest = std::min(nearest, distance(wanted, lower(form)));
        if (nearest <= most)
            near.emplace_back(nearest, &page);
    }
    std::stable_sort(near.begin(), near.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    std::string said;
    for (size_t i = 0; i < near.size() && i < 5; ++i)
        said += (i == 0 ? "; did you mean " : i + 1 == std::min<size_t>(near.size(), 5) ? " or " : ", ") + near[i].second->name();
    return said.empty() ? "" : said + "?";
}

std::vector<const Page*> Catalogue::search(const std::vector<std::string>& words) const
{
    std::vector<std::string> wanted;
    for (const std::string& word : words)
        wanted.push_back(lower(word));
    std::vector<const Page*> found;
    for (const Page& page : pages_) {
        const std::string text = lower(page.name() + '\n' + plain_text(page.book_name) + '\n' + plain_text(page.page_name));
        if (std::all_of(wanted.begin(), wanted.end(), [&text](const std::string& word) { return text.find(word) != std::string::npos; }))
            found.push_back(&page);
    }
    return found;
}

std::string Catalogue::file(const Page& page) const
{
    const std::string where = page.name() + " (" + catalogue_name + ":" + std::to_string(page.line) + ")";
    if (page.data.empty())
        throw InputError(0, where + ": no data");
    const fs::path relative = fs::u8path(page.data);
    const auto parts = std::vector<fs::path>(relative.begin(), relative.end());
    if (relative.has_root_path() || has_control(page.data) || std::find(parts.begin(), parts.end(), "..") != parts.end())
        throw InputError(0, where + ": its file " + page.data + " lies outside the database");
    const fs::path data = fs::u8path(folder_) / "data", path = data / relative;
    std::error_code error;
    const fs::path real = fs::canonical(path, error), real_data = error ? fs::path() : fs::canonical(data, error);
    if (error)
        throw InputError(0, where + ": cannot open " + path.string() + ": " + error.message());
    const auto [end, inside] = std::mismatch(real_data.begin(), real_data.end(), real.begin(), real.end());
    if (end != real_data.end())
        throw InputError(0, where + ": its file " + page.data + " lies outside the database");
    return path.string();
}

const Page* Catalogue::page_of(const std::string& file) const
{
    std::error_code error;
    const fs::path real = fs::canonical(fs::u8path(file), error), data = fs::canonical(fs::u8path(folder_) / "data", error);
    if (error)
        return nullptr;
    const std::string relative = real.lexically_relative(data).generic_string();
    const std::string name = real.filename().u8string();
    const auto ends_with_name = [&name](const std::string& data) {
        return data.size() >= name.size() && data.compare(data.size() - name.size(), name.size(), name) == 0;
    };
    for (const Page& page : pages_)  // as written, or as a path (organic//C32H44N2O6 - SQIB/...)
        if (page.data == relative || (ends_with_name(page.data) && fs::u8path(page.data).lexically_normal().generic_string() == relative))
            return &page;
    return nullptr;
}
