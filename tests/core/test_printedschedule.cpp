// SPDX-License-Identifier: GPL-3.0-or-later
// The printed schedule's engine: the fields stated once above the table, the table cut into
// bands of columns that fit the page, and a row's errors in Russian words.
#include "support/lineschedule.h"

#include "core/schedule/printedtable.h"
#include "core/schedule/rowcomputation.h"
#include "core/schedule/rowreasons.h"

#include <QTest>

using namespace kelsa;
using namespace kelsa::test;

namespace
{

using Bands = QList<QList<int>>;

// "Prolet=50 column", "txtVm=30 common": what sharedFields() gives, readable in a table.
QStringList sharedText(const std::vector<SharedField> &shared)
{
    QStringList texts;
    for (const SharedField &field : shared)
        texts << QStringLiteral("%1=%2 %3")
                     .arg(QString::fromLatin1(fieldInfo(field.field).name), field.text,
                         field.column ? QStringLiteral("column") : QStringLiteral("common"));
    return texts;
}

} // namespace

class TestPrintedSchedule : public QObject
{
    Q_OBJECT

private slots:
    void columnBands_data();
    void columnBands();
    void sharedFields_data();
    void sharedFields();
    void momentsInWords_data();
    void momentsInWords();
    void rowInWords_data();
    void rowInWords();
};

void TestPrintedSchedule::columnBands_data()
{
    QTest::addColumn<QList<double>>("widths");
    QTest::addColumn<int>("repeated");
    QTest::addColumn<double>("room");
    QTest::addColumn<Bands>("bands");

    const QList<double> four { 10, 20, 30, 40 };
    QTest::newRow("exactly the page") << four << 2 << 100.0 << Bands { { 0, 1, 2, 3 } };
    QTest::newRow("one past the page") << four << 2 << 99.0 << Bands { { 0, 1, 2 }, { 0, 1, 3 } };
    QTest::newRow("a band each") << QList<double> { 10, 10, 50, 50, 50 } << 2 << 70.0
                                 << Bands { { 0, 1, 2 }, { 0, 1, 3 }, { 0, 1, 4 } };
    // Never a band of the repeated columns alone, nor a column lost.
    QTest::newRow("a column wider than the page")
        << QList<double> { 10, 10, 200, 20 } << 2 << 100.0 << Bands { { 0, 1, 2 }, { 0, 1, 3 } };
    QTest::newRow("only the repeated columns")
        << QList<double> { 10, 10 } << 2 << 5.0 << Bands { { 0, 1 } };
    QTest::newRow("nothing repeated")
        << QList<double> { 30, 30, 30 } << 0 << 60.0 << Bands { { 0, 1 }, { 2 } };
    QTest::newRow("fewer columns than repeated")
        << QList<double> { 10 } << 2 << 100.0 << Bands { { 0 } };
}

void TestPrintedSchedule::columnBands()
{
    QFETCH(QList<double>, widths);
    QFETCH(int, repeated);
    QFETCH(double, room);
    QFETCH(Bands, bands);
    const std::vector<double> values(widths.begin(), widths.end());
    Bands got;
    for (const std::vector<int> &band : kelsa::columnBands(values, repeated, room))
        got << QList<int>(band.begin(), band.end());
    QCOMPARE(got, bands);
}

