// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Comma- or semicolon-separated tables as spreadsheets save them (RFC 4180): records separated
// by line breaks, cells by the separator, a cell in double quotes may hold the separator, line
// breaks and quotes written twice. Read one record at a time, so that a table of any length
// takes the memory of its longest record.

#include <QByteArray>
#include <QChar>
#include <QString>
#include <QStringList>

class QIODevice;

namespace kelsa
{

// A longer record is no schedule a designer wrote: the reader stops there instead of reading
// a whole damaged file into memory.
inline constexpr qsizetype kLongestCsvRecord = qsizetype(1024) * 1024;

class CsvReader
{
public:
    // Reads UTF-8 (a byte-order mark is skipped) from an open device.
    explicit CsvReader(QIODevice *device, qsizetype longestRecord = kLongestCsvRecord);

    // The next record into `cells`; false at the end of the table or on an error (see
    // error()). Lines that hold nothing at all are skipped. The separator is chosen on the
    // first call: ';' when the first record has more of them than ',' outside quotes.
    bool readRecord(QStringList &cells);

    QChar separator() const { return QLatin1Char(m_separator); }
    // The line break the first record ended with: "\r\n" or "\n".
    QByteArray lineBreak() const { return m_lineBreak; }
    // Whether the table began with a UTF-8 byte-order mark, as some spreadsheets write it.
    bool hadByteOrderMark() const { return m_byteOrderMark; }
    // The line the last record read (or the failing one) began on, from 1.
    qint64 recordLine() const { return m_recordLine; }
    // Bytes of the device consumed so far, for progress.
    qint64 bytesRead() const { return m_consumedBefore + m_pos; }
    // What is wrong with the table, with no file name or line; empty while nothing is.
    QString error() const { return m_error; }

private:
    bool fill();
    bool ensureAvailable(qsizetype end);
    bool tooLong(qint64 recordStart);
    qsizetype unquotedCellEnd() const;
    void chooseSeparator();
    bool fail(const QString &text);

    QIODevice *m_device;
    qsizetype m_longest;
    QByteArray m_buffer;
    qsizetype m_pos = 0;
    qint64 m_consumedBefore = 0; // bytes dropped from the front of m_buffer
    bool m_atEnd = false;
    bool m_started = false;
    bool m_byteOrderMark = false;
    char m_separator = ',';
    QByteArray m_lineBreak = "\n";
    bool m_lineBreakKnown = false;
    qint64 m_line = 1; // the line m_pos is on
    qint64 m_recordLine = 0;
    QString m_error;
};

// Appends one record, quoting a cell only when it holds the separator, a quote or a line break.
void appendCsvRecord(
    QByteArray &bytes, const QStringList &cells, char separator, const QByteArray &lineBreak);

// Writes records as appendCsvRecord() formats them, in chunks.
class CsvWriter
{
public:
    CsvWriter(QIODevice *device, QChar separator, const QByteArray &lineBreak = "\r\n");
    ~CsvWriter();

    void writeRecord(const QStringList &cells);
    // Hands what is buffered to the device; false when the device refused it.
    bool flush();

private:
    QIODevice *m_device;
    char m_separator;
    QByteArray m_lineBreak;
    QByteArray m_pending;
    bool m_failed = false;
};

} // namespace kelsa
