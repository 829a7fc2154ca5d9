// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzz target of the .xlsx and .ods reader: the bytes become a workbook whose sheet "Лист1" is
// dumped cell by cell in this process with dumpOpenDocumentSheet(), as fuzz_workbook.cpp does
// for .xls (see there why in this process).
//
// The first byte chooses what the rest is:
//   0  a whole .xlsx file             1  a whole .ods file
//   2  the XML of an .xlsx sheet, its shared strings and its styles, separated by NUL bytes,
//      packed here into a workbook whose "Лист1" they are
//   3  the content.xml of an .ods file, packed here into one
// Whole files reach the zip reader; packed parts are stored uncompressed, so that the fuzzer's
// changes reach the XML parser and the reading of cells instead of spoiling a deflate stream.
// The fuzz build compiles the reader with FUZZING_BUILD_MODE_UNSAFE_FOR_PRODUCTION, which skips
// the checksum of each part for the same reason.
//
// A dump that says Ok is checked against what readSheets() makes of the same file through the
// reader program, which fuzzes the parent's decoding of Error cells and its list of them.
#include "fuzzcheck.h"

#include "core/numbers/numbertext.h"
#include "core/tables/opendocumentdump.h"
#include "core/tables/workbookreader.h"

#include <QDir>
#include <QList>
#include <QLocale>
#include <QString>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include <unistd.h>

