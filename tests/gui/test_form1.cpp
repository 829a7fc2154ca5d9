// SPDX-License-Identifier: GPL-3.0-or-later
// The main window as the user first meets it: start-up state, field clicks, resets, switches.
#include "support/formharness.h"

#include "gui/widgets/cursorfile.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>

using kelsa::test::FormHarness;
using kelsa::test::ModalWatchdog;

namespace
{

const char *const kAllOptions[] = { "Option1", "Option2", "Option3", "Option4", "Option5",
    "Option6", "Option7", "Option8", "Option9", "Option10", "Option11", "Option12", "Option13",
    "Option14", "Option15", "Option16", "Option17", "Option18", "Option19", "Option20", "Option21",
    "Option22", "Option23", "Option24" };

const char *const kResultLabels[] = { "Label1", "Label5", "Label10", "Label18", "Label26",
    "Label27", "Label28", "Label29", "Label30", "Label31" };

// Every input field with its initial text.
const QList<QPair<QString, QString>> &initialTexts()
{
    static const QList<QPair<QString, QString>> texts = [] {
        QList<QPair<QString, QString>> list;
        for (const char *name : { "Prolet", "txtVm", "Text1", "Text2", "Text3", "Text5", "txtLp",
                 "txtGp", "txtGpr", "txtGnv", "txtPkv", "txtPprv", "txtSum1", "txtSum2", "txtSum3",
                 "txtSum4", "txtSum5", "txtD4", "txtD5", "txtD6", "txtF4", "txtF5", "txtF6" })
            list.append({ QString::fromLatin1(name), QStringLiteral("0") });
        for (const char *name : { "Text4", "txtD1", "txtD2", "txtD3", "txtD7", "TxtD8", "txtD9",
                 "txtF1", "txtF2", "txtF3", "txtF7", "txtF8", "txtF9" })
            list.append({ QString::fromLatin1(name), QStringLiteral("1") });
        return list;
    }();
    return texts;
}

} // namespace

class TestForm1 : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_watchdog = std::make_unique<ModalWatchdog>(); }
    void cleanup()
    {
        QCOMPARE(m_watchdog->unexpected(), 0);
        m_watchdog.reset();
    }

    void startUpSelectsOneOptionPerGroup();
    void startUpState();
    void everyInputStartsAtItsInitialText();
    void focusStartsOnTheIceThickness();
    void mixedCaptionsKeepTheirAlphabets_data();
    void mixedCaptionsKeepTheirAlphabets();
    void geometryFollowsTheForm_data();
    void geometryFollowsTheForm();
    void labelsLieBeneathOtherControls();
    void tabOrderFollowsTheTable();

    void clickEmptiesPlainField_data();
    void clickEmptiesPlainField();
    void keyboardFocusKeepsText();
    void resets_data();
    void resets();
    void resetAllRestoresEveryField();
    void exitClosesTheWindow();
    void programLivesWhileAnotherWindowIsOpen();

    void transitionSwitch();
    void transitionFrameHidesWhatLiesBeneath();
    void smallWindowScrollsOverTheForm();
    void navigatorArrowsCanBeRead();
    void calculatorSwitch();
    void hiddenFramesKeepTheirTexts();

    void cursorFileGivesThePointingHand();
    void missingCursorFileFallsBackToBuiltInCopy();
    void damagedCursorIsRefused();

private:
    std::unique_ptr<ModalWatchdog> m_watchdog;
};

void TestForm1::startUpSelectsOneOptionPerGroup()
{
    FormHarness h;
    QStringList selected;
    for (const char *name : kAllOptions)
        if (h.option(name)->isChecked())
            selected << QString::fromLatin1(name);
    QCOMPARE(selected,
        QStringList(
            { "Option1", "Option5", "Option8", "Option17", "Option18", "Option22", "Option24" }));

    // The two options on the window exclude each other, not the options inside the frames.
    h.select("Option23");
    QVERIFY(h.option("Option23")->isChecked());
    QVERIFY(!h.option("Option24")->isChecked());
    QVERIFY(h.option("Option1")->isChecked());
    QVERIFY(h.option("Option18")->isChecked());
}

