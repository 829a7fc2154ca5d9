// SPDX-License-Identifier: GPL-3.0-or-later
// Qt's own texts in Russian once the program's translations are installed, on a computer set to
// English: texts from Qt's catalogue, Kelsa's own for those it lacks or words wrongly, the
// buttons of a real file dialog, and its list of places wide enough for their Russian names.
#include "core/platform/qttranslations.h"
#include "gui/widgets/services.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QListView>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <optional>

class TestTranslations : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void texts_data();
    void texts();
    void fileDialogButtons();
    void fileDialogPlacesFitTheirNames();
};

void TestTranslations::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    QVERIFY2(kelsa::installRussianTranslations(*qApp), "qtbase_ru.qm not found");
}

void TestTranslations::texts_data()
{
    QTest::addColumn<QString>("context");
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("disambiguation");
    QTest::addColumn<QString>("russian");

    // From Qt's catalogue.
    QTest::newRow("standard button Cancel") << "QPlatformTheme"
                                            << "Cancel"
                                            << ""
                                            << "Отмена";
    QTest::newRow("standard button Open") << "QPlatformTheme"
                                          << "Open"
                                          << ""
                                          << "Открыть";
    QTest::newRow("a field's context menu") << "QLineEdit"
                                            << "&Paste"
                                            << ""
                                            << "В&ставить";
    QTest::newRow("folder dialog") << "QFileDialog"
                                   << "&Choose"
                                   << ""
                                   << "&Выбрать";
    QTest::newRow("file dialog sidebar") << "QFileSystemModel"
                                         << "Computer"
                                         << ""
                                         << "Компьютер";
    QTest::newRow("preview toolbar") << "QPrintPreviewDialog"
                                     << "Next page"
                                     << ""
                                     << "Следующая страница";
    QTest::newRow("page setup") << "QPageSetupWidget"
                                << "Millimeters (mm)"
                                << ""
                                << "Миллиметры (мм)";
    QTest::newRow("a reason QFile gives") << "QIODevice"
                                          << "No such file or directory"
                                          << ""
                                          << "Файл или каталог не существует";
    // Kelsa's own, over the catalogue.
    QTest::newRow("a folder in the file dialog") << "QAbstractFileIconProvider"
                                                 << "Folder"
                                                 << "All other platforms"
                                                 << "Папка";
    QTest::newRow("a drive in the file dialog") << "QAbstractFileIconProvider"
                                                << "Drive"
                                                << ""
                                                << "Диск";
    QTest::newRow("facing pages in the preview") << "QPrintPreviewDialog"
                                                 << "Show facing pages"
                                                 << ""
                                                 << "Показать развороты";
    QTest::newRow("standard button Discard") << "QPlatformTheme"
                                             << "Discard"
                                             << ""
                                             << "Не сохранять";
    // Nothing of Kelsa's own where its source text matches under another context.
    QTest::newRow("another context") << "KelsaTest"
                                     << "Folder"
                                     << ""
                                     << "Folder";
}

void TestTranslations::texts()
{
    QFETCH(QString, context);
    QFETCH(QString, source);
    QFETCH(QString, disambiguation);
    QFETCH(QString, russian);
    const QByteArray contextBytes = context.toUtf8();
    const QByteArray sourceBytes = source.toUtf8();
    const QByteArray disambiguationBytes = disambiguation.toUtf8();
    QCOMPARE(QCoreApplication::translate(contextBytes.constData(), sourceBytes.constData(),
                 disambiguation.isEmpty() ? nullptr : disambiguationBytes.constData()),
        russian);
}

// A file dialog as Kelsa shows it where the desktop has none of its own.
void TestTranslations::fileDialogButtons()
{
    QFileDialog dialog(nullptr, QStringLiteral("Открыть расчет"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::ExistingFile);
    QStringList texts;
    for (QAbstractButton *button : dialog.findChild<QDialogButtonBox *>()->buttons())
        texts << button->text().remove(QLatin1Char('&'));
    texts.sort();
    QCOMPARE(texts, (QStringList { "Открыть", "Отмена" }));
}

// «Компьютер» was cut to «Ком…» in the list of places of the program's file dialogs.
void TestTranslations::fileDialogPlacesFitTheirNames()
{
    std::optional<int> shortBy;
    QTimer::singleShot(300, this, [&shortBy] {
        QWidget *modal = QApplication::activeModalWidget();
        if (auto *places
            = modal ? modal->findChild<QListView *>(QStringLiteral("sidebar")) : nullptr)
            shortBy = places->sizeHintForColumn(0) - places->viewport()->width();
        if (modal)
            modal->close();
    });
    kelsa::openFileDialogChooser()(nullptr, QStringLiteral("Открыть расчет"), QDir::tempPath(),
        QStringLiteral("Расчеты Kelsa (*.kelsa)"));
    QVERIFY(shortBy.has_value());
    QVERIFY2(*shortBy <= 0, qPrintable(QString::number(*shortBy)));
}

QTEST_MAIN(TestTranslations)
#include "test_translations.moc"
