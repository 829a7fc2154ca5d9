// SPDX-License-Identifier: GPL-3.0-or-later
// The calculation report as text: the worked example of the help page with a title, a look-up,
// a moment computed now, one computed from earlier inputs, one without Lp and the rest not
// computed; the design condition as its options choose it; a breakdown only for a moment that
// was computed; moments in both units.
#include "core/calc/breakdown.h"
#include "core/report/calculationreport.h"
#include "support/helpexample.h"

#include <QTest>

#include <algorithm>
#include <limits>

using namespace kelsa;

class TestReport : public QObject
{
    Q_OBJECT

private slots:
    void plainTextHoldsTheCalculation_data();
    void plainTextHoldsTheCalculation();
    void designCondition_data();
    void designCondition();
    void breakdownOnlyForComputedMoments_data();
    void breakdownOnlyForComputedMoments();
    void momentsInBothUnits_data();
    void momentsInBothUnits();
    void htmlEscapesTheTitle();
};

void TestReport::plainTextHoldsTheCalculation_data()
{
    QTest::addColumn<QString>("expected");
    const auto row = [](const char *name, const char *text) {
        QTest::newRow(name) << QString::fromUtf8(text);
    };
    row("title",
        "Объект: Перегон Лесная — Озерная\nОпора №: 17\nСоставил: Иванов И. И.\n"
        "Дата: 07.12.2026\nПапка справочных таблиц: образцы\n");
    row("design condition",
        "Толщина ст. гололеда мм: 5 мм\nVр.ветра м/с для Pнв и Pпрв: 10 м/с\n"
        "Vр.ветра м/с для Pкв: 10 м/с\nVmax в.м/с: 20 м/с\nУчасток пути: прямая\n"
        "Переходная опора: отключена\n");
    row("input with unit", "\nДлина прол.: 50 м\n");
    row("decimal comma as typed", "\nРнв: 0,5 кгс/м — введено вручную\n");
    row("look-up source",
        "\nGп: 2 кгс/м — таблица «Gп» (т11.2.xls), запись 3, строка «М-95+МФ-100», ячейка Gp10\n");
    row("empty input", "\nТн кгс: пусто\n");
    row("additional loads by row", "\nСтрока 2: + - G/P = 1 кгс, L/l = 0 м, n = 1\n");
    row("moment with its terms",
        "\nМо в max, прямая\n  M = 1856,95 кгс·м = 18,21 кН·м\n"
        "  M = Mvert + Mwires + Msupport + Mzigzag + MaddStraight\n  Mvert = +233,3\n"
        "  Mwires = +788,75\n  Msupport = +666,9\n  Mzigzag = +168\n  MaddStraight = 0\n"
        "  Пустые поля считаны как 0: Тн кгс\n");
    row("stale moment from its own inputs",
        "\nМо вг, прямая\n  M = 1335,634 кгс·м = 13,10 кН·м\n"
        "  ! Исходные данные изменены после расчета: Gпр\n"
        "  M = Mvert + Mwires + Msupport + Mzigzag + MaddStraight\n  Mvert = +138,8\n");
    row("summary of a stale moment",
        "\nМо вг, прямая: 1335,634 кгс·м = 13,10 кН·м (исходные данные изменены после "
        "расчета)\n");
    row("Lp missing",
        "\nПереходная опора, максимальный ветер, ветер от опоры на путь: 0 — нет расстояния от "
        "переходной до анкерной опоры (исходные данные изменены после расчета)\n");
    row("Lp missing, why",
        "\nПереходная опора, максимальный ветер, ветер от опоры на путь\n"
        "  0 — нет расстояния от переходной до анкерной опоры\n"
        "  ! Исходные данные изменены после расчета: Тн кгс, L от переходной до анкерной\n");
    row("not computed",
        "\nПереходная опора, гололед с ветром, ветер от опоры на путь: не вычислен\n");
}

void TestReport::plainTextHoldsTheCalculation()
{
    QFETCH(QString, expected);
    const QString text = reportPlainText(test::helpPageReport());
    QVERIFY2(text.contains(expected), qPrintable(text));
}

// Each line of the design condition is read from its own option group, in the calculation's
// decimal separator. The wind groups for «Рнв, Рпрв» and for «Ркв» are numbered apart from the
// order of their speeds (Option17 is 10 m/s for «Ркв», Option13 12,5 m/s).
void TestReport::designCondition_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QChar>("separator");
    QTest::addColumn<QString>("expected");

    const auto row
        = [](const char *name, const QStringList &options, char separator, const char *ice,
              const char *rnv, const char *pkv, const char *max, const char *section) {
              QTest::newRow(name) << options << QChar(QLatin1Char(separator))
                                  << QStringLiteral("Толщина ст. гололеда мм: %1\n"
                                                    "Vр.ветра м/с для Pнв и Pпрв: %2\n"
                                                    "Vр.ветра м/с для Pкв: %3\n"
                                                    "Vmax в.м/с: %4\n"
                                                    "Участок пути: %5\n")
                                         .arg(QString::fromUtf8(ice), QString::fromUtf8(rnv),
                                             QString::fromUtf8(pkv), QString::fromUtf8(max),
                                             QString::fromUtf8(section));
          };
    row("at start", {}, ',', "5 мм", "10 м/с", "10 м/с", "20 м/с", "прямая");
    row("Ркв 12,5 m/s", { "Option13" }, ',', "5 мм", "10 м/с", "12,5 м/с", "20 м/с", "прямая");
    row("Ркв 12.5 m/s in decimal points", { "Option13" }, '.', "5 мм", "10 м/с", "12.5 м/с",
        "20 м/с", "прямая");
    row("Ркв 17,5 m/s", { "Option15" }, ',', "5 мм", "10 м/с", "17,5 м/с", "20 м/с", "прямая");
    row("Ркв 20 m/s", { "Option16" }, ',', "5 мм", "10 м/с", "20 м/с", "20 м/с", "прямая");
    row("Рнв 15 m/s beside Ркв 12,5", { "Option6", "Option13" }, ',', "5 мм", "15 м/с", "12,5 м/с",
        "20 м/с", "прямая");
    row("Рнв 20 m/s", { "Option7" }, ',', "5 мм", "20 м/с", "10 м/с", "20 м/с", "прямая");
    row("ice 20 mm, wind 40 m/s", { "Option4", "Option12" }, ',', "20 мм", "10 м/с", "10 м/с",
        "40 м/с", "прямая");
    row("outer side of a curve", { "Option19" }, ',', "5 мм", "10 м/с", "10 м/с", "20 м/с",
        "внешняя сторона кривой");
    row("inner side of a curve", { "Option20" }, ',', "5 мм", "10 м/с", "10 м/с", "20 м/с",
        "внутренняя сторона кривой");
}

