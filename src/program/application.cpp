// SPDX-License-Identifier: GPL-3.0-or-later
#include "program/application.h"

#include "gui/about/form2.h"
#include "gui/mainwindow/form1.h"

#include <QApplication>
#include <QPixmap>
#include <QTextStream>

#include <cstdio>

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
int saveScreenshot(const QString &fileName)
{
    Form1Services services;
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

} // namespace

int runKelsa(int argc, char *argv[])
{
    // The command line is looked at before Qt connects to a display, so that a wrong argument
    // or a missing display gets one plain line instead of Qt's abort.
    const bool screenshot = argc == 3 && qstrcmp(argv[1], "--screenshot") == 0;
    if (argc != 1 && !screenshot) {
        std::fputs("usage: kelsa [--screenshot FILE.png]\n", stderr);
        return 2;
    }
    const bool hasDisplay = qEnvironmentVariableIsSet("DISPLAY")
        || qEnvironmentVariableIsSet("WAYLAND_DISPLAY")
        || qEnvironmentVariableIsSet("QT_QPA_PLATFORM");
    if (!hasDisplay) {
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

    if (screenshot)
        return saveScreenshot(QString::fromLocal8Bit(argv[2]));

    Form1 form;
    form.show();
    return app.exec();
}

} // namespace kelsa
