// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/platform/isolatedrun.h"

#include <QDeadlineTimer>

#include <algorithm>
#include <climits>
#include <cerrno>
#include <csignal>
#include <cstdint>

#include <fcntl.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace kelsa
{

namespace
{

bool writeAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

// The size of this process's address space in bytes, from /proc; 0 where it cannot be read.
// Plain system calls only: the child runs this before anything else.
std::uint64_t addressSpaceBytes()
{
    const int file = ::open("/proc/self/statm", O_RDONLY | O_CLOEXEC);
    if (file < 0)
        return 0;
    char text[64] = {};
    const ssize_t got = ::read(file, text, sizeof text - 1);
    ::close(file);
    std::uint64_t pages = 0;
    for (ssize_t i = 0; i < got && text[i] >= '0' && text[i] <= '9'; ++i)
        pages = pages * 10 + std::uint64_t(text[i] - '0');
    return pages * std::uint64_t(::sysconf(_SC_PAGESIZE));
}

// Lets the address space grow by `budget` bytes from what it is now. RLIMIT_AS bounds every
// mapping the child makes, malloc's and a library's own alike. It also counts what the child
// inherits, terabytes of reserved shadow memory under AddressSanitizer (RLIMIT_DATA would count
// those too), so the limit is the present size plus the budget rather than a fixed figure.
void limitMemory(qsizetype budget)
{
    const std::uint64_t now = addressSpaceBytes();
    if (now == 0 || budget <= 0)
        return;
    rlimit limit {};
    limit.rlim_cur = limit.rlim_max = rlim_t(now + std::uint64_t(budget));
    ::setrlimit(RLIMIT_AS, &limit);
}

[[noreturn]] void runChild(const std::function<void(const IsolatedSink &sink)> &work, int readEnd,
    int writeEnd, qsizetype memoryBudget)
{
    ::close(readEnd);
    limitMemory(memoryBudget);
    // A crash ends the child and nothing else, whatever handlers the program has installed;
    // a parent that stops listening makes the next write fail instead of killing the child.
    for (const int crash : { SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT })
        std::signal(crash, SIG_DFL);
    std::signal(SIGPIPE, SIG_IGN);
    int code = 0;
    try {
        work([writeEnd](std::string_view bytes) { return writeAll(writeEnd, bytes); });
    } catch (...) {
        code = 1;
    }
    ::_exit(code); // no exit handlers, no flushing of the parent's buffers
}

// Waits for the child; true when it exited normally with status 0.
bool reap(pid_t child, bool stop)
{
    if (stop)
        ::kill(child, SIGKILL);
    int status = 0;
    pid_t result;
    do {
        result = ::waitpid(child, &status, 0);
    } while (result < 0 && errno == EINTR);
    return result == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

} // namespace

struct IsolatedTask::State {
    pid_t child = -1; // -1: the child could not be started, or has been reaped
    int readEnd = -1;
    QDeadlineTimer deadline;
    qsizetype maxOutput = 0;
};

IsolatedTask::IsolatedTask(
    const Work &work, int timeoutMs, qsizetype maxOutput, qsizetype memoryBudget)
    : m_state(std::make_unique<State>())
{
    m_state->deadline = QDeadlineTimer(timeoutMs);
    m_state->maxOutput = maxOutput;
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0)
        return;
    const pid_t child = ::fork();
    if (child < 0) {
        ::close(ends[0]);
        ::close(ends[1]);
        return;
    }
    if (child == 0)
        runChild(work, ends[0], ends[1], memoryBudget);
    ::close(ends[1]);
    m_state->child = child;
    m_state->readEnd = ends[0];
}

IsolatedTask::~IsolatedTask()
{
    if (m_state->child < 0)
        return;
    ::close(m_state->readEnd);
    reap(m_state->child, /*stop=*/true);
}

IsolatedRun IsolatedTask::finish()
{
    IsolatedRun run;
    State &state = *m_state;
    if (state.child < 0)
        return run; // never started, or finished before
    char buffer[64 * 1024];
    bool stop = true; // until the child has closed its end
    run.end = IsolatedRun::End::Failed;
    for (;;) {
        if (state.deadline.hasExpired()) {
            run.end = IsolatedRun::End::TimedOut;
            break;
        }
        pollfd readable { state.readEnd, POLLIN, 0 };
        const auto wait = std::clamp<qint64>(state.deadline.remainingTime(), 0, INT_MAX);
        const int ready = ::poll(&readable, 1, static_cast<int>(wait));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready == 0) {
            run.end = IsolatedRun::End::TimedOut;
            break;
        }
        if (ready < 0)
            break;
        const ssize_t got = ::read(state.readEnd, buffer, sizeof buffer);
        if (got < 0 && (errno == EINTR || errno == EAGAIN))
            continue;
        if (got < 0)
            break;
        if (got == 0) {
            stop = false;
            run.end = IsolatedRun::End::Finished;
            break;
        }
        if (run.output.size() + got > state.maxOutput) {
            run.end = IsolatedRun::End::TooMuchOutput;
            break;
        }
        run.output.append(buffer, got);
    }
    ::close(state.readEnd);
    if (!reap(state.child, stop) && run.end == IsolatedRun::End::Finished)
        run.end = IsolatedRun::End::Failed;
    state.child = -1;
    return run;
}

IsolatedRun runIsolated(
    const IsolatedTask::Work &work, int timeoutMs, qsizetype maxOutput, qsizetype memoryBudget)
{
    return IsolatedTask(work, timeoutMs, maxOutput, memoryBudget).finish();
}

} // namespace kelsa
