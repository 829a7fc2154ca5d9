// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <span>

namespace kelsa
{

// The main window's controls as data: one row per control, in the order the window builds them.
// Within one container the rows run in stacking order, topmost first; places and sizes are in
// twips relative to the container (15 twips are one pixel at 96 dpi); tab is the control's place
// in the window's keyboard tab order (-1: none).

enum class ControlKind { Label, Text, Frame, Command, Option, Navigator };

enum ControlLook : unsigned {
    Plain = 0,
    Bold = 1, // bold face; on a frame only its caption
    Red = 2, // red text; on a frame its caption
    Grey = 4, // grey panel background
};

struct ControlRow {
    const char *name;
    ControlKind kind;
    const char *container; // "" for the window itself
    int left, top, width, height;
    int tab;
    const char *text; // caption or initial text, UTF-8
    unsigned look;
};

std::span<const ControlRow> form1Controls();

// Client area of the main window, in twips.
inline constexpr int kForm1Width = 10920;
inline constexpr int kForm1Height = 8595;

} // namespace kelsa
