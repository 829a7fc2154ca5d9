#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Writes the seed corpora of the fuzz targets into fuzzers/corpus/ (run by hand).

    python3 fuzzers/make_corpus.py [target ...]     all targets when none is named

workbook:   the sample workbooks, the test fixtures (but those that crash FreeXL, which are
            tests of their own), and small malformed workbooks: truncated, bit-flipped, spoilt
            record lengths, an empty file.
openworkbook: each input starts with a byte that says what follows (fuzz_openworkbook.cpp):
            the .xlsx and .ods fixtures whole (0, 1); the sheet, shared strings and styles of
            таблица.xlsx and of the billion-laughs workbook, NUL-separated (2); the content.xml
            of таблица.ods (3); and a few cut and bit-flipped copies.
expression: the expressions of tests/core/test_expressionevaluator.cpp and a few more.
number:     numbers with both decimal separators, exponents, grouping, signs and junk.
"""

import hashlib
import random
import re
import shutil
import sys
import zipfile
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
CORPUS = ROOT / "fuzzers" / "corpus"
# Fixtures that bring FreeXL down: each is a test of its own, and as a seed it would only end
# fuzzing jobs.
CRASH_FREEXL = {
    "роняет freexl.xls",
    "строка за концом записи.xls",
    "второй размер листа.xls",
    "испорченные строки.xls",
    "зацикливает freexl.xls",
}


def write(folder, name, data):
    if isinstance(data, str):
        data = data.encode("utf-8")
    (folder / name).write_bytes(data)


def fresh(name):
    folder = CORPUS / name
    shutil.rmtree(folder, ignore_errors=True)
    folder.mkdir(parents=True)
    return folder


def workbooks():
    folder = fresh("workbook")
    for path in sorted((ROOT / "data").glob("*.xls")):
        shutil.copy(path, folder / f"sample {path.name}")
    for path in sorted((ROOT / "tests" / "fixtures").glob("*.xls")):
        if path.name not in CRASH_FREEXL:
            shutil.copy(path, folder / f"fixture {path.name}")

    # Malformed copies of the smallest sample, a name and one number a row.
    whole = (ROOT / "data" / "т12.1.xls").read_bytes()
    random.seed(20240611)
    for keep in (0, 8, 512, 1000, 1536, 2048, 3000, 4096, 5000):
        write(folder, f"cut to {keep}", whole[:keep])
    for n in range(12):
        spoilt = bytearray(whole)
        for _ in range(1 + n % 4):
            at = random.randrange(len(spoilt))
            spoilt[at] ^= 1 << random.randrange(8)
        write(folder, f"bits flipped {n}", bytes(spoilt))
    # The workbook stream starts at the sector after the header in these files: spoil the
    # length of some of its BIFF records (2-byte type, 2-byte length, data).
    at = 0x200
    for index in range(40):
        length = int.from_bytes(whole[at + 2 : at + 4], "little")
        if index in (0, 1, 5, 12, 25, 39):
            for claim in (0, length + 3, 0x7fff):
                spoilt = bytearray(whole)
                spoilt[at + 2 : at + 4] = claim.to_bytes(2, "little")
                write(folder, f"record {index} claims {claim} bytes", bytes(spoilt))
        at += 4 + length


def open_workbooks():
    folder = fresh("openworkbook")
    fixtures = ROOT / "tests" / "fixtures"
    for path in sorted(fixtures.glob("*.xlsx")) + sorted(fixtures.glob("*.ods")):
        if path.stat().st_size > 65536:
            continue  # beyond the target's -max_len
        mode = b"\x01" if path.suffix == ".ods" else b"\x00"
        write(folder, f"file {path.name}", mode + path.read_bytes())
    for name in ("таблица.xlsx", "миллиард смехов.xlsx"):
        with zipfile.ZipFile(fixtures / name) as book:
            parts = [book.read(part) for part in
                     ("xl/worksheets/sheet2.xml", "xl/sharedStrings.xml", "xl/styles.xml")]
        write(folder, f"parts of {name}", b"\x02" + b"\x00".join(parts))
    with zipfile.ZipFile(fixtures / "таблица.ods") as book:
        content = book.read("content.xml")
    write(folder, "content of таблица.ods", b"\x03" + content)

    whole = (fixtures / "таблица.xlsx").read_bytes()
    random.seed(20261207)
    for keep in (0, 4, 22, 100, 1000, len(whole) - 22, len(whole) - 1):
        write(folder, f"xlsx cut to {keep}", b"\x00" + whole[:keep])
    for n in range(6):
        spoilt = bytearray(whole)
        at = random.randrange(len(spoilt))
        spoilt[at] ^= 1 << random.randrange(8)
        write(folder, f"xlsx bit flipped {n}", b"\x00" + bytes(spoilt))


def expressions():
    folder = fresh("expression")
    source = (ROOT / "tests" / "core" / "test_expressionevaluator.cpp").read_text("utf-8")
    found = re.findall(r'newRow\("[^"]*"\)\s*<<\s*(?:(?:en|ru)\s*<<\s*)?"((?:[^"\\]|\\.)*)"', source)
    texts = {text.encode("utf-8").decode("unicode_escape") for text in found}
    texts |= {
        "2*sin(pi/6)+3",
        "((((((7))))))",
        "-(-(-(1)))",
        "atn(atn(atn 1))",
        "1e308*10",
        "2147483647%-1",
        "2^0,5",
        "0,1+0,2",
        "log exp 1",
        "1 2 3 4 5",
        "3.5e-2*2",
        "sin" * 20 + "1",
        "(" * 3000 + "7",
        "(" * 3001 + "7",
        "1+(" * 300 + "1",
    }
    for text in sorted(texts):
        name = hashlib.sha1(text.encode("utf-8")).hexdigest()[:12]
        write(folder, name, text)


def numbers():
    folder = fresh("number")
    texts = [
        "17,5", "17.5", "-3,25", "+3,25", " 3 ", "0", "-0", "0,0", ".5", ",5", "5.", "5,",
        "2e3", "2E3", "2,5E-3", "2.5e-3", "1e+308", "1,7976931348623157E+308",
        "1.7976931348623157e308", "2,2250738585072014E-308", "4,9E-324", "1e-400", "1e400",
        "1 000", "1\u00a0000", "1\u202f000", "1,000", "1.000,5", "1,000.5", "12345678901234567890",
        "0,1234567890123456789", "inf", "-inf", "nan", "NaN", "Infinity", "1e", "e5", "--1", "+-1",
        "1,5,2", "1.5.2", "0x1A", "١٢٣", "１２", "abc", "", " ", "\t7\n", "7\x00", "1e0001",
        "000000,5", "9" * 400, "0," + "1" * 400,
    ]
    for text in texts:
        name = hashlib.sha1(text.encode("utf-8")).hexdigest()[:12]
        write(folder, name, text)


TARGETS = {"workbook": workbooks, "openworkbook": open_workbooks, "expression": expressions,
           "number": numbers}

if __name__ == "__main__":
    for target in sys.argv[1:] or TARGETS:
        TARGETS[target]()
