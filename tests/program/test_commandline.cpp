// SPDX-License-Identifier: GPL-3.0-or-later
// The built program on its command line: each mode once, --help with the columns of a schedule
// as the manual page lists them, and each kind of failure ending with one Russian message
// naming the file and a non-zero exit, with nothing written.
#include "core/batch/batchcolumns.h"
#include "core/document/calculationfile.h"
#include "core/numbers/numbertext.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <sys/resource.h>
#include <sys/stat.h>

using namespace kelsa;

namespace
{

using Texts = QList<QPair<QString, QString>>;

struct Run {
    int exitCode = -1;
    QByteArray out;
    QString err;
};

Run runKelsa(const QStringList &arguments, const QString &folder)
{
    QProcess process;
    process.setWorkingDirectory(folder);
    process.start(QStringLiteral(KELSA_PROGRAM), arguments);
    if (!process.waitForFinished(30000))
        qFatal("kelsa did not finish");
    return { process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
        process.readAllStandardOutput(), QString::fromUtf8(process.readAllStandardError()) };
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

// The worked example of the help page (as the engine tests have it), its numbers written with
// `separator`, with `extra` texts over it.
QByteArray exampleFile(QChar separator, const Texts &extra)
{
    SavedCalculation saved;
    saved.decimalSeparator = separator;
    const QString half = QStringLiteral("0%1").arg(separator);
    Texts texts { { "Prolet", "50" }, { "txtGp", "2" }, { "txtGpr", "1" }, { "txtGnv", half + "5" },
        { "txtPkv", half + "4" }, { "txtPprv", half + "3" }, { "txtSum1", "2" }, { "txtSum2", "1" },
        { "txtSum3", half + "5" }, { "txtSum4", half + "4" }, { "txtSum5", half + "3" },
        { "Text1", "1500" }, { "Text2", "1000" }, { "Text5", half + "3" }, { "txtVm", "30" },
        { "txtLp", "40" } };
    for (const auto &[name, text] : texts + extra)
        saved.calculation.setText(name, text);
    return calculationToJson(saved);
}

} // namespace

class TestCommandLine : public QObject
{
    Q_OBJECT

private slots:
    void helpAndVersion();
    void compute_data();
    void compute();
    void batch();
    void report();
    void computeChecksWithTheCatalogue_data();
    void computeChecksWithTheCatalogue();
    void failures_data();
    void failures();
    void encodings_data();
    void encodings();
    void memory_data();
    void memory();
};

void TestCommandLine::helpAndVersion()
{
    QTemporaryDir dir;
    const Run help = runKelsa({ "--help" }, dir.path());
    QCOMPARE(help.exitCode, 0);
    for (const char *option : { "--tables", "--screenshot", "--compute", "--report", "--batch",
             "--decimal", "--encoding", "--help", "--version" })
        QVERIFY2(help.out.contains(option), option);
    // Every column of a schedule with its caption, in --help and in the manual page alike.
    const QString text = QString::fromUtf8(help.out);
    QFile manual(QStringLiteral(KELSA_SOURCE_DIR "/dist/kelsa.1.in"));
    QVERIFY(manual.open(QIODevice::ReadOnly));
    const QString page = QString::fromUtf8(manual.readAll());
    for (const BatchColumnInfo &column : batchColumns()) {
        QVERIFY2(
            text.contains(
                QStringLiteral("\n  %1 %2\n").arg(column.name.leftJustified(9), column.caption)),
            qPrintable(column.name));
        QVERIFY2(page.contains(QStringLiteral("\n.B %1\n%2\n").arg(column.name, column.caption)),
            qPrintable(column.name));
    }
    const Run version = runKelsa({ "--version" }, dir.path());
    QCOMPARE(version.exitCode, 0);
    QVERIFY(version.out.startsWith("kelsa 1."));
}

void TestCommandLine::compute_data()
{
    QTest::addColumn<QString>("separator");
    QTest::addColumn<Texts>("extra");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("text"); // for a value
    QTest::addColumn<QString>("error"); // for none
    QTest::addColumn<QString>("message");

    QTest::newRow("ordinary support") << "," << Texts {} << "Label1"
                                      << "1463,134"
                                      << ""
                                      << "";
    QTest::newRow("transition support") << "," << Texts {} << "Label29"
                                        << "-2738,3"
                                        << ""
                                        << "";
    QTest::newRow("written with decimal points") << "." << Texts {} << "Label26"
                                                 << "838.2537"
                                                 << ""
                                                 << "";
    QTest::newRow("no span") << "," << Texts { { "Prolet", "0" } } << "Label5"
                             << ""
                             << "span-missing"
                             << "Нет длины пролета или десятичные";
    QTest::newRow("not a number") << "," << Texts { { "Text3", "x" } } << "Label10"
                                  << ""
                                  << "not-a-number"
                                  << "Поле \"Тпр кгс\": \"x\" не является числом";
}

void TestCommandLine::compute()
{
    QFETCH(QString, separator);
    QFETCH(Texts, extra);
    QFETCH(QString, label);
    QFETCH(QString, text);
    QFETCH(QString, error);
    QFETCH(QString, message);
    QTemporaryDir dir;
    writeFile(dir.filePath(QStringLiteral("опора.kelsa")), exampleFile(separator.front(), extra));
    const Run run = runKelsa({ "--compute", "опора.kelsa" }, dir.path());
    QCOMPARE(run.err, QString());
    QCOMPARE(run.exitCode, 0);
    QJsonParseError parseError;
    const QJsonObject moments = QJsonDocument::fromJson(run.out, &parseError).object();
    QCOMPARE(parseError.error, QJsonParseError::NoError);
    QCOMPARE(moments.size(), 11); // the ten labels and "check"
    // No catalogue beside the file nor in the samples.
    QCOMPARE(moments.value("check").toObject().value("error").toString(), "no-catalogue");
    const QJsonObject moment = moments.value(label).toObject();
    if (error.isEmpty()) {
        QCOMPARE(moment.value("text").toString(), text);
        // The number is the moment itself: written as the label writes it, it is the label.
        const QLocale locale = localeWithSeparator(separator.front());
        QCOMPARE(writeNumber(moment.value("moment").toDouble(), locale), text);
        QCOMPARE(writeNumber(moment.value("kNm").toDouble() / 0.00980665, locale), text);
    } else {
        QCOMPARE(moment.value("error").toString(), error);
        QVERIFY2(moment.value("message").toString().startsWith(message),
            qPrintable(moment.value("message").toString()));
    }
}

void TestCommandLine::batch()
{
    QTemporaryDir dir;
    const Run run = runKelsa({ "--batch", QStringLiteral(KELSA_SOURCE_DIR "/docs/schedule.csv"),
                                 "OUT.csv", "--decimal", "," },
        dir.path());
    QCOMPARE(run.exitCode, 0);
    QFile out(dir.filePath(QStringLiteral("OUT.csv")));
    QVERIFY(out.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = out.readAll().split('\n');
    QVERIFY(lines.size() > 2);
    QVERIFY(lines[0].endsWith(";Label1;Label5;Label10;Label18;Label26;Label27;Label28;Label29;"
                              "Label30;Label31;governing;supportType;utilisation;errors;notes\r"));
    // The first support of the sample is the worked example on straight track.
    QVERIFY2(lines[1].endsWith(";1463,134;1856,95;581,184;-2206,484;838,2537;320,8213;903;"
                               "-2738,3;762,0825;186,9925;Label29;;;;\r"),
        lines[1].constData());
    QCOMPARE(run.err,
        QStringLiteral("kelsa: " KELSA_SOURCE_DIR "/docs/schedule.csv: рассчитано строк: 5 "
                       "(кодировка UTF-8), результат в OUT.csv; строк с моментами без значения: "
                       "1 (причина — в столбце «errors»)\n"
                       "kelsa: нет каталога опор: положите книгу опоры.xlsx (или .xls, .ods) с "
                       "типами опор и их Mн в папку справочных таблиц\n"));
}

void TestCommandLine::report()
{
    QTemporaryDir dir;
    writeFile(dir.filePath(QStringLiteral("опора.kelsa")), exampleFile(QLatin1Char(','), {}));
    const Run run = runKelsa({ "--report", "опора.kelsa", "опора.pdf" }, dir.path());
    QCOMPARE(run.exitCode, 0);
    QFile pdf(dir.filePath(QStringLiteral("опора.pdf")));
    QVERIFY(pdf.open(QIODevice::ReadOnly));
    QVERIFY(pdf.read(5) == "%PDF-");
}

// --tables names the folder of the catalogue (the made-up fixture); the file's own choice of
// type is checked instead of the pick.
void TestCommandLine::computeChecksWithTheCatalogue_data()
{
    QTest::addColumn<QString>("chosen"); // "supportType" of the file; empty for none
    QTest::addColumn<QString>("check"); // the type checked, or the error

    QTest::newRow("pick") << ""
                          << "Проба-60";
    QTest::newRow("chosen, not holding") << "Проба-25"
                                         << "Проба-25";
    QTest::newRow("chosen, not in the catalogue") << "Проба-99"
                                                  << "unknown-type";
}

void TestCommandLine::computeChecksWithTheCatalogue()
{
    QFETCH(QString, chosen);
    QFETCH(QString, check);
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("таблицы")));
    QVERIFY(QFile::copy(QStringLiteral(KELSA_SOURCE_DIR "/tests/fixtures/каталог опор.xlsx"),
        dir.filePath(QStringLiteral("таблицы/опоры.xlsx"))));
    QJsonObject file = QJsonDocument::fromJson(exampleFile(QLatin1Char(','), {})).object();
    if (!chosen.isEmpty())
        file.insert("supportType", chosen);
    writeFile(dir.filePath(QStringLiteral("опора.kelsa")), QJsonDocument(file).toJson());
    const Run run = runKelsa({ "--compute", "опора.kelsa", "--tables", "таблицы" }, dir.path());
    QCOMPARE(run.err, QString());
    QCOMPARE(run.exitCode, 0);
    const QJsonObject result = QJsonDocument::fromJson(run.out).object().value("check").toObject();
    QCOMPARE(result.contains("error") ? result.value("error").toString()
                                      : result.value("type").toString(),
        check);
    QCOMPARE(result.value("picked").toBool(), chosen.isEmpty());
}

