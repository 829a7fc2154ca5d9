// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/widgets/services.h"

#include <QDesktopServices>
#include <QMessageBox>
#include <QPointer>
#include <QProcess>

namespace kelsa
{

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
