// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Text in a cell of the printed schedule, never cut nor elided: broken onto more lines at
// spaces and at its own line breaks, and inside a word only when that word alone is wider than
// the cell. The cell grows to the height this gives.

#include <QFont>
#include <QString>

class QFontMetricsF;
class QPaintDevice;
class QPainter;
class QPointF;

namespace kelsa
{

// The height of `text` in `font` laid out `width` wide on `device` (in its units).
double wrappedTextHeight(
    const QString &text, const QFont &font, QPaintDevice *device, double width);

// Draws `text` as wrappedTextHeight() lays it out, its lines aligned left, right or centred in
// `width`, the first line's top at `topLeft`; in the painter's font and pen.
void drawWrappedText(QPainter &painter, const QPointF &topLeft, double width, const QString &text,
    Qt::Alignment alignment);

// The width of the widest line of `text` as written, and of its widest word.
double widestLine(const QString &text, const QFontMetricsF &metrics);
double widestWord(const QString &text, const QFontMetricsF &metrics);

} // namespace kelsa
