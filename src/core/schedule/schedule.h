// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The support schedule (ведомость опор): a line of supports, one per row, computed like the
// main window computes one. A row holds texts as typed: the support's number or name, its track
// section, the texts of the input fields the schedule holds as columns, and the support type to
// check (empty: the pick). A field the schedule holds no column for, and a row's empty section,
// take the common data: the main window's texts and options when the schedule was made, kept
// with it. Numbers are read in the schedule's decimal separator, the same on every computer.

#include "core/calc/calculation.h"

#include <QChar>
#include <QList>
#include <QLocale>
#include <QString>

#include <array>
#include <optional>
#include <vector>

namespace kelsa
{

// The title block of the printed schedule.
struct ScheduleTitle {
    QString object; // the line, station or stretch
    QString author;
    QString date; // as written by the designer

    friend bool operator==(const ScheduleTitle &, const ScheduleTitle &) = default;
};

struct ScheduleCell;

struct ScheduleRow {
    QString support;
    QString section; // «Прямая», «Вне.кривая», «Вну.кривая» or Option18…20; empty: the common one
    // Indexed by InputField; only the fields the schedule holds are read.
    std::array<QString, kInputFieldCount> fields;
    QString supportType; // a catalogue type's name; empty: the pick

    const QString &field(InputField f) const { return fields[std::size_t(f)]; }
    QString &field(InputField f) { return fields[std::size_t(f)]; }
    const QString &text(const ScheduleCell &cell) const;
    QString &text(const ScheduleCell &cell);

    friend bool operator==(const ScheduleRow &, const ScheduleRow &) = default;
};

// An input cell of a row: what the window lets the designer type in.
struct ScheduleCell {
    enum class Kind { Support, Section, Field, SupportType };
    Kind kind = Kind::Support;
    InputField field = InputField::SpanLength; // for Field

    static ScheduleCell ofField(InputField f) { return { Kind::Field, f }; }
    friend bool operator==(const ScheduleCell &a, const ScheduleCell &b)
    {
        return a.kind == b.kind && (a.kind != Kind::Field || a.field == b.field);
    }
};

struct Schedule {
    QChar decimalSeparator = QLatin1Char(',');
    // The common data: every field's text and every option group's choice. Sources of look-ups
    // are not kept.
    Calculation common = Calculation::atStart();
    std::vector<InputField> fields; // the field columns, in the order shown
    QList<ScheduleRow> rows;
    ScheduleTitle title;

    // The locale the numbers are read and the moments written in (localeForDecimal()).
    QLocale locale() const;
    bool holds(InputField field) const;
    const QString &text(qsizetype row, const ScheduleCell &cell) const;
    QString &text(qsizetype row, const ScheduleCell &cell);
    // The row's inputs as one calculation: the common data with the row's section and held
    // fields put in. The section is left as the common one when the row's names none (the
    // row's computation tells that apart).
    Calculation calculation(qsizetype row) const;

    friend bool operator==(const Schedule &, const Schedule &) = default;
};

// The held fields a new schedule starts with: those that change from support to support along a
// line (span, radius, stagger, Lp, the tensions and the loads per metre).
std::vector<InputField> defaultScheduleFields();

} // namespace kelsa
