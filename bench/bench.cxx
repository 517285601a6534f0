// SPDX-License-Identifier: MIT
// How fast kalvira starts, how much memory it holds, how quickly it answers a
// keystroke and how still it sits when idle, side by side with a bare toolkit
// window (and xcalc, when installed).  Run it on a private X display.
// Usage: kalvira_bench KALVIRA BARE_WINDOW [RUNS]

#include "kalvira.h"
#include "xinput.h"

#include <FL/Fl.H>
#include <FL/x.H>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

double ms_since(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double percentile(std::vector<double> v, double p)
{
    std::sort(v.begin(), v.end());
    const auto i = static_cast<std::size_t>(std::ceil(p * static_cast<double>(v.size()))) - 1;
    return v[std::min(i, v.size() - 1)];
}

double median(const std::vector<double>& v)
{
    return percentile(v, 0.5);
}

void pause_ms(int ms)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

// From /proc/PID/status, in kB.
double resident_kb(pid_t pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmRSS:", 0) == 0)
            return std::stod(line.substr(6));
    throw std::runtime_error("no VmRSS for " + std::to_string(pid));
}

// User plus system time from /proc/PID/stat, in clock ticks.
long cpu_ticks(pid_t pid)
{
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string all((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    std::istringstream fields(all.substr(all.rfind(')') + 2));  // the name may hold spaces
    std::string field;
    long ticks = 0;
    for (int i = 3; i <= 15 && fields >> field; ++i)
        if (i >= 14)
            ticks += std::stol(field);
    return ticks;
}

void stop(pid_t pid)
{
    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
}

// A second X connection that sees every top-level window being mapped.
class Launcher {
public:
    Launcher() : display_(XOpenDisplay(nullptr))
    {
        if (!display_)
            throw std::runtime_error("cannot open the display");
        XSelectInput(display_, DefaultRootWindow(display_), SubstructureNotifyMask);
        XSync(display_, True);
    }
    ~Launcher() { XCloseDisplay(display_); }
    Launcher(const Launcher&) = delete;
    Launcher& operator=(const Launcher&) = delete;

    // Starts the program and returns once its window is mapped; `ms` is the time from exec.
    pid_t start(const std::string& program, double* ms = nullptr)
    {
        XSync(display_, True);  // forget the windows of earlier runs
        posix_spawn_file_actions_t quiet;
        posix_spawn_file_actions_init(&quiet);
        posix_spawn_file_actions_addopen(&quiet, 1, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addopen(&quiet, 2, "/dev/null", O_WRONLY, 0);
        char* argv[] = {const_cast<char*>(program.c_str()), nullptr};
        pid_t pid = 0;
        const auto exec = Clock::now();
        const int failed = posix_spawn(&pid, program.c_str(), &quiet, nullptr, argv, environ);
        posix_spawn_file_actions_destroy(&quiet);
        if (failed)
            throw std::runtime_error("cannot start " + program);
        pollfd connection{ConnectionNumber(display_), POLLIN, 0};
        for (;;) {
            while (XPending(display_)) {
                XEvent event;
                XNextEvent(display_, &event);
                if (event.type == MapNotify) {
                    if (ms)
                        *ms = ms_since(exec);
                    return pid;
                }
            }
            if (poll(&connection, 1, 10000) == 0) {
                stop(pid);
                throw std::runtime_error(program + " mapped no window within 10 s");
            }
        }
    }

private:
    Display* display_;
};

struct Program {
    std::string name, path;
    std::vector<double> start_ms, rss_kb;
    long idle_ticks = -1;
};

void measure_start_and_memory(Launcher& launcher, std::vector<Program>& programs, int runs)
{
    for (int run = 0; run < runs; ++run)
        for (std::size_t i = 0; i < programs.size(); ++i) {
            auto& p = programs[(i + static_cast<std::size_t>(run)) % programs.size()];  // vary the order
            double ms = 0;
            const pid_t pid = launcher.start(p.path, &ms);
            pause_ms(300);  // drawn and settled
            p.start_ms.push_back(ms);
            p.rss_kb.push_back(resident_kb(pid));
            stop(pid);
        }
}

void measure_idle(Launcher& launcher, std::vector<Program>& programs)
{
    std::vector<pid_t> pids;
    for (const auto& p : programs)
        pids.push_back(launcher.start(p.path));
    pause_ms(1000);
    std::vector<long> before;
    for (const pid_t pid : pids)
        before.push_back(cpu_ticks(pid));
    pause_ms(5000);
    for (std::size_t i = 0; i < pids.size(); ++i) {
        programs[i].idle_ticks = cpu_ticks(pids[i]) - before[i];
        stop(pids[i]);
    }
}

// In this process: a real key press into n' until e' holds the new square and
// the window has been drawn and flushed.  Digits and BackSpace alternate.
std::vector<double> measure_keystrokes(int keys)
{
    auto* kalvira = new KALVIRA;
    kalvira->init();
    kalvira->show();
    xinput::drawn(kalvira->UI_window);
    xinput::click(kalvira->UI_n_real);
    xinput::key(XK_End);  // n' reads "1"
    const KeyCode backspace = XKeysymToKeycode(fl_display, XK_BackSpace);
    std::vector<double> latencies;
    for (int i = 0; i < keys; ++i) {
        const int digit = (i / 2) % 10;
        const bool typing = i % 2 == 0;
        const KeyCode code = typing ? XKeysymToKeycode(fl_display, '0' + digit) : backspace;
        const double expected = typing ? (10.0 + digit) * (10.0 + digit) : 1.0;  // "1d" or "1"
        const auto start = Clock::now();
        XTestFakeKeyEvent(fl_display, code, True, CurrentTime);
        XTestFakeKeyEvent(fl_display, code, False, CurrentTime);
        XFlush(fl_display);
        while (kalvira->UI_epsilon_real->value() != expected)
            if (Fl::wait(5.0) == 0 || ms_since(start) > 5000)
                throw std::runtime_error("a keystroke was not converted");
        XSync(fl_display, False);
        while (XPending(fl_display))  // the key release too
            Fl::check();
        Fl::flush();
        XSync(fl_display, False);
        latencies.push_back(ms_since(start));
    }
    kalvira->UI_window->hide();
    xinput::settle();
    return latencies;
}

std::string machine()
{
    std::ifstream cpuinfo("/proc/cpuinfo");
    std::string model = "unknown CPU";
    for (std::string line; std::getline(cpuinfo, line);)
        if (line.rfind("model name", 0) == 0) {
            model = line.substr(line.find(':') + 2);
            break;
        }
    char host[256] = "?";
    gethostname(host, sizeof host - 1);
    return std::string(host) + ", " + model + ", " +
           std::to_string(std::thread::hardware_concurrency()) + " cores";
}

const char* verdict(bool met)
{
    return met ? "met" : "NOT MET";
}

} // namespace

int main(int argc, char** argv)
try {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s KALVIRA BARE_WINDOW [RUNS]\n", argv[0]);
        return 2;
    }
    const int runs = argc > 3 ? std::max(1, std::atoi(argv[3])) : 25;
    constexpr int keys = 4000;
    std::vector<Program> programs = {{"kalvira", argv[1], {}, {}}, {"bare FLTK", argv[2], {}, {}}};
    for (const char* xcalc : {"/usr/bin/xcalc", "/usr/local/bin/xcalc"})
        if (access(xcalc, X_OK) == 0) {
            programs.push_back({"xcalc", xcalc, {}, {}});
            break;
        }

    Launcher launcher;
    measure_start_and_memory(launcher, programs, runs);
    measure_idle(launcher, programs);
    const auto latencies = measure_keystrokes(keys);

    const auto& kalvira = programs[0];
    const auto& bare = programs[1];
    std::printf("kalvira benchmark: %d runs each, %d keystrokes\n%s\n\n", runs, keys, machine().c_str());
    std::printf("%-28s", "");
    for (const auto& p : programs)
        std::printf("%12s", p.name.c_str());
    std::printf("\n%-28s", "start-up to map, median ms");
    for (const auto& p : programs)
        std::printf("%12.1f", median(p.start_ms));
    std::printf("\n%-28s", "resident memory, median kB");
    for (const auto& p : programs)
        std::printf("%12.0f", median(p.rss_kb));
    std::printf("\n%-28s", "CPU ticks idle over 5 s");
    for (const auto& p : programs)
        std::printf("%12ld", p.idle_ticks);

    const double start_ratio = median(kalvira.start_ms) / median(bare.start_ms);
    const double rss_ratio = median(kalvira.rss_kb) / median(bare.rss_kb);
    const double key_median = median(latencies), key_p99 = percentile(latencies, 0.99);
    std::printf("\n\n%-44s%10s  %s\n", "figure", "value", "target");
    std::printf("%-44s%10.2f  <= 1.1  %s\n", "start-up, kalvira / bare FLTK", start_ratio,
                verdict(start_ratio <= 1.1));
    if (programs.size() > 2) {
        const double xcalc_ratio = median(kalvira.start_ms) / median(programs[2].start_ms);
        std::printf("%-44s%10.2f  < 1    %s\n", "start-up, kalvira / xcalc", xcalc_ratio,
                    verdict(xcalc_ratio < 1.0));
    } else {
        std::printf("%-44s%10s\n", "start-up, kalvira / xcalc", "no xcalc");
    }
    std::printf("%-44s%10.2f  <= 1.4  %s\n", "resident memory, kalvira / bare FLTK", rss_ratio,
                verdict(rss_ratio <= 1.4));
    std::printf("%-44s%10.3f  <= 1    %s\n", "keystroke to flushed window, median ms", key_median,
                verdict(key_median <= 1.0));
    std::printf("%-44s%10.3f  <= 5    %s\n", "keystroke to flushed window, p99 ms", key_p99,
                verdict(key_p99 <= 5.0));
    std::printf("%-44s%10ld  0       %s\n", "kalvira CPU ticks idle over 5 s", kalvira.idle_ticks,
                verdict(kalvira.idle_ticks == 0));
    return 0;
} catch (const std::exception& e) {
    std::fprintf(stderr, "kalvira_bench: %s\n", e.what());
    return 1;
}
