#!/usr/bin/env bash
# Checks the rendered user guide: a PDF of a sensible length whose text holds the chapters and
# the captions the editor shows, with the editor's pictures in it. Needs poppler-utils.
# Usage: check-guide.sh "Ostinel User Guide.pdf"
set -u
pdf=${1:?usage: check-guide.sh GUIDE.pdf}
failures=0
fail() { echo "check-guide: $*"; failures=$((failures + 1)); }

[ -s "$pdf" ] || { echo "check-guide: no guide at $pdf"; exit 1; }
for tool in pdfinfo pdftotext pdfimages; do
    command -v "$tool" >/dev/null || { echo "check-guide: $tool missing (poppler-utils)"; exit 1; }
done

pages=$(pdfinfo "$pdf" | awk '/^Pages:/ { print $2 }')
if [ -z "$pages" ] || [ "$pages" -lt 12 ] || [ "$pages" -gt 45 ]; then
    fail "expected 12 to 45 pages, found ${pages:-none}"
fi

# Words broken across lines by the layout come back joined with a space: compare on one line.
text=$(pdftotext -layout "$pdf" - | tr -s ' \n' '  ')
while IFS= read -r phrase; do
    [ -n "$phrase" ] || continue
    case "$text" in
    *"$phrase"*) ;;
    *) fail "text lacks \"$phrase\"" ;;
    esac
done <<'PHRASES'
Ostinel User Guide
Contents
Welcome to Ostinel
Installing
~/.lxvst
Ostinel User Guide.pdf
First steps
The editor
The channel header
Menus
The main menu
Init
Load Preset
Save Preset
Lowest Octave
Skin
Open User Guide
About
Cell menus
Set All
Learn
Clear All
Default All
Load Scale
The channel menu
Input Templates
Copy
Paste
Presets
"init" preset
Overwrite existing preset?
Scales
Scales.txt
Major;0,2,4,5,7,9,11
Input templates
Input.txt
Audio Damage Tattoo;36,51;44,47,48,50
Carbon
Smokey
The command-line tool
ostinel map
ostinel dump
ostinel build
ostinel info
ostinel edit
Ctrl+S
PHRASES

# Every picture of the editor is 950 x 600; at least the ones the chapters show must be in.
pictures=$(pdfimages -list "$pdf" | awk '$3 == "image" && $4 == 950 && $5 == 600' | wc -l)
if [ "$pictures" -lt 11 ]; then
    fail "expected at least 11 pictures of the editor, found $pictures"
fi

if [ "$failures" -gt 0 ]; then
    echo "check-guide: $failures problem(s) in $pdf"
    exit 1
fi
echo "check-guide: $pdf has $pages pages and $pictures pictures of the editor"
