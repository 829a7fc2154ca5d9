// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/report/supportcheckreport.h"

#include "core/calc/breakdown.h"
#include "core/check/checktext.h"
#include "core/check/supportcheck.h"
#include "core/document/calculationfile.h"
#include "core/numbers/numbertext.h"

#include <QDir>

namespace kelsa
{

namespace
{

using Kind = ReportBlock::Kind;

ReportBlock text(Kind kind, const QString &words)
{
    return ReportBlock { kind, words, {}, false, {} };
}

ReportBlock table(std::vector<QStringList> rows, bool header)
{
    return ReportBlock { Kind::Table, {}, std::move(rows), header, {} };
}

QString orNone(const QString &text)
{
    return text.isEmpty() ? QStringLiteral("—") : text;
}

// «25 кН·м», and as the catalogue writes it when that is another unit.
QString normativeText(
    const SupportType &type, const SupportCatalogue &catalogue, const QLocale &locale)
{
    QString shown = writeNumber(catalogue.normativeKNm(type), locale) + QStringLiteral(" кН·м");
    if (catalogue.unit != MomentUnit::KilonewtonMetre)
        shown += QStringLiteral(" (в каталоге %1 %2)")
                     .arg(writeNumber(type.normative, locale), unitName(catalogue.unit));
    return shown;
}

} // namespace

void appendSupportCheck(std::vector<ReportBlock> &blocks, const ReportInput &input)
{
    const SavedCalculation &saved = input.saved;
    const SupportCatalogue &catalogue = input.catalogue;
    const QLocale locale = calculationFileLocale(saved.decimalSeparator);
    const std::vector<ComputedMoment> moments = savedMoments(saved, locale);
    const SupportCheck check = checkSupport(catalogue, moments, saved.supportType);

    blocks.push_back(text(Kind::Section, QStringLiteral("Проверка несущей способности")));
    std::vector<QStringList> facts;
    facts.push_back({ QStringLiteral("Каталог опор"),
        catalogue.state == SupportCatalogue::State::Absent
            ? noCatalogueText()
            : QDir::toNativeSeparators(catalogue.filePath) });
    if (check.governing)
        facts.push_back({ QStringLiteral("Расчетный момент"),
            QStringLiteral("%1 (%2)").arg(momentInBothUnits(check.governing->kgfm, locale),
                momentShortName(check.governing->moment)) });
    if (check.type && check.error == SupportCheck::Error::None) {
        facts.push_back({ QStringLiteral("Тип опоры"),
            check.type->name
                + (check.picked ? QStringLiteral(" (подобран: наименьший Mн, при котором "
                                                 "использование не больше 100 %)")
                                : QStringLiteral(" (выбран проектировщиком)")) });
        facts.push_back({ QStringLiteral("Mн"), normativeText(*check.type, catalogue, locale) });
        facts.push_back({ QStringLiteral("Где действует Mн"), orNone(check.type->note) });
        facts.push_back({ QStringLiteral("Источник Mн"), orNone(check.type->source) });
    }
    blocks.push_back(table(std::move(facts), false));

    if (check.type && check.error == SupportCheck::Error::None) {
        std::vector<QStringList> rows { { QStringLiteral("Момент"), QStringLiteral("Значение"),
            QStringLiteral("Использование") } };
        for (const ComputedMoment &moment : moments)
            rows.push_back({ momentShortName(moment.moment), momentInBothUnits(moment.kgfm, locale),
                moment.stale ? QStringLiteral("не учтен: исходные данные изменены после расчета")
                             : percentText(utilisation(moment.kgfm, *check.type, catalogue.unit), 1,
                                 locale) });
        blocks.push_back(table(std::move(rows), true));
        const QString percent = percentText(check.utilisation, 1, locale);
        blocks.push_back(check.holds()
                ? text(Kind::Text,
                    QStringLiteral("Вывод: опора типа %1 выдерживает расчетный момент, "
                                   "использование %2.")
                        .arg(check.type->name, percent))
                : text(Kind::Warning,
                    QStringLiteral("Вывод: опора типа %1 не выдерживает расчетный момент, "
                                   "использование %2.")
                        .arg(check.type->name, percent)));
        return;
    }
    blocks.push_back(text(Kind::Warning,
        QStringLiteral("Вывод: проверка не выполнена — %1.")
            .arg(checkErrorText(check, catalogue, locale))));
}

} // namespace kelsa
