// SPDX-License-Identifier: GPL-3.0-or-later
// Workbooks on which FreeXL reads past its buffers, found by fuzzing the workbook reader
// (tests/fixtures). Those whose compound-file directory gives the damage away are
// refused before FreeXL opens them; for the rest Kelsa relies on parsing in a child process,
// and the table shows the file as unreadable.
#include "core/tables/sheetdump.h"
#include "core/tables/workbookreader.h"

#include "support/fixtures.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTest>

#include <string>

using kelsa::SheetDumpOutcome;
using kelsa::SheetReadResult;
using Status = SheetReadResult::Status;

static const QLocale ru(QLocale::Russian, QLocale::Russia);
using kelsa::test::fixture;
using kelsa::test::sheet;

// The dump of Лист1 in this process: safe only where FreeXL is known to cope or never runs.
static std::string dumpHere(const QString &path)
{
    std::string bytes;
    kelsa::dumpSheet(QFile::encodeName(path).constData(), "Лист1", kelsa::kMaxSheetFields, 65536,
        [&bytes](std::string_view piece) {
            bytes.append(piece);
            return true;
        });
    return bytes;
}

class TestDamagedWorkbooks : public QObject
{
    Q_OBJECT

private slots:
    void refusedBeforeFreeXLOpensThem_data();
    void refusedBeforeFreeXLOpensThem();
    void soundWorkbooksPassTheCheck_data();
    void soundWorkbooksPassTheCheck();
    void survivedWhereFreeXLFails_data();
    void survivedWhereFreeXLFails();
    void freeXLGoingRoundInCirclesIsStopped();
};

void TestDamagedWorkbooks::refusedBeforeFreeXLOpensThem_data()
{
    QTest::addColumn<QString>("file");
    // т12.1.xls with the name length of the root entry set to 5,632 bytes of a 64-byte field.
    QTest::newRow("name longer than its field") << "длинное имя в каталоге.xls";
    // т12.1.xls whose header puts the directory at sector 0xFA000000, which FreeXL takes for
    // the first sector of the workbook stream.
    QTest::newRow("directory beyond the end of the file") << "каталог за концом файла.xls";
}

void TestDamagedWorkbooks::refusedBeforeFreeXLOpensThem()
{
    QFETCH(QString, file);
    QVERIFY(!kelsa::directoryIsSound(QFile::encodeName(fixture(file)).constData()));
    const std::string dump = dumpHere(fixture(file));
    QCOMPARE(dump, std::string(1, char(SheetDumpOutcome::Damaged)));

    const SheetReadResult result = kelsa::readSheet(fixture(file), sheet, 2, ru);
    QCOMPARE(result.status, Status::Damaged);
    QVERIFY(result.records.isEmpty());
}

void TestDamagedWorkbooks::soundWorkbooksPassTheCheck_data()
{
    QTest::addColumn<QString>("path");
    for (const char *name : { "т11.1.xls", "т11.2.xls", "т11.3.xls", "т11.5.xls", "т12.1.xls",
             "т12.2.xls", "т12.3.xls", "т12.5.xls", "т13.xls", "т13мах.xls" })
        QTest::newRow(name) << QStringLiteral(KELSA_SAMPLE_DATA "/") + QString::fromUtf8(name);
    QTest::newRow("ячейки.xls") << fixture(QStringLiteral("ячейки.xls"));
    QTest::newRow("вся сетка.xls") << fixture(QStringLiteral("вся сетка.xls"));
}

void TestDamagedWorkbooks::soundWorkbooksPassTheCheck()
{
    QFETCH(QString, path);
    QVERIFY(kelsa::directoryIsSound(QFile::encodeName(path).constData()));
    const std::string dump = dumpHere(path);
    QVERIFY(dump.size() > 1);
    QCOMPARE(SheetDumpOutcome(dump.front()), SheetDumpOutcome::Ok);
}

void TestDamagedWorkbooks::survivedWhereFreeXLFails_data()
{
    QTest::addColumn<QString>("file");
    // A string table whose record ends before its strings: FreeXL copies 125,956 bytes out
    // of a smaller block while it opens the file. Nothing in the directory shows it.
    QTest::newRow("strings beyond their record") << "строка за концом записи.xls";
    // т11.2.xls with one NUMBER record turned into a second DIMENSIONS record among the cells:
    // FreeXL stores the following cells outside its grid and dies of a segmentation fault.
    QTest::newRow("second sheet size among the cells") << "второй размер листа.xls";
    // т13.xls with some 300 bytes of its string table overwritten: FreeXL follows a string
    // into unmapped memory while it opens the file.
    QTest::newRow("spoilt string table") << "испорченные строки.xls";
}

// FreeXL reads past its buffers on these; whether that ends in a crash depends on what lies
// beyond them in the child's memory. Either way this process reads on: a crash costs only the
// table, and whatever the child did hand over is well-formed.
void TestDamagedWorkbooks::survivedWhereFreeXLFails()
{
    QFETCH(QString, file);
    const SheetReadResult result = kelsa::readSheet(fixture(file), sheet, 2, ru);
    if (result.status != Status::Ok) {
        QCOMPARE(result.status, Status::Damaged);
        QVERIFY(result.records.isEmpty());
    }
    for (const QStringList &record : result.records)
        QCOMPARE(record.size(), result.columnCount);
}

// A 2,194-byte piece of a workbook on which FreeXL loops without end while it opens the file,
// allocating small blocks as it goes. The child that parses it ends when those reach its memory
// budget (kChildMemoryBudget, some 5 s on the development machine: Damaged) or is stopped
// after 10 s (TimedOut), whichever comes first.
void TestDamagedWorkbooks::freeXLGoingRoundInCirclesIsStopped()
{
    const QString file = QStringLiteral("зацикливает freexl.xls");
    QElapsedTimer timer;
    timer.start();
    const SheetReadResult result = kelsa::readSheet(fixture(file), sheet, 2, ru);
    QVERIFY2(timer.elapsed() < 20000, qPrintable(QString::number(timer.elapsed()) + " ms"));
    QVERIFY2(result.status == Status::Damaged || result.status == Status::TimedOut,
        qPrintable(QString::number(int(result.status))));
}

QTEST_GUILESS_MAIN(TestDamagedWorkbooks)
#include "test_damagedworkbooks.moc"
