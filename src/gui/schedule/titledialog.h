// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/schedule/schedule.h"

#include <optional>

class QWidget;

namespace kelsa
{

// Asks for the printed schedule's title block (object, author, date), starting from `title`;
// nothing when the user cancels.
std::optional<ScheduleTitle> editScheduleTitle(QWidget *parent, const ScheduleTitle &title);

} // namespace kelsa
