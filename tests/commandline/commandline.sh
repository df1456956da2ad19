#!/usr/bin/env bash
# The program's answers to its command line, and its start without a display.
# Runs on the offscreen platform under a time limit: a case that opened the
# window instead of answering would be killed and fail on its status.
# Usage: commandline.sh <program>
set -uo pipefail

program=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=offscreen
failed=0

# expect <status> <limit> <command...>: runs it, keeping stdout and stderr.
expect() {
    local want=$1 limit=$2 status=0
    shift 2
    timeout "$limit" "$@" >"$work/out" 2>"$work/err" || status=$?
    if (( status != want )); then
        echo "FAIL: $* exited with $status, not $want"; cat "$work/err"; failed=1
    fi
}
# holds <out|err> <grep pattern>...: every pattern is in that output.
holds() {
    local file=$work/$1
    shift
    for pattern; do
        grep -q -e "$pattern" "$file" || { echo "FAIL: no '$pattern' in $(basename "$file"):"; cat "$file"; failed=1; }
    done
}
lines() { # <out|err> <count>
    local n
    n=$(wc -l <"$work/$1")
    (( n == $2 )) || { echo "FAIL: $1 has $n lines, not $2:"; cat "$work/$1"; failed=1; }
}

for option in --help -h; do
    expect 0 20 "$program" "$option"
    holds out '^Usage: ' '--version' 'TORVEX_REGISTRY' 'LD_LIBRARY_PATH' 'DISPLAY'
    lines err 0
done

for option in --version -v; do
    expect 0 20 env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$program" "$option"
    [[ $(cat "$work/out") == "TorvexSetup 1.00" ]] || { echo "FAIL: $option printed:"; cat "$work/out"; failed=1; }
    lines err 0
done

for arguments in --bogus -x stray "-platform"; do
    expect 2 20 "$program" $arguments
    lines out 0
    head -n1 "$work/err" | grep -q "^TorvexSetup: .\+[.]$" || { echo "FAIL: $arguments: no one-line error:"; cat "$work/err"; failed=1; }
    holds err '^Usage: ' '--help'
done

# No display: one line and status 1, where Qt would abort.
expect 1 20 env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$program"
lines err 1
holds err '^TorvexSetup: .*DISPLAY'
lines out 0

# A plain start, and one with Qt's own options, opens the window and keeps
# running until it is stopped.
expect 124 3 "$program"
expect 124 3 env -u QT_QPA_PLATFORM "$program" -platform offscreen -style fusion

(( failed == 0 )) && echo "command line: all cases pass"
exit "$failed"
