// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/application.h"

#include "app/form1.h"

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
    form.show();
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    if (!form.grab().save(fileName, "PNG")) {
        printLine(stderr, QStringLiteral("kelsa: cannot write %1").arg(fileName));
        return 1;
    }
    return 0;
}

} // namespace

int runKelsa(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kelsa"));
    QApplication::setApplicationVersion(QStringLiteral(KELSA_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral(KELSA_APP_ID));

    const QStringList arguments = QCoreApplication::arguments().mid(1);
    if (arguments.size() == 2 && arguments[0] == QLatin1String("--screenshot"))
        return saveScreenshot(arguments[1]);
    if (!arguments.isEmpty()) {
        printLine(stderr, QStringLiteral("usage: kelsa [--screenshot FILE.png]"));
        return 2;
    }

    Form1 form;
    form.show();
    return app.exec();
}

} // namespace kelsa
