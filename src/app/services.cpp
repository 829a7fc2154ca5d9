// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/services.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QPointer>
#include <QProcess>

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
        ? QStringList { QDir::currentPath(), installedDataFolder(),
              // The data staged by the build: a program built into another project's folders
              // and not installed still finds the shipped files there.
              QStringLiteral(KELSA_BUILD_DATA_DIR) }
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

MessageSink messageBoxSink(QWidget *parent)
{
    QPointer<QWidget> owner(parent);
    return [owner](const QString &title, const QString &text) {
        QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Ok, owner.data());
        box.exec();
    };
}

ProcessStarter detachedProcessStarter()
{
    return [](const QString &program, const QStringList &arguments) {
        return QProcess::startDetached(program, arguments);
    };
}

UrlOpener desktopUrlOpener()
{
    return [](const QUrl &url) { return QDesktopServices::openUrl(url); };
}

} // namespace kelsa
