// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/batch/textencoding.h"

#include <QList>
#include <QStringEncoder>

#include <cstring>

namespace kelsa
{

namespace
{

const char *converterName(TextEncoding encoding)
{
    switch (encoding) {
    case TextEncoding::Utf8:
        return "UTF-8";
    case TextEncoding::Utf16LE:
        return "UTF-16LE";
    case TextEncoding::Utf16BE:
        return "UTF-16BE";
    case TextEncoding::Windows1251:
        return "windows-1251";
    }
    return "UTF-8";
}

// Qt's own converters for the Unicode encodings, ICU's by name for Windows-1251. The mark
// of a UTF-16 file is taken off before the decoder sees it: one more is a character.
QStringDecoder decoderFor(TextEncoding encoding)
{
    switch (encoding) {
    case TextEncoding::Utf16LE:
        return QStringDecoder(QStringConverter::Utf16LE, QStringConverter::Flag::ConvertInitialBom);
    case TextEncoding::Utf16BE:
        return QStringDecoder(QStringConverter::Utf16BE, QStringConverter::Flag::ConvertInitialBom);
    case TextEncoding::Windows1251:
        return QStringDecoder(converterName(encoding));
    case TextEncoding::Utf8:
        break;
    }
    return QStringDecoder(QStringConverter::Utf8);
}

QStringEncoder encoderFor(TextEncoding encoding)
{
    switch (encoding) {
    case TextEncoding::Utf16LE:
        return QStringEncoder(QStringConverter::Utf16LE);
    case TextEncoding::Utf16BE:
        return QStringEncoder(QStringConverter::Utf16BE);
    case TextEncoding::Windows1251:
        return QStringEncoder(converterName(encoding));
    case TextEncoding::Utf8:
        break;
    }
    return QStringEncoder(QStringConverter::Utf8);
}

} // namespace

QString encodingName(TextEncoding encoding)
{
    return encoding == TextEncoding::Windows1251 ? QStringLiteral("Windows-1251")
                                                 : QString::fromLatin1(converterName(encoding));
}

std::optional<TextEncoding> encodingForName(QStringView name)
{
    for (const TextEncoding encoding : { TextEncoding::Utf8, TextEncoding::Windows1251 })
        if (name.compare(encodingName(encoding), Qt::CaseInsensitive) == 0)
            return encoding;
    return std::nullopt;
}

QByteArray byteOrderMark(TextEncoding encoding)
{
    switch (encoding) {
    case TextEncoding::Utf8:
        return QByteArray("\xEF\xBB\xBF");
    case TextEncoding::Utf16LE:
        return QByteArray("\xFF\xFE");
    case TextEncoding::Utf16BE:
        return QByteArray("\xFE\xFF");
    case TextEncoding::Windows1251:
        break;
    }
    return {};
}

std::optional<MarkedEncoding> encodingByMark(QByteArrayView start)
{
    for (const TextEncoding encoding :
        { TextEncoding::Utf8, TextEncoding::Utf16LE, TextEncoding::Utf16BE }) {
        const QByteArray mark = byteOrderMark(encoding);
        if (start.startsWith(mark))
            return MarkedEncoding { encoding, mark.size() };
    }
    return std::nullopt;
}

namespace
{

// The length of the sequence a UTF-8 lead byte begins and the range of its second byte
// (RFC 3629; table 3-7 of the Unicode standard): the narrower ranges rule out overlong forms,
// surrogates and code points past U+10FFFF. 0 for a byte that begins none.
int sequenceLength(unsigned char lead, unsigned char &low, unsigned char &high)
{
    low = 0x80, high = 0xBF;
    if (lead < 0x80)
        return 1;
    if (lead >= 0xC2 && lead <= 0xDF)
        return 2;
    if (lead >= 0xE0 && lead <= 0xEF) {
        if (lead == 0xE0)
            low = 0xA0;
        else if (lead == 0xED)
            high = 0x9F;
        return 3;
    }
    if (lead >= 0xF0 && lead <= 0xF4) {
        if (lead == 0xF0)
            low = 0x90;
        else if (lead == 0xF4)
            high = 0x8F;
        return 4;
    }
    return 0;
}

// Whether the bytes are the beginning of a well-formed sequence that goes on after them.
bool cutUtf8(const unsigned char *bytes, qsizetype size)
{
    unsigned char low, high;
    const int length = sequenceLength(bytes[0], low, high);
    if (size >= length)
        return false;
    if (size > 1 && (bytes[1] < low || bytes[1] > high))
        return false;
    return size < 3 || (bytes[2] & 0xC0) == 0x80;
}

} // namespace

qsizetype validUtf8Length(const char *data, qsizetype size)
{
    const auto *bytes = reinterpret_cast<const unsigned char *>(data);
    qsizetype k = 0;
    while (k < size) {
        // Schedules are mostly ASCII: eight bytes at a time while no high bit is set.
        while (size - k >= 8) {
            quint64 word;
            std::memcpy(&word, bytes + k, sizeof word);
            if (word & 0x8080808080808080ULL)
                break;
            k += 8;
        }
        if (k == size)
            break;
        unsigned char low, high;
        const int length = sequenceLength(bytes[k], low, high);
        if (length == 0)
            return k;
        if (length > 1) {
            if (size - k < length || bytes[k + 1] < low || bytes[k + 1] > high)
                return k;
            for (int j = 2; j < length; ++j)
                if ((bytes[k + j] & 0xC0) != 0x80)
                    return k;
        }
        k += length;
    }
    return size;
}

TextToUtf8::TextToUtf8(TextEncoding encoding)
    : m_encoding(encoding)
    , m_decoder(decoderFor(encoding))
{
}

bool TextToUtf8::isValid() const
{
    return m_decoder.isValid();
}

bool TextToUtf8::append(QByteArrayView bytes, QByteArray &utf8)
{
    switch (m_encoding) {
    case TextEncoding::Utf8:
        return appendUtf8(bytes, utf8);
    case TextEncoding::Utf16LE:
    case TextEncoding::Utf16BE:
        return appendUtf16(bytes, utf8);
    case TextEncoding::Windows1251:
        // Every byte is a character: ICU's table gives the five unassigned ones (0x98 among
        // them) the C1 control of the same number, so the text is written back byte for byte.
        utf8 += QString(m_decoder.decode(bytes)).toUtf8();
        return true;
    }
    return false;
}

bool TextToUtf8::appendUtf8(QByteArrayView bytes, QByteArray &utf8)
{
    const qsizetype from = utf8.size();
    utf8 += m_cut;
    utf8 += bytes;
    m_cut.clear();
    const qsizetype valid = validUtf8Length(utf8.constData() + from, utf8.size() - from);
    const qsizetype rest = utf8.size() - from - valid;
    if (rest == 0)
        return true;
    // A character the end of the piece cut waits for the next piece; anything else is wrong.
    const char *tail = utf8.constData() + from + valid;
    const bool cut = cutUtf8(reinterpret_cast<const unsigned char *>(tail), rest);
    if (cut)
        m_cut = QByteArray(tail, rest);
    utf8.truncate(from + valid);
    return cut;
}

bool TextToUtf8::appendUtf16(QByteArrayView bytes, QByteArray &utf8)
{
    m_oddByte = m_oddByte != (bytes.size() % 2 != 0);
    QString text = m_decoder.decode(bytes);
    if (!m_highSurrogate.isNull()) {
        text.prepend(m_highSurrogate);
        m_highSurrogate = QChar();
    }
    // Qt passes surrogates through as they come: a pair is checked here, and the first half
    // at the end of a piece waits for the next one.
    qsizetype whole = text.size();
    if (whole > 0 && text[whole - 1].isHighSurrogate())
        m_highSurrogate = text[--whole];
    for (qsizetype k = 0; k < whole; ++k) {
        const QChar c = text[k];
        if (c.isHighSurrogate() && k + 1 < whole && text[k + 1].isLowSurrogate()) {
            ++k;
        } else if (c.isSurrogate()) {
            utf8 += QStringView(text).first(k).toUtf8();
            return false;
        }
    }
    utf8 += QStringView(text).first(whole).toUtf8();
    return true;
}

bool TextToUtf8::finish() const
{
    return m_cut.isEmpty() && m_highSurrogate.isNull() && !m_oddByte;
}

std::optional<QByteArray> encodeUtf8(QByteArrayView utf8, TextEncoding encoding)
{
    if (encoding == TextEncoding::Utf8)
        return utf8.toByteArray();
    QStringEncoder encoder = encoderFor(encoding);
    QByteArray bytes = encoder(QString::fromUtf8(utf8));
    if (encoder.hasError() || !encoder.isValid())
        return std::nullopt;
    return bytes;
}

QString firstUnwritable(QByteArrayView utf8, TextEncoding encoding)
{
    const QString text = QString::fromUtf8(utf8);
    for (qsizetype k = 0; k < text.size(); ++k) {
        const qsizetype length = text[k].isHighSurrogate() && k + 1 < text.size() ? 2 : 1;
        const QString character = text.sliced(k, length);
        if (!encodeUtf8(character.toUtf8(), encoding))
            return QStringLiteral("U+%1 «%2»")
                .arg(QString::number(character.toUcs4().value(0), 16)
                         .toUpper()
                         .rightJustified(4, QLatin1Char('0')),
                    character);
        k += length - 1;
    }
    return {};
}

} // namespace kelsa
