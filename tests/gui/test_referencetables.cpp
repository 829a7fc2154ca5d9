// SPDX-License-Identifier: GPL-3.0-or-later
// The reference tables in the main window: first records, navigation, the option groups that
// choose the shown cell, the look-ups that copy it, and unreadable workbooks.
#include "support/formharness.h"

#include "core/tables/tablecatalogue.h"
#include "core/tables/workbookreader.h"

#include <QAbstractButton>
#include <QDir>
#include <QTemporaryDir>

using kelsa::test::FormHarness;
using kelsa::test::ModalWatchdog;

namespace
{

// The records of a shipped workbook, read the way the window reads them.
QList<QStringList> records(const char *fileName, int columns)
{
    const QString path = QDir(kelsa::installedDataFolder()).filePath(QString::fromUtf8(fileName));
    const auto result = kelsa::readSheet(path, QStringLiteral("Лист1"), columns);
    if (result.status != kelsa::SheetReadResult::Status::Ok || result.records.size() < 2)
        qFatal("sample workbook %s is not usable", fileName);
    return result.records;
}

void press(FormHarness &h, const char *navigator, const char *button)
{
    QTest::mouseClick(
        h.widget(navigator)->findChild<QAbstractButton *>(QLatin1String(button)), Qt::LeftButton);
}

} // namespace

class TestReferenceTables : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia)); }
    void init() { m_watchdog = std::make_unique<ModalWatchdog>(); }
    void cleanup() { QCOMPARE(m_watchdog->unexpected(), 0); }

    void firstRecordsAreShown();
    void navigatorsMoveOneTableOnly();
    void navigationStopsAtBothEnds();
    void startUpShowsOneCellPerTable();
    void optionsShowTheirCells_data();
    void optionsShowTheirCells();
    void lookUpsCopyTheShownCell_data();
    void lookUpsCopyTheShownCell();
    void lookUpIsASnapshot();
    void lookUpCopiesAnEditedCell();
    void keyboardFocusDoesNotLookUp();
    void editsStayInTheWindow();
    void missingWorkbookIsReportedOnceAfterShow();
    void noWorkbooksAtAll();
    void tableWithoutRecordsIsEmptyNotAnError();

private:
    std::unique_ptr<ModalWatchdog> m_watchdog;
};

void TestReferenceTables::firstRecordsAreShown()
{
    FormHarness h;
    for (const auto &table : kelsa::referenceTables()) {
        const auto rows = records(table.fileName, table.requiredColumns());
        QCOMPARE(h.label(table.rowLabel)->text(), rows[0][0]);
        QVERIFY2(!rows[0][0].isEmpty(), table.fileName);
        for (int k = 0; k < table.cellCount; ++k)
            QCOMPARE(h.form->findChild<QLineEdit *>(table.cellName(k))->text(),
                rows[0][table.cellColumn(k) - 1]);
    }
    QVERIFY(h.messages.empty());
}

void TestReferenceTables::navigatorsMoveOneTableOnly()
{
    FormHarness h;
    const auto pkv = records("т13.xls", 26);
    const QString gpBefore = h.field("Gp5")->text();
    h.field("txtPkv")->setText(QStringLiteral("7"));
    press(h, "Data4", "next");
    QCOMPARE(h.label("Label6")->text(), pkv[1][0]);
    QCOMPARE(h.field("Pkv6")->text(), pkv[1][6]);
    QCOMPARE(h.field("Pkv25")->text(), pkv[1][25]);
    QCOMPARE(h.field("Gp5")->text(), gpBefore);
    QCOMPARE(h.field("txtPkv")->text(), QStringLiteral("7"));
    press(h, "Data4", "last");
    QCOMPARE(h.label("Label6")->text(), pkv.last()[0]);
    press(h, "Data4", "first");
    QCOMPARE(h.label("Label6")->text(), pkv[0][0]);
}

void TestReferenceTables::navigationStopsAtBothEnds()
{
    FormHarness h;
    const auto gp = records("т11.2.xls", 5);
    press(h, "Data2", "previous");
    QCOMPARE(h.label("Label3")->text(), gp[0][0]);
    press(h, "Data2", "last");
    press(h, "Data2", "next");
    QCOMPARE(h.label("Label3")->text(), gp.last()[0]);
    QCOMPARE(h.field("Gp20")->text(), gp.last()[4]);
    press(h, "Data2", "previous");
    QCOMPARE(h.label("Label3")->text(), gp[gp.size() - 2][0]);
}

void TestReferenceTables::startUpShowsOneCellPerTable()
{
    FormHarness h;
    QStringList shown;
    for (const auto &table : kelsa::referenceTables())
        for (int k = 0; k < table.cellCount; ++k)
            if (h.shown(qPrintable(table.cellName(k))))
                shown << table.cellName(k);
    QCOMPARE(shown,
        QStringList({ "Pnv1", "Gp5", "Gpr5", "Pkv6", "Pprv1", "Text6", "Text8", "txtPro1", "txtPr1",
            "txtPo1" }));
}

