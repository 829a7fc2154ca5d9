// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's calculation as a file: saved and opened again it is the same window (also
// under the other decimal separator); a bad file leaves the window as it was; a record beyond a
// table that has grown shorter opens as its last record, with one message; unsaved work, named
// or not, is asked about before it is lost, and a save that fails or is cancelled loses nothing.
#include "support/formharness.h"

#include "core/document/calculationfile.h"
#include "mainwindow/calculationdocument.h"
#include "widgets/recordnavigator.h"

#include <QAction>
#include <QTemporaryDir>

#include <functional>
#include <optional>

using namespace kelsa;
using namespace kelsa::test;

namespace
{

const QLocale ru(QLocale::Russian, QLocale::Russia);

// A support as a designer leaves it: typed fields, a look-up from the second record of a
// table, the outer curve and the transition support, computed moments, one of them stale.
void computeASupport(FormHarness &h)
{
    h.field("Prolet")->setText(QStringLiteral("50"));
    h.field("txtVm")->setText(QStringLiteral("30"));
    h.field("txtLp")->setText(QStringLiteral("40"));
    h.field("Text1")->setText(QStringLiteral("1000") + QLocale().decimalPoint() + u'5');
    h.select("Option19");
    h.select("Option21"); // the transition support, whose frame then shows
    emit h.find<RecordNavigator>("Data2")->nextRequested();
    h.click("txtGp");
    h.click("Command1");
    h.click("Command3");
    h.click("Command5");
    h.field("txtVm")->setText(QStringLiteral("35")); // Label5 is now stale
}

// The place of a table in the catalogue, by its navigator.
std::size_t tableIndex(const QString &navigator)
{
    const auto tables = referenceTables();
    for (std::size_t t = 0; t < tables.size(); ++t)
        if (navigator == QLatin1String(tables[t].navigator))
            return t;
    qFatal("no table %s", qPrintable(navigator));
}

// The ways a window's calculation is left for another or for nothing.
// Ctrl+Q is the shortcut of the «Выход» menu item only where the desktop's key bindings give one
// for quitting (not under the test platform), so the item stands for it.
enum class Leave { ExitButton, ExitMenu, CloseWindow, NewCalculation, NewKey, Open };

void leave(FormHarness &h, Leave how)
{
    switch (how) {
    case Leave::ExitButton:
        h.click("Command16");
        break;
    case Leave::ExitMenu:
        h.form->menu().exit->trigger();
        break;
    case Leave::CloseWindow:
        h.form->close();
        break;
    case Leave::NewCalculation:
        h.form->menu().newCalculation->trigger();
        break;
    case Leave::NewKey:
        QTest::keySequence(h.form.get(), QKeySequence::New);
        break;
    case Leave::Open:
        h.form->menu().open->trigger();
        break;
    }
}

// Whether the calculation was left: the window closed, the window as at start, or the file
// dialog asked for the calculation to open.
bool wasLeft(const FormHarness &h, Leave how, int openDialogs)
{
    switch (how) {
    case Leave::NewCalculation:
    case Leave::NewKey:
        return h.form->isVisible() && h.form->savedCalculation() == SavedCalculation {}
        && h.form->document().filePath().isEmpty();
    case Leave::Open:
        return h.form->isVisible() && openDialogs == 1;
    default:
        return !h.form->isVisible();
    }
}

bool showActive(FormHarness &h)
{
    h.form->show();
    h.form->activateWindow();
    return QTest::qWaitForWindowActive(h.form.get());
}

using Edit = std::function<void(FormHarness &h)>;

} // namespace

Q_DECLARE_METATYPE(Leave)
Q_DECLARE_METATYPE(Edit)

class TestCalculationDocument : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(ru); }
    void cleanup() { QLocale::setDefault(ru); }
    void openedIsAsSaved_data();
    void openedIsAsSaved();
    void badFileLeavesTheWindow_data();
    void badFileLeavesTheWindow();
    void recordsBeyondShorterTables_data();
    void recordsBeyondShorterTables();
    void unreadableTableKeepsItsRecord();
    void unsavedChangesAreAskedAbout();
    void titleMarksUnsavedWork_data();
    void titleMarksUnsavedWork();
    void leavingAsksAboutUnsavedWork_data();
    void leavingAsksAboutUnsavedWork();
    void saveInTheQuestionLosesNothing_data();
    void saveInTheQuestionLosesNothing();
    void newCalculationStartsAfresh();
    void reportAsksForTheTitleFirst();
};

