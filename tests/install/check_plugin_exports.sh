#!/usr/bin/env bash
# Checks that every plug-in in a DLL folder exports exactly the entries it is built with:
# the engine looks up "dll" (or the reader's own entry) and nothing else may leak out of a
# library that is loaded and unloaded for every call.
#   check_plugin_exports.sh DLL_FOLDER EXPECTED   (EXPECTED: lines "file.so:entry[,entry]")
set -euo pipefail
folder=$1 expected=$2
status=0 count=0
shopt -s nullglob
for lib in "$folder"/*.so; do
  file=$(basename "$lib")
  want=$(grep -E "^${file//./\\.}:" "$expected" | head -1 | cut -d: -f2 | tr ',' '\n' | sort)
  if [ -z "$want" ]; then
    echo "$file: not a plug-in of this build"
    status=1
    continue
  fi
  have=$(nm -D --defined-only "$lib" | awk '{print $NF}' | sort)
  if [ "$have" != "$want" ]; then
    echo "$file exports:"; echo "$have" | sed 's/^/  /'
    echo "  expected: $(echo $want)"
    status=1
  fi
  count=$((count + 1))
done
if [ "$count" -eq 0 ]; then
  echo "no plug-in in $folder"
  exit 1
fi
[ "$status" -eq 0 ] && echo "$count plug-ins, each exporting its entries alone"
exit $status
