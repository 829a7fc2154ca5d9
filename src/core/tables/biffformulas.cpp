// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/tables/biffformulas.h"

#include <bit>
#include <cmath>
#include <limits>
#include <optional>
#include <vector>

namespace kelsa
{

namespace
{

// ---- Bytes -------------------------------------------------------------------------------

// True when `bytes` holds `count` bytes from `at` on.
bool holds(std::string_view bytes, std::size_t at, std::size_t count)
{
    return at <= bytes.size() && count <= bytes.size() - at;
}

// An unsigned little-endian number at byte `at` of `bytes`; the caller checks the bounds.
template <typename T> T little(std::string_view bytes, std::size_t at)
{
    T value = 0;
    for (std::size_t i = 0; i < sizeof value; ++i)
        value |= T(static_cast<unsigned char>(bytes[at + i])) << (8 * i);
    return value;
}

void appendUtf8(std::string &text, char32_t c)
{
    if (c < 0x80) {
        text += char(c);
    } else if (c < 0x800) {
        text += char(0xc0 | c >> 6);
        text += char(0x80 | (c & 0x3f));
    } else if (c < 0x10000) {
        text += char(0xe0 | c >> 12);
        text += char(0x80 | (c >> 6 & 0x3f));
        text += char(0x80 | (c & 0x3f));
    } else {
        text += char(0xf0 | c >> 18);
        text += char(0x80 | (c >> 12 & 0x3f));
        text += char(0x80 | (c >> 6 & 0x3f));
        text += char(0x80 | (c & 0x3f));
    }
}

// UTF-16 code units as UTF-8; a surrogate without its partner becomes U+FFFD.
std::string utf8(const std::u16string &units)
{
    std::string text;
    text.reserve(units.size());
    for (std::size_t i = 0; i < units.size(); ++i) {
        const char16_t unit = units[i];
        if (unit >= 0xd800 && unit < 0xdc00 && i + 1 < units.size() && units[i + 1] >= 0xdc00
            && units[i + 1] < 0xe000) {
            appendUtf8(text, 0x10000 + (char32_t(unit - 0xd800) << 10) + (units[i + 1] - 0xdc00));
            ++i;
        } else if (unit >= 0xd800 && unit < 0xe000) {
            appendUtf8(text, 0xfffd);
        } else {
            appendUtf8(text, unit);
        }
    }
    return text;
}

// ---- The compound file -------------------------------------------------------------------

// The sector number that ends a chain; the other markers (free, allocation-table sectors) lie
// beyond any table, so a chain that reaches one is broken.
constexpr std::uint32_t kEndOfChain = 0xfffffffe;
// A chain read to its end, whatever its length.
constexpr std::size_t kWholeChain = std::numeric_limits<std::size_t>::max();
constexpr std::size_t kHeaderBytes = 512;
constexpr std::size_t kEntryBytes = 128;

// Follows the chain of sectors that starts at `first` through `table` (sector -> next sector)
// and joins the sectors' bytes, cut to `size` bytes. `sector` gives the bytes of one sector,
// or nothing for one that lies outside its file. Nothing when the chain leaves the table,
// names a missing sector, comes back to a sector it passed, or ends before `size` bytes.
// Since each sector is taken once, what comes out is never longer than the file.
template <typename SectorBytes>
std::optional<std::string> readChain(const std::vector<std::uint32_t> &table, std::uint32_t first,
    std::size_t size, const SectorBytes &sector)
{
    std::string bytes;
    std::vector<bool> passed(table.size());
    std::uint32_t at = first;
    while (bytes.size() < size) {
        if (at == kEndOfChain && size == kWholeChain)
            return bytes;
        if (at >= table.size() || passed[at])
            return std::nullopt;
        passed[at] = true;
        const std::optional<std::string_view> piece = sector(at);
        if (!piece)
            return std::nullopt;
        bytes.append(piece->substr(0, std::min(piece->size(), size - bytes.size())));
        at = table[at];
    }
    return bytes;
}

// A compound file read from its bytes, as far as the workbook stream needs it.
class CompoundFile
{
public:
    explicit CompoundFile(std::string_view file)
        : m_file(file)
    {
        m_sound = readHeader() && readTable() && readDirectory();
    }

