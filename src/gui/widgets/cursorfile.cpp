// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/widgets/cursorfile.h"

#include <QBuffer>
#include <QDebug>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QPixmap>
#include <QtEndian>

namespace kelsa
{

namespace
{

constexpr qint64 kMaxCursorBytes = 1 << 20; // a cursor is a few kilobytes; refuse anything huge

} // namespace

std::optional<QCursor> cursorFromData(const QByteArray &data)
{
    // Header: reserved 0, type 2 (cursor), entry count; then 16-byte entries whose bytes 4..7
    // hold the hot spot.
    if (data.size() < 6 + 16)
        return std::nullopt;
    const auto *bytes = reinterpret_cast<const uchar *>(data.constData());
    if (qFromLittleEndian<quint16>(bytes) != 0 || qFromLittleEndian<quint16>(bytes + 2) != 2
        || qFromLittleEndian<quint16>(bytes + 4) == 0)
        return std::nullopt;
    const int hotX = qFromLittleEndian<quint16>(bytes + 6 + 4);
    const int hotY = qFromLittleEndian<quint16>(bytes + 6 + 6);

    QBuffer buffer;
    buffer.setData(data);
    QImageReader reader(&buffer, "cur");
    const QImage image = reader.read();
    if (image.isNull())
        return std::nullopt;
    return QCursor(QPixmap::fromImage(image), qBound(0, hotX, image.width() - 1),
        qBound(0, hotY, image.height() - 1));
}

std::optional<QCursor> loadCursorFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxCursorBytes)
        return std::nullopt;
    return cursorFromData(file.readAll());
}

QCursor lookupCursor(const QString &path)
{
    if (auto cursor = loadCursorFile(path))
        return *cursor;
    qWarning("kelsa: cannot load the cursor %s; using the built-in copy", qPrintable(path));
    if (auto builtIn = loadCursorFile(QStringLiteral(":/kelsa/32761.CUR")))
        return *builtIn;
    return QCursor(Qt::PointingHandCursor);
}

} // namespace kelsa
