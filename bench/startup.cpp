// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up of Kelsa: the time from process start to the first paint of the main window with the
// ten sample workbooks, on the offscreen platform, and the peak resident memory.
//
//   bench_startup [runs]      starts itself `runs` times (default 21) per case, the cases in
//                             turn, and prints the medians
//
// Each run is a fresh process started in a folder of the ten workbooks, so it pays for the
// dynamic loader, Qt's start-up, fonts and the workbooks exactly as a user's start does. The
// cases, each meeting the same load of the machine:
//   .xls             the shipped sample workbooks
//   .xlsx, .ods      the same ten saved by LibreOffice (soffice --convert-to, into a temporary
//                    folder; skipped without soffice): whether their slower reading shows
//   status bar ...   the .xls with a status bar under the form and Qt's Russian translations
//                    loaded before the window is built, as a window with both would start
#include "gui/mainwindow/form1.h"

#include <QApplication>
#include <QDir>
#include <QLayout>
#include <QLibraryInfo>
#include <QProcess>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>
#include <QTranslator>

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

int child(int argc, char *argv[], long long start, bool statusBarAndTranslator)
{
    QApplication app(argc, argv);
    QTranslator translator;
    if (statusBarAndTranslator) {
        if (!translator.load(QLocale(QLocale::Russian, QLocale::Russia), QStringLiteral("qtbase"),
                QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
            std::fprintf(stderr, "no qtbase_ru translations (qt6-translations-l10n)\n");
            return 1;
        }
        QCoreApplication::installTranslator(&translator);
    }
    kelsa::Form1Services services;
    services.showMessage = [](const QString &title, const QString &text) {
        QTextStream(stderr) << title << ": " << text << Qt::endl;
    };
    const long long applicationReady = nowNs();
    Form1 form(services);
    if (statusBarAndTranslator) {
        auto *bar = new QStatusBar(&form);
        bar->showMessage(QStringLiteral("Таблицы прочитаны"));
        form.layout()->addWidget(bar);
        form.resize(form.width(), form.height() + bar->sizeHint().height());
    }
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

struct Case {
    std::string name;
    std::string folder; // where the process starts: the ten workbooks
    bool statusBarAndTranslator = false;
    std::vector<Run> runs;
};

bool runOnce(const char *self, const Case &which, Run &run)
{
    const std::string start = std::to_string(nowNs());
    std::vector<char *> args { const_cast<char *>(self), const_cast<char *>("--child"),
        const_cast<char *>(start.c_str()) };
    if (which.statusBarAndTranslator)
        args.push_back(const_cast<char *>("--status-bar-and-translator"));
    args.push_back(nullptr);
    int pipeFds[2];
    if (pipe(pipeFds) != 0)
        return false;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
    posix_spawn_file_actions_addchdir_np(&actions, which.folder.c_str());
    pid_t pid = 0;
    const int failed = posix_spawn(&pid, self, &actions, nullptr, args.data(), environ);
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

// The ten workbooks of `data` saved by LibreOffice as `kind` ("xlsx", "ods") into `folder`.
bool convertWorkbooks(const QDir &data, const QString &kind, const QString &folder)
{
    QDir().mkpath(folder);
    QStringList sources;
    for (const QString &name : data.entryList({ QStringLiteral("*.xls") }, QDir::Files))
        sources.append(data.filePath(name));
    QProcess soffice;
    soffice.start(QStringLiteral("soffice"),
        QStringList {
            QStringLiteral("-env:UserInstallation=file://") + folder + QStringLiteral("/profile"),
            QStringLiteral("--headless"), QStringLiteral("--convert-to"), kind,
            QStringLiteral("--outdir"), folder }
            + sources);
    const bool converted = soffice.waitForFinished(300000) && soffice.exitStatus() == 0
        && soffice.exitCode() == 0
        && QDir(folder).entryList({ QStringLiteral("*.") + kind }).size() == sources.size();
    QDir(folder + QStringLiteral("/profile")).removeRecursively();
    if (!converted)
        std::fprintf(stderr, "no .%s copies (needs soffice)\n", qPrintable(kind));
    return converted;
}

void report(const Case &which)
{
    std::printf("  %s:\n", which.name.c_str());
    for (std::size_t s = 0; s < which.runs.front().stages.size(); ++s) {
        std::vector<double> values;
        values.reserve(which.runs.size());
        for (const Run &run : which.runs)
            values.push_back(run.stages[s].second);
        std::printf("    %-18s %7.1f ms  (%.1f..%.1f)\n",
            which.runs.front().stages[s].first.c_str(), median(values),
            *std::min_element(values.begin(), values.end()),
            *std::max_element(values.begin(), values.end()));
    }
    // The window's own construction, without the variation of the start before it.
    std::vector<double> building;
    for (const Run &run : which.runs)
        building.push_back(run.stages[1].second - run.stages[0].second);
    std::printf("    %-18s %7.1f ms  (%.1f..%.1f)\n", "window building", median(building),
        *std::min_element(building.begin(), building.end()),
        *std::max_element(building.begin(), building.end()));
    std::vector<double> peaks;
    peaks.reserve(which.runs.size());
    for (const Run &run : which.runs)
        peaks.push_back(run.peakMb);
    std::printf("    %-18s %7.1f MB  (%.1f..%.1f)\n", "peak resident", median(peaks),
        *std::min_element(peaks.begin(), peaks.end()),
        *std::max_element(peaks.begin(), peaks.end()));
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc >= 3 && std::string(argv[1]) == "--child")
        return child(argc, argv, std::stoll(argv[2]),
            argc > 3 && std::string(argv[3]) == "--status-bar-and-translator");

    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 21;
    // This program's own file, and the data folder beside the build, where ./run starts Kelsa.
    char *resolved = realpath("/proc/self/exe", nullptr);
    if (!resolved)
        return 1;
    const std::string self = resolved;
    std::free(resolved);
    const std::string dataDir = self.substr(0, self.rfind('/')) + "/" + KELSA_DATA_FROM_BIN;
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    // Qt wants a private runtime folder; a login session has one, a bare shell may not.
    char runtimeDir[] = "/tmp/kelsa-bench-XXXXXX";
    if (!getenv("XDG_RUNTIME_DIR") && mkdtemp(runtimeDir))
        setenv("XDG_RUNTIME_DIR", runtimeDir, 1);

    QCoreApplication app(argc, argv);
    std::vector<Case> cases { { "ten .xls", dataDir, false, {} } };
    QTemporaryDir copies;
    for (const char *kind : { "xlsx", "ods" }) {
        const QString folder = copies.filePath(QString::fromLatin1(kind));
        if (copies.isValid()
            && convertWorkbooks(
                QDir(QString::fromStdString(dataDir)), QString::fromLatin1(kind), folder))
            cases.push_back({ std::string("ten .") + kind, folder.toStdString(), false, {} });
    }
    cases.push_back({ "ten .xls, a status bar and Qt's Russian translations", dataDir, true, {} });

    for (int k = 0; k < runs; ++k) {
        for (Case &which : cases) {
            Run run;
            if (!runOnce(self.c_str(), which, run)) {
                std::fprintf(stderr, "run %d of %s failed\n", k, which.name.c_str());
                return 1;
            }
            which.runs.push_back(run);
        }
    }
    if (std::string(runtimeDir).find('X') == std::string::npos)
        rmdir(runtimeDir);
    std::printf("Kelsa start-up, %d runs per case, offscreen (median; min..max):\n", runs);
    for (const Case &which : cases)
        report(which);
    return 0;
}
