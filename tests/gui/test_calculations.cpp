// SPDX-License-Identifier: GPL-3.0-or-later
// The calculation buttons of the main window, pressed with typed fields: the labels and the
// messages the user sees.
#include "support/formharness.h"

#include "core/calc/breakdown.h"

using kelsa::test::FormHarness;
using kelsa::test::ModalWatchdog;

namespace
{

using Fields = QList<QPair<QString, QString>>;

// The worked example: a 50 m span, loads per metre, tensions and a 30 m/s wind.
const Fields &example()
{
    static const Fields fields {
        { "Prolet", "50" },
        { "txtGp", "2" },
        { "txtGpr", "1" },
        { "txtGnv", "0,5" },
        { "txtPkv", "0,4" },
        { "txtPprv", "0,3" },
        { "txtSum1", "2" },
        { "txtSum2", "1" },
        { "txtSum3", "0,5" },
        { "txtSum4", "0,4" },
        { "txtSum5", "0,3" },
        { "Text2", "1000" },
        { "Text5", "0,3" },
        { "txtVm", "30" },
    };
    return fields;
}

void type(FormHarness &h, const Fields &fields)
{
    for (const auto &[name, text] : fields)
        h.form->findChild<QLineEdit *>(name)->setText(text);
}

} // namespace

class TestCalculations : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia)); }
    void init() { m_watchdog = std::make_unique<ModalWatchdog>(); }
    void cleanup() { QCOMPARE(m_watchdog->unexpected(), 0); }

    void ordinarySupport_data();
    void ordinarySupport();
    void straightWithoutSpanAsksForIt_data();
    void straightWithoutSpanAsksForIt();
    void textThatIsNotANumberIsReported_data();
    void textThatIsNotANumberIsReported();
    void emptyFieldCountsAsZero();
    void zeroRadiusGivesNoFiniteResult();
    void breakdownTooltipFollowsTheResult();
    void englishLocaleWritesAPoint();

    void transitionSupport_data();
    void transitionSupport();
    void transitionWithoutLp_data();
    void transitionWithoutLp();
    void transitionIgnoresSectionRadiusStaggerAndTpr();
    void transitionReportsEmptyAndBadFields();
    void transitionOverflowWritesNothing();

private:
    std::unique_ptr<ModalWatchdog> m_watchdog;
};

void TestCalculations::ordinarySupport_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("section");
    QTest::addColumn<Fields>("extra");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("result");

    const Fields curve { { "Text1", "1500" }, { "Text3", "800" }, { "Text4", "1000" } };
    QTest::newRow("ice straight") << "Command1"
                                  << "Option18" << Fields {} << "Label1"
                                  << "1463,134";
    QTest::newRow("ice outer") << "Command1"
                               << "Option19" << curve << "Label1"
                               << "3450,134";
    QTest::newRow("ice inner") << "Command1"
                               << "Option20" << curve << "Label1"
                               << "-2917,534";
    QTest::newRow("max straight") << "Command3"
                                  << "Option18" << Fields {} << "Label5"
                                  << "1856,95";
    QTest::newRow("max outer") << "Command3"
                               << "Option19" << curve << "Label5"
                               << "3843,95";
    QTest::newRow("max inner") << "Command3"
                               << "Option20" << curve << "Label5"
                               << "-3377,35";
    QTest::newRow("max straight with a load row")
        << "Command3"
        << "Option18" << Fields { { "txtD1", "100" }, { "txtD4", "2" } } << "Label5"
        << "2056,95";
    QTest::newRow("max outer with load rows") << "Command3"
                                              << "Option19"
                                              << curve
            + Fields { { "txtD1", "100" }, { "txtD4", "2" }, { "txtF1", "500" }, { "txtF4", "8" } }
                                              << "Label5"
                                              << "4243,95";
}

void TestCalculations::ordinarySupport()
{
    QFETCH(QString, button);
    QFETCH(QString, section);
    QFETCH(Fields, extra);
    QFETCH(QString, label);
    QFETCH(QString, result);
    FormHarness h;
    type(h, example());
    type(h, extra);
    h.select(qPrintable(section));
    // The additional loads are read while their frame is hidden, too.
    h.select("Option21");
    h.click(qPrintable(button));
    QCOMPARE(h.form->findChild<QLabel *>(label)->text(), result);
    QVERIFY(h.messages.empty());
}

void TestCalculations::straightWithoutSpanAsksForIt_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("curveResult");
    QTest::newRow("ice with wind") << "Command1"
                                   << "Label1"
                                   << "191,3";
    QTest::newRow("maximum wind") << "Command3"
                                  << "Label5"
                                  << "158,3";
}

