#!/usr/bin/env bash
# Compiles every C++ source file in the folders of the program's sources for
# Windows, syntax only; Windows-only files are listed nowhere on other systems
# but lie beside the others, and *_unix.cpp files are their POSIX twins. Fails on any error or warning of our own code.
# Usage: syntaxcheck.sh <source dir> <file listing the sources> <flags file>
# Exits 77 (skipped) without mingw-w64's g++.
set -euo pipefail

source_dir=$1
compiler=$(command -v x86_64-w64-mingw32-g++) || { echo "x86_64-w64-mingw32-g++ not found"; exit 77; }

mapfile -t folders < <(grep '\.cpp$' "$2" | grep -v '_autogen/' |
    while read -r file; do
        [[ $file == /* ]] || file=$source_dir/$file
        dirname "$file"
    done | sort -u)
files=()
for folder in "${folders[@]}"; do
    for file in "$folder"/*.cpp; do
        [[ $file == *_unix.cpp ]] || files+=("$file") # the POSIX side of a per-system pair
    done
done
echo "Checking ${#files[@]} files in ${#folders[@]} folders"

# Qt's headers, compiled for another system than they were installed for,
# note their dllimport attributes; -isystem keeps the rest of theirs quiet.
printf '%s\0' "${files[@]}" |
    xargs -0 -n 4 -P "$(nproc)" "$compiler" -fsyntax-only -Wall -Wextra -Wpedantic -Werror \
        -Wno-attributes -DUNICODE -D_UNICODE "@$3"
echo "No errors or warnings"
