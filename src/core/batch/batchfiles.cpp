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
    QFile input(inputPath);
    if (QFileInfo(inputPath).isDir() || !input.open(QIODevice::ReadOnly))
        return QStringLiteral("%1: cannot read: %2")
            .arg(inputPath,
                QFileInfo(inputPath).isDir() ? QStringLiteral("a folder") : input.errorString());
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
