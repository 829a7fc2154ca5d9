// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/report/printpreviewlibrary.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
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
    if (!QFileInfo::exists(path)) {
        library.error = QStringLiteral("нет файла %1; вероятно, Kelsa установлена не полностью")
                            .arg(QDir::toNativeSeparators(path));
        return library;
    }
    QLibrary file(path);
    if (!file.load()) {
        // Qt's reason names the file.
        library.error
            = QStringLiteral("не удается загрузить библиотеку: %1").arg(file.errorString());
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
