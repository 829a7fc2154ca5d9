// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/check/supportcatalogue.h"
#include "core/tables/tablefolder.h"
#include "core/tables/workbookreader.h"

#include <QObject>
#include <QStringList>

#include <memory>
#include <vector>

class QDataWidgetMapper;

namespace kelsa
{

struct Form1Controls;

// The ten reference tables of the main window. All ten are read from one folder and show their
// first records; a navigator moves its table, and its row label and every cell follow at once.
// A table that cannot be read shows the reason in its row label and leaves its cells empty; the
// others work on. A value typed into a cell stays with its record for as long as the window
// lives (nothing is written back to the workbook).
class ReferenceTables : public QObject
{
    Q_OBJECT
public:
    explicit ReferenceTables(const Form1Controls &ui);
    ~ReferenceTables() override;

    // Binds the tables to the workbooks as read from the folder (see readReferenceWorkbooks),
    // in the order of the catalogue, in place of whatever they showed before.
    void load(const TablesFolder &folder, const QList<SheetReadResult> &workbooks);

    // One text listing every table that could not be read and every formula cell that holds no
    // number, or empty when there is nothing to tell.
    QString problemReport() const { return m_problems.join(QLatin1Char('\n')); }
    // The current record of table t of the catalogue, from 0; -1 when it has none.
    int currentRecord(std::size_t table) const;
    // The name of the workbook file table t was read from ("т11.2.xlsx"); empty before load().
    QString fileRead(std::size_t table) const { return m_fileNames.value(qsizetype(table)); }
    // How many records table t holds; -1 when it could not be read.
    int recordCount(std::size_t table) const;
    // Shows record `record` (from 0) of table t, when it has one.
    void showRecord(std::size_t table, int record);

signals:
    // A navigator, a reload or showRecord moved a table to another record.
    void recordChanged();

public:
    // Keeps what was typed into the cells of a table (or of all) with their records.
    void commitEdits(std::size_t table);
    void commitEdits();

private:
    void unbind(std::size_t table);

    const Form1Controls &m_ui;
    std::vector<QDataWidgetMapper *> m_mappers; // null for a table that could not be read
    QStringList m_problems;
    QStringList m_fileNames; // per table, as load() read it
};

// Starts reading the ten reference workbooks from one folder (each as .xls, or as .xlsx or
// .ods where the .xls is missing), and after them the catalogue of support types.
std::unique_ptr<SheetReading> readReferenceWorkbooks(const TablesFolder &folder);
// The catalogue of support types from what readReferenceWorkbooks() read.
SupportCatalogue supportCatalogueOf(
    const TablesFolder &folder, const QList<SheetReadResult> &workbooks);

// How the window names a tables folder: its path, or «образцы» for the installed samples.
QString tablesFolderName(const TablesFolder &folder);

// What start-up says when the samples stand in for the folder chosen last time, which is no
// folder now: that folder, that it was not found and that the samples are shown. Empty when
// the folder shown is not such a stand-in.
QString missingRememberedFolderNote(const TablesFolder &folder);

// Why a workbook could not be read, as one sentence for the message box (without the file's
// name), and as a few words with the file's name for the table's row label.
QString tableFailureReason(const SheetReadResult &result, int requiredColumns);
QString tableFailureShortReason(SheetReadResult::Status status, const QString &fileName);

} // namespace kelsa
