// SPDX-License-Identifier: GPL-3.0-or-later
// Where the built program's outputs go: never over an input, by any of its names; into a FIFO,
// a device or the standard output as a stream, the node left as it was; a socket or a folder
// refused; a full device and the file-size limit told with the file's name, the old file kept
// and no temporary file left; and every message with its control characters escaped.
#include "core/document/calculationfile.h"
#include "support/fiforeader.h"
#include "support/filenodes.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <optional>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <unistd.h>

using namespace kelsa;
using namespace kelsa::test;

namespace
{

struct Run {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

// Runs kelsa in `folder`; `shell` (a sh command line) may wrap it, with "$@" for the
// arguments: `ulimit -f 16; exec "$0" "$@"`. The report's GUI application gets a runtime
// folder of its own, so that Qt has nothing to warn about on the error stream.
Run runKelsa(const QStringList &arguments, const QString &folder, const QString &shell = {})
{
    const QTemporaryDir runtime; // made readable by its owner only, as Qt wants it
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(folder);
    if (shell.isEmpty())
        process.start(QStringLiteral(KELSA_PROGRAM), arguments);
    else
        process.start(QStringLiteral("/bin/sh"),
            QStringList { QStringLiteral("-c"), shell, QStringLiteral(KELSA_PROGRAM) } + arguments);
    if (!process.waitForFinished(60000))
        qFatal("kelsa did not finish");
    return { process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
        process.readAllStandardOutput(), process.readAllStandardError() };
}

// The sample schedule: five supports.
QByteArray schedule()
{
    return readFile(QStringLiteral(KELSA_SOURCE_DIR "/docs/schedule.csv"));
}

// The sample schedule's rows `copies` times over: an output of some hundred kilobytes.
QByteArray longSchedule(int copies)
{
    const QByteArray sample = schedule();
    const qsizetype header = sample.indexOf('\n') + 1;
    QByteArray rows = sample.mid(header);
    if (!rows.endsWith('\n'))
        rows += '\n';
    return sample.left(header) + rows.repeated(copies);
}

// A saved calculation: the help page's example with a span and a few loads.
QByteArray calculationFile()
{
    SavedCalculation saved;
    saved.decimalSeparator = QLatin1Char(',');
    for (const auto &[name, text] : { std::pair { "Prolet", "50" }, { "txtGp", "2" },
             { "Text1", "1500" }, { "txtVm", "30" }, { "txtLp", "40" } })
        saved.calculation.setText(QString::fromLatin1(name), QString::fromLatin1(text));
    return calculationToJson(saved);
}

// Every name in a folder with what it holds: a file changed, a link replaced or a temporary
// file left behind shows as a difference.
QStringList snapshot(const QString &folder)
{
    QStringList entries;
    const QDir dir(folder);
    for (const QString &name :
        dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot)) {
        const QString path = dir.filePath(name);
        const QString kind = nodeKind(path);
        entries << name + QLatin1Char(' ') + kind
                + (kind == QLatin1String("file")
                        ? QLatin1Char(' ') + QString::fromLatin1(readFile(path).toHex()).left(64)
                            + QString::number(readFile(path).size())
                        : QString());
    }
    return entries;
}

// A character device node in the folder (the system's null or full device), or the system's
// own where the test may not make one; there nothing can replace it either.
QString deviceNode(const QString &folder, unsigned minor, const char *system)
{
    const QString path = folder + QStringLiteral("/device");
    if (::mknod(QFile::encodeName(path).constData(), S_IFCHR | 0666, makedev(1, minor)) == 0)
        return QStringLiteral("device");
    return QString::fromLatin1(system);
}

} // namespace

class TestCommandOutputs : public QObject
{
    Q_OBJECT

private slots:
    void outputIsAnInput_data();
    void outputIsAnInput();
    void streamsAndRefusals_data();
    void streamsAndRefusals();
    void fileTooLarge_data();
    void fileTooLarge();
    void controlCharactersEscaped_data();
    void controlCharactersEscaped();
};

