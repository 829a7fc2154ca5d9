// SPDX-License-Identifier: GPL-3.0-or-later
// The schedule's table model: its columns and headings, what a row takes from the common data,
// results that follow every edit (one row, or all of them), a cell that cannot be read, the
// check's cells and colours on both sides of 90 % and 100 %, sorting by value and the filters.
#include "support/lineschedule.h"

#include "core/calc/momentcases.h"
#include "core/check/supportcheck.h"
#include "core/schedule/schedulefilter.h"
#include "core/schedule/schedulemodel.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QTest>

#include <cmath>

using namespace kelsa;
using kelsa::test::catalogueOf;
using kelsa::test::lineSchedule;

Q_DECLARE_METATYPE(kelsa::ScheduleEdit)
Q_DECLARE_METATYPE(kelsa::ScheduleFilterModel::Filter)

namespace
{

// The columns of the line schedule.
constexpr int kRadius = 2, kSpan = 3, kFirstMoment = 4, kGoverning = 14, kType = 15,
              kUtilisation = 16, kErrors = 17, kColumns = 19;

using Moments = std::array<std::optional<double>, kMomentCount>;

// The moments the main window shows for the same inputs.
Moments windowMoments(const Calculation &calculation, const QLocale &locale)
{
    Moments shown;
    for (const MomentOutcome &outcome : computeMoments(calculation, locale))
        if (outcome.inputsAccepted() && outcome.result.outcome == MomentResult::Outcome::Value)
            shown[std::size_t(outcome.moment)] = outcome.result.moment;
    return shown;
}

bool anyMoment(const ScheduleRowResult &result)
{
    return std::any_of(result.moments.begin(), result.moments.end(),
        [](const std::optional<double> &m) { return m.has_value(); });
}

// The governing moment of the line's first support, kgf·m.
double firstGoverning()
{
    const Schedule schedule = lineSchedule();
    const ScheduleRowResult result = computeScheduleRow(schedule, 0, {});
    return std::abs(*result.moments[std::size_t(*result.governing)]);
}

// Mн (kgf·m) that the moment uses to `ratio`, exactly where the division allows.
double normativeFor(double moment, double ratio)
{
    double normative = moment / ratio;
    for (int step = 0; step < 16 && moment / normative != ratio; ++step)
        normative = std::nextafter(normative, moment / normative > ratio ? 1e300 : 0.0);
    return normative;
}

SupportType type(const char *name, double normative)
{
    return { QString::fromUtf8(name), normative, {}, {}, 2 };
}

} // namespace

class TestScheduleModel : public QObject
{
    Q_OBJECT

private slots:
    void columns_data();
    void columns();
    void fieldFallsBackOnCommonData_data();
    void fieldFallsBackOnCommonData();
    void sectionFallsBackOnCommonData_data();
    void sectionFallsBackOnCommonData();
    void resultsFollowEdits_data();
    void resultsFollowEdits();
    void deferredComputation_data();
    void deferredComputation();
    void cellThatCannotBeRead_data();
    void cellThatCannotBeRead();
    void utilisation_data();
    void utilisation();
    void sortsByValue_data();
    void sortsByValue();
    void filters_data();
    void filters();
};

