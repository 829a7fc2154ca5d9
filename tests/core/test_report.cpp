// SPDX-License-Identifier: GPL-3.0-or-later
// The calculation report as text: the worked example of the help page and a curve case, every
// term by its name, symbol, formula and numbers with the engine's value, sums, symbols
// explained once, no English and no long numbers, look-up sources by file, row and column,
// wind speeds by what they are for, the label's own text beside a rounded value, and the
// drawings of the support made from the engine's terms.
#include "core/calc/breakdown.h"
#include "core/calc/termformulas.h"
#include "core/numbers/numbertext.h"
#include "core/report/calculationreport.h"
#include "support/helpexample.h"

#include <QRegularExpression>
#include <QTest>

#include <algorithm>
#include <cmath>
#include <limits>

using namespace kelsa;

Q_DECLARE_METATYPE(kelsa::Moment)
Q_DECLARE_METATYPE(kelsa::ReportInput)
Q_DECLARE_METATYPE(kelsa::LookupSource)

namespace
{

using Texts = QList<QPair<QString, QString>>;

const QLocale ru(QLocale::Russian, QLocale::Russia);

// The help page's example with a curve: every tension, a radius and one row of each table of
// additional loads in use.
Calculation curveExample(const QString &sectionOption)
{
    Calculation calculation = test::helpPageExample();
    const Texts texts { { "Text1", "1500" }, { "Text3", "800" }, { "Text4", "1000" },
        { "txtD1", "100" }, { "txtD4", "2" }, { "txtF1", "500" }, { "txtF4", "8" } };
    for (const auto &[name, text] : texts)
        calculation.setText(name, text);
    calculation.selectOption(sectionOption);
    return calculation;
}

// The help page's example with the messenger's tension, as docs/опора 12.kelsa holds it.
Calculation withTension()
{
    Calculation calculation = test::helpPageExample();
    calculation.setText(u"Text1", QStringLiteral("1500"));
    return calculation;
}

// A saved calculation with every moment computed from `calculation`, as the window saves it.
ReportInput computedReport(const Calculation &calculation, bool transitionOn)
{
    SavedCalculation saved;
    saved.calculation = calculation;
    if (transitionOn)
        saved.calculation.selectOption(u"Option21");
    for (const MomentInfo &info : moments())
        saved.result(info.moment).text
            = resultLabelText(computeMoment(saved.calculation, info.moment, ru), ru);
    return ReportInput { saved, QStringLiteral("образцы"), QDate(2026, 12, 7) };
}

Calculation calculationFor(const QString &example)
{
    if (example == u"help")
        return test::helpPageExample();
    Calculation calculation = curveExample(
        example == u"inner" ? QStringLiteral("Option20") : QStringLiteral("Option19"));
    return calculation;
}

// Every text of the report's body: the labels' own texts in the summary are left out, since
// they stand there as the window shows them.
QStringList bodyTexts(const std::vector<ReportBlock> &blocks)
{
    QStringList texts;
    for (const ReportBlock &block : blocks) {
        texts << block.text << block.lines;
        const bool summary = block.header && !block.rows.empty()
            && block.rows.front().value(2) == QStringLiteral("В окне");
        for (const QStringList &row : block.rows)
            texts << (summary ? row.mid(0, 2) : row);
    }
    return texts;
}

} // namespace

