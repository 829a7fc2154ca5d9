// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/mainwindow/calculations.h"

#include "gui/widgets/fieldedit.h"
#include "gui/mainwindow/form1.h"
#include "core/numbers/numbertext.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>

#include <array>
#include <cmath>

namespace kelsa
{

namespace
{

// The five per-metre loads of each condition: Gp, Gpr, Pnv, Pkv, Pprv.
constexpr std::array<const char *, 5> kIceLoads { "txtGp", "txtGpr", "txtGnv", "txtPkv",
    "txtPprv" };
constexpr std::array<const char *, 5> kMaxWindLoads { "txtSum1", "txtSum2", "txtSum3", "txtSum4",
    "txtSum5" };

const std::array<const char *, 5> &loadFields(DesignCondition condition)
{
    return condition == DesignCondition::IceWithWind ? kIceLoads : kMaxWindLoads;
}

QString conditionName(DesignCondition condition)
{
    return condition == DesignCondition::IceWithWind ? QStringLiteral("Мо вг")
                                                     : QStringLiteral("Мо в max");
}

// The caption a user knows a field by: the label beside it or the frame around it; the cells
// of the additional-load grids by their grid, column heading and row.
QString fieldCaption(const Form1 &form, const QString &name)
{
    static const QHash<QString, QString> captionControl {
        { QStringLiteral("Prolet"), QStringLiteral("Frame5") },
        { QStringLiteral("txtVm"), QStringLiteral("Frame24") },
        { QStringLiteral("txtGp"), QStringLiteral("Frame3") },
        { QStringLiteral("txtGpr"), QStringLiteral("Frame11") },
        { QStringLiteral("txtGnv"), QStringLiteral("Frame4") },
        { QStringLiteral("txtPkv"), QStringLiteral("Frame12") },
        { QStringLiteral("txtPprv"), QStringLiteral("Frame13") },
        { QStringLiteral("txtSum1"), QStringLiteral("Frame29") },
        { QStringLiteral("txtSum2"), QStringLiteral("Frame30") },
        { QStringLiteral("txtSum3"), QStringLiteral("Frame31") },
        { QStringLiteral("txtSum4"), QStringLiteral("Frame33") },
        { QStringLiteral("txtSum5"), QStringLiteral("Frame34") },
        { QStringLiteral("Text1"), QStringLiteral("Label13") },
        { QStringLiteral("Text2"), QStringLiteral("Label14") },
        { QStringLiteral("Text3"), QStringLiteral("Label15") },
        { QStringLiteral("Text4"), QStringLiteral("Label16") },
        { QStringLiteral("Text5"), QStringLiteral("Label17") },
        { QStringLiteral("txtLp"), QStringLiteral("Label32") },
    };
    if (const QString source = captionControl.value(name); !source.isEmpty()) {
        QWidget *control = form.control(source);
        if (auto *frame = qobject_cast<QGroupBox *>(control))
            return frame->title().trimmed();
        return qobject_cast<QLabel *>(control)->text();
    }
    // txtD1..txtD9 (TxtD8) and txtF1..txtF9: column k / 3, row k % 3.
    const bool straight = name.startsWith(QLatin1String("txtD"), Qt::CaseInsensitive);
    const int k = name.right(1).toInt() - 1;
    static const char *const straightHeadings[] = { "Label33", "Label34", "Label35" };
    static const char *const curveHeadings[] = { "Label36", "Label37", "Label38" };
    const char *heading = (straight ? straightHeadings : curveHeadings)[k / 3];
    const QString grid
        = qobject_cast<QGroupBox *>(form.control(QLatin1String(straight ? "Frame40" : "Frame41")))
              ->title();
    return QStringLiteral("%1, %2, строка %3")
        .arg(grid, form.label(QString::fromLatin1(heading))->text())
        .arg(k % 3 + 1);
}

// Reads fields in order and collects one line for every field that is not a number.
class FieldReader
{
public:
    FieldReader(const Form1 &form, bool emptyIsZero)
        : m_form(form)
        , m_emptyIsZero(emptyIsZero)
    {
    }

    double read(const QString &name)
    {
        const QString text = m_form.field(name)->text();
        if (text.trimmed().isEmpty()) {
            if (m_emptyIsZero)
                return 0;
            m_problems
                << QStringLiteral("Поле \"%1\" не заполнено").arg(fieldCaption(m_form, name));
            return 0;
        }
        if (const auto value = readNumber(text))
            return *value;
        m_problems << QStringLiteral("Поле \"%1\": \"%2\" не является числом")
                          .arg(fieldCaption(m_form, name), text);
        return 0;
    }
    double read(const char *name) { return read(QString::fromLatin1(name)); }

