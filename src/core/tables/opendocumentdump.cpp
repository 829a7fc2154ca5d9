// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/tables/opendocumentdump.h"

#include "core/tables/dumpwriter.h"

#include <orcus/sax_ns_parser.hpp>
#include <orcus/xml_namespace.hpp>
#include <orcus/zip_archive.hpp>
#include <orcus/zip_archive_stream.hpp>

#include <algorithm>
#include <array>
#include <cctype>
#include <cerrno>
#include <climits>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

// Both workbook formats are zip archives of XML parts. liborcus unpacks the parts
// (zip_archive) and parses them (sax_ns_parser); the rest is read here, so that a formula cell
// gives exactly what the spreadsheet saved with it, error texts included, and only the parts
// the sheet needs are unpacked:
//
//   .xlsx  _rels/.rels names the workbook part; the workbook lists the sheets by name, and its
//          relationships name each sheet's part, the shared strings and the styles (which tell
//          a date from a number).
//   .ods   content.xml holds every sheet with its cells, values and saved formula results.
//
// Damaged files are the rule here, not the exception: every size a file claims is checked
// before anything is allocated for it, and whatever liborcus throws is caught.

namespace kelsa
{

namespace
{

// A part that would unpack to more than this is not read. A reference table is a few
// kilobytes; a sheet of 65,536 rows of 26 numbers is about 50 MB of XML.
constexpr std::uint64_t kMaxPartBytes = std::uint64_t(64) * 1024 * 1024;
// Deflate packs at most 1,032 bytes into one (its longest match, 258 bytes, in 2 bits); a part
// that claims to unpack to more than that ratio claims what no archiver wrote.
constexpr std::uint64_t kMaxDeflateRatio = 1032;
// Workbooks have tens of parts; a directory of many thousands is not one.
constexpr std::size_t kMaxParts = 10000;
// Elements of a workbook nest a dozen deep; far deeper nesting only makes the parser's stack
// of open elements grow.
constexpr std::size_t kMaxDepth = 256;
// Elements carry a handful of attributes each.
constexpr std::size_t kMaxAttributes = 256;
// The longest text a cell may hold: what a sheet shows in a cell, with room to spare. The
// .ods space element <text:s text:c="N"/> could otherwise grow one cell past any memory.
constexpr std::size_t kMaxCellText = std::size_t(1) << 20;
// Rows and columns are counted up to this and no further (see parseUnsigned()).
constexpr std::uint64_t kFarAway = std::uint64_t(1) << 40;
// The text of a formula cell that has no saved value.
constexpr std::string_view kNoValue = "#N/A";

// Stops reading the workbook with the outcome the dump reports.
struct Refusal {
    SheetDumpOutcome outcome;
};

[[noreturn]] void refuse(SheetDumpOutcome outcome = SheetDumpOutcome::Damaged)
{
    throw Refusal { outcome };
}

// ---------------------------------------------------------------------------------------------
// The zip archive

// The zip checksum (CRC-32, polynomial 0xEDB88320) of the bytes.
[[maybe_unused]] std::uint32_t crc32(const unsigned char *data, std::size_t size)
{
    static const std::array<std::uint32_t, 256> table = [] {
        std::array<std::uint32_t, 256> entries {};
        for (std::uint32_t i = 0; i < 256; ++i) {
            std::uint32_t c = i;
            for (int bit = 0; bit < 8; ++bit)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            entries[i] = c;
        }
        return entries;
    }();
    std::uint32_t c = 0xFFFFFFFFu;
    for (std::size_t i = 0; i < size; ++i)
        c = table[(c ^ data[i]) & 0xFFu] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

// The parts of a zip archive, unpacked by liborcus once this class has checked what the
// archive's directory claims about each: liborcus 0.17 allocates whatever size an entry claims
// before it unpacks a byte.
class Package
{
public:
    explicit Package(std::string bytes)
        : m_bytes(std::move(bytes))
    {
        readDirectory();
        m_stream = std::make_unique<orcus::zip_archive_stream_blob>(
            reinterpret_cast<const unsigned char *>(m_bytes.data()), m_bytes.size());
        m_archive = std::make_unique<orcus::zip_archive>(m_stream.get());
        m_archive->load();
        // liborcus looks for the directory itself, and a damaged archive may hold more than
        // one: it must have found the one checked here.
        if (m_archive->get_file_entry_count() != m_names.size())
            refuse();
        for (std::size_t i = 0; i < m_names.size(); ++i)
            if (m_archive->get_file_entry_name(i) != m_names[i])
                refuse();
    }

    // The unpacked bytes of the part, followed by a NUL that is not counted in the size;
    // nothing when the archive has no such part.
    std::optional<std::vector<unsigned char>> read(const std::string &name) const
    {
        const auto found = m_entries.find(name);
        if (found == m_entries.end())
            return std::nullopt;
        const Entry &entry = found->second;
        checkData(entry);
        std::vector<unsigned char> bytes;
        if (!m_archive->read_file_entry(name, bytes))
            refuse();
        // liborcus 0.17 ends a deflated part with a NUL of its own.
        if (bytes.size() == std::size_t(entry.size) + 1 && bytes.back() == 0)
            bytes.pop_back();
        if (bytes.size() != entry.size)
            refuse();
#ifndef FUZZING_BUILD_MODE_UNSAFE_FOR_PRODUCTION
        // Unpacked in full and unspoilt. (Fuzzing skips this, so that changed bytes of a part
        // reach the XML parser.)
        if (crc32(bytes.data(), bytes.size()) != entry.crc)
            refuse();
#endif
        bytes.push_back(0);
        return bytes;
    }

private:
    struct Entry {
        std::uint16_t method;
        std::uint32_t crc;
        std::uint32_t packed;
        std::uint32_t size;
        std::uint32_t header; // offset of the entry's local header
    };

    std::uint32_t u16(std::size_t at) const
    {
        return little(at, 2);
    }
    std::uint32_t u32(std::size_t at) const
    {
        return little(at, 4);
    }
    // An unsigned little-endian number of `width` bytes at `at`, refusing one past the end.
    std::uint32_t little(std::size_t at, std::size_t width) const
    {
        if (at > m_bytes.size() || m_bytes.size() - at < width)
            refuse();
        std::uint32_t value = 0;
        for (std::size_t i = 0; i < width; ++i)
            value |= std::uint32_t(static_cast<unsigned char>(m_bytes[at + i])) << (8 * i);
        return value;
    }

    // Reads the central directory as liborcus does: from the end-of-directory record, the
    // last one in the final 64 KB of the file, entry after entry while their signature holds.
    void readDirectory()
    {
        constexpr std::string_view endSignature("PK\x05\x06", 4);
        constexpr std::size_t endBytes = 22; // the record without its comment
        if (m_bytes.size() < endBytes)
            refuse();
        const std::size_t from
            = m_bytes.size() > endBytes + 0xFFFF ? m_bytes.size() - (endBytes + 0xFFFF) : 0;
        const std::size_t end = std::string_view(m_bytes).rfind(endSignature);
        if (end == std::string_view::npos || end < from)
            refuse();
        std::size_t at = u32(end + 16);
        while (u32(at) == 0x02014b50) {
            if (m_names.size() >= kMaxParts)
                refuse();
            Entry entry {};
            entry.method = static_cast<std::uint16_t>(u16(at + 10));
            entry.crc = u32(at + 16);
            entry.packed = u32(at + 20);
            entry.size = u32(at + 24);
            const std::uint32_t nameBytes = u16(at + 28);
            const std::uint32_t skipped = u16(at + 30) + u16(at + 32); // extra field, comment
            entry.header = u32(at + 42);
            if (m_bytes.size() - (at + 46) < nameBytes)
                refuse();
            std::string name = m_bytes.substr(at + 46, nameBytes);
            m_entries.emplace(name, entry); // the first of a name, as liborcus keeps it
            m_names.push_back(std::move(name));
            at += 46 + nameBytes + skipped;
        }
    }

    // Refuses an entry whose data lies outside the file or that claims more than it can hold.
    void checkData(const Entry &entry) const
    {
        if (u32(entry.header) != 0x04034b50)
            refuse();
        const std::size_t data
            = std::size_t(entry.header) + 30 + u16(entry.header + 26) + u16(entry.header + 28);
        if (data > m_bytes.size() || m_bytes.size() - data < entry.packed)
            refuse();
        if (entry.method == 0) { // stored
            if (entry.size != entry.packed)
                refuse();
        } else if (entry.method == 8) { // deflated
            if (entry.size > std::max<std::uint64_t>(entry.packed, 1) * kMaxDeflateRatio)
                refuse();
        } else {
            refuse();
        }
        if (entry.size > kMaxPartBytes)
            refuse(SheetDumpOutcome::TooLarge);
    }

    std::string m_bytes;
    std::unordered_map<std::string, Entry> m_entries;
    std::vector<std::string> m_names; // in directory order
    std::unique_ptr<orcus::zip_archive_stream_blob> m_stream;
    std::unique_ptr<orcus::zip_archive> m_archive;
};

// "xl/worksheets/sheet1.xml" for the target "worksheets/sheet1.xml" of the part
// "xl/workbook.xml": a target is relative to the folder of its part, or to the archive's root
// when it starts with a slash.
std::string resolvePart(std::string_view part, std::string_view target)
{
    std::string path;
    if (!target.empty() && target.front() == '/')
        target.remove_prefix(1);
    else if (const std::size_t slash = part.rfind('/'); slash != std::string_view::npos)
        path = part.substr(0, slash + 1);
    path += target;
    std::vector<std::string_view> segments;
    std::string_view rest = path;
    while (!rest.empty()) {
        const std::size_t slash = std::min(rest.find('/'), rest.size());
        const std::string_view segment = rest.substr(0, slash);
        rest.remove_prefix(std::min(slash + 1, rest.size()));
        if (segment == "..") {
            if (!segments.empty())
                segments.pop_back();
        } else if (!segment.empty() && segment != ".") {
            segments.push_back(segment);
        }
    }
    std::string resolved;
    for (const std::string_view segment : segments) {
        if (!resolved.empty())
            resolved += '/';
        resolved += segment;
    }
    return resolved;
}

// "_rels/workbook.xml.rels" beside "workbook.xml": the relationships of a part.
std::string relationsOf(std::string_view part)
{
    const std::size_t slash = part.rfind('/');
    const std::size_t name = slash == std::string_view::npos ? 0 : slash + 1;
    return std::string(part.substr(0, name)) + "_rels/" + std::string(part.substr(name)) + ".rels";
}

// ---------------------------------------------------------------------------------------------
// XML

// Namespaces are told apart by these very pointers: liborcus hands out a predefined one for
// its URI.
constexpr char kSpreadsheet[] = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
constexpr char kSpreadsheetStrict[] = "http://purl.oclc.org/ooxml/spreadsheetml/main";
constexpr char kRelations[] = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
constexpr char kRelationsStrict[] = "http://purl.oclc.org/ooxml/officeDocument/relationships";
constexpr char kPackageRelations[] = "http://schemas.openxmlformats.org/package/2006/relationships";
constexpr char kOffice[] = "urn:oasis:names:tc:opendocument:xmlns:office:1.0";
constexpr char kTable[] = "urn:oasis:names:tc:opendocument:xmlns:table:1.0";
constexpr char kText[] = "urn:oasis:names:tc:opendocument:xmlns:text:1.0";
constexpr char kCalcExt[] = "urn:org:documentfoundation:names:experimental:calc:xmlns:calcext:1.0";
const orcus::xmlns_id_t kNamespaces[] = { kSpreadsheet, kSpreadsheetStrict, kRelations,
    kRelationsStrict, kPackageRelations, kOffice, kTable, kText, kCalcExt, nullptr };

bool isSpreadsheet(orcus::xmlns_id_t ns)
{
    return ns == kSpreadsheet || ns == kSpreadsheetStrict;
}

struct Attribute {
    orcus::xmlns_id_t ns;
    std::string_view name; // in the part, which outlives the element
    // In the part; or, for a value that liborcus decoded into a buffer of its own, where its
    // copy starts in PartHandler's m_copies (its length stays in value).
    std::string_view value;
    std::size_t copied;
};

// Thrown by a handler that has read all it needs of its part.
struct Finished {
};

// What the handlers of all parts share: refusing a document type declaration (a workbook has
// none, and its entities are how a billion laughs start), the nesting guard, the attributes of
// the element that starts next, and the element that encloses the current one.
class PartHandler : public orcus::sax_ns_handler
{
public:
    using orcus::sax_ns_handler::attribute;

    void doctype(const orcus::sax::doctype_declaration &) { refuse(); }

    void attribute(const orcus::sax_ns_parser_attribute &attribute)
    {
        if (m_attributes.size() >= kMaxAttributes)
            refuse();
        std::size_t copied = std::string_view::npos;
        if (attribute.transient) {
            copied = m_copies.size();
            m_copies.append(attribute.value);
        }
        m_attributes.push_back({ attribute.ns, attribute.name, attribute.value, copied });
    }

protected:
    // Each handler's start_element() calls this first, end_element() calls leave() last.
    void enter(const orcus::sax_ns_parser_element &element)
    {
        if (m_open.size() >= kMaxDepth)
            refuse();
        m_open.emplace_back(element.ns, element.name);
    }
    void leave()
    {
        if (!m_open.empty())
            m_open.pop_back();
        forgetAttributes();
    }

    // The value of the element's attribute, or nothing.
    std::optional<std::string_view> find(orcus::xmlns_id_t ns, std::string_view name) const
    {
        for (const Attribute &attribute : m_attributes) {
            if (attribute.ns != ns || attribute.name != name)
                continue;
            if (attribute.copied == std::string_view::npos)
                return attribute.value;
            return std::string_view(m_copies).substr(attribute.copied, attribute.value.size());
        }
        return std::nullopt;
    }
    // An attribute of the relationships namespace, transitional or strict.
    std::optional<std::string_view> findRelation(std::string_view name) const
    {
        const auto value = find(kRelations, name);
        return value ? value : find(kRelationsStrict, name);
    }
    std::string_view value(orcus::xmlns_id_t ns, std::string_view name) const
    {
        return find(ns, name).value_or(std::string_view());
    }
    // An attribute without a namespace prefix, as most of SpreadsheetML's are.
    std::string_view plain(std::string_view name) const
    {
        return value(orcus::XMLNS_UNKNOWN_ID, name);
    }
    // Called after start_element(): the attributes belong to the element just started.
    void forgetAttributes()
    {
        m_attributes.clear();
        m_copies.clear();
    }

    // The element `levels` above the one just started (0 is that element itself).
    bool openIs(std::size_t levels, orcus::xmlns_id_t ns, std::string_view name) const
    {
        if (m_open.size() <= levels)
            return false;
        const auto &[openNs, openName] = m_open[m_open.size() - 1 - levels];
        return openNs == ns && openName == name;
    }
    bool openIsSpreadsheet(std::size_t levels, std::string_view name) const
    {
        return openIs(levels, kSpreadsheet, name) || openIs(levels, kSpreadsheetStrict, name);
    }
    std::size_t depth() const { return m_open.size(); }

private:
    std::vector<Attribute> m_attributes;
    std::string m_copies;
    std::vector<std::pair<orcus::xmlns_id_t, std::string_view>> m_open;
};

template <typename Handler> void parse(const std::vector<unsigned char> &part, Handler &handler)
{
    orcus::xmlns_repository repository;
    repository.add_predefined_values(kNamespaces);
    orcus::xmlns_context context = repository.create_context();
    // The part ends with a NUL that read() added and that is not part of the XML.
    orcus::sax_ns_parser<Handler> parser(
        reinterpret_cast<const char *>(part.data()), part.size() - 1, context, handler);
    try {
        parser.parse();
    } catch (const Finished &) {
    }
}

// ---------------------------------------------------------------------------------------------
// Cells

// Texts of the sheet in one buffer, addressed by number.
class Texts
{
public:
    std::uint32_t add(std::string_view text)
    {
        m_spans.emplace_back(m_bytes.size(), text.size());
        m_bytes.append(text);
        return static_cast<std::uint32_t>(m_spans.size() - 1);
    }
    std::size_t size() const { return m_spans.size(); }
    std::string_view operator[](std::size_t index) const
    {
        return std::string_view(m_bytes).substr(m_spans[index].first, m_spans[index].second);
    }

private:
    std::string m_bytes;
    std::vector<std::pair<std::size_t, std::size_t>> m_spans;
};

struct Value {
    SheetDumpCell kind = SheetDumpCell::Empty;
    double number = 0;
    std::uint32_t text = 0; // for Text and Error, in the sheet's Texts
    std::uint32_t format = 0; // for an .xlsx Number, its cell format, which may make it a date
};

// The cells of a sheet within the limits of the dump: runs of equal cells in runs of equal
// rows, as .ods repeats them; an .xlsx row or cell is a run of one. Only cells that hold
// something are kept.
class Grid
{
public:
    Grid(int maxColumns, unsigned maxRows)
        : m_maxColumns(std::uint64_t(std::max(maxColumns, 0)))
        , m_maxRows(maxRows)
    {
    }

    Texts texts;

    // Rows `first` to `first + count - 1` start; the cells added next belong to each of them.
    void startRows(std::uint64_t first, std::uint64_t count)
    {
        m_first = first;
        m_count = count;
        m_rowOpen = false;
    }

    void add(std::uint64_t column, std::uint64_t count, const Value &value)
    {
        if (value.kind == SheetDumpCell::Empty || count == 0 || column >= m_maxColumns
            || m_first >= m_maxRows || m_count == 0)
            return;
        count = std::min(count, m_maxColumns - column);
        const std::uint64_t rows = std::min(m_count, m_maxRows - m_first);
        if (!m_rowOpen) {
            m_rows.push_back({ std::uint32_t(m_first), std::uint32_t(rows), {} });
            m_rowOpen = true;
        }
        m_rows.back().cells.push_back({ std::uint32_t(column), std::uint32_t(count), value });
        m_columns = std::max(m_columns, column + count);
        m_rowEnd = std::max(m_rowEnd, m_first + rows);
    }

    // The dump after Ok: the rows below the heading row (from it, withHeading), padded to the
    // widest row.
    void write(DumpWriter &writer, bool withHeading) const
    {
        const auto columns = static_cast<std::uint16_t>(m_columns);
        writer.put(SheetDumpOutcome::Ok);
        writer.put(columns);
        std::vector<const RowRun *> runs;
        for (const RowRun &run : m_rows)
            runs.push_back(&run);
        std::stable_sort(runs.begin(), runs.end(),
            [](const RowRun *a, const RowRun *b) { return a->first < b->first; });
        std::vector<const RowRun *> active;
        std::size_t next = 0;
        std::vector<const Value *> line(columns);
        const Value empty;
        for (std::uint64_t row = withHeading ? 0 : 1; row < m_rowEnd; ++row) {
            active.erase(std::remove_if(active.begin(), active.end(),
                             [row](const RowRun *run) { return run->first + run->count <= row; }),
                active.end());
            for (; next < runs.size() && runs[next]->first <= row; ++next)
                if (runs[next]->first + runs[next]->count > row)
                    active.push_back(runs[next]);
            std::fill(line.begin(), line.end(), &empty);
            for (const RowRun *run : active)
                for (const CellRun &cell : run->cells)
                    for (std::uint32_t c = cell.column; c < cell.column + cell.count; ++c)
                        line[c] = &cell.value;
            for (const Value *value : line) {
                if (value->kind == SheetDumpCell::Text || value->kind == SheetDumpCell::Error) {
                    writer.putText(value->kind, texts[value->text]);
                } else {
                    writer.put(value->kind);
                    if (value->kind == SheetDumpCell::Number)
                        writer.put(value->number);
                }
            }
            if (!writer.flush())
                return;
        }
        writer.put(SheetDumpCell::End);
        writer.flush(true);
    }

    Value number(double number, std::uint32_t format = 0) const
    {
        if (!std::isfinite(number))
            return {};
        return { SheetDumpCell::Number, number, 0, format };
    }

    // Calls change(value) for every Number cell.
    template <typename Change> void forEachNumber(const Change &change)
    {
        for (RowRun &row : m_rows)
            for (CellRun &cell : row.cells)
                if (cell.value.kind == SheetDumpCell::Number)
                    change(cell.value);
    }
    Value text(std::string_view text)
    {
        if (text.empty())
            return {};
        return { SheetDumpCell::Text, 0, texts.add(text), 0 };
    }
    Value error(std::string_view text)
    {
        return { SheetDumpCell::Error, 0, texts.add(text.empty() ? kNoValue : text), 0 };
    }

private:
    struct CellRun {
        std::uint32_t column;
        std::uint32_t count;
        Value value;
    };
    struct RowRun {
        std::uint32_t first;
        std::uint32_t count;
        std::vector<CellRun> cells;
    };

    std::uint64_t m_maxColumns;
    std::uint64_t m_maxRows;
    std::vector<RowRun> m_rows;
    std::uint64_t m_first = 0;
    std::uint64_t m_count = 0;
    bool m_rowOpen = false;
    std::uint64_t m_columns = 0; // one past the last column that holds something
    std::uint64_t m_rowEnd = 0; // one past the last row that holds something
};

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t' || text.front() == '\n'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\n'))
        text.remove_suffix(1);
    return text;
}

