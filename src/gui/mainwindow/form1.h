// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Kelsa's main window. Data flows through its controls as text:
//
//   input fields ──click──▶ emptied, ready for typing                       (ResetCommands)
//   reset buttons ────────▶ initial texts back, result labels emptied       (ResetCommands)
//   design options ───────▶ which cell of each reference table is shown     (DesignOptions)
//   shown cell ──click in a look-up field──▶ look-up field                  (LoadLookups)
//   fields ──calculation button──▶ formula ──▶ moment text in a red label   (Calculations)
//   switches ─────────────▶ transition-support frame / additional loads,
//                           built-in / system calculator button             (Switches)
//   moments on the labels ──▶ support check against the catalogue ──▶ status bar, result
//                           tooltips; its choice of type ──▶ the file       (SupportCheckBar)
//
// Every control is built from the table in form1layout.cpp; the behaviours reach them through
// Form1Controls by what they are, and the engine (core/calc, core/tables) says which field,
// cell, label and option plays which part. The behaviours live in the small classes named
// above, one per concern; the window only builds the controls, runs the start-up sequence and
// owns what the behaviours share. calculation() gathers the whole state as one value.

#include "core/calc/calculation.h"
#include "core/document/recordfit.h"
#include "core/document/savedcalculation.h"
#include "core/report/calculationreport.h"
#include "core/tables/tablefolder.h"
#include "gui/mainwindow/mainmenu.h"
#include "gui/mainwindow/form1controls.h"
#include "gui/schedule/scheduleservices.h"
#include "gui/widgets/services.h"

#include <QHash>
#include <QWidget>

#include <memory>
#include <vector>

class QLabel;
class QLineEdit;
class QRadioButton;
class QAbstractButton;
class QScrollArea;

namespace kelsa
{
class Calculations;
class DesignOptions;
class LoadLookups;
class ReferenceTables;
class ResetCommands;
class Switches;
class Launches;
class FieldEdit;
class CalculationDocument;
class CatalogueDialog;
class SupportCheckBar;
class ScheduleLink;

// What the main window needs from outside; every member left empty takes the real thing.
struct Form1Services {
    FileLocator files; // the cursor and the help page
    // The folder of the ten reference tables; with an empty path, the one start-up chooses:
    // the working folder when it holds a table, else the remembered one, else the samples
    // (and a word, once the window is shown, when the remembered one is missing).
    TablesFolder tablesFolder;
    FolderMemory folderMemory; // default: the program's settings
    FolderChooser chooseFolder; // default: the desktop's folder dialog
    MessageSink showMessage; // default: a modal QMessageBox over the window
    ProcessStarter startProcess; // default: QProcess::startDetached
    UrlOpener openUrl; // default: QDesktopServices::openUrl
    FileChooser chooseOpenFile; // default: the desktop's file dialogs
    FileChooser chooseSaveFile;
    UnsavedChangesQuestion askUnsaved; // default: a question box with three buttons
    // The report's title block asked for before the report; nothing when cancelled.
    std::function<std::optional<ReportTitle>(QWidget *parent, const ReportTitle &title)>
        editReportTitle;
    // The calculation report shown; default: a print preview.
    std::function<void(QWidget *parent, const ReportInput &input)> showReport;
    // The schedule window's; what is left empty takes this window's messages and file dialogs.
    ScheduleServices schedule;
};
} // namespace kelsa

class Form1 : public QWidget
{
    Q_OBJECT
public:
    explicit Form1(QWidget *parent = nullptr);
    explicit Form1(kelsa::Form1Services services, QWidget *parent = nullptr);
    ~Form1() override;

    // Controls by their names; an unknown name is a programming error and stops the program.
    QWidget *control(const QString &name) const;
    kelsa::FieldEdit *field(const QString &name) const;
    QLabel *label(const QString &name) const;
    QRadioButton *option(const QString &name) const;
    QAbstractButton *button(const QString &name) const;

    // The program's message box: title "Kelsa", OK, no icon; returns when dismissed.
    void showMessage(const QString &text) const;

    // Everything the calculations read, as it stands now.
    kelsa::Calculation calculation() const;
    // The whole window as a .kelsa file keeps it: the calculation, the record of each table,
    // every result label and the report's title block.
    kelsa::SavedCalculation savedCalculation() const;
    // Puts a calculation into the window, every field, option, record and result label as
    // saved. A table now shorter than its saved record shows its last record instead; those
    // records are returned, in the order of the catalogue.
    std::vector<kelsa::RecordBeyondTable> restoreCalculation(const kelsa::SavedCalculation &saved);
    // The calculation's file, and opening and saving one; failures are told in a message box.
    kelsa::CalculationDocument &document() const { return *m_document; }

    const kelsa::Form1Services &services() const { return m_services; }
    // The folder the reference tables on screen were read from.
    const kelsa::TablesFolder &tablesFolder() const { return m_tablesFolder; }
    const kelsa::MainMenu &menu() const { return m_menu; }
    // The schedule window («Файл → Ведомость опор…»), built when first asked for.
    kelsa::ScheduleLink &scheduleLink() const { return *m_scheduleLink; }

    // Reads all ten tables again, from the given folder (each back to its first record; the
    // look-up fields keep their texts) and reports what could not be read at once.
    void loadTables(const kelsa::TablesFolder &folder);

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void buildControls();
    void fillControls();
    void groupOptions();
    void setTabOrderFromTable();
    void runStartUp();
    void reportTableProblems();
    void reportStartUpProblems();
    void fitIntoScreen();
    void updateTitle();
    void watchForChanges();
    void connectMenu();
    void chooseTablesFolder();
    void showReport();
    void showCatalogue();
    void updateCheck();

    kelsa::Form1Services m_services;
    kelsa::TablesFolder m_tablesFolder;
    kelsa::MainMenu m_menu;
    QWidget *m_surface = nullptr; // the controls stand on it, at the form's size
    QScrollArea *m_scrollArea = nullptr;
    kelsa::SupportCheckBar *m_checkBar = nullptr; // under the form
    kelsa::CatalogueDialog *m_catalogueDialog = nullptr; // made when first asked for
    QHash<QString, QWidget *> m_controls;
    kelsa::Form1Controls m_ui;
    bool m_shownOnce = false;
    // The record of each table as the calculation last put into the window kept it: a table
    // that could not be read shows none, and saving must not turn its record into the first.
    kelsa::TableRecords m_keptRecords { 1, 1, 1, 1, 1, 1, 1, 1, 1, 1 };

    std::unique_ptr<kelsa::ResetCommands> m_resets;
    std::unique_ptr<kelsa::Switches> m_switches;
    std::unique_ptr<kelsa::DesignOptions> m_options;
    std::unique_ptr<kelsa::ReferenceTables> m_tables;
    std::unique_ptr<kelsa::LoadLookups> m_lookups;
    std::unique_ptr<kelsa::Calculations> m_calculations;
    std::unique_ptr<kelsa::Launches> m_launches;
    std::unique_ptr<kelsa::CalculationDocument> m_document;
    std::unique_ptr<kelsa::ScheduleLink> m_scheduleLink;
};
