// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/mainwindow/calculations.h"

#include "core/calc/breakdown.h"
#include "core/calc/momentlabel.h"
#include "core/calc/supportscheme.h"
#include "gui/mainwindow/form1controls.h"
#include "gui/mainwindow/momentmessages.h"
#include "gui/scheme/schemewindow.h"
#include "gui/widgets/fieldedit.h"

#include <QAbstractButton>
#include <QAction>
#include <QEvent>
#include <QLabel>
#include <QRadioButton>

#include <utility>

namespace kelsa
{

namespace
{

std::optional<double> valueOf(const MomentOutcome &outcome)
{
    if (outcome.inputsAccepted() && outcome.result.outcome == MomentResult::Outcome::Value)
        return outcome.result.moment;
    return std::nullopt;
}

} // namespace

Calculations::Calculations(const Form1Controls &ui, std::function<Calculation()> currentCalculation,
    std::function<void(const QString &text)> showMessage)
    : m_ui(ui)
    , m_currentCalculation(std::move(currentCalculation))
    , m_showMessage(std::move(showMessage))
{
    for (const MomentInfo &info : moments()) {
        connect(ui.momentButton(info.moment), &QAbstractButton::clicked, this,
            [this, moment = info.moment] { calculate(moment); });
        QLabel *label = ui.momentLabel(info.moment);
        auto *scheme = new QAction(QStringLiteral("Схема опоры…"), label);
        scheme->setObjectName(QStringLiteral("scheme") + QLatin1String(info.label));
        scheme->setEnabled(false);
        connect(scheme, &QAction::triggered, this,
            [this, moment = info.moment] { showScheme(moment); });
        label->addAction(scheme);
        label->setContextMenuPolicy(Qt::ActionsContextMenu);
        label->installEventFilter(this);
        m_schemeActions[std::size_t(info.moment)] = scheme;
    }
    for (FieldEdit *field : ui.fields)
        connect(field, &FieldEdit::textChanged, this, &Calculations::updateTooltips);
    for (const auto &group : ui.options)
        for (QRadioButton *option : group)
            connect(option, &QRadioButton::toggled, this, &Calculations::updateTooltips);
}

void Calculations::calculate(Moment moment)
{
    const Calculation calculation = m_currentCalculation();
    const MomentOutcome outcome = computeMoment(calculation, moment);
    const QString message = momentMessage(outcome);
    QLabel *label = m_ui.momentLabel(moment);
    const MomentResult &result = outcome.result;
    if (!outcome.inputsAccepted()
        || (result.outcome == MomentResult::Outcome::NotFinite && !message.isEmpty())) {
        // No moment: nothing of an earlier one may stay beside inputs it does not belong to.
        clear(moment);
        emit resultsChanged();
        m_showMessage(message);
        return;
    }
    if (result.outcome == MomentResult::Outcome::SpanMissing
        || result.outcome == MomentResult::Outcome::LpMissing) {
        // The label shows 0 after the message, as it always has: no moment without the length.
        clear(moment);
        m_showMessage(message);
        label->setText(resultLabelText(outcome));
        emit resultsChanged();
        return;
    }
    label->setText(resultLabelText(outcome));
    setShown(moment, calculation, momentBreakdown(outcome, calculation), valueOf(outcome));
    emit resultsChanged();
}

void Calculations::setShown(Moment moment, const Calculation &computedFrom,
    const QString &breakdown, std::optional<double> value)
{
    const QString tip = breakdown
        + QStringLiteral("\nСхема опоры — двойной щелчок или «Схема опоры…» в контекстном меню");
    m_shown[std::size_t(moment)] = Shown { computedFrom, tip, value };
    showTooltip(moment, tip);
    m_schemeActions[std::size_t(moment)]->setEnabled(true);
}

void Calculations::showScheme(Moment moment)
{
    const auto &shown = m_shown[std::size_t(moment)];
    QLabel *label = m_ui.momentLabel(moment);
    if (!shown || label->text().isEmpty())
        return;
    const std::optional<SupportScheme> scheme
        = supportScheme(computeMoment(shown->computedFrom, moment), shown->computedFrom, QLocale());
    if (!scheme)
        return;
    auto *window = new SchemeWindow(*scheme, label->window());
    window->show();
}

bool Calculations::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonDblClick)
        for (const MomentInfo &info : moments())
            if (watched == m_ui.momentLabel(info.moment)) {
                showScheme(info.moment);
                return true;
            }
    return QObject::eventFilter(watched, event);
}

std::optional<Calculation> Calculations::computedFrom(Moment moment) const
{
    const auto &shown = m_shown[std::size_t(moment)];
    if (!shown || m_ui.momentLabel(moment)->text().isEmpty())
        return std::nullopt;
    return shown->computedFrom;
}

void Calculations::restore(Moment moment, const QString &text, const Calculation &from)
{
    clear(moment);
    const MomentOutcome outcome = computeMoment(from, moment);
    m_ui.momentLabel(moment)->setText(text);
    const auto result = outcome.result.outcome;
    if (!text.isEmpty() && outcome.inputsAccepted() && result != MomentResult::Outcome::SpanMissing
        && result != MomentResult::Outcome::LpMissing) {
        setShown(moment, from, momentBreakdown(outcome, from), valueOf(outcome));
        updateTooltips();
    }
    emit resultsChanged();
}

void Calculations::clear(Moment moment)
{
    m_shown[std::size_t(moment)].reset();
    m_schemeActions[std::size_t(moment)]->setEnabled(false);
    m_ui.momentLabel(moment)->clear();
    m_ui.momentLabel(moment)->setToolTip(QString());
}

void Calculations::updateTooltips()
{
    std::optional<Calculation> now;
    for (const MomentInfo &info : moments()) {
        auto &shown = m_shown[std::size_t(info.moment)];
        if (!shown)
            continue;
        QLabel *label = m_ui.momentLabel(info.moment);
        if (label->text().isEmpty()) { // emptied by a reset
            shown.reset();
            m_schemeActions[std::size_t(info.moment)]->setEnabled(false);
            continue;
        }
        if (!now)
            now = m_currentCalculation();
        const QStringList changed = changedInputs(info.moment, shown->computedFrom, *now);
        showTooltip(info.moment,
            changed.isEmpty() ? shown->breakdown
                              : changedInputsNote(changed) + QLatin1Char('\n') + shown->breakdown);
    }
}

void Calculations::showTooltip(Moment moment, const QString &tooltip)
{
    const auto &shown = m_shown[std::size_t(moment)];
    const QString note
        = shown && shown->value && m_tooltipNote ? m_tooltipNote(*shown->value) : QString();
    m_ui.momentLabel(moment)->setToolTip(
        note.isEmpty() ? tooltip : tooltip + QLatin1Char('\n') + note);
}

std::vector<ComputedMoment> Calculations::shownMoments() const
{
    std::vector<ComputedMoment> shownNow;
    std::optional<Calculation> now;
    for (const MomentInfo &info : moments()) {
        const auto &shown = m_shown[std::size_t(info.moment)];
        if (!shown || !shown->value || m_ui.momentLabel(info.moment)->text().isEmpty())
            continue;
        if (!now)
            now = m_currentCalculation();
        shownNow.push_back({ info.moment, *shown->value,
            !changedInputs(info.moment, shown->computedFrom, *now).isEmpty() });
    }
    return shownNow;
}

void Calculations::setTooltipNote(std::function<QString(double kgfm)> note)
{
    m_tooltipNote = std::move(note);
    updateTooltips();
}

} // namespace kelsa
