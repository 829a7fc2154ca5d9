// SPDX-License-Identifier: GPL-3.0-or-later
// The schedule's edits: each kind applied and undone, on the schedule value and through the
// table model; a sequence undone to the start gives the schedule back; steps that name rows the
// schedule lacks change nothing, up to the limit and one past it; blocks of cells pasted from a
// spreadsheet in either decimal separator, and blocks running past the last row or column.
#include "support/lineschedule.h"

#include "core/schedule/cellblock.h"
#include "core/schedule/schedulemodel.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QTest>

using namespace kelsa;
using kelsa::test::lineSchedule;

Q_DECLARE_METATYPE(kelsa::ScheduleEdit)
Q_DECLARE_METATYPE(kelsa::ScheduleStep)
Q_DECLARE_METATYPE(kelsa::Schedule)

namespace
{

// The model's columns for the line schedule.
constexpr int kRadius = 2, kSpan = 3, kFirstMoment = 4, kType = 15, kColumns = 19;

// The rows' input cells: support, section, radius, span, type.
QList<QStringList> cellsOf(const Schedule &schedule)
{
    QList<QStringList> cells;
    for (const ScheduleRow &row : schedule.rows)
        cells << QStringList { row.support, row.section, row.field(InputField::CurveRadius),
            row.field(InputField::SpanLength), row.supportType };
    return cells;
}

ScheduleRow rowOf(const QStringList &cells)
{
    ScheduleRow row;
    row.support = cells.value(0);
    row.section = cells.value(1);
    row.field(InputField::CurveRadius) = cells.value(2);
    row.field(InputField::SpanLength) = cells.value(3);
    row.supportType = cells.value(4);
    return row;
}

// The line with its rows in the order of the supports named ("3", "1").
Schedule lineWith(const QStringList &supports)
{
    const Schedule line = lineSchedule();
    Schedule schedule = line;
    schedule.rows.clear();
    for (const QString &support : supports)
        schedule.rows << line.rows[support.toInt() - 1];
    return schedule;
}

ScheduleEdit cell(qsizetype row, InputField field, const char *text)
{
    return setCellEdit(row, ScheduleCell::ofField(field), QString::fromUtf8(text));
}

// Every result of the model as computed afresh.
bool resultsFresh(const ScheduleModel &model)
{
    for (int row = 0; row < model.rowCount(); ++row)
        if (model.result(row) != computeScheduleRow(model.schedule(), row, model.catalogue()))
            return false;
    return true;
}

} // namespace

class TestScheduleEdit : public QObject
{
    Q_OBJECT

private slots:
    void applyAndUndo_data();
    void applyAndUndo();
    void sequenceUndoneToTheStart_data();
    void sequenceUndoneToTheStart();
    void stepsOutsideTheRows_data();
    void stepsOutsideTheRows();
    void paste_data();
    void paste();
};

