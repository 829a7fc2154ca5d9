// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/widgets/appearance.h"

namespace kelsa
{

QFont uiFont(bool bold)
{
    QFont font;
    font.setFamilies({ QStringLiteral("Liberation Sans"), QStringLiteral("Arial"),
        QStringLiteral("DejaVu Sans") });
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(8.25);
    font.setBold(bold);
    return font;
}

QIcon programIcon()
{
    return QIcon(QStringLiteral(":/kelsa/kelsa.png"));
}

} // namespace kelsa
