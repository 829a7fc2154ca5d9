// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "gui/widgets/services.h"

#include <QObject>
#include <QStringList>

#include <vector>

class Form1;
class QDataWidgetMapper;

namespace kelsa
{

class SheetModel;

// One reference table: the workbook it shows, the label that names its record and the cells
// bound to its fields.
struct TableBinding {
    const char *navigator; // "Data1" .. "Data10"
    const char *fileName; // UTF-8, looked for by FileLocator
    const char *frame; // the frame whose caption names the load
    const char *rowLabel; // bound to "F1"
    std::vector<std::pair<QString, int>> cells; // cell control, field number (2 = "F2")
    int requiredColumns;
};

const std::vector<TableBinding> &tableBindings();

// The ten reference tables of the main window. Each opens its workbook when the window is
// created and shows its first record; its navigator moves it, and its row label and every
// cell follow at once. A table that cannot be read shows the reason in its row label and leaves
// its cells empty; the others work on.
class ReferenceTables : public QObject
{
    Q_OBJECT
public:
    ReferenceTables(Form1 &form, const FileLocator &files);
    ~ReferenceTables() override;

    // One text listing every table that could not be read, or empty when all were.
    QString failureReport() const
    {
        return m_failures.isEmpty() ? QString() : m_failures.join(QLatin1Char('\n'));
    }
    // The current record of a table (0-based; -1 when it has none).
    int currentRecord(const QString &navigator) const;

private:
    struct Table {
        QString navigator;
        SheetModel *model = nullptr;
        QDataWidgetMapper *mapper = nullptr;
    };

    std::vector<Table> m_tables;
    QStringList m_failures;
};

} // namespace kelsa
