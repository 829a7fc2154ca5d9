// SPDX-License-Identifier: GPL-3.0-or-later
// kelsa --batch against its floor, as whole processes: writes the generated schedule (100,000
// supports unless told) and runs, taking turns, `kelsa --batch IN OUT --decimal ,` and
// bench_batch_floor on it (and another build of Kelsa, to compare before and after). Reported
// for each: the median wall time from the spawn to the exit with its range, the median
// processor time of the process (all threads, user and system) and the peak resident memory;
// then Kelsa's times over the floor's. The outputs of the two builds are compared byte for byte.
//
//   build/bin/bench_batch_vs_floor [--runs N] [--rows N] [--before KELSA] [--tables DIR]
//                                  [--keep DIR]
//
// --runs    turns of each program (default 21)
// --rows    supports in the schedule (default 100000)
// --before  another build of kelsa, run in the same turns
// --tables  the tables folder Kelsa checks the support types with (its catalogue); by default
//           an empty one, so that no type is checked
// --keep    writes the schedule and the outputs into DIR and leaves them there
#include "generatedschedule.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <vector>

extern char **environ;

namespace
{

struct Run {
    double wallMs = 0;
    double cpuMs = 0;
    double peakMegabytes = 0;
};

struct Program {
    QString label;
    QString path;
    QStringList arguments;
    QString output;
    std::vector<Run> runs;
};

// Runs the program with its error stream into /dev/null; nothing when it failed.
std::optional<Run> runProgram(const QString &program, const QStringList &arguments)
{
    QList<QByteArray> texts { QFile::encodeName(program) };
    for (const QString &argument : arguments)
        texts << QFile::encodeName(argument);
    std::vector<char *> argv;
    for (QByteArray &text : texts)
        argv.push_back(text.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    QElapsedTimer timer;
    timer.start();
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        return std::nullopt;
    int status = 0;
    rusage usage {};
    if (wait4(pid, &status, 0, &usage) != pid)
        return std::nullopt;
    Run run;
    run.wallMs = timer.nsecsElapsed() / 1e6;
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return std::nullopt;
    const auto ms = [](const timeval &t) { return t.tv_sec * 1e3 + t.tv_usec / 1e3; };
    run.cpuMs = ms(usage.ru_utime) + ms(usage.ru_stime);
    run.peakMegabytes = usage.ru_maxrss / 1024.0; // kB on Linux
    return run;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n == 0 ? 0 : n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

std::vector<double> field(const std::vector<Run> &runs, double Run::*member)
{
    std::vector<double> values;
    for (const Run &run : runs)
        values.push_back(run.*member);
    return values;
}

// The offset of the first byte where the two files differ; -1 when they are the same.
qint64 firstDifference(const QString &a, const QString &b)
{
    QFile first(a), second(b);
    if (!first.open(QIODevice::ReadOnly) || !second.open(QIODevice::ReadOnly))
        return 0;
    for (qint64 offset = 0;;) {
        const QByteArray x = first.read(1 << 20), y = second.read(1 << 20);
        if (x != y) {
            qint64 k = 0;
            while (k < std::min(x.size(), y.size()) && x[k] == y[k])
                ++k;
            return offset + k;
        }
        if (x.isEmpty())
            return -1;
        offset += x.size();
    }
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    const auto option = [&](const char *name, const QString &otherwise) {
        const qsizetype at = args.indexOf(QString::fromLatin1(name));
        if (at < 0)
            return otherwise;
        if (at + 1 >= args.size()) {
            std::fputs("usage: bench_batch_vs_floor [--runs N] [--rows N] [--before KELSA] "
                       "[--tables DIR] [--keep DIR]\n",
                stderr);
            std::exit(2);
        }
        return args[at + 1];
    };
    const int runs = option("--runs", QStringLiteral("21")).toInt();
    const qint64 rows = option("--rows", QStringLiteral("100000")).toLongLong();
    const QString before = option("--before", QString());
    QTemporaryDir temporary;
    const QString folder = option("--keep", temporary.path());
    QDir().mkpath(folder);
    QString tables = option("--tables", QString());
    if (tables.isEmpty()) {
        tables = QDir(folder).filePath(QStringLiteral("no-catalogue"));
        QDir().mkpath(tables);
    }

    const QString input = QDir(folder).filePath(QStringLiteral("schedule-%1.csv").arg(rows));
    if (!writeSchedule(input, rows)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(input));
        return 1;
    }
    const QDir bin(QCoreApplication::applicationDirPath());
    const auto kelsaRun = [&](const QString &label, const QString &path) {
        const QString output = QDir(folder).filePath(QStringLiteral("out-%1.csv").arg(label));
        return Program { label, path,
            { QStringLiteral("--batch"), input, output, QStringLiteral("--decimal"),
                QStringLiteral(","), QStringLiteral("--tables"), tables },
            output, {} };
    };
    std::vector<Program> programs;
    const QString floorOutput = QDir(folder).filePath(QStringLiteral("out-floor.csv"));
    programs.push_back({ QStringLiteral("floor"), bin.filePath(QStringLiteral("bench_batch_floor")),
        { input, floorOutput }, floorOutput, {} });
    programs.push_back(kelsaRun(QStringLiteral("kelsa"), bin.filePath(QStringLiteral("kelsa"))));
    if (!before.isEmpty())
        programs.push_back(kelsaRun(QStringLiteral("before"), before));

    for (int turn = 0; turn < runs; ++turn) {
        // Each turn starts with another program, so that none always follows the same one.
        for (std::size_t k = 0; k < programs.size(); ++k) {
            Program &program = programs[(std::size_t(turn) + k) % programs.size()];
            const auto run = runProgram(program.path, program.arguments);
            if (!run) {
                std::fprintf(stderr, "%s failed\n", qPrintable(program.path));
                return 1;
            }
            program.runs.push_back(*run);
        }
    }

    std::printf("%lld supports, %d runs each, tables folder %s\n", static_cast<long long>(rows),
        runs, qPrintable(tables));
    std::printf("%-8s %10s %21s %10s %12s %11s\n", "program", "wall ms", "range", "CPU ms",
        "peak RSS MB", "output MB");
    for (const Program &program : programs) {
        const auto wall = field(program.runs, &Run::wallMs);
        std::printf("%-8s %10.1f %10.1f – %8.1f %10.1f %12.1f %11.1f\n", qPrintable(program.label),
            median(wall), *std::min_element(wall.begin(), wall.end()),
            *std::max_element(wall.begin(), wall.end()), median(field(program.runs, &Run::cpuMs)),
            median(field(program.runs, &Run::peakMegabytes)),
            QFileInfo(program.output).size() / 1e6);
    }
    const double floorWall = median(field(programs[0].runs, &Run::wallMs));
    const double floorCpu = median(field(programs[0].runs, &Run::cpuMs));
    for (std::size_t k = 1; k < programs.size(); ++k)
        std::printf("%s / floor: wall %.2f×, CPU %.2f×\n", qPrintable(programs[k].label),
            median(field(programs[k].runs, &Run::wallMs)) / floorWall,
            median(field(programs[k].runs, &Run::cpuMs)) / floorCpu);
    if (programs.size() > 2) {
        const qint64 at = firstDifference(programs[1].output, programs[2].output);
        if (at < 0)
            std::printf("outputs of kelsa and before: identical\n");
        else
            std::printf(
                "outputs of kelsa and before: DIFFER at byte %lld\n", static_cast<long long>(at));
    }
    return 0;
}
