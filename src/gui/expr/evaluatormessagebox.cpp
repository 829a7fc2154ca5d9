// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/expr/evaluatormessagebox.h"

#include "gui/widgets/services.h"

#include <QApplication>

#include <cstdio>

namespace kelsa
{

void showEvaluatorError(const QString &routine, int number, const QString &description)
{
    const QString text
        = QStringLiteral("Error: ") + QString::number(number) + QStringLiteral(". ") + description;
    if (!qobject_cast<QApplication *>(QCoreApplication::instance())) {
        std::fprintf(stderr, "%s: %s\n", qPrintable(routine), qPrintable(text));
        return;
    }
    // The program's message box: the text as written, never as markup.
    messageBoxSink(QApplication::activeWindow())(routine, text);
}

} // namespace kelsa
