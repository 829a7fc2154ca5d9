// SPDX-License-Identifier: GPL-3.0-or-later
#include "program/batchcommand.h"

#include "core/batch/batchfiles.h"

#include <QFileInfo>
#include <QTextStream>

#include <cstdio>
#include <unistd.h>

namespace kelsa
{

int runBatchCommand(const QString &inputPath, const QString &outputPath,
    std::optional<QChar> decimalSeparator, std::optional<TextEncoding> encoding)
{
    QTextStream err(stderr);
    const qint64 inputSize = QFileInfo(inputPath).size();
    // On a terminal the progress line is rewritten in place; in a log each is a line of its own.
    const bool terminal = isatty(fileno(stderr));
    bool progressShown = false;
    BatchSettings settings { localeForDecimal(decimalSeparator), {} };
    settings.encoding = encoding;
    settings.progress = [&](qint64 rows, qint64 bytesRead) {
        const int percent = inputSize > 0 ? int(100 * bytesRead / inputSize) : 100;
        err << (terminal ? "\r" : "")
            << QStringLiteral("kelsa: %1: %2 rows, %3 %").arg(inputPath).arg(rows).arg(percent)
            << (terminal ? "" : "\n");
        err.flush();
        progressShown = true;
    };
    BatchSummary summary;
    const QString problem = runBatchFiles(inputPath, outputPath, settings, &summary);
    if (progressShown && terminal)
        err << "\n";
    if (!problem.isEmpty()) {
        err << QStringLiteral("kelsa: ") << problem << Qt::endl;
        return 1;
    }
    err << QStringLiteral("kelsa: %1: %2 rows in %3 computed into %4")
               .arg(inputPath)
               .arg(summary.rows)
               .arg(encodingName(summary.encoding), outputPath);
    if (summary.rowsWithErrors > 0)
        err << QStringLiteral("; %1 with moments without value (see the column \"errors\")")
                   .arg(summary.rowsWithErrors);
    err << Qt::endl;
    return 0;
}

} // namespace kelsa