// A number as XML writes it ("-2.5", "4.5E-3"), whatever the locale.
std::optional<double> parseNumber(std::string_view text)
{
    text = trimmed(text);
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

// A whole number such as "3", at most 2^40: far beyond any row or column, and far from the
// end of the range, so that counting on from it cannot overflow.
std::optional<std::uint64_t> parseUnsigned(std::string_view text)
{
    text = trimmed(text);
    std::uint64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error == std::errc::result_out_of_range)
        return kFarAway;
    if (error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return std::min(value, kFarAway);
}

// A boolean as both formats write it: "true" or "1", "false" or "0"; nothing for anything else.
std::optional<bool> parseBoolean(std::string_view text)
{
    text = trimmed(text);
    if (text == "1" || text == "true")
        return true;
    if (text == "0" || text == "false")
        return false;
    return std::nullopt;
}

// A count such as number-columns-repeated="3"; 1 when there is none.
std::uint64_t parseCount(std::string_view text)
{
    return std::max<std::uint64_t>(parseUnsigned(text).value_or(1), 1);
}

// Dates and times as FreeXL spells them for .xls: "2024-03-15", "10:30:00",
// "2024-03-15 10:30:00".
enum class DateKind : std::uint8_t { None, Date, Time, DateTime };

std::string formatDate(long long year, unsigned month, unsigned day)
{
    char text[32];
    std::snprintf(text, sizeof text, "%04lld-%02u-%02u", year, month, day);
    return text;
}

std::string formatTime(long long seconds)
{
    char text[48];
    std::snprintf(
        text, sizeof text, "%02lld:%02lld:%02lld", seconds / 3600, seconds / 60 % 60, seconds % 60);
    return text;
}

// The civil date of a day counted from 1970-01-01 (H. Hinnant's algorithm).
std::string dateOfDay(long long days)
{
    days += 719468;
    const long long era = (days >= 0 ? days : days - 146096) / 146097;
    const long long ofEra = days - era * 146097;
    const long long yearOfEra = (ofEra - ofEra / 1460 + ofEra / 36524 - ofEra / 146096) / 365;
    const long long dayOfYear = ofEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const long long shifted = (5 * dayOfYear + 2) / 153;
    const auto day = unsigned(dayOfYear - (153 * shifted + 2) / 5 + 1);
    const auto month = unsigned(shifted < 10 ? shifted + 3 : shifted - 9);
    return formatDate(era * 400 + yearOfEra + (month <= 2), month, day);
}

// A spreadsheet serial number (days since the workbook's epoch, the fraction the time of day)
// as a date and time; nothing when it lies outside the years 1900 to 9999.
std::optional<std::string> serialDate(double serial, DateKind kind, bool from1904)
{
    if (!(serial >= 0 && serial < 2958466))
        return std::nullopt;
    auto days = static_cast<long long>(std::floor(serial));
    auto seconds = std::llround((serial - double(days)) * 86400);
    if (seconds >= 86400) {
        ++days;
        seconds -= 86400;
    }
    if (kind == DateKind::Time)
        return formatTime(seconds + 86400 * days);
    // Serial 60 is 1900-02-29, a day that never was but that spreadsheets count, so serials
    // before it are one day later than their count from 1899-12-30 says.
    if (!from1904 && days < 61)
        ++days;
    // Days from 1970-01-01 to 1899-12-30 and to 1904-01-01.
    const std::string date = dateOfDay(days + (from1904 ? -24107 : -25569));
    return kind == DateKind::Date ? date : date + ' ' + formatTime(seconds);
}

// "2024-03-15" or "2024-03-15T10:30:00.5" as an .ods date-value (the fraction of a second
// dropped); nothing for anything else.
std::optional<std::string> isoDate(std::string_view text)
{
    text = trimmed(text);
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    char tail = 0;
    const std::string copy(text.substr(0, 64));
    const int fields = std::sscanf(copy.c_str(), "%5d-%2d-%2dT%2d:%2d:%2d%c", &year, &month, &day,
        &hour, &minute, &second, &tail);
    if (fields < 3 || month < 1 || month > 12 || day < 1 || day > 31 || year < 0)
        return std::nullopt;
    std::string date = formatDate(year, unsigned(month), unsigned(day));
    if (fields < 6 || hour > 23 || minute > 59 || second > 60 || hour < 0 || minute < 0
        || second < 0)
        return fields == 3 && copy.size() == 10 ? std::optional(date) : std::nullopt;
    return date + ' ' + formatTime(hour * 3600 + minute * 60 + second);
}

// "PT10H30M00S" (or "P1DT2H", "PT0.5S") as an .ods time-value; nothing for anything else.
std::optional<std::string> isoDuration(std::string_view text)
{
    text = trimmed(text);
    if (text.size() < 2 || text.front() != 'P' || text.size() > 64)
        return std::nullopt;
    text.remove_prefix(1);
    double seconds = 0;
    bool inTime = false;
    while (!text.empty()) {
        if (text.front() == 'T' && !inTime) {
            inTime = true;
            text.remove_prefix(1);
            continue;
        }
        double amount = 0;
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), amount);
        if (error != std::errc() || end == text.data() + text.size() || !(amount >= 0))
            return std::nullopt;
        const char unit = *end;
        text.remove_prefix(std::size_t(end - text.data()) + 1);
        if (unit == 'D' && !inTime)
            seconds += amount * 86400;
        else if (unit == 'H' && inTime)
            seconds += amount * 3600;
        else if (unit == 'M' && inTime)
            seconds += amount * 60;
        else if (unit == 'S' && inTime)
            seconds += amount;
        else
            return std::nullopt;
    }
    if (!(seconds < 1e12))
        return std::nullopt;
    return formatTime(static_cast<long long>(seconds));
}

