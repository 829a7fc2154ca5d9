// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/widgets/services.h"

#include <QAbstractButton>
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

FileChooser openFileDialogChooser()
{
    return [](QWidget *parent, const QString &title, const QString &start, const QString &filter) {
        return QFileDialog::getOpenFileName(parent, title, start, filter);
    };
}

FileChooser saveFileDialogChooser()
{
    return [](QWidget *parent, const QString &title, const QString &start, const QString &filter) {
        return QFileDialog::getSaveFileName(parent, title, start, filter);
    };
}

UnsavedChangesQuestion unsavedChangesBox()
{
    return [](QWidget *parent, const QString &documentName) {
        const QString text = documentName.isEmpty()
            ? QStringLiteral("Сохранить новый расчет? Он еще не сохранен в файл.")
            : QStringLiteral("Сохранить изменения в расчете «%1»?").arg(documentName);
        QMessageBox box(QMessageBox::Question, QStringLiteral("Kelsa"), text,
            QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, parent);
        box.setTextFormat(Qt::PlainText); // a file's name is shown as it is, never as markup
        box.button(QMessageBox::Save)->setText(QStringLiteral("Сохранить"));
        box.button(QMessageBox::Discard)->setText(QStringLiteral("Не сохранять"));
        box.button(QMessageBox::Cancel)->setText(QStringLiteral("Отмена"));
        box.setDefaultButton(QMessageBox::Save);
        switch (box.exec()) {
        case QMessageBox::Save:
            return UnsavedChanges::Save;
        case QMessageBox::Discard:
            return UnsavedChanges::Discard;
        default:
            return UnsavedChanges::Cancel;
        }
    };
}

MessageSink messageBoxSink(QWidget *parent)
{
    QPointer<QWidget> owner(parent);
    return [owner](const QString &title, const QString &text) {
        QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Ok, owner.data());
        // Messages quote names and texts from files and fields: shown as written, never as
        // markup that could format, load an image or link.
        box.setTextFormat(Qt::PlainText);
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