void TestScheduleEdit::applyAndUndo_data()
{
    QTest::addColumn<ScheduleEdit>("edit");
    QTest::addColumn<Schedule>("expected");

    const Schedule line = lineSchedule();
    Schedule expected = line;
    expected.rows[1].field(InputField::SpanLength) = QStringLiteral("70");
    QTest::newRow("set a cell") << cell(1, InputField::SpanLength, "70") << expected;

    // Undone in the wrong order, the first text would come back as the second's.
    ScheduleEdit twice = cell(1, InputField::SpanLength, "80");
    std::get<SetCells>(twice.steps[0])
        .changes.prepend({ 1, ScheduleCell::ofField(InputField::SpanLength), "70" });
    expected.rows[1].field(InputField::SpanLength) = QStringLiteral("80");
    QTest::newRow("set the same cell twice") << twice << expected;

    expected = lineWith({ "1", "2", "3" });
    expected.rows.insert(0, 2, ScheduleRow());
    QTest::newRow("insert two at the start") << insertEmptyRowsEdit(0, 2) << expected;
    expected = line;
    expected.rows.append(ScheduleRow());
    QTest::newRow("insert after the last") << insertEmptyRowsEdit(3, 1) << expected;

    QTest::newRow("duplicate the last and first, in any order")
        << duplicateRowsEdit(line, { 2, 0 }) << lineWith({ "1", "2", "3", "1", "3" });
    QTest::newRow("duplicate the first")
        << duplicateRowsEdit(line, { 0 }) << lineWith({ "1", "1", "2", "3" });
    QTest::newRow("delete the last and first, one twice")
        << removeRowsEdit({ 2, 0, 2 }) << lineWith({ "2" });
    QTest::newRow("delete all") << removeRowsEdit({ 1, 0, 2 }) << lineWith({});

    QTest::newRow("move the first to the end")
        << ScheduleEdit { { MoveRows { 0, 1, 2 } } } << lineWith({ "2", "3", "1" });
    QTest::newRow("move the last two to the start")
        << ScheduleEdit { { MoveRows { 1, 2, 0 } } } << lineWith({ "2", "3", "1" });
    QTest::newRow("move the first two down by one")
        << ScheduleEdit { { MoveRows { 0, 2, 1 } } } << lineWith({ "3", "1", "2" });
    QTest::newRow("move the last to the middle")
        << ScheduleEdit { { MoveRows { 2, 1, 1 } } } << lineWith({ "1", "3", "2" });

    expected = line;
    expected.common.text(InputField::MaxWindSpeed) = QStringLiteral("35");
    expected.common.selectOption(u"Option20");
    QTest::newRow("change the common data")
        << ScheduleEdit { { SetCommon { expected.common } } } << expected;

    // The texts of a column taken away leave the rows, and come back with its undo.
    expected = line;
    expected.fields = { InputField::CurveRadius };
    for (ScheduleRow &row : expected.rows)
        row.field(InputField::SpanLength).clear();
    QTest::newRow("take the span's column away")
        << ScheduleEdit { { SetColumns { { InputField::CurveRadius } } } } << expected;
    expected = line;
    expected.fields = { InputField::MaxWindSpeed, InputField::SpanLength, InputField::CurveRadius };
    QTest::newRow("add a column and reorder, a field given twice")
        << ScheduleEdit { { SetColumns { { InputField::MaxWindSpeed, InputField::SpanLength,
               InputField::CurveRadius, InputField::SpanLength } } } }
        << expected;

    expected = line;
    expected.title
        = { QStringLiteral("Перегон А — Б"), QStringLiteral("Иванов"), QStringLiteral("8.12") };
    QTest::newRow("the title block")
        << ScheduleEdit { { SetTitle { expected.title } } } << expected;

    // A paste that changes a cell and adds a row is one edit.
    expected = line;
    expected.rows[2].field(InputField::SpanLength) = QStringLiteral("0,5");
    expected.rows << rowOf({ "", "", "", "70" });
    ScheduleModel model;
    model.setSchedule(line);
    QTest::newRow("paste a block")
        << pasteEdit(model, 2, kSpan, QStringLiteral("0.5\n70\n")) << expected;
}

void TestScheduleEdit::applyAndUndo()
{
    QFETCH(ScheduleEdit, edit);
    QFETCH(Schedule, expected);
    const Schedule line = lineSchedule();

    Schedule schedule = line;
    const ScheduleEdit undo = applyEdit(schedule, edit);
    QCOMPARE(cellsOf(schedule), cellsOf(expected));
    QVERIFY(schedule == expected);
    applyEdit(schedule, undo);
    QCOMPARE(cellsOf(schedule), cellsOf(line));
    QVERIFY(schedule == line);

    // The model the same way, telling its views of every row it adds, takes or moves.
    ScheduleModel model;
    QAbstractItemModelTester tester(&model);
    model.setSchedule(line);
    const ScheduleEdit modelUndo = model.apply(edit);
    QVERIFY(model.schedule() == expected);
    QVERIFY(resultsFresh(model));
    model.apply(modelUndo);
    QVERIFY(model.schedule() == line);
    QVERIFY(resultsFresh(model));
}

