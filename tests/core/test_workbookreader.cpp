// SPDX-License-Identifier: GPL-3.0-or-later
// The workbook reader on the shipped reference workbooks and on small workbooks made for the
// tests by tools/make_test_workbooks.py (tests/fixtures, all with Cyrillic names).
#include "core/tables/workbookreader.h"

#include "core/numbers/numbertext.h"
#include "core/platform/isolatedrun.h"
#include "core/tables/sheetdump.h"

#include "support/fixtures.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using kelsa::readSheet;
using kelsa::SheetReadResult;
using Status = SheetReadResult::Status;

static const QLocale ru(QLocale::Russian, QLocale::Russia);
static const QLocale en(QLocale::English, QLocale::UnitedStates);
using kelsa::test::fixture;
using kelsa::test::sheet;

static QString sample(const QString &name)
{
    return QStringLiteral(KELSA_SAMPLE_DATA "/") + name;
}

class TestWorkbookReader : public QObject
{
    Q_OBJECT

private slots:
    void sampleWorkbooks_data();
    void sampleWorkbooks();
    void sampleNumberUnderEnglishLocale();
    void cellKinds_data();
    void cellKinds();
    void sheetFoundByNameNotPosition();
    void shortRowPaddedWithEmptyTexts();
    void emptyRowsBetweenRecordsKeptAfterLastDropped();
    void headingOnlySheetHasNoRecords();
    void wholeGridClaimReadsOnlyWhatIsThere();
    void failures_data();
    void failures();
    void batchReadsOnPastAFileThatCrashesFreeXL();
    void readerThatCannotRun_data();
    void readerThatCannotRun();
#ifdef Q_OS_UNIX
    void readerProgramRefusesAWrongCommandLine_data();
    void readerProgramRefusesAWrongCommandLine();
    void readerProgramKeepsToItsMemoryBudget_data();
    void readerProgramKeepsToItsMemoryBudget();
#endif
    void damagedBytesNeverCrash_data();
    void damagedBytesNeverCrash();
};

void TestWorkbookReader::sampleWorkbooks_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("requiredColumns");
    QTest::addColumn<QString>("firstName");
    QTest::addColumn<int>("field"); // the "F" number of a known value in the first record
    QTest::addColumn<QString>("value");

    QTest::newRow("т11.1") << "т11.1.xls" << 2 << "М-95+МФ-100" << 2 << "1,79";
    QTest::newRow("т11.2") << "т11.2.xls" << 5 << "М-95+МФ-100" << 3 << "2,671";
    QTest::newRow("т11.3") << "т11.3.xls" << 6 << "М-95+МФ-100" << 6 << "1,562";
    QTest::newRow("т11.5") << "т11.5.xls" << 13 << "М-95+МФ-100" << 13 << "1,641";
    QTest::newRow("т12.1") << "т12.1.xls" << 2 << "А-185" << 2 << "0,503";
    QTest::newRow("т12.2") << "т12.2.xls" << 5 << "А-185" << 5 << "2,624";
    QTest::newRow("т12.3") << "т12.3.xls" << 6 << "А-185" << 2 << "0,547";
    QTest::newRow("т12.5") << "т12.5.xls" << 13 << "А-185" << 7 << "1,172";
    QTest::newRow("т13") << "т13.xls" << 26 << "МФ-85" << 26 << "0,978";
    QTest::newRow("т13мах") << "т13мах.xls" << 6 << "МФ-85" << 4 << "0,793";
}

void TestWorkbookReader::sampleWorkbooks()
{
    QFETCH(QString, file);
    QFETCH(int, requiredColumns);
    QFETCH(QString, firstName);
    QFETCH(int, field);
    QFETCH(QString, value);

    const SheetReadResult result = readSheet(sample(file), sheet, requiredColumns, ru);
    QCOMPARE(result.status, Status::Ok);
    QCOMPARE(result.columnCount, requiredColumns);
    QVERIFY(result.records.size() >= 3);
    QCOMPARE(result.records.first().first(), firstName);
    QCOMPARE(result.records.first().at(field - 1), value);

    // Every record is named and every bound field is a number the calculations can read back.
    for (const QStringList &record : result.records) {
        QCOMPARE(record.size(), requiredColumns);
        QVERIFY(!record.first().isEmpty());
        for (int k = 1; k < requiredColumns; ++k)
            QVERIFY2(kelsa::readNumber(record.at(k), ru).has_value(),
                qPrintable(record.first() + QStringLiteral(" F%1: ").arg(k + 1) + record.at(k)));
    }
}

