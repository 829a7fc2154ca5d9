// SPDX-License-Identifier: GPL-3.0-or-later
// The help page: «Справка → Помощь» (F1) shows it in Kelsa's own window, whose links within the
// page move there and whose search field finds text; and the page names every menu command.
#include "support/formharness.h"

#include "gui/help/helpwindow.h"

#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QScrollBar>
#include <QTextBrowser>
#include <QTextDocument>

using kelsa::test::FormHarness;
using kelsa::test::ModalWatchdog;

namespace
{

const QString kPage = QStringLiteral(KELSA_SAMPLE_DATA "/help.htm");

// Types Cyrillic text, which QTest::keyClicks cannot.
void type(QWidget *widget, const QString &text)
{
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

QList<QWidget *> helpWindows()
{
    QList<QWidget *> found;
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w->objectName() == QLatin1String("HelpWindow") && w->isVisible())
            found << w;
    return found;
}

} // namespace

class TestHelpWindow : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_watchdog = std::make_unique<ModalWatchdog>(); }
    void cleanup() { QCOMPARE(m_watchdog->unexpected(), 0); }

    void f1OpensOneHelpWindow();
    void linksWithinThePageAndOut();
    void searchFindsAndGoesRound();
    void everyMenuCommandIsInThePage();

private:
    std::unique_ptr<ModalWatchdog> m_watchdog;
};

void TestHelpWindow::f1OpensOneHelpWindow()
{
    QList<QUrl> opened;
    kelsa::Form1Services services;
    services.openUrl = [&opened](const QUrl &url) {
        opened << url;
        return true;
    };
    FormHarness h(services);
    h.form->show();
    QApplication::setActiveWindow(h.form.get());
    QVERIFY(QTest::qWaitForWindowActive(h.form.get()));
    QTest::keyClick(h.form.get(), Qt::Key_F1);
    QCOMPARE(helpWindows().size(), 1);
    auto *browser = helpWindows().first()->findChild<QTextBrowser *>(QStringLiteral("helpBrowser"));
    QVERIFY(browser);
    QVERIFY(browser->source().toLocalFile().endsWith(QLatin1String("/help.htm")));
    QVERIFY(browser->toPlainText().contains(QStringLiteral("Kelsa — справка")));
    h.form->menu().helpPage->trigger(); // shown again, not a second copy
    QCOMPARE(helpWindows().size(), 1);
    QVERIFY(opened.isEmpty()); // not handed to the desktop
    QVERIFY(h.messages.empty());
}

void TestHelpWindow::linksWithinThePageAndOut()
{
    QList<QUrl> opened;
    kelsa::HelpWindow window(kPage, [&opened](const QUrl &url) {
        opened << url;
        return true;
    });
    window.show();
    auto *browser = window.findChild<QTextBrowser *>(QStringLiteral("helpBrowser"));
    QCOMPARE(browser->verticalScrollBar()->value(), 0);
    emit browser->anchorClicked(QUrl(QStringLiteral("#commandline")));
    QCOMPARE(browser->source().fragment(), QStringLiteral("commandline"));
    QVERIFY(browser->verticalScrollBar()->value() > 0);
    QVERIFY(opened.isEmpty());
    const QUrl web(QStringLiteral("https://kelsa.example.org/"));
    emit browser->anchorClicked(web);
    QCOMPARE(opened, QList<QUrl> { web });
    QCOMPARE(browser->source().fragment(), QStringLiteral("commandline"));
}

void TestHelpWindow::searchFindsAndGoesRound()
{
    kelsa::HelpWindow window(kPage, [](const QUrl &) { return true; });
    window.show();
    auto *browser = window.findChild<QTextBrowser *>(QStringLiteral("helpBrowser"));
    auto *search = window.findChild<QLineEdit *>(QStringLiteral("helpSearch"));
    auto *notFound = window.findChild<QLabel *>(QStringLiteral("helpNotFound"));
    type(search, QStringLiteral("ПЕРЕХОДН"));
    QCOMPARE(browser->textCursor().selectedText().toLower(), QStringLiteral("переходн"));
    const int first = browser->textCursor().selectionStart();
    QTest::keyClick(search, Qt::Key_Return);
    QVERIFY(browser->textCursor().selectionStart() > first);
    QTest::keyClick(search, Qt::Key_Return, Qt::ShiftModifier);
    QCOMPARE(browser->textCursor().selectionStart(), first);
    QTest::keyClick(search, Qt::Key_Return, Qt::ShiftModifier); // round to the last one
    QVERIFY(browser->textCursor().selectionStart() > first);
    QVERIFY(!notFound->isVisibleTo(&window));
    type(search, QStringLiteral("щщщ"));
    QVERIFY(notFound->isVisibleTo(&window));
}

// Menu commands are named in the page as the menus write them, without the keyboard's marks.
void TestHelpWindow::everyMenuCommandIsInThePage()
{
    QFile file(kPage);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QTextDocument page;
    page.setHtml(QString::fromUtf8(file.readAll()));
    const QString text = page.toPlainText();
    FormHarness h;
    for (QAction *menuAction : h.form->menu().bar->actions()) {
        const QString menu = menuAction->text().remove(QLatin1Char('&'));
        QVERIFY2(text.contains(menu), qPrintable(menu));
        for (QAction *command : menuAction->menu()->actions()) {
            if (command->isSeparator())
                continue;
            const QString name = command->text().remove(QLatin1Char('&')).remove(QChar(0x2026));
            QVERIFY2(text.contains(menu + QStringLiteral(" → ") + name), qPrintable(name));
        }
    }
}

QTEST_MAIN(TestHelpWindow)
#include "test_helpwindow.moc"
