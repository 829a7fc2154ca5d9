// SPDX-License-Identifier: GPL-3.0-or-later
// Moments of the ordinary and the transition support: worked examples, order of evaluation,
// failures and the term breakdown. Results are compared as text to 15 significant digits.
#include "core/calc/moments.h"
#include "core/numbers/numbertext.h"

#include <QTest>

using namespace kelsa;
using Outcome = MomentResult::Outcome;

Q_DECLARE_METATYPE(kelsa::SupportInputs)
Q_DECLARE_METATYPE(kelsa::TransitionInputs)
Q_DECLARE_METATYPE(kelsa::TrackSection)
Q_DECLARE_METATYPE(kelsa::DesignCondition)
Q_DECLARE_METATYPE(kelsa::WindDirection)
Q_DECLARE_METATYPE(kelsa::SupportLevel)
Q_DECLARE_METATYPE(kelsa::MomentResult::Outcome)

namespace
{

constexpr auto Straight = TrackSection::Straight;
constexpr auto Outer = TrackSection::OuterCurve;
constexpr auto Inner = TrackSection::InnerCurve;
constexpr auto Ice = DesignCondition::IceWithWind;
constexpr auto MaxWind = DesignCondition::MaximumWind;
constexpr auto ToTrack = WindDirection::SupportToTrack;
constexpr auto ToSupport = WindDirection::TrackToSupport;
constexpr auto Base = SupportLevel::Base;
constexpr auto Heel = SupportLevel::Heel;

QString text(double value)
{
    return writeNumber(value, QLocale::c());
}

// The start texts of the window: R = 1, the additional-load tables "1", "0", "1" by column.
SupportInputs atStart()
{
    SupportInputs in;
    in.D = { 1, 1, 1, 0, 0, 0, 1, 1, 1 };
    in.F = in.D;
    return in;
}

// L, Gp, Gpr, Pnv, Pkv, Pprv, Tn, Tk, Tpr, R, a, V; additional-load tables at start.
SupportInputs supportInputs(std::array<double, 12> v)
{
    SupportInputs in = atStart();
    in.L = v[0], in.Gp = v[1], in.Gpr = v[2], in.Pnv = v[3], in.Pkv = v[4], in.Pprv = v[5];
    in.Tn = v[6], in.Tk = v[7], in.Tpr = v[8], in.R = v[9], in.a = v[10], in.V = v[11];
    return in;
}

SupportInputs straightExample()
{
    return supportInputs({ 50, 2, 1, 0.5, 0.4, 0.3, 0, 1000, 0, 1, 0.3, 30 });
}

SupportInputs curveExample()
{
    return supportInputs({ 50, 2, 1, 0.5, 0.4, 0.3, 1500, 1000, 800, 1000, 0.3, 30 });
}

// The curve example with one row of each additional-load table in use.
SupportInputs curveExampleWithLoads()
{
    SupportInputs in = curveExample();
    in.D[0] = 100, in.D[3] = 2;
    in.F[0] = 500, in.F[3] = 8;
    return in;
}

const TransitionInputs transitionExample { 50, 2, 1, 0.5, 0.4, 0.3, 1500, 1000, 30, 40 };

QStringList names(const MomentResult &result)
{
    QStringList list;
    for (const MomentTerm &term : result.terms)
        list << QString::fromLatin1(term.name);
    return list;
}

QStringList values(const MomentResult &result)
{
    QStringList list;
    for (const MomentTerm &term : result.terms)
        list << text(term.value);
    return list;
}

} // namespace

class TestMoments : public QObject
{
    Q_OBJECT

private slots:
    void supportExamples_data();
    void supportExamples();
    void transitionExamples_data();
    void transitionExamples();
    void supportOrder_data();
    void supportOrder();
    void transitionOrder_data();
    void transitionOrder();
    void supportNotFinite_data();
    void supportNotFinite();
    void transitionNotFinite_data();
    void transitionNotFinite();
    void conditionsDiffer_data();
    void conditionsDiffer();
    void supportBreakdown_data();
    void supportBreakdown();
    void transitionBreakdown_data();
    void transitionBreakdown();
};

