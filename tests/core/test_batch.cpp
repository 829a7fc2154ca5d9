// SPDX-License-Identifier: GPL-3.0-or-later
// Schedules of supports: the CSV reader and writer as spreadsheets save tables, and the batch
// run that computes one support per row, with bad rows and malformed tables.
#include "core/batch/batchfiles.h"
#include "core/batch/csvtable.h"

#include <QBuffer>
#include <QTemporaryDir>
#include <QTest>

using namespace kelsa;

namespace
{

using Records = QList<QStringList>;

const QLocale ru(QLocale::Russian, QLocale::Russia);

struct TableRead {
    Records records;
    QString error;
    qint64 line = 0;
    QChar separator;
    QByteArray lineBreak;
};

TableRead readTable(const QByteArray &bytes, qsizetype longest = kLongestCsvRecord)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    CsvReader reader(&buffer, longest);
    TableRead read;
    QStringList cells;
    while (reader.readRecord(cells))
        read.records << cells;
    read.error = reader.error();
    read.line = reader.recordLine();
    read.separator = reader.separator();
    read.lineBreak = reader.lineBreak();
    return read;
}

// The worked example of the help page, one support per section (the outer and inner curve
// with Tpr 800 and R 1000), as a Russian spreadsheet saves it; the moments are the engine
// tests' figures for it.
const QByteArray kHeader = "support;section;Prolet;txtVm;Text1;Text2;Text3;Text4;Text5;txtLp;"
                           "txtGp;txtGpr;txtGnv;txtPkv;txtPprv;txtSum1;txtSum2;txtSum3;txtSum4;"
                           "txtSum5\r\n";
const QByteArray kLoads = "2;1;0,5;0,4;0,3;2;1;0,5;0,4;0,3";
const QStringList kTransition { "581,184", "-2206,484", "838,2537", "320,8213", "903", "-2738,3",
    "762,0825", "186,9925" };

const QStringList kTransitionLabels { "Label10", "Label18", "Label26", "Label27", "Label28",
    "Label29", "Label30", "Label31" };

// The errors cell when each of `labels` has no value for the same reason.
QString errors(const QStringList &labels, const QString &why)
{
    QStringList each;
    for (const QString &label : labels)
        each << label + QStringLiteral(": ") + why;
    return each.join(QStringLiteral("; "));
}

QStringList moments(const QString &ice, const QString &wind)
{
    return QStringList { ice, wind } + kTransition;
}

} // namespace

class TestBatch : public QObject
{
    Q_OBJECT

private slots:
    void reading_data();
    void reading();
    void malformedTables_data();
    void malformedTables();
    void writing_data();
    void writing();
    void rows_data();
    void rows();
    void stoppedRuns_data();
    void stoppedRuns();
};

void TestBatch::reading_data()
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
}

void TestBatch::reading()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, separator);
    QFETCH(Records, records);
    QFETCH(QByteArray, lineBreak);
    const TableRead read = readTable(bytes);
    QCOMPARE(read.records, records);
    QCOMPARE(read.error, QString());
    QCOMPARE(read.separator, separator.front());
    QCOMPARE(read.lineBreak, lineBreak);
}

void TestBatch::malformedTables_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("recordsRead");
    QTest::addColumn<qint64>("line");
    QTest::addColumn<QString>("error");

    QTest::newRow("unclosed quote") << QByteArray("a,b\n1,2\n3,\"4\n5\n") << 2 << qint64(3)
                                    << "a quote opened here is never closed";
    QTest::newRow("text after a closing quote") << QByteArray("a,b\n\"1\"x,2\n") << 1 << qint64(2)
                                                << "a quoted cell goes on after its closing quote";
    QTest::newRow("a line over the limit, unquoted")
        << QByteArray("a\n" + QByteArray(1500, 'x') + "\n") << 1 << qint64(2)
        << "the line is too long (a record of more than 1000 bytes)";
    QTest::newRow("a line over the limit, quoted across lines")
        << QByteArray("a\nb\n\"" + QByteArray(600, '\n') + QByteArray(600, 'x') + "\"\n") << 2
        << qint64(3) << "the line is too long (a record of more than 1000 bytes)";
}