    // The stream whose directory entry is named `name` (ASCII, any case), or nothing when
    // there is none or it cannot be read.
    std::optional<std::string> stream(std::string_view name) const
    {
        if (!m_sound)
            return std::nullopt;
        for (std::size_t entry = kEntryBytes; entry + kEntryBytes <= m_directory.size();
             entry += kEntryBytes) {
            constexpr std::uint8_t streamEntry = 2;
            if (std::uint8_t(m_directory[entry + 0x42]) != streamEntry
                || !nameIs(std::string_view(m_directory).substr(entry, kEntryBytes), name))
                continue;
            // Version 3 files may leave rubbish in the upper half of the size.
            std::uint64_t size = little<std::uint32_t>(m_directory, entry + 0x78);
            if (m_shift == 12)
                size |= std::uint64_t(little<std::uint32_t>(m_directory, entry + 0x7c)) << 32;
            if (size > m_file.size())
                return std::nullopt;
            const std::uint32_t first = little<std::uint32_t>(m_directory, entry + 0x74);
            return size < m_miniCutoff ? miniStream(first, std::size_t(size))
                                       : chain(first, std::size_t(size));
        }
        return std::nullopt;
    }

private:
    bool readHeader()
    {
        constexpr std::string_view signature("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
        if (m_file.size() < kHeaderBytes || m_file.substr(0, 8) != signature)
            return false;
        // Sectors of 512 bytes (version 3) or 4,096 bytes (version 4), sector n starting at
        // (n + 1) sector sizes; mini sectors of 64 bytes.
        m_shift = little<std::uint16_t>(m_file, 0x1e);
        if ((m_shift != 9 && m_shift != 12) || little<std::uint16_t>(m_file, 0x20) != 6)
            return false;
        m_sectors = m_file.size() >> m_shift;
        if (m_sectors > 0)
            --m_sectors; // the header's
        m_miniCutoff = little<std::uint32_t>(m_file, 0x38);
        return true;
    }

    std::optional<std::string_view> sector(std::uint32_t number) const
    {
        if (number >= m_sectors)
            return std::nullopt;
        const std::size_t bytes = std::size_t(1) << m_shift;
        return m_file.substr((std::size_t(number) + 1) << m_shift, bytes);
    }

    // The allocation table: the sectors named in the header's 109 slots, then in the chain of
    // further slot sectors, each ending with the number of the next, as many as the header
    // counts.
    bool readTable()
    {
        const std::size_t count = little<std::uint32_t>(m_file, 0x2c);
        if (count > m_sectors)
            return false; // each is a sector of the file
        std::vector<std::uint32_t> tableSectors;
        for (std::size_t slot = 0; slot < 109 && tableSectors.size() < count; ++slot)
            tableSectors.push_back(little<std::uint32_t>(m_file, 0x4c + 4 * slot));
        std::uint32_t more = little<std::uint32_t>(m_file, 0x44);
        std::vector<bool> passed(m_sectors);
        while (tableSectors.size() < count) {
            const auto slots = sector(more);
            if (!slots || passed[more])
                return false;
            passed[more] = true;
            for (std::size_t at = 0; at + 4 < slots->size() && tableSectors.size() < count; at += 4)
                tableSectors.push_back(little<std::uint32_t>(*slots, at));
            more = little<std::uint32_t>(*slots, slots->size() - 4);
        }
        m_table.reserve(count << (m_shift - 2));
        for (const std::uint32_t number : tableSectors) {
            const auto entries = sector(number);
            if (!entries)
                return false;
            for (std::size_t at = 0; at < entries->size(); at += 4)
                m_table.push_back(little<std::uint32_t>(*entries, at));
        }
        return true;
    }

    // The directory; its first entry is the root's, which holds the mini stream.
    bool readDirectory()
    {
        auto directory = chain(little<std::uint32_t>(m_file, 0x30), kWholeChain);
        if (!directory || directory->size() < kEntryBytes)
            return false;
        m_directory = std::move(*directory);
        return true;
    }

    std::optional<std::string> chain(std::uint32_t first, std::size_t size) const
    {
        return readChain(
            m_table, first, size, [this](std::uint32_t number) { return sector(number); });
    }

    // A small stream, kept in 64-byte sectors of the mini stream.
    std::optional<std::string> miniStream(std::uint32_t first, std::size_t size) const
    {
        const std::size_t tableSectors = little<std::uint32_t>(m_file, 0x40);
        if (tableSectors > m_sectors)
            return std::nullopt;
        const auto tableBytes = chain(little<std::uint32_t>(m_file, 0x3c), tableSectors << m_shift);
        const std::uint32_t rootSize = little<std::uint32_t>(m_directory, 0x78);
        if (!tableBytes || rootSize > m_file.size())
            return std::nullopt;
        const auto mini = chain(little<std::uint32_t>(m_directory, 0x74), rootSize);
        if (!mini)
            return std::nullopt;
        std::vector<std::uint32_t> table;
        for (std::size_t at = 0; at + 4 <= tableBytes->size(); at += 4)
            table.push_back(little<std::uint32_t>(*tableBytes, at));
        constexpr std::size_t miniBytes = 64;
        const std::string_view miniView = *mini;
        return readChain(table, first, size,
            [miniView](std::uint32_t number) -> std::optional<std::string_view> {
                if (!holds(miniView, std::size_t(number) * miniBytes, miniBytes))
                    return std::nullopt;
                return miniView.substr(std::size_t(number) * miniBytes, miniBytes);
            });
    }

    // Whether the 128-byte directory `entry` is named `name`: UTF-16 with its length in bytes,
    // the closing zero counted, at 0x40.
    static bool nameIs(std::string_view entry, std::string_view name)
    {
        const std::size_t length = little<std::uint16_t>(entry, 0x40);
        if (length != 2 * (name.size() + 1))
            return false;
        for (std::size_t i = 0; i < name.size(); ++i) {
            const char16_t unit = little<std::uint16_t>(entry, 2 * i);
            const auto lower
                = [](char16_t c) { return c >= u'A' && c <= u'Z' ? char16_t(c - u'A' + u'a') : c; };
            if (lower(unit) != lower(char16_t(static_cast<unsigned char>(name[i]))))
                return false;
        }
        return true;
    }

    std::string_view m_file;
    bool m_sound = false;
    unsigned m_shift = 9;
    std::size_t m_sectors = 0; // after the header
    std::uint32_t m_miniCutoff = 4096;
    std::vector<std::uint32_t> m_table;
    std::string m_directory;
};

// ---- BIFF8 records -----------------------------------------------------------------------

enum RecordType : std::uint16_t {
    Formula = 0x0006,
    Eof = 0x000a,
    FilePass = 0x002f,
    Continue = 0x003c,
    BoundSheet = 0x0085,
    Array = 0x0221,
    StringResult = 0x0207,
    Table = 0x0236,
    SharedFormula = 0x04bc,
    Bof = 0x0809,
};

struct Record {
    std::uint16_t type = 0;
    std::string_view data;
};

// The records of a workbook stream from a given offset on: a type, a length and that many
// bytes each.
class Records
{
public:
    Records(std::string_view stream, std::size_t at)
        : m_stream(stream)
        , m_at(at)
    {
    }

