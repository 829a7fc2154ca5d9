// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/batch/batchfiles.h"

#include "core/platform/outputfile.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>

namespace kelsa
{

namespace
{

QString cannotRead(const QString &path, const QString &reason)
{
    return QStringLiteral("%1: не удается прочитать: %2").arg(path, reason);
}

QString cannotWrite(const QString &path, const QString &reason)
{
    return QStringLiteral("%1: не удается записать: %2").arg(path, reason);
}

// Why a schedule that exists as a file did not open: the usual reason in Kelsa's own words,
// any other as Qt gives it.
QString openFailure(const QFileInfo &info, const QFile &file)
{
    if (!info.exists())
        return systemErrorText(ENOENT);
    if (!info.isReadable())
        return systemErrorText(EACCES);
    return file.errorString();
}

} // namespace

QString runBatchFiles(const QString &inputPath, const QString &outputPath,
    const BatchSettings &settings, BatchSummary *summary)
{
    // A schedule is a file on disk. A FIFO would keep the run waiting for a writer, and a
    // device such as /dev/zero never ends: both are refused before they are opened.
    const QFileInfo inputInfo(inputPath);
    if (inputInfo.exists() && !inputInfo.isFile())
        return cannotRead(inputPath,
            inputInfo.isDir() ? QStringLiteral("это папка")
                              : QStringLiteral("это не обычный файл (FIFO, устройство или сокет)"));
    QFile input(inputPath);
    if (!input.open(QIODevice::ReadOnly))
        return cannotRead(inputPath, openFailure(inputInfo, input));
    OutputFile output(outputPath, { inputPath });
    if (!output.open())
        return cannotWrite(outputPath, output.errorString());
    const BatchResult result = runBatch(input, output, settings);
    if (const auto *problem = std::get_if<BatchProblem>(&result)) {
        output.cancel();
        if (problem->line == 0)
            return cannotWrite(outputPath, problem->text);
        return QStringLiteral("%1:%2: %3")
            .arg(inputPath, QString::number(problem->line), problem->text);
    }
    if (!output.commit())
        return cannotWrite(outputPath, output.errorString());
    if (summary)
        *summary = std::get<BatchSummary>(result);
    return {};
}

} // namespace kelsa
