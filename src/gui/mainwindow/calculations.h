// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/calc/calculation.h"
#include "core/calc/momentcases.h"

#include <QObject>
#include <QString>

#include <array>
#include <functional>
#include <optional>

namespace kelsa
{

struct Form1Controls;

// The calculation buttons of the main window: each takes the window's calculation as it stands,
// has the engine compute its moment and writes the moment, in kgf·m, into its red label, with
// the breakdown of its terms as the label's tooltip. What the engine refuses or cannot compute
// is worded here and shown in a message box, and then the label holds no number at all.
//
// A moment stays on its label until its button is pressed again or a reset empties it; once an
// input it was computed from changes, its tooltip opens with a line that names what changed.
class Calculations : public QObject
{
    Q_OBJECT
public:
    Calculations(const Form1Controls &ui, std::function<Calculation()> currentCalculation,
        std::function<void(const QString &text)> showMessage);

    // The Click handler of the moment's button (Command1, Command3, Command5 .. Command12).
    void calculate(Moment moment);

private:
    // Brings every shown moment's tooltip up to date with the inputs as they are now.
    void updateTooltips();
    void clear(Moment moment);

    // A moment on its label: what it was computed from and its breakdown.
    struct Shown {
        Calculation computedFrom;
        QString breakdown;
    };

    const Form1Controls &m_ui;
    std::function<Calculation()> m_currentCalculation;
    std::function<void(const QString &text)> m_showMessage;
    std::array<std::optional<Shown>, kMomentCount> m_shown;
};

} // namespace kelsa
