// SPDX-License-Identifier: GPL-3.0-or-later
// The schedule's table as spreadsheets save it: the CSV reader and writer, the encodings a
// table comes in, and every way the reader refuses a table, with the line it names.
#include "core/batch/csvtable.h"
#include "core/batch/textencoding.h"

#include <QBuffer>
#include <QStringEncoder>
#include <QTest>

#include <cstring>

using namespace kelsa;

namespace
{

using Records = QList<QStringList>;

// A device that can be read once, front to back, as a pipe: the reader cannot look ahead
// through the whole of it.
class Stream : public QIODevice
{
public:
    explicit Stream(QByteArray bytes)
        : m_bytes(std::move(bytes))
    {
        open(QIODevice::ReadOnly);
    }
    bool isSequential() const override { return true; }
    qint64 bytesAvailable() const override
    {
        return m_bytes.size() - m_at + QIODevice::bytesAvailable();
    }

protected:
    qint64 readData(char *data, qint64 size) override
    {
        size = std::min(size, m_bytes.size() - m_at);
        std::memcpy(data, m_bytes.constData() + m_at, std::size_t(size));
        m_at += size;
        return size;
    }
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    QByteArray m_bytes;
    qint64 m_at = 0;
};

struct TableRead {
    Records records;
    QString error;
    qint64 line = 0;
    QChar separator;
    QByteArray lineBreak;
    QString encoding;
    bool mark = false;
};

// `encoding` is a name the reader is told ("" to let it tell); `stream` reads through Stream.
TableRead readTable(const QByteArray &bytes, qsizetype longest = kLongestCsvRecord,
    const QString &encoding = {}, bool stream = false)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    Stream pipe(bytes);
    QIODevice *device = stream ? static_cast<QIODevice *>(&pipe) : &buffer;
    std::optional<TextEncoding> forced;
    for (const TextEncoding known : { TextEncoding::Utf8, TextEncoding::Utf16LE,
             TextEncoding::Utf16BE, TextEncoding::Windows1251 })
        if (encodingName(known) == encoding)
            forced = known;
    CsvReader reader(device, longest, forced);
    TableRead read;
    QStringList cells;
    while (reader.readRecord(cells))
        read.records << cells;
    read.error = reader.error();
    read.line = reader.recordLine();
    read.separator = reader.separator();
    read.lineBreak = reader.lineBreak();
    read.encoding = encodingName(reader.encoding());
    read.mark = reader.hadByteOrderMark();
    return read;
}

QByteArray encoded(const QString &text, const char *encoding)
{
    QStringEncoder encoder(encoding);
    return encoder(text);
}

QByteArray cp1251(const QString &text)
{
    return encoded(text, "windows-1251");
}

QByteArray utf16le(const QString &text)
{
    return encoded(text, "UTF-16LE");
}

QByteArray utf16be(const QString &text)
{
    return encoded(text, "UTF-16BE");
}

// Lines of `length` x's, as many as make more than `bytes`.
QByteArray longLines(qsizetype bytes, qsizetype length = 1000)
{
    QByteArray lines;
    while (lines.size() <= bytes)
        lines += QByteArray(length, 'x') + '\n';
    return lines;
}

Records longLineRecords(qsizetype bytes, qsizetype length = 1000)
{
    return Records(longLines(bytes, length).count('\n'), { QString(length, QLatin1Char('x')) });
}

const QString kNotUtf8 = QStringLiteral("текст не в кодировке UTF-8 (таблицу, сохраненную в "
                                        "Windows-1251, читают с --encoding windows-1251)");
const QString kNotUtf16LE = QStringLiteral(
    "текст не в кодировке UTF-16LE: половина суррогатной пары или недостающий байт в конце");
const QString kNotUtf16BE = QStringLiteral(
    "текст не в кодировке UTF-16BE: половина суррогатной пары или недостающий байт в конце");

} // namespace

