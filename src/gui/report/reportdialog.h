// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/report/calculationreport.h"
#include "gui/report/printpreviewlibrary.h"

class QWidget;

namespace kelsa
{

// Shows the calculation report in a print preview on A4, from which the user prints it, saves
// it as PDF («Сохранить PDF…») or copies its text to the clipboard («Копировать текст»).
// Returns when the preview is closed. Where the preview library cannot be loaded, says why and
// offers to save the report as PDF.
void showReportPreview(QWidget *parent, const ReportInput &input);

// The same through the given library (tests).
void showReportPreview(
    QWidget *parent, const ReportInput &input, const PrintPreviewLibrary &library);

} // namespace kelsa
