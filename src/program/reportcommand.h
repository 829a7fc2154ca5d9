// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/tables/tablefolder.h"

#include <QString>

namespace kelsa
{

// kelsa --report FILE.kelsa OUT.pdf: writes the calculation report of a saved calculation as a
// PDF, without a window; OUT.pdf "-" is the standard output, and OUT.pdf may not be FILE.kelsa
// under any name. Needs a QGuiApplication (an offscreen one does). Returns the exit code; a
// failure is told on the error stream, naming the file. The support type is checked against the
// catalogue of `tables`; without a folder there, with none.
int runReportCommand(
    const QString &calculationPath, const QString &pdfPath, const TablesFolder &tables = {});

} // namespace kelsa
