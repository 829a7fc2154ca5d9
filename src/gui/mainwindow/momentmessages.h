// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/calc/momentcases.h"

#include <QString>

namespace kelsa
{

// The message the main window shows for a moment, in its own words, or the empty text when
// the moment has none (it was computed, or the ordinary support gave no finite number, which
// its label says by itself). Field captions come from the engine's field catalogue.
QString momentMessage(const MomentOutcome &outcome);

} // namespace kelsa
