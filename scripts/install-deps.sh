#!/usr/bin/env bash
# Installs the Debian packages that building, testing and running Livros need. The Firebird series
# and the clang runtime differ by release; the releases this script knows:
#   Debian 12 (bookworm)  Firebird 3.0, libclang-rt-14-dev
#   Debian 13 (trixie)    Firebird 4.0, libclang-rt-19-dev
# Any other system stops here with the list above (README, "Setting up", describes Ubuntu 24.04).
set -euo pipefail
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi

release="unknown"
if [ -r /etc/os-release ]; then
  release="$(. /etc/os-release && echo "${ID:-?} ${VERSION_ID:-?}")"
fi
case "$release" in
  "debian 12") firebird=3.0 clang_rt=libclang-rt-14-dev ;;
  "debian 13") firebird=4.0 clang_rt=libclang-rt-19-dev ;;
  *)
    echo "install-deps: this system ($release) is not one the project knows." >&2
    echo "Known: Debian 12 (Firebird 3.0, libclang-rt-14-dev), Debian 13 (Firebird 4.0, libclang-rt-19-dev)." >&2
    echo "Install the equivalent packages by hand (see README.md, \"Setting up\")." >&2
    exit 1 ;;
esac

PACKAGES=(cmake ninja-build g++ qt6-base-dev libgl-dev firebird-dev libfbclient2 "firebird$firebird-server-core"
          "firebird$firebird-server" "firebird$firebird-utils" libgtest-dev xvfb xauth poppler-utils fonts-dejavu-core
          locales qt6-translations-l10n ccache mold
          clang "$clang_rt" # clang and its runtime (libFuzzer, sanitizers): scripts/fuzz-smoke.sh
          dpkg-dev file lintian desktop-file-utils appstream man-db # scripts/package-check.sh
          git ca-certificates # scripts/fresh-debian.sh clones the project
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
# The tests and the demo run under the Brazilian locale: without it generated, the C library falls
# back to "C" and Qt warns about it on every start.
if ! locale -a 2>/dev/null | grep -qix 'pt_BR\.utf8'; then
  $SUDO sed -i 's/^# *\(pt_BR\.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  grep -q '^pt_BR\.UTF-8 UTF-8' /etc/locale.gen || echo 'pt_BR.UTF-8 UTF-8' | $SUDO tee -a /etc/locale.gen >/dev/null
  $SUDO locale-gen >/dev/null
fi
# The packaged server starts a system instance; our tests and the demo start their own.
if command -v systemctl >/dev/null 2>&1 && systemctl is-active --quiet "firebird$firebird" 2>/dev/null; then
  $SUDO systemctl stop "firebird$firebird" || true
fi
