// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/batch/csvtable.h"

#include <QIODevice>

#include <cstring>

namespace kelsa
{

namespace
{

constexpr qint64 kChunk = qint64(64) * 1024;

// The line breaks in the bytes: "\r\n", "\n" and "\r" alone count one each. A '\r' that ends
// the bytes counts as one: what follows it must be known not to be '\n'.
qint64 lineBreaks(const char *data, qsizetype size)
{
    qint64 breaks = 0;
    for (qsizetype k = 0; k < size; ++k)
        breaks += data[k] == '\n' || (data[k] == '\r' && (k + 1 == size || data[k + 1] != '\n'));
    return breaks;
}

// Whether the table from the device's position on is UTF-8 to its end; the device is put back
// where it was. The look stops at a line longer than a record may be, which stops the table
// there in any encoding: the lines before it were UTF-8 for it to have gone on.
bool wholeTableIsUtf8(QIODevice &device, qsizetype longestLine)
{
    const qint64 origin = device.pos();
    TextToUtf8 check(TextEncoding::Utf8);
    QByteArray text;
    qsizetype line = 0; // the length of the line so far
    bool utf8 = true;
    for (;;) {
        const QByteArray chunk = device.read(kChunk);
        if (chunk.isEmpty()) {
            utf8 = check.finish();
            break;
        }
        text.clear();
        if (!check.append(chunk, text)) {
            utf8 = false;
            break;
        }
        const char *data = chunk.constData();
        const char *const end = data + chunk.size();
        bool tooLong = false;
        while (data < end && !tooLong) {
            const auto *feed = static_cast<const char *>(std::memchr(data, '\n', end - data));
            const char *const lineEnd = feed ? feed : end;
            // A '\r' alone breaks a line too; within the stretch to the next '\n', pieces
            // between them.
            while (data < lineEnd) {
                const auto *cr = static_cast<const char *>(std::memchr(data, '\r', lineEnd - data));
                line += (cr ? cr : lineEnd) - data;
                if (line > longestLine) {
                    tooLong = true;
                    break;
                }
                if (!cr)
                    break;
                line = 0;
                data = cr + 1;
            }
            if (feed)
                line = 0;
            data = feed ? feed + 1 : end;
        }
        if (tooLong)
            break;
    }
    device.seek(origin);
    return utf8;
}

} // namespace

CsvReader::CsvReader(
    QIODevice *device, qsizetype longestRecord, std::optional<TextEncoding> encoding)
    : m_device(device)
    , m_longest(longestRecord)
    , m_forced(encoding)
{
}

qint64 CsvReader::bytesRead() const
{
    return m_encoding == TextEncoding::Utf8 ? m_markLength + textRead() : m_rawRead;
}

// Decides the encoding and the separator before the first record.
bool CsvReader::start()
{
    m_started = true;
    const std::optional<MarkedEncoding> marked = encodingByMark(m_device->peek(3));
    if (m_forced) {
        m_encoding = *m_forced;
        if (marked && marked->encoding == m_encoding)
            m_markLength = marked->markLength;
    } else if (marked) {
        m_encoding = marked->encoding;
        m_markLength = marked->markLength;
    } else if (!m_device->isSequential() && !wholeTableIsUtf8(*m_device, m_longest)) {
        m_encoding = TextEncoding::Windows1251;
    }
    m_rawRead = m_device->read(m_markLength).size();
    m_toUtf8.emplace(m_encoding);
    if (!m_toUtf8->isValid()) {
        m_recordLine = 1;
        return fail(
            QStringLiteral("эта сборка Qt не читает кодировку %1").arg(encodingName(m_encoding)));
    }
    chooseSeparator();
    return m_error.isEmpty();
}

// Drops what was consumed and reads the next chunk; false at the end of the device or at a
// byte that is no text of the table's encoding.
bool CsvReader::fill()
{
    if (m_atEnd)
        return false;
    if (m_pos > 0) {
        m_consumedBefore += m_pos;
        m_buffer.remove(0, m_pos);
        m_pos = 0;
    }
    for (;;) {
        const QByteArray chunk = m_device->read(kChunk);
        if (chunk.isEmpty()) {
            m_atEnd = true;
            if (!m_toUtf8->finish())
                failEncoding();
            return false;
        }
        m_rawRead += chunk.size();
        const qsizetype before = m_buffer.size();
        if (!m_toUtf8->append(chunk, m_buffer)) {
            m_atEnd = true;
            failEncoding();
            return false;
        }
        if (m_buffer.size() > before)
            return true;
        // The chunk held only the beginning of a character.
    }
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
    if (m_error.isEmpty())
        m_error = text;
    return false;
}

// The text stops at a byte that is none of its encoding: the buffer ends before it.
void CsvReader::failEncoding()
{
    if (!m_error.isEmpty())
        return;
    m_recordLine = m_line + lineBreaks(m_buffer.constData() + m_pos, m_buffer.size() - m_pos);
    switch (m_encoding) {
    case TextEncoding::Utf8:
        fail(QStringLiteral("текст не в кодировке UTF-8 (таблицу, сохраненную в Windows-1251, "
                            "читают с --encoding windows-1251)"));
        break;
    case TextEncoding::Utf16LE:
    case TextEncoding::Utf16BE:
        fail(QStringLiteral("текст не в кодировке %1: половина суррогатной пары или недостающий "
                            "байт в конце")
                 .arg(encodingName(m_encoding)));
        break;
    case TextEncoding::Windows1251: // every byte is a character
        break;
    }
}

bool CsvReader::tooLong(qint64 recordStart)
{
    if (textRead() - recordStart <= m_longest)
        return false;
    fail(QStringLiteral("строка слишком длинная (запись длиннее %1 байт)").arg(m_longest));
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
        else if (c == '\n' || c == '\r')
            break;
        else if (c == ',')
            ++commas;
        else if (c == ';')
            ++semicolons;
    }
    m_separator = semicolons > commas ? ';' : ',';
    m_endsCell[static_cast<unsigned char>(m_separator)] = true;
    m_endsCell['\n'] = true;
    m_endsCell['\r'] = true;
}

