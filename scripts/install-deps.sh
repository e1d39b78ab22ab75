#!/usr/bin/env bash
# Installs what building and testing Tavrel needs on Debian, only where something is missing.
set -euo pipefail
# libzstd-dev and zlib1g-dev read compressed game files; zstd (with pzstd), gzip and zip make the
# compressed copies the tests read. desktop-file-utils and xdg-utils check the desktop entry and
# "Open with" after installing.
packages=(cmake g++ make pkg-config libgtest-dev libbenchmark-dev qt6-base-dev stockfish xvfb xauth clang libclang-rt-dev
          libzstd-dev zlib1g-dev zstd gzip zip desktop-file-utils xdg-utils)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo_cmd=""
  [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
  echo "Installing: ${missing[*]}"
  $sudo_cmd apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq "${missing[@]}" >/dev/null
fi
