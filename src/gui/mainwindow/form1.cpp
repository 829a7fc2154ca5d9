// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/mainwindow/form1.h"

#include "gui/check/cataloguedialog.h"
#include "gui/check/supportcheckbar.h"
#include "gui/mainwindow/calculationdocument.h"
#include "gui/mainwindow/calculations.h"
#include "gui/mainwindow/designoptions.h"
#include "gui/mainwindow/form1layout.h"
#include "gui/mainwindow/launches.h"
#include "gui/mainwindow/mainmenu.h"
#include "gui/mainwindow/lookups.h"
#include "gui/mainwindow/referencetables.h"
#include "gui/mainwindow/resets.h"
#include "gui/mainwindow/schedulelink.h"
#include "gui/mainwindow/switches.h"
#include "gui/report/reportdialog.h"
#include "gui/report/titledialog.h"
#include "gui/widgets/appearance.h"
#include "gui/widgets/cursorfile.h"
#include "gui/widgets/fieldedit.h"
#include "gui/widgets/framebox.h"
#include "gui/widgets/recordnavigator.h"
#include "gui/widgets/wrapbutton.h"

#include <QAction>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QMenuBar>
#include <QUrl>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>
#include <QVBoxLayout>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>

#include <algorithm>
#include <utility>
#include <vector>

using namespace kelsa;

namespace
{

template <typename T> T *typedControl(const Form1 &form, const QString &name)
{
    T *widget = qobject_cast<T *>(form.control(name));
    if (!widget)
        qFatal("Form1 control %s is not a %s", qPrintable(name), T::staticMetaObject.className());
    return widget;
}

void paintRed(QWidget *widget)
{
    QPalette palette = widget->palette();
    for (auto role : { QPalette::WindowText, QPalette::Text, QPalette::ButtonText })
        palette.setColor(role, resultRed);
    widget->setPalette(palette);
}

void paintGrey(QWidget *widget)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, panelGrey);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

QWidget *createControl(const ControlRow &row, QWidget *container)
{
    const QString text = QString::fromUtf8(row.text);
    QWidget *widget = nullptr;
    switch (row.kind) {
    case ControlKind::Label: {
        auto *label = new QLabel(text, container);
        // Captions break at blanks inside their box and start at its top-left corner.
        label->setWordWrap(true);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        label->setTextFormat(Qt::PlainText);
        widget = label;
        break;
    }
    case ControlKind::Text: {
        auto *edit = new FieldEdit(container);
        edit->setText(text);
        widget = edit;
        break;
    }
    case ControlKind::Frame:
        widget = new FrameBox(text, row.look & Bold, container);
        break;
    case ControlKind::Command:
        widget = new WrapButton(text, container);
        break;
    case ControlKind::Option: {
        auto *option = new QRadioButton(text, container);
        // Exclusivity comes from one QButtonGroup per option group: Qt's automatic
        // exclusivity would tie the two options on the window to every option in its frames.
        option->setAutoExclusive(false);
        widget = option;
        break;
    }
    case ControlKind::Navigator:
        widget = new RecordNavigator(text, container);
        break;
    }
    widget->setObjectName(QString::fromLatin1(row.name));
    widget->setGeometry(px(row.left), px(row.top), px(row.width), px(row.height));
    // Everything inherits the window's plain face; only bold captions set a font of their own.
    if ((row.look & Bold) && row.kind != ControlKind::Frame)
        widget->setFont(uiFont(true));
    if (row.look & Red)
        paintRed(widget);
    if (row.look & Grey)
        paintGrey(widget);
    return widget;
}

} // namespace

Form1::Form1(QWidget *parent)
    : Form1(Form1Services {}, parent)
{
}