void TestScheduleModel::columns_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("name"); // the tooltip and the name in files
    QTest::addColumn<bool>("editable");

    QTest::newRow("support") << 0 << "Опора"
                             << "support" << true;
    QTest::newRow("section") << 1 << "Участок пути"
                             << "section" << true;
    QTest::newRow("first field column: radius") << kRadius << "R m"
                                                << "Text4" << true;
    QTest::newRow("second field column: span") << kSpan << "Длина прол., м"
                                               << "Prolet" << true;
    QTest::newRow("first moment") << kFirstMoment << "Мо вг, кгс·м"
                                  << "Label1" << false;
    QTest::newRow("last moment") << kGoverning - 1
                                 << "Переходная опора, Максимальный ветер: Ветер от пути на "
                                    "опору-ПЯТА, кгс·м"
                                 << "Label31" << false;
    QTest::newRow("governing") << kGoverning << "Расчетный момент"
                               << "governing" << false;
    QTest::newRow("support type") << kType << "Тип опоры"
                                  << "supportType" << true;
    QTest::newRow("utilisation") << kUtilisation << "Использование, %"
                                 << "utilisation" << false;
    QTest::newRow("errors") << kErrors << "Ошибки"
                            << "errors" << false;
    QTest::newRow("notes, the last") << kColumns - 1 << "Примечания"
                                     << "notes" << false;
    QTest::newRow("past the last") << kColumns << ""
                                   << "" << false;
    QTest::newRow("before the first") << -1 << ""
                                      << "" << false;
}

void TestScheduleModel::columns()
{
    QFETCH(int, column);
    QFETCH(QString, caption);
    QFETCH(QString, name);
    QFETCH(bool, editable);
    ScheduleModel model;
    model.setSchedule(lineSchedule());
    QCOMPARE(model.columnCount(), kColumns);
    QCOMPARE(model.headerData(column, Qt::Horizontal).toString(), caption);
    QCOMPARE(model.headerData(column, Qt::Horizontal, Qt::ToolTipRole).toString(), name);
    QCOMPARE(
        model.headerData(column, Qt::Horizontal, ScheduleModel::ColumnNameRole).toString(), name);
    QCOMPARE(model.flags(model.index(0, column)).testFlag(Qt::ItemIsEditable), editable);
    QCOMPARE(model.cellOf(column).has_value(), editable);
    if (const auto cell = model.cellOf(column))
        QCOMPARE(model.columnOf(*cell), column);
}

void TestScheduleModel::fieldFallsBackOnCommonData_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("rowText");
    QTest::addColumn<QString>("commonText");
    QTest::addColumn<QString>("read"); // what the row's computation reads

    QTest::newRow("a column: the row's text") << "Prolet"
                                              << "55"
                                              << "50"
                                              << "55";
    QTest::newRow("a column left empty: empty, not the common text") << "Prolet"
                                                                     << ""
                                                                     << "50"
                                                                     << "";
    // A text left in the row by a column taken away must not be read.
    QTest::newRow("no column: the common text") << "txtVm"
                                                << "25"
                                                << "35"
                                                << "35";
    QTest::newRow("no column, common text empty") << "Text5"
                                                  << "0,3"
                                                  << ""
                                                  << "";
}

void TestScheduleModel::fieldFallsBackOnCommonData()
{
    QFETCH(QString, field);
    QFETCH(QString, rowText);
    QFETCH(QString, commonText);
    QFETCH(QString, read);
    const InputField f = *inputFieldNamed(field);
    Schedule schedule = lineSchedule();
    schedule.common.text(f) = commonText;
    schedule.rows[0].field(f) = rowText;
    ScheduleModel model;
    QAbstractItemModelTester tester(&model);
    model.setSchedule(schedule);

    QCOMPARE(model.schedule().calculation(0).text(f), read);
    Calculation expected = schedule.common;
    expected.text(InputField::CurveRadius) = schedule.rows[0].field(InputField::CurveRadius);
    expected.text(InputField::SpanLength) = schedule.rows[0].field(InputField::SpanLength);
    expected.text(f) = read;
    expected.setOption(OptionGroup::TrackSection, 0);
    QVERIFY(model.result(0).moments == windowMoments(expected, schedule.locale()));
}

void TestScheduleModel::sectionFallsBackOnCommonData_data()
{
    QTest::addColumn<QString>("rowSection");
    QTest::addColumn<QString>("commonOption");
    QTest::addColumn<int>("read"); // the section computed: 0 straight, 1 outer, 2 inner

    QTest::newRow("empty: the common one") << ""
                                           << "Option20" << 2;
    QTest::newRow("blanks: the common one") << "  "
                                            << "Option19" << 1;
    QTest::newRow("its own over the common one") << "Прямая"
                                                 << "Option20" << 0;
    QTest::newRow("by the option's name") << "Option19"
                                          << "Option18" << 1;
    QTest::newRow("in another case") << "ВНУ.КРИВАЯ"
                                     << "Option18" << 2;
}