// ---------------------------------------------------------------------------------------------
// .xlsx

struct Relationship {
    std::string type;
    std::string target;
};

// _rels/*.rels: the relationships of a part, by id.
class RelationsHandler : public PartHandler
{
public:
    std::unordered_map<std::string, Relationship> relations;

    void start_element(const orcus::sax_ns_parser_element &element)
    {
        enter(element);
        if (element.ns == kPackageRelations && element.name == "Relationship")
            relations.emplace(std::string(plain("Id")),
                Relationship { std::string(plain("Type")), std::string(plain("Target")) });
        forgetAttributes();
    }
    void end_element(const orcus::sax_ns_parser_element &) { leave(); }
};

// The relationships of `part`, empty when it has none.
std::unordered_map<std::string, Relationship> readRelations(
    const Package &package, std::string_view part)
{
    RelationsHandler handler;
    if (const auto bytes = package.read(relationsOf(part)))
        parse(*bytes, handler);
    return std::move(handler.relations);
}

// The part a relationship of `part` of the given type ("/styles") leads to, if any.
std::optional<std::string> relatedPart(
    const std::unordered_map<std::string, Relationship> &relations, std::string_view part,
    std::string_view type)
{
    for (const auto &[id, relation] : relations) {
        const std::string_view kind = relation.type;
        if (kind.size() >= type.size() && kind.substr(kind.size() - type.size()) == type)
            return resolvePart(part, relation.target);
    }
    return std::nullopt;
}