Form1::Form1(Form1Services services, QWidget *parent)
    : QWidget(parent)
    , m_services(std::move(services))
{
    if (!m_services.showMessage)
        m_services.showMessage = messageBoxSink(this);
    if (!m_services.startProcess)
        m_services.startProcess = detachedProcessStarter();
    if (!m_services.openUrl)
        m_services.openUrl = desktopUrlOpener();
    if (!m_services.folderMemory.recall || !m_services.folderMemory.remember)
        m_services.folderMemory = settingsFolderMemory();
    if (!m_services.chooseFolder)
        m_services.chooseFolder = folderDialogChooser();
    if (!m_services.chooseOpenFile)
        m_services.chooseOpenFile = openFileDialogChooser();
    if (!m_services.chooseSaveFile)
        m_services.chooseSaveFile = saveFileDialogChooser();
    if (!m_services.askUnsaved)
        m_services.askUnsaved = unsavedChangesBox();
    if (!m_services.editReportTitle)
        m_services.editReportTitle = editReportTitle;
    if (!m_services.showReport)
        m_services.showReport
            = [](QWidget *parent, const ReportInput &input) { showReportPreview(parent, input); };

    // The workbooks are parsed by a process of their own while the window builds everything
    // else. It starts first, so that it has the whole construction to read in.
    m_tablesFolder = m_services.tablesFolder.path.isEmpty()
        ? kelsa::chooseTablesFolder(
            QString(), QDir::currentPath(), m_services.folderMemory.recall(), installedDataFolder())
        : m_services.tablesFolder;
    const auto workbooks = readReferenceWorkbooks(m_tablesFolder);

    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Kelsa1.0"));
    setWindowIcon(programIcon());
    setFont(uiFont());
    paintGrey(this);

    // The controls stand on a surface of the form's size inside a scroll area without a frame:
    // as large as the form, the window looks as drawn; on a screen too small for it (a laptop
    // at 200 %), it opens at the screen's size with scroll bars, and nothing moves on the form.
    m_surface = new QWidget;
    m_surface->setObjectName(QStringLiteral("Form1Surface"));
    m_surface->setFixedSize(px(kForm1Width), px(kForm1Height));
    paintGrey(m_surface);
    m_scrollArea = new QScrollArea(this);
    m_scrollArea->setObjectName(QStringLiteral("Form1ScrollArea"));
    m_scrollArea->setFrameShape(QFrame::NoFrame);
    m_scrollArea->setFocusPolicy(Qt::NoFocus); // the keyboard goes from control to control
    m_scrollArea->setWidget(m_surface);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_scrollArea);
    m_checkBar = new SupportCheckBar(this);
    layout->addWidget(m_checkBar);
    m_menu = buildMainMenu(this);
    layout->setMenuBar(m_menu.bar);
    // The form keeps its size between the menu bar and the status bar; the window grows by the
    // bars' heights (the status bar's is known once it holds its choice of types, below).

    buildControls();
    fillControls();
    groupOptions();
    setTabOrderFromTable();

    const auto message = [this](const QString &text) { showMessage(text); };
    m_resets = std::make_unique<ResetCommands>(m_ui, *this);
    m_switches = std::make_unique<Switches>(m_ui);
    m_options = std::make_unique<DesignOptions>(m_ui);
    runStartUp();
    // The reference tables open with the window and show their first records.
    m_tables = std::make_unique<ReferenceTables>(m_ui);
    const QList<SheetReadResult> read = workbooks->results();
    m_tables->load(m_tablesFolder, read);
    m_checkBar->setCatalogue(supportCatalogueOf(m_tablesFolder, read));
    resize(m_surface->width(),
        m_surface->height() + m_menu.bar->sizeHint().height() + m_checkBar->sizeHint().height());
    m_lookups = std::make_unique<LoadLookups>(m_ui, *m_tables);
    m_calculations = std::make_unique<Calculations>(
        m_ui, [this] { return calculation(); }, message);
    // The support type is checked on the moments shown, and each result's tooltip adds its
    // utilisation for the type checked.
    m_calculations->setTooltipNote([this](double kgfm) {
        return utilisationNote(kgfm, m_checkBar->check(), m_checkBar->catalogue(), QLocale());
    });
    connect(m_checkBar, &SupportCheckBar::checkChanged, m_calculations.get(),
        &Calculations::updateTooltips);
    connect(m_calculations.get(), &Calculations::resultsChanged, this, &Form1::updateCheck);
    for (FieldEdit *field : m_ui.fields)
        connect(field, &FieldEdit::textChanged, this, &Form1::updateCheck);
    for (const auto &group : m_ui.options)
        for (QRadioButton *option : group)
            connect(option, &QRadioButton::toggled, this, &Form1::updateCheck);
    // A reset empties labels even where it puts back no text that differs.
    for (QAbstractButton *reset : m_ui.resetButtons)
        connect(reset, &QAbstractButton::clicked, this, &Form1::updateCheck);
    m_launches = std::make_unique<Launches>(m_ui, m_services, message);
    m_document = std::make_unique<CalculationDocument>(*this, m_services, m_menu);
    m_scheduleLink
        = std::make_unique<ScheduleLink>(*this, m_menu, *m_checkBar, m_services.schedule);
    watchForChanges();
    connectMenu();
    m_document->markSaved(); // the start-up state: what a calculation without a file is measured by
    updateTitle();
}

