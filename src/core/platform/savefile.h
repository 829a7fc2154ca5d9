// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QSaveFile>
#include <QString>

namespace kelsa
{

// Puts a file written through QSaveFile in place of the old one, or leaves the old one and
// tells why. The buffer is flushed and checked first: Qt's commit() does not notice a write
// that fails while it flushes (a disk that fills up at the end) and would rename the cut file
// over the good one.
inline QString commitSaveFile(QSaveFile &file)
{
    if (!file.flush() || file.error() != QFileDevice::NoError) {
        QString error = file.errorString();
        file.cancelWriting();
        return error;
    }
    if (!file.commit())
        return file.errorString();
    return {};
}

} // namespace kelsa
