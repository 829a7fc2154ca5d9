// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/schedule/celldelegate.h"

#include "core/schedule/schedulemodel.h"
#include "gui/check/supportcheckbar.h"

namespace kelsa
{

void ScheduleCellDelegate::initStyleOption(
    QStyleOptionViewItem *option, const QModelIndex &index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    if (!index.data(ScheduleModel::InvalidReasonRole).toString().isEmpty()) {
        option->backgroundBrush = QColor(0xFF, 0xCD, 0xD2);
        option->palette.setColor(QPalette::Text, QColor(0xB7, 0x1C, 0x1C));
        option->palette.setColor(QPalette::HighlightedText, QColor(0xFF, 0xCD, 0xD2));
        return;
    }
    if (const QVariant level = index.data(ScheduleModel::UtilisationLevelRole); level.isValid()) {
        option->backgroundBrush = utilisationColour(UtilisationLevel(level.toInt()));
        // White on green and red, black on amber, as the status bar writes it.
        option->palette.setColor(QPalette::Text,
            UtilisationLevel(level.toInt()) == UtilisationLevel::Amber ? QColor(Qt::black)
                                                                       : QColor(Qt::white));
    }
}

} // namespace kelsa
