// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The schedule window (ведомость опор): one support per row, edited as a spreadsheet.
//
//   «Общие данные» ──edit──▶ SetCommon ──▶ every row computed again (off the GUI thread)
//   table cell, row commands, paste ──▶ edit commands on the undo stack ──▶ the rows touched
//   model ──▶ filter and sort proxy ──▶ table;  model ──▶ chart; chart click ──▶ row selected
//   row ──«Открыть в окне расчета»──▶ main window;  main window ──«В ведомость»──▶ row
//   «Файл» ──▶ ScheduleDocument: .kelsa-schedule, import, export, unsaved work
//
// The window knows the main window only through its context: the calculation it shows, the
// way to put one into it, and how it names its options.

#include "core/document/savedcalculation.h"
#include "gui/schedule/schedulemenu.h"
#include "gui/schedule/scheduleservices.h"

#include <QHash>
#include <QMainWindow>
#include <QPersistentModelIndex>

#include <functional>
#include <memory>

class QComboBox;
class QLabel;
class QProgressBar;
class QTableView;
class QToolButton;
class QUndoStack;

namespace kelsa
{

class BackgroundComputation;
class CommonDataPanel;
class ScheduleChartView;
class ScheduleDocument;
class ScheduleEditing;
class ScheduleFilterModel;
class ScheduleModel;
struct SupportCatalogue;

struct ScheduleWindowContext {
    ScheduleServices services; // every member filled
    QHash<QString, QString> optionCaptions; // the main window's option captions by control name
    // The main window's calculation as it stands: the common data of a new schedule.
    std::function<SavedCalculation()> mainCalculation;
    // Puts a row's calculation into the main window; false when the main window kept its own
    // (the designer cancelled leaving unsaved work there).
    std::function<bool(const SavedCalculation &saved)> showInMainWindow;
};

class ScheduleWindow : public QMainWindow
{
    Q_OBJECT
public:
    explicit ScheduleWindow(ScheduleWindowContext context, QWidget *parent = nullptr);
    ~ScheduleWindow() override;

    ScheduleModel &model() const { return *m_model; }
    ScheduleFilterModel &filterModel() const { return *m_filter; }
    QTableView *table() const { return m_table; }
    ScheduleChartView *chart() const { return m_chart; }
    CommonDataPanel *commonData() const { return m_common; }
    QUndoStack &undoStack() const { return *m_undoStack; }
    const ScheduleMenu &menu() const { return m_menu; }
    ScheduleDocument &document() const { return *m_document; }
    ScheduleEditing &editing() const { return *m_editing; }
    const ScheduleWindowContext &context() const { return m_context; }

    // The catalogue of the main window's tables folder: every row is checked again.
    void setCatalogue(const SupportCatalogue &catalogue);
    // A new schedule whose common data is the main window's calculation.
    void startNew();

    // «Файл → В ведомость» of the main window: its calculation as a new last row, or over the
    // row it was taken from when the designer says so.
    void putCalculation(const SavedCalculation &saved);
    // The main window's calculation no longer comes from a row (a new one, another file).
    void forgetRowInMainWindow() { m_rowInMainWindow = QPersistentModelIndex(); }
    // «Открыть в окне расчета» for the current row.
    void openInMainWindow();

    // Whether every row has its results (none is being computed).
    bool isComputed() const;
    // True when the schedule may be left: nothing unsaved, or saved or discarded.
    bool mayClose();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void buildTable();
    void buildToolBar();
    void buildColumnMenu();
    void connectActions();
    void scheduleChanged();
    void updateChart();
    void updateTitle();
    void updateColumnMenu();
    void fitColumns();
    void takeCommonFromMainWindow();
    void editTitle();
    void showProgress();

    ScheduleWindowContext m_context;
    std::unique_ptr<QUndoStack> m_undoStack;
    ScheduleModel *m_model = nullptr;
    ScheduleFilterModel *m_filter = nullptr;
    QTableView *m_table = nullptr;
    ScheduleChartView *m_chart = nullptr;
    CommonDataPanel *m_common = nullptr;
    QComboBox *m_filterChoice = nullptr;
    QToolButton *m_columnsButton = nullptr;
    QLabel *m_rowsLabel = nullptr;
    QProgressBar *m_progress = nullptr;
    ScheduleMenu m_menu;
    BackgroundComputation *m_computation = nullptr;
    ScheduleEditing *m_editing = nullptr;
    ScheduleDocument *m_document = nullptr;
    bool m_chartPending = false;
    // The row the main window's calculation was taken from, followed through edits.
    QPersistentModelIndex m_rowInMainWindow;
};

} // namespace kelsa
