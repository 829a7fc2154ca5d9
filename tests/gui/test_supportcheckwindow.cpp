// SPDX-License-Identifier: GPL-3.0-or-later
// The check of the support type in the main window: the status bar's text and colour, the
// moments it takes (stale ones left out), the choice kept in the file, the tooltips, re-reading
// the folder and «Справочники → Каталог опор». The catalogues are the made-up fixtures.
#include "support/fixtures.h"
#include "support/formharness.h"
#include "support/helpexample.h"

#include "check/supportcheckbar.h"
#include "mainwindow/calculationdocument.h"

#include <QAction>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QMenuBar>
#include <QScrollArea>
#include <QTableView>
#include <QTemporaryDir>

using namespace kelsa;
using kelsa::test::FormHarness;
using kelsa::test::ModalWatchdog;

namespace
{

const QLocale ru(QLocale::Russian, QLocale::Russia);

// A tables folder: the sample tables and, unless told otherwise, the made-up catalogue.
struct TablesWithCatalogue {
    explicit TablesWithCatalogue(
        const char *catalogue = "каталог опор.xlsx", const char *as = "опоры.xlsx")
    {
        const QDir samples(QStringLiteral(KELSA_SAMPLE_DATA));
        for (const QString &name : samples.entryList({ QStringLiteral("т*.xls") }))
            QFile::copy(samples.filePath(name), dir.filePath(name));
        if (catalogue)
            QFile::copy(
                test::fixture(QString::fromUtf8(catalogue)), dir.filePath(QString::fromUtf8(as)));
    }
    Form1Services services() const
    {
        Form1Services services;
        services.tablesFolder = { dir.path(), false, {} };
        return services;
    }
    QTemporaryDir dir;
};

QString barText(const FormHarness &h)
{
    QStringList parts;
    for (const char *name : { "supportCheckText", "supportCheckPercent", "supportCheckNote" })
        if (QLabel *label = h.label(name); label->isVisibleTo(h.form.get()))
            parts << label->text();
    parts.removeAll(QString());
    return parts.join(QLatin1Char(' '));
}

} // namespace

class TestSupportCheckWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(ru); }
    void init() { m_watchdog = std::make_unique<ModalWatchdog>(); }
    void cleanup() { QCOMPARE(m_watchdog->unexpected(), 0); }

    void statusBarTextAndColour_data();
    void statusBarTextAndColour();
    void windowChecksTheShownMoments();
    void staleMomentsAreLeftOut();
    void resetThatChangesNoTextStillClearsTheCheck();
    void chosenTypeIsKeptWithTheCalculation();
    void rereadingFollowsTheFolder();
    void catalogueAsRead();

private:
    std::unique_ptr<ModalWatchdog> m_watchdog;
};

// Either side of 90 % and of 100 %: the percentage is rounded up, so that its colour and its
// number always agree.
void TestSupportCheckWindow::statusBarTextAndColour_data()
{
    QTest::addColumn<double>("kgfm"); // against Mн 1000 kgf·m
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("percent");
    QTest::addColumn<QColor>("colour");

    const QColor green = utilisationColour(UtilisationLevel::Green);
    const QColor amber = utilisationColour(UtilisationLevel::Amber);
    const QColor red = utilisationColour(UtilisationLevel::Red);
    const auto text = [](const char *moment) {
        return QStringLiteral("Расчетный момент %1 (Мо в max) · тип Проба · Mн 9,81 кН·м ·")
            .arg(QString::fromUtf8(moment));
    };
    QTest::newRow("89,9 %") << 899.0 << text("899,00 кгс·м = 8,82 кН·м") << "90 %" << green;
    QTest::newRow("90 %") << 900.0 << text("900,00 кгс·м = 8,83 кН·м") << "90 %" << green;
    QTest::newRow("90,1 %") << 901.0 << text("901,00 кгс·м = 8,84 кН·м") << "91 %" << amber;
    QTest::newRow("100 %") << -1000.0 << text("−1000,00 кгс·м = −9,81 кН·м") << "100 %" << amber;
    QTest::newRow("100,1 %") << 1001.0 << text("1001,00 кгс·м = 9,82 кН·м") << "101 %" << red;
}

