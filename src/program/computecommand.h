// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/check/supportcatalogue.h"
#include "core/document/savedcalculation.h"

#include <QByteArray>
#include <QString>

namespace kelsa
{

// The ten moments of a calculation as a JSON object, one member per result label in the order
// of the buttons: {"moment", "text", "kNm"} for a value, {"error", "message"} (and "fields",
// the refused inputs, and "text", when the label shows one) for a moment without one. Numbers
// are written in the calculation's decimal separator; "moment" is the shortest text that reads
// back to the same double. Then "check", the support type for the governing of the ten moments
// against the catalogue: {"catalogue", "governing" (its label), "moment", "kNm", "type",
// "picked", "normativeKNm", "utilisation" (|M| / Mн), "holds"}, or {"error" ("no-catalogue",
// "unknown-type", "no-moment", "none-holds"), "message"}.
QByteArray momentsJson(const SavedCalculation &saved, const SupportCatalogue &catalogue = {});

// kelsa --compute FILE.kelsa: prints momentsJson() of a saved calculation on the standard
// output, checked against the catalogue of the tables folder. Returns the exit code; a file
// that cannot be read is told on the error stream.
int runComputeCommand(const QString &calculationPath, const QString &tablesFolder);

} // namespace kelsa
