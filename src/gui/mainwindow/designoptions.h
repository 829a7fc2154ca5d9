// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

namespace kelsa
{

struct Form1Controls;

// The option groups of the design condition: ice wall, the two wind speeds in ice and the
// maximum wind. Each selection shows, in every reference table, the one cell the condition
// chooses (with the sub-frame around it) and hides the others. They write no text; the values
// reach the calculations only through the cells the look-ups copy.
class DesignOptions : public QObject
{
    Q_OBJECT
public:
    explicit DesignOptions(const Form1Controls &ui);

private:
    void showChosenCells();

    const Form1Controls &m_ui;
};

} // namespace kelsa
