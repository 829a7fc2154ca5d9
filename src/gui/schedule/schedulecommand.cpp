// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/schedule/schedulecommand.h"

#include "core/schedule/schedulemodel.h"

#include <utility>

namespace kelsa
{

ScheduleCommand::ScheduleCommand(ScheduleModel &model, const QString &text, ScheduleEdit edit)
    : m_model(model)
    , m_edit(std::move(edit))
{
    setText(text);
}

ScheduleCommand::ScheduleCommand(
    ScheduleModel &model, const QString &text, ScheduleEdit edit, ScheduleEdit undone)
    : m_model(model)
    , m_edit(std::move(edit))
    , m_undo(std::move(undone))
    , m_applied(true)
{
    setText(text);
}

void ScheduleCommand::redo()
{
    if (std::exchange(m_applied, false))
        return;
    m_undo = m_model.apply(m_edit);
}

void ScheduleCommand::undo()
{
    m_edit = m_model.apply(m_undo);
}

} // namespace kelsa
