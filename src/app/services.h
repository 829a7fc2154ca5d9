// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

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

// A real modal message box with the given parent.
MessageSink messageBoxSink(QWidget *parent);
// Starting processes with QProcess::startDetached.
ProcessStarter detachedProcessStarter();
// Opening with QDesktopServices::openUrl.
UrlOpener desktopUrlOpener();

} // namespace kelsa
