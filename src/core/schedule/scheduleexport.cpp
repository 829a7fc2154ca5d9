// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/schedule/scheduleexport.h"

#include "core/batch/batchrun.h"
#include "core/batch/csvtable.h"
#include "core/batch/rowreport.h"
#include "core/numbers/numbertext.h"
#include "core/platform/outputfile.h"
#include "core/batch/tableworkbook.h"

namespace kelsa
{

namespace
{

QString latin(const char *text)
{
    return QString::fromLatin1(text);
}

} // namespace

namespace
{

// The columns of the table and how each row's cells are made, so that a writer can take the
// rows one at a time: a workbook of 10,000 supports then never holds all their texts at once.
class TableRows
{
public:
    TableRows(const Schedule &schedule, const std::vector<ScheduleRowResult> &results)
        : m_schedule(schedule)
        , m_results(results)
        , m_locale(schedule.locale())
        , m_commonSection(sectionNames().value(schedule.common.option(OptionGroup::TrackSection)))
    {
        const Calculation start = Calculation::atStart();
        m_fields = schedule.fields;
        for (const FieldInfo &info : inputFields())
            if (!schedule.holds(info.field)
                && schedule.common.text(info.field) != start.text(info.field))
                m_fields.push_back(info.field);
        for (const OptionGroupInfo &group : optionGroups())
            if (group.group != OptionGroup::TrackSection
                && schedule.common.option(group.group) != start.option(group.group))
                m_optionsNotInTable << group.group;
        for (const InputField field : m_fields)
            m_held.push_back(schedule.holds(field));

        m_names << QStringLiteral("support") << QStringLiteral("section");
        for (const InputField field : m_fields)
            m_names << latin(fieldInfo(field).name);
        for (const MomentInfo &info : moments())
            m_names << latin(info.label);
        m_names << QStringLiteral("governing") << QStringLiteral("supportType")
                << QStringLiteral("utilisation") << QStringLiteral("errors")
                << QStringLiteral("notes");
    }

    const QStringList &names() const { return m_names; }
    const QList<OptionGroup> &optionsNotInTable() const { return m_optionsNotInTable; }
    qsizetype count() const { return m_schedule.rows.size(); }

    // The cells of row `r`, in `cells` (its storage kept from row to row).
    void row(qsizetype r, QStringList &cells) const
    {
        const ScheduleRow &row = m_schedule.rows[r];
        const ScheduleRowResult &result = m_results[std::size_t(r)];
        cells.clear();
        cells.reserve(m_names.size());
        cells << row.support << (row.section.trimmed().isEmpty() ? m_commonSection : row.section);
        for (std::size_t k = 0; k < m_fields.size(); ++k)
            cells << (m_held[k] ? row.field(m_fields[k]) : m_schedule.common.text(m_fields[k]));
        for (const std::optional<double> &moment : result.moments)
            cells << (moment ? writeNumber(*moment, m_locale) : QString());
        cells << (result.governing ? latin(momentInfo(*result.governing).label) : QString())
              << result.supportType
              << (result.utilisation ? utilisationCell(*result.utilisation, m_locale) : QString())
              << result.errors << result.notes;
    }

private:
    const Schedule &m_schedule;
    const std::vector<ScheduleRowResult> &m_results;
    QLocale m_locale;
    QString m_commonSection;
    std::vector<InputField> m_fields;
    std::vector<bool> m_held;
    QStringList m_names;
    QList<OptionGroup> m_optionsNotInTable;
};

} // namespace

ScheduleTable scheduleTable(const Schedule &schedule, const std::vector<ScheduleRowResult> &results)
{
    const TableRows rows(schedule, results);
    ScheduleTable table { rows.names(), {}, rows.optionsNotInTable() };
    table.rows.resize(rows.count());
    for (qsizetype r = 0; r < rows.count(); ++r)
        rows.row(r, table.rows[r]);
    return table;
}

QByteArray scheduleCsv(const ScheduleTable &table, QChar decimalSeparator)
{
    const char separator = decimalSeparator == QLatin1Char(',') ? ';' : ',';
    const QByteArray lineBreak = "\r\n";
    QByteArray bytes = "\xEF\xBB\xBF";
    appendCsvRecord(bytes, table.names, separator, lineBreak);
    for (const QStringList &row : table.rows)
        appendCsvRecord(bytes, row, separator, lineBreak);
    return bytes;
}

QString exportScheduleCsv(
    const QString &path, const Schedule &schedule, const std::vector<ScheduleRowResult> &results)
{
    const QByteArray bytes
        = scheduleCsv(scheduleTable(schedule, results), schedule.decimalSeparator);
    OutputFile file(path);
    if (!file.open())
        return file.errorString();
    if (file.write(bytes) != bytes.size() || !file.commit())
        return file.errorString();
    return {};
}

QString exportScheduleXlsx(
    const QString &path, const Schedule &schedule, const std::vector<ScheduleRowResult> &results)
{
    // Row by row: the writer sends each to its temporary file at once.
    const TableRows rows(schedule, results);
    TableWorkbookWriter writer(rows.names(), schedule.locale());
    QStringList cells;
    for (qsizetype r = 0; r < rows.count(); ++r) {
        rows.row(r, cells);
        if (!writer.addRow(cells))
            break;
    }
    return writer.finish(path);
}

} // namespace kelsa
