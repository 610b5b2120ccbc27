#!/usr/bin/env bash
# The benchmarks: the client layer's cost per query, then every book at two scales of generated
# data, through the embedded engine and a loopback server, without and with the suite's optional
# indexes; the classic book on a larger database (scale 32); the peak memory of `livros-cli
# classic` for the year book at scale 8. Prints the tables and writes them to
# build/bench-results.txt. Takes about 7 minutes.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
. scripts/firebird-group.sh "$@"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo > /dev/null
cmake --build build -j"$(nproc)" --target bench_client_queries bench_books livros-cli
export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$(mktemp -d)}"
OUT=build/bench-results.txt
: > "$OUT"
build/bench/bench_client_queries | tee -a "$OUT"
echo | tee -a "$OUT"
build/bench/bench_books --scale 1 --out "$OUT" > /dev/null
build/bench/bench_books --scale 8 --out "$OUT" > /dev/null
build/bench/bench_books --scale 8 --indexes --out "$OUT" > /dev/null
build/bench/bench_books --scale 32 --classic-only --out "$OUT" > /dev/null
build/bench/bench_books --scale 32 --indexes --classic-only --out "$OUT" > /dev/null
# The classic books built the way they were before (one query per product, day and kind), beside.
build/bench/bench_books --scale 8 --indexes --classic-only --day-walk --out "$OUT" > /dev/null

# Peak memory of the command-line tool building the year book of the largest group at scale 8
# (the demo's twelve months: from the first day of the current month one year back).
DEMO=$(mktemp -d)
CNPJ=$(build/cli/livros-cli demo "$DEMO/suite" --scale 8 --seed 1 2>&1 | grep -o -- '--cnpj [0-9A-Z]*' | head -1 | cut -d' ' -f2)
FROM=$(date -d "$(date +%Y-%m-01) -1 year" +%d/%m/%y)
TO=$(date -d "$(date +%Y-%m-01) -1 day" +%d/%m/%y)
{
  echo "livros-cli classic --group 2, $FROM to $TO, scale 8:"
  QUILMARA_HOME="$DEMO/suite" /usr/bin/time -v build/cli/livros-cli --folder "$DEMO/suite" classic --group 2 \
    ${CNPJ:+--cnpj "$CNPJ"} --from "$FROM" --to "$TO" --listing /dev/null 2>&1 >/dev/null \
    | grep -E 'Maximum resident set size|Elapsed \(wall clock\)'
} | tee -a "$OUT"
rm -rf "$DEMO"
cat "$OUT"
