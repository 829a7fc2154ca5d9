// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/calc/fields.h"
#include "core/calc/momentcases.h"
#include "core/calc/options.h"
#include "core/calc/resets.h"
#include "core/tables/tablecatalogue.h"

#include <array>
#include <vector>

class QAbstractButton;
class QLabel;
class QRadioButton;
class QWidget;

namespace kelsa
{

class FieldEdit;
class RecordNavigator;

// The main window's controls by what they are, for the behaviours to work with. The families
// the engine knows (input fields, moments, resets, option groups, reference tables) are indexed
// by the engine's own names for them; the rest have a member each. Object names stay on the
// controls for tests and files; Form1 fills this from its layout table.
struct Form1Controls {
    struct Table {
        RecordNavigator *navigator = nullptr;
        QLabel *rowLabel = nullptr; // the record's caption
        std::vector<FieldEdit *> cells; // in the order of the catalogue
    };

    std::array<FieldEdit *, kInputFieldCount> fields {};
    std::array<QAbstractButton *, kMomentCount> momentButtons {};
    std::array<QLabel *, kMomentCount> momentLabels {}; // red, the moment in kgf·m
    std::array<QAbstractButton *, kResetCount> resetButtons {};
    std::array<std::vector<QRadioButton *>, kOptionGroupCount> options; // in value order
    std::array<Table, kReferenceTableCount> tables;

    QWidget *transitionFrame = nullptr; // in the right column when the transition support is on
    QWidget *additionalLoadsFrame = nullptr; // in the right column otherwise
    QAbstractButton *aboutButton = nullptr; // "?"
    QAbstractButton *exitButton = nullptr; // "Выход"
    QAbstractButton *systemCalculatorButton = nullptr; // "Калькулятор", the desktop's calculator
    QAbstractButton *builtInCalculatorButton = nullptr; // "Калькулятор", Form3

    FieldEdit *field(InputField which) const;
    QAbstractButton *momentButton(Moment moment) const;
    QLabel *momentLabel(Moment moment) const;
    QAbstractButton *resetButton(Reset reset) const;
    const std::vector<QRadioButton *> &optionGroup(OptionGroup group) const;
    // Index of the selected option of a group; its start index if none is selected yet.
    int selectedOption(OptionGroup group) const;
    OptionSelection selectedOptions() const;
};

} // namespace kelsa
