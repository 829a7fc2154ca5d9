// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/schedule/schedulewindow.h"

#include "core/schedule/cellblock.h"
#include "core/schedule/rowtransfer.h"
#include "core/schedule/schedulefilter.h"
#include "core/schedule/schedulemodel.h"
#include "core/schedule/schedulesummary.h"
#include "gui/schedule/backgroundcomputation.h"
#include "gui/schedule/celldelegate.h"
#include "gui/schedule/chartview.h"
#include "gui/schedule/commondatapanel.h"
#include "gui/schedule/scheduledocument.h"
#include "gui/schedule/scheduleediting.h"
#include "gui/widgets/appearance.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QScreen>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QProgressBar>
#include <QSplitter>
#include <QStatusBar>
#include <QTableView>
#include <QTimer>
#include <QToolButton>
#include <QUndoStack>
#include <QVBoxLayout>

namespace kelsa
{

namespace
{

// A full computation shorter than this shows no progress bar, s.
constexpr int kProgressDelayMs = 200;

} // namespace

ScheduleWindow::ScheduleWindow(ScheduleWindowContext context, QWidget *parent)
    : QMainWindow(parent, Qt::Window)
    , m_context(std::move(context))
    , m_undoStack(std::make_unique<QUndoStack>())
{
    setObjectName(QStringLiteral("ScheduleWindow"));
    setWindowIcon(programIcon());
    setAttribute(Qt::WA_DeleteOnClose, false);

    m_model = new ScheduleModel(this);
    m_filter = new ScheduleFilterModel(this);
    m_filter->setSourceModel(m_model);
    m_computation = new BackgroundComputation(*m_model, this);
    m_menu = buildScheduleMenu(*this, *m_undoStack);

    auto *central = new QWidget(this);
    auto *layout = new QVBoxLayout(central);
    layout->setContentsMargins(6, 6, 6, 0);
    m_common = new CommonDataPanel(m_context.optionCaptions, central);
    layout->addWidget(m_common);
    buildToolBar();
    auto *tools = new QHBoxLayout;
    tools->addWidget(new QLabel(QStringLiteral("Показать:"), central));
    tools->addWidget(m_filterChoice);
    tools->addSpacing(12);
    tools->addWidget(m_columnsButton);
    tools->addStretch();
    tools->addWidget(m_rowsLabel);
    layout->addLayout(tools);

    buildTable();
    m_chart = new ScheduleChartView(central);
    auto *splitter = new QSplitter(Qt::Vertical, central);
    splitter->setObjectName(QStringLiteral("scheduleSplitter"));
    splitter->addWidget(m_table);
    splitter->addWidget(m_chart);
    splitter->setStretchFactor(0, 3);
    splitter->setStretchFactor(1, 1);
    splitter->setChildrenCollapsible(false);
    layout->addWidget(splitter, 1);
    setCentralWidget(central);

    m_progress = new QProgressBar(this);
    m_progress->setObjectName(QStringLiteral("scheduleProgress"));
    m_progress->setMaximumWidth(240);
    m_progress->setFormat(QStringLiteral("расчет строк: %p %"));
    m_progress->hide();
    statusBar()->addPermanentWidget(m_progress);

    m_editing = new ScheduleEditing(*m_table, *m_model, *m_filter, *m_undoStack, m_menu, this);
    m_document = new ScheduleDocument(*this);
    connectActions();
    startNew();
    QSize size(1200, 820);
    if (const QScreen *screen = parent ? parent->screen() : QGuiApplication::primaryScreen())
        size = size.boundedTo(screen->availableGeometry().size() * 0.95);
    resize(size);
    // The keyboard starts in the table: Ctrl+Z, Ctrl+V and the arrows are the schedule's.
    m_table->setFocus(Qt::OtherFocusReason);
}

ScheduleWindow::~ScheduleWindow()
{
    // The commands refer to the model: they go first.
    m_undoStack->clear();
}

void ScheduleWindow::buildTable()
{
    m_table = new QTableView(this);
    m_table->setObjectName(QStringLiteral("scheduleTable"));
    m_table->setModel(m_filter);
    m_table->setItemDelegate(new ScheduleCellDelegate(m_table));
    m_table->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
        | QAbstractItemView::AnyKeyPressed);
    m_table->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_table->setAlternatingRowColors(true);
    m_table->setWordWrap(false);
    // Rows of one height and columns of a set width: 10,000 rows scroll without measuring any.
    QHeaderView *rows = m_table->verticalHeader();
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setDefaultSectionSize(m_table->fontMetrics().height() + 8);
    QHeaderView *columns = m_table->horizontalHeader();
    columns->setSectionResizeMode(QHeaderView::Interactive);
    columns->setDefaultSectionSize(
        m_table->fontMetrics().horizontalAdvance(QStringLiteral("0")) * 11);
    columns->setSortIndicator(-1, Qt::AscendingOrder);
    columns->setSortIndicatorShown(true);
    m_table->setSortingEnabled(true);
    m_table->setContextMenuPolicy(Qt::ActionsContextMenu);
}

