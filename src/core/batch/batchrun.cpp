// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/batch/batchrun.h"

#include "core/batch/csvtable.h"
#include "core/batch/rowreport.h"
#include "core/calc/momentcases.h"
#include "core/calc/momentlabel.h"
#include "core/check/checktext.h"
#include "core/check/supportcheck.h"
#include "core/document/calculationfile.h"
#include "core/numbers/numbertext.h"

#include <QIODevice>
#include <QStringList>
#include <QThread>

#include <algorithm>
#include <future>
#include <span>
#include <vector>

namespace kelsa
{

namespace
{

const QString kSupportColumn = QStringLiteral("support");
const QString kSectionColumn = QStringLiteral("section");
const QString kErrorsColumn = QStringLiteral("errors");
const QString kNotesColumn = QStringLiteral("notes");
const QString kGoverningColumn = QStringLiteral("governing");
const QString kSupportTypeColumn = QStringLiteral("supportType");
const QString kUtilisationColumn = QStringLiteral("utilisation");
// The check's columns between the moments and "errors".
constexpr qsizetype kCheckColumns = 3;

// The columns a run adds: the ten result labels, the check, "errors" and "notes".
QStringList resultColumns()
{
    QStringList names;
    for (const MomentInfo &info : moments())
        names << QString::fromLatin1(info.label);
    return names << kGoverningColumn << kSupportTypeColumn << kUtilisationColumn << kErrorsColumn
                 << kNotesColumn;
}

// What a column of the table fills. A column without a name, as a spreadsheet leaves after
// the last one it filled, is carried along unread; a result column of an earlier run is left
// out, its values computed anew; the support type is read and written in the result's place.
struct Column {
    enum class Kind { Support, Section, Field, Unnamed, Result, SupportType } kind;
    InputField field = InputField::SpanLength;

    bool movesToResult() const { return kind == Kind::Result || kind == Kind::SupportType; }
};

std::optional<InputField> fieldNamedAnyCase(const QString &name)
{
    for (const FieldInfo &info : inputFields())
        if (name.compare(QLatin1String(info.name), Qt::CaseInsensitive) == 0)
            return info.field;
    return std::nullopt;
}

// The columns of a header, or the problem with it.
std::variant<std::vector<Column>, QString> mapHeader(const QStringList &header)
{
    static const QStringList results = resultColumns();
    std::vector<Column> columns;
    QStringList seen;
    for (qsizetype k = 0; k < header.size(); ++k) {
        const QString name = header[k].trimmed();
        if (name.isEmpty()) {
            columns.push_back({ Column::Kind::Unnamed });
            continue;
        }
        if (seen.contains(name, Qt::CaseInsensitive))
            return QStringLiteral("столбец \"%1\" указан дважды").arg(name);
        seen << name;
        if (name.compare(kSupportColumn, Qt::CaseInsensitive) == 0) {
            if (k != 0)
                return QStringLiteral("столбец \"%1\" должен быть первым").arg(kSupportColumn);
            columns.push_back({ Column::Kind::Support });
        } else if (name.compare(kSectionColumn, Qt::CaseInsensitive) == 0) {
            columns.push_back({ Column::Kind::Section });
        } else if (name.compare(kSupportTypeColumn, Qt::CaseInsensitive) == 0) {
            columns.push_back({ Column::Kind::SupportType });
        } else if (const auto field = fieldNamedAnyCase(name)) {
            columns.push_back({ Column::Kind::Field, *field });
        } else if (results.contains(name, Qt::CaseInsensitive)) {
            columns.push_back({ Column::Kind::Result });
        } else {
            return QStringLiteral("неизвестный столбец \"%1\"").arg(name);
        }
    }
    return columns;
}

// Takes the result columns of an earlier run out of a row that has the header's width.
void dropResultColumns(QStringList &cells, const std::vector<Column> &columns)
{
    for (qsizetype k = qsizetype(columns.size()) - 1; k >= 0; --k)
        if (columns[std::size_t(k)].movesToResult())
            cells.removeAt(k);
}

class RowComputer
{
public:
    RowComputer(
        std::vector<Column> columns, const QLocale &locale, const SupportCatalogue &catalogue)
        : m_columns(std::move(columns))
        , m_results(std::count_if(m_columns.begin(), m_columns.end(),
              [](const Column &column) { return column.movesToResult(); }))
        , m_locale(locale)
        , m_start(Calculation::atStart())
        , m_catalogue(catalogue)
    {
    }

