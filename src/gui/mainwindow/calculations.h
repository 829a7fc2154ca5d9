// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/calc/calculation.h"
#include "core/calc/momentcases.h"
#include "core/check/supportcheck.h"

#include <QObject>
#include <QString>

#include <array>
#include <functional>
#include <optional>
#include <vector>

class QAction;

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
// A double click on a label that holds a moment, or «Схема опоры…» of its context menu, opens
// the drawing of the support for it («Схема опоры», SchemeWindow).
class Calculations : public QObject
{
    Q_OBJECT
public:
    Calculations(const Form1Controls &ui, std::function<Calculation()> currentCalculation,
        std::function<void(const QString &text)> showMessage);

    // The Click handler of the moment's button (Command1, Command3, Command5 .. Command12).
    void calculate(Moment moment);

    // The inputs the moment on a label was computed from; nothing for an empty label and for
    // the 0 a missing span or Lp leaves.
    std::optional<Calculation> computedFrom(Moment moment) const;
    // Puts a saved label back: its text, and the breakdown and changed inputs of the moment
    // computed from `computedFrom`, as if its button had been pressed with those inputs.
    void restore(Moment moment, const QString &text, const Calculation &computedFrom);

    // The moments on the labels, each stale when an input it reads changed since.
    std::vector<ComputedMoment> shownMoments() const;
    // A line each result's tooltip ends with, from its moment in kgf·m (the utilisation of the
    // support type checked); empty for none.
    void setTooltipNote(std::function<QString(double kgfm)> note);
    // Brings every shown moment's tooltip up to date with the inputs as they are now.
    void updateTooltips();

    // Opens the drawing of the support for the moment on its label; nothing when it has none.
    void showScheme(Moment moment);

signals:
    // A label got a moment or lost it.
    void resultsChanged();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void clear(Moment moment);
    void setShown(Moment moment, const Calculation &computedFrom, const QString &breakdown,
        std::optional<double> value);
    void showTooltip(Moment moment, const QString &tooltip);

    // A moment on its label: what it was computed from, its breakdown and its value in kgf·m
    // (none for a moment without a finite value).
    struct Shown {
        Calculation computedFrom;
        QString breakdown;
        std::optional<double> value;
    };

    const Form1Controls &m_ui;
    std::function<Calculation()> m_currentCalculation;
    std::function<void(const QString &text)> m_showMessage;
    std::array<std::optional<Shown>, kMomentCount> m_shown;
    std::function<QString(double kgfm)> m_tooltipNote;
    std::array<QAction *, kMomentCount> m_schemeActions {};
};

} // namespace kelsa