void TestScheduleEdit::sequenceUndoneToTheStart_data()
{
    QTest::addColumn<QList<ScheduleEdit>>("edits");

    const Schedule line = lineSchedule();
    Calculation common = line.common;
    common.text(InputField::SpanLength) = QStringLiteral("40");
    QTest::newRow("every kind") << QList<ScheduleEdit> { cell(0, InputField::SpanLength, "55"),
        insertEmptyRowsEdit(1, 2), cell(2, InputField::CurveRadius, "700"),
        duplicateRowsEdit(line, { 0, 2 }), ScheduleEdit { { MoveRows { 0, 2, 3 } } },
        removeRowsEdit({ 1, 4 }), ScheduleEdit { { SetColumns { { InputField::CurveRadius } } } },
        ScheduleEdit { { SetCommon { common } } },
        ScheduleEdit { { SetColumns { { InputField::SpanLength } } } },
        ScheduleEdit { { SetTitle { { QStringLiteral("Станция"), {}, {} } } } } };
    QTest::newRow("the same row again and again")
        << QList<ScheduleEdit> { cell(1, InputField::SpanLength, "1"),
               cell(1, InputField::SpanLength, "2"), duplicateRowsEdit(line, { 1 }),
               cell(2, InputField::SpanLength, "3"), removeRowsEdit({ 1 }),
               ScheduleEdit { { MoveRows { 1, 1, 0 } } }, cell(0, InputField::SpanLength, "4") };
}

void TestScheduleEdit::sequenceUndoneToTheStart()
{
    QFETCH(QList<ScheduleEdit>, edits);
    const Schedule line = lineSchedule();
    Schedule schedule = line;
    ScheduleModel model;
    QAbstractItemModelTester tester(&model);
    model.setSchedule(line);
    QList<ScheduleEdit> undos, modelUndos;
    for (const ScheduleEdit &edit : edits) {
        undos << applyEdit(schedule, edit);
        modelUndos << model.apply(edit);
    }
    const Schedule done = schedule;
    QVERIFY(model.schedule() == done);
    QVERIFY(!(done == line));

    // Undone to the start, then redone to the end, as an undo stack does.
    for (qsizetype k = edits.size() - 1; k >= 0; --k) {
        applyEdit(schedule, undos[k]);
        model.apply(modelUndos[k]);
    }
    QCOMPARE(cellsOf(schedule), cellsOf(line));
    QVERIFY(schedule == line);
    QVERIFY(model.schedule() == line);
    QVERIFY(resultsFresh(model));
    for (const ScheduleEdit &edit : edits)
        model.apply(edit);
    QVERIFY(model.schedule() == done);
    QVERIFY(resultsFresh(model));
}

