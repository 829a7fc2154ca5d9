// SPDX-License-Identifier: GPL-3.0-or-later
// The window's calculation as a document: what counts as work that leaving would lose, with and
// without a file, and how the records a calculation keeps fit tables that have grown shorter.
#include "core/document/recordfit.h"
#include "core/document/unsavedwork.h"

#include <QTest>

#include <functional>

using namespace kelsa;

namespace
{

using Change = std::function<void(SavedCalculation &saved)>;

// Every table holds this many records unless a row says otherwise.
constexpr int kRecords = 20;

TableRecords recordsWith(std::initializer_list<std::pair<int, int>> tableRecords, int others)
{
    TableRecords records;
    records.fill(others);
    for (const auto &[table, record] : tableRecords)
        records[std::size_t(table)] = record;
    return records;
}

QStringList described(const std::vector<RecordBeyondTable> &beyond)
{
    QStringList texts;
    for (const RecordBeyondTable &record : beyond)
        texts << QStringLiteral("%1: %2 of %3")
                     .arg(record.table)
                     .arg(record.record)
                     .arg(record.count);
    return texts;
}

} // namespace

Q_DECLARE_METATYPE(Change)
Q_DECLARE_METATYPE(TableRecords)

class TestDocumentState : public QObject
{
    Q_OBJECT

private slots:
    void unsavedWork_data();
    void unsavedWork();
    void recordsFitTheTables_data();
    void recordsFitTheTables();
};

void TestDocumentState::unsavedWork_data()
{
    QTest::addColumn<Change>("change");
    QTest::addColumn<bool>("withoutFile");
    QTest::addColumn<bool>("withFile");

    const auto text = [](const char *field, const char *value) {
        return Change([=](SavedCalculation &saved) {
            QVERIFY(
                saved.calculation.setText(QString::fromLatin1(field), QString::fromUtf8(value)));
        });
    };
    const auto option = [](const char *name) {
        return Change([=](SavedCalculation &saved) {
            QVERIFY(saved.calculation.selectOption(QString::fromLatin1(name)));
        });
    };
    const auto record = [](std::size_t table, int number) {
        return Change([=](SavedCalculation &saved) { saved.records[table] = number; });
    };

    QTest::newRow("as at start") << Change([](SavedCalculation &) {}) << false << false;
    QTest::newRow("span typed") << text("Prolet", "50") << true << true;
    QTest::newRow("field emptied") << text("Prolet", "") << true << true;
    QTest::newRow("last grid cell typed") << text("txtF9", "2") << true << true;
    QTest::newRow("look-up source alone") << Change([](SavedCalculation &saved) {
        saved.calculation.sources[std::size_t(InputField::IceGp)]
            = LookupSource { QStringLiteral("Data2"), 1, QStringLiteral("М-95"),
                  QStringLiteral("Gp10") };
    }) << true << true;
    QTest::newRow("track section") << option("Option19") << true << true;
    QTest::newRow("ice wall") << option("Option4") << true << true;
    QTest::newRow("wind for Pкв") << option("Option13") << true << true;
    QTest::newRow("maximum wind") << option("Option12") << true << true;
    QTest::newRow("transition support") << option("Option21") << true << true;
    QTest::newRow("calculator") << option("Option23") << false << true;
    QTest::newRow("first table paged") << record(0, 2) << false << true;
    QTest::newRow("last table paged") << record(kReferenceTableCount - 1, 7) << false << true;
    QTest::newRow("paged and calculator") << Change([](SavedCalculation &saved) {
        saved.records[3] = 4;
        saved.calculation.selectOption(u"Option23");
    }) << false << true;
    QTest::newRow("paged and typed") << Change([](SavedCalculation &saved) {
        saved.records[3] = 4;
        saved.calculation.setText(u"txtVm", QStringLiteral("30"));
    }) << true << true;
    QTest::newRow("decimal separator")
        << Change([](SavedCalculation &saved) { saved.decimalSeparator = QLatin1Char('.'); })
        << false << true;
    QTest::newRow("result label") << Change([](SavedCalculation &saved) {
        saved.result(Moment::MaximumWind).text = QStringLiteral("0");
    }) << true << true;
    QTest::newRow("last result label") << Change([](SavedCalculation &saved) {
        saved.results.back().text = QStringLiteral("12,5");
    }) << true << true;
    QTest::newRow("what a result was computed from") << Change([](SavedCalculation &saved) {
        saved.result(Moment::IceWithWind).computedFrom = Calculation::atStart();
    }) << true << true;
    QTest::newRow("report author")
        << Change([](SavedCalculation &saved) { saved.title.author = QStringLiteral("Я"); }) << true
        << true;
    QTest::newRow("report support number")
        << Change([](SavedCalculation &saved) { saved.title.support = QStringLiteral("12"); })
        << true << true;
}