void TestScheduleModel::sectionFallsBackOnCommonData()
{
    QFETCH(QString, rowSection);
    QFETCH(QString, commonOption);
    QFETCH(int, read);
    Schedule schedule = lineSchedule();
    QVERIFY(schedule.common.selectOption(commonOption));
    schedule.rows[2].section = rowSection;
    ScheduleModel model;
    model.setSchedule(schedule);

    Calculation expected = schedule.calculation(2);
    QCOMPARE(expected.option(OptionGroup::TrackSection), read);
    QCOMPARE(model.data(model.index(2, 0), ScheduleModel::InvalidReasonRole).toString(), QString());
    QCOMPARE(model.result(2).errors, QString());
    QVERIFY(model.result(2).moments == windowMoments(expected, schedule.locale()));
}

void TestScheduleModel::resultsFollowEdits_data()
{
    QTest::addColumn<ScheduleEdit>("edit");

    const Schedule line = lineSchedule();
    const auto cell = [](int row, InputField field, const char *text) {
        return ScheduleEdit { { SetCells {
            { { row, ScheduleCell::ofField(field), QString::fromUtf8(text) } } } } };
    };
    const auto common = [&line](const char *field, const char *text) {
        Calculation changed = line.common;
        changed.setText(QString::fromLatin1(field), QString::fromUtf8(text));
        return ScheduleEdit { { SetCommon { changed } } };
    };
    QTest::newRow("a cell of the middle row") << cell(1, InputField::SpanLength, "70");
    QTest::newRow("a cell of the last row") << cell(2, InputField::CurveRadius, "600");
    QTest::newRow("cells of two rows in one edit") << ScheduleEdit { { SetCells {
        { { 0, ScheduleCell::ofField(InputField::SpanLength), QStringLiteral("40") },
            { 2, { ScheduleCell::Kind::Section }, QStringLiteral("Прямая") } } } } };
    QTest::newRow("common data no column holds") << common("txtVm", "35");
    QTest::newRow("common data a column holds") << common("Prolet", "80");
    Calculation inner = line.common;
    inner.selectOption(u"Option20");
    QTest::newRow("the common section") << ScheduleEdit { { SetCommon { inner } } };
    ScheduleRow added = line.rows[0];
    added.field(InputField::SpanLength) = QStringLiteral("35");
    QTest::newRow("a row inserted first") << ScheduleEdit { { InsertRows { 0, { added } } } };
    QTest::newRow("the first row moved last") << ScheduleEdit { { MoveRows { 0, 1, 2 } } };
    QTest::newRow("the middle row removed") << ScheduleEdit { { RemoveRows { 1, 1 } } };
    QTest::newRow("the span's column taken away")
        << ScheduleEdit { { SetColumns { { InputField::CurveRadius } } } };
    QTest::newRow("a cell edited, then its row moved")
        << ScheduleEdit { { SetCells { { { 2, ScheduleCell::ofField(InputField::SpanLength),
                                QStringLiteral("30") } } },
               MoveRows { 2, 1, 0 } } };
}