void TestCalculationDocument::openedIsAsSaved_data()
{
    QTest::addColumn<QLocale>("savedIn");
    QTest::newRow("same separator") << ru;
    QTest::newRow("saved with '.'") << QLocale::c();
}

void TestCalculationDocument::openedIsAsSaved()
{
    QFETCH(QLocale, savedIn);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("опора 12.kelsa"));

    QLocale::setDefault(savedIn);
    FormHarness before;
    computeASupport(before);
    before.form->document().setTitle({ QStringLiteral("Перегон"), QStringLiteral("12"), {} });
    QVERIFY(before.form->document().saveFile(path));
    const SavedCalculation saved = before.form->savedCalculation();
    const QString staleTooltip = before.label("Label5")->toolTip();

    QLocale::setDefault(ru);
    FormHarness after;
    QVERIFY(after.form->document().openFile(path));
    QVERIFY(after.messages.empty());
    SavedCalculation expected = saved;
    if (savedIn != ru) { // number texts come back with the decimal comma
        expected = std::get<SavedCalculation>(calculationFromJson(calculationToJson(saved), ru));
        QCOMPARE(after.field("Text1")->text(), QStringLiteral("1000,5"));
    }
    QVERIFY(after.form->savedCalculation() == expected);
    QVERIFY(after.shown("Frame35"));
    QCOMPARE(after.label("Label3")->text(), before.label("Label3")->text()); // record 2
    QVERIFY(after.label("Label5")->toolTip().startsWith(
        QStringLiteral("Исходные данные изменены после расчета: Vmax в.")));
    if (savedIn == ru)
        QCOMPARE(after.label("Label5")->toolTip(), staleTooltip);
    QCOMPARE(after.form->windowTitle(),
        QStringLiteral("Kelsa1.0 — опора 12.kelsa[*] — таблицы: образцы"));
    QVERIFY(!after.form->isWindowModified());
}

void TestCalculationDocument::badFileLeavesTheWindow_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<QString>("problem");

    QTest::newRow("not a calculation") << QByteArray("{}") << "это не файл расчета Kelsa";
}

void TestCalculationDocument::badFileLeavesTheWindow()
{
    QFETCH(QByteArray, json);
    QFETCH(QString, problem);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bad.kelsa"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(json) == json.size());
    file.close();

    FormHarness h;
    computeASupport(h);
    const SavedCalculation before = h.form->savedCalculation();
    QVERIFY(!h.form->document().openFile(path));
    QCOMPARE(h.messages.size(), std::size_t(1));
    QVERIFY2(h.messages[0].text.contains(QDir::toNativeSeparators(path))
            && h.messages[0].text.contains(problem),
        qPrintable(h.messages[0].text));
    QVERIFY(h.form->savedCalculation() == before);
    QVERIFY(h.form->document().filePath().isEmpty());
}

void TestCalculationDocument::recordsBeyondShorterTables_data()
{
    QTest::addColumn<QStringList>("tables"); // navigators of the tables saved beyond their last
    QTest::addColumn<int>("pastTheLast"); // how far beyond: 0 is the last record itself
    QTest::newRow("the last record itself") << QStringList { "Data2" } << 0;
    QTest::newRow("one past the last") << QStringList { "Data2" } << 1;
    QTest::newRow("far beyond") << QStringList { "Data2" } << 480;
    QTest::newRow("first table") << QStringList { "Data1" } << 1;
    QTest::newRow("two tables, one message") << QStringList { "Data3", "Data10" } << 7;
}

