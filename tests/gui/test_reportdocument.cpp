// SPDX-License-Identifier: GPL-3.0-or-later
// The printed report: a PDF that poppler renders and reads back, a failed write that leaves no
// file, kelsa --report from a saved calculation, and the wiring of the preview's and the title
// block's dialogs.
#include "core/document/calculationfile.h"
#include "gui/report/reportdialog.h"
#include "gui/report/reportdocument.h"
#include "gui/report/titledialog.h"
#include "program/reportcommand.h"
#include "support/helpexample.h"
#include "support/poppler.h"

#include <QAction>
#include <QBuffer>
#include <QPdfWriter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>
#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>

using namespace kelsa;

Q_DECLARE_METATYPE(kelsa::ReportInput)

namespace
{

// Calls `act` on the modal dialog once it is shown.
void whenModalShown(std::function<void(QDialog *)> act)
{
    QTimer::singleShot(0, [act = std::move(act)] {
        auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        act(dialog);
    });
}

// Every moment computed from the help page's example with the messenger's tension, the
// transition support switched on: a drawing for each ordinary moment and for the governing
// transition moment.
ReportInput everyMomentComputed(const QString &sectionOption)
{
    const QLocale ru(QLocale::Russian, QLocale::Russia);
    ReportInput input = test::helpPageReport();
    Calculation &calculation = input.saved.calculation;
    calculation.setText(u"Text1", QStringLiteral("1500"));
    calculation.setText(u"Text4", QStringLiteral("1000"));
    calculation.selectOption(sectionOption);
    calculation.selectOption(u"Option21");
    for (const MomentInfo &info : moments())
        input.saved.result(info.moment)
            = { resultLabelText(computeMoment(calculation, info.moment, ru), ru), std::nullopt };
    return input;
}

} // namespace

class TestReportDocument : public QObject
{
    Q_OBJECT

private slots:
    void pdfRendersAndReadsBack();
    void pagesKeepHeadingsWithTheirText_data();
    void pagesKeepHeadingsWithTheirText();
    void tableHeadersRepeatOnEveryPage();
    void failedWriteLeavesNoFile_data();
    void failedWriteLeavesNoFile();
    void reportCommand_data();
    void reportCommand();
    void previewCopiesTheText();
    void previewLibrary_data();
    void previewLibrary();
    void withoutThePreviewOffersPdf_data();
    void withoutThePreviewOffersPdf();
    void titleDialog_data();
    void titleDialog();
};

void TestReportDocument::pdfRendersAndReadsBack()
{
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("отчет.pdf"));
    QCOMPARE(writeReportPdf(test::helpPageReport(), pdf), QString());
    test::runPoppler(QStringLiteral("pdftoppm"),
        { QStringLiteral("-png"), QStringLiteral("-r"), QStringLiteral("30"), pdf,
            dir.filePath(QStringLiteral("page")) });
    QVERIFY(QFile::exists(dir.filePath(QStringLiteral("page-1.png"))));
    // The Cyrillic text is there as text, not only as shapes.
    const QString text = test::pdfText(pdf);
    for (const char *expected :
        { "Перегон Лесная — Озерная", "1856,95 кгс·м = 18,21 кН·м", "не вычислен" })
        QVERIFY2(text.contains(QString::fromUtf8(expected)), qPrintable(text));
}

// Read back page by page: no page ends with a heading, a moment's drawing stands on the page of
// its heading, and every page's foot names the object, the support and the page.
void TestReportDocument::pagesKeepHeadingsWithTheirText_data()
{
    QTest::addColumn<ReportInput>("input");
    QTest::newRow("help page") << test::helpPageReport();
    QTest::newRow("every moment, straight") << everyMomentComputed(QStringLiteral("Option18"));
    QTest::newRow("every moment, outer curve") << everyMomentComputed(QStringLiteral("Option19"));
    ReportInput longTitle = everyMomentComputed(QStringLiteral("Option20"));
    longTitle.saved.title.object = QStringLiteral("Перегон Лесная — Озерная, ") + QString(60, u'ж');
    QTest::newRow("inner curve, long object") << longTitle;
}

void TestReportDocument::pagesKeepHeadingsWithTheirText()
{
    QFETCH(ReportInput, input);
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("отчет.pdf"));
    QCOMPARE(writeReportPdf(input, pdf), QString());
    const QString info = test::runPoppler(QStringLiteral("pdfinfo"), { pdf });
    const int pages
        = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(info).captured(1).toInt();
    QVERIFY(pages > 1);

    QStringList headings;
    QStringList drawn;
    for (const ReportBlock &block : buildReport(input)) {
        if (block.kind == ReportBlock::Kind::Section || block.kind == ReportBlock::Kind::Subsection)
            headings << block.text;
        if (block.kind == ReportBlock::Kind::Scheme)
            drawn << block.scheme->heading;
    }
    QVERIFY(!drawn.isEmpty());
    const QString footer = reportFooterTitle(input).left(40);
    QStringList drawnOnTheirPages;
    for (int page = 1; page <= pages; ++page) {
        const QString number = QString::number(page);
        const QString text = test::runPoppler(QStringLiteral("pdftotext"),
            { QStringLiteral("-layout"), QStringLiteral("-f"), number, QStringLiteral("-l"), number,
                pdf, QStringLiteral("-") });
        QVERIFY2(text.contains(reportPageNumber(page, pages)), qPrintable(text));
        QVERIFY2(text.contains(footer), qPrintable(text));
        QStringList lines;
        for (const QString &line : text.split(QLatin1Char('\n')))
            if (!line.trimmed().isEmpty() && !line.contains(reportPageNumber(page, pages))
                && !footer.startsWith(line.trimmed().left(40)))
                lines << line.trimmed();
        QVERIFY(!lines.isEmpty());
        QVERIFY2(!headings.contains(lines.last()), qPrintable(lines.last()));
        for (const QString &heading : drawn)
            if (lines.contains(QStringLiteral("Схема нагрузок опоры (%1)").arg(heading))
                && lines.contains(heading))
                drawnOnTheirPages << heading;
    }
    QCOMPARE(drawnOnTheirPages, drawn);
}

