// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

class Form1;

namespace kelsa
{

// Starting over: a click in a plain input field empties it for retyping, the five reset buttons
// put groups of fields back to their initial texts and empty result labels, and "Выход" closes
// the main window. Nothing here computes, moves a table or touches an option.
class ResetCommands : public QObject
{
    Q_OBJECT
public:
    explicit ResetCommands(Form1 &form);

    void Command2_Click(); // ice with wind
    void Command4_Click(); // maximum wind
    void Command13_Click(); // transition support
    void Command14_Click(); // additional loads and Text1..Text5
    void Command19_Click(); // everything
    void Command16_Click(); // exit

private:
    void setTexts(std::initializer_list<const char *> names, const char *text);
    void clearLabels(std::initializer_list<const char *> names);
    void resetGrids();

    Form1 &m_form;
};

// The 29 input fields that a click empties (the seven look-up fields fill instead).
extern const char *const kPlainInputFields[29];

} // namespace kelsa