namespace
{

constexpr std::string_view kSheet = "Лист1";
constexpr unsigned kMaxRows = 65536;

// A dump taken apart: the outcome and, after Ok, the rows as the tables would show them.
struct Dump {
    kelsa::SheetDumpOutcome outcome = kelsa::SheetDumpOutcome::Damaged;
    int columns = 0;
    std::vector<QStringList> rows;
    std::vector<std::vector<bool>> errors; // per row, per column: an Error cell
};

// Checks the stream cell by cell and returns what it holds.
Dump parseDump(const std::string &bytes, const QLocale &locale)
{
    Dump dump;
    std::size_t at = 0;
    const auto take = [&](void *value, std::size_t size) {
        KELSA_FUZZ_CHECK(bytes.size() - at >= size);
        std::memcpy(value, bytes.data() + at, size);
        at += size;
    };
    std::uint8_t outcome = 0;
    take(&outcome, 1);
    KELSA_FUZZ_CHECK(outcome <= std::uint8_t(kelsa::SheetDumpOutcome::TooLarge));
    KELSA_FUZZ_CHECK(outcome != std::uint8_t(kelsa::SheetDumpOutcome::FileMissing));
    dump.outcome = kelsa::SheetDumpOutcome(outcome);
    if (dump.outcome != kelsa::SheetDumpOutcome::Ok) {
        KELSA_FUZZ_CHECK(at == bytes.size());
        return dump;
    }
    std::uint16_t columns = 0;
    take(&columns, sizeof columns);
    KELSA_FUZZ_CHECK(columns <= kelsa::kMaxSheetFields);
    dump.columns = columns;
    QStringList row;
    std::vector<bool> errors;
    for (;;) {
        std::uint8_t kind = 0;
        take(&kind, 1);
        if (kind == std::uint8_t(kelsa::SheetDumpCell::End)) {
            KELSA_FUZZ_CHECK(row.isEmpty());
            break;
        }
        QString text;
        bool error = false;
        switch (kelsa::SheetDumpCell(kind)) {
        case kelsa::SheetDumpCell::Empty:
            break;
        case kelsa::SheetDumpCell::Number: {
            double value = 0;
            take(&value, sizeof value);
            KELSA_FUZZ_CHECK(std::isfinite(value));
            text = kelsa::writeNumber(value, locale);
            break;
        }
        case kelsa::SheetDumpCell::Text:
        case kelsa::SheetDumpCell::Error: {
            std::uint32_t length = 0;
            take(&length, sizeof length);
            KELSA_FUZZ_CHECK(bytes.size() - at >= length);
            // Empty texts are written as Empty cells, and every error has its text.
            KELSA_FUZZ_CHECK(length > 0);
            text = QString::fromUtf8(bytes.data() + at, length);
            at += length;
            error = kelsa::SheetDumpCell(kind) == kelsa::SheetDumpCell::Error;
            break;
        }
        default:
            KELSA_FUZZ_CHECK(!"a cell of unknown kind");
        }
        row.append(text);
        errors.push_back(error);
        if (row.size() == columns) {
            dump.rows.push_back(row);
            dump.errors.push_back(errors);
            row.clear();
            errors.clear();
        }
    }
    KELSA_FUZZ_CHECK(at == bytes.size());
    // The heading row is not dumped, and a dump ends with a row that holds something.
    KELSA_FUZZ_CHECK(dump.rows.size() < kMaxRows);
    if (!dump.rows.empty())
        for (const QString &text : dump.rows.back())
            if (!text.isEmpty())
                return dump;
    KELSA_FUZZ_CHECK(dump.rows.empty());
    return dump;
}

// The zip checksum, for the archives packed here.
std::uint32_t crc32(std::string_view bytes)
{
    std::uint32_t c = 0xFFFFFFFFu;
    for (const unsigned char byte : bytes) {
        c ^= byte;
        for (int bit = 0; bit < 8; ++bit)
            c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
    }
    return c ^ 0xFFFFFFFFu;
}

// A zip archive of the parts, stored uncompressed.
std::string zipOf(const std::vector<std::pair<std::string, std::string_view>> &parts)
{
    std::string archive, directory;
    // `bytes` bytes of `value`, least significant first (zeros past its four).
    const auto put = [](std::string &to, std::uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i, value >>= 8)
            to += char(value & 0xFF);
    };
    for (const auto &[name, data] : parts) {
        const auto offset = std::uint32_t(archive.size());
        const std::uint32_t crc = crc32(data);
        put(archive, 0x04034b50, 4);
        put(archive, 20, 2); // version needed
        put(archive, 0, 2 + 2 + 4); // flags, stored, time and date
        put(archive, crc, 4);
        put(archive, std::uint32_t(data.size()), 4);
        put(archive, std::uint32_t(data.size()), 4);
        put(archive, std::uint32_t(name.size()), 2);
        put(archive, 0, 2);
        archive += name;
        archive += data;
        put(directory, 0x02014b50, 4);
        put(directory, 20, 2 + 2); // made by, needed
        put(directory, 0, 2 + 2 + 4);
        put(directory, crc, 4);
        put(directory, std::uint32_t(data.size()), 4);
        put(directory, std::uint32_t(data.size()), 4);
        put(directory, std::uint32_t(name.size()), 2);
        put(directory, 0, 2 + 2 + 2 + 2 + 4); // extra, comment, disk, attributes
        put(directory, offset, 4);
        directory += name;
    }
    const auto start = std::uint32_t(archive.size());
    archive += directory;
    put(archive, 0x06054b50, 4);
    put(archive, 0, 2 + 2);
    put(archive, std::uint32_t(parts.size()), 2);
    put(archive, std::uint32_t(parts.size()), 2);
    put(archive, std::uint32_t(directory.size()), 4);
    put(archive, start, 4);
    put(archive, 0, 2);
    return archive;
}

// An .xlsx whose sheet "Лист1" has the given XML, shared strings and styles.
std::string xlsxOf(std::string_view input)
{
    std::string_view parts[3];
    for (int i = 0; i < 2; ++i) {
        const std::size_t nul = std::min(input.find('\0'), input.size());
        parts[i] = input.substr(0, nul);
        input.remove_prefix(std::min(nul + 1, input.size()));
    }
    parts[2] = input;
    static const std::string rels
        = R"(<?xml version="1.0"?><Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">)"
          R"(<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument" Target="xl/workbook.xml"/></Relationships>)";
    static const std::string workbook
        = R"(<?xml version="1.0"?><workbook xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main")"
          R"( xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships"><sheets>)"
          R"(<sheet name="Лист1" sheetId="1" r:id="rId1"/></sheets></workbook>)";
    static const std::string workbookRels
        = R"(<?xml version="1.0"?><Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">)"
          R"(<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet" Target="worksheets/sheet1.xml"/>)"
          R"(<Relationship Id="rId2" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/sharedStrings" Target="sharedStrings.xml"/>)"
          R"(<Relationship Id="rId3" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/styles" Target="styles.xml"/></Relationships>)";
    return zipOf({ { "_rels/.rels", rels }, { "xl/workbook.xml", workbook },
        { "xl/_rels/workbook.xml.rels", workbookRels }, { "xl/worksheets/sheet1.xml", parts[0] },
        { "xl/sharedStrings.xml", parts[1] }, { "xl/styles.xml", parts[2] } });
}

