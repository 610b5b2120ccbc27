#!/usr/bin/env bash
# Builds Livros under AddressSanitizer and UndefinedBehaviorSanitizer (preset "asan", build-asan/)
# and runs the book, data, report and tool tests there (the test labels classic, revised,
# register, siproquim, data, report and cli), each once (not again under the C locale); "all" as
# first argument runs the whole suite. The sanitizer options and suppressions come with the test
# preset (CMakePresets.json, tests/sanitizers/).
set -euo pipefail
cd "$(dirname "$0")/.."
scope="${1:-books}"
[ $# -gt 0 ] && shift
./scripts/install-deps.sh
. scripts/firebird-group.sh "$scope" "$@"
cmake --preset asan >/dev/null
if [ "$scope" = all ]; then
  cmake --build --preset asan -j2
  QT_QPA_PLATFORM=offscreen ctest --preset asan
else
  cmake --build --preset asan -j2 --target livros_sanitized_tests livros-cli
  # The C-locale runs repeat the same code under other texts: once is enough for memory faults.
  QT_QPA_PLATFORM=offscreen ctest --preset asan -L '^(classic|revised|register|siproquim|data|report|cli)$' \
    -E '_c_locale$'
fi
