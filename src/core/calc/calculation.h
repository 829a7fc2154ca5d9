// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/calc/fields.h"
#include "core/calc/moments.h"
#include "core/calc/options.h"

#include <QString>
#include <QStringView>

#include <array>
#include <optional>

namespace kelsa
{

// Where the text of a look-up field came from: the reference-table cell a click copied.
struct LookupSource {
    QString table; // the table's navigator, "Data2"
    int record = 0; // from 1
    QString row; // the record's caption, its first column ("М-95+МФ-100")
    QString cell; // the cell control, which names the column the design condition chose ("Gp10")
    // The workbook the cell was read from, by its name in the tables folder ("т11.2.xlsx"):
    // .xls, .xlsx or .ods, whichever the folder held. Empty for a look-up saved before the
    // name was kept.
    QString file = {};

    friend bool operator==(const LookupSource &, const LookupSource &) = default;
};

// Everything a calculation reads, as one plain value: the text of every input field as typed,
// the selected option of every group, and where each look-up field's text came from. The main
// window fills it from its controls; a file or the command line can fill it by control name.
// Texts are kept as typed, so that reading them as numbers follows the rules of the moment
// that reads them.
struct Calculation {
    std::array<QString, kInputFieldCount> texts;
    OptionSelection options {};
    // Set only for look-up fields filled from a table since they were last reset or typed in.
    std::array<std::optional<LookupSource>, kInputFieldCount> sources;

    // The window at start-up: every field at its start text, every group at its default.
    static Calculation atStart();

    const QString &text(InputField field) const { return texts[std::size_t(field)]; }
    QString &text(InputField field) { return texts[std::size_t(field)]; }
    int option(OptionGroup group) const { return options[std::size_t(group)]; }
    void setOption(OptionGroup group, int index) { options[std::size_t(group)] = index; }
    const std::optional<LookupSource> &source(InputField field) const
    {
        return sources[std::size_t(field)];
    }
    TrackSection trackSection() const;

    // By control name. False, and nothing changed, for a name that is no input field or option.
    bool setText(QStringView fieldName, const QString &text);
    bool selectOption(QStringView optionName);
    // The control name of the selected option of a group ("Option18").
    QString selectedOptionName(OptionGroup group) const;

    friend bool operator==(const Calculation &, const Calculation &) = default;
};

} // namespace kelsa
