// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/report/calculationreport.h"

#include "core/calc/breakdown.h"
#include "core/calc/momentlabel.h"
#include "core/document/calculationfile.h"
#include "core/numbers/numbertext.h"
#include "core/report/supportcheckreport.h"

#include <QLocale>

#include <array>
#include <span>

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

ReportBlock block(Kind kind, const QString &text)
{
    return ReportBlock { kind, text, {}, false, {} };
}

ReportBlock table(std::vector<QStringList> rows, bool header)
{
    return ReportBlock { Kind::Table, {}, std::move(rows), header, {} };
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

QString caption(OptionGroup group)
{
    return QString::fromUtf8(optionGroupInfo(group).caption);
}

const ReferenceTable *tableNamed(const QString &navigator)
{
    for (const ReferenceTable &table : referenceTables())
        if (navigator == QLatin1String(table.navigator))
            return &table;
    return nullptr;
}

// «таблица «Gп» (т11.2.xls), запись 3, строка «М-95+МФ-100», ячейка Gp10».
QString sourceText(const LookupSource &source)
{
    const ReferenceTable *table = tableNamed(source.table);
    const QString name = table
        ? QStringLiteral("«%1» (%2)")
              .arg(QString::fromUtf8(table->caption), QString::fromUtf8(table->fileName))
        : source.table;
    return QStringLiteral("таблица %1, запись %2, строка «%3», ячейка %4")
        .arg(name, QString::number(source.record), source.row, source.cell);
}

QString valueWithUnit(const Calculation &calculation, InputField field)
{
    const QString &text = calculation.text(field);
    const QString unit = QString::fromUtf8(fieldInfo(field).unit);
    if (text.isEmpty())
        return QStringLiteral("пусто");
    return unit.isEmpty() ? text : text + QLatin1Char(' ') + unit;
}

// Caption, value with its unit and, with `sources`, where a look-up field's text came from.
ReportBlock fieldTable(
    const Calculation &calculation, std::span<const InputField> fields, bool sources)
{
    std::vector<QStringList> rows;
    if (sources)
        rows.push_back(
            { QStringLiteral("Поле"), QStringLiteral("Значение"), QStringLiteral("Откуда взято") });
    for (const InputField field : fields) {
        const FieldInfo &info = fieldInfo(field);
        QStringList row { QString::fromUtf8(info.caption), valueWithUnit(calculation, field) };
        if (sources) {
            if (const auto &source = calculation.source(field))
                row << sourceText(*source);
            else
                row << (info.lookup ? QStringLiteral("введено вручную") : QString());
        }
        rows.push_back(row);
    }
    return table(std::move(rows), sources);
}

// A grid of additional loads, one row per load: "+ - G/P" × "L/l" × "n", from `first` on in
// steps of three fields, as the window lays it out.
ReportBlock gridTable(const Calculation &calculation, InputField first, const QString &load)
{
    ReportBlock grid
        = table({ { QString(), load, QStringLiteral("L/l"), QStringLiteral("n") } }, true);
    grid.kind = Kind::Grid;
    for (int row = 0; row < 3; ++row) {
        QStringList cells { QStringLiteral("Строка %1").arg(row + 1) };
        for (int column = 0; column < 3; ++column)
            cells << valueWithUnit(calculation, InputField(int(first) + row + 3 * column));
        grid.rows.push_back(cells);
    }
    return grid;
}

void addInputs(std::vector<ReportBlock> &blocks, const Calculation &calculation)
{
    using F = InputField;
    static constexpr F kGeneral[] = { F::SpanLength, F::MaxWindSpeed, F::MessengerTension,
        F::ContactTension, F::FeederTension, F::CurveRadius, F::Stagger, F::AnchorDistance };
    blocks.push_back(block(Kind::Section, QStringLiteral("Исходные данные")));
    blocks.push_back(fieldTable(calculation, kGeneral, false));
    blocks.push_back(block(Kind::Subsection, QStringLiteral("Нагрузки на 1 м, гололед с ветром")));
    blocks.push_back(fieldTable(calculation, loadFields(DesignCondition::IceWithWind), true));
    blocks.push_back(
        block(Kind::Subsection, QStringLiteral("Нагрузки на 1 м, максимальный ветер")));
    blocks.push_back(fieldTable(calculation, loadFields(DesignCondition::MaximumWind), true));
    blocks.push_back(block(Kind::Subsection, QStringLiteral("Дополнительные нагрузки, прямая")));
    blocks.push_back(gridTable(calculation, F::D1, QStringLiteral("+ - G/P")));
    blocks.push_back(block(Kind::Subsection, QStringLiteral("Дополнительные нагрузки, кривая")));
    blocks.push_back(gridTable(calculation, F::F1, QStringLiteral("+ - T")));
}

// What a result label holds, in words: its value with both units, or why it has none.
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

QStringList changedSinceComputed(const SavedCalculation &saved, Moment moment)
{
    const SavedResult &result = saved.result(moment);
    return result.computedFrom ? changedInputs(moment, *result.computedFrom, saved.calculation)
                               : QStringList();
}

QString headingOf(const SavedCalculation &saved, Moment moment)
{
    const SavedResult &result = saved.result(moment);
    return momentHeading(moment, result.computedFrom.value_or(saved.calculation).trackSection());
}

// One row of the moments' summary: the moment and its value, or that it was not computed.
QStringList summaryRow(const SavedCalculation &saved, Moment moment, const QLocale &locale)
{
    const SavedResult &result = saved.result(moment);
    if (result.text.isEmpty())
        return { headingOf(saved, moment), QStringLiteral("не вычислен") };
    const MomentOutcome outcome
        = computeMoment(result.computedFrom.value_or(saved.calculation), moment, locale);
    QString value = valueText(outcome, locale);
    if (!changedSinceComputed(saved, moment).isEmpty())
        value += QStringLiteral(" (исходные данные изменены после расчета)");
    return { headingOf(saved, moment), value };
}

// The details of a computed moment: its value, warnings, formula, terms and empty fields.
void addMoment(std::vector<ReportBlock> &blocks, const SavedCalculation &saved, Moment moment,
    const QLocale &locale)
{
    const SavedResult &result = saved.result(moment);
    const Calculation &from = result.computedFrom.value_or(saved.calculation);
    blocks.push_back(block(Kind::Subsection, headingOf(saved, moment)));
    const MomentOutcome outcome = computeMoment(from, moment, locale);
    const bool value
        = outcome.inputsAccepted() && outcome.result.outcome == MomentResult::Outcome::Value;
    blocks.push_back(block(
        Kind::Value, (value ? QStringLiteral("M = ") : QString()) + valueText(outcome, locale)));
    const QString recomputed = resultLabelText(outcome, locale);
    if (recomputed != result.text)
        blocks.push_back(block(Kind::Warning,
            QStringLiteral("В расчете записано «%1», пересчет по исходным данным дает «%2»")
                .arg(result.text, orNone(recomputed))));
    const QStringList changed = changedSinceComputed(saved, moment);
    if (!changed.isEmpty())
        blocks.push_back(block(Kind::Warning, changedInputsNote(changed)));
    if (!outcome.inputsAccepted())
        return;
    // The formula as the sum of its terms, each of which carries the sign it entered with.
    QStringList names;
    for (const MomentTerm &term : outcome.result.terms)
        names << QString::fromLatin1(term.name);
    if (!names.isEmpty())
        blocks.push_back(ReportBlock { Kind::Lines, {}, {}, false,
            QStringList { QStringLiteral("M = ") + names.join(QStringLiteral(" + ")) }
                + momentTermLines(outcome, locale) });
    const QString empty = emptyAsZeroCaptions(outcome);
    if (!empty.isEmpty())
        blocks.push_back(
            block(Kind::Text, QStringLiteral("Пустые поля считаны как 0: %1").arg(empty)));
}

} // namespace