void TestReferenceTables::optionsShowTheirCells_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QStringList>("shown"); // cells of the two-way and option tables
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
    QTest::newRow("wind first, then ice: both stay")
        << QStringList { "Option16", "Option7", "Option2" }
        << QStringList { "Pnv6", "Gp10", "Gpr10", "Pkv23", "Pprv6", "Text6", "Text8", "txtPro1",
               "txtPr1", "txtPo1" };
    QTest::newRow("track section changes nothing")
        << QStringList { "Option19", "Option20" }
        << QStringList { "Pnv1", "Gp5", "Gpr5", "Pkv6", "Pprv1", "Text6", "Text8", "txtPro1",
               "txtPr1", "txtPo1" };
}

void TestReferenceTables::optionsShowTheirCells()
{
    QFETCH(QStringList, options);
    QFETCH(QStringList, shown);
    FormHarness h;
    h.field("txtGp")->setText(QStringLiteral("typed"));
    for (const QString &option : options)
        h.select(qPrintable(option));
    QStringList actual;
    for (const auto &table : kelsa::referenceTables())
        for (int k = 0; k < table.cellCount; ++k)
            if (h.shown(qPrintable(table.cellName(k))))
                actual << table.cellName(k);
    QCOMPARE(actual, shown);
    QCOMPARE(h.field("txtGp")->text(), QStringLiteral("typed")); // options write no text
}

void TestReferenceTables::lookUpsCopyTheShownCell_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("cell");
    const QStringList start;
    QTest::newRow("start txtGnv") << start << "txtGnv"
                                  << "Pnv1";
    QTest::newRow("start txtPprv") << start << "txtPprv"
                                   << "Pprv1";
    QTest::newRow("start txtPkv") << start << "txtPkv"
                                  << "Pkv6";
    QTest::newRow("start txtGp") << start << "txtGp"
                                 << "Gp5";
    QTest::newRow("start txtGpr") << start << "txtGpr"
                                  << "Gpr5";
    QTest::newRow("ice 20 wind 15 txtGnv") << QStringList { "Option4", "Option6" } << "txtGnv"
                                           << "Pnv11";
    QTest::newRow("ice 20 wind 15 txtPprv") << QStringList { "Option4", "Option6" } << "txtPprv"
                                            << "Pprv11";
    QTest::newRow("ice 10 Pкв 12,5") << QStringList { "Option2", "Option13" } << "txtPkv"
                                     << "Pkv11";
    QTest::newRow("ice 10 Pкв 20") << QStringList { "Option2", "Option16" } << "txtPkv"
                                   << "Pkv23";
    QTest::newRow("ice 15 txtGp") << QStringList { "Option3" } << "txtGp"
                                  << "Gp15";
    QTest::newRow("txtSum1 whatever is selected")
        << QStringList { "Option4", "Option12" } << "txtSum1"
        << "Text6";
    QTest::newRow("txtSum2 whatever is selected")
        << QStringList { "Option3", "Option9" } << "txtSum2"
        << "Text8";
}

void TestReferenceTables::lookUpsCopyTheShownCell()
{
    QFETCH(QStringList, options);
    QFETCH(QString, field);
    QFETCH(QString, cell);
    FormHarness h;
    for (const QString &option : options)
        h.select(qPrintable(option));
    press(h, "Data1", "next"); // a record other than the first, to tell cells of rows apart
    press(h, "Data4", "next");
    auto *source = h.form->findChild<QLineEdit *>(cell);
    QVERIFY(source->isVisibleTo(h.form.get()));
    QVERIFY(!source->text().isEmpty());
    h.click(qPrintable(field));
    QCOMPARE(h.form->findChild<QLineEdit *>(field)->text(), source->text());
    h.click(qPrintable(field)); // a second click gives the same text
    QCOMPARE(h.form->findChild<QLineEdit *>(field)->text(), source->text());
}

void TestReferenceTables::lookUpIsASnapshot()
{
    FormHarness h;
    const auto gp = records("т11.2.xls", 5);
    h.click("txtGp");
    QCOMPARE(h.field("txtGp")->text(), gp[0][1]);
    press(h, "Data2", "next");
    h.select("Option2");
    QCOMPARE(h.field("txtGp")->text(), gp[0][1]);
    h.click("txtGp");
    QCOMPARE(h.field("txtGp")->text(), gp[1][2]);
    // After a reset the next click fills the field again.
    h.click("Command2");
    QCOMPARE(h.field("txtGp")->text(), QStringLiteral("0"));
    h.click("txtGp");
    QCOMPARE(h.field("txtGp")->text(), gp[1][2]);
}

void TestReferenceTables::lookUpCopiesAnEditedCell()
{
    FormHarness h;
    h.select("Option2");
    h.field("Gp10")->setText(QStringLiteral("3,75 правка"));
    h.click("txtGp");
    QCOMPARE(h.field("txtGp")->text(), QStringLiteral("3,75 правка"));
}

