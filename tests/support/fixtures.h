// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What the workbook tests share: the folder of the test workbooks (tests/fixtures, made by the
// scripts under tools/) and the sheet every reference workbook keeps its table on.

#include <QString>

namespace kelsa::test
{

inline QString fixture(const QString &name)
{
    return QStringLiteral(KELSA_FIXTURES "/") + name;
}

inline const QString sheet = QStringLiteral("Лист1");

} // namespace kelsa::test
