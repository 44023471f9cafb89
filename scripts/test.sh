#!/usr/bin/env bash
# Sets up, builds and runs every test. Without an argument (what CI runs), three stages:
#   default  the whole suite with the Qt screens offscreen, the Qt tests and a whole window
#            session once more on a real X display (Xvfb), the installation from the
#            installed files and the Debian package;
#   asan     the whole suite again built with AddressSanitizer and UndefinedBehaviorSanitizer;
#   fuzz     a few seconds of every fuzz target on its seed corpus (fuzz/README.md).
# One stage alone: scripts/test.sh default | asan | fuzz.
# CI has a fixed time (CORVAN_CI_MINUTES, 90 by default, on two cores): a later stage that
# would not end within it is left out with a note, never silently. On this project's CI
# machine the default stage takes about 25 minutes, the sanitizer stage about 30 and the
# fuzz stage about 10 (see docs/reliability.md).
set -euo pipefail
cd "$(dirname "$0")/.."
started=$SECONDS
budget=$((${CORVAN_CI_MINUTES:-90} * 60))

run_default() {
  bash scripts/setup.sh
  cmake --preset default
  cmake --build --preset default
  QT_QPA_PLATFORM=offscreen ctest --preset default
  echo "== The Qt tests and a window session on an X display (Xvfb)"
  local runtime_dir
  runtime_dir=$(mktemp -d)  # Qt wants a private runtime folder of the session's
  xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" \
    env XDG_RUNTIME_DIR="$runtime_dir" QT_QPA_PLATFORM=xcb CORVAN_QT_TEST_PLATFORM=xcb \
    ctest --preset default -L "qt|xcb"
  rm -rf "$runtime_dir"
  echo "== The installation and the package"
  bash scripts/check-install.sh default
}

run_asan() {
  bash scripts/setup.sh
  cmake --preset asan
  cmake --build --preset asan
  # The X display pass stays with the default build: the X libraries' own allocations
  # would be reported as the sanitizer's leaks.
  QT_QPA_PLATFORM=offscreen ctest --preset asan
}

run_fuzz() {
  bash fuzz/run-all.sh "${CORVAN_FUZZ_SECONDS:-5}"
}

# Runs stage $1 when about $2 minutes are left of the budget, else says why it does not.
stage() {
  local name=$1 needs=$(($2 * 60)) left=$((budget - (SECONDS - started)))
  if ((left < needs)); then
    echo "== Stage '$name' left out: about $2 minutes needed, $((left / 60)) left of the CI time"
    return 0
  fi
  local t0=$SECONDS
  echo "== Stage '$name'"
  "run_$name"
  echo "== Stage '$name' passed in $(((SECONDS - t0) / 60)) min $(((SECONDS - t0) % 60)) s"
}

case "${1:-all}" in
  default | asan | fuzz) "run_$1" ;;
  all)
    run_default
    echo "== Stage 'default' passed in $((SECONDS / 60)) min"
    stage asan 40
    stage fuzz 12
    ;;
  *)
    echo "usage: $0 [default|asan|fuzz]" >&2
    exit 1
    ;;
esac
