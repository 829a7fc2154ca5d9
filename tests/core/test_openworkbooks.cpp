// SPDX-License-Identifier: GPL-3.0-or-later
// The workbook reader on .xlsx and .ods: one table saved by LibreOffice in both formats, and
// damaged workbooks made from it (tools/make_open_workbooks.py, in tests/fixtures).
#include "core/tables/tablecatalogue.h"
#include "core/tables/workbookreader.h"

#include "support/fixtures.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using kelsa::readSheet;
using kelsa::SheetReadResult;
using Status = SheetReadResult::Status;
using CellError = SheetReadResult::CellError;

static const QLocale ru(QLocale::Russian, QLocale::Russia);
using kelsa::test::fixture;
using kelsa::test::sheet;

// A copy of the fixture `from` at `to`, or of its first `keepBytes` bytes.
static bool copyFixture(const QString &from, const QString &to, qsizetype keepBytes = -1)
{
    QFile source(fixture(from));
    QFile target(to);
    return source.open(QIODevice::ReadOnly) && target.open(QIODevice::WriteOnly)
        && target.write(keepBytes < 0 ? source.readAll() : source.read(keepBytes)) >= 0;
}

class TestOpenWorkbooks : public QObject
{
    Q_OBJECT

private slots:
    void cells_data();
    void cells();
    void errorCellsListed_data();
    void errorCellsListed();
    void sharedStringIndex_data();
    void sharedStringIndex();
    void formulaWithoutValue_data();
    void formulaWithoutValue();
    void failures_data();
    void failures();
    void damagedTableCostsOnlyItself();
    void tenDamagedTablesReadQuickly();
    void workbookFilePrefersXls_data();
    void workbookFilePrefersXls();
};

void TestOpenWorkbooks::cells_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("record");
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("text");

    for (const char *file : { "таблица.xlsx", "таблица.ods" }) {
        const auto row = [file](const char *what) {
            return &(QTest::addRow("%s: %s", file, what) << QString::fromUtf8(file));
        };
        *row("text") << 0 << 1 << "М-95";
        *row("number") << 0 << 2 << "0,85";
        *row("formula, saved number") << 0 << 3 << "1,7";
        *row("text kept with its blanks") << 0 << 4 << "  текст как есть ";
        *row("formula, saved error") << 0 << 5 << "#DIV/0!";
        *row("formula, saved true") << 0 << 6 << "1";
        *row("date as for .xls") << 0 << 7 << "2024-03-15";
        *row("formula, saved text") << 0 << 8 << "строка";
        *row("formula, saved #N/A") << 0 << 9 << "#N/A";
        *row("formula, saved false") << 0 << 10 << "0";
        *row("short row padded") << 1 << 10 << "";
        *row("empty row between records kept") << 2 << 1 << "";
        *row("negative") << 3 << 2 << "-2,5";
        *row("formula over other cells") << 3 << 4 << "1,85";
        *row("date and time") << 3 << 5 << "2024-03-15 10:30:00";
        *row("time") << 3 << 6 << "10:30:00";
    }
}

void TestOpenWorkbooks::cells()
{
    QFETCH(QString, file);
    QFETCH(int, record);
    QFETCH(int, field);
    QFETCH(QString, text);

    const SheetReadResult result = readSheet(fixture(file), sheet, 2, ru);
    QCOMPARE(result.status, Status::Ok);
    QCOMPARE(result.columnCount, 10);
    QCOMPARE(result.records.size(), 4);
    QCOMPARE(result.records.at(record).size(), 10);
    QCOMPARE(result.records.at(record).at(field - 1), text);
}

void TestOpenWorkbooks::errorCellsListed_data()
{
    QTest::addColumn<QString>("file");
    QTest::newRow(".xlsx") << "таблица.xlsx";
    QTest::newRow(".ods") << "таблица.ods";
}

void TestOpenWorkbooks::errorCellsListed()
{
    QFETCH(QString, file);

    const SheetReadResult result = readSheet(fixture(file), sheet, 2, ru);
    const QList<CellError> expected { { 0, 4, QStringLiteral("#DIV/0!") },
        { 0, 8, QStringLiteral("#N/A") } };
    QCOMPARE(result.cellErrors, expected);
}

// Indexes into the 15 shared strings of таблица.xlsx, on both sides of the last: a cell that
// names a string the workbook does not have is an empty cell, and the table is read on.
void TestOpenWorkbooks::sharedStringIndex_data()
{
    QTest::addColumn<int>("record");
    QTest::addColumn<QString>("text");

    QTest::newRow("14, the last string") << 0 << "После пустой";
    QTest::newRow("15, the count of strings") << 1 << "";
    QTest::newRow("16, one past the count") << 2 << "";
    QTest::newRow("a number of 23 digits") << 3 << "";
    QTest::newRow("not a number") << 4 << "";
}

