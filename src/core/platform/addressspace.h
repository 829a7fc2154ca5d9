// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

namespace kelsa
{

// The size of this process's address space in bytes, from /proc; 0 where it cannot be read.
// Plain system calls only: a child forked from a multi-threaded process runs this before
// anything else.
inline std::uint64_t addressSpaceBytes()
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
// mapping the process makes, malloc's and a library's own alike. It also counts what the
// process has mapped already, terabytes of reserved shadow memory under AddressSanitizer
// (RLIMIT_DATA would count those too), so the limit is the present size plus the budget rather
// than a fixed figure. Past it, allocations fail (std::bad_alloc) instead of driving the
// machine into swap.
inline void limitAddressSpace(std::uint64_t budget)
{
    const std::uint64_t now = addressSpaceBytes();
    if (now == 0 || budget == 0)
        return;
    rlimit limit {};
    limit.rlim_cur = limit.rlim_max = rlim_t(now + budget);
    ::setrlimit(RLIMIT_AS, &limit);
}

} // namespace kelsa
