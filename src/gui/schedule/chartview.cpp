// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/schedule/chartview.h"

#include "gui/schedule/chartpainter.h"

#include <QMouseEvent>
#include <QPainter>

namespace kelsa
{

ScheduleChartView::ScheduleChartView(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("scheduleChart"));
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Base);
    setToolTip(QStringLiteral("Расчетный момент каждой опоры в порядке ведомости, цвет — "
                              "использование; пунктир — Mн типов опор. Щелчок по столбику "
                              "выделяет его строку."));
}

void ScheduleChartView::setChart(ScheduleChart chart)
{
    m_chart = std::move(chart);
    update();
}

void ScheduleChartView::setSelectedRow(std::optional<qsizetype> row)
{
    if (row == m_selected)
        return;
    m_selected = row;
    update();
}

QRectF ScheduleChartView::chartArea() const
{
    const int margin = fontMetrics().height() / 2;
    return QRectF(rect()).adjusted(margin, margin / 2, -margin, -margin / 2);
}

std::optional<qsizetype> ScheduleChartView::rowAt(int x) const
{
    return chartRowAt(*this, font(), chartArea(), m_chart, x + 0.5);
}

QSize ScheduleChartView::sizeHint() const
{
    return { 600, fontMetrics().height() * 12 };
}

QSize ScheduleChartView::minimumSizeHint() const
{
    return { 200, fontMetrics().height() * 6 };
}

void ScheduleChartView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setFont(font());
    paintScheduleChart(painter, chartArea(), m_chart, m_selected);
}

void ScheduleChartView::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        if (const auto row = rowAt(event->position().toPoint().x()))
            emit rowClicked(*row);
    QWidget::mousePressEvent(event);
}

} // namespace kelsa
