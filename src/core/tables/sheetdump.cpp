// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/tables/sheetdump.h"

#include "core/tables/biffformulas.h"
#include "core/tables/dumpwriter.h"

#include <freexl.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace kelsa
{

namespace
{

// Owns a FreeXL handle. freexl_open() may hand one out even when it fails (for a missing file,
// for instance), and that one must be closed too.
class Workbook
{
public:
    Workbook() = default;
    Workbook(const Workbook &) = delete;
    Workbook &operator=(const Workbook &) = delete;
    ~Workbook()
    {
        if (m_handle)
            freexl_close(m_handle);
    }

    int open(const char *path) { return freexl_open(path, &m_handle); }
    const void *handle() const { return m_handle; }

private:
    const void *m_handle = nullptr;
};

// An unsigned little-endian number at byte `at` of `bytes`; the caller checks the bounds.
template <typename T> T little(const std::string &bytes, std::size_t at)
{
    T value = 0;
    for (std::size_t i = 0; i < sizeof value; ++i)
        value |= T(static_cast<unsigned char>(bytes[at + i])) << (8 * i);
    return value;
}

// Index of the sheet named sheetName (the first sheet for an empty name), or -1; `name` gets
// the sheet's name.
int findSheet(const void *handle, std::string_view sheetName, std::string &found)
{
    unsigned int count = 0;
    if (freexl_get_info(handle, FREEXL_BIFF_SHEET_COUNT, &count) != FREEXL_OK)
        return -1;
    count = std::min(count, 65535u); // sheet indexes are 16-bit
    for (unsigned int index = 0; index < count; ++index) {
        const char *name = nullptr;
        if (freexl_get_worksheet_name(handle, static_cast<unsigned short>(index), &name)
                == FREEXL_OK
            && name && (sheetName.empty() || sheetName == name)) {
            found = name;
            return static_cast<int>(index);
        }
    }
    return -1;
}

// A cell FreeXL reads; false for one it reads as empty, which may be a formula.
bool putCell(DumpWriter &writer, const FreeXL_CellValue &cell)
{
    switch (cell.type) {
    case FREEXL_CELL_INT:
        writer.put(SheetDumpCell::Number);
        writer.put(static_cast<double>(cell.value.int_value));
        return true;
    case FREEXL_CELL_DOUBLE:
        // A damaged number record may carry an infinity or NaN, which no sheet can hold.
        if (!std::isfinite(cell.value.double_value))
            break;
        writer.put(SheetDumpCell::Number);
        writer.put(cell.value.double_value);
        return true;
    case FREEXL_CELL_TEXT:
    case FREEXL_CELL_SST_TEXT:
    case FREEXL_CELL_DATE:
    case FREEXL_CELL_DATETIME:
    case FREEXL_CELL_TIME:
        // UTF-8 owned by the workbook handle, copied here before the handle closes.
        if (!cell.value.text_value)
            break;
        writer.putText(SheetDumpCell::Text, cell.value.text_value);
        return true;
    default: // FREEXL_CELL_NULL: an empty cell, or a formula, whose saved value FreeXL skips
        break;
    }
    return false;
}

// A formula cell by the value saved with it.
void putFormula(DumpWriter &writer, const FormulaValue &formula)
{
    switch (formula.kind) {
    case FormulaValue::Kind::Number:
        writer.put(SheetDumpCell::Number);
        writer.put(formula.number);
        return;
    case FormulaValue::Kind::Text:
        writer.putText(SheetDumpCell::Text, formula.text);
        return;
    case FormulaValue::Kind::Error:
        writer.putText(SheetDumpCell::Error, formula.text);
        return;
    }
}

// The whole file; empty when it cannot be read.
std::string fileBytes(const char *path)
{
    std::ifstream in(path, std::ios::binary);
    return { std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>() };
}

// directoryIsSound() on the bytes of the file.
bool compoundDirectoryIsSound(const std::string &file)
{
    constexpr std::string_view signature("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
    constexpr std::size_t headerBytes = 512;
    if (file.size() < headerBytes || std::string_view(file).substr(0, 8) != signature)
        return true;
    // Sectors of 512 bytes (version 3) or 4,096 bytes (version 4); sector n starts at
    // (n + 1) sector sizes, after the header.
    const unsigned shift = little<std::uint16_t>(file, 0x1e);
    if (shift != 9 && shift != 12)
        return true;
    const std::size_t sectorBytes = std::size_t(1) << shift;
    const std::size_t sectors = std::max<std::size_t>(file.size() / sectorBytes, 1) - 1;
    const auto offset = [&](std::uint32_t sector) { return (std::size_t(sector) + 1) << shift; };
    // Numbers above 0xfffffff9 are markers (free, end of chain, table sectors), not sectors.
    const auto isMarker = [](std::uint32_t sector) { return sector > 0xfffffff9; };
    const auto inFile = [&](std::uint32_t sector) { return sector < sectors; };

    // The allocation table: the sectors named in the header's 109 slots, then in the chain of
    // further slot sectors, each ending with the number of the next.
    std::vector<std::uint32_t> tableSectors;
    for (std::size_t slot = 0; slot < 109; ++slot)
        tableSectors.push_back(little<std::uint32_t>(file, 0x4c + 4 * slot));
    std::uint32_t more = little<std::uint32_t>(file, 0x44);
    // No file needs more table sectors than it has sectors; a damaged one may name the same
    // sector over and over, and is not followed past that.
    while (!isMarker(more) && tableSectors.size() <= sectors + 109) {
        if (!inFile(more))
            return false;
        const std::size_t slots = sectorBytes / 4 - 1;
        for (std::size_t slot = 0; slot < slots; ++slot)
            tableSectors.push_back(little<std::uint32_t>(file, offset(more) + 4 * slot));
        more = little<std::uint32_t>(file, offset(more) + 4 * slots);
    }
    std::vector<std::uint32_t> next;
    for (const std::uint32_t sector : tableSectors) {
        if (isMarker(sector))
            continue;
        if (!inFile(sector))
            return false;
        for (std::size_t i = 0; i < sectorBytes / 4; ++i)
            next.push_back(little<std::uint32_t>(file, offset(sector) + 4 * i));
    }

    // The directory: 128-byte entries along its chain of sectors, which starts in the file.
    std::uint32_t sector = little<std::uint32_t>(file, 0x30);
    if (!inFile(sector))
        return false;
    for (std::size_t guard = 0; !isMarker(sector) && guard < sectors; ++guard) {
        if (!inFile(sector))
            return false;
        for (std::size_t entry = offset(sector); entry < offset(sector) + sectorBytes;
             entry += 128) {
            if (little<std::uint16_t>(file, entry + 0x40) > 64) // name length in bytes
                return false;
        }
        if (sector >= next.size())
            return false;
        sector = next[sector];
    }
    return true;
}

} // namespace

bool directoryIsSound(const char *path)
{
    return compoundDirectoryIsSound(fileBytes(path));
}

void dumpSheet(const char *path, std::string_view sheetName, int maxColumns, unsigned maxRows,
    const SheetDumpSink &sink, bool withHeading)
{
    DumpWriter writer(sink);
    const auto finish = [&](SheetDumpOutcome outcome) { writer.finish(outcome); };

    std::string file = fileBytes(path);
    if (!compoundDirectoryIsSound(file))
        return finish(SheetDumpOutcome::Damaged);
    Workbook workbook;
    const int opened = workbook.open(path);
    if (opened == FREEXL_FILE_NOT_FOUND)
        return finish(SheetDumpOutcome::FileMissing);
    // FreeXL 1.0.6 reports success but hands out no handle for a sheet that claims more than
    // 2^24 cells, or a cell outside its own dimensions.
    if (opened != FREEXL_OK || !workbook.handle())
        return finish(SheetDumpOutcome::Damaged);
    const void *handle = workbook.handle();

    unsigned int password = 0;
    if (freexl_get_info(handle, FREEXL_BIFF_PASSWORD, &password) == FREEXL_OK
        && password == FREEXL_BIFF_OBFUSCATED)
        return finish(SheetDumpOutcome::Password);

    std::string sheetFound;
    const int sheet = findSheet(handle, sheetName, sheetFound);
    if (sheet < 0)
        return finish(SheetDumpOutcome::SheetMissing);
    // Counts of rows and columns, whatever freexl.h says about them being zero-based.
    unsigned int rows = 0;
    unsigned short columns = 0;
    if (freexl_select_active_worksheet(handle, static_cast<unsigned short>(sheet)) != FREEXL_OK
        || freexl_worksheet_dimensions(handle, &rows, &columns) != FREEXL_OK)
        return finish(SheetDumpOutcome::Damaged);
    rows = std::min(rows, maxRows);
    columns = static_cast<unsigned short>(std::min<int>(columns, maxColumns));
    // FreeXL reads formula cells as empty; their saved values are read from the file here.
    const FormulaValues formulas = readFormulaValues(file, sheetFound, rows, columns);
    file = {};

    writer.put(SheetDumpOutcome::Ok);
    writer.put(static_cast<std::uint16_t>(columns));
    for (unsigned int row = withHeading ? 0 : 1; row < rows; ++row) {
        for (unsigned short column = 0; column < columns; ++column) {
            FreeXL_CellValue cell;
            if (freexl_get_cell_value(handle, row, column, &cell) == FREEXL_OK
                && putCell(writer, cell))
                continue;
            const auto formula = formulas.find(formulaCell(std::uint16_t(row), column));
            if (formula != formulas.end())
                putFormula(writer, formula->second);
            else
                writer.put(SheetDumpCell::Empty);
        }
        if (!writer.flush())
            return;
    }
    writer.put(SheetDumpCell::End);
    writer.flush(true);
}

} // namespace kelsa
