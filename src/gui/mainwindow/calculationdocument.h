// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/document/savedcalculation.h"

#include <QObject>
#include <QString>

class Form1;

namespace kelsa
{

struct Form1Services;
struct MainMenu;

// The main window's calculation as a document: «Новый расчет», «Открыть…», «Сохранить»,
// «Сохранить как…» of the «Файл» menu, the file it was last saved to or opened from, and
// whether it changed since. Leaving unsaved work (closing the window, opening another file,
// starting anew) asks whether to save it first: for a calculation with a file, any change since
// it was saved or opened; for one never saved, the designer's work since start-up (see
// holdsUnsavedWork). «Сохранить» in that question saves as «Сохранить» does, under a name asked
// for when there is none yet; a save that fails or is cancelled leaves the window as it was.
class CalculationDocument : public QObject
{
    Q_OBJECT
public:
    CalculationDocument(Form1 &form, const Form1Services &services, const MainMenu &menu);

    // The file, or empty for a calculation never saved or opened.
    const QString &filePath() const { return m_filePath; }
    bool isModified() const { return m_modified; }
    // The report's title block, kept with the calculation.
    const ReportTitle &title() const { return m_title; }
    void setTitle(const ReportTitle &title);

    // Each tells its failure in a message box naming the file and leaves the window as it was.
    // A file whose record lies beyond a table that has since grown shorter opens all the same,
    // with that table at its last record and one message naming each record not shown; the
    // window then differs from the file.
    bool openFile(const QString &path);
    bool saveFile(const QString &path);
    // A calculation taken from elsewhere (a row of the schedule) as a new one without a file,
    // unchanged until edited; ask mayLeave() first.
    void takeCalculation(const SavedCalculation &saved);

    // True when the calculation may be left: nothing unsaved, or the user saved or discarded
    // it; false when the user cancelled or the save failed.
    bool mayLeave();

    // Compares the window with the file, or with the start-up state when there is none; call
    // after anything in the window changed.
    void updateModified();
    // Takes the window as it stands as unchanged: the file's state, or for a calculation
    // without a file the start-up state. The window calls it once it has started up.
    void markSaved();

signals:
    // The file or its modified state changed: the window's caption follows.
    void stateChanged();

private:
    void newCalculation();
    void open();
    bool save();
    bool saveAs();

    Form1 &m_form;
    const Form1Services &m_services;
    QString m_filePath;
    SavedCalculation m_savedState; // as the window held it when last saved or opened, or started
    ReportTitle m_title;
    bool m_modified = false;
};

} // namespace kelsa
