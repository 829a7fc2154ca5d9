// SPDX-License-Identifier: GPL-3.0-or-later
// The .kelsa file: what is written reads back as the same calculation, also under the other
// decimal separator; its numbers read by its own separator on every computer; every kind of bad
// file is refused with its first problem and the place of it; a write that fails leaves the old
// file in place.
#include "core/calc/momentlabel.h"
#include "core/document/calculationfile.h"
#include "core/numbers/numbertext.h"
#include "support/helpexample.h"

#include <QRegularExpression>

#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/resource.h>

using namespace kelsa;

namespace
{

const QLocale ru(QLocale::Russian, QLocale::Russia);
const QLocale c = QLocale::c();

// The worked example of the help page, with its numbers written for `locale`.
SavedCalculation example(const QLocale &locale)
{
    SavedCalculation saved;
    saved.decimalSeparator = locale.decimalPoint().front();
    const QString half = QStringLiteral("0") + locale.decimalPoint() + QStringLiteral("5");
    const QList<QPair<const char *, QString>> texts { { "Prolet", "50" }, { "txtGp", "2" },
        { "txtGpr", "1" }, { "txtGnv", half }, { "txtSum1", "2" }, { "Text2", "1000" },
        { "txtVm", "30" }, { "txtLp", "40" } };
    for (const auto &[name, text] : texts)
        saved.calculation.setText(QString::fromLatin1(name), text);
    saved.calculation.selectOption(u"Option19");
    saved.calculation.sources[std::size_t(InputField::IceGp)]
        = LookupSource { QStringLiteral("Data2"), 3, QStringLiteral("М-95+МФ-100"),
              QStringLiteral("Gp10"), QStringLiteral("т11.2.xlsx") };
    for (const Moment moment : { Moment::IceWithWind, Moment::MaximumWind, Moment::IceToTrack })
        saved.result(moment).text
            = resultLabelText(computeMoment(saved.calculation, moment, locale), locale);
    saved.records[1] = 3;
    saved.title = { QStringLiteral("Перегон А — Б"), QStringLiteral("12"),
        QStringLiteral("Иванов \"И.\"") };
    saved.supportType = QStringLiteral("Проба-25"); // a made-up type
    return saved;
}

// The example after Prolet was changed: Label1 and Label10 were computed from the old span.
SavedCalculation staleExample(const QLocale &locale)
{
    SavedCalculation saved = example(locale);
    Calculation from = saved.calculation;
    from.sources = {};
    saved.result(Moment::IceWithWind).computedFrom = from;
    saved.result(Moment::IceToTrack).computedFrom = from;
    saved.calculation.setText(u"Prolet", QStringLiteral("65"));
    saved.result(Moment::MaximumWind).text.clear();
    return saved;
}

QByteArray exampleJson()
{
    return calculationToJson(example(ru));
}

QByteArray replaced(const QByteArray &json, const char *from, const QByteArray &to)
{
    QByteArray result = json;
    const qsizetype at = result.indexOf(from);
    if (at < 0)
        qFatal("fixture text not found: %s", from);
    return result.replace(at, qsizetype(qstrlen(from)), to);
}

QByteArray utf8(const QString &text)
{
    return text.toUtf8();
}

// The worked example of the help page as typed, no moment computed: any field text is accepted.
QByteArray helpInputsJson()
{
    SavedCalculation saved;
    saved.calculation = test::helpPageExample();
    return calculationToJson(saved);
}

// The worked example with all ten moments computed, in a decimal comma.
QByteArray helpComputedJson()
{
    return calculationToJson(test::helpPageComputed());
}

// The worked example as the report's tests have it: a look-up source, a Cyrillic title, stale
// moments.
QByteArray helpReportJson()
{
    return calculationToJson(test::helpPageReport().saved);
}

// A file in a decimal comma as written with decimal points: every comma between digits made a
// point, and the separator named so.
QByteArray pointed(const QByteArray &json)
{
    QString text = QString::fromUtf8(
        replaced(json, "\"decimalSeparator\": \",\"", "\"decimalSeparator\": \".\""));
    text.replace(QRegularExpression(QStringLiteral("(\\d),(\\d)")), QStringLiteral("\\1.\\2"));
    return text.toUtf8();
}

// The help example's "Рнв" (txtGnv, 0,5 in the file) as `text`, in a file written with `separator`.
QByteArray withIcePnv(QChar separator, const QString &text)
{
    if (separator == QLatin1Char(','))
        return replaced(
            helpInputsJson(), "\"txtGnv\": \"0,5\"", utf8("\"txtGnv\": \"" + text + '"'));
    return replaced(
        pointed(helpInputsJson()), "\"txtGnv\": \"0.5\"", utf8("\"txtGnv\": \"" + text + '"'));
}

// The file refused with exactly `problem`, or accepted when `problem` is empty.
void checkReading(const CalculationFileReading &read, const QString &problem)
{
    const auto *got = std::get_if<CalculationFileProblem>(&read);
    if (problem.isEmpty())
        QVERIFY2(!got, got ? qPrintable(got->text) : "");
    else
        QVERIFY2(got && got->text == problem,
            qPrintable(QStringLiteral("got «%1», expected «%2»")
                           .arg(got ? got->text : QStringLiteral("accepted"), problem)));
}

} // namespace

