// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Comma- or semicolon-separated tables as spreadsheets save them (RFC 4180): records separated
// by line breaks, cells by the separator, a cell in double quotes may hold the separator, line
// breaks and quotes written twice. Read one record at a time, so that a table of any length
// takes the memory of its longest record.

#include "core/batch/textencoding.h"

#include <QByteArray>
#include <QChar>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class QIODevice;

namespace kelsa
{

// A longer record is no schedule a designer wrote: the reader stops there instead of reading
// a whole damaged file into memory. Counted in bytes of UTF-8, the line break not included.
inline constexpr qsizetype kLongestCsvRecord = qsizetype(1024) * 1024;
// A record of more cells is refused for the same reason: every cell costs memory of its own.
inline constexpr qsizetype kMostCsvCells = 10000;

// Records held as the bytes of their cells, quotes taken off, in UTF-8: a table of many rows
// read with no QString for each cell. The cells of every record are ranges of one buffer, which
// clear() empties without giving its memory back, so that the next rows reuse it.
class CsvRows
{
public:
    qsizetype size() const { return qsizetype(m_rowEnds.size()); }
    qsizetype cellCount(qsizetype row) const { return firstCell(row + 1) - firstCell(row); }
    std::string_view cell(qsizetype row, qsizetype k) const
    {
        const std::size_t index = std::size_t(firstCell(row) + k);
        const std::size_t from = index == 0 ? 0 : m_cellEnds[index - 1];
        return std::string_view(m_text).substr(from, m_cellEnds[index] - from);
    }
    // The bytes of the record's cells together.
    qsizetype textSize(qsizetype row) const
    {
        const qsizetype first = firstCell(row), last = firstCell(row + 1);
        const auto endOf = [&](qsizetype cell) {
            return cell == 0 ? qsizetype(0) : qsizetype(m_cellEnds[std::size_t(cell - 1)]);
        };
        return endOf(last) - endOf(first);
    }
    void clear();

private:
    friend class CsvReader;
    qsizetype firstCell(qsizetype row) const
    {
        return row == 0 ? 0 : qsizetype(m_rowEnds[std::size_t(row - 1)]);
    }
    // Drops what a record begun at `cells` cells and `bytes` bytes put in.
    void truncate(std::size_t cells, std::size_t bytes);

    std::string m_text;
    std::vector<std::size_t> m_cellEnds; // where each cell ends in m_text
    std::vector<std::size_t> m_rowEnds; // where each record ends in m_cellEnds
};

class CsvReader
{
public:
    // Reads from an open device in `encoding` or, when none is given, in the one the table
    // shows: a byte-order mark of UTF-8, UTF-16LE or UTF-16BE, else UTF-8 when the whole
    // table is UTF-8 and Windows-1251 when it is not. The whole table is looked at when the
    // device can be read again from where it stands (a file); a stream is taken for UTF-8.
    // UTF-8 is checked as it is read: a byte that is none of it stops the reader there.
    explicit CsvReader(QIODevice *device, qsizetype longestRecord = kLongestCsvRecord,
        std::optional<TextEncoding> encoding = std::nullopt);

    // The next record into `cells`; false at the end of the table or on an error (see
    // error()). Lines that hold nothing at all are skipped. The separator is chosen on the
    // first call: ';' when the first record has more of them than ',' outside quotes.
    // A line break is "\r\n", "\n" or a "\r" alone (as older spreadsheets on the Mac wrote).
    bool readRecord(QStringList &cells);
    // The same, the record appended to `rows` as bytes; nothing is appended on false.
    bool readRecord(CsvRows &rows);

    QChar separator() const { return QLatin1Char(m_separator); }
    // The line break the first record ended with: "\r\n", "\n" or "\r".
    QByteArray lineBreak() const { return m_lineBreak; }
    // The table's encoding, known after the first readRecord().
    TextEncoding encoding() const { return m_encoding; }
    // Whether the table began with a byte-order mark of its encoding.
    bool hadByteOrderMark() const { return m_markLength > 0; }
    // The line the last record read began on, from 1; after an error, the line of the error.
    qint64 recordLine() const { return m_recordLine; }
    // Bytes of the device consumed so far, for progress.
    qint64 bytesRead() const;
    // Bytes of the table's text consumed so far, as UTF-8.
    qint64 textRead() const { return m_consumedBefore + m_pos; }
    // What is wrong with the table, with no file name or line; empty while nothing is.
    QString error() const { return m_error; }

private:
    bool start();
    bool fill();
    bool ensureAvailable(qsizetype end);
    bool tooLong(qint64 recordStart);
    qsizetype unquotedCellEnd() const;
    void chooseSeparator();
    bool parseRecord(CsvRows &rows);
    void failEncoding();
    bool fail(const QString &text);

    QIODevice *m_device;
    qsizetype m_longest;
    std::optional<TextEncoding> m_forced;
    TextEncoding m_encoding = TextEncoding::Utf8;
    std::optional<TextToUtf8> m_toUtf8;
    qsizetype m_markLength = 0;
    qint64 m_rawRead = 0; // bytes taken from the device
    QByteArray m_buffer; // UTF-8
    qsizetype m_pos = 0;
    qint64 m_consumedBefore = 0; // bytes dropped from the front of m_buffer
    bool m_atEnd = false;
    bool m_started = false;
    char m_separator = ',';
    std::array<bool, 256> m_endsCell {}; // the separator, '\n' and '\r'
    QByteArray m_lineBreak = "\n";
    bool m_lineBreakKnown = false;
    qint64 m_line = 1; // the line m_pos is on
    qint64 m_recordLine = 0;
    QString m_error;
    CsvRows m_record; // the record readRecord(QStringList &) reads
};

// Appends one record as UTF-8, quoting a cell only when it holds the separator, a quote or a
// line break.
void appendCsvRecord(
    std::string &bytes, const QStringList &cells, char separator, const QByteArray &lineBreak);
void appendCsvRecord(
    QByteArray &bytes, const QStringList &cells, char separator, const QByteArray &lineBreak);
// Appends one cell of UTF-8 text so.
void appendCsvCell(std::string &bytes, std::string_view cell, char separator);

} // namespace kelsa
