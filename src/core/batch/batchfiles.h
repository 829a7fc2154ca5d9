// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A schedule of supports computed from one file into another (see batchrun.h for the table).

#include "core/batch/batchrun.h"

#include <QString>

namespace kelsa
{

// Computes the schedule in `inputPath` into `outputPath`. The output is written atomically: it appears whole or
// not at all. The empty text on success, else one line naming the file (and its line).
QString runBatchFiles(const QString &inputPath, const QString &outputPath,
    const BatchSettings &settings, BatchSummary *summary = nullptr);

} // namespace kelsa
