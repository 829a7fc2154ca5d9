// SPDX-License-Identifier: GPL-3.0-or-later
// The calculator window as the user works it: calculate, clear, help, focus and selection,
// and a new evaluator each time the window is opened.
#include "support/errorrecorder.h"

// Included the way outside projects that link kelsa_gui include them.
#include "expr/expressionevaluator.h"
#include "expr/form3.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <memory>

namespace
{

const QLocale en(QLocale::English, QLocale::UnitedStates);
const QLocale ru(QLocale::Russian, QLocale::Russia);

template <typename T> T *control(const QWidget &form, const char *name)
{
    T *widget = form.findChild<T *>(QLatin1String(name));
    if (!widget)
        qFatal("Form3 has no control %s", name);
    return widget;
}

} // namespace

class TestForm3 : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void window();
    void controlsInsideWindowWithoutOverlap();
    void tabOrder();
    void helpText();
    void initialFocusOnAnswer();
    void calculate_data();
    void calculate();
    void errorStillFillsAnswer();
    void tabbingIntoAnswerSelectsIt();
    void enterCalculatesAndTheAnswerIsSelected();
    void clearKeepsAnswer();
    void helpShownAndHiddenByClicks();
    void keyboardFocusDoesNotHideHelp();
    void exitClosesAndReopenIsFresh();
    void evaluatorShowsItsOwnBoxUntilAHandlerIsSet();

private:
    void showAndActivate(Form3 &form);
    void calculate(Form3 &form, const QString &expression);

    std::unique_ptr<Form3> m_form;
    ErrorRecorder m_errors;
};

void TestForm3::init()
{
    QLocale::setDefault(en);
    m_errors.reports.clear();
    m_form = std::make_unique<Form3>();
    m_form->setErrorHandler(m_errors.handler());
}

void TestForm3::cleanup()
{
    m_form.reset();
    QLocale::setDefault(QLocale::c());
}

void TestForm3::showAndActivate(Form3 &form)
{
    form.show();
    form.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&form));
}

void TestForm3::calculate(Form3 &form, const QString &expression)
{
    control<QPlainTextEdit>(form, "txtExpression")->setPlainText(expression);
    QTest::mouseClick(control<QPushButton>(form, "cmdCalc"), Qt::LeftButton);
}