void TestReport::designCondition()
{
    QFETCH(QStringList, options);
    QFETCH(QChar, separator);
    QFETCH(QString, expected);
    ReportInput input = test::helpPageReport();
    input.saved.decimalSeparator = separator;
    for (const QString &option : options)
        QVERIFY(input.saved.calculation.selectOption(option));
    const QString text = reportPlainText(input);
    QVERIFY2(text.contains(expected), qPrintable(text));
}

// A moment whose label is empty was never computed: the summary says so and the breakdown
// leaves it out, whatever its inputs would give now.
void TestReport::breakdownOnlyForComputedMoments_data()
{
    QTest::addColumn<QStringList>("computed"); // result labels that hold a moment

    QTest::newRow("none") << QStringList {};
    QTest::newRow("Мо вг only") << QStringList { "Label1" };
    QTest::newRow("the transition support only") << QStringList { "Label10", "Label18", "Label26",
        "Label27", "Label28", "Label29", "Label30", "Label31" };
    QTest::newRow("all ten") << QStringList { "Label1", "Label5", "Label10", "Label18", "Label26",
        "Label27", "Label28", "Label29", "Label30", "Label31" };
}

void TestReport::breakdownOnlyForComputedMoments()
{
    QFETCH(QStringList, computed);
    ReportInput input { test::helpPageComputed(), QString(), QDate(2026, 12, 7) };
    QStringList expected;
    for (const MomentInfo &info : moments()) {
        if (computed.contains(QLatin1String(info.label)))
            expected << momentHeading(info.moment, TrackSection::Straight);
        else
            input.saved.result(info.moment).text.clear();
    }
    const std::vector<ReportBlock> blocks = buildReport(input);
    const auto breakdown = std::find_if(blocks.begin(), blocks.end(), [](const ReportBlock &b) {
        return b.kind == ReportBlock::Kind::Section
            && b.text == QStringLiteral("Разбор вычисленных моментов");
    });
    QVERIFY(breakdown != blocks.end());
    QStringList headings;
    qsizetype values = 0;
    for (auto it = breakdown; it != blocks.end(); ++it) {
        headings << (it->kind == ReportBlock::Kind::Subsection ? it->text : QString());
        values += it->kind == ReportBlock::Kind::Value;
    }
    headings.removeAll(QString());
    QCOMPARE(headings, expected);
    QCOMPARE(values, expected.size());
    const QString text = reportPlainText(input);
    QCOMPARE(text.count(QStringLiteral(": не вычислен\n")), kMomentCount - computed.size());
}

void TestReport::momentsInBothUnits_data()
{
    QTest::addColumn<double>("kgfMetres");
    QTest::addColumn<QString>("expected");
    QTest::newRow("rounded to 0.01") << 1856.95 << "1856,95 кгс·м = 18,21 кН·м";
    QTest::newRow("trailing zero kept") << 1000.0 << "1000 кгс·м = 9,81 кН·м";
    QTest::newRow("no grouping") << 1e6 << "1000000 кгс·м = 9806,65 кН·м";
    QTest::newRow("no negative zero") << -0.1 << "-0,1 кгс·м = 0,00 кН·м";
    QTest::newRow("negative") << -500.0 << "-500 кгс·м = -4,90 кН·м";
    QTest::newRow("not finite") << std::numeric_limits<double>::infinity() << noFiniteResultText();
}

void TestReport::momentsInBothUnits()
{
    QFETCH(double, kgfMetres);
    QFETCH(QString, expected);
    QCOMPARE(momentInBothUnits(kgfMetres, QLocale(QLocale::Russian, QLocale::Russia)), expected);
}

void TestReport::htmlEscapesTheTitle()
{
    ReportInput input = test::helpPageReport();
    input.saved.title.object = QStringLiteral("<b>Депо & парк</b>");
    const QString html = reportHtml(input);
    QVERIFY(html.contains(QStringLiteral("&lt;b&gt;Депо &amp; парк&lt;/b&gt;")));
    QVERIFY(!html.contains(QStringLiteral("<b>Депо")));
}

QTEST_GUILESS_MAIN(TestReport)
#include "test_report.moc"
