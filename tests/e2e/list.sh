#!/usr/bin/env bash
# A MIDI file chosen in the real open dialog plays, names the player window
# and animates the mascot; "追加" puts it in the list and "保存" writes the list
# file chosen in the real save dialog. "読込" loads a list, a double-click
# plays its first entry, Delete removes it; a name saved without its suffix
# gets .lst; a Windows list in Shift_JIS loads. Closing the player
# window while music plays ends the program with status 0.
# shellcheck source-path=SCRIPTDIR source=common.sh
source "$(dirname "$0")/common.sh"

mkdir "$work/My Songs" "$work/lists"
song="$work/My Songs/tune, 1.mid"
"$make_midi" "$song" 30

start_screen
start_pulse || true
start_pelora

click "$player" "${loadButton[@]}"
answer_file_dialog "$song"
wait_until 5 "the player window is titled with the chosen file" title_is "$player" "$song"
# Frame 0 comes with the first tick, frame 1 with the second.
wait_until 5 "the mascot moves on to frame A1.gif after a play" mascot_shows A1

click "$playlist" "${addButton[@]}"
click "$playlist" "${listSave[@]}"
answer_file_dialog "$work/lists/first.lst"
wait_until 5 "the playlist window is titled with the saved list file" \
    title_is "$playlist" "$work/lists/first.lst"
expect_bytes "$work/lists/first.lst" '"%s"\r\n' "$song"

# Loading replaces the list; the list sorts without regard to case, so a.mid
# comes before B.mid.
for name in B a; do "$make_midi" "$work/$name.mid" 30; done
printf '"%s"\r\n' "$work/B.mid" "$work/a.mid" >"$work/lists/made.lst"
click "$playlist" "${listLoad[@]}"
answer_file_dialog "$work/lists/made.lst"
wait_until 5 "the playlist window is titled with the loaded list file" \
    title_is "$playlist" "$work/lists/made.lst"
click "$playlist" "${firstRow[@]}" 2
wait_until 5 "a double-click on the first entry plays a.mid" title_is "$player" "$work/a.mid"

# Delete in the list removes the entry the double-click chose.
xdotool windowfocus --sync "$playlist" key Delete

# A name typed without its suffix is saved with .lst, which the load dialog
# shows; a list of that name is replaced only once the user says so.
printf keep >"$work/lists/second.lst"
click "$playlist" "${listSave[@]}"
wait_until 10 "the save dialog opens" find_dialog
xdotool windowfocus --sync "$dialog" type --delay 5 "$work/lists/second"
xdotool key Return
two_dialogs() { [ "$(for w in $(xdotool search --onlyvisible --name '.*'); do window_type "$w"; done |
    grep -c DIALOG)" -ge 2 ]; }
wait_until 10 "the save dialog asks before replacing second.lst" two_dialogs
[ "$(cat "$work/lists/second.lst")" = keep ] || fail "second.lst was replaced before the user was asked"
xdotool key y
wait_until 10 "the save dialog closes once the user says yes" no_dialog
wait_until 5 "the playlist window is titled with the list file written" \
    title_is "$playlist" "$work/lists/second.lst"
expect_bytes "$work/lists/second.lst" '"%s"\r\n' "$work/B.mid"
[ ! -e "$work/lists/second" ] || fail "the list was saved without its suffix"

# A list written on Japanese Windows, in Shift_JIS, loads under a UTF-8 locale.
"$make_midi" "$work/日本の曲.mid" 30
printf '"%s/\x93\xfa\x96\x7b\x82\xcc\x8b\xc8.mid"\r\n' "$work" >"$work/lists/windows.lst"
click "$playlist" "${listLoad[@]}"
answer_file_dialog "$work/lists/windows.lst"
wait_until 5 "the Windows list loads" title_is "$playlist" "$work/lists/windows.lst"
click "$playlist" "${firstRow[@]}" 2
wait_until 5 "its Japanese entry plays" title_is "$player" "$work/日本の曲.mid"

quit_pelora
echo "list OK"
