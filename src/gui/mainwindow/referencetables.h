// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/platform/filelocator.h"
#include "core/tables/workbookreader.h"

#include <QObject>
#include <QStringList>

#include <memory>
#include <vector>

class QDataWidgetMapper;

namespace kelsa
{

struct Form1Controls;

// The ten reference tables of the main window. Each opens its workbook when the window is
// created and shows its first record; its navigator moves it, and its row label and every
// cell follow at once. A table that cannot be read shows the reason in its row label and leaves
// its cells empty; the others work on.
class ReferenceTables : public QObject
{
    Q_OBJECT
public:
    // Binds the tables to the workbooks as read (see readReferenceWorkbooks), in the order of
    // the catalogue.
    ReferenceTables(const Form1Controls &ui, const QList<SheetReadResult> &workbooks);
    ~ReferenceTables() override;

    // One text listing every table that could not be read, or empty when all were.
    QString failureReport() const
    {
        return m_failures.isEmpty() ? QString() : m_failures.join(QLatin1Char('\n'));
    }
    // The current record of table t of the catalogue, from 0; -1 when it has none.
    int currentRecord(std::size_t table) const;

private:
    std::vector<QDataWidgetMapper *> m_mappers; // null for a table that could not be read
    QStringList m_failures;
};

// Starts reading the ten reference workbooks, each looked for by files.
std::unique_ptr<SheetReading> readReferenceWorkbooks(const FileLocator &files);

// Why a workbook could not be read, as one sentence for the message box (without the file's
// name), and as a few words with the file's name for the table's row label.
QString tableFailureReason(const SheetReadResult &result, int requiredColumns);
QString tableFailureShortReason(SheetReadResult::Status status, const QString &fileName);

} // namespace kelsa
