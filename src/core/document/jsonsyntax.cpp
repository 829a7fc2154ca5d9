// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/document/jsonsyntax.h"

#include <algorithm>

namespace kelsa
{

TextPlace placeOfOffset(const QByteArray &text, qsizetype offset)
{
    offset = std::clamp<qsizetype>(offset, 0, text.size());
    TextPlace place;
    for (qsizetype k = 0; k < offset; ++k) {
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
        return QStringLiteral("ожидается объект");
    case QJsonParseError::DeepNesting:
        return QStringLiteral("слишком глубокая вложенность");
    case QJsonParseError::DocumentTooLarge:
        return QStringLiteral("документ слишком велик");
    case QJsonParseError::GarbageAtEnd:
        return QStringLiteral("лишний текст после конца документа");
    }
    return QJsonParseError { 0, error }.errorString();
}

QString jsonErrorPlace(const QByteArray &text, const QJsonParseError &error)
{
    const TextPlace place = placeOfOffset(text, error.offset);
    return QStringLiteral("в строке %1, столбце %2 (%3)")
        .arg(place.line)
        .arg(place.column)
        .arg(jsonErrorText(error.error));
}

} // namespace kelsa