void TestScheduleModel::resultsFollowEdits()
{
    QFETCH(ScheduleEdit, edit);
    const SupportCatalogue catalogue = catalogueOf({ type("Т-1", 1e9) });
    ScheduleModel model;
    QAbstractItemModelTester tester(&model);
    model.setCatalogue(catalogue);
    model.setSchedule(lineSchedule());
    const std::vector<ScheduleRowResult> before(
        &model.result(0), &model.result(0) + model.rowCount());
    QSignalSpy changed(&model, &ScheduleModel::dataChanged);
    QSignalSpy reset(&model, &ScheduleModel::modelReset);
    const quint64 revision = model.revision();

    model.apply(edit);

    QVERIFY(model.revision() != revision);
    QVERIFY(model.rowCount() > 0);
    for (int row = 0; row < model.rowCount(); ++row) {
        const ScheduleRowResult fresh = computeScheduleRow(model.schedule(), row, catalogue);
        QVERIFY2(model.result(row) == fresh, qPrintable(QStringLiteral("row %1").arg(row)));
        // A row whose results changed in place is told to the view (a reset tells all).
        if (reset.isEmpty() && model.rowCount() == int(before.size())
            && fresh != before[std::size_t(row)]
            && model.schedule().rows[row].support == QString::number(row + 1)) {
            const bool told = std::any_of(changed.begin(), changed.end(), [&](const auto &args) {
                const auto top = args[0].template value<QModelIndex>();
                const auto bottom = args[1].template value<QModelIndex>();
                return top.row() <= row && row <= bottom.row() && top.column() == 0
                    && bottom.column() == kColumns - 1;
            });
            QVERIFY2(told, qPrintable(QStringLiteral("row %1 not told").arg(row)));
        }
    }
}

void TestScheduleModel::deferredComputation_data()
{
    QTest::addColumn<QString>("between"); // what happens while the rows are computed away
    QTest::addColumn<bool>("accepted");

    QTest::newRow("nothing") << "" << true;
    QTest::newRow("a cell typed") << "cell" << false;
    QTest::newRow("a new catalogue") << "catalogue" << false;
    QTest::newRow("results of one row short") << "short" << false;
}

void TestScheduleModel::deferredComputation()
{
    QFETCH(QString, between);
    QFETCH(bool, accepted);
    ScheduleModel model;
    model.setSchedule(lineSchedule());
    model.setDefersFullComputation(true);
    QSignalSpy needed(&model, &ScheduleModel::fullComputationNeeded);
    Calculation common = model.schedule().common;
    common.text(InputField::MaxWindSpeed) = QStringLiteral("35");
    model.apply(ScheduleEdit { { SetCommon { common } } });

    QCOMPARE(needed.count(), 1);
    QVERIFY(model.fullComputationPending());
    QVERIFY(!anyMoment(model.result(0)));
    QCOMPARE(model.data(model.index(0, kFirstMoment)).toString(), QString());
    const quint64 revision = model.revision();
    std::vector<ScheduleRowResult> results
        = *computeScheduleRows(model.schedule(), model.catalogue(), {});
    if (between == QLatin1String("cell"))
        QVERIFY(model.setData(model.index(1, kSpan), QStringLiteral("70")));
    else if (between == QLatin1String("catalogue"))
        model.setCatalogue(catalogueOf({ type("Т-1", 1e9) }));
    else if (between == QLatin1String("short"))
        results.pop_back();

    QCOMPARE(model.setAllResults(revision, results), accepted);
    QCOMPARE(model.fullComputationPending(), !accepted);
    QCOMPARE(anyMoment(model.result(0)), accepted);
    if (accepted)
        QCOMPARE(model.result(0), computeScheduleRow(model.schedule(), 0, model.catalogue()));
}

