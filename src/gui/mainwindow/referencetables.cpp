// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/mainwindow/referencetables.h"

#include "core/tables/sheetmodel.h"
#include "core/tables/tablecatalogue.h"
#include "gui/mainwindow/form1controls.h"
#include "gui/widgets/fieldedit.h"
#include "gui/widgets/recordnavigator.h"

#include <QDataWidgetMapper>
#include <QDir>
#include <QFileInfo>
#include <QLabel>

#include <utility>

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
    case Status::ReaderMissing:
        return QStringLiteral("Не запускается программа чтения таблиц kelsa-sheet-reader; "
                              "вероятно, Kelsa установлена не полностью.");
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

std::unique_ptr<SheetReading> readReferenceWorkbooks(const TablesFolder &folder)
{
    const QDir dir(folder.path);
    QList<SheetRequest> requests;
    for (const ReferenceTable &table : referenceTables())
        requests.append({ workbookFile(dir.filePath(QString::fromUtf8(table.fileName))),
            referenceSheetName(), table.requiredColumns() });
    requests.append(supportCatalogueRequest(folder.path));
    return std::make_unique<SheetReading>(requests);
}

SupportCatalogue supportCatalogueOf(
    const TablesFolder &folder, const QList<SheetReadResult> &workbooks)
{
    return supportCatalogueFrom(supportCatalogueRequest(folder.path).filePath,
        workbooks.value(kReferenceTableCount), QLocale());
}

QString tablesFolderName(const TablesFolder &folder)
{
    return folder.samples ? QStringLiteral("образцы") : QDir::toNativeSeparators(folder.path);
}

QString missingRememberedFolderNote(const TablesFolder &folder)
{
    if (!folder.samples || folder.missingRemembered.isEmpty())
        return {};
    return QStringLiteral("Папка справочных таблиц, выбранная в прошлый раз, не найдена: %1\n"
                          "Показаны образцы справочных таблиц, установленные с программой. "
                          "Когда папка снова будет доступна, перезапустите программу или "
                          "выберите её: «Справочники → Папка справочных таблиц…».")
        .arg(QDir::toNativeSeparators(folder.missingRemembered));
}

ReferenceTables::ReferenceTables(const Form1Controls &ui)
    : m_ui(ui)
    , m_mappers(referenceTables().size(), nullptr)
{
    const auto tables = referenceTables();
    for (std::size_t t = 0; t < tables.size(); ++t) {
        // A move first keeps what was typed into the shown cells: the navigator takes no focus,
        // so the cell never loses it to commit the edit by itself.
        RecordNavigator *bar = ui.tables[t].navigator;
        const auto move = [this, t](void (QDataWidgetMapper::*step)()) {
            return [this, t, step] {
                if (QDataWidgetMapper *mapper = m_mappers[t]) {
                    mapper->submit();
                    (mapper->*step)();
                }
            };
        };
        connect(bar, &RecordNavigator::firstRequested, this, move(&QDataWidgetMapper::toFirst));
        connect(
            bar, &RecordNavigator::previousRequested, this, move(&QDataWidgetMapper::toPrevious));
        connect(bar, &RecordNavigator::nextRequested, this, move(&QDataWidgetMapper::toNext));
        connect(bar, &RecordNavigator::lastRequested, this, move(&QDataWidgetMapper::toLast));
    }
}

ReferenceTables::~ReferenceTables() = default;

void ReferenceTables::unbind(std::size_t t)
{
    if (QDataWidgetMapper *mapper = std::exchange(m_mappers[t], nullptr)) {
        QAbstractItemModel *model = mapper->model();
        delete mapper;
        delete model;
    }
    const Form1Controls::Table &controls = m_ui.tables[t];
    controls.rowLabel->clear();
    controls.rowLabel->setToolTip(QString());
    for (FieldEdit *cell : controls.cells)
        cell->clear();
}

void ReferenceTables::load(const TablesFolder &folder, const QList<SheetReadResult> &results)
{
    const auto tables = referenceTables();
    const QDir dir(folder.path);
    QStringList failures;
    QStringList cellErrors;
    m_fileNames.clear();
    for (std::size_t t = 0; t < tables.size(); ++t) {
        unbind(t);
        const ReferenceTable &table = tables[t];
        const Form1Controls::Table &controls = m_ui.tables[t];
        const SheetReadResult &result = results[qsizetype(t)];
        const QString fileName
            = QFileInfo(workbookFile(dir.filePath(QString::fromUtf8(table.fileName)))).fileName();
        m_fileNames << fileName;
        const QString caption = QString::fromUtf8(table.caption);
        if (result.status != SheetReadResult::Status::Ok) {
            const QString reason = tableFailureReason(result, table.requiredColumns());
            controls.rowLabel->setText(tableFailureShortReason(result.status, fileName));
            controls.rowLabel->setToolTip(reason);
            failures << QStringLiteral("%1 (таблица «%2», %3): %4")
                            .arg(fileName, caption, QString::fromLatin1(table.navigator), reason);
            continue;
        }
        for (const SheetReadResult::CellError &error : result.cellErrors)
            cellErrors << QStringLiteral("%1 (таблица «%2»), запись %3, столбец F%4: %5")
                              .arg(fileName, caption)
                              .arg(error.record + 1)
                              .arg(error.column + 1)
                              .arg(error.text);

        auto *model = new SheetModel(result.records, result.columnCount, this);
        auto *mapper = new QDataWidgetMapper(this);
        mapper->setModel(model);
        mapper->setSubmitPolicy(QDataWidgetMapper::AutoSubmit);
        mapper->addMapping(controls.rowLabel, 0, "text");
        for (int k = 0; k < table.cellCount; ++k)
            mapper->addMapping(controls.cells[std::size_t(k)], table.cellColumn(k) - 1);
        mapper->toFirst();
        connect(
            mapper, &QDataWidgetMapper::currentIndexChanged, this, &ReferenceTables::recordChanged);
        m_mappers[t] = mapper;
    }

    m_problems.clear();
    if (!failures.isEmpty()) {
        m_problems << QStringLiteral("Не удалось прочитать справочные таблицы (папка: %1); их "
                                     "ячейки пусты, остальные таблицы работают:")
                          .arg(tablesFolderName(folder));
        m_problems += failures;
    }
    if (!cellErrors.isEmpty()) {
        m_problems << QStringLiteral("В справочных таблицах есть формулы без числового значения; "
                                     "их ячейки показывают ошибку вместо числа:");
        m_problems += cellErrors;
    }
}

int ReferenceTables::currentRecord(std::size_t table) const
{
    const QDataWidgetMapper *mapper = m_mappers.at(table);
    return mapper ? mapper->currentIndex() : -1;
}

int ReferenceTables::recordCount(std::size_t table) const
{
    const QDataWidgetMapper *mapper = m_mappers.at(table);
    return mapper ? mapper->model()->rowCount() : -1;
}

void ReferenceTables::showRecord(std::size_t table, int record)
{
    if (QDataWidgetMapper *mapper = m_mappers.at(table))
        mapper->setCurrentIndex(record);
}

void ReferenceTables::commitEdits(std::size_t table)
{
    if (QDataWidgetMapper *mapper = m_mappers.at(table))
        mapper->submit();
}

void ReferenceTables::commitEdits()
{
    for (std::size_t t = 0; t < m_mappers.size(); ++t)
        commitEdits(t);
}

} // namespace kelsa
