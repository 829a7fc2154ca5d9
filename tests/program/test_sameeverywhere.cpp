// SPDX-License-Identifier: GPL-3.0-or-later
// One calculation file, one result: the window's reading, kelsa --compute and kelsa --report
// give the same moments and the same refusals whatever the computer's locale, and the command
// line writes the file's decimal separator. The commands are compiled in from the program.
#include "core/calc/momentlabel.h"
#include "core/document/calculationfile.h"
#include "program/computecommand.h"
#include "program/reportcommand.h"
#include "support/helpexample.h"
#include "support/poppler.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace kelsa;

namespace
{

const QLocale ru(QLocale::Russian, QLocale::Russia);
const QLocale ukrainian(QLocale::Ukrainian, QLocale::Ukraine);

QByteArray replaced(const QByteArray &json, const char *from, const char *to)
{
    QByteArray result = json;
    const qsizetype at = result.indexOf(from);
    if (at < 0)
        qFatal("fixture text not found: %s", from);
    return result.replace(at, qsizetype(qstrlen(from)), to);
}

// The help page's example with all ten moments computed, in a decimal comma.
QByteArray computedJson()
{
    return calculationToJson(test::helpPageComputed());
}

// The same file as written with decimal points.
QByteArray pointed(const QByteArray &json)
{
    QString text = QString::fromUtf8(
        replaced(json, "\"decimalSeparator\": \",\"", "\"decimalSeparator\": \".\""));
    text.replace(QRegularExpression(QStringLiteral("(\\d),(\\d)")), QStringLiteral("\\1.\\2"));
    return text.toUtf8();
}

// The file with the five moments in ice that read «Рнв» (txtGnv) not computed.
QByteArray withoutIceMoments(QByteArray json)
{
    for (const char *label : { "Label1", "Label10", "Label18", "Label26", "Label27" }) {
        const QByteArray key = QByteArray("\"") + label + "\": {\"text\":\"";
        const qsizetype from = json.indexOf(key) + key.size();
        json.remove(from, json.indexOf('"', from) - from);
    }
    return json;
}

// Per result label, the moment as a number or the code of why it has none.
using Outcomes = QMap<QString, QString>;

QString outcomeText(const QString &code, double moment)
{
    return code.isEmpty() ? QString::number(moment, 'g', 17) : code;
}

Outcomes windowOutcomes(const Calculation &calculation)
{
    Outcomes outcomes;
    for (const MomentOutcome &outcome : computeMoments(calculation))
        outcomes.insert(QLatin1String(momentInfo(outcome.moment).label),
            outcomeText(momentErrorCode(outcome), outcome.result.moment));
    return outcomes;
}

Outcomes computeOutcomes(const QByteArray &json)
{
    Outcomes outcomes;
    const QJsonObject moments = QJsonDocument::fromJson(json).object();
    for (auto it = moments.begin(); it != moments.end(); ++it) {
        if (it.key() == QLatin1String("check")) // the support type, not a moment
            continue;
        const QJsonObject moment = it.value().toObject();
        outcomes.insert(it.key(),
            outcomeText(moment.value("error").toString(), moment.value("moment").toDouble()));
    }
    return outcomes;
}

QStringList refusedAsNoNumber(const Outcomes &outcomes)
{
    QStringList labels;
    for (auto it = outcomes.begin(); it != outcomes.end(); ++it)
        if (it.value() == QLatin1String("not-a-number"))
            labels << it.key();
    labels.sort();
    return labels;
}

QString problemOf(const CalculationFileReading &reading)
{
    const auto *problem = std::get_if<CalculationFileProblem>(&reading);
    return problem ? problem->text : QString();
}

} // namespace

class TestSameEverywhere : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { QLocale::setDefault(QLocale::c()); }
    void oneFileOneResult_data();
    void oneFileOneResult();
};

