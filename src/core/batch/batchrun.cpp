// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/batch/batchrun.h"

#include "core/batch/csvtable.h"
#include "core/calc/momentcases.h"
#include "core/calc/momentlabel.h"
#include "core/document/calculationfile.h"

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

// What a column of the table fills. A column without a name, as a spreadsheet leaves after
// the last one it filled, is carried along unread.
struct Column {
    enum class Kind { Support, Section, Field, Unnamed } kind;
    InputField field = InputField::SpanLength;
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
    std::vector<Column> columns;
    QStringList seen;
    for (qsizetype k = 0; k < header.size(); ++k) {
        const QString name = header[k].trimmed();
        if (name.isEmpty()) {
            columns.push_back({ Column::Kind::Unnamed });
            continue;
        }
        if (seen.contains(name, Qt::CaseInsensitive))
            return QStringLiteral("column \"%1\" appears twice").arg(name);
        seen << name;
        if (name.compare(kSupportColumn, Qt::CaseInsensitive) == 0) {
            if (k != 0)
                return QStringLiteral("column \"%1\" must be the first").arg(kSupportColumn);
            columns.push_back({ Column::Kind::Support });
        } else if (name.compare(kSectionColumn, Qt::CaseInsensitive) == 0) {
            columns.push_back({ Column::Kind::Section });
        } else if (const auto field = fieldNamedAnyCase(name)) {
            columns.push_back({ Column::Kind::Field, *field });
        } else {
            return QStringLiteral("unknown column \"%1\"").arg(name);
        }
    }
    return columns;
}

// A section by the caption of its option on the window ("Вне.кривая") or the option's control
// name ("Option19").
std::optional<int> sectionIndex(const QString &cell)
{
    const QString name = cell.trimmed();
    static const QStringList names = sectionNames();
    for (int k = 0; k < names.size(); ++k)
        if (name.compare(names[k], Qt::CaseInsensitive) == 0)
            return k;
    if (const auto option = optionNamed(name); option && option->group == OptionGroup::TrackSection)
        return option->index;
    return std::nullopt;
}

// "Label10: not-a-number (Text3)" for a moment without a value; empty for one with a value.
QString momentError(const MomentOutcome &outcome)
{
    const QString code = momentErrorCode(outcome);
    if (code.isEmpty())
        return {};
    QString text
        = QString::fromLatin1(momentInfo(outcome.moment).label) + QStringLiteral(": ") + code;
    if (!outcome.inputsAccepted()) {
        QStringList names;
        for (const FieldProblem &problem : outcome.badFields)
            names << QString::fromLatin1(fieldInfo(problem.field).name);
        text += QStringLiteral(" (") + names.join(QStringLiteral(", ")) + QLatin1Char(')');
    }
    return text;
}

class RowComputer
{
public:
    RowComputer(std::vector<Column> columns, const QLocale &locale)
        : m_columns(std::move(columns))
        , m_locale(locale)
        , m_start(Calculation::atStart())
    {
    }

    // The row's cells, padded to the header, followed by the ten labels and the errors.
    // True when every moment has a value; `bad` tells a row that could not be computed.
    bool compute(QStringList &cells, bool &bad) const
    {
        const qsizetype width = qsizetype(m_columns.size());
        QStringList errors;
        if (cells.size() > width) {
            errors
                << QStringLiteral("row: %1 cells, the header has %2").arg(cells.size()).arg(width);
            cells.resize(width);
        }
        cells.resize(width);
        Calculation calculation = m_start;
        for (qsizetype k = 0; k < width; ++k) {
            const Column &column = m_columns[std::size_t(k)];
            if (column.kind == Column::Kind::Field) {
                calculation.text(column.field) = cells[k];
            } else if (column.kind == Column::Kind::Section && !cells[k].trimmed().isEmpty()) {
                if (const auto index = sectionIndex(cells[k]))
                    calculation.setOption(OptionGroup::TrackSection, *index);
                else
                    errors << QStringLiteral("section: \"%1\" is none of %2")
                                  .arg(cells[k], sectionNames().join(QStringLiteral(", ")));
            }
        }
        bad = !errors.isEmpty();
        if (bad) {
            for (qsizetype k = 0; k < kMomentCount; ++k)
                cells << QString();
        } else {
            for (const MomentOutcome &outcome : computeMoments(calculation, m_locale)) {
                cells << resultLabelText(outcome, m_locale);
                if (const QString error = momentError(outcome); !error.isEmpty())
                    errors << error;
            }
        }
        cells << errors.join(QStringLiteral("; "));
        return errors.isEmpty();
    }

private:
    std::vector<Column> m_columns;
    QLocale m_locale;
    Calculation m_start;
};

