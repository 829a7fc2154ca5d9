// SPDX-License-Identifier: GPL-3.0-or-later
// A schedule to and from a spreadsheet: the import of CSV and .xlsx by the rules of kelsa
// --batch, and every refusal with its line; the export that --batch computes back to the same
// bytes; round trips CSV ↔ .xlsx ↔ schedule, the .xlsx read back with Kelsa's own reader; and
// kelsa --batch with an .xlsx in and out.
#include "core/batch/batchworkbooks.h"
#include "core/batch/csvtable.h"
#include "core/numbers/numbertext.h"
#include "core/schedule/scheduleexport.h"
#include "core/schedule/scheduleimport.h"
#include "core/batch/tableworkbook.h"
#include "core/batch/xlsxwriterlibrary.h"
#include "core/tables/workbookreader.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace kelsa;

namespace
{

const QString kScheduleCsv = QStringLiteral(KELSA_SAMPLE_DATA "/../docs/schedule.csv");

// Two types, so that the five supports of the sample fall on both sides of 90 %.
SupportCatalogue catalogue()
{
    SupportCatalogue catalogue;
    catalogue.state = SupportCatalogue::State::Ok;
    catalogue.unit = MomentUnit::KilogramForceMetre;
    catalogue.types = { { QStringLiteral("С-136"), 5000, {}, {}, 2 },
        { QStringLiteral("С-200"), 20000, {}, {}, 3 } };
    return catalogue;
}

// A new schedule's common data: the start-up texts, a decimal comma.
Schedule blank(QChar separator = QLatin1Char(','))
{
    Schedule schedule;
    schedule.decimalSeparator = separator;
    schedule.fields.clear();
    return schedule;
}

Schedule imported(const QByteArray &csv, const Schedule &common = blank())
{
    QBuffer buffer;
    buffer.setData(csv);
    buffer.open(QIODevice::ReadOnly);
    ScheduleImportResult result = importScheduleCsv(buffer, common);
    if (const auto *problem = std::get_if<ScheduleImportProblem>(&result))
        qWarning("%s", qPrintable(problem->text));
    return std::holds_alternative<Schedule>(result) ? std::get<Schedule>(result) : Schedule();
}

Schedule sample()
{
    QFile file(kScheduleCsv);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("no sample schedule");
    return imported(file.readAll());
}

std::vector<ScheduleRowResult> computed(const Schedule &schedule)
{
    return *computeScheduleRows(schedule, catalogue(), {});
}

// What --batch makes of a CSV table, with the same catalogue.
QByteArray batchRun(const QByteArray &csv, QChar separator)
{
    QBuffer in;
    in.setData(csv);
    in.open(QIODevice::ReadOnly);
    QBuffer out;
    out.open(QIODevice::WriteOnly);
    BatchSettings settings { localeForDecimal(separator), {} };
    settings.catalogue = catalogue();
    const BatchResult result = runBatch(in, out, settings);
    if (const auto *problem = std::get_if<BatchProblem>(&result))
        qWarning("%lld: %s", problem->line, qPrintable(problem->text));
    return out.data();
}

// A workbook's first sheet with its heading, as Kelsa reads it.
QList<QStringList> sheet(const QString &path, QChar separator)
{
    SheetRequest request { path, {}, 0, true, kMostImportColumns };
    const SheetReadResult read = readSheets({ request }, localeForDecimal(separator)).constFirst();
    if (read.status != SheetReadResult::Status::Ok)
        qWarning("workbook not read: %d", int(read.status));
    return read.records;
}

QList<QStringList> csvRecords(const QByteArray &csv)
{
    QBuffer buffer;
    buffer.setData(csv);
    buffer.open(QIODevice::ReadOnly);
    CsvReader reader(&buffer);
    QList<QStringList> records;
    for (QStringList cells; reader.readRecord(cells);)
        records << cells;
    return records;
}

} // namespace

