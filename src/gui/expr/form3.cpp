// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/expr/form3.h"

#include "gui/widgets/appearance.h"
#include "core/numbers/numbertext.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>

using kelsa::px;

namespace
{

// The help of "?": the operators and the parentheses, each line ended by CR LF.
const char16_t helpText[] = u"* -умножение\r\n"
                            u"/ -деление\r\n"
                            u"+ -сложение\r\n"
                            u"- -вычитание\r\n"
                            u"^ -возведение в степень\r\n"
                            u"( ) -скобки\r\n";

void placeInTwips(QWidget *widget, int left, int top, int width, int height)
{
    widget->setGeometry(px(left), px(top), px(width), px(height));
}

QPushButton *makeButton(
    QWidget *parent, const char *name, const QString &caption, const QRect &twips)
{
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(QLatin1String(name));
    button->setFont(kelsa::uiFont(true));
    placeInTwips(button, twips.x(), twips.y(), twips.width(), twips.height());
    return button;
}

bool isLeftClick(const QEvent *event)
{
    return event->type() == QEvent::MouseButtonRelease
        && static_cast<const QMouseEvent *>(event)->button() == Qt::LeftButton;
}

} // namespace

Form3::Form3(QWidget *parent)
    : QWidget(parent,
        Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
            | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(QStringLiteral("калькулятор"));
    setWindowIcon(kelsa::programIcon());
    resize(px(4800), px(2385));
    createControls();
    connectHandlers();
    Form_Load();
}

Form3::~Form3() = default;

void Form3::setErrorHandler(CExpressionEvaluator::ErrorHandler handler)
{
    m_evaluator->setErrorHandler(std::move(handler));
}

void Form3::createControls()
{
    txtExpression = new QPlainTextEdit(this);
    txtExpression->setObjectName(QStringLiteral("txtExpression"));
    txtExpression->setFont(kelsa::uiFont(false));
    txtExpression->setTabChangesFocus(true);
    placeInTwips(txtExpression, 120, 0, 4575, 1560);

    // Created after txtExpression so that it lies over it.
    Text1 = new QPlainTextEdit(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setFont(kelsa::uiFont(false));
    Text1->setTabChangesFocus(true);
    Text1->setPlainText(QString::fromUtf16(helpText));
    // The six lines fit the box; the empty line after the last CR LF needs no scroll bar.
    Text1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    placeInTwips(Text1, 1320, 120, 2295, 1335);

    Label1 = new QLabel(QStringLiteral("Ответ:"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setFont(kelsa::uiFont(true));
    placeInTwips(Label1, 120, 1560, 615, 255);

    Text2 = new QLineEdit(this);
    Text2->setObjectName(QStringLiteral("Text2"));
    Text2->setFont(kelsa::uiFont(false));
    placeInTwips(Text2, 960, 1560, 3735, 285);

    cmdCalc = makeButton(this, "cmdCalc", QStringLiteral("Вычислить"), { 0, 1920, 1215, 375 });
    cmdOp = makeButton(this, "cmdOp", QStringLiteral("Очистить"), { 1320, 1920, 1215, 375 });
    Command1 = makeButton(this, "Command1", QStringLiteral("Выход"), { 2640, 1920, 1215, 375 });
    Command2 = makeButton(this, "Command2", QStringLiteral("?"), { 4080, 1920, 495, 375 });

    // Keyboard order: the answer first, then "?", "Выход", the expression, "Вычислить",
    // "Очистить" and the help text.
    setTabOrder(Text2, Command2);
    setTabOrder(Command2, Command1);
    setTabOrder(Command1, txtExpression);
    setTabOrder(txtExpression, cmdCalc);
    setTabOrder(cmdCalc, cmdOp);
    setTabOrder(cmdOp, Text1);
    Text2->setFocus();
}

void Form3::connectHandlers()
{
    connect(cmdCalc, &QPushButton::clicked, this, &Form3::cmdCalc_Click);
    connect(cmdOp, &QPushButton::clicked, this, &Form3::cmdOp_Click);
    connect(Command1, &QPushButton::clicked, this, &Form3::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &Form3::Command2_Click);
    // The text boxes have no click signal: mouse clicks on their text areas and focus
    // arrivals of the answer box come through eventFilter().
    txtExpression->viewport()->installEventFilter(this);
    txtExpression->installEventFilter(this);
    Text1->viewport()->installEventFilter(this);
    Text2->installEventFilter(this);
}

bool Form3::eventFilter(QObject *watched, QEvent *event)
{
    // Enter in the expression presses "Вычислить": a line break would only end up in the
    // expression as a character no number or name may hold.
    if (watched == txtExpression && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            cmdCalc_Click();
            return true;
        }
    }
    if (watched == Text1->viewport() && isLeftClick(event))
        Text1_Click();
    else if (watched == txtExpression->viewport() && isLeftClick(event))
        txtExpression_Click();
    else if (watched == Text2 && event->type() == QEvent::FocusIn)
        Text2_GotFocus();
    return QWidget::eventFilter(watched, event);
}

void Form3::Form_Load()
{
    Text1->hide();
    m_evaluator = std::make_unique<CExpressionEvaluator>();
}

void Form3::cmdCalc_Click()
{
    m_evaluator->setExpression(txtExpression->toPlainText());
    Text2->setText(kelsa::writeNumber(m_evaluator->evaluate()));
    Text2->setFocus();
    // The whole answer is selected even when an error box took the focus in between and it
    // came back without a focus-in event of its own.
    Text2->selectAll();
}

// Clears the expression only; the last answer stays.
void Form3::cmdOp_Click()
{
    txtExpression->setPlainText(QString());
    txtExpression->setFocus();
}

void Form3::Command1_Click()
{
    close();
}

void Form3::Command2_Click()
{
    Text1->show();
}

void Form3::Text1_Click()
{
    Text1->hide();
    txtExpression->setFocus();
}

void Form3::txtExpression_Click()
{
    Text1->hide();
}

// The whole answer is selected, ready to be copied or typed over.
void Form3::Text2_GotFocus()
{
    Text2->setSelection(0, static_cast<int>(Text2->text().size()));
}
