// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzz target of the workbook reader: the bytes become a workbook file, whose sheet "Лист1" is
// read cell by cell as the reference tables read it.
//
// The sheet is dumped in this process with dumpSheet(), not through readSheet(). readSheet()
// runs FreeXL in the reader program: the coverage it gathers dies with it, so the fuzzer
// would be blind, and a crash in the child is by design only an "Unreadable" table, so the
// sanitizers would report nothing. In this process the fuzzer sees every branch of sheetdump,
// AddressSanitizer sees each call FreeXL makes into the C library (memcpy, strlen, fread) and
// every block it allocates or leaks, and a FreeXL crash is kept as a reproducer. FreeXL itself
// is Debian's build without coverage, so the fuzzer does not steer by its branches; the seed
// workbooks and their mutations carry it through the parser.
//
// Before FreeXL sees the file, the bytes go to readFormulaValues(), which reads the saved values
// of formula cells from the workbook stream by itself: it runs on every input, also on those
// FreeXL refuses, and its values are checked for what the dump may hold.
//
// A dump that says Ok is then checked against what readSheets() makes of the same file through
// the reader program, so that the decoding of the dump in the parent is fuzzed too. A crash
// inside FreeXL ends this process; ./fuzz runs this target with -fork and -ignore_crashes and
// sorts each kept crash into FreeXL's or ours by its stack.
#include "fuzzcheck.h"

#include "core/numbers/numbertext.h"
#include "core/tables/biffformulas.h"
#include "core/tables/sheetdump.h"
#include "core/tables/workbookreader.h"

#include <QByteArray>
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

// The sheet the reference tables read, and the limits readSheet() passes to dumpSheet().
constexpr std::string_view kSheet = "Лист1";
constexpr unsigned kMaxRows = 65536;

// A dump taken apart: the outcome and, after Ok, the rows as texts the tables would show, and
// the cells that show an error, in sheet order.
struct Dump {
    kelsa::SheetDumpOutcome outcome = kelsa::SheetDumpOutcome::Damaged;
    int columns = 0;
    std::vector<QStringList> rows;
    QList<kelsa::SheetReadResult::CellError> errors; // record: the row of `rows`
};

// What a formula cell shows in place of a value.
bool isErrorText(std::string_view text)
{
    for (const std::string_view error :
        { "#NULL!", "#DIV/0!", "#VALUE!", "#REF!", "#NAME?", "#NUM!", "#N/A" })
        if (text == error)
            return true;
    return false;
}

// The formula values read from the bytes of the file: in the cells asked for, numbers finite,
// errors one of the texts a cell shows.
void checkFormulaValues(const std::uint8_t *data, std::size_t size)
{
    const std::string_view file(reinterpret_cast<const char *>(data), size);
    const kelsa::FormulaValues values
        = kelsa::readFormulaValues(file, kSheet, kMaxRows, kelsa::kMaxSheetFields);
    for (const auto &[cell, value] : values) {
        KELSA_FUZZ_CHECK((cell & 0xffff) < unsigned(kelsa::kMaxSheetFields));
        switch (value.kind) {
        case kelsa::FormulaValue::Kind::Number:
            KELSA_FUZZ_CHECK(std::isfinite(value.number));
            break;
        case kelsa::FormulaValue::Kind::Text:
            KELSA_FUZZ_CHECK(QString::fromStdString(value.text).toStdString() == value.text);
            break;
        case kelsa::FormulaValue::Kind::Error:
            KELSA_FUZZ_CHECK(isErrorText(value.text));
            break;
        default:
            KELSA_FUZZ_CHECK(!"a formula value of unknown kind");
        }
    }
}

