// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/widgets/recordnavigator.h"

#include <QPainter>
#include <QPainterPath>
#include <QStyleOptionButton>

namespace kelsa
{

namespace
{

enum class Arrow { First, Previous, Next, Last };

// A flat bevelled button with a triangle, and a bar for first and last.
class NavigatorButton : public QAbstractButton
{
public:
    NavigatorButton(Arrow arrow, const char *name, QWidget *parent)
        : QAbstractButton(parent)
        , m_arrow(arrow)
    {
        setObjectName(QLatin1String(name));
        setFocusPolicy(Qt::NoFocus);
        setAutoRepeat(arrow == Arrow::Previous || arrow == Arrow::Next);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        QStyleOptionButton option;
        option.initFrom(this);
        option.state |= isDown() ? QStyle::State_Sunken : QStyle::State_Raised;
        style()->drawPrimitive(QStyle::PE_PanelButtonBevel, &option, &painter, this);

        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(palette().color(QPalette::ButtonText));
        // The glyph fills the face but for a pixel of bevel on each side: a triangle half the
        // height of the button, narrowed only if the button is too narrow for it. Sizes are in
        // device-independent pixels, so the glyph grows with the screen's scale.
        const QRectF r = QRectF(rect()).adjusted(1.5, 1.5, -1.5, -1.5);
        const bool left = m_arrow == Arrow::First || m_arrow == Arrow::Previous;
        const bool bar = m_arrow == Arrow::First || m_arrow == Arrow::Last;
        const qreal barWidth = bar ? qMax<qreal>(1.5, r.height() / 12) : 0;
        const qreal h = qMin(r.height() * 0.5, (r.width() - barWidth) / 0.8);
        const qreal cy = r.center().y() + (isDown() ? 1 : 0);
        const qreal w = h * 0.8;
        const qreal x0 = r.center().x() - (w + barWidth) / 2;
        QPainterPath triangle;
        if (left) {
            const qreal tip = x0 + barWidth;
            triangle.moveTo(tip, cy);
            triangle.lineTo(tip + w, cy - h / 2);
            triangle.lineTo(tip + w, cy + h / 2);
            if (bar)
                painter.drawRect(QRectF(x0, cy - h / 2, barWidth, h));
        } else {
            triangle.moveTo(x0 + w, cy);
            triangle.lineTo(x0, cy - h / 2);
            triangle.lineTo(x0, cy + h / 2);
            if (bar)
                painter.drawRect(QRectF(x0 + w, cy - h / 2, barWidth, h));
        }
        triangle.closeSubpath();
        painter.drawPath(triangle);
    }

private:
    Arrow m_arrow;
};

} // namespace

RecordNavigator::RecordNavigator(const QString &caption, QWidget *parent)
    : QWidget(parent)
    , m_caption(caption)
    , m_first(new NavigatorButton(Arrow::First, "first", this))
    , m_previous(new NavigatorButton(Arrow::Previous, "previous", this))
    , m_next(new NavigatorButton(Arrow::Next, "next", this))
    , m_last(new NavigatorButton(Arrow::Last, "last", this))
{
    setFocusPolicy(Qt::NoFocus);
    connect(m_first, &QAbstractButton::clicked, this, &RecordNavigator::firstRequested);
    connect(m_previous, &QAbstractButton::clicked, this, &RecordNavigator::previousRequested);
    connect(m_next, &QAbstractButton::clicked, this, &RecordNavigator::nextRequested);
    connect(m_last, &QAbstractButton::clicked, this, &RecordNavigator::lastRequested);
}

void RecordNavigator::resizeEvent(QResizeEvent *)
{
    // Four square-ish buttons inside a one-pixel border, the caption between the pairs.
    const int h = height() - 2;
    const int w = qMin(h, qMax(8, width() / 8));
    m_first->setGeometry(1, 1, w, h);
    m_previous->setGeometry(1 + w, 1, w, h);
    m_next->setGeometry(width() - 1 - 2 * w, 1, w, h);
    m_last->setGeometry(width() - 1 - w, 1, w, h);
}

void RecordNavigator::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Base));
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    const QRect text(m_previous->geometry().right() + 1, 0,
        m_next->geometry().left() - m_previous->geometry().right() - 1, height());
    painter.setPen(palette().color(QPalette::Text));
    painter.drawText(
        text, Qt::AlignCenter, fontMetrics().elidedText(m_caption, Qt::ElideRight, text.width()));
}

} // namespace kelsa
