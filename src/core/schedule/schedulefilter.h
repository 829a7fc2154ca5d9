// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The schedule's rows as the view shows them: sorted by any column (numbers by their value,
// before the cells that hold none; other texts in the language's order) and filtered to the
// rows a designer looks for: those over 90 % utilisation, or those with errors.

#include <QSortFilterProxyModel>

namespace kelsa
{

class ScheduleFilterModel : public QSortFilterProxyModel
{
    Q_OBJECT
public:
    enum class Filter {
        All,
        Over90, // utilisation above 90 %: amber and red
        WithErrors, // a cell that cannot be read, or a moment or check without a value
    };

    explicit ScheduleFilterModel(QObject *parent = nullptr);

    Filter filter() const { return m_filter; }
    void setFilter(Filter filter);

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex &sourceParent) const override;
    bool lessThan(const QModelIndex &left, const QModelIndex &right) const override;

private:
    Filter m_filter = Filter::All;
};

} // namespace kelsa
