// SPDX-License-Identifier: GPL-3.0-or-later
// Times the reference-table reader: the ten sample workbooks as the main window opens them at
// start-up (one readSheets() call), the same as ten readSheet() calls, the ten saved as .xlsx
// and as .ods, ten damaged .xlsx, and one workbook of 10,000 records.
//
//   build/bin/bench_workbook_load [--data DIR] [--rows N] [--runs N] [--ballast MB]
//
// --data     folder of the ten workbooks (default: data/ of the source tree)
// --rows     records of the large workbook (default 10000)
// --runs     runs of the ten-workbook load (default 101); the large one runs a fifth as often
// --ballast  memory to hold while timing, in MB (default 0). The reader starts the program
//            kelsa-sheet-reader, whose start does not grow with the memory this process holds
//            (a fork of it would): a ballast of about 100 MB stands for the main window with
//            its fonts and pictures.
//
// The .xlsx and .ods copies are made at run time by LibreOffice (soffice --convert-to) in a
// temporary folder; without soffice that part is skipped. The damaged .xlsx are the fixtures
// of tests/fixtures (a zip bomb, a billion laughs, a truncated archive, a 200 MB sheet) under
// the ten tables' names. The large workbook is written into a temporary folder by
// tools/make_test_workbooks.py, run with /usr/bin/python3 (Debian's Python, which has
// python3-xlwt); without it that part is skipped. Figures are medians of the runs, in
// milliseconds of wall time.
#include "core/tables/tablecatalogue.h"
#include "core/tables/workbookreader.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

#include <sys/resource.h>

