#!/usr/bin/env bash
# Sets up, builds and runs every test (the default preset; pass "asan" for the sanitizer build).
set -euo pipefail
cd "$(dirname "$0")/.."
preset=${1:-default}
bash scripts/setup.sh
cmake --preset "$preset"
cmake --build --preset "$preset"
export QT_QPA_PLATFORM=offscreen
ctest --preset "$preset"
