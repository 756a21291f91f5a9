#!/usr/bin/env bash
# Installs what building, testing and running Vestralon needs on Debian 12, only when missing.
set -euo pipefail

BUILD_PKGS=(g++ cmake ninja-build qt6-base-dev libgtest-dev libgmock-dev libbenchmark-dev)
RUN_PKGS=(qt6-translations-l10n fonts-liberation fonts-dejavu-core xdg-utils libqt6printsupport6)
TEST_PKGS=(clang-format git python3 python3-dbfread xvfb xauth poppler-utils desktop-file-utils appstream imagemagick xdotool)

want=("${BUILD_PKGS[@]}" "${RUN_PKGS[@]}")
if [ "${1:-}" = "--test" ]; then want+=("${TEST_PKGS[@]}"); fi

missing=()
for p in "${want[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installiere: ${missing[*]}"
  SUDO=""
  if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update
  $SUDO apt-get install -y "${missing[@]}"
fi
