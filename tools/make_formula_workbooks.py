#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Writes the test workbooks whose cells hold formulas (tests/fixtures/).

    /usr/bin/python3 tools/make_formula_workbooks.py

Run by hand; needs LibreOffice Calc (Debian: libreoffice-calc-nogui), nothing else beyond the
Python library. The workbooks are committed, so the tests never need LibreOffice.

How each is made:

формулы.xls
    A flat OpenDocument spreadsheet (.fods) written below, with formulas and no saved values,
    converted by `soffice --headless --convert-to xls`. LibreOffice calculates each formula and
    saves its value in the FORMULA record: a double, a boolean, an error code, or a text in the
    STRING record that follows. Its workbook stream is under 4,096 bytes, so the compound file
    keeps it in the mini stream. The first sheet, "Сводка", holds other formulas in the same
    cells as "Лист1", so that a reader that takes the wrong sheet gives itself away.

формула без значения.xls
    The workbook stream of формулы.xls with the saved values of two formulas spoilt: the result
    of "Формула" claims a kind of result that does not exist (0x05), and the STRING record
    after the text formula is gone. Each cell is left with a formula and no value.

общие формулы.xls
    Made like формулы.xls: a table whose columns F3 and F4 hold one formula each, filled down
    ("=B2*2", "="М-"&B2"). LibreOffice saves such a column as a shared formula: a SHRFMLA
    record between the first cell's FORMULA record and its STRING record.

текст формулы с продолжением.xls
    The workbook stream of формулы.xls with the STRING record of the text formula ("М-95",
    stored as UTF-16) cut after its first two characters and continued in a CONTINUE record
    that stores the rest as single bytes, as Excel writes long texts.

The last two are written into a new compound file of 512-byte sectors that holds the workbook
stream alone, padded with zeros to 4,096 bytes so that it lies in ordinary sectors, not in the
mini stream. Records change length there, so the sheet offsets of the BOUNDSHEET records are
rewritten; the row offsets of INDEX and DBCELL records are left as they were (Excel uses them,
FreeXL and Kelsa do not).
"""
import shutil
import struct
import subprocess
import tempfile
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
FIXTURES = ROOT / "tests" / "fixtures"

# Records of the sheet Лист1: (name, formula in OpenFormula syntax or a number).
RECORDS = [
    ("Значение", 0.85),
    ("Формула", "0.0009*PI()*5*(11.8+5)"),
    ("Целое", "2*3"),
    ("Текст", '"М-"&95'),
    ("Пустой текст", '""'),
    ("Истина", "1>0"),
    ("Ложь", "1>2"),
    # One formula for each error a cell can show.
    ("Пустое пересечение", "1+#NULL!"),
    ("Деление на ноль", "1/0"),
    ("Текст вместо числа", '"а"*1'),
    ("Удалённая ссылка", "#REF!*2"),
    ("Неизвестная функция", "НЕТТАКОЙ(1)"),
    ("Переполнение", "10^400"),
    ("Нет данных", "NA()"),
]
DECOY = [("Не тот лист", "100*2"), ("Не тот лист", '"Сводка"')]
# Records of the table of filled-down formulas: (name, value of F2).
FILLED = [("М-95", 95.0), ("М-120", 120.0), ("М-150", 150.0), ("А-185", 185.0)]

FODS = """<?xml version="1.0" encoding="UTF-8"?>
<office:document xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0"
 xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0"
 xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0"
 xmlns:of="urn:oasis:names:tc:opendocument:xmlns:of:1.2"
 office:version="1.2" office:mimetype="application/vnd.oasis.opendocument.spreadsheet">
