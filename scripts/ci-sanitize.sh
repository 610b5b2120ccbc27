#!/usr/bin/env bash
# Builds Livros under AddressSanitizer and UndefinedBehaviorSanitizer (preset "asan", build-asan/)
# and runs the whole test suite there. The sanitizer options and suppressions come with the
# test preset (CMakePresets.json, tests/sanitizers/).
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
. scripts/firebird-group.sh "$@"
cmake --preset asan >/dev/null
cmake --build --preset asan -j2
QT_QPA_PLATFORM=offscreen ctest --preset asan
