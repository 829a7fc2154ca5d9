// SPDX-License-Identifier: GPL-3.0-or-later
// The check of a support type: the governing moment, the utilisation in each unit, the choice and
// the pick, its refusals and their words; the catalogue as read from its workbooks. Every type
// name and Mн here is made up for the tests.
#include "core/check/checktext.h"
#include "core/check/supportcatalogue.h"
#include "core/check/supportcheck.h"

#include "support/fixtures.h"

#include <QTest>

using namespace kelsa;
using Error = SupportCheck::Error;
using Kind = CatalogueRowProblem::Kind;

static const QLocale ru(QLocale::Russian, QLocale::Russia);

namespace
{

SupportCatalogue catalogue(MomentUnit unit, QList<QPair<const char *, double>> types)
{
    SupportCatalogue made;
    made.state = SupportCatalogue::State::Ok;
    made.filePath = QStringLiteral("/tables/опоры.xlsx");
    made.unit = unit;
    int row = 2;
    for (const auto &[name, normative] : types)
        made.types.append({ QString::fromUtf8(name), normative, {}, {}, row++ });
    return made;
}

// A moment by its label, "-stale" after the label marks it stale.
std::vector<ComputedMoment> momentsOf(QList<QPair<const char *, double>> moments)
{
    std::vector<ComputedMoment> made;
    for (const auto &[label, value] : moments) {
        const QString name = QString::fromLatin1(label);
        const bool stale = name.endsWith(QLatin1String("-stale"));
        made.push_back(
            { *momentForLabel(QString(name).remove(QLatin1String("-stale"))), value, stale });
    }
    return made;
}

QString labelOf(Moment moment)
{
    return QString::fromLatin1(momentInfo(moment).label);
}

} // namespace

class TestSupportCheck : public QObject
{
    Q_OBJECT

private slots:
    void check_data();
    void check();
    void percent_data();
    void percent();
    void unitInHeading_data();
    void unitInHeading();
    void catalogueState_data();
    void catalogueState();
    void badRows_data();
    void badRows();
    void words_data();
    void words();
    void startUpReport_data();
    void startUpReport();
};