std::string g_folder; // of this process's workbook files, rewritten for each input

void removeWorkbooks()
{
    for (const char *name : { "/книга.xlsx", "/книга.ods" })
        std::remove((g_folder + name).c_str());
    ::rmdir(g_folder.c_str());
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    // One folder per process: with -fork several jobs run at once.
    g_folder = QDir::tempPath().toStdString() + "/kelsa-fuzz-XXXXXX";
    if (!::mkdtemp(g_folder.data()))
        std::abort();
    std::atexit(removeWorkbooks);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return 0;
    const int mode = data[0] % 4;
    const std::string_view input(reinterpret_cast<const char *>(data) + 1, size - 1);
    const bool ods = mode == 1 || mode == 3;
    std::string file;
    if (mode < 2)
        file = input;
    else if (mode == 2)
        file = xlsxOf(input);
    else
        file = zipOf({ { "mimetype", "application/vnd.oasis.opendocument.spreadsheet" },
            { "content.xml", input } });
    const std::string path = g_folder + (ods ? "/книга.ods" : "/книга.xlsx");
    std::FILE *out = std::fopen(path.c_str(), "wb");
    KELSA_FUZZ_CHECK(out);
    KELSA_FUZZ_CHECK(std::fwrite(file.data(), 1, file.size(), out) == file.size());
    std::fclose(out);

    const QLocale ru(QLocale::Russian, QLocale::Russia);
    std::string bytes;
    kelsa::dumpOpenDocumentSheet(
        path.c_str(), kSheet, kelsa::kMaxSheetFields, kMaxRows, [&bytes](std::string_view piece) {
            bytes.append(piece);
            return true;
        });
    const Dump dump = parseDump(bytes, ru);
    // The parent refuses a file without the zip signature before the child sees it.
    if (dump.outcome != kelsa::SheetDumpOutcome::Ok || file.compare(0, 4, "PK\x03\x04") != 0)
        return 0;

    // The same file through the reader program and the parent's decoding of its dump.
    const kelsa::SheetReadResult result
        = kelsa::readSheets({ { QString::fromStdString(path), QString::fromUtf8(kSheet), 2 } }, ru,
            QStringLiteral(KELSA_SHEET_READER))
              .constFirst();
    using Status = kelsa::SheetReadResult::Status;
    KELSA_FUZZ_CHECK(result.columnCount == dump.columns);
    if (dump.columns < 2) {
        KELSA_FUZZ_CHECK(result.status == Status::TooFewColumns);
        KELSA_FUZZ_CHECK(result.records.isEmpty() && result.cellErrors.isEmpty());
        return 0;
    }
    KELSA_FUZZ_CHECK(result.status == Status::Ok);
    KELSA_FUZZ_CHECK(result.records
        == QList<QStringList>(dump.rows.begin(), dump.rows.begin() + qsizetype(dump.rows.size())));
    QList<kelsa::SheetReadResult::CellError> errors;
    for (std::size_t r = 0; r < dump.rows.size(); ++r)
        for (int c = 0; c < dump.columns; ++c)
            if (dump.errors[r][std::size_t(c)])
                errors.append({ int(r), c, dump.rows[r][c] });
    KELSA_FUZZ_CHECK(result.cellErrors == errors);
    return 0;
}
