# Sourced by the packaging tests: a temporary work folder removed on exit,
# failure bookkeeping and the checks of an installed Pelora tree.

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
status=0

fail() {
    echo "FAIL: $*"
    status=1
}

# finish WHAT: reports and ends the test with the collected status.
finish() {
    [ $status -ne 0 ] || echo "$1 OK"
    exit $status
}

app_id=io.github.pelora.Pelora

# check_installed_tree ROOT PREFIX VERSION: PREFIX is where bin/ and share/
# are; ROOT is the file-system root the tree was installed under.
check_installed_tree() {
    local root=$1 prefix=$2 version=$3
    local desktop=$prefix/share/applications/$app_id.desktop
    local metainfo=$prefix/share/metainfo/$app_id.metainfo.xml
    local icons=$prefix/share/icons/hicolor

    [ -x "$prefix/bin/pelora" ] && file -L "$prefix/bin/pelora" | grep -q ELF ||
        fail "bin/pelora is not an executable program"
    local frame
    for frame in A0 A1 A2 A3 A0@2x A1@2x A2@2x A3@2x; do
        file -L "$prefix/share/pelora/$frame.gif" | grep -q 'GIF image data' ||
            fail "share/pelora/$frame.gif is missing or not a GIF picture"
    done
    local size
    for size in 16 32 48 64 128 256; do
        file -L "$icons/${size}x$size/apps/$app_id.png" | grep -q "PNG image data, $size x $size" ||
            fail "the ${size}x$size icon is missing or not a $size x $size PNG"
    done
    file -L "$icons/scalable/apps/$app_id.svg" | grep -q 'SVG' || fail "the scalable icon is not an SVG"

    # The manual page and the changelog: compressed with neither name nor time.
    local gzipped
    for gzipped in "$prefix"/share/man/{,ja/}man1/pelora.1.gz "$prefix/share/doc/pelora/changelog.gz"; do
        file -L "$gzipped" | grep -q 'gzip compressed data, max compression' ||
            fail "$gzipped is not compressed at the highest level"
        file -L "$gzipped" | grep -Eq 'was "|last modified' && fail "$gzipped keeps a name or a time"
    done
    local page
    for page in "$prefix"/share/man/{,ja/}man1/pelora.1.gz; do
        LC_ALL=C.UTF-8 man --warnings -E UTF-8 -l -Tutf8 -Z "$page" \
            2>"$work/man.log" >/dev/null && [ ! -s "$work/man.log" ] ||
            fail "the manual page $page does not format cleanly: $(cat "$work/man.log")"
    done
    grep -q '^Files: \*' "$prefix/share/doc/pelora/copyright" || fail "no copyright file"

    local stray
    ls "$prefix"/lib*/pelora/synthesizer/libpelora_synthesizer.so >/dev/null 2>&1 ||
        fail "the synthesizer's module is not in lib/pelora/synthesizer"
    stray=$(cd "$prefix" && find . ! -type d ! -path './bin/*' ! -path './share/*' \
        ! -path './lib*/pelora/synthesizer/libpelora_synthesizer.so')
    [ -z "$stray" ] || fail "installed outside bin/, share/ and the module's folder: $stray"

    desktop-file-validate "$desktop" || fail "desktop-file-validate rejects $desktop"
    grep -qx 'Exec=pelora %F' "$desktop" || fail "the desktop entry does not start pelora with files"
    grep -qx "Icon=$app_id" "$desktop" || fail "the desktop entry does not name the icon"
    grep -qx 'MimeType=audio/midi;audio/x-midi;audio/x-rmid;' "$desktop" ||
        fail "the desktop entry does not claim MIDI files"

    appstreamcli validate --no-net "$metainfo" >/dev/null ||
        fail "appstreamcli rejects $metainfo: $(appstreamcli validate --no-net "$metainfo")"
    # Also finds the desktop entry that the metainfo's launchable names.
    appstreamcli validate-tree --no-net --strict "$root" >/dev/null ||
        fail "appstreamcli rejects the tree: $(appstreamcli validate-tree --no-net "$root")"
    grep -q "<release version=\"$version\"" "$metainfo" ||
        fail "the metainfo's release is not version $version"
    check_catalogue_entry "$root"
}

# check_catalogue_entry ROOT: what a software catalogue makes of the tree, as
# a distribution's catalogue builder does: Pelora's component, with an icon
# of 64 pixels or more (smaller ones alone get it dropped).
check_catalogue_entry() {
    local out=$work/catalogue
    rm -rf "$out"
    appstreamcli compose --no-net --no-color --origin=pelora --result-root="$out" "$1" \
        >"$work/compose.log" 2>&1 || fail "appstreamcli compose failed: $(cat "$work/compose.log")"
    local catalogue
    catalogue=$(zcat "$out/usr/share/swcatalog/xml/pelora.xml.gz" 2>/dev/null || true)
    grep -q "<id>$app_id</id>" <<<"$catalogue" ||
        fail "the composed catalogue has no component $app_id: $(cat "$work/compose.log")"
    grep -Eq '<icon type="cached" width="(64|128)"' <<<"$catalogue" ||
        fail "the composed catalogue has no icon of 64 pixels or more for $app_id"
    [ -f "$out/usr/share/swcatalog/icons/pelora/128x128/$app_id.png" ] ||
        fail "the catalogue's 128x128 icon was not written"
}