void TestPrintedSchedule::sharedFields_data()
{
    QTest::addColumn<QStringList>("rows"); // span and stagger of each row, "50|0,3"
    QTest::addColumn<QStringList>("common"); // "txtVm=30": set in the common data
    QTest::addColumn<QStringList>("shared");

    const QStringList none;
    QTest::newRow("alike on two rows") << QStringList { "50|0,3", "50|0,3" } << none
                                       << QStringList { "Prolet=50 column", "Text5=0,3 column" };
    QTest::newRow("one row differs")
        << QStringList { "50|0,3", "50|0,25" } << none << QStringList { "Prolet=50 column" };
    QTest::newRow("a single row") << QStringList { "50|0,3" } << none << none;
    QTest::newRow("outer blanks") << QStringList { " 50|0,3", "50 |0,3" } << none
                                  << QStringList { "Prolet=50 column", "Text5=0,3 column" };
    // The text is compared, as the reader sees it, not the value.
    QTest::newRow("the same value written otherwise")
        << QStringList { "50|0,3", "50,0|0,3" } << none << QStringList { "Text5=0,3 column" };
    // Red in the table, where its rows are.
    QTest::newRow("alike but no number") << QStringList { "пятьдесят|0,3", "пятьдесят|0,3" } << none
                                         << QStringList { "Text5=0,3 column" };
    QTest::newRow("the other separator")
        << QStringList { "50|0.3", "50|0.3" } << none << QStringList { "Prolet=50 column" };
    QTest::newRow("empty on every row")
        << QStringList { "|0,3", "|0,3" } << none << QStringList { "Text5=0,3 column" };
    QTest::newRow("common data") << QStringList { "50|0,3", "60|0,3" }
                                 << QStringList { "txtVm=30", "Text1= 1500 ", "Text2=  " }
                                 << QStringList { "Text5=0,3 column", "txtVm=30 common",
                                        "Text1=1500 common" };
    // D1 × D4 × D7 and F2 × F5 × F8 are loads; a row with a factor 0 or empty adds none.
    QTest::newRow("additional loads")
        << QStringList { "50|0,3", "60|0,25" }
        << QStringList { "txtD1=2", "txtD4=3", "txtD7=1", "txtD2=2", "txtD5=0", "TxtD8=1",
               "txtD3=2", "txtD6=3", "txtF2=5", "txtF5=1,5", "txtF8=2" }
        << QStringList { "txtD1=2 common", "txtD4=3 common", "txtD7=1 common", "txtF2=5 common",
               "txtF5=1,5 common", "txtF8=2 common" };
}

void TestPrintedSchedule::sharedFields()
{
    QFETCH(QStringList, rows);
    QFETCH(QStringList, common);
    QFETCH(QStringList, shared);
    Schedule schedule;
    schedule.common = Calculation {}; // every field empty
    schedule.fields = { InputField::SpanLength, InputField::Stagger };
    for (const QString &texts : rows) {
        ScheduleRow row;
        row.field(InputField::SpanLength) = texts.section(u'|', 0, 0);
        row.field(InputField::Stagger) = texts.section(u'|', 1, 1);
        schedule.rows << row;
    }
    for (const QString &set : common)
        QVERIFY(schedule.common.setText(set.section(u'=', 0, 0), set.section(u'=', 1)));
    QCOMPARE(sharedText(kelsa::sharedFields(schedule)), shared);
}

void TestPrintedSchedule::momentsInWords_data()
{
    // A letter per moment, in their order: v a value, s no span, l no Lp, n no finite number,
    // e Text1 empty, x Text1 "abc".
    QTest::addColumn<QString>("outcomes");
    QTest::addColumn<QStringList>("words");

    QTest::newRow("every moment") << "vvvvvvvvvv" << QStringList {};
    QTest::newRow("all ten alike")
        << "ssssssssss" << QStringList { "нет длины пролета: все моменты" };
    QTest::newRow("the transition support's eight")
        << "vvllllllll"
        << QStringList { "нет расстояния от переходной до анкерной опоры: "
                         "все моменты переходной опоры" };
    // Eight, but not the transition support's: named one by one.
    QTest::newRow("eight others")
        << "ssssssssvv"
        << QStringList { "нет длины пролета: Мо вг; Мо в max; переходная, вг, от опоры на путь; "
                         "переходная, вг, от пути на опору; переходная, вг, от опоры на путь, "
                         "пята; переходная, вг, от пути на опору, пята; переходная, max, от "
                         "опоры на путь; переходная, max, от пути на опору" };
    QTest::newRow("in the order of their first moment")
        << "lsvvvvvvvl"
        << QStringList { "нет расстояния от переходной до анкерной опоры: Мо вг; "
                         "переходная, max, от пути на опору, пята",
               "нет длины пролета: Мо в max" };
    QTest::newRow("no finite number")
        << "nvnvvvvvvv"
        << QStringList { "нет конечного результата: Мо вг",
               "переполнение: результат выходит за пределы чисел: переходная, вг, от опоры на "
               "путь" };
    QTest::newRow("refused fields")
        << "evxvvvvvvv"
        << QStringList { "не заполнено поле «Тн кгс»: Мо вг",
               "не число в поле «Тн кгс»: «abc»: переходная, вг, от опоры на путь" };
}