void ScheduleWindow::buildToolBar()
{
    m_filterChoice = new QComboBox(this);
    m_filterChoice->setObjectName(QStringLiteral("scheduleFilter"));
    m_filterChoice->addItem(QStringLiteral("все строки"), int(ScheduleFilterModel::Filter::All));
    m_filterChoice->addItem(
        QStringLiteral("использование более 90 %"), int(ScheduleFilterModel::Filter::Over90));
    m_filterChoice->addItem(
        QStringLiteral("строки с ошибками"), int(ScheduleFilterModel::Filter::WithErrors));
    m_columnsButton = new QToolButton(this);
    m_columnsButton->setObjectName(QStringLiteral("scheduleColumns"));
    m_columnsButton->setText(QStringLiteral("Столбцы полей"));
    m_columnsButton->setToolTip(QStringLiteral(
        "Поля, которые ведомость держит столбцами; поле без столбца берется из общих данных"));
    m_columnsButton->setPopupMode(QToolButton::InstantPopup);
    m_columnsButton->setMenu(new QMenu(m_columnsButton));
    m_rowsLabel = new QLabel(this);
    m_rowsLabel->setObjectName(QStringLiteral("scheduleRowCount"));
    buildColumnMenu();
}

void ScheduleWindow::buildColumnMenu()
{
    QMenu *menu = m_columnsButton->menu();
    for (const FieldInfo &info : inputFields()) {
        const QString name = QString::fromLatin1(info.name);
        QAction *action
            = menu->addAction(QStringLiteral("%1 (%2)").arg(QString::fromUtf8(info.caption), name));
        action->setObjectName(QStringLiteral("column_") + name);
        action->setCheckable(true);
        const InputField field = info.field;
        connect(action, &QAction::triggered, this, [this, field](bool on) {
            std::vector<InputField> fields = m_model->schedule().fields;
            if (on)
                fields.push_back(field);
            else
                std::erase(fields, field);
            m_editing->push(on
                    ? QStringLiteral("столбец %1").arg(QString::fromLatin1(fieldInfo(field).name))
                    : QStringLiteral("без столбца %1")
                          .arg(QString::fromLatin1(fieldInfo(field).name)),
                { { SetColumns { fields } } });
        });
    }
}

