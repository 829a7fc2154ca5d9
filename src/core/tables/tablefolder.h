// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace kelsa
{

// The one folder all ten reference tables are read from. A table missing there is missing:
// no table is ever taken from another folder, so the numbers on screen always come from the
// folder the window names.
struct TablesFolder {
    QString path; // absolute
    bool samples = false; // the sample tables installed with the program

    friend bool operator==(const TablesFolder &, const TablesFolder &) = default;
};

// The folder at start-up: the one named on the command line; else the working folder when it
// holds at least one of the ten workbooks (as .xls, .xlsx or .ods); else the folder the user
// chose last time, while it still exists; else the installed samples. Empty arguments are
// passed over.
TablesFolder chooseTablesFolder(const QString &commandLine, const QString &workingFolder,
    const QString &remembered, const QString &samples);

// True when the folder holds at least one of the ten reference workbooks.
bool holdsReferenceTables(const QString &folder);

} // namespace kelsa
