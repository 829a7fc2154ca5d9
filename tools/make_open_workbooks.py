#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Writes the .xlsx and .ods workbooks that tests/core/test_openworkbooks.cpp opens.

    /usr/bin/python3 tools/make_open_workbooks.py     rewrites them in tests/fixtures/
    /usr/bin/python3 tools/make_open_workbooks.py --hand-made     only those written by hand

Run by hand; the files are committed, so the tests need neither this script nor LibreOffice.
It needs soffice (Debian: libreoffice-calc-nogui) for the two sound workbooks:

таблица.xlsx, таблица.ods
    One table written here as a flat OpenDocument file and saved by LibreOffice as .xlsx and
    as .ods, so both carry what LibreOffice computed for their formulas. A first sheet
    "Сводка", then "Лист1":
        heading row of ten titles
        М-95 | 0.85 | =B2*2 | "  текст как есть " | =1/0 | =TRUE() | 2024-03-15 (a date)
             | ="стр"&"ока" | =NA() | =FALSE()
        Короткая | 1
        (an empty row)
        После пустой | -2.5 | 1234.5678 | =B2+B3 | 2024-03-15 10:30:00 | 10:30:00

The damaged ones are made from таблица.xlsx with Python's zipfile:

обрезанный архив.xlsx
    Its first half: the archive's directory, at the end, is gone.
zip-бомба.xlsx
    The sheet "Лист1" (xl/worksheets/sheet2.xml) replaced by a deflate stream of 1 MB of rows
    (about a kilobyte on disk), whose directory entry and local header claim that it unpacks
    to 4 GiB - 2 bytes. liborcus 0.17 allocates what an entry claims before it inflates.
миллиард смехов.xlsx
    The sheet replaced by XML whose document type declares ten entities, each ten of the one
    before, and whose cell holds the last: a billion "lol"s were it expanded.
лист в 200 МБ.xlsx
    The sheet replaced by 200 MB of honest rows, each a cell holding 1, deflated to a few
    hundred kilobytes: larger unpacked than any reference table.

Written by hand into the archives of таблица.xlsx and таблица.ods, one record a case, the case
in column F2 (B) under its name in F1 (A); these need no LibreOffice (`--hand-made` writes
only them):

общие строки за концом.xlsx
    The sheet replaced by cells of type "s" whose indexes into the 15 shared strings of
    таблица.xlsx run up to and past the last: 14, 15, 16, a number of 23 digits, and text.
формулы без значений.xlsx, формулы без значений.ods
    The sheet (content.xml for .ods) replaced by formula cells saved without a value, with an
    empty or unreadable one, and, beside them, formulas with an empty text, a 0 or FALSE, and
    cells without a formula and without a value: FORMULAS_XLSX and FORMULAS_ODS below.