void TestScheduleModel::cellThatCannotBeRead_data()
{
    QTest::addColumn<QChar>("separator");
    QTest::addColumn<int>("column"); // -1: the common data's txtVm
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("reason");
    QTest::addColumn<bool>("moments");
    QTest::addColumn<QString>("errors");
    QTest::addColumn<QString>("words"); // the errors as the printed schedule gives them

    const QChar comma(u','), point(u'.');
    QTest::newRow("a number") << comma << kSpan << "55"
                              << "" << true << ""
                              << "";
    QTest::newRow("a point in a schedule of commas")
        << comma << kSpan << "0.5"
        << "не число: «0.5» (десятичный разделитель ведомости — «,»)" << false
        << "Prolet: не число: «0.5» (десятичный разделитель ведомости — «,»)"
        << "Длина прол., м: не число: «0.5» (десятичный разделитель ведомости — «,»)";
    QTest::newRow("a comma in a schedule of points")
        << point << kRadius << "62,5"
        << "не число: «62,5» (десятичный разделитель ведомости — «.»)" << false
        << "Text4: не число: «62,5» (десятичный разделитель ведомости — «.»)"
        << "R m: не число: «62,5» (десятичный разделитель ведомости — «.»)";
    QTest::newRow("words") << comma << kSpan << "пятьдесят"
                           << "не число: «пятьдесят»" << false << "Prolet: не число: «пятьдесят»"
                           << "Длина прол., м: не число: «пятьдесят»";
    QTest::newRow("a section that is none")
        << comma << 1 << "Кривая"
        << "не участок пути: «Кривая» (Прямая, Вне.кривая, Вну.кривая)" << false
        << "section: \"Кривая\" не участок пути (Прямая, Вне.кривая, Вну.кривая)"
        << "Участок пути: не участок пути: «Кривая» (Прямая, Вне.кривая, Вну.кривая)";
    // The moments stand: only the check cannot be made.
    QTest::newRow("a type not in the catalogue")
        << comma << kType << "Х-1"
        << "нет в каталоге опор: «Х-1»" << true << "supportType: \"Х-1\" is not in the catalogue"
        << "тип «Х-1» не найден в каталоге опор";
    QTest::newRow("the common data") << comma << -1 << "тридцать"
                                     << "" << false << "txtVm (общие данные): не число: «тридцать»"
                                     << "Vmax в., м/с (общие данные): не число: «тридцать»";
}

void TestScheduleModel::cellThatCannotBeRead()
{
    QFETCH(QChar, separator);
    QFETCH(int, column);
    QFETCH(QString, text);
    QFETCH(QString, reason);
    QFETCH(bool, moments);
    QFETCH(QString, errors);
    QFETCH(QString, words);
    ScheduleModel model;
    model.setCatalogue(catalogueOf({ type("Т-1", 1e9) }));
    model.setSchedule(lineSchedule(separator));
    if (column >= 0) {
        QVERIFY(model.setData(model.index(1, column), text));
    } else {
        Calculation common = model.schedule().common;
        common.text(InputField::MaxWindSpeed) = text;
        model.apply(ScheduleEdit { { SetCommon { common } } });
    }

    for (int c = 0; c < kColumns; ++c) {
        const QModelIndex cell = model.index(1, c);
        const QString expected = c == column ? reason : QString();
        QCOMPARE(cell.data(ScheduleModel::InvalidReasonRole).toString(), expected);
        if (!expected.isEmpty())
            QCOMPARE(cell.data(Qt::ToolTipRole).toString(), expected);
    }
    if (column >= 0)
        QCOMPARE(model.index(1, column).data().toString(), text); // shown as typed
    QCOMPARE(anyMoment(model.result(1)), moments);
    QCOMPARE(model.index(1, kFirstMoment).data().toString().isEmpty(), !moments);
    QCOMPARE(model.result(1).errors, errors);
    QCOMPARE(model.result(1).reasons.join(u'\n'), words);
    // The window shows the reasons in words, the result table's codes in the tooltip.
    const QModelIndex errorsCell = model.index(1, kErrors);
    QCOMPARE(errorsCell.data().toString(),
        words.isEmpty() ? errors : QString(words).replace(u'\n', QStringLiteral("; ")));
    if (!words.isEmpty())
        QCOMPARE(errorsCell.data(Qt::ToolTipRole).toString(),
            words + QStringLiteral("\nв столбце errors: ") + errors);
    // Another row is not touched by a cell of this one.
    if (column >= 0)
        QVERIFY(anyMoment(model.result(0)));
}