class TestScheduleExchange : public QObject
{
    Q_OBJECT

private slots:
    void importReadsAsBatchDoes_data();
    void importReadsAsBatchDoes();
    void importRefusals_data();
    void importRefusals();
    void exportComputesBackToItself_data();
    void exportComputesBackToItself();
    void roundTrips_data();
    void roundTrips();
    void batchWithWorkbooks_data();
    void batchWithWorkbooks();
    void unreadableWorkbooks_data();
    void unreadableWorkbooks();
    void xlsxWriterLoading_data();
    void xlsxWriterLoading();
};

// Each row: a table, and the import's field columns and first row as "support|section|fields
// in order|supportType".
void TestScheduleExchange::importReadsAsBatchDoes_data()
{
    QTest::addColumn<QByteArray>("csv");
    QTest::addColumn<QChar>("separator"); // the schedule's
    QTest::addColumn<QString>("fields");
    QTest::addColumn<QString>("firstRow");

    QTest::newRow("semicolons and decimal commas")
        << QByteArray("support;section;Prolet;txtGnv\n12;Прямая;50;0,5\n") << QChar(u',')
        << "Prolet txtGnv"
        << "12|Прямая|50 0,5|";
    QTest::newRow("decimal points into a comma schedule")
        << QByteArray("support,Prolet,txtGnv\n12,50.5,0.5\n") << QChar(u',') << "Prolet txtGnv"
        << "12||50,5 0,5|";
    QTest::newRow("decimal commas into a point schedule")
        << QByteArray("support;Prolet\n12;50,5\n") << QChar(u'.') << "Prolet"
        << "12||50.5|";
    QTest::newRow("no number either way stays")
        << QByteArray("Prolet;txtGnv\n1,5.0;пять\n") << QChar(u',') << "Prolet txtGnv"
        << "||1,5.0 пять|";
    QTest::newRow("names in any case, fields in the table's order")
        << QByteArray("SUPPORT;TXTGNV;prolet;SupportType\n12;0,5;50; С-136 \n") << QChar(u',')
        << "txtGnv Prolet"
        << "12||0,5 50|С-136";
    QTest::newRow("results and unnamed columns left out")
        << QByteArray("support;Prolet;Label1;;governing;errors;notes\n12;50;1,5;x;Label1;e;n\n")
        << QChar(u',') << "Prolet"
        << "12||50|";
    QTest::newRow("Windows-1251") << QByteArray(
        "support;section;Prolet\n\xEE\xEF\xEE\xF0\xE0 1;\xCF\xF0\xFF\xEC\xE0\xFF;50\n")
                                  << QChar(u',') << "Prolet"
                                  << "опора 1|Прямая|50|";
    QTest::newRow("empty cells past the heading")
        << QByteArray("support;Prolet\n12;50;;\n") << QChar(u',') << "Prolet"
        << "12||50|";
    QTest::newRow("blank lines skipped")
        << QByteArray("Prolet\n\n\n50\n") << QChar(u',') << "Prolet"
        << "||50|";
}

void TestScheduleExchange::importReadsAsBatchDoes()
{
    QFETCH(QByteArray, csv);
    QFETCH(QChar, separator);
    QFETCH(QString, fields);
    QFETCH(QString, firstRow);
    const Schedule schedule = imported(csv, blank(separator));
    QStringList names;
    QStringList texts;
    for (const InputField field : schedule.fields) {
        names << QString::fromLatin1(fieldInfo(field).name);
        texts << schedule.rows.value(0).field(field);
    }
    QCOMPARE(names.join(u' '), fields);
    QCOMPARE(schedule.rows.size(), 1);
    const ScheduleRow &row = schedule.rows.constFirst();
    QCOMPARE(
        QStringList({ row.support, row.section, texts.join(u' '), row.supportType }).join(u'|'),
        firstRow);
    QCOMPARE(schedule.decimalSeparator, separator);
}

