// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/report/printpreviewlibrary.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibrary>

namespace kelsa
{

QString printPreviewLibraryPath()
{
    return QDir::cleanPath(QCoreApplication::applicationDirPath() + QLatin1Char('/')
        + QStringLiteral(KELSA_PRINT_PREVIEW_FROM_BIN));
}

PrintPreviewLibrary loadPrintPreviewLibrary(const QString &path)
{
    PrintPreviewLibrary library;
    QLibrary file(path);
    if (!file.load()) {
        library.error = QStringLiteral("не удается загрузить библиотеку %1: %2")
                            .arg(QDir::toNativeSeparators(path), file.errorString());
        return library;
    }
    library.show = reinterpret_cast<ShowPrintPreview>(file.resolve(kShowPrintPreviewSymbol));
    if (!library.show)
        library.error
            = QStringLiteral("в библиотеке %1 нет функции %2")
                  .arg(QDir::toNativeSeparators(path), QLatin1String(kShowPrintPreviewSymbol));
    return library;
}

const PrintPreviewLibrary &printPreviewLibrary()
{
    static const PrintPreviewLibrary library = loadPrintPreviewLibrary(printPreviewLibraryPath());
    return library;
}

} // namespace kelsa