void TestSupportCheck::check_data()
{
    QTest::addColumn<SupportCatalogue>("catalogue");
    QTest::addColumn<std::vector<ComputedMoment>>("moments");
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("error");
    QTest::addColumn<QString>("governing"); // label, empty for none
    QTest::addColumn<QString>("type"); // empty for none
    QTest::addColumn<double>("utilisation");
    QTest::addColumn<QStringList>("stale");

    using U = MomentUnit;
    const SupportCatalogue kgf = catalogue(U::KilogramForceMetre,
        { { "Проба-30", 3000 }, { "Проба-15", 1500 }, { "Проба-20", 2000 },
            { "Проба-20б", 2000 } });
    const auto one = [](double value) { return momentsOf({ { "Label5", value } }); };

    QTest::newRow("governing: the largest |M|, a negative one")
        << kgf << momentsOf({ { "Label1", 1000 }, { "Label5", -1200 }, { "Label10", 900 } }) << ""
        << ""
        << "Label5"
        << "Проба-15" << 0.8 << QStringList();
    QTest::newRow("governing: a tie goes to the first label")
        << kgf << momentsOf({ { "Label1", -1200 }, { "Label5", 1200 } }) << ""
        << ""
        << "Label1"
        << "Проба-15" << 0.8 << QStringList();
    QTest::newRow("stale moment left out though larger")
        << kgf << momentsOf({ { "Label1", 1200 }, { "Label5-stale", 2900 } }) << ""
        << ""
        << "Label1"
        << "Проба-15" << 0.8 << QStringList { "Label5" };
    QTest::newRow("only stale moments: no-moment")
        << kgf << momentsOf({ { "Label5-stale", 1200 } }) << ""
        << "no-moment"
        << ""
        << "" << 0.0 << QStringList { "Label5" };
    QTest::newRow("no moment computed") << kgf << std::vector<ComputedMoment>() << ""
                                        << "no-moment"
                                        << ""
                                        << "" << 0.0 << QStringList();
    QTest::newRow("no catalogue, governing still found") << SupportCatalogue() << one(1200) << ""
                                                         << "no-catalogue"
                                                         << "Label5"
                                                         << "" << 0.0 << QStringList();
    SupportCatalogue noUnit = kgf;
    noUnit.state = SupportCatalogue::State::NoUnit;
    QTest::newRow("catalogue without unit is not used") << noUnit << one(1200) << ""
                                                        << "no-catalogue"
                                                        << "Label5"
                                                        << "" << 0.0 << QStringList();
    QTest::newRow("a catalogue said to be read but holding no type is not used")
        << catalogue(U::KilogramForceMetre, {}) << one(1200) << ""
        << "no-catalogue"
        << "Label5"
        << "" << 0.0 << QStringList();
    QTest::newRow("no catalogue comes before no moment")
        << SupportCatalogue() << std::vector<ComputedMoment>() << ""
        << "no-catalogue"
        << ""
        << "" << 0.0 << QStringList();

    QTest::newRow("pick: the smallest Mн that holds, not the first")
        << kgf << one(1600) << ""
        << ""
        << "Label5"
        << "Проба-20" << 0.8 << QStringList();
    QTest::newRow("pick: exactly 100 % holds") << kgf << one(1500) << ""
                                               << ""
                                               << "Label5"
                                               << "Проба-15" << 1.0 << QStringList();
    QTest::newRow("pick: just past 100 % takes the next")
        << kgf << one(1500.0001) << ""
        << ""
        << "Label5"
        << "Проба-20" << 1500.0001 / 2000 << QStringList();
    QTest::newRow("pick: equal Mн, the first in the catalogue")
        << kgf << one(-1900) << ""
        << ""
        << "Label5"
        << "Проба-20" << 0.95 << QStringList();
    QTest::newRow("none holds: strongest shown, error")
        << kgf << one(3000.0001) << ""
        << "none-holds"
        << "Label5"
        << "Проба-30" << 3000.0001 / 3000 << QStringList();
    QTest::newRow("none holds: exactly the strongest still holds")
        << kgf << one(3000) << ""
        << ""
        << "Label5"
        << "Проба-30" << 1.0 << QStringList();

    QTest::newRow("chosen type that holds") << kgf << one(1200) << "Проба-30"
                                            << ""
                                            << "Label5"
                                            << "Проба-30" << 0.4 << QStringList();
    QTest::newRow("chosen type that does not hold is no error")
        << kgf << one(1800) << "Проба-15"
        << ""
        << "Label5"
        << "Проба-15" << 1.2 << QStringList();
    QTest::newRow("chosen by another case and blanks") << kgf << one(1200) << "  проба-30 "
                                                       << ""
                                                       << "Label5"
                                                       << "Проба-30" << 0.4 << QStringList();
    QTest::newRow("chosen type not in the catalogue") << kgf << one(1200) << "Проба-99"
                                                      << "unknown-type"
                                                      << "Label5"
                                                      << "" << 0.0 << QStringList();
    QTest::newRow("unknown type comes before no moment")
        << kgf << std::vector<ComputedMoment>() << "Проба-99"
        << "unknown-type"
        << ""
        << "" << 0.0 << QStringList();

    QTest::newRow("unit kN·m: 1000 kgf·m against 9,80665 kN·m")
        << catalogue(U::KilonewtonMetre, { { "Проба-к", 9.80665 } }) << one(1000) << ""
        << ""
        << "Label5"
        << "Проба-к" << 1.0 << QStringList();
    QTest::newRow("unit tf·m: 1500 kgf·m against 1,5 tf·m")
        << catalogue(U::TonneForceMetre, { { "Проба-т", 1.5 } }) << one(1500) << ""
        << ""
        << "Label5"
        << "Проба-т" << 1.0 << QStringList();
    QTest::newRow("unit tf·m: one past is none-holds")
        << catalogue(U::TonneForceMetre, { { "Проба-т", 1.5 } }) << one(1500.001) << ""
        << "none-holds"
        << "Label5"
        << "Проба-т" << 1500.001 / 1500 << QStringList();
}

