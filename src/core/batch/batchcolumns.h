// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The columns of a schedule (batchrun.h) as --help and the manual page list them: each by its
// name, which is the file format (a control name of the main window, or a name of the schedule's
// own), and by what the main window shows beside it, with the unit.

#include <QString>

#include <vector>

namespace kelsa
{

struct BatchColumnInfo {
    QString name; // "Prolet", "section", "Label1", "errors"
    QString caption; // "Длина прол., м"
    bool result = false; // written by a run (and computed anew when read back)
};

// Every column a schedule may have and every one a run adds, in the order of the result table:
// "support", "section", the input fields, the ten result labels, the check of the support
// type ("governing", "supportType", "utilisation"), "errors", "notes".
std::vector<BatchColumnInfo> batchColumns();

} // namespace kelsa
