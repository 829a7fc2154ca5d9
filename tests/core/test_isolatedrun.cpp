// SPDX-License-Identifier: GPL-3.0-or-later
// The child process that parses workbooks: its output, and how each way of going wrong ends.
#include "core/platform/isolatedrun.h"

#include <QDir>
#include <QElapsedTimer>
#include <QTest>

#include <cerrno>
#include <csignal>
#include <string>
#include <vector>

#include <sys/wait.h>
#include <unistd.h>

using kelsa::IsolatedRun;
using kelsa::IsolatedSink;
using kelsa::runIsolated;
using End = IsolatedRun::End;

#ifdef Q_OS_UNIX
// How many files this process has open.
static qsizetype openDescriptors()
{
    return QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::Files | QDir::System).size();
}

// True when this process has no child, running or ended and not yet waited for.
static bool noChildLeft()
{
    int status = 0;
    return ::waitpid(-1, &status, WNOHANG) < 0 && errno == ECHILD;
}
#endif

class TestIsolatedRun : public QObject
{
    Q_OBJECT

private slots:
    void outputArrivesWhole();
    void ends_data();
    void ends();
    void outputBeforeACrashIsKept();
    void timeoutStopsTheChildPromptly();
#ifdef Q_OS_UNIX
    void programEnds_data();
    void programEnds();
    void droppedProgramIsStopped();
#endif
};

void TestIsolatedRun::outputArrivesWhole()
{
    // More than a pipe holds at once, in pieces of several sizes.
    std::string expected;
    const IsolatedRun run = runIsolated(
        [](const IsolatedSink &sink) {
            for (int i = 0; i < 3000; ++i)
                sink(std::string(i % 257, char('a' + i % 26)));
        },
        10000, 1 << 24);
    for (int i = 0; i < 3000; ++i)
        expected += std::string(i % 257, char('a' + i % 26));
    QCOMPARE(run.end, End::Finished);
    QCOMPARE(run.output.size(), qsizetype(expected.size()));
    QVERIFY(run.output == QByteArray::fromStdString(expected));
}

void TestIsolatedRun::ends_data()
{
    QTest::addColumn<int>("what");
    QTest::addColumn<End>("end");

    QTest::newRow("returns") << 0 << End::Finished;
    QTest::newRow("segmentation fault") << 1 << End::Failed;
    QTest::newRow("abort") << 2 << End::Failed;
    QTest::newRow("throws") << 3 << End::Failed;
    QTest::newRow("writes without end") << 4 << End::TooMuchOutput;
    QTest::newRow("never returns") << 5 << End::TimedOut;
    QTest::newRow("allocates past its memory budget") << 6 << End::Failed;
}

void TestIsolatedRun::ends()
{
    QFETCH(int, what);
    QFETCH(End, end);

    const IsolatedRun run = runIsolated(
        [what](const IsolatedSink &sink) {
            switch (what) {
            case 1:
                std::raise(SIGSEGV);
                break;
            case 2:
                std::abort();
            case 3:
                throw 42;
            case 4:
                while (sink(std::string(4096, 'x'))) { }
                break;
            case 5:
                for (;;)
                    ::pause();
            case 6: { // std::bad_alloc, unless the budget does not hold
                const void *block = ::operator new(kelsa::kChildMemoryBudget * 2);
                sink(std::string_view(static_cast<const char *>(block), 1));
                break;
            }
            }
        },
        1000, 1 << 20);
    QCOMPARE(run.end, end);
}

void TestIsolatedRun::outputBeforeACrashIsKept()
{
    const IsolatedRun run = runIsolated(
        [](const IsolatedSink &sink) {
            sink("first part");
            std::raise(SIGSEGV);
        },
        10000, 1 << 20);
    QCOMPARE(run.end, End::Failed);
    QCOMPARE(run.output, QByteArray("first part"));
}

void TestIsolatedRun::timeoutStopsTheChildPromptly()
{
    QElapsedTimer timer;
    timer.start();
    const IsolatedRun run = runIsolated([](const IsolatedSink &) { ::sleep(30); }, 200, 1 << 20);
    QCOMPARE(run.end, End::TimedOut);
    QVERIFY2(timer.elapsed() < 5000, qPrintable(QString::number(timer.elapsed())));
}

