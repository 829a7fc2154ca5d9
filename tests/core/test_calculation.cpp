// SPDX-License-Identifier: GPL-3.0-or-later
// The calculation as a value: its fields and options by control name, the ten moments computed
// from it with the window's reading rules, and the cells the design condition shows.
#include "core/calc/breakdown.h"
#include "core/calc/calculation.h"
#include "core/calc/momentcases.h"
#include "core/calc/momentlabel.h"
#include "core/numbers/numbertext.h"
#include "core/tables/tablecatalogue.h"
#include "support/helpexample.h"

#include <QTest>

using namespace kelsa;

Q_DECLARE_METATYPE(kelsa::Moment)
Q_DECLARE_METATYPE(kelsa::MomentResult::Outcome)

namespace
{

using Texts = QList<QPair<QString, QString>>;

const QLocale ru(QLocale::Russian, QLocale::Russia);

// The worked example of the help page, with `extra` texts over it, in a track section.
Calculation example(
    const Texts &extra = {}, const QString &sectionOption = QStringLiteral("Option18"))
{
    Calculation calculation = test::helpPageExample();
    for (const auto &[name, text] : extra)
        if (!calculation.setText(name, text))
            qFatal("no field %s", qPrintable(name));
    calculation.selectOption(sectionOption);
    return calculation;
}

QStringList names(const std::vector<InputField> &fields)
{
    QStringList list;
    for (const InputField field : fields)
        list << QString::fromLatin1(fieldInfo(field).name);
    return list;
}

} // namespace

class TestCalculation : public QObject
{
    Q_OBJECT

private slots:
    void addressedByControlNames();
    void moments_data();
    void moments();
    void refusedAndEmptyFields_data();
    void refusedAndEmptyFields();
    void lengthsMissingAndNoFiniteMoment_data();
    void lengthsMissingAndNoFiniteMoment();
    void errorCodes_data();
    void errorCodes();
    void breakdownNamesEveryTerm();
    void changedInputsAreWhatTheMomentReads_data();
    void changedInputsAreWhatTheMomentReads();
    void shownCells_data();
    void shownCells();
};

void TestCalculation::addressedByControlNames()
{
    Calculation calculation = Calculation::atStart();
    QCOMPARE(calculation.text(InputField::CurveRadius), QStringLiteral("1"));
    QCOMPARE(calculation.text(InputField::D8), QStringLiteral("1"));
    QCOMPARE(calculation.text(InputField::D5), QStringLiteral("0"));
    QStringList selected;
    for (const auto &group : optionGroups())
        selected << calculation.selectedOptionName(group.group);
    QCOMPARE(selected,
        QStringList(
            { "Option1", "Option18", "Option22", "Option5", "Option17", "Option8", "Option24" }));

    const Calculation start = calculation;
    QVERIFY(!calculation.setText(u"txtD8", QStringLiteral("5"))); // the grid's cell is "TxtD8"
    QVERIFY(!calculation.selectOption(u"Option25"));
    QVERIFY(calculation == start);
    QVERIFY(calculation.setText(u"TxtD8", QStringLiteral("5")));
    QVERIFY(calculation.selectOption(u"Option13"));
    QCOMPARE(calculation.text(InputField::D8), QStringLiteral("5"));
    QCOMPARE(calculation.option(OptionGroup::IceWindForPkv), 1);
    QVERIFY(calculation != start);
    calculation = start;
    calculation.sources[std::size_t(InputField::IceGp)] = LookupSource { QStringLiteral("Data2"), 3,
        QStringLiteral("М-95"), QStringLiteral("Gp10") };
    QVERIFY(calculation != start);
}