    // The row's own cells, padded to the header, followed by the ten moments, the errors,
    // the notes and the cells past the header's width. True when every moment has a value;
    // `bad` tells a row that could not be computed.
    bool compute(QStringList &cells, bool &bad) const
    {
        const qsizetype width = qsizetype(m_columns.size());
        QStringList errors, notes;
        if (cells.size() > width) {
            // Counted without the result columns, which the result has in other places.
            errors << QStringLiteral("row: ячеек %1, а в заголовке %2")
                          .arg(cells.size() - m_results)
                          .arg(width - m_results);
        } else {
            cells.resize(width);
        }
        Calculation calculation = m_start;
        QString chosenType;
        for (qsizetype k = 0; k < width; ++k) {
            const Column &column = m_columns[std::size_t(k)];
            if (column.kind == Column::Kind::SupportType) {
                chosenType = cells[k].trimmed();
            } else if (column.kind == Column::Kind::Field) {
                calculation.text(column.field) = cells[k];
            } else if (column.kind == Column::Kind::Section && !cells[k].trimmed().isEmpty()) {
                if (const auto index = sectionIndex(cells[k]))
                    calculation.setOption(OptionGroup::TrackSection, *index);
                else
                    errors << sectionError(cells[k]);
            }
        }
        if (m_results > 0)
            dropResultColumns(cells, m_columns);
        // The result columns go after the row's own cells, before any past the header.
        const qsizetype at = width - m_results;
        const qsizetype check = at + kMomentCount;
        const qsizetype end = check + kCheckColumns;
        cells.insert(at, kMomentCount + kCheckColumns + 2, QString());
        cells[check + 1] = chosenType;
        bad = !errors.isEmpty();
        if (!bad) {
            qsizetype k = at;
            const auto outcomes = computeMoments(calculation, m_locale);
            for (const MomentOutcome &outcome : outcomes) {
                cells[k++] = momentCell(outcome, m_locale);
                if (const QString error = momentError(outcome); !error.isEmpty())
                    errors << error;
                if (const QString note = momentNote(outcome); !note.isEmpty())
                    notes << note;
            }
            if (const QString error = checkRow(outcomes, chosenType, &cells[check]);
                !error.isEmpty())
                errors << error;
        }
        cells[end] = errors.join(QStringLiteral("; "));
        cells[end + 1] = notes.join(QStringLiteral("; "));
        return errors.isEmpty();
    }

    // Fills the check's three cells from `checkCells` on; returns the row's error, if any.
    QString checkRow(
        std::span<const MomentOutcome> outcomes, const QString &chosen, QString *checkCells) const
    {
        RowCheckCells check = rowCheckCells(m_catalogue, outcomes, chosen, m_locale);
        checkCells[0] = std::move(check.governing);
        checkCells[1] = std::move(check.supportType);
        checkCells[2] = std::move(check.utilisation);
        return check.error;
    }

    // The header of the result: the table's own columns, then the result columns.
    QStringList header(QStringList names) const
    {
        names.resize(qsizetype(m_columns.size()));
        if (m_results > 0)
            dropResultColumns(names, m_columns);
        return names << resultColumns();
    }

