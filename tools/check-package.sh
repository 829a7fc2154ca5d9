#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package in build-package/ (RelWithDebInfo, without tests and benchmarks) and
# checks it: lintian must report no error, and the packaged program must carry no debug
# information. Prints lintian's report, the size of the packaged program and the dependencies.
# Exits non-zero when either check fails. As root it installs lintian and the other tools it
# needs with apt-get; otherwise it prints the command.
#   tools/check-package.sh
set -eu
KELSA_ROOT=$(cd "$(dirname "$0")/.." && pwd)
. "$KELSA_ROOT/tools/ensure-packages.sh"
# file and dpkg-shlibdeps (dpkg-dev, in build-essential) let CPack read the dependencies off
# the program; readelf comes with binutils.
kelsa_ensure_packages "${KELSA_BUILD_PACKAGES[@]}" file binutils lintian

dir="$KELSA_ROOT/build-package"
mkdir -p "$dir"
cmake -S "$KELSA_ROOT" -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DKELSA_BUILD_TESTS=OFF -DKELSA_BUILD_BENCHMARKS=OFF >/dev/null || exit 1
cmake --build "$dir" --parallel "$(nproc)" -- --no-print-directory >/dev/null 2>"$dir/build-errors.log" \
    || { cat "$dir/build-errors.log" >&2; echo "build failed" >&2; exit 1; }

# A package left from an earlier run must not be the one checked.
rm -f "$dir"/*.deb "$dir"/*.ddeb
(cd "$dir" && cpack -G DEB >"$dir/cpack.log" 2>&1) \
    || { cat "$dir/cpack.log" >&2; echo "cpack failed" >&2; exit 1; }
debs=("$dir"/kelsa_*.deb)
if [ ${#debs[@]} -ne 1 ] || [ ! -f "${debs[0]}" ]; then
    echo "expected one kelsa_*.deb in $dir, found: ${debs[*]}" >&2
    exit 1
fi
deb=${debs[0]}
echo "package: $deb"
echo "Depends: $(dpkg-deb -f "$deb" Depends)"

failed=0

# The programs as they are in the package: stripped, with no .debug_* section left, and naming
# no folder of the build tree (an installed Kelsa looks only in its own folders). The window's
# program starts the workbook reader from libexec/kelsa/: without it no table is read; it loads
# the print preview from lib/kelsa/modules/ (or lib/<triplet>/...): without it no report is
# previewed.
unpacked=$(mktemp -d)
trap 'rm -rf "$unpacked"' EXIT
dpkg-deb -x "$deb" "$unpacked"
preview=$(cd "$unpacked" && find usr/lib -path '*/kelsa/modules/kelsa-print-preview.so' | head -n 1)
if [ -z "$preview" ]; then
    echo "FAIL: the package holds no print preview library kelsa-print-preview.so" >&2
    exit 1
fi
for name in usr/bin/kelsa usr/libexec/kelsa/kelsa-sheet-reader "$preview"; do
    program="$unpacked/$name"
    if [ ! -f "$program" ] || { [ ! -x "$program" ] && [ "$name" != "$preview" ]; }; then
        echo "FAIL: the package holds no program $name" >&2
        exit 1
    fi
    echo "$name: $(stat -c %s "$program") bytes"
    debug_sections=$(LC_ALL=C readelf -S --wide "$program" | grep -o '\.debug_[a-z_]*' | sort -u | tr '\n' ' ' || true)
    if [ -n "$debug_sections" ]; then
        echo "FAIL: $name carries debug information: $debug_sections" >&2
        failed=1
    fi
    if strings "$program" | grep -F -q "$KELSA_ROOT"; then
        echo "FAIL: $name names a folder of the build tree:" >&2
        strings "$program" | grep -F "$KELSA_ROOT" | head -n 3 >&2
        failed=1
    fi
done

# lintian fails on an error of its own accord; its report is also read for one, in case a
# version of it does not.
echo "lintian:"
lintian_rc=0
lintian --fail-on error "$deb" >"$unpacked/lintian.txt" 2>&1 || lintian_rc=$?
grep -v '^running with root privileges is not recommended!$' "$unpacked/lintian.txt" \
    || echo "  (no tags)"
if [ $lintian_rc -ne 0 ] || grep -q '^E: ' "$unpacked/lintian.txt"; then
    echo "FAIL: lintian reports errors (exit status $lintian_rc)" >&2
    failed=1
fi

if [ $failed -eq 0 ]; then
    echo "package check passed"
fi
exit $failed
