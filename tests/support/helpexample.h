// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The worked example of the help page as a saved calculation, for the report's tests.

#include "core/calc/momentlabel.h"
#include "core/document/savedcalculation.h"
#include "core/report/calculationreport.h"

#include <QDate>
#include <QList>
#include <QLocale>
#include <QPair>
#include <QtGlobal>

namespace kelsa::test
{

// A 50 m span, loads per metre, tensions, a 30 m/s wind and Lp on straight track; texts are
// written with a decimal comma.
inline Calculation helpPageExample()
{
    Calculation calculation = Calculation::atStart();
    const QList<QPair<const char *, const char *>> texts { { "Prolet", "50" }, { "txtGp", "2" },
        { "txtGpr", "1" }, { "txtGnv", "0,5" }, { "txtPkv", "0,4" }, { "txtPprv", "0,3" },
        { "txtSum1", "2" }, { "txtSum2", "1" }, { "txtSum3", "0,5" }, { "txtSum4", "0,4" },
        { "txtSum5", "0,3" }, { "Text2", "1000" }, { "Text5", "0,3" }, { "txtVm", "30" },
        { "txtLp", "40" } };
    for (const auto &[name, text] : texts)
        if (!calculation.setText(QString::fromLatin1(name), QString::fromUtf8(text)))
            qFatal("no field %s", name);
    calculation.selectOption(u"Option18");
    return calculation;
}

// The example after every moment button was pressed, as the window saves it: numbers with a
// decimal comma, no title, no look-ups.
inline SavedCalculation helpPageComputed()
{
    const QLocale ru(QLocale::Russian, QLocale::Russia);
    SavedCalculation saved;
    saved.calculation = helpPageExample();
    for (const MomentInfo &info : moments())
        saved.result(info.moment).text
            = resultLabelText(computeMoment(saved.calculation, info.moment, ru), ru);
    return saved;
}

// The example as the window would save it after some work: a title, Gп copied from a table, Tn
// emptied; Мо в max computed now, Мо вг computed before Gпр was changed from 1,5 to 1, the
// transition support in maximum wind, wind towards the track, computed while Lp was 0 and Tn
// was 0; the other moments not computed.
inline ReportInput helpPageReport()
{
    const QLocale ru(QLocale::Russian, QLocale::Russia);
    SavedCalculation saved;
    saved.calculation = helpPageExample();
    Calculation &now = saved.calculation;
    now.sources[std::size_t(InputField::IceGp)] = LookupSource { QStringLiteral("Data2"), 3,
        QStringLiteral("М-95+МФ-100"), QStringLiteral("Gp10") };
    now.text(InputField::MessengerTension).clear();
    saved.title = ReportTitle { QStringLiteral("Перегон Лесная — Озерная"), QStringLiteral("17"),
        QStringLiteral("Иванов И. И.") };

    const auto computed = [&](Moment moment, const Calculation &from) {
        SavedResult result { resultLabelText(computeMoment(from, moment, ru), ru), std::nullopt };
        if (from != now)
            result.computedFrom = from;
        saved.result(moment) = result;
    };
    computed(Moment::MaximumWind, now);
    Calculation before = now;
    before.text(InputField::IceGpr) = QStringLiteral("1,5");
    computed(Moment::IceWithWind, before);
    Calculation withoutLp = now;
    withoutLp.text(InputField::AnchorDistance) = QStringLiteral("0");
    withoutLp.text(InputField::MessengerTension) = QStringLiteral("0");
    computed(Moment::WindToTrack, withoutLp);
    return ReportInput { saved, QStringLiteral("образцы"), QDate(2026, 12, 7) };
}

} // namespace kelsa::test