class TestCalculationFile : public QObject
{
    Q_OBJECT

private slots:
    void readsBackWhatItWrote_data();
    void readsBackWhatItWrote();
    void numbersReadByTheFilesSeparator_data();
    void numbersReadByTheFilesSeparator();
    void titlesAndSourcesStayAsWritten_data();
    void titlesAndSourcesStayAsWritten();
    void refusesWhatThisComputerReadsOtherwise_data();
    void refusesWhatThisComputerReadsOtherwise();
    void refusesBadFiles_data();
    void refusesBadFiles();
    void formatVersion_data();
    void formatVersion();
    void textsUpToTheLimit_data();
    void textsUpToTheLimit();
    void damagedJsonByLineAndColumn_data();
    void damagedJsonByLineAndColumn();
    void refusesFilesTooLarge();
    void failedWriteKeepsTheOldFile();
};

void TestCalculationFile::readsBackWhatItWrote_data()
{
    QTest::addColumn<SavedCalculation>("written");
    QTest::addColumn<QLocale>("readIn");
    QTest::addColumn<SavedCalculation>("expected");

    QTest::newRow("at start") << SavedCalculation {} << ru << SavedCalculation {};
    QTest::newRow("example") << example(ru) << ru << example(ru);
    QTest::newRow("stale moment") << staleExample(ru) << ru << staleExample(ru);
    QTest::newRow("written with '.', read with ','") << example(c) << ru << example(ru);
    QTest::newRow("written with ',', read with '.'") << staleExample(ru) << c << staleExample(c);
}

void TestCalculationFile::readsBackWhatItWrote()
{
    QFETCH(SavedCalculation, written);
    QFETCH(QLocale, readIn);
    QFETCH(SavedCalculation, expected);

    const CalculationFileReading read = calculationFromJson(calculationToJson(written), readIn);
    if (const auto *problem = std::get_if<CalculationFileProblem>(&read))
        QFAIL(qPrintable(problem->text));
    const SavedCalculation &got = std::get<SavedCalculation>(read);
    QCOMPARE(got.calculation.texts, expected.calculation.texts);
    QCOMPARE(got.result(Moment::IceWithWind).text, expected.result(Moment::IceWithWind).text);
    QVERIFY(got == expected);
}

// The window reads a file's texts in its own locale: each must be the number the file's own
// separator makes of it, or no number where the file's makes none, on every computer.
void TestCalculationFile::numbersReadByTheFilesSeparator_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<QLocale>("window");
    QTest::addColumn<double>("expected"); // NaN: no number

    const double none = qQNaN();
    struct Row {
        char separator;
        const char *text; // Рнв as the file holds it
        double value; // as the file's separator reads it
    };
    const Row rows[] = {
        { ',', "0,5", 0.5 },
        { ',', "0.5", none }, // the point is no decimal separator of this file
        { ',', ",5", 0.5 },
        { ',', " 0,5 ", 0.5 },
        { ',', "-1,5E-3", -0.0015 },
        { ',', "2e3", 2000 },
        { ',', "1,000", 1 },
        { ',', "1.000", none }, // digit grouping is no number
        { ',', "1.000,5", none },
        { ',', "1\u00A0000", none },
        { ',', "1,5,0", none },
        { ',', "Gp10", none },
        { '.', "0.5", 0.5 },
        { '.', "0,5", none },
        { '.', ".5", 0.5 },
        { '.', "2E3", 2000 },
        { '.', "1.000", 1 },
        { '.', "1,000", none },
        { '.', "1,000.5", none },
    };
    const QLocale german(QLocale::German, QLocale::Germany);
    for (const QLocale &window : { c, ru, german })
        for (const Row &row : rows) {
            const QString text = QString::fromUtf8(row.text);
            QTest::addRow(
                "'%c' file «%s», %s window", row.separator, row.text, qPrintable(window.name()))
                << withIcePnv(QLatin1Char(row.separator), text) << window << row.value;
        }
}