// Checks the stream dumpSheet() wrote cell by cell and returns what it holds.
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
    KELSA_FUZZ_CHECK(outcome <= std::uint8_t(kelsa::SheetDumpOutcome::SheetMissing));
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
    for (;;) {
        std::uint8_t kind = 0;
        take(&kind, 1);
        if (kind == std::uint8_t(kelsa::SheetDumpCell::End)) {
            KELSA_FUZZ_CHECK(row.isEmpty());
            break;
        }
        QString text;
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
            const std::string_view utf8(bytes.data() + at, length);
            text = QString::fromUtf8(utf8.data(), qsizetype(utf8.size()));
            at += length;
            if (kelsa::SheetDumpCell(kind) == kelsa::SheetDumpCell::Error) {
                KELSA_FUZZ_CHECK(isErrorText(utf8));
                dump.errors.append({ int(dump.rows.size()), int(row.size()), text });
            }
            break;
        }
        default:
            KELSA_FUZZ_CHECK(!"a cell of unknown kind");
        }
        row.append(text);
        if (row.size() == columns) {
            dump.rows.push_back(row);
            row.clear();
        }
    }
    KELSA_FUZZ_CHECK(at == bytes.size());
    // The heading row is not dumped.
    KELSA_FUZZ_CHECK(dump.rows.size() < kMaxRows);
    return dump;
}

bool isEmptyRow(const QStringList &row)
{
    for (const QString &text : row) {
        if (!text.isEmpty())
            return false;
    }
    return true;
}

// The records readSheet() must give for an Ok dump: every row up to the last one that holds a
// value. An error cell holds one, so every error lies among them.
QList<QStringList> expectedRecords(const Dump &dump)
{
    std::size_t count = dump.rows.size();
    while (count > 0 && isEmptyRow(dump.rows[count - 1]))
        --count;
    return QList<QStringList>(dump.rows.begin(), dump.rows.begin() + qsizetype(count));
}

std::string g_path; // the workbook file of this process, rewritten for each input

void removeWorkbook()
{
    if (!g_path.empty()) {
        std::remove(g_path.c_str());
        ::rmdir(g_path.substr(0, g_path.rfind('/')).c_str());
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    // One folder per process: with -fork several jobs run at once.
    std::string folder = QDir::tempPath().toStdString() + "/kelsa-fuzz-XXXXXX";
    if (!::mkdtemp(folder.data()))
        std::abort();
    g_path = folder + "/книга.xls";
    std::atexit(removeWorkbook);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    std::FILE *file = std::fopen(g_path.c_str(), "wb");
    KELSA_FUZZ_CHECK(file);
    KELSA_FUZZ_CHECK(std::fwrite(data, 1, size, file) == size);
    std::fclose(file);

    checkFormulaValues(data, size);

    const QLocale ru(QLocale::Russian, QLocale::Russia);
    std::string bytes;
    kelsa::dumpSheet(
        g_path.c_str(), kSheet, kelsa::kMaxSheetFields, kMaxRows, [&bytes](std::string_view piece) {
            bytes.append(piece);
            return true;
        });
    const Dump dump = parseDump(bytes, ru);
    if (dump.outcome != kelsa::SheetDumpOutcome::Ok)
        return 0;

    // The same file through the reader program and the parent's decoding of its dump.
    const kelsa::SheetReadResult result
        = kelsa::readSheets({ { QString::fromStdString(g_path), QString::fromUtf8(kSheet), 2 } },
            ru, QStringLiteral(KELSA_SHEET_READER))
              .constFirst();
    using Status = kelsa::SheetReadResult::Status;
    KELSA_FUZZ_CHECK(result.columnCount == dump.columns);
    if (dump.columns < 2) {
        KELSA_FUZZ_CHECK(result.status == Status::TooFewColumns);
        KELSA_FUZZ_CHECK(result.records.isEmpty());
        return 0;
    }
    KELSA_FUZZ_CHECK(result.status == Status::Ok);
    KELSA_FUZZ_CHECK(result.records == expectedRecords(dump));
    KELSA_FUZZ_CHECK(result.cellErrors == dump.errors);
    return 0;
}