void TestMoments::supportExamples_data()
{
    QTest::addColumn<DesignCondition>("condition");
    QTest::addColumn<TrackSection>("section");
    QTest::addColumn<SupportInputs>("inputs");
    QTest::addColumn<Outcome>("outcome");
    QTest::addColumn<QString>("moment");

    QTest::newRow("ice, at start, straight")
        << Ice << Straight << atStart() << Outcome::SpanMissing << "";
    QTest::newRow("max, at start, straight")
        << MaxWind << Straight << atStart() << Outcome::SpanMissing << "";
    SupportInputs noSpan = curveExampleWithLoads();
    noSpan.L = 0;
    QTest::newRow("max, straight, every input but L")
        << MaxWind << Straight << noSpan << Outcome::SpanMissing << "";
    QTest::newRow("ice, at start, outer") << Ice << Outer << atStart() << Outcome::Value << "191.3";
    QTest::newRow("ice, at start, inner") << Ice << Inner << atStart() << Outcome::Value << "191.3";
    QTest::newRow("max, at start, outer")
        << MaxWind << Outer << atStart() << Outcome::Value << "158.3";
    QTest::newRow("max, at start, inner")
        << MaxWind << Inner << atStart() << Outcome::Value << "158.3";
    QTest::newRow("ice, straight")
        << Ice << Straight << straightExample() << Outcome::Value << "1463.134";
    QTest::newRow("ice, outer") << Ice << Outer << curveExample() << Outcome::Value << "3450.134";
    QTest::newRow("ice, inner") << Ice << Inner << curveExample() << Outcome::Value << "-2917.534";
    QTest::newRow("max, straight")
        << MaxWind << Straight << straightExample() << Outcome::Value << "1856.95";
    QTest::newRow("max, outer") << MaxWind << Outer << curveExample() << Outcome::Value
                                << "3843.95";
    QTest::newRow("max, inner") << MaxWind << Inner << curveExample() << Outcome::Value
                                << "-3377.35";
    SupportInputs straightLoads = straightExample();
    straightLoads.D[0] = 100, straightLoads.D[3] = 2;
    QTest::newRow("max, straight, D row")
        << MaxWind << Straight << straightLoads << Outcome::Value << "2056.95";
    QTest::newRow("max, outer, D and F rows")
        << MaxWind << Outer << curveExampleWithLoads() << Outcome::Value << "4243.95";
}

void TestMoments::supportExamples()
{
    QFETCH(DesignCondition, condition);
    QFETCH(TrackSection, section);
    QFETCH(SupportInputs, inputs);
    QFETCH(Outcome, outcome);
    QFETCH(QString, moment);

    const MomentResult result = supportMoment(inputs, section, conditionConstants(condition));
    QCOMPARE(result.outcome, outcome);
    if (outcome == Outcome::Value)
        QCOMPARE(text(result.moment), moment);
    else
        QVERIFY(result.terms.empty());
}

void TestMoments::transitionExamples_data()
{
    QTest::addColumn<DesignCondition>("condition");
    QTest::addColumn<WindDirection>("direction");
    QTest::addColumn<SupportLevel>("level");
    QTest::addColumn<TransitionInputs>("inputs");
    QTest::addColumn<Outcome>("outcome");
    QTest::addColumn<QString>("moment");

    struct Case {
        const char *tag;
        DesignCondition condition;
        WindDirection direction;
        SupportLevel level;
        const char *moment;
    };
    const Case cases[] = {
        { "ice, to track, base", Ice, ToTrack, Base, "581.184" },
        { "ice, to support, base", Ice, ToSupport, Base, "-2206.484" },
        { "ice, to track, heel", Ice, ToTrack, Heel, "838.2537" },
        { "ice, to support, heel", Ice, ToSupport, Heel, "320.8213" },
        { "max, to track, base", MaxWind, ToTrack, Base, "903" },
        { "max, to support, base", MaxWind, ToSupport, Base, "-2738.3" },
        { "max, to track, heel", MaxWind, ToTrack, Heel, "762.0825" },
        { "max, to support, heel", MaxWind, ToSupport, Heel, "186.9925" },
    };
    TransitionInputs noLp = transitionExample;
    noLp.Lp = 0;
    for (const Case &c : cases) {
        QTest::newRow(c.tag) << c.condition << c.direction << c.level << transitionExample
                             << Outcome::Value << c.moment;
        QTest::addRow("%s, Lp = 0", c.tag)
            << c.condition << c.direction << c.level << noLp << Outcome::LpMissing << "";
    }
    QTest::newRow("at start") << Ice << ToTrack << Base << TransitionInputs {} << Outcome::LpMissing
                              << "";
    QTest::newRow("no span, Lp given")
        << MaxWind << ToTrack << Base
        << TransitionInputs { 0, 2, 1, 0.5, 0.4, 0.3, 1500, 1000, 30, 40 } << Outcome::Value
        << "-655.75";
}

