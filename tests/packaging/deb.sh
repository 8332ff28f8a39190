#!/usr/bin/env bash
# Builds the Debian package from the build tree, unpacks it into a temporary
# root and checks its control fields, its dependencies and its files.
# Usage: deb.sh BUILD_DIR VERSION
set -euo pipefail
build=$1 version=$2
source "$(dirname "$0")/common.sh"

cpack -G DEB -B "$work/out" --config "$build/CPackConfig.cmake" >"$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log"; fail "cpack failed"; finish "package"; }
debs=("$work"/out/pelora_*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || { fail "expected one pelora_*.deb"; finish "package"; }
deb=${debs[0]}

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = pelora ] || fail "package name is '$(field Package)'"
[ "$(field Version)" = "$version" ] || fail "package version is '$(field Version)'"
[ "$(field Architecture)" = "$(dpkg --print-architecture)" ] || fail "wrong architecture"

# The dependencies name what Pelora needs at run time...
depends=$(field Depends)
names=$(tr ',|' '\n\n' <<<"$depends" | sed 's/(.*//; s/[[:space:]]//g')
for needed in libqt6core6 libqt6gui6 libqt6widgets6 qt6-qpa-plugins libfluidsynth3 \
    timgm6mb-soundfont sf2-soundfont-gm fonts-ipafont-gothic fonts-japanese-gothic libc6 libstdc++6; do
    grep -Fqx "$needed" <<<"$names" || fail "Depends lacks $needed: $depends"
done
grep -q 'fonts-ipafont-mincho' <<<"$(field Recommends)" ||
    fail "Recommends lacks the mincho face of the About window"
# ...and this machine, where Pelora was built and tested, satisfies them all:
# installing the package would bring in nothing else.
apt-get install --simulate --no-install-recommends "$deb" >"$work/apt.log" 2>&1 ||
    fail "apt cannot install the package: $(cat "$work/apt.log")"
grep '^Inst ' "$work/apt.log" | grep -v '^Inst pelora ' &&
    fail "installing the package here would pull in more packages"

dpkg-deb -c "$deb" | awk '{ print $6 }' | grep -v '^\./usr/' | grep -v '^\./$' &&
    fail "the package puts files outside /usr"
dpkg -x "$deb" "$work/root"
check_installed_tree "$work/root" "$work/root/usr" "$version"
file "$work/root/usr/bin/pelora" | grep -q ', stripped' || fail "bin/pelora is not stripped"
zcat "$work/root/usr/share/doc/pelora/changelog.gz" >"$work/changelog"
[ "$(dpkg-parsechangelog -l "$work/changelog" -S Version)" = "$version" ] ||
    fail "the changelog's latest entry is not version $version"

# Debian's own check of the package: no error, no warning, and none of the
# hardening tags that it reports only as information.
lintian --info --display-info --fail-on none "$deb" >"$work/lintian.log" 2>&1 ||
    fail "lintian could not check the package: $(cat "$work/lintian.log")"
grep -E '^[EW]: |^I: [^ ]+ hardening-' "$work/lintian.log" &&
    fail "lintian finds the above in the package"

finish "package"
