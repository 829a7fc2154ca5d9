// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/schedule/scheduledocument.h"

#include "core/schedule/cellblock.h"
#include "core/schedule/schedulemodel.h"
#include "gui/schedule/scheduleformats.h"
#include "gui/schedule/schedulepdf.h"
#include "gui/schedule/schedulewindow.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QUndoStack>

namespace kelsa
{

namespace
{

QString shown(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

QString startFolder(const QString &filePath)
{
    return filePath.isEmpty() ? QDir::currentPath() : QFileInfo(filePath).absolutePath();
}

} // namespace

ScheduleDocument::ScheduleDocument(ScheduleWindow &window)
    : QObject(&window)
    , m_window(window)
{
    const ScheduleMenu &menu = window.menu();
    connect(menu.newSchedule, &QAction::triggered, this, [this] {
        if (mayLeave())
            newSchedule();
    });
    connect(menu.open, &QAction::triggered, this, &ScheduleDocument::open);
    connect(menu.save, &QAction::triggered, this, &ScheduleDocument::save);
    connect(menu.saveAs, &QAction::triggered, this, &ScheduleDocument::saveAs);
    connect(menu.importTable, &QAction::triggered, this, &ScheduleDocument::importTable);
    connect(menu.exportTable, &QAction::triggered, this, &ScheduleDocument::exportTable);
    connect(&window.undoStack(), &QUndoStack::cleanChanged, this, &ScheduleDocument::stateChanged);
}

bool ScheduleDocument::isModified() const
{
    return m_imported || !m_window.undoStack().isClean();
}

void ScheduleDocument::fail(const QString &text) const
{
    m_window.context().services.showMessage(QStringLiteral("Kelsa"), text);
}

void ScheduleDocument::take(Schedule schedule, const QString &path, bool imported)
{
    m_window.undoStack().clear();
    m_window.forgetRowInMainWindow();
    m_window.model().setSchedule(std::move(schedule));
    m_filePath = path.isEmpty() ? QString() : QFileInfo(path).absoluteFilePath();
    m_imported = imported;
    m_window.undoStack().setClean();
    emit stateChanged();
}

// The main window's texts and options as the common data, in the user's decimal separator.
void ScheduleDocument::newSchedule()
{
    Schedule schedule;
    schedule.decimalSeparator = QLocale().decimalPoint().front();
    if (schedule.decimalSeparator != QLatin1Char('.'))
        schedule.decimalSeparator = QLatin1Char(',');
    if (m_window.context().mainCalculation) {
        schedule.common = m_window.context().mainCalculation().calculation;
        for (QString &text : schedule.common.texts)
            text = inDecimalSeparator(text, schedule.decimalSeparator);
    }
    schedule.common.sources = {};
    schedule.fields = defaultScheduleFields();
    take(std::move(schedule), QString(), false);
}

bool ScheduleDocument::mayLeave()
{
    if (!isModified())
        return true;
    const ScheduleServices &services = m_window.context().services;
    switch (services.askUnsaved(&m_window, QFileInfo(m_filePath).fileName())) {
    case UnsavedChanges::Save:
        return save();
    case UnsavedChanges::Discard:
        return true;
    case UnsavedChanges::Cancel:
        break;
    }
    return false;
}

void ScheduleDocument::open()
{
    if (!mayLeave())
        return;
    const QString path = m_window.context().services.chooseOpenFile(&m_window,
        QStringLiteral("Открыть ведомость опор"), startFolder(m_filePath), scheduleFileFilter());
    if (!path.isEmpty())
        openFile(path);
}

bool ScheduleDocument::openFile(const QString &path)
{
    ScheduleRead read = readScheduleDocument(path);
    if (const auto *problem = std::get_if<QString>(&read)) {
        fail(QStringLiteral("Не удалось открыть ведомость «%1»: %2").arg(shown(path), *problem));
        return false;
    }
    take(std::move(std::get<Schedule>(read)), path, false);
    return true;
}

bool ScheduleDocument::save()
{
    return m_filePath.isEmpty() ? saveAs() : saveFile(m_filePath);
}

bool ScheduleDocument::saveAs()
{
    const QString start = m_filePath.isEmpty()
        ? QDir(QDir::currentPath()).filePath(QStringLiteral("ведомость.") + scheduleFileSuffix())
        : m_filePath;
    QString path = m_window.context().services.chooseSaveFile(
        &m_window, QStringLiteral("Сохранить ведомость опор"), start, scheduleFileFilter());
    if (path.isEmpty())
        return false;
    if (QFileInfo(path).suffix().isEmpty())
        path += QLatin1Char('.') + scheduleFileSuffix();
    return saveFile(path);
}

bool ScheduleDocument::saveFile(const QString &path)
{
    const QString problem = writeScheduleDocument(path, m_window.model().schedule());
    if (!problem.isEmpty()) {
        fail(QStringLiteral("Не удалось сохранить ведомость в «%1»: %2").arg(shown(path), problem));
        return false;
    }
    m_filePath = QFileInfo(path).absoluteFilePath();
    m_imported = false;
    m_window.undoStack().setClean();
    emit stateChanged();
    return true;
}

void ScheduleDocument::importTable()
{
    if (!mayLeave())
        return;
    const QString path = m_window.context().services.chooseOpenFile(&m_window,
        QStringLiteral("Импорт ведомости опор"), startFolder(m_filePath), importFilter());
    if (!path.isEmpty())
        importFile(path);
}

bool ScheduleDocument::importFile(const QString &path)
{
    ScheduleRead read = importScheduleTable(path, m_window.model().schedule());
    if (const auto *problem = std::get_if<QString>(&read)) {
        fail(QStringLiteral("Не удалось импортировать «%1»: %2").arg(shown(path), *problem));
        return false;
    }
    take(std::move(std::get<Schedule>(read)), QString(), true);
    return true;
}

void ScheduleDocument::exportTable()
{
    const QString base = m_filePath.isEmpty()
        ? QDir(QDir::currentPath()).filePath(QStringLiteral("ведомость.pdf"))
        : QFileInfo(m_filePath).path() + QLatin1Char('/') + QFileInfo(m_filePath).completeBaseName()
            + QStringLiteral(".pdf");
    QString path = m_window.context().services.chooseSaveFile(
        &m_window, QStringLiteral("Экспорт ведомости опор"), base, exportFilter());
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".pdf");
    exportFile(path);
}

bool ScheduleDocument::exportFile(const QString &path)
{
    if (!m_window.isComputed()) {
        fail(QStringLiteral("Ведомость еще рассчитывается; экспорт в «%1» не выполнен, "
                            "повторите его после расчета.")
                 .arg(shown(path)));
        return false;
    }
    const QString suffix = QFileInfo(path).suffix().toLower();
    QString problem;
    if (suffix == QLatin1String("pdf"))
        problem = writeSchedulePdf(m_window.model(), { m_filePath, QDate::currentDate() }, path);
    else if (suffix == QLatin1String("csv") || suffix == QLatin1String("xlsx"))
        problem = exportScheduleTable(path, m_window.model());
    else
        problem = QStringLiteral("неизвестный формат «.%1»: ведомость записывается в PDF, CSV "
                                 "или .xlsx")
                      .arg(suffix);
    if (!problem.isEmpty()) {
        fail(QStringLiteral("Не удалось экспортировать ведомость в «%1»: %2")
                 .arg(shown(path), problem));
        return false;
    }
    if (suffix != QLatin1String("pdf"))
        if (const QStringList left = optionsLeftOut(m_window.model()); !left.isEmpty())
            fail(QStringLiteral("Ведомость записана в «%1». В таблице нет столбцов для "
                                "вариантов расчета общих данных: %2; kelsa --batch и импорт "
                                "возьмут для них начальные значения.")
                     .arg(shown(path), left.join(QStringLiteral(", "))));
    return true;
}

} // namespace kelsa
