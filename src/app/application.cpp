// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/application.h"

#include "app/form1.h"

#include <QApplication>
#include <QTextStream>

namespace kelsa {

int runKelsa(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kelsa"));
    QApplication::setApplicationVersion(QStringLiteral(KELSA_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral(KELSA_APP_ID));

    Form1 form;
    form.show();
    return app.exec();
}

} // namespace kelsa