void TestSupportCheck::check()
{
    QFETCH(SupportCatalogue, catalogue);
    QFETCH(std::vector<ComputedMoment>, moments);
    QFETCH(QString, chosen);
    QFETCH(QString, error);
    QFETCH(QString, governing);
    QFETCH(QString, type);
    QFETCH(double, utilisation);
    QFETCH(QStringList, stale);

    const SupportCheck check = checkSupport(catalogue, moments, chosen);
    QCOMPARE(checkErrorCode(check.error), error);
    QCOMPARE(check.governing ? labelOf(check.governing->moment) : QString(), governing);
    QCOMPARE(check.type ? check.type->name : QString(), type);
    if (check.type)
        QVERIFY2(qAbs(check.utilisation - utilisation) < 1e-12,
            qPrintable(QString::number(check.utilisation, 'g', 17)));
    QStringList staleLabels;
    for (const Moment moment : check.stale)
        staleLabels << labelOf(moment);
    QCOMPARE(staleLabels, stale);
    QCOMPARE(check.picked, check.type && chosen.isEmpty());
    QCOMPARE(check.holds(), error.isEmpty() && utilisation <= 1);
}

void TestSupportCheck::percent_data()
{
    QTest::addColumn<double>("utilisation");
    QTest::addColumn<QString>("whole");
    QTest::addColumn<QString>("tenths");
    QTest::addColumn<UtilisationLevel>("level");

    const auto G = UtilisationLevel::Green, A = UtilisationLevel::Amber, R = UtilisationLevel::Red;
    QTest::newRow("7 % exactly is not 8") << 0.07 << "7 %"
                                          << "7,0 %" << G;
    QTest::newRow("rounded up") << 0.3086 << "31 %"
                                << "30,9 %" << G;
    QTest::newRow("89,9 %") << 0.899 << "90 %"
                            << "89,9 %" << G;
    QTest::newRow("90 % is green") << 0.9 << "90 %"
                                   << "90,0 %" << G;
    QTest::newRow("just past 90 % is amber") << 0.9000001 << "91 %"
                                             << "90,1 %" << A;
    QTest::newRow("90,1 %") << 0.901 << "91 %"
                            << "90,1 %" << A;
    QTest::newRow("100 % is amber") << 1.0 << "100 %"
                                    << "100,0 %" << A;
    QTest::newRow("just past 100 % is red") << 1.0000001 << "101 %"
                                            << "100,1 %" << R;
    QTest::newRow("over 1000 % without grouping") << 12.3456 << "1235 %"
                                                  << "1234,6 %" << R;
}

void TestSupportCheck::percent()
{
    QFETCH(double, utilisation);
    QFETCH(QString, whole);
    QFETCH(QString, tenths);
    QFETCH(UtilisationLevel, level);
    QCOMPARE(percentText(utilisation, 0, ru), whole);
    QCOMPARE(percentText(utilisation, 1, ru), tenths);
    QCOMPARE(utilisationLevel(utilisation), level);
}