void TestDocumentState::unsavedWork()
{
    QFETCH(Change, change);
    QFETCH(bool, withoutFile);
    QFETCH(bool, withFile);
    const SavedCalculation baseline;
    SavedCalculation window = baseline;
    change(window);
    QCOMPARE(holdsUnsavedWork(window, baseline, false), withoutFile);
    QCOMPARE(holdsUnsavedWork(window, baseline, true), withFile);
    // Measured against a baseline that is not the start: the same change, the same answer.
    SavedCalculation edited = baseline;
    edited.calculation.setText(u"Text2", QStringLiteral("1000"));
    edited.records[5] = 3;
    SavedCalculation editedWindow = edited;
    change(editedWindow);
    QCOMPARE(holdsUnsavedWork(editedWindow, edited, false), withoutFile);
    QCOMPARE(holdsUnsavedWork(editedWindow, edited, true), withFile);
}

void TestDocumentState::recordsFitTheTables_data()
{
    QTest::addColumn<TableRecords>("kept");
    QTest::addColumn<TableRecords>("counts");
    QTest::addColumn<TableRecords>("shown");
    QTest::addColumn<QStringList>("beyond");

    const TableRecords first = recordsWith({}, 1);
    const TableRecords full = recordsWith({}, kRecords);
    QTest::newRow("first records") << first << full << first << QStringList();
    QTest::newRow("every table at its last record") << full << full << full << QStringList();
    QTest::newRow("one past the last")
        << recordsWith({ { 1, kRecords + 1 } }, 1) << full << recordsWith({ { 1, kRecords } }, 1)
        << QStringList { "1: 21 of 20" };
    QTest::newRow("far beyond a short table")
        << recordsWith({ { 1, 500 } }, 1) << recordsWith({ { 1, 12 } }, kRecords)
        << recordsWith({ { 1, 12 } }, 1) << QStringList { "1: 500 of 12" };
    QTest::newRow("first table") << recordsWith({ { 0, 30 } }, 1) << full
                                 << recordsWith({ { 0, kRecords } }, 1)
                                 << QStringList { "0: 30 of 20" };
    QTest::newRow("last table") << recordsWith({ { 9, 30 } }, 1) << full
                                << recordsWith({ { 9, kRecords } }, 1)
                                << QStringList { "9: 30 of 20" };
    QTest::newRow("two tables, in the catalogue's order")
        << recordsWith({ { 7, 25 }, { 2, 40 } }, 3) << full
        << recordsWith({ { 7, kRecords }, { 2, kRecords } }, 3)
        << QStringList { "2: 40 of 20", "7: 25 of 20" };
    QTest::newRow("table of one record, first record")
        << first << recordsWith({ { 4, 1 } }, kRecords) << first << QStringList();
    QTest::newRow("table of one record, second record")
        << recordsWith({ { 4, 2 } }, 1) << recordsWith({ { 4, 1 } }, kRecords) << first
        << QStringList { "4: 2 of 1" };
    QTest::newRow("table without records")
        << first << recordsWith({ { 6, 0 } }, kRecords) << recordsWith({ { 6, 0 } }, 1)
        << QStringList { "6: 1 of 0" };
    QTest::newRow("unreadable table keeps its record")
        << recordsWith({ { 6, 500 } }, 1) << recordsWith({ { 6, -1 } }, kRecords)
        << recordsWith({ { 6, 500 } }, 1) << QStringList();
}

void TestDocumentState::recordsFitTheTables()
{
    QFETCH(TableRecords, kept);
    QFETCH(TableRecords, counts);
    QFETCH(TableRecords, shown);
    QFETCH(QStringList, beyond);
    const FittedRecords fitted = fitRecords(kept, counts);
    QCOMPARE(QList<int>(fitted.shown.begin(), fitted.shown.end()),
        QList<int>(shown.begin(), shown.end()));
    QCOMPARE(described(fitted.beyond), beyond);
}

QTEST_GUILESS_MAIN(TestDocumentState)
#include "test_documentstate.moc"
