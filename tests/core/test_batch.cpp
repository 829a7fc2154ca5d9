// SPDX-License-Identifier: GPL-3.0-or-later
// Schedules of supports: the batch run that computes one support per row, with its notes, bad
// rows, result columns of an earlier run, the encodings and line breaks it writes back, and
// malformed tables that stop it.
#include "core/batch/batchcolumns.h"
#include "core/batch/batchfiles.h"
#include "core/batch/csvtable.h"
#include "core/calc/calculation.h"
#include "core/calc/momentcases.h"
#include "core/numbers/numbertext.h"

#include <QBuffer>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>

using namespace kelsa;

namespace
{

using Records = QList<QStringList>;

const QLocale ru(QLocale::Russian, QLocale::Russia);

std::optional<TextEncoding> encodingNamed(const QString &name)
{
    for (const TextEncoding known : { TextEncoding::Utf8, TextEncoding::Utf16LE,
             TextEncoding::Utf16BE, TextEncoding::Windows1251 })
        if (encodingName(known) == name)
            return known;
    return std::nullopt;
}

QByteArray encoded(const QString &text, TextEncoding encoding)
{
    const std::optional<QByteArray> bytes = encodeUtf8(text.toUtf8(), encoding);
    if (!bytes)
        qFatal("cannot encode %s", qPrintable(text));
    return *bytes;
}

Records readTable(const QByteArray &bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    CsvReader reader(&buffer);
    Records records;
    QStringList cells;
    while (reader.readRecord(cells))
        records << cells;
    if (!reader.error().isEmpty())
        qFatal("unreadable table: %s", qPrintable(reader.error()));
    return records;
}

struct Run {
    BatchResult result;
    QByteArray out;

    const BatchSummary &summary() const { return std::get<BatchSummary>(result); }
};

// Runs the table through runBatch with `user` as the user's locale; `decimal` is "." or
// "," ("" for the user's), `encoding` a name the run is told ("" for none).
Run runTable(const QByteArray &table, const QString &decimal = QStringLiteral(","),
    const QString &encoding = {}, const QLocale &user = ru, const SupportCatalogue &catalogue = {})
{
    const QLocale before;
    QLocale::setDefault(user);
    QBuffer input, output;
    input.setData(table);
    input.open(QIODevice::ReadOnly);
    output.open(QIODevice::WriteOnly);
    BatchSettings settings {
        localeForDecimal(decimal.isEmpty() ? std::nullopt : std::optional<QChar>(decimal.front())),
        {}
    };
    settings.encoding = encodingNamed(encoding);
    settings.catalogue = catalogue;
    Run run { runBatch(input, output, settings), output.data() };
    QLocale::setDefault(before);
    return run;
}

// The worked example of the help page, one support per section (the outer and inner curve
// with Tpr 800 and R 1000), as a Russian spreadsheet saves it; the moments are the engine
// tests' figures for it.
const QByteArray kHeader = "support;section;Prolet;txtVm;Text1;Text2;Text3;Text4;Text5;txtLp;"
                           "txtGp;txtGpr;txtGnv;txtPkv;txtPprv;txtSum1;txtSum2;txtSum3;txtSum4;"
                           "txtSum5\r\n";
const QByteArray kLoads = "2;1;0,5;0,4;0,3;2;1;0,5;0,4;0,3";
const QByteArray kStraight = "12;Прямая;50;30;1500;1000;0;1;0,3;40;" + kLoads + "\r\n";
const QStringList kTransition { "581,184", "-2206,484", "838,2537", "320,8213", "903", "-2738,3",
    "762,0825", "186,9925" };

const QStringList kTransitionLabels { "Label10", "Label18", "Label26", "Label27", "Label28",
    "Label29", "Label30", "Label31" };
const QStringList kResultColumns { "Label1", "Label5", "Label10", "Label18", "Label26", "Label27",
    "Label28", "Label29", "Label30", "Label31", "governing", "supportType", "utilisation", "errors",
    "notes" };
const QStringList kNone(10); // ten moments without a value

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

// The label of the largest moment of the ten (the first of equals); empty when none has one.
QString governingOf(const QStringList &labels)
{
    QString governing;
    double largest = -1;
    for (qsizetype k = 0; k < labels.size(); ++k)
        if (const auto value = readNumber(labels[k], ru)
                                   .value_or(readNumber(labels[k], QLocale::c()).value_or(qQNaN()));
            qAbs(value) > largest) {
            largest = qAbs(value);
            governing = kResultColumns[k];
        }
    return governing;
}

// The result columns of a row without a catalogue: the ten labels, the governing moment, the
// type as the row gave it, no utilisation, the errors and the notes.
QStringList results(const QStringList &labels, const QString &errors = {},
    const QString &notes = {}, const QString &supportType = {})
{
    return labels + QStringList { governingOf(labels), supportType, QString(), errors, notes };
}

// A span of 50 m and nothing else: the ordinary support's moments, no Lp for the transition.
const QStringList kSpan50 = results(
    { "191,3", "158,3", "", "", "", "", "", "", "", "" }, errors(kTransitionLabels, "lp-missing"));

} // namespace

