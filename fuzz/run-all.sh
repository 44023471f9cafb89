#!/usr/bin/env bash
# Runs every fuzz target for the same time and prints how many inputs each ran:
#   fuzz/run-all.sh SECONDS [libFuzzer options...]
# Each target runs through fuzz/run.sh (its seeds, dictionary and artifacts folder); the exit
# status is non-zero when any target found something.
set -uo pipefail
if (($# < 1)); then
  echo "usage: $0 SECONDS [libFuzzer options...]" >&2
  exit 1
fi
seconds=$1
shift
cd "$(dirname "$0")/.."
targets=(frame_receiver_fuzz param_text_fuzz livedata_fuzz vag_formulas_fuzz kwpfaults_fuzz
         dtcbase_fuzz scenario_fuzz registry_fuzz technician_script_fuzz menu_files_fuzz
         identification_fuzz mbservice_fuzz)
status=0
mkdir -p build/fuzz/logs
for t in "${targets[@]}"; do
  log=build/fuzz/logs/$t.log
  if bash fuzz/run.sh "$t" "$seconds" "$@" >"$log" 2>&1; then result=ok; else result=FOUND; status=1; fi
  runs=$(grep -o 'stat::number_of_executed_units: [0-9]*' "$log" | awk '{print $2}')
  printf '%-24s %-6s %12s inputs  (%s)\n' "$t" "$result" "${runs:-?}" "$log"
done
exit $status
