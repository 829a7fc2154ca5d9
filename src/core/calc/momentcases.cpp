// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/calc/momentcases.h"

#include <QString>

#include "core/numbers/numbertext.h"

#include <array>

namespace kelsa
{

namespace
{

using F = InputField;
constexpr auto Ice = DesignCondition::IceWithWind;
constexpr auto Wind = DesignCondition::MaximumWind;
constexpr auto ToTrack = WindDirection::SupportToTrack;
constexpr auto ToSupport = WindDirection::TrackToSupport;
constexpr auto Base = SupportLevel::Base;
constexpr auto Heel = SupportLevel::Heel;

constexpr MomentInfo kMoments[] = {
    { Moment::IceWithWind, "Command1", "Label1", Ice, false, ToTrack, Base },
    { Moment::MaximumWind, "Command3", "Label5", Wind, false, ToTrack, Base },
    { Moment::IceToTrack, "Command5", "Label10", Ice, true, ToTrack, Base },
    { Moment::IceToSupport, "Command6", "Label18", Ice, true, ToSupport, Base },
    { Moment::IceToTrackHeel, "Command7", "Label26", Ice, true, ToTrack, Heel },
    { Moment::IceToSupportHeel, "Command8", "Label27", Ice, true, ToSupport, Heel },
    { Moment::WindToTrack, "Command9", "Label28", Wind, true, ToTrack, Base },
    { Moment::WindToSupport, "Command10", "Label29", Wind, true, ToSupport, Base },
    { Moment::WindToTrackHeel, "Command11", "Label30", Wind, true, ToTrack, Heel },
    { Moment::WindToSupportHeel, "Command12", "Label31", Wind, true, ToSupport, Heel },
};
static_assert(std::size(kMoments) == kMomentCount);

// The numbers of the fields a moment read, by field.
class ReadValues
{
public:
    double operator[](InputField field) const { return m_values[std::size_t(field)]; }
    double &operator[](InputField field) { return m_values[std::size_t(field)]; }

private:
    std::array<double, kInputFieldCount> m_values {};
};

// Reads the fields of a moment as numbers, in its reading order, noting each one refused or
// counted as 0. `read` gives a field's reading.
template <typename Read, typename TextOf>
ReadValues readFields(const MomentInfo &info, Read read, TextOf textOf, MomentOutcome &outcome)
{
    // Ordinary supports take an empty field for 0; transition moments refuse it.
    const bool emptyIsZero = !info.transition;
    ReadValues values;
    // The lists are made once: a schedule reads them for every moment of every row.
    static const auto kFieldsRead = [] {
        std::array<std::vector<InputField>, kMomentCount> lists;
        for (int k = 0; k < kMomentCount; ++k)
            lists[std::size_t(k)] = fieldsRead(Moment(k));
        return lists;
    }();
    for (const InputField field : kFieldsRead[std::size_t(info.moment)]) {
        const FieldReading reading = read(field);
        switch (reading.kind) {
        case FieldReading::Kind::Empty:
            if (emptyIsZero)
                outcome.emptyAsZero.push_back(field);
            else
                outcome.badFields.push_back({ field, true, textOf(field) });
            break;
        case FieldReading::Kind::Number:
            values[field] = reading.value;
            break;
        case FieldReading::Kind::NotANumber:
            outcome.badFields.push_back({ field, false, textOf(field) });
            break;
        }
    }
    return values;
}

SupportInputs supportInputs(const ReadValues &v, DesignCondition condition)
{
    const auto loads = loadFields(condition);
    SupportInputs in;
    in.L = v[F::SpanLength];
    in.Gp = v[loads[0]], in.Gpr = v[loads[1]];
    in.Pnv = v[loads[2]], in.Pkv = v[loads[3]], in.Pprv = v[loads[4]];
    in.Tn = v[F::MessengerTension], in.Tk = v[F::ContactTension], in.Tpr = v[F::FeederTension];
    in.R = v[F::CurveRadius], in.a = v[F::Stagger], in.V = v[F::MaxWindSpeed];
    for (int k = 0; k < 9; ++k) {
        in.D[std::size_t(k)] = v[InputField(int(F::D1) + k)];
        in.F[std::size_t(k)] = v[InputField(int(F::F1) + k)];
    }
    return in;
}

TransitionInputs transitionInputs(const ReadValues &v, DesignCondition condition)
{
    const auto loads = loadFields(condition);
    TransitionInputs in;
    in.L = v[F::SpanLength];
    in.Gp = v[loads[0]], in.Gpr = v[loads[1]];
    in.Pnv = v[loads[2]], in.Pkv = v[loads[3]], in.Pprv = v[loads[4]];
    in.Tn = v[F::MessengerTension], in.Tk = v[F::ContactTension];
    in.V = v[F::MaxWindSpeed];
    in.Lp = v[F::AnchorDistance];
    return in;
}

// A moment of fields read by `read`, on the track `section`; `textOf` gives a refused field's
// text.
template <typename Read, typename TextOf>
MomentOutcome computeMomentReading(TrackSection section, Moment moment, Read read, TextOf textOf)
{
    const MomentInfo &info = momentInfo(moment);
    MomentOutcome outcome { moment, {}, {}, {} };
    const ReadValues values = readFields(info, read, textOf, outcome);
    if (!outcome.inputsAccepted())
        return outcome;
    if (info.transition)
        outcome.result = transitionMoment(
            info.condition, info.direction, info.level, transitionInputs(values, info.condition));
    else
        outcome.result = supportMoment(
            supportInputs(values, info.condition), section, conditionConstants(info.condition));
    return outcome;
}

} // namespace

std::span<const MomentInfo> moments()
{
    return kMoments;
}

const MomentInfo &momentInfo(Moment moment)
{
    return kMoments[int(moment)];
}

std::optional<Moment> momentForLabel(QStringView labelName)
{
    for (const MomentInfo &info : kMoments)
        if (labelName == QLatin1String(info.label))
            return info.moment;
    return std::nullopt;
}

std::vector<InputField> fieldsRead(Moment moment)
{
    const MomentInfo &info = momentInfo(moment);
    const auto loads = loadFields(info.condition);
    std::vector<InputField> fields { F::SpanLength, loads[0], loads[1], loads[2], loads[3],
        loads[4], F::ContactTension, F::Stagger, F::MaxWindSpeed, F::MessengerTension,
        F::FeederTension, F::CurveRadius };
    if (info.transition) {
        fields.push_back(F::AnchorDistance);
    } else {
        for (int k = int(F::D1); k <= int(F::F9); ++k)
            fields.push_back(InputField(k));
    }
    return fields;
}

FieldReading readField(const QString &text, const QLocale &locale)
{
    if (text.trimmed().isEmpty())
        return { FieldReading::Kind::Empty };
    if (const auto value = readNumber(text, locale))
        return { FieldReading::Kind::Number, *value };
    return { FieldReading::Kind::NotANumber };
}

MomentOutcome computeMoment(const Calculation &calculation, Moment moment, const QLocale &locale)
{
    return computeMomentReading(
        calculation.trackSection(), moment,
        [&](InputField field) { return readField(calculation.text(field), locale); },
        [&](InputField field) { return calculation.text(field); });
}

std::array<MomentOutcome, kMomentCount> computeMoments(
    const Calculation &calculation, const QLocale &locale)
{
    std::array<FieldReading, kInputFieldCount> readings;
    for (const FieldInfo &info : inputFields())
        readings[std::size_t(info.field)] = readField(calculation.text(info.field), locale);
    return computeMoments(readings, calculation.trackSection(),
        [&](InputField field) { return calculation.text(field); });
}

std::array<MomentOutcome, kMomentCount> computeMoments(
    std::span<const FieldReading, kInputFieldCount> readings, TrackSection section,
    const std::function<QString(InputField)> &textOf)
{
    const auto read = [&](InputField field) { return readings[std::size_t(field)]; };
    std::array<MomentOutcome, kMomentCount> outcomes;
    for (const MomentInfo &info : moments())
        outcomes[std::size_t(info.moment)]
            = computeMomentReading(section, info.moment, read, textOf);
    return outcomes;
}

} // namespace kelsa
