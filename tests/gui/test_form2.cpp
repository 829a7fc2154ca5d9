// SPDX-License-Identifier: GPL-3.0-or-later
// The About window: its texts, its links and the help page, opened through a recording opener.
#include "gui/about/form2.h"

#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

class TestForm2 : public QObject
{
    Q_OBJECT

private slots:
    void textsAndCaptions();
    void webAddressIsShownWithBackslashes_data();
    void webAddressIsShownWithBackslashes();
    void linksOpenWhatTheyShow();
    void helpOpensThePageBesideTheProgram();
    void missingHelpPageDoesNothing();
    void okClosesTheWindow();

private:
    static kelsa::Form2Services recording(QList<QUrl> &urls, const QString &folder)
    {
        kelsa::Form2Services services;
        services.files = kelsa::FileLocator({ folder });
        services.openUrl = [&urls](const QUrl &url) {
            urls << url;
            return true;
        };
        return services;
    }
};

void TestForm2::textsAndCaptions()
{
    QTemporaryDir dir;
    QList<QUrl> urls;
    Form2 form(recording(urls, dir.path()));
    QCOMPARE(form.objectName(), QStringLiteral("Form2"));
    QCOMPARE(form.windowTitle(), QStringLiteral("Form2"));
    QCOMPARE(form.findChild<QLabel *>("Label1")->text(), QStringLiteral("автор: команда Kelsa"));
    QCOMPARE(form.findChild<QPushButton *>("Command2")->text(), QStringLiteral("OK"));
    QCOMPARE(form.findChild<QPushButton *>("Command1")->text(), QStringLiteral("Помощь"));
    QVERIFY(!form.findChild<QLabel *>("Picture1")->pixmap().isNull());
    QCOMPARE(form.findChild<QLabel *>("Label3")->text(), kelsa::contactAddress());
    // The two links point with the program's hand, nothing else does.
    QCOMPARE(form.findChild<QLabel *>("Label2")->cursor().shape(), Qt::BitmapCursor);
    QCOMPARE(form.findChild<QLabel *>("Label3")->cursor().shape(), Qt::BitmapCursor);
    QVERIFY(form.findChild<QLabel *>("Label1")->cursor().shape() != Qt::BitmapCursor);
    // Whole addresses are readable, whatever was set at build time.
    for (const char *name : { "Label2", "Label3" }) {
        auto *label = form.findChild<QLabel *>(name);
        QVERIFY(label->fontMetrics().horizontalAdvance(label->text()) <= label->width());
    }
    QCOMPARE(form.windowType(), Qt::Window); // a tool window would not keep the program alive
    QCOMPARE(form.toolTip(), QStringLiteral("Kelsa, версия ") + kelsa::programVersion());
}

void TestForm2::webAddressIsShownWithBackslashes_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("shown");
    QTest::newRow("https") << "https://kelsa.example/"
                           << "https:\\\\kelsa.example/";
    QTest::newRow("http with path") << "http://a.example/b/c"
                                    << "http:\\\\a.example/b/c";
    QTest::newRow("no scheme") << "kelsa.example"
                               << "kelsa.example";
}

void TestForm2::webAddressIsShownWithBackslashes()
{
    QFETCH(QString, address);
    QFETCH(QString, shown);
    QCOMPARE(kelsa::shownWebAddress(address), shown);
}

void TestForm2::linksOpenWhatTheyShow()
{
    QTemporaryDir dir;
    QList<QUrl> urls;
    Form2 form(recording(urls, dir.path()));
    QTest::mouseClick(form.findChild<QLabel *>("Label2"), Qt::LeftButton);
    QTest::mouseClick(form.findChild<QLabel *>("Label3"), Qt::LeftButton);
    QCOMPARE(urls.size(), 2);
    QCOMPARE(urls[0], QUrl(kelsa::homepageAddress()));
    QVERIFY(!urls[0].toString().contains(QLatin1Char('\\')));
    QCOMPARE(urls[1].toString(),
        QStringLiteral("mailto:") + kelsa::contactAddress() + QStringLiteral("?Subject="));
}

void TestForm2::helpOpensThePageBesideTheProgram()
{
    QTemporaryDir dir;
    QFile page(dir.filePath(QStringLiteral("help.htm")));
    QVERIFY(page.open(QIODevice::WriteOnly));
    page.write("<html></html>");
    page.close();
    QList<QUrl> urls;
    Form2 form(recording(urls, dir.path()));
    QTest::mouseClick(form.findChild<QPushButton *>("Command1"), Qt::LeftButton);
    QCOMPARE(urls.size(), 1);
    QCOMPARE(urls[0], QUrl::fromLocalFile(QFileInfo(page).absoluteFilePath()));
}

void TestForm2::missingHelpPageDoesNothing()
{
    QTemporaryDir dir;
    QList<QUrl> urls;
    Form2 form(recording(urls, dir.path()));
    form.show();
    QTest::mouseClick(form.findChild<QPushButton *>("Command1"), Qt::LeftButton);
    QVERIFY(urls.isEmpty());
    QVERIFY(form.isVisible());
}

void TestForm2::okClosesTheWindow()
{
    QTemporaryDir dir;
    QList<QUrl> urls;
    Form2 form(recording(urls, dir.path()));
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QTest::mouseClick(form.findChild<QPushButton *>("Command2"), Qt::LeftButton);
    QVERIFY(!form.isVisible());
}

QTEST_MAIN(TestForm2)
#include "test_form2.moc"