// Whatever a .kelsa file keeps: the fields, the options, the records, the result labels (the
// reset buttons empty labels without touching a field's text).
void Form1::watchForChanges()
{
    CalculationDocument *document = m_document.get();
    const auto update = [document] { document->updateModified(); };
    for (FieldEdit *field : m_ui.fields) {
        connect(field, &FieldEdit::textChanged, document, update);
        // A look-up may copy the text the field already holds: only its source changes.
        connect(field, &FieldEdit::clicked, document, update);
    }
    for (const auto &group : m_ui.options)
        for (QRadioButton *option : group)
            connect(option, &QRadioButton::toggled, document, update);
    for (QAbstractButton *reset : m_ui.resetButtons)
        connect(reset, &QAbstractButton::clicked, document, update);
    connect(m_tables.get(), &ReferenceTables::recordChanged, document, update);
    connect(m_calculations.get(), &Calculations::resultsChanged, document, update);
    connect(m_checkBar, &SupportCheckBar::chosenTypeChanged, document, update);
    connect(document, &CalculationDocument::stateChanged, this, &Form1::updateTitle);
}

void Form1::connectMenu()
{
    connect(m_menu.exit, &QAction::triggered, this, &QWidget::close);
    connect(m_menu.chooseTablesFolder, &QAction::triggered, this, &Form1::chooseTablesFolder);
    connect(m_menu.reloadTables, &QAction::triggered, this, [this] { loadTables(m_tablesFolder); });
    connect(m_menu.catalogue, &QAction::triggered, this, &Form1::showCatalogue);
    connect(m_menu.about, &QAction::triggered, m_launches.get(), &Launches::Command15_Click);
    connect(m_menu.helpPage, &QAction::triggered, m_launches.get(), &Launches::showHelpPage);
    connect(m_menu.report, &QAction::triggered, this, &Form1::showReport);
}

// The caption stays «Kelsa1.0»; the open calculation's file («новый расчет» before it has one),
// with Qt's modified marker, and the folder the numbers come from are always in sight after it.
void Form1::updateTitle()
{
    const QString tables = QStringLiteral("таблицы: ") + tablesFolderName(m_tablesFolder);
    const QString file = m_document->filePath();
    const QString name
        = file.isEmpty() ? QStringLiteral("новый расчет") : QFileInfo(file).fileName();
    setWindowTitle(QStringLiteral("Kelsa1.0 — %1[*] — %2").arg(name, tables));
    setWindowModified(m_document->isModified());
}

void Form1::loadTables(const TablesFolder &folder)
{
    m_tablesFolder = folder;
    const QList<SheetReadResult> read = readReferenceWorkbooks(folder)->results();
    m_tables->load(folder, read);
    m_checkBar->setCatalogue(supportCatalogueOf(folder, read));
    if (m_catalogueDialog && m_catalogueDialog->isVisible())
        m_catalogueDialog->show(m_checkBar->catalogue());
    updateTitle();
    reportTableProblems();
}