// The workbook part: the relationship id of the sheet sought, and the epoch of its dates.
class WorkbookHandler : public PartHandler
{
public:
    explicit WorkbookHandler(std::string_view sheetName)
        : m_sheetName(sheetName)
    {
    }

    std::optional<std::string> sheetId;
    bool from1904 = false;

    void start_element(const orcus::sax_ns_parser_element &element)
    {
        enter(element);
        if (isSpreadsheet(element.ns) && element.name == "sheet" && !sheetId
            && (m_sheetName.empty() || plain("name") == m_sheetName)) {
            if (const auto id = findRelation("id"))
                sheetId = std::string(*id);
        } else if (isSpreadsheet(element.ns) && element.name == "workbookPr") {
            const std::string_view flag = plain("date1904");
            from1904 = flag == "1" || flag == "true";
        }
        forgetAttributes();
    }
    void end_element(const orcus::sax_ns_parser_element &element)
    {
        leave();
        if (isSpreadsheet(element.ns) && element.name == "sheets")
            throw Finished {}; // what follows the list of sheets is of no use here
    }

private:
    std::string_view m_sheetName;
};

// The shared strings: each <si> is the text of its <t> elements, plain or in rich-text runs
// <r>, without the phonetic hints <rPh>.
class SharedStringsHandler : public PartHandler
{
public:
    explicit SharedStringsHandler(Texts &texts)
        : m_texts(texts)
    {
    }