class TestCsvTable : public QObject
{
    Q_OBJECT

private slots:
    void reading_data();
    void reading();
    void malformedTables_data();
    void malformedTables();
    void recordLimits_data();
    void recordLimits();
    void encodings_data();
    void encodings();
    void encodingErrors_data();
    void encodingErrors();
    void utf8Validity_data();
    void utf8Validity();
    void encodingOutput_data();
    void encodingOutput();
    void writing_data();
    void writing();
    void rowsOfBytes_data();
    void rowsOfBytes();
};

void TestCsvTable::reading_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("separator");
    QTest::addColumn<Records>("records");
    QTest::addColumn<QByteArray>("lineBreak");

    QTest::newRow("commas") << QByteArray("a,b\n1,2\n") << ","
                            << Records { { "a", "b" }, { "1", "2" } } << QByteArray("\n");
    QTest::newRow("semicolons, decimal commas, CRLF")
        << QByteArray("a;b\r\n1,5;2\r\n") << ";" << Records { { "a", "b" }, { "1,5", "2" } }
        << QByteArray("\r\n");
    QTest::newRow("separators inside quotes do not count")
        << QByteArray("\"a;b;c\",d\n") << "," << Records { { "a;b;c", "d" } } << QByteArray("\n");
    QTest::newRow("quotes doubled, line breaks and separators quoted")
        << QByteArray("a;b\r\n\"say \"\"hi\"\"\";\"two\r\nlines; here\"\r\n") << ";"
        << Records { { "a", "b" }, { "say \"hi\"", "two\r\nlines; here" } } << QByteArray("\r\n");
    QTest::newRow("byte-order mark, blank lines, no final break")
        << QByteArray("\xEF\xBB\xBFsupport;x\n\n\r\n7;\xD0\xAF") << ";"
        << Records { { "support", "x" }, { "7", "Я" } } << QByteArray("\n");
    QTest::newRow("empty cells, trailing separator, quoted empty")
        << QByteArray("a,b,c\n,,\n\"\",x,\n") << ","
        << Records { { "a", "b", "c" }, { "", "", "" }, { "", "x", "" } } << QByteArray("\n");
    // Records longer than the reader's chunk of 64 KiB are read across its refills.
    const QByteArray wide = QByteArray(70000, 'w');
    QTest::newRow("a cell across chunks")
        << QByteArray("h\n\"" + wide + "\"\n" + wide + "\n") << ","
        << Records { { "h" }, { QString::fromLatin1(wide) }, { QString::fromLatin1(wide) } }
        << QByteArray("\n");
    // Older spreadsheets on the Mac end lines with a carriage return alone.
    QTest::newRow("CR alone, blank lines and no final break")
        << QByteArray("a;b\r1;2\r\r3;4") << ";"
        << Records { { "a", "b" }, { "1", "2" }, { "3", "4" } } << QByteArray("\r");
    QTest::newRow("CR alone after a quoted cell and inside one")
        << QByteArray("a;\"b\"\r\"x\ry\";2\r") << ";" << Records { { "a", "b" }, { "x\ry", "2" } }
        << QByteArray("\r");
    QTest::newRow("CR alone ends the record that chooses the separator")
        << QByteArray("a;b\r1,5;2,5\r3,5;4,5\r") << ";"
        << Records { { "a", "b" }, { "1,5", "2,5" }, { "3,5", "4,5" } } << QByteArray("\r");
    QTest::newRow("CR alone as the last byte")
        << QByteArray("a\rb\r") << "," << Records { { "a" }, { "b" } } << QByteArray("\r");
    QTest::newRow("the first line break decides")
        << QByteArray("a\r\nb\rc\nd") << "," << Records { { "a" }, { "b" }, { "c" }, { "d" } }
        << QByteArray("\r\n");
    // "\r\n" split by the end of a chunk is one line break, not two.
    const QByteArray filler(65536 - 4, 'f');
    QTest::newRow("CRLF across chunks, quoted")
        << QByteArray("h\n\"" + filler + "\r\nx\"\n") << ","
        << Records { { "h" }, { QString::fromLatin1(filler + "\r\nx") } } << QByteArray("\n");
    QTest::newRow("CRLF across chunks, unquoted")
        << QByteArray("h\r\n" + filler + "\r\nx\r\n") << ","
        << Records { { "h" }, { QString::fromLatin1(filler) }, { "x" } } << QByteArray("\r\n");
}

