#!/usr/bin/env bash
# Installs what building, running and testing Clarivo needs (Debian packages). Safe to run again:
# it only calls apt when something is missing.
set -euo pipefail

packages=(
  cmake ninja-build git
  mingw-w64 g++-mingw-w64-x86-64-posix
  googletest clang libclang-rt-14-dev
  wine wine64 fonts-wine
  xvfb xauth xdotool imagemagick
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "setup: installing ${missing[*]}"
  SUDO=""; [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
