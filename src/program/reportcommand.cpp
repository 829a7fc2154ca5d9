// SPDX-License-Identifier: GPL-3.0-or-later
#include "program/reportcommand.h"

#include <cstdio>

namespace kelsa
{

int runReportCommand(const QString &calculationPath, const QString &pdfPath)
{
    Q_UNUSED(calculationPath);
    Q_UNUSED(pdfPath);
    std::fputs("kelsa: --report is not built yet\n", stderr);
    return 1;
}

} // namespace kelsa
