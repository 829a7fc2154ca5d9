#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Writes the seed corpora of the fuzz targets into fuzzers/corpus/ (run by hand).

workbook:   the sample workbooks, the test fixtures (but those that crash FreeXL, which are
            tests of their own), and small malformed workbooks: truncated, bit-flipped, spoilt
            record lengths, an empty file.
expression: the expressions of tests/core/test_expressionevaluator.cpp and a few more.
number:     numbers with both decimal separators, exponents, grouping, signs and junk.
"""

import hashlib
import random
import re
import shutil
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


if __name__ == "__main__":
    workbooks()
    expressions()
    numbers()
