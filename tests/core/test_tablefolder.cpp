// SPDX-License-Identifier: GPL-3.0-or-later
// Where the ten reference tables come from: one folder, chosen once at start-up, and where the
// chooser of another folder opens.
#include "core/tables/tablefolder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using kelsa::TablesFolder;

class TestTablesFolder : public QObject
{
    Q_OBJECT

private slots:
    void chosenOnce_data();
    void chosenOnce();
    void chooserStart_data();
    void chooserStart();
};

void TestTablesFolder::chosenOnce_data()
{
    QTest::addColumn<QString>("commandLine");
    QTest::addColumn<QString>("working"); // "tables": a folder with one workbook; "empty"; ""
    // "other", "empty" (a folder without tables), "gone" (no longer there), "gone/deeper",
    // "a file" (a file where the folder was) or ""
    QTest::addColumn<QString>("remembered");
    QTest::addColumn<QString>("chosen"); // "command", "tables", "other", "empty" or "samples"
    QTest::addColumn<QString>("missing"); // the remembered folder told as missing, or ""

    QTest::newRow("the command line first") << "command"
                                            << "tables"
                                            << "gone"
                                            << "command"
                                            << "";
    QTest::newRow("a working folder with a table") << ""
                                                   << "tables"
                                                   << "gone"
                                                   << "tables"
                                                   << "";
    QTest::newRow("one as .ods is a table too") << ""
                                                << "ods"
                                                << "other"
                                                << "ods"
                                                << "";
    QTest::newRow("else the remembered folder") << ""
                                                << "empty"
                                                << "other"
                                                << "other"
                                                << "";
    QTest::newRow("a remembered folder without tables is still chosen") << ""
                                                                        << ""
                                                                        << "empty"
                                                                        << "empty"
                                                                        << "";
    QTest::newRow("a remembered folder that is gone") << ""
                                                      << "empty"
                                                      << "gone"
                                                      << "samples"
                                                      << "gone";
    QTest::newRow("gone with its parent") << ""
                                          << ""
                                          << "gone/deeper"
                                          << "samples"
                                          << "gone/deeper";
    QTest::newRow("a file where the remembered folder was") << ""
                                                            << "empty"
                                                            << "a file"
                                                            << "samples"
                                                            << "a file";
    QTest::newRow("else the samples") << ""
                                      << "empty"
                                      << ""
                                      << "samples"
                                      << "";
}

void TestTablesFolder::chosenOnce()
{
    QFETCH(QString, commandLine);
    QFETCH(QString, working);
    QFETCH(QString, remembered);
    QFETCH(QString, chosen);
    QFETCH(QString, missing);
    QTemporaryDir root;
    const QDir dir(root.path());
    for (const char *name : { "command", "tables", "ods", "empty", "other", "samples" })
        QVERIFY(dir.mkdir(QString::fromLatin1(name)));
    QVERIFY(QFile(dir.filePath(QStringLiteral("tables/т12.3.xls"))).open(QIODevice::WriteOnly));
    QVERIFY(QFile(dir.filePath(QStringLiteral("ods/т13мах.ods"))).open(QIODevice::WriteOnly));
    QVERIFY(QFile(dir.filePath(QStringLiteral("empty/т12.3.txt"))).open(QIODevice::WriteOnly));
    QVERIFY(QFile(dir.filePath(QStringLiteral("a file"))).open(QIODevice::WriteOnly));
    const auto path
        = [&dir](const QString &name) { return name.isEmpty() ? QString() : dir.filePath(name); };

    const TablesFolder folder = kelsa::chooseTablesFolder(path(commandLine), path(working),
        path(remembered), dir.filePath(QStringLiteral("samples")));
    QCOMPARE(folder.path, dir.filePath(chosen));
    QCOMPARE(folder.samples, chosen == QLatin1String("samples"));
    QCOMPARE(folder.missingRemembered, path(missing));
}

void TestTablesFolder::chooserStart_data()
{
    // Paths under a temporary folder holding "share" with "share/a file" in it; one that starts
    // with "/" is taken from the root of the file system.
    QTest::addColumn<QString>("remembered"); // "" for none
    QTest::addColumn<bool>("backBeforeTheClick"); // the remembered folder made after start-up
    QTest::addColumn<QString>("start");

    QTest::newRow("gone: its parent") << "share/tables" << false << "share";
    QTest::newRow("gone with its parents: the nearest that is there")
        << "share/gone/deeper/tables" << false << "share";
    QTest::newRow("a file in its place: the file's folder") << "share/a file" << false << "share";
    QTest::newRow("back by the time of the click: the folder itself")
        << "share/tables" << true << "share/tables";
    QTest::newRow("the remembered folder in use") << "share" << false << "share";
    QTest::newRow("nothing remembered: the samples") << "" << false << "samples";
    QTest::newRow("only the root is left")
        << "/нет такой папки Kelsa/таблицы" << false << QDir::rootPath();
}

void TestTablesFolder::chooserStart()
{
    QFETCH(QString, remembered);
    QFETCH(bool, backBeforeTheClick);
    QFETCH(QString, start);
    QTemporaryDir root;
    const QDir dir(root.path());
    QVERIFY(dir.mkdir(QStringLiteral("share")) && dir.mkdir(QStringLiteral("samples")));
    QVERIFY(QFile(dir.filePath(QStringLiteral("share/a file"))).open(QIODevice::WriteOnly));
    const auto path = [&dir](const QString &name) {
        return name.isEmpty() || name.startsWith(QLatin1Char('/')) ? name : dir.filePath(name);
    };

    const TablesFolder shown = kelsa::chooseTablesFolder(
        {}, {}, path(remembered), dir.filePath(QStringLiteral("samples")));
    if (backBeforeTheClick)
        QVERIFY(dir.mkpath(remembered));
    QCOMPARE(kelsa::chooserStartFolder(shown), path(start));
}

QTEST_GUILESS_MAIN(TestTablesFolder)
#include "test_tablefolder.moc"
