#!/usr/bin/env bash
# The install's start and result in the systemd journal, as the journal
# receives them: a private mount namespace puts a socket of this test's own at
# /run/systemd/journal/socket, where libsystemd sends. Checks the fields of the
# start and the end of a run that installs and of one that finds no handheld,
# that --check and --no-system-log send nothing, that a kit's odd name is
# escaped in the sentence and exact in its field, and that with no journal at
# all the run ends as ever.
# Usage: journal.sh <program> <demo dir>
set -uo pipefail

program=$1
demo=$(cd "$2" && pwd)
if [[ ${TORVEX_IN_NAMESPACE:-} != 1 ]]; then
    # Root, or a user namespace that maps us to root, may mount.
    for how in "unshare -m" "unshare -rm"; do
        if $how true 2>/dev/null; then
            TORVEX_IN_NAMESPACE=1 exec $how "$0" "$@"
        fi
    done
    echo "SKIP: no private mount namespace here (unshare -m and unshare -rm are refused)"
    exit 77
fi

work=$(mktemp -d)
receiver=""
trap '[[ -n $receiver ]] && kill "$receiver" 2>/dev/null; rm -rf "$work"' EXIT
mount --make-rprivate / 2>/dev/null
mkdir -p "$work/journal"
mount -t tmpfs tmpfs /run || { echo "SKIP: /run cannot be mounted over"; exit 77; }
mkdir -p /run/systemd/journal
unset DISPLAY WAYLAND_DISPLAY
export TORVEX_LOCK=$work/setup.lock TORVEX_HANDHELD=$work/handheld TORVEX_APPMGR_DELAY_MS=0
export TORVEX_REGISTRY=$demo/run/registry.reg LD_LIBRARY_PATH=$demo/lib
failed=0
fail() { echo "FAIL: $*"; failed=1; }

run() { # expected status, arguments...
    local expected=$1 status=0
    shift
    (cd "$work" && "$program" --platform 4.0-or-higher --kit "$demo/run" "$@" >/dev/null 2>"$work/err") || status=$?
    (( status == expected )) || { fail "$* exited with $status, not $expected"; cat "$work/err"; }
}

echo "-- no journal: the run ends as ever"
mkdir "$TORVEX_HANDHELD"
run 0 --unattended --accept-licence

# Each datagram the journal's socket receives, as one JSON object per line
# (the native protocol: KEY=value lines, or KEY, a newline, a 64-bit
# little-endian length and the value).
python3 - /run/systemd/journal/socket "$work/entries" <<'PY' &
import json, socket, struct, sys
sock = socket.socket(socket.AF_UNIX, socket.SOCK_DGRAM)
sock.bind(sys.argv[1])
open(sys.argv[2] + ".ready", "w").close()
with open(sys.argv[2], "a") as out:
    while True:
        data, fields = sock.recv(1 << 20), {}
        while data:
            line, _, rest = data.partition(b"\n")
            if b"=" in line:
                key, _, value = line.partition(b"=")
                data = rest
            else:
                size = struct.unpack("<Q", rest[:8])[0]
                key, value, data = line, rest[8:8 + size], rest[9 + size:]
            fields[key.decode()] = value.decode("utf-8", "replace")
        out.write(json.dumps(fields) + "\n")
        out.flush()
PY
receiver=$!
for _ in $(seq 300); do [[ -e $work/entries.ready ]] && break; sleep 0.1; done

field() { python3 -c 'import json, sys; print(json.loads(sys.argv[1]).get(sys.argv[2], "<none>"))' "$1" "$2"; }
entry() { sed -n "${1}p" "$work/entries"; }
wait_entries() { for _ in $(seq 100); do (( $(wc -l <"$work/entries" 2>/dev/null || echo 0) >= $1 )) && return; sleep 0.1; done; }

