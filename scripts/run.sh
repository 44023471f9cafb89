#!/usr/bin/env bash
# Sets up, builds and runs the main job on the sample installation with the simulated box:
# the engine's report of the sample engine unit, then a headless session in which a
# technician script opens the identification and leaves it again.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake --preset default
cmake --build --preset default

build=build/default
root=$build/sample-root
out=$build/main-job
mkdir -p "$out"
# The command line the shell gives the engine for the sample engine unit.
selection="/EDC16_KWP.TXT /VOLKSWAGEN GOLF V ENGINE 1.9 TDI 105 CV /EXE"

echo
echo "== Report of the engine unit: $build/bin/eCor --report \"$selection\""
"$build/bin/eCor" --root "$root" --report --trace "$out/report.trace" "$selection" \
  >"$out/report.txt"
cat "$out/report.txt"
echo "-- the same records one per line:"
sed -e 's/\[/\n[/g' -e 's/@/\n  @/g' "$out/report.txt" | sed '/^$/d'

echo
echo "== Headless session: data/sample/scripts/identify_and_leave.txt"
"$build/bin/eCor" --root "$root" --headless \
  --technician data/sample/scripts/identify_and_leave.txt \
  --trace "$out/session.trace" --screens "$out/session.screens" "$selection" \
  >"$out/session.txt"
echo "function menu result: $(cat "$out/session.txt")"
echo "-- the identification as the technician saw it (from the screen dump):"
sed -n '/^dialog IDENTIFY destroyed/,/^end/p' "$out/session.screens"
echo "-- wire: $(grep -c ' TX ' "$out/session.trace") frames sent," \
  "$(grep -c ' RX ' "$out/session.trace") received, $(grep -c ' RX! ' "$out/session.trace" || true) bad;" \
  "the last ones (closing request to the ECU, box reset):"
tail -n 4 "$out/session.trace"
echo
echo "Files: $out/report.txt $out/report.trace $out/session.screens $out/session.trace"