// Saved when the tables were longer: the calculation opens with every field as saved, each such
// table at its last record, and one message naming each table and record not shown. The window
// then differs from the file.
void TestCalculationDocument::recordsBeyondShorterTables()
{
    QFETCH(QStringList, tables);
    QFETCH(int, pastTheLast);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("опора 7.kelsa"));

    FormHarness before;
    computeASupport(before);
    SavedCalculation saved = before.form->savedCalculation();
    QStringList lastRecordLabels;
    QList<int> counts;
    const auto catalogue = referenceTables();
    for (const QString &navigator : tables) {
        emit before.find<RecordNavigator>(qPrintable(navigator))->lastRequested();
        const std::size_t t = tableIndex(navigator);
        counts << before.form->savedCalculation().records[t];
        saved.records[t] = counts.back() + pastTheLast;
        lastRecordLabels << before.label(catalogue[t].rowLabel)->text();
    }
    QVERIFY(writeCalculationFile(path, saved).isEmpty());

    FormHarness after;
    QVERIFY(after.form->document().openFile(path));
    QCOMPARE(after.form->document().filePath(), path);
    const SavedCalculation opened = after.form->savedCalculation();
    QVERIFY(opened.calculation == saved.calculation); // every field, option and look-up as saved
    QVERIFY(opened.results == saved.results);
    for (qsizetype k = 0; k < tables.size(); ++k) {
        const std::size_t t = tableIndex(tables[k]);
        QCOMPARE(opened.records[t], counts[k]);
        QCOMPARE(after.label(catalogue[t].rowLabel)->text(), lastRecordLabels[k]);
    }
    QCOMPARE(after.label("Label3")->text(), before.label("Label3")->text()); // Data2's record 2

    if (pastTheLast == 0) {
        QVERIFY(after.messages.empty());
        QVERIFY(!after.form->isWindowModified());
        return;
    }
    QCOMPARE(after.messages.size(), std::size_t(1));
    const QString &message = after.messages[0].text;
    QVERIFY2(message.contains(QDir::toNativeSeparators(path)), qPrintable(message));
    qsizetype at = 0;
    for (qsizetype k = 0; k < tables.size(); ++k) {
        const ReferenceTable *table = &catalogue[tableIndex(tables[k])];
        const QString line = QStringLiteral("запись %1 таблицы «%2» (%3): в таблице записей %4")
                                 .arg(counts[k] + pastTheLast)
                                 .arg(QString::fromUtf8(table->caption), tables[k])
                                 .arg(counts[k]);
        const qsizetype found = message.indexOf(line);
        QVERIFY2(found > at, qPrintable(message)); // in the order of the catalogue
        at = found;
    }
    QVERIFY(after.form->isWindowModified());
    QCOMPARE(after.form->windowTitle(),
        QStringLiteral("Kelsa1.0 — опора 7.kelsa[*] — таблицы: образцы"));
}

// A table that cannot be read (its workbook gone from the folder) shows no record; the file's
// record for it is neither a change nor lost when the calculation is saved again.
void TestCalculationDocument::unreadableTableKeepsItsRecord()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("опора 3.kelsa"));
    const QString tables = dir.filePath(QStringLiteral("таблицы"));
    QVERIFY(QDir().mkpath(tables));
    const auto catalogue = referenceTables();
    const std::size_t gone = tableIndex(QStringLiteral("Data2"));
    for (std::size_t t = 0; t < catalogue.size(); ++t)
        if (t != gone)
            QVERIFY(QFile::copy(
                QDir(installedDataFolder()).filePath(QString::fromUtf8(catalogue[t].fileName)),
                QDir(tables).filePath(QString::fromUtf8(catalogue[t].fileName))));

    SavedCalculation saved;
    saved.records[gone] = 5;
    saved.records[tableIndex(QStringLiteral("Data3"))] = 2;
    QVERIFY(writeCalculationFile(path, saved).isEmpty());

    Form1Services services;
    services.tablesFolder = { tables, false, {} };
    FormHarness h(services);
    h.messages.clear(); // the missing workbook is told at start-up
    QVERIFY(h.form->document().openFile(path));
    QVERIFY(!h.form->isWindowModified());
    QCOMPARE(h.form->savedCalculation().records, saved.records);
    h.field("Prolet")->setText(QStringLiteral("45"));
    QVERIFY(h.form->document().saveFile(path));
    const auto reopened = readCalculationFile(path);
    QCOMPARE(std::get<SavedCalculation>(reopened).records, saved.records);
}

// A named calculation with changes asks by its file's name; Cancel keeps the window open, Save
// writes the file; typed back as saved, it is unchanged again.
void TestCalculationDocument::unsavedChangesAreAskedAbout()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("опора.kelsa"));
    int asked = 0;
    UnsavedChanges answer = UnsavedChanges::Cancel;
    Form1Services services;
    services.askUnsaved = [&](QWidget *, const QString &name) {
        ++asked;
        [&] { QCOMPARE(name, QStringLiteral("опора.kelsa")); }();
        return answer;
    };
    services.chooseSaveFile = [&](QWidget *, const QString &, const QString &, const QString &) {
        return dir.filePath(QStringLiteral("опора")); // the suffix is added
    };
    FormHarness h(services);
    h.field("Prolet")->setText(QStringLiteral("70"));

    h.form->menu().saveAs->trigger();
    QCOMPARE(h.form->document().filePath(), path);
    h.field("Prolet")->setText(QStringLiteral("71"));
    QVERIFY(h.form->isWindowModified());
    h.field("Prolet")->setText(QStringLiteral("70"));
    QVERIFY(!h.form->isWindowModified()); // back as saved
    h.field("Prolet")->setText(QStringLiteral("72"));

    h.form->show();
    QVERIFY(!h.form->close());
    QCOMPARE(asked, 1);
    answer = UnsavedChanges::Save;
    QVERIFY(h.form->close());
    const auto read = readCalculationFile(path);
    QCOMPARE(std::get<SavedCalculation>(read).calculation.text(InputField::SpanLength),
        QStringLiteral("72"));
    QCOMPARE(asked, 2);
}

