#!/usr/bin/env bash
# Enables Debian source packages from this machine's own package sources,
# for the Windows SDK's fallback build (scripts/windows-sdk.sh). For every
# enabled binary entry it writes the matching source entry, a copy of the
# entry with all its options, only its type changed (its targets, which
# would name no source index, left out):
#   deb822 (sources.list.d/*.sources): the stanza with "Types: deb-src",
#     into sources.list.d/torvex-deb-src.sources;
#   one-line (sources.list, sources.list.d/*.list): the same line with
#     deb-src for deb, into sources.list.d/torvex-deb-src.list.
# What apt reads decides: entries it does not read (disabled or commented
# out) are left out, and so are the archives, suites and components that
# have a source entry already, in either format; CD-ROM entries too.
# Each new file is readable by all unless a file apt reads that an entry of
# it was copied from is not. They are put in place only once apt, given a
# copy of the machine's sources with them added, reads them without an error
# or a new warning; each replaces the file it wrote before in one rename, and
# only then is a file of an earlier run that is no longer written removed
# (all of them, when every entry has its sources already). An entry written
# in a way this script does not follow (whose binary index would still have
# no source index) is left out and named. When there is nothing it can use,
# apt refuses the result, or no file can be written, it says so and stops,
# touching nothing.
# The sources are the files apt's configuration names (sources.list and
# sources.list.d/ unless it says otherwise).
# Usage: deb-src-entries.sh [ROOT]   the apt configuration under ROOT/etc/apt (default /)
# Exit status: 0 written or nothing to do, 1 nothing usable, 2 usage,
# 3 apt cannot read its configuration or the sources (as they are, or with
# the new entries), or no entry can be copied for a binary index without a
# source one, 4 the sources are not readable by this user (or their folder
# not writable, with no sudo), 5 the new files, or the temporary ones (in
# TMPDIR), cannot be written (a full disk).
set -euo pipefail
# Field names are compared in the C locale: in a Turkish one, "URIs" lowers
# to "urIs".
export LC_ALL=C
# A closed or broken standard error loses messages, never the run: nothing
# is said before every file is in place, and a failed message is no failure.
# With no standard error at all, a file a command opens could take its place.
trap '' PIPE
[[ -e /dev/fd/2 ]] || exec 2>/dev/null

usage="usage: deb-src-entries.sh [ROOT]   (the apt configuration under ROOT/etc/apt, default /)"
case ${1-/} in
    -h | --help) echo "$usage"; exit 0 ;;
    "" | -*) echo "$usage" >&2 || true; exit 2 ;;
