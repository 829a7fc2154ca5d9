// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/schedule/wrappedtext.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QRegularExpression>
#include <QTextLayout>

#include <algorithm>

namespace kelsa
{

namespace
{

// Lays the text out in lines `width` wide from the top; returns the height it takes.
double layOut(QTextLayout &layout, double width, Qt::Alignment alignment)
{
    QTextOption option(alignment & Qt::AlignHorizontal_Mask);
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.beginLayout();
    double y = 0;
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        line.setPosition(QPointF(0, y));
        y += line.height();
    }
    layout.endLayout();
    return y;
}

QString withLineSeparators(QString text)
{
    return text.replace(QLatin1Char('\n'), QChar::LineSeparator);
}

} // namespace

double wrappedTextHeight(const QString &text, const QFont &font, QPaintDevice *device, double width)
{
    // Most cells are one number: one line, without laying it out.
    const QFontMetricsF metrics(font, device);
    const bool blank = std::any_of(
        text.begin(), text.end(), [](QChar c) { return c.isSpace() || c == QChar::LineSeparator; });
    if (!blank && metrics.horizontalAdvance(text) <= width)
        return metrics.height();
    QTextLayout layout(withLineSeparators(text), font, device);
    return std::max(layOut(layout, width, Qt::AlignLeft), metrics.height());
}

void drawWrappedText(QPainter &painter, const QPointF &topLeft, double width, const QString &text,
    Qt::Alignment alignment)
{
    QTextLayout layout(withLineSeparators(text), painter.font(), painter.device());
    layOut(layout, width, alignment);
    layout.draw(&painter, topLeft);
}

double widestLine(const QString &text, const QFontMetricsF &metrics)
{
    double widest = 0;
    for (const QString &line : text.split(QLatin1Char('\n')))
        widest = std::max(widest, metrics.horizontalAdvance(line));
    return widest;
}

double widestWord(const QString &text, const QFontMetricsF &metrics)
{
    static const QRegularExpression blanks(QStringLiteral("\\s+"));
    double widest = 0;
    for (const QString &word : text.split(blanks, Qt::SkipEmptyParts))
        widest = std::max(widest, metrics.horizontalAdvance(word));
    return widest;
}

} // namespace kelsa
