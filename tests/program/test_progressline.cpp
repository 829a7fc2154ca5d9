// SPDX-License-Identifier: GPL-3.0-or-later
// The progress of kelsa --batch: on a terminal every report rewrites one line in place, covering
// a longer one before it; in a log a line is printed only when another tenth of the input has
// been read, each tenth once however far a report jumps. The time left follows from the time
// taken so far, given to it rather than read from a clock.
#include "program/progressline.h"

#include <QTest>

using namespace kelsa;

namespace
{

// One report: rows done, bytes of the input read, milliseconds since the start.
struct Report {
    qint64 rows;
    qint64 bytesRead;
    qint64 elapsedMs;
};

} // namespace

Q_DECLARE_METATYPE(QList<Report>)

class TestProgressLine : public QObject
{
    Q_OBJECT

private slots:
    void printed_data();
    void printed();
    void timeLeft_data();
    void timeLeft();
};

void TestProgressLine::printed_data()
{
    QTest::addColumn<bool>("terminal");
    QTest::addColumn<qint64>("inputBytes");
    QTest::addColumn<QList<Report>>("reports");
    // What each report prints: "\r" before a line rewritten in place, "\n" after a line of its
    // own, "" for nothing.
    QTest::addColumn<QStringList>("printed");
    QTest::addColumn<bool>("lineOpen"); // a line on screen is left to end

    const QString line = QStringLiteral("kelsa: IN.csv: строк: %1, %2 %");
    QTest::newRow("log, below the first tenth and at it")
        << false << qint64(1000) << QList<Report> { { 10000, 99, 100 }, { 20000, 100, 1000 } }
        << QStringList { "", line.arg(20000).arg(10) + ", осталось около 9 с\n" } << false;
    QTest::newRow("log, one tenth printed once")
        << false << qint64(1000)
        << QList<Report> { { 10000, 150, 1000 }, { 20000, 199, 2000 }, { 30000, 200, 3000 } }
        << QStringList { line.arg(10000).arg(15) + ", осталось около 6 с\n", "",
               line.arg(30000).arg(20) + ", осталось около 12 с\n" }
        << false;
    QTest::newRow("log, a jump over tenths prints one line")
        << false << qint64(1000) << QList<Report> { { 10000, 100, 500 }, { 90000, 950, 4750 } }
        << QStringList { line.arg(10000).arg(10) + ", осталось около 5 с\n",
               line.arg(90000).arg(95) + ", осталось меньше секунды\n" }
        << false;
    QTest::newRow("log, the whole input read: no time left")
        << false << qint64(1000) << QList<Report> { { 10000, 1000, 800 } }
        << QStringList { line.arg(10000).arg(100) + "\n" } << false;
    QTest::newRow("log, a file grown since it was measured")
        << false << qint64(1000) << QList<Report> { { 10000, 1500, 800 } }
        << QStringList { line.arg(10000).arg(100) + "\n" } << false;
    QTest::newRow("terminal, every report in place")
        << true << qint64(1000) << QList<Report> { { 10000, 10, 100 }, { 20000, 20, 200 } }
        << QStringList { "\r" + line.arg(10000).arg(1) + ", осталось около 10 с",
               "\r" + line.arg(20000).arg(2) + ", осталось около 10 с" }
        << true;
    QTest::newRow("terminal, a shorter line covers the longer one")
        << true << qint64(1000) << QList<Report> { { 10000, 500, 1000 }, { 20000, 1000, 1400 } }
        << QStringList { "\r" + line.arg(10000).arg(50) + ", осталось около 1 с",
               "\r" + line.arg(20000).arg(100) + QString(19, QLatin1Char(' ')) }
        << true;
    QTest::newRow("terminal, no time taken yet")
        << true << qint64(1000) << QList<Report> { { 10000, 100, 0 } }
        << QStringList { "\r" + line.arg(10000).arg(10) } << true;
    QTest::newRow("terminal, nothing reported")
        << true << qint64(1000) << QList<Report> {} << QStringList {} << false;
}

void TestProgressLine::printed()
{
    QFETCH(bool, terminal);
    QFETCH(qint64, inputBytes);
    QFETCH(QList<Report>, reports);
    QFETCH(QStringList, printed);
    QFETCH(bool, lineOpen);
    ProgressLine progress(QStringLiteral("IN.csv"), inputBytes, terminal);
    QStringList seen;
    for (const Report &report : reports) {
        const auto line = progress.update(report.rows, report.bytesRead, report.elapsedMs);
        seen << (!line          ? QString()
                : line->inPlace ? QLatin1Char('\r') + line->text
                                : line->text + QLatin1Char('\n'));
    }
    QCOMPARE(seen, printed);
    QCOMPARE(progress.lineOpen(), lineOpen);
}

void TestProgressLine::timeLeft_data()
{
    QTest::addColumn<qint64>("ms");
    QTest::addColumn<QString>("text");
    QTest::newRow("under a second") << qint64(999) << "меньше секунды";
    QTest::newRow("a second") << qint64(1000) << "около 1 с";
    QTest::newRow("rounded up") << qint64(1001) << "около 2 с";
    QTest::newRow("under a minute") << qint64(59000) << "около 59 с";
    QTest::newRow("over it") << qint64(59001) << "около 1 мин 00 с";
    QTest::newRow("minutes and seconds") << qint64(125000) << "около 2 мин 05 с";
    QTest::newRow("under an hour") << qint64(3599000) << "около 59 мин 59 с";
    QTest::newRow("an hour") << qint64(3600000) << "около 1 ч 00 мин";
    QTest::newRow("hours and minutes, rounded up") << qint64(3601000) << "около 1 ч 01 мин";
}

void TestProgressLine::timeLeft()
{
    QFETCH(qint64, ms);
    QFETCH(QString, text);
    QCOMPARE(timeLeftText(ms), text);
}

QTEST_GUILESS_MAIN(TestProgressLine)
#include "test_progressline.moc"