void ScheduleWindow::connectActions()
{
    connect(m_menu.close, &QAction::triggered, this, &QWidget::close);
    connect(m_menu.openInMainWindow, &QAction::triggered, this, &ScheduleWindow::openInMainWindow);
    connect(m_menu.title, &QAction::triggered, this, &ScheduleWindow::editTitle);
    connect(m_menu.scheduleOrder, &QAction::triggered, this, [this] {
        m_table->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
        m_filter->sort(-1);
    });
    // The row commands also on the table's context menu.
    for (QAction *action : { m_menu.openInMainWindow, m_menu.insertRow, m_menu.duplicateRows,
             m_menu.removeRows, m_menu.moveUp, m_menu.moveDown, m_menu.copy, m_menu.paste })
        m_table->addAction(action);

    connect(m_filterChoice, &QComboBox::activated, this, [this] {
        m_filter->setFilter(ScheduleFilterModel::Filter(m_filterChoice->currentData().toInt()));
        updateTitle();
    });
    connect(m_common, &CommonDataPanel::commonEdited, this, [this](const Calculation &common) {
        m_editing->push(QStringLiteral("общие данные"), { { SetCommon { common } } });
    });
    connect(m_common, &CommonDataPanel::takeFromMainWindowRequested, this,
        &ScheduleWindow::takeCommonFromMainWindow);

    // Whatever changed, the panel, the chart, the caption and the columns follow.
    connect(m_undoStack.get(), &QUndoStack::indexChanged, this, &ScheduleWindow::scheduleChanged);
    connect(m_undoStack.get(), &QUndoStack::cleanChanged, this, &ScheduleWindow::updateTitle);
    connect(m_document, &ScheduleDocument::stateChanged, this, &ScheduleWindow::scheduleChanged);
    connect(m_model, &QAbstractItemModel::dataChanged, this, &ScheduleWindow::updateChart);
    connect(m_model, &QAbstractItemModel::modelReset, this, &ScheduleWindow::updateChart);
    connect(m_model, &QAbstractItemModel::rowsInserted, this, &ScheduleWindow::updateChart);
    connect(m_model, &QAbstractItemModel::rowsRemoved, this, &ScheduleWindow::updateChart);
    connect(m_model, &QAbstractItemModel::rowsMoved, this, &ScheduleWindow::updateChart);
    connect(m_filter, &QAbstractItemModel::rowsInserted, this, &ScheduleWindow::updateTitle);
    connect(m_filter, &QAbstractItemModel::rowsRemoved, this, &ScheduleWindow::updateTitle);
    connect(m_filter, &QAbstractItemModel::modelReset, this, &ScheduleWindow::updateTitle);
    connect(m_filter, &QAbstractItemModel::modelReset, this, &ScheduleWindow::fitColumns);
    connect(m_filter, &QAbstractItemModel::layoutChanged, this, &ScheduleWindow::updateTitle);

    connect(m_chart, &ScheduleChartView::rowClicked, this,
        [this](qsizetype row) { m_editing->selectRow(int(row)); });
    connect(m_table->selectionModel(), &QItemSelectionModel::currentChanged, this,
        [this](const QModelIndex &current) {
            const int row = m_filter->mapToSource(current).row();
            m_chart->setSelectedRow(row >= 0 ? std::optional<qsizetype>(row) : std::nullopt);
        });

    connect(m_computation, &BackgroundComputation::started, this,
        [this] { QTimer::singleShot(kProgressDelayMs, this, &ScheduleWindow::showProgress); });
    connect(m_computation, &BackgroundComputation::progressed, this,
        [this](qsizetype done, qsizetype total) {
            m_progress->setRange(0, int(total));
            m_progress->setValue(int(done));
        });
    connect(m_computation, &BackgroundComputation::finished, m_progress, &QWidget::hide);
}

void ScheduleWindow::showProgress()
{
    if (m_computation->isRunning())
        m_progress->show();
}

void ScheduleWindow::setCatalogue(const SupportCatalogue &catalogue)
{
    if (catalogue == m_model->catalogue())
        return;
    m_model->setCatalogue(catalogue);
}

void ScheduleWindow::startNew()
{
    m_document->newSchedule();
}

bool ScheduleWindow::isComputed() const
{
    return !m_model->fullComputationPending() && !m_computation->isRunning();
}

void ScheduleWindow::scheduleChanged()
{
    m_common->show(m_model->schedule());
    updateColumnMenu();
    updateTitle();
}