// At start the span is 0: straight track asks for it, the curves compute without it.
void TestCalculations::straightWithoutSpanAsksForIt()
{
    QFETCH(QString, button);
    QFETCH(QString, label);
    QFETCH(QString, curveResult);
    FormHarness h;
    h.click(qPrintable(button));
    QCOMPARE(h.messages.size(), std::size_t(1));
    QCOMPARE(h.messages[0].title, QStringLiteral("Kelsa"));
    QCOMPARE(h.messages[0].text, QStringLiteral("Нет длины пролета или десятичные"));
    QCOMPARE(h.form->findChild<QLabel *>(label)->text(), QStringLiteral("0"));

    for (const char *curve : { "Option19", "Option20" }) {
        h.select(curve);
        h.click(qPrintable(button));
        QCOMPARE(h.form->findChild<QLabel *>(label)->text(), curveResult);
    }
    QCOMPARE(h.messages.size(), std::size_t(1));
}

void TestCalculations::textThatIsNotANumberIsReported_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message");
    QTest::newRow("point under a comma locale")
        << "Text2"
        << "1000.5" << QString::fromUtf8("Поле \"Тк кгс\": \"1000.5\" не является числом");
    QTest::newRow("letters in the span")
        << "Prolet"
        << "fifty" << QString::fromUtf8("Поле \"Длина прол.\": \"fifty\" не является числом");
    QTest::newRow("two commas in a load")
        << "txtSum4"
        << "1,5,2" << QString::fromUtf8("Поле \"Pкв в\": \"1,5,2\" не является числом");
    QTest::newRow("grid cell") << "TxtD8"
                               << "x"
                               << QString::fromUtf8(
                                      "Поле \"Прямая, n, строка 2\": \"x\" не является числом");
}

// A typo must not become a silent 0 in a moment that then looks right.
void TestCalculations::textThatIsNotANumberIsReported()
{
    QFETCH(QString, field);
    QFETCH(QString, text);
    QFETCH(QString, message);
    FormHarness h;
    type(h, example());
    h.label("Label5")->setText(QStringLiteral("123"));
    h.form->findChild<QLineEdit *>(field)->setText(text);
    h.click("Command3");
    QCOMPARE(h.messages.size(), std::size_t(1));
    QCOMPARE(h.messages[0].title, QStringLiteral("Kelsa"));
    QCOMPARE(h.messages[0].text, message);
    QCOMPARE(h.label("Label5")->text(), QStringLiteral("123"));
}

void TestCalculations::emptyFieldCountsAsZero()
{
    FormHarness h;
    type(h, example());
    h.click("txtGnv"); // a look-up field: the empty cell of a missing table also gives ""
    h.field("txtSum3")->clear();
    h.click("txtD7"); // emptied by its click
    QCOMPARE(h.field("txtD7")->text(), QString());
    h.click("Command3");
    QCOMPARE(h.label("Label5")->text(), QStringLiteral("1631,95")); // 1856,95 - 0,5 × 50 × 9
    QVERIFY(h.messages.empty());
}

void TestCalculations::zeroRadiusGivesNoFiniteResult()
{
    FormHarness h;
    type(h, example());
    h.field("Text4")->setText(QStringLiteral("0"));
    for (const char *section : { "Option19", "Option20" }) {
        h.select(section);
        h.click("Command1");
        QCOMPARE(h.label("Label1")->text(), kelsa::noFiniteResultText());
    }
    // An emptied radius counts as 0 as well.
    h.click("Text4");
    h.click("Command3");
    QCOMPARE(h.label("Label5")->text(), kelsa::noFiniteResultText());
    QVERIFY(!h.label("Label5")->text().contains(QLatin1String("inf")));
    QVERIFY(h.messages.empty());
}

void TestCalculations::breakdownTooltipFollowsTheResult()
{
    FormHarness h;
    type(h, example());
    h.click("Command3");
    const QString tip = h.label("Label5")->toolTip();
    for (const char *term : { "Mvert = +233,3", "Mwires = +788,75", "Msupport = +666,9",
             "Mzigzag = +168", "MaddStraight = 0", "M = 1856,95" })
        QVERIFY2(tip.contains(QString::fromUtf8(term)), qPrintable(tip));
    h.select("Option20");
    h.field("Text4")->setText(QStringLiteral("1000"));
    h.click("Command3");
    QVERIFY(h.label("Label5")->toolTip().contains(QStringLiteral("Mwires = -788,75")));
    h.click("Command4");
    QVERIFY(h.label("Label5")->toolTip().isEmpty());
}

void TestCalculations::englishLocaleWritesAPoint()
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    FormHarness h;
    type(h, example());
    for (const char *name : { "txtSum3", "txtSum4", "txtSum5", "Text5" })
        h.field(name)->setText(h.field(name)->text().replace(QLatin1Char(','), QLatin1Char('.')));
    h.click("Command3");
    QCOMPARE(h.label("Label5")->text(), QStringLiteral("1856.95"));
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
}

