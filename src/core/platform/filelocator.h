// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

namespace kelsa
{

// Finds a file that the program names without a folder ("32761.CUR", "т11.1.xls", "help.htm"):
// first in the current working folder, then in the folder of the installed program data, so that
// Kelsa also works when started from a desktop menu, and last in the data the build staged. Returns
// the path in the working folder when the file is nowhere, so that a report names the place it was
// expected first.
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

// The data folder beside the installed program (bin/../share/kelsa).
QString installedDataFolder();

} // namespace kelsa