void TestScheduleModel::utilisation_data()
{
    QTest::addColumn<double>("ratio"); // 0: no catalogue
    QTest::addColumn<QVariant>("level");
    QTest::addColumn<QVariant>("rgb");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<double>("percent"); // what the column sorts by

    const auto level = [](UtilisationLevel l) { return QVariant(int(l)); };
    QTest::newRow("90 %: green") << 0.9 << level(UtilisationLevel::Green)
                                 << QVariant(uint(0x2E7D32)) << "90,0" << 90.0;
    QTest::newRow("90,1 %: amber")
        << 0.901 << level(UtilisationLevel::Amber) << QVariant(uint(0xFFB300)) << "90,1" << 90.1;
    QTest::newRow("100 %: amber") << 1.0 << level(UtilisationLevel::Amber)
                                  << QVariant(uint(0xFFB300)) << "100,0" << 100.0;
    QTest::newRow("100,1 %: red") << 1.001 << level(UtilisationLevel::Red)
                                  << QVariant(uint(0xD32F2F)) << "100,1" << 100.1;
    QTest::newRow("no catalogue: no colour") << 0.0 << QVariant() << QVariant() << "" << 0.0;
}

void TestScheduleModel::utilisation()
{
    QFETCH(double, ratio);
    QFETCH(QVariant, level);
    QFETCH(QVariant, rgb);
    QFETCH(QString, shown);
    QFETCH(double, percent);
    const double moment = firstGoverning();
    ScheduleModel model;
    if (ratio > 0) {
        const double normative = normativeFor(moment, ratio);
        QVERIFY(std::abs(moment / normative - ratio) < 1e-12);
        // A stronger type to show that the chosen one is checked, not the pick.
        model.setCatalogue(catalogueOf({ type("Т-1", normative), type("Т-2", 2 * moment) }));
    }
    Schedule schedule = lineSchedule();
    schedule.rows[0].supportType = QStringLiteral("Т-1");
    model.setSchedule(schedule);

    const QModelIndex cell = model.index(0, kUtilisation);
    QCOMPARE(cell.data(ScheduleModel::UtilisationLevelRole), level);
    QCOMPARE(cell.data(ScheduleModel::UtilisationRgbRole), rgb);
    QCOMPARE(cell.data().toString(), shown);
    QCOMPARE(cell.data(ScheduleModel::NumberRole).isValid(), ratio > 0);
    QCOMPARE(cell.data(ScheduleModel::NumberRole).toDouble(), percent);
    // The colour is on the utilisation alone.
    QCOMPARE(model.index(0, kGoverning).data(ScheduleModel::UtilisationLevelRole), QVariant());
    QCOMPARE(model.index(0, kType).data().toString(), QStringLiteral("Т-1"));
    const Moment governing = *model.result(0).governing;
    QCOMPARE(model.index(0, kGoverning).data(Qt::ToolTipRole).toString(),
        QString::fromLatin1(momentInfo(governing).label));
}

void TestScheduleModel::sortsByValue_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<Qt::SortOrder>("order");
    QTest::addColumn<QStringList>("sorted");

    const QStringList spans { QStringLiteral("9"), QStringLiteral("10"), QStringLiteral("100"),
        QStringLiteral("9,5"), QStringLiteral("абв"), QString() };
    QTest::newRow("span: by value, cells without one after")
        << kSpan << spans << Qt::AscendingOrder
        << QStringList { "9", "9,5", "10", "100", "", "абв" };
    QTest::newRow("span, descending")
        << kSpan << QStringList { "9", "10", "100", "9,5", "-1" } << Qt::DescendingOrder
        << QStringList { "100", "10", "9,5", "9", "-1" };
    QTest::newRow("supports by their leading number")
        << 0 << QStringList { "12а", "101", "12", "9", "Анкерная", "12б" } << Qt::AscendingOrder
        << QStringList { "9", "12", "12а", "12б", "101", "Анкерная" };
}