void TestCommandLine::failures_data()
{
    QTest::addColumn<QStringList>("arguments"); // run in a folder that holds IN.csv
    QTest::addColumn<QByteArray>("input"); // IN.csv
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("message"); // the whole error stream, one line

    // One failure of each kind, each told in Russian.
    const QByteArray header = "Prolet;txtVm\n";
    const QStringList batch { "--batch", "IN.csv", "OUT.csv" };
    const QString usage = QStringLiteral(" (список параметров: kelsa --help)");
    QTest::newRow("wrong argument") << QStringList { "--batch", "IN.csv" } << header << 2
                                    << "kelsa: после --batch нужно указать IN.csv OUT.csv" + usage;
    QTest::newRow("unknown option") << QStringList { "--batсh", "IN.csv", "OUT.csv" } << header << 2
                                    << "kelsa: неизвестный параметр --batсh" + usage;
    QTest::newRow("two calculations") << QStringList { "a.kelsa", "b.kelsa" } << header << 2
                                      << "kelsa: лишний аргумент \"b.kelsa\"" + usage;
    QTest::newRow("decimal with compute") << QStringList { "--compute", "a.kelsa", "--decimal",
        "," } << header << 2 << "kelsa: --decimal указывают только с --batch" + usage;
    QTest::newRow("missing calculation") << QStringList { "--compute", "нет.kelsa" } << header << 1
                                         << "kelsa: нет.kelsa: файл не найден";
    QTest::newRow("missing schedule")
        << QStringList { "--batch", "нет.csv", "OUT.csv" } << header << 1
        << "kelsa: нет.csv: не удается прочитать: нет такого файла или папки";
    QTest::newRow("folder as input") << QStringList { "--batch", ".", "OUT.csv" } << header << 1
                                     << "kelsa: .: не удается прочитать: это папка";
    // Neither may keep the run waiting or reading for ever.
    QTest::newRow("FIFO as input")
        << QStringList { "--batch", "IN.fifo", "OUT.csv" } << header << 1
        << "kelsa: IN.fifo: не удается прочитать: это не обычный файл (FIFO, устройство или сокет)";
    QTest::newRow("endless device as input")
        << QStringList { "--batch", "/dev/zero", "OUT.csv" } << header << 1
        << "kelsa: /dev/zero: не удается прочитать: это не обычный файл (FIFO, устройство или "
           "сокет)";
    QTest::newRow("unclosed quote") << batch << header + "50;30\n\"50;30\n"
                                    << 1 << "kelsa: IN.csv:3: открытая здесь кавычка не закрыта";
    QTest::newRow("unknown column") << batch << QByteArray("Prolet;Пролет\n") << 1
                                    << "kelsa: IN.csv:1: неизвестный столбец \"Пролет\"";
    QTest::newRow("--tables that is no folder") << QStringList { "--compute", "a.kelsa", "--tables",
        "нет" } << header << 2 << "kelsa: нет папки нет";
    QTest::newRow("--tables with --help")
        << QStringList { "--help", "--tables", "." } << header << 2
        << "kelsa: --tables указывают только для окна, --screenshot, --compute, --report и --batch"
            + usage;
    QTest::newRow("a line of 2 MiB")
        << batch << header + "50;30\n" + QByteArray(qsizetype(2) * 1024 * 1024, '5') << 1
        << "kelsa: IN.csv:3: строка слишком длинная (запись длиннее 1048576 байт)";
    QTest::newRow("same file") << QStringList { "--batch", "IN.csv", "IN.csv" } << header << 1
                               << "kelsa: IN.csv: не удается записать: это тот же файл, что и "
                                  "входной IN.csv";
    QTest::newRow("no space") << QStringList { "--batch", "IN.csv", "/dev/full" }
                              << header + "50;30\n"
                              << 1 << "kelsa: /dev/full: не удается записать: на диске нет места";
}