// Where the unquoted cell at m_pos ends (at a separator or a line break) when that is in the
// buffer already; -1 otherwise.
qsizetype CsvReader::unquotedCellEnd() const
{
    const char *data = m_buffer.constData();
    const qsizetype end = m_buffer.size();
    for (qsizetype k = m_pos; k < end; ++k)
        if (m_endsCell[static_cast<unsigned char>(data[k])])
            return k;
    return -1;
}

bool CsvReader::readRecord(CsvRows &rows)
{
    if (!m_error.isEmpty())
        return false;
    if (!m_started && !start())
        return false;
    const std::size_t cells = rows.m_cellEnds.size(), bytes = rows.m_text.size();
    const bool read = parseRecord(rows);
    // A chunk read for the record may have stopped at a byte of no character.
    if (!read || !m_error.isEmpty()) {
        rows.truncate(cells, bytes);
        return false;
    }
    rows.m_rowEnds.push_back(rows.m_cellEnds.size());
    return true;
}

bool CsvReader::readRecord(QStringList &cells)
{
    cells.clear();
    m_record.clear();
    if (!readRecord(m_record))
        return false;
    const qsizetype count = m_record.cellCount(0);
    cells.reserve(count);
    for (qsizetype k = 0; k < count; ++k) {
        const std::string_view cell = m_record.cell(0, k);
        cells.append(QString::fromUtf8(cell.data(), qsizetype(cell.size())));
    }
    return true;
}