void TestCalculationDocument::titleMarksUnsavedWork_data()
{
    QTest::addColumn<Edit>("edit");
    QTest::addColumn<bool>("unsaved");
    QTest::newRow("nothing") << Edit([](FormHarness &) {}) << false;
    QTest::newRow("span typed") << Edit([](FormHarness &h) {
        h.field("Prolet")->setText(QStringLiteral("50"));
    }) << true;
    QTest::newRow("span typed, then back") << Edit([](FormHarness &h) {
        h.field("Prolet")->setText(QStringLiteral("50"));
        h.field("Prolet")->setText(QStringLiteral("0"));
    }) << false;
    QTest::newRow("plain field clicked empty")
        << Edit([](FormHarness &h) { h.click("txtVm"); }) << true;
    QTest::newRow("look-up clicked") << Edit([](FormHarness &h) { h.click("txtGp"); }) << true;
    QTest::newRow("track section") << Edit([](FormHarness &h) { h.select("Option20"); }) << true;
    QTest::newRow("wind for Pкв") << Edit([](FormHarness &h) { h.select("Option16"); }) << true;
    QTest::newRow("calculator") << Edit([](FormHarness &h) { h.select("Option23"); }) << false;
    QTest::newRow("table paged") << Edit([](FormHarness &h) {
        emit h.find<RecordNavigator>("Data4")->lastRequested();
    }) << false;
    QTest::newRow("moment computed") << Edit([](FormHarness &h) { h.click("Command3"); }) << true;
    QTest::newRow("moment computed, then reset") << Edit([](FormHarness &h) {
        h.click("Command3");
        h.click("Command4");
    }) << false;
    QTest::newRow("report title entered") << Edit([](FormHarness &h) {
        h.form->document().setTitle({ {}, QStringLiteral("12"), {} });
    }) << true;
}

// A calculation never saved carries the unsaved mark once it holds work, and loses it when the
// work is undone by hand.
void TestCalculationDocument::titleMarksUnsavedWork()
{
    QFETCH(Edit, edit);
    QFETCH(bool, unsaved);
    FormHarness h;
    edit(h);
    QCOMPARE(
        h.form->windowTitle(), QStringLiteral("Kelsa1.0 — новый расчет[*] — таблицы: образцы"));
    QCOMPARE(h.form->isWindowModified(), unsaved);
}

void TestCalculationDocument::leavingAsksAboutUnsavedWork_data()
{
    QTest::addColumn<Leave>("how");
    QTest::addColumn<Edit>("edit");
    QTest::addColumn<bool>("asks");
    const QList<QPair<const char *, Leave>> ways { { "«Выход» button", Leave::ExitButton },
        { "«Выход» menu", Leave::ExitMenu }, { "window closed", Leave::CloseWindow },
        { "«Новый расчет»", Leave::NewCalculation }, { "Ctrl+N", Leave::NewKey },
        { "«Открыть…»", Leave::Open } };
    const Edit untouched = [](FormHarness &) {};
    const Edit typed = [](FormHarness &h) { h.field("Text2")->setText(QStringLiteral("1000")); };
    const Edit computed = [](FormHarness &h) {
        h.click("Command1"); // no span: a message, and 0 on the label
        h.messages.clear();
    };
    const Edit paged
        = [](FormHarness &h) { emit h.find<RecordNavigator>("Data2")->nextRequested(); };
    for (const auto &[name, how] : ways) {
        QTest::addRow("%s, untouched", name) << how << untouched << false;
        QTest::addRow("%s, a field typed", name) << how << typed << true;
    }
    QTest::newRow("«Выход» button, a moment computed") << Leave::ExitButton << computed << true;
    QTest::newRow("«Выход» button, a table paged") << Leave::ExitButton << paged << false;
    QTest::newRow("«Открыть…», a table paged") << Leave::Open << paged << false;
}

