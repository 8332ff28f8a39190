#!/usr/bin/env bash
# The About window opens modally at its place; while it is open, clicks on
# the player and playlist windows are ignored; it opens again the same after
# it was closed. Afterwards clicks work again: a cancelled open dialog leaves
# the caption alone. The focus comes back to the window it was in after a
# dialog or a message. A closed playlist window comes back, at its place,
# with a click on the mascot, or with Space on the mascot reached with Tab.
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
message_shown() { find_dialog && title_is "$dialog" Pelora; }
playlist_has_focus() { [ "$(xdotool getwindowfocus 2>/dev/null)" = "$playlist" ]; }

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

# The screen has no window manager: a click does not give a window the focus.
xdotool windowfocus --sync "$player"
click "$player" "${loadButton[@]}"
wait_until 5 "the open dialog opens once the About window has gone" find_dialog
xdotool windowfocus --sync "$dialog" key Escape
wait_until 5 "Escape cancels the open dialog" no_dialog
title_is "$player" Pelora || fail "a cancelled open dialog changed the player's title to \"$(title "$player")\""
wait_until 5 "the focus comes back to the player window after the dialog" player_has_focus

# A list that cannot be saved is told once the save dialog has closed; after
# the message, the focus is back in the playlist window.
xdotool windowfocus --sync "$playlist"
click "$playlist" "${listSave[@]}"
wait_until 10 "the save dialog opens" find_dialog
xdotool windowfocus --sync "$dialog" type --delay 5 /sys/none.lst
xdotool key Return
wait_until 10 "a message says that the list was not saved" message_shown
xdotool windowfocus --sync "$dialog" key Return
wait_until 5 "the message closes with Return" no_dialog
wait_until 5 "the focus comes back to the playlist window after the message" playlist_has_focus

close "$playlist"
wait_until 5 "the playlist window closes with its close box" is_gone "$playlist"
is_shown "$player" || fail "closing the playlist window closed the player window"
click "$player" "${mascot[@]}"
wait_until 5 "a click on the mascot brings the playlist window back" find_playlist
expect_window "$playlist" MidiList "233,87 313x168"

# From the keyboard: the load button has kept the focus; Tab goes past the
# other buttons to the mascot, and Space on it does what a click does.
close "$playlist"
wait_until 5 "the playlist window closes again" is_gone "$playlist"
xdotool windowfocus --sync "$player" key Tab Tab Tab Tab space
wait_until 5 "Space on the mascot brings the playlist window back" find_playlist

quit_pelora
echo "about OK"