void TestCsvTable::reading()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, separator);
    QFETCH(Records, records);
    QFETCH(QByteArray, lineBreak);
    const TableRead read = readTable(bytes, 100000);
    QCOMPARE(read.records, records);
    QCOMPARE(read.error, QString());
    QCOMPARE(read.separator, separator.front());
    QCOMPARE(read.lineBreak, lineBreak);
}

void TestCsvTable::malformedTables_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("recordsRead");
    QTest::addColumn<qint64>("line");
    QTest::addColumn<QString>("error");

    const QString unclosed = QStringLiteral("открытая здесь кавычка не закрыта");
    QTest::newRow("unclosed quote")
        << QByteArray("a,b\n1,2\n3,\"4\n5\n") << 2 << qint64(3) << unclosed;
    QTest::newRow("text after a closing quote") << QByteArray("a,b\n\"1\"x,2\n") << 1 << qint64(2)
                                                << "ячейка продолжается после закрывающей кавычки";
    QTest::newRow("a line over the limit, unquoted")
        << QByteArray("a\n" + QByteArray(1500, 'x') + "\n") << 1 << qint64(2)
        << "строка слишком длинная (запись длиннее 1000 байт)";
    QTest::newRow("a line over the limit, quoted across lines")
        << QByteArray("a\nb\n\"" + QByteArray(600, '\n') + QByteArray(600, 'x') + "\"\n") << 2
        << qint64(3) << "строка слишком длинная (запись длиннее 1000 байт)";
    // Line breaks inside quoted cells and blank lines count in the line an error names.
    QTest::newRow("quoted LF before the error")
        << QByteArray("a;b\n\"1\n2\n3\";x\n\n5;\"6\n") << 2 << qint64(6) << unclosed;
    QTest::newRow("quoted CRLF before the error")
        << QByteArray("a;b\r\n\"1\r\n2\";x\r\n\r\n5;\"6\r\n") << 2 << qint64(5) << unclosed;
    QTest::newRow("quoted CR alone before the error")
        << QByteArray("a;b\r\"1\r2\r\";x\r\r5;\"6\r") << 2 << qint64(6) << unclosed;
    QTest::newRow("an unclosed quote on a CR-only line")
        << QByteArray("a\r1\r\"2\r3\r") << 2 << qint64(3) << unclosed;
    QTest::newRow("text after a closing quote on a CR-only line") << QByteArray(
        "a\r1\r\"2\"3\r") << 2 << qint64(3) << "ячейка продолжается после закрывающей кавычки";
}

void TestCsvTable::malformedTables()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, recordsRead);
    QFETCH(qint64, line);
    QFETCH(QString, error);
    const TableRead read = readTable(bytes, 1000);
    QCOMPARE(read.records.size(), recordsRead);
    QCOMPARE(read.line, line);
    QCOMPARE(read.error, error);
}

