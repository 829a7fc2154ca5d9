// SPDX-License-Identifier: GPL-3.0-or-later
// runIsolated() where there is no fork(): the work runs in this process, so a crash in it is a
// crash of the program and a hang is not stopped. Only the output limit holds, not the memory
// budget. A platform that
// can start a helper process deserves a better implementation; this one keeps the engine
// building there meanwhile.
#include "core/platform/isolatedrun.h"

#include <utility>

namespace kelsa
{

struct IsolatedTask::State {
    Work work;
    qsizetype maxOutput = 0;
    bool finished = false;
};

IsolatedTask::IsolatedTask(
    const Work &work, int /*timeoutMs*/, qsizetype maxOutput, qsizetype /*memoryBudget*/)
    : m_state(std::make_unique<State>(State { work, maxOutput }))
{
}

IsolatedTask::~IsolatedTask() = default;

IsolatedRun IsolatedTask::finish()
{
    IsolatedRun run;
    if (std::exchange(m_state->finished, true))
        return run;
    run.end = IsolatedRun::End::Finished;
    run.exitStatus = 0; // as a child that returns from the work exits
    const qsizetype maxOutput = m_state->maxOutput;
    try {
        m_state->work([&run, maxOutput](std::string_view bytes) {
            if (run.output.size() + qsizetype(bytes.size()) > maxOutput) {
                run.end = IsolatedRun::End::TooMuchOutput;
                return false;
            }
            run.output.append(bytes.data(), qsizetype(bytes.size()));
            return true;
        });
    } catch (...) {
        run.end = IsolatedRun::End::Failed;
        run.exitStatus = 1;
    }
    return run;
}

IsolatedRun runIsolated(
    const IsolatedTask::Work &work, int timeoutMs, qsizetype maxOutput, qsizetype memoryBudget)
{
    return IsolatedTask(work, timeoutMs, maxOutput, memoryBudget).finish();
}

} // namespace kelsa
