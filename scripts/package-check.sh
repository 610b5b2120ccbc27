#!/usr/bin/env bash
# Builds the Debian package from the existing build (build/, as scripts/setup-tests.sh leaves it),
# installs it, runs the installed programs as a new user would (the version, a demo installation
# and a book from it, the manual page, the menu entries), removes it and checks that nothing it
# installed is left; lintian must show no error, the menu entries must validate.
# Needs root (or sudo) for dpkg. Refuses to run when a livros package is installed already.
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT="$(pwd)"
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
fail() { echo "package-check: $*" >&2; exit 1; }

if dpkg-query -W -f='${Status}' livros 2>/dev/null | grep -q "install ok installed"; then
  fail "a livros package is installed already; remove it first (dpkg -r livros)"
fi

cmake --build build -j"$(nproc)" --target livros livros-cli livros_package_docs
rm -f build/livros_*.deb
(cd build && cpack -G DEB > cpack.log) || { cat build/cpack.log; fail "cpack failed"; }
DEB="$(ls build/livros_*.deb)"
echo "Package: $DEB"

desktop-file-validate packaging/br.com.zunsistemas.livros.desktop
# The product has no public homepage: AppStream 1.0 (Debian 13) warns of that and fails on a
# warning; 0.16 (Debian 12) neither checks it nor knows the tag.
appstream=(--no-net)
if [ "$(appstreamcli --version | sed -n 's/.*version: *\([0-9]*\)\..*/\1/p')" -ge 1 ]; then
  appstream+=(--override=url-homepage-missing=info)
fi
appstreamcli validate "${appstream[@]}" "build/packaging/br.com.zunsistemas.livros.metainfo.xml"
# Errors fail the run; warnings are shown.
lintian --fail-on error "$DEB" 2>&1 | { grep -v 'root privileges' || true; }

WORK="$(mktemp -d)"
cleanup() {
  if dpkg-query -W -f='${Status}' livros 2>/dev/null | grep -q "install ok installed"; then $SUDO dpkg -r livros >/dev/null; fi
  rm -rf "$WORK"
}
trap cleanup EXIT
dpkg-deb -c "$DEB" | awk '{print substr($6, 2)}' | sed 's|/$||' | grep -v '^$' > "$WORK/contents"

$SUDO dpkg -i "$DEB"
want="$(sed -n 's/^project(Livros VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)"
for program in livros livros-cli; do
  got="$(command -v "$program")"
  [ "$got" = "/usr/bin/$program" ] || fail "$program is not on the PATH from the package ($got)"
  [ "$("$program" --version)" = "$program $want" ] || fail "$program --version does not print $want"
done
MANWIDTH=80 man livros-cli | grep -q 'siproquim-map' || fail "man livros-cli does not show the commands"

# A new user's first steps: a demo in the home folder, a book from it, its menu entry.
export HOME="$WORK/home" XDG_DATA_HOME="$WORK/home/.local/share" QT_QPA_PLATFORM=offscreen
export XDG_RUNTIME_DIR="$WORK/run"
mkdir -p "$HOME" && mkdir -m 700 "$XDG_RUNTIME_DIR"
(cd "$HOME" && livros-cli demo farmacia) | tee "$WORK/demo.txt"
STORE=$(sed -n 's/.*lojas (TABLAB): \([0-9A-Z]*\).*/\1/p' "$WORK/demo.txt")
QUILMARA_HOME="$HOME/farmacia" livros-cli --folder "$HOME/farmacia" revised --mode DROGARIA --cnpj "$STORE"
QUILMARA_HOME="$HOME/farmacia" livros-cli --folder "$HOME/farmacia" export --book DROGARIA --cnpj "$STORE" \
  --pdf "$WORK/drogaria.pdf"
[ -s "$WORK/drogaria.pdf" ] || fail "the demo's book was not exported"
ENTRY="$(sed -n 's/^Entrada do menu: //p' "$WORK/demo.txt")"
[ -f "$ENTRY" ] || fail "the demo wrote no menu entry"
desktop-file-validate "$ENTRY"
grep -q "^Exec=env QUILMARA_HOME=$HOME/farmacia $HOME/farmacia/livros DROGARIA$" "$ENTRY" \
  || fail "the demo's menu entry does not open the demo"

$SUDO dpkg -r livros
left=""
while read -r path; do
  if [ -e "$path" ] || [ -L "$path" ]; then
    # Folders that other packages share stay (/usr/share/man, ...); our own must go.
    case "$path" in /opt/quilmara* | *livros*) left+=" $path" ;; esac
  fi
done < "$WORK/contents"
[ -z "$left" ] || fail "left after dpkg -r:$left"
echo "package-check: $DEB installs, runs and removes cleanly."