class TestBatch : public QObject
{
    Q_OBJECT

private slots:
    void rows_data();
    void rows();
    void sections_data();
    void sections();
    void cellsReadAsTheWindowReads_data();
    void cellsReadAsTheWindowReads();
    void layout_data();
    void layout();
    void encodingsWrittenBack_data();
    void encodingsWrittenBack();
    void unwritableResults_data();
    void unwritableResults();
    void lineBreaksKept_data();
    void lineBreaksKept();
    void supportCheck_data();
    void supportCheck();
    void resultFilesRunAgain_data();
    void resultFilesRunAgain();
    void summary_data();
    void summary();
    void stoppedRuns_data();
    void stoppedRuns();
    void givenSeparatorReadsTheSameForEveryUser_data();
    void givenSeparatorReadsTheSameForEveryUser();
    void listedColumnsAreTheTable();
};

void TestBatch::rows_data()
{
    QTest::addColumn<QByteArray>("table");
    QTest::addColumn<QString>("decimal"); // "." or ","; empty for the user's locale (Russian)
    // Per row: the ten labels, the errors, the notes and the cells past the header.
    QTest::addColumn<Records>("results");

    QTest::newRow("the three sections")
        << kHeader + kStraight + "13;Вне.кривая;50;30;1500;1000;800;1000;0,3;40;" + kLoads
            + "\r\n14;Option20;50;30;1500;1000;800;1000;0,3;40;" + kLoads + "\r\n"
        << ","
        << Records { results(moments("1463,134", "1856,95")),
               results(moments("3450,134", "3843,95")), results(moments("-2917,534", "-3377,35")) };
    QTest::newRow("commas and decimal points")
        << QByteArray(
               "Prolet,txtVm,Text1,Text2,Text5,txtLp,txtGp,txtGpr,txtGnv,txtPkv,txtPprv,txtSum1,"
               "txtSum2,txtSum3,txtSum4,txtSum5\n50,30,1500,1000,0.3,40,2,1,0.5,0.4,0.3,2,1,0.5,"
               "0.4,0.3\n")
        << "."
        << Records { results({ "1463.134", "1856.95", "581.184", "-2206.484", "838.2537",
               "320.8213", "903", "-2738.3", "762.0825", "186.9925" }) };
    QTest::newRow("the user's locale decides")
        << kHeader + kStraight << "" << Records { results(moments("1463,134", "1856,95")) };
    // The loads of ice with wind are read by its moments only.
    QTest::newRow("a point under decimal commas")
        << kHeader + "12;Прямая;50;30;1500;1000;0;1;0,3;40;2.0;1;0,5;0,4;0,3;2;1;0,5;0,4;0,3\r\n"
        << ","
        << Records { results(
               { "", "1856,95", "", "", "", "", "903", "-2738,3", "762,0825", "186,9925" },
               errors({ "Label1", "Label10", "Label18", "Label26", "Label27" },
                   "not-a-number (txtGp)")) };
    // Missing columns keep the start-up texts: no Lp, so the transition support has none. A
    // moment without a value leaves its cell empty, never 0.
    QTest::newRow("missing and unnamed columns, a zero span")
        << QByteArray("Prolet;txtGp;\n0;2;x\n") << ","
        << Records { results(kNone,
               errors({ "Label1", "Label5" }, "span-missing") + "; "
                   + errors(kTransitionLabels, "lp-missing")) };
    // Nor the text «нет конечного результата»: a zero radius in a curve.
    QTest::newRow("no finite moment leaves the cell empty")
        << kHeader + "13;Вне.кривая;50;30;1500;1000;800;0;0,3;40;" + kLoads + "\r\n"
        << ","
        << Records { results(QStringList { "", "" } + kTransition,
               errors({ "Label1", "Label5" }, "not-finite")) };
    QTest::newRow("an empty Tpr is refused by the transition support only")
        << kHeader + "12;Прямая;50;30;1500;1000;;1;0,3;40;" + kLoads + "\r\n"
        << ","
        << Records { results({ "1463,134", "1856,95", "", "", "", "", "", "", "", "" },
               errors(kTransitionLabels, "empty (Text3)"), "Label1: Text3; Label5: Text3") };
    // The ordinary support reads empty fields as 0 and says so, in the order of the window's
    // fields; the transition support refuses them.
    QTest::newRow("empty fields read as 0 are noted")
        << kHeader + "12;Прямая;50;;1500;1000;0;1;;40;" + kLoads + "\r\n"
        << ","
        << Records { results({ "1055,05", "1022,05", "", "", "", "", "", "", "", "" },
               errors(kTransitionLabels, "empty (Text5, txtVm)"),
               "Label1: txtVm, Text5; Label5: txtVm, Text5") };
    QTest::newRow("an empty grid cell is noted, and is no error")
        << QByteArray("Prolet;txtD1;txtF9;txtLp\n50;;;40\n") << ","
        << Records { results({ "191,3", "158,3", "473,6", "473,6", "473,6", "473,6", "368,6",
                                 "368,6", "368,6", "368,6" },
               "", "Label1: txtD1, txtF9; Label5: txtD1, txtF9") };
    QTest::newRow("an empty span is noted with its error")
        << QByteArray("Prolet;txtLp\n;40\n") << ","
        << Records { results(kNone,
               errors({ "Label1", "Label5" }, "span-missing") + "; "
                   + errors(kTransitionLabels, "empty (Prolet)"),
               "Label1: Prolet; Label5: Prolet") };
    // Rows are computed in chunks on several threads: they come back in their order.
    QByteArray manyRows = kHeader;
    Records manyResults;
    const QByteArray sections[] = { "Прямая", "Вне.кривая", "Вну.кривая" };
    const Records sectionResults { results(moments("1463,134", "1856,95")),
        results(moments("3450,134", "3843,95")), results(moments("-2917,534", "-3377,35")) };
    for (int row = 0; row < 2000; ++row) {
        manyRows += QByteArray::number(row) + ";" + sections[row % 3]
            + ";50;30;1500;1000;800;1000;0,3;40;" + kLoads + "\r\n";
        manyResults << sectionResults[row % 3];
    }
    QTest::newRow("many chunks, in order") << manyRows << "," << manyResults;
    // A chunk ends early at rows that hold much memory: wide rows and long ones among
    // ordinary ones still come back in their order.
    QByteArray mixedRows = kHeader;
    Records mixedResults;
    for (int row = 0; row < 1500; ++row) {
        if (row % 7 == 3) {
            mixedRows += "12;Прямая" + QByteArray(9000, ';') + "\r\n";
            mixedResults << (results(kNone, "row: ячеек 9002, а в заголовке 20")
                + QStringList(9002 - 20));
        } else if (row % 11 == 5) {
            const QByteArray name(100000, 'n');
            mixedRows += name + ";Прямая;50;30;1500;1000;0;1;0,3;40;" + kLoads + "\r\n";
            mixedResults << results(moments("1463,134", "1856,95"));
        } else {
            mixedRows += kStraight;
            mixedResults << results(moments("1463,134", "1856,95"));
        }
    }
    QTest::newRow("chunks bounded by memory, in order") << mixedRows << "," << mixedResults;
    QTest::newRow("bad rows between good ones")
        << kHeader + "1;Кривая;50\r\n" + kStraight + "3;Прямая;50;30;1500;1000;0;1;0,3;40;" + kLoads
            + ";extra\r\n" + kStraight
        << ","
        << Records { results(kNone,
                         "section: \"Кривая\" не участок пути (Прямая, Вне.кривая, Вну.кривая)"),
               results(moments("1463,134", "1856,95")),
               results(kNone, "row: ячеек 21, а в заголовке 20") << "extra",
               results(moments("1463,134", "1856,95")) };
}

