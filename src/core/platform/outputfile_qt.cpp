// SPDX-License-Identifier: GPL-3.0-or-later
// The output file where there are no POSIX files (Windows): Qt's QSaveFile writes a file
// atomically, "-" is the standard output, and the system's error is told as Qt words it.
#include "core/platform/outputfile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cstdio>
#include <memory>

namespace kelsa
{

struct OutputFile::Private {
    QString path;
    QStringList inputs;
    OutputTarget target = OutputTarget::Unknown;
    OutputFailure failure;
    std::unique_ptr<QFileDevice> device;

    bool failWith(const QString &text)
    {
        failure = { OutputFailure::Kind::System, 0, target, {} };
        systemText = text;
        return false;
    }
    QString systemText;
};

OutputFile::OutputFile(const QString &path, const QStringList &inputs)
    : d(std::make_unique<Private>())
{
    d->path = path;
    d->inputs = inputs;
}

OutputFile::~OutputFile()
{
    cancel();
}

bool OutputFile::open(OpenMode)
{
    if (isOpen())
        return false;
    d->failure = {};
    d->device.reset();
    if (d->path == QLatin1String(kStandardOutputName)) {
        d->target = OutputTarget::StandardOutput;
        auto out = std::make_unique<QFile>();
        if (!out->open(stdout, QIODevice::WriteOnly)) {
            d->failWith(out->errorString());
            setErrorString(d->systemText);
            return false;
        }
        d->device = std::move(out);
        return QIODevice::open(WriteOnly | Unbuffered);
    }
    const QFileInfo info(d->path);
    d->target = !info.exists() ? OutputTarget::NewFile
        : info.isDir()         ? OutputTarget::Folder
        : info.isFile()        ? OutputTarget::RegularFile
                               : OutputTarget::Other;
    const QString canonical = info.canonicalFilePath();
    for (const QString &input : d->inputs)
        if (!canonical.isEmpty() && QFileInfo(input).canonicalFilePath() == canonical)
            d->failure = { OutputFailure::Kind::SameAsInput, 0, d->target, input };
    if (d->failure.kind == OutputFailure::Kind::None && d->target != OutputTarget::NewFile
        && d->target != OutputTarget::RegularFile)
        d->failure = { OutputFailure::Kind::NotWritable, 0, d->target, {} };
    if (d->failure.kind != OutputFailure::Kind::None) {
        setErrorString(outputFailureText(d->failure));
        return false;
    }
    auto file = std::make_unique<QSaveFile>(d->path);
    if (!file->open(QIODevice::WriteOnly)) {
        d->failWith(file->errorString());
        setErrorString(d->systemText);
        return false;
    }
    d->device = std::move(file);
    return QIODevice::open(WriteOnly | Unbuffered);
}

bool OutputFile::commit()
{
    if (!isOpen())
        return false;
    bool done = d->failure.kind == OutputFailure::Kind::None && d->device->flush()
        && d->device->error() == QFileDevice::NoError;
    if (auto *file = dynamic_cast<QSaveFile *>(d->device.get())) {
        if (done)
            done = file->commit();
        else
            file->cancelWriting();
    }
    if (!done && d->failure.kind == OutputFailure::Kind::None)
        d->failWith(d->device->errorString());
    if (!done)
        setErrorString(d->systemText);
    d->device.reset();
    QIODevice::close();
    return done;
}

void OutputFile::cancel()
{
    if (auto *file = dynamic_cast<QSaveFile *>(d->device.get()))
        file->cancelWriting();
    d->device.reset();
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
    if (d->failure.kind != OutputFailure::Kind::None || !d->device)
        return -1;
    if (d->device->write(data, size) != size) {
        d->failWith(d->device->errorString());
        setErrorString(d->systemText);
        return -1;
    }
    return size;
}

} // namespace kelsa
