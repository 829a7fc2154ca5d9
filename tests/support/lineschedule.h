// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A short line for the schedule's tests: the common data of a straight support of the sample
// schedule (span 50 m, wind 30 m/s, Lp 40 m), two field columns (radius, then span) and three
// supports: on the straight, on the common section, and on the outer side of a curve.

#include "core/check/supportcatalogue.h"
#include "core/schedule/schedule.h"

#include <QStringList>

namespace kelsa::test
{

inline Schedule lineSchedule(QChar separator = QLatin1Char(','))
{
    const auto number = [separator](const char *text) {
        return QString::fromLatin1(text).replace(QLatin1Char(','), separator);
    };
    Schedule schedule;
    schedule.decimalSeparator = separator;
    const QList<QPair<const char *, const char *>> common { { "Prolet", "50" }, { "txtVm", "30" },
        { "Text1", "1500" }, { "Text2", "1000" }, { "Text3", "0" }, { "Text4", "1" },
        { "Text5", "0,3" }, { "txtLp", "40" }, { "txtGp", "2" }, { "txtGpr", "1" },
        { "txtGnv", "0,5" }, { "txtPkv", "0,4" }, { "txtPprv", "0,3" }, { "txtSum1", "2" },
        { "txtSum2", "1" }, { "txtSum3", "0,5" }, { "txtSum4", "0,4" }, { "txtSum5", "0,3" } };
    for (const auto &[name, text] : common)
        schedule.common.setText(QString::fromLatin1(name), number(text));
    // Not in the order of the fields: the columns follow the schedule.
    schedule.fields = { InputField::CurveRadius, InputField::SpanLength };
    const QList<QStringList> rows { { QStringLiteral("1"), QStringLiteral("Прямая"),
                                        QStringLiteral("50"), QStringLiteral("1") },
        { QStringLiteral("2"), QString(), number("62,5"), QStringLiteral("1") },
        { QStringLiteral("3"), QStringLiteral("Вне.кривая"), QStringLiteral("45"),
            QStringLiteral("1000") } };
    for (const QStringList &cells : rows) {
        ScheduleRow row;
        row.support = cells[0];
        row.section = cells[1];
        row.field(InputField::SpanLength) = cells[2];
        row.field(InputField::CurveRadius) = cells[3];
        schedule.rows << row;
    }
    return schedule;
}

// A catalogue in kgf·m of the types given.
inline SupportCatalogue catalogueOf(const QList<SupportType> &types)
{
    SupportCatalogue catalogue;
    catalogue.state = SupportCatalogue::State::Ok;
    catalogue.unit = MomentUnit::KilogramForceMetre;
    catalogue.types = types;
    return catalogue;
}

} // namespace kelsa::test