void TestCalculations::transitionSupport_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("result");
    QTest::newRow("ice, to track") << "Command5"
                                   << "Label10"
                                   << "581,184";
    QTest::newRow("ice, to support") << "Command6"
                                     << "Label18"
                                     << "-2206,484";
    QTest::newRow("ice, to track, heel") << "Command7"
                                         << "Label26"
                                         << "838,2537";
    QTest::newRow("ice, to support, heel") << "Command8"
                                           << "Label27"
                                           << "320,8213";
    QTest::newRow("max, to track") << "Command9"
                                   << "Label28"
                                   << "903";
    QTest::newRow("max, to support") << "Command10"
                                     << "Label29"
                                     << "-2738,3";
    QTest::newRow("max, to track, heel") << "Command11"
                                         << "Label30"
                                         << "762,0825";
    QTest::newRow("max, to support, heel") << "Command12"
                                           << "Label31"
                                           << "186,9925";
}

void TestCalculations::transitionSupport()
{
    QFETCH(QString, button);
    QFETCH(QString, label);
    QFETCH(QString, result);
    FormHarness h;
    h.select("Option21");
    type(h, example());
    type(h, { { "Text1", "1500" }, { "txtLp", "40" } });
    h.click(qPrintable(button));
    QCOMPARE(h.form->findChild<QLabel *>(label)->text(), result);
    QVERIFY(h.messages.empty());
    QVERIFY(h.form->findChild<QLabel *>(label)->toolTip().contains(QStringLiteral("support body")));
}

void TestCalculations::transitionWithoutLp_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("message");
    const QString lp = QString::fromUtf8("L\u0440=?");
    QTest::newRow("Command5") << "Command5"
                              << "Label10" << lp;
    QTest::newRow("Command8") << "Command8"
                              << "Label27" << lp;
    QTest::newRow("Command9") << "Command9"
                              << "Label28" << lp;
    QTest::newRow("Command10") << "Command10"
                               << "Label29" << QString::fromUtf8("Нет длины пролета");
    QTest::newRow("Command12") << "Command12"
                               << "Label31" << QString::fromUtf8("Нет длины пролета");
}

void TestCalculations::transitionWithoutLp()
{
    QFETCH(QString, button);
    QFETCH(QString, label);
    QFETCH(QString, message);
    FormHarness h;
    h.select("Option21");
    h.click(qPrintable(button)); // every field at its start text, Lp "0"
    QCOMPARE(h.messages.size(), std::size_t(1));
    QCOMPARE(h.messages[0].title, QStringLiteral("Kelsa"));
    QCOMPARE(h.messages[0].text, message);
    QCOMPARE(h.form->findChild<QLabel *>(label)->text(), QStringLiteral("0"));
    QVERIFY(message.startsWith(QLatin1Char('L')) || message.startsWith(QStringLiteral("Нет")));
}

void TestCalculations::transitionIgnoresSectionRadiusStaggerAndTpr()
{
    FormHarness h;
    h.select("Option21");
    type(h, example());
    type(h, { { "Text1", "1500" }, { "txtLp", "40" } });
    h.click("Command7");
    const QString before = h.label("Label26")->text();
    h.select("Option20");
    type(h, { { "Text4", "0" }, { "Text5", "5" }, { "Text3", "9999" }, { "txtD4", "100" } });
    h.click("Command7");
    QCOMPARE(h.label("Label26")->text(), before);
    QCOMPARE(before, QStringLiteral("838,2537"));
}

void TestCalculations::transitionReportsEmptyAndBadFields()
{
    FormHarness h;
    h.select("Option21");
    type(h, example());
    type(h, { { "Text1", "1500" }, { "txtLp", "40" } });
    h.label("Label28")->setText(QStringLiteral("keep"));
    h.click("Text3"); // empties Tpr, which the formula does not use but still reads
    h.field("txtSum5")->setText(QStringLiteral("0.3"));
    h.click("Command9");
    QCOMPARE(h.messages.size(), std::size_t(1));
    QCOMPARE(h.messages[0].text,
        QString::fromUtf8("Поле \"Pпрв в\": \"0.3\" не является числом\n"
                          "Поле \"Тпр кгс\" не заполнено"));
    QCOMPARE(h.label("Label28")->text(), QStringLiteral("keep"));
}

void TestCalculations::transitionOverflowWritesNothing()
{
    FormHarness h;
    h.select("Option21");
    type(h, example());
    type(h, { { "Text1", "1500" }, { "txtLp", "1e-320" }, { "txtVm", "1e200" } });
    h.label("Label29")->setText(QStringLiteral("keep"));
    h.click("Command10");
    QCOMPARE(h.messages.size(), std::size_t(1));
    QVERIFY(h.messages[0].text.contains(QStringLiteral("переполнение")));
    QCOMPARE(h.label("Label29")->text(), QStringLiteral("keep"));
}

QTEST_MAIN(TestCalculations)
#include "test_calculations.moc"