void TestForm3::window()
{
    QCOMPARE(m_form->objectName(), QStringLiteral("Form3"));
    QCOMPARE(m_form->windowTitle(), QStringLiteral("калькулятор"));
    QVERIFY(m_form->isWindow());
    // A tool window would not keep the program running once the main window is gone.
    QCOMPARE(m_form->windowType(), Qt::Window);
    QVERIFY(!(m_form->windowFlags() & Qt::WindowMinimizeButtonHint));
    QVERIFY(!(m_form->windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(!m_form->testAttribute(Qt::WA_DeleteOnClose));
    QCOMPARE(m_form->size(), QSize(320, 159));
}

// Only the help text may lie over the expression box; everything fits in the window.
void TestForm3::controlsInsideWindowWithoutOverlap()
{
    const QStringList names
        = { "txtExpression", "Label1", "Text2", "cmdCalc", "cmdOp", "Command1", "Command2" };
    const QRect client(QPoint(0, 0), m_form->size());
    for (const QString &name : names) {
        const QRect area = control<QWidget>(*m_form, qPrintable(name))->geometry();
        QVERIFY2(client.contains(area), qPrintable(name));
        for (const QString &other : names) {
            if (other <= name)
                continue;
            const QRect otherArea = control<QWidget>(*m_form, qPrintable(other))->geometry();
            QVERIFY2(!area.intersects(otherArea), qPrintable(name + " / " + other));
        }
    }
    const QRect help = control<QWidget>(*m_form, "Text1")->geometry();
    QVERIFY(control<QWidget>(*m_form, "txtExpression")->geometry().contains(help));
}

void TestForm3::tabOrder()
{
    const QStringList expected = { "Text2", "Command2", "Command1", "txtExpression", "cmdCalc",
        "cmdOp", "Text1", "Text2" };
    QWidget *widget = control<QWidget>(*m_form, "Text2");
    QStringList order = { widget->objectName() };
    while (order.size() < expected.size()) {
        do
            widget = widget->nextInFocusChain();
        while (widget->focusPolicy() == Qt::NoFocus || widget->objectName().isEmpty());
        order << widget->objectName();
    }
    QCOMPARE(order, expected);
}

void TestForm3::helpText()
{
    auto *help = control<QPlainTextEdit>(*m_form, "Text1");
    QVERIFY(help->isHidden());
    QCOMPARE(help->toPlainText(),
        QStringLiteral("* -умножение\n/ -деление\n+ -сложение\n"
                       "- -вычитание\n^ -возведение в степень\n"
                       "( ) -скобки\n"));
}

void TestForm3::initialFocusOnAnswer()
{
    showAndActivate(*m_form);
    QCOMPARE(QApplication::focusWidget(), control<QWidget>(*m_form, "Text2"));
}

void TestForm3::calculate_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("expression");
    QTest::addColumn<QString>("answer");

    QTest::newRow("15 significant digits") << en << "0.1+0.2"
                                           << "0.3";
    QTest::newRow("third") << en << "1/3"
                           << "0.333333333333333";
    QTest::newRow("exponent form") << en << "10^20"
                                   << "1E+20";
    QTest::newRow("small exponent form") << en << "1/100000"
                                         << "1E-05";
    QTest::newRow("negated group") << en << "-(2*3)"
                                   << "-6";
    QTest::newRow("ru fraction") << ru << "2,5"
                                 << "2,5";
    QTest::newRow("ru third") << ru << "1/3"
                              << "0,333333333333333";
    QTest::newRow("multi-line expression") << en << "2*\n3"
                                           << "6";
}

void TestForm3::calculate()
{
    QFETCH(QLocale, locale);
    QFETCH(QString, expression);
    QFETCH(QString, answer);
    QLocale::setDefault(locale);
    showAndActivate(*m_form);
    calculate(*m_form, expression);

    auto *answerBox = control<QLineEdit>(*m_form, "Text2");
    QCOMPARE(answerBox->text(), answer);
    QCOMPARE(QApplication::focusWidget(), answerBox);
    QCOMPARE(answerBox->selectedText(), answer);
    QCOMPARE(control<QPlainTextEdit>(*m_form, "txtExpression")->toPlainText(), expression);
    QVERIFY(m_errors.reports.isEmpty());
}

void TestForm3::errorStillFillsAnswer()
{
    showAndActivate(*m_form);
    calculate(*m_form, QStringLiteral("12"));
    calculate(*m_form, QString());
    QCOMPARE(m_errors.reports.size(), 1);
    QCOMPARE(m_errors.reports.front().routine, QStringLiteral("Evaluate"));
    QCOMPARE(m_errors.reports.front().number, 13);
    auto *answerBox = control<QLineEdit>(*m_form, "Text2");
    QCOMPARE(answerBox->text(), QStringLiteral("0"));
    QCOMPARE(QApplication::focusWidget(), answerBox);
}

void TestForm3::enterCalculatesAndTheAnswerIsSelected()
{
    showAndActivate(*m_form);
    auto *expression = control<QPlainTextEdit>(*m_form, "txtExpression");
    auto *answerBox = control<QLineEdit>(*m_form, "Text2");
    expression->setFocus();
    QTest::keyClicks(expression, QStringLiteral("pi"));
    QTest::keyClick(expression, Qt::Key_Return);
    QCOMPARE(expression->toPlainText(), QStringLiteral("pi"));
    QCOMPARE(answerBox->text(), QStringLiteral("3.14159265358979"));
    expression->setFocus();
    QTest::keyClicks(expression, QStringLiteral("*2"));
    QTest::keyClick(expression, Qt::Key_Enter, Qt::KeypadModifier);
    QCOMPARE(answerBox->text(), QStringLiteral("6.28318530717958"));
    QVERIFY(m_errors.reports.isEmpty());

    // An error box that handed the focus back to the answer before the answer was written.
    m_form->setErrorHandler(
        [answerBox](const QString &, int, const QString &) { answerBox->setFocus(); });
    expression->setPlainText(QStringLiteral("1/0"));
    expression->setFocus();
    QTest::keyClick(expression, Qt::Key_Return);
    QCOMPARE(answerBox->text(), QStringLiteral("0"));
    QCOMPARE(answerBox->selectedText(), QStringLiteral("0"));
}

void TestForm3::tabbingIntoAnswerSelectsIt()
{
    showAndActivate(*m_form);
    calculate(*m_form, QStringLiteral("6*7"));
    auto *answerBox = control<QLineEdit>(*m_form, "Text2");
    answerBox->deselect();
    control<QWidget>(*m_form, "Command2")->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    QCOMPARE(QApplication::focusWidget(), answerBox);
    QCOMPARE(answerBox->selectedText(), QStringLiteral("42"));
}

void TestForm3::clearKeepsAnswer()
{
    showAndActivate(*m_form);
    calculate(*m_form, QStringLiteral("2+3*4"));
    QTest::mouseClick(control<QPushButton>(*m_form, "cmdOp"), Qt::LeftButton);
    auto *expression = control<QPlainTextEdit>(*m_form, "txtExpression");
    QVERIFY(expression->toPlainText().isEmpty());
    QCOMPARE(QApplication::focusWidget(), expression);
    QCOMPARE(control<QLineEdit>(*m_form, "Text2")->text(), QStringLiteral("14"));
    QCOMPARE(m_form->evaluator().expression(), QStringLiteral("2+3*4"));
}

void TestForm3::helpShownAndHiddenByClicks()
{
    showAndActivate(*m_form);
    auto *help = control<QPlainTextEdit>(*m_form, "Text1");
    auto *expression = control<QPlainTextEdit>(*m_form, "txtExpression");
    auto *helpButton = control<QPushButton>(*m_form, "Command2");

    QTest::mouseClick(helpButton, Qt::LeftButton);
    QVERIFY(help->isVisible());
    QTest::mouseClick(help->viewport(), Qt::LeftButton, {}, QPoint(10, 10));
    QVERIFY(help->isHidden());
    QCOMPARE(QApplication::focusWidget(), expression);

    QTest::mouseClick(helpButton, Qt::LeftButton);
    QVERIFY(help->isVisible());
    // Bottom left of the expression box, clear of the help text.
    QTest::mouseClick(expression->viewport(), Qt::LeftButton, {},
        QPoint(5, expression->viewport()->height() - 5));
    QVERIFY(help->isHidden());
}

void TestForm3::keyboardFocusDoesNotHideHelp()
{
    showAndActivate(*m_form);
    QTest::mouseClick(control<QPushButton>(*m_form, "Command2"), Qt::LeftButton);
    auto *help = control<QPlainTextEdit>(*m_form, "Text1");
    control<QWidget>(*m_form, "cmdCalc")->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab); // to the expression box
    QCOMPARE(QApplication::focusWidget(), control<QWidget>(*m_form, "txtExpression"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab); // to the help text
    QCOMPARE(QApplication::focusWidget(), help);
    QVERIFY(help->isVisible());
}

void TestForm3::exitClosesAndReopenIsFresh()
{
    m_form->setAttribute(Qt::WA_DeleteOnClose); // as the main window opens it
    showAndActivate(*m_form);
    calculate(*m_form, QStringLiteral("2+2"));
    QPointer<Form3> closing = m_form.release();
    QTest::mouseClick(control<QPushButton>(*closing, "Command1"), Qt::LeftButton);
    QVERIFY(closing->isHidden());
    QTRY_VERIFY(closing.isNull());

    m_form = std::make_unique<Form3>();
    m_form->setErrorHandler(m_errors.handler());
    QVERIFY(control<QPlainTextEdit>(*m_form, "txtExpression")->toPlainText().isEmpty());
    QVERIFY(m_form->evaluator().expression().isEmpty());
    QVERIFY(m_form->evaluator().postfix().isEmpty());
    QVERIFY(control<QWidget>(*m_form, "Text1")->isHidden());
}

// Outside code that uses CExpressionEvaluator without a handler gets the calculator's own box,
// titled with the routine; setErrorHandler() replaces it.
void TestForm3::evaluatorShowsItsOwnBoxUntilAHandlerIsSet()
{
    CExpressionEvaluator evaluator;
    QStringList boxes;
    QTimer closer;
    connect(&closer, &QTimer::timeout, [&boxes] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            boxes << box->windowTitle() + QLatin1Char('|') + box->text();
            box->accept();
        }
    });
    closer.start(20);
    evaluator.setExpression(QStringLiteral("1/0"));
    QCOMPARE(evaluator.evaluate(), 0.0);
    QCOMPARE(boxes, QStringList { QStringLiteral("Evaluate|Error: 11. Division by zero") });

    evaluator.setErrorHandler(m_errors.handler());
    QCOMPARE(evaluator.evaluate(), 0.0);
    QCOMPARE(boxes.size(), 1);
    QCOMPARE(m_errors.count(11), 1);
}

QTEST_MAIN(TestForm3)
#include "test_form3.moc"