void TestSupportCheck::unitInHeading_data()
{
    QTest::addColumn<QString>("heading");
    QTest::addColumn<int>("unit"); // -1: none

    const int kN = int(MomentUnit::KilonewtonMetre), kgf = int(MomentUnit::KilogramForceMetre),
              tf = int(MomentUnit::TonneForceMetre);
    QTest::newRow("kN·m after a caption") << "Mн, кН·м" << kN;
    QTest::newRow("kgf·m with an asterisk") << "Mн (кгс*м)" << kgf;
    QTest::newRow("tf·m, capitals and a full stop") << "ТС.М" << tf;
    QTest::newRow("no sign between") << "кНм" << kN;
    QTest::newRow("the same unit twice") << "кН·м, т.е. кН·м" << kN;
    QTest::newRow("no unit") << "Mн" << -1;
    QTest::newRow("empty") << "" << -1;
    QTest::newRow("two units") << "кН·м или кгс·м" << -1;
    QTest::newRow("part of a longer word") << "мкН·м" << -1;
    QTest::newRow("millimetres") << "кН·мм" << -1;
    QTest::newRow("latin letters") << "kN·m" << -1;
}

void TestSupportCheck::unitInHeading()
{
    QFETCH(QString, heading);
    QFETCH(int, unit);
    const auto found = kelsa::unitInHeading(heading);
    QCOMPARE(found ? int(*found) : -1, unit);
}

void TestSupportCheck::catalogueState_data()
{
    QTest::addColumn<int>("status"); // SheetReadResult::Status
    QTest::addColumn<QList<QStringList>>("records");
    QTest::addColumn<SupportCatalogue::State>("state");

    using S = SheetReadResult::Status;
    using State = SupportCatalogue::State;
    const QStringList heading { "Тип", "Mн, кН·м" };
    QTest::newRow("no file: absent, no error")
        << int(S::FileMissing) << QList<QStringList>() << State::Absent;
    QTest::newRow("damaged") << int(S::Damaged) << QList<QStringList>() << State::Unreadable;
    QTest::newRow("empty sheet") << int(S::Ok) << QList<QStringList>() << State::NoUnit;
    QTest::newRow("one column") << int(S::Ok) << QList<QStringList> { { "Тип" }, { "Проба" } }
                                << State::NoUnit;
    QTest::newRow("B heading without unit")
        << int(S::Ok) << QList<QStringList> { { "Тип", "Mн" }, { "Проба", "5" } } << State::NoUnit;
    QTest::newRow("heading only") << int(S::Ok) << QList<QStringList> { heading } << State::Empty;
    QTest::newRow("only bad rows")
        << int(S::Ok) << QList<QStringList> { heading, { "Проба", "0" } } << State::Empty;
    QTest::newRow("one type") << int(S::Ok) << QList<QStringList> { heading, { "Проба", "5" } }
                              << State::Ok;
}

void TestSupportCheck::catalogueState()
{
    QFETCH(int, status);
    QFETCH(QList<QStringList>, records);
    QFETCH(SupportCatalogue::State, state);
    SheetReadResult sheet;
    sheet.status = SheetReadResult::Status(status);
    sheet.records = records;
    QCOMPARE(supportCatalogueFrom(QStringLiteral("опоры.xls"), sheet, ru).state, state);
}

void TestSupportCheck::badRows_data()
{
    QTest::addColumn<QString>("file");
    for (const char *file : { "каталог с плохими строками.xls", "каталог с плохими строками.xlsx",
             "каталог с плохими строками.ods" })
        QTest::newRow(file) << test::fixture(QString::fromUtf8(file));
}

// The first sheet, in kgf·m; each row that is left out is listed with its sheet row.
void TestSupportCheck::badRows()
{
    QFETCH(QString, file);
    const SheetReadResult sheet = readSheets({ { file, QString(), 0, true } }, ru).constFirst();
    const SupportCatalogue read = supportCatalogueFrom(file, sheet, ru);
    QCOMPARE(read.state, SupportCatalogue::State::Ok);
    QCOMPARE(read.unit, MomentUnit::KilogramForceMetre);
    const QList<SupportType> types {
        { "Проба-1", 3000, "у пяты", "выдумано для тестов", 2 },
        { "Проба-5", 4500.5, {}, {}, 9 },
        { "Проба-6", 6000, {}, "табл. 0", 10 },
    };
    QCOMPARE(read.types, types);
    const QList<CatalogueRowProblem> problems {
        { 4, Kind::NoName, {}, 0 },
        { 5, Kind::NotPositive, "много", 0 },
        { 6, Kind::NotPositive, "0", 0 },
        { 7, Kind::NameTwice, "проба-1", 2 },
        { 8, Kind::NotPositive, "-5", 0 },
        { 11, Kind::NoName, {}, 0 },
        { 12, Kind::NotPositive, {}, 0 },
    };
    QCOMPARE(read.problems, problems);
}

