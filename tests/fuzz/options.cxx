// SPDX-License-Identifier: MIT
// The command line on any words (the bytes between NULs), and the wavelengths
// of --at and --range that it asks for.
#include "options.h"

#include <cstdint>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::vector<std::string> words{"kalvira-convert"};
    for (size_t i = 0, end; i <= size; i = end + 1) {
        end = i;
        while (end < size && data[end] != 0)
            ++end;
        words.emplace_back(reinterpret_cast<const char*>(data) + i, end - i);
    }
    std::vector<const char*> argv;
    for (const std::string& word : words)
        argv.push_back(word.c_str());
    try {
        const Wavelengths wavelengths(parse_options(int(argv.size()), argv.data()));
        if (wavelengths.size() > 0) {
            wavelengths[0];
            wavelengths[wavelengths.size() - 1];
        }
    } catch (const UsageError&) {
    }
    return 0;
}
