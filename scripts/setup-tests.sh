#!/usr/bin/env bash
# Installs what is missing, builds Livros and runs the whole test suite (the README's test command).
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
. scripts/firebird-group.sh "$@"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$(nproc)"
cd build
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j2 --timeout 600