void TestBatch::malformedTables()
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

void TestBatch::writing_data()
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
}

void TestBatch::writing()
{
    QFETCH(QString, separator);
    QFETCH(QStringList, cells);
    QFETCH(QByteArray, bytes);
    QByteArray written;
    appendCsvRecord(written, cells, separator.front().toLatin1(), "\r\n");
    QCOMPARE(written, bytes);
    QCOMPARE(readTable("h" + separator.toLatin1() + "\n" + bytes).records.value(1),
        cells); // and it reads back
}

void TestBatch::rows_data()
{
    QTest::addColumn<QByteArray>("table");
    QTest::addColumn<QString>("decimal"); // "." or ","; empty for the user's locale (Russian)
    QTest::addColumn<Records>("moments"); // per row: the ten labels, then the errors cell

    const QByteArray straight = "12;Прямая;50;30;1500;1000;0;1;0,3;40;" + kLoads + "\r\n";
    QTest::newRow("the three sections")
        << kHeader + straight + "13;Вне.кривая;50;30;1500;1000;800;1000;0,3;40;" + kLoads
            + "\r\n14;Option20;50;30;1500;1000;800;1000;0,3;40;" + kLoads + "\r\n"
        << ","
        << Records { moments("1463,134", "1856,95") << "", moments("3450,134", "3843,95") << "",
               moments("-2917,534", "-3377,35") << "" };
    QTest::newRow("commas and decimal points")
        << QByteArray(
               "Prolet,txtVm,Text1,Text2,Text5,txtLp,txtGp,txtGpr,txtGnv,txtPkv,txtPprv,txtSum1,"
               "txtSum2,txtSum3,txtSum4,txtSum5\n50,30,1500,1000,0.3,40,2,1,0.5,0.4,0.3,2,1,0.5,"
               "0.4,0.3\n")
        << "."
        << Records { { "1463.134", "1856.95", "581.184", "-2206.484", "838.2537", "320.8213", "903",
               "-2738.3", "762.0825", "186.9925", "" } };
    QTest::newRow("the user's locale decides")
        << kHeader + straight << "" << Records { moments("1463,134", "1856,95") << "" };
    // The loads of ice with wind are read by its moments only.
    QTest::newRow("a point under decimal commas")
        << kHeader + "12;Прямая;50;30;1500;1000;0;1;0,3;40;2.0;1;0,5;0,4;0,3;2;1;0,5;0,4;0,3\r\n"
        << ","
        << Records { { "", "1856,95", "", "", "", "", "903", "-2738,3", "762,0825", "186,9925",
               errors({ "Label1", "Label10", "Label18", "Label26", "Label27" },
                   "not-a-number (txtGp)") } };
    // Missing columns keep the start-up texts: no Lp, so the transition support has none.
    QTest::newRow("missing and unnamed columns, a zero span")
        << QByteArray("Prolet;txtGp;\n0;2;x\n") << ","
        << Records { { "0", "0", "0", "0", "0", "0", "0", "0", "0", "0",
               errors({ "Label1", "Label5" }, "span-missing") + "; "
                   + errors(kTransitionLabels, "lp-missing") } };
    QTest::newRow("an empty Tpr is refused by the transition support only")
        << kHeader + "12;Прямая;50;30;1500;1000;;1;0,3;40;" + kLoads + "\r\n"
        << ","
        << Records { { "1463,134", "1856,95", "", "", "", "", "", "", "", "",
               errors(kTransitionLabels, "empty (Text3)") } };
    // Rows are computed in chunks on several threads: they come back in their order.
    QByteArray manyRows = kHeader;
    Records manyMoments;
    const QByteArray sections[] = { "Прямая", "Вне.кривая", "Вну.кривая" };
    const Records sectionMoments { moments("1463,134", "1856,95") << "",
        moments("3450,134", "3843,95") << "", moments("-2917,534", "-3377,35") << "" };
    for (int row = 0; row < 2000; ++row) {
        manyRows += QByteArray::number(row) + ";" + sections[row % 3]
            + ";50;30;1500;1000;800;1000;0,3;40;" + kLoads + "\r\n";
        manyMoments << sectionMoments[row % 3];
    }
    QTest::newRow("many chunks, in order") << manyRows << "," << manyMoments;
    const QStringList none(10);
    QTest::newRow("bad rows between good ones")
        << kHeader + "1;Кривая;50\r\n" + straight + "3;Прямая;50;30;1500;1000;0;1;0,3;40;" + kLoads
            + ";extra\r\n" + straight
        << ","
        << Records { none
                   + QStringList { "section: \"Кривая\" is none of Прямая, Вне.кривая, "
                                   "Вну.кривая" },
               moments("1463,134", "1856,95") << "",
               none + QStringList { "row: 21 cells, the header has 20" },
               moments("1463,134", "1856,95") << "" };
}

