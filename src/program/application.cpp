// SPDX-License-Identifier: GPL-3.0-or-later
#include "program/application.h"

#include "gui/about/form2.h"
#include "gui/mainwindow/form1.h"

#include <QApplication>
#include <QFileInfo>
#include <QPixmap>
#include <QTextStream>

#include <cstdio>
#include <optional>

namespace kelsa
{

namespace
{

void printLine(FILE *stream, const QString &text)
{
    QTextStream(stream) << text << Qt::endl;
}

// Renders the main window after start-up, with its first records shown, to a PNG file.
// Messages are written to the error stream instead of waiting for a click.
int saveScreenshot(Form1Services services, const QString &fileName)
{
    services.showMessage = [](const QString &title, const QString &text) {
        printLine(stderr, title + QStringLiteral(": ") + text);
    };
    Form1 form(services);
    // Shown as far as the window itself can tell, but never put on a screen: nothing flashes up
    // under a display. Only the calls start-up queued for after the show run (the report of
    // unreadable workbooks), and the window is painted once, into the picture.
    form.setAttribute(Qt::WA_DontShowOnScreen);
    form.show();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::MetaCall);
    if (!form.grab().save(fileName, "PNG")) {
        printLine(stderr, QStringLiteral("kelsa: cannot write %1").arg(fileName));
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

struct CommandLine {
    QString tables; // --tables DIR
    QString screenshot; // --screenshot FILE.png
};

// The options, each with its value; nothing when the command line is not understood.
std::optional<CommandLine> parseCommandLine(int argc, char *argv[])
{
    CommandLine line;
    for (int k = 1; k < argc; k += 2) {
        if (k + 1 >= argc)
            return std::nullopt;
        const QString value = QString::fromLocal8Bit(argv[k + 1]);
        if (qstrcmp(argv[k], "--tables") == 0 && line.tables.isNull())
            line.tables = value;
        else if (qstrcmp(argv[k], "--screenshot") == 0 && line.screenshot.isNull())
            line.screenshot = value;
        else
            return std::nullopt;
    }
    return line;
}

} // namespace

int runKelsa(int argc, char *argv[])
{
    // The command line is looked at before Qt connects to a display, so that a wrong argument
    // or a missing display gets one plain line instead of Qt's abort.
    const std::optional<CommandLine> line = parseCommandLine(argc, argv);
    if (!line) {
        std::fputs("usage: kelsa [--tables DIR] [--screenshot FILE.png]\n", stderr);
        return 2;
    }
    const bool screenshot = !line->screenshot.isNull();
    if (!hasDisplay()) {
        if (!screenshot) {
            std::fputs("kelsa: no display (DISPLAY and WAYLAND_DISPLAY are unset); "
                       "try kelsa --screenshot kelsa.png\n",
                stderr);
            return 1;
        }
        qputenv("QT_QPA_PLATFORM", "offscreen"); // a picture needs no screen
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kelsa"));
    QApplication::setApplicationVersion(programVersion());
    QGuiApplication::setDesktopFileName(QStringLiteral(KELSA_APP_ID));

    Form1Services services;
    if (!line->tables.isNull()) {
        if (!QFileInfo(line->tables).isDir()) {
            printLine(stderr, QStringLiteral("kelsa: no folder %1").arg(line->tables));
            return 2;
        }
        services.tablesFolder = chooseTablesFolder(line->tables, {}, {}, {});
    }
    if (screenshot)
        return saveScreenshot(services, line->screenshot);

    Form1 form(services);
    form.show();
    return app.exec();
}

} // namespace kelsa
