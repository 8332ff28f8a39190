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
    local icon=$prefix/share/icons/hicolor/32x32/apps/$app_id.png

    [ -x "$prefix/bin/pelora" ] && file -L "$prefix/bin/pelora" | grep -q ELF ||
        fail "bin/pelora is not an executable program"
    local frame
    for frame in A0 A1 A2 A3; do
        file -L "$prefix/share/pelora/$frame.gif" | grep -q 'GIF image data' ||
            fail "share/pelora/$frame.gif is missing or not a GIF picture"
    done
    file -L "$icon" | grep -q 'PNG image data, 32 x 32' || fail "$icon is not a 32x32 PNG"

    local stray
    stray=$(cd "$prefix" && find . ! -type d ! -path './bin/*' ! -path './share/*')
    [ -z "$stray" ] || fail "installed outside bin/ and share/: $stray"

    desktop-file-validate "$desktop" || fail "desktop-file-validate rejects $desktop"
    grep -qx 'Exec=pelora %F' "$desktop" ||
        fail "the desktop entry does not start pelora with the files it is given"
    grep -qx "Icon=$app_id" "$desktop" || fail "the desktop entry does not name the icon"
    grep -qx 'MimeType=audio/midi;audio/x-midi;' "$desktop" ||
        fail "the desktop entry does not claim MIDI files"

    appstreamcli validate --no-net "$metainfo" >/dev/null ||
        fail "appstreamcli rejects $metainfo: $(appstreamcli validate --no-net "$metainfo")"
    # Also finds the desktop entry that the metainfo's launchable names.
    appstreamcli validate-tree --no-net --strict "$root" >/dev/null ||
        fail "appstreamcli rejects the tree: $(appstreamcli validate-tree --no-net "$root")"
    grep -q "<release version=\"$version\"" "$metainfo" ||
        fail "the metainfo's release is not version $version"
}
