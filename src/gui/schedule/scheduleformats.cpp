// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/schedule/scheduleformats.h"

#include "core/schedule/scheduleexport.h"
#include "core/schedule/schedulefile.h"
#include "core/schedule/scheduleimport.h"
#include "core/schedule/schedulemodel.h"

namespace kelsa
{

namespace
{

std::vector<ScheduleRowResult> resultsOf(const ScheduleModel &model)
{
    std::vector<ScheduleRowResult> results;
    results.reserve(std::size_t(model.rowCount()));
    for (int row = 0; row < model.rowCount(); ++row)
        results.push_back(model.result(row));
    return results;
}

} // namespace

QString scheduleFileFilter()
{
    return QStringLiteral("Ведомости опор Kelsa (*.%1)").arg(scheduleFileSuffix());
}

QString importFilter()
{
    return QStringLiteral("Таблицы (*.csv *.xlsx *.ods)");
}

QString exportFilter()
{
    return QStringLiteral("PDF (*.pdf);;CSV (*.csv);;Excel (*.xlsx)");
}

QString scheduleFileSuffix()
{
    return QString::fromLatin1(kScheduleFileSuffix);
}

ScheduleRead readScheduleDocument(const QString &path)
{
    ScheduleFileReading reading = readScheduleFile(path);
    if (const auto *problem = std::get_if<ScheduleFileProblem>(&reading))
        return problem->text;
    return std::move(std::get<Schedule>(reading));
}

QString writeScheduleDocument(const QString &path, const Schedule &schedule)
{
    return writeScheduleFile(path, schedule);
}

ScheduleRead importScheduleTable(const QString &path, const Schedule &common)
{
    ScheduleImportResult imported = importSchedule(path, common);
    if (const auto *problem = std::get_if<ScheduleImportProblem>(&imported))
        return problem->line > 0
            ? QStringLiteral("строка %1: %2").arg(problem->line).arg(problem->text)
            : problem->text;
    return std::move(std::get<Schedule>(imported));
}

QString exportScheduleTable(const QString &path, const ScheduleModel &model)
{
    const std::vector<ScheduleRowResult> results = resultsOf(model);
    if (path.endsWith(QLatin1String(".xlsx"), Qt::CaseInsensitive))
        return exportScheduleXlsx(path, model.schedule(), results);
    return exportScheduleCsv(path, model.schedule(), results);
}

QStringList optionsLeftOut(const ScheduleModel &model)
{
    QStringList captions;
    for (const OptionGroup group :
        scheduleTable(model.schedule(), resultsOf(model)).optionsNotInTable)
        captions << QString::fromUtf8(optionGroupInfo(group).caption);
    return captions;
}

} // namespace kelsa
