// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "gui/expr/expressionevaluator.h"

#include <QWidget>

#include <memory>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// The built-in calculator: the user types an expression into txtExpression, presses
// "Вычислить" and reads the value in Text2. "?" shows a short help text over the upper part
// of the expression box. Each window owns the evaluator it created when it loaded; closing
// the window releases it (whoever opens the window sets Qt::WA_DeleteOnClose).
class Form3 : public QWidget
{
    Q_OBJECT
public:
    explicit Form3(QWidget *parent = nullptr);
    ~Form3() override;

    // Replaces the message box of the window's evaluator, for example by a recorder.
    void setErrorHandler(CExpressionEvaluator::ErrorHandler handler);
    // The evaluator created when this window loaded.
    const CExpressionEvaluator &evaluator() const { return *m_evaluator; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void createControls();
    void connectHandlers();

    void Form_Load();
    void cmdCalc_Click();
    void cmdOp_Click();
    void Command1_Click();
    void Command2_Click();
    void Text1_Click();
    void txtExpression_Click();
    void Text2_GotFocus();

    QPlainTextEdit *txtExpression = nullptr;
    QPlainTextEdit *Text1 = nullptr;
    QLabel *Label1 = nullptr;
    QLineEdit *Text2 = nullptr;
    QPushButton *cmdCalc = nullptr;
    QPushButton *cmdOp = nullptr;
    QPushButton *Command1 = nullptr;
    QPushButton *Command2 = nullptr;

    std::unique_ptr<CExpressionEvaluator> m_evaluator;
};
