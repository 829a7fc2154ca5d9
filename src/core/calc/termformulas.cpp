// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/calc/termformulas.h"

#include "core/numbers/numbertext.h"

#include <QStringList>

#include <algorithm>
#include <cmath>
#include <string_view>
#include <utility>

namespace kelsa
{

namespace
{

using F = InputField;
using Kind = LoadForm::Kind;

// What each input stands for in the formulas: its symbol, and its meaning with its unit. The
// loads of maximum wind carry the window's « в» in their symbols, so that no symbol means two
// things in one report.
struct SymbolInfo {
    InputField field;
    const char *symbol;
    const char *meaning; // without the field, which the note adds
};

constexpr SymbolInfo kSymbols[] = {
    { F::SpanLength, "L", "длина пролета, м" },
    { F::MaxWindSpeed, "V", "скорость ветра на опору, м/с" },
    { F::MessengerTension, "Тн", "натяжение несущего троса, кгс" },
    { F::ContactTension, "Тк", "натяжение контактного провода, кгс" },
    { F::FeederTension, "Тпр", "натяжение каждого из трех проводов, кгс" },
    { F::CurveRadius, "R", "радиус кривой, м" },
    { F::Stagger, "a", "зигзаг контактного провода, м" },
    { F::AnchorDistance, "Lр", "расстояние от переходной до анкерной опоры, м" },
    { F::IceGp, "Gп", "вес 1 м подвески с гололедом, кгс/м" },
    { F::IceGpr, "Gпр", "вес 1 м каждого из трех проводов с гололедом, кгс/м" },
    { F::IcePnv, "Рнв", "ветровая нагрузка на 1 м несущего троса с гололедом, кгс/м" },
    { F::IcePkv, "Ркв", "ветровая нагрузка на 1 м контактного провода с гололедом, кгс/м" },
    { F::IcePprv, "Рпрв", "ветровая нагрузка на 1 м каждого из трех проводов с гололедом, кгс/м" },
    { F::WindGp, "Gп в", "вес 1 м подвески без гололеда, кгс/м" },
    { F::WindGpr, "Gпр в", "вес 1 м каждого из трех проводов без гололеда, кгс/м" },
    { F::WindPnv, "Рнв в",
        "ветровая нагрузка на 1 м несущего троса при максимальном ветре, кгс/м" },
    { F::WindPkv, "Ркв в",
        "ветровая нагрузка на 1 м контактного провода при максимальном ветре, кгс/м" },
    { F::WindPprv, "Рпрв в",
        "ветровая нагрузка на 1 м каждого из трех проводов при максимальном ветре, кгс/м" },
    // The two additional-load tables are numbered on from one to the other, rows 1–3 for the
    // table of straight track and 4–6 for the curve's, so that lд1 and lд4 are never confused.
    { F::D1, "Рд1", nullptr },
    { F::D2, "Рд2", nullptr },
    { F::D3, "Рд3", nullptr },
    { F::D4, "lд1", nullptr },
    { F::D5, "lд2", nullptr },
    { F::D6, "lд3", nullptr },
    { F::D7, "nд1", nullptr },
    { F::D8, "nд2", nullptr },
    { F::D9, "nд3", nullptr },
    { F::F1, "Тд4", nullptr },
    { F::F2, "Тд5", nullptr },
    { F::F3, "Тд6", nullptr },
    { F::F4, "lд4", nullptr },
    { F::F5, "lд5", nullptr },
    { F::F6, "lд6", nullptr },
    { F::F7, "nд4", nullptr },
    { F::F8, "nд5", nullptr },
    { F::F9, "nд6", nullptr },
};
static_assert(std::size(kSymbols) == kInputFieldCount);

const SymbolInfo &symbolInfo(InputField field)
{
    return kSymbols[int(field)];
}

bool inGrid(InputField field, InputField first)
{
    return int(field) >= int(first) && int(field) < int(first) + 9;
}

SymbolNote noteFor(InputField field)
{
    if (inGrid(field, F::D1))
        return { QStringLiteral("Рд1…Рд3, lд1…lд3, nд1…nд3"),
            QStringLiteral("дополнительная нагрузка со знаком, кгс, ее плечо, м, и число в "
                           "строках 1–3 таблицы «Дополнительные нагрузки, прямая» (столбцы «+ - "
                           "G/P», «L/l», «n»)") };
    if (inGrid(field, F::F1))
        return { QStringLiteral("Тд4…Тд6, lд4…lд6, nд4…nд6"),
            QStringLiteral("натяжение дополнительного провода со знаком, кгс, его плечо, м, и "
                           "число в строках 1–3 таблицы «Дополнительные нагрузки, кривая» "
                           "(столбцы «+ - T», «L/l», «n»)") };
    const SymbolInfo &info = symbolInfo(field);
    return { QString::fromUtf8(info.symbol),
        QStringLiteral("%1 (поле «%2»)")
            .arg(QString::fromUtf8(info.meaning), QString::fromUtf8(fieldInfo(field).caption)) };
}

// The input an identifier of the formula notation names, with the loads of `condition`.
std::optional<InputField> inputNamed(QStringView name, DesignCondition condition)
{
    static constexpr const char *kLoads[] = { "Gp", "Gpr", "Pnv", "Pkv", "Pprv" };
    for (std::size_t k = 0; k < std::size(kLoads); ++k)
        if (name == QLatin1String(kLoads[k]))
            return loadFields(condition)[k];
    static constexpr std::pair<const char *, InputField> kOthers[]
        = { { "L", F::SpanLength }, { "V", F::MaxWindSpeed }, { "Tn", F::MessengerTension },
              { "Tk", F::ContactTension }, { "Tpr", F::FeederTension }, { "R", F::CurveRadius },
              { "a", F::Stagger }, { "Lp", F::AnchorDistance } };
    for (const auto &[key, field] : kOthers)
        if (name == QLatin1String(key))
            return field;
    if (name.size() == 2 && name[1] >= u'1' && name[1] <= u'9') {
        const int row = name[1].unicode() - u'1';
        if (name[0] == u'D')
            return InputField(int(F::D1) + row);
        if (name[0] == u'F')
            return InputField(int(F::F1) + row);
    }
    return std::nullopt;
}

// An input's text as it stands in a formula with the numbers put in.
QString typedText(const Calculation &inputs, InputField field)
{
    QString text = inputs.text(field).trimmed();
    if (text.isEmpty())
        return QStringLiteral("0");
    if (text.startsWith(QLatin1Char('-')) || text.startsWith(QLatin1Char('+')))
        return QLatin1Char('(') + text + QLatin1Char(')');
    return text;
}

// Calls `input` for each identifier of a formula and `other` for each run of other text, with
// every number of the notation written in the locale.
template <typename Input, typename Other>
void scanFormula(const QString &formula, const QLocale &locale, Input input, Other other)
{
    const auto isLatin
        = [](QChar c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); };
    const auto isDigit = [](QChar c) { return c >= u'0' && c <= u'9'; };
    qsizetype k = 0;
    while (k < formula.size()) {
        qsizetype end = k + 1;
        if (isLatin(formula[k])) {
            while (end < formula.size() && (isLatin(formula[end]) || isDigit(formula[end])))
                ++end;
            input(QStringView(formula).sliced(k, end - k));
        } else if (isDigit(formula[k])) {
            while (end < formula.size()
                && (isDigit(formula[end])
                    || (formula[end] == u'.' && end + 1 < formula.size()
                        && isDigit(formula[end + 1]))))
                ++end;
            other(writeNumber(formula.sliced(k, end - k).toDouble(), locale));
        } else {
            other(QString(formula[k]));
        }
        k = end;
    }
}

// The inputs a formula names, in order of first use.
void collectInputs(
    const QString &formula, DesignCondition condition, std::vector<InputField> &fields)
{
    scanFormula(
        formula, QLocale::c(),
        [&](QStringView name) {
            if (const auto field = inputNamed(name, condition);
                field && std::find(fields.begin(), fields.end(), *field) == fields.end())
                fields.push_back(*field);
        },
        [](const QString &) {});
}

QString number(double value)
{
    return QString::number(value, 'g', 15);
}

// The wind on the support body: W² with W = kW × V.
QString supportWind(double windFactor)
{
    return windFactor == 1 ? QStringLiteral("V²")
                           : QStringLiteral("(%1 × V)²").arg(number(windFactor));
}

std::optional<TermForm> ordinaryForm(
    DesignCondition condition, TrackSection section, std::string_view key)
{
    const ConditionConstants &c = conditionConstants(condition);
    const bool inner = section == TrackSection::InnerCurve;
    if (key == "Mvert")
        return TermForm { QStringLiteral("от вертикальных нагрузок"), QStringLiteral("Мверт"),
            QStringLiteral("(Gp × L + 31) × 3.3 + %1 − Gpr × L × 3 × 1.7 − %2")
                .arg(number(c.c1), number(c.c2)),
            false,
            { { Kind::Vertical, 3.3, QStringLiteral("Gp × L + 31") },
                { Kind::Couple, 0, number(c.c1) },
                { Kind::Vertical, -1.7, QStringLiteral("Gpr × L × 3") },
                { Kind::Couple, 0, number(c.c2) } } };
    if (key == "Mwires")
        return TermForm { QStringLiteral("от ветра на провода"), QStringLiteral("Мпр"),
            QStringLiteral("Pnv × L × 9 + Pkv × L × 7 + 2 × Pprv × L × 9.7 + Pprv × L × 8.85"),
            inner,
            { { Kind::Horizontal, 9, QStringLiteral("Pnv × L") },
                { Kind::Horizontal, 7, QStringLiteral("Pkv × L") },
                { Kind::Horizontal, 9.7, QStringLiteral("2 × Pprv × L") },
                { Kind::Horizontal, 8.85, QStringLiteral("Pprv × L") } } };
    if (key == "Msupport") {
        const QString wind = supportWind(c.windFactor);
        return TermForm { QStringLiteral("от ветра на опору"), QStringLiteral("Моп"),
            wind + QStringLiteral(" × 2.47 / 16 × 4.8"), inner,
            { { Kind::Horizontal, 4.8, wind + QStringLiteral(" × 2.47 / 16") } } };
    }
    if (key == "Mzigzag")
        return TermForm { QStringLiteral("от излома контактного провода (зигзаг)"),
            QStringLiteral("Мзиг"), QStringLiteral("Tk × 4 × a / L × 7"), inner,
            { { Kind::Horizontal, 7, QStringLiteral("Tk × 4 × a / L") } } };
    if (key == "Mcurve")
        return TermForm { QStringLiteral("от изменения направления проводов в кривой"),
            QStringLiteral("Мкр"),
            QStringLiteral("Tn × L / R × 9 + Tk × L / R × 7 + 2 × Tpr × L / R × 9.7 + Tpr × L / "
                           "R × 8.85"),
            inner,
            { { Kind::Horizontal, 9, QStringLiteral("Tn × L / R") },
                { Kind::Horizontal, 7, QStringLiteral("Tk × L / R") },
                { Kind::Horizontal, 9.7, QStringLiteral("2 × Tpr × L / R") },
                { Kind::Horizontal, 8.85, QStringLiteral("Tpr × L / R") } } };
    if (key == "MaddStraight")
        return TermForm { QStringLiteral("от дополнительных нагрузок"), QStringLiteral("Мдоп"),
            QStringLiteral("D1 × D4 × D7 + D2 × D5 × D8 + D3 × D6 × D9"), inner,
            { { Kind::Couple, 0, QStringLiteral("D1 × D4 × D7") },
                { Kind::Couple, 0, QStringLiteral("D2 × D5 × D8") },
                { Kind::Couple, 0, QStringLiteral("D3 × D6 × D9") } } };
    if (key == "MaddCurve")
        return TermForm { QStringLiteral("от дополнительных проводов в кривой"),
            QStringLiteral("Мдоп.кр"),
            QStringLiteral("F1 × L / R × F4 × F7 + F2 × L / R × F5 × F8 + F3 × L / R × F6 × F9"),
            inner,
            { { Kind::Couple, 0, QStringLiteral("F1 × L / R × F4 × F7") },
                { Kind::Couple, 0, QStringLiteral("F2 × L / R × F5 × F8") },
                { Kind::Couple, 0, QStringLiteral("F3 × L / R × F6 × F9") } } };
    return std::nullopt;
}

// The transition support: with the wind from the track towards the support (s = -1) every
// horizontal term is written as its opposite and subtracted, so that each formula reads as the
// loads it is made of.
std::optional<TermForm> transitionForm(const MomentInfo &info, std::string_view key)
{
    const ConditionConstants &c = conditionConstants(info.condition);
    const LevelArms &h = levelArms(info.level);
    const bool against = info.direction == WindDirection::TrackToSupport;
    if (key == "Mvert2")
        return TermForm { QStringLiteral("от вертикальных нагрузок"), QStringLiteral("Мверт"),
            QStringLiteral("(L × Gp + 31) × 2 × 3.3 + %1 − L × Gpr × 3 × 1.7 − %2")
                .arg(number(2 * c.c1), number(c.c2)),
            false,
            { { Kind::Vertical, 3.3, QStringLiteral("(L × Gp + 31) × 2") },
                { Kind::Couple, 0, number(2 * c.c1) },
                { Kind::Vertical, -1.7, QStringLiteral("L × Gpr × 3") },
                { Kind::Couple, 0, number(c.c2) } } };
    const auto line = [&](const char *name, const char *symbol, const char *load,
                          const char *tension, double arm) {
        const QString wind = QStringLiteral("2 × %1 × L").arg(QLatin1String(load));
        const QString pull = QStringLiteral("%1 × 3.3 / Lp").arg(QLatin1String(tension));
        return TermForm { QString::fromUtf8(name), QString::fromUtf8(symbol),
            QStringLiteral("(%1 %2 %3) × %4")
                .arg(wind, against ? QStringLiteral("+") : QStringLiteral("−"), pull, number(arm)),
            against, { { Kind::Horizontal, arm, wind }, { Kind::Horizontal, arm, pull } } };
    };
    if (key == "Pnv line")
        return line("от несущего троса: ветер и отвод на анкеровку", "Мн", "Pnv", "Tn", h.hN);
    if (key == "Pkv line")
        return line("от контактного провода: ветер и отвод на анкеровку", "Мк", "Pkv", "Tk", h.hK);
    if (key == "upper wires")
        return TermForm { QStringLiteral("от ветра на два верхних провода"), QStringLiteral("Мпр1"),
            QStringLiteral("2 × Pprv × L × %1").arg(number(h.hP1)), against,
            { { Kind::Horizontal, h.hP1, QStringLiteral("2 × Pprv × L") } } };
    if (key == "third wire")
        return TermForm { QStringLiteral("от ветра на третий провод"), QStringLiteral("Мпр2"),
            QStringLiteral("Pprv × L × %1").arg(number(h.hP2)), against,
            { { Kind::Horizontal, h.hP2, QStringLiteral("Pprv × L") } } };
    if (key == "support body") {
        const QString wind
            = QStringLiteral("%1 × %2 / 16").arg(supportWind(c.windFactor), number(h.As));
        return TermForm { QStringLiteral("от ветра на опору"), QStringLiteral("Моп"),
            QStringLiteral("%1 × %2").arg(wind, number(h.hS)), against,
            { { Kind::Horizontal, h.hS, wind } } };
    }
    return std::nullopt;
}

} // namespace

