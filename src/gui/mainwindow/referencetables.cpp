// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/mainwindow/referencetables.h"

#include "gui/widgets/fieldedit.h"
#include "gui/mainwindow/form1.h"
#include "gui/widgets/recordnavigator.h"
#include "core/tables/sheetmodel.h"
#include "core/tables/workbookreader.h"

#include <QDataWidgetMapper>
#include <QGroupBox>
#include <QLabel>

namespace kelsa
{

namespace
{

// Cells stem<first>, stem<first + step>, ... up to stem<last>, bound to consecutive fields.
std::vector<std::pair<QString, int>> numberedCells(
    const char *stem, int first, int last, int firstField, int step = 1)
{
    std::vector<std::pair<QString, int>> cells;
    for (int k = first, field = firstField; k <= last; k += step, ++field)
        cells.emplace_back(QString::fromLatin1(stem) + QString::number(k), field);
    return cells;
}

} // namespace

const std::vector<TableBinding> &tableBindings()
{
    // Weights with ice by wall thickness (F2..F5), wind loads in ice ice-major (F2..F13) or, for
    // the contact wire, wind-major from F7 (F2..F6 unused), loads in maximum wind by speed
    // (F2..F6), and weights without ice (F2).
    static const std::vector<TableBinding> bindings = [] {
        std::vector<TableBinding> list;
        list.push_back(
            { "Data1", "т11.5.xls", "Frame4", "Label2", numberedCells("Pnv", 1, 12, 2), 13 });
        list.push_back(
            { "Data2", "т11.2.xls", "Frame3", "Label3", numberedCells("Gp", 5, 20, 2, 5), 5 });
        list.push_back(
            { "Data3", "т12.2.xls", "Frame11", "Label4", numberedCells("Gpr", 5, 20, 2, 5), 5 });
        list.push_back(
            { "Data4", "т13.xls", "Frame12", "Label6", numberedCells("Pkv", 6, 25, 7), 26 });
        list.push_back(
            { "Data5", "т12.5.xls", "Frame13", "Label11", numberedCells("Pprv", 1, 12, 2), 13 });
        list.push_back(
            { "Data6", "т11.1.xls", "Frame29", "Label19", { { QStringLiteral("Text6"), 2 } }, 2 });
        list.push_back(
            { "Data7", "т12.1.xls", "Frame30", "Label20", { { QStringLiteral("Text8"), 2 } }, 2 });
        list.push_back(
            { "Data8", "т11.3.xls", "Frame31", "Label21", numberedCells("txtPro", 1, 5, 2), 6 });
        list.push_back(
            { "Data9", "т13мах.xls", "Frame33", "Label22", numberedCells("txtPr", 1, 5, 2), 6 });
        list.push_back(
            { "Data10", "т12.3.xls", "Frame34", "Label24", numberedCells("txtPo", 1, 5, 2), 6 });
        return list;
    }();
    return bindings;
}

ReferenceTables::ReferenceTables(Form1 &form, const FileLocator &files)
{
    const auto &bindings = tableBindings();
    QList<SheetRequest> requests;
    for (const TableBinding &binding : bindings)
        requests.append({ files.locate(QString::fromUtf8(binding.fileName)),
            QStringLiteral("Лист1"), binding.requiredColumns });
    const QList<SheetReadResult> results = readSheets(requests);

    for (std::size_t t = 0; t < bindings.size(); ++t) {
        const TableBinding &binding = bindings[t];
        const SheetReadResult &result = results[qsizetype(t)];
        const QString navigator = QString::fromLatin1(binding.navigator);
        QLabel *rowLabel = form.label(QString::fromLatin1(binding.rowLabel));
        Table table { navigator };

        if (result.status != SheetReadResult::Status::Ok) {
            rowLabel->setText(result.shortReason);
            rowLabel->setToolTip(result.reason);
            const auto *frame
                = qobject_cast<QGroupBox *>(form.control(QString::fromLatin1(binding.frame)));
            m_failures << QStringLiteral("%1 (таблица «%2», %3): %4")
                              .arg(QString::fromUtf8(binding.fileName), frame->title().trimmed(),
                                  navigator, result.reason);
            m_tables.push_back(table);
            continue;
        }

        table.model = new SheetModel(result.records, result.columnCount, this);
        table.mapper = new QDataWidgetMapper(this);
        table.mapper->setModel(table.model);
        table.mapper->setSubmitPolicy(QDataWidgetMapper::AutoSubmit);
        table.mapper->addMapping(rowLabel, 0, "text");
        for (const auto &[cell, field] : binding.cells)
            table.mapper->addMapping(form.field(cell), field - 1);
        table.mapper->toFirst();

        auto *bar = qobject_cast<RecordNavigator *>(form.control(navigator));
        connect(bar, &RecordNavigator::firstRequested, table.mapper, &QDataWidgetMapper::toFirst);
        connect(
            bar, &RecordNavigator::previousRequested, table.mapper, &QDataWidgetMapper::toPrevious);
        connect(bar, &RecordNavigator::nextRequested, table.mapper, &QDataWidgetMapper::toNext);
        connect(bar, &RecordNavigator::lastRequested, table.mapper, &QDataWidgetMapper::toLast);
        m_tables.push_back(table);
    }
    if (!m_failures.isEmpty())
        m_failures.prepend(
            QStringLiteral("Не удалось прочитать справочные таблицы; их ячейки пусты, "
                           "остальные таблицы работают:"));
}

ReferenceTables::~ReferenceTables() = default;

int ReferenceTables::currentRecord(const QString &navigator) const
{
    for (const Table &table : m_tables)
        if (table.navigator == navigator)
            return table.mapper ? table.mapper->currentIndex() : -1;
    return -1;
}

} // namespace kelsa
