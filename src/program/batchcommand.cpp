// SPDX-License-Identifier: GPL-3.0-or-later
#include "program/batchcommand.h"

#include "core/batch/batchworkbooks.h"
#include "core/check/checktext.h"
#include "program/messageprinting.h"
#include "program/progressline.h"

#include <QElapsedTimer>
#include <QFileInfo>

#include <cstdio>
#include <unistd.h>

namespace kelsa
{

int runBatchCommand(const QString &inputPath, const QString &outputPath,
    std::optional<QChar> decimalSeparator, std::optional<TextEncoding> encoding,
    const QString &tablesFolder)
{
    QElapsedTimer clock;
    clock.start();
    ProgressLine progress(inputPath, QFileInfo(inputPath).size(), isatty(fileno(stderr)));
    BatchSettings settings { localeForDecimal(decimalSeparator), {} };
    settings.encoding = encoding;
    settings.catalogue = readSupportCatalogue(tablesFolder);
    settings.progress = [&](qint64 rows, qint64 bytesRead) {
        if (const auto line = progress.update(rows, bytesRead, clock.elapsed()))
            printMessage(stderr, line->text, QLatin1StringView(line->inPlace ? "\r" : ""),
                QLatin1StringView(line->inPlace ? "" : "\n"));
    };
    BatchSummary summary;
    const QString problem = runBatchAnyFiles(inputPath, outputPath, settings, &summary);
    // The line break that ends the progress line on screen, before anything else is said.
    const QLatin1StringView start(progress.lineOpen() ? "\n" : "");
    if (!problem.isEmpty()) {
        printMessage(stderr, QStringLiteral("kelsa: ") + problem, start);
        return 1;
    }
    // One arg() for all: a file named "%2.csv" stays as it is named.
    QString done = QStringLiteral("kelsa: %1: рассчитано строк: %2 (кодировка %3), результат в %4")
                       .arg(inputPath, QString::number(summary.rows),
                           encodingName(summary.encoding), outputPath);
    if (summary.rowsWithErrors > 0)
        done += QStringLiteral("; строк с моментами без значения: %1 (причина — в столбце "
                               "«errors»)")
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