void TestForm1::startUpState()
{
    FormHarness h;
    h.form->show();
    QVERIFY(QTest::qWaitForWindowExposed(h.form.get()));
    QCOMPARE(
        h.form->windowTitle(), QStringLiteral("Kelsa1.0 — новый расчет[*] — таблицы: образцы"));
    QVERIFY(!h.form->isWindowModified());
    QVERIFY(!h.shown("Frame35"));
    QVERIFY(h.shown("Frame39"));
    QVERIFY(h.shown("Text1"));
    QVERIFY(h.shown("Command18"));
    QVERIFY(!h.shown("Command17"));
    for (const char *name : kResultLabels)
        QVERIFY2(h.label(name)->text().isEmpty(), name);
    // The form keeps its size between the menu bar and the status bar; the window grows by the
    // bars' heights.
    QCOMPARE(h.widget("Form1Surface")->size(), QSize(728, 573));
    QCOMPARE(h.form->size(),
        QSize(728,
            573 + h.widget("menuBar")->height()
                + h.widget("supportCheckBar")->sizeHint().height()));
    QCOMPARE(h.widget("Form1Surface")->mapTo(h.form.get(), QPoint(0, 0)),
        QPoint(0, h.widget("menuBar")->height()));
    QCOMPARE(h.form->palette().color(QPalette::Window), QColor(224, 224, 224));
}

void TestForm1::everyInputStartsAtItsInitialText()
{
    FormHarness h;
    for (const auto &[name, text] : initialTexts())
        QCOMPARE(h.form->findChild<QLineEdit *>(name)->text(), text);
    QCOMPARE(initialTexts().size(), 36);
}

void TestForm1::focusStartsOnTheIceThickness()
{
    FormHarness h;
    h.form->show();
    QVERIFY(QTest::qWaitForWindowActive(h.form.get()));
    QCOMPARE(QApplication::focusWidget(), h.widget("Option1"));
}

void TestForm1::mixedCaptionsKeepTheirAlphabets_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    // \u0050 is the Latin P, \u0420 the Cyrillic Р; \u0054 Latin T, \u0422 Cyrillic Т.
    QTest::newRow("Pпрв Latin") << "Frame13" << QString::fromUtf8("\u0050\u043f\u0440\u0432");
    QTest::newRow("Pкв Latin") << "Frame12" << QString::fromUtf8("\u0050\u043a\u0432");
    QTest::newRow("Рнв Cyrillic") << "Frame4" << QString::fromUtf8("\u0420\u043d\u0432");
    QTest::newRow("Pнв Latin label") << "Label7" << QString::fromUtf8("\u0050\u043d\u0432");
    QTest::newRow("Рнв в Cyrillic") << "Frame31" << QString::fromUtf8("\u0420\u043d\u0432 \u0432");
    QTest::newRow("Gп Latin") << "Frame3" << QString::fromUtf8("\u0047\u043f");
    QTest::newRow("Тн кгс Cyrillic")
        << "Label13" << QString::fromUtf8("\u0422\u043d \u043a\u0433\u0441");
    QTest::newRow("Frame10 trailing blank")
        << "Frame10"
        << QString::fromUtf8("\u0056\u0440.\u0432\u0435\u0442\u0440\u0430 \u043c/\u0441 ");
    QTest::newRow("Frame19 no blank")
        << "Frame19"
        << QString::fromUtf8("\u0056\u0440.\u0432\u0435\u0442\u0440\u0430 \u043c/\u0441");
    QTest::newRow("Vmax Latin") << "Frame24" << QString::fromUtf8("Vmax \u0432.");
    QTest::newRow("window calculator") << "Command18" << QString::fromUtf8("Калькулятор");
    QTest::newRow("heel case") << "Command7" << QString::fromUtf8("Ветер отопоры на путь-ПЯТА");
}

void TestForm1::mixedCaptionsKeepTheirAlphabets()
{
    QFETCH(QString, name);
    QFETCH(QString, caption);
    FormHarness h;
    QWidget *w = h.form->findChild<QWidget *>(name);
    QVERIFY(w);
    QString text;
    if (auto *box = qobject_cast<QGroupBox *>(w))
        text = box->title();
    else if (auto *label = qobject_cast<QLabel *>(w))
        text = label->text();
    else if (auto *button = qobject_cast<QAbstractButton *>(w))
        text = button->text();
    QCOMPARE(text, caption);
}