void TestBatch::rows()
{
    QFETCH(QByteArray, table);
    QFETCH(QString, decimal);
    QFETCH(Records, results);
    const Run run = runTable(table, decimal);
    QVERIFY(std::holds_alternative<BatchSummary>(run.result));
    QCOMPARE(run.summary().rows, results.size());

    const Records in = readTable(table);
    const Records out = readTable(run.out);
    QCOMPARE(out.size(), in.size());
    const qsizetype width = in[0].size();
    QCOMPARE(out[0], in[0] + kResultColumns);
    for (qsizetype row = 1; row < out.size(); ++row) {
        QStringList cells = in[row]; // as read, cut or padded to the header
        cells.resize(width);
        QCOMPARE(out[row].mid(0, width), cells);
        QCOMPARE(out[row].mid(width), results[row - 1]);
    }
}

void TestBatch::sections_data()
{
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("iceWithWind"); // Label1
    QTest::addColumn<QString>("errors");

    const QString none
        = QStringLiteral("section: \"%1\" не участок пути (Прямая, Вне.кривая, Вну.кривая)");
    QTest::newRow("empty keeps the start-up section") << ""
                                                      << "1463,134"
                                                      << "";
    QTest::newRow("Прямая") << "Прямая"
                            << "1463,134"
                            << "";
    QTest::newRow("Вне.кривая") << "Вне.кривая"
                                << "3450,134"
                                << "";
    QTest::newRow("Вну.кривая") << "Вну.кривая"
                                << "-2917,534"
                                << "";
    QTest::newRow("any case, spaces around") << " вну.КРИВАЯ "
                                             << "-2917,534"
                                             << "";
    QTest::newRow("Option18") << "Option18"
                              << "1463,134"
                              << "";
    QTest::newRow("Option19") << "Option19"
                              << "3450,134"
                              << "";
    QTest::newRow("Option20") << "Option20"
                              << "-2917,534"
                              << "";
    // Options of other groups are no section.
    QTest::newRow("Option2") << "Option2"
                             << "" << none.arg("Option2");
    QTest::newRow("Option17") << "Option17"
                              << "" << none.arg("Option17");
    QTest::newRow("Option21") << "Option21"
                              << "" << none.arg("Option21");
    QTest::newRow("Кривая") << "Кривая"
                            << "" << none.arg("Кривая");
    QTest::newRow("a number") << "1"
                              << "" << none.arg("1");
}

