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
#include "core/numbers/plainnumber.h"

#include <QIODevice>
#include <QStringList>
#include <QThread>

#include <algorithm>
#include <future>
#include <span>
#include <string>
#include <string_view>
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

// How the result is written: as the table came.
struct OutputFormat {
    char separator;
    QByteArray lineBreak;
    TextEncoding encoding;
};

// A cell's bytes as a moment reads them, the same as readField() reads the cell's text: ASCII
// blanks are empty and plain numbers are read here; anything else, and every cell when the
// locale's decimal separator is not one character, as a QString by readField() itself.
class CellReader
{
public:
    explicit CellReader(const QLocale &locale)
        : m_locale(locale)
    {
        const QString point = locale.decimalPoint();
        if (point.size() == 1)
            m_point = point[0].unicode();
    }

    FieldReading read(std::string_view cell) const
    {
        bool blank = true;
        for (const char c : cell) {
            const auto byte = static_cast<unsigned char>(c);
            if (byte >= 0x80)
                return readField(utf8Text(cell), m_locale);
            blank = blank && (byte == ' ' || (byte >= '\t' && byte <= '\r'));
        }
        if (blank)
            return { FieldReading::Kind::Empty };
        if (m_point)
            if (const auto value = readPlainNumber(cell, *m_point))
                return { FieldReading::Kind::Number, *value };
        return readField(utf8Text(cell), m_locale);
    }

    // The moment as writeNumber() writes it, as a cell.
    void writeMoment(std::string &out, double moment, char separator) const
    {
        if (m_point && *m_point < 0x80) {
            char text[kPlainNumberRoom];
            if (const char *end = writePlainNumber(moment, char(*m_point), text)) {
                appendCsvCell(out, std::string_view(text, std::size_t(end - text)), separator);
                return;
            }
        }
        appendUtf8Cell(out, writeNumber(moment, m_locale), separator);
    }

    static QString utf8Text(std::string_view bytes)
    {
        return QString::fromUtf8(bytes.data(), qsizetype(bytes.size()));
    }

    static void appendUtf8Cell(std::string &out, const QString &text, char separator)
    {
        const QByteArray utf8 = text.toUtf8();
        appendCsvCell(out, std::string_view(utf8.constData(), std::size_t(utf8.size())), separator);
    }

private:
    QLocale m_locale;
    std::optional<char16_t> m_point; // the locale's decimal separator, when it is one character
};

// Whether the bytes are ASCII blanks only, which trimmed() takes away: then the cell is empty.
bool asciiBlank(std::string_view cell)
{
    return std::all_of(
        cell.begin(), cell.end(), [](char c) { return c == ' ' || (c >= '\t' && c <= '\r'); });
}

// Utilisation as the check column writes it, per cent to 0.1 rounded up and without the sign,
// in the locale's own digits: a number a spreadsheet sums and sorts. In a locale that writes its
// digits with '0' to '9' and has a one-character ASCII decimal separator, most values are
// written without QLocale (writePlainTenths, the same text); the others through QLocale.
class UtilisationWriter
{
public:
    explicit UtilisationWriter(const QLocale &locale)
        : m_locale(locale)
    {
        m_locale.setNumberOptions(QLocale::OmitGroupSeparator);
        const QString point = locale.decimalPoint();
        if (point.size() == 1 && point[0].unicode() < 0x80 && locale.zeroDigit() == u"0")
            m_point = char(point[0].unicode());
    }

    void write(std::string &out, double utilisation, char separator) const
    {
        const double percent = utilisationPercent(utilisation, 1);
        if (m_point) {
            char text[kPlainNumberRoom];
            if (const char *end = writePlainTenths(percent, *m_point, text)) {
                appendCsvCell(out, std::string_view(text, std::size_t(end - text)), separator);
                return;
            }
        }
        CellReader::appendUtf8Cell(out, m_locale.toString(percent, 'f', 1), separator);
    }

private:
    QLocale m_locale;
    std::optional<char> m_point;
};

