// SPDX-License-Identifier: GPL-3.0-or-later
// A schedule's row taken into the main window and a calculation put back: numbers change their
// decimal separator and nothing else; a field without a column that the calculation changed
// gets its column rather than being lost; the section is left to the common data only when it
// is the common one. A block pasted into a sorted view lands in the rows as the view shows
// them.
#include "core/schedule/rowtransfer.h"
#include "core/schedule/schedulemodel.h"
#include "core/schedule/viewpaste.h"

#include <QTest>

using namespace kelsa;

Q_DECLARE_METATYPE(kelsa::SavedCalculation)

namespace
{

using F = InputField;

// Two supports of a line in the '.' separator: the first on the outer curve, the second with
// the common section and a text that is no number.
Schedule line()
{
    Schedule schedule;
    schedule.decimalSeparator = QLatin1Char('.');
    schedule.common.setText(u"Prolet", QStringLiteral("60"));
    schedule.common.setText(u"txtVm", QStringLiteral("29.5"));
    schedule.common.setText(u"Text4", QStringLiteral("800"));
    schedule.fields = { F::SpanLength, F::Stagger };
    ScheduleRow row;
    row.support = QStringLiteral("12");
    row.section = QStringLiteral("вне.кривая");
    row.field(F::SpanLength) = QStringLiteral("50.5");
    row.field(F::Stagger) = QStringLiteral("0.3");
    row.supportType = QStringLiteral(" СС136.6-2 ");
    schedule.rows << row;
    row.support = QStringLiteral("14");
    row.section.clear();
    row.field(F::SpanLength) = QStringLiteral("пятьдесят");
    row.supportType.clear();
    schedule.rows << row;
    schedule.title = { QStringLiteral("Перегон А — Б"), QStringLiteral("Иванов"), QString() };
    return schedule;
}

// The main window's calculation of row 0 after the designer changed what `change` says.
SavedCalculation windowCalculation(const std::function<void(SavedCalculation &)> &change)
{
    SavedCalculation saved = rowAsCalculation(line(), 0, QLatin1Char(','));
    change(saved);
    return saved;
}

} // namespace

class TestScheduleTransfer : public QObject
{
    Q_OBJECT

private slots:
    void rowIntoTheWindow_data();
    void rowIntoTheWindow();
    void calculationIntoTheSchedule_data();
    void calculationIntoTheSchedule();
    void replacingARowThatIsNotThere_data();
    void replacingARowThatIsNotThere();
    void newRowTakesTheCommonTexts_data();
    void newRowTakesTheCommonTexts();
    void pasteFollowsTheView_data();
    void pasteFollowsTheView();
};

void TestScheduleTransfer::rowIntoTheWindow_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("windowSeparator");
    QTest::addColumn<QString>("span");
    QTest::addColumn<QString>("stagger");
    QTest::addColumn<QString>("windSpeed"); // common, no column
    QTest::addColumn<int>("section");
    QTest::addColumn<QString>("supportType");
    QTest::addColumn<QString>("support");

    QTest::newRow("own section, ',' window") << 0 << ","
                                             << "50,5"
                                             << "0,3"
                                             << "29,5" << 1 << "СС136.6-2"
                                             << "12";
    QTest::newRow("own section, '.' window") << 0 << "."
                                             << "50.5"
                                             << "0.3"
                                             << "29.5" << 1 << "СС136.6-2"
                                             << "12";
    QTest::newRow("common section, no number kept") << 1 << ","
                                                    << "пятьдесят"
                                                    << "0,3"
                                                    << "29,5" << 0 << ""
                                                    << "14";
}

