#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Writes the ten sample reference workbooks of Kelsa into data/.

  data/т11.1.xls  data/т11.2.xls  data/т11.3.xls  data/т11.5.xls   catenary: Gп, Рнв
  data/т12.1.xls  data/т12.2.xls  data/т12.3.xls  data/т12.5.xls   feeder/return wire: Gпр, Pпрв
  data/т13.xls    data/т13мах.xls                                  contact wire: Pкв

They are sample tables for demonstration and tests, computed from the small wire catalogue
below with the usual per-metre load formulas; data/README.md describes them. A designer puts
the normative tables of the project in their place.

Run by hand from the repository root with Debian's Python, which has python3-xlwt:
    /usr/bin/python3 tools/make_sample_workbooks.py
"""
import math
import re
from pathlib import Path

import xlwt

ROOT = Path(__file__).resolve().parent.parent
DATA = ROOT / "data"

SHEET = "Лист1"

# Design conditions the columns stand for.
ICE_MM = (5, 10, 15, 20)                   # ice wall thickness b, mm
WIND_IN_ICE = (10, 15, 20)                 # wind speed in ice for Рнв and Pпрв, m/s
WIND_IN_ICE_CONTACT = (10, 12.5, 15, 17.5, 20)  # wind speed in ice for Pкв, m/s
WIND_MAX = (20, 25, 30, 35, 40)            # maximum wind speed (no ice), m/s

# Drag coefficient of one wire in a cross wind, bare or iced. Handbooks on the contact
# network take 1.25 for a single stranded wire and for a single contact wire of the
# diameters met here (10 to 20 mm); the rules for overhead power lines give 1.2 below 20 mm
# (1.1 at 20 mm and above), so 1.25 is the slightly conservative common value.
CX = 1.25

# Weight of droppers and clamps per contact wire of a catenary, kgf/m.
DROPPERS_PER_CONTACT_WIRE = 0.05

# --- Catalogue -------------------------------------------------------------------------------
# Diameter d in mm and weight g in kgf/m (= kg/m) of the wires, as quoted in handbooks:
# bare stranded wires М, А, АС after ГОСТ 839-80, bimetal steel-copper ПБСМ after its
# technical conditions, grooved copper contact wires МФ after ГОСТ 2584-86 (height H, width A).

# Messenger wires (несущие тросы).
MESSENGERS = {
    "М-95": (12.5, 0.85),       # copper, 19 strands of 2.5 mm
    "М-120": (14.0, 1.06),      # copper, 19 strands of 2.8 mm
    "ПБСМ-70": (11.0, 0.606),   # bimetal steel-copper, 19 strands of 2.2 mm
    "ПБСМ-95": (12.5, 0.78),    # bimetal steel-copper, 19 strands of 2.5 mm
}

# Contact wires (контактные провода): height H, width A in mm, weight in kgf/m.
# Wind and ice act on the mean diameter d = (H + A) / 2.
CONTACT_WIRES = {
    "МФ-85": (10.8, 11.76, 0.755),
    "МФ-100": (11.8, 12.81, 0.89),
    "МФ-120": (12.9, 13.9, 1.067),
    "МФ-150": (14.5, 15.5, 1.334),
}

# Feeder, reinforcing and return wires (питающие, усиливающие и обратные провода).
FEEDERS = {
    "А-185": (17.5, 0.503),     # aluminium
    "А-150": (15.8, 0.406),     # aluminium
    "АС-70/11": (11.4, 0.276),  # aluminium with steel core
    "АС-95/16": (13.5, 0.385),
    "АС-120/19": (15.2, 0.471),
}

# Catenaries (подвески): messenger, contact wire, number of contact wires.
CATENARIES = [
    ("М-95+МФ-100", "М-95", "МФ-100", 1),
    ("М-120+2МФ-100", "М-120", "МФ-100", 2),
    ("М-95+2МФ-100", "М-95", "МФ-100", 2),
    ("ПБСМ-95+МФ-100", "ПБСМ-95", "МФ-100", 1),
    ("ПБСМ-70+МФ-85", "ПБСМ-70", "МФ-85", 1),
]


# --- Per-metre loads, kgf/m ------------------------------------------------------------------
def ice_weight(d, b):
    """Weight of an ice wall b (mm) on a wire of diameter d (mm): ice of 0.9 g/cm³."""
    return 0.0009 * math.pi * b * (d + b)


def wind_load(v, d):
    """Wind of speed v (m/s) on a wire whose diameter, ice included, is d (mm)."""
    return CX * v * v / 16 * d * 1e-3


def contact_diameter(name):
    height, width, _ = CONTACT_WIRES[name]
    return (height + width) / 2


def catenary_weight(messenger, contact, count):
    """Messenger, contact wires, droppers and clamps, without ice."""
    return (MESSENGERS[messenger][1] + count * CONTACT_WIRES[contact][2]
            + count * DROPPERS_PER_CONTACT_WIRE)


def catenary_weight_in_ice(messenger, contact, count, b):
    """The contact wire carries half the ice wall of the messenger; droppers are left bare."""
    return (catenary_weight(messenger, contact, count)
            + ice_weight(MESSENGERS[messenger][0], b)
            + count * ice_weight(contact_diameter(contact), b / 2))


def value(x):
    """Stored to three decimals, as the tables of a handbook give them."""
    return round(x, 3)


def speed(v):
    return f"{v:g}".replace(".", ",")


# --- The ten tables --------------------------------------------------------------------------
def heading(first, columns):
    return [first] + columns


def tables():
    """Yields (file name, heading row, rows); each row is its name followed by its values."""
    ice_heads = [f"b={b} мм" for b in ICE_MM]
    ice_wind_heads = [f"b={b} мм, V={speed(v)} м/с" for b in ICE_MM for v in WIND_IN_ICE]
    max_heads = [f"V={speed(v)} м/с" for v in WIND_MAX]

    yield ("т11.1.xls", heading("Подвеска (Gп в, кгс/м)", ["без гололёда"]),
           [[name, value(catenary_weight(m, c, n))] for name, m, c, n in CATENARIES])
    yield ("т11.2.xls", heading("Подвеска (Gп, кгс/м)", ice_heads),
           [[name] + [value(catenary_weight_in_ice(m, c, n, b)) for b in ICE_MM]
            for name, m, c, n in CATENARIES])
    yield ("т11.3.xls", heading("Подвеска (Рнв в, кгс/м)", max_heads),
           [[name] + [value(wind_load(v, MESSENGERS[m][0])) for v in WIND_MAX]
            for name, m, c, n in CATENARIES])
    yield ("т11.5.xls", heading("Подвеска (Рнв, кгс/м)", ice_wind_heads),
           [[name] + [value(wind_load(v, MESSENGERS[m][0] + 2 * b))
                      for b in ICE_MM for v in WIND_IN_ICE]
            for name, m, c, n in CATENARIES])

    yield ("т12.1.xls", heading("Провод (Gпр в, кгс/м)", ["без гололёда"]),
           [[name, value(g)] for name, (d, g) in FEEDERS.items()])
    yield ("т12.2.xls", heading("Провод (Gпр, кгс/м)", ice_heads),
           [[name] + [value(g + ice_weight(d, b)) for b in ICE_MM]
            for name, (d, g) in FEEDERS.items()])
    yield ("т12.3.xls", heading("Провод (Pпрв в, кгс/м)", max_heads),
           [[name] + [value(wind_load(v, d)) for v in WIND_MAX]
            for name, (d, g) in FEEDERS.items()])
    yield ("т12.5.xls", heading("Провод (Pпрв, кгс/м)", ice_wind_heads),
           [[name] + [value(wind_load(v, d + 2 * b)) for b in ICE_MM for v in WIND_IN_ICE]
            for name, (d, g) in FEEDERS.items()])

    # т13: F2..F6 describe the wire (the program does not show them), F7..F26 are the wind
    # loads in ice, four ice walls per wind speed. The wire's own ice wall is b/2, so its
    # iced diameter is d + 2·(b/2) = d + b.
    wire_heads = ["H, мм", "A, мм", "d=(H+A)/2, мм", "g, кгс/м", "Cx"]
    wind_ice_heads = [f"V={speed(v)} м/с, b={b} мм" for v in WIND_IN_ICE_CONTACT for b in ICE_MM]
    yield ("т13.xls", heading("Контактный провод (Pкв, кгс/м)", wire_heads + wind_ice_heads),
           [[name, h, a, value(contact_diameter(name)), g, CX]
            + [value(wind_load(v, contact_diameter(name) + b))
               for v in WIND_IN_ICE_CONTACT for b in ICE_MM]
            for name, (h, a, g) in CONTACT_WIRES.items()])
    yield ("т13мах.xls", heading("Контактный провод (Pкв в, кгс/м)", max_heads),
           [[name] + [value(wind_load(v, contact_diameter(name))) for v in WIND_MAX]
            for name in CONTACT_WIRES])


LATIN = re.compile("[A-Za-z]")


def write_table(path, head, rows):
    # File names (but for the extension) and row names are Cyrillic throughout; a Latin
    # look-alike letter would make "т11.1.xls" a different file and "М-95" a different wire.
    assert not LATIN.search(path.stem), path.name
    book = xlwt.Workbook(encoding="utf-8")
    sheet = book.add_sheet(SHEET)
    for col, text in enumerate(head):
        sheet.write(0, col, text)
    for r, row in enumerate(rows, start=1):
        assert not LATIN.search(row[0]), row[0]
        assert len(row) == len(head), (path.name, row[0])
        sheet.write(r, 0, row[0])
        for col, number in enumerate(row[1:], start=1):
            sheet.write(r, col, float(number))  # a number cell, never text or a formula
    sheet.col(0).width = 256 * 34
    book.save(str(path))


def main():
    for name, head, rows in tables():
        write_table(DATA / name, head, rows)
        print(f"{name}: {len(rows)} rows, {len(head)} columns")


if __name__ == "__main__":
    main()
