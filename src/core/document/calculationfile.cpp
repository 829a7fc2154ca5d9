// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/document/calculationfile.h"

#include "core/calc/momentlabel.h"
#include "core/document/documentheader.h"
#include "core/numbers/numbertext.h"
#include "core/platform/outputfile.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cerrno>
#include <cmath>
#include <utility>

namespace kelsa
{

namespace
{

constexpr const char *kFormatName = "kelsa-calculation";
// Longer texts are no field's, caption's or title's: refusing them keeps a damaged or hostile
// file from filling the window and the report.
constexpr qsizetype kLongestText = 1000;

QString latin(const char *text)
{
    return QString::fromLatin1(text);
}

// ---------------------------------------------------------------------------------------------
// Writing. Members keep the order of the window (fields as the form lists them, tables Data1 to
// Data10, labels in the order of the moments) so that a file reads well and diffs well.

QByteArray compact(const QJsonValue &value)
{
    QByteArray text = QJsonDocument(QJsonArray { value }).toJson(QJsonDocument::Compact);
    return text.mid(1, text.size() - 2); // without the array's brackets
}

using Members = QList<QPair<QString, QByteArray>>; // name, JSON text of the value

QByteArray object(const Members &members, int indent)
{
    if (members.isEmpty())
        return "{}";
    const QByteArray inner(indent + 2, ' ');
    QByteArray text = "{\n";
    for (qsizetype k = 0; k < members.size(); ++k) {
        text += inner + compact(members[k].first) + ": " + members[k].second;
        text += k + 1 < members.size() ? ",\n" : "\n";
    }
    return text + QByteArray(indent, ' ') + '}';
}

QJsonArray optionNames(const Calculation &calculation)
{
    QJsonArray names;
    for (const OptionGroupInfo &group : optionGroups())
        names.append(calculation.selectedOptionName(group.group));
    return names;
}

QJsonObject sourceObject(const LookupSource &source)
{
    QJsonObject object { { "table", source.table }, { "record", source.record },
        { "row", source.row }, { "cell", source.cell } };
    if (!source.file.isEmpty())
        object.insert(QLatin1String("file"), source.file);
    return object;
}

// The inputs a stale moment was computed from, as far as they differ from the inputs now.
QJsonObject computedFromObject(const Calculation &from, const Calculation &now)
{
    QJsonObject fields;
    for (const FieldInfo &info : inputFields())
        if (from.text(info.field) != now.text(info.field))
            fields.insert(latin(info.name), from.text(info.field));
    return { { "fields", fields }, { "options", optionNames(from) } };
}

// ---------------------------------------------------------------------------------------------
// Reading. Each check throws the first problem found; nothing is half-applied, since the
// reading builds a value of its own and the caller applies it whole.

struct Problem {
    QString text;
};

[[noreturn]] void fail(const QString &text)
{
    throw Problem { text };
}

QJsonObject memberObject(const QJsonObject &parent, const char *name, const QString &where)
{
    const QJsonValue value = parent.value(latin(name));
    if (!value.isObject())
        fail(QStringLiteral("%1: нет объекта \"%2\"").arg(where, latin(name)));
    return value.toObject();
}

QString memberText(const QJsonObject &parent, const QString &name, const QString &where)
{
    const QJsonValue value = parent.value(name);
    if (!value.isString())
        fail(QStringLiteral("%1 \"%2\": ожидается текст").arg(where, name));
    QString text = value.toString();
    if (text.size() > kLongestText)
        fail(QStringLiteral("%1 \"%2\": текст длиннее %3 символов")
                 .arg(where, name)
                 .arg(kLongestText));
    return text;
}

int memberRecord(const QJsonObject &parent, const QString &name, const QString &where)
{
    const QJsonValue value = parent.value(name);
    const double number = value.toDouble(-1);
    if (!value.isDouble() || number != std::floor(number) || number < 1 || number > 1e9)
        fail(QStringLiteral("%1 \"%2\": номер записи должен быть целым числом от 1")
                 .arg(where, name));
    return int(number);
}

void checkFormat(const QJsonObject &root)
{
    if (const QString problem = documentHeaderProblem(
            root, kFormatName, QStringLiteral("файл расчета"), kCalculationFileVersion);
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

// Every field must be there and nothing else: a field left out would silently take another
// value than the one the results were computed from.
void readFields(const QJsonObject &fields, Calculation &calculation, const QString &where)
{
    for (auto it = fields.begin(); it != fields.end(); ++it)
        if (!inputFieldNamed(it.key()))
            fail(QStringLiteral("%1: неизвестное поле \"%2\"").arg(where, it.key()));
    for (const FieldInfo &info : inputFields()) {
        if (!fields.contains(latin(info.name)))
            fail(QStringLiteral("%1: нет поля \"%2\"").arg(where, latin(info.name)));
        calculation.text(info.field) = memberText(fields, latin(info.name), where);
    }
}

void readOptions(const QJsonValue &value, Calculation &calculation, const QString &where)
{
    if (!value.isArray())
        fail(QStringLiteral("%1: нет списка \"options\"").arg(where));
    std::array<bool, kOptionGroupCount> seen {};
    for (const QJsonValue item : value.toArray()) {
        const auto option = optionNamed(item.toString());
        if (!item.isString() || !option)
            fail(
                QStringLiteral("%1: неизвестный переключатель \"%2\"").arg(where, item.toString()));
        if (std::exchange(seen[std::size_t(option->group)], true))
            fail(QStringLiteral("%1: два переключателя группы «%2»")
                     .arg(where, QString::fromUtf8(optionGroupInfo(option->group).caption)));
        calculation.setOption(option->group, option->index);
    }
    for (const OptionGroupInfo &group : optionGroups())
        if (!seen[std::size_t(group.group)])
            fail(QStringLiteral("%1: не выбран переключатель группы «%2»")
                     .arg(where, QString::fromUtf8(group.caption)));
}

std::optional<int> tableIndex(QStringView navigator)
{
    for (int k = 0; k < kReferenceTableCount; ++k)
        if (navigator == latin(referenceTables()[std::size_t(k)].navigator))
            return k;
    return std::nullopt;
}

void readRecords(const QJsonObject &records, SavedCalculation &saved)
{
    const QString where = QStringLiteral("\"records\"");
    for (auto it = records.begin(); it != records.end(); ++it) {
        const auto index = tableIndex(it.key());
        if (!index)
            fail(QStringLiteral("%1: неизвестная таблица \"%2\"").arg(where, it.key()));
        saved.records[std::size_t(*index)] = memberRecord(records, it.key(), where);
    }
}

void readSources(const QJsonObject &sources, Calculation &calculation)
{
    for (auto it = sources.begin(); it != sources.end(); ++it) {
        const auto field = inputFieldNamed(it.key());
        if (!field || !fieldInfo(*field).lookup)
            fail(QStringLiteral("\"sources\": \"%1\" не поле справочных данных").arg(it.key()));
        if (!it.value().isObject())
            fail(QStringLiteral("\"sources\" \"%1\": ожидается объект").arg(it.key()));
        const QJsonObject source = it.value().toObject();
        const QString where = QStringLiteral("\"sources\" \"%1\":").arg(it.key());
        LookupSource read;
        read.table = memberText(source, QStringLiteral("table"), where);
        if (!tableIndex(read.table))
            fail(QStringLiteral("%1 неизвестная таблица \"%2\"").arg(where, read.table));
        read.record = memberRecord(source, QStringLiteral("record"), where);
        read.row = memberText(source, QStringLiteral("row"), where);
        read.cell = memberText(source, QStringLiteral("cell"), where);
        if (source.contains(QLatin1String("file")))
            read.file = memberText(source, QStringLiteral("file"), where);
        calculation.sources[std::size_t(*field)] = read;
    }
}

void readResults(const QJsonObject &results, SavedCalculation &saved)
{
    for (auto it = results.begin(); it != results.end(); ++it) {
        const auto moment = momentForLabel(it.key());
        if (!moment)
            fail(QStringLiteral("\"results\": неизвестная метка результата \"%1\"").arg(it.key()));
        if (!it.value().isObject())
            fail(QStringLiteral("\"results\" \"%1\": ожидается объект").arg(it.key()));
        const QJsonObject result = it.value().toObject();
        const QString where = QStringLiteral("\"results\" \"%1\":").arg(it.key());
        SavedResult &read = saved.result(*moment);
        read.text = memberText(result, QStringLiteral("text"), where);
        if (result.contains(QLatin1String("computedFrom"))) {
            const QJsonObject from = memberObject(result, "computedFrom", where);
            Calculation computedFrom = saved.calculation;
            computedFrom.sources = {};
            const QJsonObject fields = memberObject(from, "fields", where);
            for (auto field = fields.begin(); field != fields.end(); ++field)
                if (!computedFrom.setText(field.key(), memberText(fields, field.key(), where)))
                    fail(QStringLiteral("%1 неизвестное поле \"%2\"").arg(where, field.key()));
            readOptions(from.value(QLatin1String("options")), computedFrom, where);
            read.computedFrom = computedFrom;
        }
    }
}

// A shown result must be what its button gives for the inputs it was computed from: a label
// edited by hand, or inputs edited after it, would otherwise reach the report as a moment.
void checkResults(const SavedCalculation &saved, const QLocale &locale)
{
    for (const MomentInfo &info : moments()) {
        const SavedResult &result = saved.result(info.moment);
        if (result.text.isEmpty())
            continue;
        const MomentOutcome outcome
            = computeMoment(result.computedFrom.value_or(saved.calculation), info.moment, locale);
        const QString expected = resultLabelText(outcome, locale);
        if (result.text != expected)
            fail(QStringLiteral("результат \"%1\" (%2) не следует из сохраненных исходных "
                                "данных (по ним: %3)")
                     .arg(latin(info.label), result.text,
                         expected.isEmpty() ? QStringLiteral("момент не вычисляется") : expected));
    }
}

// The text with the two separators exchanged: "0,5" becomes "0.5" and "0.5" becomes "0,5".
QString exchanged(QString text, QChar one, QChar other)
{
    for (QChar &c : text)
        if (c == one)
            c = other;
        else if (c == other)
            c = one;
    return text;
}

// A field's text, given in the window's separator, must read there as the file's text reads in
// the file's own locale: the same number, or no number.
void checkReadsTheSame(const QString &written, const QString &shown, const QLocale &file,
    const QLocale &window, const QString &where)
{
    if (readNumber(written, file) != readNumber(shown, window))
        fail(QStringLiteral("%1: «%2» читается в формате чисел этого компьютера (%3) иначе, "
                            "чем в файле")
                 .arg(where, written, window.name()));
}

void giveInSeparatorOf(SavedCalculation &saved, const QLocale &file, const QLocale &window)
{
    const QChar from = saved.decimalSeparator;
    const QChar to = window.decimalPoint().front();
    const auto give = [&](Calculation &calculation, const QString &where) {
        for (const FieldInfo &info : inputFields()) {
            QString &text = calculation.text(info.field);
            const QString shown = exchanged(text, from, to);
            checkReadsTheSame(text, shown, file, window,
                QStringLiteral("%1 \"%2\"").arg(where, latin(info.name)));
            text = shown;
        }
    };
    give(saved.calculation, QStringLiteral("\"fields\""));
    for (const MomentInfo &info : moments()) {
        SavedResult &result = saved.result(info.moment);
        result.text = exchanged(result.text, from, to);
        if (result.computedFrom)
            give(*result.computedFrom,
                QStringLiteral("\"results\" \"%1\": \"computedFrom\"").arg(latin(info.label)));
    }
    saved.decimalSeparator = to;
}

} // namespace

static CalculationFileReading fromJson(const QByteArray &json, const QLocale *locale);

QLocale calculationFileLocale(QChar separator)
{
    return separator == QLatin1Char(',') ? QLocale(QLocale::Russian, QLocale::Russia)
                                         : QLocale::c();
}

QLocale localeWithSeparator(QChar separator, const QLocale &preferred)
{
    if (preferred.decimalPoint() == QString(separator))
        return preferred;
    return separator == QLatin1Char(',') ? QLocale(QLocale::Russian, QLocale::Russia)
                                         : QLocale::c();
}

QByteArray calculationToJson(const SavedCalculation &saved)
{
    const Calculation &calculation = saved.calculation;
    Members fields, records, sources, results;
    for (const FieldInfo &info : inputFields()) {
        fields.append({ latin(info.name), compact(calculation.text(info.field)) });
        if (const auto &source = calculation.source(info.field))
            sources.append({ latin(info.name), compact(sourceObject(*source)) });
    }
    for (int k = 0; k < kReferenceTableCount; ++k)
        records.append({ latin(referenceTables()[std::size_t(k)].navigator),
            QByteArray::number(saved.records[std::size_t(k)]) });
    for (const MomentInfo &info : moments()) {
        const SavedResult &result = saved.result(info.moment);
        QJsonObject entry { { "text", result.text } };
        if (result.computedFrom && !result.text.isEmpty())
            entry.insert("computedFrom", computedFromObject(*result.computedFrom, calculation));
        results.append({ latin(info.label), compact(entry) });
    }
    const QJsonObject title { { "object", saved.title.object }, { "support", saved.title.support },
        { "author", saved.title.author } };
    Members document {
        { QStringLiteral("format"), compact(latin(kFormatName)) },
        { QStringLiteral("version"), QByteArray::number(kCalculationFileVersion) },
        { QStringLiteral("decimalSeparator"), compact(QString(saved.decimalSeparator)) },
        { QStringLiteral("fields"), object(fields, 2) },
        { QStringLiteral("options"), compact(optionNames(calculation)) },
        { QStringLiteral("records"), object(records, 2) },
        { QStringLiteral("sources"), object(sources, 2) },
        { QStringLiteral("results"), object(results, 2) },
        { QStringLiteral("title"), compact(title) },
    };
    // Only a chosen type is written: a file without it picks, as files always did.
    if (!saved.supportType.isEmpty())
        document.append({ QStringLiteral("supportType"), compact(saved.supportType) });
    return object(document, 0) + '\n';
}

CalculationFileReading calculationFromJson(const QByteArray &json, const QLocale &locale)
{
    return fromJson(json, &locale);
}

// With no locale, the texts stay as written.
static CalculationFileReading fromJson(const QByteArray &json, const QLocale *locale)
{
    // A calculation file is a JSON object: text that does not even start as one is some other
    // file, while text that does and breaks off later is a damaged calculation.
    const auto object = documentObject(json, QStringLiteral("это не файл расчета Kelsa"),
        QStringLiteral("файл расчета"), QStringLiteral("файл расчета поврежден"));
    if (const QString *problem = std::get_if<QString>(&object))
        return CalculationFileProblem { *problem };
    try {
        const QJsonObject &root = std::get<QJsonObject>(object);
        checkFormat(root);
        SavedCalculation saved;
        saved.decimalSeparator = readSeparator(root);
        readFields(memberObject(root, "fields", QStringLiteral("\"fields\"")), saved.calculation,
            QStringLiteral("\"fields\""));
        readOptions(
            root.value(QLatin1String("options")), saved.calculation, QStringLiteral("\"options\""));
        readRecords(memberObject(root, "records", QStringLiteral("файл")), saved);
        if (root.contains(QLatin1String("sources")))
            readSources(memberObject(root, "sources", QStringLiteral("файл")), saved.calculation);
        readResults(memberObject(root, "results", QStringLiteral("файл")), saved);
        if (root.contains(QLatin1String("title"))) {
            const QString where = QStringLiteral("\"title\"");
            const QJsonObject title = memberObject(root, "title", QStringLiteral("файл"));
            for (const auto &[name, text] : { std::pair { "object", &saved.title.object },
                     std::pair { "support", &saved.title.support },
                     std::pair { "author", &saved.title.author } })
                if (title.contains(latin(name)))
                    *text = memberText(title, latin(name), where);
        }
        if (root.contains(QLatin1String("supportType")))
            saved.supportType
                = memberText(root, QStringLiteral("supportType"), QStringLiteral("файл")).trimmed();
        const QLocale file = calculationFileLocale(saved.decimalSeparator);
        checkResults(saved, file);
        if (locale)
            giveInSeparatorOf(saved, file, *locale);
        return saved;
    } catch (const Problem &problem) {
        return CalculationFileProblem { problem.text };
    }
}

// The file's bytes, or the empty array and the problem.
static QByteArray readBounded(const QString &path, QString &problem)
{
    const QFileInfo info(path);
    if (!info.exists()) {
        problem = QStringLiteral("файл не найден");
        return {};
    }
    if (!info.isFile()) {
        problem = QStringLiteral("это не файл");
        return {};
    }
    if (info.size() > kLargestCalculationFile) {
        problem = QStringLiteral("файл слишком велик (%1 МБ) для файла расчета (не больше %2 МБ)")
                      .arg(info.size() / (qint64(1024) * 1024))
                      .arg(kLargestCalculationFile / (qint64(1024) * 1024));
        return {};
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        // Unreadable by permissions in Kelsa's own words; any rarer reason as Qt gives it.
        problem = QStringLiteral("файл не открывается: %1")
                      .arg(info.isReadable() ? file.errorString() : systemErrorText(EACCES));
        return {};
    }
    // One byte past the limit, so that a file grown since it was measured is caught too.
    QByteArray json = file.read(kLargestCalculationFile + 1);
    if (json.size() > kLargestCalculationFile) {
        problem = QStringLiteral("файл слишком велик для файла расчета");
        return {};
    }
    return json;
}

CalculationFileReading readCalculationFile(const QString &path, const QLocale &locale)
{
    QString problem;
    const QByteArray json = readBounded(path, problem);
    if (!problem.isEmpty())
        return CalculationFileProblem { problem };
    return fromJson(json, &locale);
}

CalculationFileReading readCalculationFileAsWritten(const QString &path)
{
    QString problem;
    const QByteArray json = readBounded(path, problem);
    if (!problem.isEmpty())
        return CalculationFileProblem { problem };
    return fromJson(json, nullptr);
}

QString writeCalculationFile(const QString &path, const SavedCalculation &saved)
{
    OutputFile file(path);
    if (!file.open())
        return file.errorString();
    const QByteArray json = calculationToJson(saved);
    if (file.write(json) != json.size() || !file.commit())
        return file.errorString();
    return {};
}

} // namespace kelsa
