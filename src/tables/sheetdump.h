// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <functional>
#include <string_view>

namespace kelsa
{

// One sheet of an Excel 97-2003 workbook as FreeXL reads it, written as a byte stream so that
// it can pass from the process that parses the file to the one that shows the table.
//
// The stream: one SheetDumpOutcome byte. After Ok, the column count (uint16, native order),
// then the cells of the rows below the heading row, row after row and column after column,
// each a SheetDumpCell byte with its payload: nothing for Empty, a double for Number, a uint32
// length and that many bytes of UTF-8 for Text. SheetDumpCell::End closes the stream.
enum class SheetDumpOutcome : std::uint8_t { Ok, FileMissing, Damaged, Password, SheetMissing };
enum class SheetDumpCell : std::uint8_t { Empty, Number, Text, End };

// Takes each piece of the stream in turn; false stops the dump.
using SheetDumpSink = std::function<bool(std::string_view bytes)>;

// Dumps the sheet named sheetName (UTF-8, compared exactly) of the workbook at path (a file
// name in the local 8-bit encoding), with at most maxColumns columns and maxRows rows counted
// with the heading row. Number cells, INT or DOUBLE in FreeXL, become Number; text, date and
// time cells Text, as FreeXL spells them; empty and formula cells Empty.
//
// Uses nothing but FreeXL and the C++ library, so that it may run in a child process forked
// from a multi-threaded one.
void dumpSheet(const char *path, std::string_view sheetName, int maxColumns, unsigned maxRows,
    const SheetDumpSink &sink);

} // namespace kelsa
