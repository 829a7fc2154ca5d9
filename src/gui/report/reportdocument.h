// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/report/calculationreport.h"

#include <QString>

#include <memory>
#include <vector>

class QPagedPaintDevice;
class QTextDocument;

namespace kelsa
{

class SchemeObjects;

// Sets a printer or PDF writer to the report's page: A4 portrait with its margins.
void setReportPage(QPagedPaintDevice &device);

// The calculation report laid out on the pages of one device set up with setReportPage: the
// engine's HTML in the report's font, the drawings of the support in their places, a page
// break before any heading that would end a page or any section (a moment's breakdown with its
// drawing, an input table with its heading) that would run over a page break while it fits on
// one page, table headers repeated on every page, and under every page the title block's object
// and support and «стр. N из M».
class PrintedReport
{
public:
    PrintedReport(const ReportInput &input, QPagedPaintDevice &device);
    ~PrintedReport();
    PrintedReport(const PrintedReport &) = delete;
    PrintedReport &operator=(const PrintedReport &) = delete;

    int pageCount() const;
    const QTextDocument &document() const { return *m_document; }

    // Paints every page on the device it was laid out for, or on one of the same page and
    // resolution (the print preview's printer).
    void print(QPagedPaintDevice &device) const;

private:
    void keepSectionsTogether();

    QString m_footerTitle;
    double m_bodyHeight; // device pixels of text on a page, above the footer
    double m_footerHeight;
    std::unique_ptr<SchemeObjects> m_schemes; // outlives the document that draws them
    std::unique_ptr<QTextDocument> m_document;
};

// Writes the report of `input` as a PDF through OutputFile: a file appears only once it is
// written whole, and an old file of that name stays as it was on failure; a FIFO, a character
// device or "-" takes it as a stream. The calculation's own file (input.calculationPath) is
// never written over. Returns what went wrong, without the file's name, or the empty text.
// Needs a QGuiApplication.
QString writeReportPdf(const ReportInput &input, const QString &path);

} // namespace kelsa
