// SPDX-License-Identifier: MIT
// Where the converted table goes: standard output, or a file written whole or
// not at all.  A file is written beside its target and renamed over it once
// complete; a target that is no regular file (/dev/null, a FIFO, a terminal)
// is written into, never replaced.
#pragma once

#include <string>
#include <string_view>
#include <vector>

class Output {
public:
    Output();                                // standard output
    explicit Output(const std::string& path);  // std::runtime_error where it cannot be opened
    ~Output();                               // without commit(): nothing of the file is left
    Output(const Output&) = delete;
    Output& operator=(const Output&) = delete;

    void write(std::string_view text)
    {
        if (text.size() > buffer_.size() - used_)
            flush();
        if (text.size() > buffer_.size() - used_)
            return write_through(text);
        text.copy(buffer_.data() + used_, text.size());
        used_ += text.size();
    }
    void commit();  // everything written and in place; std::runtime_error where not

private:
    void flush();
    void write_through(std::string_view text);
    [[noreturn]] void fail(const char* doing);  // with the system's reason
    [[noreturn]] void fail(const char* doing, const std::string& reason);

    std::string name_, temporary_, target_;  // temporary_ empty: written into directly
    int fd_ = 1;
    std::vector<char> buffer_;
    size_t used_ = 0;
};
