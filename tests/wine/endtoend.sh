#!/usr/bin/env bash
# The Windows zip, unpacked into a folder whose name has spaces, started from
# there under Wine on its own X server as a user would, and driven with real
# input to the end of an install of the "Earlier" list onto the simulated
# handheld, with the real pauses, writing its log; meanwhile a second Setup
# is refused. The handheld's rapi.dll lies in the prefix's system32 and the
# application manager is named in the registry. The zip holds one program
# file, which loads Windows' own DLLs only. Then the same list passive, which
# closes by itself with 0, and its two entries in the event log as Wine's
# ReportEventW reports them. Screenshots go to <build>/wine-shots.
# Usage: endtoend.sh <Windows build dir>
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)

build=$(cd "$1" && pwd)
shots=$build/wine-shots
run="$build/wine-run.sh"
rm -rf "$shots"
mkdir -p "$shots"
work=$(mktemp -d)
xvfb_pid=""
wizard_pid=""
cleanup() {
    [[ -n $wizard_pid ]] && kill "$wizard_pid" 2>/dev/null || true
    "$build/wine-stop.sh"
    [[ -n $xvfb_pid ]] && kill "$xvfb_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; [[ -s $work/wizard.log ]] && cat "$work/wizard.log" >&2; exit 1; }
step() { echo "-- $*"; }
windows_path() { echo "Z:${1//\//\\}"; }
source "$here/../lib/windowdriver.sh"
# The walk reads the English titles, whatever this machine speaks.
export LC_ALL=C.UTF-8

# Wine's processes of earlier runs belong to another X server.
"$build/wine-stop.sh"
start_private_display

step "unpacking the zip into a folder with spaces"
zip=$(cat "$build/zip-name.txt")
folder="$work/Torvex Setup ${zip%.zip}"
mkdir -p "$folder"
(cd "$folder" && cmake -E tar xf "$build/$zip")
folder="$folder/${zip%.zip}"
# One program file, the texts, and the kit: no DLL, no plugin folder, no
# test or demo file.
others=$(cd "$folder" && find . -mindepth 1 ! -name TorvexSetup.exe ! -name '*.txt' ! -name '*.ini' ! -name '*.cab')
[[ -f $folder/TorvexSetup.exe && -z $others ]] || fail "zip contents besides the program, texts and kit: $others"
for text in README LICENSE Qt-LGPL-3.0 GPL-3.0 THIRD-PARTY-NOTICES; do
    [[ -s $folder/$text.txt ]] || fail "no $text.txt in the zip"
done
# libjpeg's terms want this sentence with the program.
grep -q 'based in part on the work of the Independent JPEG Group' "$folder/THIRD-PARTY-NOTICES.txt" ||
    fail "the notices lack libjpeg's acknowledgement"
# Qt and the compiler's runtime are linked in: the program loads Windows' own
# DLLs only.
imports=$(x86_64-w64-mingw32-objdump -p "$folder/TorvexSetup.exe" | sed -n 's/^\tDLL Name: //p' | tr 'A-Z' 'a-z')
system='advapi32|authz|comdlg32|d3d11|d3d9|dwmapi|dwrite|dxgi|gdi32|imm32|kernel32|msvcrt|netapi32|ole32|oleaut32|'
system+='shcore|shell32|shlwapi|user32|userenv|uxtheme|version|winmm|ws2_32|wtsapi32|api-ms-win-[a-z0-9-]+'
[[ $(grep -c . <<<"$imports") -ge 5 ]] || fail "no imports read from TorvexSetup.exe"
! grep -vxE "($system)\.dll" <<<"$imports" || fail "TorvexSetup.exe imports DLLs that are not Windows' own"
# Those that Windows may take from the program's folder are delay-loaded,
# after the program has limited the search to system32.
delayed='authz d3d11 d3d9 dwmapi dwrite dxgi netapi32 userenv uxtheme version winmm wtsapi32'
for dll in $delayed; do
    ! grep -qx "$dll.dll" <<<"$imports" || fail "TorvexSetup.exe loads $dll.dll at its start"
    grep -qax "$dll.dll" <(strings -a "$folder/TorvexSetup.exe" | tr 'A-Z' 'a-z') || fail "$dll.dll is not delay-loaded"
done

step "the handheld's rapi.dll in system32, the manager in the registry"
"$here/install-rapi.sh" "$build" || fail "Wine does not start"
manager=$(windows_path "$build/demo/bin/torvex-appmgr.exe")
"$run" reg add 'HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\App Paths\CEAPPMGR.EXE' /ve /d "$manager" /f \
    >/dev/null || fail "registry"
mkdir -p "$work/handheld"
export TORVEX_HANDHELD=$(windows_path "$work/handheld")
export TORVEX_APPMGR_DELAY_MS=200
# This script's Setups keep to a lock of their own, never the machine's.
export TORVEX_LOCK='Global\TorvexSetupTest-'$$

step "DLLs of Windows' names planted beside the program stay unloaded"
planted=$build/tests/torvex_planteddll.dll
cp "$planted" "$work/control.dll"
"$run" regsvr32 /s "$(windows_path "$work/control.dll")" >/dev/null 2>&1 || true
[[ -f $work/control.dll.loaded ]] || fail "the planted DLL leaves no mark when loaded"
for dll in $delayed; do cp "$planted" "$folder/$dll.dll"; done
(cd "$folder" && "$run" ./TorvexSetup.exe --version >/dev/null) || fail "TorvexSetup.exe --version beside planted DLLs"
marks() { ! compgen -G "$folder/*.loaded" || fail "DLLs loaded from the program's folder: $(cd "$folder" && ls *.loaded)"; }
marks

cd "$folder"
"$run" ./TorvexSetup.exe --log "$(windows_path "$work/window.log")" >"$work/wizard.log" 2>&1 &
wizard_pid=$!
window=$(find_window 60 '^Torvex Setup$') || fail "no wizard window"
sleep 1
xdotool windowfocus --sync "$window" || true

CLICK_PAUSE=0.5
walk_to_ready_page "${option_earlier[@]}"

step "install"
started=$(date +%s)
click "${next[@]}"
sleep 2
shot 5-installing
# One Setup at a time: a second one is refused while this one installs.
status=0
"$run" ./TorvexSetup.exe --unattended --accept-licence --platform earlier >"$work/second.log" 2>&1 || status=$?
(( status == 17 )) || { cat "$work/second.log"; fail "a second Setup exited with $status, not 17"; }
box=$(find_window 150 '^Information$') || fail "no success box"
elapsed=$(( $(date +%s) - started ))
sleep 0.5
import -window "$box" "$shots/6-success.png"
(( elapsed >= 57 )) || fail "install took ${elapsed}s, less than its 57 s of pauses"
xdotool windowfocus --sync "$box" || true
xdotool key Return
status=0
wait "$wizard_pid" || status=$?
wizard_pid=""
(( status == 0 )) || fail "wizard exited with $status, not 0"

# Each of the list's six runs put its component's packages on the handheld.
installed=$(cd "$work/handheld/Program Files" 2>/dev/null && ls | sort | tr '\n' ' ')
[[ $installed == "KestLanguages NETCF SDF SQLCE SQLClient Torvex " ]] || fail "on the handheld: $installed"
[[ -n $(find "$work/handheld" -name 'w300*.cab' -print -quit) ]] || fail "not the earlier list's packages"
# The window's log, six runs to its result.
[[ $(grep -c ' run-end: .*: exit code 0$' "$work/window.log") == 6 &&
   $(tail -n1 "$work/window.log") == *" result: status 0 (the list ran to its end)"* ]] ||
    { cat "$work/window.log"; fail "the window's log"; }
# Nor did the window load any of them.
marks

step "passive, the earlier list: closed by itself with 0, its events as Wine reports them"
rm -rf "$work/handheld/Program Files"
# Wine's ReportEventW names the type and the event ID in its fixme line, and
# gives each insertion string on the eventlog channel (trace for information,
# warn for a warning, err for an error).
status=0
WINEDEBUG=-all,+eventlog,fixme+advapi timeout 300 "$run" ./TorvexSetup.exe --passive --accept-licence \
    --platform earlier --log "$(windows_path "$work/passive.log")" >"$work/passive.out" 2>"$work/passive.err" ||
    status=$?
(( status == 0 )) || { cat "$work/passive.err" >&2; fail "the passive run exited with $status, not 0"; }
installed=$(cd "$work/handheld/Program Files" 2>/dev/null && ls | sort | tr '\n' ' ')
[[ $installed == "KestLanguages NETCF SDF SQLCE SQLClient Torvex " ]] || fail "passive, on the handheld: $installed"
[[ $(tail -n1 "$work/passive.log") == *" result: status 0 (the list ran to its end)"* ]] ||
    { cat "$work/passive.log"; fail "the passive log"; }
events=$(grep -a -E 'ReportEventW' "$work/passive.err" | tr -d '\r')
# Information (0x0004), IDs 1000 (0x3e8) and 1100 (0x44c), nine and five strings.
grep -q 'fixme:advapi:ReportEventW (.*,0x0004,0x0000,0x000003e8,.*,0x0005,0x00000000,' <<<"$events" ||
    { echo "$events" >&2; fail "no start event of type information, ID 1000, five strings"; }
grep -q 'fixme:advapi:ReportEventW (.*,0x0004,0x0000,0x0000044c,.*,0x0009,0x00000000,' <<<"$events" ||
    { echo "$events" >&2; fail "no result event of type information, ID 1100, nine strings"; }
for text in 'L"Torvex Setup (passive) started to install the earlier list from the kit ' 'L"passive"' \
    'L"Torvex Setup (passive) ended with status 0: the list ran to its end (6 runs of the earlier list ' \
    'L"0"' 'L"the list ran to its end"' 'L"earlier"' 'L"6"'; do
    grep -qF "trace:eventlog:ReportEventW $text" <<<"$events" || { echo "$events" >&2; fail "no insertion string $text"; }
done
echo "Windows end-to-end install passed in ${elapsed}s of install, and the passive one"
