// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/mainwindow/designoptions.h"

#include "gui/mainwindow/form1controls.h"
#include "gui/widgets/fieldedit.h"

#include <QLabel>
#include <QRadioButton>

namespace kelsa
{

DesignOptions::DesignOptions(const Form1Controls &ui)
    : m_ui(ui)
{
    for (const OptionGroup group : kDesignConditionGroups)
        for (QRadioButton *option : ui.optionGroup(group))
            connect(option, &QRadioButton::toggled, this, [this](bool selected) {
                if (selected)
                    showChosenCells();
            });
}

void DesignOptions::showChosenCells()
{
    const OptionSelection options = m_ui.selectedOptions();
    const auto tables = referenceTables();
    for (std::size_t t = 0; t < tables.size(); ++t) {
        const Form1Controls::Table &table = m_ui.tables[t];
        FieldEdit *const shown = table.cells.at(std::size_t(tables[t].shownCell(options)));
        // Cells stand in the table's frame or in caption-less sub-frames inside it; a sub-frame
        // is shown exactly when it holds the shown cell.
        QWidget *const tableFrame = table.rowLabel->parentWidget();
        for (FieldEdit *cell : table.cells) {
            cell->setVisible(cell == shown);
            if (QWidget *subFrame = cell->parentWidget(); subFrame != tableFrame)
                subFrame->setVisible(subFrame == shown->parentWidget());
        }
    }
}

} // namespace kelsa
