#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Writes the small workbooks that the reader tests open, and on request a large one for the
load benchmark.

    /usr/bin/python3 tools/make_test_workbooks.py               rewrites tests/fixtures/
    /usr/bin/python3 tools/make_test_workbooks.py --rows N DIR  writes DIR/большая.xls, N records

Run by hand with Debian's Python, which has python3-xlwt. The fixtures are committed; the large
workbook is written where bench_workbook_load asks for it and thrown away afterwards.
"""
import argparse
import datetime
import struct
from pathlib import Path

import xlwt

ROOT = Path(__file__).resolve().parent.parent
FIXTURES = ROOT / "tests" / "tables" / "fixtures"

SHEET = "Лист1"

# BIFF8 DIMENSIONS record: type 0x0200, 14 bytes: first row, last row + 1 (32 bits each),
# first column, last column + 1 (16 bits each), reserved.
DIMENSIONS_HEADER = b"\x00\x02\x0e\x00"


def book_with(sheets):
    """sheets: (name, rows) pairs; a row is a list of values, None leaves the cell unwritten."""
    book = xlwt.Workbook(encoding="utf-8")
    for name, rows in sheets:
        sheet = book.add_sheet(name)
        for r, row in enumerate(rows):
            for c, cell in enumerate(row):
                if cell is None:
                    continue
                if isinstance(cell, tuple):  # (value, style)
                    sheet.write(r, c, cell[0], cell[1])
                else:
                    sheet.write(r, c, cell)
    return book


def save(book, name):
    path = FIXTURES / name
    book.save(str(path))
    return path


def with_dimensions(source, target, rows, columns):
    """Copies a one-sheet workbook, claiming rows x columns in its DIMENSIONS record."""
    data = bytearray(source.read_bytes())
    at = data.find(DIMENSIONS_HEADER)
    assert at >= 0 and data.find(DIMENSIONS_HEADER, at + 1) < 0, "expected one DIMENSIONS record"
    struct.pack_into("<I", data, at + 4 + 4, rows)
    struct.pack_into("<H", data, at + 4 + 10, columns)
    target.write_bytes(bytes(data))


def with_record_length(source, target, record_type, length):
    """Copies a workbook, giving the first BIFF record of record_type a wrong length field.

    xlwt writes the workbook stream in one piece, so its records are walked from the first BOF.
    """
    data = bytearray(source.read_bytes())
    at = data.find(b"\x09\x08")  # BOF of the workbook globals
    while at + 4 <= len(data):
        kind, size = struct.unpack_from("<HH", data, at)
        if kind == record_type:
            struct.pack_into("<H", data, at + 2, length)
            target.write_bytes(bytes(data))
            return
        at += 4 + size
    raise AssertionError(f"no record {record_type:#06x}")


def fixtures():
    FIXTURES.mkdir(parents=True, exist_ok=True)
    date_style = xlwt.easyxf(num_format_str="YYYY-MM-DD")
    blank_style = xlwt.easyxf("pattern: pattern solid, fore_colour yellow")

    # The cell kinds, on the second of two sheets so that the sheet is found by its name.
    # Record 1: every kind of cell. Record 2: a short row. Record 3: an empty row between
    # records. Record 4: the last one with a value. The row after it holds only a formatted
    # blank cell, which stretches the sheet's dimensions but is no record.
    heading = ["Провод", "Дробь", "Целое", "Текст", "Пусто", "Формула", "Число", "Минус", "Дата"]
    cells = [
        heading,
        ["М-95", 0.85, 3, "  текст как есть ", ("", blank_style), xlwt.Formula("2*3"),
         1234.5678, -2.5, (datetime.date(2024, 3, 15), date_style)],
        ["Короткая", 1],
        [],
        ["После пустой", 7],
        [None, ("", blank_style)],
    ]
    decoy = [["Сводка"], ["Не тот лист", 999]]
    save(book_with([("Сводка", decoy), (SHEET, cells)]), "ячейки.xls")

    save(book_with([("Лист2", [["Провод", "F2"], ["М-95", 0.85]])]), "другой лист.xls")
    save(book_with([(SHEET, [["Провод", "F2", "F3"]])]), "только заголовок.xls")
    save(book_with([(SHEET, [["Провод", "F2", "F3"], ["М-95", 0.85, 1.5]])]), "узкая.xls")

    # A small sheet whose dimensions claim the whole Excel 97-2003 grid (65,536 x 256), and
    # one that claims more cells than FreeXL accepts (2^24 rows x 256).
    small = save(book_with([(SHEET, [["Провод", "F2"], ["М-95", 0.85], ["М-120", 1.06]])]),
                 "малая.xls")
    with_dimensions(small, FIXTURES / "вся сетка.xls", 65536, 256)
    with_dimensions(small, FIXTURES / "сверх меры.xls", 1 << 24, 256)
    # A page HEADER record (0x0014) of 5 bytes that claims 8: FreeXL 1.0.6 dies on it with a
    # segmentation fault inside freexl_open().
    with_record_length(small, FIXTURES / "роняет freexl.xls", 0x0014, 8)
    small.unlink()

    whole = (FIXTURES / "ячейки.xls").read_bytes()
    (FIXTURES / "обрезанная.xls").write_bytes(whole[: len(whole) // 2])
    (FIXTURES / "не книга.xls").write_text("Провод;F2\nМ-95;0,85\n", encoding="utf-8")


def large(rows, folder):
    """A table shaped like т11.5.xls (a name and twelve numbers) with the given records."""
    folder.mkdir(parents=True, exist_ok=True)
    book = xlwt.Workbook(encoding="utf-8")
    sheet = book.add_sheet(SHEET)
    sheet.write(0, 0, "Подвеска")
    for c in range(1, 13):
        sheet.write(0, c, f"F{c + 1}")
    for r in range(1, rows + 1):
        sheet.write(r, 0, f"Подвеска № {r}")
        for c in range(1, 13):
            sheet.write(r, c, round(0.1 + r * 0.001 + c * 0.037, 3))
    path = folder / "большая.xls"
    book.save(str(path))
    print(path)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--rows", type=int, help="write a workbook with this many records")
    parser.add_argument("folder", nargs="?", type=Path, help="where the large workbook goes")
    args = parser.parse_args()
    if args.rows is None:
        fixtures()
    elif args.folder is None:
        parser.error("--rows needs a folder")
    else:
        large(args.rows, args.folder)


if __name__ == "__main__":
    main()
