// SPDX-License-Identifier: GPL-3.0-or-later
#include "tables/sheetdump.h"

#include <freexl.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>

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

// Index of the sheet named sheetName, or -1.
int findSheet(const void *handle, std::string_view sheetName)
{
    unsigned int count = 0;
    if (freexl_get_info(handle, FREEXL_BIFF_SHEET_COUNT, &count) != FREEXL_OK)
        return -1;
    count = std::min(count, 65535u); // sheet indexes are 16-bit
    for (unsigned int index = 0; index < count; ++index) {
        const char *name = nullptr;
        if (freexl_get_worksheet_name(handle, static_cast<unsigned short>(index), &name)
                == FREEXL_OK
            && name && sheetName == name)
            return static_cast<int>(index);
    }
    return -1;
}

// Collects the stream and hands it on in pieces of about 64 KB.
class Writer
{
public:
    explicit Writer(const SheetDumpSink &sink)
        : m_sink(sink)
    {
    }

    template <typename T> void put(T value)
    {
        m_buffer.append(reinterpret_cast<const char *>(&value), sizeof value);
    }
    void putText(const char *text)
    {
        const auto length = static_cast<std::uint32_t>(std::strlen(text));
        put(SheetDumpCell::Text);
        put(length);
        m_buffer.append(text, length);
    }
    // False once the sink has refused a piece.
    bool flush(bool always = false)
    {
        if (m_ok && !m_buffer.empty() && (always || m_buffer.size() >= 64 * 1024)) {
            m_ok = m_sink(m_buffer);
            m_buffer.clear();
        }
        return m_ok;
    }

private:
    const SheetDumpSink &m_sink;
    std::string m_buffer;
    bool m_ok = true;
};

void putCell(Writer &writer, const FreeXL_CellValue &cell)
{
    switch (cell.type) {
    case FREEXL_CELL_INT:
        writer.put(SheetDumpCell::Number);
        writer.put(static_cast<double>(cell.value.int_value));
        return;
    case FREEXL_CELL_DOUBLE:
        // A damaged number record may carry an infinity or NaN, which no sheet can hold.
        if (!std::isfinite(cell.value.double_value))
            break;
        writer.put(SheetDumpCell::Number);
        writer.put(cell.value.double_value);
        return;
    case FREEXL_CELL_TEXT:
    case FREEXL_CELL_SST_TEXT:
    case FREEXL_CELL_DATE:
    case FREEXL_CELL_DATETIME:
    case FREEXL_CELL_TIME:
        // UTF-8 owned by the workbook handle, copied here before the handle closes.
        if (!cell.value.text_value)
            break;
        writer.putText(cell.value.text_value);
        return;
    default: // FREEXL_CELL_NULL: an empty cell, or a formula, whose saved value FreeXL skips
        break;
    }
    writer.put(SheetDumpCell::Empty);
}

} // namespace

void dumpSheet(const char *path, std::string_view sheetName, int maxColumns, unsigned maxRows,
    const SheetDumpSink &sink)
{
    Writer writer(sink);
    const auto finish = [&](SheetDumpOutcome outcome) {
        writer.put(outcome);
        writer.flush(true);
    };

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

    const int sheet = findSheet(handle, sheetName);
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

    writer.put(SheetDumpOutcome::Ok);
    writer.put(static_cast<std::uint16_t>(columns));
    for (unsigned int row = 1; row < rows; ++row) {
        for (unsigned short column = 0; column < columns; ++column) {
            FreeXL_CellValue cell;
            if (freexl_get_cell_value(handle, row, column, &cell) == FREEXL_OK)
                putCell(writer, cell);
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