esac
(( $# <= 1 )) || { echo "$usage" >&2 || true; exit 2; }
root=${1-/}
# apt's configuration syntax has no way to quote these.
[[ $root != *[\"$'\n']* ]] || { echo "deb-src-entries.sh: ROOT cannot hold a double quote or a line break" >&2 || true; exit 2; }
list=${root%/}/etc/apt/sources.list
parts=${root%/}/etc/apt/sources.list.d
ours=(torvex-deb-src.sources torvex-deb-src.list)
say() { echo "deb-src-entries.sh: $*" >&2 || true; }
command -v apt-get >/dev/null || { say "apt-get not found; this is for Debian and its derivatives"; exit 1; }

# Only this run's own temporaries are removed: they are named in variables
# as they are made (a trap runs only once the assignment is done).
scratch=
sudo=()
declare -A staged=()
cleanup() {
    [[ -z $scratch ]] || rm -rf -- "$scratch" 2>/dev/null
    # A failure here must not take the place of the status given.
    (( ${#staged[@]} == 0 )) || "${sudo[@]}" rm -f -- "${staged[@]}" || true
    return 0
}
trap cleanup EXIT
trap 'exit 129' HUP
trap 'exit 130' INT
trap 'exit 131' QUIT
trap 'exit 143' TERM
# apt says nothing when its output cannot be written: a full disk would pass
# for sources without entries. The room its output and the copies take
# (far less than this) is made sure of first.
temporaries_unwritable() { say "cannot write temporary files in ${TMPDIR:-/tmp} (full, or not writable); nothing changed"; exit 5; }
# Not named torvex-deb-src.*, which earlier versions of this script, still
# run from older copies, remove when the middle of the name is no live pid.
scratch=$(mktemp -d -t torvex-deb-src-XXXXXX 2>/dev/null) || temporaries_unwritable
{ head -c 4M /dev/zero >"$scratch/room" && rm -- "$scratch/room"; } 2>/dev/null || temporaries_unwritable
# Another root is read with its own apt configuration (apt.conf.d), not this
# machine's.
if [[ $root != / ]]; then
    printf 'Dir "%s/";\n' "$(realpath -m -- "$root")" >"$scratch/apt.conf"
    export APT_CONFIG=$scratch/apt.conf
fi
# The sources are where that configuration puts them.
if ! paths=$(apt-config shell list Dir::Etc::SourceList/f parts Dir::Etc::SourceParts/d 2>"$scratch/before"); then
    say "apt cannot read its configuration; nothing changed:"
    cat "$scratch/before" >&2 || true
    exit 3
fi
eval "$paths"
parts=${parts%/}
# Another root's configuration may name absolute paths, which would be this
# machine's.
if [[ $root != / ]]; then
    for path in "$list" "$parts"; do
        [[ $path == "$(realpath -m -- "$root")"/* ]] ||
            { say "the apt configuration under $root puts its sources outside it ($path); nothing changed"; exit 3; }
    done
fi
[[ -w $parts || $(id -u) -eq 0 ]] || sudo=(sudo)

# A snapshot of the sources, without the files of ours being replaced: every
# file of the folder, so that apt, reading the copies, decides which names
# count as it does on the machine. Sources this user cannot read are not
# taken as empty. A URI may carry a password: the copies of files not for
# every user to read are noted, and so is a new file with an entry of theirs.
unreadable() { say "cannot read $1; run this as root"; exit 4; }
[[ ! -e ${list%/*} || -x ${list%/*} ]] || unreadable "${list%/*}"
[[ ! -e $parts || ( -r $parts && -x $parts ) ]] || unreadable "$parts"
mkdir "$scratch/parts"
declare -A private=()
snapshot() { # <file> <copy>
    [[ -r $1 ]] || unreadable "$1"
    cp -- "$1" "$2"
    (( 8#$(stat -L -c %a -- "$1") & 4 )) || private[$2]=1
}
[[ -f $list ]] && snapshot "$list" "$scratch/sources.list"
for file in "$parts"/*; do
    name=${file##*/}
    [[ -f $file && $name != "${ours[0]}" && $name != "${ours[1]}" ]] && snapshot "$file" "$scratch/parts/$name"
done

# Every index apt would fetch, one "type uri suite component" a line. The
# lists and cache folders are scratch ones: this reads the sources only.
tab=$'\t'
read_sources() { # <targets> <messages>
    apt-get -o Dir::Etc::SourceList="$scratch/sources.list" -o Dir::Etc::SourceParts="$scratch/parts" \
        -o Dir::State::Lists="$scratch/lists" -o Dir::Cache="$scratch/cache" indextargets --no-release-info \
        --format "\$(TARGET_OF)$tab\$(REPO_URI)$tab\$(RELEASE)$tab\$(COMPONENT)" >"$1" 2>"$2"
}
# apt's messages, naming the machine's files rather than their copies.
relay() { # <messages>
    local text
    text=$(<"$1")
    text=${text//"$scratch/parts"/"$parts"}
    printf '%s\n' "${text//"$scratch/sources.list"/"$list"}" >&2 || true
}
if ! read_sources "$scratch/targets" "$scratch/before"; then
    say "apt cannot read this machine's package sources as they are; nothing changed:"
    relay "$scratch/before"
    exit 3
fi

# The binary indexes apt reads (CD-ROMs aside) without a source index, one
# "URI suite component" a line; fails when apt reads no binary index at all.
lacking() { # <targets>
    awk -F '\t' '$2 ~ /^cdrom:/ { next }
        { k = $2 " " $3 ($4 == "$(COMPONENT)" ? "" : " " $4) }
        $1 == "deb" { deb[k] = 1; n++ }
        $1 == "deb-src" { src[k] = 1 }
        END { for (k in deb) if (!(k in src)) print k; exit !n }' "$1"
}
if ! lacking "$scratch/targets" >/dev/null; then
    say "no enabled Debian package source (deb) found in $list or $parts/;"
    say "enable source packages by hand (a deb-src entry for the release's main component), then run apt-get update"
    exit 1
fi

# The files apt reads, in its order, by the names it accepts.
read=()
[[ -f $scratch/sources.list ]] && read+=("$scratch/sources.list")
for file in "$scratch"/parts/*; do
    [[ ${file##*/} =~ ^[A-Za-z0-9_.:-]+\.(list|sources)$ ]] && read+=("$file")
done
# Stanzas are separated by empty lines; a field goes on in lines that start
# with a blank (an inline Signed-By key, say); lines starting with # are
# comments. One-line entries are "deb [options] URI suite components".
# The files each new one has entries from go to from.sources and from.list.
awk -v out822="$scratch/new.sources" -v outline="$scratch/new.list" -v targets="$scratch/targets" \
    -v from822="$scratch/from.sources" -v fromline="$scratch/from.list" '
function slash(u) { return u ~ /\/$/ ? u : u "/" }
# A word of a one-line entry as apt takes it: quotes dropped, %XX decoded.
function unq(w,    out, i) {
    gsub(/"/, "", w)
    while ((i = match(w, /%[0-9A-Fa-f][0-9A-Fa-f]/))) {
        out = out substr(w, 1, i - 1) sprintf("%c", hex(substr(w, i + 1, 1)) * 16 + hex(substr(w, i + 2, 1)))
        w = substr(w, i + 3)
    }
    return out w
}
function hex(d) { return index("0123456789abcdef", tolower(d)) - 1 }
function words(s, into) { gsub(/^[ \t]+|[ \t]+$/, "", s); return s == "" ? 0 : split(s, into, /[ \t]+/) }
# apt: a whole number 0, or no, false, without, off, disable, in any case.
function disabled(v) {
    v = tolower(v)
    gsub(/^[ \t]+|[ \t]+$/, "", v)
    return v ~ /^[+-]?(0+|0x0+)$/ || v == "no" || v == "false" || v == "without" || v == "off" || v == "disable"
}
# Sorts the entry'"'"'s archive, suite and component triples into those apt
# reads (nread) and those of them without sources (nmiss, in mu ms mc).
function sort_out(nu, u, ns, s, nc, c, oneline,    i, j, k, t, comp) {
    nall = nread = nmiss = 0
    for (i = 1; i <= nu; i++) for (j = 1; j <= ns; j++) for (k = 1; k <= (nc ? nc : 1); k++) {
        comp = nc ? c[k] : ""
        t = oneline ? slash(unq(u[i])) "\t" unq(s[j]) "\t" unq(comp) : slash(u[i]) "\t" s[j] "\t" comp
        nall++
        if (!(t in reads) || u[i] ~ /^cdrom:/) continue
        nread++
        if (t in have) continue
        have[t] = 1
        nmiss++; mu[nmiss] = u[i]; ms[nmiss] = s[j]; mc[nmiss] = comp
    }
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
# Targets would leave the copy without its Sources index.
function kept(f) { return f !~ /^targets(-add|-remove)?$/ }
function stanza_out(text) { printf "%s%s", (written822++ ? "\n" : ""), text > out822; print from > from822 }
function flush(    i, text, f, nu, u, ns, s, nc, c, g, parts) {
    if (lines && !disabled(value["enabled"]) && (" " value["types"] " ") ~ /[ \t]deb[ \t]/) {
        nu = words(value["uris"], u); ns = words(value["suites"], s); nc = words(value["components"], c)
        sort_out(nu, u, ns, s, nc, c)
        if (nmiss && nmiss == nall) {
            text = ""
            for (i = 1; i <= lines; i++)
                if (field[i] != "types") { if (kept(field[i])) text = text line[i] "\n" }
                else if (line[i] !~ /^[ \t]/) text = text "Types: deb-src\n"
            stanza_out(text)
        } else if (nmiss) {
            group()
            for (g = 1; g <= ngroups; g++) {
                split(gkey[g], parts, "\t")
                text = "Types: deb-src\nURIs: " parts[1] "\nSuites: " parts[2] "\n"
                if (gcomps[gkey[g]] != "") text = text "Components:" gcomps[gkey[g]] "\n"
                for (i = 1; i <= lines; i++)
                    if (field[i] !~ /^(types|uris|suites|components)$/ && kept(field[i])) text = text line[i] "\n"
                stanza_out(text)
            }
        }
    }
    lines = 0
    split("", value)
}
function oneline(text,    k, rest, opts, i, w, n, u, s, c, g, parts) {
    # A # starts a comment, but not inside the [ options ].
    k = match(text, /^[^#[]*\[[^]]*]/) ? RLENGTH : 0
    rest = substr(text, k + 1)
    sub(/#.*/, "", rest)
    text = substr(text, 1, k) rest
    gsub(/^[ \t]+|[ \t]+$/, "", text)
    if (text !~ /^deb[ \t]/) return
    text = substr(text, 4)
    sub(/^[ \t]+/, "", text)
    opts = ""
    if (text ~ /^\[/) {
        if (!(i = index(text, "]"))) return
        n = words(substr(text, 2, i - 2), w)
        for (k = 1; k <= n; k++) if (w[k] !~ /^target[+-]?=/) opts = opts " " w[k]
        if (opts != "") opts = "[" substr(opts, 2) "] "
        text = substr(text, i + 1)
    }
    if ((n = words(text, w)) < 2) return
    u[1] = w[1]; s[1] = w[2]
    for (i = 3; i <= n; i++) c[i - 2] = w[i]
    sort_out(1, u, 1, s, n - 2, c, 1)
    if (!nmiss) return
    group()
    for (g = 1; g <= ngroups; g++) {
        split(gkey[g], parts, "\t")
        print "deb-src " opts parts[1] " " parts[2] gcomps[gkey[g]] > outline
        print FILENAME > fromline
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
/^$/ { flush(); next }
/^[ \t]/ {
    if (!lines) next
    line[++lines] = $0; field[lines] = name
    value[name] = value[name] " " $0
    next
}
{
    if (!lines) from = FILENAME
    colon = index($0, ":")
    name = tolower(substr($0, 1, colon ? colon - 1 : length($0)))
    sub(/[ \t]+$/, "", name)
    line[++lines] = $0; field[lines] = name
    value[name] = substr($0, colon + 1)
}
END { flush() }' "$scratch/targets" "${read[@]}"
new=()
for kind in sources list; do [[ -s $scratch/new.$kind ]] && new+=("$kind"); done

# apt must read the sources with the new files without an error or a
# warning it did not give before (a target configured twice, say), and
# find a source index for every binary one.
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
# Entries it could not copy are left out, and named once the rest is in place.
lacking "$scratch/targets" | sort >"$scratch/lacking" || true
if [[ -s $scratch/lacking ]] && (( ${#new[@]} == 0 )); then
    say "these have no source entry, and this script cannot copy theirs (written in a way it does not follow); nothing changed:"
    cat "$scratch/lacking" >&2 || true
    exit 3
fi

# Every new file is written whole beside the old ones before any is renamed
# into place, and a file of ours no longer written is removed only after
# that: apt, whenever it looks, and after a run stopped anywhere, reads what
# it read before, or that with a part of what was checked above.
unwritable() { say "cannot write the new files in $parts (a full disk, or sudo refused?); nothing changed"; exit 5; }
if (( ${#sudo[@]} )) && ! command -v sudo >/dev/null &&
   { (( ${#new[@]} )) || [[ -e $parts/${ours[0]} || -e $parts/${ours[1]} ]]; }; then
    say "this user cannot write in $parts, and there is no sudo; run this as root; nothing changed"
    exit 4
fi
(( ${#new[@]} == 0 )) || [[ -d $parts ]] || "${sudo[@]}" mkdir -m 755 -- "$parts" || unwritable
for kind in "${new[@]}"; do
    mode=644
    while IFS= read -r file; do [[ -z ${private[$file]-} ]] || mode=600; done <"$scratch/from.$kind"
    file=$("${sudo[@]}" mktemp "$parts/.torvex-deb-src.XXXXXX") || unwritable
    staged[$kind]=$file
    "${sudo[@]}" cp -- "$scratch/new.$kind" "${staged[$kind]}" 2>/dev/null || unwritable
    "${sudo[@]}" chmod "$mode" "${staged[$kind]}" || unwritable
done
for kind in "${new[@]}"; do
    "${sudo[@]}" mv -f -T -- "${staged[$kind]}" "$parts/torvex-deb-src.$kind"
    unset "staged[$kind]"
done
for kind in sources list; do
    [[ ! -e $parts/torvex-deb-src.$kind || " ${new[*]} " == *" $kind "* ]] ||
        "${sudo[@]}" rm -f -- "$parts/torvex-deb-src.$kind"
done
(( ${#new[@]} )) || say "source packages are enabled already; nothing to add"
for kind in "${new[@]}"; do say "wrote $parts/torvex-deb-src.$kind"; done
if [[ -s $scratch/lacking ]]; then
    say "left out, as this script cannot copy their entries (written in a way it does not follow):"
    cat "$scratch/lacking" >&2 || true
fi
exit 0
