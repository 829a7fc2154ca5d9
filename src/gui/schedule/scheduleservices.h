// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/schedule/schedule.h"
#include "gui/widgets/services.h"

#include <QString>

#include <functional>
#include <optional>

class QWidget;

namespace kelsa
{

// What «Файл → В ведомость» of the main window does with a calculation that came from a row
// of the schedule still there.
enum class PutCalculation { ReplaceRow, AddRow, Cancel };
// Asked with the row's number (from 1) and its support as the table shows them.
using PutCalculationQuestion
    = std::function<PutCalculation(QWidget *parent, int rowNumber, const QString &support)>;

// What the schedule window asks of the world outside it; every member left empty takes the
// main window's (its messages and file dialogs) or the real question boxes below.
struct ScheduleServices {
    MessageSink showMessage;
    FileChooser chooseOpenFile;
    FileChooser chooseSaveFile;
    UnsavedChangesQuestion askUnsaved; // default: scheduleUnsavedBox()
    PutCalculationQuestion askPut; // default: putCalculationBox()
    // The title block asked for; nothing when cancelled. Default: editScheduleTitle().
    std::function<std::optional<ScheduleTitle>(QWidget *parent, const ScheduleTitle &title)>
        editTitle;
};

// «Сохранить изменения в ведомости «…»?» (for one never saved, «Сохранить новую ведомость?»)
// with «Сохранить», «Не сохранять», «Отмена».
UnsavedChangesQuestion scheduleUnsavedBox();
// «Расчет взят из строки N ведомости (опора …)» with «Заменить строку», «Добавить строку»,
// «Отмена».
PutCalculationQuestion putCalculationBox();

} // namespace kelsa