class TestReport : public QObject
{
    Q_OBJECT

private slots:
    void plainTextHoldsTheCalculation_data();
    void plainTextHoldsTheCalculation();
    void designCondition_data();
    void designCondition();
    void termsAsWritten_data();
    void termsAsWritten();
    void sumsAsWritten_data();
    void sumsAsWritten();
    void noEnglishNorLongNumbers_data();
    void noEnglishNorLongNumbers();
    void everySymbolExplainedOnce_data();
    void everySymbolExplainedOnce();
    void lookupSources_data();
    void lookupSources();
    void labelBesideTheRoundedValue_data();
    void labelBesideTheRoundedValue();
    void breakdownOnlyForComputedMoments_data();
    void breakdownOnlyForComputedMoments();
    void drawingsWhereTheyBelong_data();
    void drawingsWhereTheyBelong();
    void drawingFollowsTheTerms_data();
    void drawingFollowsTheTerms();
    void momentsInBothUnits_data();
    void momentsInBothUnits();
    void footer_data();
    void footer();
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
    row("input with unit", "\nДлина прол.: 50 м\n");
    row("the wind speed field by what it is for", "\nСкорость ветра на опору (Vmax в.): 30 м/с\n");
    row("decimal comma as typed", "\nРнв: 0,5 кгс/м — введено вручную\n");
    row("a load of maximum wind typed, told like the others",
        "\nРнв в: 0,5 кгс/м — введено вручную\n");
    row("look-up source saved without its file",
        "\nGп: 2 кгс/м — т11.2 (какой из файлов .xls, .xlsx, .ods, в расчете не записано), "
        "таблица «Gп», запись 3 «М-95+МФ-100»: строка 4, столбец C (толщина гололеда 10 мм)\n");
    row("empty input", "\nТн кгс: пусто\n");
    row("additional loads by row", "\nСтрока 2: + - G/P = 1 кгс, L/l = 0 м, n = 1\n");
    row("moment, its value and its first term",
        "\nМо в max, прямая\n  М = 1856,95 кгс·м = 18,21 кН·м\n"
        "  Момент от вертикальных нагрузок\n"
        "    Мверт = (Gп в × L + 31) × 3,3 + 108 − Gпр в × L × 3 × 1,7 − 52 =\n"
        "    = (2 × 50 + 31) × 3,3 + 108 − 1 × 50 × 3 × 1,7 − 52 = 233,30 кгс·м\n");
    row("empty fields", "\n  Пустые поля считаны как 0: Тн кгс\n");
    row("stale moment from its own inputs",
        "\nМо вг, прямая\n  М = 1335,63 кгс·м = 13,10 кН·м\n"
        "  ! Исходные данные изменены после расчета: Gпр\n"
        "  Момент от вертикальных нагрузок\n"
        "    Мверт = (Gп × L + 31) × 3,3 + 180 − Gпр × L × 3 × 1,7 − 91 =\n"
        "    = (2 × 50 + 31) × 3,3 + 180 − 1,5 × 50 × 3 × 1,7 − 91 = 138,80 кгс·м\n");
    row("summary of a stale moment with its label",
        "\nМо вг, прямая: 1335,63 кгс·м = 13,10 кН·м (исходные данные изменены после "
        "расчета) — 1335,634\n");
    row("Lp missing",
        "\nПереходная опора, максимальный ветер, ветер от опоры на путь: 0 — нет расстояния от "
        "переходной до анкерной опоры (исходные данные изменены после расчета)\n");
    row("Lp missing, why",
        "\nПереходная опора, максимальный ветер, ветер от опоры на путь\n"
        "  0 — нет расстояния от переходной до анкерной опоры\n"
        "  ! Исходные данные изменены после расчета: Тн кгс, L от переходной до анкерной\n");
    row("not computed",
        "\nПереходная опора, гололед с ветром, ветер от опоры на путь: не вычислен\n");
    row("drawing's loads",
        "\n  Схема нагрузок опоры (Мо в max, прямая)\n"
        "  Gп в × L + 31 = 131,00 кгс, плечо 3,3 м: 432,30 кгс·м\n"
        "  Мверт (108): 108,00 кгс·м\n"
        "  Gпр в × L × 3 = 150,00 кгс, плечо 1,7 м: −255,00 кгс·м\n"
        "  Мверт (52): −52,00 кгс·м\n"
        "  Рнв в × L = 25,00 кгс, h = 9 м: 225,00 кгс·м\n"
        "  Ркв в × L = 20,00 кгс, h = 7 м: 140,00 кгс·м\n"
        "  2 × Рпрв в × L = 30,00 кгс, h = 9,7 м: 291,00 кгс·м\n"
        "  Рпрв в × L = 15,00 кгс, h = 8,85 м: 132,75 кгс·м\n"
        "  V² × 2,47 / 16 = 138,94 кгс, h = 4,8 м: 666,90 кгс·м\n"
        "  Тк × 4 × a / L = 24,00 кгс, h = 7 м: 168,00 кгс·м\n");
}

void TestReport::plainTextHoldsTheCalculation()
{
    QFETCH(QString, expected);
    const QString text = reportPlainText(test::helpPageReport());
    QVERIFY2(text.contains(expected), qPrintable(text));
}

