// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/calc/options.h"

#include <QString>

namespace kelsa
{

namespace
{

// Options in the order of their values. The wind options for "Pкв" are not numbered in that
// order on the window: "10" is Option17.
constexpr const char *kIce[] = { "Option1", "Option2", "Option3", "Option4" };
constexpr const char *kSection[] = { "Option18", "Option19", "Option20" };
constexpr const char *kTransition[] = { "Option21", "Option22" };
constexpr const char *kRnvWind[] = { "Option5", "Option6", "Option7" };
constexpr const char *kPkvWind[] = { "Option17", "Option13", "Option14", "Option15", "Option16" };
constexpr const char *kMaxWind[] = { "Option8", "Option9", "Option10", "Option11", "Option12" };
constexpr const char *kCalculator[] = { "Option23", "Option24" };

// The two wind groups in ice share the caption "Vр.ветра м/с" on the window; the loads they
// choose for tell them apart.
constexpr OptionGroupInfo kGroups[] = {
    { OptionGroup::IceThickness, kIce, 0, "Толщина ст. гололеда мм" },
    { OptionGroup::TrackSection, kSection, trackSection::straight, "Участок пути" },
    { OptionGroup::TransitionSupport, kTransition, transitionSupport::off, "Переходная опора" },
    { OptionGroup::IceWindForRnv, kRnvWind, 0, "Vр.ветра м/с для Pнв и Pпрв" },
    { OptionGroup::IceWindForPkv, kPkvWind, 0, "Vр.ветра м/с для Pкв" },
    { OptionGroup::MaximumWind, kMaxWind, 0, "Vmax в.м/с" },
    { OptionGroup::Calculator, kCalculator, calculatorChoice::builtIn, "Калькулятор" },
};
static_assert(std::size(kGroups) == kOptionGroupCount);

} // namespace

std::span<const OptionGroupInfo> optionGroups()
{
    return kGroups;
}

const OptionGroupInfo &optionGroupInfo(OptionGroup group)
{
    return kGroups[int(group)];
}

std::optional<OptionRef> optionNamed(QStringView name)
{
    for (const OptionGroupInfo &info : kGroups)
        for (int k = 0; k < int(info.options.size()); ++k)
            if (name == QLatin1String(info.options[k]))
                return OptionRef { info.group, k };
    return std::nullopt;
}

} // namespace kelsa