void TestMoments::transitionExamples()
{
    QFETCH(DesignCondition, condition);
    QFETCH(WindDirection, direction);
    QFETCH(SupportLevel, level);
    QFETCH(TransitionInputs, inputs);
    QFETCH(Outcome, outcome);
    QFETCH(QString, moment);

    const MomentResult result = transitionMoment(condition, direction, level, inputs);
    QCOMPARE(result.outcome, outcome);
    if (outcome == Outcome::Value)
        QCOMPARE(text(result.moment), moment);
    else
        QVERIFY(result.terms.empty());
}

// Inputs where the wires nearly cancel a large Mvert, so that the rounding of each step shows
// in the 15 digits of the result; otherOrder is what a plausible regrouping would give.
void TestMoments::supportOrder_data()
{
    QTest::addColumn<DesignCondition>("condition");
    QTest::addColumn<TrackSection>("section");
    QTest::addColumn<SupportInputs>("inputs");
    QTest::addColumn<QString>("moment");
    QTest::addColumn<QString>("otherOrder");

    QTest::newRow("straight: summand by summand, not Mvert + (Mwires) + ...")
        << MaxWind << Straight
        << supportInputs(
               { 65, 1.95, 198720000, 112607996.03, 0.07, 0.54, 1100, 1400, 300, 600, 0.02, 31 })
        << "1.71253083214388"
        << "1.71253388390174";
    QTest::newRow("outer: summand by summand, not Mvert + (Mwires) + ...")
        << MaxWind << Outer
        << supportInputs(
               { 70, 0.5, 651780, 369334.717, 0.4, 0.28, 1300, 1100, 900, 1000, 0.35, 24 })
        << "-0.223999979735026"
        << "-0.223999961853224";
    QTest::newRow("inner: each summand subtracted, not Mvert - (Mwires) - ...")
        << MaxWind << Inner
        << supportInputs(
               { 70, 1.18, 770130, -436413.91, 0.3, 0.63, 900, 1400, 900, 1000, 0.38, 22 })
        << "-0.0389999928472662"
        << "-0.0390000405313913";
    QTest::newRow("Gpr × L × 3 × 1.7 from the left, not Gpr × L × 5.1")
        << MaxWind << Straight
        << supportInputs(
               { 50, 0.87, 7306300, 4140233.59, 0.14, 0.12, 1000, 1300, 400, 800, 0.33, 29 })
        << "-0.729000095367496"
        << "-0.728999856948917";
    QTest::newRow("ice: W = 0.6 × V squared, not 0.36 × V × V")
        << Ice << Outer
        << supportInputs(
               { 50, 0.25, 440520000, 249627990.2, 0.28, 0.66, 700, 1300, 700, 600, 0.31, 27 })
        << "-21.481956948242"
        << "-21.4819569482424";
}

void TestMoments::supportOrder()
{
    QFETCH(DesignCondition, condition);
    QFETCH(TrackSection, section);
    QFETCH(SupportInputs, inputs);
    QFETCH(QString, moment);
    QFETCH(QString, otherOrder);

    const MomentResult result = supportMoment(inputs, section, conditionConstants(condition));
    QCOMPARE(result.outcome, Outcome::Value);
    QCOMPARE(text(result.moment), moment);
    QVERIFY(moment != otherOrder);
}