"""
import io
import shutil
import struct
import subprocess
import sys
import tempfile
import zipfile
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
FIXTURES = ROOT / "tests" / "fixtures"
SHEET_PART = "xl/worksheets/sheet2.xml"  # "Лист1", the second sheet

FLAT_ODS = """<?xml version="1.0" encoding="UTF-8"?>
<office:document xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0"
 xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0"
 xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0"
 xmlns:number="urn:oasis:names:tc:opendocument:xmlns:datastyle:1.0"
 xmlns:style="urn:oasis:names:tc:opendocument:xmlns:style:1.0"
 xmlns:of="urn:oasis:names:tc:opendocument:xmlns:of:1.2"
 office:version="1.2" office:mimetype="application/vnd.oasis.opendocument.spreadsheet">
 <office:automatic-styles>
  <number:date-style style:name="date"><number:year number:style="long"/><number:text>-</number:text>
   <number:month number:style="long"/><number:text>-</number:text><number:day number:style="long"/>
  </number:date-style>
  <number:date-style style:name="datetime"><number:year number:style="long"/><number:text>-</number:text>
   <number:month number:style="long"/><number:text>-</number:text><number:day number:style="long"/>
   <number:text> </number:text><number:hours number:style="long"/><number:text>:</number:text>
   <number:minutes number:style="long"/><number:text>:</number:text><number:seconds number:style="long"/>
  </number:date-style>
  <number:time-style style:name="time"><number:hours number:style="long"/><number:text>:</number:text>
   <number:minutes number:style="long"/><number:text>:</number:text><number:seconds number:style="long"/>
  </number:time-style>
  <style:style style:name="ceDate" style:family="table-cell" style:data-style-name="date"/>
  <style:style style:name="ceDateTime" style:family="table-cell" style:data-style-name="datetime"/>
  <style:style style:name="ceTime" style:family="table-cell" style:data-style-name="time"/>
 </office:automatic-styles>
 <office:body><office:spreadsheet>
  <table:table table:name="Сводка"><table:table-row>
   <table:table-cell office:value-type="string"><text:p>Не тот лист</text:p></table:table-cell>
  </table:table-row></table:table>
  <table:table table:name="Лист1">
   <table:table-row>{headings}</table:table-row>
   <table:table-row>
    {text_М95}
    <table:table-cell office:value-type="float" office:value="0.85"/>
    <table:table-cell table:formula="of:=[.B2]*2"/>
    <table:table-cell office:value-type="string"><text:p><text:s/> текст как есть </text:p></table:table-cell>
    <table:table-cell table:formula="of:=1/0"/>
    <table:table-cell table:formula="of:=TRUE()"/>
    <table:table-cell table:style-name="ceDate" office:value-type="date" office:date-value="2024-03-15"/>
    <table:table-cell table:formula="of:=&quot;стр&quot;&amp;&quot;ока&quot;"/>
    <table:table-cell table:formula="of:=NA()"/>
    <table:table-cell table:formula="of:=FALSE()"/>
   </table:table-row>
   <table:table-row>
    <table:table-cell office:value-type="string"><text:p>Короткая</text:p></table:table-cell>
    <table:table-cell office:value-type="float" office:value="1"/>
   </table:table-row>
   <table:table-row><table:table-cell/></table:table-row>
   <table:table-row>
    <table:table-cell office:value-type="string"><text:p>После пустой</text:p></table:table-cell>
    <table:table-cell office:value-type="float" office:value="-2.5"/>
    <table:table-cell office:value-type="float" office:value="1234.5678"/>
    <table:table-cell table:formula="of:=[.B2]+[.B3]"/>
    <table:table-cell table:style-name="ceDateTime" office:value-type="date" office:date-value="2024-03-15T10:30:00"/>
    <table:table-cell table:style-name="ceTime" office:value-type="time" office:time-value="PT10H30M00S"/>
   </table:table-row>
  </table:table>
 </office:spreadsheet></office:body></office:document>
