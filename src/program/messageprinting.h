// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLatin1StringView>
#include <QString>

#include <cstdio>

namespace kelsa
{

// `text` with every control character written as an escape, so that a file name, a header cell
// or a key read from a file cannot move the cursor, clear the screen or start a line of its own
// on a terminal: a carriage return as \r, a line break as \n, a tab as \t, any other C0 control
// and DEL as \xHH (ESC is \x1B), a C1 control as \u0080…\u009F.
QString escapeControlCharacters(const QString &text);

// Prints one of Kelsa's messages on `stream` (the error stream, or the standard output for
// --version): `text` with its control characters escaped, between `before` and `after`, which
// are Kelsa's own line control and go out as they are (the carriage return that rewrites the
// progress line in place, the line break that ends a message).
void printMessage(FILE *stream, const QString &text, QLatin1StringView before = {},
    QLatin1StringView after = QLatin1StringView("\n"));

} // namespace kelsa
