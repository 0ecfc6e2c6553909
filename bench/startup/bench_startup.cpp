// Start-up of the whole process, from spawn to the main window's first paint
// (offscreen), for the Quillane window against two plain windows started the
// same way in the same run: a bare QMainWindow and a QMainWindow with a menu
// bar and a label, the least any Qt window that shows text costs.
//
// Time: CLOCK_MONOTONIC read here just before posix_spawn(), against the same
// clock read by startup_probe once its window's first paint has been painted
// and flushed (see startup_probe.cpp for how that moment is found).
//
// Memory: the peak resident set size (VmHWM) that the probe reads from
// /proc/self/status right after that first paint. Not the child's ru_maxrss
// from wait4(): Linux carries the high-water mark of the memory the child
// starts with (the spawning process's, shared by posix_spawn's vfork) across
// exec into it, so ru_maxrss would include part of this process too.
//
// The variants run interleaved, one round after another, so that a slow spell
// on the shared machine touches each of them alike; the figures are medians.
// Every probe runs on the one CPU that this bench starts on: the CPUs of a
// virtual machine need not be alike (on the one in the README, one is a third
// slower than the other), and unpinned spawns go to each in turn, so that a
// round would compare one window on the fast CPU with another on the slow one.
#include "../support/median.h"

#include <QtGlobal>

#include <sched.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <string>
#include <vector>

extern char **environ;

namespace {

constexpr int Rounds = 21;

struct Variant
{
    const char *mode;
    const char *title;
    std::vector<double> ms;
    std::vector<double> peakMiB;
    std::string size;
    int painted = 0;
};

struct Start
{
    double ms = -1;
    double peakMiB = -1;
    std::string size;
    int painted = 0;
};

long long monotonicNs()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

// The probe's environment: this one with QT_QPA_PLATFORM=offscreen.
std::vector<char *> probeEnvironment()
{
    static std::vector<std::string> strings;
    strings.clear();
    for (char **e = environ; *e; ++e) {
        if (std::strncmp(*e, "QT_QPA_PLATFORM=", 16) != 0)
            strings.emplace_back(*e);
    }
    strings.emplace_back("QT_QPA_PLATFORM=offscreen");
    std::vector<char *> pointers;
    pointers.reserve(strings.size() + 1);
    for (std::string &s : strings)
        pointers.push_back(s.data());
    pointers.push_back(nullptr);
    return pointers;
}

// Runs the probe once; its standard error goes to a scratch file that is
// shown only when the run fails.
Start runOnce(const char *mode, const std::vector<char *> &environment)
{
    Start start;
    int out[2];
    if (::pipe(out) != 0)
        return start;
    std::FILE *errors = std::tmpfile();
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    posix_spawn_file_actions_addclose(&actions, out[1]);
    if (errors)
        posix_spawn_file_actions_adddup2(&actions, fileno(errors), STDERR_FILENO);

    char *const argv[] = {const_cast<char *>(PROBE_PATH), const_cast<char *>(mode), nullptr};
    pid_t pid = -1;
    const long long spawnedAt = monotonicNs();
    const int failed = posix_spawn(&pid, PROBE_PATH, &actions, nullptr, argv, environment.data());
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);

    std::string line;
    char buffer[256];
    for (ssize_t n; !failed && (n = ::read(out[0], buffer, sizeof buffer)) > 0;)
        line.append(buffer, static_cast<size_t>(n));
    ::close(out[0]);
    int status = 0;
    if (!failed)
        ::waitpid(pid, &status, 0);

    long long paintedAt = 0;
    long peakKiB = 0;
    char size[32] = {};
    const bool ok = !failed && WIFEXITED(status) && WEXITSTATUS(status) == 0
                    && std::sscanf(line.c_str(), "%lld %ld %31s %d", &paintedAt, &peakKiB, size, &start.painted) == 4;
    if (ok) {
        start.ms = static_cast<double>(paintedAt - spawnedAt) / 1e6;
        start.peakMiB = static_cast<double>(peakKiB) / 1024.0;
        start.size = size;
    } else {
        std::fprintf(stderr, "startup_probe %s failed (%s)\n", mode, failed ? std::strerror(failed) : "see below");
        if (errors) {
            std::rewind(errors);
            for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, errors)) > 0;)
                std::fwrite(buffer, 1, n, stderr);
        }
    }
    if (errors)
        std::fclose(errors);
    return start;
}