<office:body><office:spreadsheet>
{tables}
</office:spreadsheet></office:body></office:document>
"""


def escape(text):
    return text.replace("&", "&amp;").replace('"', "&quot;").replace("<", "&lt;")


def cell(value):
    if isinstance(value, float):
        return f'<table:table-cell office:value-type="float" office:value="{value}"/>'
    if value.startswith("="):
        return f'<table:table-cell table:formula="of:{escape(value)}"/>'
    return (
        '<table:table-cell office:value-type="string">'
        f"<text:p>{escape(value)}</text:p></table:table-cell>"
    )


def table(name, rows):
    """A sheet; a row is a list of cells: a number, a text, or a formula after "="."""
    body = "\n".join(
        "<table:table-row>" + "".join(cell(v) for v in row) + "</table:table-row>" for row in rows
    )
    return f'<table:table table:name="{escape(name)}">\n{body}\n</table:table>'


def one_formula_a_record(records):
    return [["Провод", "F2"]] + [
        [label, value if isinstance(value, float) else "=" + value] for label, value in records
    ]


def filled_down(records):
    return [["Провод", "F2", "F3", "F4"]] + [
        [label, value, f"=[.B{row}]*2", f'="М-"&[.B{row}]']
        for row, (label, value) in enumerate(records, start=2)
    ]


def convert(folder, name, tables):
    """An .xls workbook named `name` made by LibreOffice of (sheet name, rows) pairs."""
    source = folder / (name + ".fods")
    source.write_text(FODS.format(tables="\n".join(table(*t) for t in tables)), "utf-8")
    subprocess.run(
        ["soffice", "--headless", "--convert-to", "xls", "--outdir", str(folder), str(source)],
        check=True,
        stdout=subprocess.DEVNULL,
    )
    return folder / (name + ".xls")


# ---- The compound file -------------------------------------------------------------------

END_OF_CHAIN = 0xFFFFFFFE
FREE = 0xFFFFFFFF
FAT_SECTOR = 0xFFFFFFFD


def workbook_stream(data):
    """The "Workbook" stream of a compound file, from the FAT or the mini stream."""
    shift, mini_shift = struct.unpack_from("<HH", data, 0x1E)
    size = 1 << shift
    fat_count, directory_start = struct.unpack_from("<II", data, 0x2C)
    cutoff, mini_fat_start = struct.unpack_from("<II", data, 0x38)
    assert struct.unpack_from("<I", data, 0x48)[0] == 0, "expected no further FAT slot sectors"

    def sector(n):
        return data[(n + 1) * size : (n + 2) * size]

    fat = []
    for n in struct.unpack_from(f"<{fat_count}I", data, 0x4C):
        fat += struct.unpack(f"<{size // 4}I", sector(n))

    def chain(start, table, read):
        out = b""
        while start != END_OF_CHAIN:
            out += read(start)
            start = table[start]
        return out

    directory = chain(directory_start, fat, sector)
    entries = [directory[i : i + 128] for i in range(0, len(directory), 128)]
    root_start, root_size = struct.unpack_from("<II", entries[0], 0x74)
    mini = chain(root_start, fat, sector)[:root_size]
    mini_fat_bytes = chain(mini_fat_start, fat, sector)
    mini_fat = struct.unpack(f"<{len(mini_fat_bytes) // 4}I", mini_fat_bytes)
    mini_size = 1 << mini_shift
    for entry in entries:
        length = struct.unpack_from("<H", entry, 0x40)[0]
        if entry[0x42] == 2 and entry[: length - 2].decode("utf-16-le") == "Workbook":
            start, stream_size = struct.unpack_from("<II", entry, 0x74)
            if stream_size < cutoff:
                stream = chain(start, mini_fat, lambda n: mini[n * mini_size : (n + 1) * mini_size])
            else:
                stream = chain(start, fat, sector)
            return stream[:stream_size]
    raise AssertionError("no Workbook stream")


def directory_entry(name, kind, start, size, child=FREE):
    encoded = (name + "\0").encode("utf-16-le")
    entry = bytearray(128)
    entry[: len(encoded)] = encoded
    struct.pack_into("<HBB", entry, 0x40, len(encoded), kind, 1)  # black
    struct.pack_into("<III", entry, 0x44, FREE, FREE, child)  # left, right, child
    struct.pack_into("<II", entry, 0x74, start, size)
    return bytes(entry)


def compound_file(stream):
    """A version 3 compound file holding `stream` as "Workbook", in ordinary sectors."""
    stream = stream.ljust(4096, b"\0")
    stream_sectors = -(-len(stream) // 512)
    assert stream_sectors + 2 <= 128, "one sector of allocation table"
    directory_sector, fat_sector = stream_sectors, stream_sectors + 1
    fat = list(range(1, stream_sectors)) + [END_OF_CHAIN, END_OF_CHAIN, FAT_SECTOR]
    fat += [FREE] * (128 - len(fat))

    header = bytearray(512)
    header[:8] = b"\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1"
    struct.pack_into("<HHHHH", header, 0x18, 0x3E, 3, 0xFFFE, 9, 6)
    struct.pack_into("<IIII", header, 0x2C, 1, directory_sector, 0, 4096)
    struct.pack_into("<IIII", header, 0x3C, END_OF_CHAIN, 0, END_OF_CHAIN, 0)
    struct.pack_into("<109I", header, 0x4C, fat_sector, *([FREE] * 108))

    directory = directory_entry("Root Entry", 5, END_OF_CHAIN, 0, child=1)
    directory += directory_entry("Workbook", 2, 0, len(stream))
    directory += directory_entry("", 0, 0, 0) * 2
    return (
        bytes(header)
        + stream.ljust(stream_sectors * 512, b"\0")
        + directory
        + struct.pack("<128I", *fat)
    )


# ---- BIFF records ------------------------------------------------------------------------

FORMULA, STRING, CONTINUE, BOUNDSHEET = 0x0006, 0x0207, 0x003C, 0x0085


def records(stream):
    """(offset, type, data) of each record of a workbook stream."""
    out, at = [], 0
    while at + 4 <= len(stream):
        kind, length = struct.unpack_from("<HH", stream, at)
        out.append((at, kind, stream[at + 4 : at + 4 + length]))
        at += 4 + length
    return out


def join(recs):
    """The stream of (offset, type, data) records, with the BOUNDSHEET offsets moved along."""
    moved, at = {}, 0
    for old, kind, data in recs:
        if old is not None:
            moved[old] = at
        at += 4 + len(data)
    out = b""
    for _, kind, data in recs:
        if kind == BOUNDSHEET:
            data = struct.pack("<I", moved[struct.unpack_from("<I", data)[0]]) + data[4:]
        out += struct.pack("<HH", kind, len(data)) + data
    return out


def formula_of(recs, label):
    """Index of the FORMULA record in column F2 of the record `label` of Лист1, the last sheet."""
    row = [name for name, _ in RECORDS].index(label) + 1  # under the heading row
    found = [i for i, (_, kind, data) in enumerate(recs)
             if kind == FORMULA and struct.unpack_from("<HH", data) == (row, 1)]
    return found[-1]


def without_values(stream):
    recs = records(stream)
    i = formula_of(recs, "Формула")
    _, kind, data = recs[i]
    recs[i] = (recs[i][0], kind, data[:6] + b"\x05\0\0\0\0\0\xff\xff" + data[14:])
    i = formula_of(recs, "Текст")
    assert recs[i + 1][1] == STRING
    del recs[i + 1]
    return join(recs)


def continued_text(stream):
    recs = records(stream)
    i = formula_of(recs, "Текст")
    old, kind, data = recs[i + 1]
    assert kind == STRING and data[:3] == b"\x04\x00\x01", "expected 4 UTF-16 characters"
    text = data[3:].decode("utf-16-le")
    recs[i + 1] = (old, STRING, data[:3] + text[:2].encode("utf-16-le"))
    recs.insert(i + 2, (None, CONTINUE, b"\x00" + text[2:].encode("latin-1")))
    return join(recs)


def main():
    FIXTURES.mkdir(parents=True, exist_ok=True)
    with tempfile.TemporaryDirectory() as folder:
        sheets = [("Сводка", one_formula_a_record(DECOY)), ("Лист1", one_formula_a_record(RECORDS))]
        shutil.copy(convert(Path(folder), "формулы", sheets), FIXTURES / "формулы.xls")
        sheets = [("Лист1", filled_down(FILLED))]
        shutil.copy(convert(Path(folder), "общие формулы", sheets), FIXTURES / "общие формулы.xls")
    stream = workbook_stream((FIXTURES / "формулы.xls").read_bytes())
    assert len(stream) < 4096, "the workbook stream is to lie in the mini stream"
    (FIXTURES / "формула без значения.xls").write_bytes(compound_file(without_values(stream)))
    (FIXTURES / "текст формулы с продолжением.xls").write_bytes(
        compound_file(continued_text(stream))
    )


if __name__ == "__main__":
    main()