void TestScheduleEdit::stepsOutsideTheRows_data()
{
    QTest::addColumn<ScheduleStep>("step");
    QTest::addColumn<bool>("applies");

    const auto set = [](qsizetype row) {
        return SetCells { { { row, { ScheduleCell::Kind::Support }, QStringLiteral("9") } } };
    };
    QTest::newRow("set the last row") << ScheduleStep(set(2)) << true;
    QTest::newRow("set past the last row") << ScheduleStep(set(3)) << false;
    QTest::newRow("set before the first row") << ScheduleStep(set(-1)) << false;
    SetCells oneBad = set(0);
    oneBad.changes << set(3).changes;
    QTest::newRow("set cells, one past the last row: none set") << ScheduleStep(oneBad) << false;

    const QList<ScheduleRow> one { ScheduleRow() };
    QTest::newRow("insert after the last row") << ScheduleStep(InsertRows { 3, one }) << true;
    QTest::newRow("insert one further") << ScheduleStep(InsertRows { 4, one }) << false;
    QTest::newRow("insert before the first") << ScheduleStep(InsertRows { -1, one }) << false;
    QTest::newRow("insert no rows") << ScheduleStep(InsertRows { 0, {} }) << false;

    QTest::newRow("remove the last two") << ScheduleStep(RemoveRows { 1, 2 }) << true;
    QTest::newRow("remove one past the last") << ScheduleStep(RemoveRows { 2, 2 }) << false;
    QTest::newRow("remove before the first") << ScheduleStep(RemoveRows { -1, 1 }) << false;
    QTest::newRow("remove none") << ScheduleStep(RemoveRows { 0, 0 }) << false;
    QTest::newRow("remove a negative count") << ScheduleStep(RemoveRows { 2, -1 }) << false;

    QTest::newRow("move two to the end") << ScheduleStep(MoveRows { 0, 2, 1 }) << true;
    QTest::newRow("move two one past the end") << ScheduleStep(MoveRows { 0, 2, 2 }) << false;
    QTest::newRow("move rows past the last") << ScheduleStep(MoveRows { 2, 2, 0 }) << false;
    QTest::newRow("move before the first") << ScheduleStep(MoveRows { 1, 1, -1 }) << false;
    QTest::newRow("move to where they are") << ScheduleStep(MoveRows { 1, 1, 1 }) << false;
    QTest::newRow("move none") << ScheduleStep(MoveRows { 0, 0, 1 }) << false;
}

void TestScheduleEdit::stepsOutsideTheRows()
{
    QFETCH(ScheduleStep, step);
    QFETCH(bool, applies);
    const Schedule line = lineSchedule();
    Schedule schedule = line;
    const std::vector<ScheduleStep> undo = applyStep(schedule, step);
    QCOMPARE(undo.empty(), !applies);
    QCOMPARE(schedule == line, !applies);

    ScheduleModel model;
    QAbstractItemModelTester tester(&model);
    model.setSchedule(line);
    QSignalSpy inserted(&model, &ScheduleModel::rowsInserted);
    QSignalSpy removed(&model, &ScheduleModel::rowsRemoved);
    QSignalSpy moved(&model, &ScheduleModel::rowsMoved);
    const ScheduleEdit modelUndo = model.apply(ScheduleEdit { { step } });
    QCOMPARE(modelUndo.isEmpty(), !applies);
    QVERIFY(model.schedule() == schedule);
    QVERIFY(resultsFresh(model));
    if (!applies)
        QCOMPARE(inserted.count() + removed.count() + moved.count(), 0);
}

