// SPDX-License-Identifier: GPL-3.0-or-later
// The schedule window's wiring: Ctrl+L opens it; an edit and Ctrl+Z; a block pasted from the
// clipboard; «В ведомость» and «Открыть в окне расчета» between it and the main window; a click
// on the chart; unsaved work asked about on closing; the PDF read back with poppler.
#include "support/formharness.h"
#include "support/poppler.h"

#include "core/schedule/schedulefilter.h"
#include "core/schedule/schedulemodel.h"
#include "mainwindow/calculationdocument.h"
#include "mainwindow/schedulelink.h"
#include "schedule/chartview.h"
#include "schedule/scheduledocument.h"
#include "schedule/scheduleediting.h"
#include "schedule/schedulewindow.h"

#include <QAction>
#include <QFile>
#include <QClipboard>
#include <QRegularExpression>
#include <QTableView>
#include <QTemporaryDir>
#include <QUndoStack>

using namespace kelsa;
using namespace kelsa::test;

namespace
{

const QLocale ru(QLocale::Russian, QLocale::Russia);

// A main window whose schedule window records its questions.
struct Harness {
    Harness()
    {
        Form1Services services;
        services.schedule.askUnsaved = [this](QWidget *, const QString &) {
            ++unsavedQuestions;
            return unsavedAnswer;
        };
        services.schedule.askPut = [this](QWidget *, int row, const QString &) {
            putQuestions << row;
            return putAnswer;
        };
        form = std::make_unique<FormHarness>(services);
    }
    ScheduleWindow &open()
    {
        // Shortcuts reach the active window.
        form->form->show();
        form->form->activateWindow();
        if (!QTest::qWaitForWindowActive(form->form.get()))
            qFatal("the main window did not become active");
        QTest::keySequence(form->form.get(), QKeySequence(Qt::CTRL | Qt::Key_L));
        ScheduleWindow *window = form->form->scheduleLink().window();
        if (!window)
            qFatal("Ctrl+L opened no schedule window");
        // The test platform does not move the focus to a new window by itself.
        QApplication::setActiveWindow(window);
        if (!QTest::qWaitForWindowActive(window))
            qFatal("the schedule window did not become active");
        return *window;
    }
    int column(ScheduleWindow &window, InputField field) const
    {
        return window.model().columnOf(ScheduleCell::ofField(field));
    }

    std::unique_ptr<FormHarness> form;
    int unsavedQuestions = 0;
    UnsavedChanges unsavedAnswer = UnsavedChanges::Cancel;
    QList<int> putQuestions;
    PutCalculation putAnswer = PutCalculation::ReplaceRow;
};

QString cell(ScheduleWindow &window, int row, int column)
{
    return window.model().index(row, column).data().toString();
}

void addRows(ScheduleWindow &window, int count)
{
    for (int k = 0; k < count; ++k)
        window.menu().insertRow->trigger();
}

} // namespace

class TestScheduleWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(ru); }
    void init() { m_watchdog = std::make_unique<ModalWatchdog>(); }
    void cleanup() { QCOMPARE(m_watchdog->unexpected(), 0); }

    void ctrlLOpensTheWindow();
    void editThenUndo();
    void pasteOfABlock();
    void calculationToTheSchedule_data();
    void calculationToTheSchedule();
    void rowToTheMainWindow();
    void chartClickSelectsTheRow();
    void closingAsksAboutUnsavedWork_data();
    void closingAsksAboutUnsavedWork();
    void pdfPagesAndHeader();
    void filesRoundTrip_data();
    void filesRoundTrip();
    void sampleScheduleThroughEveryFile();

private:
    std::unique_ptr<ModalWatchdog> m_watchdog;
};

void TestScheduleWindow::ctrlLOpensTheWindow()
{
    Harness h;
    QVERIFY(!h.form->form->scheduleLink().window()); // not built at start-up
    ScheduleWindow &window = h.open();
    QCOMPARE(window.objectName(), QStringLiteral("ScheduleWindow"));
    QVERIFY(window.isVisible());
    QVERIFY(!window.isModal());
    auto *table = window.findChild<QTableView *>(QStringLiteral("scheduleTable"));
    QVERIFY(table);
    QCOMPARE(table->model(), &window.filterModel());
    QVERIFY(window.findChild<ScheduleChartView *>(QStringLiteral("scheduleChart")));
    window.close();
    QCOMPARE(&h.open(), &window); // the same window again
    QVERIFY(window.isVisible());
    // The common data are the main window's.
    QCOMPARE(window.model().schedule().common.text(InputField::MaxWindSpeed),
        h.form->field("txtVm")->text());
}