void TestBatch::sections()
{
    QFETCH(QString, section);
    QFETCH(QString, iceWithWind);
    QFETCH(QString, errors);
    // Curves as the help page has them: Tpr 800, R 1000; straight track ignores both.
    const Run run = runTable(
        kHeader + "1;" + section.toUtf8() + ";50;30;1500;1000;800;1000;0,3;40;" + kLoads + "\r\n");
    const Records out = readTable(run.out);
    QCOMPARE(out.size(), 2);
    QCOMPARE(out[1].value(20), iceWithWind);
    QCOMPARE(out[1].value(33), errors);
}

void TestBatch::cellsReadAsTheWindowReads_data()
{
    QTest::addColumn<QByteArray>("span"); // the Prolet cell, UTF-8
    QTest::addColumn<QString>("decimal");

    QTest::newRow("plain") << QByteArray("45,5") << ",";
    QTest::newRow("plain, decimal point") << QByteArray("45.5") << ".";
    QTest::newRow("the other separator") << QByteArray("45.5") << ",";
    QTest::newRow("blanks around") << QByteArray(" \t45,5 ") << ",";
    QTest::newRow("blanks only") << QByteArray(" \t ") << ",";
    QTest::newRow("no-break spaces around") << QByteArray("\xc2\xa0"
                                                          "45,5\xc2\xa0")
                                            << ",";
    QTest::newRow("no-break space only") << QByteArray("\xc2\xa0") << ",";
    QTest::newRow("no-break space grouping") << QByteArray("1\xc2\xa0"
                                                           "000")
                                             << ",";
    QTest::newRow("fullwidth digits") << QByteArray("\xef\xbc\x94\xef\xbc\x95") << ",";
    QTest::newRow("exponent") << QByteArray("4,55e1") << ",";
    QTest::newRow("leading zeros") << QByteArray("0045,50") << ",";
    QTest::newRow("negative zero") << QByteArray("-0") << ",";
    QTest::newRow("separator last") << QByteArray("45,") << ",";
    QTest::newRow("separator first") << QByteArray(",5") << ",";
    QTest::newRow("plus sign") << QByteArray("+45") << ",";
    QTest::newRow("20 digits") << QByteArray("45,000000000000000001") << ",";
    QTest::newRow("65 characters") << QByteArray("45,") + QByteArray(62, '1') << ",";
    QTest::newRow("beyond the largest double") << QByteArray("1e309") << ",";
    QTest::newRow("letters") << QByteArray("пролет") << ",";
}

// A cell of the schedule gives the moments the window gives for the same text in the field.
void TestBatch::cellsReadAsTheWindowReads()
{
    QFETCH(QByteArray, span);
    QFETCH(QString, decimal);
    QByteArray row = "12;Прямая;" + span + ";30;1500;1000;800;1000;0,3;40;" + kLoads;
    if (decimal == QLatin1String("."))
        row = "12;Прямая;" + span + ";30;1500;1000;800;1000;0.3;40;2;1;0.5;0.4;0.3;2;1;0.5;0.4;0.3";
    const Run run = runTable(kHeader + row + "\r\n", decimal);
    const Records out = readTable(run.out);
    QCOMPARE(out.size(), 2);

    const QLocale locale = localeForDecimal(decimal.front());
    const QStringList header = readTable(kHeader).front();
    const QStringList cells = readTable(row).front();
    Calculation calculation = Calculation::atStart();
    for (qsizetype k = 2; k < header.size(); ++k)
        QVERIFY(calculation.setText(header[k], cells[k]));
    QStringList expected;
    bool errors = false;
    for (const MomentOutcome &outcome : computeMoments(calculation, locale)) {
        const bool value
            = outcome.inputsAccepted() && outcome.result.outcome == MomentResult::Outcome::Value;
        expected << (value ? writeNumber(outcome.result.moment, locale) : QString());
        errors = errors || !value;
    }
    QCOMPARE(out[1].mid(20, 10), expected);
    QCOMPARE(out[1].value(33).isEmpty(), !errors);
    QCOMPARE(out[1].value(2), cells[2]); // the cell itself is written back as it came
}