// Each round compares its own runs, so a slow spell between rounds cancels out.
double medianRatio(const std::vector<double> &over, const std::vector<double> &under)
{
    std::vector<double> ratios;
    for (size_t i = 0; i < over.size() && i < under.size(); ++i)
        ratios.push_back(over[i] / under[i]);
    return median(ratios);
}

std::string loadAverage()
{
    std::ifstream loadavg("/proc/loadavg");
    std::string one;
    loadavg >> one;
    return one.empty() ? "?" : one;
}

std::string cpuModel()
{
    std::ifstream cpuinfo("/proc/cpuinfo");
    for (std::string line; std::getline(cpuinfo, line);) {
        if (line.rfind("model name", 0) == 0)
            return line.substr(line.find(':') + 2);
    }
    return "unknown";
}

} // namespace

int main()
{
    const int cpu = sched_getcpu();
    cpu_set_t one;
    CPU_ZERO(&one);
    CPU_SET(cpu, &one);
    if (cpu < 0 || sched_setaffinity(0, sizeof one, &one) != 0) {
        std::perror("pinning to one CPU");
        return 1;
    }
    const std::vector<char *> environment = probeEnvironment();
    std::vector<Variant> variants = {
        {"empty", "bare QMainWindow", {}, {}, {}, 0},
        {"menu", "QMainWindow, menu bar and label", {}, {}, {}, 0},
        {"quillane", "Quillane main window", {}, {}, {}, 0},
    };

    const std::string loadBefore = loadAverage();
    // One round to warm the file cache, not counted.
    for (Variant &v : variants)
        runOnce(v.mode, environment);
    for (int round = 0; round < Rounds; ++round) {
        for (Variant &v : variants) {
            const Start s = runOnce(v.mode, environment);
            if (s.ms < 0)
                return 1;
            v.ms.push_back(s.ms);
            v.peakMiB.push_back(s.peakMiB);
            v.size = s.size;
            v.painted = s.painted;
        }
    }

    std::printf("machine: %ld cores, %s, Qt %s (run time; built with %s), load average %s before, %s after;\n"
                "every probe ran on CPU %d\n",
                sysconf(_SC_NPROCESSORS_ONLN), cpuModel().c_str(), qVersion(), QT_VERSION_STR, loadBefore.c_str(),
                loadAverage().c_str(), cpu);
    std::printf("spawn to first paint (all widgets painted and flushed), offscreen, median of %d interleaved rounds;\n"
                "peak RSS is the probe's VmHWM right after that paint:\n",
                Rounds);
    std::printf("  %-32s %9s %13s %8s %8s\n", "window", "time", "peak RSS", "size", "painted");
    for (const Variant &v : variants)
        std::printf("  %-32s %6.1f ms %8.1f MiB %8s %8d\n", v.title, median(v.ms), median(v.peakMiB), v.size.c_str(),
                    v.painted);
    if (variants[0].size != variants[2].size || variants[1].size != variants[2].size)
        std::printf("  note: the windows differ in size, so their paints are not alike\n");
    std::printf("ratios, median of the %d rounds' own ratios:\n", Rounds);
    std::printf("  time, Quillane / bare                %5.2fx\n", medianRatio(variants[2].ms, variants[0].ms));
    std::printf("  time, Quillane / menu and label      %5.2fx (goal <= 1.5x)\n",
                medianRatio(variants[2].ms, variants[1].ms));
    std::printf("  peak RSS, Quillane / menu and label  %5.2fx\n",
                medianRatio(variants[2].peakMiB, variants[1].peakMiB));
    return 0;
}