void Form1::showCatalogue()
{
    if (!m_catalogueDialog)
        m_catalogueDialog = new CatalogueDialog(this);
    m_catalogueDialog->show(m_checkBar->catalogue());
}

// The moments on the labels as they stand, stale ones marked, to the support check.
void Form1::updateCheck()
{
    m_checkBar->setMoments(m_calculations->shownMoments());
}

void Form1::chooseTablesFolder()
{
    const QString chosen = m_services.chooseFolder(
        this, QStringLiteral("Папка справочных таблиц"), chooserStartFolder(m_tablesFolder));
    if (chosen.isEmpty())
        return;
    m_services.folderMemory.remember(chosen);
    loadTables({ QDir(chosen).absolutePath(), false, {} });
}

// The title block is asked for first and kept with the calculation; the report is made from
// the window as it stands, with the folder its tables came from.
void Form1::showReport()
{
    const std::optional<ReportTitle> title = m_services.editReportTitle(this, m_document->title());
    if (!title)
        return;
    m_document->setTitle(*title);
    m_services.showReport(this,
        ReportInput { savedCalculation(), tablesFolderName(m_tablesFolder), QDate::currentDate(),
            m_document->filePath(), m_checkBar->catalogue() });
}

// Typed cell values go with their records while the window lives; closing keeps them too.
void Form1::closeEvent(QCloseEvent *event)
{
    if (!m_document->mayLeave()) {
        event->ignore();
        return;
    }
    m_tables->commitEdits();
    QWidget::closeEvent(event);
}

Form1::~Form1() = default;

void Form1::buildControls()
{
    const auto specs = form1Controls();
    for (const ControlRow &row : specs) {
        QWidget *container
            = row.container[0] ? control(QString::fromLatin1(row.container)) : m_surface;
        m_controls.insert(QString::fromLatin1(row.name), createControl(row, container));
    }
    // The table lists each container's controls topmost first: raising them from the last to
    // the first leaves the first on top. Labels then go beneath everything else beside them.
    for (auto it = specs.rbegin(); it != specs.rend(); ++it)
        control(QString::fromLatin1(it->name))->raise();
    for (const ControlRow &row : specs)
        if (row.kind == ControlKind::Label)
            control(QString::fromLatin1(row.name))->lower();
}

// The typed handles, from the names the layout table gave the controls and the engine's
// catalogues of fields, moments, resets, options and tables.
void Form1::fillControls()
{
    for (const FieldInfo &info : inputFields())
        m_ui.fields[std::size_t(info.field)] = field(QString::fromLatin1(info.name));
    for (const MomentInfo &info : moments()) {
        m_ui.momentButtons[std::size_t(info.moment)] = button(QString::fromLatin1(info.button));
        m_ui.momentLabels[std::size_t(info.moment)] = label(QString::fromLatin1(info.label));
    }
    for (const ResetInfo &info : resets())
        m_ui.resetButtons[std::size_t(info.reset)] = button(QString::fromLatin1(info.button));
    for (const OptionGroupInfo &info : optionGroups())
        for (const char *name : info.options)
            m_ui.options[std::size_t(info.group)].push_back(option(QString::fromLatin1(name)));
    const auto tables = referenceTables();
    for (std::size_t t = 0; t < tables.size(); ++t) {
        Form1Controls::Table &table = m_ui.tables[t];
        table.navigator
            = typedControl<RecordNavigator>(*this, QString::fromLatin1(tables[t].navigator));
        table.rowLabel = label(QString::fromLatin1(tables[t].rowLabel));
        for (int k = 0; k < tables[t].cellCount; ++k)
            table.cells.push_back(field(tables[t].cellName(k)));
    }
    m_ui.transitionFrame = control(QStringLiteral("Frame35"));
    m_ui.additionalLoadsFrame = control(QStringLiteral("Frame39"));
    m_ui.aboutButton = button(QStringLiteral("Command15"));
    m_ui.exitButton = button(QStringLiteral("Command16"));
    m_ui.systemCalculatorButton = button(QStringLiteral("Command17"));
    m_ui.builtInCalculatorButton = button(QStringLiteral("Command18"));
}

