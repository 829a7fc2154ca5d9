// SPDX-License-Identifier: GPL-3.0-or-later
// Where the ten reference tables come from: one folder, chosen once at start-up.
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
};

void TestTablesFolder::chosenOnce_data()
{
    QTest::addColumn<QString>("commandLine");
    QTest::addColumn<QString>("working"); // "tables": a folder with one workbook; "empty"; ""
    QTest::addColumn<QString>("remembered"); // "other", "gone" (no longer there) or ""
    QTest::addColumn<QString>("chosen"); // "command", "tables", "other" or "samples"

    QTest::newRow("the command line first") << "command"
                                            << "tables"
                                            << "other"
                                            << "command";
    QTest::newRow("a working folder with a table") << ""
                                                   << "tables"
                                                   << "other"
                                                   << "tables";
    QTest::newRow("one as .ods is a table too") << ""
                                                << "ods"
                                                << "other"
                                                << "ods";
    QTest::newRow("else the remembered folder") << ""
                                                << "empty"
                                                << "other"
                                                << "other";
    QTest::newRow("a remembered folder that is gone") << ""
                                                      << "empty"
                                                      << "gone"
                                                      << "samples";
    QTest::newRow("else the samples") << ""
                                      << "empty"
                                      << ""
                                      << "samples";
}

void TestTablesFolder::chosenOnce()
{
    QFETCH(QString, commandLine);
    QFETCH(QString, working);
    QFETCH(QString, remembered);
    QFETCH(QString, chosen);
    QTemporaryDir root;
    const QDir dir(root.path());
    for (const char *name : { "command", "tables", "ods", "empty", "other", "samples" })
        QVERIFY(dir.mkdir(QString::fromLatin1(name)));
    QFile(dir.filePath(QStringLiteral("tables/т12.3.xls"))).open(QIODevice::WriteOnly);
    QFile(dir.filePath(QStringLiteral("ods/т13мах.ods"))).open(QIODevice::WriteOnly);
    QFile(dir.filePath(QStringLiteral("empty/т12.3.txt"))).open(QIODevice::WriteOnly);
    const auto path
        = [&dir](const QString &name) { return name.isEmpty() ? QString() : dir.filePath(name); };

    const TablesFolder folder = kelsa::chooseTablesFolder(path(commandLine), path(working),
        path(remembered), dir.filePath(QStringLiteral("samples")));
    QCOMPARE(folder.path, dir.filePath(chosen));
    QCOMPARE(folder.samples, chosen == QLatin1String("samples"));
}

QTEST_GUILESS_MAIN(TestTablesFolder)
#include "test_tablefolder.moc"
