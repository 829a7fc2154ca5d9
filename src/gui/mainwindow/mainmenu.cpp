// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/mainwindow/mainmenu.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>

namespace kelsa
{

MainMenu buildMainMenu(QWidget *window)
{
    MainMenu menu;
    menu.bar = new QMenuBar(window);
    menu.bar->setObjectName(QStringLiteral("menuBar"));
    // Every menu opens from the keyboard with Alt and its underlined letter.
    menu.file = menu.bar->addMenu(QStringLiteral("&Файл"));
    menu.tables = menu.bar->addMenu(QStringLiteral("С&правочники"));
    menu.help = menu.bar->addMenu(QStringLiteral("Спр&авка"));

    menu.exit = menu.file->addAction(QStringLiteral("В&ыход"));
    menu.exit->setShortcut(QKeySequence::Quit);

    menu.chooseTablesFolder = menu.tables->addAction(QStringLiteral("&Папка справочных таблиц…"));
    menu.reloadTables = menu.tables->addAction(QStringLiteral("П&еречитать таблицы"));
    menu.reloadTables->setShortcut(QKeySequence(Qt::Key_F5));

    menu.helpPage = menu.help->addAction(QStringLiteral("&Помощь"));
    menu.helpPage->setShortcut(QKeySequence::HelpContents);
    menu.about = menu.help->addAction(QStringLiteral("&О программе"));
    return menu;
}

} // namespace kelsa