    std::vector<std::uint32_t> strings; // Texts numbers in the order of the part

    void start_element(const orcus::sax_ns_parser_element &element)
    {
        enter(element);
        if (openIsSpreadsheet(0, "si") && openIsSpreadsheet(1, "sst")) {
            m_inString = true;
            m_text.clear();
        } else if (m_inString && openIsSpreadsheet(0, "t")
            && (openIsSpreadsheet(1, "si") || openIsSpreadsheet(1, "r"))) {
            m_inText = true;
        }
        forgetAttributes();
    }
    void end_element(const orcus::sax_ns_parser_element &)
    {
        if (m_inText && openIsSpreadsheet(0, "t")) {
            m_inText = false;
        } else if (m_inString && openIsSpreadsheet(0, "si")) {
            m_inString = false;
            strings.push_back(m_texts.add(m_text));
        }
        leave();
    }
    void characters(std::string_view text, bool)
    {
        if (m_inText)
            m_text.append(text);
    }

private:
    Texts &m_texts;
    bool m_inString = false;
    bool m_inText = false;
    std::string m_text;
};

// Whether a number format shows a date, a time or both. Quoted and escaped text, fill and
// padding characters, colours and locales in brackets are skipped; "m" is a minute next to an
// hour or a second and a month otherwise.
DateKind classifyFormat(std::string_view code)
{
    bool date = false, time = false;
    bool afterHour = false; // an hour came last, so "m" is its minutes
    std::size_t monthAt = std::string_view::npos; // an "m" taken for a month, in case "s" follows
    for (std::size_t i = 0; i < code.size(); ++i) {
        const char c = static_cast<char>(std::tolower(static_cast<unsigned char>(code[i])));
        if (c == ';') {
            break;
        } else if (c == '"') {
            const std::size_t close = code.find('"', i + 1);
            i = close == std::string_view::npos ? code.size() : close;
        } else if (c == '\\' || c == '_' || c == '*') {
            ++i;
        } else if (c == '[') {
            const std::size_t close = code.find(']', i + 1);
            const std::string_view inside = code.substr(i + 1, close - std::min(close, i + 1));
            if (!inside.empty()
                && std::string_view("hHmMsS").find(inside.front()) != std::string_view::npos)
                time = true; // elapsed time: [h], [mm], [ss]
            i = close == std::string_view::npos ? code.size() : close;
        } else if (c == 'y' || c == 'd') {
            date = true;
            afterHour = false;
        } else if (c == 'h') {
            time = true;
            afterHour = true;
        } else if (c == 's') {
            time = true;
            if (monthAt != std::string_view::npos) // "mm:ss": minutes after all
                monthAt = std::string_view::npos;
        } else if (c == 'm') {
            if (afterHour) {
                time = true;
            } else if (monthAt == std::string_view::npos) {
                monthAt = i;
            }
            while (i + 1 < code.size() && (code[i + 1] == 'm' || code[i + 1] == 'M'))
                ++i;
            continue;
        } else if (c == 'a' && (code.substr(i, 5) == "AM/PM" || code.substr(i, 5) == "am/pm")) {
            time = true;
            i += 4;
        }
        if (c != 'm' && std::isalpha(static_cast<unsigned char>(c))
            && monthAt != std::string_view::npos) {
            date = true; // the "m" was a month
            monthAt = std::string_view::npos;
        }
    }
    if (monthAt != std::string_view::npos)
        date = true;
    if (date && time)
        return DateKind::DateTime;
    return date ? DateKind::Date : time ? DateKind::Time : DateKind::None;
}

