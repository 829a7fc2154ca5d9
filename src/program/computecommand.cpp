// SPDX-License-Identifier: GPL-3.0-or-later
#include "program/computecommand.h"

#include "core/calc/momentlabel.h"
#include "core/check/checktext.h"
#include "core/check/supportcheck.h"
#include "core/document/calculationfile.h"
#include "core/platform/outputfile.h"
#include "gui/mainwindow/momentmessages.h"
#include "program/messageprinting.h"

#include <QDir>
#include <QLocale>
#include <QStringList>

namespace kelsa
{

namespace
{

QString jsonString(const QString &text)
{
    QString quoted = QStringLiteral("\"");
    for (const QChar c : text) {
        if (c == QLatin1Char('"') || c == QLatin1Char('\\'))
            quoted += QLatin1Char('\\') + c;
        else if (c == QLatin1Char('\n'))
            quoted += QStringLiteral("\\n");
        else if (c.unicode() < 0x20)
            quoted += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
        else
            quoted += c;
    }
    return quoted + QLatin1Char('"');
}

// The shortest text that reads back to the same double, as JSON writes numbers.
QString jsonNumber(double value)
{
    return QString::number(value, 'g', QLocale::FloatingPointShortest);
}

QString member(const char *name, const QString &json)
{
    return jsonString(QLatin1String(name)) + QStringLiteral(": ") + json;
}

QString outcomeJson(const MomentOutcome &outcome, const QLocale &locale)
{
    QStringList members;
    const QString text = resultLabelText(outcome, locale);
    const QString code = momentErrorCode(outcome);
    if (code.isEmpty()) {
        members << member("moment", jsonNumber(outcome.result.moment))
                << member("text", jsonString(text))
                << member("kNm", jsonNumber(outcome.result.moment * kKilonewtonMetresPerKgfMetre));
    } else {
        // An ordinary support without a finite moment has no message: its label says it.
        const QString message = momentMessage(outcome);
        members << member("error", jsonString(code))
                << member("message", jsonString(message.isEmpty() ? text : message));
        if (!outcome.inputsAccepted()) {
            QStringList fields;
            for (const FieldProblem &problem : outcome.badFields)
                fields << jsonString(QString::fromLatin1(fieldInfo(problem.field).name));
            members << member(
                "fields", QLatin1Char('[') + fields.join(QStringLiteral(", ")) + QLatin1Char(']'));
        }
        if (!text.isEmpty())
            members << member("text", jsonString(text));
    }
    return QLatin1Char('{') + members.join(QStringLiteral(", ")) + QLatin1Char('}');
}

QString checkJson(
    const SupportCheck &check, const SupportCatalogue &catalogue, const QLocale &locale)
{
    QStringList members;
    if (check.error != SupportCheck::Error::None) {
        members << member("error", jsonString(checkErrorCode(check.error)))
                << member("message", jsonString(checkErrorText(check, catalogue, locale)));
    } else {
        const double moment = check.governing->kgfm;
        members << member("catalogue", jsonString(QDir::toNativeSeparators(catalogue.filePath)))
                << member("governing",
                       jsonString(QLatin1String(momentInfo(check.governing->moment).label)))
                << member("moment", jsonNumber(moment))
                << member("kNm", jsonNumber(moment * kKilonewtonMetresPerKgfMetre))
                << member("type", jsonString(check.type->name))
                << member("picked", check.picked ? QStringLiteral("true") : QStringLiteral("false"))
                << member("normativeKNm", jsonNumber(check.normativeKNm))
                << member("utilisation", jsonNumber(check.utilisation))
                << member(
                       "holds", check.holds() ? QStringLiteral("true") : QStringLiteral("false"));
    }
    return QLatin1Char('{') + members.join(QStringLiteral(", ")) + QLatin1Char('}');
}

} // namespace

QByteArray momentsJson(const SavedCalculation &saved, const SupportCatalogue &catalogue)
{
    const QLocale locale = calculationFileLocale(saved.decimalSeparator);
    const auto outcomes = computeMoments(saved.calculation, locale);
    QStringList lines;
    for (const MomentOutcome &outcome : outcomes)
        lines << QStringLiteral("  ")
                + member(momentInfo(outcome.moment).label, outcomeJson(outcome, locale));
    const SupportCheck check
        = checkSupport(catalogue, computedMoments(outcomes), saved.supportType);
    lines << QStringLiteral("  ") + member("check", checkJson(check, catalogue, locale));
    return (QStringLiteral("{\n") + lines.join(QStringLiteral(",\n")) + QStringLiteral("\n}\n"))
        .toUtf8();
}

int runComputeCommand(const QString &calculationPath, const QString &tablesFolder)
{
    const CalculationFileReading reading = readCalculationFileAsWritten(calculationPath);
    if (const auto *problem = std::get_if<CalculationFileProblem>(&reading)) {
        printMessage(stderr, QStringLiteral("kelsa: %1: %2").arg(calculationPath, problem->text));
        return 1;
    }
    const SupportCatalogue catalogue = readSupportCatalogue(tablesFolder);
    // Rows left out of the catalogue are told, as the window tells them at start-up.
    if (const QString problems = catalogueReport(catalogue); !problems.isEmpty())
        printMessage(stderr, QStringLiteral("kelsa: ") + problems);
    const QByteArray json = momentsJson(std::get<SavedCalculation>(reading), catalogue);
    OutputFile out(QLatin1StringView(kStandardOutputName), { calculationPath });
    if (!out.open() || out.write(json) != json.size() || !out.commit()) {
        printMessage(stderr,
            QStringLiteral("kelsa: не удается записать в стандартный вывод: %1")
                .arg(out.errorString()));
        return 1;
    }
    return 0;
}

} // namespace kelsa