    // The next record; false at the end of the stream and at a record that claims more bytes
    // than the stream has left. Each record moves on by at least its 4-byte head, so a walk
    // ends within a quarter of the stream's length in records.
    bool next(Record &record)
    {
        if (!holds(m_stream, m_at, 4))
            return false;
        const std::size_t length = little<std::uint16_t>(m_stream, m_at + 2);
        if (!holds(m_stream, m_at + 4, length))
            return false;
        record.type = little<std::uint16_t>(m_stream, m_at);
        record.data = m_stream.substr(m_at + 4, length);
        m_at += 4 + length;
        return true;
    }

private:
    std::string_view m_stream;
    std::size_t m_at;
};

// The characters of a BIFF8 unicode string starting at `at` of `data`, `count` of them, each
// one byte (the low byte of a UTF-16 unit) or two; the text runs on into the CONTINUE records
// that `more` yields, each of which opens with a byte that tells how its characters are
// stored. Nothing when the characters break off.
std::optional<std::string> readCharacters(
    std::string_view data, std::size_t at, std::size_t count, bool wide, Records *more)
{
    std::u16string units;
    units.reserve(std::min<std::size_t>(count, data.size()));
    while (units.size() < count) {
        if (at == data.size()) {
            Record next;
            if (!more || !more->next(next) || next.type != Continue || next.data.empty())
                return std::nullopt;
            data = next.data;
            wide = data[0] & 1;
            at = 1;
            continue;
        }
        if (wide) {
            if (!holds(data, at, 2))
                return std::nullopt;
            units += char16_t(little<std::uint16_t>(data, at));
            at += 2;
        } else {
            units += char16_t(static_cast<unsigned char>(data[at]));
            ++at;
        }
    }
    return utf8(units);
}

// The text of a STRING record, the saved result of a text formula: a 16-bit character count,
// a flags byte, counts of rich-text runs and phonetic bytes when the flags say so, then the
// characters, continued in CONTINUE records.
std::optional<std::string> readStringResult(std::string_view data, Records more)
{
    if (!holds(data, 0, 3))
        return std::nullopt;
    const std::size_t count = little<std::uint16_t>(data, 0);
    const std::uint8_t flags = std::uint8_t(data[2]);
    std::size_t at = 3;
    if (flags & 0x08)
        at += 2; // rich-text runs, which follow the characters
    if (flags & 0x04)
        at += 4; // phonetic bytes, which follow them too
    if (at > data.size())
        return std::nullopt;
    return readCharacters(data, at, count, flags & 1, &more);
}

std::string errorText(std::uint8_t code)
{
    switch (code) {
    case 0x00:
        return "#NULL!";
    case 0x07:
        return "#DIV/0!";
    case 0x0f:
        return "#VALUE!";
    case 0x17:
        return "#REF!";
    case 0x1d:
        return "#NAME?";
    case 0x24:
        return "#NUM!";
    default: // 0x2a, and any code no spreadsheet writes
        return "#N/A";
    }
}

FormulaValue noValue()
{
    return { FormulaValue::Kind::Error, 0, "#N/A" };
}

// What a FORMULA record says of its result: the 8 bytes after row, column and format are a
// double, unless their last two are 0xFFFF; then the first byte tells the kind of result: a
// text in the STRING record that follows (0), a boolean (1), an error (2) or an empty text
// (3). A text result is left as Text with no characters and `text` set.
FormulaValue formulaResult(std::string_view data, bool &text)
{
    text = false;
    if (!holds(data, 6, 8))
        return noValue();
    if (little<std::uint16_t>(data, 12) != 0xffff) {
        const double number = std::bit_cast<double>(little<std::uint64_t>(data, 6));
        if (!std::isfinite(number))
            return noValue();
        return { FormulaValue::Kind::Number, number, {} };
    }
    const auto value = static_cast<unsigned char>(data[8]);
    switch (data[6]) {
    case 0:
        text = true;
        return { FormulaValue::Kind::Text, 0, {} };
    case 1:
        return { FormulaValue::Kind::Number, value != 0 ? 1.0 : 0.0, {} };
    case 2:
        return { FormulaValue::Kind::Error, 0, errorText(value) };
    case 3:
        return { FormulaValue::Kind::Text, 0, {} };
    default:
        return noValue();
    }
}

// The offset of the BOF record of the sheet named sheetName, from the sheet records of the
// workbook globals (the records up to the globals' EOF).
std::optional<std::size_t> sheetOffset(std::string_view stream, std::string_view sheetName)
{
    Records records(stream, 0);
    Record record;
    // A BIFF8 workbook opens with the BOF of its globals, version 0x0600.
    if (!records.next(record) || record.type != Bof || !holds(record.data, 0, 2)
        || little<std::uint16_t>(record.data, 0) != 0x0600)
        return std::nullopt;
    while (records.next(record)) {
        if (record.type == Eof || record.type == FilePass) // encrypted records read as rubbish
            return std::nullopt;
        // Offset of the sheet's BOF (32 bits), visibility, kind, then the name: a count of
        // characters (8 bits), a flags byte and the characters.
        if (record.type != BoundSheet || !holds(record.data, 0, 8))
            continue;
        const auto name = readCharacters(
            record.data, 8, std::uint8_t(record.data[6]), record.data[7] & 1, nullptr);
        if (name && *name == sheetName)
            return little<std::uint32_t>(record.data, 0);
    }
    return std::nullopt;
}

} // namespace

FormulaValues readFormulaValues(
    std::string_view file, std::string_view sheetName, unsigned maxRows, unsigned maxColumns)
{
    FormulaValues values;
    const auto stream = CompoundFile(file).stream("Workbook");
    if (!stream)
        return values;
    const auto offset = sheetOffset(*stream, sheetName);
    if (!offset)
        return values;

    Records records(*stream, *offset);
    Record record;
    if (!records.next(record) || record.type != Bof)
        return values;
    // A chart placed on the sheet is a substream of its own, BOF to EOF, within the sheet's.
    unsigned depth = 1;
    // The cell whose text result is to come in a STRING record, if any.
    FormulaValue *pendingText = nullptr;
    while (depth > 0 && records.next(record)) {
        if (pendingText) {
            if (record.type == SharedFormula || record.type == Array || record.type == Table)
                continue; // these come between a formula and its STRING record
            if (record.type == StringResult) {
                if (auto text = readStringResult(record.data, records))
                    pendingText->text = std::move(*text);
                else
                    *pendingText = noValue();
                pendingText = nullptr;
                continue;
            }
            *pendingText = noValue();
            pendingText = nullptr;
        }
        if (record.type == Bof) {
            ++depth;
        } else if (record.type == Eof) {
            --depth;
        } else if (record.type == Formula && depth == 1 && holds(record.data, 0, 4)) {
            const std::uint16_t row = little<std::uint16_t>(record.data, 0);
            const std::uint16_t column = little<std::uint16_t>(record.data, 2);
            if (row >= maxRows || column >= maxColumns)
                continue;
            bool text = false;
            FormulaValue &value = values[formulaCell(row, column)];
            value = formulaResult(record.data, text);
            if (text)
                pendingText = &value;
        }
    }
    if (pendingText)
        *pendingText = noValue();
    return values;
}

} // namespace kelsa