void TestCsvTable::recordLimits_data()
{
    QTest::addColumn<QByteArray>("record"); // the second line of a table, after its header
    QTest::addColumn<qsizetype>("longest");
    QTest::addColumn<QString>("error"); // empty when the record is read

    const QString tooLong = QStringLiteral("строка слишком длинная (запись длиннее %1 байт)");
    // The line break is no part of the record's length; quotes and separators are.
    QTest::newRow("unquoted, at the limit") << QByteArray(1000, 'x') << qsizetype(1000) << "";
    QTest::newRow("unquoted, a byte over")
        << QByteArray(1001, 'x') << qsizetype(1000) << tooLong.arg(1000);
    QTest::newRow("quoted, at the limit")
        << QByteArray("\"" + QByteArray(998, 'x') + "\"") << qsizetype(1000) << "";
    QTest::newRow("quoted, a byte over")
        << QByteArray("\"" + QByteArray(999, 'x') + "\"") << qsizetype(1000) << tooLong.arg(1000);
    QTest::newRow("cells, at the limit")
        << QByteArray("1," + QByteArray(998, 'x')) << qsizetype(1000) << "";
    QTest::newRow("cells, a byte over")
        << QByteArray("1," + QByteArray(999, 'x')) << qsizetype(1000) << tooLong.arg(1000);
    // Past the reader's chunk of 64 KiB the record is gathered across refills.
    QTest::newRow("across chunks, at the limit")
        << QByteArray(70000, 'x') << qsizetype(70000) << "";
    QTest::newRow("across chunks, a byte over")
        << QByteArray(70001, 'x') << qsizetype(70000) << tooLong.arg(70000);
    QTest::newRow("the program's limit, at it")
        << QByteArray(kLongestCsvRecord, 'x') << kLongestCsvRecord << "";
    QTest::newRow("the program's limit, a byte over") << QByteArray(kLongestCsvRecord + 1,
        'x') << kLongestCsvRecord << tooLong.arg(kLongestCsvRecord);
    // Cells: 10,000 to a record at most.
    const QString tooWide = QStringLiteral("в строке больше 10000 ячеек");
    QTest::newRow("10,000 cells") << QByteArray(9999, ',') << kLongestCsvRecord << "";
    QTest::newRow("10,001 cells") << QByteArray(10000, ',') << kLongestCsvRecord << tooWide;
    QTest::newRow("10,001 cells, the last quoted")
        << QByteArray(10000, ',') + "\"x\"" << kLongestCsvRecord << tooWide;
    QTest::newRow("a million cells") << QByteArray(1000000, ',') << kLongestCsvRecord << tooWide;
}

void TestCsvTable::recordLimits()
{
    QFETCH(QByteArray, record);
    QFETCH(qsizetype, longest);
    QFETCH(QString, error);
    // The same record as the header's next line, and as the header itself.
    for (const QByteArray &table : { "h\n" + record + "\nlast\n", record + "\nlast\n" }) {
        const TableRead read = readTable(table, longest);
        const qint64 line = table.startsWith("h\n") ? 2 : 1;
        QCOMPARE(read.error, error);
        if (error.isEmpty()) {
            QCOMPARE(read.records.size(), line + 1);
            QCOMPARE(read.records.last(), QStringList { "last" });
        } else {
            QCOMPARE(read.records.size(), line - 1);
            QCOMPARE(read.line, line);
        }
    }
}

