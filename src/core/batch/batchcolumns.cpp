// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/batch/batchcolumns.h"

#include "core/calc/fields.h"
#include "core/calc/momentcases.h"

#include <QHash>

namespace kelsa
{

namespace
{

// A field as the window shows it: its caption, the frame of the additional-load grids it stands
// in, and its unit.
QString fieldCaption(const FieldInfo &info)
{
    QString caption = QString::fromUtf8(info.caption);
    if (info.field >= InputField::D1)
        caption = QStringLiteral("Дополнительные нагрузки, ") + caption;
    // Five captions carry their unit as the window writes it ("Тн кгс", "R m"): no second one.
    const QString unit = QString::fromUtf8(info.unit);
    const bool captioned = caption.endsWith(QLatin1Char(' ') + unit)
        || (unit == QStringLiteral("м") && caption.endsWith(QLatin1String(" m")));
    if (!unit.isEmpty() && !captioned)
        caption += QStringLiteral(", ") + unit;
    return caption;
}

// A result label by the button beside it and, for the transition support, the frames the
// button stands in.
QString momentCaption(const MomentInfo &info)
{
    const bool ice = info.condition == DesignCondition::IceWithWind;
    if (!info.transition)
        return (ice ? QStringLiteral("Мо вг") : QStringLiteral("Мо в max"))
            + QStringLiteral(", кгс·м");
    // The buttons' own captions, "отопоры" as the window writes it.
    return QStringLiteral("Переходная опора, %1: %2%3, кгс·м")
        .arg(ice ? QStringLiteral("Гололед с ветром") : QStringLiteral("Максимальный ветер"),
            info.direction == WindDirection::SupportToTrack
                ? QStringLiteral("Ветер отопоры на путь")
                : QStringLiteral("Ветер от пути на опору"),
            info.level == SupportLevel::Heel ? QStringLiteral("-ПЯТА") : QString());
}

} // namespace

std::vector<BatchColumnInfo> batchColumns()
{
    std::vector<BatchColumnInfo> columns {
        { QStringLiteral("support"),
            QStringLiteral("номер или название опоры; необязательный, только первым столбцом") },
        { QStringLiteral("section"),
            QStringLiteral("Участок пути: Прямая, Вне.кривая или Вну.кривая "
                           "(или Option18, Option19, Option20)") },
    };
    for (const FieldInfo &info : inputFields())
        columns.push_back({ QString::fromLatin1(info.name), fieldCaption(info) });
    for (const MomentInfo &info : moments())
        columns.push_back({ QString::fromLatin1(info.label), momentCaption(info), true });
    columns.push_back({ QStringLiteral("governing"),
        QStringLiteral("расчетный момент: метка наибольшего по модулю из вычисленных моментов"),
        true });
    columns.push_back({ QStringLiteral("supportType"),
        QStringLiteral("тип опоры из каталога опор: подобранный, или заданный во входном столбце "
                       "supportType"),
        true });
    columns.push_back({ QStringLiteral("utilisation"),
        QStringLiteral("использование типа опоры расчетным моментом, %"), true });
    columns.push_back({ QStringLiteral("errors"),
        QStringLiteral("почему у момента нет значения: «Label10: lp-missing»"), true });
    columns.push_back({ QStringLiteral("notes"),
        QStringLiteral("поля, которые момент прочитал как 0, потому что они пусты: "
                       "«Label1: txtVm, Text5»"),
        true });
    return columns;
}

QString columnCaption(const QString &name)
{
    static const QHash<QString, QString> captions = [] {
        QHash<QString, QString> byName {
            { QStringLiteral("support"), QStringLiteral("Опора") },
            { QStringLiteral("section"), QStringLiteral("Участок пути") },
            { QStringLiteral("governing"), QStringLiteral("Расчетный момент") },
            { QStringLiteral("supportType"), QStringLiteral("Тип опоры") },
            { QStringLiteral("utilisation"), QStringLiteral("Использование, %") },
            { QStringLiteral("errors"), QStringLiteral("Ошибки") },
            { QStringLiteral("notes"), QStringLiteral("Примечания") },
        };
        for (const BatchColumnInfo &column : batchColumns())
            if (!byName.contains(column.name))
                byName.insert(column.name, column.caption);
        return byName;
    }();
    return captions.value(name);
}

QString workbookHeading(const QString &name)
{
    const QString caption = columnCaption(name);
    return caption.isEmpty() ? name : caption + QStringLiteral(" [") + name + QLatin1Char(']');
}

QString columnNameInHeading(const QString &cell)
{
    const QString heading = cell.trimmed();
    if (!heading.endsWith(QLatin1Char(']')))
        return heading;
    const qsizetype open = heading.lastIndexOf(QLatin1Char('['));
    if (open < 0)
        return heading;
    return heading.mid(open + 1, heading.size() - open - 2).trimmed();
}

} // namespace kelsa
