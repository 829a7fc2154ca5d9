// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A computed schedule summed up for its printed form and its chart: how many supports of each
// type, the largest governing moment and its support, and the chart's bars (the governing
// moment of every row, in the order of the schedule) with a line for the Mн of every catalogue
// type the rows were checked against. Moments are in kgf·m; the chart shows |M|, the value the
// check compares with Mн.

#include "core/calc/momentcases.h"
#include "core/check/supportcheck.h"

#include <QList>
#include <QLocale>
#include <QString>

#include <optional>
#include <vector>

namespace kelsa
{

class ScheduleModel;

struct ScheduleTypeCount {
    QString type; // empty: rows with no type checked
    qsizetype supports = 0;

    friend bool operator==(const ScheduleTypeCount &, const ScheduleTypeCount &) = default;
};

struct ScheduleSummary {
    qsizetype supports = 0; // every row
    // The catalogue's types in its order, then names not in it by name, then the rows with no
    // type; only those that occur.
    QList<ScheduleTypeCount> types;
    // The row of the largest |governing moment| (ties: the first), its moment and its value.
    std::optional<qsizetype> largestRow;
    Moment largestMoment = Moment::IceWithWind;
    double largestKgfm = 0;
};

ScheduleSummary summariseSchedule(const ScheduleModel &model);

struct ScheduleChartBar {
    std::optional<double> kgfm; // |governing moment|; none for a row without one
    std::optional<UtilisationLevel> level; // none for a row without a checked type
};

struct ScheduleChartLine {
    QString type;
    double kgfm = 0; // Mн in kgf·m

    friend bool operator==(const ScheduleChartLine &, const ScheduleChartLine &) = default;
};

struct ScheduleChart {
    std::vector<ScheduleChartBar> bars; // one per row, in the order of the schedule
    QList<ScheduleChartLine> lines; // in the order of the catalogue
    double axisTop = 0; // the scale's top, a multiple of axisStep
    double axisStep = 0; // between the scale's marks: 1, 2 or 5 times a power of ten
    QLocale locale; // the schedule's decimal separator, for the scale's numbers
};

ScheduleChart scheduleChart(const ScheduleModel &model);

// A scale from 0 that holds `largest`: about five steps of 1, 2 or 5 times a power of ten, its
// top the first multiple of the step at or above `largest`. A scale of 0 to 1 for nothing.
struct ChartAxis {
    double top = 1;
    double step = 0.2;
};
ChartAxis chartAxis(double largest);

// A number of the scale in the schedule's decimal separator, without digit grouping: a group
// separator that is the other decimal separator would make 1,500 kgf·m read as 1.5.
QString chartAxisText(double value, const QLocale &locale);

} // namespace kelsa
