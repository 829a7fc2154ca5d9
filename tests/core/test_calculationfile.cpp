// SPDX-License-Identifier: GPL-3.0-or-later
// The .kelsa file: what is written reads back as the same calculation, also under the other
// decimal separator; every kind of bad file is refused with its first problem; a write that
// fails leaves the old file in place.
#include "core/calc/momentlabel.h"
#include "core/document/calculationfile.h"

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
              QStringLiteral("Gp10") };
    for (const Moment moment : { Moment::IceWithWind, Moment::MaximumWind, Moment::IceToTrack })
        saved.result(moment).text
            = resultLabelText(computeMoment(saved.calculation, moment, locale), locale);
    saved.records[1] = 3;
    saved.title = { QStringLiteral("Перегон А — Б"), QStringLiteral("12"),
        QStringLiteral("Иванов \"И.\"") };
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

QByteArray replaced(const QByteArray &json, const char *from, const char *to)
{
    QByteArray result = json;
    const qsizetype at = result.indexOf(from);
    if (at < 0)
        qFatal("fixture text not found: %s", from);
    return result.replace(at, qsizetype(qstrlen(from)), to);
}

} // namespace

class TestCalculationFile : public QObject
{
    Q_OBJECT

private slots:
    void readsBackWhatItWrote_data();
    void readsBackWhatItWrote();
    void refusesBadFiles_data();
    void refusesBadFiles();
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

void TestCalculationFile::refusesBadFiles_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<QString>("problem");

    const QByteArray json = exampleJson();
    const QString longText(1001, QLatin1Char('7'));
    QTest::newRow("not JSON") << QByteArray("Prolet=65\n") << "это не файл расчета Kelsa (файл расчета начинается с «{»)";
    QTest::newRow("cut short") << json.left(json.size() / 2) << "файл расчета поврежден в строке";
    QTest::newRow("another format")
        << replaced(json, "kelsa-calculation", "kelsa-table") << "это не файл расчета Kelsa";
    QTest::newRow("newer version")
        << replaced(json, "\"version\": 1", "\"version\": 2") << "версия формата 2";
    QTest::newRow("unknown field")
        << replaced(json, "\"Prolet\"", "\"Prolett\"") << "неизвестное поле \"Prolett\"";
    QTest::newRow("unknown option")
        << replaced(json, "\"Option19\"", "\"Option99\"") << "неизвестный переключатель";
    QTest::newRow("two options of a group")
        << replaced(json, "\"Option1\"", "\"Option18\"") << "два переключателя группы";
    QTest::newRow("unknown table")
        << replaced(json, "\"Data10\"", "\"Data11\"") << "неизвестная таблица \"Data11\"";
    QTest::newRow("unknown label")
        << replaced(json, "\"Label1\"", "\"Label2\"") << "неизвестная метка результата \"Label2\"";
    QTest::newRow("text too long")
        << replaced(json, "\"Prolet\": \"50\"", qPrintable("\"Prolet\": \"" + longText + "\""))
        << "\"Prolet\": текст длиннее 1000 символов";
    QTest::newRow("number for a text")
        << replaced(json, "\"Prolet\": \"50\"", "\"Prolet\": 50") << "ожидается текст";
    QTest::newRow("record 0") << replaced(json, "\"Data1\": 1", "\"Data1\": 0")
                              << "номер записи должен быть целым";
    QTest::newRow("result edited by hand") << replaced(json, "\"Label1\": {\"text\":\"",
        "\"Label1\": {\"text\":\"1") << "результат \"Label1\"";
    QTest::newRow("input edited after the result")
        << replaced(json, "\"Prolet\": \"50\"", "\"Prolet\": \"51\"") << "не следует из";
}

void TestCalculationFile::refusesBadFiles()
{
    QFETCH(QByteArray, json);
    QFETCH(QString, problem);

    const CalculationFileReading read = calculationFromJson(json, ru);
    const auto *got = std::get_if<CalculationFileProblem>(&read);
    QVERIFY2(got, "the file was accepted");
    QVERIFY2(got->text.contains(problem), qPrintable(got->text));
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