std::optional<TermForm> termForm(Moment moment, TrackSection section, const char *key)
{
    const MomentInfo &info = momentInfo(moment);
    return info.transition ? transitionForm(info, key) : ordinaryForm(info.condition, section, key);
}

QString renderFormula(const QString &formula, FormulaText text, DesignCondition condition,
    const Calculation &inputs, const QLocale &locale)
{
    QString written;
    scanFormula(
        formula, locale,
        [&](QStringView name) {
            const auto field = inputNamed(name, condition);
            if (!field)
                written += name;
            else if (text == FormulaText::Symbols)
                written += QString::fromUtf8(symbolInfo(*field).symbol);
            else
                written += typedText(inputs, *field);
        },
        [&](const QString &other) { written += other; });
    return written;
}

MomentExplanation explainMoment(
    const MomentOutcome &outcome, const Calculation &from, const QLocale &locale)
{
    const MomentInfo &info = momentInfo(outcome.moment);
    MomentExplanation explanation;
    std::vector<InputField> used;
    for (const MomentTerm &term : outcome.result.terms) {
        const std::optional<TermForm> form
            = termForm(outcome.moment, from.trackSection(), term.name);
        if (!form)
            continue;
        collectInputs(form->formula, info.condition, used);
        explanation.terms.push_back({ form->name, form->symbol,
            renderFormula(form->formula, FormulaText::Symbols, info.condition, from, locale),
            renderFormula(form->formula, FormulaText::Numbers, info.condition, from, locale),
            form->subtracted ? -term.value : term.value, form->subtracted });
    }
    for (const InputField field : used) {
        SymbolNote note = noteFor(field);
        if (std::find(explanation.notes.begin(), explanation.notes.end(), note)
            == explanation.notes.end())
            explanation.notes.push_back(std::move(note));
    }
    return explanation;
}

