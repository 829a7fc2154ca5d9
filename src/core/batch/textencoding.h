// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The encodings a schedule comes in: what spreadsheets save a table as. A Russian spreadsheet
// saves "CSV" in Windows-1251 unless told otherwise, newer ones UTF-8 (often with a byte-order
// mark), and "Unicode text" is UTF-16 with its mark. Schedules are read as UTF-8 inside the
// program and written back in the encoding they came in.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringDecoder>
#include <QStringView>

#include <optional>

namespace kelsa
{

enum class TextEncoding {
    Utf8,
    Utf16LE, // known by its byte-order mark only
    Utf16BE, // known by its byte-order mark only
    Windows1251,
};

// "UTF-8", "UTF-16LE", "UTF-16BE", "Windows-1251": how messages name it.
QString encodingName(TextEncoding encoding);

// The encodings a user may ask for by name: "utf-8" and "windows-1251", in any case.
std::optional<TextEncoding> encodingForName(QStringView name);

// The byte-order mark of the encoding as it begins a file; empty for Windows-1251.
QByteArray byteOrderMark(TextEncoding encoding);

// The encoding whose byte-order mark `start` (the first bytes of a file) begins with, and the
// mark's length.
struct MarkedEncoding {
    TextEncoding encoding;
    qsizetype markLength;
};
std::optional<MarkedEncoding> encodingByMark(QByteArrayView start);

// The length of the longest start of the bytes that is made of whole, well-formed UTF-8
// characters: no overlong forms, no surrogates, nothing past U+10FFFF. `size` when all are.
qsizetype validUtf8Length(const char *data, qsizetype size);

// Turns the bytes of a file in one encoding into UTF-8, a piece at a time as they are read:
// a character may be split between two pieces. UTF-8 itself is checked and copied.
class TextToUtf8
{
public:
    explicit TextToUtf8(TextEncoding encoding);

    // Whether this build of Qt can decode the encoding (Windows-1251 needs ICU).
    bool isValid() const;

    // Appends the UTF-8 of the next piece of the file to `utf8`, whole characters only (one
    // cut by the end of the piece is appended with the next). False at the first byte that is
    // no character of the encoding: `utf8` then ends with the last whole character before it,
    // and nothing more may be appended.
    bool append(QByteArrayView bytes, QByteArray &utf8);
    // At the end of the file: false when it ended inside a character.
    bool finish() const;

private:
    bool appendUtf8(QByteArrayView bytes, QByteArray &utf8);
    bool appendUtf16(QByteArrayView bytes, QByteArray &utf8);

    TextEncoding m_encoding;
    QStringDecoder m_decoder;
    QByteArray m_cut; // UTF-8: the beginning of a character, waiting for the rest of it
    QChar m_highSurrogate; // UTF-16: the first half of a pair, waiting for its second
    bool m_oddByte = false; // UTF-16: a byte of a code unit is still to come
};

// UTF-8 text in `encoding`; nullopt when a character has no code in it (a "✓" in
// Windows-1251), which would otherwise be written as a substitute.
std::optional<QByteArray> encodeUtf8(QByteArrayView utf8, TextEncoding encoding);

// The first character of the UTF-8 text that has no code in `encoding`, as "U+2713 «✓»";
// empty when every one has.
QString firstUnwritable(QByteArrayView utf8, TextEncoding encoding);

} // namespace kelsa
