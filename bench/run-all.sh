#!/usr/bin/env bash
# Builds the default preset and runs every benchmark program, one after the other, on the
# sample installation (docs/performance.md says what each figure means). The line benchmarks
# run on the real clock: a 64 KiB driver download alone takes 71 s. Exit status 3 when a
# figure missed its limit. Run it on a quiet machine: processor-time figures grow with load.
#   bench/run-all.sh            all programs
#   bench/run-all.sh line_bound only bench/bench_line_bound (any program name)
set -uo pipefail
cd "$(dirname "$0")/.."
cmake --preset default >/dev/null && cmake --build --preset default >/dev/null || exit 1
out=build/default/bench
programs=("$@")
((${#programs[@]})) || programs=(line_bound qt_pumping memory shell_menu_pages shell_program runtime_receive_frame
  sim livedata diag_session)
status=0
for p in "${programs[@]}"; do
  echo "== bench_$p"
  "$out/bench_$p" || status=$?
  echo
done
exit "$status"