// Leaving a calculation never saved asks about it once it holds work: «Отмена» leaves nothing,
// «Не сохранять» leaves it. An untouched window is left without a question.
void TestCalculationDocument::leavingAsksAboutUnsavedWork()
{
    QFETCH(Leave, how);
    QFETCH(Edit, edit);
    QFETCH(bool, asks);
    int openDialogs = 0;
    Form1Services services;
    services.chooseOpenFile = [&](QWidget *, const QString &, const QString &, const QString &) {
        ++openDialogs;
        return QString(); // the dialog cancelled: nothing opened
    };
    FormHarness h(services);
    QVERIFY(showActive(h));
    edit(h);
    const SavedCalculation edited = h.form->savedCalculation();

    leave(h, how);
    if (asks) {
        QCOMPARE(h.questions, QStringList { QString() });
        QVERIFY(h.form->isVisible());
        QVERIFY(h.form->savedCalculation() == edited);
        QCOMPARE(openDialogs, 0);
        QVERIFY(h.form->isWindowModified());
        h.unsavedAnswer = UnsavedChanges::Discard;
        leave(h, how);
        QCOMPARE(h.questions.size(), 2);
    } else {
        QVERIFY(h.questions.isEmpty());
    }
    QVERIFY(wasLeft(h, how, openDialogs));
    QVERIFY(h.messages.empty());
}

void TestCalculationDocument::saveInTheQuestionLosesNothing_data()
{
    QTest::addColumn<Leave>("how");
    QTest::addColumn<bool>("named"); // saved under a name before the edit
    QTest::addColumn<QString>("saveAs"); // the name «Сохранить как…» gives: "" cancels
    QTest::addColumn<bool>("folderVanishes"); // the folder is removed before the save
    QTest::addColumn<bool>("left");
    const QList<QPair<const char *, Leave>> ways { { "«Выход»", Leave::ExitButton },
        { "«Новый расчет»", Leave::NewCalculation }, { "«Открыть…»", Leave::Open } };
    for (const auto &[name, how] : ways) {
        QTest::addRow("%s, save-as cancelled", name) << how << false << "" << false << false;
        QTest::addRow("%s, unnamed, folder gone", name)
            << how << false << "новый.kelsa" << true << false;
        QTest::addRow("%s, named, folder gone", name) << how << true << "" << true << false;
        QTest::addRow("%s, saved as", name) << how << false << "новый.kelsa" << false << true;
        QTest::addRow("%s, saved", name) << how << true << "" << false << true;
    }
}

// «Сохранить» in the question saves first, under a name asked for when there is none; when the
// save fails (told in a message naming the file) or its dialog is cancelled, nothing is closed,
// cleared or opened, and the edit stays.
void TestCalculationDocument::saveInTheQuestionLosesNothing()
{
    QFETCH(Leave, how);
    QFETCH(bool, named);
    QFETCH(QString, saveAs);
    QFETCH(bool, folderVanishes);
    QFETCH(bool, left);
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("расчеты"));
    QVERIFY(QDir().mkpath(folder));
    const QString namedPath = QDir(folder).filePath(QStringLiteral("опора.kelsa"));
    const QString savedPath = named ? namedPath : QDir(folder).filePath(saveAs);
    int saveDialogs = 0;
    int openDialogs = 0;
    QString nextSaveAs = namedPath;
    Form1Services services;
    services.chooseSaveFile = [&](QWidget *, const QString &, const QString &, const QString &) {
        ++saveDialogs;
        return nextSaveAs;
    };
    services.chooseOpenFile = [&](QWidget *, const QString &, const QString &, const QString &) {
        ++openDialogs;
        return QString();
    };
    FormHarness h(services);
    if (named) {
        h.form->menu().saveAs->trigger();
        QCOMPARE(h.form->document().filePath(), namedPath);
    }
    saveDialogs = 0;
    nextSaveAs = saveAs.isEmpty() ? QString() : QDir(folder).filePath(saveAs);
    h.field("Prolet")->setText(QStringLiteral("65"));
    const SavedCalculation edited = h.form->savedCalculation();
    if (folderVanishes)
        QVERIFY(QDir(folder).removeRecursively());
    h.form->show();

    h.unsavedAnswer = UnsavedChanges::Save;
    leave(h, how);
    QCOMPARE(h.questions, QStringList { named ? QStringLiteral("опора.kelsa") : QString() });
    QCOMPARE(saveDialogs, named ? 0 : 1);
    if (!left) {
        QVERIFY(h.form->isVisible());
        QVERIFY(h.form->savedCalculation() == edited);
        QCOMPARE(openDialogs, 0);
        QVERIFY(h.form->isWindowModified());
        QCOMPARE(h.form->document().filePath(), named ? namedPath : QString());
        QCOMPARE(h.messages.size(), std::size_t(folderVanishes ? 1 : 0));
        if (folderVanishes)
            QVERIFY2(h.messages[0].text.contains(QStringLiteral("Не удалось сохранить расчет"))
                    && h.messages[0].text.contains(QDir::toNativeSeparators(savedPath)),
                qPrintable(h.messages[0].text));
        return;
    }
    QVERIFY(h.messages.empty());
    const auto read = readCalculationFile(savedPath);
    QCOMPARE(std::get<SavedCalculation>(read).calculation.text(InputField::SpanLength),
        QStringLiteral("65"));
    QVERIFY(wasLeft(h, how, openDialogs));
}

