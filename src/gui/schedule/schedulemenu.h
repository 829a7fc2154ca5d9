// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QAction;
class QMainWindow;
class QMenu;
class QUndoStack;

namespace kelsa
{

// The schedule window's menus: «Файл», «Правка», «Строки», «Вид».
struct ScheduleMenu {
    QMenu *file = nullptr;
    QMenu *edit = nullptr;
    QMenu *rows = nullptr;
    QMenu *view = nullptr;

    QAction *newSchedule = nullptr; // «Новая ведомость»
    QAction *open = nullptr; // «Открыть…» a .kelsa-schedule file
    QAction *save = nullptr;
    QAction *saveAs = nullptr;
    QAction *importTable = nullptr; // «Импорт…» CSV, .xlsx, .ods
    QAction *exportTable = nullptr; // «Экспорт…» CSV, .xlsx, PDF
    QAction *title = nullptr; // «Титульный блок…»
    QAction *close = nullptr;

    QAction *undo = nullptr; // from the undo stack, Ctrl+Z
    QAction *redo = nullptr; // Ctrl+Y
    QAction *copy = nullptr;
    QAction *paste = nullptr;
    QAction *clearCells = nullptr; // Delete: the selected input cells emptied

    QAction *insertRow = nullptr; // a new row after the current one
    QAction *duplicateRows = nullptr;
    QAction *removeRows = nullptr;
    QAction *moveUp = nullptr;
    QAction *moveDown = nullptr;
    QAction *openInMainWindow = nullptr; // «Открыть в окне расчета»

    QAction *scheduleOrder = nullptr; // «Порядок ведомости»: the sort undone
};

ScheduleMenu buildScheduleMenu(QMainWindow &window, QUndoStack &undoStack);

} // namespace kelsa