class RowComputer
{
public:
    RowComputer(
        std::vector<Column> columns, const QLocale &locale, const SupportCatalogue &catalogue)
        : m_columns(std::move(columns))
        , m_results(std::count_if(m_columns.begin(), m_columns.end(),
              [](const Column &column) { return column.movesToResult(); }))
        , m_locale(locale)
        , m_cells(locale)
        , m_utilisation(locale)
        , m_start(Calculation::atStart())
        , m_catalogue(catalogue)
    {
        m_fieldColumn.fill(-1);
        for (std::size_t k = 0; k < m_columns.size(); ++k)
            if (m_columns[k].kind == Column::Kind::Field)
                m_fieldColumn[std::size_t(m_columns[k].field)] = qsizetype(k);
        // A field without a column keeps its start text, read once for every row.
        for (const FieldInfo &info : inputFields())
            m_startReadings[std::size_t(info.field)] = readField(m_start.text(info.field), locale);
        const auto &options = optionGroupInfo(OptionGroup::TrackSection).options;
        for (std::size_t k = 0; k < options.size(); ++k) {
            Calculation calculation = m_start;
            calculation.setOption(OptionGroup::TrackSection, int(k));
            m_sections.push_back(calculation.trackSection());
        }
        m_startSection = m_start.option(OptionGroup::TrackSection);
        // The names of the sections as written, read without a QString.
        QStringList spellings = sectionNames();
        for (const char *option : options)
            spellings << QString::fromLatin1(option);
        for (const QString &spelling : spellings)
            if (const auto index = sectionIndex(spelling))
                m_sectionSpellings.push_back({ spelling.toUtf8().toStdString(), *index });
    }

    // Appends the result record of a row: its own cells (padded to the header), the ten
    // moments, the check, the errors, the notes and the cells past the header's width. True
    // when every moment has a value; `bad` tells a row that could not be computed.
    bool compute(const CsvRows &rows, qsizetype row, const OutputFormat &format, std::string &out,
        bool &bad) const
    {
        const qsizetype width = qsizetype(m_columns.size());
        const qsizetype count = rows.cellCount(row);
        const auto cell
            = [&](qsizetype k) { return k < count ? rows.cell(row, k) : std::string_view(); };
        QStringList errors, notes;
        if (count > width) {
            // Counted without the result columns, which the result has in other places.
            errors << QStringLiteral("row: ячеек %1, а в заголовке %2")
                          .arg(count - m_results)
                          .arg(width - m_results);
        }
        std::array<FieldReading, kInputFieldCount> readings = m_startReadings;
        int section = m_startSection;
        QString chosenType;
        for (qsizetype k = 0; k < width; ++k) {
            const Column &column = m_columns[std::size_t(k)];
            if (column.kind == Column::Kind::SupportType) {
                if (!asciiBlank(cell(k)))
                    chosenType = CellReader::utf8Text(cell(k)).trimmed();
            } else if (column.kind == Column::Kind::Field) {
                readings[std::size_t(column.field)] = m_cells.read(cell(k));
            } else if (column.kind == Column::Kind::Section) {
                readSection(cell(k), section, errors);
            }
        }

        const char separator = format.separator;
        bool first = true;
        const auto next = [&] {
            if (!first)
                out += separator;
            first = false;
        };
        // The row's own cells, without the result columns of an earlier run.
        for (qsizetype k = 0; k < width; ++k)
            if (!m_columns[std::size_t(k)].movesToResult()) {
                next();
                appendCsvCell(out, cell(k), separator);
            }
        bad = !errors.isEmpty();
        if (bad) {
            for (int k = 0; k < kMomentCount + 1; ++k)
                next(); // no moments, no governing one
            next();
            CellReader::appendUtf8Cell(out, chosenType, separator);
            next(); // no utilisation
        } else {
            // A refused field's text is kept by every moment that reads it: made once and
            // shared, as the window's field text is (a cell may hold a megabyte).
            std::array<std::optional<QString>, kInputFieldCount> texts;
            const auto textOf = [&](InputField field) {
                std::optional<QString> &text = texts[std::size_t(field)];
                if (!text) {
                    const qsizetype k = m_fieldColumn[std::size_t(field)];
                    text = k >= 0 ? CellReader::utf8Text(cell(k)) : m_start.text(field);
                }
                return *text;
            };
            const auto outcomes
                = computeMoments(readings, m_sections[std::size_t(section)], textOf);
            for (const MomentOutcome &outcome : outcomes) {
                next();
                if (outcome.inputsAccepted()
                    && outcome.result.outcome == MomentResult::Outcome::Value)
                    m_cells.writeMoment(out, outcome.result.moment, separator);
                if (const QString error = momentError(outcome); !error.isEmpty())
                    errors << error;
                if (const QString note = momentNote(outcome); !note.isEmpty())
                    notes << note;
            }
            if (const QString error = checkRow(outcomes, chosenType, out, separator);
                !error.isEmpty())
                errors << error;
        }
        next();
        CellReader::appendUtf8Cell(out, errors.join(QStringLiteral("; ")), separator);
        next();
        CellReader::appendUtf8Cell(out, notes.join(QStringLiteral("; ")), separator);
        for (qsizetype k = width; k < count; ++k) {
            next();
            appendCsvCell(out, cell(k), separator);
        }
        out.append(format.lineBreak.constData(), std::size_t(format.lineBreak.size()));
        return errors.isEmpty();
    }