void TestScheduleWindow::editThenUndo()
{
    Harness h;
    ScheduleWindow &window = h.open();
    addRows(window, 1);
    const int prolet = h.column(window, InputField::SpanLength);
    const QString before = cell(window, 0, prolet);
    const QModelIndex index = window.filterModel().index(0, prolet);
    QVERIFY(window.filterModel().setData(index, QStringLiteral("55")));
    QCOMPARE(cell(window, 0, prolet), QStringLiteral("55"));
    QVERIFY(window.isWindowModified());
    QTest::keySequence(&window, QKeySequence(Qt::CTRL | Qt::Key_Z));
    QCOMPARE(cell(window, 0, prolet), before);
    QTest::keySequence(&window, QKeySequence(Qt::CTRL | Qt::Key_Y));
    QCOMPARE(cell(window, 0, prolet), QStringLiteral("55"));
}

void TestScheduleWindow::pasteOfABlock()
{
    Harness h;
    ScheduleWindow &window = h.open();
    addRows(window, 1);
    const int prolet = h.column(window, InputField::SpanLength);
    const QString before = cell(window, 0, prolet);
    window.table()->setCurrentIndex(window.filterModel().index(0, prolet));
    QGuiApplication::clipboard()->setText(QStringLiteral("50\t25.5\n60,5\t30\n"));
    QTest::keySequence(&window, QKeySequence::Paste);
    QCOMPARE(window.model().rowCount(), 2); // the second row added
    QCOMPARE(cell(window, 0, prolet), QStringLiteral("50"));
    QCOMPARE(cell(window, 0, prolet + 1), QStringLiteral("25,5"));
    QCOMPARE(cell(window, 1, prolet), QStringLiteral("60,5"));
    QCOMPARE(cell(window, 1, prolet + 1), QStringLiteral("30"));
    QTest::keySequence(&window, QKeySequence(Qt::CTRL | Qt::Key_Z)); // one edit
    QCOMPARE(window.model().rowCount(), 1);
    QCOMPARE(cell(window, 0, prolet), before);
}

void TestScheduleWindow::calculationToTheSchedule_data()
{
    QTest::addColumn<PutCalculation>("answer");
    QTest::addColumn<int>("rows");
    QTest::addColumn<QString>("firstSpan");

    QTest::newRow("replace") << PutCalculation::ReplaceRow << 1 << "61";
    QTest::newRow("add") << PutCalculation::AddRow << 2 << "60";
    QTest::newRow("cancel") << PutCalculation::Cancel << 1 << "60";
}

// Sent once as a new row, then again after a change: the second time the row it came from is
// there, and the answer decides.
void TestScheduleWindow::calculationToTheSchedule()
{
    QFETCH(PutCalculation, answer);
    QFETCH(int, rows);
    QFETCH(QString, firstSpan);
    Harness h;
    h.putAnswer = answer;
    h.form->field("Prolet")->setText(QStringLiteral("60"));
    h.form->form->menu().toSchedule->trigger();
    ScheduleWindow &window = *h.form->form->scheduleLink().window();
    QVERIFY(window.isVisible());
    const int prolet = h.column(window, InputField::SpanLength);
    QCOMPARE(window.model().rowCount(), 1);
    QCOMPARE(cell(window, 0, prolet), QStringLiteral("60"));
    QVERIFY(h.putQuestions.isEmpty()); // a new row needs no question
    h.form->field("Prolet")->setText(QStringLiteral("61"));
    h.form->form->menu().toSchedule->trigger();
    QCOMPARE(h.putQuestions, QList<int> { 1 });
    QCOMPARE(window.model().rowCount(), rows);
    QCOMPARE(cell(window, 0, prolet), firstSpan);
}

void TestScheduleWindow::rowToTheMainWindow()
{
    Harness h;
    ScheduleWindow &window = h.open();
    addRows(window, 2);
    const int prolet = h.column(window, InputField::SpanLength);
    const int support = window.model().columnOf({ ScheduleCell::Kind::Support });
    window.filterModel().setData(window.filterModel().index(1, prolet), QStringLiteral("47,5"));
    window.filterModel().setData(window.filterModel().index(1, support), QStringLiteral("17а"));
    window.table()->setCurrentIndex(window.filterModel().index(1, 0));
    window.menu().openInMainWindow->trigger();
    QCOMPARE(h.form->field("Prolet")->text(), QStringLiteral("47,5"));
    QCOMPARE(h.form->form->document().title().support, QStringLiteral("17а"));
    QVERIFY(h.form->form->document().filePath().isEmpty());
    QVERIFY(!h.form->form->document().isModified());
    // Back again: the row it came from is offered for replacing.
    h.form->field("Prolet")->setText(QStringLiteral("48"));
    h.form->form->menu().toSchedule->trigger();
    QCOMPARE(h.putQuestions, QList<int> { 2 });
    QCOMPARE(cell(window, 1, prolet), QStringLiteral("48"));
}

