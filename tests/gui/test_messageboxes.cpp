// SPDX-License-Identifier: GPL-3.0-or-later
// The program's message boxes show texts from files and fields as written: a heading, an image or
// a link in a .kelsa, a file's name or a typed expression is shown as its tags, never rendered.
#include "core/document/calculationfile.h"
#include "expr/evaluatormessagebox.h"
#include "mainwindow/calculationdocument.h"
#include "mainwindow/form1.h"
#include "widgets/services.h"

#include <QApplication>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>

using namespace kelsa;

namespace
{

// Where a text reaches a message box.
enum class Box { MessageSink, UnsavedQuestion, EvaluatorError, OpenedFile };

// What the message box showed when it came up; it is closed at once.
struct SeenBox {
    int count = 0;
    Qt::TextFormat format = Qt::AutoText;
    Qt::TextFormat labelFormat = Qt::AutoText;
    QString text;
};

// A .kelsa file with an unknown field named by the markup.
void writeFileNaming(const QString &path, const QString &markup)
{
    QJsonObject root = QJsonDocument::fromJson(calculationToJson(SavedCalculation {})).object();
    QJsonObject fields = root.value(QLatin1String("fields")).toObject();
    fields.insert(markup, QStringLiteral("1"));
    root.insert(QLatin1String("fields"), fields);
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QVERIFY(file.write(QJsonDocument(root).toJson()) > 0);
}

void show(Box box, const QString &markup, const QString &folder)
{
    switch (box) {
    case Box::MessageSink:
        messageBoxSink(nullptr)(QStringLiteral("Kelsa"), markup);
        break;
    case Box::UnsavedQuestion:
        unsavedChangesBox()(nullptr, markup + QStringLiteral(".kelsa"));
        break;
    case Box::EvaluatorError:
        showEvaluatorError(QStringLiteral("Evaluate"), 13, markup);
        break;
    case Box::OpenedFile: {
        // The main window with its own message box, as the program starts it.
        Form1Services services;
        services.tablesFolder = { installedDataFolder(), true, {} };
        services.folderMemory = { [] { return QString(); }, [](const QString &) {} };
        services.askUnsaved = [](QWidget *, const QString &) { return UnsavedChanges::Discard; };
        Form1 form(services);
        const QString path = QDir(folder).filePath(QStringLiteral("разметка.kelsa"));
        writeFileNaming(path, markup);
        QVERIFY(!form.document().openFile(path));
        break;
    }
    }
}

} // namespace

Q_DECLARE_METATYPE(Box)

class TestMessageBoxes : public QObject
{
    Q_OBJECT

private slots:
    void markupIsShownAsWritten_data();
    void markupIsShownAsWritten();
};

void TestMessageBoxes::markupIsShownAsWritten_data()
{
    QTest::addColumn<Box>("box");
    QTest::addColumn<QString>("markup");
    const QList<QPair<const char *, Box>> boxes { { "message", Box::MessageSink },
        { "unsaved question", Box::UnsavedQuestion }, { "calculator's error", Box::EvaluatorError },
        { "opened file", Box::OpenedFile } };
    const QList<QPair<const char *, QString>> markups {
        { "heading", QStringLiteral("<h1>Заголовок</h1>") },
        { "local image", QStringLiteral("<img src=\"/usr/share/pixmaps/debian-logo.png\">") },
        { "link", QStringLiteral("<a href=\"https://example.com/\">ссылка</a>") },
    };
    for (const auto &[boxName, box] : boxes)
        for (const auto &[markupName, markup] : markups)
            QTest::addRow("%s, %s", boxName, markupName) << box << markup;
}

void TestMessageBoxes::markupIsShownAsWritten()
{
    QFETCH(Box, box);
    QFETCH(QString, markup);
    QTemporaryDir dir;
    SeenBox seen;
    QTimer watch;
    watch.setInterval(20);
    connect(&watch, &QTimer::timeout, this, [&] {
        auto *shown = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!shown)
            return;
        ++seen.count;
        seen.format = shown->textFormat();
        seen.text = shown->text();
        if (const auto *label = shown->findChild<QLabel *>(QStringLiteral("qt_msgbox_label")))
            seen.labelFormat = label->textFormat();
        shown->done(0);
    });
    watch.start();
    show(box, markup, dir.path());
    watch.stop();

    QCOMPARE(seen.count, 1);
    QCOMPARE(seen.format, Qt::PlainText);
    QCOMPARE(seen.labelFormat, Qt::PlainText);
    QVERIFY2(seen.text.contains(markup), qPrintable(seen.text));
}

QTEST_MAIN(TestMessageBoxes)
#include "test_messageboxes.moc"
