// SPDX-License-Identifier: GPL-3.0-or-later
// The computed schedule summed up for the printed schedule and the chart: supports per type in
// the catalogue's order, the largest governing moment by its absolute value, a bar per row and
// a line for the Mн of every type checked; the chart's scale.
#include "core/batch/batchrun.h"
#include "core/schedule/schedulemodel.h"
#include "core/schedule/schedulesummary.h"

#include <QTest>

using namespace kelsa;

namespace
{

// A row's result as the computation gives it: its governing moment (kgf·m, on Label2) and the
// type checked with its utilisation.
struct Computed {
    std::optional<double> kgfm;
    QString type;
    std::optional<double> utilisation;
};

// A model over as many rows as results, each row's results put in as computed.
struct Computedmodel {
    explicit Computedmodel(const QList<Computed> &rows, bool withCatalogue = true)
    {
        SupportCatalogue catalogue;
        if (withCatalogue) {
            catalogue.state = SupportCatalogue::State::Ok;
            catalogue.unit = MomentUnit::KilogramForceMetre;
            catalogue.types = { { QStringLiteral("Лёгкая"), 2000, {}, {}, 2 },
                { QStringLiteral("Средняя"), 4000, {}, {}, 3 },
                { QStringLiteral("Тяжёлая"), 8000, {}, {}, 4 } };
        }
        model.setDefersFullComputation(true);
        model.setCatalogue(catalogue);
        Schedule schedule;
        schedule.rows.resize(rows.size());
        model.setSchedule(schedule);
        std::vector<ScheduleRowResult> results;
        for (const Computed &row : rows) {
            ScheduleRowResult result;
            if (row.kgfm) {
                result.governing = Moment::MaximumWind;
                result.moments[std::size_t(Moment::MaximumWind)] = row.kgfm;
            }
            result.supportType = row.type;
            result.utilisation = row.utilisation;
            results.push_back(result);
        }
        if (!model.setAllResults(model.revision(), results))
            qFatal("results refused");
    }
    ScheduleModel model;
};

} // namespace

class TestScheduleSummary : public QObject
{
    Q_OBJECT

private slots:
    void summary_data();
    void summary();
    void chartBarsAndLines_data();
    void chartBarsAndLines();
    void axis_data();
    void axis();
    void axisText_data();
    void axisText();
};

void TestScheduleSummary::summary_data()
{
    QTest::addColumn<QList<Computed>>("rows");
    QTest::addColumn<QStringList>("types"); // "type: count", "—" for rows with no type
    QTest::addColumn<int>("largestRow"); // -1: none
    QTest::addColumn<double>("largestKgfm");

    QTest::newRow("no rows") << QList<Computed> {} << QStringList {} << -1 << 0.0;
    QTest::newRow("no moment anywhere") << QList<Computed> { { std::nullopt, {}, std::nullopt } }
                                        << QStringList { "—: 1" } << -1 << 0.0;
    QTest::newRow("catalogue order, then others by name, then untyped")
        << QList<Computed> { { 100.0, "Тяжёлая", 0.1 }, { 100.0, "Яма", std::nullopt },
               { 100.0, "Лёгкая", 0.1 }, { 100.0, "", std::nullopt }, { 100.0, "Тяжёлая", 0.1 },
               { 100.0, "Ахтунг", std::nullopt } }
        << QStringList { "Лёгкая: 1", "Тяжёлая: 2", "Ахтунг: 1", "Яма: 1", "—: 1" } << 0 << 100.0;
    QTest::newRow("negative moment larger by its absolute value")
        << QList<Computed> { { 1500.0, "", {} }, { -1500.5, "", {} }, { 1500.4, "", {} } }
        << QStringList { "—: 3" } << 1 << -1500.5;
    QTest::newRow("equal absolute values: the first")
        << QList<Computed> { { std::nullopt, "", {} }, { -700.0, "", {} }, { 700.0, "", {} } }
        << QStringList { "—: 3" } << 1 << -700.0;
}

void TestScheduleSummary::summary()
{
    QFETCH(QList<Computed>, rows);
    QFETCH(QStringList, types);
    QFETCH(int, largestRow);
    QFETCH(double, largestKgfm);
    const Computedmodel computed(rows);
    const ScheduleSummary summary = summariseSchedule(computed.model);
    QCOMPARE(summary.supports, rows.size());
    QStringList counted;
    for (const ScheduleTypeCount &type : summary.types)
        counted << QStringLiteral("%1: %2")
                       .arg(type.type.isEmpty() ? QStringLiteral("—") : type.type)
                       .arg(type.supports);
    QCOMPARE(counted, types);
    QCOMPARE(summary.largestRow.value_or(-1), qsizetype(largestRow));
    QCOMPARE(summary.largestKgfm, largestKgfm);
    if (summary.largestRow)
        QCOMPARE(summary.largestMoment, Moment::MaximumWind);
}

