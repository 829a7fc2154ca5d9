// SPDX-License-Identifier: GPL-3.0-or-later
// The child process that parses workbooks: its output, and how each way of going wrong ends.
#include "core/platform/isolatedrun.h"

#include <QElapsedTimer>
#include <QTest>

#include <csignal>
#include <string>

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

QTEST_GUILESS_MAIN(TestIsolatedRun)
#include "test_isolatedrun.moc"
