// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/schedule/schedulefilter.h"

#include "core/schedule/schedulemodel.h"

#include <optional>

namespace kelsa
{

namespace
{

// The number a text starts with ("12" of "12а"); none when it starts with no digit.
std::optional<qlonglong> leadingNumber(const QString &text)
{
    qsizetype digits = 0;
    while (digits < text.size() && digits < 18 && text[digits].isDigit()
        && text[digits].unicode() < 128)
        ++digits;
    if (digits == 0)
        return std::nullopt;
    return QStringView(text).left(digits).toLongLong();
}

} // namespace

ScheduleFilterModel::ScheduleFilterModel(QObject *parent)
    : QSortFilterProxyModel(parent)
{
    // Rows are filtered again as they are computed.
    setDynamicSortFilter(true);
}

void ScheduleFilterModel::setFilter(Filter filter)
{
    if (filter == m_filter)
        return;
    m_filter = filter;
    invalidateFilter();
}

bool ScheduleFilterModel::filterAcceptsRow(int sourceRow, const QModelIndex &) const
{
    const auto *schedule = qobject_cast<const ScheduleModel *>(sourceModel());
    if (!schedule || m_filter == Filter::All)
        return true;
    const ScheduleRowResult &result = schedule->result(sourceRow);
    if (m_filter == Filter::Over90)
        return result.utilisation && *result.utilisation > 0.9;
    return !result.errors.isEmpty() || !result.problems.isEmpty();
}

bool ScheduleFilterModel::lessThan(const QModelIndex &left, const QModelIndex &right) const
{
    const QVariant a = left.data(ScheduleModel::NumberRole);
    const QVariant b = right.data(ScheduleModel::NumberRole);
    if (a.isValid() != b.isValid())
        return a.isValid(); // in ascending order, numbers before cells without one
    if (a.isValid())
        return a.toDouble() < b.toDouble();
    const QString x = left.data(Qt::DisplayRole).toString();
    const QString y = right.data(Qt::DisplayRole).toString();
    // Support numbers as "12", "12а", "101": by their leading number first.
    const std::optional<qlonglong> xn = leadingNumber(x), yn = leadingNumber(y);
    if (xn && yn && *xn != *yn)
        return *xn < *yn;
    if (xn.has_value() != yn.has_value())
        return xn.has_value();
    return QString::localeAwareCompare(x, y) < 0;
}

} // namespace kelsa
