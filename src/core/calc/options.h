// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringView>

#include <array>
#include <optional>
#include <span>

namespace kelsa
{

// The seven option groups of the main window; exactly one option of each is selected. Only the
// track section enters a moment. The ice wall and the wind speeds choose which cell of each
// reference table is shown and copied; the last two only change what the window shows.
enum class OptionGroup {
    IceThickness, // 5, 10, 15, 20 mm
    TrackSection, // straight, outer curve, inner curve
    TransitionSupport, // on, off
    IceWindForRnv, // wind in ice for "Рнв" and "Pпрв": 10, 15, 20 m/s
    IceWindForPkv, // wind in ice for "Pкв": 10, 12.5, 15, 17.5, 20 m/s
    MaximumWind, // 20, 25, 30, 35, 40 m/s
    Calculator, // the system calculator, the built-in one
};
inline constexpr int kOptionGroupCount = int(OptionGroup::Calculator) + 1;

// The selected option of every group, by index within its group.
using OptionSelection = std::array<int, kOptionGroupCount>;

struct OptionGroupInfo {
    OptionGroup group;
    std::span<const char *const> options; // control names; an option's index is its place here
    int startIndex; // selected at start-up
    const char *caption; // how the user knows the group, UTF-8
};

// Every group, in the order of OptionGroup, which is also the order start-up selects them in.
std::span<const OptionGroupInfo> optionGroups();
const OptionGroupInfo &optionGroupInfo(OptionGroup group);

struct OptionRef {
    OptionGroup group;
    int index;
};
// The group and index of an option by its control name ("Option19").
std::optional<OptionRef> optionNamed(QStringView name);

// Indexes within their groups.
namespace trackSection
{
inline constexpr int straight = 0, outerCurve = 1, innerCurve = 2;
}
namespace transitionSupport
{
inline constexpr int on = 0, off = 1;
}
namespace calculatorChoice
{
inline constexpr int system = 0, builtIn = 1;
}

} // namespace kelsa
