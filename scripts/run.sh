#!/usr/bin/env bash
# Sets up, builds and runs the main job on the sample installation with the simulated box.
# With a display: the start-up loader opens the shell's window; the technician picks brand,
# model, system and variant and the engine's window runs against the simulated box in real
# time. Without one (or with CORVAN_HEADLESS=1): the engine's report of the sample engine
# unit, a headless engine session that opens the identification and leaves it, and a
# headless shell session that picks the variant, starts the engine and comes back.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake --preset default
cmake --build --preset default

build=build/default
if [ -z "${CORVAN_HEADLESS:-}" ] && { [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; }; then
  echo "== The terminal: $build/bin/launcher (sample installation, simulated box)"
  exec "$build/bin/launcher" --root "$build/sample-root"
fi
echo
echo "No display found: running the headless sessions instead of the windows."
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
echo "== Headless shell: data/sample/scripts/shell_pick_engine.txt (the engine runs identify_and_leave.txt)"
"$build/bin/eCorvanData" --root "$root" --headless \
  --technician data/sample/scripts/shell_pick_engine.txt --screens "$out/shell.screens" \
  --engine-options "--headless --technician data/sample/scripts/identify_and_leave.txt --screens $out/shell-engine.screens --trace $out/shell-engine.trace" \
  >"$out/shell-engine.txt"
echo "-- the shell's screens, in the order they closed: $(grep -E '^dialog [A-Z]+ destroyed' "$out/shell.screens" | cut -d' ' -f2 | tr '\n' ' ')"
echo "-- the engine it started: $(grep -m1 -o 'title "OPTIONS MENU: [^"]*"' "$out/shell-engine.screens" || true)," \
  "result $(cut -c1-60 "$out/shell-engine.txt")..."
echo "-- back on the variant page after the engine ended:"
awk '/^dialog VARIANTES script/{p=1} p{print} /^end/{if(p)exit}' "$out/shell.screens"
echo
echo "Files: $out/shell.screens $out/shell-engine.screens $out/shell-engine.trace $out/report.txt $out/report.trace $out/session.screens $out/session.trace"
