// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/widgets/framebox.h"

#include <QPainter>

namespace kelsa
{

FrameBox::FrameBox(const QString &title, QWidget *parent)
    : FrameBox(title, false, parent)
{
}

FrameBox::FrameBox(const QString &title, bool boldCaption, QWidget *parent)
    : QGroupBox(title, parent)
    , m_boldCaption(boldCaption)
{
    // A frame that lies over other controls (the transition support over the tensions) hides
    // them: its own background is painted, so nothing beneath shows through.
    setAutoFillBackground(true);
}

QFont FrameBox::captionFont() const
{
    QFont caption = font();
    caption.setBold(caption.bold() || m_boldCaption);
    return caption;
}

void FrameBox::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QFont caption = captionFont();
    const QFontMetrics metrics(caption);
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
    const QString text = metrics.elidedText(title(), Qt::ElideRight, width() - 2 * left);
    const QRect captionRect(left, 0, metrics.horizontalAdvance(text) + 4, metrics.height());
    painter.fillRect(captionRect, palette().color(backgroundRole()));
    painter.setPen(palette().color(QPalette::WindowText));
    painter.setFont(caption);
    painter.drawText(captionRect, Qt::AlignCenter, text);
}

} // namespace kelsa
