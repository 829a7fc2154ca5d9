// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/mainwindow/form1controls.h"

#include <QRadioButton>

namespace kelsa
{

int Form1Controls::selectedOption(OptionGroup group) const
{
    const auto &buttons = optionGroup(group);
    for (std::size_t k = 0; k < buttons.size(); ++k)
        if (buttons[k]->isChecked())
            return int(k);
    return optionGroupInfo(group).startIndex;
}

OptionSelection Form1Controls::selectedOptions() const
{
    OptionSelection selection {};
    for (const OptionGroupInfo &info : optionGroups())
        selection[std::size_t(info.group)] = selectedOption(info.group);
    return selection;
}

} // namespace kelsa