void TestCalculation::moments_data()
{
    QTest::addColumn<Moment>("moment");
    QTest::addColumn<QString>("section");
    QTest::addColumn<Texts>("extra");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("result");

    const Texts curve { { "Text1", "1500" }, { "Text3", "800" }, { "Text4", "1000" } };
    const Texts loads { { "txtD1", "100" }, { "txtD4", "2" }, { "txtF1", "500" },
        { "txtF4", "8" } };
    const Texts tn { { "Text1", "1500" } };
    QTest::newRow("ice straight") << Moment::IceWithWind << "Option18" << Texts {} << "Label1"
                                  << "1463,134";
    QTest::newRow("ice outer") << Moment::IceWithWind << "Option19" << curve << "Label1"
                               << "3450,134";
    QTest::newRow("ice inner") << Moment::IceWithWind << "Option20" << curve << "Label1"
                               << "-2917,534";
    QTest::newRow("max straight") << Moment::MaximumWind << "Option18" << Texts {} << "Label5"
                                  << "1856,95";
    QTest::newRow("max outer") << Moment::MaximumWind << "Option19" << curve << "Label5"
                               << "3843,95";
    QTest::newRow("max inner") << Moment::MaximumWind << "Option20" << curve << "Label5"
                               << "-3377,35";
    QTest::newRow("max straight, load rows")
        << Moment::MaximumWind << "Option18" << loads << "Label5"
        << "2056,95";
    QTest::newRow("max outer, load rows")
        << Moment::MaximumWind << "Option19" << curve + loads << "Label5"
        << "4243,95";
    // The transition support reads no track section, radius, stagger, Tpr or grid.
    const Texts ignored { { "Text4", "0" }, { "Text3", "9999" }, { "txtD4", "100" } };
    QTest::newRow("ice to track") << Moment::IceToTrack << "Option20" << tn + ignored << "Label10"
                                  << "581,184";
    QTest::newRow("ice to support") << Moment::IceToSupport << "Option18" << tn << "Label18"
                                    << "-2206,484";
    QTest::newRow("ice to track, heel") << Moment::IceToTrackHeel << "Option18" << tn << "Label26"
                                        << "838,2537";
    QTest::newRow("ice to support, heel")
        << Moment::IceToSupportHeel << "Option18" << tn << "Label27"
        << "320,8213";
    QTest::newRow("max to track") << Moment::WindToTrack << "Option18" << tn << "Label28"
                                  << "903";
    QTest::newRow("max to support") << Moment::WindToSupport << "Option18" << tn << "Label29"
                                    << "-2738,3";
    QTest::newRow("max to track, heel") << Moment::WindToTrackHeel << "Option18" << tn << "Label30"
                                        << "762,0825";
    QTest::newRow("max to support, heel")
        << Moment::WindToSupportHeel << "Option19" << tn << "Label31"
        << "186,9925";
}

void TestCalculation::moments()
{
    QFETCH(Moment, moment);
    QFETCH(QString, section);
    QFETCH(Texts, extra);
    QFETCH(QString, label);
    QFETCH(QString, result);
    QCOMPARE(QString::fromLatin1(momentInfo(moment).label), label);
    QCOMPARE(momentForLabel(label), moment);
    const MomentOutcome outcome = computeMoment(example(extra, section), moment, ru);
    QVERIFY(outcome.inputsAccepted());
    QVERIFY(outcome.emptyAsZero.empty());
    QCOMPARE(outcome.result.outcome, MomentResult::Outcome::Value);
    QCOMPARE(writeNumber(outcome.result.moment, ru), result);
}

// Reading order, refusal and empty-as-zero: the message lists problems in the order the moment
// reads its fields (span, the five loads, Tk, a, V, Tn, Tpr, R, then the grids or Lp).
void TestCalculation::refusedAndEmptyFields_data()
{
    QTest::addColumn<Moment>("moment");
    QTest::addColumn<Texts>("texts");
    QTest::addColumn<QStringList>("refused"); // not numbers
    QTest::addColumn<QStringList>("emptyRefused");
    QTest::addColumn<QStringList>("emptyAsZero");
    QTest::addColumn<QString>("result"); // when computed

    QTest::newRow("point under a comma locale")
        << Moment::MaximumWind << Texts { { "Text2", "1000.5" } } << QStringList { "Text2" }
        << QStringList {} << QStringList {} << QString();
    QTest::newRow("grouping is no number")
        << Moment::IceWithWind << Texts { { "Prolet", "1 000" } } << QStringList { "Prolet" }
        << QStringList {} << QStringList {} << QString();
    QTest::newRow("two at once, in reading order")
        << Moment::MaximumWind << Texts { { "TxtD8", "x" }, { "txtSum4", "1,5,2" } }
        << QStringList { "txtSum4", "TxtD8" } << QStringList {} << QStringList {} << QString();
    QTest::newRow("ordinary support: empty counts as 0")
        << Moment::MaximumWind
        << Texts { { "txtSum3", "" }, { "txtD7", " " }, { "txtGnv", "not read here" } }
        << QStringList {} << QStringList {} << QStringList { "txtSum3", "txtD7" } << "1631,95";
    QTest::newRow("transition: empty is refused, Tpr too")
        << Moment::WindToTrack
        << Texts { { "Text1", "1500" }, { "Text3", "" }, { "txtSum5", "0.3" } }
        << QStringList { "txtSum5" } << QStringList { "Text3" } << QStringList {} << QString();
}

