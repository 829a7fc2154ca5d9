// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/mainwindow/resets.h"

#include "gui/mainwindow/form1controls.h"
#include "gui/widgets/fieldedit.h"

#include <QAbstractButton>
#include <QLabel>

namespace kelsa
{

ResetCommands::ResetCommands(const Form1Controls &ui, QWidget &window)
    : m_ui(ui)
    , m_window(window)
{
    // A click empties a plain field; a look-up field fills instead (see LoadLookups).
    for (const FieldInfo &info : inputFields()) {
        if (info.lookup)
            continue;
        FieldEdit *edit = ui.field(info.field);
        connect(edit, &FieldEdit::clicked, edit, [edit] { edit->clear(); });
    }
    for (const ResetInfo &info : resets())
        connect(ui.resetButton(info.reset), &QAbstractButton::clicked, this,
            [this, reset = info.reset] { this->reset(reset); });
    connect(ui.exitButton, &QAbstractButton::clicked, this, &ResetCommands::Command16_Click);
}

void ResetCommands::reset(Reset reset)
{
    const ResetInfo &info = resets()[std::size_t(reset)];
    for (const Moment moment : info.moments) {
        QLabel *label = m_ui.momentLabel(moment);
        label->clear();
        label->setToolTip(QString()); // the breakdown belongs to the moment just cleared
    }
    for (const InputField field : info.fields)
        m_ui.field(field)->setText(QString::fromLatin1(fieldInfo(field).startText));
}

void ResetCommands::Command16_Click()
{
    m_window.close();
}

} // namespace kelsa
