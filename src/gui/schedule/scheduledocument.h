// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/schedule/schedule.h"

#include <QObject>
#include <QString>

namespace kelsa
{

class ScheduleWindow;

// The schedule window's schedule as a document: «Новая ведомость», «Открыть…», «Сохранить»,
// «Сохранить как…» of .kelsa-schedule files, «Импорт…» of a table (CSV, .xlsx, .ods) and
// «Экспорт…» (CSV, .xlsx, PDF), the file it was last saved to or opened from, and whether it
// changed since: an edit not undone, or a schedule imported and not yet saved. Leaving unsaved
// work (closing, opening or importing another, starting anew) asks first; a save that fails or
// is cancelled leaves everything as it was. Every failure is told in a message naming the file.
class ScheduleDocument : public QObject
{
    Q_OBJECT
public:
    explicit ScheduleDocument(ScheduleWindow &window);

    // The file, or empty for a schedule never saved or opened.
    const QString &filePath() const { return m_filePath; }
    bool isModified() const;

    bool openFile(const QString &path);
    bool saveFile(const QString &path);
    bool importFile(const QString &path);
    // The format by the name's ending: .csv, .xlsx or .pdf.
    bool exportFile(const QString &path);

    // A schedule that is no file's: its common data the main window's, no rows.
    void newSchedule();
    bool mayLeave();

signals:
    // The file or its modified state changed: the window's caption follows.
    void stateChanged();

private:
    void open();
    bool save();
    bool saveAs();
    void importTable();
    void exportTable();
    // Shows a schedule as unchanged, from `path` (empty: none); `imported` marks it unsaved.
    void take(Schedule schedule, const QString &path, bool imported);
    void fail(const QString &text) const;

    ScheduleWindow &m_window;
    QString m_filePath;
    bool m_imported = false;
};

} // namespace kelsa
