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
# The one-Setup-at-a-time lock of this script's Setups only.
export TORVEX_LOCK=$work/setup.lock
# Qt's own runtime folder, which it asks for when the window opens.
export XDG_RUNTIME_DIR=$work/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"
failed=0
# A German locale made for this script alone, with glibc's German messages:
# system texts must stay English in what scripts read all the same.
german=(LANGUAGE=de)
if localedef -i de_DE -f UTF-8 "$work/de_DE.UTF-8" >/dev/null 2>&1; then
    german+=(LOCPATH="$work" LANG=de_DE.UTF-8)
else
    echo "SKIP (German locale): localedef cannot make de_DE.UTF-8 (packages locales, libc-l10n)"
fi

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
    holds out '^Usage: ' '--version' 'TORVEX_REGISTRY' 'LD_LIBRARY_PATH' 'DISPLAY' '--unattended' '^ *15  stopped' \
        '--language' '^ *17  another Setup' 'TORVEX_LOCK' '/run/lock/TorvexSetup.lock'
    lines err 0
done

# The licence agreement as the licence page shows it, with this system's line ends.
expect 0 20 env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$program" --show-licence
holds out 'LICENSE AGREEMENT'
grep -q $'\r' "$work/out" && { echo "FAIL: --show-licence printed CR"; failed=1; }

# An answer that cannot be written is no success: standard output full, or
# closed (and not taken over by a descriptor of Setup's own): status 2. The
# check's command lines are its answer too, refused before it looks for a
# handheld.
while IFS='|' read -r output options; do
    expect 2 20 env -u LC_ALL -u LC_MESSAGES "${german[@]}" sh -c "\"\$0\" $options $output" "$program"
    holds err "standard output cannot be written: $([[ $output == '>&-' ]] && echo Bad file || echo No space)"
done <<CASES
>/dev/full|--help
>/dev/full|--version
>/dev/full|--show-licence
>/dev/full|--check --platform earlier --json
>&-|--help
>&-|--check --platform earlier
CASES

for option in --version -v; do
    expect 0 20 env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$program" "$option"
    [[ $(cat "$work/out") == "TorvexSetup 1.00" ]] || { echo "FAIL: $option printed:"; cat "$work/out"; failed=1; }
    lines err 0
done

# Usage errors, the unattended ones too, each with a line that says what to do.
unattended="--unattended --accept-licence --platform"
while IFS='|' read -r arguments says; do
    expect 2 20 env -u DISPLAY -u WAYLAND_DISPLAY "$program" $arguments
    lines out 0
    head -n1 "$work/err" | grep -q "^TorvexSetup: .\+[.]$" || { echo "FAIL: $arguments: no one-line error:"; cat "$work/err"; failed=1; }
    holds err '^Usage: ' '--help' "$says"
done <<CASES
--bogus|
-x|
stray|
-platform|
-sync|
--unattended --platform earlier|--show-licence
--unattended --accept-licence|--platform 4.0-or-higher or --platform earlier
$unattended 4.0|4.0-or-higher (.*) and earlier
--check|--platform
--accept-licence|--unattended
--json|--unattended
--language xx|en, de, fr
--language C|en, de, fr
CASES

# A log that cannot be opened or written: status 2 before anything runs or the
# window opens, in one line and with no warning of Qt's.
for row in "$unattended earlier|$work" "$unattended earlier|/dev/full" "|$work" "|/dev/full"; do
    log=${row#*|}
    expect 2 20 "$program" ${row%%|*} --log "$log"
    holds err "^TorvexSetup: the log file \"$log\" cannot be \(opened\|written\): .*[.]\$"
    lines err 1
    lines out 0
done
# Without the remote-API library no handheld can ever answer: not worth retrying.
# In English whatever the language, the loader's text too, for the scripts that read it.
expect 16 20 env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM -u LD_LIBRARY_PATH -u LC_ALL -u LC_MESSAGES \
    "${german[@]}" "$program" $unattended earlier --json --language fr
[[ $(tail -n1 "$work/out") == '{"time":"'*'","event":"result","status":16,"reason":"The remote-API library librapi.so cannot be loaded '*'cannot open shared object file: No such file or directory'* ]] ||
    { echo "FAIL: JSON result:"; cat "$work/out"; failed=1; }
holds err 'librapi.so cannot be loaded'
# A kit folder that is not there, for the window too; ended before the
# remote-API library is ever named, which once freed Qt's data twice at exit.
# Its name holds every kind of hidden character: shown escaped, each stream
# keeps one line per event.
hidden=$'\nTorvexSetup: forged\r\x01\x7f\xc2\x85\xe2\x80\xae\xe2\x80\x8b\xe2\x80\xa8\xe2\x80\xa9\xff'
shown='no such kit\x0ATorvexSetup: forged\x0D\x01\x7F\u{85}\u{202E}\u{200B}\u{2028}\u{2029}\xFF"'
for mode in "" "$unattended earlier --json --log $work/kit.log"; do
    expect 12 20 "$program" $mode --kit "$work/no such kit$hidden"
    lines err 1
    grep -qF "$shown" "$work/err" || { echo "FAIL: not escaped on stderr:"; cat "$work/err"; failed=1; }
done
lines out 3
grep -qF "message: The kit folder \"$work/$shown" "$work/kit.log" && (( $(wc -l <"$work/kit.log") == 3 )) ||
    { echo "FAIL: not escaped in the log:"; cat "$work/kit.log"; failed=1; }

# No display, an empty one, one that does not answer, or the X11 platform
# named without one: one line and status 1, where Qt would abort.
for display in "" "DISPLAY=" "DISPLAY=:987" "-platform xcb"; do
    if [[ $display == DISPLAY=* ]]; then
        expect 1 20 env -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$display" "$program"
    else
        expect 1 20 env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$program" $display
    fi
    lines err 1
    holds err '^TorvexSetup: .*DISPLAY'
    lines out 0
done

# A plain start, and one with each of Qt 6.4's own options, opens the window
# and keeps running until it is stopped.
expect 124 3 "$program"
expect 124 3 env -u QT_QPA_PLATFORM "$program" -platform offscreen -style fusion
expect 124 5 "$program" -platformpluginpath /nowhere -platformtheme none -plugin none -qwindowgeometry 488x373 \
    -geometry 488x373 -qwindowtitle T -title T -qwindowicon i -icon i -session s -style=fusion -stylesheet=/dev/null \
    -stylesheet /dev/null -qmljsdebugger=port:1 -qmljsdebugger port:1 -display :0 -name n -visual 0 -reverse \
    -testability -widgetcount -nograb -dograb -qdevel -qdebug --kit .

(( failed == 0 )) && echo "command line: all cases pass"
exit "$failed"
