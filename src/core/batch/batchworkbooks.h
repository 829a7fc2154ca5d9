// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// kelsa --batch with workbooks: an .xlsx or .ods table read (its first sheet, the heading row
// named as a CSV's header is, or as the export heads it: "Длина прол., м [Prolet]") and the
// result written as an .xlsx workbook when OUT ends in .xlsx (tableworkbook.h). The run itself
// is runBatch(), unchanged: the sheet's rows become CSV text in memory, and the CSV it writes
// becomes the workbook's rows. Any other pair of names goes to runBatchFiles().
//
// Memory is bounded by the input: a workbook is read whole in the workbook reader's isolated
// child (at most 64 MB and 65,536 rows), and a CSV whose result goes to .xlsx may be at most
// kLargestCsvForWorkbook bytes, since the result is held in memory before the workbook is
// written; the workbook itself is written a row at a time.
//
// API: runBatchAnyFiles() in place of runBatchFiles(), with the same settings, summary and
// messages.

#include "core/batch/batchrun.h"
#include "core/tables/workbookreader.h"

#include <QString>

namespace kelsa
{

inline constexpr qint64 kLargestCsvForWorkbook = qint64(64) * 1024 * 1024;
// A workbook's first sheet is read up to this many columns; one that fills the last of them
// may have more, and is refused rather than read in part.
inline constexpr int kMostBatchWorkbookColumns = 1024;

bool isWorkbookName(const QString &path); // .xlsx or .ods, in any case

// Why a table workbook could not be read, in the same words for kelsa --batch and the schedule's
// «Импорт»; empty for Ok.
QString workbookReadFailure(SheetReadResult::Status status);

QString runBatchAnyFiles(const QString &inputPath, const QString &outputPath,
    const BatchSettings &settings, BatchSummary *summary = nullptr);

} // namespace kelsa
