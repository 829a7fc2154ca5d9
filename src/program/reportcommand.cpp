// SPDX-License-Identifier: GPL-3.0-or-later
#include "program/reportcommand.h"

#include "core/check/supportcatalogue.h"
#include "core/document/calculationfile.h"
#include "gui/mainwindow/referencetables.h"
#include "gui/report/reportdocument.h"
#include "program/messageprinting.h"

#include <QDate>

#include <cstdio>
#include <variant>

namespace kelsa
{

namespace
{

int fail(const QString &file, const QString &problem)
{
    printMessage(stderr, QStringLiteral("kelsa: %1: %2").arg(file, problem));
    return 1;
}

} // namespace

int runReportCommand(
    const QString &calculationPath, const QString &pdfPath, const TablesFolder &tables)
{
    // Numbers are written with the file's own decimal separator, as --compute writes them: the
    // same file gives the same report on any computer.
    const CalculationFileReading reading = readCalculationFileAsWritten(calculationPath);
    if (const auto *problem = std::get_if<CalculationFileProblem>(&reading))
        return fail(calculationPath, problem->text);
    // A saved calculation does not keep the tables' folder: the report names the one its
    // catalogue of support types was read from, if any.
    ReportInput input { std::get<SavedCalculation>(reading), QString(), QDate::currentDate(),
        calculationPath };
    if (!tables.path.isEmpty()) {
        input.tablesFolder = tablesFolderName(tables);
        input.catalogue = readSupportCatalogue(tables.path);
    }
    const QString problem = writeReportPdf(input, pdfPath);
    if (!problem.isEmpty())
        return fail(pdfPath, problem);
    return 0;
}

} // namespace kelsa
