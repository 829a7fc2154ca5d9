// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

namespace kelsa
{

// Finds a file that the program names without a folder and that carries no numbers (the cursor
// "32761.CUR", the help page "help.htm"): first in the current working folder, then in the data
// folder beside the program, which is bin/../share/kelsa both installed and in the build tree
// (the build stages the data there). Returns the path in the working folder when the file is
// nowhere, so that a report names the place it was expected first. The reference tables are not
// looked for this way: they come from one folder (tablefolder.h).
class FileLocator
{
public:
    // The working folder at the time of each look-up, then the installed data folder.
    FileLocator();
    // Exactly these folders, in this order (tests).
    explicit FileLocator(const QStringList &folders);

    QString locate(const QString &fileName) const;

private:
    QStringList m_folders; // empty: the working folder and the installed data folder
};

// The data folder beside the program (bin/../share/kelsa), installed or built.
QString installedDataFolder();

} // namespace kelsa
