// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Files and nodes of every kind for the tests of where outputs go: written and read back, told
// apart without following links, and made (a socket) where the system lets the test.

#include <QByteArray>
#include <QFile>
#include <QString>

#include <algorithm>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace kelsa::test
{

inline void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

inline QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(unreadable)");
}

// What a name is on disk, without following a symbolic link: "file", "fifo", "char",
// "link", "folder", "socket", "block", "other", or "none".
inline QString nodeKind(const QString &path)
{
    struct stat node;
    if (::lstat(QFile::encodeName(path).constData(), &node) != 0)
        return QStringLiteral("none");
    if (S_ISREG(node.st_mode))
        return QStringLiteral("file");
    if (S_ISFIFO(node.st_mode))
        return QStringLiteral("fifo");
    if (S_ISCHR(node.st_mode))
        return QStringLiteral("char");
    if (S_ISLNK(node.st_mode))
        return QStringLiteral("link");
    if (S_ISDIR(node.st_mode))
        return QStringLiteral("folder");
    if (S_ISSOCK(node.st_mode))
        return QStringLiteral("socket");
    if (S_ISBLK(node.st_mode))
        return QStringLiteral("block");
    return QStringLiteral("other");
}

// A listening-less Unix socket bound at `path`; false where the name is too long or the system
// refuses.
inline bool makeSocket(const QString &path)
{
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address {};
    address.sun_family = AF_UNIX;
    const QByteArray name = QFile::encodeName(path);
    if (fd < 0 || std::size_t(name.size()) >= sizeof address.sun_path)
        return false;
    std::copy(name.begin(), name.end(), address.sun_path);
    const bool bound = ::bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0;
    ::close(fd);
    return bound;
}

} // namespace kelsa::test
