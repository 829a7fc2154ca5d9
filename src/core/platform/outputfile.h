// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Where a result goes: a schedule's OUT.csv, a report's PDF, a saved calculation. A regular file
// (or a new name) is written under a temporary name beside it and renamed over the old one only
// once it is written whole, so a failed run leaves the old file as it was and no temporary file
// behind. A FIFO, a character device (/dev/null, a terminal) or "-" (the standard output) is
// written straight, as a stream: replacing it by a regular file would leave its reader waiting
// and, for /dev/null, break the system. Anything else (a folder, a socket, a block device) is
// refused, and so is an output that is one of the run's inputs, by any name.

#include <QIODevice>
#include <QString>
#include <QStringList>

#include <memory>

namespace kelsa
{

// What an output's name stands for when it is opened.
enum class OutputTarget {
    Unknown, // not looked at yet, or the system would not say
    NewFile, // no file of that name yet
    RegularFile,
    Stream, // a FIFO or a character device
    StandardOutput, // "-"
    Folder,
    Socket,
    BlockDevice,
    Other, // any other kind of node
};

// Why an output was not written. The old file, if any, is as it was.
struct OutputFailure {
    enum class Kind {
        None,
        SameAsInput, // the output is `input`, by its own name, a link or a hard link
        NotWritable, // `target` is a node that takes no output (a folder, a socket…)
        System, // the system refused to open, write, sync or rename: `error` holds its errno
    };
    Kind kind = Kind::None;
    int error = 0;
    OutputTarget target = OutputTarget::Unknown;
    QString input;

    friend bool operator==(const OutputFailure &, const OutputFailure &) = default;
};

// The failure in a few Russian words, without the output's name: "на диске нет места",
// "файл слишком велик", "это тот же файл, что и входной s.csv", "это сокет, а не файл".
QString outputFailureText(const OutputFailure &failure);

// A reason the system gives (an errno value) in Russian, the same on every computer:
// "нет такого файла или папки", "нет прав доступа".
QString systemErrorText(int error);

// The name that stands for the standard output.
inline constexpr const char *kStandardOutputName = "-";

// One output, written through the QIODevice interface and put in place by commit(). The device
// is sequential (nothing seeks in it) and buffers its writes; a write that fails keeps its errno
// in failure(), and errorString() words it. Destroying or closing it without a commit drops
// what was written, as cancel() does.
class OutputFile : public QIODevice
{
public:
    // `inputs` are the files the result is made from; the output may be none of them.
    explicit OutputFile(const QString &path, const QStringList &inputs = {});
    ~OutputFile() override;

    // Looks at what the name stands for and opens it for writing (the mode is WriteOnly
    // whatever is asked). False, with failure() set, when the output is refused or cannot
    // be opened; nothing on disk has changed then.
    bool open(OpenMode mode = WriteOnly) override;
    // Writes what is buffered and puts the file in place (a file is synced to disk and renamed
    // over the old one; a stream is closed). False, with failure() set and the temporary file
    // removed, when any write or this step failed.
    bool commit();
    // Drops what was written: the temporary file is removed and the old file stays.
    void cancel();
    void close() override;

    bool isSequential() const override { return true; }

    QString path() const;
    OutputTarget target() const;
    const OutputFailure &failure() const;

protected:
    qint64 readData(char *data, qint64 maxSize) override;
    qint64 writeData(const char *data, qint64 size) override;

private:
    struct Private;
    std::unique_ptr<Private> d;
};

} // namespace kelsa
