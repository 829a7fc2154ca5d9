// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace kelsa
{

// kelsa --report FILE.kelsa OUT.pdf: writes the calculation report of a saved calculation as a
// PDF, without a window; OUT.pdf "-" is the standard output, and OUT.pdf may not be FILE.kelsa
// under any name. Needs a QGuiApplication (an offscreen one does). Returns the exit code; a
// failure is told on the error stream, naming the file.
int runReportCommand(const QString &calculationPath, const QString &pdfPath);

} // namespace kelsa