bool CsvReader::parseRecord(CsvRows &rows)
{
    // Lines with nothing on them are no records.
    for (;;) {
        if (!ensureAvailable(m_pos + 1))
            return false;
        const char c = m_buffer[m_pos];
        if (c != '\n' && c != '\r')
            break;
        const bool crlf = c == '\r' && ensureAvailable(m_pos + 2) && m_buffer[m_pos + 1] == '\n';
        m_pos += crlf ? 2 : 1;
        ++m_line;
    }
    m_recordLine = m_line;
    const qint64 recordStart = textRead();
    std::string &text = rows.m_text;
    std::vector<std::size_t> &ends = rows.m_cellEnds;
    const std::size_t firstCell = ends.size();

    for (;;) {
        if (qsizetype(ends.size() - firstCell) >= kMostCsvCells)
            return fail(QStringLiteral("в строке больше %1 ячеек").arg(kMostCsvCells));
        if (ensureAvailable(m_pos + 1) && m_buffer[m_pos] == '"') {
            ++m_pos;
            for (;;) {
                if (!ensureAvailable(m_pos + 1))
                    return fail(QStringLiteral("открытая здесь кавычка не закрыта"));
                const char *from = m_buffer.constData() + m_pos;
                const qsizetype left = m_buffer.size() - m_pos;
                const char *quote = static_cast<const char *>(std::memchr(from, '"', left));
                qsizetype run = quote ? quote - from : left;
                // A '\r' last in the buffer is one line break or half of one: the next byte
                // tells.
                if (!quote && from[run - 1] == '\r' && --run == 0) {
                    if (!ensureAvailable(m_pos + 2))
                        return fail(QStringLiteral("открытая здесь кавычка не закрыта"));
                    continue;
                }
                text.append(from, std::size_t(run));
                m_line += lineBreaks(from, run);
                m_pos += run;
                if (tooLong(recordStart))
                    return false;
                if (!quote)
                    continue;
                if (ensureAvailable(m_pos + 2) && m_buffer[m_pos + 1] == '"') {
                    text += '"';
                    m_pos += 2;
                    continue;
                }
                ++m_pos; // the closing quote
                if (tooLong(recordStart))
                    return false;
                break;
            }
            if (ensureAvailable(m_pos + 1)) {
                const char c = m_buffer[m_pos];
                if (c != m_separator && c != '\n' && c != '\r')
                    return fail(QStringLiteral("ячейка продолжается после закрывающей кавычки"));
            }
        } else if (const qsizetype end = unquotedCellEnd(); end >= 0) {
            // The usual cell: unquoted and whole in the buffer, read from there.
            text.append(m_buffer.constData() + m_pos, std::size_t(end - m_pos));
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
                while (k < end && !m_endsCell[static_cast<unsigned char>(data[k])])
                    ++k;
                text.append(data + m_pos, std::size_t(k - m_pos));
                m_pos = k;
                if (tooLong(recordStart))
                    return false;
                if (k < end)
                    break;
            }
        }
        ends.push_back(text.size());
        if (!ensureAvailable(m_pos + 1))
            return true; // the last record, without a line break
        const char c = m_buffer[m_pos];
        if (c == m_separator) {
            ++m_pos;
            continue;
        }
        const bool crlf = c == '\r' && ensureAvailable(m_pos + 2) && m_buffer[m_pos + 1] == '\n';
        m_pos += crlf ? 2 : 1;
        ++m_line;
        if (!m_lineBreakKnown) {
            m_lineBreakKnown = true;
            m_lineBreak = crlf ? QByteArray("\r\n") : QByteArray(1, c);
        }
        return true;
    }
}

void CsvRows::clear()
{
    m_text.clear();
    m_cellEnds.clear();
    m_rowEnds.clear();
}

void CsvRows::truncate(std::size_t cells, std::size_t bytes)
{
    m_cellEnds.resize(cells);
    m_text.resize(bytes);
}

void appendCsvRecord(
    QByteArray &bytes, const QStringList &cells, char separator, const QByteArray &lineBreak)
{
    std::string record;
    appendCsvRecord(record, cells, separator, lineBreak);
    bytes.append(record.data(), qsizetype(record.size()));
}

void appendCsvCell(std::string &bytes, std::string_view cell, char separator)
{
    // Numbers and names hold nothing to quote: copied as they are.
    bool quoted = false;
    for (const char c : cell) {
        if (c == separator || c == '"' || c == '\n' || c == '\r') {
            quoted = true;
            break;
        }
    }
    if (!quoted) {
        bytes.append(cell);
        return;
    }
    bytes += '"';
    for (const char c : cell) {
        if (c == '"')
            bytes += '"';
        bytes += c;
    }
    bytes += '"';
}

void appendCsvRecord(
    std::string &bytes, const QStringList &cells, char separator, const QByteArray &lineBreak)
{
    for (qsizetype k = 0; k < cells.size(); ++k) {
        if (k > 0)
            bytes += separator;
        const QByteArray utf8 = cells[k].toUtf8();
        appendCsvCell(
            bytes, std::string_view(utf8.constData(), std::size_t(utf8.size())), separator);
    }
    bytes.append(lineBreak.constData(), std::size_t(lineBreak.size()));
}

} // namespace kelsa
