// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The catalogue of support types: an optional workbook «опоры.xls» (or .xlsx, .ods) in the
// tables folder, kept by the design office like the ten reference tables. Its first sheet has a
// heading row, then one support type per row: A the type's name, B its normative bending
// moment Mн in the unit B's heading names («кН·м», «кгс·м» or «тс·м»), C where the moment
// applies or a note, D the source (a standard, a table). Kelsa ships no such values.

#include "core/tables/workbookreader.h"

#include <QList>
#include <QLocale>
#include <QString>

#include <optional>

namespace kelsa
{

// The catalogue's file name in the tables folder, as for a reference table: the .xls, or the
// .xlsx or .ods beside it (workbookFile()).
inline constexpr const char *kSupportCatalogueFile = "опоры.xls";

enum class MomentUnit { KilonewtonMetre, KilogramForceMetre, TonneForceMetre };

// kN·m in one of the unit: 1 kgf·m = 0.00980665 kN·m, 1 tf·m = 9.80665 kN·m.
double kilonewtonMetresPer(MomentUnit unit);
// «кН·м», «кгс·м», «тс·м».
QString unitName(MomentUnit unit);
// The unit a heading names: one of the three, with «·», «*», «.» or nothing between the
// parts, in any case, standing apart from other letters («Mн, кН·м»). Nothing when it names
// none, or more than one.
std::optional<MomentUnit> unitInHeading(const QString &heading);

struct SupportType {
    QString name; // as written, trimmed
    double normative = 0; // Mн in the catalogue's unit, > 0
    QString note; // column C, as written
    QString source; // column D, as written
    int row = 0; // the sheet's row, from 1 (the heading is row 1)

    friend bool operator==(const SupportType &, const SupportType &) = default;
};

// A row left out of the catalogue, and why.
struct CatalogueRowProblem {
    enum class Kind {
        NoName, // column A empty while the row holds something
        NotPositive, // column B is no number, or not above 0
        NameTwice, // the name of an earlier row (compared without case and outer blanks)
    };
    int row = 0; // the sheet's row, from 1
    Kind kind = Kind::NoName;
    QString text; // NotPositive: B as it stands; NameTwice: the name
    int firstRow = 0; // NameTwice: the row that keeps the name

    friend bool operator==(const CatalogueRowProblem &, const CatalogueRowProblem &) = default;
};

struct SupportCatalogue {
    enum class State {
        Absent, // no catalogue in the folder: not an error
        Unreadable, // the workbook could not be read: readStatus says why
        NoUnit, // B's heading names none of the three units (or several): not used
        Empty, // no row holds a usable type
        Ok,
    };
    State state = State::Absent;
    QString filePath; // the workbook read, or the .xls path looked for
    SheetReadResult::Status readStatus = SheetReadResult::Status::Ok; // for Unreadable
    QString unitHeading; // B's heading as it stands
    MomentUnit unit = MomentUnit::KilonewtonMetre;
    QList<SupportType> types; // in sheet order
    QList<CatalogueRowProblem> problems; // in sheet order

    // A catalogue put together by hand may say Ok without a type: nothing could be picked.
    bool usable() const { return state == State::Ok && !types.isEmpty(); }
    // The type of that name, compared as names are compared for NameTwice.
    const SupportType *find(const QString &name) const;
    // Mн of a type in kN·m.
    double normativeKNm(const SupportType &type) const;

    friend bool operator==(const SupportCatalogue &, const SupportCatalogue &) = default;
};

// How the catalogue of a tables folder is asked for, beside the ten tables: its first sheet
// with its heading row.
SheetRequest supportCatalogueRequest(const QString &folder);

// The catalogue from what the reader gave for that request; numbers are read in `locale`, the
// locale the reader wrote them in. A missing file is Absent, any other failure Unreadable.
SupportCatalogue supportCatalogueFrom(
    const QString &filePath, const SheetReadResult &sheet, const QLocale &locale);

// Reads the catalogue of a tables folder on its own (the command line's way).
SupportCatalogue readSupportCatalogue(const QString &folder);

} // namespace kelsa