namespace
{

struct Timing {
    double median;
    double fastest;
    double slowest;
};

Timing timeRuns(int runs, const std::function<void()> &work)
{
    std::vector<double> ms;
    QElapsedTimer timer;
    for (int run = 0; run < runs; ++run) {
        timer.start();
        work();
        ms.push_back(timer.nsecsElapsed() / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    return { ms[ms.size() / 2], ms.front(), ms.back() };
}

// User and system time of the children this process has waited for, in milliseconds.
double childProcessorMs()
{
    rusage usage {};
    getrusage(RUSAGE_CHILDREN, &usage);
    return (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3
        + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
}

void print(const char *what, const Timing &timing, int runs)
{
    std::printf("%-34s median %8.3f ms  (fastest %.3f, slowest %.3f, %d runs)\n", what,
        timing.median, timing.fastest, timing.slowest, runs);
}

// The requests with each file's extension ".xls" replaced by `extension`, in `folder`.
QList<kelsa::SheetRequest> renamed(
    QList<kelsa::SheetRequest> requests, const QDir &folder, const QString &extension)
{
    for (kelsa::SheetRequest &request : requests) {
        QString name = QFileInfo(request.filePath).completeBaseName();
        request.filePath = folder.filePath(name + extension);
    }
    return requests;
}

// Whether every request reads Ok; complains about the first that does not.
bool allRead(const QList<kelsa::SheetRequest> &requests, const QLocale &locale)
{
    const auto results = kelsa::readSheets(requests, locale);
    for (qsizetype i = 0; i < results.size(); ++i) {
        if (results[i].status != kelsa::SheetReadResult::Status::Ok) {
            std::fprintf(stderr, "%s: not read (status %d)\n", qPrintable(requests[i].filePath),
                int(results[i].status));
            return false;
        }
    }
    return true;
}

// The ten workbooks as .xls, .xlsx and .ods alternately, so that all three meet the same load
// of the machine; then ten damaged .xlsx.
bool compareFormats(const QList<kelsa::SheetRequest> &requests, const QDir &sourceRoot, int runs,
    const QLocale &locale)
{
    QTemporaryDir folder;
    QStringList sources;
    for (const kelsa::SheetRequest &request : requests)
        sources.append(request.filePath);
    const QString profile = QStringLiteral("-env:UserInstallation=file://")
        + folder.filePath(QStringLiteral("profile"));
    for (const QString &kind : { QStringLiteral("xlsx"), QStringLiteral("ods") }) {
        QProcess soffice;
        soffice.start(QStringLiteral("soffice"),
            QStringList { profile, QStringLiteral("--headless"), QStringLiteral("--convert-to"),
                kind, QStringLiteral("--outdir"), folder.path() }
                + sources);
        if (!soffice.waitForFinished(300000) || soffice.exitCode() != 0) {
            std::fprintf(stderr, "no .%s copies (needs soffice): %s\n", qPrintable(kind),
                soffice.readAllStandardError().constData());
            return false;
        }
    }
    const auto xlsx = renamed(requests, folder.path(), QStringLiteral(".xlsx"));
    const auto ods = renamed(requests, folder.path(), QStringLiteral(".ods"));
    if (!allRead(xlsx, locale) || !allRead(ods, locale))
        return false;
    std::vector<double> ms[3];
    std::vector<double> childMs[3]; // processor time of the child that parsed them
    QElapsedTimer timer;
    for (int run = 0; run < runs; ++run) {
        for (int kind = 0; kind < 3; ++kind) {
            const double childBefore = childProcessorMs();
            timer.start();
            kelsa::readSheets(kind == 0 ? requests : kind == 1 ? xlsx : ods, locale);
            ms[kind].push_back(timer.nsecsElapsed() / 1e6);
            childMs[kind].push_back(childProcessorMs() - childBefore);
        }
    }
    const char *names[]
        = { "ten .xls, alternating", "ten .xlsx, alternating", "ten .ods, alternating" };
    for (int kind = 0; kind < 3; ++kind) {
        std::sort(ms[kind].begin(), ms[kind].end());
        print(names[kind], { ms[kind][ms[kind].size() / 2], ms[kind].front(), ms[kind].back() },
            runs);
    }
    std::printf("%-34s %.2f (.ods %.2f)\n", ".xlsx / .xls, medians",
        ms[1][ms[1].size() / 2] / ms[0][ms[0].size() / 2],
        ms[2][ms[2].size() / 2] / ms[0][ms[0].size() / 2]);
    // The child's processor time, which other work on the machine disturbs less than the wall
    // time: what the parsing costs.
    for (auto &times : childMs)
        std::sort(times.begin(), times.end());
    const auto middle = [](const std::vector<double> &times) { return times[times.size() / 2]; };
    std::printf("%-34s .xls %.2f ms, .xlsx %.2f ms, .ods %.2f ms; .xlsx / .xls %.2f\n",
        "child's processor time, medians", middle(childMs[0]), middle(childMs[1]),
        middle(childMs[2]), middle(childMs[1]) / middle(childMs[0]));

    const QStringList damaged { QStringLiteral("zip-бомба.xlsx"),
        QStringLiteral("миллиард смехов.xlsx"), QStringLiteral("обрезанный архив.xlsx"),
        QStringLiteral("лист в 200 МБ.xlsx") };
    const QDir broken(folder.filePath(QStringLiteral("damaged")));
    broken.mkpath(QStringLiteral("."));
    const auto damagedRequests = renamed(requests, broken, QStringLiteral(".xlsx"));
    for (qsizetype i = 0; i < damagedRequests.size(); ++i)
        QFile::copy(
            sourceRoot.filePath(QStringLiteral("tests/fixtures/") + damaged[i % damaged.size()]),
            damagedRequests[i].filePath);
    print("ten damaged .xlsx, one call",
        timeRuns(runs, [&] { kelsa::readSheets(damagedRequests, locale); }), runs);
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    // The source tree as CMake names it: __FILE__ may be a path relative to a build folder.
    const QDir sourceRoot(QStringLiteral(KELSA_SOURCE_DIR));

    QCommandLineParser parser;
    parser.addHelpOption();
    parser.addOption(
        { "data", "Folder of the ten workbooks.", "dir", sourceRoot.filePath("data") });
    parser.addOption({ "rows", "Records of the large workbook.", "n", "10000" });
    parser.addOption({ "runs", "Runs of the ten-workbook load.", "n", "101" });
    parser.addOption({ "ballast", "Memory held while timing, MB.", "mb", "0" });
    parser.process(app);
    // Touched page by page, so that it is mapped as a running program's memory is.
    const std::vector<char> ballast(
        std::size_t(std::max(0, parser.value("ballast").toInt())) << 20, 1);
    const QDir data(parser.value("data"));
    const int rows = std::max(1, parser.value("rows").toInt());
    const int runs = std::max(1, parser.value("runs").toInt());
    const QLocale russian(QLocale::Russian, QLocale::Russia);

    QList<kelsa::SheetRequest> requests;
    const auto tables = kelsa::referenceTables();
    for (const kelsa::ReferenceTable &table : tables)
        requests.append({ data.filePath(QString::fromUtf8(table.fileName)),
            kelsa::referenceSheetName(), table.requiredColumns() });
    // Every workbook must load, or the figure means nothing.
    const auto results = kelsa::readSheets(requests, russian);
    for (qsizetype i = 0; i < results.size(); ++i) {
        if (results[i].status != kelsa::SheetReadResult::Status::Ok) {
            std::fprintf(stderr, "%s: not read (status %d)\n", tables[std::size_t(i)].fileName,
                int(results[i].status));
            return 1;
        }
    }
    print("ten sample workbooks, one call",
        timeRuns(runs, [&] { kelsa::readSheets(requests, russian); }), runs);
    print("ten sample workbooks, ten calls",
        timeRuns(runs,
            [&] {
                for (const kelsa::SheetRequest &request : requests)
                    kelsa::readSheet(
                        request.filePath, request.sheetName, request.requiredColumns, russian);
            }),
        runs);

    compareFormats(requests, sourceRoot, runs, russian);

    QTemporaryDir folder;
    QProcess python;
    python.start(QStringLiteral("/usr/bin/python3"),
        { sourceRoot.filePath("tools/make_test_workbooks.py"), QStringLiteral("--rows"),
            QString::number(rows), folder.path() });
    if (!folder.isValid() || !python.waitForFinished(120000) || python.exitCode() != 0) {
        std::fprintf(stderr, "large workbook not written (needs /usr/bin/python3 with xlwt): %s\n",
            python.readAllStandardError().constData());
        return 0;
    }
    const QString large = folder.filePath(QStringLiteral("большая.xls"));
    const auto result = kelsa::readSheet(large, QStringLiteral("Лист1"), 13, russian);
    if (result.status != kelsa::SheetReadResult::Status::Ok || result.records.size() != rows) {
        std::fprintf(stderr, "large workbook: status %d, %lld records\n", int(result.status),
            static_cast<long long>(result.records.size()));
        return 1;
    }
    const int largeRuns = std::max(1, runs / 5);
    const QByteArray what = QStringLiteral("%1-record workbook (%2 KB)")
                                .arg(rows)
                                .arg(QFileInfo(large).size() / 1024)
                                .toUtf8();
    print(what.constData(),
        timeRuns(largeRuns, [&] { kelsa::readSheet(large, QStringLiteral("Лист1"), 13, russian); }),
        largeRuns);
    return 0;
}
