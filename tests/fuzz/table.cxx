// SPDX-License-Identifier: MIT
// The plain table reader on any bytes, as a stream, each row converted.
#include "input_error.h"
#include "spectrum_row.h"
#include "table_reader.h"

#include <cstdint>
#include <cstdio>
#include <sys/mman.h>
#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static std::FILE* const input = fdopen(memfd_create("table", 0), "rb");  // the reader reads a descriptor
    const int fd = fileno(input);
    if (ftruncate(fd, 0) != 0 || pwrite(fd, data, size, 0) != ssize_t(size) || lseek(fd, 0, SEEK_SET) != 0)
        return 0;
    try {
        TableReader reader(input, static_cast<numbers::Unit>(size % 4));  // each unit in turn
        reader.start();
        for (TableRow row; reader.next(row);)
            from_epsilon(row.nanometres, row.first, row.second, row.first < 0);
    } catch (const InputError&) {
    }
    return 0;
}
