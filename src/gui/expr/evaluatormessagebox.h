// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace kelsa
{

// The calculator's own error message: "Error: 13. Type mismatch" under the title of the
// routine that met it, one OK button, no icon. Waits until the user closes it. Without a
// widget application (a console program) the message goes to the standard error output.
void showEvaluatorError(const QString &routine, int number, const QString &description);

} // namespace kelsa
