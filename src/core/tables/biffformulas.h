// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>

namespace kelsa
{

// The value a spreadsheet saved with a formula cell of an Excel 97-2003 sheet. FreeXL reads
// such a cell as empty; the value is what the cell showed when the workbook was saved.
struct FormulaValue {
    enum class Kind : std::uint8_t { Number, Text, Error };
    Kind kind = Kind::Error;
    // Number: a finite double; a TRUE or FALSE result is 1 or 0.
    double number = 0;
    // Text: the string result in UTF-8, possibly empty. Error: what the cell shows instead of
    // a value: "#DIV/0!" and the like, or "#N/A" when no usable value was saved with it.
    std::string text;
};

// Formula values by cell, keyed by formulaCell(row, column), both counted from 0 with row 0
// the heading row.
using FormulaValues = std::unordered_map<std::uint32_t, FormulaValue>;

constexpr std::uint32_t formulaCell(std::uint16_t row, std::uint16_t column)
{
    return std::uint32_t(row) << 16 | column;
}

// The formula cells of the sheet named sheetName (UTF-8, compared exactly) in `file`, the bytes
// of an Excel 97-2003 workbook: its "Workbook" stream is read out of the compound file (from
// the mini stream when it is small), the sheet found among the sheet records of the workbook
// globals, and each FORMULA record of that sheet, with the STRING record that holds a text
// result, taken up to the sheet's EOF. Only cells in the first maxRows rows and maxColumns
// columns are kept.
//
// Every offset, length and sector number is checked against the bytes at hand, and every
// chain of sectors for loops, so a damaged file gives fewer values, never a read out of
// bounds or a walk without end. Empty when the file is no compound file with a BIFF8
// workbook stream, when the stream cannot be read, and when no sheet has that name; a formula
// record whose saved value is missing or unreadable gives Error "#N/A".
//
// Uses nothing but the C++ library, so that it may run in the child process that parses
// workbooks.
FormulaValues readFormulaValues(
    std::string_view file, std::string_view sheetName, unsigned maxRows, unsigned maxColumns);

} // namespace kelsa
