// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/schedule/scheduleimport.h"

#include "core/batch/batchcolumns.h"
#include "core/batch/batchworkbooks.h"
#include "core/batch/csvtable.h"
#include "core/platform/outputfile.h"
#include "core/schedule/cellblock.h"
#include "core/schedule/schedulefile.h"
#include "core/tables/workbookreader.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>

namespace kelsa
{

namespace
{

// What a column of the table fills: as kelsa --batch maps a heading, with the result columns
// and unnamed ones left out of the schedule.
struct ImportColumn {
    enum class Kind { Support, Section, Field, SupportType, Skipped } kind = Kind::Skipped;
    InputField field = InputField::SpanLength;
};

bool isResultColumn(const QString &name)
{
    for (const BatchColumnInfo &column : batchColumns())
        if (column.result && column.name.compare(name, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

std::optional<InputField> fieldNamedAnyCase(const QString &name)
{
    for (const FieldInfo &info : inputFields())
        if (name.compare(QLatin1String(info.name), Qt::CaseInsensitive) == 0)
            return info.field;
    return std::nullopt;
}

// The columns of a heading whose cells are the names already, or the problem with it: the
// words of kelsa --batch.
std::variant<std::vector<ImportColumn>, QString> mapHeading(const QStringList &names)
{
    using Kind = ImportColumn::Kind;
    std::vector<ImportColumn> columns;
    QStringList seen;
    for (qsizetype k = 0; k < names.size(); ++k) {
        const QString name = names[k].trimmed();
        if (name.isEmpty()) {
            columns.push_back({ Kind::Skipped });
            continue;
        }
        if (seen.contains(name, Qt::CaseInsensitive))
            return QStringLiteral("столбец \"%1\" указан дважды").arg(name);
        seen << name;
        if (name.compare(QLatin1String("support"), Qt::CaseInsensitive) == 0) {
            if (k != 0)
                return QStringLiteral("столбец \"support\" должен быть первым");
            columns.push_back({ Kind::Support });
        } else if (name.compare(QLatin1String("section"), Qt::CaseInsensitive) == 0) {
            columns.push_back({ Kind::Section });
        } else if (name.compare(QLatin1String("supportType"), Qt::CaseInsensitive) == 0) {
            columns.push_back({ Kind::SupportType });
        } else if (const auto field = fieldNamedAnyCase(name)) {
            columns.push_back({ Kind::Field, *field });
        } else if (isResultColumn(name)) {
            columns.push_back({ Kind::Skipped });
        } else {
            return QStringLiteral("неизвестный столбец \"%1\"").arg(name);
        }
    }
    return columns;
}

// Builds the schedule row by row; each call names the line of the row it is given.
class ScheduleBuilder
{
public:
    explicit ScheduleBuilder(const Schedule &common)
        : m_schedule(common)
    {
        m_schedule.fields.clear();
        m_schedule.rows.clear();
    }

    std::optional<ScheduleImportProblem> heading(const QStringList &names, qint64 line)
    {
        auto columns = mapHeading(names);
        if (const QString *problem = std::get_if<QString>(&columns))
            return ScheduleImportProblem { line, *problem };
        m_columns = std::get<std::vector<ImportColumn>>(std::move(columns));
        for (const ImportColumn &column : m_columns)
            if (column.kind == ImportColumn::Kind::Field)
                m_schedule.fields.push_back(column.field);
        return std::nullopt;
    }

    std::optional<ScheduleImportProblem> row(const QStringList &cells, qint64 line)
    {
        if (m_schedule.rows.size() == kMostScheduleRows)
            return ScheduleImportProblem { line,
                QStringLiteral("строк опор больше %1, а в ведомости может быть не больше %1")
                    .arg(kMostScheduleRows) };
        const qsizetype width = qsizetype(m_columns.size());
        for (qsizetype k = width; k < cells.size(); ++k)
            if (!cells[k].trimmed().isEmpty())
                return ScheduleImportProblem { line,
                    QStringLiteral("в строке заполнено ячеек больше, чем столбцов в заголовке "
                                   "(%1): ячейка %2 «%3»")
                        .arg(width)
                        .arg(k + 1)
                        .arg(cells[k]) };
        ScheduleRow row;
        for (qsizetype k = 0; k < std::min(width, cells.size()); ++k) {
            const ImportColumn &column = m_columns[std::size_t(k)];
            if (column.kind == ImportColumn::Kind::Skipped)
                continue;
            if (cells[k].size() > kLongestScheduleText)
                return ScheduleImportProblem { line,
                    QStringLiteral("ячейка %1: текст длиннее %2 символов")
                        .arg(k + 1)
                        .arg(kLongestScheduleText) };
            switch (column.kind) {
            case ImportColumn::Kind::Support:
                row.support = cells[k];
                break;
            case ImportColumn::Kind::Section:
                row.section = cells[k];
                break;
            case ImportColumn::Kind::SupportType:
                row.supportType = cells[k].trimmed();
                break;
            case ImportColumn::Kind::Field:
                row.field(column.field) = inDecimalSeparator(cells[k], m_schedule.decimalSeparator);
                break;
            case ImportColumn::Kind::Skipped:
                break;
            }
        }
        m_schedule.rows.append(std::move(row));
        return std::nullopt;
    }

    Schedule take() { return std::move(m_schedule); }

private:
    Schedule m_schedule;
    std::vector<ImportColumn> m_columns;
};

bool isWorkbook(const QString &path)
{
    return path.endsWith(QLatin1String(".xlsx"), Qt::CaseInsensitive)
        || path.endsWith(QLatin1String(".ods"), Qt::CaseInsensitive);
}

ScheduleImportResult importWorkbook(const QString &path, const Schedule &common)
{
    SheetRequest request;
    request.filePath = path;
    request.withHeading = true;
    request.maxColumns = kMostImportColumns;
    const SheetReadResult read = readSheets({ request }, common.locale()).constFirst();
    if (read.status != SheetReadResult::Status::Ok)
        return ScheduleImportProblem { 0, workbookReadFailure(read.status) };
    if (read.columnCount >= kMostImportColumns)
        return ScheduleImportProblem { 1,
            QStringLiteral("в первом листе %1 столбцов или больше; в таблице опор их меньше")
                .arg(kMostImportColumns) };
    if (read.records.isEmpty())
        return ScheduleImportProblem { 1, QStringLiteral("нет строки заголовка") };
    QStringList heading;
    for (const QString &cell : read.records.constFirst())
        heading << columnNameInHeading(cell);
    return importScheduleRows(heading, read.records.mid(1), common);
}

} // namespace

ScheduleImportResult importScheduleCsv(
    QIODevice &input, const Schedule &common, std::optional<TextEncoding> encoding)
{
    CsvReader reader(&input, kLongestCsvRecord, encoding);
    QStringList cells;
    if (!reader.readRecord(cells)) {
        if (!reader.error().isEmpty())
            return ScheduleImportProblem { reader.recordLine(), reader.error() };
        return ScheduleImportProblem { 1, QStringLiteral("нет строки заголовка") };
    }
    ScheduleBuilder builder(common);
    if (auto problem = builder.heading(cells, reader.recordLine()))
        return *problem;
    while (reader.readRecord(cells))
        if (auto problem = builder.row(cells, reader.recordLine()))
            return *problem;
    if (!reader.error().isEmpty())
        return ScheduleImportProblem { reader.recordLine(), reader.error() };
    return builder.take();
}

ScheduleImportResult importScheduleRows(const QStringList &heading, const QList<QStringList> &rows,
    const Schedule &common, qint64 firstLine)
{
    ScheduleBuilder builder(common);
    if (auto problem = builder.heading(heading, firstLine))
        return *problem;
    for (qsizetype r = 0; r < rows.size(); ++r) {
        // A row with nothing in it is no support: a CSV's empty line is skipped alike.
        if (std::all_of(rows[r].begin(), rows[r].end(),
                [](const QString &cell) { return cell.trimmed().isEmpty(); }))
            continue;
        if (auto problem = builder.row(rows[r], firstLine + 1 + r))
            return *problem;
    }
    return builder.take();
}

ScheduleImportResult importSchedule(const QString &path, const Schedule &common)
{
    const QFileInfo info(path);
    if (info.exists() && !info.isFile())
        return ScheduleImportProblem { 0,
            info.isDir() ? QStringLiteral("это папка")
                         : QStringLiteral("это не обычный файл (FIFO, устройство или сокет)") };
    if (isWorkbook(path))
        return importWorkbook(path, common);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return ScheduleImportProblem { 0,
            !info.exists()           ? systemErrorText(ENOENT)
                : !info.isReadable() ? systemErrorText(EACCES)
                                     : file.errorString() };
    return importScheduleCsv(file, common);
}

QString scheduleImportProblemText(const QString &path, const ScheduleImportProblem &problem)
{
    if (problem.line == 0)
        return QStringLiteral("%1: %2").arg(path, problem.text);
    return QStringLiteral("%1:%2: %3").arg(path, QString::number(problem.line), problem.text);
}

} // namespace kelsa
