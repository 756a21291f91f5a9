#!/usr/bin/env bash
# Builds Vestralon with AddressSanitizer and UndefinedBehaviorSanitizer and runs every test.
set -euo pipefail
cd "$(dirname "$0")"
bash scripts/deps.sh --test
# The sources keep the project's format (.clang-format); a difference fails before anything is built.
git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run --Werror
BUILD=build/test
cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVESTRAL_SANITIZE=ON -DVESTRAL_TESTS=ON
cmake --build "$BUILD" -j2
cd "$BUILD"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j2