void TestForm1::geometryFollowsTheForm_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("container");
    QTest::addColumn<QRect>("geometry");
    // Twips over 15: Frame1 (120, 720, 3735, 7455) and so on. The window's own controls stand on
    // its surface, which fills the window (below the menu bar) when the screen is large enough.
    QTest::newRow("Frame1") << "Frame1"
                            << "Form1Surface" << QRect(8, 48, 249, 497);
    QTest::newRow("Frame10 on the window") << "Frame10"
                                           << "Form1Surface" << QRect(160, 232, 89, 97);
    QTest::newRow("Command17 and 18 share") << "Command17"
                                            << "Form1Surface" << QRect(16, 552, 129, 17);
    QTest::newRow("Command18") << "Command18"
                               << "Form1Surface" << QRect(16, 552, 129, 17);
    QTest::newRow("cell in sub-frame") << "Pkv20"
                                       << "Frame17" << QRect(0, 8, 41, 23);
    QTest::newRow("look-up field") << "txtSum2"
                                   << "Frame30" << QRect(8, 56, 121, 19);
    QTest::newRow("grid column 3") << "TxtD8"
                                   << "Frame40" << QRect(104, 48, 25, 25);
    QTest::newRow("result label") << "Label31"
                                  << "Frame38" << QRect(104, 136, 65, 33);
    QTest::newRow("navigator") << "Data4"
                               << "Frame12" << QRect(8, 40, 84, 25);
}

void TestForm1::geometryFollowsTheForm()
{
    QFETCH(QString, name);
    QFETCH(QString, container);
    QFETCH(QRect, geometry);
    FormHarness h;
    QWidget *w = h.form->findChild<QWidget *>(name);
    QVERIFY(w);
    QCOMPARE(w->parentWidget()->objectName(), container);
    QCOMPARE(w->geometry(), geometry);
}

void TestForm1::labelsLieBeneathOtherControls()
{
    FormHarness h;
    // The caption of txtLp shares Frame35 with the fields; the result labels share their frames
    // with the buttons: in each container the labels come first in painting order.
    for (const char *frame : { "Frame35", "Frame36", "Frame3", "Frame10" }) {
        const auto children = h.widget(frame)->findChildren<QWidget *>(Qt::FindDirectChildrenOnly);
        bool seenOther = false;
        for (QWidget *child : children) {
            const bool isLabel = qobject_cast<QLabel *>(child) != nullptr;
            QVERIFY2(!(isLabel && seenOther), qPrintable(child->objectName()));
            seenOther = seenOther || !isLabel;
        }
    }
    // The stacked buttons: Command18 lies over Command17.
    const auto windowChildren
        = h.widget("Form1Surface")->findChildren<QWidget *>(Qt::FindDirectChildrenOnly);
    QVERIFY(windowChildren.indexOf(h.widget("Command18"))
        > windowChildren.indexOf(h.widget("Command17")));
    // Frame35 covers Text1..Text5 when shown.
    QVERIFY(
        windowChildren.indexOf(h.widget("Frame35")) > windowChildren.indexOf(h.widget("Text1")));
}

void TestForm1::tabOrderFollowsTheTable()
{
    FormHarness h;
    QStringList order;
    QWidget *w = h.widget("Option4");
    for (int k = 0; k < 6; ++k) {
        order << w->objectName();
        w = w->nextInFocusChain();
        while (w->focusPolicy() == Qt::NoFocus)
            w = w->nextInFocusChain();
    }
    // Option4 (5), Prolet (7), txtGnv? no: tab 8 is a frame; the next control is Pnv1 (11).
    QCOMPARE(order, QStringList({ "Option4", "Prolet", "Pnv1", "Pnv2", "Pnv3", "Pnv4" }));
}

void TestForm1::clickEmptiesPlainField_data()
{
    QTest::addColumn<QString>("name");
    for (const char *name : { "Prolet", "txtVm", "Text4", "txtLp", "txtSum3", "TxtD8", "txtF9" })
        QTest::newRow(name) << QString::fromLatin1(name);
}