QString sumInSymbols(const std::vector<TermLine> &terms)
{
    QString sum;
    for (const TermLine &term : terms) {
        if (sum.isEmpty())
            sum = term.subtracted ? QStringLiteral("−") + term.symbol : term.symbol;
        else
            sum += (term.subtracted ? QStringLiteral(" − ") : QStringLiteral(" + ")) + term.symbol;
    }
    return sum;
}

QString sumInNumbers(const std::vector<TermLine> &terms, const QLocale &locale)
{
    QString sum;
    for (const TermLine &term : terms) {
        const double contribution = term.subtracted ? -term.value : term.value;
        const QString magnitude = hundredths(std::abs(contribution), locale);
        const bool minus
            = std::signbit(contribution) && hundredths(contribution, locale) != magnitude;
        if (sum.isEmpty())
            sum = minus ? QStringLiteral("−") + magnitude : magnitude;
        else
            sum += (minus ? QStringLiteral(" − ") : QStringLiteral(" + ")) + magnitude;
    }
    return sum;
}

QString hundredths(double value, const QLocale &locale)
{
    if (!std::isfinite(value))
        return QStringLiteral("нет конечного значения");
    QString text;
    if (std::abs(value) >= 1e15) {
        // So large that its digits would run on: written like any other number.
        text = writeNumber(value, locale);
    } else {
        QLocale plain = locale;
        plain.setNumberOptions(QLocale::OmitGroupSeparator);
        const double rounded = std::round(value * 100) / 100;
        text = plain.toString(rounded == 0 ? 0.0 : rounded, 'f', 2);
    }
    // The minus sign of a printed calculation, as the formulas write it.
    if (text.startsWith(QLatin1Char('-')))
        text.replace(0, 1, QStringLiteral("−"));
    return text;
}

} // namespace kelsa
