#!/usr/bin/env bash
# Rewrites the committed golden images (tests/golden/*.png) from the current build after an
# intended change of what the editor shows. Look at the pictures before committing them.
set -eu
cd "$(dirname "$0")/.."
cmake --preset linux-dev >/dev/null
cmake --build --preset linux-dev --target ostinel_golden_tests
OSTINEL_UPDATE_GOLDEN=1 build/linux-dev/tests/golden/ostinel_golden_tests
git status --short tests/golden