void TestSameEverywhere::oneFileOneResult_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<QString>("problem"); // the file refused, by every reader; empty: accepted
    QTest::addColumn<QStringList>("notANumber"); // labels refused for a field that is no number
    QTest::addColumn<QString>("reported"); // in the report's PDF
    QTest::addColumn<QString>("ukrainianWindow"); // the window's refusal there, if its own

    const QStringList none;
    const QStringList ice { "Label1", "Label10", "Label18", "Label26", "Label27" };
    const QString mismatch = QStringLiteral(
        "результат \"Label1\" (%1) не следует из сохраненных исходных данных (по ним: момент не "
        "вычисляется)");
    const QByteArray comma = computedJson();
    QTest::newRow("decimal comma")
        << comma << QString() << none << "1463,13 кгс·м = 14,35 кН·м" << QString();
    QTest::newRow("decimal point")
        << pointed(comma) << QString() << none << "1463.13 кгс·м = 14.35 кН·м" << QString();
    QTest::newRow("0.5 in a comma file")
        << replaced(withoutIceMoments(comma), "\"txtGnv\": \"0,5\"", "\"txtGnv\": \"0.5\"")
        << QString() << ice << "1856,95 кгс·м = 18,21 кН·м" << QString();
    QTest::newRow("0,5 in a point file")
        << replaced(withoutIceMoments(pointed(comma)), "\"txtGnv\": \"0.5\"", "\"txtGnv\": \"0,5\"")
        << QString() << ice << "1856.95 кгс·м = 18.21 кН·м" << QString();
    QTest::newRow("0.5 in a comma file, its moments kept")
        << replaced(comma, "\"txtGnv\": \"0,5\"", "\"txtGnv\": \"0.5\"") << mismatch.arg("1463,134")
        << none << QString() << QString();
    QTest::newRow("0,5 in a point file, its moments kept")
        << replaced(pointed(comma), "\"txtGnv\": \"0.5\"", "\"txtGnv\": \"0,5\"")
        << mismatch.arg("1463.134") << none << QString() << QString();
    // The Ukrainian locale reads no exponent with a Latin "e": its window refuses the file
    // rather than compute without Рнв, and the command line reads it as everywhere else.
    QTest::newRow("exponent")
        << replaced(comma, "\"txtGnv\": \"0,5\"", "\"txtGnv\": \"5e-1\"") << QString() << none
        << "1463,13 кгс·м = 14,35 кН·м"
        << "\"fields\" \"txtGnv\": «5e-1» читается в формате чисел этого компьютера (uk_UA) "
           "иначе, чем в файле";
}

void TestSameEverywhere::oneFileOneResult()
{
    QFETCH(QByteArray, json);
    QFETCH(QString, problem);
    QFETCH(QStringList, notANumber);
    QFETCH(QString, reported);
    QFETCH(QString, ukrainianWindow);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("опора.kelsa"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(json) == json.size());
    file.close();

    QByteArray firstJson;
    for (const QLocale &computer : { QLocale::c(), ru, ukrainian }) {
        QLocale::setDefault(computer);
        const QString where = QStringLiteral(" under ") + computer.name();

        // kelsa --compute: the same output on every computer.
        const CalculationFileReading asWritten = readCalculationFileAsWritten(path);
        QCOMPARE(problemOf(asWritten) + where, problem + where);
        const QByteArray output
            = problem.isEmpty() ? momentsJson(std::get<SavedCalculation>(asWritten)) : QByteArray();
        if (firstJson.isNull())
            firstJson = output;
        QVERIFY2(output == firstJson, qPrintable(output + where));
        QCOMPARE(refusedAsNoNumber(computeOutcomes(output)), notANumber);

        // kelsa --report: refused as the others are, or the moments in the file's separator.
        const QString pdf = dir.filePath(computer.name() + QStringLiteral(".pdf"));
        QCOMPARE(runReportCommand(path, pdf), problem.isEmpty() ? 0 : 1);
        if (problem.isEmpty()) {
            const QString text = test::pdfText(pdf);
            QVERIFY2(text.contains(reported), qPrintable(text + where));
        }

        // The window: the same moments from its own reading in its own locale, the labels as
        // its buttons would write them.
        const CalculationFileReading inWindow = readCalculationFile(path);
        const QString windowProblem
            = computer == ukrainian && !ukrainianWindow.isEmpty() ? ukrainianWindow : problem;
        QCOMPARE(problemOf(inWindow) + where, windowProblem + where);
        if (!windowProblem.isEmpty())
            continue;
        const SavedCalculation &saved = std::get<SavedCalculation>(inWindow);
        QCOMPARE(windowOutcomes(saved.calculation), computeOutcomes(output));
        for (const MomentInfo &info : moments()) {
            const QString &label = saved.result(info.moment).text;
            if (!label.isEmpty())
                QCOMPARE(label + where,
                    resultLabelText(computeMoment(saved.calculation, info.moment)) + where);
        }
    }
}

QTEST_MAIN(TestSameEverywhere)
#include "test_sameeverywhere.moc"
