#!/usr/bin/env bash
# Starts the built wizard as a user would, in the demo setting, on its own X
# server, and drives it with real input to the end of an install of the
# "4.0.0 or higher" list, with the real pauses, writing its log; meanwhile a
# second Setup is refused. Then --passive with fast pauses, in English and
# German: the installing page at once, 0 with the window closed and no key
# pressed; a kit missing a file ends with 12 and no box waiting; Cancel asks
# once; two SIGTERMs end it with the question open. Screenshots go to $SHOTS.
# Usage: realwindow.sh <build dir> [screenshot dir]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)

build=$(cd "$1" && pwd)
shots=${2:-$build/realwindow-shots}
mkdir -p "$shots"
work=$(mktemp -d)
xvfb_pid=""
wizard_pid=""
cleanup() {
    [[ -n $wizard_pid ]] && kill "$wizard_pid" 2>/dev/null || true
    [[ -n $xvfb_pid ]] && kill "$xvfb_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }
step() { echo "-- $*"; }

source "$here/../lib/windowdriver.sh"
start_private_display
# The walks below read the English titles, whatever this machine speaks;
# LANGUAGE counts only outside the C locale.
unset LC_ALL LC_MESSAGES
export LANG=C.UTF-8 LANGUAGE=en
# The one-Setup-at-a-time lock of this script's Setups only.
export TORVEX_LOCK=$work/setup.lock
# Qt's own runtime folder, which it asks for when the window opens.
export XDG_RUNTIME_DIR=$work/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"

step "the window's language: the system's first that it speaks, or --language"
while IFS='|' read -r environment option title; do
    env $environment "$build/TorvexSetup" $option >"$work/wizard.log" 2>&1 &
    wizard_pid=$!
    find_window 60 "^$title\$" >/dev/null ||
        { cat "$work/wizard.log" "$work/xvfb.log" >&2; fail "$environment $option: no window titled '$title'"; }
    kill "$wizard_pid"
    wait "$wizard_pid" || true
    wizard_pid=""
done <<CASES
LANGUAGE=de||Torvex-Setup
LANGUAGE=it:fr:de||Installation de Torvex
LANGUAGE=de|--language fr|Installation de Torvex
LANGUAGE=de LC_ALL=C||Torvex Setup
LANGUAGE=de LANG=C||Torvex Setup
LANGUAGE=fr LANG=de_DE.UTF-8 LC_MESSAGES=POSIX||Torvex Setup
LANGUAGE=|--language DE|Torvex-Setup
LANGUAGE=|--language fr_CA.UTF-8|Installation de Torvex
CASES

# Starts the wizard with the environment given before the command.
start_wizard() {
    "$@" >"$work/wizard.log" 2>&1 &
    wizard_pid=$!
    window=$(find_window 60 '^Torvex Setup$') ||
        { cat "$work/wizard.log" >&2; fail "no wizard window"; }
    sleep 0.5
    xdotool windowfocus --sync "$window"
}
# Waits for the wizard to exit and checks its exit status.
wizard_exits_with() {
    local status=0
    wait "$wizard_pid" || status=$?
    wizard_pid=""
    (( status == $1 )) || fail "wizard exited with $status, not $1"
}
# Answers the message box with this title by pressing Enter.
answer_box() {
    local box
    box=$(find_window 90 "^$1\$") ||
        { cat "$work/wizard.log" >&2; fail "no $1 box"; }
    sleep 0.3
    import -window "$box" "$shots/$2.png"
    xdotool windowfocus --sync "$box"
    xdotool key Return
    sleep 0.3
}
to_ready_page() {
    click "${next[@]}"
    click 48 296           # "I agree"
    click "${next[@]}"
    click "${option_newer[@]}"
    click "${next[@]}"
}

step "started plainly: no remote-API library, so no handheld"
(
    trap '[[ -n $wizard_pid ]] && kill "$wizard_pid" 2>/dev/null' EXIT
    cd "$build/demo/run"
    # A handheld the sample manager would install onto, were it ever started.
    mkdir -p "$work/unseen"
    start_wizard env -u LD_LIBRARY_PATH TORVEX_REGISTRY="$build/demo/run/registry.reg" \
        TORVEX_HANDHELD="$work/unseen" "$build/TorvexSetup"
    to_ready_page
    click "${next[@]}"
    answer_box Information 0-no-device
    kill -0 "$wizard_pid" || fail "the wizard closed after the no-device message"
    [[ -e "$work/unseen/Program Files" ]] && fail "an application manager ran without a handheld"
    click 444 348          # Cancel, and Yes (the default) to the question
    answer_box Question 0-cancel-question
    wizard_exits_with 14   # cancelled before the first run
)

export TORVEX_HANDHELD=$work/handheld
export TORVEX_APPMGR_DELAY_MS=200
mkdir -p "$TORVEX_HANDHELD"
start_wizard "$build/demo/run-demo.sh" "$build/TorvexSetup" --log "$work/window.log"
walk_to_ready_page "${option_newer[@]}"
# The welcome text is not cut off at its box's bottom.
has_text 1-welcome 240 145 190 2 && fail "welcome text runs past its box"

step "install"
started=$(date +%s)
click "${next[@]}"
# The track (light grey) with the block (navy) sliding along it in the
# first pause, once the window has got that far: a busy machine takes its
# time.
for _ in $(seq 120); do grep -q ' pause: ' "$work/window.log" && break; sleep 0.5; done
grep -q ' pause: ' "$work/window.log" || fail "no pause began"
track_y=$((16 + 3480 / 15 + 12))
for _ in $(seq 60); do
    shot 5-installing
    navy=$(count_colour 5-installing 56 "$track_y" 377 1 "0,0,128")
    (( navy >= 15 )) && break
    sleep 0.5
done
grey=$(count_colour 5-installing 56 "$track_y" 377 1 "192,192,192")
(( navy >= 15 )) || fail "no navy block on the track ($navy pixels)"
(( grey >= 200 )) || fail "no light grey track ($grey pixels)"
first_block=$(first_x 5-installing 56 "$track_y" 377 "0,0,128")
for _ in $(seq 20); do
    sleep 0.5
    shot 6-installing-later
    second_block=$(first_x 6-installing-later 56 "$track_y" 377 "0,0,128")
    [[ -n $second_block && $first_block != "$second_block" ]] && break
done
[[ -n $second_block && $first_block != "$second_block" ]] || fail "the block does not move"

step "a second Setup while this one installs: refused, unattended and in a window"
status=0
"$build/TorvexSetup" --unattended --accept-licence --platform earlier 2>"$work/second.err" || status=$?
(( status == 17 )) || fail "a second unattended Setup exited with $status, not 17: $(cat "$work/second.err")"
"$build/TorvexSetup" >"$work/second.log" 2>&1 &
second_pid=$!
answer_box Information 5-already-running
status=0
wait "$second_pid" || status=$?
(( status == 17 )) || fail "a second Setup's window exited with $status, not 17"

find_window 90 '^Information$' >/dev/null || fail "no success box"
elapsed=$(( $(date +%s) - started ))
(( elapsed >= 42 )) || fail "install took ${elapsed}s, less than its 42 s of pauses"
answer_box Information 7-success
wizard_exits_with 0

# The manager's own output goes nowhere: each run leaves its component's
# folder on the handheld.
runs=$(find "$TORVEX_HANDHELD/Program Files" -mindepth 1 -maxdepth 1 -type d 2>/dev/null | wc -l)
(( runs == 6 )) || { cat "$work/wizard.log"; fail "$runs application manager runs, not 6"; }
[[ -n $(find "$TORVEX_HANDHELD" -name '*.cab' -print -quit) ]] || fail "no packages on the handheld"
# The window's log: the unattended log's lines.
log=$work/window.log
[[ $(grep -c ' start: .*TorvexSetup --log ' "$log") == 1 && $(grep -c ' handheld: version ' "$log") == 1 &&
   $(grep -c ' run-start: run [1-6]/6 ' "$log") == 6 && $(grep -c ' run-end: .*: exit code 0$' "$log") == 6 &&
   $(grep -o ' pause: [0-9]* ticks' "$log" | tr -dc '0-9\n' | paste -sd' ') == "15 10 5 8 4" &&
   $(grep -c ' message: Setup has successfully installed Torvex on your Pocket PC[.]$' "$log") == 1 &&
   $(tail -n1 "$log") == *" result: status 0 (the list ran to its end)" ]] || { cat "$log"; fail "the window's log"; }

# The passive install, with the program's pauses a thousand times shorter
# (its close too) and a manager that holds its third run until the file go
# is there: the installing page at once, in the window's language, no key
# pressed to the end.
fast=$build/tests/unattended/torvex_fastsetup
cat >"$work/heldmanager" <<'SCRIPT'
#!/bin/sh
n=$(($(cat "$HELD/runs" 2>/dev/null || echo 0) + 1)); echo $n > "$HELD/runs"
[ $n = 3 ] && { : > "$HELD/held"; i=0; while [ ! -e "$HELD/go" ] && [ $i -lt 600 ]; do sleep 0.05; i=$((i+1)); done; }
exit 0
SCRIPT
chmod +x "$work/heldmanager"
printf 'REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\CEAPPMGR.EXE]\r\n@="%s"\r\n' \
    "$work/heldmanager" >"$work/held.reg"
mkdir -p "$work/misskit"
cp "$build/demo/run/"*.ini "$work/misskit/"
rm "$work/misskit/sql.wce4.armv4.ini"
passive() { # held folder, more arguments
    export HELD=$1
    shift
    rm -rf "$HELD" && mkdir -p "$HELD"
    TORVEX_REGISTRY=$work/held.reg LD_LIBRARY_PATH=$build/demo/lib "$fast" --passive --accept-licence \
        --platform 4.0-or-higher --kit "$build/demo/run" --log "$HELD/passive.log" "$@" \
        >"$work/wizard.log" 2>"$HELD/err" &
    wizard_pid=$!
}
while IFS='|' read -r language title words; do
    step "passive ($language): the installing page at once, closed with 0 without a key"
    passive "$work/held-$language" --language "$language"
    window=$(find_window 60 "^$title\$") || { cat "$HELD/err" >&2; fail "no passive window"; }
    for _ in $(seq 600); do [[ -e $HELD/held ]] && break; sleep 0.05; done
    [[ -e $HELD/held ]] || fail "the third run did not begin"
    sleep 0.5
    shot "8-passive-$language"
    has_text "8-passive-$language" 56 80 409 65 || fail "no passive note on the installing page"
    navy=$(count_colour "8-passive-$language" 56 "$track_y" 377 1 "0,0,128")
    (( navy >= 15 )) || fail "no sliding block in the passive window"
    : >"$HELD/go"
    find_window 5 '^(Information|Question|Information de|Frage)$' >/dev/null && fail "a box in the passive window"
    wizard_exits_with 0
    grep -q "$words" "$HELD/passive.log" || fail "passive log: no window's message"
    [[ $(tail -n1 "$HELD/passive.log") == *" result: status 0 (the list ran to its end)" ]] ||
        fail "passive log ends: $(tail -n1 "$HELD/passive.log")"
done <<CASES
en|Torvex Setup|message: Setup has successfully installed Torvex
de|Torvex-Setup|message: Torvex wurde erfolgreich
CASES

step "passive, a kit missing a file: 12, with no box waiting"
passive "$work/held-missing" --kit "$work/misskit"
wizard_exits_with 12
grep -q 'sql.wce4.armv4.ini' "$HELD/err" || fail "the missing file is not on standard error: $(cat "$HELD/err")"
step "passive, a log that cannot be opened: 2, the window closed by itself"
passive "$work/held-log" --log "$work/no folder/passive.log"
wizard_exits_with 2

step "passive, Cancel: asked once, 15 after a run"
passive "$work/held-cancel"
window=$(find_window 60 '^Torvex Setup$') || fail "no passive window"
for _ in $(seq 600); do [[ -e $HELD/held ]] && break; sleep 0.05; done
xdotool windowfocus --sync "$window"
click 444 348          # Cancel, and Yes (the default) to the question
answer_box Question 9-passive-cancel
find_window 2 '^Question$' >/dev/null && fail "the cancel question was asked twice"
wizard_exits_with 15
: >"$HELD/go"
# The manager that ran on keeps the lock until it has seen its go-ahead.
for _ in $(seq 600); do flock -n "$TORVEX_LOCK" true && break; sleep 0.05; done

step "passive, two SIGTERMs while the Cancel question is open: 15 at once, unanswered"
passive "$work/held-signals"
window=$(find_window 60 '^Torvex Setup$') || fail "no passive window"
for _ in $(seq 600); do [[ -e $HELD/held ]] && break; sleep 0.05; done
xdotool windowfocus --sync "$window"
click 444 348          # Cancel, the question left open
find_window 10 '^Question$' >/dev/null || fail "no cancel question"
kill -TERM "$wizard_pid"
sleep 0.3
kill -TERM "$wizard_pid"
for _ in $(seq 100); do kill -0 "$wizard_pid" 2>/dev/null || break; sleep 0.05; done
kill -0 "$wizard_pid" 2>/dev/null && fail "the passive run waits for an answer after two SIGTERMs"
wizard_exits_with 15
: >"$HELD/go"
echo "real-window run passed in ${elapsed}s of install"
