// SPDX-License-Identifier: GPL-3.0-or-later
// The buttons that open the About window, the built-in calculator and the system calculator.
#include "support/formharness.h"

#include "gui/mainwindow/launches.h"

#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>

using kelsa::test::FormHarness;
using kelsa::test::ModalWatchdog;

namespace
{

QList<QWidget *> windowsNamed(const char *name)
{
    QList<QWidget *> found;
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w->objectName() == QLatin1String(name) && w->isVisible())
            found << w;
    return found;
}

} // namespace

class TestLaunches : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_watchdog = std::make_unique<ModalWatchdog>(); }
    void cleanup() { QCOMPARE(m_watchdog->unexpected(), 0); }

    void oneCopyOfEachWindow_data();
    void oneCopyOfEachWindow();
    void aboutWindowUsesTheMainWindowsOpener();
    void systemCalculatorStartsTheFirstThatRuns();
    void noSystemCalculatorKeepsTheProgramAndTheInput();

private:
    std::unique_ptr<ModalWatchdog> m_watchdog;
};

void TestLaunches::oneCopyOfEachWindow_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("window");
    QTest::newRow("About") << "Command15"
                           << "Form2";
    QTest::newRow("built-in calculator") << "Command18"
                                         << "Form3";
}

void TestLaunches::oneCopyOfEachWindow()
{
    QFETCH(QString, button);
    QFETCH(QString, window);
    FormHarness h;
    h.form->show();
    h.click(qPrintable(button));
    h.click(qPrintable(button));
    auto open = windowsNamed(qPrintable(window));
    QCOMPARE(open.size(), 1);
    QPointer<QWidget> first = open.first();
    QVERIFY(h.form->isVisible()); // modeless: the main window stays usable
    QVERIFY(!first->isModal());

    first->close();
    QTRY_VERIFY(first.isNull()); // closed windows are released
    h.click(qPrintable(button));
    open = windowsNamed(qPrintable(window));
    QCOMPARE(open.size(), 1);
}

void TestLaunches::aboutWindowUsesTheMainWindowsOpener()
{
    QList<QUrl> urls;
    kelsa::Form1Services services;
    services.openUrl = [&urls](const QUrl &url) {
        urls << url;
        return true;
    };
    FormHarness h(services);
    h.click("Command15");
    QWidget *about = windowsNamed("Form2").value(0);
    QVERIFY(about);
    QTest::mouseClick(about->findChild<QLabel *>("Label3"), Qt::LeftButton);
    QCOMPARE(urls.size(), 1);
    QVERIFY(urls[0].toString().startsWith(QLatin1String("mailto:")));
    QTest::mouseClick(about->findChild<QPushButton *>("Command1"), Qt::LeftButton);
    QCOMPARE(urls.size(), 2); // help.htm beside the program
    QVERIFY(urls[1].toLocalFile().endsWith(QLatin1String("help.htm")));
    about->close();
}

void TestLaunches::systemCalculatorStartsTheFirstThatRuns()
{
    QStringList tried;
    kelsa::Form1Services services;
    services.startProcess = [&tried](const QString &program, const QStringList &arguments) {
        tried << program;
        return arguments.isEmpty() && tried.size() == 2; // the second candidate is installed
    };
    FormHarness h(services);
    h.select("Option23");
    h.click("Command17");
    QCOMPARE(tried, kelsa::systemCalculators().mid(0, 2));
    QVERIFY(h.messages.empty());
}

// Ending the program here, as a missing calculator once did, would lose everything typed.
void TestLaunches::noSystemCalculatorKeepsTheProgramAndTheInput()
{
    QStringList tried;
    kelsa::Form1Services services;
    services.startProcess = [&tried](const QString &program, const QStringList &) {
        tried << program;
        return false;
    };
    FormHarness h(services);
    h.form->show();
    h.select("Option23");
    h.field("Prolet")->setText(QStringLiteral("65"));
    QSignalSpy quit(qApp, &QCoreApplication::aboutToQuit);
    h.click("Command17");
    QCOMPARE(tried, kelsa::systemCalculators());
    QCOMPARE(h.messages.size(), std::size_t(1));
    QCOMPARE(h.messages[0].title, QStringLiteral("Kelsa"));
    QVERIFY(h.messages[0].text.startsWith(
        QStringLiteral("Не нахожу калькулятор C:\\Windows\\calc.exe")));
    QVERIFY(h.messages[0].text.contains(QStringLiteral("gnome-calculator")));
    QCoreApplication::processEvents();
    QVERIFY(h.form->isVisible());
    QCOMPARE(h.field("Prolet")->text(), QStringLiteral("65"));
    QCOMPARE(quit.count(), 0);
}

QTEST_MAIN(TestLaunches)
#include "test_launches.moc"
