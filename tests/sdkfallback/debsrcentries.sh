#!/usr/bin/env bash
# The Windows SDK fallback's first step: source packages enabled from the
# machine's own package sources, in a temporary apt configuration. Each case
# lays out sources, runs scripts/deb-src-entries.sh on them and compares
# what it wrote; apt itself then reads the result (no network needed).
# Usage: debsrcentries.sh <project dir>
set -uo pipefail
umask 022

script=$1/scripts/deb-src-entries.sh
command -v apt-get >/dev/null || { echo "no apt-get here: skipped"; exit 77; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0
fail() { echo "FAIL: $*"; failed=1; }

key=/usr/share/keyrings/example-archive-keyring.gpg
stock="Types: deb
URIs: http://mirror.invalid/debian
Suites: bookworm bookworm-updates
Components: main
Signed-By: $key

Types: deb
# a comment inside an entry
URIs: http://mirror.invalid/debian-security
Suites: bookworm-security
Components: main contrib
Signed-By: $key"
# What is to be written for them: the same fields, Types deb-src.
stock_src=$(sed -e 's/^Types: deb$/Types: deb-src/' -e '/^#/d' <<<"$stock")
inline="Types: deb
URIs: http://other.invalid/repo
Suites: stable
Components: main
Signed-By:
 -----BEGIN PGP PUBLIC KEY BLOCK-----
 .
 mQINBGQ
 -----END PGP PUBLIC KEY BLOCK-----
Architectures: amd64"
inline_src=${inline/Types: deb/Types: deb-src}
# Options a source entry must share with its binary one, or apt refuses both.
options="Types: deb
X-Repolib-Name: Debian
URIs: http://mirror.invalid/debian
Suites: bookworm
Components: main
Trusted: yes
Check-Valid-Until: no
Enabled: True
${inline#*main
}"
disabled="Types: deb
URIs: http://off.invalid/debian
Suites: bookworm
Components: main
Enabled: no"
oneline="# deb-src http://mirror.invalid/debian bookworm main
deb http://mirror.invalid/debian bookworm main
deb [signed-by=$key] http://mirror.invalid/debian-security bookworm-security main
deb cdrom:[Debian GNU/Linux 12]/ bookworm main
deb http://mirror.invalid/debian bookworm-updates main
deb-src http://mirror.invalid/debian bookworm-updates main"
oneline_src="deb-src http://mirror.invalid/debian bookworm main
deb-src [signed-by=$key] http://mirror.invalid/debian-security bookworm-security main"

# case <name> <status> <file=content>... -- <expected .sources> <expected .list>
# A left-over broken file of ours (torvex-deb-src.list) is always there
# first: replaced, or kept when there is nothing usable. $prepare, when set,
# is run on the root once the files are there; $mode is the new files' mode
# (644), and apt may leave the binary indexes of $unsourced (a pattern of
# "site suite") without sources.
case_() {
    local name=$1 want=$2 root=$work/$1 status=0
    shift 2
    mkdir -p "$root/etc/apt/sources.list.d" "$root/etc/apt/apt.conf.d"
    echo "deb-src http://mirror.invalid/debian bookworm main" >"$root/etc/apt/sources.list.d/torvex-deb-src.list"
    while [[ $1 != -- ]]; do printf '%s\n' "${1#*=}" >"$root/etc/apt/${1%%=*}"; shift; done
    [[ -z ${prepare-} ]] || $prepare "$root"
    local sources=$2 list=$3 before
    before=$(cd "$root" && find . -type f -exec md5sum {} + | sort)
    $run "$script" "$root" >"$work/out" 2>"$work/err" || status=$?
    (( status == want )) || { fail "$name: exited with $status, not $want"; cat "$work/err"; }
    [[ -s $work/out ]] && fail "$name: wrote to standard output"
    if (( want != 0 )); then
        [[ $before == $(cd "$root" && find . -type f -exec md5sum {} + | sort) ]] || fail "$name: files changed"
        return
    fi
    for kind in sources list; do
        local file=$root/etc/apt/sources.list.d/torvex-deb-src.$kind expected
        [[ $kind == sources ]] && expected=$sources || expected=$list
        if [[ -z $expected ]]; then
            [[ -e $file ]] && fail "$name: wrote $kind: $(cat "$file")"
        else
            [[ $(cat "$file" 2>/dev/null) == "$expected" ]] || fail "$name: $kind is:
$(cat "$file" 2>/dev/null)"
            [[ $(stat -c %a "$file") == "${mode:-644}" ]] || fail "$name: $kind has mode $(stat -c %a "$file")"
        fi
    done
    # apt, with the root's configuration, reads it all, with a source index
    # for each binary one.
    local targets
    printf 'Dir "%s/";\n' "$root" >"$work/apt.conf"
    targets=$(APT_CONFIG=$work/apt.conf apt-get -o Dir::State="$root/state" -o Dir::Cache="$root/cache" \
        indextargets --no-release-info --format '$(CREATED_BY) $(SITE) $(RELEASE)' 2>"$work/apt-err") ||
        { fail "$name: apt cannot read the result: $(cat "$work/apt-err")"; return; }
    [[ -s $work/apt-err ]] && fail "$name: apt warns: $(cat "$work/apt-err")"
    targets=$(grep -v -e ' cdrom:' ${unsourced:+-e "$unsourced"} <<<"$targets")
    [[ $(grep '^Packages' <<<"$targets" | cut -d' ' -f2- | sort -u) == $(grep '^Sources' <<<"$targets" | cut -d' ' -f2- | sort -u) ]] ||
        fail "$name: not a source index for each binary one: $targets"
}

# The script run with a standard error that nobody reads any more; in a
# Turkish locale (generated here), where "I" does not lower to "i".
closed() { local fd; exec {fd}> >(:); wait $!; "$@" 2>&"$fd"; }
turkish() { LOCPATH=$work/loc LC_ALL=tr_TR.UTF-8 "$@"; }
run=

case_ "stock deb822" 0 "sources.list.d/debian.sources=$stock" -- "$stock_src" ""
if mkdir "$work/loc" && localedef -i tr_TR -f UTF-8 "$work/loc/tr_TR.UTF-8" 2>/dev/null; then
    run=turkish case_ "Turkish locale" 0 "sources.list.d/debian.sources=$stock" -- "$stock_src" ""
else echo "no tr_TR locale data: Turkish row skipped"; fi
run=closed case_ "closed standard error" 0 "sources.list=$oneline" "sources.list.d/debian.sources=${stock//mirror/other}" -- \
    "${stock_src//mirror/other}" "$oneline_src"
case_ "inline key, a disabled entry, one already with sources" 0 \
    "sources.list.d/a.sources=$inline

$disabled" "sources.list.d/b.sources=${stock/Types: deb
# a comment/Types: deb deb-src
# a comment}" -- "$inline_src

${stock_src%%

*}" ""
case_ "one-line" 0 "sources.list=$oneline" -- "" "$oneline_src"
case_ "one-line, %-encoded, # and target in its options" 0 "sources.list=deb [ target=Packages signed-by=/k#1.gpg ] http://mirror.invalid/my%20debian bookworm main" \
    -- "" "deb-src [signed-by=/k#1.gpg] http://mirror.invalid/my%20debian bookworm main"
case_ "both formats" 0 "sources.list=${oneline//mirror/local}" "sources.list.d/debian.sources=$stock" -- "$stock_src" \
    "${oneline_src//mirror/local}"
case_ "sources enabled already" 0 "sources.list=deb http://mirror.invalid/debian bookworm main
deb-src http://mirror.invalid/debian bookworm main" -- "" ""
case_ "sources enabled already, in a file named with a colon" 0 "sources.list=deb http://mirror.invalid/debian bookworm main" \
    "sources.list.d/local:src.list=deb-src http://mirror.invalid/debian bookworm main" -- "" ""
case_ "nothing usable" 1 "sources.list=# deb http://mirror.invalid/debian bookworm main" "sources.list.d/x.sources=$disabled

${disabled/no/false}" -- "" ""
grep -q 'enable source packages by hand' "$work/err" || fail "nothing usable: does not say what to do: $(cat "$work/err")"
case_ "every option kept" 0 "sources.list.d/o.sources=$options" -- "${options/Types: deb/Types: deb-src}" ""
case_ "sources there already, in either format and any spacing" 0 "sources.list.d/debian.sources=$stock

Types: deb-src
URIs: http://mirror.invalid/debian-security/
Suites: bookworm-security
Components: contrib main
Signed-By: $key" "sources.list=deb-src  [ arch=amd64	signed-by=$key ]	http://mirror.invalid/debian/   bookworm main # no -updates" \
    -- "$(sed 's/ bookworm / /' <<<"${stock_src%%

*}")" ""
case_ "apt refuses the sources as they are" 3 "sources.list=deb [trusted=yes] http://mirror.invalid/debian bookworm main
deb-src http://mirror.invalid/debian bookworm contrib" -- "" ""
# The check is the guard against what this script gets wrong: an apt that
# warns once the new entries are there must leave everything as it was.
mkdir "$work/bin"
printf '#!/bin/sh\n"%s" "$@" || exit\n[ -e "%s" ] && echo "W: configured twice" >&2\ntouch "%s"\n' \
    "$(command -v apt-get)" "$work/ran" "$work/ran" >"$work/bin/apt-get"
chmod +x "$work/bin/apt-get"
PATH=$work/bin:$PATH case_ "apt refuses the result" 3 "sources.list=$oneline" -- "" ""
grep -q 'does not accept.*nothing changed' "$work/err" || fail "apt refuses the result: not said: $(cat "$work/err")"


# Killed as it puts the files in place (its first mv stopping it), and out of
# space there: what apt read before is all still there, and nothing of its own.
mkdir "$work/kill"
printf '#!/bin/sh\nkill -TERM "$PPID"\n' >"$work/kill/mv"
chmod +x "$work/kill/mv"
killed() { PATH=$work/kill:$PATH "$@"; }
run=killed case_ "killed while putting the files in place" 143 "sources.list=$oneline" -- "" ""
# The sources folder on a full tmpfs of its own, in a mount namespace; what is
# left in it is then put back in the folder for the checks.
full() { # <script> <root>
    local parts=$2/etc/apt/sources.list.d status=0
    rm -rf "$work/held" && cp -a "$parts" "$work/held"
    unshare -rm bash -c 'mount -t tmpfs -o size=64k none "$3" && cp -a "$4/." "$3" &&
        { cat /dev/zero >"$3/.filler" 2>/dev/null; "$1" "$2"; status=$?; rm -f "$3/.filler"; cp -a "$3/." "$5" && exit $status; }' \
        _ "$1" "$2" "$parts" "$work/held" "$work/left" || status=$?
    rm -rf "$parts" && mv "$work/left" "$parts"
    return "$status"
}
if unshare -rm mount -t tmpfs none "$work/kill" 2>/dev/null; then
    mkdir "$work/left"
    run=full case_ "a full disk" 5 "sources.list.d/debian.sources=$stock" -- "" ""
    # Temporaries that cannot be written are not taken for sources without
    # entries.
    mkdir "$work/fulltmp"
    fulltmp() { unshare -rm bash -c 'mount -t tmpfs -o size=64k none "$1" && { cat /dev/zero >"$1/filler" 2>/dev/null; TMPDIR=$1 "$2" "$3"; }' \
        _ "$work/fulltmp" "$@"; }
    run=fulltmp case_ "a full folder for temporaries" 5 "sources.list=$oneline" -- "" ""
    grep -q 'cannot write temporary files' "$work/err" || fail "a full folder for temporaries: not said: $(cat "$work/err")"
else echo "no mount namespace for a small tmpfs: full disk row skipped"; fi
run=

# Only the entries apt reads decide the mode: a private copy it ignores does
# not, a private file it reads does. Another's file of the temporaries' name
# pattern is left alone.
private() { chmod 600 "$1/etc/apt/sources.list.d/"*.sources*; }
prepare=private case_ "a private copy apt ignores" 0 "sources.list.d/debian.sources.bak=$stock" "sources.list=$oneline" -- "" "$oneline_src"
prepare=private mode=600 case_ "a private file apt reads" 0 "sources.list.d/debian.sources=$stock" -- "$stock_src" ""
mkdir "$work/tmp"
echo "my notes" >"$work/tmp/torvex-deb-src.mynotes"
TMPDIR=$work/tmp case_ "another's file of the same name pattern" 0 "sources.list=$oneline" -- "" "$oneline_src"
[[ -f $work/tmp/torvex-deb-src.mynotes ]] || fail "another's file of the same name pattern: removed"
[[ $(ls "$work/tmp") == torvex-deb-src.mynotes ]] || fail "temporaries left: $(ls "$work/tmp")"

# An entry it cannot copy is left out and named; the others are written.
unsourced='x.invalid/debian amd64/$\|y.invalid/my debian bookworm$' case_ "entries it cannot copy among good ones" 0 \
    "sources.list=deb http://x.invalid/debian \$(ARCH)/
$oneline
deb \"http://y.invalid/my debian\" bookworm main" -- "" "$oneline_src"
grep -q 'x.invalid/debian/ amd64/' "$work/err" && grep -q 'y.invalid/my debian/ bookworm main' "$work/err" ||
    fail "entries it cannot copy: not named: $(cat "$work/err")"

# The root's own apt configuration is the one read, not this machine's.
broken() { echo 'APT::Broken "' >"$1/etc/apt/apt.conf.d/99broken"; }
prepare=broken case_ "the root's apt configuration" 3 "sources.list=$oneline" -- "" ""
moved() { echo 'Dir::Etc::SourceList "main.list";' >"$1/etc/apt/apt.conf.d/50main"; }
prepare=moved case_ "the sources where the root's apt configuration puts them" 0 "main.list=$oneline" -- "" "$oneline_src"
outside() { echo "Dir::Etc::SourceParts \"$work/elsewhere\";" >"$1/etc/apt/apt.conf.d/50parts"; }
prepare=outside case_ "the root's apt configuration naming this machine's sources" 3 "sources.list=$oneline" -- "" ""
[[ ! -e $work/elsewhere ]] || fail "the root's apt configuration naming this machine's sources: wrote there"

(( failed == 0 )) && echo "deb-src entries: all cases pass"
exit "$failed"
