// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/batch/rowreport.h"

#include "core/batch/batchrun.h"
#include "core/calc/momentlabel.h"
#include "core/check/checktext.h"
#include "core/check/supportcheck.h"
#include "core/numbers/numbertext.h"

#include <QStringList>

#include <algorithm>
#include <vector>

namespace kelsa
{

QString momentError(const MomentOutcome &outcome)
{
    const QString code = momentErrorCode(outcome);
    if (code.isEmpty())
        return {};
    QString text
        = QString::fromLatin1(momentInfo(outcome.moment).label) + QStringLiteral(": ") + code;
    if (!outcome.inputsAccepted()) {
        QStringList names;
        for (const FieldProblem &problem : outcome.badFields)
            names << QString::fromLatin1(fieldInfo(problem.field).name);
        text += QStringLiteral(" (") + names.join(QStringLiteral(", ")) + QLatin1Char(')');
    }
    return text;
}

QString momentCell(const MomentOutcome &outcome, const QLocale &locale)
{
    if (!outcome.inputsAccepted() || outcome.result.outcome != MomentResult::Outcome::Value)
        return {};
    return writeNumber(outcome.result.moment, locale);
}

QString momentNote(const MomentOutcome &outcome)
{
    if (outcome.emptyAsZero.empty() || !outcome.inputsAccepted())
        return {};
    std::vector<InputField> fields = outcome.emptyAsZero;
    std::sort(fields.begin(), fields.end());
    QStringList names;
    for (const InputField field : fields)
        names << QString::fromLatin1(fieldInfo(field).name);
    return QString::fromLatin1(momentInfo(outcome.moment).label) + QStringLiteral(": ")
        + names.join(QStringLiteral(", "));
}

std::optional<int> sectionIndex(const QString &cell)
{
    const QString name = cell.trimmed();
    static const QStringList names = sectionNames();
    for (int k = 0; k < names.size(); ++k)
        if (name.compare(names[k], Qt::CaseInsensitive) == 0)
            return k;
    if (const auto option = optionNamed(name); option && option->group == OptionGroup::TrackSection)
        return option->index;
    return std::nullopt;
}

QString sectionError(const QString &cell)
{
    return QStringLiteral("section: \"%1\" не участок пути (%2)")
        .arg(cell, sectionNames().join(QStringLiteral(", ")));
}

QString utilisationCell(double utilisation, const QLocale &locale)
{
    QLocale plain = locale;
    plain.setNumberOptions(QLocale::OmitGroupSeparator);
    return plain.toString(utilisationPercent(utilisation, 1), 'f', 1);
}

RowCheckCells rowCheckCells(const SupportCatalogue &catalogue,
    std::span<const MomentOutcome> outcomes, const QString &chosen, const QLocale &locale)
{
    using Error = SupportCheck::Error;
    RowCheckCells cells;
    cells.supportType = chosen;
    const SupportCheck check = checkSupport(catalogue, computedMoments(outcomes), chosen);
    if (check.governing)
        cells.governing = QString::fromLatin1(momentInfo(check.governing->moment).label);
    switch (check.error) {
    case Error::None:
        if (check.picked)
            cells.supportType = check.type->name;
        cells.utilisation = utilisationCell(check.utilisation, locale);
        break;
    case Error::NoCatalogue: // said once for the whole table
        break;
    case Error::UnknownType:
        cells.error = QStringLiteral("supportType: \"%1\" is not in the catalogue").arg(chosen);
        break;
    case Error::NoMoment:
    case Error::NoneHolds:
        cells.error = QStringLiteral("check: ") + checkErrorCode(check.error);
        break;
    }
    return cells;
}

} // namespace kelsa