void TestCsvTable::encodings_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("forced"); // the encoding the reader is told; "" for none
    QTest::addColumn<bool>("stream");
    QTest::addColumn<Records>("records");
    QTest::addColumn<QString>("encoding");
    QTest::addColumn<bool>("mark");

    const QString text = QStringLiteral("Опора;section\r\n12;Прямая\r\n");
    const Records records { { "Опора", "section" }, { "12", "Прямая" } };
    QTest::newRow("UTF-8") << text.toUtf8() << "" << false << records << "UTF-8" << false;
    QTest::newRow("UTF-8 with its mark")
        << "\xEF\xBB\xBF" + text.toUtf8() << "" << false << records << "UTF-8" << true;
    QTest::newRow("UTF-16LE by its mark")
        << "\xFF\xFE" + utf16le(text) << "" << false << records << "UTF-16LE" << true;
    QTest::newRow("UTF-16BE by its mark")
        << "\xFE\xFF" + utf16be(text) << "" << false << records << "UTF-16BE" << true;
    QTest::newRow("Windows-1251, not being UTF-8")
        << cp1251(text) << "" << false << records << "Windows-1251" << false;
    // The whole table decides: ASCII as far as the first chunk and beyond, then a line of
    // Windows-1251.
    QTest::newRow("Windows-1251 after a megabyte of ASCII")
        << longLines(1 << 20) + cp1251(QStringLiteral("Опора\r\nПрямая\r\n")) << "" << false
        << longLineRecords(1 << 20) + Records { { "Опора" }, { "Прямая" } } << "Windows-1251"
        << false;
    // A mark is the table's own word: it is read past only for the encoding it marks.
    QTest::newRow("told UTF-8, with its mark")
        << "\xEF\xBB\xBF" + text.toUtf8() << "UTF-8" << false << records << "UTF-8" << true;
    QTest::newRow("told Windows-1251, UTF-8 is read as it")
        << text.toUtf8() << "Windows-1251" << false
        << Records { { "РћРїРѕСЂР°", "section" }, { "12", "РџСЂСЏРјР°СЏ" } } << "Windows-1251"
        << false;
    QTest::newRow("told Windows-1251, a UTF-8 mark is text")
        << "\xEF\xBB\xBF" + QByteArray("a\n") << "Windows-1251" << false << Records { { "п»їa" } }
        << "Windows-1251" << false;
    // Every byte of Windows-1251 is a character: the one unassigned, 0x98, too.
    QTest::newRow("Windows-1251, unassigned 0x98")
        << QByteArray("a\n\xE0\x98\n") << "" << false << Records { { "a" }, { "а\u0098" } }
        << "Windows-1251" << false;
    QTest::newRow("a stream of UTF-8")
        << text.toUtf8() << "" << true << records << "UTF-8" << false;
    QTest::newRow("a stream of UTF-16LE")
        << "\xFF\xFE" + utf16le(text) << "" << true << records << "UTF-16LE" << true;
    // A pair of UTF-16 code units cut by the end of a chunk of 64 KiB: the mark, "h\n", then
    // 32,765 letters put the first half last in the first chunk.
    const QString wide = QString(32765, QLatin1Char('a')) + QStringLiteral("𝔸");
    QTest::newRow("UTF-16LE, a pair across chunks")
        << "\xFF\xFE" + utf16le(QStringLiteral("h\n") + wide + QStringLiteral("\nb\n")) << ""
        << false << Records { { "h" }, { wide }, { "b" } } << "UTF-16LE" << true;
    QTest::newRow("UTF-8, a letter across chunks")
        << QByteArray("h\n" + QByteArray(65536 - 3, 'a') + "Я\n") << "" << false
        << Records { { "h" }, { QString(65536 - 3, QLatin1Char('a')) + QStringLiteral("Я") } }
        << "UTF-8" << false;
}

void TestCsvTable::encodings()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, forced);
    QFETCH(bool, stream);
    QFETCH(Records, records);
    QFETCH(QString, encoding);
    QFETCH(bool, mark);
    const TableRead read = readTable(bytes, kLongestCsvRecord, forced, stream);
    QCOMPARE(read.error, QString());
    QCOMPARE(read.records, records);
    QCOMPARE(read.encoding, encoding);
    QCOMPARE(read.mark, mark);
}