void TestScheduleExchange::importRefusals_data()
{
    QTest::addColumn<QByteArray>("csv");
    QTest::addColumn<qint64>("line");
    QTest::addColumn<QString>("problem");

    QTest::newRow("empty") << QByteArray() << qint64(1) << "нет строки заголовка";
    QTest::newRow("unknown column")
        << QByteArray("support;Prolett\n") << qint64(1) << "неизвестный столбец \"Prolett\"";
    QTest::newRow("column twice") << QByteArray("Prolet;PROLET\n") << qint64(1)
                                  << "столбец \"PROLET\" указан дважды";
    QTest::newRow("support not first")
        << QByteArray("Prolet;support\n") << qint64(1) << "столбец \"support\" должен быть первым";
    QTest::newRow("a filled cell past the heading")
        << QByteArray("support;Prolet\n12;50\n13;50;;x\n") << qint64(3)
        << "в строке заполнено ячеек больше, чем столбцов в заголовке (2): ячейка 4 «x»";
    QTest::newRow("unclosed quote") << QByteArray("support;Prolet\n\"12;50\n") << qint64(2)
                                    << "открытая здесь кавычка не закрыта";
    for (const int length : { 1000, 1001 })
        QTest::addRow("text of %d", length)
            << "support;Prolet\n12;" + QByteArray(length, '5') + '\n'
            << qint64(2)
            << (length > 1000 ? QStringLiteral("ячейка 2: текст длиннее 1000 символов")
                              : QString());
    for (const int rows : { 100000, 100001 }) {
        QByteArray csv = "support\n";
        for (int r = 0; r < rows; ++r)
            csv += "1\n";
        QTest::addRow("%d rows", rows)
            << csv << qint64(100002)
            << (rows > 100000 ? QStringLiteral("строк опор больше 100000, а в ведомости может "
                                               "быть не больше 100000")
                              : QString());
    }
}

void TestScheduleExchange::importRefusals()
{
    QFETCH(QByteArray, csv);
    QFETCH(qint64, line);
    QFETCH(QString, problem);
    QBuffer buffer;
    buffer.setData(csv);
    buffer.open(QIODevice::ReadOnly);
    const ScheduleImportResult result = importScheduleCsv(buffer, blank());
    const auto *got = std::get_if<ScheduleImportProblem>(&result);
    if (problem.isEmpty()) {
        QVERIFY2(!got, got ? qPrintable(got->text) : "");
        return;
    }
    QVERIFY(got);
    QCOMPARE(got->text, problem);
    QCOMPARE(got->line, line);
}

// The exported CSV is a result table of --batch: run again, it gives itself back, byte for byte.
// What the rows take from the common data must be in it for that: a common field other than
// its start-up text as a column, the common section in an empty section cell.
void TestScheduleExchange::exportComputesBackToItself_data()
{
    QTest::addColumn<Schedule>("schedule");
    QTest::addColumn<QString>("extraColumns"); // past the held fields
    QTest::addColumn<int>("optionsNotInTable");

    QTest::newRow("the sample") << sample() << QString() << 0;
    Schedule common = sample();
    common.fields.erase(std::find(common.fields.begin(), common.fields.end(), InputField::WindPkv));
    common.common.text(InputField::WindPkv) = QStringLiteral("0,45");
    common.common.selectOption(u"Option20");
    for (ScheduleRow &row : common.rows)
        row.section.clear();
    QTest::newRow("common field and section") << common << "txtSum4" << 0;
    Schedule points = imported(QByteArray("support,Prolet,txtVm,txtLp,txtGp\n1,55.5,30,40,2.5\n"),
        blank(QLatin1Char('.')));
    QTest::newRow("decimal point") << points << QString() << 0;
    Schedule option = points;
    option.common.setOption(OptionGroup::TrackSection, 1);
    option.common.setOption(optionGroups().back().group, 1 - optionGroups().back().startIndex);
    QTest::newRow("an option no column holds") << option << QString() << 1;
}

