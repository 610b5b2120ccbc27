# Sourced by the set-up scripts after the packages are installed. The embedded engine's lock files
# (/tmp/firebird) and the packaged security database belong to the group "firebird": an ordinary
# user joins it (with sudo) and the calling script runs again within it.
if [ "$(id -u)" -ne 0 ] && ! id -nG | tr ' ' '\n' | grep -qx firebird; then
  if ! getent group firebird | cut -d: -f4 | tr ',' '\n' | grep -qx "$(id -un)"; then
    sudo usermod -aG firebird "$(id -un)"
  fi
  exec sg firebird -c "$(printf '%q ' "$0" "$@")"
fi
