// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/report/calculationreport.h"

#include <QString>

#include <memory>

class QPagedPaintDevice;
class QTextDocument;

namespace kelsa
{

// The calculation report as a printable document: the engine's HTML in the report's font,
// laid out on A4 pages.
std::unique_ptr<QTextDocument> makeReportDocument(const ReportInput &input);

// Sets a printer or PDF writer to the report's page: A4 portrait with its margins.
void setReportPage(QPagedPaintDevice &device);

// Prints the document on a device set up with setReportPage, page numbers included.
void printReport(const QTextDocument &document, QPagedPaintDevice &device);

// Writes the report of `input` as a PDF through OutputFile: a file appears only once it is
// written whole, and an old file of that name stays as it was on failure; a FIFO, a character
// device or "-" takes it as a stream. The calculation's own file (input.calculationPath) is
// never written over. Returns what went wrong, without the file's name, or the empty text.
// Needs a QGuiApplication.
QString writeReportPdf(const ReportInput &input, const QString &path);

} // namespace kelsa