void TestReferenceTables::keyboardFocusDoesNotLookUp()
{
    FormHarness h;
    h.form->show();
    QVERIFY(QTest::qWaitForWindowActive(h.form.get()));
    h.field("txtGpr")->setText(QStringLiteral("9"));
    // txtGpr follows the cells of "Pпрв" in tab order; of those only Pprv1 is shown at start.
    h.widget("Pprv1")->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), h.widget("txtGpr"));
    QCOMPARE(h.field("txtGpr")->text(), QStringLiteral("9"));
}

void TestReferenceTables::editsStayInTheWindow()
{
    FormHarness h;
    h.form->show();
    QVERIFY(QTest::qWaitForWindowActive(h.form.get()));
    const QString path = QDir(kelsa::installedDataFolder()).filePath(QStringLiteral("т11.2.xls"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray before = file.readAll();
    file.close();

    QLineEdit *cell = h.field("Gp5");
    cell->setFocus();
    cell->selectAll();
    QTest::keyClicks(cell, QStringLiteral("4,2"));
    h.field("Prolet")->setFocus(); // leaving the cell keeps the edit with the record
    press(h, "Data2", "next");
    QVERIFY(cell->text() != QStringLiteral("4,2"));
    press(h, "Data2", "previous");
    QCOMPARE(cell->text(), QStringLiteral("4,2"));

    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), before);
}

void TestReferenceTables::missingWorkbookIsReportedOnceAfterShow()
{
    QTemporaryDir dir;
    for (const auto &table : kelsa::referenceTables()) {
        const QString name = QString::fromUtf8(table.fileName);
        if (name != QStringLiteral("т11.1.xls"))
            QVERIFY(
                QFile::copy(QDir(kelsa::installedDataFolder()).filePath(name), dir.filePath(name)));
    }
    kelsa::Form1Services services;
    services.files = kelsa::FileLocator({ dir.path() });
    FormHarness h(services);
    QVERIFY(h.messages.empty()); // nothing before the window is on screen
    h.form->show();
    QTRY_COMPARE(h.messages.size(), std::size_t(1));
    QCOMPARE(h.messages[0].title, QStringLiteral("Kelsa"));
    QVERIFY(h.messages[0].text.contains(QStringLiteral("т11.1.xls")));
    QVERIFY(!h.messages[0].text.contains(QStringLiteral("т12.1.xls")));
    QCOMPARE(h.label("Label19")->text(), QStringLiteral("нет файла т11.1.xls"));
    QCOMPARE(h.field("Text6")->text(), QString());
    h.field("txtSum1")->setText(QStringLiteral("5"));
    h.click("txtSum1");
    QCOMPARE(h.field("txtSum1")->text(), QString());
    // The other tables work on.
    QVERIFY(!h.field("Text8")->text().isEmpty());
    QTest::qWait(50);
    QCOMPARE(h.messages.size(), std::size_t(1));
}

void TestReferenceTables::noWorkbooksAtAll()
{
    QTemporaryDir dir;
    kelsa::Form1Services services;
    services.files = kelsa::FileLocator({ dir.path() });
    FormHarness h(services);
    h.form->show();
    QTRY_COMPARE(h.messages.size(), std::size_t(1));
    for (const auto &table : kelsa::referenceTables())
        QVERIFY(h.messages[0].text.contains(QString::fromUtf8(table.fileName)));
    press(h, "Data5", "next"); // navigators of failed tables do nothing
    QVERIFY(h.label("Label11")->text().contains(QStringLiteral("т12.5.xls")));
    // Calculations still work from typed values.
    h.field("Prolet")->setText(QStringLiteral("50"));
    h.click("Command3");
    QCOMPARE(h.label("Label5")->text(), QStringLiteral("158,3"));
}

// A workbook holding only its heading row is a table with no records: nothing to show, nothing
// to report.
void TestReferenceTables::tableWithoutRecordsIsEmptyNotAnError()
{
    QTemporaryDir dir;
    for (const auto &table : kelsa::referenceTables()) {
        const QString name = QString::fromUtf8(table.fileName);
        const QString source = name == QStringLiteral("т11.1.xls")
            ? QStringLiteral(KELSA_FIXTURES "/только заголовок.xls")
            : QDir(kelsa::installedDataFolder()).filePath(name);
        QVERIFY(QFile::copy(source, dir.filePath(name)));
    }
    QVERIFY(kelsa::readSheet(dir.filePath(QStringLiteral("т11.1.xls")), QStringLiteral("Лист1"), 2)
                .records.isEmpty());
    kelsa::Form1Services services;
    services.files = kelsa::FileLocator({ dir.path() });
    FormHarness h(services);
    h.form->show();
    QTest::qWait(50);
    QVERIFY(h.messages.empty());
    QCOMPARE(h.label("Label19")->text(), QString());
    QCOMPARE(h.field("Text6")->text(), QString());
    press(h, "Data6", "next");
    h.click("txtSum1");
    QCOMPARE(h.field("txtSum1")->text(), QString());
}

QTEST_MAIN(TestReferenceTables)
#include "test_referencetables.moc"
