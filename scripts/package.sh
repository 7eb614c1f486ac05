#!/usr/bin/env bash
# Builds what ships into dist/: the Windows installer and a zip of the program (tollwick.exe and the
# README), from the Release cross build.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/deps.sh"
"$root/scripts/build.sh" dist
rm -rf "$root/dist"
mkdir -p "$root/dist"
cp "$root/build/win/dist/"* "$root/dist/"
ls -l "$root/dist"
