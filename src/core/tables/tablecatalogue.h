// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/calc/fields.h"
#include "core/calc/options.h"

#include <QString>
#include <QStringView>

#include <optional>
#include <span>

namespace kelsa
{

// The ten reference tables as data: which workbook each shows, how its cells are named and
// bound to the sheet's columns, which cell the design condition shows, and which look-up field
// copies that cell. The tables, the design options and the look-ups of the window all read it.

// The option groups of the design condition, which choose the shown cell of every table.
inline constexpr OptionGroup kDesignConditionGroups[] = { OptionGroup::IceThickness,
    OptionGroup::IceWindForRnv, OptionGroup::IceWindForPkv, OptionGroup::MaximumWind };

// The shown cell of a table is cell number Σ stride × (index of the selected option) over the
// four groups of the design condition.
struct CellStrides {
    int ice = 0;
    int rnvWind = 0;
    int pkvWind = 0;
    int maxWind = 0;
};

struct ReferenceTable {
    const char *navigator; // "Data1"
    const char *fileName; // UTF-8, without a folder
    const char *caption; // the load it holds, as its frame names it ("Рнв"), UTF-8
    const char *frame; // the frame around the table
    const char *rowLabel; // shows the record's caption, the sheet's first column
    // Cells cellStem<firstCell>, cellStem<firstCell + cellStep>, ... (cellCount of them), bound
    // to consecutive sheet columns from firstColumn (1 is the first column, "F1").
    const char *cellStem;
    int firstCell;
    int cellStep;
    int cellCount;
    int firstColumn;
    CellStrides strides;
    std::optional<InputField> lookup; // the field a click fills from the shown cell

    // Columns the sheet must have for every cell to be bound.
    int requiredColumns() const { return firstColumn + cellCount - 1; }
    // Control name of cell k (0-based) and the sheet column it shows (1 is "F1").
    QString cellName(int k) const;
    int cellColumn(int k) const { return firstColumn + k; }
    // The cell the design condition of these options shows (0-based).
    int shownCell(const OptionSelection &options) const;
};
inline constexpr int kReferenceTableCount = 10;

// The sheet every reference workbook keeps its table on.
QString referenceSheetName();

std::span<const ReferenceTable, kReferenceTableCount> referenceTables();
// The table whose shown cell a look-up field copies; none for other fields.
const ReferenceTable *tableForLookup(InputField field);

} // namespace kelsa
