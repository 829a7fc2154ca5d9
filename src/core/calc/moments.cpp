// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/calc/moments.h"

#include <cmath>
#include <initializer_list>
#include <utility>

// Built with floating-point contraction switched off (see CMakeLists.txt): a fused
// multiply-add would round a product and a sum together and shift the last digits.

namespace kelsa
{

namespace
{

// A moment being summed from left to right, with the breakdown of its terms.
class RunningMoment
{
public:
    explicit RunningMoment(std::size_t termCount) { m_terms.reserve(termCount); }

    // Adds each summand to the total in turn and records their sum as one term.
    void add(const char *name, std::initializer_list<double> summands)
    {
        MomentTerm recorded { name, 0 };
        for (const double summand : summands) {
            m_total = m_total + summand;
            recorded.value = recorded.value + summand;
            recorded.shares[std::size_t(recorded.shareCount++)] = summand;
        }
        m_terms.push_back(recorded);
    }

    // Subtracts each summand from the total in turn and records the term with its minus sign.
    void subtract(const char *name, std::initializer_list<double> summands)
    {
        MomentTerm recorded { name, 0 };
        double term = 0;
        for (const double summand : summands) {
            m_total = m_total - summand;
            term = term + summand;
            recorded.shares[std::size_t(recorded.shareCount++)] = -summand;
        }
        recorded.value = -term;
        m_terms.push_back(recorded);
    }

    // Adds a term of one summand whose loads are told apart: `shares` add up to it.
    void addSplit(const char *name, double summand, std::initializer_list<double> shares)
    {
        m_total = m_total + summand;
        MomentTerm recorded { name, summand };
        for (const double share : shares)
            recorded.shares[std::size_t(recorded.shareCount++)] = share;
        m_terms.push_back(recorded);
    }

    double total() const { return m_total; }
    std::vector<MomentTerm> takeTerms() && { return std::move(m_terms); }

private:
    double m_total = 0;
    std::vector<MomentTerm> m_terms;
};

// A zero radius in a curve, or inputs so large that a product overflows, leave an infinity or
// a NaN in the moment. That is no moment: the result says so rather than hand on 0 or an
// infinity to be written as if it were a number.
MomentResult finished(double moment, std::vector<MomentTerm> terms)
{
    const auto outcome
        = std::isfinite(moment) ? MomentResult::Outcome::Value : MomentResult::Outcome::NotFinite;
    return { outcome, moment, std::move(terms) };
}

} // namespace

MomentResult supportMoment(
    const SupportInputs &in, TrackSection section, const ConditionConstants &condition)
{
    // Mzigzag divides by the span length; on straight track there is no moment without it.
    if (section == TrackSection::Straight && in.L == 0)
        return { MomentResult::Outcome::SpanMissing, 0, {} };

    const double L = in.L;
    const double R = in.R;
    const auto &D = in.D;
    const auto &F = in.F;

    RunningMoment m(6);
    m.add(
        "Mvert", { (in.Gp * L + 31) * 3.3, condition.c1, -(in.Gpr * L * 3 * 1.7), -condition.c2 });

    const bool inner = section == TrackSection::InnerCurve;
    const auto apply = [&m, inner](const char *name, std::initializer_list<double> summands) {
        if (inner)
            m.subtract(name, summands);
        else
            m.add(name, summands);
    };

    apply("Mwires", { in.Pnv * L * 9, in.Pkv * L * 7, 2 * in.Pprv * L * 9.7, in.Pprv * L * 8.85 });

    // The wind speed on the support body is formed only now, after Mvert and Mwires. W² is
    // written W * W: the square of a double rounded once, as a power of 2 gives it.
    const double W = condition.windFactor * in.V;
    apply("Msupport", { W * W * 2.47 / 16 * 4.8 });

    if (section == TrackSection::Straight)
        apply("Mzigzag", { in.Tk * 4 * in.a / L * 7 });
    else
        apply("Mcurve",
            { in.Tn * L / R * 9, in.Tk * L / R * 7, 2 * (in.Tpr * L / R) * 9.7,
                (in.Tpr * L / R) * 8.85 });
    apply("MaddStraight", { D[0] * D[3] * D[6], D[1] * D[4] * D[7], D[2] * D[5] * D[8] });
    if (section != TrackSection::Straight)
        apply("MaddCurve",
            { F[0] * L / R * F[3] * F[6], F[1] * L / R * F[4] * F[7], F[2] * L / R * F[5] * F[8] });
    const double total = m.total();
    return finished(total, std::move(m).takeTerms());
}

MomentResult transitionMoment(DesignCondition condition, WindDirection direction,
    SupportLevel level, const TransitionInputs &in)
{
    // Both tension terms divide by Lp.
    if (in.Lp == 0)
        return { MomentResult::Outcome::LpMissing, 0, {} };

    const ConditionConstants &c = conditionConstants(condition);
    const LevelArms &h = levelArms(level);
    const double s = direction == WindDirection::SupportToTrack ? 1 : -1;
    const double L = in.L;

    // The weight of the suspension with its fixed 31 kgf and c1 are taken twice at the
    // transition support, the Gpr wires and c2 once.
    RunningMoment others(6);
    others.add("Mvert2", { (L * in.Gp + 31) * 2 * 3.3, 2 * c.c1, -(L * in.Gpr * 3 * 1.7), -c.c2 });
    // Each line is one summand; its wind and the pull of its tension are told apart for the
    // breakdown only.
    others.addSplit("Pnv line", (s * 2 * in.Pnv * L - in.Tn * 3.3 / in.Lp) * h.hN,
        { s * 2 * in.Pnv * L * h.hN, -(in.Tn * 3.3 / in.Lp) * h.hN });
    others.addSplit("Pkv line", (s * 2 * in.Pkv * L - in.Tk * 3.3 / in.Lp) * h.hK,
        { s * 2 * in.Pkv * L * h.hK, -(in.Tk * 3.3 / in.Lp) * h.hK });
    others.add("upper wires", { s * 2 * in.Pprv * L * h.hP1 });
    others.add("third wire", { s * in.Pprv * L * h.hP2 });

    // With the wind towards the track the sum of the other five is added to the support body
    // term; with the wind towards the support the term is subtracted from that sum.
    const double W = c.windFactor * in.V;
    const double body = W * W * h.As / 16 * h.hS;
    const double moment = s > 0 ? body + others.total() : others.total() - body;

    std::vector<MomentTerm> terms = std::move(others).takeTerms();
    terms.push_back({ "support body", s * body, { s * body }, 1 });
    return finished(moment, std::move(terms));
}

} // namespace kelsa