void TestSupportCheckWindow::statusBarTextAndColour()
{
    QFETCH(double, kgfm);
    QFETCH(QString, text);
    QFETCH(QString, percent);
    QFETCH(QColor, colour);
    SupportCatalogue catalogue;
    catalogue.state = SupportCatalogue::State::Ok;
    catalogue.unit = MomentUnit::KilogramForceMetre;
    catalogue.types = { { QStringLiteral("Проба"), 1000, {}, {}, 2 } };
    SupportCheckBar bar;
    bar.setCatalogue(catalogue);
    bar.setChosenType(QStringLiteral("Проба")); // the pick would find none above 100 %
    bar.setMoments({ { Moment::MaximumWind, kgfm, false } });
    const auto *shown = bar.findChild<QLabel *>(QStringLiteral("supportCheckText"));
    const auto *utilisation = bar.findChild<QLabel *>(QStringLiteral("supportCheckPercent"));
    QCOMPARE(shown->text(), text);
    QCOMPARE(utilisation->text(), percent);
    QCOMPARE(utilisation->palette().color(QPalette::Window), colour);
    QVERIFY(utilisation->autoFillBackground());
}

// The help page's example with every moment computed: the largest is the transition support's
// in maximum wind, from the support towards the track; the tooltips add each utilisation; the
// form keeps its size and the window grows by the bars.
void TestSupportCheckWindow::windowChecksTheShownMoments()
{
    const TablesWithCatalogue tables;
    FormHarness h(tables.services());
    h.form->restoreCalculation(test::helpPageComputed());
    QCOMPARE(barText(h),
        "Расчетный момент 2016,75 кгс·м = 19,78 кН·м (переходная, max, от опоры на путь) · тип "
        "Проба-25 · Mн 25 кН·м · 80 %");
    QVERIFY2(h.label("Label5")->toolTip().endsWith(
                 "\nИспользование для типа Проба-25 (Mн 25 кН·м): 73 %"),
        qPrintable(h.label("Label5")->toolTip()));
    QVERIFY(h.messages.empty());

    const int surface = h.widget("Form1Surface")->height();
    const int bars = h.form->findChild<QMenuBar *>()->sizeHint().height()
        + h.widget("supportCheckBar")->sizeHint().height();
    QCOMPARE(h.form->height(), surface + bars);
}

// A moment whose inputs changed is not checked: the next one governs, and the bar names it.
void TestSupportCheckWindow::staleMomentsAreLeftOut()
{
    const TablesWithCatalogue tables;
    FormHarness h(tables.services());
    SavedCalculation saved = test::helpPageComputed();
    for (const MomentInfo &info : moments())
        if (info.transition || info.moment == Moment::IceWithWind)
            saved.result(info.moment).text.clear();
    h.form->restoreCalculation(saved);
    QVERIFY(barText(h).endsWith("тип Проба-25 · Mн 25 кН·м · 73 %"));

    h.field("txtVm")->setText(QStringLiteral("25")); // read by both ordinary supports
    QCOMPARE(barText(h),
        "Расчетный момент: нет — исходные данные изменены после расчета моментов (Мо в max); "
        "пересчитайте их");
    h.click("Command1"); // Мо вг, from the inputs as they are
    QCOMPARE(barText(h),
        "Расчетный момент 1389,78 кгс·м = 13,63 кН·м (Мо вг) · тип Проба-25 · Mн 25 кН·м · 55 % "
        "не учтены устаревшие моменты: Мо в max");
    h.click("Command2"); // «Сброс» of ice with wind empties Мо вг
    QVERIFY(barText(h).startsWith("Расчетный момент: нет — исходные данные изменены"));
    h.click("Command19"); // «Сброс все»: no moment is left, and none stale
    QCOMPARE(barText(h), "Расчетный момент: нет — ни один момент не вычислен");
}

// On an outer curve the start-up texts give Мо вг a value; «Сброс» then puts back the texts
// the fields already hold, and the emptied label must still leave the check.
void TestSupportCheckWindow::resetThatChangesNoTextStillClearsTheCheck()
{
    const TablesWithCatalogue tables;
    FormHarness h(tables.services());
    h.select("Option19");
    h.click("Command1");
    QVERIFY(!h.label("Label1")->text().isEmpty());
    QVERIFY(barText(h).contains("(Мо вг) · тип Проба-10"));
    h.click("Command2");
    QCOMPARE(barText(h), "Расчетный момент: нет — ни один момент не вычислен");
}

