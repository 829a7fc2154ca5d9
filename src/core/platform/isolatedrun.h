// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>

#include <functional>
#include <string_view>

namespace kelsa
{

struct IsolatedRun {
    enum class End {
        Finished, // the work returned and its whole output is here
        Failed, // the child crashed, was killed or could not be started
        TimedOut, // the work took longer than allowed and was stopped
        TooMuchOutput, // the work wrote more than allowed and was stopped
    };
    End end = End::Failed;
    QByteArray output; // what the child wrote before it ended, however it ended
};

// Passes output from the child to this process; false when this process no longer listens.
using IsolatedSink = std::function<bool(std::string_view bytes)>;

// Runs work in a child process forked from this one, so that a library that crashes or hangs
// on a damaged file cannot take the program with it. The work writes its output through the
// sink; runIsolated() returns when the child has ended, stopping it after timeoutMs or once it
// has written more than maxOutput bytes.
//
// The child runs the work and exits without returning to the caller. It may use the C and C++
// libraries (glibc keeps malloc usable after fork) but not Qt, whose locks may be held by
// threads of this process that do not exist in the child.
IsolatedRun runIsolated(
    const std::function<void(const IsolatedSink &sink)> &work, int timeoutMs, qsizetype maxOutput);

} // namespace kelsa
