// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/scheme/schemewindow.h"

#include "gui/scheme/schemepainter.h"

#include <QPainter>

#include <utility>

namespace kelsa
{

SchemeWindow::SchemeWindow(SupportScheme scheme, QWidget *parent)
    : QDialog(parent)
    , m_scheme(std::move(scheme))
{
    setObjectName(QStringLiteral("SchemeWindow"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Схема опоры — %1").arg(m_scheme.heading));
    setAutoFillBackground(true);
    QPalette page = palette();
    page.setColor(QPalette::Window, Qt::white);
    setPalette(page);
    resize(760, int(760 * schemeHeight(m_scheme) / 170));
    setMinimumSize(340, 200);
}

void SchemeWindow::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    // As large as the window allows, in the drawing's own proportions, centred.
    const double ratio = schemeHeight(m_scheme) / 170;
    const QRectF inside = QRectF(rect()).adjusted(12, 12, -12, -12);
    const double width = std::min(inside.width(), inside.height() / ratio);
    QRectF area(0, 0, width, width * ratio);
    area.moveCenter(inside.center());
    paintSupportScheme(painter, area, m_scheme);
}

} // namespace kelsa