void TestCsvTable::encodingErrors_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("forced");
    QTest::addColumn<bool>("stream");
    QTest::addColumn<int>("recordsRead");
    QTest::addColumn<qint64>("line");
    QTest::addColumn<QString>("error");

    const QByteArray russian = cp1251(QStringLiteral("Опора"));
    // Nothing is read before the error when it is in the first chunk: no row is computed
    // from text that is not what the table says.
    QTest::newRow("told UTF-8, Windows-1251") << "a\nb\n" + russian + "\n"
                                              << "UTF-8" << false << 0 << qint64(3) << kNotUtf8;
    QTest::newRow("told UTF-8, after quoted line breaks")
        << "a\n\"b\r\nc\rd\"\n\n" + russian << "UTF-8" << false << 0 << qint64(6) << kNotUtf8;
    QTest::newRow("told UTF-8, after a CR alone at the end of a line")
        << "a\r" + russian << "UTF-8" << false << 0 << qint64(2) << kNotUtf8;
    QTest::newRow("told UTF-8, in a later chunk")
        << longLines(100000) + "x\n" + russian << "UTF-8" << false << 65 << qint64(102) << kNotUtf8;
    QTest::newRow("a UTF-8 mark, then Windows-1251") << "\xEF\xBB\xBF"
                                                        "a\n"
            + russian << "" << false << 0 << qint64(2)
                                                     << kNotUtf8;
    QTest::newRow("a UTF-8 mark, a letter cut at the end") << QByteArray(
        "\xEF\xBB\xBF"
        "a\nb\xD0") << "" << false << 1 << qint64(2) << kNotUtf8;
    QTest::newRow("a stream of Windows-1251")
        << "a\n" + russian << "" << true << 0 << qint64(2) << kNotUtf8;
    QTest::newRow("told UTF-8, an overlong zero")
        << QByteArray("a\n\xC0\x80\n") << "UTF-8" << false << 0 << qint64(2) << kNotUtf8;
    QTest::newRow("told UTF-8, a surrogate")
        << QByteArray("a\n\xED\xA0\x80\n") << "UTF-8" << false << 0 << qint64(2) << kNotUtf8;
    QTest::newRow("told UTF-8, past U+10FFFF")
        << QByteArray("a\n\xF4\x90\x80\x80\n") << "UTF-8" << false << 0 << qint64(2) << kNotUtf8;
    QTest::newRow("UTF-16LE, an odd byte at the end")
        << "\xFF\xFE" + utf16le(QStringLiteral("a\nb")) + "x"
        << "" << false << 1 << qint64(2) << kNotUtf16LE;
    QTest::newRow("UTF-16LE, a second half alone")
        << "\xFF\xFE" + utf16le(QStringLiteral("a\n")) + QByteArray("\x00\xDC", 2) << "" << false
        << 0 << qint64(2) << kNotUtf16LE;
    QTest::newRow("UTF-16LE, a first half at the end")
        << "\xFF\xFE" + utf16le(QStringLiteral("a\nb")) + QByteArray("\x00\xD8", 2) << "" << false
        << 1 << qint64(2) << kNotUtf16LE;
    QTest::newRow("UTF-16BE, a first half before a letter")
        << "\xFE\xFF" + utf16be(QStringLiteral("a\n")) + QByteArray("\xD8\x00\x00x", 4) << ""
        << false << 0 << qint64(2) << kNotUtf16BE;
}

void TestCsvTable::encodingErrors()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, forced);
    QFETCH(bool, stream);
    QFETCH(int, recordsRead);
    QFETCH(qint64, line);
    QFETCH(QString, error);
    const TableRead read = readTable(bytes, kLongestCsvRecord, forced, stream);
    QCOMPARE(read.error, error);
    QCOMPARE(read.line, line);
    QCOMPARE(read.records.size(), recordsRead);
    for (const QStringList &record : read.records)
        for (const QString &cell : record)
            QVERIFY2(!cell.contains(QChar::ReplacementCharacter), qPrintable(cell));
}

