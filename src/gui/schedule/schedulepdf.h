// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDate>
#include <QString>

namespace kelsa
{

class ScheduleModel;

// What goes on the printed schedule besides its rows.
struct SchedulePdfInput {
    QString schedulePath; // the schedule's own file, never written over; empty for none
    QDate date; // shown when the title block gives no date
};

// Writes the computed schedule as a PDF: A4 landscape; the title block on the first page; the
// table (row, support, section, the field columns, the governing moment and its value in
// kgf·m, the support type, the utilisation on its colour, the errors) with its header on every
// page; «стр. N из M» at the foot of each; then the summary (supports per type, the largest
// governing moment and its support) and the chart. Through OutputFile, as the report: the file
// appears only once written whole. Returns what went wrong, without the file's name, or the
// empty text. Needs a QGuiApplication.
QString writeSchedulePdf(
    const ScheduleModel &model, const SchedulePdfInput &input, const QString &path);

} // namespace kelsa
