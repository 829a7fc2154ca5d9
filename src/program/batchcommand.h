// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/batch/textencoding.h"

#include <QChar>
#include <QString>

#include <optional>

namespace kelsa
{

// kelsa --batch IN.csv OUT.csv [--decimal . | ,] [--encoding utf-8 | windows-1251]: computes
// one support per row of IN.csv into OUT.csv (see core/batch/batchrun.h), numbers in the given
// decimal separator or the user's locale's, text in the given encoding or the table's own.
// Progress goes to the error stream (progressline.h), a summary at the end, both in Russian.
// OUT.csv "-" is the standard output; a FIFO or a device is written as a stream, and an OUT.csv
// that is IN.csv under any name is refused. Returns the exit code; a file that cannot be read or
// written, or a malformed table, is told in one line naming the file and its line, and OUT.csv
// is left as it was. Each row's support type is checked against the catalogue of the tables
// folder; without one, the summary says so.
int runBatchCommand(const QString &inputPath, const QString &outputPath,
    std::optional<QChar> decimalSeparator, std::optional<TextEncoding> encoding,
    const QString &tablesFolder);

} // namespace kelsa