void TestCommandLine::failures()
{
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, input);
    QFETCH(int, exitCode);
    QFETCH(QString, message);
    QTemporaryDir dir;
    writeFile(dir.filePath(QStringLiteral("IN.csv")), input);
    const QString fifo = dir.filePath(QStringLiteral("IN.fifo")); // no writer ever opens it
    QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const Run run = runKelsa(arguments, dir.path());
    QCOMPARE(run.err, message + QLatin1Char('\n'));
    QCOMPARE(run.exitCode, exitCode);
    QCOMPARE(run.out, QByteArray());
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList { "IN.csv" });
}

void TestCommandLine::encodings_data()
{
    QTest::addColumn<QStringList>("arguments"); // run in a folder that holds IN.csv
    QTest::addColumn<QByteArray>("input"); // IN.csv
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("message"); // the error stream, one line
    QTest::addColumn<QByteArray>("output"); // OUT.csv as written; empty when there is none

    const QStringList batch { "--batch", "IN.csv", "OUT.csv", "--decimal", "," };
    const QString help = QStringLiteral(" (список параметров: kelsa --help)");
    // «Опора 12;Прямая;50» as a Russian spreadsheet saves it.
    const QByteArray cp1251
        = "support;section;Prolet\r\n\xce\xef\xee\xf0\xe0 12;\xcf\xf0\xff\xec\xe0\xff;50\r\n";
    const QByteArray cp1251Out
        = "support;section;Prolet;Label1;Label5;Label10;Label18;Label26;Label27;Label28;Label29;"
          "Label30;Label31;governing;supportType;utilisation;errors;notes\r\n\xce\xef\xee\xf0\xe0 "
          "12;\xcf\xf0\xff\xec\xe0\xff;50;191,3;"
          "158,3;;;;;;;;;Label1;;;\"Label10: lp-missing; Label18: lp-missing; Label26: lp-missing; "
          "Label27: lp-missing; Label28: lp-missing; Label29: lp-missing; Label30: lp-missing; "
          "Label31: lp-missing\";\r\n";
    // Without a catalogue in the folder no row's type is checked, and that is said once.
    const QString noCatalogue
        = QStringLiteral("\nkelsa: нет каталога опор: положите книгу опоры.xlsx (или .xls, .ods) "
                         "с типами опор и их Mн в папку справочных таблиц");
    const QString computed
        = QStringLiteral("kelsa: IN.csv: рассчитано строк: 1 (кодировка %1), результат в OUT.csv; "
                         "строк с моментами без значения: 1 (причина — в столбце «errors»)")
        + noCatalogue;
    QTest::newRow("Windows-1251 told by the text")
        << batch << cp1251 << 0 << computed.arg("Windows-1251") << cp1251Out;
    QTest::newRow("--encoding windows-1251")
        << batch + QStringList { "--encoding", "windows-1251" } << cp1251 << 0
        << computed.arg("Windows-1251") << cp1251Out;
    QTest::newRow("--encoding in capitals")
        << QStringList { "--encoding", "WINDOWS-1251" } + batch << cp1251 << 0
        << computed.arg("Windows-1251") << cp1251Out;
    QTest::newRow("--encoding utf-8 over Windows-1251")
        << batch + QStringList { "--encoding", "utf-8" } << cp1251 << 1
        << "kelsa: IN.csv:2: текст не в кодировке UTF-8 (таблицу, сохраненную в Windows-1251, "
           "читают с --encoding windows-1251)"
        << QByteArray();
    QTest::newRow("--encoding utf-8 over UTF-8")
        << batch + QStringList { "--encoding", "UTF-8" } << QByteArray("Prolet;txtLp\n50;40\n") << 0
        << "kelsa: IN.csv: рассчитано строк: 1 (кодировка UTF-8), результат в OUT.csv" + noCatalogue
        << QByteArray("Prolet;txtLp;Label1;Label5;Label10;Label18;Label26;Label27;Label28;"
                      "Label29;Label30;Label31;governing;supportType;utilisation;errors;notes\n"
                      "50;40;191,3;158,3;473,6;473,6;473,6;473,6;368,6;368,6;368,6;368,6;Label10;"
                      ";;;\n");
    QTest::newRow("--encoding twice")
        << batch + QStringList { "--encoding", "utf-8", "--encoding", "utf-8" } << cp1251 << 2
        << "kelsa: --encoding указан дважды" + help << QByteArray();
    QTest::newRow("--encoding of another name")
        << batch + QStringList { "--encoding", "koi8-r" } << cp1251 << 2
        << "kelsa: --encoding принимает utf-8 или windows-1251 (а не \"koi8-r\")" + help
        << QByteArray();
    QTest::newRow("--encoding utf8")
        << batch + QStringList { "--encoding", "utf8" } << cp1251 << 2
        << "kelsa: --encoding принимает utf-8 или windows-1251 (а не \"utf8\")" + help
        << QByteArray();
    QTest::newRow("--encoding with no value")
        << batch + QStringList { "--encoding" } << cp1251 << 2
        << "kelsa: после --encoding нужно указать utf-8 или windows-1251" + help << QByteArray();
    QTest::newRow("--encoding without --batch")
        << QStringList { "--compute", "IN.csv", "--encoding", "utf-8" } << cp1251 << 2
        << "kelsa: --encoding указывают только с --batch" + help << QByteArray();
    QTest::newRow("--encoding with the window")
        << QStringList { "--encoding", "windows-1251" } << cp1251 << 2
        << "kelsa: --encoding указывают только с --batch" + help << QByteArray();
}

