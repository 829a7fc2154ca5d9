// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStyledItemDelegate>

namespace kelsa
{

// How the schedule's cells look: a cell that cannot be read red on pale red (its reason is the
// model's tooltip), the utilisation on the colour of its level, as in the main window's status
// bar.
class ScheduleCellDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override;
};

} // namespace kelsa
