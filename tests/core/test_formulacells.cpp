// SPDX-License-Identifier: GPL-3.0-or-later
// Formula cells of reference tables: the reader shows the value the spreadsheet saved with
// each formula, or the error the cell shows. The workbooks are made by
// tools/make_formula_workbooks.py (tests/fixtures).
#include "core/numbers/numbertext.h"
#include "core/tables/biffformulas.h"
#include "core/tables/workbookreader.h"

#include "support/fixtures.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>

using kelsa::SheetReadResult;
using Status = SheetReadResult::Status;

static const QLocale ru(QLocale::Russian, QLocale::Russia);
using kelsa::test::fixture;
using kelsa::test::sheet;

static QByteArray fixtureBytes(const QString &name)
{
    QFile file(fixture(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

static std::uint32_t little32(const QByteArray &bytes, qsizetype at)
{
    std::uint32_t value = 0;
    for (int i = 0; i < 4; ++i)
        value |= std::uint32_t(static_cast<unsigned char>(bytes[at + i])) << (8 * i);
    return value;
}

static void putLittle(QByteArray &bytes, qsizetype at, std::uint32_t value, int size)
{
    for (int i = 0; i < size; ++i)
        bytes[at + i] = char(value >> (8 * i));
}

// Ways of spoiling формулы.xls, whose workbook stream lies in the mini stream, which lies in
// consecutive sectors of the file, so that its records can be found in the file's bytes.
enum class Spoil { Nothing, DirectoryChainLoops, SheetBeyondStream, CutShort };

// Where the STRING record of the text formula "М-95" (4 characters as UTF-16) starts in the
// bytes of формулы.xls: its type 0x0207, its length 11, its count of characters and its flags.
static qsizetype stringRecordOfText(const QByteArray &bytes)
{
    return bytes.indexOf(QByteArray("\x07\x02\x0b\x00\x04\x00\x01", 7));
}

class TestFormulaCells : public QObject
{
    Q_OBJECT

private slots:
    void savedValues_data();
    void savedValues();
    void spoiltWorkbookStream_data();
    void spoiltWorkbookStream();
    void unreadableTextResult_data();
    void unreadableTextResult();
};

void TestFormulaCells::savedValues_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("record");
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("error"); // listed in cellErrors

    const QString formulas = QStringLiteral("формулы.xls");
    QTest::newRow("value beside formulas") << formulas << 0 << 2 << "0,85" << false;
    // The first sheet holds the text formula "Сводка" in this cell.
    QTest::newRow("saved number, full precision")
        << formulas << 1 << 2 << kelsa::writeNumber(0.0009 * M_PI * 5 * (11.8 + 5), ru) << false;
    QTest::newRow("saved whole number") << formulas << 2 << 2 << "6" << false;
    QTest::newRow("saved text") << formulas << 3 << 2 << "М-95" << false;
    QTest::newRow("saved empty text") << formulas << 4 << 2 << "" << false;
    QTest::newRow("TRUE is 1") << formulas << 5 << 2 << "1" << false;
    QTest::newRow("FALSE is 0") << formulas << 6 << 2 << "0" << false;
    const char *errors[] = { "#NULL!", "#DIV/0!", "#VALUE!", "#REF!", "#NAME?", "#NUM!", "#N/A" };
    for (int i = 0; i < 7; ++i)
        QTest::addRow("error %s", errors[i]) << formulas << 7 + i << 2 << errors[i] << true;

    const QString spoilt = QStringLiteral("формула без значения.xls");
    QTest::newRow("result of no known kind") << spoilt << 1 << 2 << "#N/A" << true;
    QTest::newRow("text result without its record") << spoilt << 3 << 2 << "#N/A" << true;
    QTest::newRow("sound neighbour of spoilt ones") << spoilt << 2 << 2 << "6" << false;
    // Formulas filled down a column, saved as shared formulas.
    const QString filled = QStringLiteral("общие формулы.xls");
    QTest::newRow("shared formula, first cell") << filled << 0 << 3 << "190" << false;
    QTest::newRow("shared formula text after its SHRFMLA") << filled << 0 << 4 << "М-95" << false;
    QTest::newRow("shared formula text, last cell") << filled << 3 << 4 << "М-185" << false;
    QTest::newRow("text continued in a CONTINUE record")
        << QStringLiteral("текст формулы с продолжением.xls") << 3 << 2 << "М-95" << false;
}

void TestFormulaCells::savedValues()
{
    QFETCH(QString, file);
    QFETCH(int, record);
    QFETCH(int, field);
    QFETCH(QString, text);
    QFETCH(bool, error);

    const SheetReadResult result = kelsa::readSheet(fixture(file), sheet, 2, ru);
    QCOMPARE(result.status, Status::Ok);
    QVERIFY(record < result.records.size());
    QCOMPARE(result.records.at(record).at(field - 1), text);
    QList<SheetReadResult::CellError> here;
    for (const SheetReadResult::CellError &cellError : result.cellErrors)
        if (cellError.record == record && cellError.column == field - 1)
            here.append(cellError);
    QCOMPARE(here.size(), error ? 1 : 0);
    if (error)
        QCOMPARE(here.first().text, text);
}

void TestFormulaCells::spoiltWorkbookStream_data()
{
    QTest::addColumn<Spoil>("spoil");
    QTest::addColumn<int>("values"); // formula cells of Лист1 read
    QTest::addColumn<QString>("text"); // of the text formula, "" when it is not read

    QTest::newRow("sound") << Spoil::Nothing << 13 << "М-95";
    QTest::newRow("directory chain loops") << Spoil::DirectoryChainLoops << 0 << "";
    QTest::newRow("sheet beyond the stream") << Spoil::SheetBeyondStream << 0 << "";
    QTest::newRow("file cut short") << Spoil::CutShort << 0 << "";
}

// The formula reader alone, in this process: whatever the damage, it returns.
void TestFormulaCells::spoiltWorkbookStream()
{
    QFETCH(Spoil, spoil);
    QFETCH(int, values);
    QFETCH(QString, text);

    QByteArray bytes = fixtureBytes(QStringLiteral("формулы.xls"));
    QVERIFY(bytes.size() > 512);
    switch (spoil) {
    case Spoil::Nothing:
        break;
    case Spoil::DirectoryChainLoops: { // the directory's sector leads to itself
        const std::uint32_t directory = little32(bytes, 0x30);
        putLittle(bytes, (qsizetype(little32(bytes, 0x4c)) + 1) * 512 + 4 * qsizetype(directory),
            directory, 4);
        break;
    }
    case Spoil::SheetBeyondStream: { // the BOUNDSHEET record of Лист1, named in UTF-16
        const QByteArray name = QByteArray("\x05\x01\x1b\x04\x38\x04\x41\x04\x42\x04\x31\x00", 12);
        const qsizetype at = bytes.indexOf(name);
        QVERIFY(at > 0);
        putLittle(bytes, at - 6, 0xffffff00, 4);
        break;
    }
    case Spoil::CutShort:
        bytes.truncate(bytes.size() / 2);
        break;
    }

    const kelsa::FormulaValues read = kelsa::readFormulaValues(
        std::string_view(bytes.constData(), std::size_t(bytes.size())), "Лист1", 65536, 26);
    QCOMPARE(int(read.size()), values);
    const auto textCell = read.find(kelsa::formulaCell(4, 1));
    QCOMPARE(
        textCell == read.end() ? QString() : QString::fromStdString(textCell->second.text), text);
}

// A text result whose STRING record claims more than it holds has no usable value: the cell
// shows "#N/A" and is listed, as for a formula saved without a value, never as an empty text
// (which a look-up would copy and a moment count as 0).
void TestFormulaCells::unreadableTextResult_data()
{
    QTest::addColumn<int>("characters"); // the count the record claims; -1: as saved (4)
    QTest::addColumn<int>("recordBytes"); // the record's length; -1: as saved (11)
    QTest::addColumn<QString>("text");
    QTest::addColumn<Status>("table"); // as readSheet() reads it

    QTest::newRow("its own 4 characters") << 4 << -1 << "М-95" << Status::Ok;
    QTest::newRow("5 characters, one past its record") << 5 << -1 << "#N/A" << Status::Ok;
    QTest::newRow("65,535 characters") << 65535 << -1 << "#N/A" << Status::Ok;
    // The walk through the sheet's records ends at it: the text never comes. FreeXL refuses
    // the whole workbook for it.
    QTest::newRow("a record of 65,535 bytes") << -1 << 65535 << "#N/A" << Status::Damaged;
}

void TestFormulaCells::unreadableTextResult()
{
    QFETCH(int, characters);
    QFETCH(int, recordBytes);
    QFETCH(QString, text);
    QFETCH(Status, table);

    QByteArray bytes = fixtureBytes(QStringLiteral("формулы.xls"));
    const qsizetype at = stringRecordOfText(bytes);
    QVERIFY(at > 0);
    if (characters >= 0)
        putLittle(bytes, at + 4, std::uint32_t(characters), 2);
    if (recordBytes >= 0)
        putLittle(bytes, at + 2, std::uint32_t(recordBytes), 2);
    const bool error = text.startsWith(QLatin1Char('#'));

    // The formula reader alone: the cell of "Текст" in column F2.
    const kelsa::FormulaValues read = kelsa::readFormulaValues(
        std::string_view(bytes.constData(), std::size_t(bytes.size())), "Лист1", 65536, 26);
    const auto cell = read.find(kelsa::formulaCell(4, 1));
    QVERIFY(cell != read.end());
    QCOMPARE(QString::fromStdString(cell->second.text), text);
    QCOMPARE(cell->second.kind,
        error ? kelsa::FormulaValue::Kind::Error : kelsa::FormulaValue::Kind::Text);

    // The table as the window reads it.
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("т11.1.xls"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
    file.close();
    const SheetReadResult result = kelsa::readSheet(path, sheet, 2, ru);
    QCOMPARE(result.status, table);
    if (table != Status::Ok)
        return;
    QCOMPARE(result.records.at(3).at(1), text);
    const SheetReadResult::CellError listed { 3, 1, text };
    QCOMPARE(result.cellErrors.contains(listed), error);
}

QTEST_GUILESS_MAIN(TestFormulaCells)
#include "test_formulacells.moc"
