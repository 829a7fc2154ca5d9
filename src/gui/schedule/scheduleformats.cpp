// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/schedule/scheduleformats.h"

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
    return QStringLiteral("Ведомости опор Kelsa (*.kelsa-schedule)");
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
    return QStringLiteral("kelsa-schedule");
}

ScheduleRead readScheduleDocument(const QString &)
{
    return notYet();
}

QString writeScheduleDocument(const QString &, const Schedule &)
{
    return notYet();
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