void TestPrintedSchedule::momentsInWords()
{
    QFETCH(QString, outcomes);
    QFETCH(QStringList, words);
    std::vector<MomentOutcome> list;
    for (int k = 0; k < kMomentCount; ++k) {
        MomentOutcome outcome { Moment(k), {}, {}, {} };
        const QChar letter = outcomes[k];
        if (letter == u's')
            outcome.result.outcome = MomentResult::Outcome::SpanMissing;
        else if (letter == u'l')
            outcome.result.outcome = MomentResult::Outcome::LpMissing;
        else if (letter == u'n')
            outcome.result.outcome = MomentResult::Outcome::NotFinite;
        else if (letter == u'e' || letter == u'x')
            outcome.badFields.push_back({ InputField::MessengerTension, letter == u'e',
                letter == u'e' ? QString() : QStringLiteral("abc") });
        list.push_back(outcome);
    }
    QCOMPARE(momentReasons(list), words);
}

void TestPrintedSchedule::rowInWords_data()
{
    QTest::addColumn<QStringList>("common"); // "txtLp=0": set in the common data
    QTest::addColumn<double>("normative"); // of the catalogue's one type, kgf·m; 0: none
    QTest::addColumn<QStringList>("words");

    const QString noLp = QStringLiteral(
        "нет расстояния от переходной до анкерной опоры: все моменты переходной опоры");
    QTest::newRow("sound") << QStringList {} << 1e9 << QStringList {};
    // The transition support needs no span, only Lp.
    QTest::newRow("no span") << QStringList { "Prolet=0" } << 0.0
                             << QStringList { "нет длины пролета: Мо вг; Мо в max" };
    QTest::newRow("no Lp") << QStringList { "txtLp=0" } << 0.0 << QStringList { noLp };
    QTest::newRow("an empty field")
        << QStringList { "Text1=" } << 0.0
        << QStringList { "не заполнено поле «Тн кгс»: все моменты переходной опоры" };
    // Said once for the whole schedule, not on every row.
    QTest::newRow("no catalogue") << QStringList { "Prolet=0", "txtLp=0" } << 0.0
                                  << QStringList { "нет длины пролета: Мо вг; Мо в max", noLp };
    QTest::newRow("no moment to check")
        << QStringList { "Prolet=0", "txtLp=0" } << 1e9
        << QStringList { "нет длины пролета: Мо вг; Мо в max", noLp, "ни один момент не вычислен" };
    QTest::newRow("no type holds")
        << QStringList {} << 1.0
        << QStringList { "ни один тип каталога опор не выдерживает расчетный момент "
                         "−2738,30 кгс·м = −26,85 кН·м (переходная, max, от пути на опору): "
                         "наибольший Mн 0,01 кН·м (тип Т-1), использование 273830 %" };
}

void TestPrintedSchedule::rowInWords()
{
    QFETCH(QStringList, common);
    QFETCH(double, normative);
    QFETCH(QStringList, words);
    Schedule schedule = lineSchedule();
    schedule.fields = {};
    for (const QString &set : common)
        QVERIFY(schedule.common.setText(set.section(u'=', 0, 0), set.section(u'=', 1)));
    const SupportCatalogue catalogue = normative > 0
        ? catalogueOf({ { QStringLiteral("Т-1"), normative, {}, {}, 2 } })
        : SupportCatalogue {};
    QCOMPARE(computeScheduleRow(schedule, 0, catalogue).reasons, words);
}

QTEST_GUILESS_MAIN(TestPrintedSchedule)
#include "test_printedschedule.moc"
