// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/schedule/scheduleformats.h"

#include "core/schedule/schedulefile.h"
#include "core/schedule/schedulemodel.h"

namespace kelsa
{

namespace
{

QString notYet()
{
    return QStringLiteral("этот формат в этой версии не поддерживается");
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

ScheduleRead importScheduleTable(const QString &, const Calculation &)
{
    return notYet();
}

QString exportScheduleTable(const QString &, const ScheduleModel &, const QString &)
{
    return notYet();
}

} // namespace kelsa
