// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/report/reportdialog.h"

#include "gui/report/reportdocument.h"
#include "gui/widgets/services.h"

#include <QClipboard>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMessageBox>

namespace kelsa
{

namespace
{

void savePdf(QWidget *parent, const ReportInput &input)
{
    QString path = QFileDialog::getSaveFileName(parent, QStringLiteral("Сохранить отчет в PDF"),
        QDir::home().filePath(QStringLiteral("отчет.pdf")), QStringLiteral("PDF (*.pdf)"));
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".pdf");
    const QString problem = writeReportPdf(input, path);
    if (problem.isEmpty())
        return;
    // The program's message box, which shows the file's name as plain text.
    messageBoxSink(parent)(QStringLiteral("Kelsa"),
        QStringLiteral("Отчет не сохранен в файл %1: %2")
            .arg(QDir::toNativeSeparators(path), problem));
}

// Without the preview the report can still be had as a PDF: the user is told why there is no
// preview and asked whether to save one.
void offerPdfInstead(QWidget *parent, const ReportInput &input, const QString &why)
{
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Kelsa"),
        QStringLiteral("Предварительный просмотр и печать отчета недоступны: %1.\n\n"
                       "Сохранить отчет в PDF?")
            .arg(why),
        QMessageBox::Yes | QMessageBox::No, parent);
    box.setObjectName(QStringLiteral("ReportPreviewUnavailable"));
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(QMessageBox::Yes);
    if (box.exec() == QMessageBox::Yes)
        savePdf(parent, input);
}

} // namespace

void showReportPreview(QWidget *parent, const ReportInput &input)
{
    showReportPreview(parent, input, printPreviewLibrary());
}

void showReportPreview(
    QWidget *parent, const ReportInput &input, const PrintPreviewLibrary &library)
{
    if (!library.show) {
        offerPdfInstead(parent, input, library.error);
        return;
    }
    PrintPreviewRequest request;
    request.parent = parent;
    request.objectName = QStringLiteral("ReportPreview");
    request.windowTitle = QStringLiteral("Отчет о расчете");
    request.documentName = QStringLiteral("Расчет изгибающих моментов опоры");
    request.setUpPage = [](QPagedPaintDevice &printer) { setReportPage(printer); };
    // Laid out afresh for the printer as it is now: the preview's page setup may have changed it.
    request.print
        = [&input](QPagedPaintDevice &printer) { PrintedReport(input, printer).print(printer); };
    request.tools = {
        { QStringLiteral("saveReportPdf"), QStringLiteral("Сохранить PDF…"),
            [&input](QWidget *preview) { savePdf(preview, input); } },
        { QStringLiteral("copyReportText"), QStringLiteral("Копировать текст"),
            [&input](
                QWidget *) { QGuiApplication::clipboard()->setText(reportPlainText(input)); } },
    };
    library.show(request);
}

} // namespace kelsa