void TestCalculationFile::numbersReadByTheFilesSeparator()
{
    QFETCH(QByteArray, json);
    QFETCH(QLocale, window);
    QFETCH(double, expected);

    const CalculationFileReading read = calculationFromJson(json, window);
    checkReading(read, QString());
    if (QTest::currentTestFailed())
        return;
    const SavedCalculation &saved = std::get<SavedCalculation>(read);
    QCOMPARE(saved.decimalSeparator, window.decimalPoint().front());
    const QString shown = saved.calculation.text(InputField::IcePnv);
    const std::optional<double> got = readNumber(shown, window);
    if (qIsNaN(expected))
        QVERIFY2(!got, qPrintable(QStringLiteral("«%1» reads as %2").arg(shown).arg(*got)));
    else
        QCOMPARE(got.value_or(qQNaN()), expected);
}

// Only field and result texts are numbers: a title or a look-up source that holds a separator
// keeps it in a window with the other one.
void TestCalculationFile::titlesAndSourcesStayAsWritten_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<QLocale>("window");

    const auto withSeparators = [](const QByteArray &json) {
        return replaced(replaced(json, "\"Перегон Лесная — Озерная\"", utf8("\"км 12,5 — 13.1\"")),
            "\"М-95+МФ-100\"", utf8("\"М-95, 1.5\""));
    };
    QTest::newRow("comma file, point window") << withSeparators(helpReportJson()) << c;
    QTest::newRow("comma file, comma window") << withSeparators(helpReportJson()) << ru;
    QTest::newRow("point file, comma window") << withSeparators(pointed(helpReportJson())) << ru;
}

void TestCalculationFile::titlesAndSourcesStayAsWritten()
{
    QFETCH(QByteArray, json);
    QFETCH(QLocale, window);
    const CalculationFileReading read = calculationFromJson(json, window);
    checkReading(read, QString());
    if (QTest::currentTestFailed())
        return;
    const SavedCalculation &saved = std::get<SavedCalculation>(read);
    QCOMPARE(saved.title.object, QStringLiteral("км 12,5 — 13.1"));
    QVERIFY(saved.calculation.source(InputField::IceGp).has_value());
    QCOMPARE(saved.calculation.source(InputField::IceGp)->row, QStringLiteral("М-95, 1.5"));
}

// A text that the window's locale would read otherwise even with the separators exchanged (the
// Ukrainian locale writes the exponent with a Cyrillic letter) is not silently given another
// meaning.
void TestCalculationFile::refusesWhatThisComputerReadsOtherwise_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<QLocale>("window");
    QTest::addColumn<QString>("problem"); // empty: accepted

    const QLocale ukrainian(QLocale::Ukrainian, QLocale::Ukraine);
    const QString otherwise = QStringLiteral(
        "%1: «%2» читается в формате чисел этого компьютера (uk_UA) иначе, чем в файле");
    const QByteArray exponent = withIcePnv(QLatin1Char(','), QStringLiteral("5e-1"));
    QTest::newRow("exponent, Russian window") << exponent << ru << QString();
    QTest::newRow("exponent, Ukrainian window")
        << exponent << ukrainian << otherwise.arg("\"fields\" \"txtGnv\"", "5e-1");
    QTest::newRow("Cyrillic exponent, Ukrainian window") << withIcePnv(QLatin1Char(','),
        QStringLiteral("5Е-1")) << ukrainian << otherwise.arg("\"fields\" \"txtGnv\"", "5Е-1");
    QTest::newRow("inputs of a stale moment, Ukrainian window")
        << replaced(helpReportJson(), "\"txtGpr\":\"1,5\"", "\"txtGpr\":\"15e-1\"") << ukrainian
        << otherwise.arg("\"results\" \"Label1\": \"computedFrom\" \"txtGpr\"", "15e-1");
    QTest::newRow("plain numbers, Ukrainian window") << helpReportJson() << ukrainian << QString();
}

