// SPDX-License-Identifier: GPL-3.0-or-later
// Control characters in a message are shown as escapes, and only they: each class on both sides
// of its edge (the C0 controls, DEL, the C1 controls), what Kelsa's messages hold besides
// (Cyrillic, a backslash), and the line control a message is printed with going out as it is.
#include "program/messageprinting.h"

#include <QFile>
#include <QTemporaryFile>
#include <QTest>

#include <cstdio>

using namespace kelsa;

class TestMessagePrinting : public QObject
{
    Q_OBJECT

private slots:
    void escapes_data();
    void escapes();
    void printedBetweenItsLineControl();
};

void TestMessagePrinting::escapes_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("shown");

    QTest::newRow("NUL") << QString(QChar(0)) << "\\x00";
    QTest::newRow("tab") << "\t"
                         << "\\t";
    QTest::newRow("line feed") << "\n"
                               << "\\n";
    QTest::newRow("carriage return") << "\r"
                                     << "\\r";
    QTest::newRow("vertical tab") << "\v"
                                  << "\\x0B";
    QTest::newRow("ESC") << "\x1b[2J"
                         << "\\x1B[2J";
    QTest::newRow("last C0 control") << "\x1f"
                                     << "\\x1F";
    QTest::newRow("space") << " "
                           << " ";
    QTest::newRow("tilde") << "~"
                           << "~";
    QTest::newRow("DEL") << "\x7f"
                         << "\\x7F";
    QTest::newRow("first C1 control") << QString(QChar(0x80)) << "\\u0080";
    QTest::newRow("CSI") << QString(QChar(0x9B)) << "\\u009B";
    QTest::newRow("last C1 control") << QString(QChar(0x9F)) << "\\u009F";
    QTest::newRow("no-break space") << QString(QChar(0xA0)) << QString(QChar(0xA0));
    QTest::newRow("Cyrillic and a backslash") << "Опора 12\\Пролет"
                                              << "Опора 12\\Пролет";
    QTest::newRow("fake line") << "IN.csv\r\nkelsa: 5 rows computed"
                               << "IN.csv\\r\\nkelsa: 5 rows computed";
}

void TestMessagePrinting::escapes()
{
    QFETCH(QString, text);
    QFETCH(QString, shown);
    QCOMPARE(escapeControlCharacters(text), shown);
}

void TestMessagePrinting::printedBetweenItsLineControl()
{
    QTemporaryFile file;
    QVERIFY(file.open());
    FILE *stream = std::fopen(QFile::encodeName(file.fileName()).constData(), "w");
    QVERIFY(stream);
    printMessage(stream, QStringLiteral("kelsa: a\rb: 10000 rows"), QLatin1StringView("\r"),
        QLatin1StringView(""));
    printMessage(stream, QStringLiteral("kelsa: готово\n"), QLatin1StringView("\n"));
    std::fclose(stream);
    QCOMPARE(file.readAll(), QByteArray("\rkelsa: a\\rb: 10000 rows\nkelsa: готово\\n\n"));
}

QTEST_GUILESS_MAIN(TestMessagePrinting)
#include "test_messageprinting.moc"
