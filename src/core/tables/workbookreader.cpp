// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/tables/workbookreader.h"

#include "core/numbers/numbertext.h"
#include "core/platform/isolatedrun.h"
#include "core/tables/sheetdump.h"
#ifndef KELSA_SHEET_READER_FROM_BIN
#include "core/tables/opendocumentdump.h"
#endif

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kelsa
{

namespace
{

using Status = SheetReadResult::Status;

// An Excel 97-2003 sheet has at most 65,536 rows, and its cell records address rows with
// 16 bits, so a row beyond that can hold nothing even when a damaged file claims more.
constexpr unsigned int kMaxSheetRows = 65536;

// Reference tables are a few kilobytes. A larger file is not one, and FreeXL would hold its
// string and allocation tables in memory.
constexpr qint64 kMaxFileBytes = qint64(64) * 1024 * 1024;
// The dump of a full sheet of short texts stays well below this; a damaged file that points
// every cell at one long string does not.
constexpr qsizetype kMaxDumpBytes = qsizetype(64) * 1024 * 1024;

// A sound workbook of 65,536 rows is read in well under a second; one that takes this long
// has sent FreeXL round in circles.
constexpr int kReadTimeoutMs = 10000;

SheetReadResult failure(Status status)
{
    SheetReadResult result;
    result.status = status;
    return result;
}

// The kinds of workbook the reader opens, told apart by the file's extension.
enum class WorkbookKind { Excel97, OpenDocument };

WorkbookKind workbookKind(const QString &path)
{
    return path.endsWith(QLatin1String(".xls"), Qt::CaseInsensitive) ? WorkbookKind::Excel97
                                                                     : WorkbookKind::OpenDocument;
}

// Every Excel 97-2003 workbook is a compound file, and every .xlsx and .ods a zip archive;
// each starts with its own signature.
bool hasWorkbookSignature(const QString &path)
{
    static constexpr char compoundFile[] = "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1";
    static constexpr char zipArchive[] = "PK\x03\x04";
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray start = file.read(8);
    return workbookKind(path) == WorkbookKind::Excel97 ? start == QByteArray(compoundFile, 8)
                                                       : start.startsWith(zipArchive);
}

// Reads a dump written by dumpSheet(), front to back.
class DumpReader
{
public:
    explicit DumpReader(const QByteArray &bytes)
        : m_bytes(bytes)
    {
    }

    template <typename T> bool take(T &value)
    {
        if (m_bytes.size() - m_at < qsizetype(sizeof value))
            return false;
        std::memcpy(&value, m_bytes.constData() + m_at, sizeof value);
        m_at += sizeof value;
        return true;
    }
    bool takeText(QString &text)
    {
        std::uint32_t length = 0;
        if (!take(length) || m_bytes.size() - m_at < qsizetype(length))
            return false;
        text = QString::fromUtf8(m_bytes.constData() + m_at, length);
        m_at += length;
        return true;
    }

private:
    const QByteArray &m_bytes;
    qsizetype m_at = 0;
};

// Turns the cells of the dump into records; false when the dump breaks off.
bool readRecords(DumpReader &dump, int columns, const QLocale &locale, SheetReadResult &result)
{
    QList<QStringList> &records = result.records;
    QList<int> errorColumns; // of the row being read
    // Empty rows are held back until a row with a value follows them, so that neither the
    // blank tail of a sheet nor a damaged file's claim of many rows becomes records.
    qsizetype pendingEmptyRows = 0;
    QStringList texts;
    if (columns == 0) { // rows without cells: the dump ends at once
        SheetDumpCell end;
        return dump.take(end) && end == SheetDumpCell::End;
    }
    for (;;) {
        texts.clear();
        errorColumns.clear();
        bool empty = true;
        for (int column = 0; column < columns; ++column) {
            SheetDumpCell kind;
            if (!dump.take(kind))
                return false;
            if (kind == SheetDumpCell::End && column == 0)
                return true;
            QString text;
            double number = 0;
            if (kind == SheetDumpCell::Number) {
                if (!dump.take(number))
                    return false;
                text = writeNumberByQt(number, locale); // see its note
            } else if (kind == SheetDumpCell::Text) {
                if (!dump.takeText(text))
                    return false;
            } else if (kind == SheetDumpCell::Error) {
                if (!dump.takeText(text) || text.isEmpty())
                    return false;
                errorColumns.append(column);
            } else if (kind != SheetDumpCell::Empty) {
                return false;
            }
            empty = empty && text.isEmpty();
            texts.append(text);
        }
        if (empty) {
            ++pendingEmptyRows;
            continue;
        }
        for (; pendingEmptyRows > 0; --pendingEmptyRows)
            records.append(QStringList(columns, QString()));
        for (const int column : errorColumns)
            result.cellErrors.append({ int(records.size()), column, texts[column] });
        records.append(texts);
    }
}

// What stops a file before FreeXL sees it, if anything.
std::optional<Status> checkFile(const QFileInfo &info)
{
    if (!info.exists())
        return Status::FileMissing;
    if (!info.isFile())
        return Status::NotAFile;
    if (!info.isReadable())
        return Status::NoPermission;
    if (info.size() > kMaxFileBytes)
        return Status::FileTooLarge;
    if (!hasWorkbookSignature(info.filePath()))
        return Status::NotAWorkbook;
    return std::nullopt;
}

// Why the child stopped while it dumped this file.
Status brokenOff(IsolatedRun::End end)
{
    switch (end) {
    case IsolatedRun::End::TimedOut:
        return Status::TimedOut;
    case IsolatedRun::End::TooMuchOutput:
        return Status::SheetTooLarge;
    default:
        return Status::Damaged;
    }
}

// True when no reader ran to read the files: none could be started, or it ended before writing
// a byte with the status of a program the loader could not start (127, 126: a library of it
// missing) or of a command line it does not take (2: a reader of another version). A reader that
// crashes or runs out of memory on a file has started, and that file is Damaged.
bool readerCannotRun(const IsolatedRun &run)
{
    if (run.end == IsolatedRun::End::NotStarted)
        return true;
    return run.end == IsolatedRun::End::Failed && run.output.isEmpty()
        && (run.exitStatus == 2 || run.exitStatus == 126 || run.exitStatus == 127);
}

// The next dump of the stream as the result for `request`, or nothing if the dump breaks off.
std::optional<SheetReadResult> decode(
    DumpReader &dump, const SheetRequest &request, const QLocale &locale)
{
    SheetDumpOutcome outcome;
    if (!dump.take(outcome))
        return std::nullopt;
    switch (outcome) {
    case SheetDumpOutcome::Ok:
        break;
    case SheetDumpOutcome::FileMissing:
        return failure(Status::FileMissing); // removed since it was looked at
    case SheetDumpOutcome::Password:
        return failure(Status::Password);
    case SheetDumpOutcome::SheetMissing:
        return failure(Status::SheetMissing);
    case SheetDumpOutcome::TooLarge:
        return failure(Status::FileTooLarge);
    default:
        return failure(Status::Damaged);
    }

    std::uint16_t columns = 0;
    if (!dump.take(columns))
        return std::nullopt;
    SheetReadResult result;
    result.columnCount = columns;
    if (!readRecords(dump, columns, locale, result))
        return std::nullopt;
    if (columns >= request.requiredColumns)
        return result;
    result = failure(Status::TooFewColumns);
    result.columnCount = columns;
    return result;
}

} // namespace

SheetReadResult readSheet(
    const QString &filePath, const QString &sheetName, int requiredColumns, const QLocale &locale)
{
    return readSheets({ { filePath, sheetName, requiredColumns } }, locale).constFirst();
}

struct SheetReading::State {
    QList<SheetRequest> requests;
    QLocale locale;
    QList<SheetReadResult> results;
    // The files to parse, with their names and sheet names in the reader's terms.
    QList<qsizetype> pending;
    std::vector<QByteArray> paths;
    std::vector<std::string> sheets;
    std::vector<WorkbookKind> kinds;
    std::vector<bool> headings;
    QByteArray program; // kelsa-sheet-reader
    std::unique_ptr<IsolatedTask> child;

    // One reader dumps the pending files in turn.
    void startChild()
    {
#ifdef KELSA_SHEET_READER_FROM_BIN
        // One column limit for the whole run: the widest request's (files of one reading are
        // all reference tables, or one schedule).
        int columns = 0;
        for (const qsizetype i : pending)
            columns = std::max(columns, requests[i].maxColumns);
        std::vector<std::string> command { program.toStdString(),
            std::to_string(kChildMemoryBudget), std::to_string(columns),
            std::to_string(kMaxSheetRows) };
        for (const qsizetype i : pending) {
            command.emplace_back(kinds[i] == WorkbookKind::Excel97 ? "xls" : "open");
            command.push_back(paths[i].toStdString());
            command.push_back(sheets[i]);
            command.emplace_back(headings[i] ? "heading" : "body");
        }
        child = std::make_unique<IsolatedTask>(command, kReadTimeoutMs, kMaxDumpBytes);
#else
        child = std::make_unique<IsolatedTask>(
            [this](const IsolatedSink &sink) {
                for (const qsizetype i : pending)
                    (kinds[i] == WorkbookKind::Excel97 ? dumpSheet : dumpOpenDocumentSheet)(
                        paths[i].constData(), sheets[i], requests[i].maxColumns, kMaxSheetRows,
                        sink, headings[i]);
            },
            kReadTimeoutMs, kMaxDumpBytes);
#endif
    }
};

SheetReading::SheetReading(
    const QList<SheetRequest> &requests, const QLocale &locale, const QString &readerProgram)
    : m_state(std::make_unique<State>())
{
    State &state = *m_state;
    state.requests = requests;
    state.locale = locale;
    state.program = QFile::encodeName(readerProgram);
    state.results.resize(requests.size());
    state.paths.resize(std::size_t(requests.size()));
    state.sheets.resize(std::size_t(requests.size()));
    state.kinds.resize(std::size_t(requests.size()));
    state.headings.resize(std::size_t(requests.size()));
    for (qsizetype i = 0; i < requests.size(); ++i) {
        if (const auto problem = checkFile(QFileInfo(requests[i].filePath))) {
            state.results[i] = failure(*problem);
            continue;
        }
        state.paths[std::size_t(i)] = QFile::encodeName(requests[i].filePath);
        state.sheets[std::size_t(i)] = requests[i].sheetName.toStdString();
        state.kinds[std::size_t(i)] = workbookKind(requests[i].filePath);
        state.headings[std::size_t(i)] = requests[i].withHeading;
        state.pending.append(i);
    }
    if (!state.pending.isEmpty())
        state.startChild();
}

SheetReading::~SheetReading() = default;

QList<SheetReadResult> SheetReading::results()
{
    State &state = *m_state;
    // Should a child end before its last file, the dumps it finished stand, the one it broke
    // off fails, and a new child takes up the rest.
    while (!state.pending.isEmpty()) {
        if (!state.child)
            state.startChild();
        const IsolatedRun run = state.child->finish();
        state.child.reset();
        if (readerCannotRun(run)) {
            for (const qsizetype i : std::as_const(state.pending))
                state.results[i] = failure(Status::ReaderMissing);
            state.pending.clear();
            break;
        }
        DumpReader dump(run.output);
        qsizetype done = 0;
        for (; done < state.pending.size(); ++done) {
            const qsizetype i = state.pending[done];
            auto result = decode(dump, state.requests[i], state.locale);
            if (!result) {
                state.results[i] = failure(brokenOff(run.end));
                ++done;
                break;
            }
            state.results[i] = std::move(*result);
        }
        state.pending.remove(0, done);
    }
    return state.results;
}

QString workbookFile(const QString &excel97Path)
{
    if (QFileInfo::exists(excel97Path))
        return excel97Path;
    QString stem = excel97Path;
    if (stem.endsWith(QLatin1String(".xls"), Qt::CaseInsensitive))
        stem.chop(4);
    for (const char *extension : { ".xlsx", ".ods" })
        if (QString other = stem + QLatin1String(extension); QFileInfo(other).isFile())
            return other;
    return excel97Path;
}

QString sheetReaderProgram()
{
#ifdef KELSA_SHEET_READER_FROM_BIN
    return QDir::cleanPath(QCoreApplication::applicationDirPath() + QLatin1Char('/')
        + QStringLiteral(KELSA_SHEET_READER_FROM_BIN));
#else
    return {};
#endif
}

QList<SheetReadResult> readSheets(
    const QList<SheetRequest> &requests, const QLocale &locale, const QString &readerProgram)
{
    return SheetReading(requests, locale, readerProgram).results();
}

} // namespace kelsa
