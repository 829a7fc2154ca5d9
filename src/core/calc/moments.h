// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <vector>

namespace kelsa
{

// Bending moments at the base of a contact-line support, in kgf·m, as plain functions of
// numbers. Lengths are in m, tensions in kgf, loads per metre in kgf/m, wind speeds in m/s.
//
// Every formula is evaluated as one expression read from left to right: each summand enters
// the running total by itself, in the order the formula lists it, and every product and
// quotient is taken from left to right. Results are shown to 15 significant digits, where a
// different order of the same operations can show; do not regroup or simplify the arithmetic.

enum class TrackSection { Straight, OuterCurve, InnerCurve };

// Constants of a design condition for the ordinary support.
struct ConditionConstants {
    double c1; // added in Mvert, kgf·m
    double c2; // subtracted in Mvert, kgf·m
    double windFactor; // W = windFactor × V is the wind speed on the support body
};
inline constexpr ConditionConstants kIceWithWind { 180, 91, 0.6 };
inline constexpr ConditionConstants kMaximumWind { 108, 52, 1 };

// The twelve inputs of the ordinary support and its two tables of additional loads.
struct SupportInputs {
    double L = 0; // span length, m
    double Gp = 0, Gpr = 0; // weights per metre, kgf/m
    double Pnv = 0, Pkv = 0, Pprv = 0; // wind loads per metre, kgf/m
    double Tn = 0, Tk = 0, Tpr = 0; // wire tensions, kgf
    double R = 1; // curve radius, m
    double a = 0; // stagger on straight track, m
    double V = 0; // maximum wind speed, m/s
    // Additional loads on straight track, D1..D9 (D[0] is D1). Row k (k = 1..3) is
    // D(k) "+ - G/P" × D(k+3) "L/l" × D(k+6) "n".
    std::array<double, 9> D {};
    // Additional loads in a curve, F1..F9, laid out like D. Row k is
    // F(k) "+ - T" × L / R × F(k+3) "L/l" × F(k+6) "n".
    std::array<double, 9> F {};
};

// One term of a moment as it entered the total, with the sign it was applied with, kgf·m.
// The terms are there for a hand check; the moment itself is not their sum but the formula
// evaluated summand by summand, which may differ from it in the last digits.
struct MomentTerm {
    const char *name; // the term's key in the formulas below ("Mvert"), never shown as it is
    double value;
    // The share of each load of the term's formula, kgf·m, with the sign it entered the moment
    // with, in the order the formula lists them: the summands of its sum, and for a transition
    // line the wind on the wires and the pull of the tension towards the anchor support apart
    // (those two add up to the term but for the last digits).
    std::array<double, 4> shares {};
    int shareCount = 0;
};

struct MomentResult {
    enum class Outcome {
        Value, // moment holds the result
        SpanMissing, // straight track with a span length of 0: Mzigzag cannot be formed
        LpMissing, // transition support with Lp = 0: the tension terms cannot be formed
        NotFinite, // the arithmetic gave no finite number (zero radius in a curve, overflow)
    };
    Outcome outcome = Outcome::Value;
    double moment = 0; // kgf·m; for NotFinite the infinity or NaN that was reached
    std::vector<MomentTerm> terms; // breakdown; empty for SpanMissing and LpMissing
};

// Moment of an ordinary support for the given track section and design condition.
//
//   Mvert        = (Gp × L + 31) × 3.3 + c1 - Gpr × L × 3 × 1.7 - c2
//   Mwires       = Pnv × L × 9 + Pkv × L × 7 + 2 × Pprv × L × 9.7 + Pprv × L × 8.85
//   Msupport     = W × W × 2.47 / 16 × 4.8, W = windFactor × V
//   Mzigzag      = Tk × 4 × a / L × 7
//   Mcurve       = Tn × L / R × 9 + Tk × L / R × 7 + 2 × (Tpr × L / R) × 9.7
//                  + (Tpr × L / R) × 8.85
//   MaddStraight = D1 × D4 × D7 + D2 × D5 × D8 + D3 × D6 × D9
//   MaddCurve    = F1 × L / R × F4 × F7 + F2 × L / R × F5 × F8 + F3 × L / R × F6 × F9
//
//   straight     M = Mvert + Mwires + Msupport + Mzigzag + MaddStraight
//   outer curve  M = Mvert + Mwires + Msupport + Mcurve + MaddStraight + MaddCurve
//   inner curve  M = Mvert - Mwires - Msupport - Mcurve - MaddStraight - MaddCurve
//
// In the inner curve every summand of Mwires, Mcurve, MaddStraight and MaddCurve is
// subtracted from the total by itself. Straight track with L = 0 gives SpanMissing; the
// curves are computed with any L.
MomentResult supportMoment(
    const SupportInputs &in, TrackSection section, const ConditionConstants &condition);

enum class DesignCondition { IceWithWind, MaximumWind };

// The constants of a design condition: kIceWithWind or kMaximumWind.
constexpr const ConditionConstants &conditionConstants(DesignCondition condition)
{
    return condition == DesignCondition::IceWithWind ? kIceWithWind : kMaximumWind;
}

// "Ветер отопоры на путь" is wind from the support towards the track (sign s = +1),
// "Ветер от пути на опору" from the track towards the support (s = -1).
enum class WindDirection { SupportToTrack, TrackToSupport };

// Base: the plain caption, the moment at the base. Heel: the "-ПЯТА" caption, every wire arm
// 6.75 m shorter and the support body with its own factor and arm.
enum class SupportLevel { Base, Heel };

// Arms and support-body factor of a transition-support level, m (As has no unit).
struct LevelArms {
    double hN; // Pnv and Tn line
    double hK; // Pkv and Tk line
    double hP1; // the two upper Pprv wires
    double hP2; // the third Pprv wire
    double As; // factor of the wind load on the support body
    double hS; // arm of the wind load on the support body
};

// At the heel every wire arm is 6.75 m shorter than at the base.
inline constexpr LevelArms kBaseArms { 9, 7, 9.7, 8.85, 2.47, 4.8 };
inline constexpr LevelArms kHeelArms { 2.25, 0.25, 2.95, 2.1, 0.56, 1.43 };
constexpr const LevelArms &levelArms(SupportLevel level)
{
    return level == SupportLevel::Base ? kBaseArms : kHeelArms;
}

struct TransitionInputs {
    double L = 0; // span length, m
    double Gp = 0, Gpr = 0; // weights per metre, kgf/m
    double Pnv = 0, Pkv = 0, Pprv = 0; // wind loads per metre, kgf/m
    double Tn = 0, Tk = 0; // wire tensions, kgf
    double V = 0; // maximum wind speed, m/s
    double Lp = 0; // distance from the transition to the anchor support, m
};

// Moment of the transition support at the end of an anchor section, with s the sign of the
// wind direction and the arms hN, hK, hP1, hP2, As, hS of the level:
//
//   Mvert2       = (L × Gp + 31) × 2 × 3.3 + 2 × c1 - L × Gpr × 3 × 1.7 - c2
//   Pnv line     = (s × 2 × Pnv × L - Tn × 3.3 / Lp) × hN
//   Pkv line     = (s × 2 × Pkv × L - Tk × 3.3 / Lp) × hK
//   upper wires  = s × 2 × Pprv × L × hP1
//   third wire   = s × Pprv × L × hP2
//   support body = s × W × W × As / 16 × hS, W = windFactor × V
//
// The first five are summed from left to right (Mvert2 summand by summand); for s = +1 the
// support body term is then added to that sum, for s = -1 it is subtracted from it last.
// Lp = 0 gives LpMissing. The track section, the radius, the stagger, Tpr and the
// additional loads do not enter a transition moment.
MomentResult transitionMoment(DesignCondition condition, WindDirection direction,
    SupportLevel level, const TransitionInputs &in);

} // namespace kelsa