    qsizetype width() const { return qsizetype(m_columns.size()); }

private:
    std::vector<Column> m_columns;
    qsizetype m_results; // result columns of an earlier run among them
    QLocale m_locale;
    Calculation m_start;
    const SupportCatalogue &m_catalogue;
};

// Rows are computed a chunk at a time, the chunk shared among the processor's threads while
// the next chunk is read; each thread formats its rows into bytes of its own, which are written
// in row order. Two chunks are all of the table that is held in memory at once, and a chunk is
// bounded by what its rows cost as well as by their count: a row of 10,000 cells, or of a
// megabyte, holds more memory than a chunk of ordinary rows.
constexpr qsizetype kChunkRows = 512;
constexpr qint64 kChunkCost = qint64(8) * 1024 * 1024;
constexpr qsizetype kRowsPerThread = 64; // fewer are not worth a thread

// What a row read holds in memory, roughly, in bytes: its text twice over (as UTF-16 and as
// the UTF-8 written) and a QString for every cell its list has room for or the result has.
qint64 rowCost(qint64 textBytes, qsizetype cells, qsizetype resultWidth)
{
    return 4 * textBytes + 64 * qint64(std::max(cells, resultWidth));
}

struct RowsDone {
    QByteArray bytes;
    qint64 rowsWithErrors = 0;
    qint64 badRows = 0;
    QString unwritable; // the first character with no code in the output's encoding
};

struct OutputFormat {
    char separator;
    QByteArray lineBreak;
    TextEncoding encoding;
};

RowsDone computeRows(
    const RowComputer &computer, std::span<QStringList> rows, const OutputFormat &format)
{
    RowsDone done;
    for (QStringList &cells : rows) {
        bool bad = false;
        if (!computer.compute(cells, bad))
            ++done.rowsWithErrors;
        done.badRows += bad;
        appendCsvRecord(done.bytes, cells, format.separator, format.lineBreak);
    }
    if (format.encoding != TextEncoding::Utf8) {
        std::optional<QByteArray> encoded = encodeUtf8(done.bytes, format.encoding);
        if (!encoded)
            done.unwritable = firstUnwritable(done.bytes, format.encoding);
        done.bytes = encoded ? std::move(*encoded) : QByteArray();
    }
    return done;
}

// Starts computing the rows on up to `threads` threads of their own, a share each. A chunk cut
// short by its cost holds rows that are much work each: it is shared however few they are.
std::vector<std::future<RowsDone>> startRows(const RowComputer &computer,
    std::span<QStringList> rows, bool costly, const OutputFormat &format, int threads)
{
    const qsizetype wanted
        = costly ? qsizetype(rows.size()) : qsizetype(rows.size()) / kRowsPerThread;
    const auto parts = std::size_t(std::clamp<qsizetype>(wanted, 1, threads));
    const std::size_t share = (rows.size() + parts - 1) / parts;
    std::vector<std::future<RowsDone>> started;
    for (std::size_t from = 0; from < rows.size(); from += share)
        started.push_back(std::async(std::launch::async, computeRows, std::cref(computer),
            rows.subspan(from, std::min(share, rows.size() - from)), std::cref(format)));
    return started;
}

struct ChunkRead {
    std::size_t rows = 0;
    bool costly = false; // ended by its cost, not by its count or the table's end
};

// Reads rows into the chunk until it is full or its rows cost kChunkCost.
ChunkRead readRows(CsvReader &reader, std::vector<QStringList> &chunk, qsizetype resultWidth)
{
    ChunkRead read;
    qint64 cost = 0;
    while (read.rows < chunk.size()) {
        if (cost >= kChunkCost) {
            read.costly = true;
            break;
        }
        QStringList &cells = chunk[read.rows];
        const qint64 before = reader.textRead();
        if (!reader.readRecord(cells))
            break;
        // A list keeps its capacity when cleared, so what it holds is counted, not its size.
        cost += rowCost(reader.textRead() - before, cells.capacity(), resultWidth);
        ++read.rows;
    }
    // A list left over from a wider row is let go: only the lists of this chunk, counted in
    // its cost, keep more than the result's width.
    const qsizetype kept = 2 * resultWidth + 64;
    for (std::size_t k = read.rows; k < chunk.size(); ++k)
        if (chunk[k].capacity() > kept)
            chunk[k] = QStringList();
    return read;
}

} // namespace

QLocale localeForDecimal(std::optional<QChar> decimalSeparator)
{
    return decimalSeparator ? calculationFileLocale(*decimalSeparator) : QLocale();
}

QStringList sectionNames()
{
    return { QStringLiteral("Прямая"), QStringLiteral("Вне.кривая"), QStringLiteral("Вну.кривая") };
}

BatchResult runBatch(QIODevice &input, QIODevice &output, const BatchSettings &settings)
{
    CsvReader reader(&input, kLongestCsvRecord, settings.encoding);
    QStringList cells;
    if (!reader.readRecord(cells)) {
        if (!reader.error().isEmpty())
            return BatchProblem { reader.recordLine(), reader.error() };
        return BatchProblem { 1, QStringLiteral("нет строки заголовка") };
    }
    auto columns = mapHeader(cells);
    if (const QString *problem = std::get_if<QString>(&columns))
        return BatchProblem { reader.recordLine(), *problem };

    const RowComputer computer(
        std::get<std::vector<Column>>(std::move(columns)), settings.locale, settings.catalogue);
    const OutputFormat format { char(reader.separator().unicode()), reader.lineBreak(),
        reader.encoding() };
    const qsizetype resultWidth = computer.width() + resultColumns().size();
    // The result is written in the table's encoding: a character it cannot hold (a decimal
    // separator of the user's language) stops the run rather than turn into a substitute.
    const auto unwritable = [&](const QString &character) {
        return BatchProblem { 0,
            QStringLiteral("знака %1 нет в кодировке таблицы %2")
                .arg(character, encodingName(format.encoding)) };
    };

    QByteArray header;
    appendCsvRecord(header, computer.header(cells), format.separator, format.lineBreak);
    const std::optional<QByteArray> encodedHeader = encodeUtf8(header, format.encoding);
    if (!encodedHeader)
        return unwritable(firstUnwritable(header, format.encoding));
    if (reader.hadByteOrderMark())
        output.write(byteOrderMark(format.encoding));
    if (output.write(*encodedHeader) != encodedHeader->size())
        return BatchProblem { 0, output.errorString() };

    const int threads
        = std::max(1, settings.threads > 0 ? settings.threads : QThread::idealThreadCount());
    // While one chunk is computed the next is read.
    std::vector<QStringList> chunks[2]
        = { std::vector<QStringList>(kChunkRows), std::vector<QStringList>(kChunkRows) };
    BatchSummary summary;
    summary.encoding = format.encoding;
    int current = 0;
    for (ChunkRead chunk = readRows(reader, chunks[0], resultWidth); chunk.rows > 0;) {
        std::vector<std::future<RowsDone>> computing = startRows(
            computer, std::span(chunks[current]).first(chunk.rows), chunk.costly, format, threads);
        const ChunkRead next = readRows(reader, chunks[1 - current], resultWidth);
        for (std::future<RowsDone> &part : computing) {
            const RowsDone done = part.get();
            if (!done.unwritable.isEmpty())
                return unwritable(done.unwritable);
            if (output.write(done.bytes) != done.bytes.size())
                return BatchProblem { 0, output.errorString() };
            summary.rowsWithErrors += done.rowsWithErrors;
            summary.badRows += done.badRows;
        }
        const qint64 before = summary.rows;
        summary.rows += qint64(chunk.rows);
        if (settings.progress && summary.rows / kBatchProgressRows > before / kBatchProgressRows)
            settings.progress(summary.rows, reader.bytesRead());
        current = 1 - current;
        chunk = next;
    }
    if (!reader.error().isEmpty())
        return BatchProblem { reader.recordLine(), reader.error() };
    return summary;
}

} // namespace kelsa
