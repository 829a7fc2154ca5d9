// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/mainwindow/switches.h"

#include "gui/mainwindow/form1controls.h"

#include <QAbstractButton>
#include <QRadioButton>

namespace kelsa
{

Switches::Switches(const Form1Controls &ui)
    : m_ui(ui)
{
    const auto wire = [this](QRadioButton *option, void (Switches::*handler)()) {
        connect(option, &QRadioButton::toggled, this, [this, handler](bool selected) {
            if (selected)
                (this->*handler)();
        });
    };
    const auto &transition = ui.optionGroup(OptionGroup::TransitionSupport);
    wire(transition[transitionSupport::on], &Switches::Option21_Click);
    wire(transition[transitionSupport::off], &Switches::Option22_Click);
    const auto &calculator = ui.optionGroup(OptionGroup::Calculator);
    wire(calculator[calculatorChoice::system], &Switches::Option23_Click);
    wire(calculator[calculatorChoice::builtIn], &Switches::Option24_Click);
}

void Switches::Option21_Click()
{
    m_ui.transitionFrame->show();
    m_ui.additionalLoadsFrame->hide();
}

void Switches::Option22_Click()
{
    m_ui.transitionFrame->hide();
    m_ui.additionalLoadsFrame->show();
}

void Switches::Option23_Click()
{
    m_ui.systemCalculatorButton->show();
    m_ui.builtInCalculatorButton->hide();
}

void Switches::Option24_Click()
{
    m_ui.systemCalculatorButton->hide();
    m_ui.builtInCalculatorButton->show();
}

} // namespace kelsa
