// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/mainwindow/calculationdocument.h"

#include "core/document/calculationfile.h"
#include "core/document/unsavedwork.h"
#include "core/tables/tablecatalogue.h"
#include "gui/mainwindow/form1.h"
#include "gui/mainwindow/mainmenu.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QStringList>

#include <vector>

namespace kelsa
{

namespace
{

QString fileFilter()
{
    return QStringLiteral("Расчеты Kelsa (*.%1)").arg(QLatin1String(kCalculationFileSuffix));
}

QString shown(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

QString recordsNotShownMessage(const QString &path, const std::vector<RecordBeyondTable> &beyond)
{
    QStringList lines;
    lines << QStringLiteral("Расчет «%1» открыт, но не все его записи есть в справочных таблицах: "
                            "таблицы стали короче. Они показывают свою последнюю запись; поля "
                            "расчета — как в файле. При сохранении расчета будут записаны "
                            "показанные записи.")
                 .arg(shown(path));
    const auto tables = referenceTables();
    for (const RecordBeyondTable &record : beyond)
        lines << QStringLiteral("запись %1 таблицы «%2» (%3): в таблице записей %4")
                     .arg(record.record)
                     .arg(QString::fromUtf8(tables[record.table].caption),
                         QString::fromLatin1(tables[record.table].navigator))
                     .arg(record.count);
    return lines.join(QLatin1Char('\n'));
}

} // namespace

CalculationDocument::CalculationDocument(
    Form1 &form, const Form1Services &services, const MainMenu &menu)
    : m_form(form)
    , m_services(services)
{
    connect(menu.newCalculation, &QAction::triggered, this, &CalculationDocument::newCalculation);
    connect(menu.open, &QAction::triggered, this, &CalculationDocument::open);
    connect(menu.save, &QAction::triggered, this, &CalculationDocument::save);
    connect(menu.saveAs, &QAction::triggered, this, &CalculationDocument::saveAs);
}

void CalculationDocument::setTitle(const ReportTitle &title)
{
    m_title = title;
    updateModified();
}

void CalculationDocument::updateModified()
{
    const bool modified
        = holdsUnsavedWork(m_form.savedCalculation(), m_savedState, !m_filePath.isEmpty());
    if (modified != m_modified) {
        m_modified = modified;
        emit stateChanged();
    }
}

void CalculationDocument::markSaved()
{
    m_savedState = m_form.savedCalculation();
    m_modified = false;
    emit stateChanged();
}

bool CalculationDocument::mayLeave()
{
    updateModified();
    if (!m_modified)
        return true;
    switch (m_services.askUnsaved(&m_form, QFileInfo(m_filePath).fileName())) {
    case UnsavedChanges::Save:
        return save();
    case UnsavedChanges::Discard:
        return true;
    case UnsavedChanges::Cancel:
        break;
    }
    return false;
}

// Back to the window as it starts: start texts, default options, first records, no results.
void CalculationDocument::newCalculation()
{
    if (!mayLeave())
        return;
    m_form.restoreCalculation(SavedCalculation {});
    m_title = {};
    m_filePath.clear();
    markSaved();
}

void CalculationDocument::open()
{
    if (!mayLeave())
        return;
    const QString start = m_filePath.isEmpty() ? QDir::currentPath() : m_filePath;
    const QString path
        = m_services.chooseOpenFile(&m_form, QStringLiteral("Открыть расчет"), start, fileFilter());
    if (!path.isEmpty())
        openFile(path);
}

bool CalculationDocument::openFile(const QString &path)
{
    const CalculationFileReading reading = readCalculationFile(path);
    QString problem;
    if (const auto *fileProblem = std::get_if<CalculationFileProblem>(&reading))
        problem = fileProblem->text;
    if (!std::holds_alternative<SavedCalculation>(reading)) {
        m_form.showMessage(
            QStringLiteral("Не удалось открыть расчет «%1»: %2").arg(shown(path), problem));
        return false;
    }
    const SavedCalculation &saved = std::get<SavedCalculation>(reading);
    m_title = saved.title;
    const std::vector<RecordBeyondTable> beyond = m_form.restoreCalculation(saved);
    m_filePath = QFileInfo(path).absoluteFilePath();
    markSaved();
    // A record the window cannot show stays the file's: the window differs from the file until
    // it is saved with the records shown, or left without saving.
    for (const RecordBeyondTable &record : beyond)
        m_savedState.records[record.table] = record.record;
    updateModified();
    if (!beyond.empty())
        m_form.showMessage(recordsNotShownMessage(path, beyond));
    return true;
}

void CalculationDocument::takeCalculation(const SavedCalculation &saved)
{
    m_form.restoreCalculation(saved);
    m_title = saved.title;
    m_filePath.clear();
    markSaved();
}

bool CalculationDocument::save()
{
    return m_filePath.isEmpty() ? saveAs() : saveFile(m_filePath);
}

bool CalculationDocument::saveAs()
{
    const QString start = m_filePath.isEmpty()
        ? QDir(QDir::currentPath()).filePath(QStringLiteral("расчет.kelsa"))
        : m_filePath;
    QString path = m_services.chooseSaveFile(
        &m_form, QStringLiteral("Сохранить расчет"), start, fileFilter());
    if (path.isEmpty())
        return false;
    if (QFileInfo(path).suffix().isEmpty())
        path += QLatin1Char('.') + QLatin1String(kCalculationFileSuffix);
    return saveFile(path);
}

bool CalculationDocument::saveFile(const QString &path)
{
    const QString error = writeCalculationFile(path, m_form.savedCalculation());
    if (!error.isEmpty()) {
        m_form.showMessage(
            QStringLiteral("Не удалось сохранить расчет в «%1»: %2").arg(shown(path), error));
        return false;
    }
    m_filePath = QFileInfo(path).absoluteFilePath();
    markSaved();
    return true;
}

} // namespace kelsa
