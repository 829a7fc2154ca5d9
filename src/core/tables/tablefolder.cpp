// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/tables/tablefolder.h"

#include "core/tables/tablecatalogue.h"
#include "core/tables/workbookreader.h"

#include <QDir>
#include <QFileInfo>

namespace kelsa
{

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
    const auto absolute = [](const QString &path) { return QDir(path).absolutePath(); };
    if (!commandLine.isEmpty())
        return { absolute(commandLine), false };
    if (!workingFolder.isEmpty() && holdsReferenceTables(workingFolder))
        return { absolute(workingFolder), false };
    if (!remembered.isEmpty() && QFileInfo(remembered).isDir())
        return { absolute(remembered), false };
    return { absolute(samples), true };
}

} // namespace kelsa
