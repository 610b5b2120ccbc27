#!/usr/bin/env bash
# Installs the Debian packages that building, testing and running Livros need (Debian 12).
set -euo pipefail
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
PACKAGES=(cmake ninja-build g++ qt6-base-dev libgl-dev firebird-dev libfbclient2 firebird3.0-server-core
          firebird3.0-server firebird3.0-utils libgtest-dev xvfb xauth poppler-utils fonts-dejavu-core locales
          qt6-translations-l10n clang libclang-rt-14-dev # clang and its runtime (libFuzzer, sanitizers): scripts/fuzz-smoke.sh
          dpkg-dev file lintian desktop-file-utils appstream man-db # scripts/package-check.sh
          time) # /usr/bin/time -v: peak memory in scripts/bench.sh
missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -q
  $SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
# The packaged server starts a system instance; our tests and the demo start their own.
if command -v systemctl >/dev/null 2>&1 && systemctl is-active --quiet firebird3.0 2>/dev/null; then
  $SUDO systemctl stop firebird3.0 || true
fi
