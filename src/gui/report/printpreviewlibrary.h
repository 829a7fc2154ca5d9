// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "printpreview/printpreview.h"

#include <QString>

namespace kelsa
{

// The print preview library (printpreview/printpreview.h), or why it cannot be used.
struct PrintPreviewLibrary {
    ShowPrintPreview show = nullptr;
    QString error; // empty when show can be called
};

// Where the library is: lib/kelsa/ beside the program's bin/, installed and in the build tree.
QString printPreviewLibraryPath();

// Loads the library from the given file (never unloaded).
PrintPreviewLibrary loadPrintPreviewLibrary(const QString &path);

// The library beside the program, loaded on the first call.
const PrintPreviewLibrary &printPreviewLibrary();

} // namespace kelsa
