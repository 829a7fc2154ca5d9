// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/document/savedcalculation.h"

namespace kelsa
{

// Whether the window holds something that leaving it would lose, measured against `baseline`:
// what the file held when last saved or opened (`hasFile`), or the window at start-up.
//
// With a file, anything the file keeps counts: a field, an option, a table's record, a result
// label, the report's title block. Without one, only the designer's work counts: the fields and
// where look-ups came from, the design options, the result labels and the title block. Paging
// through a table, the choice of calculator and the decimal separator are no work to lose: a
// calculation that differs from the start-up state only in those leaves without a question.
bool holdsUnsavedWork(
    const SavedCalculation &window, const SavedCalculation &baseline, bool hasFile);

} // namespace kelsa