void TestWorkbookReader::sampleNumberUnderEnglishLocale()
{
    const SheetReadResult result = readSheet(sample(QStringLiteral("т12.1.xls")), sheet, 2, en);
    QCOMPARE(result.status, Status::Ok);
    QCOMPARE(result.records.first().at(1), QStringLiteral("0.503"));
}

void TestWorkbookReader::cellKinds_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<int>("field"); // in the first record of ячейки.xls
    QTest::addColumn<QString>("text");

    QTest::newRow("row name") << ru << 1 << "М-95";
    QTest::newRow("fraction, Russian") << ru << 2 << "0,85";
    QTest::newRow("fraction, English") << en << 2 << "0.85";
    QTest::newRow("integer cell") << ru << 3 << "3";
    QTest::newRow("text kept with its blanks") << ru << 4 << "  текст как есть ";
    QTest::newRow("formatted blank cell") << ru << 5 << "";
    // xlwt saves no value with a formula, only the mark of an empty text result.
    QTest::newRow("formula saved as an empty text") << ru << 6 << "";
    QTest::newRow("full double, Russian") << ru << 7 << "1234,5678";
    QTest::newRow("negative") << ru << 8 << "-2,5";
    QTest::newRow("date as FreeXL spells it") << ru << 9 << "2024-03-15";
}

void TestWorkbookReader::cellKinds()
{
    QFETCH(QLocale, locale);
    QFETCH(int, field);
    QFETCH(QString, text);

    const SheetReadResult result
        = readSheet(fixture(QStringLiteral("ячейки.xls")), sheet, 2, locale);
    QCOMPARE(result.status, Status::Ok);
    QCOMPARE(result.columnCount, 9);
    QCOMPARE(result.records.first().at(field - 1), text);
}

void TestWorkbookReader::sheetFoundByNameNotPosition()
{
    // The first sheet, "Сводка", holds "Не тот лист" in its second row.
    const SheetReadResult result = readSheet(fixture(QStringLiteral("ячейки.xls")), sheet, 2, ru);
    QCOMPARE(result.records.first().first(), QStringLiteral("М-95"));
}

void TestWorkbookReader::shortRowPaddedWithEmptyTexts()
{
    const SheetReadResult result = readSheet(fixture(QStringLiteral("ячейки.xls")), sheet, 2, ru);
    QStringList expected(9, QString());
    expected[0] = QStringLiteral("Короткая");
    expected[1] = QStringLiteral("1");
    QCOMPARE(result.records.at(1), expected);
}

void TestWorkbookReader::emptyRowsBetweenRecordsKeptAfterLastDropped()
{
    // Rows: the full one, the short one, an empty one, "После пустой", then a row holding only
    // a formatted blank cell, which is no record.
    const SheetReadResult result = readSheet(fixture(QStringLiteral("ячейки.xls")), sheet, 2, ru);
    QCOMPARE(result.records.size(), 4);
    QCOMPARE(result.records.at(2), QStringList(9, QString()));
    QCOMPARE(result.records.at(3).first(), QStringLiteral("После пустой"));
}

void TestWorkbookReader::headingOnlySheetHasNoRecords()
{
    const SheetReadResult result
        = readSheet(fixture(QStringLiteral("только заголовок.xls")), sheet, 3, ru);
    QCOMPARE(result.status, Status::Ok);
    QCOMPARE(result.columnCount, 3);
    QVERIFY(result.records.isEmpty());
}

void TestWorkbookReader::wholeGridClaimReadsOnlyWhatIsThere()
{
    // Two records in a sheet whose dimensions claim 65,536 rows and 256 columns.
    const SheetReadResult result
        = readSheet(fixture(QStringLiteral("вся сетка.xls")), sheet, 2, ru);
    QCOMPARE(result.status, Status::Ok);
    QCOMPARE(result.columnCount, kelsa::kMaxSheetFields);
    QCOMPARE(result.records.size(), 2);
    QCOMPARE(result.records.at(1).at(1), QStringLiteral("1,06"));
}

