#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Renders the pictures of the calculation report kept in docs/: every page of the report of
# docs/опора 12.kelsa (docs/report-support12-page1.png …, the first page also as
# docs/report-page1.png for the README) and of the help page's worked example on the outer side
# of a curve with the transition support switched on (docs/report-help-page1.png …), with
# `pdftoppm -png -r 80`; and the first page of the PDF schedule of docs/schedule.csv
# (docs/schedule-page1.png), which the schedule window's test writes; and the main window with
# the sample workbooks (docs/main-window.png, the README's first picture). Run from the
# repository root after a build:
#   tools/make_report_pictures.sh [build/bin/kelsa]
set -eu
KELSA_ROOT=$(cd "$(dirname "$0")/.." && pwd)
kelsa=${1:-$KELSA_ROOT/build/bin/kelsa}
docs=$KELSA_ROOT/docs
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The help page's worked example: L = 50, loads of both conditions, Тн = 1500, Тк = 1000,
# Тпр = 800, R = 1000, a = 0,3, Vmax = 30, Lp = 40, every moment computed.
cat >"$work/help.kelsa" <<'EOF'
{
  "format": "kelsa-calculation",
  "version": 1,
  "decimalSeparator": ",",
  "fields": {
    "Prolet": "50", "txtVm": "30", "Text1": "1500", "Text2": "1000", "Text3": "800",
    "Text4": "1000", "Text5": "0,3", "txtLp": "40",
    "txtGp": "2", "txtGpr": "1", "txtGnv": "0,5", "txtPkv": "0,4", "txtPprv": "0,3",
    "txtSum1": "2", "txtSum2": "1", "txtSum3": "0,5", "txtSum4": "0,4", "txtSum5": "0,3",
    "txtD1": "1", "txtD2": "1", "txtD3": "1", "txtD4": "0", "txtD5": "0", "txtD6": "0",
    "txtD7": "1", "TxtD8": "1", "txtD9": "1",
    "txtF1": "1", "txtF2": "1", "txtF3": "1", "txtF4": "0", "txtF5": "0", "txtF6": "0",
    "txtF7": "1", "txtF8": "1", "txtF9": "1"
  },
  "options": ["Option1","Option19","Option21","Option5","Option17","Option8","Option24"],
  "records": {"Data1": 1, "Data2": 1, "Data3": 1, "Data4": 1, "Data5": 1, "Data6": 1,
    "Data7": 1, "Data8": 1, "Data9": 1, "Data10": 1},
  "sources": {},
  "results": {
    "Label1": {"text":"3450,134"}, "Label5": {"text":"3843,95"},
    "Label10": {"text":"581,184"}, "Label18": {"text":"-2206,484"},
    "Label26": {"text":"838,2537"}, "Label27": {"text":"320,8213"},
    "Label28": {"text":"903"}, "Label29": {"text":"-2738,3"},
    "Label30": {"text":"762,0825"}, "Label31": {"text":"186,9925"}
  },
  "title": {"author":"Иванов И. И.","object":"Контрольный пример справки","support":"1"}
}
EOF

render() { # FILE.kelsa NAME
    QT_QPA_PLATFORM=offscreen "$kelsa" --report "$1" "$work/$2.pdf"
    rm -f "$docs/report-$2-page"*.png
    pdftoppm -png -r 80 "$work/$2.pdf" "$work/$2"
    for page in "$work/$2"-*.png; do
        number=${page##*-}
        mv "$page" "$docs/report-$2-page$((10#${number%.png})).png"
    done
}
render "$docs/опора 12.kelsa" support12
render "$work/help.kelsa" help
cp "$docs/report-support12-page1.png" "$docs/report-page1.png"

# The sample schedule imported, edited and exported as a PDF by the schedule window's test.
QT_QPA_PLATFORM=offscreen KELSA_KEEP_OUTPUTS="$work" "$(dirname "$kelsa")/test_schedulewindow" \
    sampleScheduleThroughEveryFile >/dev/null
pdftoppm -png -r 80 -f 1 -l 1 -singlefile "$work/ведомость.pdf" "$docs/schedule-page1"
(cd "$KELSA_ROOT/data" && QT_QPA_PLATFORM=offscreen "$kelsa" --screenshot "$docs/main-window.png")
ls "$docs"/report-*.png "$docs/main-window.png"