// The built-in number formats that show dates and times.
DateKind builtInFormat(std::uint64_t id)
{
    if (id >= 14 && id <= 17)
        return DateKind::Date;
    if ((id >= 18 && id <= 21) || (id >= 45 && id <= 47))
        return DateKind::Time;
    return id == 22 ? DateKind::DateTime : DateKind::None;
}

// The styles: for each cell format (<cellXfs><xf>), whether it shows a date.
class StylesHandler : public PartHandler
{
public:
    std::vector<DateKind> cellFormats;

    void start_element(const orcus::sax_ns_parser_element &element)
    {
        enter(element);
        if (openIsSpreadsheet(0, "numFmt") && openIsSpreadsheet(1, "numFmts")) {
            m_formats[parseUnsigned(plain("numFmtId")).value_or(0)]
                = classifyFormat(plain("formatCode"));
        } else if (openIsSpreadsheet(0, "xf") && openIsSpreadsheet(1, "cellXfs")) {
            const std::uint64_t id = parseUnsigned(plain("numFmtId")).value_or(0);
            const auto custom = m_formats.find(id);
            cellFormats.push_back(custom != m_formats.end() ? custom->second : builtInFormat(id));
        }
        forgetAttributes();
    }
    void end_element(const orcus::sax_ns_parser_element &element)
    {
        leave();
        if (isSpreadsheet(element.ns) && element.name == "cellXfs")
            throw Finished {}; // the number formats come before the cell formats
    }

private:
    std::unordered_map<std::uint64_t, DateKind> m_formats;
};

// The column of a cell reference: "C7" is 2; nothing for a reference that is not one.
std::optional<std::uint64_t> referenceColumn(std::string_view reference)
{
    std::uint64_t column = 0;
    std::size_t letters = 0;
    for (; letters < reference.size() && letters < 4; ++letters) {
        const char c = reference[letters];
        if (c >= 'A' && c <= 'Z')
            column = column * 26 + std::uint64_t(c - 'A' + 1);
        else if (c >= 'a' && c <= 'z')
            column = column * 26 + std::uint64_t(c - 'a' + 1);
        else
            break;
    }
    if (letters == 0 || letters > 3)
        return std::nullopt;
    return column - 1;
}

// A worksheet part: <sheetData><row r="2"><c r="B2" t="..." s="..."><f/><v/><is/></c>.
class SheetHandler : public PartHandler
{
public:
    SheetHandler(Grid &grid, const std::vector<std::uint32_t> &strings)
        : m_grid(grid)
        , m_strings(strings)
    {
    }

    // Whether a number has a cell format other than the first, the workbook's default
    // ("General"), so that it may be a date.
    bool formattedNumbers = false;

    void start_element(const orcus::sax_ns_parser_element &element)
    {
        enter(element);
        if (!isSpreadsheet(element.ns)) {
            forgetAttributes();
            return;
        }
        if (element.name == "row" && openIsSpreadsheet(1, "sheetData")) {
            // Rows and cells without a number follow the one before.
            const std::uint64_t number = parseUnsigned(plain("r")).value_or(0);
            const std::uint64_t row = number > 0 ? number - 1 : m_nextRow;
            m_nextRow = std::min(row + 1, kFarAway);
            m_nextColumn = 0;
            m_grid.startRows(row, 1);
        } else if (element.name == "c" && openIsSpreadsheet(1, "row")) {
            m_column = referenceColumn(plain("r")).value_or(m_nextColumn);
            m_nextColumn = std::min(m_column + 1, kFarAway);
            m_type = plain("t");
            m_format = parseUnsigned(plain("s")).value_or(0);
            m_inCell = true;
            m_formula = m_hasValue = false;
            m_value.clear();
            m_inline.clear();
        } else if (m_inCell && element.name == "f" && openIsSpreadsheet(1, "c")) {
            m_formula = true;
        } else if (m_inCell && element.name == "v" && openIsSpreadsheet(1, "c")) {
            m_hasValue = true;
            m_capture = &m_value;
        } else if (m_inCell && element.name == "t"
            && (openIsSpreadsheet(1, "is")
                || (openIsSpreadsheet(1, "r") && openIsSpreadsheet(2, "is")))) {
            m_capture = &m_inline;
        }
        forgetAttributes();
    }