    // A section cell: the index of the section it names into `section`, or the error when it
    // names none; nothing for an empty cell.
    void readSection(std::string_view cell, int &section, QStringList &errors) const
    {
        for (const auto &[spelling, index] : m_sectionSpellings)
            if (cell == spelling) {
                section = index;
                return;
            }
        if (asciiBlank(cell))
            return;
        const QString text = CellReader::utf8Text(cell);
        if (text.trimmed().isEmpty())
            return;
        if (const auto index = sectionIndex(text))
            section = *index;
        else
            errors << sectionError(text);
    }

    // Appends the check's three cells; returns the row's error, if any.
    QString checkRow(std::span<const MomentOutcome> outcomes, const QString &chosen,
        std::string &out, char separator) const
    {
        using Error = SupportCheck::Error;
        const SupportCheck check = checkSupport(m_catalogue, computedMoments(outcomes), chosen);
        out += separator;
        if (check.governing)
            appendCsvCell(out, momentInfo(check.governing->moment).label, separator);
        out += separator;
        const bool picked = check.error == Error::None && check.picked;
        CellReader::appendUtf8Cell(out, picked ? check.type->name : chosen, separator);
        out += separator;
        switch (check.error) {
        case Error::None:
            m_utilisation.write(out, check.utilisation, separator);
            return {};
        case Error::NoCatalogue: // said once for the whole table
            return {};
        case Error::UnknownType:
            return QStringLiteral("%1: \"%2\" is not in the catalogue")
                .arg(kSupportTypeColumn, chosen);
        case Error::NoMoment:
        case Error::NoneHolds:
            return QStringLiteral("check: ") + checkErrorCode(check.error);
        }
        return {};
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
    CellReader m_cells;
    UtilisationWriter m_utilisation;
    Calculation m_start;
    const SupportCatalogue &m_catalogue;
    std::array<qsizetype, kInputFieldCount> m_fieldColumn {}; // -1: none
    std::array<FieldReading, kInputFieldCount> m_startReadings {};
    std::vector<TrackSection> m_sections; // by option index
    int m_startSection = 0;
    std::vector<std::pair<std::string, int>> m_sectionSpellings;
};

// Rows are computed a chunk at a time, the chunk shared among the processor's threads while
// the next chunk is read; each thread formats its rows into bytes of its own, which are written
// in row order. Two chunks are all of the table that is held in memory at once, and a chunk is
// bounded by what its rows cost as well as by their count: a row of 10,000 cells, or of a
// megabyte, holds more memory than a chunk of ordinary rows.
constexpr qsizetype kChunkRows = 512;
constexpr qint64 kChunkCost = qint64(4) * 1024 * 1024;
constexpr qsizetype kRowsPerThread = 64; // fewer are not worth a thread

// What a row read holds in memory, roughly, in bytes: its text as read and as written, where
// each of its cells ends, and a separator for every column of the result.
qint64 rowCost(qint64 textBytes, qsizetype cells, qsizetype resultWidth)
{
    return 2 * textBytes + qint64(sizeof(std::size_t)) * cells + resultWidth + 256;
}

struct RowsDone {
    std::string bytes;
    qint64 rowsWithErrors = 0;
    qint64 badRows = 0;
    QString unwritable; // the first character with no code in the output's encoding
};

RowsDone computeRows(const RowComputer &computer, const CsvRows &rows, qsizetype from, qsizetype to,
    const OutputFormat &format)
{
    RowsDone done;
    for (qsizetype row = from; row < to; ++row) {
        bool bad = false;
        if (!computer.compute(rows, row, format, done.bytes, bad))
            ++done.rowsWithErrors;
        done.badRows += bad;
    }
    if (format.encoding != TextEncoding::Utf8) {
        std::optional<QByteArray> encoded = encodeUtf8(done.bytes, format.encoding);
        if (!encoded)
            done.unwritable = firstUnwritable(done.bytes, format.encoding);
        done.bytes = encoded ? encoded->toStdString() : std::string();
    }
    return done;
}

// Starts computing the rows on up to `threads` threads of their own, a share each. A chunk cut
// short by its cost holds rows that are much work each: it is shared however few they are.
std::vector<std::future<RowsDone>> startRows(const RowComputer &computer, const CsvRows &rows,
    bool costly, const OutputFormat &format, int threads)
{
    const qsizetype wanted = costly ? rows.size() : rows.size() / kRowsPerThread;
    const qsizetype parts = std::clamp<qsizetype>(wanted, 1, threads);
    const qsizetype share = (rows.size() + parts - 1) / parts;
    std::vector<std::future<RowsDone>> started;
    for (qsizetype from = 0; from < rows.size(); from += share)
        started.push_back(std::async(std::launch::async, computeRows, std::cref(computer),
            std::cref(rows), from, std::min(from + share, rows.size()), std::cref(format)));
    return started;
}

struct ChunkRead {
    qsizetype rows = 0;
    bool costly = false; // ended by its cost, not by its count or the table's end
};

// Reads rows into the chunk until it holds kChunkRows or its rows cost kChunkCost.
ChunkRead readRows(CsvReader &reader, CsvRows &chunk, qsizetype resultWidth)
{
    chunk.clear();
    ChunkRead read;
    qint64 cost = 0;
    while (chunk.size() < kChunkRows) {
        if (cost >= kChunkCost) {
            read.costly = true;
            break;
        }
        if (!reader.readRecord(chunk))
            break;
        const qsizetype row = chunk.size() - 1;
        cost += rowCost(chunk.textSize(row), chunk.cellCount(row), resultWidth);
    }
    read.rows = chunk.size();
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

    std::string header;
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
    // While one chunk is computed the next is read; the next is computed while the results of
    // the one before are written.
    CsvRows chunks[2];
    BatchSummary summary;
    summary.encoding = format.encoding;
    int current = 0;
    ChunkRead chunk = readRows(reader, chunks[0], resultWidth);
    std::vector<std::future<RowsDone>> computing;
    if (chunk.rows > 0)
        computing = startRows(computer, chunks[0], chunk.costly, format, threads);
    while (chunk.rows > 0) {
        const ChunkRead next = readRows(reader, chunks[1 - current], resultWidth);
        std::vector<RowsDone> results;
        for (std::future<RowsDone> &part : computing)
            results.push_back(part.get());
        computing.clear();
        if (next.rows > 0)
            computing = startRows(computer, chunks[1 - current], next.costly, format, threads);
        for (const RowsDone &done : results) {
            if (!done.unwritable.isEmpty())
                return unwritable(done.unwritable);
            if (output.write(done.bytes.data(), qint64(done.bytes.size()))
                != qint64(done.bytes.size()))
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
