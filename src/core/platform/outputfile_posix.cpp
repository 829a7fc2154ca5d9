// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/platform/outputfile.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <optional>
#include <utility>

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kelsa
{

namespace
{

// Writes are gathered to this size before they go to the system: a report's PDF arrives in
// pieces of a few bytes.
constexpr qsizetype kBufferBytes = qsizetype(64) * 1024;

// A file name longer than this has its temporary file named apart from it, so that the
// temporary name stays within the system's limit of 255 bytes.
constexpr qsizetype kLongestNameForTemporary = 200;

QByteArray nativePath(const QString &path)
{
    return QFile::encodeName(path);
}

bool sameNode(const struct stat &a, const struct stat &b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

OutputTarget targetOf(mode_t mode)
{
    if (S_ISREG(mode))
        return OutputTarget::RegularFile;
    if (S_ISFIFO(mode) || S_ISCHR(mode))
        return OutputTarget::Stream;
    if (S_ISDIR(mode))
        return OutputTarget::Folder;
    if (S_ISSOCK(mode))
        return OutputTarget::Socket;
    if (S_ISBLK(mode))
        return OutputTarget::BlockDevice;
    return OutputTarget::Other;
}

// The input that is the node `output`: the same device and inode (a symbolic or hard link to
// it), or the same path once links are followed (`outputPath`, when the output has a name).
std::optional<QString> inputNamed(
    const struct stat &output, const QString &outputPath, const QStringList &inputs)
{
    const QString canonical
        = outputPath.isEmpty() ? QString() : QFileInfo(outputPath).canonicalFilePath();
    for (const QString &input : inputs) {
        struct stat node;
        if (::stat(nativePath(input).constData(), &node) == 0 && sameNode(node, output))
            return input;
        if (!canonical.isEmpty() && QFileInfo(input).canonicalFilePath() == canonical)
            return input;
    }
    return std::nullopt;
}

// Where a new file of this name goes: a symbolic link to nothing yet is followed, so the link
// stays and the file appears where it points.
QString newFilePath(const QString &path)
{
    QFileInfo info(path);
    for (int level = 0; level < 40 && info.isSymLink(); ++level)
        info = QFileInfo(info.symLinkTarget());
    return info.absoluteFilePath();
}

// A name beside `finalPath` that no file is likely to have: "OUT.csv.k3Xz9Q".
QByteArray temporaryName(const QByteArray &finalPath)
{
    static constexpr char kLetters[]
        = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    const qsizetype slash = finalPath.lastIndexOf('/');
    QByteArray name = finalPath.size() - slash - 1 > kLongestNameForTemporary
        ? finalPath.left(slash + 1) + ".kelsa"
        : finalPath;
    name += '.';
    for (int k = 0; k < 6; ++k)
        name += kLetters[QRandomGenerator::global()->bounded(int(sizeof kLetters) - 1)];
    return name;
}

int closeDescriptor(int fd)
{
    // Linux closes the descriptor even when close() is interrupted; trying again could close
    // one another thread has just opened.
    return ::close(fd) == 0 || errno == EINTR ? 0 : errno;
}

} // namespace

struct OutputFile::Private {
    QString path;
    QStringList inputs;
    OutputTarget target = OutputTarget::Unknown;
    OutputFailure failure;
    int fd = -1;
    bool closeFd = true; // false for the standard output, which stays open
    QByteArray finalPath; // a file's path with its symbolic links followed
    QByteArray tempPath; // the temporary file's name, once it has one
    bool unnamed = false; // made with O_TMPFILE: it has no name until it is committed
    QByteArray buffer;

    bool fail(int error)
    {
        if (failure.kind == OutputFailure::Kind::None)
            failure = { OutputFailure::Kind::System, error, target, {} };
        return false;
    }

    bool openTarget();
    bool openStandardOutput();
    bool openStream(const QByteArray &name, const struct stat &node);
    bool createTemporary(const struct stat *old);
    bool writeAll(const char *data, qint64 size);
    bool flush();
    bool finish();
    bool nameTemporary();
    void discard();
};

bool OutputFile::Private::openTarget()
{
    if (path == QLatin1String(kStandardOutputName))
        return openStandardOutput();
    const QByteArray name = nativePath(path);
    struct stat node;
    if (::stat(name.constData(), &node) != 0) {
        if (errno != ENOENT)
            return fail(errno);
        target = OutputTarget::NewFile;
        finalPath = nativePath(newFilePath(path));
        return createTemporary(nullptr);
    }
    target = targetOf(node.st_mode);
    if (const auto input = inputNamed(node, path, inputs)) {
        failure = { OutputFailure::Kind::SameAsInput, 0, target, *input };
        return false;
    }
    switch (target) {
    case OutputTarget::RegularFile:
        finalPath = nativePath(QFileInfo(path).canonicalFilePath());
        if (finalPath.isEmpty()) // removed just now
            finalPath = nativePath(newFilePath(path));
        // A file the user may not change is not replaced either, even though the folder's
        // permissions would let the rename through.
        if (::access(finalPath.constData(), W_OK) != 0)
            return fail(errno);
        return createTemporary(&node);
    case OutputTarget::Stream:
        return openStream(name, node);
    case OutputTarget::Unknown:
    case OutputTarget::NewFile:
    case OutputTarget::StandardOutput:
    case OutputTarget::Folder:
    case OutputTarget::Socket:
    case OutputTarget::BlockDevice:
    case OutputTarget::Other:
        break;
    }
    failure = { OutputFailure::Kind::NotWritable, 0, target, {} };
    return false;
}

bool OutputFile::Private::openStandardOutput()
{
    target = OutputTarget::StandardOutput;
    struct stat node;
    if (::fstat(STDOUT_FILENO, &node) != 0)
        return fail(errno);
    // kelsa --batch s.csv - >> s.csv would read its own output for ever.
    if (const auto input = inputNamed(node, QString(), inputs)) {
        failure = { OutputFailure::Kind::SameAsInput, 0, target, *input };
        return false;
    }
    fd = STDOUT_FILENO;
    closeFd = false;
    return true;
}

bool OutputFile::Private::openStream(const QByteArray &name, const struct stat &node)
{
    // A FIFO's open waits for its reader, as any program writing into one does.
    do
        fd = ::open(name.constData(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
    while (fd < 0 && errno == EINTR);
    if (fd < 0)
        return fail(errno);
    struct stat opened;
    if (::fstat(fd, &opened) != 0)
        return fail(errno);
    // Replaced by something else between the look and the open: not what was looked at.
    if (!sameNode(opened, node) || targetOf(opened.st_mode) != OutputTarget::Stream)
        return fail(EBUSY);
    return true;
}

bool OutputFile::Private::createTemporary(const struct stat *old)
{
    const QByteArray folder = finalPath.left(std::max<qsizetype>(1, finalPath.lastIndexOf('/')));
#ifdef O_TMPFILE
    // A file without a name vanishes with the process, however it ends (SIGKILL included); it
    // is named only to be renamed, through /proc, which must be there for that.
    if (::access("/proc/self/fd", X_OK) == 0) {
        fd = ::open(folder.constData(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
        if (fd >= 0)
            unnamed = true;
        else if (errno != EISDIR && errno != EOPNOTSUPP && errno != EINVAL)
            return fail(errno); // the folder is missing or closed to us: so is a named file
    }
#endif
    for (int attempt = 0; fd < 0; ++attempt) {
        if (attempt == 100)
            return fail(EEXIST);
        const QByteArray name = temporaryName(finalPath);
        fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0)
            tempPath = name;
        else if (errno != EEXIST)
            return fail(errno);
    }
    // The new file keeps the old one's permissions; a new name gets the user's default.
    if (old && ::fchmod(fd, old->st_mode & 07777) != 0)
        return fail(errno);
    return true;
}

bool OutputFile::Private::writeAll(const char *data, qint64 size)
{
    while (size > 0) {
        const ssize_t written
            = ::write(fd, data, std::size_t(std::min<qint64>(size, qint64(SSIZE_MAX))));
        if (written < 0) {
            if (errno == EINTR)
                continue;
            if (errno == EAGAIN || errno == EWOULDBLOCK) {
                // A standard output left non-blocking by whoever shares it: wait for room.
                pollfd room { fd, POLLOUT, 0 };
                ::poll(&room, 1, -1);
                continue;
            }
            return fail(errno);
        }
        // A short write is followed by one that fails and says why (the disk is full, the
        // file-size limit is reached).
        if (written == 0)
            return fail(EIO);
        data += written;
        size -= written;
    }
    return true;
}

bool OutputFile::Private::flush()
{
    const bool written = writeAll(buffer.constData(), buffer.size());
    buffer.clear();
    return written;
}

bool OutputFile::Private::finish()
{
    if (target == OutputTarget::Stream || target == OutputTarget::StandardOutput) {
        if (!closeFd)
            return true;
        const int error = closeDescriptor(std::exchange(fd, -1));
        return error == 0 || fail(error);
    }
    // What is still on its way to the disk fails here (a full disk on a network share); the
    // old file is replaced only by a new one that is all there.
    if (::fsync(fd) != 0)
        return fail(errno);
    if (unnamed && !nameTemporary())
        return false;
    if (const int error = closeDescriptor(std::exchange(fd, -1)); error != 0)
        return fail(error);
    if (::rename(tempPath.constData(), finalPath.constData()) != 0)
        return fail(errno);
    tempPath.clear();
    return true;
}

bool OutputFile::Private::nameTemporary()
{
    const QByteArray self = "/proc/self/fd/" + QByteArray::number(fd);
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QByteArray name = temporaryName(finalPath);
        if (::linkat(AT_FDCWD, self.constData(), AT_FDCWD, name.constData(), AT_SYMLINK_FOLLOW)
            == 0) {
            tempPath = name;
            return true;
        }
        if (errno != EEXIST)
            return fail(errno);
    }
    return fail(EEXIST);
}

void OutputFile::Private::discard()
{
    buffer = QByteArray();
    if (fd >= 0 && closeFd)
        closeDescriptor(fd);
    fd = -1;
    if (!tempPath.isEmpty())
        ::unlink(tempPath.constData());
    tempPath.clear();
    unnamed = false;
}

OutputFile::OutputFile(const QString &path, const QStringList &inputs)
    : d(std::make_unique<Private>())
{
    d->path = path;
    d->inputs = inputs;
}

OutputFile::~OutputFile()
{
    d->discard();
}

bool OutputFile::open(OpenMode)
{
    if (isOpen())
        return false;
    d->discard();
    d->failure = {};
    d->target = OutputTarget::Unknown;
    d->closeFd = true;
    if (!d->openTarget()) {
        d->discard();
        setErrorString(outputFailureText(d->failure));
        return false;
    }
    return QIODevice::open(WriteOnly | Unbuffered);
}

bool OutputFile::commit()
{
    if (!isOpen())
        return false;
    const bool done = d->failure.kind == OutputFailure::Kind::None && d->flush() && d->finish();
    if (!done) {
        setErrorString(outputFailureText(d->failure));
        d->discard();
    }
    QIODevice::close();
    return done;
}

void OutputFile::cancel()
{
    d->discard();
    if (isOpen())
        QIODevice::close();
}

void OutputFile::close()
{
    cancel();
}

QString OutputFile::path() const
{
    return d->path;
}

OutputTarget OutputFile::target() const
{
    return d->target;
}

const OutputFailure &OutputFile::failure() const
{
    return d->failure;
}

qint64 OutputFile::readData(char *, qint64)
{
    return -1;
}

qint64 OutputFile::writeData(const char *data, qint64 size)
{
    if (d->failure.kind != OutputFailure::Kind::None || (d->fd < 0 && size > 0))
        return -1;
    if (d->buffer.size() + size > kBufferBytes) {
        bool written = d->flush();
        if (written && size >= kBufferBytes)
            written = d->writeAll(data, size);
        else if (written)
            d->buffer.append(data, size);
        if (!written) {
            setErrorString(outputFailureText(d->failure));
            return -1;
        }
        return size;
    }
    d->buffer.append(data, size);
    return size;
}

} // namespace kelsa
