// SPDX-License-Identifier: GPL-3.0-or-later
// The .kelsa-schedule file: what is written reads back as the same schedule; every kind of bad
// file is refused with its first problem and the place of it; texts, rows and the file's size up
// to their limits and not one past; a write that fails leaves the old file in place.
#include "core/schedule/schedulefile.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <functional>
#include <sys/resource.h>

using namespace kelsa;

namespace
{

// Three supports of a curve, the second with a type of its own, the third a copy left to pick.
Schedule example(QChar separator)
{
    const QString half = QStringLiteral("0") + separator + QStringLiteral("5");
    Schedule schedule;
    schedule.decimalSeparator = separator;
    schedule.common.setText(u"Prolet", QStringLiteral("55"));
    schedule.common.setText(u"txtVm", QStringLiteral("29"));
    schedule.common.setText(u"txtGnv", half);
    schedule.common.selectOption(u"Option19");
    schedule.fields = { InputField::SpanLength, InputField::CurveRadius, InputField::IcePnv };
    ScheduleRow row;
    row.support = QStringLiteral("12");
    row.section = QStringLiteral("Вне.кривая");
    row.field(InputField::SpanLength) = QStringLiteral("50");
    row.field(InputField::CurveRadius) = QStringLiteral("600");
    row.field(InputField::IcePnv) = half;
    schedule.rows << row;
    row.support = QStringLiteral("14а \"анкерная\"");
    row.section.clear();
    row.field(InputField::CurveRadius) = QStringLiteral("шесть сотен");
    row.supportType = QStringLiteral("Проба-25");
    schedule.rows << row;
    row.support = QStringLiteral("16\tвторая");
    row.supportType.clear();
    schedule.rows << row;
    schedule.title = { QStringLiteral("Перегон А — Б"), QStringLiteral("Иванов И. И."),
        QStringLiteral("8 декабря") };
    return schedule;
}

QByteArray exampleJson()
{
    return scheduleToJson(example(QLatin1Char(',')));
}

QByteArray replaced(const QByteArray &json, const char *from, const QByteArray &to)
{
    QByteArray result = json;
    const qsizetype at = result.indexOf(from);
    if (at < 0)
        qFatal("fixture text not found: %s", from);
    return result.replace(at, qsizetype(qstrlen(from)), to);
}

QByteArray utf8(const QString &text)
{
    return text.toUtf8();
}

// The example's document changed as a JSON object (member order aside).
QByteArray edited(const std::function<void(QJsonObject &)> &edit)
{
    QJsonObject root = QJsonDocument::fromJson(exampleJson()).object();
    edit(root);
    return QJsonDocument(root).toJson();
}

// A schedule of only the support column and `rows` rows.
QByteArray manyRows(qsizetype rows)
{
    return edited([rows](QJsonObject &root) {
        root[QLatin1String("columns")] = QJsonArray { QStringLiteral("support") };
        QJsonArray list;
        for (qsizetype r = 0; r < rows; ++r)
            list.append(QJsonArray { QStringLiteral("1") });
        root[QLatin1String("rows")] = list;
    });
}

// The example without the member `name` of the member `parent` (empty: of the document).
QByteArray without(const QString &parent, const QString &name)
{
    return edited([&](QJsonObject &root) {
        if (parent.isEmpty())
            return void(root.remove(name));
        QJsonObject inner = root[parent].toObject();
        inner.remove(name);
        root[parent] = inner;
    });
}

// The file refused with exactly `problem`, or accepted when `problem` is empty.
void checkReading(const ScheduleFileReading &read, const QString &problem)
{
    const auto *got = std::get_if<ScheduleFileProblem>(&read);
    if (problem.isEmpty())
        QVERIFY2(!got, got ? qPrintable(got->text) : "");
    else
        QVERIFY2(got && got->text == problem,
            qPrintable(QStringLiteral("got «%1», expected «%2»")
                           .arg(got ? got->text : QStringLiteral("accepted"), problem)));
}

} // namespace

class TestScheduleFile : public QObject
{
    Q_OBJECT

private slots:
    void readsBackWhatItWrote_data();
    void readsBackWhatItWrote();
    void refusesBadFiles_data();
    void refusesBadFiles();
    void formatVersion_data();
    void formatVersion();
    void upToTheLimits_data();
    void upToTheLimits();
    void damagedJsonByLineAndColumn_data();
    void damagedJsonByLineAndColumn();
    void fileSizeUpToTheLimit_data();
    void fileSizeUpToTheLimit();
    void failedWriteKeepsTheOldFile();
};