void TestBatch::layout_data()
{
    QTest::addColumn<QByteArray>("table");
    QTest::addColumn<Records>("out"); // the result, header included

    // Cells past the header are kept after the result columns, so every named column holds
    // what its header says.
    QTest::newRow("extra cells") << QByteArray("Prolet;txtVm\n50;30;EXTRA-NOTE;more\n")
                                 << Records { QStringList { "Prolet", "txtVm" } + kResultColumns,
                                        QStringList { "50", "30" }
                                            + results(kNone, "row: ячеек 4, а в заголовке 2")
                                            + QStringList { "EXTRA-NOTE", "more" } };
    QTest::newRow("one column, a decimal comma")
        << QByteArray("Prolet\n50,5\n")
        << Records { QStringList { "Prolet" } + kResultColumns,
               QStringList { "50" } + results(kNone, "row: ячеек 2, а в заголовке 1")
                   + QStringList { "5" } };
    // The result columns of an earlier run, wherever they stand, are computed anew and
    // written where a run writes them.
    QTest::newRow("stale results dropped")
        << QByteArray("Label1;Prolet;errors;notes;Label31\n999;50;old;old;7\n")
        << Records { QStringList { "Prolet" } + kResultColumns, QStringList { "50" } + kSpan50 };
    QTest::newRow("result columns in any case")
        << QByteArray("prolet;LABEL1;Errors\n50;1;x\n")
        << Records { QStringList { "prolet" } + kResultColumns, QStringList { "50" } + kSpan50 };
    QTest::newRow("a short row of a result file")
        << QByteArray("Prolet;Label1;Label5;errors\n50\n")
        << Records { QStringList { "Prolet" } + kResultColumns, QStringList { "50" } + kSpan50 };
    QTest::newRow("extra cells of a result file")
        << QByteArray("Prolet;" + kResultColumns.join(';').toLatin1()
               + "\n50;1;2;3;4;5;6;7;8;9;10;g;s;u;"
                 "e;n;EXTRA\n")
        << Records { QStringList { "Prolet" } + kResultColumns,
               QStringList { "50" } + results(kNone, "row: ячеек 2, а в заголовке 1", {}, "s")
                   + QStringList { "EXTRA" } };
}

void TestBatch::layout()
{
    QFETCH(QByteArray, table);
    QFETCH(Records, out);
    const Run run = runTable(table);
    QVERIFY(std::holds_alternative<BatchSummary>(run.result));
    QCOMPARE(readTable(run.out), out);
}

void TestBatch::encodingsWrittenBack_data()
{
    QTest::addColumn<QByteArray>("mark");
    QTest::addColumn<QString>("encoding");
    QTest::addColumn<QString>("told"); // the encoding the run is told; "" for none

    QTest::newRow("UTF-8") << QByteArray() << "UTF-8"
                           << "";
    QTest::newRow("UTF-8 with its mark") << QByteArray("\xEF\xBB\xBF") << "UTF-8"
                                         << "";
    QTest::newRow("UTF-16LE") << QByteArray("\xFF\xFE") << "UTF-16LE"
                              << "";
    QTest::newRow("UTF-16BE") << QByteArray("\xFE\xFF") << "UTF-16BE"
                              << "";
    QTest::newRow("Windows-1251") << QByteArray() << "Windows-1251"
                                  << "";
    QTest::newRow("told Windows-1251") << QByteArray() << "Windows-1251"
                                       << "Windows-1251";
    QTest::newRow("told UTF-8, with its mark") << QByteArray("\xEF\xBB\xBF") << "UTF-8"
                                               << "UTF-8";
}

// The result of a table in an encoding is the result of the same table in UTF-8, written in
// that encoding after the same mark: it opens back in the spreadsheet that saved the table.
void TestBatch::encodingsWrittenBack()
{
    QFETCH(QByteArray, mark);
    QFETCH(QString, encoding);
    QFETCH(QString, told);
    const QString table = QString::fromUtf8(kHeader + kStraight
        + "\"Опора 13\r\nанкерная\";Вне.кривая;50;30;1500;1000;800;1000;0,3;40;" + kLoads
        + "\r\n14;Кривая;50\r\n");
    const Run utf8 = runTable(table.toUtf8());
    const Records results = readTable(utf8.out);
    QCOMPARE(results.value(1).value(20), QStringLiteral("1463,134"));
    QCOMPARE(results.value(2).value(20), QStringLiteral("3450,134"));

    const TextEncoding known = *encodingNamed(encoding);
    const Run run = runTable(mark + encoded(table, known), QStringLiteral(","), told);
    QVERIFY(std::holds_alternative<BatchSummary>(run.result));
    QCOMPARE(encodingName(run.summary().encoding), encoding);
    QCOMPARE(run.out, mark + encoded(QString::fromUtf8(utf8.out), known));
}

void TestBatch::unwritableResults_data()
{
    QTest::addColumn<QString>("encoding");
    QTest::addColumn<QString>("problem"); // empty when the result is written

    QTest::newRow("UTF-8") << "UTF-8"
                           << "";
    QTest::newRow("UTF-16LE") << "UTF-16LE"
                              << "";
    QTest::newRow("Windows-1251") << "Windows-1251"
                                  << "знака U+066B «٫» нет в кодировке таблицы Windows-1251";
}

// Moments in the decimal separator of the user's language, one Windows-1251 has no code for:
// the run stops rather than write a substitute for it.
void TestBatch::unwritableResults()
{
    QFETCH(QString, encoding);
    QFETCH(QString, problem);
    const TextEncoding known = *encodingNamed(encoding);
    const QByteArray table = byteOrderMark(known)
        + encoded(QStringLiteral("support;Prolet\r\nОпора 12;50\r\n"), known);
    const Run run = runTable(table, QString(), QString(), QLocale(QLocale::Arabic, QLocale::Egypt));
    if (problem.isEmpty()) {
        QVERIFY(std::holds_alternative<BatchSummary>(run.result));
        QStringDecoder decoder(encoding.toLatin1().constData());
        const QString out = decoder(run.out);
        QVERIFY2(out.contains(QStringLiteral("support;Prolet;Label1")), qPrintable(out));
        QVERIFY2(out.contains(QStringLiteral("Опора 12;50;191٫3;158٫3;")), qPrintable(out));
        return;
    }
    QVERIFY(std::holds_alternative<BatchProblem>(run.result));
    QCOMPARE(std::get<BatchProblem>(run.result).line, 0);
    QCOMPARE(std::get<BatchProblem>(run.result).text, problem);
}