void TestScheduleEdit::paste_data()
{
    QTest::addColumn<QChar>("separator");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QList<QStringList>>("cells"); // support, section, radius, span, type

    const QChar comma(u','), point(u'.');
    const QList<QStringList> line = cellsOf(lineSchedule(comma));
    const auto with = [](QList<QStringList> cells, int row, int cell, const char *text) {
        cells[row][cell] = QString::fromUtf8(text);
        return cells;
    };
    const int span = 3, radius = 2;

    QTest::newRow("a point into a schedule of commas")
        << comma << 0 << kSpan << "0.5" << with(line, 0, span, "0,5");
    QTest::newRow("a comma into a schedule of points")
        << point << 0 << kSpan << "0,5" << with(cellsOf(lineSchedule(point)), 0, span, "0.5");
    // A text that may carry digit grouping is not exchanged: 1500 must not become 1,5 unseen.
    const auto pointLine = cellsOf(lineSchedule(point));
    QTest::newRow("grouping-like 1,500 into points kept")
        << point << 0 << kSpan << "1,500" << with(pointLine, 0, span, "1,500");
    QTest::newRow("grouping-like -12,250 into points kept")
        << point << 0 << kSpan << "-12,250" << with(pointLine, 0, span, "-12,250");
    QTest::newRow("grouping-like 999.000 into commas kept")
        << comma << 0 << kSpan << "999.000" << with(line, 0, span, "999.000");
    QTest::newRow("0,500 cannot be grouping: exchanged")
        << point << 0 << kSpan << "0,500" << with(pointLine, 0, span, "0.500");
    QTest::newRow("two digits after: exchanged")
        << point << 0 << kSpan << "1,50" << with(pointLine, 0, span, "1.50");
    QTest::newRow("four digits after: exchanged")
        << point << 0 << kSpan << "1,5000" << with(pointLine, 0, span, "1.5000");
    QTest::newRow("four digits before: exchanged")
        << point << 0 << kSpan << "1234,500" << with(pointLine, 0, span, "1234.500");
    QTest::newRow("its own separator stays")
        << comma << 0 << kSpan << "0,5" << with(line, 0, span, "0,5");
    QTest::newRow("words kept as typed")
        << comma << 0 << kSpan << "пятьдесят" << with(line, 0, span, "пятьдесят");
    QTest::newRow("a number in neither kept as typed")
        << comma << 0 << kSpan << "1.2.3" << with(line, 0, span, "1.2.3");
    QTest::newRow("a point in the support's number kept")
        << comma << 0 << 0 << "12.5" << with(line, 0, 0, "12.5");
    QTest::newRow("the same text: nothing to do") << comma << 1 << kSpan << "62.5" << line;

    QTest::newRow("past the last input column: the rest left out")
        << comma << 0 << kSpan << "55\t1\t2" << with(line, 0, span, "55");
    QTest::newRow("across a result column") << comma << 0 << kRadius << "600\t55\t9"
                                            << with(with(line, 0, radius, "600"), 0, span, "55");
    QTest::newRow("the type, the results after it left out")
        << comma << 2 << kType << "Т-1\t95\tошибка" << with(line, 2, 4, "Т-1");
    QTest::newRow("on a result column: nothing") << comma << 0 << kFirstMoment << "1" << line;
    QTest::newRow("past the last column: nothing") << comma << 0 << kColumns << "1" << line;
    QTest::newRow("before the first column: nothing") << comma << 0 << -1 << "1" << line;

    QList<QStringList> longer = line;
    longer << QStringList { "4", "Прямая", "", "", "" } << QStringList { "5", "", "", "", "" };
    QTest::newRow("past the last row: rows added") << comma << 2 << 0 << "3\n4\tПрямая\n5\n"
                                                   << longer;
    longer = line;
    longer << QStringList { "", "", "", "0,5", "" };
    QTest::newRow("just below the last row") << comma << 3 << kSpan << "0.5" << longer;
    QTest::newRow("one row further: nothing") << comma << 4 << kSpan << "0.5" << line;
    QTest::newRow("line breaks of Windows, the last ended")
        << comma << 0 << kSpan << "55\r\n60\r\n"
        << with(with(line, 0, span, "55"), 1, span, "60");
    QTest::newRow("empty cells empty")
        << comma << 0 << kRadius << "\t" << with(with(line, 0, radius, ""), 0, span, "");
    QTest::newRow("a quoted cell with a tab, a break and a quote")
        << comma << 0 << 0 << "\"16\t(\"\"анкерная\"\")\n\"\tПрямая"
        << with(line, 0, 0, "16\t(\"анкерная\")\n");
}

void TestScheduleEdit::paste()
{
    QFETCH(QChar, separator);
    QFETCH(int, row);
    QFETCH(int, column);
    QFETCH(QString, text);
    QFETCH(QList<QStringList>, cells);
    const Schedule line = lineSchedule(separator);
    ScheduleModel model;
    QAbstractItemModelTester tester(&model);
    model.setSchedule(line);

    const ScheduleEdit edit = pasteEdit(model, row, column, text);
    QCOMPARE(edit.isEmpty(), cells == cellsOf(line));
    const ScheduleEdit undo = model.apply(edit);
    QCOMPARE(cellsOf(model.schedule()), cells);
    QVERIFY(resultsFresh(model));
    model.apply(undo);
    QVERIFY(model.schedule() == line);
}

QTEST_GUILESS_MAIN(TestScheduleEdit)
#include "test_scheduleedit.moc"
