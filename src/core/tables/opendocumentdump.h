// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/tables/sheetdump.h"

namespace kelsa
{

// The .xlsx and .ods counterpart of dumpSheet(): the same stream, the same limits, the same
// cells (a formula cell gives the value the spreadsheet saved with it, Error when that is an
// error or missing), the first sheet for an empty sheetName, the heading row with withHeading.
// Runs in the child process that parses workbooks, like dumpSheet().
void dumpOpenDocumentSheet(const char *path, std::string_view sheetName, int maxColumns,
    unsigned maxRows, const SheetDumpSink &sink, bool withHeading = false);

} // namespace kelsa
