// SPDX-License-Identifier: GPL-3.0-or-later
// The reference tables in the main window: first records, navigation, the option groups that
// choose the shown cell, the look-ups that copy it, and unreadable workbooks.
#include "support/formharness.h"

#include "core/tables/tablecatalogue.h"
#include "gui/mainwindow/referencetables.h"
#include "core/tables/workbookreader.h"

#include <QAbstractButton>
#include <QAction>
#include <QMenuBar>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
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

// Copies the sample workbooks into a folder, all but the one named.
bool copySamplesBut(const QTemporaryDir &dir, const QString &left)
{
    for (const auto &table : kelsa::referenceTables()) {
        const QString name = QString::fromUtf8(table.fileName);
        if (name != left
            && !QFile::copy(QDir(kelsa::installedDataFolder()).filePath(name), dir.filePath(name)))
            return false;
    }
    return true;
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
    void optionsShowAndLookUpsCopyTheChosenCell();
    void lookUpIsASnapshot();
    void lookUpCopiesAnEditedCell();
    void keyboardFocusDoesNotLookUp();
    void editsStayInTheWindow();
    void missingWorkbookIsReportedOnceAfterShow();
    void noWorkbooksAtAll();
    void tableWithoutRecordsIsEmptyNotAnError();
    void everyFailureIsWorded();
    void oneFolderForAllTables();
    void menuChoosesAndRereadsTheFolder();
    void rememberedFolderAndCommandLine();
    void missingRememberedFolderIsTold();
    void formulaErrorsAreShownAndListed();

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

// Every option of the design condition shows, in every table, the cell the engine chooses for
// it (test_calculation has the cells themselves) and no other; a look-up copies that cell and
// notes where its text came from.
void TestReferenceTables::optionsShowAndLookUpsCopyTheChosenCell()
{
    FormHarness h;
    press(h, "Data1", "next"); // a record other than the first, to tell rows apart
    press(h, "Data4", "next");
    for (const char *option : { "Option1", "Option3", "Option7", "Option15", "Option4", "Option6",
             "Option12", "Option13", "Option16", "Option2" }) {
        h.select(option);
        const kelsa::OptionSelection options = h.form->calculation().options;
        for (const auto &table : kelsa::referenceTables()) {
            const int chosen = table.shownCell(options);
            for (int k = 0; k < table.cellCount; ++k)
                QCOMPARE(h.shown(qPrintable(table.cellName(k))), k == chosen);
            if (!table.lookup)
                continue;
            const char *field = kelsa::fieldInfo(*table.lookup).name;
            h.click(field);
            QCOMPARE(h.field(field)->text(), h.field(qPrintable(table.cellName(chosen)))->text());
            const auto source = h.form->calculation().source(*table.lookup);
            QVERIFY(source.has_value());
            QCOMPARE(source->table, QString::fromLatin1(table.navigator));
            const bool moved
                = QString(table.navigator) == "Data1" || QString(table.navigator) == "Data4";
            QCOMPARE(source->record, moved ? 2 : 1);
            QCOMPARE(source->row, h.label(table.rowLabel)->text());
            QCOMPARE(source->cell, table.cellName(chosen));
        }
    }
    // Typing over a copied value, or a reset, forgets where it came from.
    h.field("txtGp")->setText(QStringLiteral("2,5"));
    QVERIFY(!h.form->calculation().source(kelsa::InputField::IceGp).has_value());
    QVERIFY(h.form->calculation().source(kelsa::InputField::IceGpr).has_value());
    h.click("Command2");
    QVERIFY(!h.form->calculation().source(kelsa::InputField::IceGpr).has_value());
    QVERIFY(h.form->calculation().source(kelsa::InputField::WindGp).has_value());
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

    // Typed, and the navigator clicked at once: it takes no focus, so the cell never loses it.
    QLineEdit *cell = h.field("Gp5");
    QTest::mouseClick(cell, Qt::LeftButton);
    QCOMPARE(QApplication::focusWidget(), cell);
    cell->selectAll();
    QTest::keyClicks(cell, QStringLiteral("4,2"));
    press(h, "Data2", "next");
    QVERIFY(cell->text() != QStringLiteral("4,2"));
    press(h, "Data2", "previous");
    QCOMPARE(cell->text(), QStringLiteral("4,2"));
    QCOMPARE(QApplication::focusWidget(), cell);
    // A look-up copies exactly what the cell shows, and the record keeps it.
    QTest::keyClicks(cell, QStringLiteral("5"));
    h.click("txtGp");
    QCOMPARE(h.field("txtGp")->text(), QStringLiteral("4,25"));
    press(h, "Data2", "last");
    press(h, "Data2", "first");
    QCOMPARE(cell->text(), QStringLiteral("4,25"));

    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), before);
}

