#!/bin/sh
# The skin tools as a person uses them: pack the test skin, check it, round-trip a file through lzhpack,
# and see a damaged skin rejected with a non-zero exit code.
set -eu
lzhpack=$1 skinpack=$2 skininfo=$3 skin=$4 out=$5
rm -rf "$out" && mkdir -p "$out"

"$skinpack" --help | grep -q "usage: skinpack SKIN.INI OUT.SKN"
"$skinpack" "$skin/Skin.ini" "$out/test.skn"
"$skininfo" "$out/test.skn" > "$out/info.txt"
grep -q "^OK$" "$out/info.txt"
grep -q "top.bmp" "$out/info.txt"

"$lzhpack" unpack "$out/test.skn" "$out/test.archive"
"$lzhpack" pack "$out/test.archive" "$out/again.skn"
cmp "$out/test.skn" "$out/again.skn"

head -c 6 "$out/test.skn" > "$out/cut.skn"
if "$skininfo" "$out/cut.skn" > /dev/null 2>&1; then echo "a damaged skin passed" >&2; exit 1; fi
if "$skinpack" "$skin/missing.ini" "$out/x.skn" 2> /dev/null; then echo "packed a missing ini" >&2; exit 1; fi
