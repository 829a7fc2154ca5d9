// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The formats the schedule window reads and writes, in one place: its own .kelsa-schedule
// files, tables to import (CSV, .xlsx, .ods) and tables to export (CSV, .xlsx). Each returns
// what went wrong in the user's words, without the file's name (the window names it).

#include "core/schedule/schedule.h"

#include <QString>

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

// A table of supports as a schedule; the fields it has no column for take `common`.
ScheduleRead importScheduleTable(const QString &path, const Calculation &common);
// The computed schedule as a table, by the name's ending: .csv or .xlsx. `schedulePath` (the
// schedule's own file) is never written over.
QString exportScheduleTable(
    const QString &path, const ScheduleModel &model, const QString &schedulePath);

} // namespace kelsa