void TestScheduleWindow::chartClickSelectsTheRow()
{
    Harness h;
    ScheduleWindow &window = h.open();
    addRows(window, 4);
    QTRY_VERIFY(window.isComputed());
    ScheduleChartView *chart = window.chart();
    QTRY_COMPARE(chart->chart().bars.size(), std::size_t(4));
    int x = 0;
    while (x < chart->width() && chart->rowAt(x) != 2)
        ++x;
    QVERIFY(x < chart->width());
    QTest::mouseClick(chart, Qt::LeftButton, {}, QPoint(x + 2, chart->height() / 2));
    QCOMPARE(window.filterModel().mapToSource(window.table()->currentIndex()).row(), 2);
}

void TestScheduleWindow::closingAsksAboutUnsavedWork_data()
{
    QTest::addColumn<bool>("edited");
    QTest::addColumn<UnsavedChanges>("answer");
    QTest::addColumn<int>("questions");
    QTest::addColumn<bool>("stillOpen");

    QTest::newRow("nothing edited") << false << UnsavedChanges::Cancel << 0 << false;
    QTest::newRow("cancel") << true << UnsavedChanges::Cancel << 1 << true;
    QTest::newRow("discard") << true << UnsavedChanges::Discard << 1 << false;
}

void TestScheduleWindow::closingAsksAboutUnsavedWork()
{
    QFETCH(bool, edited);
    QFETCH(UnsavedChanges, answer);
    QFETCH(int, questions);
    QFETCH(bool, stillOpen);
    Harness h;
    h.unsavedAnswer = answer;
    ScheduleWindow &window = h.open();
    if (edited)
        addRows(window, 1);
    window.menu().close->trigger();
    QCOMPARE(h.unsavedQuestions, questions);
    QCOMPARE(window.isVisible(), stillOpen);
    // Closing the main window asks first as well.
    if (stillOpen) {
        h.form->form->close();
        QCOMPARE(h.unsavedQuestions, 2);
        QVERIFY(window.isVisible());
    }
}

void TestScheduleWindow::pdfPagesAndHeader()
{
    Harness h;
    ScheduleWindow &window = h.open();
    addRows(window, 70);
    QTRY_VERIFY(window.isComputed());
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("ведомость.pdf"));
    QVERIFY(window.document().exportFile(path));
    QVERIFY(h.form->messages.empty());
    const QString info = runPoppler(QStringLiteral("pdfinfo"), { path });
    const QRegularExpressionMatch pages
        = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(info);
    QVERIFY(pages.hasMatch());
    const int count = pages.captured(1).toInt();
    QVERIFY2(count >= 2, qPrintable(info)); // 70 rows do not fit one page
    QVERIFY(
        info.contains(QStringLiteral("landscape")) || info.contains(QStringLiteral("842 x 595")));
    const QStringList texts = pdfText(path).split(QLatin1Char('\f'), Qt::SkipEmptyParts);
    QCOMPARE(texts.size(), count);
    for (int page = 0; page < count; ++page) {
        QVERIFY2(texts[page].contains(QStringLiteral("стр. %1 из %2").arg(page + 1).arg(count)),
            qPrintable(texts[page]));
        QVERIFY(texts[page].contains(QStringLiteral("Опора")) || page == count - 1);
    }
    QVERIFY(texts[0].contains(QStringLiteral("Ведомость опор")));
    QVERIFY(texts.last().contains(QStringLiteral("Наибольший расчетный момент")));
    QVERIFY(texts.last().contains(QStringLiteral("Опор в ведомости: 70")));
}

// Saved and opened, or exported and imported, the rows come back; an imported schedule is
// unsaved work, an opened one is not.
void TestScheduleWindow::filesRoundTrip_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("schedule file") << "линия.kelsa-schedule";
    QTest::newRow("CSV") << "линия.csv";
    QTest::newRow("xlsx") << "линия.xlsx";
}

