// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A schedule's rows computed: each row's ten moments, the governing one, the support type
// checked and its utilisation, and the row's errors and notes in the words of the result table
// of kelsa --batch. Unlike --batch, a row with a cell that cannot be read (a text that is no
// number, a section that is none of the three) gets no moment at all: a designer looking at a
// red cell must not take the other moments of that row for the support's.

#include "core/calc/momentcases.h"
#include "core/check/supportcatalogue.h"
#include "core/check/supportcheck.h"
#include "core/schedule/schedule.h"

#include <QString>
#include <QStringList>

#include <array>
#include <atomic>
#include <functional>
#include <optional>
#include <vector>

namespace kelsa
{

// A cell that cannot be read, and why, in a few Russian words: «не число: «0.5» (десятичный
// разделитель ведомости — «,»)».
struct CellProblem {
    ScheduleCell cell;
    QString reason;

    friend bool operator==(const CellProblem &, const CellProblem &) = default;
};

struct ScheduleRowResult {
    std::array<std::optional<double>, kMomentCount> moments; // kgf·m; none without a value
    std::optional<Moment> governing;
    QString supportType; // the type checked: the row's own, or the pick
    std::optional<double> utilisation; // of the governing moment for that type, 1 = 100 %
    QString errors; // "Label10: lp-missing; check: none-holds"
    QString notes; // "Label1: txtVm, Text5"
    // The errors in Russian words for the printed schedule, one reason a line (rowreasons.h).
    QStringList reasons;
    QList<CellProblem> problems; // cells that cannot be read; the row's moments are empty then

    const CellProblem *problem(const ScheduleCell &cell) const;
    friend bool operator==(const ScheduleRowResult &, const ScheduleRowResult &) = default;
};

// Computes one row with the catalogue (which may be unusable: then no type is checked).
ScheduleRowResult computeScheduleRow(
    const Schedule &schedule, qsizetype row, const SupportCatalogue &catalogue);

// How a computation of all rows is run: on `threads` threads (0: one per processor thread),
// stopped when `cancel` turns true, and `progress` told the rows done from time to time (every
// kScheduleProgressRows rows, and at the end), always on the calling thread.
struct ScheduleRunControl {
    int threads = 0;
    const std::atomic<bool> *cancel = nullptr;
    std::function<void(qsizetype done, qsizetype total)> progress;
};
inline constexpr qsizetype kScheduleProgressRows = 256;

// Every row of the schedule, in row order; nothing when cancelled. Takes the schedule by value
// so that a window can run it on another thread while it keeps its own.
std::optional<std::vector<ScheduleRowResult>> computeScheduleRows(
    const Schedule &schedule, const SupportCatalogue &catalogue, const ScheduleRunControl &control);

} // namespace kelsa
