// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/calc/calculation.h"

#include <QObject>

namespace kelsa
{

struct Form1Controls;
class ReferenceTables;

// The seven look-up fields: a mouse click copies into the field, character for character, the
// text of the table cell on screen for the current record and design condition, edited or not,
// and notes where it came from. The copy is a snapshot; moving the record or changing an
// option leaves the field alone until the next click. Tabbing into the field keeps its text, so
// a value can still be typed; any change but a look-up's own forgets the field's source.
class LoadLookups : public QObject
{
    Q_OBJECT
public:
    LoadLookups(const Form1Controls &ui, ReferenceTables &tables);

    // Where each look-up field's text came from, for the fields filled by a click and not
    // changed since.
    const std::array<std::optional<LookupSource>, kInputFieldCount> &sources() const
    {
        return m_sources;
    }
    // Puts back the sources of an opened calculation, after its texts were put back.
    void restoreSources(const std::array<std::optional<LookupSource>, kInputFieldCount> &sources)
    {
        m_sources = sources;
    }

private:
    void lookUp(InputField field);

    const Form1Controls &m_ui;
    ReferenceTables &m_tables;
    std::array<std::optional<LookupSource>, kInputFieldCount> m_sources;
    bool m_copying = false;
};

} // namespace kelsa
