#!/usr/bin/env bash
# Builds the Debian package from a built tree and checks it as a distribution
# would: lintian, the desktop entry and AppStream validators, hardening-check;
# then unpacks it into a temporary root and checks that the menu entry starts
# the wizard in the installed kit, that the kit holds every INI file of both
# lists, that each icon has its size, and that the installed program runs.
# Usage: packaging.sh <build dir> <source dir>. Exits 77 (skipped) when a
# tool is missing.
set -euo pipefail

build=$1
source=$2
for tool in cpack dpkg-deb dpkg-shlibdeps lintian desktop-file-validate appstreamcli hardening-check file; do
    command -v "$tool" >/dev/null || { echo "$tool not found"; exit 77; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

cpack --config "$build/CPackConfig.cmake" -B "$work" >"$work/cpack.log" || { cat "$work/cpack.log"; fail "cpack"; }
deb=$(echo "$work"/*.deb)
[[ -f $deb ]] || fail "no package built"

echo "-- lintian"
status=0
lintian --fail-on error,warning -EvIL +pedantic "$deb" >"$work/lintian.log" 2>&1 || status=$?
grep -v '^running with root' "$work/lintian.log" || true
(( status == 0 )) || fail "lintian reports errors or warnings"

# Dependencies computed from the program, and the font its texts are laid
# out for.
depends=$(dpkg-deb -f "$deb" Depends)
[[ $depends == *libc6* && $depends == *libqt6widgets6* && $depends == *fonts-liberation2* ]] ||
    fail "Depends: $depends"

root=$work/root
dpkg-deb -x "$deb" "$root"
entry=$root/usr/share/applications/torvexsetup.desktop

echo "-- desktop-file-validate, appstreamcli"
out=$(desktop-file-validate "$entry" 2>&1) || fail "desktop-file-validate: $out"
[[ -z $out ]] || fail "desktop-file-validate: $out"
out=$(appstreamcli validate --no-net "$root"/usr/share/metainfo/*.metainfo.xml 2>&1) ||
    fail "appstreamcli: $out"
! grep -E '^(E|W):' <<<"$out" || fail "appstreamcli warns"

echo "-- hardening-check"
# The linker marks a program as protected only when every object in it is.
# Where the C library's start files carry no marks (Debian 12's do not), no
# program can be marked; there each object of our own must be, and the check
# leaves the program's mark out.
exemption=()
cxx=$(sed -n 's/^CMAKE_CXX_COMPILER:[A-Z]*=//p' "$build/CMakeCache.txt")
marked() { readelf -nW "$1" | grep -q 'x86 feature: IBT, SHSTK'; }
if [[ $(uname -m) == x86_64 ]] && ! marked "$("$cxx" -print-file-name=Scrt1.o)"; then
    exemption=(--nocfprotection)
    # The objects the program is linked from, as its link step names them
    # (objects of deleted sources may linger in the tree), and the members
    # of our own library.
    members=$(mktemp -d)
    (cd "$members" && ar x "$build/libtorvexcore.a")
    while read -r object; do
        marked "$object" || fail "$object is built without control-flow protection"
    done < <(grep -o '[^ ]*\.o\b' "$build/CMakeFiles/TorvexSetup.dir/link.txt" | sed "s|^|$build/|"
             find "$members" -name '*.o')
    rm -rf "$members"
fi
hardening-check "${exemption[@]}" "$root/usr/bin/TorvexSetup" || fail "hardening-check"

echo "-- installed files"
kit=$(sed -n 's/^Path=//p' "$entry")
[[ $kit == /usr/share/torvexsetup/kit && -d $root$kit ]] || fail "menu entry's Path '$kit' is not the installed kit"
[[ $(sed -n 's/^Exec=//p' "$entry") == TorvexSetup && -x $root/usr/bin/TorvexSetup ]] || fail "Exec"
# The lock file, root's from boot and from the install on.
grep -q '^f /run/lock/TorvexSetup.lock 0644 root root' "$root/usr/lib/tmpfiles.d/torvexsetup.conf" || fail "tmpfiles"
dpkg-deb -I "$deb" postinst | grep -q 'systemd-tmpfiles --create /usr/lib/tmpfiles.d/torvexsetup.conf' || fail "postinst"
# The INI names of both lists, without the backslash that leads them.
# shellcheck disable=SC1003
inis=$(grep -o '"\\\\[^"]*\.ini"' "$source/install/installlists.h" | tr -d '"\\' | sort -u)
[[ $(wc -l <<<"$inis") -ge 6 ]] || fail "INI names not found in installlists.h"
for ini in $inis; do
    [[ -f $root$kit/$ini ]] || fail "the kit lacks $ini"
done
for size in 16 24 32 48 64 128 256; do
    file "$root/usr/share/icons/hicolor/${size}x$size/apps/torvexsetup.png" | grep -q "PNG image data, $size x $size," ||
        fail "no $size pixel icon"
done
[[ -f $root/usr/share/icons/hicolor/scalable/apps/torvexsetup.svg ]] || fail "no scalable icon"

echo "-- installed program"
version=$(env -u DISPLAY -u WAYLAND_DISPLAY "$root/usr/bin/TorvexSetup" --version)
[[ $version == "TorvexSetup 1.00" ]] || fail "installed program says '$version'"
echo "package checks pass"
