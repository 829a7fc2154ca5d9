// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/mainwindow/calculations.h"

#include "core/calc/breakdown.h"
#include "core/numbers/numbertext.h"
#include "gui/mainwindow/form1controls.h"
#include "gui/mainwindow/momentmessages.h"

#include <QAbstractButton>
#include <QLabel>

#include <utility>

namespace kelsa
{

namespace
{

void writeResult(QLabel *label, const QString &text, const QString &tooltip)
{
    label->setText(text);
    label->setToolTip(tooltip);
}

} // namespace

Calculations::Calculations(const Form1Controls &ui, std::function<Calculation()> currentCalculation,
    std::function<void(const QString &text)> showMessage)
    : m_ui(ui)
    , m_currentCalculation(std::move(currentCalculation))
    , m_showMessage(std::move(showMessage))
{
    for (const MomentInfo &info : moments())
        connect(ui.momentButton(info.moment), &QAbstractButton::clicked, this,
            [this, moment = info.moment] { calculate(moment); });
}

void Calculations::calculate(Moment moment)
{
    const Calculation calculation = m_currentCalculation();
    const MomentOutcome outcome = computeMoment(calculation, moment);
    const QString message = momentMessage(outcome);
    QLabel *label = m_ui.momentLabel(moment);
    if (!outcome.inputsAccepted()) {
        m_showMessage(message);
        return;
    }
    const MomentResult &result = outcome.result;
    switch (result.outcome) {
    case MomentResult::Outcome::SpanMissing:
    case MomentResult::Outcome::LpMissing:
        // The label shows 0 after the message, as it always has: no moment without the length.
        m_showMessage(message);
        writeResult(label, writeNumber(0), QString());
        break;
    case MomentResult::Outcome::NotFinite:
        if (!message.isEmpty()) { // the transition support: the label keeps what it had
            m_showMessage(message);
            break;
        }
        writeResult(
            label, noFiniteResultText(), momentBreakdown(outcome, calculation.trackSection()));
        break;
    case MomentResult::Outcome::Value:
        writeResult(label, writeNumber(result.moment),
            momentBreakdown(outcome, calculation.trackSection()));
        break;
    }
}

} // namespace kelsa
