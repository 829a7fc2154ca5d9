// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/platform/isolatedrun.h"

#include "core/platform/addressspace.h"

#include <QDeadlineTimer>

#include <algorithm>
#include <climits>
#include <cerrno>
#include <csignal>
#include <cstdint>

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

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

[[noreturn]] void runChild(const std::function<void(const IsolatedSink &sink)> &work, int readEnd,
    int writeEnd, qsizetype memoryBudget)
{
    ::close(readEnd);
    if (memoryBudget > 0)
        limitAddressSpace(std::uint64_t(memoryBudget));
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

// Waits for the child; the status it exited with, or -1 when a signal ended it.
int reap(pid_t child, bool stop)
{
    if (stop)
        ::kill(child, SIGKILL);
    int status = 0;
    pid_t result;
    do {
        result = ::waitpid(child, &status, 0);
    } while (result < 0 && errno == EINTR);
    return result == child && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace

struct IsolatedTask::State {
    pid_t child = -1; // -1: the child could not be started, or has been reaped
    bool started = false; // a child was started (and may have been reaped since)
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
    m_state->started = true;
    m_state->readEnd = ends[0];
}

IsolatedTask::IsolatedTask(
    const std::vector<std::string> &command, int timeoutMs, qsizetype maxOutput)
    : m_state(std::make_unique<State>())
{
    m_state->deadline = QDeadlineTimer(timeoutMs);
    m_state->maxOutput = maxOutput;
    if (command.empty())
        return;
    std::vector<char *> arguments;
    arguments.reserve(command.size() + 1);
    for (const std::string &argument : command)
        arguments.push_back(const_cast<char *>(argument.c_str()));
    arguments.push_back(nullptr);
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0)
        return;
    // The write end becomes the program's standard output (dup2 clears its close-on-exec);
    // its standard input is empty. Both ends are closed in it otherwise.
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, ends[1], STDOUT_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    // A crash signal ends it even where this process ignores that signal, and it starts with
    // no signal blocked, whatever this thread blocks.
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t defaults;
    sigemptyset(&defaults);
    for (const int crash : { SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT })
        sigaddset(&defaults, crash);
    sigset_t none;
    sigemptyset(&none);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK);
    pid_t child = -1;
    const int failed
        = ::posix_spawn(&child, arguments[0], &actions, &attributes, arguments.data(), environ);
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    ::close(ends[1]);
    if (failed) {
        ::close(ends[0]);
        return;
    }
    m_state->child = child;
    m_state->started = true;
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
    if (state.child < 0) { // never started, or finished before
        if (!state.started)
            run.end = IsolatedRun::End::NotStarted;
        return run;
    }
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
    run.exitStatus = reap(state.child, stop);
    if (run.exitStatus != 0 && run.end == IsolatedRun::End::Finished)
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