void TestScheduleTransfer::rowIntoTheWindow()
{
    QFETCH(int, row);
    QFETCH(QString, windowSeparator);
    QFETCH(QString, span);
    QFETCH(QString, stagger);
    QFETCH(QString, windSpeed);
    QFETCH(int, section);
    QFETCH(QString, supportType);
    QFETCH(QString, support);
    const SavedCalculation saved = rowAsCalculation(line(), row, windowSeparator.front());
    QCOMPARE(saved.calculation.text(F::SpanLength), span);
    QCOMPARE(saved.calculation.text(F::Stagger), stagger);
    QCOMPARE(saved.calculation.text(F::MaxWindSpeed), windSpeed);
    QCOMPARE(saved.calculation.text(F::CurveRadius), QStringLiteral("800"));
    QCOMPARE(saved.calculation.option(OptionGroup::TrackSection), section);
    QCOMPARE(saved.decimalSeparator, windowSeparator.front());
    QCOMPARE(saved.supportType, supportType);
    QCOMPARE(saved.title,
        (ReportTitle { QStringLiteral("Перегон А — Б"), support, QStringLiteral("Иванов") }));
    for (const SavedResult &result : saved.results)
        QVERIFY(result.text.isEmpty());
}

// The calculation of row 0 changed in the window, put back as a new row or over row 0.
void TestScheduleTransfer::calculationIntoTheSchedule_data()
{
    QTest::addColumn<SavedCalculation>("saved");
    QTest::addColumn<bool>("replace");
    QTest::addColumn<QStringList>("columns"); // the field columns afterwards
    QTest::addColumn<QStringList>("texts"); // of the row, in the order of `columns`
    QTest::addColumn<QString>("section");

    const QStringList held { "Prolet", "Text5" };
    const auto unchanged = windowCalculation([](SavedCalculation &) {});
    QTest::newRow("added unchanged")
        << unchanged << false << held << QStringList { "50.5", "0.3" } << "Вне.кривая";
    QTest::newRow("replaced unchanged, own spelling of the section kept")
        << unchanged << true << held << QStringList { "50.5", "0.3" } << "вне.кривая";
    QTest::newRow("common section left empty") << windowCalculation([](SavedCalculation &s) {
        s.calculation.setOption(OptionGroup::TrackSection, trackSection::straight);
    }) << true << held << QStringList { "50.5", "0.3" }
                                               << "";
    QTest::newRow("another section named") << windowCalculation([](SavedCalculation &s) {
        s.calculation.setOption(OptionGroup::TrackSection, trackSection::innerCurve);
    }) << true << held << QStringList { "50.5", "0.3" }
                                           << "Вну.кривая";
    QTest::newRow("field without a column changed: its column added")
        << windowCalculation(
               [](SavedCalculation &s) { s.calculation.text(F::CurveRadius) = "650,5"; })
        << false << QStringList { "Prolet", "Text5", "Text4" }
        << QStringList { "50.5", "0.3", "650.5" } << "Вне.кривая";
    QTest::newRow("field without a column as the common data: no column")
        << windowCalculation(
               [](SavedCalculation &s) { s.calculation.text(F::MaxWindSpeed) = "29,5"; })
        << false << held << QStringList { "50.5", "0.3" } << "Вне.кривая";
    QTest::newRow("no number stays as typed") << windowCalculation([](SavedCalculation &s) {
        s.calculation.text(F::SpanLength) = "5O,5";
    }) << true << held << QStringList { "5O,5", "0.3" }
                                              << "вне.кривая";
}

void TestScheduleTransfer::calculationIntoTheSchedule()
{
    QFETCH(SavedCalculation, saved);
    QFETCH(bool, replace);
    QFETCH(QStringList, columns);
    QFETCH(QStringList, texts);
    QFETCH(QString, section);
    Schedule schedule = line();
    applyEdit(schedule,
        putCalculationEdit(schedule, saved, replace ? std::optional<qsizetype>(0) : std::nullopt));
    QCOMPARE(schedule.rows.size(), replace ? 2 : 3);
    const ScheduleRow &row = schedule.rows[replace ? 0 : 2];
    QStringList names, shown;
    for (const InputField field : schedule.fields) {
        names << QString::fromLatin1(fieldInfo(field).name);
        shown << row.field(field);
    }
    QCOMPARE(names, columns);
    QCOMPARE(shown, texts);
    QCOMPARE(row.section, section);
    QCOMPARE(row.support, QStringLiteral("12"));
    QCOMPARE(row.supportType, QStringLiteral("СС136.6-2"));
    // The other row is untouched.
    QCOMPARE(schedule.rows[1].field(F::SpanLength), QStringLiteral("пятьдесят"));
}

