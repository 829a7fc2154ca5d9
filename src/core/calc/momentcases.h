// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/calc/calculation.h"
#include "core/calc/moments.h"

#include <QLocale>
#include <QStringView>

#include <array>
#include <functional>
#include <optional>
#include <span>
#include <vector>

namespace kelsa
{

// The ten moments a calculation gives, one per calculation button and result label: the
// ordinary support in ice with wind and in maximum wind, and the transition support in each
// condition for both wind directions at the base and at the heel.
enum class Moment {
    IceWithWind, // "Мо вг"
    MaximumWind, // "Мо в max"
    IceToTrack,
    IceToSupport,
    IceToTrackHeel,
    IceToSupportHeel,
    WindToTrack,
    WindToSupport,
    WindToTrackHeel,
    WindToSupportHeel,
};
inline constexpr int kMomentCount = int(Moment::WindToSupportHeel) + 1;

struct MomentInfo {
    Moment moment;
    const char *button; // the calculation button
    const char *label; // the result label
    DesignCondition condition;
    bool transition; // the transition support; direction and level apply to it only
    WindDirection direction;
    SupportLevel level;
};

std::span<const MomentInfo> moments();
const MomentInfo &momentInfo(Moment moment);
std::optional<Moment> momentForLabel(QStringView labelName);

// The fields a moment reads, in the order it reads them. A transition moment reads the radius,
// the stagger and Tpr although its formula does not use them: they must still be numbers.
std::vector<InputField> fieldsRead(Moment moment);

// An input that a moment refused: empty where that is not allowed, or not a number.
struct FieldProblem {
    InputField field;
    bool empty; // otherwise the text is not a number in the locale
    QString text; // as it stood

    friend bool operator==(const FieldProblem &, const FieldProblem &) = default;
};

struct MomentOutcome {
    Moment moment;
    // Refused inputs in reading order. When there are any, no moment was computed and result
    // is to be ignored.
    std::vector<FieldProblem> badFields;
    // Empty fields of an ordinary support, which count as 0 there, in reading order.
    std::vector<InputField> emptyAsZero;
    MomentResult result;

    bool inputsAccepted() const { return badFields.empty(); }
};

// Computes one moment from a calculation, reading every field as a number in `locale`.
// Ordinary supports count an empty field as 0 (a click empties a field, and an empty grid cell
// means no load); transition moments refuse it. Text that is not a number is refused by both:
// a silently zeroed tension or span would give a plausible but wrong moment.
MomentOutcome computeMoment(
    const Calculation &calculation, Moment moment, const QLocale &locale = QLocale());

// All ten moments, in the order of Moment, each as computeMoment() gives it; every field is
// read once, which is what a schedule of many supports wants.
std::array<MomentOutcome, kMomentCount> computeMoments(
    const Calculation &calculation, const QLocale &locale = QLocale());

// A field's text as a moment reads it: a number, empty (blanks only), or not a number.
struct FieldReading {
    enum class Kind { Number, Empty, NotANumber } kind;
    double value = 0;
};
FieldReading readField(const QString &text, const QLocale &locale);

// The ten moments of fields already read, as computeMoments() gives them for a calculation
// whose fields read so, with its track section: for a schedule, which reads its cells without
// making a text of each. `textOf` gives a refused field's text for its FieldProblem.
std::array<MomentOutcome, kMomentCount> computeMoments(
    std::span<const FieldReading, kInputFieldCount> readings, TrackSection section,
    const std::function<QString(InputField)> &textOf);

} // namespace kelsa
