#!/usr/bin/env bash
# The benchmarks: the client layer's cost per query, then every book at two scales of generated
# data, through the embedded engine and a loopback server, without and with the suite's optional
# indexes. Prints the tables and writes them to build/bench-results.txt. Takes about 10 minutes.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
. scripts/firebird-group.sh "$@"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo > /dev/null
cmake --build build -j"$(nproc)" --target bench_client_queries bench_books
export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$(mktemp -d)}"
OUT=build/bench-results.txt
: > "$OUT"
build/bench/bench_client_queries | tee -a "$OUT"
echo | tee -a "$OUT"
build/bench/bench_books --scale 1 --out "$OUT" > /dev/null
build/bench/bench_books --scale 8 --skip-classic-year --out "$OUT" > /dev/null
build/bench/bench_books --scale 8 --indexes --out "$OUT" > /dev/null
cat "$OUT"
