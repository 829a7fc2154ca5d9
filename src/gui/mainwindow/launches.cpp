// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/mainwindow/launches.h"

#include "gui/about/form2.h"
#include "gui/expr/form3.h"
#include "gui/help/helpwindow.h"
#include "gui/mainwindow/form1.h"
#include "gui/mainwindow/form1controls.h"

#include <QAbstractButton>
#include <QFileInfo>

namespace kelsa
{

namespace
{

template <typename Window>
void showOnce(QPointer<Window> &window, const std::function<Window *()> &create)
{
    if (!window) {
        window = create();
        window->setAttribute(Qt::WA_DeleteOnClose);
    }
    window->show();
    window->raise();
    window->activateWindow();
}

} // namespace

QStringList systemCalculators()
{
#ifdef Q_OS_WIN
    return { QStringLiteral("C:\\Windows\\calc.exe") };
#else
    return { QStringLiteral("gnome-calculator"), QStringLiteral("kcalc"),
        QStringLiteral("qalculate-qt"), QStringLiteral("qalculate-gtk"),
        QStringLiteral("galculator"), QStringLiteral("mate-calc"), QStringLiteral("xcalc") };
#endif
}

Launches::Launches(const Form1Controls &ui, const Form1Services &services,
    std::function<void(const QString &text)> showMessage)
    : m_services(services)
    , m_showMessage(std::move(showMessage))
{
    connect(ui.aboutButton, &QAbstractButton::clicked, this, &Launches::Command15_Click);
    connect(ui.systemCalculatorButton, &QAbstractButton::clicked, this, &Launches::Command17_Click);
    connect(
        ui.builtInCalculatorButton, &QAbstractButton::clicked, this, &Launches::Command18_Click);
}

Launches::~Launches()
{
    // Windows still open when the main window goes away go with it.
    delete m_about.data();
    delete m_calculator.data();
    delete m_help.data();
}

void Launches::Command15_Click()
{
    showOnce<Form2>(m_about, [this] {
        Form2Services services;
        services.files = m_services.files;
        services.openUrl = m_services.openUrl;
        return new Form2(services);
    });
}

void Launches::Command18_Click()
{
    showOnce<Form3>(m_calculator, [] { return new Form3; });
}

void Launches::showHelpPage()
{
    // Found as the About window's «Помощь» finds it: in the working folder, then installed.
    const QString path = m_services.files.locate(QStringLiteral("help.htm"));
    if (!QFileInfo(path).isFile()) {
        m_showMessage(QStringLiteral("Не найдена страница справки help.htm"));
        return;
    }
    showOnce<HelpWindow>(
        m_help, [this, &path] { return new HelpWindow(path, m_services.openUrl); });
}

void Launches::Command17_Click()
{
    const QStringList candidates = systemCalculators();
    for (const QString &program : candidates)
        if (m_services.startProcess(program, {}))
            return;
    // Nothing could be started. The program goes on: ending it here would throw away everything
    // the user has typed.
    QString text = QStringLiteral("Не нахожу калькулятор C:\\Windows\\calc.exe");
#ifndef Q_OS_WIN
    text += QStringLiteral("\n(пробовал: %1)").arg(candidates.join(QStringLiteral(", ")));
#endif
    m_showMessage(text);
}

} // namespace kelsa