void TestCalculation::refusedAndEmptyFields()
{
    QFETCH(Moment, moment);
    QFETCH(Texts, texts);
    QFETCH(QStringList, refused);
    QFETCH(QStringList, emptyRefused);
    QFETCH(QStringList, emptyAsZero);
    QFETCH(QString, result);
    const MomentOutcome outcome = computeMoment(example(texts), moment, ru);
    QStringList notNumbers, empties;
    for (const FieldProblem &problem : outcome.badFields)
        (problem.empty ? empties : notNumbers)
            << QString::fromLatin1(fieldInfo(problem.field).name);
    QCOMPARE(notNumbers, refused);
    QCOMPARE(empties, emptyRefused);
    QCOMPARE(names(outcome.emptyAsZero), emptyAsZero);
    if (!result.isEmpty())
        QCOMPARE(writeNumber(outcome.result.moment, ru), result);
    if (!outcome.inputsAccepted()) // the text as it stood, for the message
        QCOMPARE(
            outcome.badFields.front().text, example(texts).text(outcome.badFields.front().field));
}

void TestCalculation::lengthsMissingAndNoFiniteMoment_data()
{
    QTest::addColumn<Moment>("moment");
    QTest::addColumn<QString>("section");
    QTest::addColumn<Texts>("texts");
    QTest::addColumn<MomentResult::Outcome>("outcome");

    using O = MomentResult::Outcome;
    QTest::newRow("straight without span")
        << Moment::IceWithWind << "Option18" << Texts { { "Prolet", "0" } } << O::SpanMissing;
    QTest::newRow("a curve computes without span")
        << Moment::IceWithWind << "Option19" << Texts { { "Prolet", "" } } << O::Value;
    QTest::newRow("transition without Lp")
        << Moment::WindToSupport << "Option18" << Texts { { "txtLp", "0" } } << O::LpMissing;
    QTest::newRow("zero radius in a curve")
        << Moment::MaximumWind << "Option20" << Texts { { "Text4", "0" } } << O::NotFinite;
    QTest::newRow("transition overflow")
        << Moment::WindToSupport << "Option18"
        << Texts { { "Text1", "1500" }, { "txtLp", "1e-320" }, { "txtVm", "1e200" } }
        << O::NotFinite;
}

void TestCalculation::lengthsMissingAndNoFiniteMoment()
{
    QFETCH(Moment, moment);
    QFETCH(QString, section);
    QFETCH(Texts, texts);
    QFETCH(MomentResult::Outcome, outcome);
    const MomentOutcome result = computeMoment(example(texts, section), moment, ru);
    QVERIFY(result.inputsAccepted());
    QCOMPARE(result.result.outcome, outcome);
}

