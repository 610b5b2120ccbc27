#!/usr/bin/env bash
# Pictures of the main window's screen states, taken on a virtual X display, into docs/screens/.
# Usage: scripts/screenshots.sh [build folder]   (default: build; configured and built if needed)
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build}"
out="docs/screens"

if ! command -v xvfb-run >/dev/null; then
  echo "xvfb-run is missing: sudo apt-get install xvfb" >&2
  exit 1
fi
[ -f "$build/CMakeCache.txt" ] || cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$build" --target livros-screens -j2

mkdir -p "$out"
rm -f "$out"/*.png
# A real X display (not the offscreen platform), so that fonts and styles are drawn as a user sees them.
LIVROS_SOURCE_DIR="$PWD" QT_QPA_PLATFORM=xcb \
  xvfb-run --auto-servernum --server-args="-screen 0 1280x800x24" \
  "$build/tests/app/livros-screens" "$out"