void Form1::groupOptions()
{
    // The option buttons placed directly in one container form one group of exclusive choices.
    QHash<QString, QButtonGroup *> groups;
    for (const ControlRow &row : form1Controls()) {
        if (row.kind != ControlKind::Option)
            continue;
        const QString container = QString::fromLatin1(row.container);
        QButtonGroup *&group = groups[container];
        if (!group) {
            group = new QButtonGroup(this);
            group->setObjectName(
                QStringLiteral("options of ") + (container.isEmpty() ? objectName() : container));
            group->setExclusive(true);
        }
        group->addButton(option(QString::fromLatin1(row.name)));
    }
}

void Form1::setTabOrderFromTable()
{
    std::vector<std::pair<int, QWidget *>> order;
    for (const ControlRow &row : form1Controls()) {
        const bool takesFocus = row.kind == ControlKind::Text || row.kind == ControlKind::Command
            || row.kind == ControlKind::Option;
        if (takesFocus)
            order.emplace_back(row.tab, control(QString::fromLatin1(row.name)));
    }
    std::sort(
        order.begin(), order.end(), [](const auto &a, const auto &b) { return a.first < b.first; });
    for (std::size_t i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1].second, order[i].second);
}

void Form1::runStartUp()
{
    // 1. The right column starts with the additional loads.
    m_ui.transitionFrame->hide();
    // 2. Default design condition; each selection runs its option's behaviour at once.
    for (const OptionGroupInfo &info : optionGroups())
        if (info.group != OptionGroup::Calculator)
            m_ui.optionGroup(info.group)[std::size_t(info.startIndex)]->setChecked(true);
    // 3. The pointing hand marks the seven look-up fields.
    const QCursor hand = lookupCursor(m_services.files.locate(QStringLiteral("32761.CUR")));
    for (const FieldInfo &info : inputFields())
        if (info.lookup)
            m_ui.field(info.field)->setCursor(hand);
    // 4-5. The system calculator's button first, then the built-in calculator is chosen.
    m_ui.systemCalculatorButton->show();
    m_ui.builtInCalculatorButton->hide();
    const OptionGroupInfo &calculator = optionGroupInfo(OptionGroup::Calculator);
    m_ui.optionGroup(calculator.group)[std::size_t(calculator.startIndex)]->setChecked(true);

    m_ui.optionGroup(OptionGroup::IceThickness).front()->setFocus(Qt::OtherFocusReason);
}

Calculation Form1::calculation() const
{
    Calculation calculation;
    for (const FieldInfo &info : inputFields())
        calculation.text(info.field) = m_ui.field(info.field)->text();
    calculation.options = m_ui.selectedOptions();
    calculation.sources = m_lookups->sources();
    return calculation;
}

namespace
{

bool sameInputs(const Calculation &a, const Calculation &b)
{
    return a.texts == b.texts && a.options == b.options;
}

} // namespace

SavedCalculation Form1::savedCalculation() const
{
    SavedCalculation saved;
    saved.calculation = calculation();
    for (std::size_t t = 0; t < saved.records.size(); ++t) {
        const int shown = m_tables->currentRecord(t);
        saved.records[t] = shown >= 0 ? shown + 1 : m_keptRecords[t];
    }
    for (const MomentInfo &info : moments()) {
        SavedResult &result = saved.result(info.moment);
        result.text = m_ui.momentLabel(info.moment)->text();
        std::optional<Calculation> from = m_calculations->computedFrom(info.moment);
        if (from && !sameInputs(*from, saved.calculation)) {
            from->sources = {}; // where the loads came from is told for the inputs now
            result.computedFrom = from;
        }
    }
    saved.title = m_document->title();
    saved.supportType = m_checkBar->chosenType();
    saved.decimalSeparator = QLocale().decimalPoint().front();
    return saved;
}