void TestScheduleWindow::filesRoundTrip()
{
    QFETCH(QString, name);
    Harness h;
    ScheduleWindow &window = h.open();
    addRows(window, 2);
    const int prolet = h.column(window, InputField::SpanLength);
    window.filterModel().setData(window.filterModel().index(0, prolet), QStringLiteral("50,5"));
    window.filterModel().setData(
        window.filterModel().index(1, prolet), QStringLiteral("пятьдесят"));
    QTRY_VERIFY(window.isComputed());
    QTemporaryDir dir;
    const QString path = dir.filePath(name);
    const bool own = name.endsWith(QStringLiteral(".kelsa-schedule"));
    QVERIFY(own ? window.document().saveFile(path) : window.document().exportFile(path));
    QVERIFY(h.form->messages.empty());
    window.document().newSchedule();
    QCOMPARE(window.model().rowCount(), 0);
    QVERIFY(own ? window.document().openFile(path) : window.document().importFile(path));
    QVERIFY(h.form->messages.empty());
    QCOMPARE(window.model().rowCount(), 2);
    const int column = h.column(window, InputField::SpanLength);
    QCOMPARE(cell(window, 0, column), QStringLiteral("50,5"));
    QCOMPARE(cell(window, 1, column), QStringLiteral("пятьдесят"));
    QCOMPARE(window.document().isModified(), !own);
    QCOMPARE(window.document().filePath().isEmpty(), !own);
    // A file that is not there: one message naming it, the schedule as it was.
    QVERIFY(!window.document().openFile(dir.filePath(QStringLiteral("нет.kelsa-schedule"))));
    QCOMPARE(h.form->messages.size(), std::size_t(1));
    QVERIFY(h.form->messages.front().text.contains(QStringLiteral("нет.kelsa-schedule")));
    QCOMPARE(window.model().rowCount(), 2);
}

// The sample schedule of five supports: imported, edited, saved, opened again, exported to
// .xlsx (its numbers stored as numbers) and to a PDF. With KELSA_KEEP_OUTPUTS=DIR the PDF is
// kept there as «ведомость.pdf», for the pictures of the documentation.
void TestScheduleWindow::sampleScheduleThroughEveryFile()
{
    Harness h;
    ScheduleWindow &window = h.open();
    QVERIFY(
        window.document().importFile(QStringLiteral(KELSA_SAMPLE_DATA "/../docs/schedule.csv")));
    QVERIFY(h.form->messages.empty());
    QCOMPARE(window.model().rowCount(), 5);
    const int prolet = h.column(window, InputField::SpanLength);
    QVERIFY(prolet >= 0);
    window.filterModel().setData(window.filterModel().index(0, prolet), QStringLiteral("48"));
    QTRY_VERIFY(window.isComputed());
    QTemporaryDir dir;
    const QString saved = dir.filePath(QStringLiteral("линия.kelsa-schedule"));
    QVERIFY(window.document().saveFile(saved));
    window.document().newSchedule();
    QVERIFY(window.document().openFile(saved));
    QTRY_VERIFY(window.isComputed());
    QCOMPARE(window.model().rowCount(), 5);
    QCOMPARE(cell(window, 0, prolet), QStringLiteral("48"));

    const QString workbook = dir.filePath(QStringLiteral("ведомость.xlsx"));
    QVERIFY(window.document().exportFile(workbook));
    const QString sheet = runPoppler(QStringLiteral("unzip"),
        { QStringLiteral("-p"), workbook, QStringLiteral("xl/worksheets/sheet1.xml") });
    // The span of the first support, 48, is a number cell: a value with no text type.
    QVERIFY2(QRegularExpression(QStringLiteral("<c r=\"[A-Z]+2\"[^>]*><v>48</v></c>"))
                 .match(sheet)
                 .hasMatch(),
        qPrintable(sheet.left(2000)));
    QVERIFY(!sheet.contains(QStringLiteral("t=\"str\"><v>48<")));

    const QString pdf = dir.filePath(QStringLiteral("ведомость.pdf"));
    QVERIFY(window.document().exportFile(pdf));
    QVERIFY(h.form->messages.empty());
    const QString text = pdfText(pdf);
    QVERIFY(text.contains(QStringLiteral("Опор в ведомости: 5")));
    // Every cell whole, however long: the support's name, the captions, the governing moment's
    // name and each error, none cut or elided.
    const QString flowing = text.simplified();
    QVERIFY(!text.contains(QChar(0x2026)));
    QVERIFY(flowing.contains(QStringLiteral("16 (анкерная)")));
    QVERIFY(flowing.contains(QStringLiteral("Использование, %")));
    int governing = 0;
    while (window.model().column(governing).kind != ScheduleModel::ColumnKind::Governing)
        ++governing;
    int reasons = 0;
    for (int row = 0; row < window.model().rowCount(); ++row) {
        QVERIFY(flowing.contains(cell(window, row, governing)));
        for (const QString &reason : window.model().result(row).reasons) {
            QVERIFY2(flowing.contains(reason.simplified()), qPrintable(reason));
            ++reasons;
        }
    }
    QVERIFY(reasons > 0); // the sample has a support without a span
    const QString keep = qEnvironmentVariable("KELSA_KEEP_OUTPUTS");
    if (!keep.isEmpty()) {
        QFile::remove(keep + QStringLiteral("/ведомость.pdf"));
        QVERIFY(QFile::copy(pdf, keep + QStringLiteral("/ведомость.pdf")));
    }
}

QTEST_MAIN(TestScheduleWindow)
#include "test_schedulewindow.moc"