// Wide enough for each caption, up to three default widths (the header's tooltip names it).
void ScheduleWindow::fitColumns()
{
    QHeaderView *header = m_table->horizontalHeader();
    const QFontMetrics metrics(header->font());
    const int normal = header->defaultSectionSize();
    for (int column = 0; column < m_filter->columnCount(); ++column) {
        const QString caption = m_filter->headerData(column, Qt::Horizontal).toString();
        header->resizeSection(column,
            std::clamp(
                metrics.horizontalAdvance(caption) + 2 * metrics.height(), normal, 3 * normal));
    }
}

void ScheduleWindow::updateColumnMenu()
{
    for (QAction *action : m_columnsButton->menu()->actions()) {
        const auto field = inputFieldNamed(action->objectName().mid(7));
        action->setChecked(field && m_model->schedule().holds(*field));
    }
}

// The chart is drawn anew once per turn of the event loop, however many changes came.
void ScheduleWindow::updateChart()
{
    if (std::exchange(m_chartPending, true))
        return;
    QTimer::singleShot(0, this, [this] {
        m_chartPending = false;
        m_chart->setChart(scheduleChart(*m_model));
    });
}

void ScheduleWindow::updateTitle()
{
    const QString file = m_document->filePath();
    const QString name
        = file.isEmpty() ? QStringLiteral("новая ведомость") : QFileInfo(file).fileName();
    setWindowTitle(QStringLiteral("Ведомость опор — %1[*]").arg(name));
    setWindowModified(m_document->isModified());
    const int shown = m_filter->rowCount();
    const int all = m_model->rowCount();
    m_rowsLabel->setText(shown == all
            ? QStringLiteral("опор: %1").arg(all)
            : QStringLiteral("показано %1 из %2 опор").arg(shown).arg(all));
}

void ScheduleWindow::takeCommonFromMainWindow()
{
    const SavedCalculation saved = m_context.mainCalculation();
    Calculation common = saved.calculation;
    common.sources = {};
    for (QString &text : common.texts)
        text = inDecimalSeparator(text, m_model->schedule().decimalSeparator);
    if (common != m_model->schedule().common)
        m_editing->push(
            QStringLiteral("общие данные из окна расчета"), { { SetCommon { common } } });
}

void ScheduleWindow::editTitle()
{
    const auto title = m_context.services.editTitle(this, m_model->schedule().title);
    if (title && *title != m_model->schedule().title)
        m_editing->push(QStringLiteral("титульный блок"), { { SetTitle { *title } } });
}

void ScheduleWindow::openInMainWindow()
{
    const int row = m_editing->currentRow();
    if (row < 0)
        return;
    const SavedCalculation saved
        = rowAsCalculation(m_model->schedule(), row, m_context.mainCalculation().decimalSeparator);
    if (m_context.showInMainWindow(saved))
        m_rowInMainWindow = QPersistentModelIndex(m_model->index(row, 0));
}

void ScheduleWindow::putCalculation(const SavedCalculation &saved)
{
    std::optional<qsizetype> replacing;
    if (m_rowInMainWindow.isValid()) {
        const int row = m_rowInMainWindow.row();
        switch (m_context.services.askPut(this, row + 1, m_model->schedule().rows[row].support)) {
        case PutCalculation::ReplaceRow:
            replacing = row;
            break;
        case PutCalculation::AddRow:
            break;
        case PutCalculation::Cancel:
            return;
        }
    }
    const qsizetype row = replacing.value_or(m_model->rowCount());
    m_editing->push(replacing ? QStringLiteral("строка из окна расчета")
                              : QStringLiteral("новая строка из окна расчета"),
        putCalculationEdit(m_model->schedule(), saved, replacing));
    m_editing->selectRow(int(row));
    m_rowInMainWindow = QPersistentModelIndex(m_model->index(int(row), 0));
}

bool ScheduleWindow::mayClose()
{
    return m_document->mayLeave();
}

void ScheduleWindow::closeEvent(QCloseEvent *event)
{
    if (!mayClose()) {
        event->ignore();
        return;
    }
    // Work the designer chose not to save is gone: the window opens next time on a new one.
    if (m_document->isModified())
        m_document->newSchedule();
    QMainWindow::closeEvent(event);
}

} // namespace kelsa