void TestBatch::lineBreaksKept_data()
{
    QTest::addColumn<QByteArray>("lineBreak");

    QTest::newRow("LF") << QByteArray("\n");
    QTest::newRow("CRLF") << QByteArray("\r\n");
    QTest::newRow("CR alone") << QByteArray("\r");
}

// The result ends its lines as the table does, line breaks in quoted cells included.
void TestBatch::lineBreaksKept()
{
    QFETCH(QByteArray, lineBreak);
    const QByteArray table = "support;Prolet;txtLp\n\"Опора\n12\";50;40\n\n13;0;40\n14;50;40;x\n";
    const Run lf = runTable(table);
    QVERIFY(std::holds_alternative<BatchSummary>(lf.result));
    QCOMPARE(lf.summary().rows, 3);
    QByteArray expected = lf.out;
    QByteArray in = table;
    const Run run = runTable(in.replace("\n", lineBreak));
    QVERIFY(std::holds_alternative<BatchSummary>(run.result));
    QCOMPARE(run.out, expected.replace("\n", lineBreak));
}

// Three made-up types in kgf·m.
SupportCatalogue madeUpCatalogue()
{
    SupportCatalogue catalogue;
    catalogue.state = SupportCatalogue::State::Ok;
    catalogue.unit = MomentUnit::KilogramForceMetre;
    catalogue.types = { { QStringLiteral("Проба-410"), 410, {}, {}, 2 },
        { QStringLiteral("Проба-600"), 600, {}, {}, 3 },
        { QStringLiteral("Проба-500"), 500, {}, {}, 4 } };
    return catalogue;
}

void TestBatch::supportCheck_data()
{
    QTest::addColumn<QByteArray>("row"); // Prolet;txtLp;Text2;supportType
    QTest::addColumn<QStringList>("check"); // governing, supportType, utilisation, errors

    const QString lpMissing = errors(kTransitionLabels, "lp-missing");
    // 50 m, Lp 40 m, no tension: the largest moment is Label10's 473,6 kgf·m.
    QTest::newRow("pick: the smallest Mн that holds")
        << QByteArray("50;40;0;") << QStringList { "Label10", "Проба-500", "94,8", "" };
    QTest::newRow("chosen type, as written")
        << QByteArray("50;40;0; проба-600 ") << QStringList { "Label10", "проба-600", "79,0", "" };
    QTest::newRow("chosen type that does not hold")
        << QByteArray("50;40;0;Проба-410") << QStringList { "Label10", "Проба-410", "115,6", "" };
    QTest::newRow("type not in the catalogue")
        << QByteArray("50;40;0;Проба-9")
        << QStringList { "Label10", "Проба-9", "",
               "supportType: \"Проба-9\" is not in the catalogue" };
    QTest::newRow("none holds") << QByteArray("50;40;5000;")
                                << QStringList { "Label28", "", "", "check: none-holds" };
    QTest::newRow("no moment") << QByteArray("0;0;0;")
                               << QStringList { "", "", "",
                                      errors({ "Label1", "Label5" }, "span-missing") + "; "
                                          + lpMissing + "; check: no-moment" };
    QTest::newRow("a bad row keeps its type")
        << QByteArray("50;40;0;Проба-500;extra")
        << QStringList { "", "Проба-500", "", "row: ячеек 4, а в заголовке 3" };
}

// The check's columns of a row, and the same output when the result runs again.
void TestBatch::supportCheck()
{
    QFETCH(QByteArray, row);
    QFETCH(QStringList, check);
    const QByteArray table = "Prolet;txtLp;Text2;supportType\n" + row + "\n";
    const Run run = runTable(table, QStringLiteral(","), {}, ru, madeUpCatalogue());
    const Records out = readTable(run.out);
    QCOMPARE(out.size(), 2);
    QCOMPARE(out[0].mid(13, 4), kResultColumns.mid(10, 4));
    QCOMPARE(out[1].mid(13, 4), check);
    QCOMPARE(run.summary().rowsWithErrors, check.last().isEmpty() ? 0 : 1);
    if (!row.contains("extra"))
        QCOMPARE(runTable(run.out, QStringLiteral(","), {}, ru, madeUpCatalogue()).out, run.out);
}