"""

HEADINGS = ["Марка", "Число", "Формула", "Текст", "Деление на 0", "Истина", "Дата", "Строка",
            "Нет данных", "Ложь"]

BILLION_LAUGHS = """<?xml version="1.0" encoding="UTF-8"?>
<!DOCTYPE lolz [
 <!ENTITY lol "lol">
 <!ENTITY lol1 "&lol;&lol;&lol;&lol;&lol;&lol;&lol;&lol;&lol;&lol;">
 <!ENTITY lol2 "&lol1;&lol1;&lol1;&lol1;&lol1;&lol1;&lol1;&lol1;&lol1;&lol1;">
 <!ENTITY lol3 "&lol2;&lol2;&lol2;&lol2;&lol2;&lol2;&lol2;&lol2;&lol2;&lol2;">
 <!ENTITY lol4 "&lol3;&lol3;&lol3;&lol3;&lol3;&lol3;&lol3;&lol3;&lol3;&lol3;">
 <!ENTITY lol5 "&lol4;&lol4;&lol4;&lol4;&lol4;&lol4;&lol4;&lol4;&lol4;&lol4;">
 <!ENTITY lol6 "&lol5;&lol5;&lol5;&lol5;&lol5;&lol5;&lol5;&lol5;&lol5;&lol5;">
 <!ENTITY lol7 "&lol6;&lol6;&lol6;&lol6;&lol6;&lol6;&lol6;&lol6;&lol6;&lol6;">
 <!ENTITY lol8 "&lol7;&lol7;&lol7;&lol7;&lol7;&lol7;&lol7;&lol7;&lol7;&lol7;">
 <!ENTITY lol9 "&lol8;&lol8;&lol8;&lol8;&lol8;&lol8;&lol8;&lol8;&lol8;&lol8;">
]>
<worksheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main"><sheetData>
<row r="1"><c r="A1" t="inlineStr"><is><t>Марка</t></is></c></row>
<row r="2"><c r="A2" t="inlineStr"><is><t>&lol9;</t></is></c></row>
</sheetData></worksheet>
"""

SHEET_START = ('<?xml version="1.0" encoding="UTF-8"?>\n<worksheet xmlns='
               '"http://schemas.openxmlformats.org/spreadsheetml/2006/main"><sheetData>')
SHEET_END = "</sheetData></worksheet>"
ROW = '<row><c t="n"><v>1</v></c></row>'


# Records of общие строки за концом.xlsx: (name, the value of a cell of type "s").
SHARED_STRING_INDEXES = [
    ("последняя", "14"),
    ("равна числу строк", "15"),
    ("на одну дальше", "16"),
    ("23 цифры", "12345678901234567890123"),
    ("не число", "x"),
]
# Records of формулы без значений.xlsx: (name, the attributes and content of cell B).
FORMULAS_XLSX = [
    ("нет значения", '><f>B2*2</f></c>'),
    ("нет значения, текст", ' t="str"><f>"а"&amp;"б"</f></c>'),
    ("нет значения, логическое", ' t="b"><f>1&gt;0</f></c>'),
    ("пустое значение", ' t="n"><f>B2*2</f><v></v></c>'),
    ("нечитаемое значение", ' t="n"><f>B2*2</f><v>abc</v></c>'),
    ("нечитаемое логическое", ' t="b"><f>1&gt;0</f><v>abc</v></c>'),
    ("нечитаемая дата", ' t="d"><f>TODAY()</f><v>abc</v></c>'),
    ("ошибка без текста", ' t="e"><f>1/0</f><v></v></c>'),
    ("пустой текст", ' t="str"><f>""</f><v></v></c>'),
    ("ноль", ' t="n"><f>B2*0</f><v>0</v></c>'),
    ("ложь", ' t="b"><f>1&gt;2</f><v>0</v></c>'),
    ("не формула, пустое значение", ' t="n"><v></v></c>'),
    ("не формула, нет значения", ' t="n"/>'),
]
# Records of формулы без значений.ods: (name, the attributes of cell B's table-cell element).
FORMULAS_ODS = [
    ("нет значения", ' table:formula="of:=[.B2]*2"'),
    ("нет значения, число", ' table:formula="of:=[.B2]*2" office:value-type="float"'),
    ("нечитаемое число",
     ' table:formula="of:=[.B2]*2" office:value-type="float" office:value="abc"'),
    ("нет значения, логическое", ' table:formula="of:=1&gt;0" office:value-type="boolean"'),
    ("пустой текст",
     ' table:formula="of:=&quot;&quot;" office:value-type="string" office:string-value=""'),
    ("ноль", ' table:formula="of:=[.B2]*0" office:value-type="float" office:value="0"'),
    ("ложь",
     ' table:formula="of:=1&gt;2" office:value-type="boolean" office:boolean-value="false"'),
    ("не формула, нет значения", ' office:value-type="float"'),
]
CONTENT_START = (
    '<?xml version="1.0" encoding="UTF-8"?>\n<office:document-content'
    ' xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0"'
    ' xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0"'
    ' xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0" office:version="1.2">'
    '<office:body><office:spreadsheet><table:table table:name="Лист1">')
CONTENT_END = "</table:table></office:spreadsheet></office:body></office:document-content>"


def xlsx_sheet(cells):
    """A worksheet of a heading row and one record for each (name, rest of cell B's <c>)."""
    rows = ['<row r="1"><c r="A1" t="inlineStr"><is><t>Марка</t></is></c>'
            '<c r="B1" t="inlineStr"><is><t>F2</t></is></c></row>']
    for r, (name, rest) in enumerate(cells, start=2):
        rows.append(f'<row r="{r}"><c r="A{r}" t="inlineStr"><is><t>{name}</t></is></c>'
                    f'<c r="B{r}"{rest}</row>')
    return (SHEET_START + "".join(rows) + SHEET_END).encode()


def ods_content(cells):
    """content.xml of a sheet "Лист1" of a heading row and one record for each (name,
    attributes of cell B)."""
    rows = ["<table:table-row>" + text_cell("Марка") + text_cell("F2") + "</table:table-row>"]
    for name, attributes in cells:
        rows.append("<table:table-row>" + text_cell(name)
                    + f"<table:table-cell{attributes}/></table:table-row>")
    return (CONTENT_START + "".join(rows) + CONTENT_END).encode()


def write_hand_made():
    xlsx, ods = FIXTURES / "таблица.xlsx", FIXTURES / "таблица.ods"
    indexes = [(name, f' t="s"><v>{index}</v></c>') for name, index in SHARED_STRING_INDEXES]
    (FIXTURES / "общие строки за концом.xlsx").write_bytes(
        replaced(xlsx, SHEET_PART, xlsx_sheet(indexes)))
    (FIXTURES / "формулы без значений.xlsx").write_bytes(
        replaced(xlsx, SHEET_PART, xlsx_sheet(FORMULAS_XLSX)))
    (FIXTURES / "формулы без значений.ods").write_bytes(
        replaced(ods, "content.xml", ods_content(FORMULAS_ODS)))


def text_cell(text):
    return ('<table:table-cell office:value-type="string"><text:p>'
            f"{text}</text:p></table:table-cell>")


def save_with_libreoffice(work):
    flat = work / "таблица.fods"
    flat.write_text(FLAT_ODS.format(headings="".join(text_cell(h) for h in HEADINGS),
                                    text_М95=text_cell("М-95")), "utf-8")
    # A profile of its own, so that a LibreOffice already running elsewhere is not disturbed.
    profile = (work / "profile").as_uri()
    for kind in ("xlsx", "ods"):
        subprocess.run(["soffice", f"-env:UserInstallation={profile}", "--headless",
                        "--convert-to", kind, "--outdir", str(work), str(flat)],
                       check=True, stdout=subprocess.DEVNULL)
        shutil.copy(work / f"таблица.{kind}", FIXTURES / f"таблица.{kind}")


def replaced(source, part, data):
    """The bytes of the zip archive `source` with `part` holding `data` instead."""
    out = io.BytesIO()
    with zipfile.ZipFile(source) as old, zipfile.ZipFile(out, "w", zipfile.ZIP_DEFLATED) as new:
        for info in old.infolist():
            content = data if info.filename == part else old.read(info)
            new.writestr(info.filename, content, compress_type=zipfile.ZIP_DEFLATED,
                         compresslevel=9)
    return out.getvalue()


def claim_size(archive, part, size):
    """The archive with the unpacked size of `part` set to `size` in its directory entry and
    in its local header."""
    data = bytearray(archive)
    end = data.rfind(b"PK\x05\x06")
    at = struct.unpack_from("<I", data, end + 16)[0]
    while data[at:at + 4] == b"PK\x01\x02":
        name_length, extra_length, comment_length = struct.unpack_from("<HHH", data, at + 28)
        name = bytes(data[at + 46:at + 46 + name_length]).decode("utf-8")
        if name == part:
            struct.pack_into("<I", data, at + 24, size)
            header = struct.unpack_from("<I", data, at + 42)[0]
            struct.pack_into("<I", data, header + 22, size)
        at += 46 + name_length + extra_length + comment_length
    return bytes(data)


def write_damaged():
    sound = FIXTURES / "таблица.xlsx"
    whole = sound.read_bytes()
    (FIXTURES / "обрезанный архив.xlsx").write_bytes(whole[: len(whole) // 2])

    rows = (SHEET_START + ROW * (1_000_000 // len(ROW)) + SHEET_END).encode()
    bomb = claim_size(replaced(sound, SHEET_PART, rows), SHEET_PART, 0xFFFFFFFE)
    (FIXTURES / "zip-бомба.xlsx").write_bytes(bomb)

    (FIXTURES / "миллиард смехов.xlsx").write_bytes(
        replaced(sound, SHEET_PART, BILLION_LAUGHS.encode()))

    rows = (SHEET_START + ROW * (200_000_000 // len(ROW)) + SHEET_END).encode()
    (FIXTURES / "лист в 200 МБ.xlsx").write_bytes(replaced(sound, SHEET_PART, rows))


def main():
    if sys.argv[1:] != ["--hand-made"]:
        with tempfile.TemporaryDirectory() as work:
            save_with_libreoffice(Path(work))
        write_damaged()
    write_hand_made()


if __name__ == "__main__":
    main()
