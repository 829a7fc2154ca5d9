#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Writes the support catalogues the tests open and the empty template of the documentation.

    /usr/bin/python3 tools/make_catalogue_workbooks.py

Needs Debian's python3-xlwt and python3-openpyxl. Run by hand; the files are committed.

Every type name and every moment here is made up for the tests: none is a normative value of
any standard or typical design.

tests/fixtures/каталог с плохими строками.xls, .xlsx, .ods
    A first sheet «Опоры» in kgf·m with one row of each kind the reader leaves out, among
    sound ones; a second sheet «Лист2» that must not be read.
tests/fixtures/каталог опор.xlsx
    Four made-up types in kN·m, two of them with the same Mн, for the agreement of the window,
    the report, --compute and --batch.
docs/опоры.xlsx
    The template: the heading row only.
"""
import io
import zipfile
from pathlib import Path
from xml.sax.saxutils import escape

import openpyxl
import xlwt

ROOT = Path(__file__).resolve().parent.parent
FIXTURES = ROOT / "tests" / "fixtures"

HEADING_KGF = ["Тип опоры", "Mн, кгс·м", "Где действует Mн", "Источник"]
# None leaves a cell unwritten; a str in column B is a text cell.
BAD_ROWS = [
    ["Проба-1", 3000, "у пяты", "выдумано для тестов"],
    [],                                   # row 3: empty, skipped
    [None, 5000],                         # row 4: no name
    ["Проба-2", "много"],                 # row 5: B is no number
    ["Проба-3", 0],                       # row 6: not positive
    ["проба-1", 4000],                    # row 7: the name of row 2 again
    ["Проба-4", -5],                      # row 8: negative
    ["Проба-5", "4500,5"],                # row 9: a number typed as text, decimal comma
    ["  Проба-6 ", 6000, None, "табл. 0"],  # row 10: blanks around the name
    [None, None, "только примечание"],    # row 11: no name
    ["Проба-7"],                          # row 12: no moment
]
OTHER_SHEET = [["Тип", "Mн, кН·м"], ["Не читать", 1]]

HEADING_KN = ["Тип опоры", "Mн, кН·м", "Где действует Mн", "Источник"]
AGREEMENT_ROWS = [
    ["Проба-10", 10, "у пяты", "выдуманная таблица 1"],
    ["Проба-25", 25, "у пяты", "выдуманная таблица 2"],
    ["Проба-25б", 25, "у пяты", "выдуманная таблица 3"],
    ["Проба-60", 60, "у пяты", "выдуманная таблица 4"],
]


def write_xls(path, sheets):
    book = xlwt.Workbook(encoding="utf-8")
    for name, rows in sheets:
        sheet = book.add_sheet(name)
        for r, row in enumerate(rows):
            for c, value in enumerate(row):
                if value is not None:
                    sheet.write(r, c, value)
    book.save(str(path))


def write_xlsx(path, sheets):
    book = openpyxl.Workbook()
    book.remove(book.active)
    for name, rows in sheets:
        sheet = book.create_sheet(name)
        for r, row in enumerate(rows, start=1):
            for c, value in enumerate(row, start=1):
                if value is not None:
                    sheet.cell(row=r, column=c, value=value)
    book.save(str(path))


def ods_cell(value):
    if value is None:
        return "<table:table-cell/>"
    if isinstance(value, str):
        return ('<table:table-cell office:value-type="string"><text:p>'
                f"{escape(value)}</text:p></table:table-cell>")
    return (f'<table:table-cell office:value-type="float" office:value="{value}">'
            f"<text:p>{value}</text:p></table:table-cell>")


def write_ods(path, sheets):
    """The package of tests/fixtures/таблица.ods with content.xml holding `sheets`."""
    tables = "".join(
        f'<table:table table:name="{name}">'
        + "".join("<table:table-row>" + "".join(ods_cell(v) for v in row)
                  + "</table:table-row>" for row in rows)
        + "</table:table>" for name, rows in sheets)
    content = ('<?xml version="1.0" encoding="UTF-8"?><office:document-content'
               ' xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0"'
               ' xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0"'
               ' xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0" office:version="1.2">'
               f"<office:body><office:spreadsheet>{tables}</office:spreadsheet></office:body>"
               "</office:document-content>")
    out = io.BytesIO()
    with zipfile.ZipFile(FIXTURES / "таблица.ods") as old, zipfile.ZipFile(out, "w") as new:
        for info in old.infolist():
            data = content.encode() if info.filename == "content.xml" else old.read(info)
            kind = zipfile.ZIP_STORED if info.filename == "mimetype" else zipfile.ZIP_DEFLATED
            new.writestr(info.filename, data, compress_type=kind)
    path.write_bytes(out.getvalue())


def main():
    bad = [("Опоры", [HEADING_KGF] + BAD_ROWS), ("Лист2", OTHER_SHEET)]
    write_xls(FIXTURES / "каталог с плохими строками.xls", bad)
    write_xlsx(FIXTURES / "каталог с плохими строками.xlsx", bad)
    write_ods(FIXTURES / "каталог с плохими строками.ods", bad)
    write_xlsx(FIXTURES / "каталог опор.xlsx", [("Опоры", [HEADING_KN] + AGREEMENT_ROWS)])
    write_xlsx(ROOT / "docs" / "опоры.xlsx", [("Опоры", [HEADING_KN])])


if __name__ == "__main__":
    main()
