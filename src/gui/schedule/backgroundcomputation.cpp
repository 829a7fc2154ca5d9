// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/schedule/backgroundcomputation.h"

#include "core/schedule/schedulemodel.h"

#include <QThread>

namespace kelsa
{

BackgroundComputation::BackgroundComputation(ScheduleModel &model, QObject *parent)
    : QObject(parent)
    , m_model(model)
{
    m_model.setDefersFullComputation(true);
    connect(&m_model, &ScheduleModel::fullComputationNeeded, this, &BackgroundComputation::start);
}

BackgroundComputation::~BackgroundComputation()
{
    if (m_thread) {
        m_cancel->store(true);
        m_thread->wait();
        delete m_thread;
    }
}

void BackgroundComputation::start()
{
    if (m_thread) {
        // The run under way is for an older schedule: once it has stopped, finish() starts
        // again on the schedule as it stands then.
        m_cancel->store(true);
        return;
    }
    const quint64 revision = m_model.revision();
    m_cancel = std::make_shared<std::atomic<bool>>(false);
    m_thread = QThread::create([this, revision, schedule = m_model.schedule(),
                                   catalogue = m_model.catalogue(), cancel = m_cancel] {
        ScheduleRunControl control;
        control.cancel = cancel.get();
        control.progress = [this](qsizetype done, qsizetype total) {
            QMetaObject::invokeMethod(
                this, [this, done, total] { emit progressed(done, total); }, Qt::QueuedConnection);
        };
        auto results = computeScheduleRows(schedule, catalogue, control);
        QMetaObject::invokeMethod(
            this,
            [this, revision, results = std::move(results)]() mutable {
                finish(revision, std::move(results));
            },
            Qt::QueuedConnection);
    });
    m_thread->start();
    emit started();
}

void BackgroundComputation::finish(
    quint64 revision, std::optional<std::vector<ScheduleRowResult>> results)
{
    m_thread->wait();
    delete m_thread;
    m_thread = nullptr;
    if (results && m_model.setAllResults(revision, std::move(*results))) {
        emit finished();
        return;
    }
    if (m_model.fullComputationPending())
        start();
    else
        emit finished();
}

} // namespace kelsa
