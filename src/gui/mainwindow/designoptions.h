// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

class Form1;

namespace kelsa
{

// The option groups of the design condition. Each selection shows the cells and sub-frames of
// its condition and hides the other members of its sets, so that every reference table shows
// exactly one cell: the one for the selected ice wall and wind speeds. They write no text; the
// values reach the calculations only through the cells the look-ups copy.
class DesignOptions : public QObject
{
    Q_OBJECT
public:
    explicit DesignOptions(Form1 &form);

    // Indexes of the current condition.
    int iceIndex() const; // ice wall 5, 10, 15, 20 mm: 0..3
    int rnvWindIndex() const; // wind in ice for "Рнв" and "Pпрв", 10, 15, 20 m/s: 0..2
    int pkvWindIndex() const; // wind in ice for "Pкв", 10, 12.5, 15, 17.5, 20 m/s: 0..4
    int maxWindIndex() const; // maximum wind 20, 25, 30, 35, 40 m/s: 0..4

private:
    void showIceThickness(int i);
    void showRnvWind(int w);
    void showPkvWind(int w);
    void showMaxWind(int v);
    void setShown(const QString &name, bool shown);

    Form1 &m_form;
};

} // namespace kelsa