std::vector<ReportBlock> buildReport(const ReportInput &input)
{
    const SavedCalculation &saved = input.saved;
    const Calculation &calculation = saved.calculation;
    // Number texts of a calculation are read and written with its own separator, whatever the
    // user's locale is.
    const QLocale locale = calculationFileLocale(saved.decimalSeparator);
    std::vector<ReportBlock> blocks;
    blocks.push_back(
        block(Kind::Title, QStringLiteral("Расчет изгибающих моментов опоры контактной сети")));
    blocks.push_back(table(
        {
            { QStringLiteral("Объект"), orNone(saved.title.object) },
            { QStringLiteral("Опора №"), orNone(saved.title.support) },
            { QStringLiteral("Составил"), orNone(saved.title.author) },
            { QStringLiteral("Дата"),
                input.date.isValid() ? input.date.toString(QStringLiteral("dd.MM.yyyy")) : kNone },
            { QStringLiteral("Папка справочных таблиц"), orNone(input.tablesFolder) },
        },
        false));

    blocks.push_back(block(Kind::Section, QStringLiteral("Расчетный режим")));
    std::vector<QStringList> condition;
    for (const OptionGroup group :
        { OptionGroup::IceThickness, OptionGroup::IceWindForRnv, OptionGroup::IceWindForPkv,
            OptionGroup::MaximumWind, OptionGroup::TrackSection, OptionGroup::TransitionSupport })
        condition.push_back(
            { caption(group), optionText(group, calculation.option(group), locale) });
    blocks.push_back(table(std::move(condition), false));

    // The moments come before the inputs, so that the first page gives the answer.
    blocks.push_back(block(Kind::Section, QStringLiteral("Изгибающие моменты")));
    std::vector<QStringList> summary { { QStringLiteral("Момент"), QStringLiteral("Значение") } };
    for (const MomentInfo &info : moments())
        summary.push_back(summaryRow(saved, info.moment, locale));
    blocks.push_back(table(std::move(summary), true));

    addInputs(blocks, calculation);

    blocks.push_back(block(Kind::Section, QStringLiteral("Разбор вычисленных моментов")));
    for (const MomentInfo &info : moments())
        if (!saved.result(info.moment).text.isEmpty())
            addMoment(blocks, saved, info.moment, locale);
    appendSupportCheck(blocks, input);
    return blocks;
}

} // namespace kelsa
