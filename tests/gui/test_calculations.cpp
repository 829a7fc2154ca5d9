// SPDX-License-Identifier: GPL-3.0-or-later
// The calculation buttons of the main window, pressed with typed fields: the labels and the
// messages the user sees.
#include "support/formharness.h"

#include "core/calc/breakdown.h"
#include "core/numbers/numbertext.h"
#include "gui/scheme/schemewindow.h"

#include <QAction>

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

    void everyButtonWritesItsMoment();
    void straightWithoutSpanAsksForIt_data();
    void straightWithoutSpanAsksForIt();
    void textThatIsNotANumberIsReported_data();
    void textThatIsNotANumberIsReported();
    void emptyFieldCountsAsZero();
    void zeroRadiusGivesNoFiniteResult();
    void breakdownTooltipFollowsTheResult();
    void schemeOpensFromTheResult();
    void englishLocaleWritesAPoint();

    void transitionWithoutLp_data();
    void transitionWithoutLp();
    void transitionReportsEmptyAndBadFields();
    void transitionOverflowEmptiesTheLabel();
    void tooltipNamesChangedInputsAndEmptyFields();
    void designOptionsMarkTheIceMomentStale_data();
    void designOptionsMarkTheIceMomentStale();

private:
    std::unique_ptr<ModalWatchdog> m_watchdog;
};

// Each button computes its own moment from the window's calculation and writes it, with its
// breakdown, into its own label; the numbers themselves are the engine's (test_calculation).
void TestCalculations::everyButtonWritesItsMoment()
{
    FormHarness h;
    type(h, example());
    type(h,
        { { "Text1", "1500" }, { "Text3", "800" }, { "Text4", "1000" }, { "txtLp", "40" },
            { "txtD1", "100" }, { "txtD4", "2" } });
    h.select("Option19");
    h.select("Option21"); // the additional loads are read while their frame is hidden, too
    for (const kelsa::MomentInfo &info : kelsa::moments()) {
        h.click(info.button);
        const kelsa::MomentOutcome expected
            = kelsa::computeMoment(h.form->calculation(), info.moment);
        QCOMPARE(h.label(info.label)->text(), kelsa::writeNumber(expected.result.moment));
        QVERIFY(
            h.label(info.label)
                ->toolTip()
                .startsWith(kelsa::momentHeading(info.moment, kelsa::TrackSection::OuterCurve)));
    }
    QCOMPARE(h.label("Label5")->text(), QStringLiteral("4043,95"));
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
    QTest::newRow("a pasted page is echoed to 40 characters")
        << "txtSum3" << QString(1 << 20, QLatin1Char('7')) + QLatin1Char('x')
        << QStringLiteral("Поле \"Рнв в\": \"%1…\" не является числом")
               .arg(QString(40, QLatin1Char('7')));
}

// A typo must not become a silent 0 in a moment that then looks right, and the moment computed
// before it must not stay beside it: the label is empty by the time the message shows.
void TestCalculations::textThatIsNotANumberIsReported()
{
    QFETCH(QString, field);
    QFETCH(QString, text);
    QFETCH(QString, message);
    FormHarness h;
    type(h, example());
    h.click("Command3");
    QCOMPARE(h.label("Label5")->text(), QStringLiteral("1856,95"));
    QString labelAtMessage = QStringLiteral("unset");
    h.onMessage
        = [&] { labelAtMessage = h.label("Label5")->text() + h.label("Label5")->toolTip(); };
    h.form->findChild<QLineEdit *>(field)->setText(text);
    h.click("Command3");
    QCOMPARE(h.messages.size(), std::size_t(1));
    QCOMPARE(h.messages[0].title, QStringLiteral("Kelsa"));
    QCOMPARE(h.messages[0].text, message);
    QCOMPARE(labelAtMessage, QString());
    QCOMPARE(h.label("Label5")->text(), QString());
    QCOMPARE(h.label("Label5")->toolTip(), QString());
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
    for (const char *term : { "\nМверт = 233,30 кгс·м — от вертикальных нагрузок\n",
             "\nМпр = 788,75 кгс·м — от ветра на провода\n",
             "\nМоп = 666,90 кгс·м — от ветра на опору\n",
             "\nМзиг = 168,00 кгс·м — от излома контактного провода (зигзаг)\n",
             "\nМдоп = 0,00 кгс·м — от дополнительных нагрузок\n",
             "\nМ = Мверт + Мпр + Моп + Мзиг + Мдоп = 1856,95 кгс·м = 18,21 кН·м\n" })
        QVERIFY2(tip.contains(QString::fromUtf8(term)), qPrintable(tip));
    h.select("Option20");
    h.field("Text4")->setText(QStringLiteral("1000"));
    h.click("Command3");
    QVERIFY(h.label("Label5")->toolTip().contains(
        QStringLiteral("\nМ = Мверт − Мпр − Моп − Мкр − Мдоп − Мдоп.кр = ")));
    h.click("Command4");
    QVERIFY(h.label("Label5")->toolTip().isEmpty());
}

