// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The formats the schedule window reads and writes, in one place: its own .kelsa-schedule
// files, tables to import (CSV, .xlsx, .ods) and tables to export (CSV, .xlsx). Each returns
// what went wrong in the user's words, without the file's name (the window names it).

#include "core/schedule/schedule.h"

#include <QString>
#include <QStringList>

#include <variant>

namespace kelsa
{

class ScheduleModel;

using ScheduleRead = std::variant<Schedule, QString>;

// File dialog filters.
QString scheduleFileFilter();
QString importFilter();
QString exportFilter();
// ".kelsa-schedule" without the dot.
QString scheduleFileSuffix();

ScheduleRead readScheduleDocument(const QString &path);
QString writeScheduleDocument(const QString &path, const Schedule &schedule);

// A table of supports as a schedule with the separator, common data and title block of
// `common`; a refusal names the line or row it stopped at.
ScheduleRead importScheduleTable(const QString &path, const Schedule &common);
// The computed schedule as a table, by the name's ending: .xlsx, else CSV.
QString exportScheduleTable(const QString &path, const ScheduleModel &model);
// The option groups whose common choice a table of the schedule cannot carry, by caption.
QStringList optionsLeftOut(const ScheduleModel &model);

} // namespace kelsa
