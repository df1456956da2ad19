#!/usr/bin/env bash
# The Windows zip's third-party notices against what the link of
# TorvexSetup.exe pulled in: an Id listed whose code is not linked, or code
# of Qt's others that is linked with no Id listed, fails. Which Qt is linked
# (the shared archive, the lean fallback, one of the user's) decides both.
# Every Id of the Qt's attributions/, when it has one, must be known here.
# Usage: linkednotices.sh <TorvexSetup.map> <notices-ids.txt> [<Qt's attributions folder>]
set -uo pipefail
map=$1
ids=$2
attributions=${3-}

# Each Id of Qt's attributions, and the members of Qt's archives that hold
# its code (an extended regular expression for "libX.a(member)").
core='libQt6Core\.a\('
gui='libQt6Gui\.a\('
hashes="${core}qcryptographichash\\.cpp\\.obj\\)"
declare -A code=(
    [doubleconversion]="${core}(bignum|bignum-dtoa|cached-powers|double-to-string|fast-dtoa|fixed-dtoa|string-to-double|strtod)\\.cc\\.obj\\)"
    [easing]="${core}qeasingcurve\\.cpp\\.obj\\)"
    [freetype]='libQt6BundledFreetype\.a\('
    [freetype-zlib]='libQt6BundledFreetype\.a\(ftgzip\.c\.obj\)'
    [freetype-bdf]='libQt6BundledFreetype\.a\(bdf\.c\.obj\)'
    [freetype-pcf]='libQt6BundledFreetype\.a\(pcf\.c\.obj\)'
    [harfbuzz-ng]='libQt6BundledHarfbuzz\.a\('
    [libjpeg]='libQt6BundledLibjpeg\.a\('
    [libpng]='libQt6BundledLibpng\.a\('
    [zlib]='libQt6BundledZLIB\.a\('
    [md4c]="${gui}md4c\\.c\\.obj\\)"
    [pcre2]='libQt6BundledPcre2\.a\('
    [pcre2-sljit]='libQt6BundledPcre2\.a\(pcre2_jit_compile\.c\.obj\)'
    # TinyCBOR, and its error strings in qcborcommon.cpp.
    [tinycbor]="${core}qcbor(common|streamreader|streamwriter)\\.cpp\\.obj\\)"
    [unicode-character-database]="${core}q(char|string)\\.cpp\\.obj\\)"
    [unicode-cldr]="${core}(qlocale|qtimezoneprivate)\\.cpp\\.obj\\)"
    [siphash]="${core}qhash\\.cpp\\.obj\\)"
    [grayraster]="${gui}qgrayraster\\.c\\.obj\\)"
    [smooth-scaling-algorithm]="${gui}qimagescale\\.cpp\\.obj\\)"
    [xserverhelper]="${gui}qregion\\.cpp\\.obj\\)"
    [md4]=$hashes [md5]=$hashes [sha1]=$hashes [sha3_endian]=$hashes [sha3_keccak]=$hashes
    [blake2]=$hashes [rfc6234]=$hashes
    # The gradient presets, part of qbrush.cpp.
    [webgradients]="${gui}qbrush\\.cpp\\.obj\\)"
    # The PDF writer's glyph names.
    [aglfn]="${gui}q(pdf|fontsubset)\\.cpp\\.obj\\)"
)
# The Ids whose code is in no program of this kind: other systems and
# modules, Qt Test, the build system; and the sRGB colour profile, linked
# but under the ICC's terms, which ask for no notice.
unlinked=" VulkanMemoryAllocator android-gradle-wrapper android-native-style catch2 cocoa-platform-plugin cycle
    dejayvu extra-cmake-modules forkfd kwin libdbus-1-headers libpsl linuxperf opengl-es2-headers
    opengl-headers pixman psl qeventdispatcher_cf valgrind vera_font vulkan-xml-spec xcb-xinput
    icc-sRGB-color-profile "

[[ -s $map && -s $ids ]] || { echo "FAIL: no link map ($map) or no list of Ids ($ids)"; exit 1; }
# The members that keep a section of some size in the program: the memory
# map, after the sections the linker dropped, from archives in any folder,
# blanks in its name and all.
linked=$(sed -n '/^Linker script and memory map/,$p' "$map" |
    grep -E '0x[0-9a-f]+ +0x0*[1-9a-f][0-9a-f]* +.*\.a\(' | grep -oE 'lib[A-Za-z0-9_]+\.a\([^)]*\)' | sort -u)
[[ -n $linked ]] || { echo "FAIL: $map names no member of an archive"; exit 1; }
mapfile -t listed < <(tr -s ' ;\n' '\n' <"$ids" | sed '/^$/d')
failed=0
if [[ -n $attributions ]]; then
    [[ -d $attributions ]] || { echo "FAIL: no attributions folder $attributions"; exit 1; }
    while IFS= read -r id; do
        [[ -n ${code[$id]-} || $unlinked == *[[:space:]]"$id"[[:space:]]* ]] ||
            { echo "FAIL: the Qt's attribution $id is one this test does not know"; failed=1; }
    done < <(find "$attributions" -name qt_attribution.json -exec cat {} + |
        grep -oE '"Id" *: *"[^"]*"' | sed -E 's/.*"([^"]*)"$/\1/' | sort -u)
fi
for id in "${listed[@]}"; do
    [[ -n ${code[$id]-} ]] || { echo "FAIL: $id is listed, and this test does not know its code"; failed=1; }
done
for id in "${!code[@]}"; do
    is_listed=0 is_linked=0
    printf '%s\n' "${listed[@]}" | grep -qxF -- "$id" && is_listed=1
    grep -qE -- "${code[$id]}" <<<"$linked" && is_linked=1
    if ((is_listed && !is_linked)); then
        echo "FAIL: $id is listed in the notices, and none of its code is linked"; failed=1
    elif ((is_linked && !is_listed)); then
        echo "FAIL: $id is linked ($(grep -m1 -E -- "${code[$id]}" <<<"$linked")), and not listed in the notices"
        failed=1
    fi
done
((failed == 0)) && echo "linkednotices: the ${#listed[@]} Ids listed are exactly those linked"
exit "$failed"