void TestScheduleTransfer::replacingARowThatIsNotThere_data()
{
    QTest::addColumn<qsizetype>("row");
    QTest::newRow("-1") << qsizetype(-1);
    QTest::newRow("row count") << qsizetype(2);
}

void TestScheduleTransfer::replacingARowThatIsNotThere()
{
    QFETCH(qsizetype, row);
    const Schedule schedule = line();
    QVERIFY(
        putCalculationEdit(schedule, windowCalculation([](SavedCalculation &) {}), row).isEmpty());
    // The last row there is replaced.
    QVERIFY(
        !putCalculationEdit(schedule, windowCalculation([](SavedCalculation &) {}), 1).isEmpty());
}

void TestScheduleTransfer::newRowTakesTheCommonTexts_data()
{
    QTest::addColumn<qsizetype>("at");
    QTest::addColumn<int>("rows"); // afterwards; 2: refused
    QTest::newRow("-1") << qsizetype(-1) << 2;
    QTest::newRow("first") << qsizetype(0) << 3;
    QTest::newRow("after the last") << qsizetype(2) << 3;
    QTest::newRow("past the last") << qsizetype(3) << 2;
}

void TestScheduleTransfer::newRowTakesTheCommonTexts()
{
    QFETCH(qsizetype, at);
    QFETCH(int, rows);
    Schedule schedule = line();
    applyEdit(schedule, newRowEdit(schedule, at));
    QCOMPARE(schedule.rows.size(), rows);
    if (rows == 2)
        return;
    const ScheduleRow &row = schedule.rows[at];
    QCOMPARE(row.field(F::SpanLength), QStringLiteral("60"));
    QCOMPARE(row.field(F::Stagger), QStringLiteral("0")); // the start-up text
    QCOMPARE(row.field(F::MaxWindSpeed), QString()); // no column: not held by the row
    QVERIFY(row.support.isEmpty() && row.section.isEmpty() && row.supportType.isEmpty());
}

void TestScheduleTransfer::pasteFollowsTheView_data()
{
    QTest::addColumn<QList<int>>("viewRows"); // model rows as the view shows them from the first
    QTest::addColumn<QString>("block");
    QTest::addColumn<QStringList>("spans"); // every row's Prolet afterwards

    QTest::newRow("in the schedule's order") << QList<int> { 0, 1, 2 } << "1\n2\n"
                                             << QStringList { "1", "2", "c" };
    QTest::newRow("sorted backwards") << QList<int> { 2, 1, 0 } << "1\n2\n"
                                      << QStringList { "a", "2", "1" };
    QTest::newRow("filtered, past the last row shown")
        << QList<int> { 2 } << "1\n2\n3" << QStringList { "a", "b", "1", "2", "3" };
    QTest::newRow("other separator")
        << QList<int> { 1 } << "0,5" << QStringList { "a", "0.5", "c" };
}

void TestScheduleTransfer::pasteFollowsTheView()
{
    QFETCH(QList<int>, viewRows);
    QFETCH(QString, block);
    QFETCH(QStringList, spans);
    Schedule schedule;
    schedule.decimalSeparator = QLatin1Char('.');
    schedule.fields = { F::SpanLength };
    for (const char *span : { "a", "b", "c" }) {
        ScheduleRow row;
        row.field(F::SpanLength) = QString::fromLatin1(span);
        schedule.rows << row;
    }
    ScheduleModel model;
    model.setSchedule(schedule);
    const int prolet = model.columnOf(ScheduleCell::ofField(F::SpanLength));
    model.apply(pasteAlongRows(model, viewRows, prolet, block));
    QStringList shown;
    for (const ScheduleRow &row : model.schedule().rows)
        shown << row.field(F::SpanLength);
    QCOMPARE(shown, spans);
}

QTEST_GUILESS_MAIN(TestScheduleTransfer)
#include "test_scheduletransfer.moc"
