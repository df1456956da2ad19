#!/usr/bin/env bash
# Enables Debian source packages from this machine's own package sources,
# for the Windows SDK's fallback build (scripts/windows-sdk.sh). For every
# enabled binary entry it writes the matching source entry, a copy of the
# entry with all its options, only its type changed:
#   deb822 (sources.list.d/*.sources): the stanza with "Types: deb-src",
#     into sources.list.d/torvex-deb-src.sources;
#   one-line (sources.list, sources.list.d/*.list): the same line with
#     deb-src for deb, into sources.list.d/torvex-deb-src.list.
# What apt reads decides: entries it does not read (disabled or commented
# out) are left out, and so are the archives, suites and components that
# have a source entry already, in either format; CD-ROM entries too.
# The new files (readable by all unless one of the sources files is not)
# are put in place only once apt, given a copy of the machine's sources with
# them added, reads them without an error or a new warning; the files it
# wrote before are replaced (or removed, when every entry has its sources
# already). When there is nothing it can use, or apt refuses the result, it
# says so and stops, touching nothing.
# Usage: deb-src-entries.sh [ROOT]   the apt configuration under ROOT/etc/apt (default /)
# Exit status: 0 written or nothing to do, 1 nothing usable, 2 usage,
# 3 apt cannot read the sources (as they are, or with the new entries).
set -euo pipefail