void TestCsvTable::utf8Validity_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<qsizetype>("valid"); // the length of the well-formed start

    // Each boundary of the well-formed ranges from both sides.
    QTest::newRow("ASCII, more than a word") << QByteArray("0123456789abcdef!") << qsizetype(17);
    QTest::newRow("U+007F") << QByteArray("\x7F") << qsizetype(1);
    QTest::newRow("a continuation byte alone") << QByteArray("\x80") << qsizetype(0);
    QTest::newRow("C1: overlong U+007F") << QByteArray("\xC1\xBF") << qsizetype(0);
    QTest::newRow("U+0080") << QByteArray("\xC2\x80") << qsizetype(2);
    QTest::newRow("U+07FF") << QByteArray("\xDF\xBF") << qsizetype(2);
    QTest::newRow("E0 9F: overlong") << QByteArray("\xE0\x9F\xBF") << qsizetype(0);
    QTest::newRow("U+0800") << QByteArray("\xE0\xA0\x80") << qsizetype(3);
    QTest::newRow("U+D7FF") << QByteArray("\xED\x9F\xBF") << qsizetype(3);
    QTest::newRow("U+D800, a surrogate") << QByteArray("\xED\xA0\x80") << qsizetype(0);
    QTest::newRow("U+DFFF, a surrogate") << QByteArray("\xED\xBF\xBF") << qsizetype(0);
    QTest::newRow("U+E000") << QByteArray("\xEE\x80\x80") << qsizetype(3);
    QTest::newRow("U+FFFF") << QByteArray("\xEF\xBF\xBF") << qsizetype(3);
    QTest::newRow("F0 8F: overlong") << QByteArray("\xF0\x8F\xBF\xBF") << qsizetype(0);
    QTest::newRow("U+10000") << QByteArray("\xF0\x90\x80\x80") << qsizetype(4);
    QTest::newRow("U+10FFFF") << QByteArray("\xF4\x8F\xBF\xBF") << qsizetype(4);
    QTest::newRow("U+110000") << QByteArray("\xF4\x90\x80\x80") << qsizetype(0);
    QTest::newRow("F5") << QByteArray("\xF5\x80\x80\x80") << qsizetype(0);
    QTest::newRow("FF") << QByteArray("\xFF") << qsizetype(0);
    QTest::newRow("a continuation missing") << QByteArray("a\xE2\x82"
                                                          "b")
                                            << qsizetype(1);
    QTest::newRow("cut at the end") << QByteArray("ab\xF0\x9F\x98") << qsizetype(2);
    QTest::newRow("a bad byte after a word of ASCII")
        << QByteArray("abcdefgh\xD0\xAF\xFF") << qsizetype(10);
}

void TestCsvTable::utf8Validity()
{
    QFETCH(QByteArray, bytes);
    QFETCH(qsizetype, valid);
    QCOMPARE(validUtf8Length(bytes.constData(), bytes.size()), valid);
}

void TestCsvTable::encodingOutput_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("encoding");
    QTest::addColumn<QByteArray>("bytes"); // empty when it cannot be written
    QTest::addColumn<QString>("unwritable"); // the first character it has no code for

    QTest::newRow("UTF-8 as it is") << "Опора ✓"
                                    << "UTF-8" << QByteArray("Опора ✓") << "";
    QTest::newRow("Windows-1251") << "Опора №1, Ёж"
                                  << "Windows-1251"
                                  << QByteArray("\xCE\xEF\xEE\xF0\xE0 \xB9\x31, \xA8\xE6") << "";
    QTest::newRow("Windows-1251, the euro and 0x98")
        << "€\u0098"
        << "Windows-1251" << QByteArray("\x88\x98") << "";
    // ICU writes 0x1A for a character Windows-1251 has no code for: refused instead.
    QTest::newRow("Windows-1251, no code for a tick")
        << "a✓b"
        << "Windows-1251" << QByteArray() << "U+2713 «✓»";
    QTest::newRow("Windows-1251, no code for the Arabic decimal separator")
        << "Я 191٫3"
        << "Windows-1251" << QByteArray() << "U+066B «٫»";
    QTest::newRow("Windows-1251, no code for a letter past U+FFFF")
        << "a𝔸"
        << "Windows-1251" << QByteArray() << "U+1D538 «𝔸»";
    QTest::newRow("UTF-16LE, a pair") << "a𝔸"
                                      << "UTF-16LE" << QByteArray("a\x00\x35\xD8\x38\xDD", 6) << "";
    QTest::newRow("UTF-16BE") << "Я"
                              << "UTF-16BE" << QByteArray("\x04\x2F", 2) << "";
}

