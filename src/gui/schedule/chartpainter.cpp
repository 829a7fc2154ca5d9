// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/schedule/chartpainter.h"

#include "core/check/utilisationcolour.h"
#include "core/numbers/numbertext.h"

#include <QFontMetricsF>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace kelsa
{

namespace
{

const QColor kUnchecked(0x9E, 0x9E, 0x9E);

QColor levelColour(const std::optional<UtilisationLevel> &level)
{
    return level ? QColor::fromRgb(QRgb(utilisationRgb(*level))) : kUnchecked;
}

// The plot inside the area: room on the left for the scale's numbers, below for row numbers.
QRectF plotArea(const QFontMetricsF &metrics, const QRectF &area, const ScheduleChart &chart)
{
    double left = metrics.horizontalAdvance(QStringLiteral("кгс·м"));
    for (double mark = 0; mark <= chart.axisTop * (1 + 1e-9); mark += chart.axisStep)
        left = std::max(left, metrics.horizontalAdvance(chartAxisText(mark, chart.locale)));
    const double gap = metrics.height() / 3;
    return area.adjusted(left + 2 * gap, metrics.height() * 1.5, -gap, -(metrics.height() + gap));
}

// The worse of two levels; a checked level is worse than none.
std::optional<UtilisationLevel> worse(
    const std::optional<UtilisationLevel> &a, const std::optional<UtilisationLevel> &b)
{
    if (!a)
        return b;
    if (!b)
        return a;
    return std::max(*a, *b);
}

} // namespace

void paintScheduleChart(QPainter &painter, const QRectF &area, const ScheduleChart &chart,
    std::optional<qsizetype> selectedRow)
{
    painter.save();
    const QFontMetricsF metrics(painter.font(), painter.device());
    const QRectF plot = plotArea(metrics, area, chart);
    const QColor ink(0x42, 0x42, 0x42);
    const double unit = std::max(1.0, metrics.height() / 14); // a hairline, in device units
    const auto yOf
        = [&](double kgfm) { return plot.bottom() - kgfm / chart.axisTop * plot.height(); };

    // The scale.
    painter.setPen(QPen(ink, unit));
    painter.drawText(QRectF(area.left(), area.top(), plot.left() - area.left(), metrics.height()),
        Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("кгс·м"));
    for (double mark = 0; mark <= chart.axisTop * (1 + 1e-9); mark += chart.axisStep) {
        const double y = yOf(mark);
        painter.setPen(QPen(QColor(0xE0, 0xE0, 0xE0), unit));
        painter.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
        painter.setPen(ink);
        painter.drawText(QRectF(area.left(), y - metrics.height() / 2,
                             plot.left() - area.left() - metrics.height() / 3, metrics.height()),
            Qt::AlignRight | Qt::AlignVCenter, chartAxisText(mark, chart.locale));
    }

    const auto count = qsizetype(chart.bars.size());
    if (count > 0) {
        const double width = plot.width() / double(count);
        if (selectedRow && *selectedRow >= 0 && *selectedRow < count)
            painter.fillRect(QRectF(plot.left() + width * double(*selectedRow), plot.top(),
                                 std::max(width, unit * 2), plot.height()),
                QColor(0x19, 0x76, 0xD2, 60));
        if (width >= 2 * unit) {
            const double gap = width >= 6 * unit ? width * 0.2 : 0;
            for (qsizetype row = 0; row < count; ++row) {
                const ScheduleChartBar &bar = chart.bars[std::size_t(row)];
                if (!bar.kgfm)
                    continue;
                const double x = plot.left() + width * double(row);
                const double y = yOf(*bar.kgfm);
                painter.fillRect(
                    QRectF(x + gap / 2, y, width - gap, plot.bottom() - y), levelColour(bar.level));
            }
        } else {
            // More rows than columns of the device: one column of `unit` at a time.
            const auto columns = qsizetype(std::ceil(plot.width() / unit));
            for (qsizetype column = 0; column < columns; ++column) {
                const auto first = qsizetype(double(column) * unit / width);
                const auto last
                    = std::min(count, qsizetype(std::ceil(double(column + 1) * unit / width)));
                std::optional<double> largest;
                std::optional<UtilisationLevel> level;
                for (qsizetype row = first; row < last; ++row) {
                    const ScheduleChartBar &bar = chart.bars[std::size_t(row)];
                    if (!bar.kgfm)
                        continue;
                    largest = std::max(largest.value_or(0), *bar.kgfm);
                    level = worse(level, bar.level);
                }
                if (largest) {
                    const double y = yOf(*largest);
                    painter.fillRect(
                        QRectF(plot.left() + double(column) * unit, y, unit, plot.bottom() - y),
                        levelColour(level));
                }
            }
        }

        // Row numbers, as many as fit side by side: every 1, 2, 5, 10, 20… rows.
        const double label = metrics.horizontalAdvance(QString::number(count)) + metrics.height();
        qsizetype every = 1;
        for (qsizetype factor = 1; width * double(every) < label; factor *= 10)
            for (const qsizetype m : { 1, 2, 5 })
                if (width * double(every) < label)
                    every = m * factor;
        painter.setPen(ink);
        for (qsizetype row = every - 1; row < count; row += every) {
            const double x = plot.left() + width * (double(row) + 0.5);
            painter.drawText(QRectF(x - label / 2, plot.bottom() + metrics.height() / 3, label,
                                 metrics.height()),
                Qt::AlignHCenter | Qt::AlignTop, QString::number(row + 1));
        }
    }

    // The Mн of each type, named at the right end of its line.
    for (const ScheduleChartLine &line : chart.lines) {
        const double y = yOf(line.kgfm);
        painter.setPen(QPen(QColor(0x37, 0x47, 0x4F), unit, Qt::DashLine));
        painter.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
        painter.setPen(QColor(0x37, 0x47, 0x4F));
        painter.drawText(QRectF(plot.left(), y - metrics.height(), plot.width(), metrics.height()),
            Qt::AlignRight | Qt::AlignBottom, QStringLiteral("Mн %1").arg(line.type));
    }

    painter.setPen(QPen(ink, unit));
    painter.drawLine(plot.bottomLeft(), plot.bottomRight());
    painter.drawLine(plot.bottomLeft(), plot.topLeft());
    painter.restore();
}

std::optional<qsizetype> chartRowAt(const QPaintDevice &device, const QFont &font,
    const QRectF &area, const ScheduleChart &chart, double x)
{
    const QRectF plot = plotArea(QFontMetricsF(font, &device), area, chart);
    if (chart.bars.empty() || x < plot.left() || x >= plot.right())
        return std::nullopt;
    const auto row = qsizetype((x - plot.left()) / plot.width() * double(chart.bars.size()));
    return std::clamp<qsizetype>(row, 0, qsizetype(chart.bars.size()) - 1);
}

} // namespace kelsa
