// SPDX-License-Identifier: GPL-3.0-or-later
// A soak of the main window: random texts in every input field, random option selections and
// record moves, and presses of every calculation and reset button. Nothing may crash or hang,
// every result label must hold a number in the user's locale, nothing, or the text that says
// there is no finite result, and every message must come with the program's title.
//
// The run is repeatable (fixed seed). KELSA_SOAK_STEPS sets its length (default 2500 steps);
// KELSA_SOAK_SEED another seed.
#include "support/formharness.h"

#include "core/calc/breakdown.h"
#include "core/calc/fields.h"
#include "core/numbers/numbertext.h"

#include <QAbstractButton>
#include <QRandomGenerator>
#include <QRegularExpression>

#include <array>

using kelsa::test::FormHarness;
using kelsa::test::ModalWatchdog;

namespace
{

const char *const kResultLabels[] = { "Label1", "Label5", "Label10", "Label18", "Label26",
    "Label27", "Label28", "Label29", "Label30", "Label31" };
const char *const kCalculations[] = { "Command1", "Command3", "Command5", "Command6", "Command7",
    "Command8", "Command9", "Command10", "Command11", "Command12" };
const char *const kResets[] = { "Command2", "Command4", "Command13", "Command14", "Command19" };
const char *const kNavigators[]
    = { "Data1", "Data2", "Data3", "Data4", "Data5", "Data6", "Data7", "Data8", "Data9", "Data10" };
const char *const kMoves[] = { "first", "previous", "next", "last" };

int envNumber(const char *name, int fallback)
{
    bool ok = false;
    const int value = qEnvironmentVariableIntValue(name, &ok);
    return ok && value > 0 ? value : fallback;
}

// The kinds of text a user, a paste or a bad look-up can leave in a field.
QString randomText(QRandomGenerator &random)
{
    const auto number = [&] {
        return QString::number(
            random.bounded(-100000, 100000) / qPow(10.0, random.bounded(0, 6)), 'g', 8);
    };
    switch (random.bounded(14)) {
    case 0:
        return QString();
    case 1:
        return number(); // a point
    case 2:
        return number().replace(QLatin1Char('.'), QLatin1Char(',')); // a comma
    case 3:
        return QStringLiteral("%1e%2").arg(random.bounded(1, 10)).arg(random.bounded(-400, 400));
    case 4:
        return QStringLiteral("1,7976931348623157E+308");
    case 5:
        return QStringLiteral("4,9E-324");
    case 6:
        return QStringLiteral("abc");
    case 7:
        return QString(random.bounded(1, 20000), QLatin1Char('9')); // a very long number
    case 8:
        return QString(random.bounded(1, 5000), QChar(u'ж'));
    case 9: {
        QString junk;
        for (int k = random.bounded(1, 12); k > 0; --k)
            junk += QChar(char16_t(random.bounded(0, 32))); // control characters
        return junk;
    }
    case 10:
        return QStringLiteral("1 000");
    case 11:
        return QStringLiteral("-0");
    case 12:
        return QStringLiteral("0");
    default:
        return QString::number(random.bounded(1, 300));
    }
}

} // namespace

class TestSoak : public QObject
{
    Q_OBJECT

private slots:
    void soak_data();
    void soak();
};

void TestSoak::soak_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::newRow("Russian") << QLocale(QLocale::Russian, QLocale::Russia);
    QTest::newRow("English") << QLocale(QLocale::English, QLocale::UnitedStates);
}

void TestSoak::soak()
{
    QFETCH(QLocale, locale);
    QLocale::setDefault(locale);
    ModalWatchdog watchdog;
    const int steps = envNumber("KELSA_SOAK_STEPS", 2500);
    QRandomGenerator random(quint32(envNumber("KELSA_SOAK_SEED", 20261207)));

    FormHarness h;
    h.form->show();
    QVERIFY(QTest::qWaitForWindowExposed(h.form.get()));
    QStringList options;
    for (int k = 1; k <= 24; ++k)
        options << QStringLiteral("Option%1").arg(k);
    QStringList fields, lookupFields;
    for (const auto &info : kelsa::inputFields())
        (info.lookup ? lookupFields : fields) << QString::fromLatin1(info.name);
    fields += lookupFields;

    const QRegularExpression numberShape(
        QStringLiteral("^-?[0-9]+(%1[0-9]+)?(E[+-][0-9]{2,3})?$")
            .arg(QRegularExpression::escape(locale.decimalPoint())));
    for (int step = 0; step < steps; ++step) {
        switch (random.bounded(6)) {
        case 0:
        case 1:
            h.form->findChild<QLineEdit *>(fields[random.bounded(qsizetype(36))])
                ->setText(randomText(random));
            break;
        case 2: {
            const QString option = options[random.bounded(options.size())];
            if (option != QLatin1String("Option23")) // the system calculator is not soaked
                h.form->findChild<QRadioButton *>(option)->click();
            break;
        }
        case 3: {
            QWidget *bar = h.widget(kNavigators[random.bounded(10)]);
            bar->findChild<QAbstractButton *>(QLatin1String(kMoves[random.bounded(4)]))->click();
            break;
        }
        case 4:
            if (random.bounded(3) == 0)
                h.click(qPrintable(lookupFields[random.bounded(lookupFields.size())]));
            else
                h.click(kResets[random.bounded(5)]);
            break;
        default: {
            auto *button = h.find<QAbstractButton>(kCalculations[random.bounded(10)]);
            if (button->isVisibleTo(h.form.get()))
                button->click();
            break;
        }
        }
        for (const char *name : kResultLabels) {
            const QString text = h.label(name)->text();
            if (text.isEmpty() || text == kelsa::noFiniteResultText())
                continue;
            // Written as a number of this locale; one that reads back gives the same text.
            // (A moment within 15 digits of the largest double is written rounded up and
            // does not read back: that text is still the right number.)
            const auto value = kelsa::readNumber(text);
            QVERIFY2(numberShape.match(text).hasMatch()
                    && (!value || kelsa::writeNumber(*value) == text),
                qPrintable(QStringLiteral("step %1: %2 shows \"%3\"").arg(step).arg(name, text)));
        }
    }
    for (const auto &message : h.messages)
        QCOMPARE(message.title, QStringLiteral("Kelsa"));
    QCOMPARE(watchdog.unexpected(), 0);
    qInfo("%d steps, %zu messages", steps, h.messages.size());
}

QTEST_MAIN(TestSoak)
#include "test_soak.moc"
