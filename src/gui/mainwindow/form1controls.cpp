// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/mainwindow/form1controls.h"

#include <QRadioButton>

namespace kelsa
{

FieldEdit *Form1Controls::field(InputField which) const
{
    return fields.at(std::size_t(which));
}

QAbstractButton *Form1Controls::momentButton(Moment moment) const
{
    return momentButtons.at(std::size_t(moment));
}

QLabel *Form1Controls::momentLabel(Moment moment) const
{
    return momentLabels.at(std::size_t(moment));
}

QAbstractButton *Form1Controls::resetButton(Reset reset) const
{
    return resetButtons.at(std::size_t(reset));
}

const std::vector<QRadioButton *> &Form1Controls::optionGroup(OptionGroup group) const
{
    return options.at(std::size_t(group));
}

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
