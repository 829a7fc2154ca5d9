// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/mainwindow/resets.h"

#include "gui/widgets/fieldedit.h"
#include "gui/mainwindow/form1.h"

#include <QAbstractButton>
#include <QLabel>

namespace kelsa
{

const char *const kPlainInputFields[29] = {
    "Prolet",
    "txtVm",
    "Text1",
    "Text2",
    "Text3",
    "Text4",
    "Text5",
    "txtLp",
    "txtSum3",
    "txtSum4",
    "txtSum5",
    "txtD1",
    "txtD2",
    "txtD3",
    "txtD4",
    "txtD5",
    "txtD6",
    "txtD7",
    "TxtD8",
    "txtD9",
    "txtF1",
    "txtF2",
    "txtF3",
    "txtF4",
    "txtF5",
    "txtF6",
    "txtF7",
    "txtF8",
    "txtF9",
};

ResetCommands::ResetCommands(Form1 &form)
    : m_form(form)
{
    for (const char *name : kPlainInputFields) {
        FieldEdit *edit = form.field(QString::fromLatin1(name));
        connect(edit, &FieldEdit::clicked, edit, [edit] { edit->clear(); });
    }
    const auto wire = [&](const char *name, void (ResetCommands::*handler)()) {
        connect(form.button(QString::fromLatin1(name)), &QAbstractButton::clicked, this, handler);
    };
    wire("Command2", &ResetCommands::Command2_Click);
    wire("Command4", &ResetCommands::Command4_Click);
    wire("Command13", &ResetCommands::Command13_Click);
    wire("Command14", &ResetCommands::Command14_Click);
    wire("Command19", &ResetCommands::Command19_Click);
    wire("Command16", &ResetCommands::Command16_Click);
}

void ResetCommands::setTexts(std::initializer_list<const char *> names, const char *text)
{
    for (const char *name : names)
        m_form.field(QString::fromLatin1(name))->setText(QString::fromLatin1(text));
}

void ResetCommands::clearLabels(std::initializer_list<const char *> names)
{
    for (const char *name : names) {
        QLabel *label = m_form.label(QString::fromLatin1(name));
        label->clear();
        label->setToolTip(QString()); // the breakdown belongs to the moment just cleared
    }
}

void ResetCommands::Command2_Click()
{
    clearLabels({ "Label1" });
    setTexts({ "txtGp", "txtGpr", "txtGnv", "txtPkv", "txtPprv" }, "0");
    setTexts({ "Prolet", "txtVm" }, "0");
}

void ResetCommands::Command4_Click()
{
    clearLabels({ "Label5" });
    setTexts({ "txtSum1", "txtSum2", "txtSum3", "txtSum4", "txtSum5" }, "0");
    setTexts({ "Prolet", "txtVm" }, "0");
}

void ResetCommands::Command13_Click()
{
    clearLabels(
        { "Label10", "Label18", "Label26", "Label27", "Label28", "Label29", "Label30", "Label31" });
    setTexts({ "txtLp", "Prolet", "txtVm" }, "0");
}

// The additional-load grids restart with a load of 1, an arm of 0 and a count of 1 in every row,
// so that each row adds nothing until the user gives it an arm.
void ResetCommands::resetGrids()
{
    setTexts({ "txtD1", "txtD2", "txtD3" }, "1");
    setTexts({ "txtD4", "txtD5", "txtD6" }, "0");
    setTexts({ "txtD7", "TxtD8", "txtD9" }, "1");
    setTexts({ "txtF1", "txtF2", "txtF3" }, "1");
    setTexts({ "txtF4", "txtF5", "txtF6" }, "0");
    setTexts({ "txtF7", "txtF8", "txtF9" }, "1");
}

void ResetCommands::Command14_Click()
{
    resetGrids();
    setTexts({ "Text1", "Text2", "Text3" }, "0");
    setTexts({ "Text4" }, "1");
    setTexts({ "Text5", "Prolet", "txtVm" }, "0");
}

void ResetCommands::Command19_Click()
{
    setTexts({ "Text1", "Text2", "Text3" }, "0");
    setTexts({ "Text4" }, "1");
    setTexts({ "Text5", "Prolet", "txtVm", "txtLp" }, "0");
    resetGrids();
    setTexts({ "txtGp", "txtGpr", "txtGnv", "txtPkv", "txtPprv" }, "0");
    setTexts({ "txtSum1", "txtSum2", "txtSum3", "txtSum4", "txtSum5" }, "0");
    clearLabels({ "Label1", "Label5", "Label10", "Label18", "Label26", "Label27", "Label28",
        "Label29", "Label30", "Label31" });
}

void ResetCommands::Command16_Click()
{
    m_form.close();
}

} // namespace kelsa