void TestWorkbookReader::failures_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("requiredColumns");
    QTest::addColumn<Status>("status");

    QTest::newRow("missing file") << fixture(QStringLiteral("т11.1.xls")) << 2
                                  << Status::FileMissing;
    QTest::newRow("no sheet Лист1")
        << fixture(QStringLiteral("другой лист.xls")) << 2 << Status::SheetMissing;
    QTest::newRow("truncated") << fixture(QStringLiteral("обрезанная.xls")) << 2 << Status::Damaged;
    QTest::newRow("text file named .xls")
        << fixture(QStringLiteral("не книга.xls")) << 2 << Status::NotAWorkbook;
    QTest::newRow("folder") << QStringLiteral(KELSA_FIXTURES) << 2 << Status::NotAFile;
    QTest::newRow("FreeXL crashes on it")
        << fixture(QStringLiteral("роняет freexl.xls")) << 2 << Status::Damaged;
    QTest::newRow("more cells than FreeXL takes")
        << fixture(QStringLiteral("сверх меры.xls")) << 2 << Status::Damaged;
    QTest::newRow("too few columns")
        << fixture(QStringLiteral("узкая.xls")) << 5 << Status::TooFewColumns;
}

void TestWorkbookReader::failures()
{
    QFETCH(QString, path);
    QFETCH(int, requiredColumns);
    QFETCH(Status, status);

    const SheetReadResult result = readSheet(path, sheet, requiredColumns, ru);
    QCOMPARE(result.status, status);
    QVERIFY(result.records.isEmpty());
}

void TestWorkbookReader::batchReadsOnPastAFileThatCrashesFreeXL()
{
    const QList<kelsa::SheetRequest> requests {
        { sample(QStringLiteral("т11.1.xls")), sheet, 2 },
        { fixture(QStringLiteral("роняет freexl.xls")), sheet, 2 },
        { fixture(QStringLiteral("нет такой.xls")), sheet, 2 },
        { fixture(QStringLiteral("другой лист.xls")), sheet, 2 },
        { sample(QStringLiteral("т13мах.xls")), sheet, 6 },
    };
    const QList<SheetReadResult> results = kelsa::readSheets(requests, ru);
    QCOMPARE(results.size(), requests.size());
    QCOMPARE(results[0].status, Status::Ok);
    QCOMPARE(results[0].records.first().at(1), QStringLiteral("1,79"));
    QCOMPARE(results[1].status, Status::Damaged);
    QCOMPARE(results[2].status, Status::FileMissing);
    QCOMPARE(results[3].status, Status::SheetMissing);
    QCOMPARE(results[4].status, Status::Ok);
    QCOMPARE(results[4].records.first().at(3), QStringLiteral("0,793"));
}

// A reader that cannot run makes every workbook it would parse ReaderMissing, not Damaged: one
// missing, not executable, whose libraries the loader cannot find (127 before a byte), or of
// another version that refuses the command line (2 before a byte). A reader that starts and
// then crashes or runs out of memory (1) makes each file Damaged in turn. A file refused before
// parsing keeps its own reason either way.
void TestWorkbookReader::readerThatCannotRun_data()
{
    QTest::addColumn<QString>("script"); // the reader's shell script; empty: no reader at all
    QTest::addColumn<bool>("executable");
    QTest::addColumn<Status>("status");

    QTest::newRow("missing") << QString() << true << Status::ReaderMissing;
    QTest::newRow("not executable") << "exit 0" << false << Status::ReaderMissing;
    QTest::newRow("a library missing") << "exit 127" << true << Status::ReaderMissing;
    QTest::newRow("cannot execute") << "exit 126" << true << Status::ReaderMissing;
    QTest::newRow("another version") << "exit 2" << true << Status::ReaderMissing;
    QTest::newRow("out of memory") << "exit 1" << true << Status::Damaged;
    QTest::newRow("another status") << "exit 3" << true << Status::Damaged;
    QTest::newRow("crashes") << "kill -SEGV $$" << true << Status::Damaged;
    QTest::newRow("exits 2 after a byte") << "printf x; exit 2" << true << Status::Damaged;
}