void TestScheduleExchange::exportComputesBackToItself()
{
    QFETCH(Schedule, schedule);
    QFETCH(QString, extraColumns);
    QFETCH(int, optionsNotInTable);
    const ScheduleTable table = scheduleTable(schedule, computed(schedule));
    QCOMPARE(table.optionsNotInTable.size(), optionsNotInTable);
    const qsizetype held = qsizetype(schedule.fields.size());
    QCOMPARE(
        table.names.mid(2 + held, table.names.size() - 2 - held - 15).join(u' '), extraColumns);
    const QByteArray csv = scheduleCsv(table, schedule.decimalSeparator);
    if (optionsNotInTable == 0)
        QCOMPARE(batchRun(csv, schedule.decimalSeparator), csv);
}

// Schedule → CSV or .xlsx → schedule gives the same inputs back (a number of an .xlsx as Kelsa
// writes numbers); the .xlsx, read with Kelsa's
// own reader, holds the CSV's cells under its captioned heading.
void TestScheduleExchange::roundTrips_data()
{
    QTest::addColumn<Schedule>("schedule");
    QTest::addColumn<QString>("suffix");

    for (const char *suffix : { "csv", "xlsx" }) {
        QTest::addRow("sample by %s", suffix) << sample() << QString::fromLatin1(suffix);
        Schedule points = imported(QByteArray("support,section,Prolet,txtGnv,supportType\n"
                                              "\"12, анкерная\",Вне.кривая,50.25,,С-200\n"
                                              "13,Кривая?,пятьдесят,1E-05,\n"),
            blank(QLatin1Char('.')));
        QTest::addRow("odd cells by %s", suffix) << points << QString::fromLatin1(suffix);
    }
}

void TestScheduleExchange::roundTrips()
{
    QFETCH(Schedule, schedule);
    QFETCH(QString, suffix);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("ведомость.") + suffix);
    const std::vector<ScheduleRowResult> results = computed(schedule);
    const QString written = suffix == QLatin1String("csv")
        ? exportScheduleCsv(path, schedule, results)
        : exportScheduleXlsx(path, schedule, results);
    QCOMPARE(written, QString());
    Schedule common = blank(schedule.decimalSeparator);
    const ScheduleImportResult read = importSchedule(path, common);
    const auto *problem = std::get_if<ScheduleImportProblem>(&read);
    QVERIFY2(!problem, problem ? qPrintable(problem->text) : "");
    // As in a result of --batch, a row's picked type comes back as its own.
    Schedule expected = schedule;
    for (qsizetype r = 0; r < expected.rows.size(); ++r)
        expected.rows[r].supportType = results[std::size_t(r)].supportType;
    QVERIFY(std::get<Schedule>(read) == expected);
    if (suffix != QLatin1String("xlsx"))
        return;
    const QList<QStringList> cells = sheet(path, schedule.decimalSeparator);
    const QList<QStringList> csv
        = csvRecords(scheduleCsv(scheduleTable(schedule, results), schedule.decimalSeparator));
    QCOMPARE(cells.size(), csv.size());
    QCOMPARE(cells[0][2], QStringLiteral("Длина прол., м [Prolet]"));
    // A number cell reads back as Kelsa writes the number: "1.0" % as "1".
    const QLocale locale = localeForDecimal(schedule.decimalSeparator);
    for (qsizetype r = 1; r < csv.size(); ++r)
        for (qsizetype k = 0; k < csv[r].size(); ++k)
            if (cells[r].value(k) != csv[r][k])
                QCOMPARE(readNumber(cells[r].value(k), locale), readNumber(csv[r][k], locale));
}