// The code a moment without a value gets in files and on the command line, each on both sides
// of where it starts. The first refused field decides between "empty" and "not-a-number"; a
// refusal comes before any arithmetic; an arithmetic without a finite result is "not-finite"
// for the ordinary support and "overflow" for the transition support, whose formula divides by
// nothing that can be 0 but Lp.
void TestCalculation::errorCodes_data()
{
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("section");
    QTest::addColumn<Texts>("texts");
    QTest::addColumn<QString>("code");

    const auto row = [](const char *tag, const char *label, const char *section, Texts texts,
                         const char *code) {
        QTest::newRow(tag) << QString::fromLatin1(label) << QString::fromLatin1(section) << texts
                           << QString::fromLatin1(code);
    };
    row("a moment has no code", "Label1", "Option18", {}, "");

    row("span 0 on straight track", "Label1", "Option18", { { "Prolet", "0" } }, "span-missing");
    row("empty span counts as 0", "Label5", "Option18", { { "Prolet", "" } }, "span-missing");
    row("a span of 1e-300 m is a span", "Label5", "Option18", { { "Prolet", "1e-300" } }, "");
    row("span 0 in a curve", "Label1", "Option19", { { "Prolet", "0" } }, "");
    row("span 0 at the transition support", "Label10", "Option18", { { "Prolet", "0" } }, "");
    row("a refused field before a missing span", "Label1", "Option18",
        { { "Prolet", "0" }, { "Text2", "x" } }, "not-a-number");

    row("Lp 0", "Label10", "Option18", { { "txtLp", "0" } }, "lp-missing");
    row("Lp 1e-300 m is a distance", "Label10", "Option18", { { "txtLp", "1e-300" } }, "");
    row("Lp 0 does not touch the ordinary support", "Label1", "Option18", { { "txtLp", "0" } }, "");

    row("R 0 in the inner curve", "Label1", "Option20", { { "Text4", "0" } }, "not-finite");
    row("R 0 in the outer curve", "Label5", "Option19", { { "Text4", "0" } }, "not-finite");
    row("R 1e-300 m in the inner curve", "Label1", "Option20", { { "Text4", "1e-300" } }, "");
    row("R 0 on straight track", "Label1", "Option18", { { "Text4", "0" } }, "");
    row("R 0 at the transition support", "Label10", "Option20", { { "Text4", "0" } }, "");
    row("a span too short for the stagger term", "Label5", "Option18", { { "Prolet", "5e-324" } },
        "not-finite");
    row("wind 1e155 m/s, ordinary support", "Label5", "Option18", { { "txtVm", "1e155" } },
        "not-finite");

    row("wind 1e153 m/s, transition support", "Label28", "Option18", { { "txtVm", "1e153" } }, "");
    row("wind 1e155 m/s, transition support", "Label28", "Option18", { { "txtVm", "1e155" } },
        "overflow");
    row("Lp 1e-320 m, transition support", "Label31", "Option18", { { "txtLp", "1e-320" } },
        "overflow");

    row("Tpr empty, then Lp not a number", "Label10", "Option18",
        { { "Text3", "" }, { "txtLp", "x" } }, "empty");
    row("Tpr not a number, then Lp empty", "Label10", "Option18",
        { { "Text3", "x" }, { "txtLp", "" } }, "not-a-number");
    row("Tpr blank", "Label10", "Option18", { { "Text3", "  " } }, "empty");
    row("Tpr empty counts as 0 for the ordinary support", "Label1", "Option20", { { "Text3", "" } },
        "");
    row("Tpr not a number, ordinary support", "Label1", "Option18", { { "Text3", "x" } },
        "not-a-number");
}

void TestCalculation::errorCodes()
{
    QFETCH(QString, label);
    QFETCH(QString, section);
    QFETCH(Texts, texts);
    QFETCH(QString, code);
    const std::optional<Moment> moment = momentForLabel(label);
    QVERIFY(moment);
    const Calculation calculation = example(texts, section);
    QCOMPARE(momentErrorCode(computeMoment(calculation, *moment, ru)), code);
    // A schedule computes all ten at once and must give the same code.
    QCOMPARE(momentErrorCode(computeMoments(calculation, ru)[std::size_t(*moment)]), code);
}

void TestCalculation::breakdownNamesEveryTerm()
{
    const MomentOutcome outcome = computeMoment(example({}, "Option18"), Moment::MaximumWind, ru);
    QCOMPARE(momentBreakdown(outcome, example({}, "Option18"), ru),
        QStringLiteral("Мо в max, прямая\nМверт = 233,30 кгс·м — от вертикальных нагрузок\n"
                       "Мпр = 788,75 кгс·м — от ветра на провода\n"
                       "Моп = 666,90 кгс·м — от ветра на опору\n"
                       "Мзиг = 168,00 кгс·м — от излома контактного провода (зигзаг)\n"
                       "Мдоп = 0,00 кгс·м — от дополнительных нагрузок\n"
                       "М = Мверт + Мпр + Моп + Мзиг + Мдоп = 1856,95 кгс·м = 18,21 кН·м"));
    const Calculation heelInputs = example({ { "Text1", "1500" } });
    const MomentOutcome heel = computeMoment(heelInputs, Moment::IceToSupportHeel, ru);
    QVERIFY(momentBreakdown(heel, heelInputs, ru)
                .startsWith(QStringLiteral(
                    "Переходная опора, гололед с ветром, ветер от пути на опору, пята\n")));
}

