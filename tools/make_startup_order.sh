#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Writes src/program/startup-order.txt: the sections of the functions of Kelsa's own code that the
# window runs while it starts, in the form the linker's --section-ordering-file takes. It runs
# `kelsa --screenshot` of a built tree under callgrind (valgrind) and lists every function of the
# program that ran. Run it again after large changes to what the window does at start-up; a
# stale list costs resident memory, never correctness.
#   tools/make_startup_order.sh [BUILD_DIR]      (default build/)
set -eu
KELSA_ROOT=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$KELSA_ROOT/build}" && pwd)
out="$KELSA_ROOT/src/program/startup-order.txt"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

mkdir -m 700 "$work/runtime"
(cd "$build/share/kelsa" && QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR="$work/runtime" \
    valgrind --tool=callgrind --demangle=no --callgrind-out-file="$work/profile" \
    "$build/bin/kelsa" --screenshot "$work/shot.png" >/dev/null 2>&1)

python3 - "$work/profile" "$out" <<'PY'
import re, sys

# callgrind names each object and function once, as "(id) name", and by "(id)" after that.
objects, functions, current, ran = {}, {}, None, set()
for line in open(sys.argv[1], encoding="utf-8", errors="replace"):
    match = re.match(r"(c?ob|c?fn)=\((\d+)\)(?: (.*))?", line.rstrip("\n"))
    if not match:
        continue
    kind, key, name = match.groups()
    table = objects if kind.endswith("ob") else functions
    if name:
        table[key] = name
    if kind == "ob":
        current = objects.get(key, "")
    elif kind == "fn" and current.endswith("/bin/kelsa"):
        ran.add(functions[key])

sections = set()
for name in ran:
    if not name.startswith("_Z"):
        continue
    sections.add(".text." + name)
    # A constructor or destructor is reported by the name of its complete-object variant, which
    # shares the code (and the section) of its base-object variant.
    base = re.sub(r"C1E", "C2E", name, count=1)
    base = re.sub(r"D[01]Ev", "D2Ev", base, count=1)
    sections.add(".text." + base)

with open(sys.argv[2], "w", encoding="utf-8") as out:
    out.write("# Made by tools/make_startup_order.sh; see src/CMakeLists.txt.\n")
    # The static initializers of every file, which run before main().
    out.write(".text.startup*\n")
    for section in sorted(sections):
        out.write(section + "\n")
print(f"{len(ran)} functions ran; {len(sections)} sections listed in {sys.argv[2]}")
PY