void TestMoments::transitionOrder_data()
{
    QTest::addColumn<DesignCondition>("condition");
    QTest::addColumn<WindDirection>("direction");
    QTest::addColumn<SupportLevel>("level");
    QTest::addColumn<TransitionInputs>("inputs");
    QTest::addColumn<QString>("moment");
    QTest::addColumn<QString>("otherOrder");

    QTest::newRow("to track: support body + (sum of the others), not summed after it")
        << MaxWind << ToTrack << Base
        << TransitionInputs { 65, 0.8, 933810, 264581.1, 0.55, 0.44, 1400, 900, 36, 13 }
        << "54.8936923471234"
        << "54.893692312791";
    QTest::newRow("to support: support body subtracted last, not first")
        << Ice << ToSupport << Base
        << TransitionInputs { 65, 2.89, 24109000, -6830890.77, 0.31, 0.93, 1400, 700, 26, 7 }
        << "-5.8322605340575"
        << "-5.83226013183582";
    QTest::newRow("line bracket times its arm, not each part times the arm")
        << Ice << ToSupport << Base
        << TransitionInputs { 60, 2.86, 258650000, -73284167.71, 0.41, 0.59, 800, 1300, 34, 50 }
        << "4.33543450683612"
        << "4.33543145507849";
}

void TestMoments::transitionOrder()
{
    QFETCH(DesignCondition, condition);
    QFETCH(WindDirection, direction);
    QFETCH(SupportLevel, level);
    QFETCH(TransitionInputs, inputs);
    QFETCH(QString, moment);
    QFETCH(QString, otherOrder);

    const MomentResult result = transitionMoment(condition, direction, level, inputs);
    QCOMPARE(result.outcome, Outcome::Value);
    QCOMPARE(text(result.moment), moment);
    QVERIFY(moment != otherOrder);
}

void TestMoments::supportNotFinite_data()
{
    QTest::addColumn<DesignCondition>("condition");
    QTest::addColumn<TrackSection>("section");
    QTest::addColumn<SupportInputs>("inputs");

    SupportInputs noRadius = curveExample();
    noRadius.R = 0;
    SupportInputs emptyAtStart = atStart();
    emptyAtStart.R = 0; // 0 / 0 in every curve summand
    SupportInputs huge = straightExample();
    huge.Gp = 1e300, huge.L = 1e10;
    SupportInputs hugeBothWays = huge; // +inf from Gp, -inf from Gpr: NaN
    hugeBothWays.Gpr = 1e300;
    SupportInputs hugeWind = curveExample();
    hugeWind.V = 1e200;

    QTest::newRow("outer, R = 0") << MaxWind << Outer << noRadius;
    QTest::newRow("inner, R = 0") << Ice << Inner << noRadius;
    QTest::newRow("outer, R = 0 at start") << Ice << Outer << emptyAtStart;
    QTest::newRow("straight, overflow") << MaxWind << Straight << huge;
    QTest::newRow("straight, overflow both ways") << Ice << Straight << hugeBothWays;
    QTest::newRow("inner, wind overflow") << MaxWind << Inner << hugeWind;
}

void TestMoments::supportNotFinite()
{
    QFETCH(DesignCondition, condition);
    QFETCH(TrackSection, section);
    QFETCH(SupportInputs, inputs);

    const MomentResult result = supportMoment(inputs, section, conditionConstants(condition));
    QCOMPARE(result.outcome, Outcome::NotFinite);
    QVERIFY(!result.terms.empty());
}

void TestMoments::transitionNotFinite_data()
{
    QTest::addColumn<WindDirection>("direction");
    QTest::addColumn<TransitionInputs>("inputs");

    TransitionInputs huge = transitionExample;
    huge.Gp = 1e300, huge.L = 1e10;
    TransitionInputs tinyLp = transitionExample;
    tinyLp.Lp = 1e-308;
    TransitionInputs hugeWind = transitionExample;
    hugeWind.V = 1e200;

    QTest::newRow("weight overflow") << ToTrack << huge;
    QTest::newRow("tension over a tiny Lp") << ToSupport << tinyLp;
    QTest::newRow("wind overflow, to track") << ToTrack << hugeWind;
    QTest::newRow("wind overflow, to support") << ToSupport << hugeWind;
}