void TestForm1::clickEmptiesPlainField()
{
    QFETCH(QString, name);
    FormHarness h;
    h.widget("Option21")->setVisible(true);
    auto *edit = h.form->findChild<QLineEdit *>(name);
    edit->setText(QStringLiteral("123,5"));
    QTest::mouseClick(edit, Qt::LeftButton);
    QCOMPARE(edit->text(), QString());
    QTest::mouseClick(edit, Qt::LeftButton); // an empty field stays empty
    QCOMPARE(edit->text(), QString());
    QTest::keyClicks(edit, QStringLiteral("42"));
    QCOMPARE(edit->text(), QStringLiteral("42"));
    // A right click is not a click in the field's sense.
    QTest::mouseClick(edit, Qt::RightButton);
    QCOMPARE(edit->text(), QStringLiteral("42"));
}

void TestForm1::keyboardFocusKeepsText()
{
    FormHarness h;
    h.form->show();
    QVERIFY(QTest::qWaitForWindowActive(h.form.get()));
    h.field("Prolet")->setText(QStringLiteral("50"));
    h.widget("Option4")->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), h.widget("Prolet"));
    QCOMPARE(h.field("Prolet")->text(), QStringLiteral("50"));
}

void TestForm1::resets_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QStringList>("fields"); // set back to their initial text
    QTest::addColumn<QStringList>("labels"); // emptied
    QTest::addColumn<QStringList>("untouched"); // keep what was typed
    QTest::addColumn<bool>("transitionOn");

    const QStringList shared { "Prolet", "txtVm" };
    QTest::newRow("Command2 ice with wind")
        << "Command2" << shared + QStringList { "txtGp", "txtGpr", "txtGnv", "txtPkv", "txtPprv" }
        << QStringList { "Label1" }
        << QStringList { "txtSum1", "txtLp", "Text1", "txtD4", "Label5" } << false;
    QTest::newRow("Command4 maximum wind")
        << "Command4"
        << shared + QStringList { "txtSum1", "txtSum2", "txtSum3", "txtSum4", "txtSum5" }
        << QStringList { "Label5" } << QStringList { "txtGp", "txtLp", "Text5", "Label1" } << false;
    QTest::newRow("Command13 transition support")
        << "Command13" << shared + QStringList { "txtLp" }
        << QStringList { "Label10", "Label18", "Label26", "Label27", "Label28", "Label29",
               "Label30", "Label31" }
        << QStringList { "txtGp", "txtSum1", "Text2", "txtF5", "Label1", "Label5" } << true;
    QTest::newRow("Command14 additional loads")
        << "Command14"
        << shared
            + QStringList { "txtD1", "txtD2", "txtD3", "txtD4", "txtD5", "txtD6", "txtD7", "TxtD8",
                  "txtD9", "txtF1", "txtF2", "txtF3", "txtF4", "txtF5", "txtF6", "txtF7", "txtF8",
                  "txtF9", "Text1", "Text2", "Text3", "Text4", "Text5" }
        << QStringList {} << QStringList { "txtGp", "txtSum5", "txtLp", "Label1", "Label28" }
        << false;
}

void TestForm1::resets()
{
    QFETCH(QString, button);
    QFETCH(QStringList, fields);
    QFETCH(QStringList, labels);
    QFETCH(QStringList, untouched);
    QFETCH(bool, transitionOn);

    FormHarness h;
    h.form->show();
    if (transitionOn)
        h.select("Option21");
    const QString typed = QStringLiteral("7,25");
    for (QLineEdit *edit : h.form->findChildren<QLineEdit *>())
        edit->setText(typed);
    for (const char *name : kResultLabels)
        h.label(name)->setText(QStringLiteral("903"));

    h.click(qPrintable(button));

    QHash<QString, QString> initial;
    for (const auto &[name, text] : initialTexts())
        initial.insert(name, text);
    for (const QString &name : fields)
        QCOMPARE(h.form->findChild<QLineEdit *>(name)->text(), initial.value(name));
    for (const QString &name : labels)
        QCOMPARE(h.form->findChild<QLabel *>(name)->text(), QString());
    for (const QString &name : untouched) {
        QWidget *w = h.form->findChild<QWidget *>(name);
        if (auto *edit = qobject_cast<QLineEdit *>(w))
            QCOMPARE(edit->text(), typed);
        else
            QCOMPARE(qobject_cast<QLabel *>(w)->text(), QStringLiteral("903"));
    }
    // Cells of the reference tables are never reset.
    QCOMPARE(h.field("Gp5")->text(), typed);
    QVERIFY(h.messages.empty());
}