void TestCommandOutputs::outputIsAnInput_data()
{
    // Run in a folder holding IN.csv and c.kelsa, each with a symbolic and a hard link.
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("shell");
    QTest::addColumn<QString>("message"); // the whole error stream

    const QString toStdout = QStringLiteral("exec \"$0\" \"$@\" >>IN.csv");
    QTest::newRow("batch, same name") << QStringList { "--batch", "IN.csv", "IN.csv" } << ""
                                      << "kelsa: IN.csv: не удается записать: это тот же файл, "
                                         "что и входной IN.csv\n";
    QTest::newRow("batch, symbolic link")
        << QStringList { "--batch", "IN.csv", "link.csv" } << ""
        << "kelsa: link.csv: не удается записать: это тот же файл, что и входной IN.csv\n";
    QTest::newRow("batch, input through a symbolic link")
        << QStringList { "--batch", "link.csv", "IN.csv" } << ""
        << "kelsa: IN.csv: не удается записать: это тот же файл, что и входной link.csv\n";
    QTest::newRow("batch, hard link")
        << QStringList { "--batch", "IN.csv", "hard.csv" } << ""
        << "kelsa: hard.csv: не удается записать: это тот же файл, что и входной IN.csv\n";
    QTest::newRow("batch, path through the folder")
        << QStringList { "--batch", "IN.csv", "../work/IN.csv" } << ""
        << "kelsa: ../work/IN.csv: не удается записать: это тот же файл, что и входной IN.csv\n";
    QTest::newRow("batch, standard output appended to the input")
        << QStringList { "--batch", "IN.csv", "-" } << toStdout
        << "kelsa: -: не удается записать: это тот же файл, что и входной IN.csv\n";
    const QString report
        = QStringLiteral(": это файл самого расчета, отчет не записан поверх него\n");
    QTest::newRow("report, same name") << QStringList { "--report", "c.kelsa", "c.kelsa" } << ""
                                       << "kelsa: c.kelsa" + report;
    QTest::newRow("report, symbolic link")
        << QStringList { "--report", "c.kelsa", "link.kelsa" } << ""
        << "kelsa: link.kelsa" + report;
    QTest::newRow("report, hard link") << QStringList { "--report", "c.kelsa", "hard.kelsa" } << ""
                                       << "kelsa: hard.kelsa" + report;
    QTest::newRow("compute, standard output appended to the calculation")
        << QStringList { "--compute", "c.kelsa" }
        << QString(toStdout).replace(QStringLiteral("IN.csv"), QStringLiteral("c.kelsa"))
        << "kelsa: не удается записать в стандартный вывод: это тот же файл, что и входной "
           "c.kelsa\n";
}

void TestCommandOutputs::outputIsAnInput()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, shell);
    QFETCH(QString, message);
    QTemporaryDir dir;
    const QString work = dir.filePath(QStringLiteral("work"));
    QVERIFY(QDir().mkpath(work));
    writeFile(work + QStringLiteral("/IN.csv"), schedule());
    writeFile(work + QStringLiteral("/c.kelsa"), calculationFile());
    QVERIFY(QFile::link(QStringLiteral("IN.csv"), work + QStringLiteral("/link.csv")));
    QVERIFY(QFile::link(QStringLiteral("c.kelsa"), work + QStringLiteral("/link.kelsa")));
    QVERIFY(::link(QFile::encodeName(work + QStringLiteral("/IN.csv")).constData(),
                QFile::encodeName(work + QStringLiteral("/hard.csv")).constData())
        == 0);
    QVERIFY(::link(QFile::encodeName(work + QStringLiteral("/c.kelsa")).constData(),
                QFile::encodeName(work + QStringLiteral("/hard.kelsa")).constData())
        == 0);
    const QStringList before = snapshot(work);

    const Run run = runKelsa(arguments, work, shell);
    QCOMPARE(QString::fromUtf8(run.err), message);
    QCOMPARE(run.exitCode, 1);
    QCOMPARE(run.out, QByteArray());
    QCOMPARE(snapshot(work), before);
}