void TestWorkbookReader::readerThatCannotRun()
{
#ifndef Q_OS_UNIX
    QSKIP("the workbooks are parsed in this process");
#endif
    QFETCH(QString, script);
    QFETCH(bool, executable);
    QFETCH(Status, status);

    QTemporaryDir folder;
    const QString program = folder.filePath(QStringLiteral("kelsa-sheet-reader"));
    if (!script.isEmpty()) {
        QFile file(program);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("#!/bin/sh\n" + script.toUtf8() + "\n");
        file.close();
        QFileDevice::Permissions permissions = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
        if (executable)
            permissions |= QFileDevice::ExeOwner;
        QVERIFY(file.setPermissions(permissions));
    }
    const QList<kelsa::SheetRequest> requests {
        { sample(QStringLiteral("т11.1.xls")), sheet, 2 },
        { fixture(QStringLiteral("нет такой.xls")), sheet, 2 },
        { fixture(QStringLiteral("таблица.xlsx")), sheet, 2 },
    };
    const QList<SheetReadResult> results = kelsa::readSheets(requests, ru, program);
    QCOMPARE(results.size(), requests.size());
    QCOMPARE(results[0].status, status);
    QCOMPARE(results[1].status, Status::FileMissing);
    QCOMPARE(results[2].status, status);
}

#ifdef Q_OS_UNIX
// Anything but BUDGET COLUMNS ROWS and whole triples of KIND PATH SHEET ends the reader with
// status 2 before it writes a byte; the three numbers alone are a reading of nothing.
void TestWorkbookReader::readerProgramRefusesAWrongCommandLine_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("code");

    const QString book = sample(QStringLiteral("т11.1.xls"));
    QTest::newRow("nothing") << QStringList {} << 2;
    QTest::newRow("no row limit") << QStringList { "1073741824", "26" } << 2;
    QTest::newRow("the three numbers") << QStringList { "1073741824", "26", "65536" } << 0;
    QTest::newRow("budget not a number") << QStringList { "1G", "26", "65536" } << 2;
    QTest::newRow("negative columns") << QStringList { "1073741824", "-1", "65536" } << 2;
    QTest::newRow("rows with a sign") << QStringList { "1073741824", "26", "+65536" } << 2;
    QTest::newRow("workbook without its heading flag")
        << QStringList { "1073741824", "26", "65536", "xls", book, sheet } << 2;
    QTest::newRow("unknown kind") << QStringList { "1073741824", "26", "65536", "xlsx", book, sheet,
        "body" } << 2;
    QTest::newRow("unknown heading flag")
        << QStringList { "1073741824", "26", "65536", "xls", book, sheet, "yes" } << 2;
    QTest::newRow("second workbook of an unknown kind") << QStringList { "1073741824", "26",
        "65536", "xls", book, sheet, "body", "ods", book, sheet, "body" }
                                                        << 2;
}

void TestWorkbookReader::readerProgramRefusesAWrongCommandLine()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, code);

    QProcess reader;
    reader.start(kelsa::sheetReaderProgram(), arguments);
    QVERIFY(reader.waitForFinished(10000));
    QCOMPARE(reader.exitStatus(), QProcess::NormalExit);
    QCOMPARE(reader.exitCode(), code);
    QCOMPARE(reader.readAllStandardOutput(), QByteArray());
}

