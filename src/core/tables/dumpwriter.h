// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/tables/sheetdump.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace kelsa
{

// Collects a sheet dump (sheetdump.h) and hands it to the sink in pieces of about 64 KB. Used
// by the workbook dumpers in the child process: the C++ library only.
class DumpWriter
{
public:
    explicit DumpWriter(const SheetDumpSink &sink)
        : m_sink(sink)
    {
    }

    template <typename T> void put(T value)
    {
        m_buffer.append(reinterpret_cast<const char *>(&value), sizeof value);
    }
    // A Text or Error cell with its length and bytes.
    void putText(SheetDumpCell kind, std::string_view text)
    {
        put(kind);
        put(static_cast<std::uint32_t>(text.size()));
        m_buffer.append(text);
    }
    // The whole stream of a dump that did not get as far as the cells.
    void finish(SheetDumpOutcome outcome)
    {
        put(outcome);
        flush(true);
    }
    // False once the sink has refused a piece.
    bool flush(bool always = false)
    {
        if (m_ok && !m_buffer.empty() && (always || m_buffer.size() >= std::size_t(64) * 1024)) {
            m_ok = m_sink(m_buffer);
            m_buffer.clear();
        }
        return m_ok;
    }

private:
    const SheetDumpSink &m_sink;
    std::string m_buffer;
    bool m_ok = true;
};

} // namespace kelsa