// The layout repeats a table's header rows at the top of each page the table runs on; every
// table of the report that has a header row says so.
void TestReportDocument::tableHeadersRepeatOnEveryPage()
{
    const ReportInput input = everyMomentComputed(QStringLiteral("Option18"));
    QBuffer pdf;
    QVERIFY(pdf.open(QIODevice::WriteOnly));
    QPdfWriter writer(&pdf);
    setReportPage(writer);
    const PrintedReport report(input, writer);
    QStringList repeated;
    for (auto it = report.document().rootFrame()->begin(); !it.atEnd(); ++it)
        if (const auto *table = qobject_cast<QTextTable *>(it.currentFrame()))
            if (table->format().headerRowCount() == 1)
                repeated << table->cellAt(0, 1).firstCursorPosition().block().text();
    QStringList headers;
    for (const ReportBlock &block : buildReport(input))
        if (block.header)
            headers << block.rows.front().value(1);
    QCOMPARE(repeated, headers);
}

void TestReportDocument::failedWriteLeavesNoFile_data()
{
    // The folder holds the calculation's own file, опора.kelsa, and a link to it.
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("problem");
    QTest::newRow("missing folder") << "нет такой папки/отчет.pdf"
                                    << "не удается создать файл: нет такого файла или папки";
    QTest::newRow("a folder's name") << "."
                                     << "не удается создать файл: это папка, а не файл";
    QTest::newRow("the calculation's own file")
        << "опора.kelsa"
        << "это файл самого расчета, отчет не записан поверх него";
    QTest::newRow("a link to the calculation's file")
        << "ссылка.pdf"
        << "это файл самого расчета, отчет не записан поверх него";
}

void TestReportDocument::failedWriteLeavesNoFile()
{
    QFETCH(QString, name);
    QFETCH(QString, problem);
    QTemporaryDir dir;
    ReportInput input = test::helpPageReport();
    input.calculationPath = dir.filePath(QStringLiteral("опора.kelsa"));
    QCOMPARE(writeCalculationFile(input.calculationPath, input.saved), QString());
    QVERIFY(QFile::link(input.calculationPath, dir.filePath(QStringLiteral("ссылка.pdf"))));
    QFile calculation(input.calculationPath);
    QVERIFY(calculation.open(QIODevice::ReadOnly));
    const QByteArray saved = calculation.readAll();
    calculation.close();
    const QStringList before = QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden);
    QCOMPARE(writeReportPdf(input, dir.filePath(name)), problem);
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden), before);
    QVERIFY(calculation.open(QIODevice::ReadOnly));
    QCOMPARE(calculation.readAll(), saved);
    QVERIFY(QFileInfo(dir.filePath(QStringLiteral("ссылка.pdf"))).isSymLink());
}

void TestReportDocument::reportCommand_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("output");
    QTest::addColumn<int>("exitCode");
    QTest::newRow("saved calculation") << "опора.kelsa"
                                       << "отчет.pdf" << 0;
    QTest::newRow("no such file") << "нет.kelsa"
                                  << "отчет.pdf" << 1;
    QTest::newRow("not a calculation") << "не расчет.kelsa"
                                       << "отчет.pdf" << 1;
    QTest::newRow("output in a missing folder") << "опора.kelsa"
                                                << "нет папки/отчет.pdf" << 1;
}

void TestReportDocument::reportCommand()
{
    QFETCH(QString, input);
    QFETCH(QString, output);
    QFETCH(int, exitCode);
    QTemporaryDir dir;
    QCOMPARE(writeCalculationFile(
                 dir.filePath(QStringLiteral("опора.kelsa")), test::helpPageReport().saved),
        QString());
    QFile notCalculation(dir.filePath(QStringLiteral("не расчет.kelsa")));
    QVERIFY(notCalculation.open(QIODevice::WriteOnly));
    notCalculation.write("{\"format\": \"something else\"}");
    notCalculation.close();
    QCOMPARE(runReportCommand(dir.filePath(input), dir.filePath(output)), exitCode);
    QCOMPARE(QFile::exists(dir.filePath(output)), exitCode == 0);
}