void TestBatch::resultFilesRunAgain_data()
{
    QTest::addColumn<QByteArray>("table");
    QTest::addColumn<QString>("encoding"); // the table's

    const QByteArray mixed = kHeader + kStraight + "\"Опора\r\n13\";Вне.кривая;50;30;1500;1000;800;"
        + "1000;0,3;40;" + kLoads + "\r\n" + "14;Кривая;50\r\n15;Прямая;0;30\r\n"
        + "16;Прямая;50;;1500;1000;0;1;;40;" + kLoads + ";extra;more\r\n"
        + "17;Прямая;50;;1500;1000;0;1;;40;" + kLoads + "\r\n;\r\n";
    QTest::newRow("UTF-8, every kind of row") << mixed << "UTF-8";
    QTest::newRow("UTF-8 with its mark") << "\xEF\xBB\xBF" + mixed << "UTF-8";
    QTest::newRow("Windows-1251") << encoded(QString::fromUtf8(mixed), TextEncoding::Windows1251)
                                  << "Windows-1251";
    QTest::newRow("UTF-16LE") << "\xFF\xFE"
            + encoded(QString::fromUtf8(mixed), TextEncoding::Utf16LE)
                              << "UTF-16LE";
    QTest::newRow("CR alone") << QByteArray(mixed).replace("\r\n", "\r") << "UTF-8";
    QTest::newRow("commas, result columns first")
        << QByteArray("Label5,Prolet,,txtVm,notes\n1,50,\"a,b\",,x\n2,\"60\",,30,\n") << "UTF-8";
}

// A result file given back as the table gives itself, byte for byte.
void TestBatch::resultFilesRunAgain()
{
    QFETCH(QByteArray, table);
    QFETCH(QString, encoding);
    const Run first = runTable(table);
    QVERIFY(std::holds_alternative<BatchSummary>(first.result));
    QCOMPARE(encodingName(first.summary().encoding), encoding);
    const Run again = runTable(first.out);
    if (const auto *problem = std::get_if<BatchProblem>(&again.result))
        QFAIL(qPrintable(problem->text));
    QCOMPARE(again.out, first.out);
    QCOMPARE(again.summary().rows, first.summary().rows);
    QCOMPARE(again.summary().rowsWithErrors, first.summary().rowsWithErrors);
}

void TestBatch::summary_data()
{
    QTest::addColumn<QByteArray>("table");
    QTest::addColumn<qint64>("rows");
    QTest::addColumn<qint64>("badRows");
    QTest::addColumn<qint64>("rowsWithErrors"); // rows where some moment has no value

    QTest::newRow("no rows") << kHeader << qint64(0) << qint64(0) << qint64(0);
    QTest::newRow("every moment computed")
        << kHeader + kStraight + kStraight << qint64(2) << qint64(0) << qint64(0);
    QTest::newRow("eight moments missing count the row once")
        << kHeader + "12;Прямая;50;30;1500;1000;;1;0,3;40;" + kLoads + "\r\n" + kStraight
        << qint64(2) << qint64(0) << qint64(1);
    QTest::newRow("ten moments missing count the row once")
        << QByteArray("Prolet\n0\n50\n") << qint64(2) << qint64(0) << qint64(2);
    QTest::newRow("bad rows count among the rows with errors") << kHeader + "1;Кривая;50\r\n"
            + kStraight + "3;Прямая;50;30;1500;1000;0;1;0,3;40;" + kLoads
            + ";extra\r\n" << qint64(3) << qint64(2) << qint64(2);
    QTest::newRow("notes are no error") << QByteArray("Prolet;txtD1;txtLp\n50;;40\n50;1;40\n")
                                        << qint64(2) << qint64(0) << qint64(0);
    QTest::newRow("blank lines are no rows") << kHeader + "\r\n" + kStraight + "\r\n\r\n"
                                             << qint64(1) << qint64(0) << qint64(0);
}

void TestBatch::summary()
{
    QFETCH(QByteArray, table);
    QFETCH(qint64, rows);
    QFETCH(qint64, badRows);
    QFETCH(qint64, rowsWithErrors);
    const Run run = runTable(table);
    QVERIFY(std::holds_alternative<BatchSummary>(run.result));
    QCOMPARE(run.summary().rows, rows);
    QCOMPARE(run.summary().badRows, badRows);
    QCOMPARE(run.summary().rowsWithErrors, rowsWithErrors);
}

