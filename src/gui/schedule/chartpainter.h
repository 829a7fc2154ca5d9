// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The chart of a schedule drawn with a QPainter, alike on the screen and in the PDF: a scale of
// |M| in kgf·m on the left, a bar per row in the order of the schedule on the colour of its
// utilisation (grey for a row without a checked type), a dashed line with its name for the Mн
// of each catalogue type the rows were checked against, and row numbers along the bottom. More
// rows than there are device pixels are drawn a pixel column at a time, each showing the
// largest of its rows on the colour of the worst.

#include "core/schedule/schedulesummary.h"

#include <QRectF>

#include <optional>

class QFont;
class QPainter;
class QPaintDevice;

namespace kelsa
{

void paintScheduleChart(QPainter &painter, const QRectF &area, const ScheduleChart &chart,
    std::optional<qsizetype> selectedRow = std::nullopt);

// The row whose bar stands at x, for the chart painted on `device` in `font`; none outside
// the bars.
std::optional<qsizetype> chartRowAt(const QPaintDevice &device, const QFont &font,
    const QRectF &area, const ScheduleChart &chart, double x);

} // namespace kelsa
