// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

#include <atomic>
#include <thread>

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

namespace kelsa::test
{

// Takes what is written into a FIFO, as the program at its other end would, on a thread of its
// own. It opens the FIFO at once, so a writer's open does not wait; it never waits for ever
// itself: a writer that never comes (or writes elsewhere) leaves it with nothing once the
// test says the writing is over.
class FifoReader
{
public:
    explicit FifoReader(const QString &path)
        : m_fd(::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC))
        , m_thread([this] { read(); })
    {
    }
    ~FifoReader() { finish(); }
    FifoReader(const FifoReader &) = delete;
    FifoReader &operator=(const FifoReader &) = delete;

    // Everything the writer wrote, once it is done writing (it has closed the FIFO, or the
    // process has ended).
    QByteArray finish()
    {
        m_writingOver = true;
        if (m_thread.joinable())
            m_thread.join();
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = -1;
        return m_bytes;
    }

private:
    void read()
    {
        while (m_fd >= 0) {
            pollfd ready { m_fd, POLLIN, 0 };
            const bool over = m_writingOver;
            if (::poll(&ready, 1, 50) <= 0) {
                if (over)
                    return;
                continue;
            }
            char buffer[65536];
            const ssize_t got = ::read(m_fd, buffer, sizeof buffer);
            if (got > 0)
                m_bytes.append(buffer, got);
            // Linux tells the end (POLLHUP) only once a writer has come and gone.
            else if ((got == 0 && (ready.revents & POLLHUP)) || over)
                return;
        }
    }

    int m_fd;
    std::atomic<bool> m_writingOver = false;
    QByteArray m_bytes;
    std::thread m_thread;
};

} // namespace kelsa::test