void TestScheduleFile::readsBackWhatItWrote_data()
{
    QTest::addColumn<Schedule>("schedule");

    QTest::newRow("decimal comma") << example(QLatin1Char(','));
    QTest::newRow("decimal point") << example(QLatin1Char('.'));
    Schedule empty = example(QLatin1Char(','));
    empty.rows.clear();
    empty.title = {};
    QTest::newRow("no rows, no title") << empty;
    Schedule noFields = example(QLatin1Char(','));
    noFields.fields.clear();
    for (ScheduleRow &row : noFields.rows)
        row.fields = {};
    QTest::newRow("no field columns") << noFields;
    Schedule reordered = example(QLatin1Char('.'));
    reordered.fields = { InputField::IcePnv, InputField::SpanLength, InputField::CurveRadius };
    QTest::newRow("field columns in another order") << reordered;
}

void TestScheduleFile::readsBackWhatItWrote()
{
    QFETCH(Schedule, schedule);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("перегон.kelsa-schedule"));
    QCOMPARE(writeScheduleFile(path, schedule), QString());
    const ScheduleFileReading read = readScheduleFile(path);
    checkReading(read, QString());
    if (QTest::currentTestFailed())
        return;
    QVERIFY(std::get<Schedule>(read) == schedule);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), scheduleToJson(schedule));
}

void TestScheduleFile::refusesBadFiles_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<QString>("problem");

    const QByteArray json = exampleJson();
    const QString notSchedule = QStringLiteral("это не ведомость опор Kelsa (ведомость "
                                               "начинается с «{»)");
    QTest::newRow("empty") << QByteArray() << "файл пуст";
    QTest::newRow("only blanks") << QByteArray(" \r\n\t\n") << "файл пуст";
    QTest::newRow("a CSV table") << QByteArray("support;Prolet\n12;50\n") << notSchedule;
    QTest::newRow("a JSON list") << QByteArray("\xEF\xBB\xBF [{}]") << notSchedule;
    QTest::newRow("a calculation file")
        << replaced(json, "\"kelsa-schedule\"", "\"kelsa-calculation\"")
        << "это не ведомость опор Kelsa (нет \"format\": \"kelsa-schedule\")";
    QTest::newRow("unknown member")
        << replaced(json, "\"title\"", "\"titel\"") << "неизвестный элемент \"titel\"";
    QTest::newRow("unknown member of the common data") << replaced(json, "\"options\"",
        "\"records\": {}, \"options\"") << "\"common\": неизвестный элемент \"records\"";
    QTest::newRow("unknown member of the title") << replaced(json, "\"author\"", "\"support\"")
                                                 << "\"title\": неизвестный элемент \"support\"";
    QTest::newRow("no separator") << replaced(json, "\"decimalSeparator\": \",\",", "")
                                  << "\"decimalSeparator\" должен быть \",\" или \".\"";
    QTest::newRow("separator a blank") << replaced(json, "\"decimalSeparator\": \",\"",
        "\"decimalSeparator\": \" \"") << "\"decimalSeparator\" должен быть \",\" или \".\"";

    QTest::newRow("no common data")
        << without({}, QStringLiteral("common")) << "нет объекта \"common\"";
    QTest::newRow("no common fields") << without(QStringLiteral("common"), QStringLiteral("fields"))
                                      << "\"common\": нет объекта \"fields\"";
    QTest::newRow("unknown common field") << replaced(json, "\"Prolet\"", "\"Prolett\"")
                                          << "\"common\" \"fields\": неизвестное поле \"Prolett\"";
    QTest::newRow("missing common field") << replaced(json, "\"Prolet\": \"55\",", "")
                                          << "\"common\" \"fields\": нет поля \"Prolet\"";
    QTest::newRow("common field a number") << replaced(json, "\"Prolet\": \"55\"", "\"Prolet\": 55")
                                           << "\"common\" \"fields\" \"Prolet\": ожидается текст";
    QTest::newRow("no options") << without(QStringLiteral("common"), QStringLiteral("options"))
                                << "\"common\": нет списка \"options\"";
    QTest::newRow("unknown option") << replaced(json, "\"Option19\"", "\"Option99\"")
                                    << "\"common\" \"options\": неизвестный переключатель "
                                       "\"Option99\"";
    QTest::newRow("two options of a group") << replaced(json, "\"Option1\"", "\"Option18\"")
                                            << "\"common\" \"options\": два переключателя группы "
                                               "«Участок пути»";
    QTest::newRow("no track section") << replaced(json, "\"Option19\",", "")
                                      << "\"common\" \"options\": не выбран переключатель группы "
                                         "«Участок пути»";
    QTest::newRow("no columns") << without({}, QStringLiteral("columns"))
                                << "нет списка \"columns\"";
    QTest::newRow("unknown column") << replaced(json, "\"columns\": [\"support\"",
        "\"columns\": [\"opora\"") << "\"columns\": неизвестный столбец \"opora\"";
    QTest::newRow("a result column") << replaced(json, "\"columns\": [\"support\"",
        "\"columns\": [\"Label1\"") << "\"columns\": неизвестный столбец \"Label1\"";
    QTest::newRow("column twice") << replaced(
        json, "\"columns\": [\"support\",\"section\"", "\"columns\": [\"support\",\"support\"")
                                  << "\"columns\": столбец \"support\" указан "
                                     "дважды";
    QTest::newRow("no rows") << without({}, QStringLiteral("rows")) << "нет списка \"rows\"";
    QTest::newRow("row not a list") << edited([](QJsonObject &root) {
        QJsonArray rows = root[QLatin1String("rows")].toArray();
        rows[0] = QJsonObject { { "support", "12" } };
        root[QLatin1String("rows")] = rows;
    }) << "\"rows\": строка 1: ожидается список текстов";
    QTest::newRow("row a text short")
        << replaced(json, ",\"Проба-25\"]", "]") << "\"rows\": строка 2: текстов 5, а столбцов 6";
    QTest::newRow("row a text long") << replaced(json, "\"Проба-25\"]", "\"Проба-25\",\"\"]")
                                     << "\"rows\": строка 2: текстов 7, а столбцов 6";
    QTest::newRow("row's number") << replaced(json, "\"600\"", "600")
                                  << "\"rows\": строка 1, столбец \"Text4\": ожидается текст";
    QTest::newRow("title a text") << edited([](QJsonObject &root) {
        root[QLatin1String("title")] = QStringLiteral("А — Б");
    }) << "нет объекта \"title\"";
}