void TestCalculationFile::refusesWhatThisComputerReadsOtherwise()
{
    QFETCH(QByteArray, json);
    QFETCH(QLocale, window);
    QFETCH(QString, problem);
    checkReading(calculationFromJson(json, window), problem);
}

// Every refusal names the place, and is the same on a computer with a decimal comma and one with
// a decimal point.
void TestCalculationFile::refusesBadFiles_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<QString>("problem");

    const QByteArray json = exampleJson();
    QTest::newRow("empty") << QByteArray() << "файл пуст";
    QTest::newRow("only blanks") << QByteArray(" \r\n\t\n") << "файл пуст";
    QTest::newRow("not JSON") << QByteArray("Prolet=65\n")
                              << "это не файл расчета Kelsa (файл расчета начинается с «{»)";
    QTest::newRow("a PDF") << QByteArray("%PDF-1.4\n{")
                           << "это не файл расчета Kelsa (файл расчета начинается с «{»)";
    QTest::newRow("a JSON list") << QByteArray("\xEF\xBB\xBF [{}]")
                                 << "это не файл расчета Kelsa (файл расчета начинается с «{»)";
    QTest::newRow("another format") << replaced(json, "kelsa-calculation",
        "kelsa-table") << "это не файл расчета Kelsa (нет \"format\": \"kelsa-calculation\")";
    QTest::newRow("unknown field") << replaced(json, "\"Prolet\"", "\"Prolett\"")
                                   << "\"fields\": неизвестное поле \"Prolett\"";
    QTest::newRow("missing field")
        << replaced(json, "\"Prolet\": \"50\",", "") << "\"fields\": нет поля \"Prolet\"";
    QTest::newRow("unknown option") << replaced(json, "\"Option19\"", "\"Option99\"")
                                    << "\"options\": неизвестный переключатель \"Option99\"";
    QTest::newRow("two options of a group") << replaced(json, "\"Option1\"",
        "\"Option18\"") << "\"options\": два переключателя группы «Участок пути»";
    QTest::newRow("no track section") << replaced(helpInputsJson(), "\"Option18\",", "")
                                      << "\"options\": не выбран переключатель группы «Участок "
                                         "пути»";
    QTest::newRow("unknown table") << replaced(json, "\"Data10\"", "\"Data11\"")
                                   << "\"records\": неизвестная таблица \"Data11\"";
    QTest::newRow("unknown label") << replaced(json, "\"Label1\"", "\"Label2\"")
                                   << "\"results\": неизвестная метка результата \"Label2\"";
    QTest::newRow("number for a text") << replaced(json, "\"Prolet\": \"50\"", "\"Prolet\": 50")
                                       << "\"fields\" \"Prolet\": ожидается текст";
    QTest::newRow("support type not a text") << replaced(json, "\"supportType\": \"Проба-25\"",
        "\"supportType\": 25") << "файл \"supportType\": ожидается текст";
    QTest::newRow("record 0") << replaced(json, "\"Data1\": 1", "\"Data1\": 0")
                              << "\"records\" \"Data1\": номер записи должен быть целым числом "
                                 "от 1";
    QTest::newRow("source on a field that is no look-up")
        << replaced(helpReportJson(), "\"txtGp\": {\"cell\"", "\"Prolet\": {\"cell\"")
        << "\"sources\": \"Prolet\" не поле справочных данных";
    QTest::newRow("source in an unknown table") << replaced(helpReportJson(), "\"Data2\"}",
        "\"Data0\"}") << "\"sources\" \"txtGp\": неизвестная таблица \"Data0\"";
    QTest::newRow("source's file not a text") << replaced(helpReportJson(), "\"cell\":\"Gp10\"",
        "\"cell\":\"Gp10\",\"file\":2") << "\"sources\" \"txtGp\": \"file\": ожидается текст";
    QTest::newRow("result edited by hand")
        << replaced(json, "\"Label1\": {\"text\":\"", "\"Label1\": {\"text\":\"1")
        << "результат \"Label1\" (1350731,384) не следует из сохраненных исходных данных (по ним: "
           "350731,384)";
    QTest::newRow("input edited after the result")
        << replaced(json, "\"Prolet\": \"50\"", "\"Prolet\": \"51\"")
        << "результат \"Label1\" (350731,384) не следует из сохраненных исходных данных (по ним: "
           "357737,384)";
    // The file's separator decides what is a number, whatever the computer's is.
    QTest::newRow("0.5 in a comma file, moments kept")
        << replaced(helpComputedJson(), "\"txtGnv\": \"0,5\"", "\"txtGnv\": \"0.5\"")
        << "результат \"Label1\" (1463,134) не следует из сохраненных исходных данных (по ним: "
           "момент не вычисляется)";
    QTest::newRow("0,5 in a point file, moments kept")
        << replaced(pointed(helpComputedJson()), "\"txtGnv\": \"0.5\"", "\"txtGnv\": \"0,5\"")
        << "результат \"Label1\" (1463.134) не следует из сохраненных исходных данных (по ним: "
           "момент не вычисляется)";
}