// Rows are computed a chunk at a time, the chunk shared among the processor's threads while
// the next chunk is read; each thread formats its rows into bytes of its own, which are written
// in row order. Two chunks are all of the table that is held in memory at once.
constexpr qsizetype kChunkRows = 512;
constexpr qsizetype kRowsPerThread = 64; // fewer are not worth a thread

struct RowsDone {
    QByteArray bytes;
    qint64 rowsWithErrors = 0;
    qint64 badRows = 0;
};

struct OutputFormat {
    char separator;
    QByteArray lineBreak;
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
    return done;
}

// Starts computing the rows on up to `threads` threads of their own, a share each.
std::vector<std::future<RowsDone>> startRows(const RowComputer &computer,
    std::span<QStringList> rows, const OutputFormat &format, int threads)
{
    const auto parts
        = std::size_t(std::clamp<qsizetype>(qsizetype(rows.size()) / kRowsPerThread, 1, threads));
    const std::size_t share = (rows.size() + parts - 1) / parts;
    std::vector<std::future<RowsDone>> started;
    for (std::size_t from = 0; from < rows.size(); from += share)
        started.push_back(std::async(std::launch::async, computeRows, std::cref(computer),
            rows.subspan(from, std::min(share, rows.size() - from)), std::cref(format)));
    return started;
}

std::size_t readRows(CsvReader &reader, std::vector<QStringList> &chunk)
{
    std::size_t rows = 0;
    while (rows < chunk.size() && reader.readRecord(chunk[rows]))
        ++rows;
    return rows;
}

} // namespace

QLocale localeForDecimal(std::optional<QChar> decimalSeparator)
{
    return decimalSeparator ? localeWithSeparator(*decimalSeparator) : QLocale();
}

QStringList sectionNames()
{
    return { QStringLiteral("Прямая"), QStringLiteral("Вне.кривая"), QStringLiteral("Вну.кривая") };
}

BatchResult runBatch(QIODevice &input, QIODevice &output, const BatchSettings &settings)
{
    CsvReader reader(&input);
    QStringList cells;
    if (!reader.readRecord(cells)) {
        if (!reader.error().isEmpty())
            return BatchProblem { reader.recordLine(), reader.error() };
        return BatchProblem { 1, QStringLiteral("no header line") };
    }
    auto columns = mapHeader(cells);
    if (const QString *problem = std::get_if<QString>(&columns))
        return BatchProblem { reader.recordLine(), *problem };

    if (reader.hadByteOrderMark())
        output.write("\xEF\xBB\xBF");
    CsvWriter writer(&output, reader.separator(), reader.lineBreak());
    for (const MomentInfo &info : moments())
        cells << QString::fromLatin1(info.label);
    cells << kErrorsColumn;
    writer.writeRecord(cells);

    if (!writer.flush())
        return BatchProblem { 0, output.errorString() };

    const RowComputer computer(std::get<std::vector<Column>>(std::move(columns)), settings.locale);
    const OutputFormat format { char(reader.separator().unicode()), reader.lineBreak() };
    const int threads
        = std::max(1, settings.threads > 0 ? settings.threads : QThread::idealThreadCount());
    // While one chunk is computed the next is read.
    std::vector<QStringList> chunks[2]
        = { std::vector<QStringList>(kChunkRows), std::vector<QStringList>(kChunkRows) };
    BatchSummary summary;
    int current = 0;
    for (std::size_t rows = readRows(reader, chunks[0]); rows > 0;) {
        std::vector<std::future<RowsDone>> computing
            = startRows(computer, std::span(chunks[current]).first(rows), format, threads);
        const std::size_t next = readRows(reader, chunks[1 - current]);
        for (std::future<RowsDone> &part : computing) {
            const RowsDone done = part.get();
            if (output.write(done.bytes) != done.bytes.size())
                return BatchProblem { 0, output.errorString() };
            summary.rowsWithErrors += done.rowsWithErrors;
            summary.badRows += done.badRows;
        }
        const qint64 before = summary.rows;
        summary.rows += qint64(rows);
        if (settings.progress && summary.rows / kBatchProgressRows > before / kBatchProgressRows)
            settings.progress(summary.rows, reader.bytesRead());
        current = 1 - current;
        rows = next;
    }
    if (!reader.error().isEmpty())
        return BatchProblem { reader.recordLine(), reader.error() };
    return summary;
}

} // namespace kelsa
