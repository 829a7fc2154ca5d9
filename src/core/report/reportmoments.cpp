// SPDX-License-Identifier: GPL-3.0-or-later
// «Разбор вычисленных моментов»: every computed moment as a calculation note writes it, with a
// drawing of the support beside the ordinary moments and the governing transition moment.
#include "core/report/reportsections.h"

#include "core/calc/breakdown.h"
#include "core/calc/momentlabel.h"
#include "core/calc/supportscheme.h"
#include "core/calc/termformulas.h"

#include <QSet>

#include <cmath>
#include <optional>

namespace kelsa
{

namespace
{

using Kind = ReportBlock::Kind;

QString orNone(const QString &text)
{
    return text.trimmed().isEmpty() ? QStringLiteral("—") : text;
}

const Calculation &computedFrom(const SavedCalculation &saved, Moment moment)
{
    const SavedResult &result = saved.result(moment);
    return result.computedFrom ? *result.computedFrom : saved.calculation;
}

bool hasValue(const MomentOutcome &outcome)
{
    return outcome.inputsAccepted() && outcome.result.outcome == MomentResult::Outcome::Value;
}

// The transition moment a drawing is made for: of those computed, the largest in magnitude,
// which governs the design of the support. None while the transition support is switched off.
std::optional<Moment> governingTransition(const SavedCalculation &saved, const QLocale &locale)
{
    if (saved.calculation.option(OptionGroup::TransitionSupport) != transitionSupport::on)
        return std::nullopt;
    std::optional<Moment> governing;
    double largest = -1;
    for (const MomentInfo &info : moments()) {
        if (!info.transition || saved.result(info.moment).text.isEmpty())
            continue;
        const MomentOutcome outcome
            = computeMoment(computedFrom(saved, info.moment), info.moment, locale);
        if (hasValue(outcome) && std::abs(outcome.result.moment) > largest) {
            largest = std::abs(outcome.result.moment);
            governing = info.moment;
        }
    }
    return governing;
}

ReportBlock linesBlock(QStringList lines)
{
    return ReportBlock { Kind::Lines, {}, {}, false, std::move(lines) };
}

// «где L — длина пролета, м (поле «Длина прол.»);» for each symbol not explained before.
std::optional<ReportBlock> notesBlock(
    const std::vector<SymbolNote> &notes, QSet<QString> &explained)
{
    QStringList lines;
    for (const SymbolNote &note : notes) {
        if (explained.contains(note.symbols))
            continue;
        explained.insert(note.symbols);
        lines << QStringLiteral("%1 — %2;").arg(note.symbols, note.meaning);
    }
    if (lines.isEmpty())
        return std::nullopt;
    lines.front().prepend(QStringLiteral("где "));
    lines.back().chop(1);
    lines.back() += QLatin1Char('.');
    return ReportBlock { Kind::Notes, {}, {}, false, lines };
}

ReportBlock schemeBlock(const SupportScheme &scheme)
{
    QStringList labels { schemeCaption(scheme) };
    for (const SchemeLoad &load : scheme.loads)
        labels << load.label.join(QStringLiteral(", "));
    ReportBlock block { Kind::Scheme, {}, {}, false, labels };
    block.scheme = scheme;
    return block;
}

// The note of one computed moment.
void addMoment(ReportBlocks &blocks, const SavedCalculation &saved, Moment moment, bool drawn,
    QSet<QString> &explained, const QLocale &locale)
{
    const SavedResult &result = saved.result(moment);
    const Calculation &from = computedFrom(saved, moment);
    blocks.push_back(textBlock(Kind::Subsection, headingOf(saved, moment)));
    const MomentOutcome outcome = computeMoment(from, moment, locale);
    blocks.push_back(textBlock(Kind::Value,
        (hasValue(outcome) ? QStringLiteral("М = ") : QString()) + valueText(outcome, locale)));
    const QString recomputed = resultLabelText(outcome, locale);
    if (recomputed != result.text)
        blocks.push_back(textBlock(Kind::Warning,
            QStringLiteral("В расчете записано «%1», пересчет по исходным данным дает «%2»")
                .arg(result.text, orNone(recomputed))));
    const QStringList changed = changedSinceComputed(saved, moment);
    if (!changed.isEmpty())
        blocks.push_back(textBlock(Kind::Warning, changedInputsNote(changed)));
    if (!outcome.inputsAccepted())
        return;

    const MomentExplanation explanation = explainMoment(outcome, from, locale);
    for (const TermLine &term : explanation.terms)
        blocks.push_back(ReportBlock { Kind::Term, QStringLiteral("Момент ") + term.name, {}, false,
            { QStringLiteral("%1 = %2 =").arg(term.symbol, term.formula),
                QStringLiteral("= %1 = %2 кгс·м")
                    .arg(term.numbers, hundredths(term.value, locale)) } });
    if (!explanation.terms.empty()) {
        const QString sum = QStringLiteral("М = %1 =").arg(sumInSymbols(explanation.terms));
        const QString total = std::isfinite(outcome.result.moment)
            ? momentInBothUnits(outcome.result.moment, locale)
            : noFiniteResultText();
        blocks.push_back(linesBlock({ sum,
            QStringLiteral("= %1 = %2").arg(sumInNumbers(explanation.terms, locale), total) }));
    }
    if (auto notes = notesBlock(explanation.notes, explained))
        blocks.push_back(std::move(*notes));
    const QString empty = emptyAsZeroCaptions(outcome);
    if (!empty.isEmpty())
        blocks.push_back(
            textBlock(Kind::Text, QStringLiteral("Пустые поля считаны как 0: %1").arg(empty)));
    if (drawn)
        if (const auto scheme = supportScheme(outcome, from, locale))
            blocks.push_back(schemeBlock(*scheme));
}

} // namespace

ReportBlocks breakdownSection(const ReportContext &context)
{
    const SavedCalculation &saved = context.input.saved;
    const std::optional<Moment> governing = governingTransition(saved, context.locale);
    ReportBlocks blocks { textBlock(Kind::Section, QStringLiteral("Разбор вычисленных моментов")) };
    QSet<QString> explained;
    for (const MomentInfo &info : moments())
        if (!saved.result(info.moment).text.isEmpty())
            addMoment(blocks, saved, info.moment, !info.transition || info.moment == governing,
                explained, context.locale);
    if (blocks.size() == 1)
        blocks.push_back(textBlock(Kind::Text, QStringLiteral("Ни один момент не вычислен.")));
    return blocks;
}

} // namespace kelsa