// kelsa --batch with an .xlsx on either side computes what it computes from the CSV: the sheet's
// rows are the CSV result's records, and a problem names the sheet's row.
void TestScheduleExchange::batchWithWorkbooks_data()
{
    QTest::addColumn<QString>("in");
    QTest::addColumn<QString>("out");
    QTest::addColumn<QString>("problem"); // empty: computed; %1 the input, %2 the output

    QTest::newRow("csv to xlsx") << "schedule.csv"
                                 << "result.xlsx" << QString();
    QTest::newRow("xlsx to csv") << "schedule.xlsx"
                                 << "result.csv" << QString();
    QTest::newRow("xlsx to xlsx") << "schedule.xlsx"
                                  << "result.XLSX" << QString();
    QTest::newRow("heading on the second row") << "late heading.xlsx"
                                               << "result.csv"
                                               << "%1:2: неизвестный столбец \"Prolett\"";
    QTest::newRow("to ods") << "schedule.csv"
                            << "result.ods"
                            << "%2: не удается записать: результат пишется в .csv или .xlsx";
    QTest::newRow("no workbook") << "missing.xlsx"
                                 << "result.csv"
                                 << "%1: не удается прочитать: нет такого файла или папки";
    QTest::newRow("a csv named xlsx") << "schedule as csv.xlsx"
                                      << "result.csv"
                                      << "%1: не удается прочитать: файл поврежден или не "
                                         "является книгой (.xlsx, .ods)";
    QTest::newRow("output is the input") << "schedule.xlsx"
                                         << "schedule.xlsx"
                                         << "%2: не удается записать: это тот же файл, что и "
                                            "входной %1";
}

void TestScheduleExchange::batchWithWorkbooks()
{
    QFETCH(QString, in);
    QFETCH(QString, out);
    QFETCH(QString, problem);
    QTemporaryDir dir;
    const QChar comma(u',');
    QFile sampleFile(kScheduleCsv);
    QVERIFY(sampleFile.open(QIODevice::ReadOnly));
    const QByteArray csv = sampleFile.readAll();
    QVERIFY(QFile::copy(kScheduleCsv, dir.filePath(QStringLiteral("schedule.csv"))));
    QVERIFY(QFile::copy(kScheduleCsv, dir.filePath(QStringLiteral("schedule as csv.xlsx"))));
    const QList<QStringList> records = csvRecords(csv);
    {
        TableWorkbookWriter writer(records[0], localeForDecimal(comma));
        for (const QStringList &row : records.mid(1))
            writer.addRow(row);
        QCOMPARE(writer.finish(dir.filePath(QStringLiteral("schedule.xlsx"))), QString());
        TableWorkbookWriter late(QStringList(2, QString()), localeForDecimal(comma));
        late.addRow({ QStringLiteral("support"), QStringLiteral("Prolett") });
        QCOMPARE(late.finish(dir.filePath(QStringLiteral("late heading.xlsx"))), QString());
    }

    BatchSettings settings { localeForDecimal(comma), {} };
    settings.catalogue = catalogue();
    const QString inPath = dir.filePath(in);
    const QString outPath = dir.filePath(out);
    const QString got = runBatchAnyFiles(inPath, outPath, settings);
    if (!problem.isEmpty()) {
        QCOMPARE(got,
            QString(problem)
                .replace(QStringLiteral("%1"), inPath)
                .replace(QStringLiteral("%2"), outPath));
        return;
    }
    QCOMPARE(got, QString());
    const QList<QStringList> expected = csvRecords(batchRun(csv, comma));
    QList<QStringList> result;
    if (out.endsWith(QLatin1String(".csv"), Qt::CaseInsensitive)) {
        QFile file(outPath);
        QVERIFY(file.open(QIODevice::ReadOnly));
        result = csvRecords(file.readAll());
    } else {
        result = sheet(outPath, comma);
        for (QString &heading : result[0])
            heading = heading.mid(heading.lastIndexOf(u'[') + 1).chopped(1);
    }
    QCOMPARE(result, expected);
}

