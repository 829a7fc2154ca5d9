// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/calc/calculation.h"

namespace kelsa
{

Calculation Calculation::atStart()
{
    Calculation calculation;
    for (const FieldInfo &info : inputFields())
        calculation.text(info.field) = QString::fromLatin1(info.startText);
    for (const OptionGroupInfo &info : optionGroups())
        calculation.setOption(info.group, info.startIndex);
    return calculation;
}

TrackSection Calculation::trackSection() const
{
    switch (option(OptionGroup::TrackSection)) {
    case trackSection::outerCurve:
        return TrackSection::OuterCurve;
    case trackSection::innerCurve:
        return TrackSection::InnerCurve;
    default:
        return TrackSection::Straight;
    }
}

bool Calculation::setText(QStringView fieldName, const QString &newText)
{
    const auto field = inputFieldNamed(fieldName);
    if (!field)
        return false;
    text(*field) = newText;
    return true;
}

bool Calculation::selectOption(QStringView optionName)
{
    const auto option = optionNamed(optionName);
    if (!option)
        return false;
    setOption(option->group, option->index);
    return true;
}

QString Calculation::selectedOptionName(OptionGroup group) const
{
    const auto &names = optionGroupInfo(group).options;
    const int index = option(group);
    return index >= 0 && index < int(names.size()) ? QString::fromLatin1(names[std::size_t(index)])
                                                   : QString();
}

} // namespace kelsa
