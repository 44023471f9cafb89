#!/usr/bin/env bash
# The terminal as a workshop installs it, checked from the installed files alone:
#  1. `cmake --install` into a temporary prefix; the build tree is moved out of the way and
#     the engine's report runs on the installed sample device root with the simulated box;
#  2. the Debian package (cpack -G DEB) installed with apt-get, and its report run the same.
# Usage: check-install.sh [preset]   (the build folder build/<preset> must be built)
set -euo pipefail
cd "$(dirname "$0")/.."
build=build/${1:-default}
selection="/EDC16_KWP.TXT /VOLKSWAGEN GOLF V ENGINE 1.9 TDI 105 CV /EXE"
sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)

check_report() {  # PROGRAM: the installed eCor
  local out
  out=$(env -u CORVAN_ROOT HOME="$(mktemp -d)" "$1" --report "$selection")
  case "$out" in
    "[SYS]="*"[IDN]"*"90C906021AB"*) echo "report from $1: ok (${#out} characters)" ;;
    *) echo "report from $1 is not the sample unit's: $out" >&2; return 1 ;;
  esac
}

prefix=$(mktemp -d)
cmake --install "$build" --prefix "$prefix" >/dev/null
mv "$build" "$build.moved"
trap 'mv "'"$build"'.moved" "'"$build"'"' EXIT
check_report "$prefix/bin/eCor"
# The device tools start through the device root's EXE folder, as the shell starts them.
for tool in TEST_KELM_ZUL.EXE DEVCONFIG.EXE; do
  "$prefix/share/corvan/root/STORAGE CARD/CORVANDATA/EXE/$tool" --help >/dev/null
  echo "device tool $tool: ok"
done
# Every program runs from the prefix without the build tree: RUNPATH relative to $ORIGIN.
for p in "$prefix"/lib/corvan/*; do
  [ -x "$p" ] && [ ! -d "$p" ] || continue
  if ldd "$p" | grep -q "not found"; then echo "$p: a library is not found" >&2; exit 1; fi
done
mv "$build.moved" "$build"
trap - EXIT
rm -rf "$prefix"

(cd "$build" && rm -f corvan_*.deb && cpack -G DEB >/dev/null)
deb=$(ls "$build"/corvan_*.deb)
echo "package: $deb ($(du -h "$deb" | cut -f1))"
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq "./$deb" >/dev/null
check_report /usr/bin/eCor
test -f /usr/share/applications/corvan.desktop
test -x /usr/bin/corvan-launcher
echo "installed: $(dpkg-query -W -f='${Package} ${Version}' corvan)"
