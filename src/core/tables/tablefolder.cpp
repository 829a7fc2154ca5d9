// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/tables/tablefolder.h"

#include "core/tables/tablecatalogue.h"
#include "core/tables/workbookreader.h"

#include <QDir>
#include <QFileInfo>

namespace kelsa
{

namespace
{

QString absolute(const QString &path)
{
    return QDir::cleanPath(QDir(path).absolutePath());
}

// The path itself when it is a folder, else the first of its parents that is one; empty when
// none is, not even the root (a drive that is gone).
QString nearestExistingFolder(const QString &path)
{
    QString at = absolute(path);
    while (!QFileInfo(at).isDir()) {
        const QString up = QFileInfo(at).path();
        if (up == at)
            return {};
        at = up;
    }
    return at;
}

} // namespace

bool holdsReferenceTables(const QString &folder)
{
    const QDir dir(folder);
    for (const ReferenceTable &table : referenceTables())
        if (QFileInfo(workbookFile(dir.filePath(QString::fromUtf8(table.fileName)))).isFile())
            return true;
    return false;
}

TablesFolder chooseTablesFolder(const QString &commandLine, const QString &workingFolder,
    const QString &remembered, const QString &samples)
{
    if (!commandLine.isEmpty())
        return { absolute(commandLine), false, {} };
    if (!workingFolder.isEmpty() && holdsReferenceTables(workingFolder))
        return { absolute(workingFolder), false, {} };
    if (remembered.isEmpty())
        return { absolute(samples), true, {} };
    // A file where the folder was is no folder either: its workbooks are not there.
    if (QFileInfo(remembered).isDir())
        return { absolute(remembered), false, {} };
    return { absolute(samples), true, absolute(remembered) };
}

QString chooserStartFolder(const TablesFolder &shown)
{
    if (!shown.missingRemembered.isEmpty())
        if (const QString nearest = nearestExistingFolder(shown.missingRemembered);
            !nearest.isEmpty())
            return nearest;
    return shown.path;
}

} // namespace kelsa
