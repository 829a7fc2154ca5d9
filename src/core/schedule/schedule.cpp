// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/schedule/schedule.h"

#include "core/batch/batchrun.h"
#include "core/batch/rowreport.h"

#include <algorithm>

namespace kelsa
{

QLocale Schedule::locale() const
{
    return localeForDecimal(decimalSeparator);
}

bool Schedule::holds(InputField field) const
{
    return std::find(fields.begin(), fields.end(), field) != fields.end();
}

const QString &ScheduleRow::text(const ScheduleCell &cell) const
{
    switch (cell.kind) {
    case ScheduleCell::Kind::Support:
        return support;
    case ScheduleCell::Kind::Section:
        return section;
    case ScheduleCell::Kind::Field:
        return field(cell.field);
    case ScheduleCell::Kind::SupportType:
        break;
    }
    return supportType;
}

QString &ScheduleRow::text(const ScheduleCell &cell)
{
    return const_cast<QString &>(std::as_const(*this).text(cell));
}

const QString &Schedule::text(qsizetype row, const ScheduleCell &cell) const
{
    return rows[row].text(cell);
}

QString &Schedule::text(qsizetype row, const ScheduleCell &cell)
{
    return rows[row].text(cell);
}

Calculation Schedule::calculation(qsizetype row) const
{
    Calculation calculation = common;
    calculation.sources = {};
    const ScheduleRow &r = rows[row];
    for (const InputField field : fields)
        calculation.text(field) = r.field(field);
    if (const auto index = sectionIndex(r.section))
        calculation.setOption(OptionGroup::TrackSection, *index);
    return calculation;
}

std::vector<InputField> defaultScheduleFields()
{
    using F = InputField;
    return { F::SpanLength, F::MaxWindSpeed, F::MessengerTension, F::ContactTension,
        F::FeederTension, F::CurveRadius, F::Stagger, F::AnchorDistance, F::IceGp, F::IceGpr,
        F::IcePnv, F::IcePkv, F::IcePprv, F::WindGp, F::WindGpr, F::WindPnv, F::WindPkv,
        F::WindPprv };
}

} // namespace kelsa
