// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up of Kelsa against a plain Qt Widgets window, both as whole processes: the wall time
// and the peak resident memory of `kelsa --screenshot FILE.png` with the ten sample workbooks,
// and of a plain window of the same size that shows a picture of Kelsa's main window and saves
// its screenshot the same way (so both encode the same PNG).
//
//   bench_startup_vs_plain [runs] [--program KELSA]...
//
// runs each program `runs` times (default 31), taking turns; --program starts another build of
// Kelsa in place of the one beside this program, and given more than once, each build in turn,
// to compare builds against the same floor under the same load.
// Reported: wall time, processor time (user and system, the process and its children: the
// figure that other work on a shared machine disturbs least) and peak resident memory.
//
// The plain window is this program started with --plain PICTURE OUT.png. Both run on the
// offscreen platform in the folder of the staged data, as ./run --screenshot starts Kelsa.
#include <QApplication>
#include <QLabel>
#include <QPixmap>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <string>
#include <vector>

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace
{

// The baseline: a window that shows the picture and saves its grab as kelsa --screenshot does,
// shown without going on a screen.
int plainWindow(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QPixmap picture(QString::fromLocal8Bit(argv[2]));
    QLabel window;
    window.setPixmap(picture);
    window.resize(picture.size());
    window.setAttribute(Qt::WA_DontShowOnScreen);
    window.show();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::MetaCall);
    return window.grab().save(QString::fromLocal8Bit(argv[3]), "PNG") ? 0 : 1;
}

double nowMs()
{
    timespec t {};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

struct Sample {
    double ms = 0;
    double cpuMs = 0; // user and system time of the process and its children
    double peakMb = 0;
};

// Starts the program with its arguments, output to /dev/null, and waits for it.
bool runOnce(const std::vector<std::string> &command, Sample &sample)
{
    std::vector<char *> args;
    args.reserve(command.size() + 1);
    for (const std::string &arg : command)
        args.push_back(const_cast<char *>(arg.c_str()));
    args.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    const double start = nowMs();
    pid_t pid = 0;
    const int failed = posix_spawn(&pid, args[0], &actions, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (failed)
        return false;
    int status = 0;
    rusage usage {};
    wait4(pid, &status, 0, &usage);
    sample.ms = nowMs() - start;
    sample.cpuMs = (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3
        + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
    sample.peakMb = usage.ru_maxrss / 1024.0;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

struct Medians {
    double ms = 0;
    double cpuMs = 0;
    double mb = 0;
};

Medians report(const char *name, const std::vector<Sample> &samples)
{
    std::vector<double> times, cpu, peaks;
    for (const Sample &sample : samples) {
        times.push_back(sample.ms);
        cpu.push_back(sample.cpuMs);
        peaks.push_back(sample.peakMb);
    }
    const Medians medians { median(times), median(cpu), median(peaks) };
    std::printf("  %-30s %7.1f ms (%5.1f..%5.1f) %7.1f ms %5.1f MB\n", name, medians.ms,
        *std::min_element(times.begin(), times.end()),
        *std::max_element(times.begin(), times.end()), medians.cpuMs, medians.mb);
    return medians;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc == 4 && std::string(argv[1]) == "--plain")
        return plainWindow(argc, argv);

    int runs = 31;
    std::vector<std::string> programs; // the kelsa builds to start, in turn
    for (int k = 1; k < argc; ++k) {
        if (std::string(argv[k]) == "--program" && k + 1 < argc)
            programs.emplace_back(argv[++k]);
        else
            runs = std::max(1, std::atoi(argv[k]));
    }
    char *resolved = realpath("/proc/self/exe", nullptr);
    if (!resolved)
        return 1;
    const std::string self = resolved;
    std::free(resolved);
    const std::string bin = self.substr(0, self.rfind('/'));
    if (programs.empty())
        programs.push_back(bin + "/kelsa");
    const std::string dataDir = bin + "/" + KELSA_DATA_FROM_BIN;
    if (chdir(dataDir.c_str()) != 0) {
        std::fprintf(stderr, "cannot enter %s\n", dataDir.c_str());
        return 1;
    }
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    char scratch[] = "/tmp/kelsa-bench-XXXXXX";
    if (!mkdtemp(scratch))
        return 1;
    if (!getenv("XDG_RUNTIME_DIR"))
        setenv("XDG_RUNTIME_DIR", scratch, 1);
    const std::string kelsaShot = std::string(scratch) + "/kelsa.png";
    const std::string plainShot = std::string(scratch) + "/plain.png";
    // The plain window shows the picture the first build takes in the warming round: the same
    // size and content as Kelsa's window as it is now.
    const std::string picture = std::string(scratch) + "/picture.png";

    // Each round starts every build once and the plain window once, so that all meet the same
    // load of the machine.
    std::vector<std::vector<Sample>> kelsaRuns(programs.size());
    std::vector<Sample> plainRuns;
    for (int k = 0; k < runs + 1; ++k) {
        for (std::size_t p = 0; p < programs.size(); ++p) {
            Sample sample;
            if (!runOnce({ programs[p], "--screenshot", kelsaShot }, sample)) {
                std::fprintf(stderr, "run %d of %s failed\n", k, programs[p].c_str());
                return 1;
            }
            if (k > 0) // the first round warms the disk cache
                kelsaRuns[p].push_back(sample);
            else if (p == 0 && rename(kelsaShot.c_str(), picture.c_str()) != 0) {
                std::fprintf(stderr, "cannot keep the picture of %s\n", programs[p].c_str());
                return 1;
            }
        }
        Sample sample;
        if (!runOnce({ self, "--plain", picture, plainShot }, sample)) {
            std::fprintf(stderr, "run %d of the plain window failed\n", k);
            return 1;
        }
        if (k > 0)
            plainRuns.push_back(sample);
    }
    unlink(kelsaShot.c_str());
    unlink(plainShot.c_str());
    unlink(picture.c_str());
    rmdir(scratch);

    std::printf("Start-up to a saved screenshot, %d runs each, offscreen (medians):\n", runs);
    std::printf("  %-30s %7s %-16s %9s %8s\n", "", "wall", " (min..max)", "processor", "peak");
    const Medians plain = report("plain window with its picture", plainRuns);
    for (std::size_t p = 0; p < programs.size(); ++p) {
        const std::string name = programs.size() == 1 ? "kelsa --screenshot" : programs[p];
        const Medians ours = report(name.c_str(), kelsaRuns[p]);
        std::printf("  ratio: wall time %.2f, processor time %.2f, peak memory %.2f\n",
            ours.ms / plain.ms, ours.cpuMs / plain.cpuMs, ours.mb / plain.mb);
    }
    return 0;
}