void TestReportDocument::previewCopiesTheText()
{
    QApplication::clipboard()->clear();
    const ReportInput input = test::helpPageReport();
    whenModalShown([](QDialog *dialog) {
        QCOMPARE(dialog->objectName(), QStringLiteral("ReportPreview"));
        QVERIFY(dialog->findChild<QAction *>(QStringLiteral("saveReportPdf")));
        auto *copy = dialog->findChild<QAction *>(QStringLiteral("copyReportText"));
        QVERIFY(copy);
        copy->trigger();
        dialog->reject();
    });
    showReportPreview(nullptr, input);
    QCOMPARE(QApplication::clipboard()->text(), reportPlainText(input));
}

// The preview library is found beside the program; a file that is not there, is no library, or
// lacks the preview's function is refused with the file's name and the reason.
void TestReportDocument::previewLibrary_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("reason"); // empty: loaded
    QTest::newRow("the program's own") << printPreviewLibraryPath() << QString();
    QTest::newRow("no such file") << QStringLiteral("/нет/такой/kelsa-print-preview.so")
                                  << QStringLiteral("нет файла");
    QTest::newRow("not a library") << QStringLiteral(KELSA_FIXTURES "/не книга.xls")
                                   << QStringLiteral("не удается загрузить библиотеку: ");
    QTest::newRow("a library without the preview")
        << QLibraryInfo::path(QLibraryInfo::LibrariesPath) + QStringLiteral("/libQt6Test.so.6")
        << QStringLiteral("нет функции kelsaShowPrintPreview");
}

void TestReportDocument::previewLibrary()
{
    QFETCH(QString, path);
    QFETCH(QString, reason);
    const PrintPreviewLibrary library = loadPrintPreviewLibrary(path);
    QCOMPARE(library.show != nullptr, reason.isEmpty());
    if (reason.isEmpty()) {
        QCOMPARE(library.error, QString());
        return;
    }
    QVERIFY2(library.error.contains(reason), qPrintable(library.error));
    QVERIFY2(library.error.contains(QDir::toNativeSeparators(path)), qPrintable(library.error));
}

// Without the library the report is not lost: the user is told why and asked about a PDF; «Да»
// opens the dialog that saves one, «Нет» leaves it at that.
void TestReportDocument::withoutThePreviewOffersPdf_data()
{
    QTest::addColumn<bool>("savePdf");
    QTest::newRow("Да: the PDF's file dialog") << true;
    QTest::newRow("Нет: nothing more") << false;
}

void TestReportDocument::withoutThePreviewOffersPdf()
{
    QFETCH(bool, savePdf);
    const PrintPreviewLibrary missing { nullptr, QStringLiteral("нет файла") };
    QString asked;
    bool fileDialogShown = false;
    whenModalShown([&](QDialog *dialog) {
        auto *box = qobject_cast<QMessageBox *>(dialog);
        QVERIFY(box);
        QCOMPARE(box->objectName(), QStringLiteral("ReportPreviewUnavailable"));
        asked = box->text();
        if (savePdf)
            whenModalShown([&](QDialog *next) {
                fileDialogShown = next->windowTitle() == QStringLiteral("Сохранить отчет в PDF");
                next->reject();
            });
        box->button(savePdf ? QMessageBox::Yes : QMessageBox::No)->click();
    });
    showReportPreview(nullptr, test::helpPageReport(), missing);
    QCOMPARE(asked,
        QStringLiteral("Предварительный просмотр и печать отчета недоступны: нет файла.\n\n"
                       "Сохранить отчет в PDF?"));
    QCOMPARE(fileDialogShown, savePdf);
}

void TestReportDocument::titleDialog_data()
{
    QTest::addColumn<bool>("accept");
    QTest::addColumn<bool>("entered");
    QTest::newRow("OK gives the edited block") << true << true;
    QTest::newRow("cancel gives nothing") << false << false;
}

void TestReportDocument::titleDialog()
{
    QFETCH(bool, accept);
    QFETCH(bool, entered);
    const ReportTitle start { QStringLiteral("Станция"), QStringLiteral("5"), QString() };
    whenModalShown([accept](QDialog *dialog) {
        auto *object = dialog->findChild<QLineEdit *>(QStringLiteral("object"));
        auto *author = dialog->findChild<QLineEdit *>(QStringLiteral("author"));
        QVERIFY(object && author);
        QCOMPARE(object->text(), QStringLiteral("Станция"));
        object->setText(QStringLiteral(" Станция Озерная "));
        author->setText(QStringLiteral("Петров П. П."));
        auto *buttons = dialog->findChild<QDialogButtonBox *>();
        buttons->button(accept ? QDialogButtonBox::Ok : QDialogButtonBox::Cancel)->click();
    });
    const std::optional<ReportTitle> title = editReportTitle(nullptr, start);
    QCOMPARE(title.has_value(), entered);
    if (entered)
        QCOMPARE(*title,
            (ReportTitle { QStringLiteral("Станция Озерная"), QStringLiteral("5"),
                QStringLiteral("Петров П. П.") }));
}

QTEST_MAIN(TestReportDocument)
#include "test_reportdocument.moc"
