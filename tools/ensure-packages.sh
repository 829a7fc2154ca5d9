# SPDX-License-Identifier: GPL-3.0-or-later
# Sourced by ./run and ./test: installs the Debian packages Kelsa needs when any is missing.
# As root it runs apt-get; otherwise it prints the exact command and stops.

kelsa_ensure_packages() {
    local missing=() pkg
    for pkg in "$@"; do
        dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' \
            || missing+=("$pkg")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    local cmd="apt-get install -y --no-install-recommends ${missing[*]}"
    if [ "$(id -u)" -ne 0 ]; then
        echo "Kelsa needs these Debian packages: ${missing[*]}" >&2
        echo "Install them with:  sudo apt-get update && sudo $cmd" >&2
        exit 1
    fi
    echo "Installing ${missing[*]} ..."
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq && $cmd -qq || { echo "apt-get failed" >&2; exit 1; }
}

# What building and running Kelsa needs on Debian 12, the font of its windows included:
# FreeXL reads .xls workbooks, liborcus .xlsx and .ods; qt6-translations-l10n holds Qt's Russian
# texts (dialogs, standard buttons, context menus); the report's tests render and read its PDF
# with poppler's pdftoppm and pdftotext; libxlsxwriter writes .xlsx schedules, whose sheets the
# tests look into with unzip.
KELSA_BUILD_PACKAGES=(build-essential cmake pkg-config qt6-base-dev libfreexl-dev liborcus-dev
    libxlsxwriter-dev fonts-liberation2 qt6-translations-l10n poppler-utils unzip)

# What the benchmarks that compare with LibreOffice need besides (bench_workbook_load,
# bench_batch_libreoffice; without it they skip that part). Install it with
#   . tools/ensure-packages.sh && kelsa_ensure_packages "${KELSA_BENCH_PACKAGES[@]}"
KELSA_BENCH_PACKAGES=(libreoffice-calc-nogui)

kelsa_build() {
    local dir=$1; shift
    if [ ! -f "$dir/CMakeCache.txt" ]; then
        cmake -S "$KELSA_ROOT" -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null || exit 1
    fi
    cmake --build "$dir" --parallel "$(nproc)" -- --no-print-directory >/dev/null 2>"$dir/build-errors.log" \
        || { cat "$dir/build-errors.log" >&2; echo "build failed" >&2; exit 1; }
    # Compiler warnings in our code are faults too: show them.
    grep -E 'warning:' "$dir/build-errors.log" >&2 || true
}
