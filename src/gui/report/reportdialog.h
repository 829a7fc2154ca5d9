// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/report/calculationreport.h"

class QWidget;

namespace kelsa
{

// Shows the calculation report in a print preview on A4, from which the user prints it, saves
// it as PDF («Сохранить PDF…») or copies its text to the clipboard («Копировать текст»).
// Returns when the preview is closed.
void showReportPreview(QWidget *parent, const ReportInput &input);

} // namespace kelsa
