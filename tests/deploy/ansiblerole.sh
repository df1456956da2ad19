#!/usr/bin/env bash
# The Ansible role of deploy/ansible, run with the example playbook against
# this machine on the demo's simulated handheld: docked (changed, status 0),
# docked only after the first try (retried, then 0), a kit missing a file
# (failed with 12 and the reason from Setup's JSON), check mode (Setup's
# --check: changed, no log), and a Setup killed in the middle of a line
# (failed with the signal). The lint first:
# ansible-lint where it is installed, else the playbook's syntax check.
# Usage: ansiblerole.sh <program> <demo dir> <source dir>
set -uo pipefail

program=$1
demo=$(cd "$2" && pwd)
deploy=$(cd "$3/deploy/ansible" && pwd)
if ! command -v ansible-playbook >/dev/null; then
    echo "SKIP: ansible-playbook is not installed (scripts/install-deps.sh installs ansible-core)"
    exit 77
fi
work=$(mktemp -d)
watcher=""
trap '[[ -n $watcher ]] && kill "$watcher" 2>/dev/null; rm -rf "$work"' EXIT
unset DISPLAY WAYLAND_DISPLAY
export ANSIBLE_CONFIG=$deploy/ansible.cfg ANSIBLE_LOCAL_TEMP=$work/ansible-tmp ANSIBLE_HOME=$work/ansible-home
export ANSIBLE_NOCOLOR=1 ANSIBLE_FORCE_COLOR=0
failed=0
fail() { echo "FAIL: $*"; failed=1; }

echo "-- lint"
if command -v ansible-lint >/dev/null; then
    (cd "$deploy" && ansible-lint --offline playbook.yml) || fail "ansible-lint"
else
    ansible-playbook --syntax-check -i localhost, "$deploy/playbook.yml" || fail "syntax check"
fi

# Runs the example playbook here, with Setup's pauses a thousand times
# shorter; the role's output goes to $work/<name>.out. Prints the status.
play() { # name kit [more -e]
    local name=$1 kit=$2 status=0
    shift 2
    ansible-playbook -i localhost, -c local "$deploy/playbook.yml" \
        -e torvexsetup_hosts=localhost -e ansible_become=false -e ansible_python_interpreter=auto_silent \
        -e "torvexsetup_program=$program" -e "torvexsetup_kit=$kit" -e "torvexsetup_log=$work/$name.log" \
        -e torvexsetup_retries=3 -e torvexsetup_delay=1 \
        -e "{\"torvexsetup_environment\": {\"TORVEX_HANDHELD\": \"$work/handheld\", \"TORVEX_REGISTRY\": \"$demo/run/registry.reg\", \"LD_LIBRARY_PATH\": \"$demo/lib\", \"TORVEX_LOCK\": \"$work/setup.lock\", \"TORVEX_APPMGR_DELAY_MS\": \"0\"}}" \
        "$@" >"$work/$name.out" 2>&1 || status=$?
    echo "$status"
}
recap() { grep -E '^localhost +:' "$work/$1.out"; }

echo "-- docked: changed, status 0"
mkdir "$work/handheld"
status=$(play docked "$demo/run")
recap docked | grep -q 'changed=1 .*failed=0' || fail "docked: $(recap docked)"
(( status == 0 )) || fail "docked: ansible-playbook exited with $status"
[[ $(tail -n1 "$work/docked.log") == *" result: status 0 (the list ran to its end)" ]] || fail "docked: log ends $(tail -n1 "$work/docked.log")"
(( failed == 0 )) || cat "$work/docked.out"

echo "-- docked only after the first try: retried, then 0"
rm -rf "$work/handheld"
# Docks the handheld once the first try has ended with status 10.
(
    for _ in $(seq 600); do
        grep -q ' result: status 10 ' "$work/undocked.log" 2>/dev/null && { mkdir "$work/handheld"; exit 0; }
        sleep 0.05
    done
) &
watcher=$!
status=$(play undocked "$demo/run")
wait "$watcher"
watcher=""
recap undocked | grep -q 'changed=1 .*failed=0' || fail "undocked: $(recap undocked)"
grep -q 'FAILED - RETRYING' "$work/undocked.out" || fail "undocked: no retry"
[[ $(grep -c ' result: status ' "$work/undocked.log") == 2 ]] || fail "undocked: not two tries"
(( failed == 0 )) || cat "$work/undocked.out"

echo "-- a kit missing a file: failed with 12 and the reason"
mkdir "$work/kit"
cp "$demo/run/"* "$work/kit/"
rm "$work/kit/sql.wce4.armv4.ini"
status=$(play missing "$work/kit")
(( status != 0 )) || fail "missing: ansible-playbook succeeded"
recap missing | grep -q 'changed=0 .*failed=1' || fail "missing: $(recap missing)"
grep -q '"msg": "TorvexSetup ended with status 12: .*sql.wce4.armv4.ini' "$work/missing.out" ||
    fail "missing: no failure message with status 12 and the missing file"
grep -q 'RETRYING' "$work/missing.out" && fail "missing: retried"
(( failed == 0 )) || cat "$work/missing.out"

echo "-- check mode: Setup's --check, changed, and no log written"
status=$(play checkmode "$demo/run" --check)
recap checkmode | grep -q 'changed=1 .*failed=0' || fail "check mode: $(recap checkmode)"
[[ ! -e $work/checkmode.log ]] || fail "check mode: a log was written"
(( failed == 0 )) || cat "$work/checkmode.out"

echo "-- Setup killed while writing a line: failed with the signal, not a JSON error"
cat >"$work/killed" <<'SCRIPT'
#!/bin/sh
printf '{"time":"t","event":"run-st'
kill -9 $$
SCRIPT
chmod +x "$work/killed"
status=$(play killed "$demo/run" -e "torvexsetup_program=$work/killed")
recap killed | grep -q 'failed=1' || fail "killed: $(recap killed)"
grep -q '"msg": "TorvexSetup ended with signal 9: ' "$work/killed.out" || fail "killed: no failure message with the signal"
(( failed == 0 )) || cat "$work/killed.out"

exit $failed
