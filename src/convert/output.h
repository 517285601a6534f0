// SPDX-License-Identifier: MIT
// Where the converted table goes: standard output, or a file written whole or
// not at all.  A file is written beside its target and renamed over it once
// complete; a target that is no regular file (/dev/null, a FIFO, a terminal)
// is written into, never replaced.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

struct OutputError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

class Output {
public:
    Output();                                // standard output
    explicit Output(const std::string& path);  // OutputError where it cannot be opened
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
        if (line_buffered_ && !text.empty() && text.back() == '\n')
            flush();
    }
    void line_buffered() { line_buffered_ = true; }  // each line written as it ends; always on a terminal
    void commit();  // everything written and in place; OutputError where not

private:
    void flush();
    void write_through(std::string_view text);
    [[noreturn]] void fail(const char* doing);  // with the system's reason
    [[noreturn]] void fail(const char* doing, const std::string& reason);

    std::string name_, temporary_, target_;  // temporary_ empty: written into directly
    int fd_ = 1;
    std::vector<char> buffer_;
    size_t used_ = 0;
    bool line_buffered_ = false;
};
