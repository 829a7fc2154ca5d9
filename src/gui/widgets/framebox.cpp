// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/widgets/framebox.h"

#include <QPainter>

namespace kelsa
{

FrameBox::FrameBox(const QString &title, QWidget *parent)
    : QGroupBox(title, parent)
{
}

void FrameBox::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QFontMetrics metrics(font());
    const int top = title().isEmpty() ? 0 : metrics.height() / 2;
    const QRect box = rect().adjusted(0, top, -2, -2);

    // Etched edge: a dark line with a light one beside it.
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawRect(box);
    painter.setPen(palette().color(QPalette::Light));
    painter.drawRect(box.translated(1, 1));

    if (title().isEmpty())
        return;
    const int left = 6;
    const QString caption = metrics.elidedText(title(), Qt::ElideRight, width() - 2 * left);
    const QRect captionRect(left, 0, metrics.horizontalAdvance(caption) + 4, metrics.height());
    painter.fillRect(captionRect, palette().color(backgroundRole()));
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(captionRect, Qt::AlignCenter, caption);
}

} // namespace kelsa