void TestScheduleFile::refusesBadFiles()
{
    QFETCH(QByteArray, json);
    QFETCH(QString, problem);
    checkReading(scheduleFromJson(json), problem);
}

void TestScheduleFile::formatVersion_data()
{
    QTest::addColumn<QByteArray>("version");
    QTest::addColumn<QString>("problem"); // empty: accepted

    const QString notWhole
        = QStringLiteral("\"version\": версия формата должна быть целым числом от 1");
    QTest::newRow("0") << QByteArray("0") << notWhole;
    QTest::newRow("1.5") << QByteArray("1.5") << notWhole;
    QTest::newRow("as text") << QByteArray("\"1\"") << notWhole;
    QTest::newRow("1") << QByteArray("1") << QString();
    QTest::newRow("2") << QByteArray("2")
                       << "файл записан более новой версией Kelsa (версия формата 2, эта "
                          "программа читает версию 1)";
}

void TestScheduleFile::formatVersion()
{
    QFETCH(QByteArray, version);
    QFETCH(QString, problem);
    checkReading(
        scheduleFromJson(replaced(exampleJson(), "\"version\": 1", "\"version\": " + version)),
        problem);
}

// Texts up to 1,000 characters (not bytes: a Cyrillic letter takes two) and up to 100,000 rows
// are read; one more refuses the file, naming the place.
void TestScheduleFile::upToTheLimits_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<QString>("problem"); // empty: accepted

    for (const int length : { 1000, 1001 }) {
        const QByteArray text = utf8('"' + QString(length, QChar(u'ж')) + '"');
        const auto refusal = [&](const char *where) {
            return length <= 1000
                ? QString()
                : QStringLiteral("%1: текст длиннее 1000 символов").arg(QString::fromUtf8(where));
        };
        QTest::addRow("row text of %d", length) << replaced(exampleJson(), "\"Проба-25\"", text)
                                                << refusal("\"rows\": строка 2, столбец "
                                                           "\"supportType\"");
        QTest::addRow("common field of %d", length) << replaced(exampleJson(), "\"Prolet\": \"55\"",
            "\"Prolet\": " + text) << refusal("\"common\" \"fields\" \"Prolet\"");
        QTest::addRow("title of %d", length) << replaced(exampleJson(), "\"Перегон А — Б\"", text)
                                             << refusal("\"title\" \"object\"");
    }
    QTest::newRow("100000 rows") << manyRows(100000) << QString();
    QTest::newRow("100001 rows") << manyRows(100001)
                                 << "\"rows\": строк 100001, а в ведомости может быть не больше "
                                    "100000";
}

