// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/batch/batchworkbooks.h"

#include "core/batch/batchcolumns.h"
#include "core/batch/batchfiles.h"
#include "core/batch/csvtable.h"
#include "core/platform/outputfile.h"
#include "core/batch/tableworkbook.h"
#include "core/tables/workbookreader.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <limits>
#include <vector>

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

// The first sheet as CSV text, with the sheet row each record starts on by its CSV line (a
// cell with a line break spans lines of the CSV, not of the sheet).
struct SheetAsCsv {
    QByteArray bytes;
    std::vector<std::pair<qint64, qint64>> rowOfLine; // (first CSV line, sheet row), ascending
    QString problem;

    qint64 sheetRow(qint64 line) const
    {
        auto it = std::upper_bound(rowOfLine.begin(), rowOfLine.end(),
            std::pair { line, std::numeric_limits<qint64>::max() });
        return it == rowOfLine.begin() ? line : std::prev(it)->second;
    }
};

SheetAsCsv readSheetAsCsv(const QString &path, const QLocale &locale)
{
    SheetAsCsv csv;
    SheetRequest request;
    request.filePath = path;
    request.withHeading = true;
    request.maxColumns = kMostBatchWorkbookColumns;
    const SheetReadResult read = readSheets({ request }, locale).constFirst();
    if (read.status != SheetReadResult::Status::Ok) {
        csv.problem = workbookReadFailure(read.status);
        return csv;
    }
    if (read.columnCount >= kMostBatchWorkbookColumns) {
        csv.problem = QStringLiteral("в первом листе %1 столбцов или больше")
                          .arg(kMostBatchWorkbookColumns);
        return csv;
    }
    qint64 line = 1;
    for (qsizetype r = 0; r < read.records.size(); ++r) {
        QStringList cells = read.records[r];
        const bool empty = std::all_of(cells.begin(), cells.end(),
            [](const QString &cell) { return cell.trimmed().isEmpty(); });
        if (empty) // an empty row of a sheet is skipped as an empty line of a CSV is
            continue;
        if (r == 0)
            for (QString &cell : cells)
                cell = columnNameInHeading(cell);
        csv.rowOfLine.emplace_back(line, r + 1);
        const qsizetype before = csv.bytes.size();
        appendCsvRecord(csv.bytes, cells, ',', "\n");
        line += std::count(csv.bytes.cbegin() + before, csv.bytes.cend(), '\n');
    }
    return csv;
}

// Reads the CSV result of a run into the workbook writer, row by row.
QString writeResultWorkbook(QByteArray &result, const QString &outputPath,
    const QStringList &inputs, TextEncoding encoding, const QLocale &locale)
{
    QBuffer buffer(&result);
    buffer.open(QIODevice::ReadOnly);
    CsvReader reader(&buffer, kLongestCsvRecord, encoding);
    QStringList cells;
    if (!reader.readRecord(cells))
        return cannotWrite(outputPath, reader.error());
    TableWorkbookWriter writer(cells, locale);
    while (reader.readRecord(cells))
        if (!writer.addRow(cells))
            break;
    if (!reader.error().isEmpty())
        return cannotWrite(outputPath, reader.error());
    if (const QString problem = writer.finish(outputPath, inputs); !problem.isEmpty())
        return cannotWrite(outputPath, problem);
    return {};
}

} // namespace

QString workbookReadFailure(SheetReadResult::Status status)
{
    using Status = SheetReadResult::Status;
    switch (status) {
    case Status::Ok:
        return {};
    case Status::FileMissing:
        return systemErrorText(ENOENT);
    case Status::NotAFile:
        return QStringLiteral("это не файл");
    case Status::NoPermission:
        return systemErrorText(EACCES);
    case Status::FileTooLarge:
        return QStringLiteral("книга слишком велика (не больше 64 МБ)");
    case Status::SheetTooLarge:
        return QStringLiteral("первый лист слишком велик");
    case Status::Password:
        return QStringLiteral("книга защищена паролем");
    case Status::SheetMissing:
        return QStringLiteral("в книге нет листов");
    case Status::TimedOut:
        return QStringLiteral("книга читается слишком долго; вероятно, она повреждена");
    default:
        return QStringLiteral("файл поврежден или не является книгой (.xlsx, .ods)");
    }
}

