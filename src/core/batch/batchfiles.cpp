// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/batch/batchfiles.h"

#include "core/platform/outputfile.h"

#include <QFile>
#include <QFileInfo>

namespace kelsa
{

QString runBatchFiles(const QString &inputPath, const QString &outputPath,
    const BatchSettings &settings, BatchSummary *summary)
{
    // A schedule is a file on disk. A FIFO would keep the run waiting for a writer, and a
    // device such as /dev/zero never ends: both are refused before they are opened.
    const QFileInfo inputInfo(inputPath);
    if (inputInfo.exists() && !inputInfo.isFile())
        return QStringLiteral("%1: cannot read: %2")
            .arg(inputPath,
                inputInfo.isDir() ? QStringLiteral("a folder")
                                  : QStringLiteral("not a regular file (a FIFO, a device or a "
                                                   "socket)"));
    QFile input(inputPath);
    if (!input.open(QIODevice::ReadOnly))
        return QStringLiteral("%1: cannot read: %2").arg(inputPath, input.errorString());
    OutputFile output(outputPath, { inputPath });
    if (!output.open())
        return QStringLiteral("%1: cannot write: %2").arg(outputPath, output.errorString());
    const BatchResult result = runBatch(input, output, settings);
    if (const auto *problem = std::get_if<BatchProblem>(&result)) {
        output.cancel();
        if (problem->line == 0)
            return QStringLiteral("%1: cannot write: %2").arg(outputPath, problem->text);
        return QStringLiteral("%1:%2: %3")
            .arg(inputPath, QString::number(problem->line), problem->text);
    }
    if (!output.commit())
        return QStringLiteral("%1: cannot write: %2").arg(outputPath, output.errorString());
    if (summary)
        *summary = std::get<BatchSummary>(result);
    return {};
}

} // namespace kelsa
