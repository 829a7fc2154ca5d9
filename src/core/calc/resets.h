// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/calc/fields.h"
#include "core/calc/momentcases.h"

#include <span>

namespace kelsa
{

// The reset buttons of the main window: each puts its fields back to their start texts and
// empties the result labels of its moments. No reset touches an option or a table.
enum class Reset {
    IceWithWind, // "Сброс" under "Мо вг"
    MaximumWind, // "Сброс" under "Мо в max"
    TransitionSupport, // "Сброс" of the transition support
    AdditionalLoads, // "Сброс" of the additional loads, with the tensions, radius and stagger
    Everything, // "Сброс все"
};
inline constexpr int kResetCount = int(Reset::Everything) + 1;

struct ResetInfo {
    Reset reset;
    const char *button;
    std::span<const InputField> fields;
    std::span<const Moment> moments;
};

std::span<const ResetInfo> resets();

} // namespace kelsa
