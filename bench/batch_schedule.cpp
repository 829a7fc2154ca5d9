// SPDX-License-Identifier: GPL-3.0-or-later
// Times kelsa --batch's engine over generated schedules: 10,000 and then 100,000 supports
// (or the counts given), each written as a ';'-separated table with decimal commas into a
// temporary folder, read, computed and written back as the program does it. Prints the wall
// time of each run and the peak resident memory after it: a figure that stays put from the
// small schedule to the large one shows that memory does not grow with the row count.
//
//   build/bin/bench_batch_schedule [ROWS...] [--keep DIR] [--threads N]
//
// --keep     writes the schedules into DIR and leaves them there (for timing other programs on
//            the same rows); by default a temporary folder that is removed afterwards.
// --threads  computes with N threads instead of one per processor thread.
#include "generatedschedule.h"

#include "core/batch/batchfiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <sys/resource.h>

#include <cstdio>

namespace
{

double peakMegabytes()
{
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024.0; // kB on Linux
}

// Processor time of this process so far, user and system, in ms: on a busy machine the wall
// time also counts the other programs' turns.
double cpuMilliseconds()
{
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    const auto ms = [](const timeval &t) { return t.tv_sec * 1e3 + t.tv_usec / 1e3; };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    QString folder;
    if (const qsizetype keep = args.indexOf(QStringLiteral("--keep")); keep >= 0) {
        if (keep + 1 >= args.size()) {
            std::fputs(
                "usage: bench_batch_schedule [ROWS...] [--keep DIR] [--threads N]\n", stderr);
            return 2;
        }
        folder = args[keep + 1];
        args.remove(keep, 2);
        QDir().mkpath(folder);
    }
    int threads = 0;
    if (const qsizetype option = args.indexOf(QStringLiteral("--threads")); option >= 0) {
        threads = args.value(option + 1).toInt();
        args.remove(option, std::min<qsizetype>(2, args.size() - option));
    }
    QTemporaryDir temporary;
    if (folder.isEmpty())
        folder = temporary.path();
    QList<qint64> counts;
    for (const QString &arg : args)
        counts << arg.toLongLong();
    if (counts.isEmpty())
        counts = { 10000, 100000 };

    std::printf("%10s %10s %10s %10s %11s %12s\n", "rows", "wall ms", "CPU ms", "µs/row",
        "output MB", "peak RSS MB");
    for (const qint64 rows : counts) {
        const QString input = QDir(folder).filePath(QStringLiteral("schedule-%1.csv").arg(rows));
        const QString output = QDir(folder).filePath(QStringLiteral("moments-%1.csv").arg(rows));
        if (!writeSchedule(input, rows)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(input));
            return 1;
        }
        kelsa::BatchSettings settings { kelsa::localeForDecimal(QLatin1Char(',')), {}, threads };
        QElapsedTimer timer;
        const double cpuBefore = cpuMilliseconds();
        timer.start();
        kelsa::BatchSummary summary;
        const QString problem = kelsa::runBatchFiles(input, output, settings, &summary);
        const double ms = timer.nsecsElapsed() / 1e6;
        const double cpu = cpuMilliseconds() - cpuBefore;
        if (!problem.isEmpty()) {
            std::fprintf(stderr, "%s\n", qPrintable(problem));
            return 1;
        }
        std::printf("%10lld %10.1f %10.1f %10.2f %11.1f %12.1f\n", static_cast<long long>(rows), ms,
            cpu, 1000 * ms / double(rows), QFileInfo(output).size() / 1e6, peakMegabytes());
        if (summary.rowsWithErrors != 0)
            std::printf("           (%lld rows with a moment without value)\n",
                static_cast<long long>(summary.rowsWithErrors));
    }
    return 0;
}
