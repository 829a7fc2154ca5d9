// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/schedule/schedulesummary.h"

#include <QWidget>

#include <optional>

namespace kelsa
{

// The schedule's chart under its table (chartpainter.h); a click on a bar tells its row.
class ScheduleChartView : public QWidget
{
    Q_OBJECT
public:
    explicit ScheduleChartView(QWidget *parent = nullptr);

    const ScheduleChart &chart() const { return m_chart; }
    void setChart(ScheduleChart chart);
    // The row of the schedule marked behind its bar; none for no mark.
    void setSelectedRow(std::optional<qsizetype> row);
    // The row whose bar is at x, as a click there tells it.
    std::optional<qsizetype> rowAt(int x) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    void rowClicked(qsizetype row);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    QRectF chartArea() const;

    ScheduleChart m_chart;
    std::optional<qsizetype> m_selected;
};

} // namespace kelsa
