// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/check/checktext.h"

#include "core/calc/breakdown.h"
#include "core/numbers/numbertext.h"

#include <QDir>
#include <QFileInfo>

#include <cmath>

namespace kelsa
{

namespace
{

const QString kDot = QStringLiteral(" · ");

QString fileName(const SupportCatalogue &catalogue)
{
    return QFileInfo(catalogue.filePath).fileName();
}

// kN·m to 0.01, without trailing zeros: «59», «18,21».
QString kiloNewtonMetres(double value, const QLocale &locale)
{
    return writeNumber(std::round(value * 100) / 100, locale) + QStringLiteral(" кН·м");
}

QString readFailure(SheetReadResult::Status status)
{
    using Status = SheetReadResult::Status;
    switch (status) {
    case Status::Ok:
    case Status::FileMissing:
        return {};
    case Status::NotAFile:
        return QStringLiteral("на месте файла находится папка");
    case Status::NoPermission:
        return QStringLiteral("нет прав на чтение файла");
    case Status::Password:
        return QStringLiteral("книга защищена паролем");
    case Status::SheetMissing:
        return QStringLiteral("в книге нет листов");
    case Status::TimedOut:
        return QStringLiteral("файл читается слишком долго; вероятно, он поврежден");
    default:
        return QStringLiteral("файл поврежден или не является книгой (.xls, .xlsx, .ods)");
    }
}

QString momentNames(const std::vector<Moment> &moments)
{
    QStringList names;
    for (const Moment moment : moments)
        names << momentShortName(moment);
    return names.join(QStringLiteral(", "));
}

// «1856,95 кгс·м = 18,21 кН·м (Мо в max)».
QString governingText(const ComputedMoment &governing, const QLocale &locale)
{
    return QStringLiteral("%1 (%2)").arg(
        momentInBothUnits(governing.kgfm, locale), momentShortName(governing.moment));
}

QString noMomentText(const SupportCheck &check)
{
    if (!check.stale.empty())
        return QStringLiteral("исходные данные изменены после расчета моментов (%1); "
                              "пересчитайте их")
            .arg(momentNames(check.stale));
    return QStringLiteral("ни один момент не вычислен");
}

} // namespace

QString noCatalogueText()
{
    return QStringLiteral("нет каталога опор");
}

QString addCatalogueHint()
{
    return QStringLiteral("положите книгу опоры.xlsx (или .xls, .ods) с типами опор и их Mн в "
                          "папку справочных таблиц");
}

QString momentShortName(Moment moment)
{
    const MomentInfo &info = momentInfo(moment);
    const bool ice = info.condition == DesignCondition::IceWithWind;
    if (!info.transition)
        return ice ? QStringLiteral("Мо вг") : QStringLiteral("Мо в max");
    return QStringLiteral("переходная, %1, %2%3")
        .arg(ice ? QStringLiteral("вг") : QStringLiteral("max"),
            info.direction == WindDirection::SupportToTrack ? QStringLiteral("от опоры на путь")
                                                            : QStringLiteral("от пути на опору"),
            info.level == SupportLevel::Base ? QString() : QStringLiteral(", пята"));
}

QString percentText(double utilisation, int decimals, const QLocale &locale)
{
    QLocale plain = locale;
    plain.setNumberOptions(QLocale::OmitGroupSeparator);
    return plain.toString(utilisationPercent(utilisation, decimals), 'f', decimals)
        + QStringLiteral(" %");
}

QString catalogueStateText(const SupportCatalogue &catalogue)
{
    using State = SupportCatalogue::State;
    switch (catalogue.state) {
    case State::Ok:
        return {};
    case State::Absent:
        return noCatalogueText();
    case State::Unreadable:
        return QStringLiteral("каталог опор %1 не читается: %2")
            .arg(fileName(catalogue), readFailure(catalogue.readStatus));
    case State::NoUnit:
        return QStringLiteral("в заголовке столбца B каталога опор %1 («%2») не названа единица "
                              "Mн: «кН·м», «кгс·м» или «тс·м»; каталог не используется")
            .arg(fileName(catalogue), catalogue.unitHeading);
    case State::Empty:
        return QStringLiteral("в каталоге опор %1 нет ни одного типа").arg(fileName(catalogue));
    }
    return {};
}

QStringList catalogueProblemLines(const SupportCatalogue &catalogue)
{
    using Kind = CatalogueRowProblem::Kind;
    QStringList lines;
    for (const CatalogueRowProblem &problem : catalogue.problems) {
        QString why;
        switch (problem.kind) {
        case Kind::NoName:
            why = QStringLiteral("нет названия типа");
            break;
        case Kind::NotPositive:
            why = problem.text.trimmed().isEmpty()
                ? QStringLiteral("нет Mн")
                : QStringLiteral("Mн «%1» — не положительное число").arg(problem.text);
            break;
        case Kind::NameTwice:
            why = QStringLiteral("тип «%1» уже есть в строке %2")
                      .arg(problem.text)
                      .arg(problem.firstRow);
            break;
        }
        lines << QStringLiteral("строка %1: %2").arg(problem.row).arg(why);
    }
    return lines;
}

QString catalogueReport(const SupportCatalogue &catalogue)
{
    if (catalogue.state == SupportCatalogue::State::Absent)
        return {};
    QStringList parts;
    if (!catalogue.usable()) {
        QString why = catalogueStateText(catalogue);
        why[0] = why[0].toUpper();
        parts << why + QLatin1Char('.');
    }
    // Also when every row was left out: the rows tell why the catalogue holds no type.
    if (const QStringList lines = catalogueProblemLines(catalogue); !lines.isEmpty())
        parts << QStringLiteral("В каталоге опор %1 пропущены строки:\n").arg(fileName(catalogue))
                + lines.join(QLatin1Char('\n'));
    return parts.join(QLatin1Char('\n'));
}

QString governingLine(const SupportCheck &check, const QLocale &locale)
{
    if (check.governing)
        return QStringLiteral("Расчетный момент ") + governingText(*check.governing, locale);
    if (check.error == SupportCheck::Error::NoMoment)
        return QStringLiteral("Расчетный момент: нет — ") + noMomentText(check);
    return {};
}

CheckLine checkLine(
    const SupportCheck &check, const SupportCatalogue &catalogue, const QLocale &locale)
{
    using Error = SupportCheck::Error;
    CheckLine line;
    QStringList parts { governingLine(check, locale) };
    parts.removeAll(QString());
    switch (check.error) {
    case Error::NoCatalogue:
        parts << (catalogue.state == SupportCatalogue::State::Absent
                ? noCatalogueText() + QStringLiteral(": ") + addCatalogueHint()
                : noCatalogueText() + QStringLiteral(": ") + catalogueStateText(catalogue));
        break;
    case Error::UnknownType:
        parts << QStringLiteral("тип «%1» не найден в каталоге опор").arg(check.chosen);
        break;
    case Error::NoMoment:
        break;
    case Error::NoneHolds:
        parts << QStringLiteral("ни один тип не выдерживает: наибольший Mн %1 (тип %2)")
                     .arg(kiloNewtonMetres(check.normativeKNm, locale), check.type->name);
        break;
    case Error::None:
        parts << QStringLiteral("тип %1").arg(check.type->name)
              << QStringLiteral("Mн %1").arg(kiloNewtonMetres(check.normativeKNm, locale));
        break;
    }
    line.text = parts.join(kDot);
    if (check.type && check.governing) {
        line.text += QStringLiteral(" ·");
        line.percent = percentText(check.utilisation, 0, locale);
        line.level = utilisationLevel(check.utilisation);
    }
    if (check.governing && !check.stale.empty())
        line.note
            = QStringLiteral("не учтены устаревшие моменты: %1").arg(momentNames(check.stale));
    return line;
}

QString checkErrorText(
    const SupportCheck &check, const SupportCatalogue &catalogue, const QLocale &locale)
{
    using Error = SupportCheck::Error;
    switch (check.error) {
    case Error::None:
        return {};
    case Error::NoCatalogue:
        return catalogue.state == SupportCatalogue::State::Absent
            ? noCatalogueText() + QStringLiteral(": ") + addCatalogueHint()
            : noCatalogueText() + QStringLiteral(": ") + catalogueStateText(catalogue);
    case Error::UnknownType:
        return QStringLiteral("тип «%1» не найден в каталоге опор %2")
            .arg(check.chosen, QDir::toNativeSeparators(catalogue.filePath));
    case Error::NoMoment:
        return noMomentText(check);
    case Error::NoneHolds:
        return QStringLiteral("ни один тип каталога опор не выдерживает расчетный момент %1: "
                              "наибольший Mн %2 (тип %3), использование %4")
            .arg(governingText(*check.governing, locale),
                kiloNewtonMetres(check.normativeKNm, locale), check.type->name,
                percentText(check.utilisation, 0, locale));
    }
    return {};
}

QString utilisationNote(double kgfm, const SupportCheck &check, const SupportCatalogue &catalogue,
    const QLocale &locale)
{
    if (!check.type || !std::isfinite(kgfm))
        return {};
    return QStringLiteral("Использование для типа %1 (Mн %2): %3")
        .arg(check.type->name, kiloNewtonMetres(check.normativeKNm, locale),
            percentText(utilisation(kgfm, *check.type, catalogue.unit), 0, locale));
}

} // namespace kelsa
