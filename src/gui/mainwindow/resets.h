// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/calc/resets.h"

#include <QObject>

class QWidget;

namespace kelsa
{

struct Form1Controls;

// Starting over: a click in a plain input field empties it for retyping, the five reset buttons
// put their fields back to the start texts and empty their result labels, and "Выход" closes
// the main window. Nothing here computes, moves a table or touches an option.
class ResetCommands : public QObject
{
    Q_OBJECT
public:
    ResetCommands(const Form1Controls &ui, QWidget &window);

    void reset(Reset reset);
    void Command16_Click(); // exit

private:
    const Form1Controls &m_ui;
    QWidget &m_window;
};

} // namespace kelsa
