// SPDX-License-Identifier: GPL-3.0-or-later
#include "program/messageprinting.h"

namespace kelsa
{

namespace
{

QString hexDigits(char16_t code, int digits)
{
    return QStringLiteral("%1").arg(int(code), digits, 16, QLatin1Char('0')).toUpper();
}

} // namespace

QString escapeControlCharacters(const QString &text)
{
    QString shown;
    shown.reserve(text.size());
    for (const QChar c : text) {
        const char16_t code = c.unicode();
        if (code == u'\r')
            shown += QLatin1StringView("\\r");
        else if (code == u'\n')
            shown += QLatin1StringView("\\n");
        else if (code == u'\t')
            shown += QLatin1StringView("\\t");
        else if (code < 0x20 || code == 0x7F)
            shown += QLatin1StringView("\\x") + hexDigits(code, 2);
        else if (code >= 0x80 && code < 0xA0)
            shown += QLatin1StringView("\\u") + hexDigits(code, 4);
        else
            shown += c;
    }
    return shown;
}

void printMessage(
    FILE *stream, const QString &text, QLatin1StringView before, QLatin1StringView after)
{
    const QByteArray line = QByteArray(before.data(), before.size())
        + escapeControlCharacters(text).toUtf8() + QByteArray(after.data(), after.size());
    std::fwrite(line.constData(), 1, std::size_t(line.size()), stream);
    std::fflush(stream);
}

} // namespace kelsa
