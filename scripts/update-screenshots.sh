#!/usr/bin/env bash
# Renders the README's pictures of the editor (docs/images/) with the project's own snapshot
# tool: the drum map of the user guide in the Carbon and the Luna skin. Run after a change of
# what the editor shows, look at the pictures, then commit them.
# Usage: scripts/update-screenshots.sh [BUILD_DIR]   (default: build/linux, the linux preset)
set -eu
cd "$(dirname "$0")/.."
build=${1:-build/linux}
if [ "$build" = build/linux ]; then
  cmake --preset linux >/dev/null
else
  cmake -S . -B "$build" -G Ninja >/dev/null
fi
cmake --build "$build" --target ostinel_editor_snapshot
tool="$build/tests/ostinel/ostinel_editor_snapshot"
[ -x "$tool" ] || tool="$build/docs/guide/ostinel_editor_snapshot"
mkdir -p docs/images
"$tool" --skin 0 --scene drums docs/images/editor-carbon.png
"$tool" --skin 3 --scene drums docs/images/editor-luna.png
