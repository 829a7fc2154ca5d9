// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/platform/filelocator.h"

#include <QString>
#include <QStringList>
#include <QUrl>

#include <functional>

class QWidget;

namespace kelsa
{

// What the windows ask of the world outside them, passed in so that tests can watch it.

// Shows one of the program's message boxes: the title, the text, an OK button and no icon.
// It returns once the user has dismissed the box.
using MessageSink = std::function<void(const QString &title, const QString &text)>;

// Starts a program file as a separate process without waiting for it; false when it could not
// be started.
using ProcessStarter = std::function<bool(const QString &program, const QStringList &arguments)>;

// Opens a document, a web address or a mail link with the program associated with it.
using UrlOpener = std::function<bool(const QUrl &url)>;

// Remembers the folder of the reference tables the user chose, for the next start.
struct FolderMemory {
    std::function<QString()> recall; // empty when none was chosen
    std::function<void(const QString &folder)> remember;
};

// Asks the user for a folder; empty when the user cancels.
using FolderChooser
    = std::function<QString(QWidget *parent, const QString &title, const QString &startFolder)>;

// Asks for a file to open, or a name to save under, with a dialog filter such as
// "Расчеты Kelsa (*.kelsa)"; empty when the user cancels.
using FileChooser = std::function<QString(
    QWidget *parent, const QString &title, const QString &start, const QString &filter)>;

// What to do with unsaved changes before they would be lost. The document's name is its
// file's name, empty for a calculation never saved.
enum class UnsavedChanges { Save, Discard, Cancel };
using UnsavedChangesQuestion
    = std::function<UnsavedChanges(QWidget *parent, const QString &documentName)>;

// The folder remembered in the program's settings (QSettings, "Kelsa").
FolderMemory settingsFolderMemory();
// The desktop's folder dialog.
FolderChooser folderDialogChooser();

// The desktop's file dialogs.
FileChooser openFileDialogChooser();
FileChooser saveFileDialogChooser();
// «Сохранить изменения в расчете «…»?» (for a calculation never saved, «Сохранить новый
// расчет?») with «Сохранить», «Не сохранять», «Отмена»; the name is shown as plain text.
UnsavedChangesQuestion unsavedChangesBox();
// That box with another question, for another kind of document.
UnsavedChanges askAboutUnsavedChanges(QWidget *parent, const QString &question);

// A real modal message box with the given parent; the text is shown as plain text.
MessageSink messageBoxSink(QWidget *parent);
// Starting processes with QProcess::startDetached.
ProcessStarter detachedProcessStarter();
// Opening with QDesktopServices::openUrl.
UrlOpener desktopUrlOpener();

} // namespace kelsa
