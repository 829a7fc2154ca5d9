// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <functional>
#include <string_view>

namespace kelsa
{

// One sheet of a workbook as the reading process reads it (dumpSheet() below for .xls,
// dumpOpenDocumentSheet() in opendocumentdump.h for .xlsx and .ods), written as a byte stream
// so that it can pass from the process that parses the file to the one that shows the table.
//
// The stream: one SheetDumpOutcome byte. After Ok, the column count (uint16, native order),
// then the cells of the rows below the heading row, row after row and column after column,
// each a SheetDumpCell byte with its payload: nothing for Empty, a double for Number, a uint32
// length and that many bytes of UTF-8 for Text and Error. SheetDumpCell::End closes the stream.
// Error is a formula cell whose saved value is an error ("#DIV/0!") or that has no saved value
// ("#N/A"): the text is what the cell shows instead of a value. TooLarge is a workbook whose
// parts would unpack to more than any reference table needs (a zip bomb, for one).
enum class SheetDumpOutcome : std::uint8_t {
    Ok,
    FileMissing,
    Damaged,
    Password,
    SheetMissing,
    TooLarge,
};
enum class SheetDumpCell : std::uint8_t { Empty, Number, Text, End, Error };

// Takes each piece of the stream in turn; false stops the dump.
using SheetDumpSink = std::function<bool(std::string_view bytes)>;

// FreeXL 1.0.6 trusts the directory of the compound file that holds the workbook. It converts
// each entry's name with the length the entry claims, up to 65,535 bytes out of a 64-byte
// field, and it takes a sector number beyond the end of the file for one near its start,
// whose bytes then pass for directory entries; either way it reads far past its buffer.
// False when an entry of the directory claims a longer name, or when the header, the chain of
// allocation-table sectors or the directory chain names a sector the file does not have;
// true otherwise, also for a file that is no compound file at all, which FreeXL refuses by
// itself. dumpSheet() refuses a file that fails this check as Damaged without opening it.
bool directoryIsSound(const char *path);

// Dumps the sheet named sheetName (UTF-8, compared exactly) of the workbook at path (a file
// name in the local 8-bit encoding), with at most maxColumns columns and maxRows rows counted
// with the heading row; an empty sheetName stands for the workbook's first sheet. withHeading
// dumps the heading row too, as the first row of the stream. Number cells, INT or DOUBLE in FreeXL,
// become Number; text, date and time cells Text, as FreeXL spells them; empty cells Empty. FreeXL
// reads a formula cell as empty too, so the value saved with it is read from the file by
// readFormulaValues() (biffformulas.h): a number, or a boolean as 1 or 0, becomes Number, a text
// Text, an error or a missing value Error.
//
// Uses nothing but FreeXL, the formula reader and the C++ library, so that it may run in the
// reader program (src/sheetreader), which has no Qt.
void dumpSheet(const char *path, std::string_view sheetName, int maxColumns, unsigned maxRows,
    const SheetDumpSink &sink, bool withHeading = false);

} // namespace kelsa
