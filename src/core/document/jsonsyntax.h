// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Where a JSON text is broken, told as an editor shows it: line and column, not a byte offset.

#include <QByteArray>
#include <QJsonParseError>
#include <QString>

namespace kelsa
{

// "в строке 6, столбце 19 (ожидается «,» или «}»)": where and why `text` is no JSON, in the
// user's words. Lines end at LF, CR LF or a lone CR; the column counts characters (a Cyrillic
// letter is one, though UTF-8 takes two bytes for it) from 1. A missing ',' or ':' is placed
// right after the text it should follow, at the end of the line it was left off; a text that
// ends before the document does is told as "текст обрывается".
QString jsonErrorPlace(const QByteArray &text, const QJsonParseError &error);

} // namespace kelsa
