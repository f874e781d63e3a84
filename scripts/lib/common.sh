# Shared paths and environment of the project's scripts. Source it.
DK_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
DK_BUILD=${DK_BUILD:-$DK_ROOT/build}
DK_WINE=$DK_BUILD/wine
export WINEPREFIX=$DK_WINE/prefix
export WINEARCH=win64
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml="
DK_SHIM=$DK_BUILD/host/lib/libvlineshim.so
# Serial ports declared to Wine: COMn opens $DK_WINE/ports/comN, a link that a
# device simulator points at its pty.
DK_PORTS="5 6 7 8 9"

dk_log() { printf '[%s] %s\n' "$(date +%H:%M:%S)" "$*" >&2; }

# Runs as root or through sudo.
dk_root() { if [ "$(id -u)" = 0 ]; then "$@"; else sudo "$@"; fi; }

# The usage of a script: its comment block after the first line.
dk_usage() { awk 'NR == 1 { next } /^#/ { sub(/^# ?/, ""); print; next } { exit }' "$1"; }

# An argument error of a script: the message, a pointer to its usage, exit 2.
dk_usage_error() {
  printf '%s: %s\nsee %s --help\n' "$(basename "$1")" "$2" "$1" >&2
  exit 2
}
