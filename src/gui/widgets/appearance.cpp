// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/widgets/appearance.h"

namespace kelsa
{

QFont uiFont(bool bold)
{
    // One family, not a list: for a list Qt asks fontconfig for the fallbacks of every font it
    // loads (a sort of all installed fonts each time), before any glyph is missing. Where
    // Liberation Sans is not installed, fontconfig's metric alias gives Arial, and the style
    // hint the system's sans face otherwise (DejaVu Sans on Debian).
    QFont font(QStringLiteral("Liberation Sans"));
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
