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
    // The folder chosen last time, when the samples stand in for it because it is no folder
    // now (a network share not mounted yet, a folder removed, a file in its place); absolute,
    // and empty otherwise. It stays remembered: it may be back at the next start.
    QString missingRemembered;

    friend bool operator==(const TablesFolder &, const TablesFolder &) = default;
};

// The folder at start-up: the one named on the command line; else the working folder when it
// holds at least one of the ten workbooks (as .xls, .xlsx or .ods); else the folder the user
// chose last time, while it is still a folder; else the installed samples, with the remembered
// path in missingRemembered when there was one. Empty arguments are passed over.
TablesFolder chooseTablesFolder(const QString &commandLine, const QString &workingFolder,
    const QString &remembered, const QString &samples);

// True when the folder holds at least one of the ten reference workbooks.
bool holdsReferenceTables(const QString &folder);

// The folder the chooser of the tables folder opens at: for samples shown in place of a
// missing remembered folder, the nearest folder that exists now on the way up from it (the
// folder itself once it is back); else the folder shown.
QString chooserStartFolder(const TablesFolder &shown);

} // namespace kelsa
