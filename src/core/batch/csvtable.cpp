// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/batch/csvtable.h"

#include <QIODevice>

#include <cstring>

namespace kelsa
{

namespace
{

constexpr qint64 kChunk = qint64(64) * 1024;

} // namespace

CsvReader::CsvReader(QIODevice *device, qsizetype longestRecord)
    : m_device(device)
    , m_longest(longestRecord)
{
}

// Drops what was consumed and reads the next chunk; false at the end of the device.
bool CsvReader::fill()
{
    if (m_atEnd)
        return false;
    if (m_pos > 0) {
        m_consumedBefore += m_pos;
        m_buffer.remove(0, m_pos);
        m_pos = 0;
    }
    const QByteArray chunk = m_device->read(kChunk);
    if (chunk.isEmpty()) {
        m_atEnd = true;
        return false;
    }
    m_buffer += chunk;
    return true;
}

// Whether the buffer holds bytes up to `end` (an index into it), reading as needed. Reading
// may move the buffer's contents: indexes before m_pos do not survive it.
bool CsvReader::ensureAvailable(qsizetype end)
{
    while (m_buffer.size() < end) {
        const qsizetype before = m_pos;
        if (!fill())
            return false;
        end -= before - m_pos;
    }
    return true;
}

bool CsvReader::fail(const QString &text)
{
    m_error = text;
    return false;
}

bool CsvReader::tooLong(qint64 recordStart)
{
    if (bytesRead() - recordStart <= m_longest)
        return false;
    fail(QStringLiteral("the line is too long (a record of more than %1 bytes)").arg(m_longest));
    return true;
}

// The first record decides the separator: the one of ';' and ',' it holds more of outside
// quotes, ',' on a tie. Nothing is consumed.
void CsvReader::chooseSeparator()
{
    qsizetype commas = 0, semicolons = 0;
    bool quoted = false;
    for (qsizetype k = m_pos; k - m_pos <= m_longest; ++k) {
        if (k >= m_buffer.size()) {
            const qsizetype before = m_pos;
            if (!fill())
                break;
            k -= before - m_pos;
        }
        const char c = m_buffer[k];
        if (c == '"')
            quoted = !quoted;
        else if (quoted)
            continue;
        else if (c == '\n')
            break;
        else if (c == ',')
            ++commas;
        else if (c == ';')
            ++semicolons;
    }
    m_separator = semicolons > commas ? ';' : ',';
}

// Where the unquoted cell at m_pos ends (at a separator or a line feed) when that is in the
// buffer already; -1 otherwise.
qsizetype CsvReader::unquotedCellEnd() const
{
    const char *data = m_buffer.constData();
    const qsizetype end = m_buffer.size();
    for (qsizetype k = m_pos; k < end; ++k)
        if (data[k] == m_separator || data[k] == '\n')
            return k;
    return -1;
}

bool CsvReader::readRecord(QStringList &cells)
{
    cells.clear();
    if (!m_error.isEmpty())
        return false;
    if (!m_started) {
        m_started = true;
        if (ensureAvailable(m_pos + 3)
            && std::memcmp(m_buffer.constData() + m_pos, "\xEF\xBB\xBF", 3) == 0) {
            m_pos += 3;
            m_byteOrderMark = true;
        }
        chooseSeparator();
    }
    // Lines with nothing on them are no records.
    for (;;) {
        if (!ensureAvailable(m_pos + 1))
            return false;
        if (m_buffer[m_pos] == '\n') {
            ++m_pos, ++m_line;
        } else if (m_buffer[m_pos] == '\r' && ensureAvailable(m_pos + 2)
            && m_buffer[m_pos + 1] == '\n') {
            m_pos += 2, ++m_line;
        } else {
            break;
        }
    }
    m_recordLine = m_line;
    const qint64 recordStart = bytesRead();
    QByteArray cell;
    bool carriageReturn = false; // the record ended with "\r\n"

    for (;;) {
        cell.clear();
        if (ensureAvailable(m_pos + 1) && m_buffer[m_pos] == '"') {
            ++m_pos;
            for (;;) {
                if (!ensureAvailable(m_pos + 1))
                    return fail(QStringLiteral("a quote opened here is never closed"));
                const char *from = m_buffer.constData() + m_pos;
                const qsizetype left = m_buffer.size() - m_pos;
                const char *quote = static_cast<const char *>(std::memchr(from, '"', left));
                const qsizetype run = quote ? quote - from : left;
                cell.append(from, run);
                for (qsizetype k = 0; k < run; ++k)
                    m_line += from[k] == '\n';
                m_pos += run;
                if (tooLong(recordStart))
                    return false;
                if (!quote)
                    continue;
                if (ensureAvailable(m_pos + 2) && m_buffer[m_pos + 1] == '"') {
                    cell.append('"');
                    m_pos += 2;
                    continue;
                }
                ++m_pos; // the closing quote
                break;
            }
            if (ensureAvailable(m_pos + 1)) {
                const char c = m_buffer[m_pos];
                const bool ends = c == m_separator || c == '\n'
                    || (c == '\r' && ensureAvailable(m_pos + 2) && m_buffer[m_pos + 1] == '\n');
                if (!ends)
                    return fail(QStringLiteral("a quoted cell goes on after its closing quote"));
            }
            cells.append(QString::fromUtf8(cell));
        } else if (const qsizetype end = unquotedCellEnd(); end >= 0) {
            // The usual cell: unquoted and whole in the buffer, read from there.
            const char *data = m_buffer.constData();
            qsizetype size = end - m_pos;
            if (size > 0 && data[end - 1] == '\r' && data[end] == '\n') {
                --size;
                carriageReturn = true;
            }
            cells.append(QString::fromUtf8(data + m_pos, size));
            m_pos = end;
            if (tooLong(recordStart))
                return false;
        } else {
            for (;;) {
                if (!ensureAvailable(m_pos + 1))
                    break;
                const char *data = m_buffer.constData();
                qsizetype k = m_pos;
                const qsizetype end = m_buffer.size();
                while (k < end && data[k] != m_separator && data[k] != '\n')
                    ++k;
                cell.append(data + m_pos, k - m_pos);
                m_pos = k;
                if (tooLong(recordStart))
                    return false;
                if (k < end)
                    break;
            }
            // A line break of "\r\n", or a last line that ends in a lone "\r".
            if (cell.endsWith('\r') && (!ensureAvailable(m_pos + 1) || m_buffer[m_pos] == '\n')) {
                cell.chop(1);
                carriageReturn = true;
            }
            cells.append(QString::fromUtf8(cell));
        }
        if (!ensureAvailable(m_pos + 1))
            return true; // the last record, without a line break
        const char c = m_buffer[m_pos];
        if (c == m_separator) {
            ++m_pos;
            continue;
        }
        if (c == '\r') { // "\r\n" after a quoted cell
            carriageReturn = true;
            ++m_pos;
        }
        ++m_pos, ++m_line; // '\n'
        if (!m_lineBreakKnown) {
            m_lineBreakKnown = true;
            m_lineBreak = carriageReturn ? QByteArray("\r\n") : QByteArray("\n");
        }
        return true;
    }
}

namespace
{

void appendCsvCell(QByteArray &bytes, const QString &cell, char separator)
{
    // Numbers and control names are ASCII with nothing to quote: copied byte for byte.
    bool plain = true;
    for (const QChar c : cell) {
        const char16_t u = c.unicode();
        if (u >= 0x80 || u == char16_t(separator) || u == '"' || u == '\n' || u == '\r') {
            plain = false;
            break;
        }
    }
    if (plain) {
        const qsizetype at = bytes.size();
        bytes.resize(at + cell.size());
        char *out = bytes.data() + at;
        for (const QChar c : cell)
            *out++ = char(c.unicode());
        return;
    }
    const QByteArray utf8 = cell.toUtf8();
    if (!utf8.contains(separator) && !utf8.contains('"') && !utf8.contains('\n')
        && !utf8.contains('\r')) {
        bytes += utf8;
        return;
    }
    bytes += '"';
    for (const char c : utf8) {
        if (c == '"')
            bytes += '"';
        bytes += c;
    }
    bytes += '"';
}

} // namespace

void appendCsvRecord(
    QByteArray &bytes, const QStringList &cells, char separator, const QByteArray &lineBreak)
{
    for (qsizetype k = 0; k < cells.size(); ++k) {
        if (k > 0)
            bytes += separator;
        appendCsvCell(bytes, cells[k], separator);
    }
    bytes += lineBreak;
}

CsvWriter::CsvWriter(QIODevice *device, QChar separator, const QByteArray &lineBreak)
    : m_device(device)
    , m_separator(char(separator.unicode()))
    , m_lineBreak(lineBreak)
{
    m_pending.reserve(2 * kChunk);
}

CsvWriter::~CsvWriter()
{
    flush();
}

void CsvWriter::writeRecord(const QStringList &cells)
{
    appendCsvRecord(m_pending, cells, m_separator, m_lineBreak);
    if (m_pending.size() >= kChunk)
        flush();
}

bool CsvWriter::flush()
{
    if (!m_pending.isEmpty() && !m_failed)
        m_failed = m_device->write(m_pending) != m_pending.size();
    m_pending.truncate(0); // keeps the capacity for the next records
    return !m_failed;
}

} // namespace kelsa
