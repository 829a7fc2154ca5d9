// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// How the printed schedule lays out its table so that every cell can be read: the field
// columns whose text is alike on every row are stated once above the table instead, and a table
// wider than the page is cut into bands of columns, each band repeating the first columns (the
// row's number and the support) and printed over as many pages as its rows need.

#include "core/schedule/schedule.h"

#include <QString>

#include <span>
#include <vector>

namespace kelsa
{

// A field stated once for the whole schedule: a held field whose text is the same readable
// number on every row (two rows at least), or a field of the common data the schedule holds no
// column for that is not empty, save an additional load whose grid row has a factor of 0 or an
// empty one (that row adds nothing). Texts as typed, without outer blanks.
struct SharedField {
    InputField field;
    QString text;
    bool column = false; // a held field taken out of the table; otherwise the common data's

    friend bool operator==(const SharedField &, const SharedField &) = default;
};
std::vector<SharedField> sharedFields(const Schedule &schedule);

// The columns of each band, by index: the first `repeated` columns in every band, then as many
// of the others, in order, as fit in `room` together with them (widths in any one unit). A
// band takes at least one of the others even when it alone does not fit; a table with no
// others is one band of the repeated columns.
std::vector<std::vector<int>> columnBands(
    std::span<const double> widths, int repeated, double room);

} // namespace kelsa
