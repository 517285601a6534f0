// SPDX-License-Identifier: MIT
#include "plain_text.h"

#include <cctype>
#include <cstdint>

namespace {

bool starts_with(std::string_view text, std::string_view start)
{
    return text.substr(0, start.size()) == start;
}

void append_utf8(std::string& out, std::uint32_t code)
{
    if (code < 0x80) {
        out += char(code);
    } else if (code < 0x800) {
        out += char(0xC0 | code >> 6);
        out += char(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += char(0xE0 | code >> 12);
        out += char(0x80 | (code >> 6 & 0x3F));
        out += char(0x80 | (code & 0x3F));
    } else {
        out += char(0xF0 | code >> 18);
        out += char(0x80 | (code >> 12 & 0x3F));
        out += char(0x80 | (code >> 6 & 0x3F));
        out += char(0x80 | (code & 0x3F));
    }
}

// The character an entity's name (between & and ;) stands for, or 0.
std::uint32_t entity(std::string_view name)
{
    if (name.size() > 1 && name[0] == '#') {
        const bool hex = name[1] == 'x' || name[1] == 'X';
        std::uint32_t code = 0;
        const std::string_view digits = name.substr(hex ? 2 : 1);
        if (digits.empty() || digits.size() > 6)
            return 0;
        for (const char c : digits) {
            if (!(hex ? std::isxdigit(static_cast<unsigned char>(c)) : std::isdigit(static_cast<unsigned char>(c))))
                return 0;
            code = code * (hex ? 16 : 10) + (std::isdigit(static_cast<unsigned char>(c)) ? c - '0' : (c | 0x20) - 'a' + 10);
        }
        return code > 0 && code <= 0x10FFFF && (code < 0xD800 || code > 0xDFFF) ? code : 0;
    }
    static constexpr struct {
        std::string_view name;
        std::uint32_t code;
    } named[] = {{"amp", '&'}, {"lt", '<'}, {"gt", '>'}, {"quot", '"'}, {"apos", '\''}, {"nbsp", ' '},
                 {"times", 0xD7}, {"deg", 0xB0}, {"micro", 0xB5}, {"plusmn", 0xB1}, {"minus", 0x2212},
                 {"ndash", 0x2013}, {"mdash", 0x2014}, {"alpha", 0x3B1}, {"beta", 0x3B2}, {"gamma", 0x3B3},
                 {"delta", 0x3B4}, {"epsilon", 0x3B5}, {"lambda", 0x3BB}, {"mu", 0x3BC}};
    for (const auto& [entity_name, code] : named)
        if (name == entity_name)
            return code;
    return 0;
}

// The value of a tag's attribute, as in <a href="URL">.
std::string attribute(std::string_view tag, std::string_view name)
{
    const size_t at = tag.find(std::string(name) + "=");
    if (at == std::string_view::npos)
        return "";
    size_t start = at + name.size() + 1;
    const char quote = start < tag.size() && (tag[start] == '"' || tag[start] == '\'') ? tag[start++] : ' ';
    const size_t end = tag.find(quote, start);
    return std::string(tag.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
}

// Markdown's * and _ of emphasis: next to a word on one side, and not on the other.
bool emphasis_mark(std::string_view text, size_t i)
{
    const auto blank = [&text](size_t j) {
        return j >= text.size() || std::isspace(static_cast<unsigned char>(text[j])) || std::ispunct(static_cast<unsigned char>(text[j]));
    };
    const bool before = i == 0 || blank(i - 1), after = blank(i + 1);
    return before != after;
}

} // namespace

std::string plain_text(std::string_view text)
{
    std::string out, link;  // link: the URL of the <a> being read
    size_t link_start = 0;
    for (size_t i = 0; i < text.size();) {
        const char c = text[i];
        const bool tag_start = i + 1 < text.size() && (std::isalpha(static_cast<unsigned char>(text[i + 1])) || text[i + 1] == '/');
        const size_t close = c == '<' && tag_start ? text.find('>', i) : c == '&' ? text.find(';', i) : std::string_view::npos;
        if (c == '<' && close != std::string_view::npos) {
            const std::string_view tag = text.substr(i + 1, close - i - 1);
            if (starts_with(tag, "http://") || starts_with(tag, "https://")) {
                out += tag;  // Markdown's <URL>
            } else if (starts_with(tag, "a ") || starts_with(tag, "A ")) {
                link = attribute(tag, "href");
                link_start = out.size();
            } else if ((tag == "/a" || tag == "/A") && !link.empty()) {
                if (out.compare(link_start, std::string::npos, link) != 0)
                    out += " (" + link + ")";
                link.clear();
            }
            i = close + 1;
        } else if (c == '&' && close != std::string_view::npos && close - i <= 10 && entity(text.substr(i + 1, close - i - 1))) {
            append_utf8(out, entity(text.substr(i + 1, close - i - 1)));
            i = close + 1;
        } else if (c == '[' && text.find("](", i) != std::string_view::npos && text.find(')', text.find("](", i)) != std::string_view::npos &&
                   text.find('\n', i) > text.find(')', text.find("](", i))) {
            const size_t middle = text.find("](", i), end = text.find(')', middle);
            const std::string label = plain_text(text.substr(i + 1, middle - i - 1));
            const std::string_view url = text.substr(middle + 2, end - middle - 2);
            out += label == url ? label : label + " (" + std::string(url) + ")";
            i = end + 1;
        } else if (c == '`' || ((c == '*' || c == '_') && (starts_with(text.substr(i), "**") || starts_with(text.substr(i), "__")))) {
            i += c == '`' ? 1 : 2;
        } else if ((c == '*' || c == '_') && emphasis_mark(text, i)) {
            ++i;
        } else {
            out += c;
            ++i;
        }
    }
    return out;
}
