#!/usr/bin/env bash
# Compiles the Windows resource script with windres, reads the compiled
# resources back as text and checks the version record and the file icon.
# Usage: version-record.sh WINDRES PREPROCESSOR SCRIPT ICO VERSION_TEXT MAJOR MINOR MAKER COPYRIGHT
set -euo pipefail
windres=$1 cpp=$2 script=$3 ico=$4 version=$5 major=$6 minor=$7 maker=$8 copyright=$9
source "$(dirname "$0")/common.sh"
compile() { "$windres" --preprocessor="$cpp" --preprocessor-arg=-E --preprocessor-arg=-xc "$@"; }

compile -i "$script" -O res -o "$work/pelora.res"
# A MinGW build links the COFF form.
compile -i "$script" -O coff -o "$work/pelora.o"
"$windres" -i "$work/pelora.res" -O rc >"$work/pelora.txt"

# Each resource as "type name language", in the order windres lists them.
resources() {
    awk '/^LANGUAGE / { lang = $2 $3 }
         /^[0-9]+ (3|14|VERSIONINFO)( |$)/ { print $2, $1, lang }' "$1"
}
diff -u <(printf '%s\n' "3 30001 0,0" "14 1 0,0" "VERSIONINFO 1 17,1") \
    <(resources "$work/pelora.txt") || fail "resources, their ids or their languages differ"

# The whole version record, key by key in order; flags and subtype are zero,
# so windres leaves them out.
sed -n '/^1 VERSIONINFO/,/^END/p' "$work/pelora.txt" | sed 's/^[[:space:]]*//' >"$work/record.txt"
cat >"$work/expected.txt" <<RECORD
1 VERSIONINFO
FILEVERSION $major, $minor, 0, 0
PRODUCTVERSION $major, $minor, 0, 0
FILEFLAGSMASK 0x3f
FILEOS 0x40004
FILETYPE 0x1
BEGIN
BLOCK "StringFileInfo"
BEGIN
BLOCK "041104B0"
BEGIN
VALUE "CompanyName", "$maker"
VALUE "LegalCopyright", "$copyright"
VALUE "ProductName", "Pelora"
VALUE "FileVersion", "$version"
VALUE "ProductVersion", "$version"
VALUE "InternalName", "Pelora"
VALUE "OriginalFilename", "Pelora.exe"
END
END
BLOCK "VarFileInfo"
BEGIN
VALUE "Translation", 0x411, 1200
END
END
RECORD
diff -u "$work/expected.txt" "$work/record.txt" || fail "version record differs"

# The icon must hold exactly what a plain ICON statement takes from the .ico;
# only the image's id differs.
printf '1 ICON "%s"\n' "$ico" >"$work/reference.rc"
compile -i "$work/reference.rc" -O res -o "$work/reference.res"
"$windres" -i "$work/reference.res" -O rc >"$work/reference.txt"
image() { sed -n "/^$2 3 /,/^END/p" "$1" | grep '^ *0x'; }
group() { sed -n '/^1 14 /,/^END/p' "$1" | grep 'Element no' | sed 's/, [0-9]*\t.*//'; }
[ -n "$(image "$work/reference.txt" 1)" ] || fail "reference icon image not found"
cmp -s <(image "$work/reference.txt" 1) <(image "$work/pelora.txt" 30001) ||
    fail "icon 30001 does not hold the image of $ico"
cmp -s <(group "$work/reference.txt") <(group "$work/pelora.txt") ||
    fail "group 1's entry does not describe the image of $ico"
grep -q ', 30001[[:space:]]*/\* Element no 1' "$work/pelora.txt" ||
    fail "group 1 does not name icon 30001"
grep -q 'Element no 2' "$work/pelora.txt" && fail "group 1 holds more than one image"

finish "version record and icon"
