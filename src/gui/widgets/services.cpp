// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/widgets/services.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>
#include <QPointer>
#include <QProcess>
#include <QSettings>

namespace kelsa
{

FolderMemory settingsFolderMemory()
{
    const auto key = QStringLiteral("tables/folder");
    return { [key] {
                return QSettings(QStringLiteral("Kelsa"), QStringLiteral("Kelsa"))
                    .value(key)
                    .toString();
            },
        [key](const QString &folder) {
            QSettings(QStringLiteral("Kelsa"), QStringLiteral("Kelsa")).setValue(key, folder);
        } };
}

FolderChooser folderDialogChooser()
{
    return [](QWidget *parent, const QString &title, const QString &startFolder) {
        return QFileDialog::getExistingDirectory(parent, title, startFolder);
    };
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