void TestForm1::resetAllRestoresEveryField()
{
    FormHarness h;
    h.select("Option21"); // "Сброс все" also covers the hidden frame's fields
    h.select("Option3");
    for (const auto &[name, text] : initialTexts())
        h.form->findChild<QLineEdit *>(name)->setText(QStringLiteral("x"));
    for (const char *name : kResultLabels)
        h.label(name)->setText(QStringLiteral("1"));
    h.click("Command19");
    for (const auto &[name, text] : initialTexts())
        QCOMPARE(h.form->findChild<QLineEdit *>(name)->text(), text);
    for (const char *name : kResultLabels)
        QVERIFY(h.label(name)->text().isEmpty());
    // Options and shown controls stay.
    QVERIFY(h.option("Option3")->isChecked());
    QVERIFY(h.shown("Frame35"));
}

void TestForm1::exitClosesTheWindow()
{
    FormHarness h;
    h.form->show();
    QVERIFY(QTest::qWaitForWindowExposed(h.form.get()));
    h.click("Command16");
    QVERIFY(!h.form->isVisible());
    QVERIFY(h.messages.empty());
}

// The program ends when its last window closes, not with the main window.
void TestForm1::programLivesWhileAnotherWindowIsOpen()
{
    FormHarness h;
    QWidget other;
    other.show();
    h.form->show();
    QSignalSpy lastClosed(qApp, &QGuiApplication::lastWindowClosed);
    bool aliveAfterExit = false;
    QTimer::singleShot(0, [&] { h.click("Command16"); });
    QTimer::singleShot(100, [&] {
        aliveAfterExit = lastClosed.isEmpty() && other.isVisible();
        other.close();
    });
    QTimer::singleShot(5000, qApp, &QCoreApplication::quit); // never hang the suite
    QCoreApplication::exec();
    QVERIFY(aliveAfterExit);
    QCOMPARE(lastClosed.count(), 1);
}

void TestForm1::transitionSwitch()
{
    FormHarness h;
    h.select("Option21");
    QVERIFY(h.shown("Frame35"));
    QVERIFY(!h.shown("Frame39"));
    h.select("Option21"); // again: nothing changes
    QVERIFY(h.shown("Frame35"));
    QVERIFY(!h.shown("Frame39"));
    h.select("Option22");
    QVERIFY(!h.shown("Frame35"));
    QVERIFY(h.shown("Frame39"));
}

// The transition-support frame covers the tensions, radius and stagger and their captions
// completely: the window looks there exactly as if they were not beneath it.
void TestForm1::transitionFrameHidesWhatLiesBeneath()
{
    FormHarness h;
    h.select("Option21");
    for (const char *name : { "Text1", "Text2", "Text3", "Text4", "Text5" })
        h.field(name)->setText(QStringLiteral("-2206.484"));
    const QRect area = h.widget("Frame35")->geometry();
    const QImage covered = h.form->grab(area).toImage();
    for (const char *name : { "Text1", "Text2", "Text3", "Text4", "Text5", "Label13", "Label14",
             "Label15", "Label16", "Label17" })
        h.widget(name)->hide();
    QCOMPARE(covered, h.form->grab(area).toImage());
}

// A window smaller than the form (a small screen, a large scale) shows scroll bars over the form,
// which keeps its size; at the form's size there are none.
void TestForm1::smallWindowScrollsOverTheForm()
{
    FormHarness h;
    h.form->show();
    QVERIFY(QTest::qWaitForWindowExposed(h.form.get()));
    auto *area = h.find<QScrollArea>("Form1ScrollArea");
    const QSize formSize = h.widget("Form1Surface")->size();
    QCOMPARE(area->viewport()->size(), formSize);
    QVERIFY(!area->horizontalScrollBar()->isVisible() && !area->verticalScrollBar()->isVisible());
    h.form->resize(formSize / 2);
    QTRY_VERIFY(area->verticalScrollBar()->isVisible());
    QVERIFY(area->horizontalScrollBar()->isVisible());
    QCOMPARE(h.widget("Form1Surface")->size(), formSize);
    area->ensureWidgetVisible(h.widget("Command16"));
    QVERIFY(h.widget("Command16")->visibleRegion().boundingRect().size()
        == h.widget("Command16")->size());
}