// «Новый расчет» brings back the window as it starts: no file, the start-up fields and options,
// first records, no results, and an empty title block for the next report.
void TestCalculationDocument::newCalculationStartsAfresh()
{
    QTemporaryDir dir;
    std::optional<ReportTitle> offered;
    Form1Services services;
    services.chooseSaveFile = [&](QWidget *, const QString &, const QString &, const QString &) {
        return dir.filePath(QStringLiteral("опора.kelsa"));
    };
    services.editReportTitle = [&](QWidget *, const ReportTitle &title) {
        offered = title;
        return std::optional<ReportTitle>();
    };
    FormHarness h(services);
    computeASupport(h);
    h.form->document().setTitle(
        { QStringLiteral("Перегон"), QStringLiteral("12"), QStringLiteral("Иванов") });
    h.form->menu().saveAs->trigger();
    h.field("Prolet")->setText(QStringLiteral("55"));

    h.unsavedAnswer = UnsavedChanges::Discard;
    h.form->menu().newCalculation->trigger();
    QCOMPARE(h.questions, QStringList { QStringLiteral("опора.kelsa") });
    QVERIFY(h.form->savedCalculation() == SavedCalculation {});
    QVERIFY(h.form->document().title() == ReportTitle {});
    QVERIFY(h.form->document().filePath().isEmpty());
    QVERIFY(!h.form->isWindowModified());
    QCOMPARE(
        h.form->windowTitle(), QStringLiteral("Kelsa1.0 — новый расчет[*] — таблицы: образцы"));
    h.form->menu().report->trigger();
    QVERIFY(offered && *offered == ReportTitle {});
    h.form->close(); // nothing to ask about
    QCOMPARE(h.questions.size(), 1);
}

// «Отчёт…» asks for the title block, keeps it with the calculation and reports the window as it
// stands; cancelling the title shows no report.
void TestCalculationDocument::reportAsksForTheTitleFirst()
{
    std::optional<ReportTitle> entered;
    std::vector<ReportInput> reports;
    Form1Services services;
    services.editReportTitle = [&](QWidget *, const ReportTitle &) { return entered; };
    services.showReport = [&](QWidget *, const ReportInput &input) { reports.push_back(input); };
    FormHarness h(services);
    computeASupport(h);

    h.form->menu().report->trigger();
    QVERIFY(reports.empty());
    entered = ReportTitle { QStringLiteral("Перегон"), QStringLiteral("7"), QStringLiteral("Я") };
    h.form->menu().report->trigger();
    QCOMPARE(reports.size(), std::size_t(1));
    QVERIFY(reports[0].saved.calculation == h.form->calculation());
    QCOMPARE(reports[0].saved.result(Moment::IceWithWind).text, h.label("Label1")->text());
    QVERIFY(reports[0].saved.title == *entered);
    QVERIFY(h.form->document().title() == *entered);
    QCOMPARE(reports[0].tablesFolder, QStringLiteral("образцы"));
    // The report knows the calculation's file, which its PDF may not be written over.
    QCOMPARE(reports[0].calculationPath, QString());
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("опора.kelsa"));
    QVERIFY(h.form->document().saveFile(path));
    h.form->menu().report->trigger();
    QCOMPARE(reports.size(), std::size_t(2));
    QCOMPARE(reports[1].calculationPath, path);
}

QTEST_MAIN(TestCalculationDocument)
#include "test_calculationdocument.moc"
