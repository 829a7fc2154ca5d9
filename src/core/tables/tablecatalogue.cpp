// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/tables/tablecatalogue.h"

#include <array>

namespace kelsa
{

namespace
{

using F = InputField;

// Weights with ice by wall thickness (5, 10, 15, 20 mm); wind loads in ice ice-major, three
// wind speeds per wall, or, for the contact wire, wind-major, four walls per wind speed from the
// seventh column (the columns before it are not used); loads in maximum wind by speed (20 to
// 40 m/s); weights without ice, one value per record.
constexpr std::array<ReferenceTable, kReferenceTableCount> kTables { {
    { "Data1", "т11.5.xls", "Рнв", "Frame4", "Label2", "Pnv", 1, 1, 12, 2,
        { .ice = 3, .rnvWind = 1 }, F::IcePnv },
    { "Data2", "т11.2.xls", "Gп", "Frame3", "Label3", "Gp", 5, 5, 4, 2, { .ice = 1 }, F::IceGp },
    { "Data3", "т12.2.xls", "Gпр", "Frame11", "Label4", "Gpr", 5, 5, 4, 2, { .ice = 1 },
        F::IceGpr },
    { "Data4", "т13.xls", "Pкв", "Frame12", "Label6", "Pkv", 6, 1, 20, 7,
        { .ice = 1, .pkvWind = 4 }, F::IcePkv },
    { "Data5", "т12.5.xls", "Pпрв", "Frame13", "Label11", "Pprv", 1, 1, 12, 2,
        { .ice = 3, .rnvWind = 1 }, F::IcePprv },
    { "Data6", "т11.1.xls", "Gп в", "Frame29", "Label19", "Text", 6, 1, 1, 2, {}, F::WindGp },
    { "Data7", "т12.1.xls", "Gпр в", "Frame30", "Label20", "Text", 8, 1, 1, 2, {}, F::WindGpr },
    { "Data8", "т11.3.xls", "Рнв в", "Frame31", "Label21", "txtPro", 1, 1, 5, 2, { .maxWind = 1 },
        std::nullopt },
    { "Data9", "т13мах.xls", "Pкв в", "Frame33", "Label22", "txtPr", 1, 1, 5, 2, { .maxWind = 1 },
        std::nullopt },
    { "Data10", "т12.3.xls", "Pпрв в", "Frame34", "Label24", "txtPo", 1, 1, 5, 2, { .maxWind = 1 },
        std::nullopt },
} };

} // namespace

QString ReferenceTable::cellName(int k) const
{
    return QString::fromLatin1(cellStem) + QString::number(firstCell + k * cellStep);
}

int ReferenceTable::shownCell(const OptionSelection &options) const
{
    const auto selected = [&options](OptionGroup group) { return options[std::size_t(group)]; };
    return strides.ice * selected(OptionGroup::IceThickness)
        + strides.rnvWind * selected(OptionGroup::IceWindForRnv)
        + strides.pkvWind * selected(OptionGroup::IceWindForPkv)
        + strides.maxWind * selected(OptionGroup::MaximumWind);
}

QString referenceSheetName()
{
    return QStringLiteral("Лист1");
}

std::span<const ReferenceTable, kReferenceTableCount> referenceTables()
{
    return kTables;
}

const ReferenceTable *tableForLookup(InputField field)
{
    for (const ReferenceTable &table : kTables)
        if (table.lookup == field)
            return &table;
    return nullptr;
}

} // namespace kelsa
