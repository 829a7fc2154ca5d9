// SPDX-License-Identifier: GPL-3.0-or-later
// The child process that parses workbooks: its output, and how each way of going wrong ends.
#include "core/platform/isolatedrun.h"

#include <QElapsedTimer>
#include <QTest>

#include <csignal>
#include <string>
#include <vector>

#include <unistd.h>

using kelsa::IsolatedRun;
using kelsa::IsolatedSink;
using kelsa::runIsolated;
using End = IsolatedRun::End;

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

    const QString shell = QStringLiteral("/bin/sh");
    const QString script = QStringLiteral("-c");
    QTest::newRow("writes and exits") << QStringList { shell, script, "printf 'a dump'" }
                                      << End::Finished << QByteArray("a dump");
    QTest::newRow("reads nothing")
        << QStringList { shell, script, "cat" } << End::Finished << QByteArray();
    QTest::newRow("exits with 1") << QStringList { shell, script, "printf part; exit 1" }
                                  << End::Failed << QByteArray("part");
    QTest::newRow("crashes") << QStringList { shell, script, "printf part; kill -SEGV $$" }
                             << End::Failed << QByteArray("part");
    QTest::newRow("writes without end")
        << QStringList { shell, script, "exec yes" } << End::TooMuchOutput << QByteArray();
    QTest::newRow("never ends") << QStringList { shell, script, "exec sleep 30" } << End::TimedOut
                                << QByteArray();
    QTest::newRow("missing") << QStringList { "/nonexistent/kelsa-sheet-reader" } << End::NotStarted
                             << QByteArray();
    QTest::newRow("not a program") << QStringList { QStringLiteral(KELSA_FIXTURES "/не книга.xls") }
                                   << End::NotStarted << QByteArray();
}

void TestIsolatedRun::programEnds()
{
    QFETCH(QStringList, command);
    QFETCH(End, end);
    QFETCH(QByteArray, output);

    std::vector<std::string> arguments;
    for (const QString &argument : command)
        arguments.push_back(argument.toStdString());
    QElapsedTimer timer;
    timer.start();
    const IsolatedRun run = kelsa::IsolatedTask(arguments, 1000, 1 << 20).finish();
    QCOMPARE(run.end, end);
    if (end != End::TooMuchOutput)
        QCOMPARE(run.output, output);
    QVERIFY2(timer.elapsed() < 5000, qPrintable(QString::number(timer.elapsed())));
}
#endif

QTEST_GUILESS_MAIN(TestIsolatedRun)
#include "test_isolatedrun.moc"
