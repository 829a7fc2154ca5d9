// SPDX-License-Identifier: GPL-3.0-or-later
#include "program/application.h"

#include "core/platform/qttranslations.h"
#include "gui/about/form2.h"
#include "gui/mainwindow/calculationdocument.h"
#include "gui/mainwindow/form1.h"
#include "gui/mainwindow/referencetables.h"
#include "program/batchcommand.h"
#include "program/commandline.h"
#include "program/computecommand.h"
#include "program/messageprinting.h"
#include "program/reportcommand.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QPixmap>
#include <QTextStream>

#include <csignal>
#include <cstdio>

namespace kelsa
{

namespace
{

// Renders the main window after start-up, with its first records shown, to a PNG file.
// Messages are written to the error stream instead of waiting for a click.
int saveScreenshot(Form1Services services, const QString &fileName)
{
    services.showMessage = [](const QString &title, const QString &text) {
        printMessage(stderr, title + QStringLiteral(": ") + text);
    };
    Form1 form(services);
    // Shown as far as the window itself can tell, but never put on a screen: nothing flashes up
    // under a display. Only the calls start-up queued for after the show run (the report of
    // unreadable workbooks), and the layouts the show asked for (the status bar fits its choice
    // of types to its items when first shown); the window is painted once, into the picture.
    form.setAttribute(Qt::WA_DontShowOnScreen);
    form.show();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::MetaCall);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    // grab() hands every widget of the window its pending resize, the closed menus too, and a
    // menu lays out all its items when it gets one. A screen lays a menu out when it opens, so
    // the picture is taken as a screen shows the window: with the menus not yet laid out.
    for (QMenu *menu : form.findChildren<QMenu *>())
        menu->setAttribute(Qt::WA_PendingResizeEvent, false);
    const bool saved = form.grab().save(fileName, "PNG");
    // No event loop ever ran: what else start-up posted for it to do to every control (polish,
    // lay out, repaint) is dropped kind by kind, in one pass each, rather than control by
    // control as the window is taken down (each pass through all that was posted).
    for (const QEvent::Type type : { QEvent::PolishRequest, QEvent::UpdateLater,
             QEvent::LayoutRequest, QEvent::UpdateRequest })
        QCoreApplication::removePostedEvents(nullptr, type);
    if (!saved) {
        printMessage(stderr, QStringLiteral("kelsa: не удается записать снимок %1").arg(fileName));
        return 1;
    }
    return 0;
}

// Where windows go through X11 or Wayland, a session without either cannot show one; Qt would
// abort with a long message. Elsewhere (Windows, macOS) there is always a screen to show on.
bool hasDisplay()
{
#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN)
    return qEnvironmentVariableIsSet("DISPLAY") || qEnvironmentVariableIsSet("WAYLAND_DISPLAY")
        || qEnvironmentVariableIsSet("QT_QPA_PLATFORM");
#else
    return true;
#endif
}

// A wrong command line: one line, which says where the options are listed.
void printUsageError(const QString &text)
{
    printMessage(stderr, QStringLiteral("kelsa: %1 (список параметров: kelsa --help)").arg(text));
}

// The folder whose catalogue of support types the commands check with: --tables DIR, else the
// one the window would start with. Nothing when DIR is no folder, which is told.
std::optional<TablesFolder> commandTablesFolder(const CommandLine &line)
{
    if (!line.tables.isNull() && !QFileInfo(line.tables).isDir()) {
        printMessage(stderr, QStringLiteral("kelsa: нет папки %1").arg(line.tables));
        return std::nullopt;
    }
    return chooseTablesFolder(
        line.tables, QDir::currentPath(), settingsFolderMemory().recall(), installedDataFolder());
}

// --compute and --batch need no display: a core application, no platform plugin.
int runWithoutWindow(int argc, char *argv[], const CommandLine &line)
{
    QCoreApplication app(argc, argv);
    installRussianTranslations(app);
    const auto tables = commandTablesFolder(line);
    if (!tables)
        return 2;
    if (line.mode == CommandLine::Mode::Compute)
        return runComputeCommand(line.files[0], tables->path);
    return runBatchCommand(line.files[0], line.files[1], line.decimal, line.encoding, tables->path);
}

// --report draws with fonts and a painter but shows nothing: offscreen when there is no screen.
int runReport(int argc, char *argv[], const CommandLine &line)
{
    if (!hasDisplay())
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    installRussianTranslations(app);
    QGuiApplication::setApplicationName(QStringLiteral("Kelsa"));
    QGuiApplication::setApplicationVersion(programVersion());
    const auto tables = commandTablesFolder(line);
    if (!tables)
        return 2;
    return runReportCommand(line.files[0], line.files[1], *tables);
}

} // namespace

int runKelsa(int argc, char *argv[])
{
#ifdef SIGXFSZ
    // Past the file-size limit (ulimit -f) a write fails with EFBIG, which is told with the
    // file's name and leaves the old file, instead of the signal killing Kelsa without a word.
    std::signal(SIGXFSZ, SIG_IGN);
#endif
    // The command line is looked at before Qt connects to a display, so that a wrong argument
    // or a missing display gets one plain line instead of Qt's abort.
    QStringList arguments;
    for (int k = 1; k < argc; ++k)
        arguments << QString::fromLocal8Bit(argv[k]);
    const auto parsed = parseCommandLine(arguments);
    if (const auto *error = std::get_if<CommandLineError>(&parsed)) {
        printUsageError(error->text);
        return 2;
    }
    const CommandLine &line = std::get<CommandLine>(parsed);
    switch (line.mode) {
    case CommandLine::Mode::Help:
        QTextStream(stdout) << helpText();
        return 0;
    case CommandLine::Mode::Version:
        printMessage(stdout, QStringLiteral("kelsa ") + programVersion());
        return 0;
    case CommandLine::Mode::Compute:
    case CommandLine::Mode::Batch:
        return runWithoutWindow(argc, argv, line);
    case CommandLine::Mode::Report:
        return runReport(argc, argv, line);
    case CommandLine::Mode::Window:
    case CommandLine::Mode::Screenshot:
        break;
    }
    const bool screenshot = line.mode == CommandLine::Mode::Screenshot;
    if (!hasDisplay()) {
        if (!screenshot) {
            printMessage(stderr,
                QStringLiteral("kelsa: нет дисплея (не заданы DISPLAY и WAYLAND_DISPLAY); "
                               "снимок окна без дисплея: kelsa --screenshot kelsa.png"));
            return 1;
        }
        qputenv("QT_QPA_PLATFORM", "offscreen"); // a picture needs no screen
    }

    QApplication app(argc, argv);
    // Before the first window: Qt's dialogs, buttons and context menus speak Russian.
    installRussianTranslations(app);
    QApplication::setApplicationName(QStringLiteral("Kelsa"));
    QApplication::setApplicationVersion(programVersion());
    QGuiApplication::setDesktopFileName(QStringLiteral(KELSA_APP_ID));

    Form1Services services;
    if (!line.tables.isNull()) {
        if (!QFileInfo(line.tables).isDir()) {
            printMessage(stderr, QStringLiteral("kelsa: нет папки %1").arg(line.tables));
            return 2;
        }
        services.tablesFolder = chooseTablesFolder(line.tables, {}, {}, {});
    }
    if (screenshot)
        return saveScreenshot(services, line.files[0]);

    Form1 form(services);
    form.show();
    if (!line.files.isEmpty()) // after the show, so that a bad file's message is over the window
        form.document().openFile(line.files[0]);
    return app.exec();
}

} // namespace kelsa
