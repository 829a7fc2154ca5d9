// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Where a JSON text is broken, told as an editor shows it: line and column, not a byte offset.

#include <QByteArray>
#include <QJsonParseError>
#include <QString>

namespace kelsa
{

struct TextPlace {
    qsizetype line = 1; // from 1
    qsizetype column = 1; // from 1, in characters of its line

    friend bool operator==(const TextPlace &, const TextPlace &) = default;
};

// The place of a byte offset into UTF-8 text. A line ends at LF, CR LF or a lone CR; a character
// is one Unicode code point, however many bytes it takes.
TextPlace placeOfOffset(const QByteArray &text, qsizetype offset);

// What the JSON reader found or missed where it stopped, in the user's words:
// "ожидается «,» или «}»" where a member was not followed by a comma.
QString jsonErrorText(QJsonParseError::ParseError error);

// "в строке 69, столбце 3 (ожидается «,» или «}»)": where and why `text` is no JSON; "текст
// обрывается" when the text ends before the document does.
QString jsonErrorPlace(const QByteArray &text, const QJsonParseError &error);

} // namespace kelsa
