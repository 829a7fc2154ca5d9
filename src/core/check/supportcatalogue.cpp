// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/check/supportcatalogue.h"

#include "core/calc/momentlabel.h"
#include "core/numbers/numbertext.h"

#include <QDir>
#include <QRegularExpression>

#include <algorithm>
namespace kelsa
{

namespace
{

bool sameName(const QString &a, const QString &b)
{
    return a.trimmed().compare(b.trimmed(), Qt::CaseInsensitive) == 0;
}

QString cell(const QStringList &record, int column)
{
    return column < record.size() ? record[column] : QString();
}

// A number cell comes written in the reader's locale; a number typed as text may have either
// decimal separator, whatever the computer's language: «59,5» and «59.5» are both 59.5 here,
// so that the window and the command line read one catalogue alike.
std::optional<double> readMoment(const QString &text, const QLocale &locale)
{
    if (const auto number = readNumber(text, locale))
        return number;
    if (const auto number = readNumber(text, QLocale::c()))
        return number;
    return readNumber(text, QLocale(QLocale::Russian, QLocale::Russia));
}

} // namespace

double kilonewtonMetresPer(MomentUnit unit)
{
    switch (unit) {
    case MomentUnit::KilonewtonMetre:
        return 1;
    case MomentUnit::KilogramForceMetre:
        return kKilonewtonMetresPerKgfMetre;
    case MomentUnit::TonneForceMetre:
        return 1000 * kKilonewtonMetresPerKgfMetre;
    }
    return 1;
}

QString unitName(MomentUnit unit)
{
    switch (unit) {
    case MomentUnit::KilonewtonMetre:
        return QStringLiteral("кН·м");
    case MomentUnit::KilogramForceMetre:
        return QStringLiteral("кгс·м");
    case MomentUnit::TonneForceMetre:
        return QStringLiteral("тс·м");
    }
    return {};
}

std::optional<MomentUnit> unitInHeading(const QString &heading)
{
    // «кН·м», «кгс*м», «тс.м», «кНм»: the force, a multiplication sign or none, the metre.
    static const QRegularExpression unit(
        QStringLiteral("(?<!\\p{L})(кн|кгс|тс)\\s*[·⋅∙•*.×]?\\s*м(?!\\p{L})"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::UseUnicodePropertiesOption);
    std::optional<MomentUnit> found;
    for (auto it = unit.globalMatch(heading); it.hasNext();) {
        const QString force = it.next().captured(1).toLower();
        const MomentUnit named = force == u"кн" ? MomentUnit::KilonewtonMetre
            : force == u"кгс"                   ? MomentUnit::KilogramForceMetre
                                                : MomentUnit::TonneForceMetre;
        if (found && *found != named)
            return std::nullopt;
        found = named;
    }
    return found;
}

const SupportType *SupportCatalogue::find(const QString &name) const
{
    for (const SupportType &type : types)
        if (sameName(type.name, name))
            return &type;
    return nullptr;
}

double SupportCatalogue::normativeKNm(const SupportType &type) const
{
    return type.normative * kilonewtonMetresPer(unit);
}

SheetRequest supportCatalogueRequest(const QString &folder)
{
    return { workbookFile(QDir(folder).filePath(QString::fromUtf8(kSupportCatalogueFile))),
        QString(), 0, true };
}

SupportCatalogue supportCatalogueFrom(
    const QString &filePath, const SheetReadResult &sheet, const QLocale &locale)
{
    using State = SupportCatalogue::State;
    using Kind = CatalogueRowProblem::Kind;
    SupportCatalogue catalogue;
    catalogue.filePath = filePath;
    if (sheet.status == SheetReadResult::Status::FileMissing)
        return catalogue;
    if (sheet.status != SheetReadResult::Status::Ok) {
        catalogue.state = State::Unreadable;
        catalogue.readStatus = sheet.status;
        return catalogue;
    }
    // records[0] is the heading row, row 1 of the sheet.
    catalogue.unitHeading = sheet.records.isEmpty() ? QString() : cell(sheet.records[0], 1);
    const auto unit = unitInHeading(catalogue.unitHeading);
    if (!unit) {
        catalogue.state = State::NoUnit;
        return catalogue;
    }
    catalogue.unit = *unit;
    for (qsizetype r = 1; r < sheet.records.size(); ++r) {
        const QStringList &record = sheet.records[r];
        const int row = int(r) + 1;
        if (std::all_of(record.begin(), record.end(),
                [](const QString &text) { return text.trimmed().isEmpty(); }))
            continue;
        const QString name = cell(record, 0).trimmed();
        const QString moment = cell(record, 1);
        if (name.isEmpty()) {
            catalogue.problems.append({ row, Kind::NoName, {}, 0 });
            continue;
        }
        const std::optional<double> normative = readMoment(moment, locale);
        if (!normative || !(*normative > 0)) {
            catalogue.problems.append({ row, Kind::NotPositive, moment, 0 });
            continue;
        }
        if (const SupportType *first = catalogue.find(name)) {
            catalogue.problems.append({ row, Kind::NameTwice, name, first->row });
            continue;
        }
        catalogue.types.append(
            { name, *normative, cell(record, 2).trimmed(), cell(record, 3).trimmed(), row });
    }
    catalogue.state = catalogue.types.isEmpty() ? State::Empty : State::Ok;
    return catalogue;
}

SupportCatalogue readSupportCatalogue(const QString &folder)
{
    const SheetRequest request = supportCatalogueRequest(folder);
    const QLocale locale = QLocale::c();
    return supportCatalogueFrom(
        request.filePath, readSheets({ request }, locale).constFirst(), locale);
}

} // namespace kelsa
