// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/widgets/wrapbutton.h"

#include <QStyleOptionButton>
#include <QStylePainter>

namespace kelsa
{

WrapButton::WrapButton(const QString &text, QWidget *parent)
    : QPushButton(text, parent)
{
}

void WrapButton::paintEvent(QPaintEvent *)
{
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    const QString caption = option.text;
    option.text.clear();
    painter.drawControl(QStyle::CE_PushButton, option);

    QRect area = style()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
    if (isDown()) // follow the bevel when pressed
        area.translate(style()->pixelMetric(QStyle::PM_ButtonShiftHorizontal, &option, this),
            style()->pixelMetric(QStyle::PM_ButtonShiftVertical, &option, this));
    int flags = Qt::AlignCenter | Qt::TextShowMnemonic;
    if (fontMetrics().horizontalAdvance(caption) > area.width()) {
        flags |= Qt::TextWordWrap;
        area = rect().adjusted(2, 1, -2, -1); // a two-line caption needs the whole face
    }
    painter.setPen(
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
    painter.drawText(area, flags, caption);
}

} // namespace kelsa
