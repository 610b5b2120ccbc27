#!/usr/bin/env bash
# Builds the libFuzzer targets (preset "fuzz", clang) and runs each for a bounded time, starting
# from its seed corpus in fuzz/corpus/<name>/. New inputs go to a scratch folder, never into the
# repository; a failing input is kept in build-fuzz/findings/ and printed, and the script fails.
#   FUZZ_SECONDS  time per target (default 20)
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${FUZZ_SECONDS:-20}"
targets=(configuration date_text sql_literal)

./scripts/install-deps.sh
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j2

findings="build-fuzz/findings"
mkdir -p "$findings"
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
status=0
for t in "${targets[@]}"; do
  mkdir -p "$scratch/$t"
  echo "== fuzz_$t: ${seconds}s"
  if ! UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1" \
       "build-fuzz/fuzz/fuzz_$t" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=4096 \
       -print_final_stats=1 -artifact_prefix="$findings/$t-" "$scratch/$t" "fuzz/corpus/$t" \
       >"$scratch/$t.log" 2>&1; then
    tail -n 60 "$scratch/$t.log"
    for f in "$findings/$t-"*; do
      [ -e "$f" ] && { echo "-- input $f:"; od -c "$f" | head -n 20; }
    done
    status=1
  else
    grep -E '^(#[0-9]+.*DONE|stat::number_of_executed_units|stat::new_units_added)' "$scratch/$t.log" || true
  fi
done
exit $status
