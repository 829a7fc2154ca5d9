// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/batch/xlsxwriterlibrary.h"

#include <QLibrary>

namespace kelsa
{

XlsxWriterLibrary loadXlsxWriterLibrary(const QString &baseName, int version)
{
    XlsxWriterLibrary library;
    QLibrary file(baseName, version); // never unloaded
    if (!file.load()) {
        library.error = QStringLiteral("не удается загрузить библиотеку libxlsxwriter (пакет "
                                       "libxlsxwriter4): %1")
                            .arg(file.errorString());
        return library;
    }
#define KELSA_XLSXWRITER_RESOLVE(name)                                                             \
    library.name = reinterpret_cast<decltype(library.name)>(file.resolve(#name));                  \
    if (!library.name) {                                                                           \
        library.error = QStringLiteral("в библиотеке libxlsxwriter нет функции %1")                \
                            .arg(QLatin1String(#name));                                            \
        return library;                                                                            \
    }
    KELSA_XLSXWRITER_FUNCTIONS(KELSA_XLSXWRITER_RESOLVE)
#undef KELSA_XLSXWRITER_RESOLVE
    return library;
}

const XlsxWriterLibrary &xlsxWriterLibrary()
{
    // The soname of the Debian package libxlsxwriter4, on which Kelsa depends.
    static const XlsxWriterLibrary library = loadXlsxWriterLibrary(QStringLiteral("xlsxwriter"), 4);
    return library;
}

} // namespace kelsa
