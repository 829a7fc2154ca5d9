// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/mainwindow/referencetables.h"

#include "core/tables/sheetmodel.h"
#include "core/tables/tablecatalogue.h"
#include "gui/mainwindow/form1controls.h"
#include "gui/widgets/fieldedit.h"
#include "gui/widgets/recordnavigator.h"

#include <QDataWidgetMapper>
#include <QLabel>

namespace kelsa
{

QString tableFailureReason(const SheetReadResult &result, int requiredColumns)
{
    using Status = SheetReadResult::Status;
    const QString sheet = referenceSheetName();
    switch (result.status) {
    case Status::Ok:
        return {};
    case Status::FileMissing:
        return QStringLiteral("Файл не найден.");
    case Status::NotAFile:
        return QStringLiteral("На месте файла находится папка.");
    case Status::NoPermission:
        return QStringLiteral("Нет прав на чтение файла.");
    case Status::FileTooLarge:
        return QStringLiteral("Файл слишком велик для справочной таблицы.");
    case Status::NotAWorkbook:
    case Status::Damaged:
        return QStringLiteral("Файл повреждён или не является книгой (.xls, .xlsx, .ods).");
    case Status::Password:
        return QStringLiteral("Книга защищена паролем.");
    case Status::SheetMissing:
        return QStringLiteral("В книге нет листа «%1».").arg(sheet);
    case Status::TooFewColumns:
        return result.columnCount == 0
            ? QStringLiteral("Лист «%1» пуст.").arg(sheet)
            : QStringLiteral("На листе «%1» столбцов %2, а нужно не меньше %3.")
                  .arg(sheet)
                  .arg(result.columnCount)
                  .arg(requiredColumns);
    case Status::SheetTooLarge:
        return QStringLiteral("Лист слишком велик для справочной таблицы.");
    case Status::TimedOut:
        return QStringLiteral("Файл читается слишком долго; вероятно, он повреждён.");
    }
    return {};
}

QString tableFailureShortReason(SheetReadResult::Status status, const QString &fileName)
{
    using Status = SheetReadResult::Status;
    switch (status) {
    case Status::Ok:
        return {};
    case Status::FileMissing:
        return QStringLiteral("нет файла %1").arg(fileName);
    case Status::SheetMissing:
        return QStringLiteral("нет листа %1 в %2").arg(referenceSheetName(), fileName);
    case Status::TooFewColumns:
        return QStringLiteral("мало столбцов в %1").arg(fileName);
    default:
        return QStringLiteral("не читается %1").arg(fileName);
    }
}

std::unique_ptr<SheetReading> readReferenceWorkbooks(const FileLocator &files)
{
    QList<SheetRequest> requests;
    for (const ReferenceTable &table : referenceTables())
        requests.append({ workbookFile(files.locate(QString::fromUtf8(table.fileName))),
            referenceSheetName(), table.requiredColumns() });
    return std::make_unique<SheetReading>(requests);
}

ReferenceTables::ReferenceTables(const Form1Controls &ui, const QList<SheetReadResult> &results)
{
    const auto tables = referenceTables();

    for (std::size_t t = 0; t < tables.size(); ++t) {
        const ReferenceTable &table = tables[t];
        const Form1Controls::Table &controls = ui.tables[t];
        const SheetReadResult &result = results[qsizetype(t)];
        if (result.status != SheetReadResult::Status::Ok) {
            const QString fileName = QString::fromUtf8(table.fileName);
            const QString reason = tableFailureReason(result, table.requiredColumns());
            controls.rowLabel->setText(tableFailureShortReason(result.status, fileName));
            controls.rowLabel->setToolTip(reason);
            m_failures << QStringLiteral("%1 (таблица «%2», %3): %4")
                              .arg(fileName, QString::fromUtf8(table.caption),
                                  QString::fromLatin1(table.navigator), reason);
            m_mappers.push_back(nullptr);
            continue;
        }

        auto *model = new SheetModel(result.records, result.columnCount, this);
        auto *mapper = new QDataWidgetMapper(this);
        mapper->setModel(model);
        mapper->setSubmitPolicy(QDataWidgetMapper::AutoSubmit);
        mapper->addMapping(controls.rowLabel, 0, "text");
        for (int k = 0; k < table.cellCount; ++k)
            mapper->addMapping(controls.cells[std::size_t(k)], table.cellColumn(k) - 1);
        mapper->toFirst();

        RecordNavigator *bar = controls.navigator;
        connect(bar, &RecordNavigator::firstRequested, mapper, &QDataWidgetMapper::toFirst);
        connect(bar, &RecordNavigator::previousRequested, mapper, &QDataWidgetMapper::toPrevious);
        connect(bar, &RecordNavigator::nextRequested, mapper, &QDataWidgetMapper::toNext);
        connect(bar, &RecordNavigator::lastRequested, mapper, &QDataWidgetMapper::toLast);
        m_mappers.push_back(mapper);
    }
    if (!m_failures.isEmpty())
        m_failures.prepend(
            QStringLiteral("Не удалось прочитать справочные таблицы; их ячейки пусты, "
                           "остальные таблицы работают:"));
}

ReferenceTables::~ReferenceTables() = default;

int ReferenceTables::currentRecord(std::size_t table) const
{
    const QDataWidgetMapper *mapper = m_mappers.at(table);
    return mapper ? mapper->currentIndex() : -1;
}

} // namespace kelsa