void TestCsvTable::encodingOutput()
{
    QFETCH(QString, text);
    QFETCH(QString, encoding);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, unwritable);
    std::optional<TextEncoding> known;
    for (const TextEncoding each : { TextEncoding::Utf8, TextEncoding::Utf16LE,
             TextEncoding::Utf16BE, TextEncoding::Windows1251 })
        if (encodingName(each) == encoding)
            known = each;
    QVERIFY(known);
    const std::optional<QByteArray> out = encodeUtf8(text.toUtf8(), *known);
    QCOMPARE(out.value_or(QByteArray()), bytes);
    QCOMPARE(out.has_value(), unwritable.isEmpty());
    QCOMPARE(firstUnwritable(text.toUtf8(), *known), unwritable);
}

void TestCsvTable::writing_data()
{
    QTest::addColumn<QString>("separator");
    QTest::addColumn<QStringList>("cells");
    QTest::addColumn<QByteArray>("bytes");

    QTest::newRow("plain") << ";" << QStringList { "1,5", "Прямая", "" }
                           << QByteArray("1,5;Прямая;\r\n");
    QTest::newRow("the separator quoted")
        << "," << QStringList { "1,5", "2" } << QByteArray("\"1,5\",2\r\n");
    QTest::newRow("quotes doubled, line breaks kept")
        << ";" << QStringList { "a \"b\"", "c\nd" } << QByteArray("\"a \"\"b\"\"\";\"c\nd\"\r\n");
    QTest::newRow("a CR alone quoted")
        << ";" << QStringList { "c\rd" } << QByteArray("\"c\rd\"\r\n");
}

void TestCsvTable::writing()
{
    QFETCH(QString, separator);
    QFETCH(QStringList, cells);
    QFETCH(QByteArray, bytes);
    std::string written;
    appendCsvRecord(written, cells, separator.front().toLatin1(), "\r\n");
    QCOMPARE(QByteArray::fromStdString(written), bytes);
    QCOMPARE(readTable("h" + separator.toLatin1() + "\n" + bytes).records.value(1),
        cells); // and it reads back
}

void TestCsvTable::rowsOfBytes_data()
{
    QTest::addColumn<QByteArray>("table");
    QTest::addColumn<Records>("kept"); // the records in the rows when reading stops
    QTest::addColumn<bool>("failed");

    QTest::newRow("quotes off, empty cells kept")
        << QByteArray("a;\"b;c\";\n\"\"\"\";ё\n") << Records { { "a", "b;c", "" }, { "\"", "ё" } }
        << false;
    QTest::newRow("the last record without a line break")
        << QByteArray("a\r\nb") << Records { { "a" }, { "b" } } << false;
    QTest::newRow("an unclosed quote adds nothing of its record")
        << QByteArray("a;b\nc;\"d\n") << Records { { "a", "b" } } << true;
    QTest::newRow("a record of too many cells adds nothing of it")
        << QByteArray("a;b\n") + QByteArray(kMostCsvCells, ';') + "\n"
        << Records { { "a", "b" } } << true;
}

// Records read into one CsvRows, as the batch reads a chunk: each record's cells are its
// bytes, and a record that fails leaves the ones before it as they were.
void TestCsvTable::rowsOfBytes()
{
    QFETCH(QByteArray, table);
    QFETCH(Records, kept);
    QFETCH(bool, failed);
    QBuffer buffer(&table);
    buffer.open(QIODevice::ReadOnly);
    CsvReader reader(&buffer);
    CsvRows rows;
    while (reader.readRecord(rows)) { }
    QCOMPARE(!reader.error().isEmpty(), failed);
    QCOMPARE(rows.size(), kept.size());
    for (qsizetype row = 0; row < rows.size(); ++row) {
        QCOMPARE(rows.cellCount(row), kept[row].size());
        for (qsizetype k = 0; k < rows.cellCount(row); ++k) {
            const std::string_view cell = rows.cell(row, k);
            QCOMPARE(QByteArray(cell.data(), qsizetype(cell.size())), kept[row][k].toUtf8());
        }
    }
}

QTEST_GUILESS_MAIN(TestCsvTable)
#include "test_csvtable.moc"
