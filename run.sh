#!/usr/bin/env bash
# Builds Vestralon in Release, installs it with its default files into dist/ and starts it.
# A user's settings, backup copy, tables and error log already in dist/ are never overwritten.
set -euo pipefail
cd "$(dirname "$0")"
bash scripts/deps.sh
BUILD=build/release
cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVESTRAL_TESTS=OFF
cmake --build "$BUILD" -j2
bash scripts/install.sh "$BUILD" dist
cd dist
exec ./vestralon "$@"