// A moment's drawing opens from its label, by a double click or the label's context menu, and
// only while the label holds the moment.
void TestCalculations::schemeOpensFromTheResult()
{
    FormHarness h;
    type(h, example());
    QAction *menu = h.label("Label5")->findChild<QAction *>(QStringLiteral("schemeLabel5"));
    QVERIFY(menu);
    QVERIFY(!menu->isEnabled());
    h.click("Command3");
    QVERIFY(menu->isEnabled());
    QTest::mouseDClick(h.label("Label5"), Qt::LeftButton);
    menu->trigger();
    const auto windows = h.form->findChildren<kelsa::SchemeWindow *>();
    QCOMPARE(windows.size(), 2);
    for (const kelsa::SchemeWindow *window : windows)
        QCOMPARE(window->scheme().heading, QStringLiteral("Мо в max, прямая"));
    h.click("Command4");
    QVERIFY(!menu->isEnabled());
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

void TestCalculations::transitionReportsEmptyAndBadFields()
{
    FormHarness h;
    h.select("Option21");
    type(h, example());
    type(h, { { "Text1", "1500" }, { "txtLp", "40" } });
    h.click("Command9");
    QCOMPARE(h.label("Label28")->text(), QStringLiteral("903"));
    h.click("Text3"); // empties Tpr, which the formula does not use but still reads
    h.field("txtSum5")->setText(QStringLiteral("0.3"));
    h.click("Command9");
    QCOMPARE(h.messages.size(), std::size_t(1));
    QCOMPARE(h.messages[0].text,
        QString::fromUtf8("Поле \"Pпрв в\": \"0.3\" не является числом\n"
                          "Поле \"Тпр кгс\" не заполнено"));
    QCOMPARE(h.label("Label28")->text(), QString());
}

void TestCalculations::transitionOverflowEmptiesTheLabel()
{
    FormHarness h;
    h.select("Option21");
    type(h, example());
    type(h, { { "Text1", "1500" }, { "txtLp", "40" } });
    h.click("Command10");
    QCOMPARE(h.label("Label29")->text(), QStringLiteral("-2738,3"));
    type(h, { { "txtLp", "1e-320" }, { "txtVm", "1e200" } });
    h.click("Command10");
    QCOMPARE(h.messages.size(), std::size_t(1));
    QVERIFY(h.messages[0].text.contains(QStringLiteral("переполнение")));
    QCOMPARE(h.label("Label29")->text(), QString());
    QCOMPARE(h.label("Label29")->toolTip(), QString());
}

// The tooltip says which inputs changed after the moment was computed, and which empty fields
// it read as 0; the number itself stays until the button is pressed again.
void TestCalculations::tooltipNamesChangedInputsAndEmptyFields()
{
    FormHarness h;
    type(h, example());
    h.field("txtSum3")->clear();
    h.click("Command3");
    const QString computed = h.label("Label5")->toolTip();
    QVERIFY(computed.contains(QStringLiteral("\nпустые поля считаны как 0: Рнв в\n")));
    h.field("Prolet")->setText(QStringLiteral("60"));
    h.select("Option19");
    h.select("Option2"); // the ice wall chooses no load of maximum wind
    QCOMPARE(h.label("Label5")->text(), QStringLiteral("1631,95"));
    QCOMPARE(h.label("Label5")->toolTip(),
        QStringLiteral("Исходные данные изменены после расчета: Длина прол., Участок пути\n")
            + computed);
    h.field("Prolet")->setText(QStringLiteral("50"));
    h.select("Option18");
    QCOMPARE(h.label("Label5")->toolTip(), computed);
    h.click("Command4");
    h.field("Prolet")->setText(QStringLiteral("70"));
    QCOMPARE(h.label("Label5")->toolTip(), QString());
}

void TestCalculations::designOptionsMarkTheIceMomentStale_data()
{
    QTest::addColumn<QString>("option");
    QTest::addColumn<QString>("changed"); // what Label1's tooltip names; empty: nothing
    QTest::newRow("ice wall") << "Option4"
                              << "Толщина ст. гололеда мм";
    QTest::newRow("wind for Pнв and Pпрв") << "Option6"
                                           << "Vр.ветра м/с для Pнв и Pпрв";
    QTest::newRow("wind for Pкв, 12,5 m/s") << "Option13"
                                            << "Vр.ветра м/с для Pкв";
    QTest::newRow("wind for Pкв, 20 m/s") << "Option16"
                                          << "Vр.ветра м/с для Pкв";
    QTest::newRow("track section") << "Option20"
                                   << "Участок пути";
    QTest::newRow("maximum wind") << "Option9"
                                  << "";
    QTest::newRow("transition support") << "Option21"
                                        << "";
    QTest::newRow("calculator") << "Option23"
                                << "";
}

// The moment in ice with wind belongs to its design options: once one of them is changed, its
// tooltip says so by the option group's caption, each wind group by its own.
void TestCalculations::designOptionsMarkTheIceMomentStale()
{
    QFETCH(QString, option);
    QFETCH(QString, changed);
    FormHarness h;
    type(h, example());
    h.click("Command1");
    const QString computed = h.label("Label1")->toolTip();
    QVERIFY(!computed.isEmpty());
    h.select(qPrintable(option));
    QCOMPARE(h.label("Label1")->toolTip(),
        changed.isEmpty() ? computed
                          : QStringLiteral("Исходные данные изменены после расчета: ") + changed
                + u'\n' + computed);
}

QTEST_MAIN(TestCalculations)
#include "test_calculations.moc"
