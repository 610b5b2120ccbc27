#!/usr/bin/env bash
# Tries the README's two commands as a new user would, on a fresh Debian 12 or 13: makes a minimal
# root of that release with debootstrap (Debian's mirror), clones the project's committed state
# into it, runs the README's test command (./scripts/setup-tests.sh) and then its demo command
# (./scripts/demo.sh, which finds the build the tests made), then ./scripts/package-check.sh (the
# package of that release installed and removed), and reports each one's time and result. Last,
# the demo's books built on the root's Firebird (the text its test run wrote) are compared with
# the same books built on this machine's (engine_books_test of build/, built when missing). Needs
# root; everything the commands start stays on loopback.
#   scripts/fresh-debian.sh 12|13 [prepare|run]
#     prepare  only makes the root, clones the project and installs its packages there (mostly
#              downloads: CI runs it in the background while it builds on the host)
#     run      only runs the commands in a root that prepare made
#     (none)   both
#   LIVROS_FRESH_DIR   where the root is made (default /var/tmp/livros-fresh-<release>); prepare
#                      removes an old root there first
#   LIVROS_MIRROR      the Debian mirror (default http://deb.debian.org/debian)
# Exit 75 when the root cannot be made here (not root, or debootstrap fails: the mirror), 1 when a
# command fails.
set -euo pipefail
cd "$(dirname "$0")/.."
SOURCE="$(pwd)"
case "${1:-}" in
  12) suite=bookworm ;;
  13) suite=trixie ;;
  *) echo "usage: $0 12|13 [prepare|run]" >&2; exit 2 ;;
esac
phase="${2:-all}"
case "$phase" in prepare | run | all) ;; *) echo "usage: $0 12|13 [prepare|run]" >&2; exit 2 ;; esac
[ "$(id -u)" -eq 0 ] || { echo "fresh-debian: needs root (debootstrap, chroot)" >&2; exit 75; }
DIR="${LIVROS_FRESH_DIR:-/var/tmp/livros-fresh-$1}"
MIRROR="${LIVROS_MIRROR:-http://deb.debian.org/debian}"
LOGS="$SOURCE/build/fresh-debian-$1"
mkdir -p "$LOGS"

unmount_all() {
  for m in dev sys proc; do
    if mountpoint -q "$DIR/$m"; then umount -R "$DIR/$m" || umount -lR "$DIR/$m" || true; fi
  done
}
trap unmount_all EXIT INT TERM

mount_all() {
  mountpoint -q "$DIR/proc" || mount -t proc proc "$DIR/proc"
  mountpoint -q "$DIR/sys" || { mount --rbind /sys "$DIR/sys" && mount --make-rslave "$DIR/sys"; }
  mountpoint -q "$DIR/dev" || { mount --rbind /dev "$DIR/dev" && mount --make-rslave "$DIR/dev"; }
  cp /etc/resolv.conf "$DIR/etc/resolv.conf"
}

# Runs a command of the project in the root as a new user's shell would, logging it; reports
# its time and result.
in_root() {
  local command="$1" release="$2" log
  log="$LOGS/$(basename "${command%% *}" .sh).log"
  local t0=$SECONDS result
  if env -i HOME=/root PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin LANG=C.UTF-8 TERM=dumb \
       chroot "$DIR" bash -c "cd /root/livros && $command" > "$log" 2>&1; then
    result="passed"
  else
    result="FAILED (exit $?)"
  fi
  echo "Debian $release: $command $result in $((SECONDS - t0)) s (log: $log)"
  if [ "$result" != passed ]; then tail -n 30 "$log"; fi
  grep -E '^[0-9]+% tests passed|tests failed out of' "$log" || true
  [ "$result" = passed ]
}

prepare() {
  command -v debootstrap >/dev/null || { apt-get update -q && apt-get install -y -q debootstrap; } || return 75
  unmount_all
  rm -rf --one-file-system "$DIR"
  local t0=$SECONDS
  debootstrap --variant=minbase "$suite" "$DIR" "$MIRROR" > "$LOGS/debootstrap.log" 2>&1 \
    || { tail -n 20 "$LOGS/debootstrap.log"; echo "fresh-debian: debootstrap $suite failed" >&2; return 75; }
  echo "Debian $1 ($suite): minimal root in $DIR made in $((SECONDS - t0)) s"
  mount_all
  # The committed state, as a clone would have it.
  git clone -q --no-hardlinks "$SOURCE" "$DIR/root/livros"
  # The packages the README's commands would install first: downloads, done ahead.
  in_root ./scripts/install-deps.sh "$1"
}

firebird_version() {
  dpkg-query --admindir="$1/var/lib/dpkg" -W -f '${Version}' libfbclient2 2>/dev/null | sed 's/\.ds.*//'
}

# The root's test run wrote the demo's books as built on its engine; the host's test builds the
# same books on this machine's engine and compares.
compare_engines() {
  local theirs="$DIR/root/livros/build/tests/cli/engine-books.txt" log="$LOGS/engine-books.log" t0=$SECONDS
  [ -f "$theirs" ] || { echo "Debian $1: the root's test run left no books to compare ($theirs)"; return 1; }
  if [ ! -x build/tests/cli/engine_books_test ]; then
    { cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo && cmake --build build --target engine_books_test; } \
      > "$log" 2>&1 || { tail -n 20 "$log"; return 1; }
  fi
  local host root
  host="Firebird $(firebird_version /)"
  root="Firebird $(firebird_version "$DIR")"
  if (cd build/tests/cli && env QT_QPA_PLATFORM=offscreen LANG=pt_BR.UTF-8 LC_ALL=pt_BR.UTF-8 LIVROS_SOURCE_DIR="$SOURCE" \
        LIVROS_ENGINE_BOOKS_OTHER="$theirs" LIVROS_ENGINE_BOOKS_OUT="$LOGS/engine-books-host.txt" ./engine_books_test) \
       > "$log" 2>&1; then
    echo "Debian $1: the demo's books, maps and forms on $root equal this machine's on $host" \
         "($(wc -l < "$theirs") lines) in $((SECONDS - t0)) s"
  else
    echo "Debian $1: the demo's books on $root DIFFER from this machine's on $host (log: $log)"
    tail -n 20 "$log"
    return 1
  fi
}

run() {
  [ -d "$DIR/root/livros" ] || { echo "fresh-debian: no prepared root in $DIR (run: $0 $1 prepare)" >&2; return 1; }
  mount_all
  local status=0
  # The test command first: the demo then finds its build, as on a developer's machine.
  for command in ./scripts/setup-tests.sh ./scripts/demo.sh ./scripts/package-check.sh; do
    in_root "$command" "$1" || status=1
  done
  compare_engines "$1" || status=1
  return $status
}

case "$phase" in
  prepare) prepare "$1" ;;
  run) run "$1" ;;
  all) prepare "$1" && run "$1" ;;
esac
