// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/calc/moments.h"

#include <QObject>
#include <QString>

class Form1;

namespace kelsa
{

// What a result label shows when the arithmetic gave no finite moment (a zero radius in a
// curve, an overflow): never a number, so nobody mistakes it for one.
QString noFiniteResultText();

// The calculation buttons of the main window: each reads its fields, calls the formula and
// writes the moment, in kgf·m, into its red label, with the breakdown of its terms as the
// label's tooltip.
//
// An empty field of an ordinary support counts as 0: a click empties a field, and an empty
// additional-load cell means no load. Text that is not a number in the user's locale is a
// different matter: it is reported with the field's caption and no moment is written, since a
// silently zeroed tension or span would give a plausible but wrong moment.
class MomentCommands : public QObject
{
    Q_OBJECT
public:
    explicit MomentCommands(Form1 &form);

    void Command1_Click(); // "Мо вг", ice with wind
    void Command3_Click(); // "Мо в max", maximum wind

    // Transition support: ice with wind (5..8) and maximum wind (9..12), each wind direction at
    // the base and at the heel.
    void Command5_Click();
    void Command6_Click();
    void Command7_Click();
    void Command8_Click();
    void Command9_Click();
    void Command10_Click();
    void Command11_Click();
    void Command12_Click();

private:
    void computeSupport(DesignCondition condition);
    void computeTransition(DesignCondition condition, WindDirection direction, SupportLevel level);

    Form1 &m_form;
};

} // namespace kelsa
