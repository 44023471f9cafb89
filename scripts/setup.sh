#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, only when missing.
set -euo pipefail
packages=(cmake ninja-build g++ pkg-config qt6-base-dev libgtest-dev libgmock-dev
          libbenchmark-dev nlohmann-json3-dev libcli11-dev clang-format
          fonts-dejavu-core  # the Qt screens and their picture tests draw with DejaVu
          xvfb xauth         # the Qt tests once more on a real X display
          qt6-qpa-plugins    # Qt's X11 platform for those windows
          poppler-utils      # pdftotext reads the session report's PDF back in its tests
          dpkg-dev file)     # the Debian package: dpkg-shlibdeps finds its dependencies
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "setup: installing ${missing[*]}"
  sudo_cmd=()
  [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq "${missing[@]}"
fi
