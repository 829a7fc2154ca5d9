// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/schedule/schedulefile.h"

#include "core/document/documentheader.h"
#include "core/platform/outputfile.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <array>
#include <initializer_list>
#include <cerrno>
#include <cmath>
#include <utility>

namespace kelsa
{

namespace
{

constexpr const char *kFormatName = "kelsa-schedule";
const QString kSupport = QStringLiteral("support");
const QString kSection = QStringLiteral("section");
const QString kSupportType = QStringLiteral("supportType");

QString latin(const char *text)
{
    return QString::fromLatin1(text);
}

QByteArray compact(const QJsonValue &value)
{
    QByteArray text = QJsonDocument(QJsonArray { value }).toJson(QJsonDocument::Compact);
    return text.mid(1, text.size() - 2); // without the array's brackets
}

// The input columns in the order written: the support, its section, the field columns, the type.
QList<ScheduleCell> writtenCells(const Schedule &schedule)
{
    QList<ScheduleCell> cells { { ScheduleCell::Kind::Support }, { ScheduleCell::Kind::Section } };
    for (const InputField field : schedule.fields)
        cells << ScheduleCell::ofField(field);
    return cells << ScheduleCell { ScheduleCell::Kind::SupportType };
}

QString cellName(const ScheduleCell &cell)
{
    switch (cell.kind) {
    case ScheduleCell::Kind::Support:
        return kSupport;
    case ScheduleCell::Kind::Section:
        return kSection;
    case ScheduleCell::Kind::Field:
        return latin(fieldInfo(cell.field).name);
    case ScheduleCell::Kind::SupportType:
        break;
    }
    return kSupportType;
}

std::optional<ScheduleCell> cellNamed(const QString &name)
{
    if (name == kSupport)
        return ScheduleCell { ScheduleCell::Kind::Support };
    if (name == kSection)
        return ScheduleCell { ScheduleCell::Kind::Section };
    if (name == kSupportType)
        return ScheduleCell { ScheduleCell::Kind::SupportType };
    if (const auto field = inputFieldNamed(name))
        return ScheduleCell::ofField(*field);
    return std::nullopt;
}

// ---------------------------------------------------------------------------------------------
// Reading: each check throws the first problem found, and the schedule is built apart, so a
// refused file changes nothing.

struct Problem {
    QString text;
};

[[noreturn]] void fail(const QString &text)
{
    throw Problem { text };
}

QString checkedText(const QJsonValue &value, const QString &where)
{
    if (!value.isString())
        fail(QStringLiteral("%1: ожидается текст").arg(where));
    QString text = value.toString();
    if (text.size() > kLongestScheduleText)
        fail(QStringLiteral("%1: текст длиннее %2 символов").arg(where).arg(kLongestScheduleText));
    return text;
}

QJsonObject memberObject(const QJsonObject &parent, const QString &name, const QString &where)
{
    const QJsonValue value = parent.value(name);
    if (!value.isObject())
        fail(QStringLiteral("%1нет объекта \"%2\"").arg(where, name));
    return value.toObject();
}

QJsonArray memberArray(const QJsonObject &parent, const QString &name)
{
    const QJsonValue value = parent.value(name);
    if (!value.isArray())
        fail(QStringLiteral("нет списка \"%1\"").arg(name));
    return value.toArray();
}

// A member the format does not have is refused rather than dropped: it would be lost on the
// next save without a word. `where` is empty for the document itself.
void checkMembers(
    const QJsonObject &object, std::initializer_list<const char *> known, const QString &where)
{
    for (auto it = object.begin(); it != object.end(); ++it)
        if (std::none_of(known.begin(), known.end(),
                [&](const char *name) { return it.key() == QLatin1String(name); }))
            fail(QStringLiteral("%1неизвестный элемент \"%2\"").arg(where, it.key()));
}

void checkFormat(const QJsonObject &root)
{
    if (const QString problem = documentHeaderProblem(
            root, kFormatName, QStringLiteral("ведомость опор"), kScheduleFileVersion);
        !problem.isEmpty())
        fail(problem);
}

QChar readSeparator(const QJsonObject &root)
{
    const std::variant<QChar, QString> separator = documentSeparator(root);
    if (const auto *problem = std::get_if<QString>(&separator))
        fail(*problem);
    return std::get<QChar>(separator);
}

// Every field and every option group, as in a calculation file: a field left out would take
// another text than the one the designer saw.
Calculation readCommon(const QJsonObject &common)
{
    Calculation calculation = Calculation::atStart();
    const QString where = QStringLiteral("\"common\" \"fields\"");
    checkMembers(common, { "fields", "options" }, QStringLiteral("\"common\": "));
    const QJsonObject fields
        = memberObject(common, QStringLiteral("fields"), QStringLiteral("\"common\": "));
    for (auto it = fields.begin(); it != fields.end(); ++it)
        if (!inputFieldNamed(it.key()))
            fail(QStringLiteral("%1: неизвестное поле \"%2\"").arg(where, it.key()));
    for (const FieldInfo &info : inputFields()) {
        if (!fields.contains(latin(info.name)))
            fail(QStringLiteral("%1: нет поля \"%2\"").arg(where, latin(info.name)));
        calculation.text(info.field) = checkedText(fields.value(latin(info.name)),
            QStringLiteral("%1 \"%2\"").arg(where, latin(info.name)));
    }
    const QJsonValue options = common.value(QLatin1String("options"));
    const QString optionsWhere = QStringLiteral("\"common\" \"options\"");
    if (!options.isArray())
        fail(QStringLiteral("\"common\": нет списка \"options\""));
    std::array<bool, kOptionGroupCount> seen {};
    for (const QJsonValue item : options.toArray()) {
        const auto option = optionNamed(item.toString());
        if (!item.isString() || !option)
            fail(QStringLiteral("%1: неизвестный переключатель \"%2\"")
                     .arg(optionsWhere, item.toString()));
        if (std::exchange(seen[std::size_t(option->group)], true))
            fail(QStringLiteral("%1: два переключателя группы «%2»")
                     .arg(optionsWhere, QString::fromUtf8(optionGroupInfo(option->group).caption)));
        calculation.setOption(option->group, option->index);
    }
    for (const OptionGroupInfo &group : optionGroups())
        if (!seen[std::size_t(group.group)])
            fail(QStringLiteral("%1: не выбран переключатель группы «%2»")
                     .arg(optionsWhere, QString::fromUtf8(group.caption)));
    return calculation;
}

QList<ScheduleCell> readColumns(const QJsonArray &columns, Schedule &schedule)
{
    QList<ScheduleCell> cells;
    for (qsizetype k = 0; k < columns.size(); ++k) {
        const QString name = columns[k].toString();
        const auto cell = cellNamed(name);
        if (!columns[k].isString() || !cell)
            fail(QStringLiteral("\"columns\": неизвестный столбец \"%1\"").arg(name));
        if (cells.contains(*cell))
            fail(QStringLiteral("\"columns\": столбец \"%1\" указан дважды").arg(name));
        cells << *cell;
        if (cell->kind == ScheduleCell::Kind::Field)
            schedule.fields.push_back(cell->field);
    }
    return cells;
}

void readRows(const QJsonArray &rows, const QList<ScheduleCell> &cells, Schedule &schedule)
{
    if (rows.size() > kMostScheduleRows)
        fail(QStringLiteral("\"rows\": строк %1, а в ведомости может быть не больше %2")
                 .arg(rows.size())
                 .arg(kMostScheduleRows));
    schedule.rows.reserve(rows.size());
    for (qsizetype r = 0; r < rows.size(); ++r) {
        const QString where = QStringLiteral("\"rows\": строка %1").arg(r + 1);
        if (!rows[r].isArray())
            fail(QStringLiteral("%1: ожидается список текстов").arg(where));
        const QJsonArray texts = rows[r].toArray();
        if (texts.size() != cells.size())
            fail(QStringLiteral("%1: текстов %2, а столбцов %3")
                     .arg(where)
                     .arg(texts.size())
                     .arg(cells.size()));
        ScheduleRow row;
        for (qsizetype c = 0; c < cells.size(); ++c)
            row.text(cells[c]) = checkedText(
                texts[c], QStringLiteral("%1, столбец \"%2\"").arg(where, cellName(cells[c])));
        schedule.rows.append(std::move(row));
    }
}

ScheduleTitle readTitle(const QJsonObject &title)
{
    ScheduleTitle read;
    checkMembers(title, { "object", "author", "date" }, QStringLiteral("\"title\": "));
    for (const auto &[name, text] : { std::pair { "object", &read.object },
             std::pair { "author", &read.author }, std::pair { "date", &read.date } })
        if (title.contains(latin(name)))
            *text = checkedText(
                title.value(latin(name)), QStringLiteral("\"title\" \"%1\"").arg(latin(name)));
    return read;
}

} // namespace

QByteArray scheduleToJson(const Schedule &schedule)
{
    QByteArray fields = "{\n";
    for (qsizetype k = 0; k < qsizetype(inputFields().size()); ++k) {
        const FieldInfo &info = inputFields()[std::size_t(k)];
        fields += "      " + compact(latin(info.name)) + ": "
            + compact(schedule.common.text(info.field));
        fields += k + 1 < qsizetype(inputFields().size()) ? ",\n" : "\n";
    }
    fields += "    }";
    QJsonArray options;
    for (const OptionGroupInfo &group : optionGroups())
        options.append(schedule.common.selectedOptionName(group.group));
    const QList<ScheduleCell> cells = writtenCells(schedule);
    QJsonArray columns;
    for (const ScheduleCell &cell : cells)
        columns.append(cellName(cell));
    // One row a line: a schedule of hundreds of supports reads and diffs well.
    QByteArray rows = "[";
    for (qsizetype r = 0; r < schedule.rows.size(); ++r) {
        QJsonArray texts;
        for (const ScheduleCell &cell : cells)
            texts.append(schedule.rows[r].text(cell));
        rows += (r == 0 ? "\n    " : ",\n    ") + compact(texts);
    }
    rows += schedule.rows.isEmpty() ? "]" : "\n  ]";
    const QJsonObject title { { "object", schedule.title.object },
        { "author", schedule.title.author }, { "date", schedule.title.date } };
    return "{\n"
           "  \"format\": "
        + compact(latin(kFormatName))
        + ",\n  \"version\": " + QByteArray::number(kScheduleFileVersion)
        + ",\n  \"decimalSeparator\": " + compact(QString(schedule.decimalSeparator))
        + ",\n  \"common\": {\n    \"fields\": " + fields
        + ",\n    \"options\": " + compact(options) + "\n  },\n  \"columns\": " + compact(columns)
        + ",\n  \"rows\": " + rows + ",\n  \"title\": " + compact(title) + "\n}\n";
}

ScheduleFileReading scheduleFromJson(const QByteArray &json)
{
    const auto object = documentObject(json, QStringLiteral("это не ведомость опор Kelsa"),
        QStringLiteral("ведомость"), QStringLiteral("ведомость повреждена"));
    if (const QString *problem = std::get_if<QString>(&object))
        return ScheduleFileProblem { *problem };
    try {
        const QJsonObject &root = std::get<QJsonObject>(object);
        checkFormat(root);
        checkMembers(root,
            { "format", "version", "decimalSeparator", "common", "columns", "rows", "title" },
            QString());
        Schedule schedule;
        schedule.decimalSeparator = readSeparator(root);
        schedule.common = readCommon(memberObject(root, QStringLiteral("common"), QString()));
        const QList<ScheduleCell> cells
            = readColumns(memberArray(root, QStringLiteral("columns")), schedule);
        readRows(memberArray(root, QStringLiteral("rows")), cells, schedule);
        if (root.contains(QLatin1String("title")))
            schedule.title = readTitle(memberObject(root, QStringLiteral("title"), QString()));
        return schedule;
    } catch (const Problem &problem) {
        return ScheduleFileProblem { problem.text };
    }
}

ScheduleFileReading readScheduleFile(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return ScheduleFileProblem { QStringLiteral("файл не найден") };
    if (!info.isFile())
        return ScheduleFileProblem { QStringLiteral("это не файл") };
    const qint64 megabyte = qint64(1024) * 1024;
    if (info.size() > kLargestScheduleFile)
        return ScheduleFileProblem { QStringLiteral(
            "файл слишком велик (%1 МБ) для ведомости опор (не больше %2 МБ)")
                                         .arg((info.size() + megabyte - 1) / megabyte)
                                         .arg(kLargestScheduleFile / megabyte) };
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return ScheduleFileProblem { QStringLiteral("файл не открывается: %1")
                                         .arg(info.isReadable() ? file.errorString()
                                                                : systemErrorText(EACCES)) };
    // One byte past the limit, so that a file grown since it was measured is caught too.
    const QByteArray json = file.read(kLargestScheduleFile + 1);
    if (json.size() > kLargestScheduleFile)
        return ScheduleFileProblem { QStringLiteral("файл слишком велик для ведомости опор") };
    return scheduleFromJson(json);
}

QString writeScheduleFile(const QString &path, const Schedule &schedule)
{
    OutputFile file(path);
    if (!file.open())
        return file.errorString();
    const QByteArray json = scheduleToJson(schedule);
    if (file.write(json) != json.size() || !file.commit())
        return file.errorString();
    return {};
}

} // namespace kelsa