void TestMoments::transitionNotFinite()
{
    QFETCH(WindDirection, direction);
    QFETCH(TransitionInputs, inputs);

    const MomentResult result = transitionMoment(MaxWind, direction, Heel, inputs);
    QCOMPARE(result.outcome, Outcome::NotFinite);
}

// With equal inputs ice with wind adds 72 and subtracts 39 more in Mvert than maximum wind,
// and takes the support body at 0.6 × V, that is 0.36 times the maximum-wind term.
void TestMoments::conditionsDiffer_data()
{
    QTest::addColumn<TrackSection>("section");
    QTest::newRow("straight") << Straight;
    QTest::newRow("outer") << Outer;
    QTest::newRow("inner") << Inner;
}

void TestMoments::conditionsDiffer()
{
    QFETCH(TrackSection, section);

    const SupportInputs in = curveExampleWithLoads();
    const MomentResult ice = supportMoment(in, section, kIceWithWind);
    const MomentResult max = supportMoment(in, section, kMaximumWind);
    QCOMPARE(names(ice), names(max));
    for (std::size_t i = 0; i < ice.terms.size(); ++i) {
        const QByteArray name = ice.terms[i].name;
        const double iceValue = ice.terms[i].value;
        const double maxValue = max.terms[i].value;
        if (name == "Mvert")
            QCOMPARE(iceValue - maxValue, 33.0);
        else if (name == "Msupport")
            QCOMPARE(iceValue, 0.36 * maxValue);
        else
            QCOMPARE(iceValue, maxValue);
    }
}

void TestMoments::supportBreakdown_data()
{
    QTest::addColumn<TrackSection>("section");
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QStringList>("values");

    QTest::newRow("straight") << Straight
                              << QStringList { "Mvert", "Mwires", "Msupport", "Mzigzag",
                                     "MaddStraight" }
                              << QStringList { "233.3", "788.75", "666.9", "168", "200" };
    QTest::newRow("outer") << Outer
                           << QStringList { "Mvert", "Mwires", "Msupport", "Mcurve", "MaddStraight",
                                  "MaddCurve" }
                           << QStringList { "233.3", "788.75", "666.9", "2155", "200", "200" };
    QTest::newRow("inner") << Inner
                           << QStringList { "Mvert", "Mwires", "Msupport", "Mcurve", "MaddStraight",
                                  "MaddCurve" }
                           << QStringList { "233.3", "-788.75", "-666.9", "-2155", "-200", "-200" };
}

void TestMoments::supportBreakdown()
{
    QFETCH(TrackSection, section);
    QFETCH(QStringList, names);
    QFETCH(QStringList, values);

    const MomentResult result = supportMoment(curveExampleWithLoads(), section, kMaximumWind);
    QCOMPARE(::names(result), names);
    QCOMPARE(::values(result), values);
}

void TestMoments::transitionBreakdown_data()
{
    QTest::addColumn<WindDirection>("direction");
    QTest::addColumn<QStringList>("values");

    QTest::newRow("to track") << ToTrack
                              << QStringList { "773.6", "-663.75", "-297.5", "291", "132.75",
                                     "666.9" };
    QTest::newRow("to support") << ToSupport
                                << QStringList { "773.6", "-1563.75", "-857.5", "-291", "-132.75",
                                       "-666.9" };
}

void TestMoments::transitionBreakdown()
{
    QFETCH(WindDirection, direction);
    QFETCH(QStringList, values);

    const MomentResult result = transitionMoment(MaxWind, direction, Base, transitionExample);
    const QStringList expectedNames { "Mvert2", "Pnv line", "Pkv line", "upper wires", "third wire",
        "support body" };
    QCOMPARE(names(result), expectedNames);
    QCOMPARE(::values(result), values);
}

QTEST_APPLESS_MAIN(TestMoments)
#include "test_moments.moc"
