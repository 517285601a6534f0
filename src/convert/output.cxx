// SPDX-License-Identifier: MIT
#include "output.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#ifdef _WIN32
#include <io.h>
#include <process.h>
#else
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace {

#ifdef _WIN32
constexpr int binary = O_BINARY;
int sync_file(int fd) { return _commit(fd); }
#else
constexpr int binary = 0;
int sync_file(int fd) { return fsync(fd); }
#endif

// The file being written, removed if the program is interrupted.
char interrupted_file[4096];
extern "C" void remove_and_end(int signal_number)
{
    if (interrupted_file[0])
        unlink(interrupted_file);
    std::signal(signal_number, SIG_DFL);
    std::raise(signal_number);
}

} // namespace

Output::Output() : name_("standard output"), buffer_(1 << 20), line_buffered_(isatty(fd_)) {}

Output::Output(const std::string& path) : name_(path), buffer_(1 << 20)
{
    std::error_code error;
    fs::path target = path;
    if (fs::is_symlink(target, error))  // the file it names is replaced, not the link
        target = fs::weakly_canonical(target, error);
    const fs::file_status status = fs::status(target, error);
    target_ = target.string();
    fd_ = -1;
    if (fs::exists(status) && !fs::is_regular_file(status)) {
        fd_ = open(target_.c_str(), O_WRONLY | binary);
        if (fd_ < 0)
            fail("open");
        line_buffered_ = isatty(fd_);
        return;
    }
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    for (int attempt = 0; fd_ < 0; ++attempt) {
        temporary_ = (folder / ("." + target.filename().string() + "." + std::to_string(getpid()) + "-" +
                                std::to_string(attempt) + ".part")).string();
        fd_ = open(temporary_.c_str(), O_WRONLY | O_CREAT | O_EXCL | binary, 0666);
        if (fd_ < 0 && (errno != EEXIST || attempt > 100)) {
            temporary_.clear();
            fail("create a file beside");
        }
    }
#ifndef _WIN32
    struct stat existing;
    if (stat(target_.c_str(), &existing) == 0)  // a replaced file keeps its permissions
        fchmod(fd_, existing.st_mode & 07777);
#endif
    std::snprintf(interrupted_file, sizeof interrupted_file, "%s", temporary_.c_str());
    for (const int signal_number : {SIGINT, SIGTERM})
        std::signal(signal_number, remove_and_end);
}

Output::~Output()
{
    if (fd_ > 1)
        close(fd_);
    if (!temporary_.empty()) {
        interrupted_file[0] = '\0';
        std::remove(temporary_.c_str());
    }
}

void Output::fail(const char* doing, const std::string& reason)
{
    throw OutputError("cannot " + std::string(doing) + " " + name_ + ": " + reason);
}

void Output::fail(const char* doing)
{
    fail(doing, std::strerror(errno));
}

void Output::write_through(std::string_view text)
{
    while (!text.empty()) {
        const auto written = ::write(fd_, text.data(), text.size());
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            fail("write");
        text.remove_prefix(written);
    }
}

void Output::flush()
{
    const size_t used = used_;
    used_ = 0;
    write_through({buffer_.data(), used});
}

void Output::commit()
{
    flush();
    if (temporary_.empty())
        return;
    if (sync_file(fd_) != 0)
        fail("write");
    const int fd = fd_;
    fd_ = -1;
    if (close(fd) != 0)
        fail("write");
    std::error_code error;
    fs::rename(temporary_, target_, error);
    if (error)
        fail("replace", error.message());
    temporary_.clear();
    interrupted_file[0] = '\0';
}
