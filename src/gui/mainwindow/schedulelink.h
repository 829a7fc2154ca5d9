// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "gui/schedule/scheduleservices.h"

#include <QObject>

class Form1;

namespace kelsa
{

class ScheduleWindow;
class SupportCheckBar;
struct MainMenu;
struct SavedCalculation;

// The main window's side of the schedule window: «Файл → Ведомость опор…» opens it (built when
// first asked for, so that start-up does not wait for it), «Файл → В ведомость» puts the
// calculation into it; the catalogue follows the main window's; closing the main window asks
// about the schedule's unsaved work first.
class ScheduleLink : public QObject
{
    Q_OBJECT
public:
    ScheduleLink(Form1 &form, const MainMenu &menu, const SupportCheckBar &checkBar,
        ScheduleServices services);
    ~ScheduleLink() override;

    // The window, or nothing before it was first asked for.
    ScheduleWindow *window() const { return m_window; }
    // The window, built when there is none yet, shown and raised.
    ScheduleWindow &showWindow();
    void putCalculation();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool showInMainWindow(const SavedCalculation &saved);

    Form1 &m_form;
    const SupportCheckBar &m_checkBar;
    ScheduleServices m_services;
    ScheduleWindow *m_window = nullptr;
};

} // namespace kelsa
