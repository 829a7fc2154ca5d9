// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/report/reportdocument.h"

#include "core/platform/outputfile.h"

#include <QFont>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPdfWriter>
#include <QTextDocument>

namespace kelsa
{

namespace
{

// Liberation Sans is installed with the program and has the Cyrillic letters; the platform's
// sans-serif stands in where it is missing.
QFont reportFont()
{
    QFont font(QStringLiteral("Liberation Sans"), 10);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

} // namespace

std::unique_ptr<QTextDocument> makeReportDocument(const ReportInput &input)
{
    auto document = std::make_unique<QTextDocument>();
    document->setDefaultFont(reportFont());
    document->setDocumentMargin(0);
    document->setHtml(reportHtml(input));
    document->setMetaInformation(
        QTextDocument::DocumentTitle, QStringLiteral("Расчет изгибающих моментов опоры"));
    return document;
}

void setReportPage(QPagedPaintDevice &device)
{
    // QTextDocument::print() keeps 2 cm of the page free on every side and puts the page
    // number into the bottom one; the page's own margins add 5 mm on the left for binding.
    device.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
        QMarginsF(5, 0, 0, 0), QPageLayout::Millimeter));
}

void printReport(const QTextDocument &document, QPagedPaintDevice &device)
{
    // QTextDocument lays itself out on the device's pages and numbers them.
    document.print(&device);
}

QString writeReportPdf(const ReportInput &input, const QString &path)
{
    OutputFile file(path,
        input.calculationPath.isEmpty() ? QStringList() : QStringList { input.calculationPath });
    if (!file.open()) {
        if (file.failure().kind == OutputFailure::Kind::SameAsInput)
            return QStringLiteral("это файл самого расчета, отчет не записан поверх него");
        return QStringLiteral("не удается создать файл: %1").arg(file.errorString());
    }
    // QPdfWriter writes front to back without seeking, so a FIFO or the standard output takes
    // the PDF as well as a file does.
    {
        QPdfWriter writer(&file);
        writer.setCreator(QStringLiteral("Kelsa"));
        writer.setTitle(QStringLiteral("Расчет изгибающих моментов опоры"));
        writer.setResolution(300);
        setReportPage(writer);
        const auto document = makeReportDocument(input);
        printReport(*document, writer);
    }
    if (!file.commit())
        return QStringLiteral("не удается записать файл: %1").arg(file.errorString());
    return {};
}

} // namespace kelsa