// The choice of a type is the calculation's: saved, marked as a change, put back on opening;
// a type the catalogue lacks stays chosen and is said to be missing.
void TestSupportCheckWindow::chosenTypeIsKeptWithTheCalculation()
{
    const TablesWithCatalogue tables;
    FormHarness h(tables.services());
    h.form->restoreCalculation(test::helpPageComputed());
    h.form->document().markSaved();
    auto *choice = h.find<QComboBox>("supportTypeChoice");
    QCOMPARE(choice->count(), 5); // «подобрать» and four types
    const int index = choice->findData(QStringLiteral("Проба-10"));
    choice->setCurrentIndex(index);
    emit choice->activated(index);
    QVERIFY(barText(h).endsWith("тип Проба-10 · Mн 10 кН·м · 198 %"));
    QCOMPARE(h.label("supportCheckPercent")->palette().color(QPalette::Window),
        utilisationColour(UtilisationLevel::Red));
    QCOMPARE(h.form->savedCalculation().supportType, QStringLiteral("Проба-10"));
    QVERIFY(h.form->document().isModified());

    SavedCalculation other = test::helpPageComputed();
    other.supportType = QStringLiteral("Проба-99");
    h.form->restoreCalculation(other);
    QCOMPARE(choice->currentText(), QStringLiteral("Проба-99 (нет в каталоге)"));
    QVERIFY(barText(h).endsWith("· тип «Проба-99» не найден в каталоге опор"));
    QCOMPARE(h.form->savedCalculation().supportType, QStringLiteral("Проба-99"));
    h.form->restoreCalculation(SavedCalculation {});
    QCOMPARE(choice->currentIndex(), 0);
    QCOMPARE(h.form->savedCalculation().supportType, QString());
}

// F5 reads the catalogue again with the tables: gone, it is «нет каталога опор» without a
// message; with bad rows, they are listed in one message.
void TestSupportCheckWindow::rereadingFollowsTheFolder()
{
    const TablesWithCatalogue tables;
    FormHarness h(tables.services());
    h.form->restoreCalculation(test::helpPageComputed());
    QVERIFY(QFile::remove(tables.dir.filePath(QStringLiteral("опоры.xlsx"))));
    h.form->menu().reloadTables->trigger();
    QCOMPARE(barText(h),
        "Расчетный момент 2016,75 кгс·м = 19,78 кН·м (переходная, max, от опоры на путь) · нет "
        "каталога опор положите опоры.xlsx (.xls, .ods) в папку справочных таблиц и нажмите F5");
    QVERIFY(!h.label("Label5")->toolTip().contains("Использование"));
    QVERIFY(h.messages.empty());

    QVERIFY(QFile::copy(test::fixture(QStringLiteral("каталог с плохими строками.xls")),
        tables.dir.filePath(QStringLiteral("опоры.xls"))));
    h.form->menu().reloadTables->trigger();
    QCOMPARE(h.messages.size(), std::size_t(1));
    QVERIFY2(h.messages.front().text.startsWith(
                 "В каталоге опор опоры.xls пропущены строки:\nстрока 4: нет названия типа\n"),
        qPrintable(h.messages.front().text));
    QVERIFY(barText(h).endsWith("· тип Проба-1 · Mн 29,42 кН·м · 68 %"));
}

void TestSupportCheckWindow::catalogueAsRead()
{
    const TablesWithCatalogue tables("каталог с плохими строками.xlsx");
    FormHarness h(tables.services());
    QVERIFY(!h.form->findChild<QDialog *>(QStringLiteral("catalogueDialog"))); // made when asked
    h.form->findChild<QAction *>()->trigger(); // any action: the dialog stays unmade
    for (QAction *action : h.form->menu().tables->actions())
        if (action == h.form->menu().catalogue)
            action->trigger();
    auto *dialog = h.find<QDialog>("catalogueDialog");
    QVERIFY(dialog->isVisible());
    QCOMPARE(h.find<QTableView>("catalogueTypes")->model()->rowCount(), 3);
    QVERIFY(h.label("catalogueSummary")->text().contains("Единица Mн: кгс·м"));
    QVERIFY(h.label("catalogueProblems")
                ->text()
                .contains("строка 7: тип «проба-1» уже есть в "
                          "строке 2"));
    dialog->close();
}

QTEST_MAIN(TestSupportCheckWindow)
#include "test_supportcheckwindow.moc"
