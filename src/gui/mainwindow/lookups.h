// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>

class Form1;

namespace kelsa
{

class DesignOptions;

// The seven look-up fields: a mouse click copies into the field, character for character, the
// text of the table cell on screen for the current record and design condition, edited or not.
// The copy is a snapshot; moving the record or changing an option leaves the field alone until
// the next click. Tabbing into the field keeps its text, so a value can still be typed.
class LoadLookups : public QObject
{
    Q_OBJECT
public:
    LoadLookups(Form1 &form, const DesignOptions &options);

    // The cell whose text a click in the look-up field copies now.
    QString sourceCell(const QString &lookupField) const;

private:
    void lookUp(const QString &lookupField);

    Form1 &m_form;
    const DesignOptions &m_options;
};

} // namespace kelsa
