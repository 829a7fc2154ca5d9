// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/mainwindow/switches.h"

#include "gui/mainwindow/form1.h"

#include <QRadioButton>

namespace kelsa
{

Switches::Switches(Form1 &form)
    : m_form(form)
{
    const auto wire = [&](const char *name, void (Switches::*handler)()) {
        connect(form.option(QString::fromLatin1(name)), &QRadioButton::toggled, this,
            [this, handler](bool selected) {
                if (selected)
                    (this->*handler)();
            });
    };
    wire("Option21", &Switches::Option21_Click);
    wire("Option22", &Switches::Option22_Click);
    wire("Option23", &Switches::Option23_Click);
    wire("Option24", &Switches::Option24_Click);
}

void Switches::Option21_Click()
{
    m_form.control(QStringLiteral("Frame35"))->show();
    m_form.control(QStringLiteral("Frame39"))->hide();
}

void Switches::Option22_Click()
{
    m_form.control(QStringLiteral("Frame35"))->hide();
    m_form.control(QStringLiteral("Frame39"))->show();
}

void Switches::Option23_Click()
{
    m_form.control(QStringLiteral("Command17"))->show();
    m_form.control(QStringLiteral("Command18"))->hide();
}

void Switches::Option24_Click()
{
    m_form.control(QStringLiteral("Command17"))->hide();
    m_form.control(QStringLiteral("Command18"))->show();
}

} // namespace kelsa
