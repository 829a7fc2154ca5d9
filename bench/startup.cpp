// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up of Kelsa: the time from process start to the first paint of the main window with the
// ten sample workbooks, on the offscreen platform, and the peak resident memory.
//
//   bench_startup [runs]      starts itself `runs` times (default 21) and prints the medians
//
// Each run is a fresh process started in the folder of the shipped data, so it pays for the
// dynamic loader, Qt's start-up, fonts and the workbooks exactly as a user's start does.
#include "gui/mainwindow/form1.h"

#include <QApplication>
#include <QTextStream>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <string>
#include <vector>

#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace
{

long long nowNs()
{
    timespec t {};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1000000000LL + t.tv_nsec;
}

// Notes the stages of start-up and ends the process once the window has painted.
class FirstPaint : public QObject
{
public:
    FirstPaint(long long start, QWidget *window)
        : m_start(start)
        , m_window(window)
    {
    }
    void mark(const char *stage, long long at) { m_marks.emplace_back(stage, at); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == m_window && event->type() == QEvent::Paint && !m_done) {
            m_done = true;
            mark("first paint", nowNs());
            QTimer::singleShot(0, qApp, [this] {
                for (const auto &[stage, at] : m_marks)
                    std::printf("%s=%.3f\n", stage, (at - m_start) / 1e6);
                std::fflush(stdout);
                QCoreApplication::exit(0);
            });
        }
        return false;
    }

private:
    long long m_start;
    QWidget *m_window;
    bool m_done = false;
    std::vector<std::pair<const char *, long long>> m_marks;
};

int child(int argc, char *argv[], long long start)
{
    QApplication app(argc, argv);
    kelsa::Form1Services services;
    services.showMessage = [](const QString &title, const QString &text) {
        QTextStream(stderr) << title << ": " << text << Qt::endl;
    };
    const long long applicationReady = nowNs();
    Form1 form(services);
    const long long windowBuilt = nowNs();
    FirstPaint watch(start, &form);
    watch.mark("application", applicationReady);
    watch.mark("main window built", windowBuilt);
    form.installEventFilter(&watch);
    form.show();
    return app.exec();
}

struct Run {
    std::vector<std::pair<std::string, double>> stages; // ms since the process was started
    double peakMb = 0;
};

bool runOnce(const char *self, Run &run)
{
    const std::string start = std::to_string(nowNs());
    char *args[] = { const_cast<char *>(self), const_cast<char *>("--child"),
        const_cast<char *>(start.c_str()), nullptr };
    int pipeFds[2];
    if (pipe(pipeFds) != 0)
        return false;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
    pid_t pid = 0;
    const int failed = posix_spawn(&pid, self, &actions, nullptr, args, environ);
    posix_spawn_file_actions_destroy(&actions);
    close(pipeFds[1]);
    if (failed) {
        close(pipeFds[0]);
        return false;
    }
    std::string output;
    char buffer[4096];
    for (ssize_t got; (got = read(pipeFds[0], buffer, sizeof buffer)) > 0;)
        output.append(buffer, std::size_t(got));
    close(pipeFds[0]);
    int status = 0;
    rusage usage {};
    wait4(pid, &status, 0, &usage);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return false;
    run.peakMb = usage.ru_maxrss / 1024.0;
    std::size_t from = 0;
    while (from < output.size()) {
        const std::size_t end = output.find('\n', from);
        const std::string line = output.substr(from, end - from);
        const std::size_t eq = line.find('=');
        if (eq != std::string::npos)
            run.stages.emplace_back(line.substr(0, eq), std::stod(line.substr(eq + 1)));
        from = end == std::string::npos ? output.size() : end + 1;
    }
    return !run.stages.empty();
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc == 3 && std::string(argv[1]) == "--child")
        return child(argc, argv, std::stoll(argv[2]));

    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 21;
    // This program's own file, and the data folder beside the build, where ./run starts Kelsa.
    char *resolved = realpath("/proc/self/exe", nullptr);
    if (!resolved)
        return 1;
    const std::string self = resolved;
    std::free(resolved);
    const std::string dataDir = self.substr(0, self.rfind('/')) + "/" + KELSA_DATA_FROM_BIN;
    if (chdir(dataDir.c_str()) != 0) {
        std::fprintf(stderr, "cannot enter %s\n", dataDir.c_str());
        return 1;
    }
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    // Qt wants a private runtime folder; a login session has one, a bare shell may not.
    char runtimeDir[] = "/tmp/kelsa-bench-XXXXXX";
    if (!getenv("XDG_RUNTIME_DIR") && mkdtemp(runtimeDir))
        setenv("XDG_RUNTIME_DIR", runtimeDir, 1);

    std::vector<Run> all;
    for (int k = 0; k < runs; ++k) {
        Run run;
        if (!runOnce(self.c_str(), run)) {
            std::fprintf(stderr, "run %d failed\n", k);
            return 1;
        }
        all.push_back(run);
    }
    if (std::string(runtimeDir).find('X') == std::string::npos)
        rmdir(runtimeDir);
    std::printf(
        "Kelsa start-up, %d runs, offscreen, ten sample workbooks (median; min..max):\n", runs);
    for (std::size_t s = 0; s < all.front().stages.size(); ++s) {
        std::vector<double> values;
        values.reserve(all.size());
        for (const Run &run : all)
            values.push_back(run.stages[s].second);
        std::printf("  %-18s %7.1f ms  (%.1f..%.1f)\n", all.front().stages[s].first.c_str(),
            median(values), *std::min_element(values.begin(), values.end()),
            *std::max_element(values.begin(), values.end()));
    }
    std::vector<double> peaks;
    peaks.reserve(all.size());
    for (const Run &run : all)
        peaks.push_back(run.peakMb);
    std::printf("  %-18s %7.1f MB  (%.1f..%.1f)\n", "peak resident", median(peaks),
        *std::min_element(peaks.begin(), peaks.end()),
        *std::max_element(peaks.begin(), peaks.end()));
    return 0;
}
