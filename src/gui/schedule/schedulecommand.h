// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/schedule/scheduleedit.h"

#include <QUndoCommand>

namespace kelsa
{

class ScheduleModel;

// One edit of the schedule on the window's undo stack: redo applies the edit through the
// model, undo applies the edit that applying it returned. A command for an edit the model
// applied already (a cell typed in) is made with that edit's undo and skips its first redo.
class ScheduleCommand : public QUndoCommand
{
public:
    ScheduleCommand(ScheduleModel &model, const QString &text, ScheduleEdit edit);
    ScheduleCommand(
        ScheduleModel &model, const QString &text, ScheduleEdit edit, ScheduleEdit undone);

    void redo() override;
    void undo() override;

private:
    ScheduleModel &m_model;
    ScheduleEdit m_edit;
    ScheduleEdit m_undo;
    bool m_applied = false;
};

} // namespace kelsa
