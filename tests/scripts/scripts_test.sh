#!/usr/bin/env bash
# Usage and argument errors of the scripts: --help prints the usage and
# nothing else, a bad argument is refused with a pointer to --help, and
# neither sets anything up or builds (the build folder stays absent).
#   scripts_test.sh REPOSITORY
set -u
root=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export DK_BUILD=$work/build
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# script, arguments, expected exit code, text expected in the output (stdout
# for --help, stderr otherwise)
cases=(
  "run|--help|0|Runs the monitor under Wine."
  "run|-h|0|scripts/run --port /dev/ttyUSB0"
  "run|--port|2|see $root/scripts/run --help"
  "run|--seconds abc|2|whole number of seconds"
  "run|--seconds 0|2|whole number of seconds"
  "run|--seconds|2|whole number of seconds"
  "run|--port /dev/nonexistent|2|no serial device at /dev/nonexistent"
  "run|--colour blue|2|unknown argument: --colour"
  "test|--help|0|extra arguments go to ctest"
  "test|-R road --help|0|build/test-<kind>.log"
  "bench-poll|--help|0|Measures the monitor's poll cycle"
  "bench-poll|--seconds x|2|see $root/scripts/bench-poll --help"
)
for c in "${cases[@]}"; do
  IFS='|' read -r script args code text <<<"$c"
  # shellcheck disable=SC2086
  "$root/scripts/$script" $args >"$work/out" 2>"$work/err" </dev/null
  rc=$?
  what="scripts/$script $args"
  [ "$rc" = "$code" ] || fail "$what: exit $rc, expected $code"
  if [ "$code" = 0 ]; then
    grep -qF -- "$text" "$work/out" || fail "$what: usage lacks '$text'"
    [ ! -s "$work/err" ] || fail "$what: wrote to stderr: $(cat "$work/err")"
    # Only the comment block: no line of the script itself.
    ! grep -qE '^(set |here=|\. |\[ )' "$work/out" || fail "$what: usage holds script lines"
  else
    grep -qF -- "$text" "$work/err" || fail "$what: message lacks '$text': $(cat "$work/err")"
    grep -qF -- "--help" "$work/err" || fail "$what: no pointer to --help"
  fi
  [ ! -e "$DK_BUILD" ] || { fail "$what: set up or built something"; rm -rf "$DK_BUILD"; }
done
[ $failures = 0 ] && echo "all ${#cases[@]} cases passed"
exit $((failures > 0))
