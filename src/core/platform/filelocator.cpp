// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/platform/filelocator.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace kelsa
{

FileLocator::FileLocator() = default;

FileLocator::FileLocator(const QStringList &folders)
    : m_folders(folders)
{
}

QString FileLocator::locate(const QString &fileName) const
{
    const QStringList folders = m_folders.isEmpty()
        ? QStringList { QDir::currentPath(), installedDataFolder() }
        : m_folders;
    for (const QString &folder : folders) {
        QString path = QDir(folder).filePath(fileName);
        if (QFileInfo(path).isFile())
            return path;
    }
    return QDir(folders.first()).filePath(fileName);
}

QString installedDataFolder()
{
    return QDir::cleanPath(QCoreApplication::applicationDirPath() + QLatin1Char('/')
        + QStringLiteral(KELSA_DATA_FROM_BIN));
}

} // namespace kelsa