bool isWorkbookName(const QString &path)
{
    return path.endsWith(QLatin1String(".xlsx"), Qt::CaseInsensitive)
        || path.endsWith(QLatin1String(".ods"), Qt::CaseInsensitive);
}

QString runBatchAnyFiles(const QString &inputPath, const QString &outputPath,
    const BatchSettings &settings, BatchSummary *summary)
{
    const bool workbookIn = isWorkbookName(inputPath);
    const bool workbookOut = outputPath.endsWith(QLatin1String(".xlsx"), Qt::CaseInsensitive);
    if (outputPath.endsWith(QLatin1String(".ods"), Qt::CaseInsensitive))
        return cannotWrite(outputPath, QStringLiteral("результат пишется в .csv или .xlsx"));
    if (!workbookIn && !workbookOut)
        return runBatchFiles(inputPath, outputPath, settings, summary);

    const QFileInfo inputInfo(inputPath);
    if (inputInfo.exists() && !inputInfo.isFile())
        return cannotRead(inputPath,
            inputInfo.isDir() ? QStringLiteral("это папка")
                              : QStringLiteral("это не обычный файл (FIFO, устройство или сокет)"));
    BatchSettings run = settings;
    SheetAsCsv sheet;
    QByteArray input;
    if (workbookIn) {
        sheet = readSheetAsCsv(inputPath, settings.locale);
        if (!sheet.problem.isEmpty())
            return cannotRead(inputPath, sheet.problem);
        input = std::move(sheet.bytes);
        run.encoding = TextEncoding::Utf8;
        // Progress in the workbook's bytes, as the progress line counts them.
        const qint64 fileSize = std::max<qint64>(1, inputInfo.size());
        const qint64 textSize = std::max<qint64>(1, input.size());
        if (settings.progress)
            run.progress = [&settings, fileSize, textSize](qint64 rows, qint64 bytesRead) {
                settings.progress(rows, bytesRead * fileSize / textSize);
            };
    } else {
        if (inputInfo.size() > kLargestCsvForWorkbook)
            return cannotRead(inputPath,
                QStringLiteral("для результата в .xlsx таблица может быть не больше %1 МБ")
                    .arg(kLargestCsvForWorkbook / (1024 * 1024)));
        QFile file(inputPath);
        if (!file.open(QIODevice::ReadOnly))
            return cannotRead(inputPath,
                !inputInfo.exists()           ? systemErrorText(ENOENT)
                    : !inputInfo.isReadable() ? systemErrorText(EACCES)
                                              : file.errorString());
        input = file.read(kLargestCsvForWorkbook + 1);
        if (input.size() > kLargestCsvForWorkbook)
            return cannotRead(inputPath,
                QStringLiteral("для результата в .xlsx таблица может быть не больше %1 МБ")
                    .arg(kLargestCsvForWorkbook / (1024 * 1024)));
    }

    QBuffer in(&input);
    in.open(QIODevice::ReadOnly);
    QByteArray result;
    QBuffer resultBuffer(&result);
    OutputFile output(outputPath, { inputPath });
    QIODevice *out = &resultBuffer;
    if (workbookOut) {
        resultBuffer.open(QIODevice::WriteOnly);
    } else {
        if (!output.open())
            return cannotWrite(outputPath, output.errorString());
        out = &output;
    }
    const BatchResult ran = runBatch(in, *out, run);
    if (const auto *problem = std::get_if<BatchProblem>(&ran)) {
        output.cancel();
        if (problem->line == 0)
            return cannotWrite(outputPath, problem->text);
        const qint64 line = workbookIn ? sheet.sheetRow(problem->line) : problem->line;
        return QStringLiteral("%1:%2: %3").arg(inputPath, QString::number(line), problem->text);
    }
    const BatchSummary done = std::get<BatchSummary>(ran);
    if (workbookOut) {
        resultBuffer.close();
        if (QString problem = writeResultWorkbook(
                result, outputPath, { inputPath }, done.encoding, settings.locale);
            !problem.isEmpty())
            return problem;
    } else if (!output.commit()) {
        return cannotWrite(outputPath, output.errorString());
    }
    if (summary)
        *summary = done;
    return {};
}

} // namespace kelsa
