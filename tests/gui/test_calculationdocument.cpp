// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's calculation as a file: saved and opened again it is the same window (also
// under the other decimal separator); a bad file leaves the window as it was; unsaved changes
// to a named calculation are asked about before they are lost.
#include "support/formharness.h"

#include "core/document/calculationfile.h"
#include "mainwindow/calculationdocument.h"
#include "widgets/recordnavigator.h"

#include <QAction>
#include <QTemporaryDir>

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

} // namespace

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
    void unsavedChangesAreAskedAbout();
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

    SavedCalculation farRecord;
    farRecord.records[1] = 500;
    QTest::newRow("not a calculation") << QByteArray("{}") << "это не файл расчета Kelsa";
    QTest::newRow("record beyond the table")
        << calculationToJson(farRecord) << "запись 500 таблицы «Gп» (Data2) за пределами";
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

// An unnamed calculation closes without a question; a named one with changes asks, and Cancel
// keeps the window open, Save writes the file.
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
    QVERIFY(!h.form->isWindowModified());

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

    FormHarness unnamed;
    unnamed.field("Prolet")->setText(QStringLiteral("80"));
    unnamed.form->show();
    QVERIFY(unnamed.form->close());
    QCOMPARE(asked, 2);
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
