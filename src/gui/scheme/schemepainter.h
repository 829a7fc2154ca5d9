// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/calc/supportscheme.h"

#include <QRectF>

class QPainter;

namespace kelsa
{

// A drawing of the support from its scheme: the support as a vertical line standing on its
// base (or its heel), each horizontal load an arrow pushing it at its height, each weight an
// arrow down at its offset from the axis on a bracket at the top, every load labelled with its
// force and its share of the moment, the moments without a force listed apart, and the moment
// under the base. Heights are drawn to one scale, offsets to another no larger; nothing is
// dimensioned but what the formulas hold, and those arms are written in the labels.

// The height of the drawing for a width of 170: enough for every label without overlap.
double schemeHeight(const SupportScheme &scheme);

// Draws `scheme` into `area`, whose width sets the size of everything (its text included).
void paintSupportScheme(QPainter &painter, const QRectF &area, const SupportScheme &scheme);

} // namespace kelsa