void TestBatch::stoppedRuns_data()
{
    QTest::addColumn<QByteArray>("table");
    QTest::addColumn<QString>("encoding"); // the encoding the run is told; "" for none
    QTest::addColumn<QString>("problem"); // after "IN.csv:"

    QTest::newRow("unknown column") << QByteArray("Prolet;txtD10\n50;1\n") << ""
                                    << "1: неизвестный столбец \"txtD10\"";
    QTest::newRow("a label that is no result") << QByteArray("Prolet;Label2\n50;1\n") << ""
                                               << "1: неизвестный столбец \"Label2\"";
    QTest::newRow("support not first") << QByteArray("Prolet,support\n") << ""
                                       << "1: столбец \"support\" должен быть первым";
    QTest::newRow("a column twice") << QByteArray("Prolet;prolet\n") << ""
                                    << "1: столбец \"prolet\" указан дважды";
    QTest::newRow("a result column twice") << QByteArray("Prolet;notes;Notes\n") << ""
                                           << "1: столбец \"Notes\" указан дважды";
    QTest::newRow("unclosed quote after good rows")
        << QByteArray("Prolet;txtVm\n50;30\n\"50;30\n") << ""
        << "3: открытая здесь кавычка не закрыта";
    QTest::newRow("empty file") << QByteArray() << ""
                                << "1: нет строки заголовка";
    // The wide tables that took gigabytes: refused at the first line of too many cells.
    QTest::newRow("a header of 100,000 cells")
        << QByteArray("Prolet" + QByteArray(99999, ';') + "\n" + QByteArray("50\n").repeated(1000))
        << ""
        << "1: в строке больше 10000 ячеек";
    QTest::newRow("a row of 10,001 cells")
        << QByteArray("Prolet\n50\n" + QByteArray(10000, ',') + "\n") << ""
        << "3: в строке больше 10000 ячеек";
    const QByteArray russian = encoded(QStringLiteral("Опора;50\r\n"), TextEncoding::Windows1251);
    const QString notUtf8 = QStringLiteral("текст не в кодировке UTF-8 (таблицу, сохраненную в "
                                           "Windows-1251, читают с --encoding windows-1251)");
    QTest::newRow("told UTF-8, Windows-1251") << "support;Prolet\r\n1;50\r\n" + russian << "UTF-8"
                                              << "3: " + notUtf8;
    QTest::newRow("a UTF-8 mark, then Windows-1251")
        << "\xEF\xBB\xBFsupport;Prolet\r\n1;50\r\n" + russian << ""
        << "3: " + notUtf8;
    QTest::newRow("UTF-16LE, a byte short") << "\xFF\xFE"
            + encoded(QStringLiteral("Prolet\r\n50\r\n5"), TextEncoding::Utf16LE).chopped(1)
                                            << ""
                                            << "3: текст не в кодировке UTF-16LE: половина "
                                               "суррогатной пары или недостающий байт в конце";
}

// A run that stops leaves the output file as it was.
void TestBatch::stoppedRuns()
{
    QFETCH(QByteArray, table);
    QFETCH(QString, encoding);
    QFETCH(QString, problem);
    QTemporaryDir dir;
    const QString in = dir.filePath(QStringLiteral("IN.csv"));
    const QString out = dir.filePath(QStringLiteral("OUT.csv"));
    QFile inFile(in), outFile(out);
    QVERIFY(inFile.open(QIODevice::WriteOnly) && inFile.write(table) == table.size());
    inFile.close();
    QVERIFY(outFile.open(QIODevice::WriteOnly) && outFile.write("old") == 3);
    outFile.close();
    BatchSettings settings { ru, {} };
    settings.encoding = encodingNamed(encoding);
    QCOMPARE(runBatchFiles(in, out, settings), in + QLatin1Char(':') + problem);
    QVERIFY(outFile.open(QIODevice::ReadOnly));
    QCOMPARE(outFile.readAll(), QByteArray("old"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), 2); // no temporary left behind
}

// The columns --help and the manual page list are the table: a header of every input column
// listed is read, and the run adds exactly the result columns listed, in their order.
void TestBatch::listedColumnsAreTheTable()
{
    QStringList inputs;
    QStringList results;
    for (const BatchColumnInfo &column : batchColumns())
        (column.result ? results : inputs) << column.name;
    const Run run = runTable((inputs.join(QLatin1Char(';')) + QLatin1Char('\n')).toUtf8());
    QVERIFY(std::holds_alternative<BatchSummary>(run.result));
    QCOMPARE(readTable(run.out).value(0), inputs + results);
}

QTEST_GUILESS_MAIN(TestBatch)

void TestBatch::givenSeparatorReadsTheSameForEveryUser_data()
{
    QTest::addColumn<QLocale>("user");
    QTest::addColumn<QString>("decimal");
    for (const QString &decimal : { QStringLiteral(","), QStringLiteral(".") })
        for (const auto &[name, locale] : { std::pair { "C", QLocale::c() }, { "ru", ru },
                 { "uk", QLocale(QLocale::Ukrainian, QLocale::Ukraine) },
                 { "de", QLocale(QLocale::German, QLocale::Germany) } })
            QTest::addRow("%s under %s", qPrintable(decimal), name) << locale << decimal;
}

// With --decimal the schedule's numbers are read the same on every computer: a Ukrainian
// locale reads no Latin exponent, and the file must not lose its span there.
void TestBatch::givenSeparatorReadsTheSameForEveryUser()
{
    QFETCH(QLocale, user);
    QFETCH(QString, decimal);
    QByteArray table = "Prolet;txtVm;Text1;txtGp;txtSum1\n5e1;30;1500;2;0,5\n";
    table.replace(',', decimal.toLatin1());
    const Run run = runTable(table, decimal, {}, user);
    const Run reference
        = runTable(table, decimal, {}, decimal == QLatin1String(",") ? ru : QLocale::c());
    QCOMPARE(run.out, reference.out);
    QVERIFY2(!reference.out.contains("Label1:"), reference.out.constData()); // the span was read
}

#include "test_batch.moc"
