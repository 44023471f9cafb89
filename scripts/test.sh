#!/usr/bin/env bash
# Sets up, builds and runs every test (the default preset; pass "asan" for the sanitizer build):
# the whole suite with the Qt screens offscreen, the Qt tests and a whole window session once
# more on a real X display (Xvfb), and for the default preset the installation from the
# installed files and the Debian package.
set -euo pipefail
cd "$(dirname "$0")/.."
preset=${1:-default}
bash scripts/setup.sh
cmake --preset "$preset"
cmake --build --preset "$preset"
QT_QPA_PLATFORM=offscreen ctest --preset "$preset"
echo "== The Qt tests and a window session on an X display (Xvfb)"
runtime_dir=$(mktemp -d)  # Qt wants a private runtime folder of the session's
xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" \
  env XDG_RUNTIME_DIR="$runtime_dir" QT_QPA_PLATFORM=xcb CORVAN_QT_TEST_PLATFORM=xcb \
  ctest --preset "$preset" -L "qt|xcb"
rm -rf "$runtime_dir"
if [ "$preset" = default ]; then
  echo "== The installation and the package"
  bash scripts/check-install.sh "$preset"
fi
