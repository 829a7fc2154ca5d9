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

    QAction *exit = nullptr; // «Выход», as the button of that name
    QAction *chooseTablesFolder = nullptr; // «Папка справочных таблиц…»
    QAction *reloadTables = nullptr; // «Перечитать таблицы»
    QAction *about = nullptr; // «О программе», the About window
    QAction *helpPage = nullptr; // «Помощь», the help page
};

// Builds the menus with their actions, texts and shortcuts; the window connects them.
MainMenu buildMainMenu(QWidget *window);

} // namespace kelsa