void TestCalculationFile::refusesBadFiles()
{
    QFETCH(QByteArray, json);
    QFETCH(QString, problem);
    for (const QLocale &window : { ru, c })
        checkReading(calculationFromJson(json, window), problem);
}

void TestCalculationFile::formatVersion_data()
{
    QTest::addColumn<QByteArray>("version");
    QTest::addColumn<QString>("problem"); // empty: accepted

    const QString notWhole
        = QStringLiteral("\"version\": версия формата должна быть целым числом от 1");
    QTest::newRow("0") << QByteArray("0") << notWhole;
    QTest::newRow("-1") << QByteArray("-1") << notWhole;
    QTest::newRow("1.5") << QByteArray("1.5") << notWhole;
    QTest::newRow("as text") << QByteArray("\"1\"") << notWhole;
    QTest::newRow("1") << QByteArray("1") << QString();
    QTest::newRow("2") << QByteArray("2")
                       << "файл записан более новой версией Kelsa (версия формата 2, эта "
                          "программа читает версию 1)";
}

void TestCalculationFile::formatVersion()
{
    QFETCH(QByteArray, version);
    QFETCH(QString, problem);
    checkReading(calculationFromJson(
                     replaced(helpComputedJson(), "\"version\": 1", "\"version\": " + version), ru),
        problem);
}

// Texts up to 1,000 characters (not bytes: each Cyrillic letter takes two) are kept whole; a
// longer one refuses the file, naming it.
void TestCalculationFile::textsUpToTheLimit_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<QString>("expected"); // the text as read; empty when refused
    QTest::addColumn<QString>("problem"); // empty: accepted

    for (const int length : { 1000, 1001 }) {
        const QString text(length, QChar(u'ж'));
        const bool kept = length <= 1000;
        const auto refusal = [&](const char *where) {
            return kept
                ? QString()
                : QStringLiteral("%1: текст длиннее 1000 символов").arg(QLatin1String(where));
        };
        QTest::addRow("field of %d", length)
            << replaced(helpInputsJson(), "\"Prolet\": \"50\"", utf8("\"Prolet\": \"" + text + '"'))
            << (kept ? text : QString()) << refusal("\"fields\" \"Prolet\"");
        QTest::addRow("title of %d", length)
            << replaced(helpReportJson(), "\"Перегон Лесная — Озерная\"", utf8('"' + text + '"'))
            << (kept ? text : QString()) << refusal("\"title\" \"object\"");
        QTest::addRow("look-up source of %d", length)
            << replaced(helpReportJson(), "\"М-95+МФ-100\"", utf8('"' + text + '"'))
            << (kept ? text : QString()) << refusal("\"sources\" \"txtGp\": \"row\"");
    }
}

void TestCalculationFile::textsUpToTheLimit()
{
    QFETCH(QByteArray, json);
    QFETCH(QString, expected);
    QFETCH(QString, problem);
    const CalculationFileReading read = calculationFromJson(json, ru);
    checkReading(read, problem);
    if (QTest::currentTestFailed() || !problem.isEmpty())
        return;
    const SavedCalculation &saved = std::get<SavedCalculation>(read);
    const auto &source = saved.calculation.source(InputField::IceGp);
    const QStringList texts { saved.calculation.text(InputField::SpanLength), saved.title.object,
        source ? source->row : QString() };
    QVERIFY2(texts.contains(expected), "the long text was not read whole");
}

