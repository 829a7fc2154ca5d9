// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/document/savedcalculation.h"

#include <optional>

class QWidget;

namespace kelsa
{

// Asks for the report's title block («Титульный блок отчета»: object, support number, author),
// starting from `title`. The entered block, or nothing when the user cancels.
std::optional<ReportTitle> editReportTitle(QWidget *parent, const ReportTitle &title);

} // namespace kelsa
