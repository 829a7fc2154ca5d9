// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/schedule/rowcomputation.h"

#include <QObject>

#include <atomic>
#include <memory>
#include <optional>
#include <vector>

class QThread;

namespace kelsa
{

class ScheduleModel;

// Computes every row of a schedule model on a thread of its own whenever the model asks for it
// (the model defers: ScheduleModel::setDefersFullComputation), so that the window stays
// responsive over a long schedule. A change while it runs cancels the run and starts another
// on the schedule as it then stands; results for a schedule since changed are never shown.
class BackgroundComputation : public QObject
{
    Q_OBJECT
public:
    explicit BackgroundComputation(ScheduleModel &model, QObject *parent = nullptr);
    ~BackgroundComputation() override;

    bool isRunning() const { return m_thread != nullptr; }

signals:
    void started();
    // Rows computed so far, from time to time.
    void progressed(qsizetype done, qsizetype total);
    // Every row has its results.
    void finished();

private:
    void start();
    void finish(quint64 revision, std::optional<std::vector<ScheduleRowResult>> results);

    ScheduleModel &m_model;
    QThread *m_thread = nullptr;
    std::shared_ptr<std::atomic<bool>> m_cancel;
};

} // namespace kelsa
