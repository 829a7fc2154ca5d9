// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/tables/opendocumentdump.h"

namespace kelsa
{

// Not read yet: such a workbook is reported as one that cannot be parsed.
void dumpOpenDocumentSheet(const char * /*path*/, std::string_view /*sheetName*/,
    int /*maxColumns*/, unsigned /*maxRows*/, const SheetDumpSink &sink)
{
    const auto outcome = static_cast<char>(SheetDumpOutcome::Damaged);
    sink(std::string_view(&outcome, 1));
}

} // namespace kelsa
