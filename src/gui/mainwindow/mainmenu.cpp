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

    menu.newCalculation = menu.file->addAction(QStringLiteral("&Новый расчёт"));
    menu.newCalculation->setShortcut(QKeySequence::New);
    menu.open = menu.file->addAction(QStringLiteral("&Открыть…"));
    menu.open->setShortcut(QKeySequence::Open);
    menu.save = menu.file->addAction(QStringLiteral("&Сохранить"));
    menu.save->setShortcut(QKeySequence::Save);
    menu.saveAs = menu.file->addAction(QStringLiteral("Сохранить &как…"));
    menu.saveAs->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    menu.file->addSeparator();
    menu.report = menu.file->addAction(QStringLiteral("О&тчёт…"));
    menu.report->setShortcut(QKeySequence::Print);
    menu.file->addSeparator();
    menu.scheduleWindow = menu.file->addAction(QStringLiteral("&Ведомость опор…"));
    menu.scheduleWindow->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_L));
    menu.toSchedule = menu.file->addAction(QStringLiteral("В в&едомость"));
    menu.file->addSeparator();
    menu.exit = menu.file->addAction(QStringLiteral("В&ыход"));
    menu.exit->setShortcut(QKeySequence::Quit);

    menu.chooseTablesFolder = menu.tables->addAction(QStringLiteral("&Папка справочных таблиц…"));
    menu.reloadTables = menu.tables->addAction(QStringLiteral("П&еречитать таблицы"));
    menu.reloadTables->setShortcut(QKeySequence(Qt::Key_F5));
    menu.tables->addSeparator();
    menu.catalogue = menu.tables->addAction(QStringLiteral("&Каталог опор…"));

    menu.helpPage = menu.help->addAction(QStringLiteral("&Помощь"));
    menu.helpPage->setShortcut(QKeySequence::HelpContents);
    menu.about = menu.help->addAction(QStringLiteral("&О программе"));
    return menu;
}

} // namespace kelsa