void TestScheduleFile::upToTheLimits()
{
    QFETCH(QByteArray, json);
    QFETCH(QString, problem);
    checkReading(scheduleFromJson(json), problem);
}

// A damaged file is told by line and column, the column counted in characters of its line.
void TestScheduleFile::damagedJsonByLineAndColumn_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<QString>("problem");

    const QByteArray json = exampleJson();
    QTest::newRow("comma missing at the end of a line")
        << replaced(json, "\"Prolet\": \"55\",", "\"Prolet\": \"55\"")
        << "ведомость повреждена в строке 7, столбце 21 (ожидается «,» или «}»)";
    QTest::newRow("comma missing between rows after Cyrillic text")
        << replaced(json, "\"Вне.кривая\",", "\"Вне.кривая\"")
        << "ведомость повреждена в строке 48, столбце 23 (ожидается «,»)";
    QTest::newRow("cut short in a row") << json.left(json.indexOf("\"Проба-25\""))
                                        << "ведомость повреждена в строке 49, столбце 53 (текст "
                                           "обрывается)";
}

void TestScheduleFile::damagedJsonByLineAndColumn()
{
    QFETCH(QByteArray, json);
    QFETCH(QString, problem);
    checkReading(scheduleFromJson(json), problem);
}

// A file of exactly 64 MB is read (here a schedule followed by blanks); one byte more is
// refused before it is read, and so is a far larger one, by its size rounded up.
void TestScheduleFile::fileSizeUpToTheLimit_data()
{
    QTest::addColumn<qint64>("size");
    QTest::addColumn<QString>("problem");

    QTest::newRow("64 MB") << kLargestScheduleFile << QString();
    QTest::newRow("64 MB and a byte") << kLargestScheduleFile + 1
                                      << "файл слишком велик (65 МБ) для ведомости опор (не "
                                         "больше 64 МБ)";
}

void TestScheduleFile::fileSizeUpToTheLimit()
{
    QFETCH(qint64, size);
    QFETCH(QString, problem);
    QTemporaryDir dir;
    QFile file(dir.filePath(QStringLiteral("big.kelsa-schedule")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    const QByteArray json = exampleJson();
    QCOMPARE(file.write(json), json.size());
    QCOMPARE(file.write(QByteArray(size - json.size(), ' ')), size - json.size());
    file.close();
    checkReading(readScheduleFile(file.fileName()), problem);
}

// A disk that fills up half-way: the file-size limit makes the write fail after a few bytes.
void TestScheduleFile::failedWriteKeepsTheOldFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("перегон.kelsa-schedule"));
    QCOMPARE(writeScheduleFile(path, example(QLatin1Char(','))), QString());

    rlimit old {};
    getrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = 512;
    setrlimit(RLIMIT_FSIZE, &small);
    const QString error = writeScheduleFile(path, example(QLatin1Char('.')));
    setrlimit(RLIMIT_FSIZE, &old);

    QVERIFY(!error.isEmpty());
    const ScheduleFileReading read = readScheduleFile(path);
    QVERIFY(std::holds_alternative<Schedule>(read));
    QVERIFY(std::get<Schedule>(read) == example(QLatin1Char(',')));
    QCOMPARE(readScheduleFile(dir.filePath(QStringLiteral("нет.kelsa-schedule"))).index(), 1u);
}

QTEST_GUILESS_MAIN(TestScheduleFile)
#include "test_schedulefile.moc"
