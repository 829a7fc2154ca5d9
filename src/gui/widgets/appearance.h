// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QFont>
#include <QIcon>

namespace kelsa
{

// The look shared by Kelsa's windows.

// The sans-serif face of every caption, 8.25 pt: Liberation Sans (metric twin of Arial, with
// full Cyrillic) where installed, otherwise the nearest sans face the system offers.
QFont uiFont(bool bold = false);

// Background of the main window and of its grey frames.
inline constexpr QColor panelGrey(224, 224, 224);
// Result labels and the captions of the result frames.
inline constexpr QColor resultRed(255, 0, 0);

// The 32 x 32 program icon of every window.
QIcon programIcon();

// Geometry is laid out in twips, as the forms were drawn: 15 twips are one pixel at 96 dpi.
constexpr int px(int twips)
{
    return twips / 15;
}

} // namespace kelsa
