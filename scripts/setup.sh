#!/usr/bin/env bash
# Installs what a fresh Debian machine lacks for building, testing, packaging and running.
set -euo pipefail
packages=(cmake g++ make qt6-base-dev qt6-serialport-dev libgtest-dev libgmock-dev xvfb xauth
  dpkg-dev file libxcb1-dev lintian man-db)
missing=()
for p in "${packages[@]}"; do
  dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "installing: ${missing[*]}"
  sudo_cmd=()
  [ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq "${missing[@]}"
fi