void TestCommandLine::encodings()
{
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, input);
    QFETCH(int, exitCode);
    QFETCH(QString, message);
    QFETCH(QByteArray, output);
    QTemporaryDir dir;
    writeFile(dir.filePath(QStringLiteral("IN.csv")), input);
    const Run run = runKelsa(arguments, dir.path());
    QCOMPARE(run.err, message + QLatin1Char('\n'));
    QCOMPARE(run.exitCode, exitCode);
    QCOMPARE(run.out, QByteArray());
    QFile out(dir.filePath(QStringLiteral("OUT.csv")));
    QCOMPARE(out.exists(), !output.isEmpty());
    if (!output.isEmpty()) {
        QVERIFY(out.open(QIODevice::ReadOnly));
        QCOMPARE(out.readAll(), output);
    }
}

void TestCommandLine::memory_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("message"); // the start of the error stream

    // The widest header read: 10,000 columns, every row padded to it. Rows read ahead were
    // once 1,024 at a time whatever their width, 250 MB of empty cells here.
    QTest::newRow("10,000 columns")
        << QByteArray("Prolet" + QByteArray(9999, ';') + "\n" + QByteArray("50\n").repeated(2000))
        << 0 << "kelsa: IN.csv: рассчитано строк: 2000 (кодировка UTF-8), результат в OUT.csv";
    // Wider ones are refused at once.
    QTest::newRow("100,000 columns")
        << QByteArray("Prolet" + QByteArray(99999, ';') + "\n" + QByteArray("50\n").repeated(1000))
        << 1 << "kelsa: IN.csv:1: в строке больше 10000 ячеек";
}

// The peak memory of a schedule stays under 200 MB whatever its shape. Under AddressSanitizer
// the program holds freed memory back on purpose, so only the outcome is checked there.
void TestCommandLine::memory()
{
    QFETCH(QByteArray, input);
    QFETCH(int, exitCode);
    QFETCH(QString, message);
    QTemporaryDir dir;
    writeFile(dir.filePath(QStringLiteral("IN.csv")), input);
    const Run run = runKelsa({ "--batch", "IN.csv", "OUT.csv" }, dir.path());
    QVERIFY2(run.err.startsWith(message), qPrintable(run.err));
    QCOMPARE(run.exitCode, exitCode);
#ifndef __SANITIZE_ADDRESS__
    // The largest resident set of any child waited for so far: this test's children are the
    // program's runs, all far smaller than this one would grow without its bound.
    rusage children {};
    getrusage(RUSAGE_CHILDREN, &children);
    QVERIFY2(children.ru_maxrss < 200 * 1024, qPrintable(QString::number(children.ru_maxrss)));
#endif
}

QTEST_GUILESS_MAIN(TestCommandLine)
#include "test_commandline.moc"