void TestOpenWorkbooks::sharedStringIndex()
{
    QFETCH(int, record);
    QFETCH(QString, text);

    const SheetReadResult result
        = readSheet(fixture(QStringLiteral("общие строки за концом.xlsx")), sheet, 2, ru);
    QCOMPARE(result.status, Status::Ok);
    QCOMPARE(result.records.size(), 5);
    QCOMPARE(result.records.at(record).at(1), text);
    QVERIFY(result.cellErrors.isEmpty());
}

// A formula cell saved without a value, or with one that cannot be read, shows "#N/A" and is
// listed among the table's problems: an empty cell would be copied by a look-up and counted as
// 0 by the ordinary support. A saved empty text, 0 and FALSE are values; a cell without a
// formula and without a value is an empty cell.
void TestOpenWorkbooks::formulaWithoutValue_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("record");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("listed");

    const QString xlsx = QStringLiteral("формулы без значений.xlsx");
    QTest::newRow(".xlsx: no value") << xlsx << 0 << "#N/A" << true;
    QTest::newRow(".xlsx: no value, text") << xlsx << 1 << "#N/A" << true;
    QTest::newRow(".xlsx: no value, boolean") << xlsx << 2 << "#N/A" << true;
    QTest::newRow(".xlsx: empty value") << xlsx << 3 << "#N/A" << true;
    QTest::newRow(".xlsx: unreadable value") << xlsx << 4 << "#N/A" << true;
    QTest::newRow(".xlsx: unreadable boolean") << xlsx << 5 << "#N/A" << true;
    QTest::newRow(".xlsx: unreadable date") << xlsx << 6 << "#N/A" << true;
    QTest::newRow(".xlsx: error without its text") << xlsx << 7 << "#N/A" << true;
    QTest::newRow(".xlsx: saved empty text") << xlsx << 8 << "" << false;
    QTest::newRow(".xlsx: saved 0") << xlsx << 9 << "0" << false;
    QTest::newRow(".xlsx: saved FALSE") << xlsx << 10 << "0" << false;
    QTest::newRow(".xlsx: no formula, empty value") << xlsx << 11 << "" << false;
    QTest::newRow(".xlsx: no formula, no value") << xlsx << 12 << "" << false;

    const QString ods = QStringLiteral("формулы без значений.ods");
    QTest::newRow(".ods: no value") << ods << 0 << "#N/A" << true;
    QTest::newRow(".ods: no value, number") << ods << 1 << "#N/A" << true;
    QTest::newRow(".ods: unreadable number") << ods << 2 << "#N/A" << true;
    QTest::newRow(".ods: no value, boolean") << ods << 3 << "#N/A" << true;
    QTest::newRow(".ods: saved empty text") << ods << 4 << "" << false;
    QTest::newRow(".ods: saved 0") << ods << 5 << "0" << false;
    QTest::newRow(".ods: saved FALSE") << ods << 6 << "0" << false;
    QTest::newRow(".ods: no formula, no value") << ods << 7 << "" << false;
}

void TestOpenWorkbooks::formulaWithoutValue()
{
    QFETCH(QString, file);
    QFETCH(int, record);
    QFETCH(QString, text);
    QFETCH(bool, listed);

    const SheetReadResult result = readSheet(fixture(file), sheet, 2, ru);
    QCOMPARE(result.status, Status::Ok);
    QCOMPARE(result.records.at(record).at(1), text);
    QCOMPARE(result.cellErrors.contains(CellError { record, 1, text }), listed);
    if (!listed) // nothing else is listed for the cell
        for (const CellError &error : result.cellErrors)
            QVERIFY(error.record != record);
}

void TestOpenWorkbooks::failures_data()
{
    QTest::addColumn<QString>("file"); // in tests/fixtures, or made in a temporary folder
    QTest::addColumn<QString>("sheetName");
    QTest::addColumn<int>("requiredColumns");
    QTest::addColumn<Status>("status");

    QTest::newRow("no such sheet, .xlsx") << "таблица.xlsx"
                                          << "Лист2" << 2 << Status::SheetMissing;
    QTest::newRow("no such sheet, .ods") << "таблица.ods"
                                         << "Лист2" << 2 << Status::SheetMissing;
    QTest::newRow("sheet name compared exactly") << "таблица.ods"
                                                 << "лист1" << 2 << Status::SheetMissing;
    QTest::newRow("too few columns") << "таблица.xlsx"
                                     << "Лист1" << 11 << Status::TooFewColumns;
    QTest::newRow("truncated archive") << "обрезанный архив.xlsx"
                                       << "Лист1" << 2 << Status::Damaged;
    QTest::newRow("truncated archive, .ods") << "half of таблица.ods"
                                             << "Лист1" << 2 << Status::Damaged;
    QTest::newRow("zip bomb") << "zip-бомба.xlsx"
                              << "Лист1" << 2 << Status::Damaged;
    QTest::newRow("billion laughs") << "миллиард смехов.xlsx"
                                    << "Лист1" << 2 << Status::Damaged;
    QTest::newRow("200 MB sheet") << "лист в 200 МБ.xlsx"
                                  << "Лист1" << 2 << Status::FileTooLarge;
    QTest::newRow("text named .xlsx") << "text.xlsx"
                                      << "Лист1" << 2 << Status::NotAWorkbook;
}

