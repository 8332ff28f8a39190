#!/usr/bin/env bash
# The About window opens modally at its place; while it is open, clicks on
# the player and playlist windows are ignored; it opens again the same after
# it was closed. Afterwards clicks work again: a cancelled open dialog leaves
# the caption alone. A closed playlist window comes back, at its place, with
# a click on the mascot.
# shellcheck source-path=SCRIPTDIR source=common.sh
source "$(dirname "$0")/common.sh"

start_screen
start_pulse || true
start_pelora

open_about() {
    click "$playlist" "${aboutButton[@]}"
    wait_until 5 'the About window "バージョン情報" opens' find_about
    expect_window "$about" バージョン情報 "239,277 240x123"
}
find_about() { about=$(visible_window '^バージョン情報$') && [ -n "$about" ]; }

open_about
# Input that reaches a window is handled in the order it came, so once the
# About window has gone these clicks have been dealt with: had they not been
# ignored, a file dialog would be open now.
click "$player" "${loadButton[@]}"
click "$playlist" "${listSave[@]}"
close "$about"
wait_until 5 "the About window closes with its close box" is_gone "$about"
no_dialog || fail "a click on the player or playlist window went through while About was open"

open_about
close "$about"
wait_until 5 "the About window closes again" is_gone "$about"

click "$player" "${loadButton[@]}"
wait_until 5 "the open dialog opens once the About window has gone" find_dialog
xdotool windowfocus --sync "$dialog" key Escape
wait_until 5 "Escape cancels the open dialog" no_dialog
title_is "$player" Pelora || fail "a cancelled open dialog changed the player's title to \"$(title "$player")\""

close "$playlist"
wait_until 5 "the playlist window closes with its close box" is_gone "$playlist"
is_shown "$player" || fail "closing the playlist window closed the player window"
click "$player" "${mascot[@]}"
wait_until 5 "a click on the mascot brings the playlist window back" find_playlist
expect_window "$playlist" MidiList "233,87 313x168"

quit_pelora
echo "about OK"