void TestSupportCheck::words_data()
{
    QTest::addColumn<SupportCatalogue>("catalogue");
    QTest::addColumn<std::vector<ComputedMoment>>("moments");
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("line"); // text, percent and note as the status bar joins them
    QTest::addColumn<QString>("message"); // checkErrorText

    const SupportCatalogue kn = catalogue(MomentUnit::KilonewtonMetre, { { "СС-1", 59 } });
    const auto help = momentsOf({ { "Label5", 1856.95 } });
    QTest::newRow("holds")
        << kn << help << ""
        << "Расчетный момент 1856,95 кгс·м = 18,21 кН·м (Мо в max) · тип СС-1 · Mн 59 кН·м · 31 %"
        << "";
    QTest::newRow("stale moment named after the percentage")
        << kn << momentsOf({ { "Label5", 1856.95 }, { "Label10-stale", 100 } }) << ""
        << "Расчетный момент 1856,95 кгс·м = 18,21 кН·м (Мо в max) · тип СС-1 · Mн 59 кН·м · "
           "31 % не учтены устаревшие моменты: переходная, вг, от опоры на путь"
        << "";
    QTest::newRow("none holds")
        << catalogue(MomentUnit::KilonewtonMetre, { { "СС-1", 15 } }) << help << ""
        << "Расчетный момент 1856,95 кгс·м = 18,21 кН·м (Мо в max) · ни один тип не "
           "выдерживает: наибольший Mн 15 кН·м (тип СС-1) · 122 %"
        << "ни один тип каталога опор не выдерживает расчетный момент 1856,95 кгс·м = 18,21 "
           "кН·м (Мо в max): наибольший Mн 15 кН·м (тип СС-1), использование 122 %";
    QTest::newRow("unknown type")
        << kn << help << "СС-9"
        << "Расчетный момент 1856,95 кгс·м = 18,21 кН·м (Мо в max) · тип «СС-9» не найден в "
           "каталоге опор"
        << "тип «СС-9» не найден в каталоге опор /tables/опоры.xlsx";
    QTest::newRow("no catalogue")
        << SupportCatalogue() << help << ""
        << "Расчетный момент 1856,95 кгс·м = 18,21 кН·м (Мо в max) · нет каталога опор: "
           "положите книгу опоры.xlsx (или .xls, .ods) с типами опор и их Mн в папку "
           "справочных таблиц"
        << "нет каталога опор: положите книгу опоры.xlsx (или .xls, .ods) с типами опор и их "
           "Mн в папку справочных таблиц";
    SupportCatalogue noUnit = kn;
    noUnit.state = SupportCatalogue::State::NoUnit;
    noUnit.unitHeading = QStringLiteral("Mн");
    QTest::newRow("catalogue without unit")
        << noUnit << std::vector<ComputedMoment>() << ""
        << "нет каталога опор: в заголовке столбца B каталога опор опоры.xlsx («Mн») не названа "
           "единица Mн: «кН·м», «кгс·м» или «тс·м»; каталог не используется"
        << "нет каталога опор: в заголовке столбца B каталога опор опоры.xlsx («Mн») не "
           "названа единица Mн: «кН·м», «кгс·м» или «тс·м»; каталог не используется";
    SupportCatalogue locked = kn;
    locked.state = SupportCatalogue::State::Unreadable;
    locked.readStatus = SheetReadResult::Status::Password;
    QTest::newRow("catalogue that cannot be read")
        << locked << std::vector<ComputedMoment>() << ""
        << "нет каталога опор: каталог опор опоры.xlsx не читается: книга защищена паролем"
        << "нет каталога опор: каталог опор опоры.xlsx не читается: книга защищена паролем";
    SupportCatalogue empty = kn;
    empty.state = SupportCatalogue::State::Empty;
    QTest::newRow("catalogue without a type")
        << empty << std::vector<ComputedMoment>() << ""
        << "нет каталога опор: в каталоге опор опоры.xlsx нет ни одного типа"
        << "нет каталога опор: в каталоге опор опоры.xlsx нет ни одного типа";
    QTest::newRow("no moment") << kn << std::vector<ComputedMoment>() << ""
                               << "Расчетный момент: нет — ни один момент не вычислен"
                               << "ни один момент не вычислен";
    QTest::newRow("only stale moments")
        << kn << momentsOf({ { "Label1-stale", 100 }, { "Label5-stale", 100 } }) << ""
        << "Расчетный момент: нет — исходные данные изменены после расчета моментов (Мо вг, Мо "
           "в max); пересчитайте их"
        << "исходные данные изменены после расчета моментов (Мо вг, Мо в max); пересчитайте их";
}