std::vector<RecordBeyondTable> Form1::restoreCalculation(const SavedCalculation &saved)
{
    TableRecords counts {};
    for (std::size_t t = 0; t < counts.size(); ++t)
        counts[t] = m_tables->recordCount(t);
    const FittedRecords records = fitRecords(saved.records, counts);
    m_keptRecords = saved.records;
    const Calculation &calculation = saved.calculation;
    for (const FieldInfo &info : inputFields())
        m_ui.field(info.field)->setText(calculation.text(info.field));
    // Each option runs its behaviour as when the user selects it: cells, frames, buttons.
    for (const OptionGroupInfo &info : optionGroups())
        m_ui.optionGroup(info.group)[std::size_t(calculation.option(info.group))]->setChecked(true);
    for (std::size_t t = 0; t < records.shown.size(); ++t)
        m_tables->showRecord(t, records.shown[t] - 1);
    m_lookups->restoreSources(calculation.sources);
    m_checkBar->setChosenType(saved.supportType);
    for (const MomentInfo &info : moments()) {
        const SavedResult &result = saved.result(info.moment);
        m_calculations->restore(
            info.moment, result.text, result.computedFrom.value_or(calculation));
    }
    return records.beyond;
}

void Form1::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!std::exchange(m_shownOnce, true)) {
        fitIntoScreen();
        QMetaObject::invokeMethod(this, &Form1::reportStartUpProblems, Qt::QueuedConnection);
    }
}

// A window larger than the screen's free area opens at that area's size, its frame included
// (a title bar is allowed for while the window manager has not framed it yet), with scroll
// bars over the form.
void Form1::fitIntoScreen()
{
    if (!isWindow() || !screen())
        return;
    const QRect available = screen()->availableGeometry();
    QMargins frame(geometry().left() - frameGeometry().left(),
        geometry().top() - frameGeometry().top(), frameGeometry().right() - geometry().right(),
        frameGeometry().bottom() - geometry().bottom());
    if (frame.isNull() && !testAttribute(Qt::WA_DontShowOnScreen))
        frame.setTop(style()->pixelMetric(QStyle::PM_TitleBarHeight));
    const QSize room = available.size().shrunkBy(frame);
    if (size().width() <= room.width() && size().height() <= room.height())
        return;
    resize(size().boundedTo(room));
    move(available.topLeft());
}

// After every reading of the tables: one message lists every workbook that could not be read
// and every formula cell without a number.
void Form1::reportTableProblems()
{
    QStringList parts { m_tables->problemReport(), catalogueReport(m_checkBar->catalogue()) };
    parts.removeAll(QString());
    if (!parts.isEmpty())
        showMessage(parts.join(QStringLiteral("\n\n")));
}

// Once the window is on screen: the tables' problems, after a word on the folder remembered
// from last time when the samples are shown in its place, all in one message.
void Form1::reportStartUpProblems()
{
    QStringList parts { missingRememberedFolderNote(m_tablesFolder), m_tables->problemReport(),
        catalogueReport(m_checkBar->catalogue()) };
    parts.removeAll(QString());
    if (!parts.isEmpty())
        showMessage(parts.join(QStringLiteral("\n\n")));
}

QWidget *Form1::control(const QString &name) const
{
    QWidget *widget = m_controls.value(name);
    if (!widget)
        qFatal("Form1 has no control named %s", qPrintable(name));
    return widget;
}

FieldEdit *Form1::field(const QString &name) const
{
    return typedControl<FieldEdit>(*this, name);
}

QLabel *Form1::label(const QString &name) const
{
    return typedControl<QLabel>(*this, name);
}

QRadioButton *Form1::option(const QString &name) const
{
    return typedControl<QRadioButton>(*this, name);
}

QAbstractButton *Form1::button(const QString &name) const
{
    return typedControl<QAbstractButton>(*this, name);
}

void Form1::showMessage(const QString &text) const
{
    m_services.showMessage(QStringLiteral("Kelsa"), text);
}
