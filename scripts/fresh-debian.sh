#!/usr/bin/env bash
# Tries the README's two commands as a new user would, on a fresh Debian 12 or 13: makes a minimal
# root of that release with debootstrap (Debian's mirror), clones the project's committed state
# into it, runs ./scripts/demo.sh and ./scripts/setup-tests.sh there one after the other, then
# ./scripts/package-check.sh (the package of that release installed and removed), and reports each
# one's time and result. Needs root; everything the commands start stays on loopback.
#   scripts/fresh-debian.sh 12|13
#   LIVROS_FRESH_DIR   where the root is made (default /var/tmp/livros-fresh-<release>); an old
#                      root there is removed first
#   LIVROS_MIRROR      the Debian mirror (default http://deb.debian.org/debian)
set -euo pipefail
cd "$(dirname "$0")/.."
SOURCE="$(pwd)"
case "${1:-}" in
  12) suite=bookworm ;;
  13) suite=trixie ;;
  *) echo "usage: $0 12|13" >&2; exit 2 ;;
esac
[ "$(id -u)" -eq 0 ] || { echo "fresh-debian: needs root (debootstrap, chroot)" >&2; exit 2; }
command -v debootstrap >/dev/null || { apt-get update -q && apt-get install -y -q debootstrap; }
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

unmount_all
rm -rf --one-file-system "$DIR"
t0=$SECONDS
debootstrap --variant=minbase "$suite" "$DIR" "$MIRROR" > "$LOGS/debootstrap.log" 2>&1 \
  || { tail -n 20 "$LOGS/debootstrap.log"; echo "fresh-debian: debootstrap $suite failed" >&2; exit 1; }
echo "Debian $1 ($suite): minimal root in $DIR made in $((SECONDS - t0)) s"
mount -t proc proc "$DIR/proc"
mount --rbind /sys "$DIR/sys" && mount --make-rslave "$DIR/sys"
mount --rbind /dev "$DIR/dev" && mount --make-rslave "$DIR/dev"
cp /etc/resolv.conf "$DIR/etc/resolv.conf"

# The committed state, as a clone would have it.
git clone -q --no-hardlinks "$SOURCE" "$DIR/root/livros"

status=0
for command in ./scripts/demo.sh ./scripts/setup-tests.sh ./scripts/package-check.sh; do
  log="$LOGS/$(basename "$command" .sh).log"
  t0=$SECONDS
  if env -i HOME=/root PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin LANG=C.UTF-8 TERM=dumb \
       chroot "$DIR" bash -c "cd /root/livros && $command" > "$log" 2>&1; then
    result="passed"
  else
    result="FAILED (exit $?)"
    status=1
  fi
  echo "Debian $1: $command $result in $((SECONDS - t0)) s (log: $log)"
  if [ "$result" != passed ]; then tail -n 30 "$log"; fi
  grep -E '^[0-9]+% tests passed|tests failed out of' "$log" || true
done
exit $status