void TestCommandOutputs::streamsAndRefusals_data()
{
    // OUT is made in the run's folder as `target` says; a FIFO has a reader taking what comes.
    QTest::addColumn<QString>("command"); // "batch" or "report"
    QTest::addColumn<QString>("target"); // fifo, null, full, socket, folder, stdout
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("message"); // the whole error stream of a failure; OUT for its name

    const QString noSpace = QStringLiteral("на диске нет места\n");
    QTest::newRow("batch into a FIFO") << "batch"
                                       << "fifo" << 0 << "";
    QTest::newRow("batch into the null device") << "batch"
                                                << "null" << 0 << "";
    QTest::newRow("batch to the standard output") << "batch"
                                                  << "stdout" << 0 << "";
    QTest::newRow("batch into the full device")
        << "batch"
        << "full" << 1 << "kelsa: OUT: не удается записать: " + noSpace;
    QTest::newRow("batch into a socket")
        << "batch"
        << "socket" << 1 << "kelsa: OUT: не удается записать: это сокет, а не файл\n";
    QTest::newRow("batch into a folder")
        << "batch"
        << "folder" << 1 << "kelsa: OUT: не удается записать: это папка, а не файл\n";
    QTest::newRow("report into a FIFO") << "report"
                                        << "fifo" << 0 << "";
    QTest::newRow("report into the null device") << "report"
                                                 << "null" << 0 << "";
    QTest::newRow("report to the standard output") << "report"
                                                   << "stdout" << 0 << "";
    QTest::newRow("report into the full device")
        << "report"
        << "full" << 1 << "kelsa: OUT: не удается записать файл: " + noSpace;
    QTest::newRow("report into a socket")
        << "report"
        << "socket" << 1 << "kelsa: OUT: не удается создать файл: это сокет, а не файл\n";
}

void TestCommandOutputs::streamsAndRefusals()
{
    QFETCH(QString, command);
    QFETCH(QString, target);
    QFETCH(int, exitCode);
    QFETCH(QString, message);
    const bool batch = command == QLatin1String("batch");
    QTemporaryDir dir;
    writeFile(dir.filePath(QStringLiteral("IN.csv")), schedule());
    writeFile(dir.filePath(QStringLiteral("c.kelsa")), calculationFile());
    const QString input = batch ? QStringLiteral("IN.csv") : QStringLiteral("c.kelsa");
    const QString option = batch ? QStringLiteral("--batch") : QStringLiteral("--report");

    // What the same run writes into a file, to compare the stream with.
    const Run intoFile = runKelsa({ option, input, QStringLiteral("file.out") }, dir.path());
    QCOMPARE(intoFile.exitCode, 0);
    const QByteArray expected = readFile(dir.filePath(QStringLiteral("file.out")));
    QVERIFY(QFile::remove(dir.filePath(QStringLiteral("file.out"))));

    QString out = QStringLiteral("out");
    const QString outPath = dir.filePath(out);
    if (target == QLatin1String("fifo"))
        QCOMPARE(::mkfifo(QFile::encodeName(outPath).constData(), 0600), 0);
    else if (target == QLatin1String("null"))
        out = deviceNode(dir.path(), 3, "/dev/null");
    else if (target == QLatin1String("full"))
        out = deviceNode(dir.path(), 7, "/dev/full");
    else if (target == QLatin1String("socket") && !makeSocket(outPath))
        QSKIP("no socket can be made here");
    else if (target == QLatin1String("folder"))
        QVERIFY(QDir(dir.path()).mkdir(out));
    else if (target == QLatin1String("stdout"))
        out = QStringLiteral("-");
    const QString kindBefore = nodeKind(dir.filePath(out));
    const QStringList before = snapshot(dir.path());

    std::optional<test::FifoReader> reader;
    if (target == QLatin1String("fifo"))
        reader.emplace(outPath);
    const Run run = runKelsa({ option, input, out }, dir.path());
    const QByteArray read = reader ? reader->finish() : QByteArray();
    QCOMPARE(run.exitCode, exitCode);
    if (exitCode != 0)
        QCOMPARE(QString::fromUtf8(run.err), QString(message).replace("OUT", out));
    QCOMPARE(nodeKind(dir.filePath(out)), kindBefore);
    QCOMPARE(snapshot(dir.path()), before);

    const QByteArray streamed = target == QLatin1String("fifo") ? read
        : target == QLatin1String("stdout")                     ? run.out
                                                                : QByteArray();
    if (target != QLatin1String("stdout"))
        QCOMPARE(run.out, QByteArray());
    if (!streamed.isEmpty() || target == QLatin1String("fifo")
        || target == QLatin1String("stdout")) {
        // A report carries the time it was made: its pages are compared, not its bytes.
        if (batch)
            QVERIFY(streamed == expected);
        else
            QVERIFY2(streamed.startsWith("%PDF-") && streamed.trimmed().endsWith("%%EOF")
                    && streamed.size() > expected.size() / 2,
                streamed.left(16).constData());
    }
}

