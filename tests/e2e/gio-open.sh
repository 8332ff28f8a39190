#!/usr/bin/env bash
# The desktop's way in: with the build installed under a private prefix and
# that prefix's desktop entry registered, `gio open song.mid` (what a file
# manager's double-click does) hands the file to the running, installed
# Pelora, which plays it; no second Pelora opens. RIFF MIDI files (.rmi) are
# typed as such, not as any RIFF container, and reach Pelora too.
# shellcheck source-path=SCRIPTDIR source=common.sh
source "$(dirname "$0")/common.sh"

prefix=$work/usr
cmake --install "$(dirname "$pelora")" --prefix "$prefix" >"$work/install.log" ||
    fail "cmake --install failed: $(cat "$work/install.log")"
# What the desktop-file-utils and shared-mime-info triggers do when the
# package is installed.
update-desktop-database "$prefix/share/applications"
update-mime-database "$prefix/share/mime"
export XDG_DATA_DIRS=$prefix/share:/usr/share PATH=$prefix/bin:$PATH
# A desktop session leaves the platform to Pelora.
unset QT_QPA_PLATFORM

# Read whole: a reader that stops early would fail the pipe under pipefail.
handler=$(gio mime audio/midi | sed -n 1p)
[[ $handler == *io.github.pelora.Pelora.desktop* ]] ||
    fail "the installed desktop entry is not the handler of audio/midi: $handler"

start_screen
start_pulse || true
(cd "$work/cwd" && exec pelora) >"$work/pelora.log" 2>&1 &
pelora_pid=$!
wait_until 20 'the installed Pelora shows its player window' find_player
find_playlist || fail 'the installed Pelora shows no playlist window'

"$make_midi" "$work/song.mid" 30
gio open "$work/song.mid" || fail "gio open failed"
wait_until 10 "the running Pelora plays the file gio opened" title_is "$player" "$work/song.mid"

# The same song wrapped in RIFF: "RIFF", size, "RMID", a "data" chunk.
le32() { printf "\\$(printf %03o $(($1 & 255)))\\$(printf %03o $(($1 >> 8 & 255)))\\$(printf %03o $(($1 >> 16 & 255)))\\$(printf %03o $(($1 >> 24)))"; }
size=$(stat -c %s "$work/song.mid")
{ printf RIFF; le32 $((size + 12)); printf RMIDdata; le32 "$size"; cat "$work/song.mid"; } >"$work/song.rmi"
type=$(gio info -a standard::content-type "$work/song.rmi" | sed -n 's/.*standard::content-type: //p')
[ "$type" = audio/x-rmid ] || fail "song.rmi is typed $type, not audio/x-rmid"
gio open "$work/song.rmi" || fail "gio open song.rmi failed"
wait_until 10 "the running Pelora plays the .rmi file gio opened" title_is "$player" "$work/song.rmi"
sleep 0.5
[ "$(visible_count)" -eq 2 ] || fail "$(visible_count) windows after gio open, not 2"
quit_pelora
echo "gio open OK"
