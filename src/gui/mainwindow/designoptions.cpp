// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/mainwindow/designoptions.h"

#include "gui/mainwindow/form1.h"

#include <QRadioButton>

#include <array>

namespace kelsa
{

namespace
{

// Options of each group in screen order; the index of an option is its place here. The options
// of "Vр.ветра м/с" for "Pкв" are not numbered in screen order: "10" is Option17.
constexpr std::array kIceOptions { "Option1", "Option2", "Option3", "Option4" };
constexpr std::array kRnvWindOptions { "Option5", "Option6", "Option7" };
constexpr std::array kPkvWindOptions { "Option17", "Option13", "Option14", "Option15", "Option16" };
constexpr std::array kMaxWindOptions { "Option8", "Option9", "Option10", "Option11", "Option12" };

QString numbered(const char *stem, int number)
{
    return QString::fromLatin1(stem) + QString::number(number);
}

template <std::size_t N>
int selectedIndex(const Form1 &form, const std::array<const char *, N> &options)
{
    for (std::size_t k = 0; k < N; ++k)
        if (form.option(QString::fromLatin1(options[k]))->isChecked())
            return int(k);
    return 0;
}

} // namespace

DesignOptions::DesignOptions(Form1 &form)
    : m_form(form)
{
    const auto wire = [&](const auto &options, void (DesignOptions::*show)(int)) {
        for (int k = 0; k < int(options.size()); ++k)
            connect(form.option(QString::fromLatin1(options[k])), &QRadioButton::toggled, this,
                [this, show, k](bool selected) {
                    if (selected)
                        (this->*show)(k);
                });
    };
    wire(kIceOptions, &DesignOptions::showIceThickness);
    wire(kRnvWindOptions, &DesignOptions::showRnvWind);
    wire(kPkvWindOptions, &DesignOptions::showPkvWind);
    wire(kMaxWindOptions, &DesignOptions::showMaxWind);
}

int DesignOptions::iceIndex() const
{
    return selectedIndex(m_form, kIceOptions);
}

int DesignOptions::rnvWindIndex() const
{
    return selectedIndex(m_form, kRnvWindOptions);
}

int DesignOptions::pkvWindIndex() const
{
    return selectedIndex(m_form, kPkvWindOptions);
}

int DesignOptions::maxWindIndex() const
{
    return selectedIndex(m_form, kMaxWindOptions);
}

void DesignOptions::setShown(const QString &name, bool shown)
{
    m_form.control(name)->setVisible(shown);
}

// The ice wall picks the cell of the one-way weight tables, the sub-frame of "Рнв" and "Pпрв"
// (ice-major), and the cell inside each wind sub-frame of "Pкв" (wind-major).
void DesignOptions::showIceThickness(int i)
{
    for (int k = 0; k < 4; ++k) {
        setShown(numbered("Gp", 5 + 5 * k), k == i);
        setShown(numbered("Gpr", 5 + 5 * k), k == i);
        setShown(numbered("Frame", 6 + k), k == i);
        setShown(numbered("Frame", 20 + k), k == i);
    }
    for (int cell = 6; cell <= 25; ++cell)
        setShown(numbered("Pkv", cell), (cell - 6) % 4 == i);
}

// The wind picks the cell inside each ice sub-frame of "Рнв" and "Pпрв".
void DesignOptions::showRnvWind(int w)
{
    for (int cell = 1; cell <= 12; ++cell) {
        setShown(numbered("Pnv", cell), (cell - 1) % 3 == w);
        setShown(numbered("Pprv", cell), (cell - 1) % 3 == w);
    }
}

// The wind picks the sub-frame of "Pкв".
void DesignOptions::showPkvWind(int w)
{
    for (int k = 0; k < 5; ++k)
        setShown(numbered("Frame", 14 + k), k == w);
}

void DesignOptions::showMaxWind(int v)
{
    for (int k = 0; k < 5; ++k) {
        setShown(numbered("txtPro", 1 + k), k == v);
        setShown(numbered("txtPr", 1 + k), k == v);
        setShown(numbered("txtPo", 1 + k), k == v);
    }
}

} // namespace kelsa
