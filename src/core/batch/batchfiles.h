// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A schedule of supports computed from one file into another (see batchrun.h for the table).

#include "core/batch/batchrun.h"

#include <QString>

namespace kelsa
{

// Computes the schedule in `inputPath` into `outputPath`, through OutputFile: a file appears whole
// or not at all, a FIFO or a device (or "-", the standard output) is written as a stream, and an
// output that is the input is refused before anything is written. The empty text on success,
// else one line naming the file (and its line).
QString runBatchFiles(const QString &inputPath, const QString &outputPath,
    const BatchSettings &settings, BatchSummary *summary = nullptr);

} // namespace kelsa