void TestScheduleSummary::chartBarsAndLines_data()
{
    QTest::addColumn<QList<Computed>>("rows");
    QTest::addColumn<bool>("catalogue");
    QTest::addColumn<QStringList>("bars"); // "|M| level", "none" without a moment
    QTest::addColumn<QStringList>("lines"); // "type Mн"
    QTest::addColumn<double>("axisTop");

    QTest::newRow("levels either side of 90 % and 100 %")
        << QList<Computed> { { 1800.0, "Лёгкая", 0.9 }, { -1802.0, "Лёгкая", 0.901 },
               { 4000.0, "Средняя", 1.0 }, { 8001.0, "Тяжёлая", 1.0001 } }
        << true << QStringList { "1800 0", "1802 1", "4000 1", "8001 2" }
        << QStringList { "Лёгкая 2000", "Средняя 4000", "Тяжёлая 8000" } << 10000.0;
    QTest::newRow("only the types checked have a line")
        << QList<Computed> { { 300.0, "Средняя", 0.075 }, { std::nullopt, "", std::nullopt },
               { 500.0, "Яма", std::nullopt } }
        << true << QStringList { "300 0", "none", "500 -" } << QStringList { "Средняя 4000" }
        << 4000.0;
    QTest::newRow("no catalogue, no line")
        << QList<Computed> { { 1234.0, "", std::nullopt } } << false << QStringList { "1234 -" }
        << QStringList {} << 1500.0;
}

void TestScheduleSummary::chartBarsAndLines()
{
    QFETCH(QList<Computed>, rows);
    QFETCH(bool, catalogue);
    QFETCH(QStringList, bars);
    QFETCH(QStringList, lines);
    QFETCH(double, axisTop);
    const Computedmodel computed(rows, catalogue);
    const ScheduleChart chart = scheduleChart(computed.model);
    QStringList shownBars, shownLines;
    for (const ScheduleChartBar &bar : chart.bars)
        shownBars << (bar.kgfm ? QStringLiteral("%1 %2").arg(*bar.kgfm).arg(
                          bar.level ? QString::number(int(*bar.level)) : QStringLiteral("-"))
                               : QStringLiteral("none"));
    for (const ScheduleChartLine &line : chart.lines)
        shownLines << QStringLiteral("%1 %2").arg(line.type).arg(qRound(line.kgfm));
    QCOMPARE(shownBars, bars);
    QCOMPARE(shownLines, lines);
    QCOMPARE(chart.axisTop, axisTop);
    QCOMPARE(chart.locale.decimalPoint(), computed.model.schedule().locale().decimalPoint());
}

void TestScheduleSummary::axis_data()
{
    QTest::addColumn<double>("largest");
    QTest::addColumn<double>("top");
    QTest::addColumn<double>("step");

    QTest::newRow("nothing") << 0.0 << 1.0 << 0.2;
    QTest::newRow("negative") << -5.0 << 1.0 << 0.2;
    QTest::newRow("infinite") << qInf() << 1.0 << 0.2;
    QTest::newRow("not a number") << qQNaN() << 1.0 << 0.2;
    QTest::newRow("999") << 999.0 << 1000.0 << 200.0;
    QTest::newRow("1000: top on the value") << 1000.0 << 1000.0 << 200.0;
    QTest::newRow("1001") << 1001.0 << 1500.0 << 500.0;
    QTest::newRow("2500") << 2500.0 << 2500.0 << 500.0;
    QTest::newRow("2501") << 2501.0 << 3000.0 << 1000.0;
    QTest::newRow("0,3") << 0.3 << 0.3 << 0.1;
}

void TestScheduleSummary::axis()
{
    QFETCH(double, largest);
    QFETCH(double, top);
    QFETCH(double, step);
    const ChartAxis axis = chartAxis(largest);
    QCOMPARE(axis.top, top);
    QCOMPARE(axis.step, step);
}

// The scale's numbers in the schedule's separator and never grouped: "1,500" would read as 1.5
// in a schedule with decimal commas.
void TestScheduleSummary::axisText_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("text");
    const QLocale comma = localeForDecimal(u',');
    const QLocale point = localeForDecimal(u'.');
    QTest::newRow("1500, commas") << 1500.0 << comma << "1500";
    QTest::newRow("1500, points") << 1500.0 << point << "1500";
    QTest::newRow("a locale that groups by commas")
        << 1500.0 << QLocale(QLocale::English) << "1500";
    QTest::newRow("a locale that groups by blanks")
        << 12500.0 << QLocale(QLocale::Russian) << "12500";
    QTest::newRow("0,2") << 0.2 << comma << "0,2";
    QTest::newRow("0.2") << 0.2 << point << "0.2";
    QTest::newRow("three steps of 0,2 added") << 0.2 + 0.2 + 0.2 << comma << "0,6";
    QTest::newRow("a million") << 1e6 << comma << "1000000";
}

void TestScheduleSummary::axisText()
{
    QFETCH(double, value);
    QFETCH(QLocale, locale);
    QFETCH(QString, text);
    QCOMPARE(chartAxisText(value, locale), text);
}

QTEST_GUILESS_MAIN(TestScheduleSummary)
#include "test_schedulesummary.moc"