// The glyphs of the record navigators are drawn large enough to read: at least 7 px tall at
// 100 %, within the navigator's own rectangle.
void TestForm1::navigatorArrowsCanBeRead()
{
    FormHarness h;
    h.form->show();
    QVERIFY(QTest::qWaitForWindowExposed(h.form.get()));
    for (const char *arrow : { "first", "previous", "next", "last" }) {
        auto *button = h.widget("Data2")->findChild<QWidget *>(QLatin1String(arrow));
        QVERIFY(h.widget("Data2")->rect().contains(button->geometry()));
        const QImage image = button->grab().toImage();
        const QRgb ink = button->palette().color(QPalette::ButtonText).rgb();
        int top = image.height(), bottom = -1;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (qAbs(qGray(image.pixel(x, y)) - qGray(ink)) < 48) {
                    top = qMin(top, y);
                    bottom = qMax(bottom, y);
                }
        QVERIFY2(bottom - top + 1 >= 7, arrow);
    }
}

void TestForm1::calculatorSwitch()
{
    FormHarness h;
    for (const char *choice : { "Option23", "Option24", "Option23", "Option23", "Option24" }) {
        h.select(choice);
        const bool system = QByteArray(choice) == "Option23";
        QCOMPARE(h.shown("Command17"), system);
        QCOMPARE(h.shown("Command18"), !system);
    }
}

void TestForm1::hiddenFramesKeepTheirTexts()
{
    FormHarness h;
    h.field("txtD5")->setText(QStringLiteral("2,5"));
    h.label("Label28")->setText(QStringLiteral("903"));
    h.select("Option21");
    h.select("Option22");
    h.select("Option21");
    QCOMPARE(h.field("txtD5")->text(), QStringLiteral("2,5"));
    QCOMPARE(h.label("Label28")->text(), QStringLiteral("903"));
}

void TestForm1::cursorFileGivesThePointingHand()
{
    FormHarness h;
    for (const char *name :
        { "txtGp", "txtGpr", "txtGnv", "txtPkv", "txtPprv", "txtSum1", "txtSum2" })
        QCOMPARE(h.widget(name)->cursor().shape(), Qt::BitmapCursor);
    for (const char *name : { "Prolet", "txtSum3", "Gp5", "Command1" })
        QVERIFY(h.widget(name)->cursor().shape() != Qt::BitmapCursor);
    // The shipped cursor points with its fingertip.
    const auto cursor = kelsa::loadCursorFile(QStringLiteral(":/kelsa/32761.CUR"));
    QVERIFY(cursor);
    QCOMPARE(cursor->hotSpot(), QPoint(5, 0));
    QCOMPARE(cursor->pixmap().size(), QSize(32, 32));
}

void TestForm1::missingCursorFileFallsBackToBuiltInCopy()
{
    QTemporaryDir empty;
    kelsa::Form1Services services;
    services.files = kelsa::FileLocator({ empty.path() });
    FormHarness h(services);
    QCOMPARE(h.widget("txtGp")->cursor().shape(), Qt::BitmapCursor);
    QCOMPARE(h.widget("txtGp")->cursor().hotSpot(), QPoint(5, 0));
}

void TestForm1::damagedCursorIsRefused()
{
    QTemporaryDir dir;
    QFile file(dir.filePath(QStringLiteral("32761.CUR")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(QByteArray("\0\0\2\0\1\0garbage", 13));
    file.close();
    QVERIFY(!kelsa::loadCursorFile(file.fileName()));
    kelsa::Form1Services services;
    services.files = kelsa::FileLocator({ dir.path() });
    FormHarness h(services);
    QCOMPARE(h.widget("txtSum2")->cursor().shape(), Qt::BitmapCursor);
}

QTEST_MAIN(TestForm1)
#include "test_form1.moc"
