// SPDX-License-Identifier: GPL-3.0-or-later
#include "program/batchcommand.h"

#include "core/batch/batchfiles.h"
#include "core/check/checktext.h"
#include "program/messageprinting.h"

#include <QFileInfo>

#include <cstdio>
#include <unistd.h>

namespace kelsa
{

int runBatchCommand(const QString &inputPath, const QString &outputPath,
    std::optional<QChar> decimalSeparator, std::optional<TextEncoding> encoding,
    const QString &tablesFolder)
{
    const qint64 inputSize = QFileInfo(inputPath).size();
    // On a terminal the progress line is rewritten in place; in a log each is a line of its own.
    const bool terminal = isatty(fileno(stderr));
    bool progressShown = false;
    BatchSettings settings { localeForDecimal(decimalSeparator), {} };
    settings.encoding = encoding;
    settings.catalogue = readSupportCatalogue(tablesFolder);
    settings.progress = [&](qint64 rows, qint64 bytesRead) {
        const int percent = inputSize > 0 ? int(100 * bytesRead / inputSize) : 100;
        printMessage(stderr,
            QStringLiteral("kelsa: %1: %2 rows, %3 %")
                .arg(inputPath, QString::number(rows), QString::number(percent)),
            QLatin1StringView(terminal ? "\r" : ""), QLatin1StringView(terminal ? "" : "\n"));
        progressShown = true;
    };
    BatchSummary summary;
    const QString problem = runBatchFiles(inputPath, outputPath, settings, &summary);
    // The line break that ends the progress line, before anything else is said.
    const QLatin1StringView start(progressShown && terminal ? "\n" : "");
    if (!problem.isEmpty()) {
        printMessage(stderr, QStringLiteral("kelsa: ") + problem, start);
        return 1;
    }
    // One arg() for all: a file named "%2.csv" stays as it is named.
    QString done = QStringLiteral("kelsa: %1: %2 rows in %3 computed into %4")
                       .arg(inputPath, QString::number(summary.rows),
                           encodingName(summary.encoding), outputPath);
    if (summary.rowsWithErrors > 0)
        done += QStringLiteral("; %1 with moments without value (see the column \"errors\")")
                    .arg(summary.rowsWithErrors);
    printMessage(stderr, done, start);
    // Without a usable catalogue no row's type was checked: said once, not in every row.
    if (!settings.catalogue.usable())
        printMessage(stderr,
            QStringLiteral("kelsa: %1")
                .arg(checkErrorText(checkSupport(settings.catalogue, {}, QString()),
                    settings.catalogue, QLocale())));
    else if (const QString problems = catalogueReport(settings.catalogue); !problems.isEmpty())
        printMessage(stderr, QStringLiteral("kelsa: ") + problems);
    return 0;
}

} // namespace kelsa