void TestOpenWorkbooks::failures()
{
    QFETCH(QString, file);
    QFETCH(QString, sheetName);
    QFETCH(int, requiredColumns);
    QFETCH(Status, status);

    QTemporaryDir folder;
    QString path = fixture(file);
    if (file == QStringLiteral("half of таблица.ods")) {
        path = folder.filePath(QStringLiteral("таблица.ods"));
        QVERIFY(copyFixture(QStringLiteral("таблица.ods"), path, 4000));
    } else if (file == QStringLiteral("text.xlsx")) {
        path = folder.filePath(file);
        QFile text(path);
        QVERIFY(text.open(QIODevice::WriteOnly) && text.write("Марка;F2\n") > 0);
    }
    const SheetReadResult result = readSheet(path, sheetName, requiredColumns, ru);
    QCOMPARE(result.status, status);
    QVERIFY(result.records.isEmpty());
    QVERIFY(result.cellErrors.isEmpty());
}

void TestOpenWorkbooks::damagedTableCostsOnlyItself()
{
    const QList<kelsa::SheetRequest> requests {
        { fixture(QStringLiteral("zip-бомба.xlsx")), sheet, 2 },
        { fixture(QStringLiteral("таблица.ods")), sheet, 2 },
        { fixture(QStringLiteral("миллиард смехов.xlsx")), sheet, 2 },
        { fixture(QStringLiteral("таблица.xlsx")), sheet, 2 },
    };
    const QList<SheetReadResult> results = kelsa::readSheets(requests, ru);
    QCOMPARE(results[0].status, Status::Damaged);
    QCOMPARE(results[1].status, Status::Ok);
    QCOMPARE(results[1].records.first().at(2), QStringLiteral("1,7"));
    QCOMPARE(results[2].status, Status::Damaged);
    QCOMPARE(results[3].status, Status::Ok);
    QCOMPARE(results[3].records.first().at(2), QStringLiteral("1,7"));
}

void TestOpenWorkbooks::tenDamagedTablesReadQuickly()
{
    // The ten reference tables, each an .xlsx beside its missing .xls, all damaged.
    const QStringList damaged { QStringLiteral("zip-бомба.xlsx"),
        QStringLiteral("миллиард смехов.xlsx"), QStringLiteral("обрезанный архив.xlsx"),
        QStringLiteral("лист в 200 МБ.xlsx") };
    QTemporaryDir folder;
    QList<kelsa::SheetRequest> requests;
    for (const kelsa::ReferenceTable &table : kelsa::referenceTables()) {
        const QString excel97 = folder.filePath(QString::fromUtf8(table.fileName));
        QString xlsx = excel97;
        xlsx.chop(4);
        xlsx += QStringLiteral(".xlsx");
        QVERIFY(copyFixture(damaged[requests.size() % damaged.size()], xlsx));
        requests.append(
            { kelsa::workbookFile(excel97), kelsa::referenceSheetName(), table.requiredColumns() });
    }
    QElapsedTimer timer;
    timer.start();
    const QList<SheetReadResult> results = kelsa::readSheets(requests, ru);
    const qint64 elapsed = timer.elapsed();
    for (const SheetReadResult &result : results)
        QVERIFY2(result.status == Status::Damaged || result.status == Status::FileTooLarge,
            qPrintable(QString::number(int(result.status))));
    QVERIFY2(elapsed < 1000, qPrintable(QStringLiteral("%1 ms").arg(elapsed)));
}

void TestOpenWorkbooks::workbookFilePrefersXls_data()
{
    QTest::addColumn<QStringList>("present"); // extensions of "т11.1" in the folder
    QTest::addColumn<QString>("chosen");

    QTest::newRow("all three") << QStringList { "xls", "xlsx", "ods" } << "т11.1.xls";
    QTest::newRow(".xlsx and .ods") << QStringList { "xlsx", "ods" } << "т11.1.xlsx";
    QTest::newRow(".ods only") << QStringList { "ods" } << "т11.1.ods";
    QTest::newRow("none") << QStringList {} << "т11.1.xls";
}

void TestOpenWorkbooks::workbookFilePrefersXls()
{
    QFETCH(QStringList, present);
    QFETCH(QString, chosen);

    QTemporaryDir folder;
    for (const QString &extension : present) {
        QFile file(folder.filePath(QStringLiteral("т11.1.") + extension));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    QCOMPARE(
        kelsa::workbookFile(folder.filePath(QStringLiteral("т11.1.xls"))), folder.filePath(chosen));
}

QTEST_GUILESS_MAIN(TestOpenWorkbooks)
#include "test_openworkbooks.moc"