// BUDGET bounds what the reader may allocate: the budget Kelsa gives it reads each kind of
// workbook, 64 KiB is too little for any (a reader that ignored BUDGET would read them too).
// Running out of memory is no reading: a Damaged dump, or no dump at all where the allocator
// ends the process instead of failing the allocation.
void TestWorkbookReader::readerProgramKeepsToItsMemoryBudget_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("path");
    QTest::addColumn<qsizetype>("budget");
    QTest::addColumn<bool>("read");

    const QString xls = sample(QStringLiteral("т11.1.xls"));
    const QString xlsx = fixture(QStringLiteral("таблица.xlsx"));
    const QString ods = fixture(QStringLiteral("таблица.ods"));
    const qsizetype enough = kelsa::kChildMemoryBudget;
    QTest::newRow(".xls, Kelsa's budget") << "xls" << xls << enough << true;
    QTest::newRow(".xls, 64 KiB") << "xls" << xls << qsizetype(65536) << false;
    QTest::newRow(".xlsx, Kelsa's budget") << "open" << xlsx << enough << true;
    QTest::newRow(".xlsx, 64 KiB") << "open" << xlsx << qsizetype(65536) << false;
    QTest::newRow(".ods, Kelsa's budget") << "open" << ods << enough << true;
    QTest::newRow(".ods, 64 KiB") << "open" << ods << qsizetype(65536) << false;
}

void TestWorkbookReader::readerProgramKeepsToItsMemoryBudget()
{
    QFETCH(QString, kind);
    QFETCH(QString, path);
    QFETCH(qsizetype, budget);
    QFETCH(bool, read);
#if defined(__SANITIZE_ADDRESS__)
    // AddressSanitizer reserves its heap when the reader starts, before the budget is set, so
    // allocations as small as these take no more address space and the budget cannot bind them.
    if (!read)
        QSKIP("the heap of AddressSanitizer is reserved before the budget is set");
#endif

    QProcess reader;
    reader.start(kelsa::sheetReaderProgram(),
        { QString::number(budget), QString::number(kelsa::kMaxSheetFields), "65536", kind, path,
            sheet, "body" });
    QVERIFY(reader.waitForFinished(10000));
    const QByteArray dump = reader.readAllStandardOutput();
    if (read) {
        QCOMPARE(reader.exitStatus(), QProcess::NormalExit);
        QCOMPARE(reader.exitCode(), 0);
        QVERIFY(dump.size() > 1);
        QCOMPARE(dump.front(), char(kelsa::SheetDumpOutcome::Ok));
    } else {
        QVERIFY2(dump.isEmpty() || dump == QByteArray(1, char(kelsa::SheetDumpOutcome::Damaged)),
            dump.left(16).toHex().constData());
    }
}
#endif

void TestWorkbookReader::damagedBytesNeverCrash_data()
{
    QTest::addColumn<int>("keepBytes"); // -1: the whole file
    QTest::addColumn<int>("spoilAt"); // -1: nothing spoilt
    QTest::addColumn<int>("spoilBytes");

    for (const int keep : { 0, 8, 511, 512, 1024, 2048, 4096, 5631 })
        QTest::addRow("cut to %d bytes", keep) << keep << -1 << 0;
    // The compound-file header with its sector tables, the directory, the workbook stream.
    for (const int at : { 0x2c, 0x30, 0x44, 0x4c, 0x200, 0x300, 0x600, 0x900, 0xc00, 0x1000 })
        QTest::addRow("16 bytes spoilt at 0x%x", at) << -1 << at << 16;
}

void TestWorkbookReader::damagedBytesNeverCrash()
{
    QFETCH(int, keepBytes);
    QFETCH(int, spoilAt);
    QFETCH(int, spoilBytes);

    QFile source(fixture(QStringLiteral("ячейки.xls")));
    QVERIFY(source.open(QIODevice::ReadOnly));
    QByteArray bytes = source.readAll();
    if (keepBytes >= 0)
        bytes.truncate(keepBytes);
    if (spoilAt >= 0)
        bytes.replace(spoilAt, spoilBytes, QByteArray(spoilBytes, char(0xff)));

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("т13мах.xls"));
    QFile target(path);
    QVERIFY(target.open(QIODevice::WriteOnly));
    target.write(bytes);
    target.close();

    const SheetReadResult result = readSheet(path, sheet, 2, ru);
    if (result.status == Status::Ok) {
        for (const QStringList &record : result.records)
            QCOMPARE(record.size(), result.columnCount);
    } else {
        QVERIFY(result.records.isEmpty());
    }
}

QTEST_GUILESS_MAIN(TestWorkbookReader)
#include "test_workbookreader.moc"
