#!/usr/bin/env bash
# Copies the program and its default files into a program directory without touching the user's
# own files there (settings, backup copy, tables, error log).
set -euo pipefail
BUILD="$1"
DEST="$2"
SRC="$(cd "$(dirname "$0")/.." && pwd)"
mkdir -p "$DEST"
install -m 755 "$BUILD/src/vestralon" "$DEST/vestralon"
# The settings file is the user's once it exists (under any spelling of its name).
if ! ls "$DEST" | grep -qix 'vestral.ini'; then
  install -m 644 "$SRC/data/VESTRAL.INI" "$DEST/VESTRAL.INI"
fi
mkdir -p "$DEST/info" "$DEST/text"
if [ -d "$SRC/data/info" ]; then cp -r "$SRC/data/info/." "$DEST/info/"; fi
if [ -d "$SRC/data/text" ]; then cp -r "$SRC/data/text/." "$DEST/text/"; fi
if [ -d "$BUILD/data/info" ]; then cp -r "$BUILD/data/info/." "$DEST/info/"; fi
