// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

namespace kelsa
{

struct Form1Controls;

// The two switches that only change what is shown: the transition support on or off puts
// either the transition-support frame or the additional loads into the right column, and the
// calculator choice decides which of the two "Калькулятор" buttons stands in the bottom strip.
// Hidden controls keep their texts; the calculations still read them.
class Switches : public QObject
{
    Q_OBJECT
public:
    explicit Switches(const Form1Controls &ui);

    void Option21_Click(); // transition support on
    void Option22_Click(); // transition support off
    void Option23_Click(); // the system calculator
    void Option24_Click(); // the built-in calculator

private:
    const Form1Controls &m_ui;
};

} // namespace kelsa