void TestReferenceTables::missingWorkbookIsReportedOnceAfterShow()
{
    QTemporaryDir dir;
    QVERIFY(copySamplesBut(dir, QStringLiteral("т11.1.xls")));
    kelsa::Form1Services services;
    services.tablesFolder = { dir.path(), false, {} };
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
    services.tablesFolder = { dir.path(), false, {} };
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
    services.tablesFolder = { dir.path(), false, {} };
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

// Nine of the ten workbooks in the working folder: the tenth is reported missing, and no sample
// stands in for it; the title names the folder.
void TestReferenceTables::oneFolderForAllTables()
{
    QTemporaryDir dir;
    QVERIFY(copySamplesBut(dir, QStringLiteral("т11.1.xls")));
    const QString before = QDir::currentPath();
    QVERIFY(QDir::setCurrent(dir.path()));
    kelsa::Form1Services services;
    services.folderMemory = { [] { return QString(); }, [](const QString &) {} };
    FormHarness h(services);
    QDir::setCurrent(before);
    QCOMPARE(h.form->tablesFolder().path, QDir(dir.path()).absolutePath());
    QCOMPARE(h.form->windowTitle(),
        QStringLiteral("Kelsa1.0 — новый расчет[*] — таблицы: ")
            + QDir::toNativeSeparators(dir.path()));
    h.form->show();
    QTRY_COMPARE(h.messages.size(), std::size_t(1));
    QVERIFY(h.messages[0].text.contains(QDir::toNativeSeparators(dir.path())));
    QVERIFY(h.messages[0].text.contains(QStringLiteral("т11.1.xls (таблица «Gп в», Data6)")));
    QCOMPARE(h.label("Label19")->text(), QStringLiteral("нет файла т11.1.xls"));
    QCOMPARE(h.field("Text6")->text(), QString());
}

// «Справочники»: a chosen folder is read at once, remembered and named in the title; «Перечитать
// таблицы» brings every table back to its first record; look-up fields keep their texts.
void TestReferenceTables::menuChoosesAndRereadsTheFolder()
{
    QTemporaryDir dir;
    QVERIFY(copySamplesBut(dir, QStringLiteral("т13.xls")));
    kelsa::Form1Services services;
    services.chooseFolder
        = [&dir](QWidget *, const QString &, const QString &) { return dir.path(); };
    FormHarness h(services);
    QStringList menus;
    for (QAction *action : h.form->menu().bar->actions())
        menus << action->text().remove(QLatin1Char('&'));
    QCOMPARE(menus, QStringList({ "Файл", "Справочники", "Справка" }));

    h.click("txtGp");
    const QString copied = h.field("txtGp")->text();
    press(h, "Data2", "next");
    h.form->menu().chooseTablesFolder->trigger();
    QCOMPARE(h.rememberedFolder, dir.path());
    QCOMPARE(h.form->windowTitle(),
        QStringLiteral("Kelsa1.0 — новый расчет[*] — таблицы: ")
            + QDir::toNativeSeparators(dir.path()));
    QCOMPARE(h.messages.size(), std::size_t(1)); // т13.xls is not there
    QCOMPARE(h.label("Label6")->text(), QStringLiteral("нет файла т13.xls"));
    QCOMPARE(h.label("Label3")->text(), records("т11.2.xls", 5)[0][0]);
    QCOMPARE(h.field("txtGp")->text(), copied);

    press(h, "Data2", "next");
    h.form->menu().reloadTables->trigger();
    QCOMPARE(h.label("Label3")->text(), records("т11.2.xls", 5)[0][0]);
    QCOMPARE(h.messages.size(), std::size_t(2));
}

// Without tables in the working folder the remembered folder is used; `kelsa --tables DIR`
// names one folder for a whole run (here rendered to a picture, its message on stderr).
void TestReferenceTables::rememberedFolderAndCommandLine()
{
    QTemporaryDir dir;
    QVERIFY(copySamplesBut(dir, QStringLiteral("т12.5.xls")));
    QTemporaryDir empty;
    const QString before = QDir::currentPath();
    QVERIFY(QDir::setCurrent(empty.path()));
    kelsa::Form1Services services;
    services.folderMemory = { [&dir] { return dir.path(); }, [](const QString &) {} };
    FormHarness h(services);
    QDir::setCurrent(before);
    QCOMPARE(h.form->tablesFolder().path, QDir(dir.path()).absolutePath());
    QCOMPARE(h.label("Label11")->text(), QStringLiteral("нет файла т12.5.xls"));

    QProcess kelsa;
    kelsa.setWorkingDirectory(empty.path());
    kelsa.start(QCoreApplication::applicationDirPath() + QStringLiteral("/kelsa"),
        { QStringLiteral("--tables"), dir.path(), QStringLiteral("--screenshot"),
            empty.filePath(QStringLiteral("shot.png")) });
    QVERIFY(kelsa.waitForFinished(60000));
    QCOMPARE(kelsa.exitCode(), 0);
    const QString errors = QString::fromUtf8(kelsa.readAllStandardError());
    QVERIFY2(errors.contains(QStringLiteral("т12.5.xls")) && errors.contains(dir.path()),
        qPrintable(errors));
    QVERIFY(QFileInfo(empty.filePath(QStringLiteral("shot.png"))).size() > 0);
}

// A folder chosen last time that is no folder now (a network share not mounted yet): the
// samples come in, start-up says so, naming the folder, in the one message that also lists
// the tables' problems; the folder stays remembered, and the chooser opens at the nearest
// folder on the way up from it that is there.
void TestReferenceTables::missingRememberedFolderIsTold()
{
    QTemporaryDir root;
    const QString gone = QDir(root.path()).filePath(QStringLiteral("share/tables"));
    QTemporaryDir empty;
    QStringList remembered;
    QStringList starts;
    kelsa::Form1Services services;
    services.folderMemory
        = { [&gone] { return gone; }, [&remembered](const QString &f) { remembered << f; } };
    services.chooseFolder = [&starts](QWidget *, const QString &, const QString &start) {
        starts << start;
        return QString(); // cancelled
    };
    const QString before = QDir::currentPath();
    QVERIFY(QDir::setCurrent(empty.path()));
    FormHarness h(services);
    QDir::setCurrent(before);
    QVERIFY(h.form->tablesFolder().samples);
    QCOMPARE(
        h.form->windowTitle(), QStringLiteral("Kelsa1.0 — новый расчет[*] — таблицы: образцы"));
    QVERIFY(h.messages.empty()); // nothing before the window is on screen
    h.form->show();
    QTRY_COMPARE(h.messages.size(), std::size_t(1));
    const QString text = h.messages[0].text;
    QVERIFY2(text.contains(QStringLiteral("не найдена: ") + QDir::toNativeSeparators(gone))
            && text.contains(QStringLiteral("Показаны образцы")),
        qPrintable(text));
    QTest::qWait(50);
    QCOMPARE(h.messages.size(), std::size_t(1));

    h.form->menu().chooseTablesFolder->trigger();
    QCOMPARE(starts, QStringList { QDir(root.path()).absolutePath() });
    QVERIFY(remembered.isEmpty()); // neither at start-up nor by a cancelled chooser
    QVERIFY(h.form->tablesFolder().samples);

    // With tables that cannot be read as well: still one message, the folder first.
    kelsa::Form1Services broken;
    broken.tablesFolder = { QDir(empty.path()).absolutePath(), true, gone };
    FormHarness b(broken);
    b.form->show();
    QTRY_COMPARE(b.messages.size(), std::size_t(1));
    QVERIFY2(b.messages[0].text.startsWith(QStringLiteral("Папка справочных таблиц, выбранная"))
            && b.messages[0].text.contains(QStringLiteral("т11.1.xls")),
        qPrintable(b.messages[0].text));
    // A folder the user chooses is no stand-in: nothing more is said of the missing one.
    b.form->loadTables({ QDir(empty.path()).absolutePath(), false, {} });
    QCOMPARE(b.messages.size(), std::size_t(2));
    QVERIFY(!b.messages[1].text.contains(QDir::toNativeSeparators(gone)));
}

// A table of formulas shows their saved values; an error value shows in its cell, is listed in
// the start-up message, and a look-up of it is refused by the moment, never counted as 0.
void TestReferenceTables::formulaErrorsAreShownAndListed()
{
    QTemporaryDir dir;
    QVERIFY(copySamplesBut(dir, QStringLiteral("т11.1.xls")));
    QVERIFY(QFile::copy(QStringLiteral(KELSA_FIXTURES "/формулы.xls"), dir.filePath("т11.1.xls")));
    kelsa::Form1Services services;
    services.tablesFolder = { dir.path(), false, {} };
    FormHarness h(services);
    QCOMPARE(h.field("Text6")->text(), QStringLiteral("0,85"));
    h.form->show();
    QTRY_COMPARE(h.messages.size(), std::size_t(1));
    QVERIFY2(h.messages[0].text.contains(
                 QStringLiteral("т11.1.xls (таблица «Gп в»), запись 9, столбец F2: #DIV/0!")),
        qPrintable(h.messages[0].text));
    for (int k = 0; k < 8; ++k)
        press(h, "Data6", "next");
    QCOMPARE(h.field("Text6")->text(), QStringLiteral("#DIV/0!"));
    h.click("txtSum1");
    h.field("Prolet")->setText(QStringLiteral("50"));
    h.click("Command3");
    QCOMPARE(h.messages.size(), std::size_t(2));
    QCOMPARE(h.messages[1].text, QStringLiteral("Поле \"Gп в\": \"#DIV/0!\" не является числом"));
    QCOMPARE(h.label("Label5")->text(), QString());
}

// Each kind of failure the reader reports has a sentence for the message box (which names the
// file itself) and a few words, with the file's name, for the row label.
void TestReferenceTables::everyFailureIsWorded()
{
    using Status = kelsa::SheetReadResult::Status;
    for (const Status status : { Status::FileMissing, Status::NotAFile, Status::NoPermission,
             Status::FileTooLarge, Status::NotAWorkbook, Status::Damaged, Status::Password,
             Status::SheetMissing, Status::TooFewColumns, Status::SheetTooLarge, Status::TimedOut,
             Status::ReaderMissing }) {
        kelsa::SheetReadResult result;
        result.status = status;
        const QString reason = kelsa::tableFailureReason(result, 5);
        QVERIFY2(reason.endsWith(QLatin1Char('.')) && !reason.contains(QStringLiteral("т11.1")),
            qPrintable(reason));
        QVERIFY(kelsa::tableFailureShortReason(status, QStringLiteral("т11.1.xls"))
                    .endsWith(QStringLiteral("т11.1.xls")));
    }
    kelsa::SheetReadResult narrow;
    narrow.status = Status::TooFewColumns;
    narrow.columnCount = 3;
    QCOMPARE(kelsa::tableFailureReason(narrow, 5),
        QStringLiteral("На листе «Лист1» столбцов 3, а нужно не меньше 5."));
}

QTEST_MAIN(TestReferenceTables)
#include "test_referencetables.moc"
