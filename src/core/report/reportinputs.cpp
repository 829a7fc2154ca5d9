// SPDX-License-Identifier: GPL-3.0-or-later
// «Исходные данные»: every input of the calculation with its unit, and for each load per metre
// where its text came from.
#include "core/report/reportsections.h"

#include "core/numbers/numbertext.h"
#include "core/tables/tablecatalogue.h"

#include <algorithm>
#include <array>
#include <span>

namespace kelsa
{

namespace
{

using Kind = ReportBlock::Kind;

const ReferenceTable *tableNamed(const QString &navigator)
{
    for (const ReferenceTable &table : referenceTables())
        if (navigator == QLatin1String(table.navigator))
            return &table;
    return nullptr;
}

// "A" for the first column of a sheet, "Z" for the 26th, "AA" after it.
QString columnLetters(int column)
{
    QString letters;
    for (; column > 0; column = (column - 1) / 26)
        letters.prepend(QChar(u'A' + (column - 1) % 26));
    return letters;
}

// What the design condition chose for cell k of a table: «толщина гололеда 10 мм, скорость
// ветра 15 м/с». The shown cell is Σ stride × option index, so the indexes are read back from
// the largest stride down.
QString cellCondition(const ReferenceTable &table, int cell, const QLocale &locale)
{
    struct Group {
        int stride;
        std::span<const double> values;
        const char *what;
    };
    static constexpr double kIce[] { 5, 10, 15, 20 };
    static constexpr double kRnv[] { 10, 15, 20 };
    static constexpr double kPkv[] { 10, 12.5, 15, 17.5, 20 };
    static constexpr double kMax[] { 20, 25, 30, 35, 40 };
    const CellStrides &s = table.strides;
    // In the order of the window's options: the ice wall first.
    const Group groups[] = { { s.ice, kIce, "толщина гололеда %1 мм" },
        { s.rnvWind, kRnv, "скорость ветра %1 м/с" }, { s.pkvWind, kPkv, "скорость ветра %1 м/с" },
        { s.maxWind, kMax, "скорость ветра %1 м/с" } };
    std::array<std::size_t, std::size(groups)> byStride { 0, 1, 2, 3 };
    std::sort(byStride.begin(), byStride.end(),
        [&](std::size_t a, std::size_t b) { return groups[a].stride > groups[b].stride; });
    std::array<int, std::size(groups)> index { -1, -1, -1, -1 };
    int rest = cell;
    for (const std::size_t g : byStride) {
        if (groups[g].stride == 0)
            continue;
        index[g] = rest / groups[g].stride;
        rest %= groups[g].stride;
    }
    QStringList told;
    for (std::size_t g = 0; g < std::size(groups); ++g)
        if (index[g] >= 0 && std::size_t(index[g]) < groups[g].values.size())
            told << QString::fromUtf8(groups[g].what)
                        .arg(writeNumber(groups[g].values[std::size_t(index[g])], locale));
    return told.join(QStringLiteral(", "));
}

// «т11.2.xlsx, таблица «Gп», запись 3 «М-95+МФ-100»: строка 4, столбец C (толщина гололеда
// 10 мм)»: the file read, the table, the record, and the row and column of the sheet as a
// spreadsheet shows them. The sheet's first row is its heading, so record r is row r + 1.
QString sourceText(const LookupSource &source, const QLocale &locale)
{
    const ReferenceTable *table = tableNamed(source.table);
    if (!table)
        return QStringLiteral("таблица %1, запись %2 «%3»")
            .arg(source.table, QString::number(source.record), source.row);
    const QString file = source.file.isEmpty()
        ? QStringLiteral("%1 (какой из файлов .xls, .xlsx, .ods, в расчете не записано)")
              .arg(QString::fromUtf8(table->fileName).chopped(4))
        : source.file;
    QString text = QStringLiteral("%1, таблица «%2», запись %3 «%4»")
                       .arg(file, QString::fromUtf8(table->caption), QString::number(source.record),
                           source.row);
    for (int k = 0; k < table->cellCount; ++k) {
        if (table->cellName(k) != source.cell)
            continue;
        text += QStringLiteral(": строка %1, столбец %2")
                    .arg(QString::number(source.record + 1), columnLetters(table->cellColumn(k)));
        const QString condition = cellCondition(*table, k, locale);
        if (!condition.isEmpty())
            text += QStringLiteral(" (%1)").arg(condition);
        return text;
    }
    return text;
}

QString valueWithUnit(const Calculation &calculation, InputField field)
{
    const QString &text = calculation.text(field);
    const QString unit = QString::fromUtf8(fieldInfo(field).unit);
    if (text.isEmpty())
        return QStringLiteral("пусто");
    return unit.isEmpty() ? text : text + QLatin1Char(' ') + unit;
}

// How the report names a field: its caption, and for the wind speed field what it is for.
QString fieldName(InputField field)
{
    QString caption = QString::fromUtf8(fieldInfo(field).caption);
    if (field == InputField::MaxWindSpeed)
        return QStringLiteral("Скорость ветра на опору (%1)").arg(caption);
    return caption;
}

// Caption and value with its unit; with `sources`, where each load's text came from.
ReportBlock fieldTable(const Calculation &calculation, std::span<const InputField> fields,
    bool sources, const QLocale &locale)
{
    std::vector<QStringList> rows;
    if (sources)
        rows.push_back(
            { QStringLiteral("Поле"), QStringLiteral("Значение"), QStringLiteral("Откуда взято") });
    for (const InputField field : fields) {
        QStringList row { fieldName(field), valueWithUnit(calculation, field) };
        if (sources) {
            const auto &source = calculation.source(field);
            row << (source ? sourceText(*source, locale) : QStringLiteral("введено вручную"));
        }
        rows.push_back(row);
    }
    return sources ? tableBlock(std::move(rows), true, { 18, 17, 65 })
                   : tableBlock(std::move(rows), false, { 45, 55 });
}

// A grid of additional loads, one row per load: "+ - G/P" × "L/l" × "n", from `first` on in
// steps of three fields, as the window lays it out.
ReportBlock gridTable(const Calculation &calculation, InputField first, const QString &load)
{
    ReportBlock grid
        = tableBlock({ { QString(), load, QStringLiteral("L/l"), QStringLiteral("n") } }, true,
            { 25, 25, 25, 25 });
    grid.kind = Kind::Grid;
    for (int row = 0; row < 3; ++row) {
        QStringList cells { QStringLiteral("Строка %1").arg(row + 1) };
        for (int column = 0; column < 3; ++column)
            cells << valueWithUnit(calculation, InputField(int(first) + row + 3 * column));
        grid.rows.push_back(cells);
    }
    return grid;
}

} // namespace

ReportBlocks inputSection(const ReportContext &context)
{
    using F = InputField;
    static constexpr F kGeneral[] = { F::SpanLength, F::MaxWindSpeed, F::MessengerTension,
        F::ContactTension, F::FeederTension, F::CurveRadius, F::Stagger, F::AnchorDistance };
    const Calculation &calculation = context.input.saved.calculation;
    return {
        textBlock(Kind::Section, QStringLiteral("Исходные данные")),
        fieldTable(calculation, kGeneral, false, context.locale),
        textBlock(Kind::Subsection, QStringLiteral("Нагрузки на 1 м, гололед с ветром")),
        fieldTable(calculation, loadFields(DesignCondition::IceWithWind), true, context.locale),
        textBlock(Kind::Subsection, QStringLiteral("Нагрузки на 1 м, максимальный ветер")),
        fieldTable(calculation, loadFields(DesignCondition::MaximumWind), true, context.locale),
        textBlock(Kind::Subsection, QStringLiteral("Дополнительные нагрузки, прямая")),
        gridTable(calculation, F::D1, QStringLiteral("+ - G/P")),
        textBlock(Kind::Subsection, QStringLiteral("Дополнительные нагрузки, кривая")),
        gridTable(calculation, F::F1, QStringLiteral("+ - T")),
    };
}

} // namespace kelsa
