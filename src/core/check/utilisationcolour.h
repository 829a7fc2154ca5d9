// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The colour a utilisation is shown on, as 0xRRGGBB: the status bar of the main window, the
// schedule's table and its exported workbook all use these three.

#include "core/check/supportcheck.h"

#include <cstdint>

namespace kelsa
{

constexpr std::uint32_t utilisationRgb(UtilisationLevel level)
{
    switch (level) {
    case UtilisationLevel::Green:
        return 0x2E7D32;
    case UtilisationLevel::Amber:
        return 0xFFB300;
    case UtilisationLevel::Red:
        return 0xD32F2F;
    }
    return 0;
}

} // namespace kelsa