    void end_element(const orcus::sax_ns_parser_element &element)
    {
        if (isSpreadsheet(element.ns)) {
            if (element.name == "v" || element.name == "t")
                m_capture = nullptr;
            else if (element.name == "c" && m_inCell && openIsSpreadsheet(1, "row"))
                endCell();
        }
        leave();
    }

    void characters(std::string_view text, bool)
    {
        if (m_capture)
            m_capture->append(text);
    }

private:
    void endCell()
    {
        m_inCell = false;
        m_capture = nullptr;
        m_grid.add(m_column, 1, cellValue());
    }

    Value cellValue()
    {
        if (m_type == "e")
            return m_grid.error(trimmed(m_value));
        if (m_formula && !m_hasValue)
            return m_grid.error(kNoValue);
        if (m_type == "s") {
            const auto index = parseUnsigned(m_value);
            if (!index || *index >= m_strings.size())
                return {};
            return { SheetDumpCell::Text, 0, m_strings[std::size_t(*index)], 0 };
        }
        if (m_type == "inlineStr")
            return m_grid.text(m_hasValue ? m_value : m_inline);
        if (m_type == "str")
            return m_grid.text(m_value);
        if (m_type == "b") {
            const auto flag = parseBoolean(m_value);
            return flag ? m_grid.number(*flag ? 1 : 0) : unreadable();
        }
        if (m_type == "d") {
            const auto date = isoDate(m_value);
            return date ? m_grid.text(*date) : unreadable();
        }
        if (!m_hasValue)
            return {};
        const auto number = parseNumber(m_value);
        if (!number)
            return unreadable();
        formattedNumbers = formattedNumbers || m_format != 0;
        return m_grid.number(*number, std::uint32_t(std::min<std::uint64_t>(m_format, UINT32_MAX)));
    }

    // A value that cannot be read: a formula cell shows that it has none, like a formula
    // saved without one; any other cell is empty.
    Value unreadable() { return m_formula ? m_grid.error(kNoValue) : Value {}; }

    Grid &m_grid;
    const std::vector<std::uint32_t> &m_strings;
    std::uint64_t m_nextRow = 0;
    std::uint64_t m_nextColumn = 0;
    std::uint64_t m_column = 0; // of the cell being read
    bool m_inCell = false;
    std::string m_type;
    std::uint64_t m_format = 0;
    bool m_formula = false;
    bool m_hasValue = false;
    std::string m_value;
    std::string m_inline;
    std::string *m_capture = nullptr;
};

void readWorkbook(const Package &package, std::string_view sheetName, Grid &grid)
{
    // The package's relationships name the workbook part; "xl/workbook.xml" where they do not.
    const auto packageRelations = readRelations(package, "");
    const std::string workbookPart
        = relatedPart(packageRelations, "", "/officeDocument").value_or("xl/workbook.xml");
    const auto workbookBytes = package.read(workbookPart);
    if (!workbookBytes)
        refuse();
    WorkbookHandler workbook(sheetName);
    parse(*workbookBytes, workbook);
    if (!workbook.sheetId)
        refuse(SheetDumpOutcome::SheetMissing);

    const auto relations = readRelations(package, workbookPart);
    const auto sheet = relations.find(*workbook.sheetId);
    if (sheet == relations.end())
        refuse();
    SharedStringsHandler strings(grid.texts);
    if (const auto part = relatedPart(relations, workbookPart, "/sharedStrings"))
        if (const auto bytes = package.read(*part))
            parse(*bytes, strings);
    const auto sheetBytes = package.read(resolvePart(workbookPart, sheet->second.target));
    if (!sheetBytes)
        refuse();
    SheetHandler handler(grid, strings.strings);
    parse(*sheetBytes, handler);

    // The styles tell dates from numbers; they are read only when a number has a format.
    if (!handler.formattedNumbers)
        return;
    StylesHandler styles;
    if (const auto part = relatedPart(relations, workbookPart, "/styles"))
        if (const auto bytes = package.read(*part))
            parse(*bytes, styles);
    const std::vector<DateKind> &formats = styles.cellFormats;
    grid.forEachNumber([&](Value &value) {
        if (value.format >= formats.size() || formats[value.format] == DateKind::None)
            return;
        if (const auto date = serialDate(value.number, formats[value.format], workbook.from1904))
            value = grid.text(*date);
    });
}

// ---------------------------------------------------------------------------------------------
// .ods

// content.xml: <table:table table:name="..."><table:table-row table:number-rows-repeated="N">
// <table:table-cell office:value-type="..." table:formula="..." calcext:value-type="error"
// table:number-columns-repeated="N"><text:p>...</text:p></table:table-cell>. Rows may stand in
// row groups and header rows; covered cells (under a merged one) take their place like others.
class ContentHandler : public PartHandler
{
public:
    ContentHandler(Grid &grid, std::string_view sheetName)
        : m_grid(grid)
        , m_sheetName(sheetName)
    {
    }

    bool found = false;

    void start_element(const orcus::sax_ns_parser_element &element)
    {
        enter(element);
        if (element.ns == kTable && element.name == "table") {
            if (m_tables > 0) {
                ++m_tables; // a table inside the sheet's cells: not its rows
            } else if (!found && (m_sheetName.empty() || value(kTable, "name") == m_sheetName)) {
                found = true;
                m_tables = 1;
            }
        } else if (m_tables == 1 && element.ns == kTable && element.name == "table-row") {
            m_rowCount = parseCount(value(kTable, "number-rows-repeated"));
            m_column = 0;
            m_grid.startRows(m_row, m_rowCount);
        } else if (m_tables == 1 && element.ns == kTable
            && (element.name == "table-cell" || element.name == "covered-table-cell")
            && openIs(1, kTable, "table-row")) {
            startCell();
        } else if (m_cellDepth > 0) {
            startInCell(element);
        }
        forgetAttributes();
    }

    void end_element(const orcus::sax_ns_parser_element &element)
    {
        if (m_cellDepth > 0 && depth() == m_cellDepth) {
            endCell();
        } else if (m_cellDepth > 0) {
            if (depth() == m_paragraphDepth)
                m_paragraphDepth = 0;
            if (depth() == m_annotationDepth)
                m_annotationDepth = 0;
        } else if (m_tables == 1 && element.ns == kTable && element.name == "table-row") {
            m_row = std::min(m_row + m_rowCount, kFarAway);
        }
        leave();
        if (element.ns == kTable && element.name == "table" && m_tables > 0 && --m_tables == 0)
            throw Finished {}; // the sheet sought has ended
    }