echo "-- an install: a start and an end entry"
run 0 --unattended --accept-licence --log install.log
wait_entries 2
start=$(entry 1) end=$(entry 2)
while IFS='|' read -r which name expected; do
    [[ $(field "${!which}" "$name") == $expected ]] || fail "$which $name: $(field "${!which}" "$name"), not $expected"
done <<CASES
start|SYSLOG_IDENTIFIER|TorvexSetup
start|MESSAGE_ID|b5ae330b658e4658b9bd6b8e9e41d285
start|PRIORITY|6
start|TORVEX_MODE|unattended
start|TORVEX_PLATFORM|4.0-or-higher
start|TORVEX_KIT|$demo/run
start|TORVEX_LOG|$work/install.log
start|MESSAGE|Torvex Setup (unattended) started to install the 4.0-or-higher list from the kit $demo/run; log: $work/install.log.
end|MESSAGE_ID|9d2730c02a8e4e81b816a01fdb068cd6
end|PRIORITY|6
end|TORVEX_STATUS|0
end|TORVEX_REASON|the list ran to its end
end|TORVEX_RUNS|6
end|TORVEX_DURATION_MS|[0-9]*
end|TORVEX_PLATFORM|4.0-or-higher
end|MESSAGE|Torvex Setup (unattended) ended with status 0: the list ran to its end (6 runs of the 4.0-or-higher list in * ms; kit $demo/run; log: $work/install.log).
CASES

echo "-- no handheld: a warning, with no runs"
rm -rf "$TORVEX_HANDHELD"
run 10 --unattended --accept-licence
wait_entries 4
end=$(entry 4)
[[ $(field "$end" PRIORITY) == 4 ]] || fail "no handheld: PRIORITY $(field "$end" PRIORITY), not 4"
[[ $(field "$end" TORVEX_STATUS)/$(field "$end" TORVEX_RUNS) == 10/0 ]] || fail "no handheld: $end"
[[ $(field "$end" TORVEX_LOG) == "" ]] || fail "no handheld: TORVEX_LOG $(field "$end" TORVEX_LOG)"

echo "-- --check and --no-system-log: nothing"
run 10 --check
run 10 --unattended --accept-licence --no-system-log
sleep 0.5
(( $(wc -l <"$work/entries") == 4 )) || fail "entries for --check or --no-system-log: $(tail -n +5 "$work/entries")"

echo "-- a kit named with a line break and an escape: the sentence on one line, the field exact"
odd=$work/$'kit\n\e[1m'
mkdir "$odd" "$TORVEX_HANDHELD" && cp "$demo/run/"* "$odd/"
run 0 --unattended --accept-licence --kit "$odd"
wait_entries 5
start=$(entry 5)
[[ $(field "$start" TORVEX_KIT) == "$odd" ]] || fail "odd kit: TORVEX_KIT $(field "$start" TORVEX_KIT)"
[[ $(field "$start" MESSAGE) == *" kit $work/kit\\x0A\\x1B[1m; log: none." ]] ||
    fail "odd kit: MESSAGE $(field "$start" MESSAGE)"

echo "-- refused for another Setup's lock: its result alone, a warning"
wait_entries 6
flock "$TORVEX_LOCK" sleep 30 &
holder=$!
for _ in $(seq 100); do flock -n "$TORVEX_LOCK" true || break; sleep 0.05; done
run 17 --unattended --accept-licence
kill "$holder"
wait_entries 7
end=$(entry 7)
[[ $(field "$end" MESSAGE_ID)/$(field "$end" PRIORITY)/$(field "$end" TORVEX_STATUS) == 9d2730c02a8e4e81b816a01fdb068cd6/4/17 ]] ||
    fail "refused: $end"
[[ $(field "$end" TORVEX_RUNS)/$(field "$end" TORVEX_PLATFORM) == 0/4.0-or-higher ]] || fail "refused: $end"
(( $(wc -l <"$work/entries") == 7 )) || fail "refused: more than its result: $(tail -n +7 "$work/entries")"

exit $failed
