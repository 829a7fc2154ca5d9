// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/report/calculationreport.h"

#include "core/calc/breakdown.h"
#include "core/calc/momentlabel.h"
#include "core/calc/termformulas.h"
#include "core/document/calculationfile.h"
#include "core/numbers/numbertext.h"
#include "core/report/reportsections.h"
#include "core/report/supportcheckreport.h"

#include <array>
#include <cmath>

namespace kelsa
{

namespace
{

using Kind = ReportBlock::Kind;

const QString kNone = QStringLiteral("—");

QString orNone(const QString &text)
{
    return text.trimmed().isEmpty() ? kNone : text;
}

// The value each option of the design condition stands for, in the order of its group.
QString optionText(OptionGroup group, int index, const QLocale &locale)
{
    static constexpr std::array<double, 4> kIceMillimetres { 5, 10, 15, 20 };
    static constexpr std::array<double, 3> kRnvWind { 10, 15, 20 };
    static constexpr std::array<double, 5> kPkvWind { 10, 12.5, 15, 17.5, 20 };
    static constexpr std::array<double, 5> kMaxWind { 20, 25, 30, 35, 40 };
    const auto number = [&](const auto &values, const char *unit) {
        if (index < 0 || std::size_t(index) >= values.size())
            return kNone;
        return writeNumber(values[std::size_t(index)], locale) + QLatin1Char(' ')
            + QString::fromUtf8(unit);
    };
    switch (group) {
    case OptionGroup::IceThickness:
        return number(kIceMillimetres, "мм");
    case OptionGroup::IceWindForRnv:
        return number(kRnvWind, "м/с");
    case OptionGroup::IceWindForPkv:
        return number(kPkvWind, "м/с");
    case OptionGroup::MaximumWind:
        return number(kMaxWind, "м/с");
    case OptionGroup::TrackSection:
        return index == trackSection::outerCurve ? QStringLiteral("внешняя сторона кривой")
            : index == trackSection::innerCurve ? QStringLiteral("внутренняя сторона кривой")
                                                : QStringLiteral("прямая");
    case OptionGroup::TransitionSupport:
        return index == transitionSupport::on ? QStringLiteral("включена")
                                              : QStringLiteral("отключена");
    case OptionGroup::Calculator:
        break;
    }
    return {};
}

// What an option group chooses, with its caption in the window, which stays as it is there.
QString conditionCaption(OptionGroup group)
{
    QString caption = QString::fromUtf8(optionGroupInfo(group).caption);
    switch (group) {
    case OptionGroup::IceThickness:
        return QStringLiteral("Толщина стенки гололеда (%1)").arg(caption);
    case OptionGroup::IceWindForRnv:
        return QStringLiteral("Скорость ветра при гололеде для Рнв, Рпрв (%1)").arg(caption);
    case OptionGroup::IceWindForPkv:
        return QStringLiteral("Скорость ветра при гололеде для Ркв (%1)").arg(caption);
    case OptionGroup::MaximumWind:
        return QStringLiteral("Скорость ветра для Рнв в, Ркв в, Рпрв в (%1)").arg(caption);
    default:
        return caption;
    }
}

// The value to 0.01 differs from what the label shows: the label's text, else nothing.
QString labelBesideRounded(const QString &label, double moment, const QLocale &locale)
{
    if (!std::isfinite(moment) || label == hundredths(moment, locale))
        return {};
    const std::optional<double> shown = readNumber(label, locale);
    if (shown && *shown == std::round(moment * 100) / 100)
        return {};
    return label;
}

// One row of the moments' summary: the moment, its value and what its label shows where that
// differs, or that it was not computed.
QStringList summaryRow(const SavedCalculation &saved, Moment moment, const QLocale &locale)
{
    const SavedResult &result = saved.result(moment);
    if (result.text.isEmpty())
        return { headingOf(saved, moment), QStringLiteral("не вычислен"), QString() };
    const MomentOutcome outcome
        = computeMoment(result.computedFrom.value_or(saved.calculation), moment, locale);
    QString value = valueText(outcome, locale);
    if (!changedSinceComputed(saved, moment).isEmpty())
        value += QStringLiteral(" (исходные данные изменены после расчета)");
    const bool computed
        = outcome.inputsAccepted() && outcome.result.outcome == MomentResult::Outcome::Value;
    return { headingOf(saved, moment), value,
        computed ? labelBesideRounded(result.text, outcome.result.moment, locale) : QString() };
}

} // namespace

ReportBlock textBlock(ReportBlock::Kind kind, const QString &text)
{
    return ReportBlock { kind, text, {}, false, {} };
}

ReportBlock tableBlock(std::vector<QStringList> rows, bool header, QList<int> widths)
{
    ReportBlock table { Kind::Table, {}, std::move(rows), header, {} };
    table.widths = std::move(widths);
    return table;
}

QString valueText(const MomentOutcome &outcome, const QLocale &locale)
{
    if (!outcome.inputsAccepted())
        return QStringLiteral("не вычислен: исходные данные не читаются как числа");
    switch (outcome.result.outcome) {
    case MomentResult::Outcome::Value:
        return momentInBothUnits(outcome.result.moment, locale);
    case MomentResult::Outcome::SpanMissing:
        return QStringLiteral("0 — нет длины пролета");
    case MomentResult::Outcome::LpMissing:
        return QStringLiteral("0 — нет расстояния от переходной до анкерной опоры");
    case MomentResult::Outcome::NotFinite:
        return noFiniteResultText();
    }
    return {};
}

QString headingOf(const SavedCalculation &saved, Moment moment)
{
    const SavedResult &result = saved.result(moment);
    return momentHeading(moment, result.computedFrom.value_or(saved.calculation).trackSection());
}

QStringList changedSinceComputed(const SavedCalculation &saved, Moment moment)
{
    const SavedResult &result = saved.result(moment);
    return result.computedFrom ? changedInputs(moment, *result.computedFrom, saved.calculation)
                               : QStringList();
}

ReportBlocks titleSection(const ReportContext &context)
{
    const ReportInput &input = context.input;
    const ReportTitle &title = input.saved.title;
    return {
        textBlock(Kind::Title, QStringLiteral("Расчет изгибающих моментов опоры контактной сети")),
        tableBlock(
            {
                { QStringLiteral("Объект"), orNone(title.object) },
                { QStringLiteral("Опора №"), orNone(title.support) },
                { QStringLiteral("Составил"), orNone(title.author) },
                { QStringLiteral("Дата"),
                    input.date.isValid() ? input.date.toString(QStringLiteral("dd.MM.yyyy"))
                                         : kNone },
                { QStringLiteral("Папка справочных таблиц"), orNone(input.tablesFolder) },
            },
            false, { 45, 55 }),
    };
}

ReportBlocks conditionSection(const ReportContext &context)
{
    const Calculation &calculation = context.input.saved.calculation;
    std::vector<QStringList> rows;
    for (const OptionGroup group :
        { OptionGroup::IceThickness, OptionGroup::IceWindForRnv, OptionGroup::IceWindForPkv,
            OptionGroup::MaximumWind, OptionGroup::TrackSection, OptionGroup::TransitionSupport })
        rows.push_back({ conditionCaption(group),
            optionText(group, calculation.option(group), context.locale) });
    return {
        textBlock(Kind::Section, QStringLiteral("Расчетный режим")),
        tableBlock(std::move(rows), false, { 60, 40 }),
        textBlock(Kind::Text,
            QStringLiteral("Толщина гололеда и скорости ветра выбирают столбец справочных "
                           "таблиц, из которого берутся нагрузки на 1 м; в формулы моментов "
                           "входят эти нагрузки и скорость ветра на опору (поле «Vmax в.»).")),
    };
}

ReportBlocks summarySection(const ReportContext &context)
{
    std::vector<QStringList> rows { { QStringLiteral("Момент"), QStringLiteral("Значение"),
        QStringLiteral("В окне") } };
    for (const MomentInfo &info : moments())
        rows.push_back(summaryRow(context.input.saved, info.moment, context.locale));
    return {
        textBlock(Kind::Section, QStringLiteral("Изгибающие моменты")),
        tableBlock(std::move(rows), true, { 45, 40, 15 }),
    };
}

std::vector<ReportBlock> buildReport(const ReportInput &input)
{
    const ReportContext context { input, calculationFileLocale(input.saved.decimalSeparator) };
    std::vector<ReportBlock> blocks;
    // The moments come before the inputs, so that the first page gives the answer.
    for (const auto section :
        { titleSection, conditionSection, summarySection, inputSection, breakdownSection }) {
        ReportBlocks part = section(context);
        blocks.insert(blocks.end(), std::make_move_iterator(part.begin()),
            std::make_move_iterator(part.end()));
    }
    appendSupportCheck(blocks, input);
    return blocks;
}

QString reportFooterTitle(const ReportInput &input)
{
    const ReportTitle &title = input.saved.title;
    QStringList parts;
    if (!title.object.trimmed().isEmpty())
        parts << title.object.trimmed();
    if (!title.support.trimmed().isEmpty())
        parts << QStringLiteral("опора № %1").arg(title.support.trimmed());
    return parts.join(QStringLiteral(", "));
}

QString reportPageNumber(int page, int pageCount)
{
    return QStringLiteral("стр. %1 из %2").arg(page).arg(pageCount);
}

} // namespace kelsa