// A damaged file is told by line and column, the column counted in characters of its line; a
// missing separator is placed where it belongs, after the text before it.
void TestCalculationFile::damagedJsonByLineAndColumn_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<QString>("problem");

    const QByteArray json = helpComputedJson();
    const QByteArray noComma = replaced(json, "\"Prolet\": \"50\",", "\"Prolet\": \"50\"");
    const QString commaOnLine6
        = QStringLiteral("файл расчета поврежден в строке 6, столбце 19 (ожидается «,» или «}»)");
    QTest::newRow("colon missing on the first line")
        << replaced(json, "{\n  \"format\":", "{\"format\"")
        << "файл расчета поврежден в строке 1, столбце 10 (ожидается «:» после имени)";
    QTest::newRow("colon missing after a byte-order mark")
        << "\xEF\xBB\xBF" + replaced(json, "{\n  \"format\":", "{\"format\"")
        << "файл расчета поврежден в строке 1, столбце 10 (ожидается «:» после имени)";
    QTest::newRow("comma missing at the end of a line") << noComma << commaOnLine6;
    QTest::newRow("lines ending in CR LF")
        << QByteArray(noComma).replace("\n", "\r\n") << commaOnLine6;
    QTest::newRow("lines ending in CR") << QByteArray(noComma).replace('\n', '\r') << commaOnLine6;
    QTest::newRow("comma missing after Cyrillic text") << replaced(helpReportJson(), "Озерная\",",
        "Озерная\"") << "файл расчета поврежден в строке 71, столбце 72 (ожидается «,» или «}»)";
    QTest::newRow("comma before a closing brace")
        << replaced(json, "\"txtF9\": \"1\"\n", "\"txtF9\": \"1\",\n")
        << "файл расчета поврежден в строке 42, столбце 3 (после «,» ожидается еще одно значение)";
    QTest::newRow("cut short after a line")
        << json.left(json.indexOf("\n  \"options\""))
        << "файл расчета поврежден в строке 42, столбце 5 (текст обрывается)";
    QTest::newRow("cut short after a value")
        << json.left(json.indexOf(",\n  \"options\""))
        << "файл расчета поврежден в строке 42, столбце 4 (текст обрывается)";
    QTest::newRow("a brace too many") << json + "}"
                                      << "файл расчета поврежден в строке 71, столбце 1 (лишний "
                                         "текст после конца документа)";
    const QByteArray report = helpReportJson();
    QTest::newRow("cut short in a Cyrillic text")
        << report.left(report.indexOf("Озерная") + qsizetype(strlen("Оз")))
        << "файл расчета поврежден в строке 71, столбце 66 (текст обрывается)";
}

void TestCalculationFile::damagedJsonByLineAndColumn()
{
    QFETCH(QByteArray, json);
    QFETCH(QString, problem);
    checkReading(calculationFromJson(json, ru), problem);
}

void TestCalculationFile::refusesFilesTooLarge()
{
    QTemporaryDir dir;
    QFile file(dir.filePath(QStringLiteral("huge.kelsa")));
    QVERIFY(file.open(QIODevice::WriteOnly) && file.resize(100LL * 1024 * 1024));
    file.close();
    const CalculationFileReading read = readCalculationFile(file.fileName(), ru);
    const auto *got = std::get_if<CalculationFileProblem>(&read);
    QVERIFY(got && got->text.contains(QStringLiteral("слишком велик (100 МБ)")));
}

// A disk that fills up half-way: the file-size limit makes the write fail after a few bytes.
void TestCalculationFile::failedWriteKeepsTheOldFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("опора 12.kelsa"));
    QCOMPARE(writeCalculationFile(path, example(ru)), QString());

    rlimit old {};
    getrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = 512;
    setrlimit(RLIMIT_FSIZE, &small);
    const QString error = writeCalculationFile(path, staleExample(ru));
    setrlimit(RLIMIT_FSIZE, &old);

    QVERIFY(!error.isEmpty());
    const CalculationFileReading read = readCalculationFile(path, ru);
    QVERIFY(std::holds_alternative<SavedCalculation>(read));
    QVERIFY(std::get<SavedCalculation>(read) == example(ru));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), 1); // no temporary file left
}

QTEST_GUILESS_MAIN(TestCalculationFile)
#include "test_calculationfile.moc"
