// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/widgets/services.h"

#include <QAbstractButton>
#include <QDesktopServices>
#include <QFileDialog>
#include <QListView>
#include <QMessageBox>
#include <QPointer>
#include <QProcess>
#include <QSettings>
#include <QSplitter>
#include <QStyle>
#include <QTimer>

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

namespace
{

// Qt's own file dialog, shown where the desktop has none, opens its list of places narrower
// than its Russian names («Компьютер»): the list is widened to its longest name once the dialog
// is laid out. A desktop's own dialog has no such list and is left alone.
void widenPlaces(QFileDialog &dialog)
{
    auto *places = dialog.findChild<QListView *>(QStringLiteral("sidebar"));
    auto *splitter = dialog.findChild<QSplitter *>(QStringLiteral("splitter"));
    if (!places || !splitter)
        return;
    QTimer::singleShot(0, &dialog, [places, splitter] {
        const int wanted = places->sizeHintForColumn(0) + 2 * places->frameWidth()
            + places->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
        QList<int> sizes = splitter->sizes();
        if (sizes.size() != 2 || sizes[0] >= wanted)
            return;
        sizes[1] -= wanted - sizes[0];
        sizes[0] = wanted;
        splitter->setSizes(sizes);
    });
}

// What the static QFileDialog functions do, with the places list widened.
QString askFile(QWidget *parent, const QString &title, const QString &start, const QString &filter,
    QFileDialog::FileMode mode, QFileDialog::AcceptMode accept)
{
    QFileDialog dialog(parent, title, start, filter);
    dialog.setFileMode(mode);
    dialog.setAcceptMode(accept);
    if (mode == QFileDialog::Directory)
        dialog.setOption(QFileDialog::ShowDirsOnly);
    widenPlaces(dialog);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return dialog.selectedFiles().value(0);
}

} // namespace

FolderChooser folderDialogChooser()
{
    return [](QWidget *parent, const QString &title, const QString &startFolder) {
        return askFile(
            parent, title, startFolder, QString(), QFileDialog::Directory, QFileDialog::AcceptOpen);
    };
}

FileChooser openFileDialogChooser()
{
    return [](QWidget *parent, const QString &title, const QString &start, const QString &filter) {
        return askFile(
            parent, title, start, filter, QFileDialog::ExistingFile, QFileDialog::AcceptOpen);
    };
}

FileChooser saveFileDialogChooser()
{
    return [](QWidget *parent, const QString &title, const QString &start, const QString &filter) {
        return askFile(parent, title, start, filter, QFileDialog::AnyFile, QFileDialog::AcceptSave);
    };
}

UnsavedChanges askAboutUnsavedChanges(QWidget *parent, const QString &question)
{
    QMessageBox box(QMessageBox::Question, QStringLiteral("Kelsa"), question,
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
}

UnsavedChangesQuestion unsavedChangesBox()
{
    return [](QWidget *parent, const QString &documentName) {
        return askAboutUnsavedChanges(parent,
            documentName.isEmpty()
                ? QStringLiteral("Сохранить новый расчет? Он еще не сохранен в файл.")
                : QStringLiteral("Сохранить изменения в расчете «%1»?").arg(documentName));
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