QTEST_GUILESS_MAIN(TestScheduleExchange)
// A workbook that cannot be read is refused in the same words by kelsa --batch and by «Импорт».
void TestScheduleExchange::unreadableWorkbooks_data()
{
    QTest::addColumn<QString>("fixture"); // empty: the file is made in the test
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("reason");
    QTest::newRow("no file") << QString() << "нет.xlsx"
                             << "нет такого файла или папки";
    QTest::newRow("a folder") << QString() << "папка.ods"
                              << "это папка";
    QTest::newRow("not a workbook") << QString() << "текст.xlsx"
                                    << "файл поврежден или не является книгой (.xlsx, .ods)";
    QTest::newRow("64 MB, not a workbook") << QString() << "64 МБ.xlsx"
                                           << "файл поврежден или не является книгой (.xlsx, .ods)";
    QTest::newRow("a byte over 64 MB") << QString() << "64 МБ и байт.xlsx"
                                       << "книга слишком велика (не больше 64 МБ)";
    QTest::newRow("a cut archive") << "обрезанный архив.xlsx"
                                   << "обрезанный архив.xlsx"
                                   << "файл поврежден или не является книгой (.xlsx, .ods)";
}

void TestScheduleExchange::unreadableWorkbooks()
{
    QFETCH(QString, fixture);
    QFETCH(QString, name);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    const QString path = dir.filePath(name);
    if (!fixture.isEmpty())
        QVERIFY(QFile::copy(QStringLiteral(KELSA_FIXTURES "/") + fixture, path));
    else if (name.startsWith(QStringLiteral("папка")))
        QVERIFY(QDir(dir.path()).mkdir(name));
    else if (name.startsWith(QStringLiteral("64 МБ"))) {
        QFile sparse(path); // all zeros, taking no room on the disk
        QVERIFY(sparse.open(QIODevice::WriteOnly));
        QVERIFY(sparse.resize(qint64(64) * 1024 * 1024 + (name.contains(u'и') ? 1 : 0)));
    } else if (name.startsWith(QStringLiteral("текст"))) {
        QFile text(path);
        QVERIFY(text.open(QIODevice::WriteOnly));
        text.write("support;Prolet\n1;60\n");
    }
    const QString out = dir.filePath(QStringLiteral("result.csv"));
    QCOMPARE(runBatchAnyFiles(path, out, BatchSettings { localeForDecimal(u','), {} }),
        QStringLiteral("%1: не удается прочитать: %2").arg(path, reason));
    QVERIFY(!QFile::exists(out));
    const ScheduleImportResult imported = importSchedule(path, blank());
    QVERIFY(std::holds_alternative<ScheduleImportProblem>(imported));
    QCOMPARE(scheduleImportProblemText(path, std::get<ScheduleImportProblem>(imported)),
        QStringLiteral("%1: %2").arg(path, reason));
}

// libxlsxwriter is loaded when a workbook is first written; a library that is not there, or
// lacks a function the tables use, is refused with the reason.
void TestScheduleExchange::xlsxWriterLoading_data()
{
    QTest::addColumn<QString>("baseName");
    QTest::addColumn<int>("version");
    QTest::addColumn<QString>("reason"); // the error's start; empty: loaded
    QTest::newRow("the installed one") << "xlsxwriter" << 4 << QString();
    QTest::newRow("not installed") << "kelsa-no-such-library" << 4
                                   << "не удается загрузить библиотеку libxlsxwriter (пакет "
                                      "libxlsxwriter4): ";
    QTest::newRow("another library")
        << "Qt6Test" << 6 << "в библиотеке libxlsxwriter нет функции workbook_new_opt";
}

void TestScheduleExchange::xlsxWriterLoading()
{
    QFETCH(QString, baseName);
    QFETCH(int, version);
    QFETCH(QString, reason);
    const XlsxWriterLibrary library = loadXlsxWriterLibrary(baseName, version);
    QVERIFY2(library.error.startsWith(reason), qPrintable(library.error));
    QCOMPARE(library.error.isEmpty(), reason.isEmpty());
    QCOMPARE(library.workbook_new_opt != nullptr, reason.isEmpty());
    QCOMPARE(library.lxw_strerror != nullptr, reason.isEmpty());
}

#include "test_scheduleexchange.moc"
