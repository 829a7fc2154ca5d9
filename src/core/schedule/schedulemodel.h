// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The schedule as a table for a view: one support per row; columns the support, its section,
// the field columns (headed by the main window's captions, the control name as the header's
// tooltip), the ten moments, the governing moment, the support type, its utilisation, the errors
// and the notes. Input cells are edited in place; every change goes through an edit value
// (scheduleedit.h) and recomputes what it touches: its rows, or every row for a change of the
// common data, the field columns or the catalogue.
//
// Computing every row is done by the model itself (on all processor threads) unless the window
// takes it over with setDefersFullComputation(true): the model then empties the result columns,
// emits fullComputationNeeded(), and the window runs computeScheduleRows() on a copy of
// schedule() and catalogue() off the GUI thread and hands the results back with
// setAllResults(revision(), results) (results for an older revision are refused: start again).

#include "core/check/supportcatalogue.h"
#include "core/schedule/rowcomputation.h"
#include "core/schedule/schedule.h"
#include "core/schedule/scheduleedit.h"

#include <QAbstractTableModel>

#include <vector>

namespace kelsa
{

class ScheduleModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    enum Role {
        // Why an input cell cannot be read (QString); empty for a cell that can.
        InvalidReasonRole = Qt::UserRole + 1,
        // UtilisationLevel as int, on the utilisation column of a checked row; else none.
        UtilisationLevelRole,
        // The colour of that level as 0xRRGGBB (uint), for a QColor in the window.
        UtilisationRgbRole,
        // A number cell's value as double (a field that reads as a number, a moment, the
        // utilisation in per cent); none for any other cell. What the table sorts numbers by.
        NumberRole,
        // The column's name in files: "support", "Prolet", "Label1", "errors" (QString).
        ColumnNameRole,
    };

    enum class ColumnKind {
        Support,
        Section,
        Field,
        Moment,
        Governing,
        SupportType,
        Utilisation,
        Errors,
        Notes
    };
    struct Column {
        ColumnKind kind = ColumnKind::Support;
        InputField field = InputField::SpanLength; // for Field
        Moment moment = Moment::IceWithWind; // for Moment
    };

    explicit ScheduleModel(QObject *parent = nullptr);

    const Schedule &schedule() const { return m_schedule; }
    const SupportCatalogue &catalogue() const { return m_catalogue; }
    // A new schedule (opened, imported): the view is reset and every row computed.
    void setSchedule(Schedule schedule);
    // The catalogue the rows are checked against; every row is computed again.
    void setCatalogue(SupportCatalogue catalogue);

    // Applies an edit and returns the edit that undoes it.
    ScheduleEdit apply(const ScheduleEdit &edit);

    const ScheduleRowResult &result(int row) const { return m_results[std::size_t(row)]; }
    Column column(int column) const;
    // The model column of an input cell; -1 for a field the schedule holds no column for.
    int columnOf(const ScheduleCell &cell) const;
    // The input cell a column edits, if it is one.
    std::optional<ScheduleCell> cellOf(int column) const;

    // Bumped by every change; results handed back must be for the current one.
    quint64 revision() const { return m_revision; }
    void setDefersFullComputation(bool defers) { m_defers = defers; }
    bool fullComputationPending() const { return m_pending; }
    bool setAllResults(quint64 revision, std::vector<ScheduleRowResult> results);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(
        int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    // An edit typed into a cell: applied as an edit value, then edited() tells the window.
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;

signals:
    // An edit the model applied by itself (a cell typed in): the window puts it on its undo
    // stack as done already.
    void edited(const kelsa::ScheduleEdit &edit, const kelsa::ScheduleEdit &undo);
    void fullComputationNeeded();

private:
    void applyStep(const ScheduleStep &step, std::vector<ScheduleStep> &undo);
    void computeRows(qsizetype first, qsizetype count);
    void computeAll();
    void rebuildColumns();
    QVariant display(int row, const Column &column) const;
    QVariant number(int row, const Column &column) const;

    Schedule m_schedule;
    SupportCatalogue m_catalogue;
    std::vector<ScheduleRowResult> m_results;
    std::vector<Column> m_columns;
    quint64 m_revision = 0;
    bool m_defers = false;
    bool m_pending = false;
};

} // namespace kelsa
