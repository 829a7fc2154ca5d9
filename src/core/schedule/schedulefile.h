// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A schedule kept on disk: a .kelsa-schedule file, a JSON document with the decimal separator,
// the common data, the columns, the rows as texts and the title block
// (docs/schedule-file.md describes it).

#include "core/schedule/schedule.h"

#include <QByteArray>
#include <QString>

#include <variant>

namespace kelsa
{

inline constexpr int kScheduleFileVersion = 1;
inline constexpr const char *kScheduleFileSuffix = "kelsa-schedule";
// A schedule of a whole line is a few megabytes; a larger file, or more rows, is no schedule a
// designer keeps, and would fill the memory before the window could show it.
inline constexpr qint64 kLargestScheduleFile = qint64(64) * 1024 * 1024;
inline constexpr qsizetype kMostScheduleRows = 100000;
// A longer text is no number, name or title: as for a calculation file.
inline constexpr qsizetype kLongestScheduleText = 1000;

// The first thing wrong with a file that could not be opened, in the user's words, without the
// file's name (the caller names it): «"rows": строка 5, столбец "Prolet": ожидается текст».
struct ScheduleFileProblem {
    QString text;
};

using ScheduleFileReading = std::variant<Schedule, ScheduleFileProblem>;

QByteArray scheduleToJson(const Schedule &schedule);
ScheduleFileReading scheduleFromJson(const QByteArray &json);

// Reads a file of at most kLargestScheduleFile bytes.
ScheduleFileReading readScheduleFile(const QString &path);

// Writes a file atomically through OutputFile: the old file stays in place unless the new one
// was written whole. The empty text on success, else what went wrong.
QString writeScheduleFile(const QString &path, const Schedule &schedule);

} // namespace kelsa
