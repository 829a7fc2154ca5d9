// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QPointer>
#include <QStringList>

#include <functional>

class Form2;
class Form3;

namespace kelsa
{

class HelpWindow;
struct Form1Controls;
struct Form1Services;

// The calculators a desktop offers, tried in this order when the system calculator is chosen.
QStringList systemCalculators();

// The buttons that open something beside the main window: the About window ("?"), the built-in
// calculator and the system calculator (both "Калькулятор"; the calculator choice shows one),
// and the help window of «Справка → Помощь». The three windows are modeless, one copy each, created
// afresh after being closed; they are ordinary top-level windows, so the program runs on while one
// of them is open.
class Launches : public QObject
{
    Q_OBJECT
public:
    Launches(const Form1Controls &ui, const Form1Services &services,
        std::function<void(const QString &text)> showMessage);
    ~Launches() override;

    void Command15_Click(); // the About window
    void Command17_Click(); // the system calculator
    void Command18_Click(); // the built-in calculator
    // The help page in Kelsa's own window; a message when the page is neither in the working
    // folder nor installed.
    void showHelpPage();

private:
    const Form1Services &m_services;
    std::function<void(const QString &text)> m_showMessage;
    QPointer<Form2> m_about;
    QPointer<Form3> m_calculator;
    QPointer<HelpWindow> m_help;
};

} // namespace kelsa