void TestCalculation::changedInputsAreWhatTheMomentReads_data()
{
    QTest::addColumn<Moment>("moment");
    QTest::addColumn<Texts>("texts");
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QStringList>("changed");
    QTest::newRow("ice: span, section, wall, wind")
        << Moment::IceWithWind << Texts { { "Prolet", "60" }, { "txtSum1", "9" } }
        << QStringList { "Option20", "Option2", "Option6", "Option9" }
        << QStringList { "Длина прол.", "Участок пути", "Толщина ст. гололеда мм",
               "Vр.ветра м/с для Pнв и Pпрв" };
    QTest::newRow("maximum wind: grid and its wind only")
        << Moment::MaximumWind << Texts { { "txtF9", "2" }, { "txtLp", "3" } }
        << QStringList { "Option2", "Option12" }
        << QStringList { "Кривая, n, строка 3", "Vmax в.м/с" };
    QTest::newRow("transition: no section, no grid")
        << Moment::WindToSupportHeel << Texts { { "txtLp", "41" }, { "txtD1", "2" } }
        << QStringList { "Option19" } << QStringList { "L от переходной до анкерной" };
    QTest::newRow("same texts, nothing changed")
        << Moment::IceToTrack << Texts { { "Prolet", "50" } } << QStringList { "Option21" }
        << QStringList {};
}

void TestCalculation::changedInputsAreWhatTheMomentReads()
{
    QFETCH(Moment, moment);
    QFETCH(Texts, texts);
    QFETCH(QStringList, options);
    QFETCH(QStringList, changed);
    const Calculation before = example();
    Calculation after = before;
    for (const auto &[name, text] : texts)
        after.setText(name, text);
    for (const QString &option : options)
        after.selectOption(option);
    QCOMPARE(changedInputs(moment, before, after), changed);
}

void TestCalculation::shownCells_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QStringList>("shown"); // Data1 .. Data10

    QTest::newRow("start") << QStringList {}
                           << QStringList { "Pnv1", "Gp5", "Gpr5", "Pkv6", "Pprv1", "Text6",
                                  "Text8", "txtPro1", "txtPr1", "txtPo1" };
    QTest::newRow("ice 15, wind 20, Pкв wind 17,5")
        << QStringList { "Option3", "Option7", "Option15" }
        << QStringList { "Pnv9", "Gp15", "Gpr15", "Pkv20", "Pprv9", "Text6", "Text8", "txtPro1",
               "txtPr1", "txtPo1" };
    QTest::newRow("ice 20, wind 15, max 40")
        << QStringList { "Option4", "Option6", "Option12" }
        << QStringList { "Pnv11", "Gp20", "Gpr20", "Pkv9", "Pprv11", "Text6", "Text8", "txtPro5",
               "txtPr5", "txtPo5" };
    QTest::newRow("ice 10, Pкв wind 12,5, max 30")
        << QStringList { "Option2", "Option13", "Option10" }
        << QStringList { "Pnv4", "Gp10", "Gpr10", "Pkv11", "Pprv4", "Text6", "Text8", "txtPro3",
               "txtPr3", "txtPo3" };
    QTest::newRow("ice 10, Pкв wind 20") << QStringList { "Option16", "Option7", "Option2" }
                                         << QStringList { "Pnv6", "Gp10", "Gpr10", "Pkv23", "Pprv6",
                                                "Text6", "Text8", "txtPro1", "txtPr1", "txtPo1" };
    QTest::newRow("track section chooses nothing")
        << QStringList { "Option20" }
        << QStringList { "Pnv1", "Gp5", "Gpr5", "Pkv6", "Pprv1", "Text6", "Text8", "txtPro1",
               "txtPr1", "txtPo1" };
}

// The cell each table shows, which is also the cell its look-up field copies.
void TestCalculation::shownCells()
{
    QFETCH(QStringList, options);
    QFETCH(QStringList, shown);
    Calculation calculation = Calculation::atStart();
    for (const QString &option : options)
        QVERIFY(calculation.selectOption(option));
    QStringList actual;
    QStringList lookups;
    for (const ReferenceTable &table : referenceTables()) {
        const int cell = table.shownCell(calculation.options);
        QVERIFY(cell >= 0 && cell < table.cellCount);
        actual << table.cellName(cell);
        if (table.lookup)
            lookups << QString::fromLatin1(fieldInfo(*table.lookup).name);
    }
    QCOMPARE(actual, shown);
    QCOMPARE(lookups,
        QStringList({ "txtGnv", "txtGp", "txtGpr", "txtPkv", "txtPprv", "txtSum1", "txtSum2" }));
}

QTEST_APPLESS_MAIN(TestCalculation)
#include "test_calculation.moc"
