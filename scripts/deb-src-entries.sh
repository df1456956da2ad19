#!/usr/bin/env bash
# Enables Debian source packages from this machine's own package sources,
# for the Windows SDK's fallback build (scripts/windows-sdk.sh). For every
# enabled binary entry it writes the matching source entry:
#   deb822 (sources.list.d/*.sources): a stanza with "Types: deb-src" and the
#     entry's URIs, Suites, Components and Signed-By, into
#     sources.list.d/torvex-deb-src.sources;
#   one-line (sources.list, sources.list.d/*.list): the same line with
#     deb-src for deb, into sources.list.d/torvex-deb-src.list.
# Entries that already have their sources, and CD-ROM entries, are left out.
# The files it wrote before are replaced (or removed, when every entry has
# its sources already). When there is nothing it can use it says what to do
# and stops, touching nothing.
# Usage: deb-src-entries.sh [ROOT]   the apt configuration under ROOT/etc/apt (default /)
# Exit status: 0 written or nothing to do, 1 nothing usable, 2 usage.
set -euo pipefail

(( $# <= 1 )) || { echo "usage: deb-src-entries.sh [ROOT]" >&2; exit 2; }
root=${1:-/}
apt=${root%/}/etc/apt
parts=$apt/sources.list.d
say() { echo "deb-src-entries.sh: $*" >&2; }

deb822=()
oneline=()
[[ -f $apt/sources.list ]] && oneline+=("$apt/sources.list")
shopt -s nullglob
for file in "$parts"/*.list; do [[ $file == */torvex-deb-src.list ]] || oneline+=("$file"); done
for file in "$parts"/*.sources; do [[ $file == */torvex-deb-src.sources ]] || deb822+=("$file"); done

# Stanzas are separated by blank lines; a field goes on in lines that start
# with a blank (an inline Signed-By key, say). Prints the new stanzas; the
# last line says how many entries already had their sources.
from_deb822() {
    awk '
    function reset() { types = ""; enabled = ""; uris = ""; kept = ""; fields = 0; keeping = 0 }
    function flush() {
        if (fields && tolower(enabled) != "no") {
            if (types ~ /(^|[ \t])deb-src([ \t]|$)/)
                present++
            else if (types ~ /(^|[ \t])deb([ \t]|$)/ && uris != "" && uris !~ /^cdrom:/)
                printf "%sTypes: deb-src\n%s", (written++ ? "\n" : ""), kept
        }
        reset()
    }
    BEGIN { reset() }
    FNR == 1 { flush() }
    /^#/ { next }
    /^[ \t]*$/ { flush(); next }
    /^[ \t]/ { if (keeping) kept = kept $0 "\n"; next }
    {
        colon = index($0, ":")
        name = tolower(substr($0, 1, colon - 1))
        value = substr($0, colon + 1)
        gsub(/^[ \t]+|[ \t]+$/, "", value)
        fields++
        keeping = name == "uris" || name == "suites" || name == "components" || name == "signed-by"
        if (keeping)
            kept = kept $0 "\n"
        if (name == "types") types = value
        if (name == "enabled") enabled = value
        if (name == "uris") uris = value
    }
    END { flush(); print "#present " present + 0 }' "$@"
}

# "deb [options] URI suite components": the same line as deb-src, unless
# that line is there already.
from_oneline() {
    awk '
    { sub(/^[ \t]+/, "") }
    /^deb-src[ \t]/ { rest = $0; sub(/^deb-src[ \t]+/, "", rest); have[rest] = 1; next }
    /^deb[ \t]/ { rest = $0; sub(/^deb[ \t]+/, "", rest); wanted[++n] = rest }
    END {
        for (i = 1; i <= n; i++) {
            uri = wanted[i]
            sub(/^\[[^]]*\][ \t]*/, "", uri)
            if (wanted[i] in have) present++
            else if (uri !~ /^cdrom:/ && !(wanted[i] in done)) { print "deb-src " wanted[i]; done[wanted[i]] = 1 }
        }
        print "#present " present + 0
    }' "$@"
}

stanzas=""
lines=""
present=0
if (( ${#deb822[@]} )); then
    stanzas=$(from_deb822 "${deb822[@]}")
    present=$(( present + ${stanzas##*#present } ))
    stanzas=$(sed '$d' <<<"$stanzas")
fi
if (( ${#oneline[@]} )); then
    lines=$(from_oneline "${oneline[@]}")
    present=$(( present + ${lines##*#present } ))
    lines=$(sed '$d' <<<"$lines")
fi

if [[ -z $stanzas && -z $lines ]] && (( present == 0 )); then
    say "no enabled Debian package source (deb) found in $apt/sources.list or $parts/;"
    say "enable source packages by hand (a deb-src entry for the release's main component), then run apt-get update"
    exit 1
fi
[[ -z $stanzas && -z $lines ]] && say "source packages are enabled already; nothing to add"

sudo=()
[[ -w $parts || $(id -u) -eq 0 ]] || sudo=(sudo)
write() { # <file> <text>
    printf '%s\n' "$2" | "${sudo[@]}" tee "$1" >/dev/null
    say "wrote $1"
}
"${sudo[@]}" rm -f "$parts/torvex-deb-src.sources" "$parts/torvex-deb-src.list"
[[ -n $stanzas ]] && write "$parts/torvex-deb-src.sources" "$stanzas"
[[ -n $lines ]] && write "$parts/torvex-deb-src.list" "$lines"
exit 0