void TestScheduleModel::sortsByValue()
{
    QFETCH(int, column);
    QFETCH(QStringList, texts);
    QFETCH(Qt::SortOrder, order);
    QFETCH(QStringList, sorted);
    Schedule schedule = lineSchedule();
    const ScheduleRow first = schedule.rows[0];
    schedule.rows.clear();
    ScheduleModel model;
    model.setSchedule(schedule);
    for (const QString &text : texts) {
        ScheduleRow row = first;
        row.text(*model.cellOf(column)) = text;
        schedule.rows << row;
    }
    model.setSchedule(schedule);
    ScheduleFilterModel filter;
    QAbstractItemModelTester tester(&filter);
    filter.setSourceModel(&model);
    filter.sort(column, order);

    QStringList got;
    for (int row = 0; row < filter.rowCount(); ++row)
        got << filter.index(row, column).data().toString();
    QCOMPARE(got, sorted);
}

void TestScheduleModel::filters_data()
{
    QTest::addColumn<ScheduleFilterModel::Filter>("filter");
    QTest::addColumn<bool>("editFirst"); // the first support's type changed to the 100 % one
    QTest::addColumn<QStringList>("shown");

    using Filter = ScheduleFilterModel::Filter;
    const QStringList all { "90", "90,1", "100", "не число", "нет типа", "пусто" };
    QTest::newRow("all") << Filter::All << false << all;
    QTest::newRow("over 90 %: not 90 % itself")
        << Filter::Over90 << false << QStringList { "90,1", "100" };
    QTest::newRow("over 90 % after an edit")
        << Filter::Over90 << true << QStringList { "90", "90,1", "100" };
    QTest::newRow("with errors") << Filter::WithErrors << false
                                 << QStringList { "не число", "нет типа", "пусто" };
}

void TestScheduleModel::filters()
{
    QFETCH(ScheduleFilterModel::Filter, filter);
    QFETCH(bool, editFirst);
    QFETCH(QStringList, shown);
    const double moment = firstGoverning();
    Schedule schedule = lineSchedule();
    const ScheduleRow first = schedule.rows[0];
    schedule.rows.clear();
    const QList<QPair<const char *, const char *>> rows { { "90", "Т-90" }, { "90,1", "Т-90,1" },
        { "100", "Т-100" }, { "не число", "" }, { "нет типа", "Т-0" }, { "пусто", "Т-90" } };
    for (const auto &[support, chosen] : rows) {
        ScheduleRow row = first;
        row.support = QString::fromUtf8(support);
        row.supportType = QString::fromUtf8(chosen);
        schedule.rows << row;
    }
    schedule.rows[3].field(InputField::SpanLength) = QStringLiteral("0.5");
    // An empty Lp: the transition support's moments have no value, the others stand.
    schedule.fields.push_back(InputField::AnchorDistance);
    schedule.rows[5].field(InputField::AnchorDistance) = QString();
    for (qsizetype row = 0; row < 5; ++row)
        schedule.rows[row].field(InputField::AnchorDistance) = QStringLiteral("40");
    ScheduleModel model;
    model.setCatalogue(catalogueOf({ type("Т-90", normativeFor(moment, 0.9)),
        type("Т-90,1", normativeFor(moment, 0.901)), type("Т-100", moment) }));
    model.setSchedule(schedule);
    ScheduleFilterModel proxy;
    QAbstractItemModelTester tester(&proxy);
    proxy.setSourceModel(&model);
    proxy.setFilter(filter);
    if (editFirst)
        QVERIFY(model.setData(model.index(0, model.columnOf({ ScheduleCell::Kind::SupportType })),
            QStringLiteral("Т-100")));

    QStringList got;
    for (int row = 0; row < proxy.rowCount(); ++row)
        got << proxy.index(row, 0).data().toString();
    QCOMPARE(got, shown);
}

QTEST_GUILESS_MAIN(TestScheduleModel)
#include "test_schedulemodel.moc"