    void characters(std::string_view text, bool)
    {
        if (m_paragraphDepth > 0 && m_annotationDepth == 0)
            append(text);
    }

private:
    void startCell()
    {
        m_cellDepth = depth();
        m_cellColumns = parseCount(value(kTable, "number-columns-repeated"));
        m_formula = find(kTable, "formula").has_value();
        m_type = value(kOffice, "value-type");
        m_calcType = value(kCalcExt, "value-type");
        m_number = value(kOffice, "value");
        m_date = value(kOffice, "date-value");
        m_time = value(kOffice, "time-value");
        m_boolean = value(kOffice, "boolean-value");
        const auto stringValue = find(kOffice, "string-value");
        m_hasString = stringValue.has_value();
        m_string = stringValue.value_or(std::string_view());
        m_text.clear();
        m_paragraphs = 0;
        m_paragraphDepth = m_annotationDepth = 0;
    }

    void startInCell(const orcus::sax_ns_parser_element &element)
    {
        if (element.ns == kOffice && element.name == "annotation" && m_annotationDepth == 0) {
            m_annotationDepth = depth();
        } else if (element.ns == kText && element.name == "p" && depth() == m_cellDepth + 1) {
            if (m_paragraphs++ > 0)
                append("\n");
            m_paragraphDepth = depth();
        } else if (m_paragraphDepth > 0 && m_annotationDepth == 0 && element.ns == kText) {
            if (element.name == "s") {
                const std::uint64_t spaces = parseCount(value(kText, "c"));
                if (spaces > kMaxCellText)
                    refuse(SheetDumpOutcome::TooLarge);
                append(std::string(spaces, ' '));
            } else if (element.name == "tab") {
                append("\t");
            } else if (element.name == "line-break") {
                append("\n");
            }
        }
    }

    void append(std::string_view text)
    {
        if (m_text.size() + text.size() > kMaxCellText)
            refuse(SheetDumpOutcome::TooLarge);
        m_text.append(text);
    }

    void endCell()
    {
        m_cellDepth = 0;
        m_paragraphDepth = m_annotationDepth = 0;
        m_grid.add(m_column, m_cellColumns, cellValue());
        m_column = std::min(m_column + m_cellColumns, kFarAway);
    }

    Value cellValue()
    {
        if (m_calcType == "error")
            return m_grid.error(m_text);
        if (m_type == "float" || m_type == "percentage" || m_type == "currency") {
            const auto number = parseNumber(m_number);
            return number ? m_grid.number(*number) : unreadable();
        }
        if (m_type == "boolean") {
            const auto flag = parseBoolean(m_boolean);
            return flag ? m_grid.number(*flag ? 1 : 0) : unreadable();
        }
        if (m_type == "date") {
            const auto date = isoDate(m_date);
            return m_grid.text(date ? *date : m_text);
        }
        if (m_type == "time") {
            const auto time = isoDuration(m_time);
            return m_grid.text(time ? *time : m_text);
        }
        if (m_type == "string")
            return m_grid.text(m_hasString ? m_string : m_text);
        if (m_formula)
            return m_grid.error(kNoValue); // a formula that was never calculated
        return m_grid.text(m_text);
    }

    // A value that cannot be read: a formula cell shows that it has none, like a formula
    // never calculated; any other cell is empty.
    Value unreadable() { return m_formula ? m_grid.error(kNoValue) : Value {}; }

    Grid &m_grid;
    std::string_view m_sheetName;
    std::size_t m_tables = 0; // tables open inside the sheet sought, itself included
    std::uint64_t m_row = 0;
    std::uint64_t m_rowCount = 1;
    std::uint64_t m_column = 0;
    // The cell being read: its element's depth (0 outside cells) and attributes.
    std::size_t m_cellDepth = 0;
    std::uint64_t m_cellColumns = 1;
    bool m_formula = false;
    std::string m_type, m_calcType, m_number, m_date, m_time, m_boolean, m_string;
    bool m_hasString = false;
    std::string m_text; // its paragraphs, one line each
    std::size_t m_paragraphs = 0;
    std::size_t m_paragraphDepth = 0; // of the paragraph being read, 0 outside one
    std::size_t m_annotationDepth = 0; // of a comment on the cell, whose text is not the cell's
};

void readSpreadsheet(const Package &package, std::string_view sheetName, Grid &grid)
{
    const auto content = package.read("content.xml");
    if (!content)
        refuse();
    ContentHandler handler(grid, sheetName);
    parse(*content, handler);
    if (!handler.found)
        refuse(SheetDumpOutcome::SheetMissing);
}

bool endsWith(std::string_view text, std::string_view tail)
{
    if (text.size() < tail.size())
        return false;
    const std::string_view end = text.substr(text.size() - tail.size());
    return std::equal(end.begin(), end.end(), tail.begin(),
        [](char a, char b) { return std::tolower(static_cast<unsigned char>(a)) == b; });
}

} // namespace

void dumpOpenDocumentSheet(const char *path, std::string_view sheetName, int maxColumns,
    unsigned maxRows, const SheetDumpSink &sink, bool withHeading)
{
    DumpWriter writer(sink);
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return writer.finish(
            errno == ENOENT ? SheetDumpOutcome::FileMissing : SheetDumpOutcome::Damaged);
    Grid grid(maxColumns, maxRows);
    try {
        std::string bytes;
        file.seekg(0, std::ios::end);
        bytes.resize(std::size_t(std::max<std::streamoff>(file.tellg(), 0)));
        file.seekg(0);
        if (!file.read(bytes.data(), std::streamsize(bytes.size())))
            refuse();
        const Package package(std::move(bytes));
        if (endsWith(path, ".ods"))
            readSpreadsheet(package, sheetName, grid);
        else
            readWorkbook(package, sheetName, grid);
    } catch (const Refusal &refusal) {
        return writer.finish(refusal.outcome);
    } catch (...) { // whatever liborcus throws at a damaged part, and memory running out
        return writer.finish(SheetDumpOutcome::Damaged);
    }
    grid.write(writer, withHeading);
}

} // namespace kelsa
