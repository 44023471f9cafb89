#!/usr/bin/env bash
# Runs one fuzz target for a given time:  fuzz/run.sh TARGET SECONDS [libFuzzer options...]
#   fuzz/run.sh mbservice_fuzz 600
# Sets up and builds the fuzz preset when needed, fuzzes in a working corpus under
# build/fuzz/corpus/TARGET that starts from the committed seeds (fuzz/corpus/<name>, which
# stay as they are), and prints libFuzzer's final statistics. Inputs that crash are left in
# build/fuzz/artifacts/TARGET; the exit status is libFuzzer's (0: nothing found).
set -euo pipefail
if (($# < 2)); then
  echo "usage: $0 TARGET SECONDS [libFuzzer options...]" >&2
  exit 1
fi
target=$1
seconds=$2
shift 2
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash fuzz/setup.sh
bash scripts/setup.sh
[ -f build/fuzz/CMakeCache.txt ] || cmake --preset fuzz >/dev/null
cmake --build build/fuzz --target "$target" -- -j"$(nproc)"

name=${target%_fuzz}
seeds=fuzz/corpus/$name
work=build/fuzz/corpus/$target
artifacts=build/fuzz/artifacts/$target
mkdir -p "$work" "$artifacts"
dict=()
[ -f "fuzz/$name.dict" ] && dict=(-dict="fuzz/$name.dict")
exec "build/fuzz/fuzz/$target" -max_total_time="$seconds" -print_final_stats=1 \
  -artifact_prefix="$artifacts/" "${dict[@]}" "$@" "$work" "$seeds"
