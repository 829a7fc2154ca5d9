// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/schedule/schedulemenu.h"

#include <QAction>
#include <QKeySequence>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QUndoStack>

namespace kelsa
{

namespace
{

QAction *add(QMenu *menu, const QString &text, const char *name, const QKeySequence &key = {})
{
    QAction *action = menu->addAction(text);
    action->setObjectName(QString::fromLatin1(name));
    action->setShortcut(key);
    return action;
}

} // namespace

ScheduleMenu buildScheduleMenu(QMainWindow &window, QUndoStack &undoStack)
{
    ScheduleMenu menu;
    QMenuBar *bar = window.menuBar();
    bar->setObjectName(QStringLiteral("scheduleMenuBar"));
    menu.file = bar->addMenu(QStringLiteral("&Файл"));
    menu.edit = bar->addMenu(QStringLiteral("&Правка"));
    menu.rows = bar->addMenu(QStringLiteral("&Строки"));
    menu.view = bar->addMenu(QStringLiteral("&Вид"));

    menu.newSchedule
        = add(menu.file, QStringLiteral("&Новая ведомость"), "newSchedule", QKeySequence::New);
    menu.open = add(menu.file, QStringLiteral("&Открыть…"), "openSchedule", QKeySequence::Open);
    menu.save = add(menu.file, QStringLiteral("&Сохранить"), "saveSchedule", QKeySequence::Save);
    menu.saveAs = add(menu.file, QStringLiteral("Сохранить &как…"), "saveScheduleAs",
        QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    menu.file->addSeparator();
    menu.importTable = add(menu.file, QStringLiteral("&Импорт…"), "importSchedule");
    menu.exportTable = add(menu.file, QStringLiteral("&Экспорт…"), "exportSchedule",
        QKeySequence(Qt::CTRL | Qt::Key_E));
    menu.file->addSeparator();
    menu.title = add(menu.file, QStringLiteral("&Титульный блок…"), "scheduleTitle");
    menu.file->addSeparator();
    menu.close = add(menu.file, QStringLiteral("&Закрыть"), "closeSchedule", QKeySequence::Close);

    menu.undo = undoStack.createUndoAction(&window, QStringLiteral("&Отменить"));
    menu.undo->setObjectName(QStringLiteral("undo"));
    menu.undo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    menu.redo = undoStack.createRedoAction(&window, QStringLiteral("&Повторить"));
    menu.redo->setObjectName(QStringLiteral("redo"));
    menu.redo->setShortcuts(
        { QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z) });
    menu.edit->addAction(menu.undo);
    menu.edit->addAction(menu.redo);
    menu.edit->addSeparator();
    menu.copy = add(menu.edit, QStringLiteral("&Копировать"), "copyCells", QKeySequence::Copy);
    menu.paste = add(menu.edit, QStringLiteral("&Вставить"), "pasteCells", QKeySequence::Paste);
    menu.clearCells
        = add(menu.edit, QStringLiteral("&Очистить ячейки"), "clearCells", QKeySequence::Delete);

    menu.insertRow = add(menu.rows, QStringLiteral("&Новая строка"), "insertRow",
        QKeySequence(Qt::CTRL | Qt::Key_Insert));
    menu.duplicateRows = add(menu.rows, QStringLiteral("&Дублировать"), "duplicateRows",
        QKeySequence(Qt::CTRL | Qt::Key_D));
    menu.removeRows = add(menu.rows, QStringLiteral("&Удалить"), "removeRows",
        QKeySequence(Qt::CTRL | Qt::Key_Delete));
    menu.rows->addSeparator();
    menu.moveUp = add(
        menu.rows, QStringLiteral("&Вверх"), "moveRowsUp", QKeySequence(Qt::ALT | Qt::Key_Up));
    menu.moveDown = add(
        menu.rows, QStringLiteral("Вн&из"), "moveRowsDown", QKeySequence(Qt::ALT | Qt::Key_Down));
    menu.rows->addSeparator();
    menu.openInMainWindow = add(menu.rows, QStringLiteral("Открыть в &окне расчета"),
        "openInMainWindow", QKeySequence(Qt::CTRL | Qt::Key_Return));

    menu.scheduleOrder = add(menu.view, QStringLiteral("&Порядок ведомости"), "scheduleOrder");
    return menu;
}

} // namespace kelsa
