// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/mainwindow/lookups.h"

#include "core/tables/tablecatalogue.h"
#include "gui/mainwindow/form1controls.h"
#include "gui/mainwindow/referencetables.h"
#include "gui/widgets/fieldedit.h"

#include <QLabel>

namespace kelsa
{

LoadLookups::LoadLookups(const Form1Controls &ui, ReferenceTables &tables)
    : m_ui(ui)
    , m_tables(tables)
{
    for (const FieldInfo &info : inputFields()) {
        if (!info.lookup)
            continue;
        FieldEdit *edit = ui.field(info.field);
        const InputField field = info.field;
        connect(edit, &FieldEdit::clicked, this, [this, field] { lookUp(field); });
        connect(edit, &FieldEdit::textChanged, this, [this, field] {
            if (!m_copying)
                m_sources[std::size_t(field)].reset();
        });
    }
}

void LoadLookups::lookUp(InputField field)
{
    const ReferenceTable *table = tableForLookup(field);
    const auto t = std::size_t(table - referenceTables().data());
    const Form1Controls::Table &controls = m_ui.tables[t];

    const int cell = table->shownCell(m_ui.selectedOptions());
    m_tables.commitEdits(t); // what the cell shows is what its record holds from now on

    m_copying = true;
    m_ui.field(field)->setText(controls.cells[std::size_t(cell)]->text());
    m_copying = false;

    const int record = m_tables.currentRecord(t);
    if (record < 0) {
        m_sources[std::size_t(field)].reset(); // an unreadable table: the cell is empty
        return;
    }
    m_sources[std::size_t(field)] = LookupSource { QString::fromLatin1(table->navigator),
        record + 1, controls.rowLabel->text(), table->cellName(cell), m_tables.fileRead(t) };
}

} // namespace kelsa
