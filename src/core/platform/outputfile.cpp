// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/platform/outputfile.h"

#include <cerrno>
#include <cstring>

namespace kelsa
{

namespace
{

// The system's reasons in the same words on every computer, whatever its language: the usual
// ones from a table, any other as the C library words it.
QString errorText(int error)
{
    struct Reason {
        int error;
        const char *text;
    };
    static constexpr Reason kReasons[] = {
        { ENOSPC, "no space left on device" },
        { EFBIG, "file too large" },
#ifdef EDQUOT
        { EDQUOT, "disk quota exceeded" },
#endif
        { EACCES, "permission denied" },
        { EPERM, "operation not permitted" },
        { EROFS, "read-only file system" },
        { ENOENT, "no such file or folder" },
        { ENOTDIR, "a part of the path is not a folder" },
        { EISDIR, "a folder" },
        { ENAMETOOLONG, "file name too long" },
        { ELOOP, "too many levels of symbolic links" },
        { EIO, "input/output error" },
        { EPIPE, "the reader closed the pipe" },
        { ENXIO, "no such device or address" },
        { ENODEV, "no such device" },
        { ETXTBSY, "text file busy" },
        { EBUSY, "device or resource busy" },
        { EMFILE, "too many open files" },
        { ENFILE, "too many open files in system" },
        { EINVAL, "invalid argument" },
        { EBADF, "not open for writing" },
    };
    for (const Reason &reason : kReasons)
        if (reason.error == error)
            return QString::fromLatin1(reason.text);
    QString text = QString::fromLocal8Bit(std::strerror(error));
    if (!text.isEmpty())
        text[0] = text[0].toLower();
    return text;
}

QString targetText(OutputTarget target)
{
    switch (target) {
    case OutputTarget::Folder:
        return QStringLiteral("a folder, not a file");
    case OutputTarget::Socket:
        return QStringLiteral("a socket, not a file");
    case OutputTarget::BlockDevice:
        return QStringLiteral("a block device, not a file");
    case OutputTarget::Unknown:
    case OutputTarget::NewFile:
    case OutputTarget::RegularFile:
    case OutputTarget::Stream:
    case OutputTarget::StandardOutput:
    case OutputTarget::Other:
        break;
    }
    return QStringLiteral("neither a file, a FIFO nor a character device");
}

} // namespace

QString outputFailureText(const OutputFailure &failure)
{
    switch (failure.kind) {
    case OutputFailure::Kind::None:
        return {};
    case OutputFailure::Kind::SameAsInput:
        return QStringLiteral("the same file as the input %1").arg(failure.input);
    case OutputFailure::Kind::NotWritable:
        return targetText(failure.target);
    case OutputFailure::Kind::System:
        return errorText(failure.error);
    }
    return {};
}

} // namespace kelsa
