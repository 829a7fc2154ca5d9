// SPDX-License-Identifier: GPL-3.0-or-later
// The help page's example checked against the made-up fixture catalogue in the tables folder:
// the window, the report, kelsa --compute and kelsa --batch name the same governing moment, the
// same type and the same utilisation; without a catalogue each says «нет каталога опор».
#include "support/fixtures.h"
#include "support/formharness.h"
#include "support/helpexample.h"

#include "check/supportcheckbar.h"
#include "core/batch/batchrun.h"
#include "core/check/checktext.h"
#include "core/report/supportcheckreport.h"
#include "program/computecommand.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

using namespace kelsa;

namespace
{

const QLocale ru(QLocale::Russian, QLocale::Russia);

// The example as one row of a schedule, every field by its control name.
QByteArray scheduleOf(const Calculation &calculation)
{
    QStringList names, texts;
    for (const FieldInfo &info : inputFields()) {
        names << QString::fromLatin1(info.name);
        texts << calculation.text(info.field);
    }
    return (names.join(QLatin1Char(';')) + QLatin1Char('\n') + texts.join(QLatin1Char(';'))
        + QLatin1Char('\n'))
        .toUtf8();
}

} // namespace

class TestCheckAgrees : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(ru); }
    void everyPlaceAgrees_data();
    void everyPlaceAgrees();
};

void TestCheckAgrees::everyPlaceAgrees_data()
{
    QTest::addColumn<bool>("withCatalogue");
    QTest::newRow("made-up catalogue in the folder") << true;
    QTest::newRow("no catalogue") << false;
}

void TestCheckAgrees::everyPlaceAgrees()
{
    QFETCH(bool, withCatalogue);
    QTemporaryDir folder;
    const QDir samples(QStringLiteral(KELSA_SAMPLE_DATA));
    for (const QString &name : samples.entryList({ QStringLiteral("т*.xls") }))
        QFile::copy(samples.filePath(name), folder.filePath(name));
    if (withCatalogue)
        QVERIFY(QFile::copy(test::fixture(QStringLiteral("каталог опор.xlsx")),
            folder.filePath(QStringLiteral("опоры.xlsx"))));
    const SavedCalculation saved = test::helpPageComputed();
    const SupportCatalogue catalogue = readSupportCatalogue(folder.path());

    // The window.
    Form1Services services;
    services.tablesFolder = { folder.path(), false, {} };
    test::FormHarness h(services);
    h.form->restoreCalculation(saved);
    const auto *bar = h.form->findChild<SupportCheckBar *>();
    const SupportCheck &window = bar->check();
    const QString windowText = h.label("supportCheckText")->text();

    // kelsa --compute.
    const QJsonObject check
        = QJsonDocument::fromJson(momentsJson(saved, catalogue)).object().value("check").toObject();

    // The report.
    ReportInput input = test::helpPageReport();
    input.saved = saved;
    input.catalogue = catalogue;
    std::vector<ReportBlock> report;
    appendSupportCheck(report, input);
    const QString verdict = report.back().text;

    // kelsa --batch.
    QBuffer in, out;
    in.setData(scheduleOf(saved.calculation));
    in.open(QIODevice::ReadOnly);
    out.open(QIODevice::WriteOnly);
    BatchSettings settings { ru, {} };
    settings.catalogue = catalogue;
    QVERIFY(std::holds_alternative<BatchSummary>(runBatch(in, out, settings)));
    const QList<QByteArray> lines = out.data().split('\n');
    const QStringList header = QString::fromUtf8(lines[0]).split(QLatin1Char(';'));
    const QStringList row = QString::fromUtf8(lines[1]).split(QLatin1Char(';'));
    const auto batch = [&](const char *column) {
        return row.value(header.indexOf(QString::fromLatin1(column)));
    };

    QVERIFY(window.governing);
    const QString governing = QString::fromLatin1(momentInfo(window.governing->moment).label);
    QCOMPARE(batch("governing"), governing);
    if (!withCatalogue) {
        QVERIFY2(windowText.endsWith(" · нет каталога опор"), qPrintable(windowText));
        QCOMPARE(check.value("error").toString(), "no-catalogue");
        QVERIFY(check.value("message").toString().startsWith("нет каталога опор: "));
        QVERIFY2(verdict.contains("нет каталога опор"), qPrintable(verdict));
        QCOMPARE(batch("utilisation"), QString());
        return;
    }
    QCOMPARE(check.value("governing").toString(), governing);
    QCOMPARE(window.type->name, QStringLiteral("Проба-25"));
    QCOMPARE(check.value("type").toString(), window.type->name);
    QCOMPARE(batch("supportType"), window.type->name);
    QCOMPARE(check.value("utilisation").toDouble(), window.utilisation);
    const QString percent = percentText(window.utilisation, 1, ru);
    QCOMPARE(batch("utilisation") + QStringLiteral(" %"), percent);
    QCOMPARE(verdict,
        QStringLiteral("Вывод: опора типа Проба-25 выдерживает расчетный момент, использование %1.")
            .arg(percent));
    QCOMPARE(h.label("supportCheckPercent")->text(), percentText(window.utilisation, 0, ru));
}

QTEST_MAIN(TestCheckAgrees)
#include "test_checkagrees.moc"