// Each line of the design condition is read from its own option group, in the calculation's
// decimal separator, and says what its wind speed is for. The wind groups for «Рнв, Рпрв» and
// for «Ркв» are numbered apart from the order of their speeds (Option17 is 10 m/s for «Ркв»,
// Option13 12,5 m/s).
void TestReport::designCondition_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QChar>("separator");
    QTest::addColumn<QString>("expected");

    const auto row = [](const char *name, const QStringList &options, char separator,
                         const char *ice, const char *rnv, const char *pkv, const char *max,
                         const char *section) {
        QTest::newRow(name)
            << options << QChar(QLatin1Char(separator))
            << QStringLiteral("Толщина стенки гололеда (Толщина ст. гололеда мм): %1\n"
                              "Скорость ветра при гололеде для Рнв, Рпрв (Vр.ветра м/с для Pнв и "
                              "Pпрв): %2\n"
                              "Скорость ветра при гололеде для Ркв (Vр.ветра м/с для Pкв): %3\n"
                              "Скорость ветра для Рнв в, Ркв в, Рпрв в (Vmax в.м/с): %4\n"
                              "Участок пути: %5\n")
                   .arg(QString::fromUtf8(ice), QString::fromUtf8(rnv), QString::fromUtf8(pkv),
                       QString::fromUtf8(max), QString::fromUtf8(section));
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

// Each term as the note writes it. The value is the engine's term with its sign in the sum
// taken off, never a number worked out again from the formula's text.
void TestReport::termsAsWritten_data()
{
    QTest::addColumn<QString>("example"); // help, outer, inner
    QTest::addColumn<Moment>("moment");
    QTest::addColumn<int>("term");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("formula");
    QTest::addColumn<QString>("numbers");
    QTest::addColumn<QString>("value");
    QTest::addColumn<bool>("subtracted");

    const auto row = [](const char *tag, const char *example, Moment moment, int term,
                         const char *name, const char *formula, const char *numbers,
                         const char *value, bool subtracted = false) {
        QTest::newRow(tag) << QString::fromLatin1(example) << moment << term
                           << QString::fromUtf8(name) << QString::fromUtf8(formula)
                           << QString::fromUtf8(numbers) << QString::fromUtf8(value) << subtracted;
    };
    const Moment max = Moment::MaximumWind;
    const Moment ice = Moment::IceWithWind;
    row("help, max, Мверт", "help", max, 0, "от вертикальных нагрузок",
        "Мверт = (Gп в × L + 31) × 3,3 + 108 − Gпр в × L × 3 × 1,7 − 52",
        "(2 × 50 + 31) × 3,3 + 108 − 1 × 50 × 3 × 1,7 − 52", "233,30");
    row("help, max, Мпр", "help", max, 1, "от ветра на провода",
        "Мпр = Рнв в × L × 9 + Ркв в × L × 7 + 2 × Рпрв в × L × 9,7 + Рпрв в × L × 8,85",
        "0,5 × 50 × 9 + 0,4 × 50 × 7 + 2 × 0,3 × 50 × 9,7 + 0,3 × 50 × 8,85", "788,75");
    row("help, max, Моп", "help", max, 2, "от ветра на опору", "Моп = V² × 2,47 / 16 × 4,8",
        "30² × 2,47 / 16 × 4,8", "666,90");
    row("help, max, Мзиг", "help", max, 3, "от излома контактного провода (зигзаг)",
        "Мзиг = Тк × 4 × a / L × 7", "1000 × 4 × 0,3 / 50 × 7", "168,00");
    row("help, max, Мдоп", "help", max, 4, "от дополнительных нагрузок",
        "Мдоп = Рд1 × lд1 × nд1 + Рд2 × lд2 × nд2 + Рд3 × lд3 × nд3",
        "1 × 0 × 1 + 1 × 0 × 1 + 1 × 0 × 1", "0,00");
    row("help, ice, Мверт", "help", ice, 0, "от вертикальных нагрузок",
        "Мверт = (Gп × L + 31) × 3,3 + 180 − Gпр × L × 3 × 1,7 − 91",
        "(2 × 50 + 31) × 3,3 + 180 − 1 × 50 × 3 × 1,7 − 91", "266,30");
    row("help, ice, Моп at 0,6 V", "help", ice, 2, "от ветра на опору",
        "Моп = (0,6 × V)² × 2,47 / 16 × 4,8", "(0,6 × 30)² × 2,47 / 16 × 4,8", "240,08");
    row("outer, Мкр", "outer", max, 3, "от изменения направления проводов в кривой",
        "Мкр = Тн × L / R × 9 + Тк × L / R × 7 + 2 × Тпр × L / R × 9,7 + Тпр × L / R × 8,85",
        "1500 × 50 / 1000 × 9 + 1000 × 50 / 1000 × 7 + 2 × 800 × 50 / 1000 × 9,7 + 800 × 50 / "
        "1000 × 8,85",
        "2155,00");
    row("outer, Мдоп", "outer", max, 4, "от дополнительных нагрузок",
        "Мдоп = Рд1 × lд1 × nд1 + Рд2 × lд2 × nд2 + Рд3 × lд3 × nд3",
        "100 × 2 × 1 + 1 × 0 × 1 + 1 × 0 × 1", "200,00");
    row("outer, Мдоп.кр", "outer", max, 5, "от дополнительных проводов в кривой",
        "Мдоп.кр = Тд4 × L / R × lд4 × nд4 + Тд5 × L / R × lд5 × nд5 + Тд6 × L / R × lд6 × nд6",
        "500 × 50 / 1000 × 8 × 1 + 1 × 50 / 1000 × 0 × 1 + 1 × 50 / 1000 × 0 × 1", "200,00");
    row("inner, Мпр subtracted", "inner", max, 1, "от ветра на провода",
        "Мпр = Рнв в × L × 9 + Ркв в × L × 7 + 2 × Рпрв в × L × 9,7 + Рпрв в × L × 8,85",
        "0,5 × 50 × 9 + 0,4 × 50 × 7 + 2 × 0,3 × 50 × 9,7 + 0,3 × 50 × 8,85", "788,75", true);
    row("inner, Мверт not subtracted", "inner", ice, 0, "от вертикальных нагрузок",
        "Мверт = (Gп × L + 31) × 3,3 + 180 − Gпр × L × 3 × 1,7 − 91",
        "(2 × 50 + 31) × 3,3 + 180 − 1 × 50 × 3 × 1,7 − 91", "266,30");
    row("transition, ice, to track, Мверт", "outer", Moment::IceToTrack, 0,
        "от вертикальных нагрузок",
        "Мверт = (L × Gп + 31) × 2 × 3,3 + 360 − L × Gпр × 3 × 1,7 − 91",
        "(50 × 2 + 31) × 2 × 3,3 + 360 − 50 × 1 × 3 × 1,7 − 91", "878,60");
    row("transition, ice, to track, Мн", "outer", Moment::IceToTrack, 1,
        "от несущего троса: ветер и отвод на анкеровку", "Мн = (2 × Рнв × L − Тн × 3,3 / Lр) × 9",
        "(2 × 0,5 × 50 − 1500 × 3,3 / 40) × 9", "−663,75");
    row("transition, max, to support, heel, Мн", "outer", Moment::WindToSupportHeel, 1,
        "от несущего троса: ветер и отвод на анкеровку",
        "Мн = (2 × Рнв в × L + Тн × 3,3 / Lр) × 2,25", "(2 × 0,5 × 50 + 1500 × 3,3 / 40) × 2,25",
        "390,94", true);
    row("transition, max, to support, heel, Мк", "outer", Moment::WindToSupportHeel, 2,
        "от контактного провода: ветер и отвод на анкеровку",
        "Мк = (2 × Ркв в × L + Тк × 3,3 / Lр) × 0,25", "(2 × 0,4 × 50 + 1000 × 3,3 / 40) × 0,25",
        "30,63", true);
    row("transition, max, to support, heel, Мпр1", "outer", Moment::WindToSupportHeel, 3,
        "от ветра на два верхних провода", "Мпр1 = 2 × Рпрв в × L × 2,95", "2 × 0,3 × 50 × 2,95",
        "88,50", true);
    row("transition, max, to support, heel, Мпр2", "outer", Moment::WindToSupportHeel, 4,
        "от ветра на третий провод", "Мпр2 = Рпрв в × L × 2,1", "0,3 × 50 × 2,1", "31,50", true);
    row("transition, max, to support, heel, Моп", "outer", Moment::WindToSupportHeel, 5,
        "от ветра на опору", "Моп = V² × 0,56 / 16 × 1,43", "30² × 0,56 / 16 × 1,43", "45,05",
        true);
}

void TestReport::termsAsWritten()
{
    QFETCH(QString, example);
    QFETCH(Moment, moment);
    QFETCH(int, term);
    QFETCH(QString, name);
    QFETCH(QString, formula);
    QFETCH(QString, numbers);
    QFETCH(QString, value);
    QFETCH(bool, subtracted);

    const Calculation calculation = calculationFor(example);
    const MomentOutcome outcome = computeMoment(calculation, moment, ru);
    const MomentExplanation explanation = explainMoment(outcome, calculation, ru);
    QCOMPARE(explanation.terms.size(), outcome.result.terms.size());
    const TermLine &line = explanation.terms[std::size_t(term)];
    QCOMPARE(line.name, name);
    QCOMPARE(line.symbol + QStringLiteral(" = ") + line.formula, formula);
    QCOMPARE(line.numbers, numbers);
    QCOMPARE(hundredths(line.value, ru), value);
    QCOMPARE(line.subtracted, subtracted);
    const double engine = outcome.result.terms[std::size_t(term)].value;
    QCOMPARE(line.value, subtracted ? -engine : engine);

    const QString text = reportPlainText(computedReport(calculation, true));
    const QString written = QStringLiteral("\n  Момент %1\n    %2 =\n    = %3 = %4 кгс·м\n")
                                .arg(name, formula, numbers, value);
    QVERIFY2(text.contains(written), qPrintable(written));
}

// The sum with the sign each term enters with; a negative term that is added is subtracted.
void TestReport::sumsAsWritten_data()
{
    QTest::addColumn<QString>("example");
    QTest::addColumn<Moment>("moment");
    QTest::addColumn<QString>("sum");

    QTest::newRow("straight")
        << "help" << Moment::MaximumWind
        << "М = Мверт + Мпр + Моп + Мзиг + Мдоп =\n  = 233,30 + 788,75 + 666,90 + 168,00 + 0,00 "
           "= 1856,95 кгс·м = 18,21 кН·м\n";
    QTest::newRow("inner curve")
        << "inner" << Moment::MaximumWind
        << "М = Мверт − Мпр − Моп − Мкр − Мдоп − Мдоп.кр =\n  = 233,30 − 788,75 − 666,90 − "
           "2155,00 − 200,00 − 200,00 = −3777,35 кгс·м = −37,04 кН·м\n";
    QTest::newRow("negative terms added")
        << "outer" << Moment::IceToTrack
        << "М = Мверт + Мн + Мк + Мпр1 + Мпр2 + Моп =\n  = 878,60 − 663,75 − 297,50 + 291,00 + "
           "132,75 + 240,08 = 581,18 кгс·м = 5,70 кН·м\n";
    QTest::newRow("wind towards the support")
        << "outer" << Moment::WindToSupport
        << "М = Мверт − Мн − Мк − Мпр1 − Мпр2 − Моп =\n  = 773,60 − 1563,75 − 857,50 − 291,00 − "
           "132,75 − 666,90 = −2738,30 кгс·м = −26,85 кН·м\n";
}

void TestReport::sumsAsWritten()
{
    QFETCH(QString, example);
    QFETCH(Moment, moment);
    QFETCH(QString, sum);
    ReportInput input = computedReport(calculationFor(example), true);
    for (const MomentInfo &info : moments())
        if (info.moment != moment)
            input.saved.result(info.moment).text.clear();
    const QString text = reportPlainText(input);
    QVERIFY2(text.contains(QStringLiteral("\n  ") + sum), qPrintable(text));
}

// No key of the engine's terms, no English word and no number with more than two decimals in
// the report's body (the labels' own texts in the summary aside).
void TestReport::noEnglishNorLongNumbers_data()
{
    QTest::addColumn<ReportInput>("input");
    QTest::newRow("help page") << test::helpPageReport();
    QTest::newRow("help page, all computed, transition on")
        << computedReport(test::helpPageExample(), true);
    QTest::newRow("outer curve, all computed") << computedReport(curveExample("Option19"), true);
    QTest::newRow("inner curve, all computed") << computedReport(curveExample("Option20"), false);
}

void TestReport::noEnglishNorLongNumbers()
{
    QFETCH(ReportInput, input);
    // Latin words of four letters or more; the window's caption «Vmax в.» and the extensions of
    // the workbooks are quoted as they are.
    const QRegularExpression english(
        QStringLiteral("M(vert|wires|support|zigzag|curve|add)|[A-Za-z]{4,}"));
    const QRegularExpression longNumber(QStringLiteral("\\d,\\d{3,}"));
    const QRegularExpression quoted(QStringLiteral("Vmax|\\.(xlsx|xls|ods)"));
    for (QString text : bodyTexts(buildReport(input))) {
        text.remove(quoted);
        QVERIFY2(!english.match(text).hasMatch(), qPrintable(text));
        QVERIFY2(!longNumber.match(text).hasMatch(), qPrintable(text));
    }
}

// What a symbol of the inputs stands for is told once in the whole report, at the first moment
// whose formulas use it, and every symbol a formula uses is told.
void TestReport::everySymbolExplainedOnce_data()
{
    QTest::addColumn<ReportInput>("input");
    QTest::newRow("help page, all computed") << computedReport(test::helpPageExample(), true);
    QTest::newRow("outer curve, all computed") << computedReport(curveExample("Option19"), true);
}

void TestReport::everySymbolExplainedOnce()
{
    QFETCH(ReportInput, input);
    const QString text = reportPlainText(input);
    std::vector<SymbolNote> used;
    for (const MomentInfo &info : moments()) {
        const MomentOutcome outcome = computeMoment(input.saved.calculation, info.moment, ru);
        for (const SymbolNote &note : explainMoment(outcome, input.saved.calculation, ru).notes)
            if (std::find(used.begin(), used.end(), note) == used.end())
                used.push_back(note);
    }
    QVERIFY(used.size() >= 17);
    for (const SymbolNote &note : used) {
        const QString told = note.symbols + QStringLiteral(" — ") + note.meaning;
        QVERIFY2(text.count(told) == 1, qPrintable(told));
    }
}

// A look-up source names the file read, the table, the record, and the sheet's row and column
// as a spreadsheet shows them, with what the design condition chose there.
void TestReport::lookupSources_data()
{
    QTest::addColumn<LookupSource>("source");
    QTest::addColumn<QString>("expected");

    const auto row = [](const char *tag, const char *table, int record, const char *cell,
                         const char *file, const char *expected) {
        QTest::newRow(tag) << LookupSource { QString::fromLatin1(table), record,
            QStringLiteral("М-95+МФ-100"), QString::fromLatin1(cell), QString::fromUtf8(file) }
                           << QString::fromUtf8(expected);
    };
    row("ice wall alone", "Data2", 3, "Gp10", "т11.2.xlsx",
        "т11.2.xlsx, таблица «Gп», запись 3 «М-95+МФ-100»: строка 4, столбец C (толщина "
        "гололеда 10 мм)");
    row("first cell", "Data2", 1, "Gp5", "т11.2.xls",
        "т11.2.xls, таблица «Gп», запись 1 «М-95+МФ-100»: строка 2, столбец B (толщина "
        "гололеда 5 мм)");
    row("ice wall, then wind", "Data1", 2, "Pnv5", "т11.5.ods",
        "т11.5.ods, таблица «Рнв», запись 2 «М-95+МФ-100»: строка 3, столбец F (толщина "
        "гололеда 10 мм, скорость ветра 15 м/с)");
    row("wind, then ice wall, from the seventh column", "Data4", 1, "Pkv11", "т13.xls",
        "т13.xls, таблица «Pкв», запись 1 «М-95+МФ-100»: строка 2, столбец L (толщина "
        "гололеда 10 мм, скорость ветра 12,5 м/с)");
    row("last column", "Data4", 1, "Pkv25", "т13.xls",
        "т13.xls, таблица «Pкв», запись 1 «М-95+МФ-100»: строка 2, столбец Z (толщина "
        "гололеда 20 мм, скорость ветра 20 м/с)");
    row("one cell, no condition", "Data6", 5, "Text6", "т11.1.xlsx",
        "т11.1.xlsx, таблица «Gп в», запись 5 «М-95+МФ-100»: строка 6, столбец B");
    row("file not kept", "Data3", 1, "Gpr5", "",
        "т12.2 (какой из файлов .xls, .xlsx, .ods, в расчете не записано), таблица «Gпр», "
        "запись 1 «М-95+МФ-100»: строка 2, столбец B (толщина гололеда 5 мм)");
    row("a cell the table has not", "Data2", 3, "Gp11", "т11.2.xls",
        "т11.2.xls, таблица «Gп», запись 3 «М-95+МФ-100»");
}

void TestReport::lookupSources()
{
    QFETCH(LookupSource, source);
    QFETCH(QString, expected);
    ReportInput input = test::helpPageReport();
    const InputField field = source.table == u"Data1" ? InputField::IcePnv
        : source.table == u"Data3"                    ? InputField::IceGpr
        : source.table == u"Data4"                    ? InputField::IcePkv
        : source.table == u"Data6"                    ? InputField::WindGp
                                                      : InputField::IceGp;
    input.saved.calculation.sources[std::size_t(field)] = source;
    const QString text = reportPlainText(input);
    QVERIFY2(text.contains(QStringLiteral(" — ") + expected + QLatin1Char('\n')), qPrintable(text));
    QVERIFY(!text.contains(source.cell));
}

// The summary gives every moment to 0,01 and, where the label shows something else, the
// label's text beside it.
void TestReport::labelBesideTheRoundedValue_data()
{
    QTest::addColumn<QString>("label");
    QTest::addColumn<QStringList>("row");
    QTest::newRow("more decimals")
        << "Label1" << QStringList { "Мо вг, прямая", "1463,13 кгс·м = 14,35 кН·м", "1463,134" };
    QTest::newRow("rounded alike")
        << "Label5" << QStringList { "Мо в max, прямая", "1856,95 кгс·м = 18,21 кН·м", "" };
    QTest::newRow("a whole number")
        << "Label28"
        << QStringList { "Переходная опора, максимальный ветер, ветер от опоры на путь",
               "903,00 кгс·м = 8,86 кН·м", "" };
    QTest::newRow("negative with more decimals")
        << "Label18"
        << QStringList { "Переходная опора, гололед с ветром, ветер от пути на опору",
               "−2206,48 кгс·м = −21,64 кН·м", "-2206,484" };
}

void TestReport::labelBesideTheRoundedValue()
{
    QFETCH(QString, label);
    QFETCH(QStringList, row);
    const ReportInput input = computedReport(withTension(), false);
    const std::vector<ReportBlock> blocks = buildReport(input);
    const auto summary = std::find_if(blocks.begin(), blocks.end(), [](const ReportBlock &b) {
        return b.header && b.rows.front().value(0) == QStringLiteral("Момент");
    });
    QVERIFY(summary != blocks.end());
    const std::optional<Moment> moment = momentForLabel(label);
    QVERIFY(moment);
    QCOMPARE(summary->rows[std::size_t(*moment) + 1], row);
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
    // The section never ends with its heading alone.
    QVERIFY(blocks.back().kind != ReportBlock::Kind::Section);
    const QString text = reportPlainText(input);
    QCOMPARE(text.count(QStringLiteral(": не вычислен\n")), kMomentCount - computed.size());
}

// A drawing stands beside each ordinary moment with a value, and beside the largest transition
// moment while the transition support is switched on.
void TestReport::drawingsWhereTheyBelong_data()
{
    QTest::addColumn<bool>("transitionOn");
    QTest::addColumn<QStringList>("computed");
    QTest::addColumn<QStringList>("drawn"); // the headings of the moments drawn, in order

    const QStringList all { "Label1", "Label5", "Label10", "Label18", "Label26", "Label27",
        "Label28", "Label29", "Label30", "Label31" };
    const QString ice = QStringLiteral("Мо вг, прямая");
    const QString max = QStringLiteral("Мо в max, прямая");
    const QString governing
        = QStringLiteral("Переходная опора, максимальный ветер, ветер от пути на опору");
    QTest::newRow("transition off") << false << all << QStringList { ice, max };
    QTest::newRow("transition on") << true << all << QStringList { ice, max, governing };
    QTest::newRow("transition on, largest not computed")
        << true << QStringList { "Label10", "Label18", "Label28" }
        << QStringList { "Переходная опора, гололед с ветром, ветер от пути на опору" };
    QTest::newRow("transition on, none of it computed")
        << true << QStringList { "Label5" } << QStringList { max };
}

void TestReport::drawingsWhereTheyBelong()
{
    QFETCH(bool, transitionOn);
    QFETCH(QStringList, computed);
    QFETCH(QStringList, drawn);
    ReportInput input = computedReport(withTension(), transitionOn);
    for (const MomentInfo &info : moments())
        if (!computed.contains(QLatin1String(info.label)))
            input.saved.result(info.moment).text.clear();
    QStringList headings;
    for (const ReportBlock &block : buildReport(input))
        if (block.kind == ReportBlock::Kind::Scheme)
            headings << block.scheme->heading;
    QCOMPARE(headings, drawn);
}

// The drawing is made from the engine's terms: each load's share is the engine's, the shares of
// a term add up to it, each arm is the formula's, and the force is the share over its arm.
void TestReport::drawingFollowsTheTerms_data()
{
    QTest::addColumn<QString>("example");
    QTest::addColumn<Moment>("moment");
    QTest::addColumn<QStringList>("arrows"); // horizontal loads: term, height, force to 0,01

    QTest::newRow("straight, max") << "help" << Moment::MaximumWind
                                   << QStringList { "Мпр 9 25,00", "Мпр 7 20,00", "Мпр 9,7 30,00",
                                          "Мпр 8,85 15,00", "Моп 4,8 138,94", "Мзиг 7 24,00" };
    QTest::newRow("outer curve, ice")
        << "outer" << Moment::IceWithWind
        << QStringList { "Мпр 9 25,00", "Мпр 7 20,00", "Мпр 9,7 30,00", "Мпр 8,85 15,00",
               "Моп 4,8 50,02", "Мкр 9 75,00", "Мкр 7 50,00", "Мкр 9,7 80,00", "Мкр 8,85 40,00" };
    QTest::newRow("inner curve pushes back")
        << "inner" << Moment::MaximumWind
        << QStringList { "Мпр 9 −25,00", "Мпр 7 −20,00", "Мпр 9,7 −30,00", "Мпр 8,85 −15,00",
               "Моп 4,8 −138,94", "Мкр 9 −75,00", "Мкр 7 −50,00", "Мкр 9,7 −80,00",
               "Мкр 8,85 −40,00" };
    QTest::newRow("transition, wind and pull at the heel")
        << "outer" << Moment::WindToTrackHeel
        << QStringList { "Мн 2,25 50,00", "Мн 2,25 −123,75", "Мк 0,25 40,00", "Мк 0,25 −82,50",
               "Мпр1 2,95 30,00", "Мпр2 2,1 15,00", "Моп 1,43 31,50" };
}

void TestReport::drawingFollowsTheTerms()
{
    QFETCH(QString, example);
    QFETCH(Moment, moment);
    QFETCH(QStringList, arrows);
    const Calculation calculation = calculationFor(example);
    const MomentOutcome outcome = computeMoment(calculation, moment, ru);
    const std::optional<SupportScheme> scheme = supportScheme(outcome, calculation, ru);
    QVERIFY(scheme);
    QCOMPARE(scheme->moment, outcome.result.moment);

    QStringList horizontal;
    for (const SchemeLoad &load : scheme->loads) {
        if (load.kind == LoadForm::Kind::Horizontal)
            horizontal << QStringLiteral("%1 %2 %3")
                              .arg(load.term, writeNumber(load.arm, ru),
                                  hundredths(load.forceValue, ru));
        if (load.kind == LoadForm::Kind::Vertical)
            QVERIFY(load.arm == 3.3 || load.arm == -1.7);
        if (load.kind != LoadForm::Kind::Couple)
            QVERIFY(qFuzzyCompare(load.forceValue * load.arm, load.moment));
        QVERIFY2(load.label.join(QLatin1Char(' ')).contains(hundredths(load.moment, ru)),
            qPrintable(load.label.join(QLatin1Char(' '))));
    }
    QCOMPARE(horizontal, arrows);

    const MomentExplanation explanation = explainMoment(outcome, calculation, ru);
    for (std::size_t k = 0; k < explanation.terms.size(); ++k) {
        const MomentTerm &term = outcome.result.terms[k];
        double drawn = 0;
        for (const SchemeLoad &load : scheme->loads)
            if (load.term == explanation.terms[k].symbol)
                drawn += load.moment;
        QVERIFY2(std::abs(drawn - term.value) <= 1e-9 * std::max(1.0, std::abs(term.value)),
            qPrintable(explanation.terms[k].symbol));
        for (int s = 0; s < term.shareCount; ++s)
            if (term.shares[std::size_t(s)] != 0)
                QVERIFY(std::any_of(
                    scheme->loads.begin(), scheme->loads.end(), [&](const SchemeLoad &load) {
                        return load.moment == term.shares[std::size_t(s)];
                    }));
    }
}

void TestReport::momentsInBothUnits_data()
{
    QTest::addColumn<double>("kgfMetres");
    QTest::addColumn<QString>("expected");
    QTest::newRow("rounded to 0.01") << 1856.954 << "1856,95 кгс·м = 18,21 кН·м";
    QTest::newRow("rounded up at the half") << 838.255 << "838,26 кгс·м = 8,22 кН·м";
    QTest::newRow("two decimals kept") << 1000.0 << "1000,00 кгс·м = 9,81 кН·м";
    QTest::newRow("no grouping") << 1e6 << "1000000,00 кгс·м = 9806,65 кН·м";
    QTest::newRow("no negative zero") << -0.001 << "0,00 кгс·м = 0,00 кН·м";
    QTest::newRow("negative") << -500.0 << "−500,00 кгс·м = −4,90 кН·м";
    QTest::newRow("below the exponent form") << 9.99e14
                                             << "999000000000000,00 кгс·м = "
                                                "9796843350000,00 кН·м";
    QTest::newRow("too large for decimals") << 1e300 << "1E+300 кгс·м = 9,80665E+297 кН·м";
    QTest::newRow("not finite") << std::numeric_limits<double>::infinity() << noFiniteResultText();
}

void TestReport::momentsInBothUnits()
{
    QFETCH(double, kgfMetres);
    QFETCH(QString, expected);
    QCOMPARE(momentInBothUnits(kgfMetres, ru), expected);
}

void TestReport::footer_data()
{
    QTest::addColumn<QString>("object");
    QTest::addColumn<QString>("support");
    QTest::addColumn<QString>("expected");
    QTest::newRow("both") << " Перегон А — Б "
                          << "12"
                          << "Перегон А — Б, опора № 12";
    QTest::newRow("object only") << "Перегон А — Б"
                                 << " "
                                 << "Перегон А — Б";
    QTest::newRow("support only") << ""
                                  << "12а"
                                  << "опора № 12а";
    QTest::newRow("neither") << ""
                             << ""
                             << "";
}

void TestReport::footer()
{
    QFETCH(QString, object);
    QFETCH(QString, support);
    QFETCH(QString, expected);
    ReportInput input = test::helpPageReport();
    input.saved.title = { object, support, QStringLiteral("Иванов") };
    QCOMPARE(reportFooterTitle(input), expected);
    QCOMPARE(reportPageNumber(2, 11), QStringLiteral("стр. 2 из 11"));
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