void TestCommandOutputs::fileTooLarge_data()
{
    // Run under `ulimit -f` (in blocks of the shell's, 512 or 1024 bytes) over an old OUT.
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("blocks");
    QTest::addColumn<QString>("message");

    QTest::newRow("batch") << QStringList { "--batch", "IN.csv", "OUT" } << 16
                           << "kelsa: OUT: не удается записать: файл слишком велик\n";
    QTest::newRow("report") << QStringList { "--report", "c.kelsa", "OUT" } << 8
                            << "kelsa: OUT: не удается записать файл: файл слишком велик\n";
}

void TestCommandOutputs::fileTooLarge()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, blocks);
    QFETCH(QString, message);
    QTemporaryDir dir;
    writeFile(dir.filePath(QStringLiteral("IN.csv")), longSchedule(60));
    writeFile(dir.filePath(QStringLiteral("c.kelsa")), calculationFile());
    writeFile(dir.filePath(QStringLiteral("OUT")), "old results\n");
    const QStringList before = snapshot(dir.path());

    const Run run = runKelsa(
        arguments, dir.path(), QStringLiteral("ulimit -f %1; exec \"$0\" \"$@\"").arg(blocks));
    QCOMPARE(QString::fromUtf8(run.err), message);
    QCOMPARE(run.exitCode, 1);
    QCOMPARE(snapshot(dir.path()), before);
}

void TestCommandOutputs::controlCharactersEscaped_data()
{
    // Run in a folder holding IN.csv (`input`) and k.kelsa, whose fields hold one more key.
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QString>("shown"); // what the one line of the error stream must hold

    const QByteArray header = "Prolet;txtVm\n50;30\n";
    QTest::newRow("header cell holding a screen clear")
        << QStringList { "--batch", "IN.csv", "OUT.csv" }
        << QByteArray("Prolet;\x1b[2J\x1b[Hkelsa: 9 rows computed\n50;1\n")
        << "\"\\x1B[2J\\x1B[Hkelsa: 9 rows computed\"";
    QTest::newRow("file name with CR, LF and tab") << QStringList { "--batch", "IN\r\n\t.csv",
        "OUT.csv" } << header << "kelsa: IN\\r\\n\\t.csv: не удается прочитать";
    QTest::newRow("output name with ESC and BEL")
        << QStringList { "--batch", "IN.csv", "no\x1b]0;x\x07/OUT.csv" } << header
        << "kelsa: no\\x1B]0;x\\x07/OUT.csv: не удается записать: нет такого файла или папки";
    QTest::newRow("unknown option with DEL and a C1 control")
        << QStringList { "--x\x7f\u009b" } << header
        << "kelsa: неизвестный параметр --x\\x7F\\u009B (список параметров: kelsa --help)";
    QTest::newRow("key of a calculation file")
        << QStringList { "--compute", "k.kelsa" } << header << "\"\\x1B[2J\"";
}

void TestCommandOutputs::controlCharactersEscaped()
{
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, input);
    QFETCH(QString, shown);
    QTemporaryDir dir;
    writeFile(dir.filePath(QStringLiteral("IN.csv")), input);
    QByteArray calculation = calculationFile();
    const qsizetype fields = calculation.indexOf("\"fields\"");
    QVERIFY(fields >= 0);
    calculation.insert(calculation.indexOf('{', fields) + 1, "\"\\u001b[2J\": \"1\",");
    writeFile(dir.filePath(QStringLiteral("k.kelsa")), calculation);

    const Run run = runKelsa(arguments, dir.path());
    QVERIFY(run.exitCode != 0);
    const QString err = QString::fromUtf8(run.err);
    QVERIFY2(err.contains(shown), qPrintable(err));
    // One line, and nothing in it a terminal would act on.
    QVERIFY2(err.endsWith(QLatin1Char('\n')), qPrintable(err));
    for (const QChar c : err.chopped(1))
        QVERIFY2(c.unicode() >= 0x20 && (c.unicode() < 0x7F || c.unicode() >= 0xA0),
            qPrintable(QStringLiteral("U+%1 in %2").arg(int(c.unicode()), 4, 16).arg(err)));
}

QTEST_GUILESS_MAIN(TestCommandOutputs)
#include "test_commandoutputs.moc"
