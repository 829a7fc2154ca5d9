// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QLocale>
#include <QString>
#include <QStringList>

#include <memory>

namespace kelsa
{

// The rightmost field a reference table binds is "F26"; columns further right are not read.
inline constexpr int kMaxSheetFields = 26;

// One sheet of a reference workbook, read as the tables show it.
struct SheetReadResult {
    enum class Status {
        Ok,
        FileMissing, // no file at the path
        NotAFile, // a folder or another non-file stands there
        NoPermission, // the file cannot be opened for reading
        FileTooLarge, // far larger than any reference table, on disk or unpacked
        NotAWorkbook, // not an Excel 97-2003 compound file, nor a zip archive for .xlsx/.ods
        Damaged, // a workbook that cannot be parsed, or that made the reader crash
        Password, // an encrypted workbook
        SheetMissing, // no sheet of the requested name
        TooFewColumns, // the sheet has fewer columns than the table binds
        SheetTooLarge, // the sheet's cells would not fit the size a reference table may have
        TimedOut, // the reader gave no answer in time: a damaged file sent it round in circles
    };

    Status status = Status::Ok;
    // Columns of the sheet, at most kMaxSheetFields. Set for Ok and TooFewColumns.
    int columnCount = 0;
    // The rows below the heading row, in sheet order; records[r][k] is field "F(k+1)" and
    // every record has columnCount texts. Empty rows after the last row with a value are not
    // records; empty rows between records are. Empty unless the status is Ok.
    QList<QStringList> records;

    // A formula cell that holds no number: its saved value is an error, or it has none. The
    // record shows the text in its place, never an empty cell.
    struct CellError {
        int record; // index into records
        int column; // 0 is "F1"
        QString text; // "#DIV/0!", "#N/A"
        friend bool operator==(const CellError &, const CellError &) = default;
    };
    QList<CellError> cellErrors; // in sheet order
};

// Opens an Excel 97-2003 workbook (.xls), selects the sheet named sheetName (compared exactly),
// skips its first row and returns the records as texts: a number cell is written by
// writeNumber() in `locale` ("0,85" under a Russian locale), a text cell unchanged, a date or
// time cell as FreeXL spells it ("2024-03-15"), and an empty cell as the empty text. A formula
// cell reads as the value the spreadsheet saved with it: a number like a number cell, TRUE and
// FALSE as 1 and 0, a text unchanged; one whose saved value is an error reads as the error's
// text ("#DIV/0!") and one saved with no usable value as "#N/A", both listed in cellErrors.
//
// An .xlsx or .ods workbook (told by the extension) is read the same way, with liborcus, and
// there a formula cell gives the value the spreadsheet saved with it: a number, a text, TRUE as
// 1, or, for an error, the error's text ("#DIV/0!"), and for a formula never calculated or
// saved with a value that cannot be read, "#N/A"; both are also listed in cellErrors. A text
// cell that names a shared string the workbook does not have is empty. A workbook whose parts
// would unpack to more than a reference table can need (a zip bomb) is FileTooLarge.
//
// requiredColumns (0 to kMaxSheetFields) is the number of columns the table binds: a sheet with
// fewer is TooFewColumns. Any other failure gives its status and no records. A sheet with only
// its heading row is Ok with no records.
//
// FreeXL or liborcus parses the file in a child process (see isolatedrun.h), so a damaged file
// that makes it crash, loop or ask for gigabytes costs the program nothing but that table:
// Damaged, or TimedOut after at most 10 s.
SheetReadResult readSheet(const QString &filePath, const QString &sheetName, int requiredColumns,
    const QLocale &locale = QLocale());

// The workbook a table named "т11.1.xls" is read from: that file when it exists, otherwise
// "т11.1.xlsx" or "т11.1.ods" beside it (in this order) when one of those does, otherwise the
// .xls path, which then reads as missing.
QString workbookFile(const QString &excel97Path);

struct SheetRequest {
    QString filePath;
    QString sheetName; // empty: the workbook's first sheet, whatever its name
    int requiredColumns = 0;
    // The heading row is read too, as the first record (the support catalogue takes the unit
    // of its moments from it). Its row numbers then are the sheet's, less one.
    bool withHeading = false;
    // The columns read, from the first: a reference table binds at most kMaxSheetFields; a
    // schedule of supports has more. Columns past it are not read.
    int maxColumns = kMaxSheetFields;
};

// readSheet() for several workbooks at once, results in the order of the requests. All are
// parsed in one child process, which makes opening the ten reference tables one fork instead
// of ten; a workbook that brings the child down fails alone and the rest are read on.
QList<SheetReadResult> readSheets(
    const QList<SheetRequest> &requests, const QLocale &locale = QLocale());

// readSheets() in two steps: the child starts parsing when the reading is made, and results()
// waits for it, so that the caller can do other work meanwhile (the main window builds its
// controls). The files are looked at, and the locale taken, when the reading is made.
class SheetReading
{
public:
    explicit SheetReading(const QList<SheetRequest> &requests, const QLocale &locale = QLocale());
    SheetReading(const SheetReading &) = delete;
    SheetReading &operator=(const SheetReading &) = delete;
    ~SheetReading();

    QList<SheetReadResult> results();

private:
    struct State;
    std::unique_ptr<State> m_state;
};

} // namespace kelsa