#ifdef Q_OS_UNIX
// A program of its own as the child: each way of ending as the forked work has it, the output
// it wrote before kept, and a program that cannot be started told apart from one that failed.
void TestIsolatedRun::programEnds_data()
{
    QTest::addColumn<QStringList>("command");
    QTest::addColumn<End>("end");
    QTest::addColumn<QByteArray>("output");
    QTest::addColumn<int>("status"); // what the program exited with, -1 for a signal

    const QString shell = QStringLiteral("/bin/sh");
    const QString script = QStringLiteral("-c");
    QTest::newRow("writes and exits") << QStringList { shell, script, "printf 'a dump'" }
                                      << End::Finished << QByteArray("a dump") << 0;
    QTest::newRow("reads nothing")
        << QStringList { shell, script, "cat" } << End::Finished << QByteArray() << 0;
    QTest::newRow("exits with 1") << QStringList { shell, script, "printf part; exit 1" }
                                  << End::Failed << QByteArray("part") << 1;
    QTest::newRow("exits with 127 before a byte")
        << QStringList { shell, script, "exit 127" } << End::Failed << QByteArray() << 127;
    QTest::newRow("crashes") << QStringList { shell, script, "printf part; kill -SEGV $$" }
                             << End::Failed << QByteArray("part") << -1;
    QTest::newRow("closes its output, then crashes")
        << QStringList { shell, script, "printf part; exec >&-; kill -SEGV $$" } << End::Failed
        << QByteArray("part") << -1;
    // 1 MiB of output is allowed: exactly that much is read whole, one byte more stops it.
    QTest::newRow("writes the most allowed")
        << QStringList { shell, script, "head -c 1048576 /dev/zero" } << End::Finished
        << QByteArray(1 << 20, '\0') << 0;
    QTest::newRow("writes one byte more")
        << QStringList { shell, script, "head -c 1048577 /dev/zero" } << End::TooMuchOutput
        << QByteArray() << -1;
    QTest::newRow("writes without end")
        << QStringList { shell, script, "exec yes" } << End::TooMuchOutput << QByteArray() << -1;
    QTest::newRow("never ends") << QStringList { shell, script, "exec sleep 30" } << End::TimedOut
                                << QByteArray() << -1;
    QTest::newRow("missing") << QStringList { "/nonexistent/kelsa-sheet-reader" } << End::NotStarted
                             << QByteArray() << -1;
    QTest::newRow("not a program") << QStringList { QStringLiteral(KELSA_FIXTURES "/не книга.xls") }
                                   << End::NotStarted << QByteArray() << -1;
    QTest::newRow("no command") << QStringList {} << End::NotStarted << QByteArray() << -1;
}

void TestIsolatedRun::programEnds()
{
    QFETCH(QStringList, command);
    QFETCH(End, end);
    QFETCH(QByteArray, output);
    QFETCH(int, status);

    std::vector<std::string> arguments;
    for (const QString &argument : command)
        arguments.push_back(argument.toStdString());
    const qsizetype descriptors = openDescriptors();
    QElapsedTimer timer;
    timer.start();
    const IsolatedRun run = kelsa::IsolatedTask(arguments, 1000, 1 << 20).finish();
    QCOMPARE(run.end, end);
    // Output cut off is not compared, nor the status of its program: that may have written its
    // last bytes and exited before it was stopped.
    if (end != End::TooMuchOutput) {
        QCOMPARE(run.output, output);
        QCOMPARE(run.exitStatus, status);
    }
    QVERIFY2(timer.elapsed() < 5000, qPrintable(QString::number(timer.elapsed())));
    // However it ended, the child is reaped and the pipe closed.
    QVERIFY(noChildLeft());
    QCOMPARE(openDescriptors(), descriptors);
}

// A task dropped before finish() stops its program and leaves nothing behind either.
void TestIsolatedRun::droppedProgramIsStopped()
{
    const qsizetype descriptors = openDescriptors();
    QElapsedTimer timer;
    timer.start();
    {
        const kelsa::IsolatedTask task({ "/bin/sh", "-c", "exec sleep 30" }, 10000, 1 << 20);
    }
    QVERIFY2(timer.elapsed() < 5000, qPrintable(QString::number(timer.elapsed())));
    QVERIFY(noChildLeft());
    QCOMPARE(openDescriptors(), descriptors);
}
#endif

QTEST_GUILESS_MAIN(TestIsolatedRun)
#include "test_isolatedrun.moc"
