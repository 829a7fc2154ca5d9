// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QAction;
class QMenu;
class QMenuBar;
class QWidget;

namespace kelsa
{

// The menu bar over the main window's form: «Файл», «Справочники», «Справка».
struct MainMenu {
    QMenuBar *bar = nullptr;
    QMenu *file = nullptr;
    QMenu *tables = nullptr;
    QMenu *help = nullptr;

    QAction *newCalculation = nullptr; // «Новый расчёт»: the window as it starts
    QAction *open = nullptr; // «Открыть…» a .kelsa file
    QAction *save = nullptr; // «Сохранить»
    QAction *saveAs = nullptr; // «Сохранить как…»
    QAction *report = nullptr; // «Отчёт…»: the calculation report in a print preview
    QAction *scheduleWindow = nullptr; // «Ведомость опор…»: the schedule window
    QAction *toSchedule = nullptr; // «В ведомость»: the calculation as a row of the schedule
    QAction *exit = nullptr; // «Выход», as the button of that name
    QAction *chooseTablesFolder = nullptr; // «Папка справочных таблиц…»
    QAction *reloadTables = nullptr; // «Перечитать таблицы»
    QAction *catalogue = nullptr; // «Каталог опор…», the support types as read
    QAction *about = nullptr; // «О программе», the About window
    QAction *helpPage = nullptr; // «Помощь», the help page
};

// Builds the menus with their actions, texts and shortcuts; the window connects them.
MainMenu buildMainMenu(QWidget *window);

} // namespace kelsa
