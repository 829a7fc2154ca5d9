// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/calc/fields.h"

#include <QString>

#include <array>

namespace kelsa
{

namespace
{

using F = InputField;

// Mixed alphabets are deliberate, as on the window: "Pкв", "Pпрв", "Gп" and "Vmax в." start with
// a Latin letter; "Рнв", "Тн кгс", "Тк кгс", "Тпр кгс" with a Cyrillic one.
constexpr FieldInfo kFields[] = {
    { F::SpanLength, "Prolet", "Длина прол.", "м", "0", false },
    { F::MaxWindSpeed, "txtVm", "Vmax в.", "м/с", "0", false },
    { F::MessengerTension, "Text1", "Тн кгс", "кгс", "0", false },
    { F::ContactTension, "Text2", "Тк кгс", "кгс", "0", false },
    { F::FeederTension, "Text3", "Тпр кгс", "кгс", "0", false },
    { F::CurveRadius, "Text4", "R m", "м", "1", false },
    { F::Stagger, "Text5", "a m", "м", "0", false },
    { F::AnchorDistance, "txtLp", "L от переходной до анкерной", "м", "0", false },
    { F::IceGp, "txtGp", "Gп", "кгс/м", "0", true },
    { F::IceGpr, "txtGpr", "Gпр", "кгс/м", "0", true },
    { F::IcePnv, "txtGnv", "Рнв", "кгс/м", "0", true },
    { F::IcePkv, "txtPkv", "Pкв", "кгс/м", "0", true },
    { F::IcePprv, "txtPprv", "Pпрв", "кгс/м", "0", true },
    { F::WindGp, "txtSum1", "Gп в", "кгс/м", "0", true },
    { F::WindGpr, "txtSum2", "Gпр в", "кгс/м", "0", true },
    { F::WindPnv, "txtSum3", "Рнв в", "кгс/м", "0", false },
    { F::WindPkv, "txtSum4", "Pкв в", "кгс/м", "0", false },
    { F::WindPprv, "txtSum5", "Pпрв в", "кгс/м", "0", false },
    // The additional-load grids start with a load of 1, an arm of 0 and a count of 1 in every
    // row, so that a row adds nothing until the user gives it an arm.
    { F::D1, "txtD1", "Прямая, + - G/P, строка 1", "кгс", "1", false },
    { F::D2, "txtD2", "Прямая, + - G/P, строка 2", "кгс", "1", false },
    { F::D3, "txtD3", "Прямая, + - G/P, строка 3", "кгс", "1", false },
    { F::D4, "txtD4", "Прямая, L/l, строка 1", "м", "0", false },
    { F::D5, "txtD5", "Прямая, L/l, строка 2", "м", "0", false },
    { F::D6, "txtD6", "Прямая, L/l, строка 3", "м", "0", false },
    { F::D7, "txtD7", "Прямая, n, строка 1", "", "1", false },
    { F::D8, "TxtD8", "Прямая, n, строка 2", "", "1", false },
    { F::D9, "txtD9", "Прямая, n, строка 3", "", "1", false },
    { F::F1, "txtF1", "Кривая, + - T, строка 1", "кгс", "1", false },
    { F::F2, "txtF2", "Кривая, + - T, строка 2", "кгс", "1", false },
    { F::F3, "txtF3", "Кривая, + - T, строка 3", "кгс", "1", false },
    { F::F4, "txtF4", "Кривая, L/l, строка 1", "м", "0", false },
    { F::F5, "txtF5", "Кривая, L/l, строка 2", "м", "0", false },
    { F::F6, "txtF6", "Кривая, L/l, строка 3", "м", "0", false },
    { F::F7, "txtF7", "Кривая, n, строка 1", "", "1", false },
    { F::F8, "txtF8", "Кривая, n, строка 2", "", "1", false },
    { F::F9, "txtF9", "Кривая, n, строка 3", "", "1", false },
};
static_assert(std::size(kFields) == kInputFieldCount);

constexpr std::array<InputField, 5> kIceLoads { F::IceGp, F::IceGpr, F::IcePnv, F::IcePkv,
    F::IcePprv };
constexpr std::array<InputField, 5> kMaxWindLoads { F::WindGp, F::WindGpr, F::WindPnv, F::WindPkv,
    F::WindPprv };

} // namespace

std::span<const FieldInfo> inputFields()
{
    return kFields;
}

const FieldInfo &fieldInfo(InputField field)
{
    return kFields[int(field)];
}

std::optional<InputField> inputFieldNamed(QStringView name)
{
    for (const FieldInfo &info : kFields)
        if (name == QLatin1String(info.name))
            return info.field;
    return std::nullopt;
}

std::span<const InputField, 5> loadFields(DesignCondition condition)
{
    return condition == DesignCondition::IceWithWind ? kIceLoads : kMaxWindLoads;
}

} // namespace kelsa
