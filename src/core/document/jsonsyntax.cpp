// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/document/jsonsyntax.h"

#include <algorithm>

namespace kelsa
{

namespace
{

struct TextPlace {
    qsizetype line = 1; // from 1
    qsizetype column = 1; // from 1, in characters of its line
};

TextPlace placeOfOffset(const QByteArray &text, qsizetype offset)
{
    offset = std::clamp<qsizetype>(offset, 0, text.size());
    TextPlace place;
    // A byte-order mark is no character an editor shows.
    const qsizetype start = text.startsWith("\xEF\xBB\xBF") ? std::min<qsizetype>(3, offset) : 0;
    for (qsizetype k = start; k < offset; ++k) {
        const char byte = text[k];
        const bool lineEnd
            = byte == '\n' || (byte == '\r' && (k + 1 == text.size() || text[k + 1] != '\n'));
        if (lineEnd) {
            ++place.line;
            place.column = 1;
        } else if ((byte & 0xC0) != 0x80 && byte != '\r') {
            // Continuation bytes of UTF-8 belong to the character they follow.
            ++place.column;
        }
    }
    return place;
}

bool isJsonBlank(char byte)
{
    return byte == ' ' || byte == '\t' || byte == '\n' || byte == '\r';
}

// Where the fault lies. The reader stops one character into the token it did not expect, or at
// the end of the text. A missing ',' or ':' belongs right after the text before that token, so
// the place is there: at the end of the line a comma was left off, not in the next one.
qsizetype faultOffset(const QByteArray &text, const QJsonParseError &error)
{
    qsizetype at = std::clamp<qsizetype>(error.offset, 0, text.size());
    switch (error.error) {
    case QJsonParseError::UnterminatedObject:
    case QJsonParseError::UnterminatedArray:
    case QJsonParseError::MissingValueSeparator:
    case QJsonParseError::MissingNameSeparator:
        if (at > 0 && at < text.size())
            --at; // back to the start of the unexpected token
        while (at > 0 && isJsonBlank(text[at - 1]))
            --at;
        break;
    case QJsonParseError::MissingObject:
        if (at > 0 && at < text.size())
            --at;
        break;
    default:
        break;
    }
    return at;
}

// What the reader found or missed where it stopped.
QString jsonErrorText(QJsonParseError::ParseError error)
{
    switch (error) {
    case QJsonParseError::NoError:
        break;
    case QJsonParseError::UnterminatedObject:
        return QStringLiteral("ожидается «,» или «}»");
    case QJsonParseError::MissingNameSeparator:
        return QStringLiteral("ожидается «:» после имени");
    case QJsonParseError::UnterminatedArray:
        return QStringLiteral("ожидается «,» или «]»");
    case QJsonParseError::MissingValueSeparator:
        return QStringLiteral("ожидается «,»");
    case QJsonParseError::IllegalValue:
        return QStringLiteral("недопустимое значение");
    case QJsonParseError::TerminationByNumber:
        return QStringLiteral("текст обрывается на числе");
    case QJsonParseError::IllegalNumber:
        return QStringLiteral("неверное число");
    case QJsonParseError::IllegalEscapeSequence:
        return QStringLiteral("неверный знак после «\\»");
    case QJsonParseError::IllegalUTF8String:
        return QStringLiteral("текст не в кодировке UTF-8");
    case QJsonParseError::UnterminatedString:
        return QStringLiteral("не закрыты кавычки");
    case QJsonParseError::MissingObject:
        return QStringLiteral("после «,» ожидается еще одно значение");
    case QJsonParseError::DeepNesting:
        return QStringLiteral("слишком глубокая вложенность");
    case QJsonParseError::DocumentTooLarge:
        return QStringLiteral("документ слишком велик");
    case QJsonParseError::GarbageAtEnd:
        return QStringLiteral("лишний текст после конца документа");
    }
    return QJsonParseError { 0, error }.errorString();
}

} // namespace

QString jsonErrorPlace(const QByteArray &text, const QJsonParseError &error)
{
    const TextPlace place = placeOfOffset(text, faultOffset(text, error));
    // A reader that ran out of text before the document closed was given a file cut short, as
    // by a copy that broke off; what it expected next says less than that.
    const QString why = error.offset >= text.size() ? QStringLiteral("текст обрывается")
                                                    : jsonErrorText(error.error);
    return QStringLiteral("в строке %1, столбце %2 (%3)")
        .arg(place.line)
        .arg(place.column)
        .arg(why);
}

} // namespace kelsa