void TestBatch::rows()
{
    QFETCH(QByteArray, table);
    QFETCH(QString, decimal);
    QFETCH(Records, moments);
    const QLocale before;
    QLocale::setDefault(ru);
    QBuffer input, output;
    input.setData(table);
    input.open(QIODevice::ReadOnly);
    output.open(QIODevice::WriteOnly);
    const BatchSettings settings {
        localeForDecimal(decimal.isEmpty() ? std::nullopt : std::optional<QChar>(decimal.front())),
        {}
    };
    const BatchResult result = runBatch(input, output, settings);
    QLocale::setDefault(before);
    QVERIFY(std::holds_alternative<BatchSummary>(result));
    QCOMPARE(std::get<BatchSummary>(result).rows, moments.size());

    const Records in = readTable(table).records;
    const Records out = readTable(output.data()).records;
    QCOMPARE(out.size(), in.size());
    QCOMPARE(out[0].mid(in[0].size()),
        QStringList({ "Label1", "Label5", "Label10", "Label18", "Label26", "Label27", "Label28",
            "Label29", "Label30", "Label31", "errors" }));
    const qsizetype width = in[0].size();
    for (qsizetype row = 1; row < out.size(); ++row) {
        QStringList cells = in[row]; // as read, cut or padded to the header
        cells.resize(width);
        QCOMPARE(out[row].mid(0, width), cells);
        QCOMPARE(out[row].mid(width), moments[row - 1]);
    }
}

void TestBatch::stoppedRuns_data()
{
    QTest::addColumn<QByteArray>("table");
    QTest::addColumn<QString>("problem"); // after "IN.csv:"

    QTest::newRow("unknown column")
        << QByteArray("Prolet;txtD10\n50;1\n") << "1: unknown column \"txtD10\"";
    QTest::newRow("support not first")
        << QByteArray("Prolet,support\n") << "1: column \"support\" must be the first";
    QTest::newRow("a column twice")
        << QByteArray("Prolet;prolet\n") << "1: column \"prolet\" appears twice";
    QTest::newRow("unclosed quote after good rows")
        << QByteArray("Prolet;txtVm\n50;30\n\"50;30\n") << "3: a quote opened here is never closed";
    QTest::newRow("empty file") << QByteArray() << "1: no header line";
}

// A run that stops leaves the output file as it was.
void TestBatch::stoppedRuns()
{
    QFETCH(QByteArray, table);
    QFETCH(QString, problem);
    QTemporaryDir dir;
    const QString in = dir.filePath(QStringLiteral("IN.csv"));
    const QString out = dir.filePath(QStringLiteral("OUT.csv"));
    QFile inFile(in), outFile(out);
    QVERIFY(inFile.open(QIODevice::WriteOnly) && inFile.write(table) == table.size());
    inFile.close();
    QVERIFY(outFile.open(QIODevice::WriteOnly) && outFile.write("old") == 3);
    outFile.close();
    QCOMPARE(runBatchFiles(in, out, { ru, {} }), in + QLatin1Char(':') + problem);
    QVERIFY(outFile.open(QIODevice::ReadOnly));
    QCOMPARE(outFile.readAll(), QByteArray("old"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), 2); // no temporary left behind
}

QTEST_GUILESS_MAIN(TestBatch)
#include "test_batch.moc"
