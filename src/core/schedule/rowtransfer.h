// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A schedule's row taken into the main window, and the main window's calculation put back
// into the schedule. Number texts change their decimal separator on the way (a text that is a
// number only with the other separator gets it exchanged; any other stays as typed), so that
// each side reads the same numbers.

#include "core/document/savedcalculation.h"
#include "core/schedule/scheduleedit.h"

#include <optional>

namespace kelsa
{

// The row as the main window's calculation: the common data with the row's section and held
// fields, the row's support type, its support as the report's support number and the
// schedule's object and author in the report's title block; no result. Texts are given in
// `windowSeparator`.
SavedCalculation rowAsCalculation(const Schedule &schedule, qsizetype row, QChar windowSeparator);

// The edit that puts the window's calculation (its texts in saved.decimalSeparator) into the
// schedule: as a new last row, or over the row `replacing`. Nothing of it is lost: a field the
// schedule holds no column for that differs from the common data gets its column first. The
// row's section is left empty when it is the common one (a replaced row keeps its own text
// when that names the same section); its support is the title block's support number.
ScheduleEdit putCalculationEdit(
    const Schedule &schedule, const SavedCalculation &saved, std::optional<qsizetype> replacing);

// A new row at `at` whose field columns start with the common data's texts, as a support typed
// in the main window would: the designer changes what differs. Its section and type are left
// to the common data and the pick.
ScheduleEdit newRowEdit(const Schedule &schedule, qsizetype at);

} // namespace kelsa
