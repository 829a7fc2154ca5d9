// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/mainwindow/schedulelink.h"

#include "gui/check/supportcheckbar.h"
#include "gui/mainwindow/calculationdocument.h"
#include "gui/mainwindow/form1.h"
#include "gui/mainwindow/form1layout.h"
#include "gui/mainwindow/mainmenu.h"
#include "gui/schedule/schedulewindow.h"
#include "gui/schedule/titledialog.h"

#include <QAction>
#include <QCloseEvent>

namespace kelsa
{

namespace
{

QHash<QString, QString> optionCaptions()
{
    QHash<QString, QString> captions;
    for (const ControlRow &row : form1Controls())
        if (row.kind == ControlKind::Option)
            captions.insert(QString::fromLatin1(row.name), QString::fromUtf8(row.text));
    return captions;
}

} // namespace

ScheduleLink::ScheduleLink(
    Form1 &form, const MainMenu &menu, const SupportCheckBar &checkBar, ScheduleServices services)
    : QObject(&form)
    , m_form(form)
    , m_checkBar(checkBar)
    , m_services(std::move(services))
{
    const Form1Services &formServices = form.services();
    if (!m_services.showMessage)
        m_services.showMessage = formServices.showMessage;
    if (!m_services.chooseOpenFile)
        m_services.chooseOpenFile = formServices.chooseOpenFile;
    if (!m_services.chooseSaveFile)
        m_services.chooseSaveFile = formServices.chooseSaveFile;
    if (!m_services.askUnsaved)
        m_services.askUnsaved = scheduleUnsavedBox();
    if (!m_services.askPut)
        m_services.askPut = putCalculationBox();
    if (!m_services.editTitle)
        m_services.editTitle = editScheduleTitle;

    connect(menu.scheduleWindow, &QAction::triggered, this, [this] { showWindow(); });
    connect(menu.toSchedule, &QAction::triggered, this, &ScheduleLink::putCalculation);
    // Another calculation in the main window comes from no row.
    for (QAction *other : { menu.newCalculation, menu.open })
        connect(other, &QAction::triggered, this, [this] {
            if (m_window)
                m_window->forgetRowInMainWindow();
        });
    connect(&checkBar, &SupportCheckBar::checkChanged, this, [this] {
        if (m_window)
            m_window->setCatalogue(m_checkBar.catalogue());
    });
    form.installEventFilter(this);
}

ScheduleLink::~ScheduleLink() = default;

ScheduleWindow &ScheduleLink::showWindow()
{
    if (!m_window) {
        ScheduleWindowContext context;
        context.services = m_services;
        context.optionCaptions = optionCaptions();
        context.mainCalculation = [this] { return m_form.savedCalculation(); };
        context.showInMainWindow
            = [this](const SavedCalculation &saved) { return showInMainWindow(saved); };
        m_window = new ScheduleWindow(std::move(context), &m_form);
        m_window->setCatalogue(m_checkBar.catalogue());
    }
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
    return *m_window;
}

void ScheduleLink::putCalculation()
{
    showWindow().putCalculation(m_form.savedCalculation());
}

bool ScheduleLink::showInMainWindow(const SavedCalculation &saved)
{
    if (!m_form.document().mayLeave())
        return false;
    m_form.document().takeCalculation(saved);
    m_form.raise();
    m_form.activateWindow();
    return true;
}

// The schedule window closes with the main window; its unsaved work is asked about first, and
// cancelling keeps both open.
bool ScheduleLink::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == &m_form && event->type() == QEvent::Close && m_window && m_window->isVisible()
        && !m_window->close()) {
        event->ignore();
        return true;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace kelsa
