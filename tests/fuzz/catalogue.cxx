// SPDX-License-Identifier: MIT
// The catalogue reader on any text, as a database's catalog-nk.yml: every page
// found again by its own name, its file checked, its names as plain text.
#include "catalogue.h"
#include "input_error.h"
#include "plain_text.h"

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

bool plain_id(const std::string& id)
{
    return !id.empty() && id != ".." && id.find('/') == std::string::npos &&
           id.find_first_of("\x01\x02\x03\x04\x05\x06\x07\x08\t\n\x0b\x0c\r\x0e\x0f\x10\x11\x12\x13\x14\x15\x16\x17\x18\x19\x1a\x1b\x1c\x1d\x1e\x1f\x7f") == std::string::npos &&
           id.find('\0') == std::string::npos;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const fs::path folder = [] {  // a database of one file, removed at exit
        static const fs::path made = fs::temp_directory_path() / ("kalvira-fuzz-catalogue-" + std::to_string(getpid()));
        fs::create_directories(made / "data");
        std::ofstream(made / "data" / "a.yml") << "DATA: []\n";
        std::atexit([] { std::error_code error; fs::remove_all(made, error); });
        return made;
    }();
    std::ofstream(folder / "catalog-nk.yml", std::ios::binary | std::ios::trunc).write(reinterpret_cast<const char*>(data), std::streamsize(size));
    try {
        const Catalogue catalogue(folder.string(), "the fuzzed catalogue");
        for (const Page& page : catalogue.pages()) {
            plain_text(page.book_name);
            plain_text(page.page_name);
            if (plain_id(page.shelf) && plain_id(page.book) && plain_id(page.page) && catalogue.find(page.name()).name() != page.name())
                std::abort();  // a page that its own name does not find
            try {
                catalogue.page_of(catalogue.file(page));
            } catch (const InputError&) {
            }
        }
        if (!catalogue.pages().empty())
            catalogue.search({catalogue.pages()[0].book});
    } catch (const InputError&) {
    }
    return 0;
}
