// SPDX-License-Identifier: GPL-3.0-or-later
// The peak memory of kelsa --batch on schedules of hostile shapes: wide headers, wide rows and
// long rows, each written into a temporary folder and run by the built program as a process of
// its own, whose peak resident set is taken from the kernel when it ends. The first two are the
// files that once took 2.4 GB and 1.4 GB; the others are the largest the reader accepts.
//
//   build/bin/bench_batch_memory [--keep DIR] [--program KELSA]
//
// --keep     writes the schedules into DIR and leaves them there; by default a temporary
//            folder that is removed afterwards.
// --program  runs KELSA (another build, to compare) instead of the kelsa built beside this.
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

#include <cstdio>
#include <cstdlib>
#include <functional>

extern char **environ;

namespace
{

struct Schedule {
    const char *name;
    const char *shape;
    std::function<void(QFile &)> write;
};

void repeat(QFile &file, const QByteArray &line, int times)
{
    for (int k = 0; k < times; ++k)
        file.write(line);
}

const Schedule kSchedules[] = {
    { "wide-header.csv", "a header of 100,000 cells, 1,000 rows of \"50\" (100 KB)",
        [](QFile &file) {
            file.write("Prolet" + QByteArray(99999, ';') + "\n");
            repeat(file, "50\n", 1000);
        } },
    { "wide-rows.csv", "60 rows of 1,000,000 ';' (60 MB)",
        [](QFile &file) { repeat(file, QByteArray(1000000, ';') + "\n", 60); } },
    { "widest-header.csv", "a header of 10,000 cells, 10,000 rows of \"50\" (30 KB)",
        [](QFile &file) {
            file.write("Prolet" + QByteArray(9999, ';') + "\n");
            repeat(file, "50\n", 10000);
        } },
    { "widest-rows.csv", "\"Prolet\", then 5,000 rows of 10,000 cells (50 MB)",
        [](QFile &file) {
            file.write("Prolet\n");
            repeat(file, QByteArray(9999, ',') + "\n", 5000);
        } },
    { "longest-rows.csv", "\"Prolet\", then 60 rows of a 1,000,000-byte cell (60 MB)",
        [](QFile &file) {
            file.write("Prolet\n");
            repeat(file, QByteArray(1000000, ';') + "\n", 60);
        } },
    { "longest-records.csv", "\"support;Prolet\", then 200 records of 1 MiB (200 MB)",
        [](QFile &file) {
            file.write("support;Prolet\n");
            repeat(file, QByteArray(1024 * 1024 - 3, 'x') + ";50\n", 200);
        } },
};

struct Outcome {
    int exitCode = -1;
    double peakMegabytes = 0;
    double seconds = 0;
    QString message; // the last line of the error stream
};

// Runs `program` with `arguments`, its error stream into `errorFile`.
Outcome runProgram(const QString &program, const QStringList &arguments, const QString &errorFile)
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
    posix_spawn_file_actions_addopen(
        &actions, 2, QFile::encodeName(errorFile).constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    Outcome outcome;
    QElapsedTimer timer;
    timer.start();
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        return outcome;
    int status = 0;
    rusage usage {};
    if (wait4(pid, &status, 0, &usage) != pid)
        return outcome;
    outcome.seconds = timer.nsecsElapsed() / 1e9;
    outcome.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status);
    outcome.peakMegabytes = usage.ru_maxrss / 1024.0; // kB on Linux
    QFile err(errorFile);
    if (err.open(QIODevice::ReadOnly))
        outcome.message = QString::fromUtf8(err.readAll()).trimmed().section(QLatin1Char('\n'), -1);
    return outcome;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    const auto option = [&](const char *name) {
        const qsizetype at = args.indexOf(QString::fromLatin1(name));
        if (at < 0)
            return QString();
        if (at + 1 >= args.size()) {
            std::fputs("usage: bench_batch_memory [--keep DIR] [--program KELSA]\n", stderr);
            std::exit(2);
        }
        return args[at + 1];
    };
    QString folder = option("--keep");
    if (!folder.isEmpty())
        QDir().mkpath(folder);
    QTemporaryDir temporary;
    if (folder.isEmpty())
        folder = temporary.path();
    QString kelsa = option("--program");
    if (kelsa.isEmpty())
        kelsa = QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("kelsa"));
    if (!QFileInfo(kelsa).isExecutable()) {
        std::fprintf(stderr, "no program at %s: build it first\n", qPrintable(kelsa));
        return 1;
    }

    std::printf("%-20s %6s %12s %8s  %s\n", "schedule", "exit", "peak RSS MB", "s", "shape");
    for (const Schedule &schedule : kSchedules) {
        const QString input = QDir(folder).filePath(QString::fromLatin1(schedule.name));
        QFile file(input);
        if (!file.open(QIODevice::WriteOnly)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(input));
            return 1;
        }
        schedule.write(file);
        file.close();
        const Outcome outcome = runProgram(kelsa,
            { QStringLiteral("--batch"), input, QDir(folder).filePath(QStringLiteral("out.csv")) },
            QDir(folder).filePath(QStringLiteral("err.txt")));
        std::printf("%-20s %6d %12.1f %8.2f  %s\n", schedule.name, outcome.exitCode,
            outcome.peakMegabytes, outcome.seconds, schedule.shape);
        std::printf("%-20s %6s %12s %8s  %s\n", "", "", "", "", qPrintable(outcome.message));
        if (temporary.isValid() && folder == temporary.path())
            QFile::remove(input);
    }
    return 0;
}