    bool ok() const { return m_problems.isEmpty(); }
    QString report() const { return m_problems.join(QLatin1Char('\n')); }

private:
    const Form1 &m_form;
    bool m_emptyIsZero;
    QStringList m_problems;
};

QString signedNumber(double value)
{
    if (!std::isfinite(value))
        return QStringLiteral("нет конечного значения");
    const QString text = writeNumber(value);
    return value > 0 ? QLatin1Char('+') + text : text;
}

// The tooltip of a result label: the moment and its terms as they entered it, in kgf·m.
QString breakdown(const QString &heading, const MomentResult &result)
{
    QStringList lines;
    lines << heading;
    for (const MomentTerm &term : result.terms)
        lines << QStringLiteral("%1 = %2").arg(
            QString::fromLatin1(term.name), signedNumber(term.value));
    lines << (std::isfinite(result.moment)
            ? QStringLiteral("M = %1 кгс·м").arg(writeNumber(result.moment))
            : QStringLiteral("M: %1").arg(noFiniteResultText()));
    return lines.join(QLatin1Char('\n'));
}

QString sectionName(TrackSection section)
{
    switch (section) {
    case TrackSection::Straight:
        return QStringLiteral("прямая");
    case TrackSection::OuterCurve:
        return QStringLiteral("внешняя сторона кривой");
    case TrackSection::InnerCurve:
        return QStringLiteral("внутренняя сторона кривой");
    }
    return {};
}

void writeResult(QLabel *label, const QString &text, const QString &tooltip)
{
    label->setText(text);
    label->setToolTip(tooltip);
}

} // namespace

QString noFiniteResultText()
{
    return QStringLiteral("нет конечного результата");
}

MomentCommands::MomentCommands(Form1 &form)
    : m_form(form)
{
    const auto wire = [&](const char *name, void (MomentCommands::*handler)()) {
        connect(form.button(QString::fromLatin1(name)), &QAbstractButton::clicked, this, handler);
    };
    wire("Command1", &MomentCommands::Command1_Click);
    wire("Command3", &MomentCommands::Command3_Click);
    wire("Command5", &MomentCommands::Command5_Click);
    wire("Command6", &MomentCommands::Command6_Click);
    wire("Command7", &MomentCommands::Command7_Click);
    wire("Command8", &MomentCommands::Command8_Click);
    wire("Command9", &MomentCommands::Command9_Click);
    wire("Command10", &MomentCommands::Command10_Click);
    wire("Command11", &MomentCommands::Command11_Click);
    wire("Command12", &MomentCommands::Command12_Click);
}

void MomentCommands::Command1_Click()
{
    computeSupport(DesignCondition::IceWithWind);
}

void MomentCommands::Command3_Click()
{
    computeSupport(DesignCondition::MaximumWind);
}

void MomentCommands::computeSupport(DesignCondition condition)
{
    QLabel *label = m_form.label(
        QLatin1String(condition == DesignCondition::IceWithWind ? "Label1" : "Label5"));

    // The fields in the order the moment reads them.
    FieldReader reader(m_form, /*emptyIsZero=*/true);
    SupportInputs in;
    in.L = reader.read("Prolet");
    const auto &loads = loadFields(condition);
    in.Gp = reader.read(loads[0]);
    in.Gpr = reader.read(loads[1]);
    in.Pnv = reader.read(loads[2]);
    in.Pkv = reader.read(loads[3]);
    in.Pprv = reader.read(loads[4]);
    in.Tk = reader.read("Text2");
    in.a = reader.read("Text5");
    in.V = reader.read("txtVm");
    in.Tn = reader.read("Text1");
    in.Tpr = reader.read("Text3");
    in.R = reader.read("Text4");
    for (int k = 0; k < 9; ++k)
        in.D[k]
            = reader.read(k == 7 ? QStringLiteral("TxtD8") : QStringLiteral("txtD%1").arg(k + 1));
    for (int k = 0; k < 9; ++k)
        in.F[k] = reader.read(QStringLiteral("txtF%1").arg(k + 1));
    if (!reader.ok()) {
        m_form.showMessage(reader.report());
        return;
    }

    TrackSection section = TrackSection::Straight;
    if (m_form.option(QStringLiteral("Option19"))->isChecked())
        section = TrackSection::OuterCurve;
    else if (m_form.option(QStringLiteral("Option20"))->isChecked())
        section = TrackSection::InnerCurve;

    const MomentResult result = supportMoment(in, section, conditionConstants(condition));
    const QString heading
        = QStringLiteral("%1, %2").arg(conditionName(condition), sectionName(section));
    switch (result.outcome) {
    case MomentResult::Outcome::SpanMissing:
        m_form.showMessage(QStringLiteral("Нет длины пролета или десятичные"));
        writeResult(label, writeNumber(0), QString());
        break;
    case MomentResult::Outcome::NotFinite:
        writeResult(label, noFiniteResultText(), breakdown(heading, result));
        break;
    case MomentResult::Outcome::Value:
    case MomentResult::Outcome::LpMissing:
        writeResult(label, writeNumber(result.moment), breakdown(heading, result));
        break;
    }
}

void MomentCommands::computeTransition(
    DesignCondition condition, WindDirection direction, SupportLevel level)
{
    struct Case {
        const char *label;
        const char *lpMessage;
    };
    // Result label and the message for a missing Lp, by condition, direction and level.
    const bool ice = condition == DesignCondition::IceWithWind;
    const bool toTrack = direction == WindDirection::SupportToTrack;
    const bool base = level == SupportLevel::Base;
    const char *const lpUnknown = "L\u0440=?"; // a Latin L and a Cyrillic р
    const char *const noSpan = "Нет длины пролета";
    const Case cases[2][2][2] = {
        // ice with wind: base (to track, to support), heel (to track, to support)
        { { { "Label10", lpUnknown }, { "Label18", lpUnknown } },
            { { "Label26", lpUnknown }, { "Label27", lpUnknown } } },
        // maximum wind
        { { { "Label28", lpUnknown }, { "Label29", noSpan } },
            { { "Label30", noSpan }, { "Label31", noSpan } } },
    };
    const Case &thisCase = cases[ice ? 0 : 1][base ? 0 : 1][toTrack ? 0 : 1];
    QLabel *label = m_form.label(QString::fromLatin1(thisCase.label));

    // All thirteen fields are read before anything is computed, R, a and Tpr included.
    FieldReader reader(m_form, /*emptyIsZero=*/false);
    TransitionInputs in;
    in.L = reader.read("Prolet");
    const auto &loads = loadFields(condition);
    in.Gp = reader.read(loads[0]);
    in.Gpr = reader.read(loads[1]);
    in.Pnv = reader.read(loads[2]);
    in.Pkv = reader.read(loads[3]);
    in.Pprv = reader.read(loads[4]);
    in.Tk = reader.read("Text2");
    reader.read("Text5");
    in.V = reader.read("txtVm");
    in.Tn = reader.read("Text1");
    reader.read("Text3");
    reader.read("Text4");
    in.Lp = reader.read("txtLp");
    if (!reader.ok()) {
        m_form.showMessage(reader.report());
        return;
    }

    const MomentResult result = transitionMoment(condition, direction, level, in);
    const QString heading
        = QStringLiteral("Переходная опора, %1, %2%3")
              .arg(ice ? QStringLiteral("гололед с ветром") : QStringLiteral("максимальный ветер"),
                  toTrack ? QStringLiteral("ветер от опоры на путь")
                          : QStringLiteral("ветер от пути на опору"),
                  base ? QString() : QStringLiteral(", пята"));
    switch (result.outcome) {
    case MomentResult::Outcome::LpMissing:
        m_form.showMessage(QString::fromUtf8(thisCase.lpMessage));
        writeResult(label, writeNumber(0), QString());
        break;
    case MomentResult::Outcome::NotFinite:
        m_form.showMessage(
            QStringLiteral("Момент не вычислен: при этих данных результат выходит за "
                           "пределы чисел (переполнение)."));
        break;
    case MomentResult::Outcome::Value:
    case MomentResult::Outcome::SpanMissing:
        writeResult(label, writeNumber(result.moment), breakdown(heading, result));
        break;
    }
}

void MomentCommands::Command5_Click()
{
    computeTransition(
        DesignCondition::IceWithWind, WindDirection::SupportToTrack, SupportLevel::Base);
}

void MomentCommands::Command6_Click()
{
    computeTransition(
        DesignCondition::IceWithWind, WindDirection::TrackToSupport, SupportLevel::Base);
}

void MomentCommands::Command7_Click()
{
    computeTransition(
        DesignCondition::IceWithWind, WindDirection::SupportToTrack, SupportLevel::Heel);
}

void MomentCommands::Command8_Click()
{
    computeTransition(
        DesignCondition::IceWithWind, WindDirection::TrackToSupport, SupportLevel::Heel);
}

void MomentCommands::Command9_Click()
{
    computeTransition(
        DesignCondition::MaximumWind, WindDirection::SupportToTrack, SupportLevel::Base);
}

void MomentCommands::Command10_Click()
{
    computeTransition(
        DesignCondition::MaximumWind, WindDirection::TrackToSupport, SupportLevel::Base);
}

void MomentCommands::Command11_Click()
{
    computeTransition(
        DesignCondition::MaximumWind, WindDirection::SupportToTrack, SupportLevel::Heel);
}

void MomentCommands::Command12_Click()
{
    computeTransition(
        DesignCondition::MaximumWind, WindDirection::TrackToSupport, SupportLevel::Heel);
}

} // namespace kelsa