void TestSupportCheck::words()
{
    QFETCH(SupportCatalogue, catalogue);
    QFETCH(std::vector<ComputedMoment>, moments);
    QFETCH(QString, chosen);
    QFETCH(QString, line);
    QFETCH(QString, message);
    const SupportCheck check = checkSupport(catalogue, moments, chosen);
    const CheckLine shown = checkLine(check, catalogue, ru);
    QStringList parts { shown.text, shown.percent, shown.note };
    parts.removeAll(QString());
    QCOMPARE(parts.join(QLatin1Char(' ')), line);
    QCOMPARE(checkErrorText(check, catalogue, ru), message);
}

void TestSupportCheck::startUpReport_data()
{
    QTest::addColumn<SupportCatalogue>("catalogue");
    QTest::addColumn<QString>("report");

    const SupportCatalogue sound = catalogue(MomentUnit::KilonewtonMetre, { { "СС-1", 59 } });
    QTest::newRow("no catalogue: not an error") << SupportCatalogue() << "";
    QTest::newRow("sound catalogue") << sound << "";
    SupportCatalogue withBadRow = sound;
    withBadRow.problems = { { 4, Kind::NoName, {}, 0 } };
    QTest::newRow("a row left out") << withBadRow
                                    << "В каталоге опор опоры.xlsx пропущены строки:\n"
                                       "строка 4: нет названия типа";
    SupportCatalogue noUnit = sound;
    noUnit.state = SupportCatalogue::State::NoUnit;
    noUnit.unitHeading = QStringLiteral("Mн");
    QTest::newRow("no unit") << noUnit
                             << "В заголовке столбца B каталога опор опоры.xlsx («Mн») не названа "
                                "единица Mн: «кН·м», «кгс·м» или «тс·м»; каталог не используется.";
    SupportCatalogue allBad = sound;
    allBad.state = SupportCatalogue::State::Empty;
    allBad.types.clear();
    allBad.problems = { { 2, Kind::NotPositive, QStringLiteral("0"), 0 } };
    QTest::newRow("every row left out")
        << allBad
        << "В каталоге опор опоры.xlsx нет ни одного типа.\nВ каталоге опор опоры.xlsx пропущены "
           "строки:\nстрока 2: Mн «0» — не положительное число";
}

void TestSupportCheck::startUpReport()
{
    QFETCH(SupportCatalogue, catalogue);
    QFETCH(QString, report);
    QCOMPARE(catalogueReport(catalogue), report);
}

QTEST_GUILESS_MAIN(TestSupportCheck)
#include "test_supportcheck.moc"
