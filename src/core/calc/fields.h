// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/calc/moments.h"

#include <QStringView>

#include <optional>
#include <span>

namespace kelsa
{

// The input fields of a calculation: everything a moment reads is the text of one of these 36
// fields, as typed or copied from a reference table. Each is addressed in files and on the
// command line by the name of its control in the main window ("Prolet", "txtGp", "TxtD8").
enum class InputField {
    SpanLength, // Prolet: L, m
    MaxWindSpeed, // txtVm: V, m/s
    MessengerTension, // Text1: Tn, kgf
    ContactTension, // Text2: Tk, kgf
    FeederTension, // Text3: Tpr, kgf
    CurveRadius, // Text4: R, m
    Stagger, // Text5: a, m
    AnchorDistance, // txtLp: Lp, from the transition to the anchor support, m
    // Loads per metre in ice with wind, kgf/m: Gp, Gpr, Pnv, Pkv, Pprv.
    IceGp, // txtGp
    IceGpr, // txtGpr
    IcePnv, // txtGnv
    IcePkv, // txtPkv
    IcePprv, // txtPprv
    // The same in maximum wind.
    WindGp, // txtSum1
    WindGpr, // txtSum2
    WindPnv, // txtSum3
    WindPkv, // txtSum4
    WindPprv, // txtSum5
    // Additional loads on straight track: D1..D9 (txtD1..txtD9, D8 is "TxtD8"); row k is
    // D(k) "+ - G/P" × D(k+3) "L/l" × D(k+6) "n".
    D1,
    D2,
    D3,
    D4,
    D5,
    D6,
    D7,
    D8,
    D9,
    // Additional loads in a curve: F1..F9 (txtF1..txtF9), laid out like D.
    F1,
    F2,
    F3,
    F4,
    F5,
    F6,
    F7,
    F8,
    F9,
};
inline constexpr int kInputFieldCount = int(InputField::F9) + 1;

struct FieldInfo {
    InputField field;
    const char *name; // control name, Latin-1
    const char *caption; // how the user knows the field: its label or frame caption, UTF-8
    const char *unit; // UTF-8; empty for the counts "n" of the grids
    const char *startText; // the text at start-up and after every reset that restores it
    bool lookup; // a click copies a reference-table cell into it instead of emptying it
};

// Every input field, in the order of InputField.
std::span<const FieldInfo> inputFields();
const FieldInfo &fieldInfo(InputField field);
std::optional<InputField> inputFieldNamed(QStringView name);

// The five loads per metre of each design condition, in the order Gp, Gpr, Pnv, Pkv, Pprv.
std::span<const InputField, 5> loadFields(DesignCondition condition);

} // namespace kelsa
