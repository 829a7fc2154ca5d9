// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/schedule/printedtable.h"

#include "core/numbers/numbertext.h"

#include <algorithm>

namespace kelsa
{

namespace
{

// An additional load adds D(k) × D(k+3) × D(k+6) (F the same in a curve): a row of its grid
// with a factor that reads as 0, or is empty, adds nothing and is not worth printing.
bool addsNothing(InputField field, const Schedule &schedule, const QLocale &locale)
{
    for (const InputField grid : { InputField::D1, InputField::F1 }) {
        const int offset = int(field) - int(grid);
        if (offset < 0 || offset >= 9)
            continue;
        for (int factor = offset % 3; factor < 9; factor += 3) {
            const InputField other = InputField(int(grid) + factor);
            if (schedule.holds(other))
                continue;
            const QString text = schedule.common.text(other).trimmed();
            if (text.isEmpty() || readNumber(text, locale) == 0.0)
                return true;
        }
    }
    return false;
}

} // namespace

std::vector<SharedField> sharedFields(const Schedule &schedule)
{
    std::vector<SharedField> shared;
    const QLocale locale = schedule.locale();
    if (schedule.rows.size() >= 2)
        for (const InputField field : schedule.fields) {
            const QString text = schedule.rows.front().field(field).trimmed();
            // A cell that reads as no number stays in the table, where it is shown red.
            if (text.isEmpty() || !readNumber(text, locale))
                continue;
            if (std::all_of(schedule.rows.begin(), schedule.rows.end(),
                    [&](const ScheduleRow &row) { return row.field(field).trimmed() == text; }))
                shared.push_back({ field, text, true });
        }
    for (const FieldInfo &info : inputFields())
        if (!schedule.holds(info.field))
            if (const QString text = schedule.common.text(info.field).trimmed();
                !text.isEmpty() && !addsNothing(info.field, schedule, locale))
                shared.push_back({ info.field, text, false });
    return shared;
}

std::vector<std::vector<int>> columnBands(std::span<const double> widths, int repeated, double room)
{
    const int count = int(widths.size());
    repeated = std::clamp(repeated, 0, count);
    double fixed = 0;
    std::vector<int> first;
    for (int column = 0; column < repeated; ++column) {
        fixed += widths[std::size_t(column)];
        first.push_back(column);
    }
    std::vector<std::vector<int>> bands;
    std::vector<int> band = first;
    double used = fixed;
    for (int column = repeated; column < count; ++column) {
        const double width = widths[std::size_t(column)];
        if (int(band.size()) > repeated && used + width > room) {
            bands.push_back(band);
            band = first;
            used = fixed;
        }
        band.push_back(column);
        used += width;
    }
    bands.push_back(band);
    return bands;
}

} // namespace kelsa
