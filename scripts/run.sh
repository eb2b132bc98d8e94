#!/usr/bin/env bash
# The main job: builds the plug-in and the `ostinel` tool, then maps the example drum groove
# through the freshly built plug-in binary (exactly as a DAW would run it) and prints the
# summary and a before/after table of the first notes. Installs what is missing first. The
# `linux` preset builds no tests and no benchmarks, so neither GoogleTest nor Google Benchmark is
# needed here (scripts/test.sh uses the `linux-dev` preset for those).
set -eu
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh run
cmake --preset linux >/dev/null
cmake --build --preset linux --target Ostinel ostinel
out=${1:-build/linux/drum-groove-8-pads.mid}
build/linux/tools/ostinel/ostinel info
echo
build/linux/tools/ostinel/ostinel map examples/drum-groove.mid "$out" \
    --preset examples/gm-to-8-pads.quorvatp --table 12
echo
echo "Mapped file: $out"
