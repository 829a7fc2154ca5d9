// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QCursor>
#include <QString>

#include <optional>

namespace kelsa
{

// Reads a Windows cursor file (.CUR): the image of its first entry and the hot spot that the
// entry stores. Nothing when the data is not a readable cursor.
std::optional<QCursor> cursorFromData(const QByteArray &data);
std::optional<QCursor> loadCursorFile(const QString &path);

// The pointing hand over the look-up fields and the About window's links: the cursor file at
// `path` when it loads, otherwise the copy built into the program, so that a missing or damaged
// file never keeps Kelsa from starting. The fallback is noted on the error stream.
QCursor lookupCursor(const QString &path);

} // namespace kelsa