(( $# <= 1 )) || { echo "usage: deb-src-entries.sh [ROOT]" >&2; exit 2; }
root=${1:-/}
apt=${root%/}/etc/apt
parts=$apt/sources.list.d
ours=(torvex-deb-src.sources torvex-deb-src.list)
say() { echo "deb-src-entries.sh: $*" >&2; }
command -v apt-get >/dev/null || { say "apt-get not found; this is for Debian and its derivatives"; exit 1; }

sudo=()
[[ -w $parts || $(id -u) -eq 0 ]] || sudo=(sudo)
# Temporaries in the sources folder carry this run's id, so that an
# interruption between creating and naming one still removes it.
scratch=$(mktemp -d)
cleanup() {
    rm -rf "$scratch"
    local left=("$parts"/.torvex-deb-src.$$.*)
    [[ -e ${left[0]} ]] && "${sudo[@]}" rm -f -- "${left[@]}"
    return 0
}
trap cleanup EXIT
trap 'exit 129' HUP
trap 'exit 130' INT
trap 'exit 143' TERM

# A snapshot of what apt reads (names as apt takes them; files starting with
# a dot and other names it skips), without the files of ours being replaced.
# A URI may carry a password: when some of these files are not for every
# user to read, neither are the new ones.
mkdir "$scratch/parts"
mode=644
snapshot() { # <file> <copy>
    cp -- "$1" "$2"
    (( 8#$(stat -L -c %a -- "$1") & 4 )) || mode=600
}
[[ -f $apt/sources.list ]] && snapshot "$apt/sources.list" "$scratch/sources.list"
shopt -s nullglob
for file in "$parts"/*; do
    name=${file##*/}
    [[ $name =~ ^[A-Za-z0-9_.-]+\.(list|sources)$ && -f $file ]] || continue
    [[ $name == "${ours[0]}" || $name == "${ours[1]}" ]] || snapshot "$file" "$scratch/parts/$name"
done
shopt -u nullglob

# Every index apt would fetch, one "type uri suite component" a line. The
# lists and cache folders are scratch ones: this reads the sources only.
tab=$'\t'
read_sources() { # <targets> <messages>
    LC_ALL=C apt-get -o Dir::Etc::SourceList="$scratch/sources.list" -o Dir::Etc::SourceParts="$scratch/parts" \
        -o Dir::State::Lists="$scratch/lists" -o Dir::Cache="$scratch/cache" indextargets --no-release-info \
        --format "\$(TARGET_OF)$tab\$(REPO_URI)$tab\$(RELEASE)$tab\$(COMPONENT)" >"$1" 2>"$2"
}
# apt's messages, naming the machine's files rather than their copies.
relay() { # <messages>
    local text
    text=$(<"$1")
    text=${text//"$scratch/parts"/"$parts"}
    printf '%s\n' "${text//"$scratch/sources.list"/"$apt/sources.list"}" >&2
}
if ! read_sources "$scratch/targets" "$scratch/before"; then
    say "apt cannot read this machine's package sources as they are; nothing changed:"
    relay "$scratch/before"
    exit 3
fi

shopt -s nullglob
read=("$scratch"/parts/*.list "$scratch"/parts/*.sources)
shopt -u nullglob
[[ -f $scratch/sources.list ]] && read=("$scratch/sources.list" "${read[@]}")
# Stanzas are separated by blank lines; a field goes on in lines that start
# with a blank (an inline Signed-By key, say); lines starting with # are
# comments. One-line entries are "deb [options] URI suite components".
# Writes the new entries and prints how many entries had their sources.
awk -v out822="$scratch/new.sources" -v outline="$scratch/new.list" -v targets="$scratch/targets" '
function slash(u) { return u ~ /\/$/ ? u : u "/" }
function words(s, into) { gsub(/^[ \t]+|[ \t]+$/, "", s); return s == "" ? 0 : split(s, into, /[ \t]+/) }
# apt: a whole number 0, or no, false, without, off, disable, in any case.
function disabled(v) {
    v = tolower(v)
    gsub(/^[ \t]+|[ \t]+$/, "", v)
    return v ~ /^[+-]?(0+|0x0+)$/ || v == "no" || v == "false" || v == "without" || v == "off" || v == "disable"
}
# Sorts the entry'"'"'s archive, suite and component triples into those apt
# reads (nread) and those of them without sources (nmiss, in mu ms mc).
function sort_out(nu, u, ns, s, nc, c,    i, j, k, t, comp) {
    nall = nread = nmiss = 0
    for (i = 1; i <= nu; i++) for (j = 1; j <= ns; j++) for (k = 1; k <= (nc ? nc : 1); k++) {
        comp = nc ? c[k] : ""
        t = slash(u[i]) "\t" s[j] "\t" comp
        nall++
        if (!(t in reads) || u[i] ~ /^cdrom:/) continue
        nread++
        if (t in have) continue
        have[t] = 1
        nmiss++; mu[nmiss] = u[i]; ms[nmiss] = s[j]; mc[nmiss] = comp
    }
    if (nread && !nmiss) present++
}
# The missing triples as (archive, suite) groups with their components.
function group(    i, g) {
    ngroups = 0
    split("", gcomps)
    for (i = 1; i <= nmiss; i++) {
        g = mu[i] "\t" ms[i]
        if (!(g in gcomps)) { gkey[++ngroups] = g; gcomps[g] = "" }
        if (mc[i] != "") gcomps[g] = gcomps[g] " " mc[i]
    }
}
function stanza_out(text) { printf "%s%s", (written822++ ? "\n" : ""), text > out822 }
function flush(    i, text, f, nu, u, ns, s, nc, c, g, parts) {
    if (lines && !disabled(value["enabled"]) && (" " value["types"] " ") ~ /[ \t]deb[ \t]/) {
        nu = words(value["uris"], u); ns = words(value["suites"], s); nc = words(value["components"], c)
        sort_out(nu, u, ns, s, nc, c)
        if (nmiss && nmiss == nall) {
            text = ""
            for (i = 1; i <= lines; i++)
                if (field[i] != "types") text = text line[i] "\n"
                else if (line[i] !~ /^[ \t]/) text = text "Types: deb-src\n"
            stanza_out(text)
        } else if (nmiss) {
            group()
            for (g = 1; g <= ngroups; g++) {
                split(gkey[g], parts, "\t")
                text = "Types: deb-src\nURIs: " parts[1] "\nSuites: " parts[2] "\n"
                if (gcomps[gkey[g]] != "") text = text "Components:" gcomps[gkey[g]] "\n"
                for (i = 1; i <= lines; i++)
                    if (field[i] !~ /^(types|uris|suites|components)$/) text = text line[i] "\n"
                stanza_out(text)
            }
        }
    }
    lines = 0
    split("", value)
}
function oneline(text,    opts, i, w, n, u, s, c, g, parts) {
    sub(/#.*/, "", text)
    gsub(/^[ \t]+|[ \t]+$/, "", text)
    if (text !~ /^deb[ \t]/) return
    text = substr(text, 4)
    sub(/^[ \t]+/, "", text)
    opts = ""
    if (text ~ /^\[/) {
        if (!(i = index(text, "]"))) return
        opts = substr(text, 1, i) " "
        text = substr(text, i + 1)
    }
    if ((n = words(text, w)) < 2) return
    u[1] = w[1]; s[1] = w[2]
    for (i = 3; i <= n; i++) c[i - 2] = w[i]
    sort_out(1, u, 1, s, n - 2, c)
    if (!nmiss) return
    group()
    for (g = 1; g <= ngroups; g++) {
        split(gkey[g], parts, "\t")
        print "deb-src " opts parts[1] " " parts[2] gcomps[gkey[g]] > outline
    }
}
FILENAME == targets {
    split($0, t, "\t")
    if (t[4] == "$(COMPONENT)") t[4] = ""
    if (t[1] == "deb") reads[t[2] "\t" t[3] "\t" t[4]] = 1
    else if (t[1] == "deb-src") have[t[2] "\t" t[3] "\t" t[4]] = 1
    next
}
FNR == 1 { flush() }
{ sub(/\r$/, "") }
FILENAME !~ /\.sources$/ { oneline($0); next }
/^#/ { next }
/^[ \t]*$/ { flush(); next }
/^[ \t]/ {
    if (!lines) next
    line[++lines] = $0; field[lines] = name
    value[name] = value[name] " " $0
    next
}
{
    colon = index($0, ":")
    name = tolower(substr($0, 1, colon ? colon - 1 : length($0)))
    line[++lines] = $0; field[lines] = name
    value[name] = substr($0, colon + 1)
}
END { flush(); print present + 0 }' "$scratch/targets" "${read[@]}" >"$scratch/present"
present=$(<"$scratch/present")
new=()
for kind in sources list; do [[ -s $scratch/new.$kind ]] && new+=("$kind"); done

if (( ${#new[@]} == 0 && present == 0 )); then
    say "no enabled Debian package source (deb) found in $apt/sources.list or $parts/;"
    say "enable source packages by hand (a deb-src entry for the release's main component), then run apt-get update"
    exit 1
fi
(( ${#new[@]} )) || say "source packages are enabled already; nothing to add"

# apt must read the sources with the new files without an error or a
# warning it did not give before (a target configured twice, say).
if (( ${#new[@]} )); then
    for kind in "${new[@]}"; do cp -- "$scratch/new.$kind" "$scratch/parts/torvex-deb-src.$kind"; done
    status=0
    read_sources "$scratch/targets" "$scratch/after" || status=$?
    grep -vxF -f "$scratch/before" "$scratch/after" >"$scratch/news" || true
    if (( status )) || grep -q '^[EW]:' "$scratch/news"; then
        say "apt does not accept the source entries made for this machine; nothing changed:"
        relay "$scratch/news"
        exit 3
    fi
fi

# The old files go first and each new one is renamed into place whole, so
# that apt, whenever it looks, reads either what it read before or a part
# of what was checked above.
[[ -d $parts ]] || "${sudo[@]}" mkdir -p -- "$parts"
"${sudo[@]}" rm -f -- "$parts/${ours[0]}" "$parts/${ours[1]}"
for kind in "${new[@]}"; do
    tmp=$("${sudo[@]}" mktemp "$parts/.torvex-deb-src.$$.XXXXXX")
    "${sudo[@]}" cp -- "$scratch/new.$kind" "$tmp"
    "${sudo[@]}" chmod "$mode" "$tmp"
    "${sudo[@]}" mv -f -T -- "$tmp" "$parts/torvex-deb-src.$kind"
    say "wrote $parts/torvex-deb-src.$kind"
done
exit 0
