// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/schedule/scheduleexport.h"

#include "core/batch/batchrun.h"
#include "core/batch/csvtable.h"
#include "core/batch/rowreport.h"
#include "core/numbers/numbertext.h"
#include "core/platform/outputfile.h"
#include "core/tables/tableworkbook.h"

namespace kelsa
{

namespace
{

QString latin(const char *text)
{
    return QString::fromLatin1(text);
}

} // namespace

ScheduleTable scheduleTable(const Schedule &schedule, const std::vector<ScheduleRowResult> &results)
{
    ScheduleTable table;
    const Calculation start = Calculation::atStart();
    std::vector<InputField> fields = schedule.fields;
    for (const FieldInfo &info : inputFields())
        if (!schedule.holds(info.field)
            && schedule.common.text(info.field) != start.text(info.field))
            fields.push_back(info.field);
    for (const OptionGroupInfo &group : optionGroups())
        if (group.group != OptionGroup::TrackSection
            && schedule.common.option(group.group) != start.option(group.group))
            table.optionsNotInTable << group.group;

    table.names << QStringLiteral("support") << QStringLiteral("section");
    for (const InputField field : fields)
        table.names << latin(fieldInfo(field).name);
    for (const MomentInfo &info : moments())
        table.names << latin(info.label);
    table.names << QStringLiteral("governing") << QStringLiteral("supportType")
                << QStringLiteral("utilisation") << QStringLiteral("errors")
                << QStringLiteral("notes");

    const QLocale locale = schedule.locale();
    const QString commonSection
        = sectionNames().value(schedule.common.option(OptionGroup::TrackSection));
    table.rows.reserve(schedule.rows.size());
    for (qsizetype r = 0; r < schedule.rows.size(); ++r) {
        const ScheduleRow &row = schedule.rows[r];
        const ScheduleRowResult &result = results[std::size_t(r)];
        QStringList cells;
        cells.reserve(table.names.size());
        cells << row.support << (row.section.trimmed().isEmpty() ? commonSection : row.section);
        for (const InputField field : fields)
            cells << (schedule.holds(field) ? row.field(field) : schedule.common.text(field));
        for (const std::optional<double> &moment : result.moments)
            cells << (moment ? writeNumber(*moment, locale) : QString());
        cells << (result.governing ? latin(momentInfo(*result.governing).label) : QString())
              << result.supportType
              << (result.utilisation ? utilisationCell(*result.utilisation, locale) : QString())
              << result.errors << result.notes;
        table.rows << cells;
    }
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
    const ScheduleTable table = scheduleTable(schedule, results);
    TableWorkbookWriter writer(table.names, schedule.locale());
    for (const QStringList &row : table.rows)
        if (!writer.addRow(row))
            break;
    return writer.finish(path);
}

} // namespace kelsa
