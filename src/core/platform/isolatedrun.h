// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace kelsa
{

struct IsolatedRun {
    enum class End {
        Finished, // the work returned and its whole output is here
        Failed, // the child crashed, was killed or ended with a status other than 0
        TimedOut, // the work took longer than allowed and was stopped
        TooMuchOutput, // the work wrote more than allowed and was stopped
        NotStarted, // no child: the program is missing or cannot run, or no process is left
    };
    End end = End::Failed;
    QByteArray output; // what the child wrote before it ended, however it ended
    int exitStatus = -1; // what the child exited with; -1 when a signal ended it or none ran
};

// Memory the child may take beyond the address space it inherits from this process: far more
// than parsing any reference table needs, far less than a damaged workbook may make a parser
// ask for. Past it, allocations in the child fail (std::bad_alloc) instead of driving the
// machine into swap. It is counted on top of what the child inherits because that differs
// widely: a few hundred megabytes for the program, terabytes of reserved shadow memory under
// AddressSanitizer.
inline constexpr qsizetype kChildMemoryBudget = qsizetype(1) << 30;

// Passes output from the child to this process; false when this process no longer listens.
using IsolatedSink = std::function<bool(std::string_view bytes)>;

// Runs work in a child process forked from this one, so that a library that crashes or hangs
// on a damaged file cannot take the program with it (isolatedrun_posix.cpp; where there is no
// fork, isolatedrun_inprocess.cpp runs it in this process). The work writes its output through
// the sink. The child starts when the task is made, so the caller can go on with other work
// while it runs; finish() waits for it to end, stopping it once timeoutMs have passed since
// the start or once it has written more than maxOutput bytes. A task destroyed unfinished
// stops its child. The child's address space may grow by memoryBudget bytes at most.
//
// The child runs the work and exits without returning to the caller. It may use the C and C++
// libraries (glibc keeps malloc usable after fork) but not Qt, whose locks may be held by
// threads of this process that do not exist in the child.
class IsolatedTask
{
public:
    using Work = std::function<void(const IsolatedSink &sink)>;

    IsolatedTask(const Work &work, int timeoutMs, qsizetype maxOutput,
        qsizetype memoryBudget = kChildMemoryBudget);
#ifdef Q_OS_UNIX
    // Runs a program of its own as the child: command[0] is its path, the rest its arguments.
    // Its standard output is the output; it reads nothing, and what it writes to its standard
    // error goes where this process's does. It is started without copying this process, which
    // keeps neither this process's memory nor its threads' locks: a program that parses
    // damaged files is best run this way, and bounds its own memory (limitAddressSpace()).
    IsolatedTask(const std::vector<std::string> &command, int timeoutMs, qsizetype maxOutput);
#endif
    IsolatedTask(const IsolatedTask &) = delete;
    IsolatedTask &operator=(const IsolatedTask &) = delete;
    ~IsolatedTask();

    // Waits for the child and gives what it wrote; the first call only.
    IsolatedRun finish();

private:
    struct State;
    std::unique_ptr<State> m_state;
};

// Starts a task and finishes it at once.
IsolatedRun runIsolated(const IsolatedTask::Work &work, int timeoutMs, qsizetype maxOutput,
    qsizetype memoryBudget = kChildMemoryBudget);

} // namespace kelsa
