#!/usr/bin/env bash
# The unattended mode as a deployment tool meets it, with no display at all:
# a whole run of the "4.0.0 or higher" list against the demo's simulated
# handheld and sample manager (status 0, the log's lines, the JSON result),
# and a SIGTERM during the third run (status 15 after that run, the manager
# left to finish); nohup, a log that blocks or goes away, a manager that
# prints into a closed channel, a second stop with standard error a full
# pipe; a second Setup beside a running one (status 17, also while the
# manager of a killed one runs on, and a lock file that cannot be used); kit
# and log names with control characters or bytes that are not UTF-8; the
# remote-API library planted in the kit, also with the loader run directly.
# The program's pauses are a thousand times shorter.
# Usage: unattended.sh <program> <demo dir>
set -uo pipefail

program=$1
demo=$(cd "$2" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM
# The one-Setup-at-a-time lock of this script's Setups only.
export TORVEX_LOCK=$work/setup.lock
failed=0
fail() { echo "FAIL: $*"; failed=1; }
count() { grep -c -e "$1" "$2"; }
# Whether SIGTERM waits to be taken by process $1.
term_pending() {
    local pending mask
    pending=$(awk '/^(SigPnd|ShdPnd):/ { printf "%s ", $2 }' "/proc/$1/status" 2>/dev/null) || return 1
    for mask in $pending; do (( 16#$mask & 1 << (15 - 1) )) && return 0; done
    return 1
}

echo "-- a whole run on the simulated handheld"
export TORVEX_HANDHELD=$work/handheld TORVEX_APPMGR_DELAY_MS=0
export TORVEX_REGISTRY=$demo/run/registry.reg LD_LIBRARY_PATH=$demo/lib
mkdir "$TORVEX_HANDHELD"
status=0
(cd "$work" && "$program" --unattended --accept-licence --platform 4.0-or-higher --kit "$demo/run" \
    --log install.log --json >"$work/out" 2>"$work/err") || status=$?
(( status == 0 )) || { fail "exited with $status, not 0"; cat "$work/err"; }
[[ $(tail -n1 "$work/out") == '{"time":"'*'","event":"result","status":0,"reason":"the list ran to its end"}' ]] ||
    fail "last JSON line: $(tail -n1 "$work/out")"
# Nothing but JSON on standard output: the manager's own lines go elsewhere.
bad=$(grep -vc '^{"' "$work/out")
(( bad == 0 )) || fail "$bad lines of standard output are not JSON objects"
log=$work/install.log
bad=$(grep -Evc '^[0-9]{4}-[0-9]{2}-[0-9]{2}T[0-9]{2}:[0-9]{2}:[0-9]{2}\.[0-9]{3}(Z|[+-][0-9]{2}:[0-9]{2}) ' "$log")
(( bad == 0 )) || fail "$bad log lines without a local time and offset"
[[ $(count ' start: .*--unattended' "$log") == 1 ]] || fail "no start line with the arguments"
[[ $(count ' handheld: version 4.20.1081 Simulated Pocket PC$' "$log") == 1 ]] || fail "no handheld version"
[[ $(count " manager: $demo/bin/torvex-appmgr\$" "$log") == 1 ]] || fail "no manager path"
[[ $(count " run-start: run [1-6]/6 (.*): $demo/bin/torvex-appmgr \"$demo/run/" "$log") == 6 ]] || fail "not six runs started"
[[ $(count ' run-end: run [1-6]/6 (.*) ended after [0-9.]* s: exit code 0$' "$log") == 6 ]] || fail "not six runs ended"
[[ $(grep -o ' pause: [0-9]* ticks' "$log" | tr -dc '0-9\n' | paste -sd' ') == "15 10 5 8 4" ]] || fail "pauses"
[[ $(tail -n1 "$log") == *" result: status 0 (the list ran to its end)" ]] || fail "log ends: $(tail -n1 "$log")"
(( $(find "$TORVEX_HANDHELD/Program Files" -name '*.cab' | wc -l) == 8 )) || fail "not every package on the handheld"
(( failed == 0 )) || cat "$log"

echo "-- SIGTERM during the third run"
# A manager that counts its runs and holds the third until the file end3 is
# there.
cat >"$work/manager" <<'SCRIPT'
#!/bin/sh
n=$(($(cat runs 2>/dev/null || echo 0) + 1)); echo $n > runs
[ $n = 3 ] && { : > started3; while [ ! -e end3 ]; do sleep 0.05; done; : > done3; }
exit 0
SCRIPT
chmod +x "$work/manager"
mkdir "$work/kit"
cp "$demo/run/"*.ini "$work/kit/"
registry() { # <manager path>
    printf 'REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\CEAPPMGR.EXE]\r\n@="%s"\r\n' \
        "$1" >"$work/registry.reg"
}
registry "$work/manager"
export TORVEX_REGISTRY=$work/registry.reg
cd "$work/kit" || exit 1
"$program" --unattended --accept-licence --platform 4.0-or-higher --log stop.log >"$work/out" 2>"$work/err" &
pid=$!
for _ in $(seq 600); do [[ -e started3 ]] && break; sleep 0.05; done
[[ -e started3 ]] || fail "the third run did not start"
kill -TERM "$pid"
# The third run ends only once Setup has taken the request in, and Setup
# waits for it.
for _ in $(seq 600); do grep -q 'SIGTERM: stopping' stop.log && break; sleep 0.05; done
grep -q 'SIGTERM: stopping' stop.log || fail "the stop was not taken during the run"
sleep 0.3
kill -0 "$pid" 2>/dev/null || fail "exited before the run in progress ended"
: > end3
status=0
wait "$pid" || status=$?
(( status == 15 )) || fail "exited with $status, not 15"
[[ -e done3 ]] || fail "exited before the third run ended, or the manager was killed"
[[ $(cat runs) == 3 ]] || fail "$(cat runs) runs, not 3"
(( $(wc -l <"$work/out") == 3 )) || fail "not three progress lines: $(cat "$work/out")"
grep -q 'SIGTERM: stopping after the run in progress' stop.log || fail "the signal is not logged"
[[ $(tail -n1 stop.log) == *" result: status 15 ("* ]] || fail "log ends: $(tail -n1 stop.log)"
(( failed == 0 )) || { cat stop.log; cat "$work/err"; }

echo "-- two Setups at once: the second refused, while a killed one's manager runs too"
# A manager that holds its first run until it is let go, starting programs
# of its own all the while: none of them ever holds the lock.
cat >"$work/holding" <<'SCRIPT'
#!/bin/sh
: > holding; while [ ! -e release ]; do sleep 0.05; done
SCRIPT
chmod +x "$work/holding"
registry "$work/holding"
for end in release kill; do
    rm -f holding release
    # Started afresh by itself (a loose library path), and still named as itself.
    LD_LIBRARY_PATH=":$LD_LIBRARY_PATH" "$program" --unattended --accept-licence --platform earlier --log first.log \
        >/dev/null 2>&1 &
    pid=$!
    for _ in $(seq 600); do [[ -e holding ]] && break; sleep 0.05; done
    [[ -e holding ]] || fail "$end: the first Setup did not start its run"
    status=0
    "$program" --unattended --accept-licence --platform earlier --log second.log --json >"$work/out" 2>"$work/err" ||
        status=$?
    (( status == 17 )) || fail "$end: the second Setup exited with $status, not 17"
    grep -q "^TorvexSetup: another Setup is already running on this machine; .* The lock $TORVEX_LOCK is held by process $pid ($(basename "$program" | cut -c-15))" \
        "$work/err" || fail "$end: says $(cat "$work/err")"
    [[ -s $work/out || -e second.log ]] && fail "$end: the second Setup wrote its JSON or log"
    # --check runs nothing and is never refused.
    "$program" --check --platform earlier >/dev/null 2>&1 || fail "$end: --check refused beside a running Setup"
    if [[ $end == kill ]]; then
        kill -KILL "$pid"
        wait "$pid" 2>/dev/null
        # Its manager runs on, and holds the lock until it ends.
        status=0
        "$program" --unattended --accept-licence --platform earlier 2>"$work/err" >/dev/null || status=$?
        (( status == 17 )) || fail "beside a killed Setup's manager: exited with $status, not 17"
        grep -q "held by process [0-9]* (holding)" "$work/err" || fail "the manager is not named: $(cat "$work/err")"
    fi
    : > release
    wait "$pid" 2>/dev/null
    for _ in $(seq 600); do flock -n "$TORVEX_LOCK" true && break; sleep 0.05; done
    flock -n "$TORVEX_LOCK" true || fail "$end: the lock is still held after its holders ended"
done
# Once the manager has ended, the lock holds no one back.
status=0
"$program" --unattended --accept-licence --platform earlier >/dev/null 2>"$work/err" || status=$?
(( status == 0 )) || fail "after a killed Setup: exited with $status, not 0: $(cat "$work/err")"

echo "-- TORVEX_LOCK that breaks the lock's rules is refused before anything runs"
# A FIFO (its name not UTF-8), a symbolic link, a file with data, another
# user's file: status 2, said on stderr, no log.
mkfifo "$work/fifo"$'\xff'.lock
ln -s "$work/setup.lock" "$work/link.lock"
printf 'root:x:0:0\n' >"$work/data.lock"
: >"$work/theirs.lock"
rows=("fifo"$'\xff'".lock|is a FIFO, not a regular file" "link.lock|a symbolic link"
    "data.lock|is not empty (11 bytes); a lock file holds nothing")
if (( EUID == 0 )); then
    chown 65534:65534 "$work/theirs.lock"
    rows+=("theirs.lock|belongs to another user (owner uid 65534, mode 0644)")
fi
for row in "${rows[@]}"; do
    rm -f refused.log
    status=0
    TORVEX_LOCK=$work/${row%%|*} "$program" --unattended --accept-licence --platform earlier --log refused.log \
        >/dev/null 2>"$work/err" || status=$?
    (( status == 2 )) || fail "TORVEX_LOCK=${row%%|*}: exited with $status, not 2"
    grep -qF "TorvexSetup: TORVEX_LOCK names a lock that cannot be used: the lock file $work/" "$work/err" &&
        grep -qF "${row#*|}" "$work/err" || fail "TORVEX_LOCK=${row%%|*}: says $(cat "$work/err")"
    [[ -e refused.log ]] && fail "TORVEX_LOCK=${row%%|*}: a log was written"
done
[[ $(stat -c %s "$work/data.lock") == 11 ]] || fail "the file with data was changed"

echo "-- a stop before the run's own handling: 14 while the lock is taken, 17 while refused"
# The system call numbers read below (flock 73, write 1) are x86-64's.
if command -v strace >/dev/null && [[ $(uname -m) == x86_64 ]]; then
    # The lock's flock() held up for seconds (in whichever process Setup
    # starts afresh as), and Setup found there.
    strace -f -qq -o /dev/null -e trace=flock -e inject=flock:delay_enter=4000000 "$program" --unattended \
        --accept-licence --platform earlier --log "$work/early.log" >/dev/null 2>"$work/err" &
    tracer=$!
    child=
    for _ in $(seq 600); do
        for started in $(cat /proc/"$tracer"/task/*/children 2>/dev/null); do
            for candidate in "$started" $(cat /proc/"$started"/task/*/children 2>/dev/null); do
                read -r call _ <"/proc/$candidate/syscall" 2>/dev/null && [[ $call == 73 ]] && child=$candidate
            done
        done
        [[ -n $child ]] && break
        sleep 0.05
    done
    kill -TERM "$child"
    status=0
    wait "$tracer" || status=$?
    (( status == 14 )) || fail "a stop while the lock is taken: exited with $status, not 14"
    grep -qx 'TorvexSetup: asked to stop: exiting now; no run was started.' "$work/err" ||
        fail "a stop while the lock is taken: says $(cat "$work/err")"
else
    echo "SKIP: strace on x86-64 holds up the lock"
fi
# Two stops while Setup, having just started the manager, is held up before
# its keeper takes the lock over (in pidfd_open): the manager runs on, and
# keeps the lock however Setup ends.
if command -v strace >/dev/null; then
    rm -f holding release
    strace -qq -o /dev/null -e trace=pidfd_open -e inject=pidfd_open:delay_enter=4000000 "$program" --unattended \
        --accept-licence --platform earlier >/dev/null 2>"$work/err" &
    tracer=$!
    for _ in $(seq 600); do [[ -e holding ]] && break; sleep 0.05; done
    child=$(cat /proc/"$tracer"/task/*/children)
    kill -TERM "$child"
    sleep 0.2
    kill -HUP "$child"
    wait "$tracer"
    flock -n "$TORVEX_LOCK" true && fail "stopped twice before its keeper: the lock is free while the manager runs"
    : > release
    for _ in $(seq 600); do flock -n "$TORVEX_LOCK" true && break; sleep 0.05; done
else
    echo "SKIP: strace holds up the keeper"
fi
# Refused, with standard error a full pipe nobody reads: the line waits, and
# a stop ends it with 17.
mkfifo "$work/full.fifo"
exec {full}<>"$work/full.fifo"
dd if=/dev/zero of="$work/full.fifo" bs=4096 count=1000 oflag=nonblock 2>/dev/null
exec {locked}<"$TORVEX_LOCK"
flock -n "$locked" || fail "the lock is held before the refused Setup"
"$program" --unattended --accept-licence --platform earlier >/dev/null 2>"$work/full.fifo" {locked}<&- &
pid=$!
for _ in $(seq 600); do [[ $(cut -d' ' -f1 "/proc/$pid/syscall" 2>/dev/null) == 1 ]] && break; sleep 0.05; done
kill -TERM "$pid"
status=0
wait "$pid" || status=$?
(( status == 17 )) || fail "refused, stopped while its line waits: exited with $status, not 17"
exec {locked}<&- {full}>&-
rm -f holding release

echo "-- --check: a manager that cannot be run; a kit folder named with a newline"
: >"$work/plain" # not executable
for manager in /opt/nowhere/ceappmgr ceappmgr "$work/plain"; do
    registry "$manager"
    status=0
    "$program" --check --platform earlier >"$work/out" 2>"$work/err" || status=$?
    (( status == 11 )) || fail "$manager: exited with $status, not 11"
    grep -qF "\"$manager\"" "$work/err" || fail "$manager is not named: $(cat "$work/err")"
    [[ -s $work/out ]] && fail "$manager: command lines printed"
done
registry "$work/manager"
kit=$work/$'new\nline \e[31mred\''
cp -r "$work/kit" "$kit"
status=0
"$program" --check --platform earlier --kit "$kit" --log "$work/check.log" >"$work/out" 2>"$work/err" || status=$?
(( status == 0 )) || fail "kit with a newline: exited with $status"
# start, handheld, manager, six planned runs, result: one line each.
(( $(wc -l <"$work/check.log") == 10 )) || fail "not one log line per event: $(cat "$work/check.log")"
(( $(wc -l <"$work/out") == 6 )) || fail "not one progress line per run: $(cat "$work/out")"
grep -q $'\e' "$work/check.log" "$work/out" && fail "an escape character reached the log or the terminal"
line=$(grep ' start: ' "$work/check.log")
eval "set -- ${line#* start: }"
[[ $# == 8 && $6 == "$kit" ]] || fail "the arguments do not read back: ${line#* start: }"
# A kit and a log named with bytes that are not UTF-8: used as they are, and
# shown escaped; the manager would be handed the kit's own bytes.
kit=$work/$'\xffkit'
cp -r "$work/kit" "$kit"
status=0
"$program" --check --platform earlier --kit "$kit" --log "$work/"$'\xfe.log' >"$work/out" 2>"$work/err" || status=$?
(( status == 0 )) && grep -qF "$work/\xFFkit/w300sql.wce4.armv4.ini" "$work/out" ||
    fail "kit not UTF-8: exited with $status: $(cat "$work/err")"
grep -qF " start: $program --check --platform earlier --kit $'$work/\377kit' --log $'$work/\376.log'" "$work/"$'\xfe.log' ||
    fail "log not UTF-8: $(cat "$work/"$'\xfe.log')"

# Characters beyond U+FFFF whose second UTF-16 half lies in U+DC80-DCFF
# (U+1F4A9, U+20089) are one character each, not a byte that was not text.
for name in $'kit \xf0\x9f\x92\xa9' $'kit \xf0\xa0\x82\x89'; do
    cp -r "$work/kit" "$work/$name"
    status=0
    "$program" --check --platform earlier --kit "$work/$name" >"$work/out" 2>"$work/err" || status=$?
    (( status == 0 )) && grep -qF "$work/$name/w300sql.wce4.armv4.ini" "$work/out" ||
        fail "kit $name: exited with $status: $(cat "$work/err")"
done
# A registry value naming the manager with a byte that is not text (a lone
# U+DCFF in a UTF-16 file) is checked by the bytes it is started with.
mkdir "$work/"$'m\xff' && cp "$work/manager" "$work/"$'m\xff/'
{ printf '\xff\xfe'
  printf 'Windows Registry Editor Version 5.00\r\n\r\n[%s]\r\n@="%s/m' \
      'HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\App Paths\CEAPPMGR.EXE' "$work" | iconv -t UTF-16LE
  printf '\xff\xdc'
  printf '/manager"\r\n' | iconv -t UTF-16LE; } >"$work/byte.reg"
status=0
TORVEX_REGISTRY=$work/byte.reg "$program" --check --platform earlier --kit "$work/kit" >"$work/out" 2>"$work/err" || status=$?
(( status == 0 )) || fail "a manager named with a byte that is not text: exited with $status: $(cat "$work/err")"
# Two long kit names that differ only in the middle: elided on standard
# error, recognisably, and whole in the log and JSON.
long=$(printf 'x%.0s' $(seq 150))
for middle in 1 2; do
    kit=$work/$long$middle/$long
    status=0
    "$program" --check --platform earlier --kit "$kit" --log "$work/long$middle.log" --json >"$work/long$middle.json" \
        2>"$work/long$middle.err" || status=$?
    (( status == 12 )) || fail "long kit $middle: exited with $status"
    grep -qF "$kit" "$work/long$middle.err" && fail "long kit $middle: not elided on standard error"
    grep -q "^TorvexSetup: The kit folder \"$work/x*…x*\" does not exist or cannot be entered.$" "$work/long$middle.err" ||
        fail "long kit $middle: $(cat "$work/long$middle.err")"
    grep -qF " message: The kit folder \"$kit\" does not exist" "$work/long$middle.log" ||
        fail "long kit $middle: the log lacks the whole name: $(cat "$work/long$middle.log")"
    grep -qF "\"text\":\"The kit folder \\\"$kit\\\" does not exist" "$work/long$middle.json" ||
        fail "long kit $middle: the JSON lacks the whole name: $(cat "$work/long$middle.json")"
done

echo "-- the remote-API library never from the kit, nor through a loose element of LD_LIBRARY_PATH"
cp "$demo/lib/librapi.so" "$work/kit/"
origin=$(realpath --relative-to="$(dirname "$(realpath "$program")")" "$demo/lib")
for row in "/nonexistent:|16" ".|16" ":$demo/lib|0" "/proc/self/cwd|16" "\$ORIGIN/$origin:|0"; do
    status=0
    LD_LIBRARY_PATH=${row%|*} "$program" --check --platform earlier --kit "$work/kit" >/dev/null 2>"$work/err" || status=$?
    (( status == ${row#*|} )) || fail "LD_LIBRARY_PATH=${row%|*}: exited with $status: $(cat "$work/err")"
done
# Nor when the loader is run directly: no restart, and its --library-path reaches no kit.
loader=$(readelf -l "$program" | sed -n 's/.*interpreter: \(.*\)]/\1/p')
status=0
"$loader" --library-path /nonexistent: "$program" --check --platform earlier --kit "$work/kit" >/dev/null 2>&1 || status=$?
(( status == 16 )) || fail "started by the loader with --library-path /nonexistent: exited with $status"
rm "$work/kit/librapi.so"
# A read-only /tmp: a clean search path loads the library without a folder
# there; one the loader reads against the current folder cannot be kept from
# the kit, and says so with status 2, not the library's 16.
if unshare -rm true 2>/dev/null; then
    readonly_tmp() { unshare -rm sh -c 'mount --bind /tmp /tmp && mount -o remount,bind,ro /tmp && exec "$@"' sh "$@"; }
    status=0
    TMPDIR=/tmp readonly_tmp "$program" --check --json --platform earlier --kit "$work/kit" >"$work/out" 2>"$work/err" ||
        status=$?
    (( status == 0 )) || fail "read-only /tmp, clean path: exited with $status: $(cat "$work/err")"
    for start in "" "$loader"; do
        status=0
        TMPDIR=/tmp LD_LIBRARY_PATH="../nowhere:$LD_LIBRARY_PATH" readonly_tmp $start "$program" --check --json \
            --platform earlier --kit "$work/kit" >"$work/out" 2>"$work/err" || status=$?
        [[ -z $start ]] && want=0 || want=2
        (( status == want )) || fail "read-only /tmp, loose path ${start:+by the loader}: exited with $status: $(cat "$work/err")"
        [[ -n $start ]] && { grep -qF 'TorvexSetup: No empty temporary folder could be made to load the remote-API library librapi.so from (in /tmp): Read-only file system.' "$work/err" &&
            grep -q '"event":"result","status":2,' "$work/out"; } || [[ -z $start ]] ||
            fail "read-only /tmp, loose path: $(cat "$work/err")"
    done
else
    echo "SKIP: no user and mount namespace here (unshare -rm): the read-only /tmp rows"
fi
# One file missing is named in the singular.
cp -r "$work/kit" "$work/short" && rm "$work/short/TorvexSetup.ini"
"$program" --check --platform 4.0-or-higher --kit "$work/short" >/dev/null 2>"$work/err"
grep -q 'cannot find this installation file in' "$work/err" || fail "one file missing: $(cat "$work/err")"

echo "-- nohup; a second SIGTERM while the log's FIFO has no reader"
cd "$work/kit" || exit 1
registry "$work/manager"
rm -f runs started3 done3 end3
# The hang-up that nohup set aside stays aside: the list runs to its end.
nohup "$program" --unattended --accept-licence --platform 4.0-or-higher >"$work/out" 2>"$work/err" &
pid=$!
for _ in $(seq 600); do [[ -e started3 ]] && break; sleep 0.05; done
kill -HUP "$pid"
: > end3
status=0
wait "$pid" || status=$?
(( status == 0 )) && [[ $(cat runs) == 6 ]] || fail "under nohup a hang-up gave $status after $(cat runs) runs"
rm -f runs "$work/log.fifo"
mkfifo "$work/log.fifo" "$work/err.fifo"
# Standard error a file, then a pipe that is full and never read.
exec 7<>"$work/err.fifo"
dd if=/dev/zero of="$work/err.fifo" bs=4096 count=1000 oflag=nonblock 2>/dev/null
for err in "$work/err" "$work/err.fifo"; do
    "$program" --unattended --accept-licence --platform 4.0-or-higher --log "$work/log.fifo" >"$work/out" 2>"$err" &
    pid=$!
    # Blocked in opening it, where the event loop never runs.
    for _ in $(seq 600); do [[ $(cat "/proc/$pid/wchan" 2>/dev/null) == wait_for_partner ]] && break; sleep 0.05; done
    kill -TERM "$pid"
    # The second only once the first has been taken: two pending at once
    # would be one.
    for _ in $(seq 600); do term_pending "$pid" || break; sleep 0.05; done
    kill -TERM "$pid"
    for _ in $(seq 600); do kill -0 "$pid" 2>/dev/null || break; sleep 0.05; done
    kill -KILL "$pid" 2>/dev/null && fail "$err: a second SIGTERM did not end it"
    status=0
    wait "$pid" || status=$?
    (( status == 14 )) || fail "blocked on the log, stderr $err: exited with $status, not 14"
    [[ -e runs ]] && fail "a run was made"
done
exec 7<&-
[[ $(cat "$work/err") == "TorvexSetup: asked again to stop: exiting now; a run in progress goes on without Setup." ]] ||
    fail "blocked on the log: $(cat "$work/err")"

echo "-- a second SIGTERM while the run-start line blocks standard output: 15, the manager runs"
# Standard output a pipe that nobody reads, filled so that the lines before
# the first run fit and the run-start line does not: measured from a run
# with a manager whose path is as long.
registry "$work/manager"
rm -f runs
"$program" --unattended --accept-licence --platform earlier --json >"$work/measure" 2>/dev/null
before=$(sed -n '1,/"event":"manager"/p' "$work/measure" | wc -c)
registry "$work/holding"
rm -f holding release runs "$work/out.fifo"
mkfifo "$work/out.fifo"
exec 8<>"$work/out.fifo"
dd if=/dev/zero of="$work/out.fifo" bs=$((65536 - before - 16)) count=1 oflag=nonblock 2>/dev/null
"$program" --unattended --accept-licence --platform earlier --json >"$work/out.fifo" 2>"$work/err" &
pid=$!
for _ in $(seq 600); do [[ -e holding && $(cat "/proc/$pid/wchan" 2>/dev/null) == *pipe_write ]] && break; sleep 0.05; done
[[ -e holding && $(cat "/proc/$pid/wchan" 2>/dev/null) == *pipe_write ]] || fail "the run-start line did not block"
kill -TERM "$pid"
for _ in $(seq 600); do term_pending "$pid" || break; sleep 0.05; done
kill -TERM "$pid"
for _ in $(seq 600); do kill -0 "$pid" 2>/dev/null || break; sleep 0.05; done
kill -KILL "$pid" 2>/dev/null && fail "a second SIGTERM did not end it"
status=0
wait "$pid" || status=$?
(( status == 15 )) || fail "stopped while the run-start line blocked: exited with $status, not 15"
: > release
exec 8<&-
# The manager that ran on holds the lock until it has seen its release.
for _ in $(seq 600); do flock -n "$TORVEX_LOCK" true && break; sleep 0.05; done

echo "-- the log's reader and Setup's output go away mid-run; the manager prints"
rm -f "$work/log.fifo"
mkfifo "$work/log.fifo"
# The first run lasts until the reader has gone, so that a line comes after.
cat >"$work/afterreader" <<'SCRIPT'
#!/bin/sh
i=0
while [ ! -e reader-gone ] && [ $i -lt 600 ]; do sleep 0.05; i=$((i + 1)); done
SCRIPT
chmod +x "$work/afterreader"
registry "$work/afterreader"
{ head -n 2 "$work/log.fifo" >/dev/null; : > reader-gone; } &
status=0
"$program" --unattended --accept-licence --platform 4.0-or-higher --log "$work/log.fifo" --json >"$work/out" \
    2>"$work/err" || status=$?
(( status == 0 )) || fail "log gone: exited with $status, not 0"
[[ $(grep -c 'cannot be written' "$work/err") == 1 ]] || fail "log gone: $(cat "$work/err")"
grep -q '"event":"output-failed","stream":"log","error":"Broken pipe"}$' "$work/out" || fail "log gone: no JSON event"
[[ $(tail -n1 "$work/out") == '{"time":"'*'","event":"result","status":0,"reason":"the list ran to its end"}' ]] ||
    fail "log gone: $(tail -n1 "$work/out")"
# A manager that prints once Setup's channel (an SSH session, say) has closed.
cat >"$work/printer" <<'SCRIPT'
#!/bin/sh
sleep 0.1
echo "run output"; echo "run error" >&2
echo done >>printed
SCRIPT
chmod +x "$work/printer"
registry "$work/printer"
{ "$program" --unattended --accept-licence --platform 4.0-or-higher --log printer.log 2>&1; echo $? >"$work/status"; } | true
[[ $(cat "$work/status") == 0 && $(wc -l <printed) == 6 ]] || fail "printing manager: $(cat "$work/status"), $(cat printed)"
(( $(grep -c ' output-failed: ' printer.log) == 2 )) || fail "lost output not logged: $(cat printer.log)"

(( failed == 0 )) && echo "unattended: all cases pass"
exit "$failed"
