#!/usr/bin/env bash
# The program's layers, read from its includes. Each room of the program has
# a rank; a file may include its own room and rooms ranked below it, never a
# room above it, nor a room of the same rank beside it (the window and the
# unattended run know nothing of each other). A file of one system
# (name_unix.cpp, name_win.cpp) never includes the other system's files, and
# a file for both systems includes neither. Names file and line of every
# include that breaks a rule and fails; the tests, the demo and the
# benchmarks may include any room, but keep the rule of the systems.
#   layers.sh SOURCE_DIR          checks the tree
#   layers.sh --self-test SOURCE_DIR
#                                 also plants each kind of wrong include in a
#                                 copy of the tree and fails unless the check
#                                 finds it
set -euo pipefail

# Room and rank. The rooms of platform/ rank among themselves below device/:
# text and time use no other; the machine lock starts its keeper with the
# processes; the seams at platform/ itself gather them all.
rooms='
platform/text 10
platform/time 10
platform/dialogs 11
platform/process 11
platform/registry 11
platform/remoteapi 11
platform/io 11
platform/systemlog 11
platform/lock 12
platform 13
device 20
assets 20
install 30
wizard 40
unattended 40
app 50
'

# Reads `file:line:include line` rows; prints each broken rule.
check_includes() {
    awk -v rooms="$rooms" '
        BEGIN {
            n = split(rooms, lines, "\n")
            for (i = 1; i <= n; i++)
                if (split(lines[i], f, " ") == 2) rank[f[1]] = f[2]
        }
        function room(path,   r, best) {
            best = ""
            for (r in rank)
                if (index(path, r "/") == 1 && length(r) > length(best)) best = r
            return best
        }
        function sys_of(path) {
            if (path ~ /_unix\.[a-z]+$/) return "unix"
            if (path ~ /_win\.[a-z]+$/) return "win"
            return ""
        }
        {
            file = $0; sub(/:.*/, "", file)
            rest = substr($0, length(file) + 2)
            line = rest; sub(/:.*/, "", line)
            include = rest; sub(/^[^"]*"/, "", include); sub(/".*/, "", include)
            sf = sys_of(file); si = sys_of(include)
            if (sf != "" && si != "" && sf != si) {
                print file ":" line ": a file for " sf " includes " include ", a file for " si
                faults++
            }
            from = room(file); to = room(include)
            if (from == "" || to == "" || from == to) next
            if (rank[to] > rank[from]) {
                print file ":" line ": " from " includes " include " from " to ", a room above it"
                faults++
            } else if (rank[to] == rank[from]) {
                print file ":" line ": " from " includes " include " from " to ", a room beside it"
                faults++
            }
        }
        END {
            if (faults) { print faults " include(s) break the layers"; exit 1 }
        }'
}

check() {
    cd "$1"
    find . \( -name .git -o -name 'build*' \) -prune -o -type f \( -name '*.cpp' -o -name '*.h' \) -print0 |
        sort -z | xargs -0 grep -n -H -E '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' | sed 's|^\./||' |
        check_includes
}

self_test() {
    local top=$1 scratch status=0
    scratch=$(mktemp -d)
    trap 'rm -rf "$scratch"' RETURN
    # file to plant in | the include planted | what the check must say
    local -a rows=(
        'platform/text/plant.cpp|#include "install/exitstatus.h"|a room above it'
        'install/plant.cpp|#include "wizard/form1.h"|a room above it'
        'wizard/plant.cpp|#include "unattended/unattendedrun.h"|a room beside it'
        'platform/time/plant.cpp|#include "platform/io/console.h"|a room above it'
        'platform/process/plant_unix.cpp|#include "platform/registry/registrytext_win.h"|a file for win'
        'platform/process/plant.cpp|#include "platform/lock/instancelock.h"|a room above it'
        'platform/registry/plant.cpp|#include "platform/remoteapi/remoteapi.h"|a room beside it'
        'tests/plant_win.cpp|#include "platform/io/console_unix.h"|a file for unix'
    )
    local row file include says
    for row in "${rows[@]}"; do
        IFS='|' read -r file include says <<<"$row"
        rm -rf "$scratch/tree"
        mkdir "$scratch/tree"
        (cd "$top" && find . \( -name .git -o -name 'build*' \) -prune -o -type f \( -name '*.cpp' -o -name '*.h' \) -print0 |
            xargs -0 cp --parents -t "$scratch/tree")
        mkdir -p "$scratch/tree/$(dirname "$file")"
        printf '// planted\n%s\n' "$include" >"$scratch/tree/$file"
        if (check "$scratch/tree") >"$scratch/out" 2>&1; then
            echo "FAIL: a planted $include in $file was not found"
            status=1
        elif ! grep -q "^$file:2: .*$says" "$scratch/out"; then
            echo "FAIL: a planted $include in $file was not named as expected:"
            cat "$scratch/out"
            status=1
        fi
    done
    return "$status"
}

if [[ ${1:-} == --self-test ]]; then
    top=$(cd "$2" && pwd)
    (check "$top")
    self_test "$top"
    echo "The layers hold, and each kind of wrong include planted was found"
else
    check "$(cd "$1" && pwd)"
    echo "The layers hold"
fi
