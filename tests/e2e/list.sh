#!/usr/bin/env bash
# A MIDI file chosen in the real open dialog plays, names the player window
# and animates the mascot; "追加" puts it in the list and "保存" writes the list
# file chosen in the real save dialog. "読込" loads a list, a double-click
# plays its first entry, "削除" removes the selected one. Closing the player
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

# A name typed without an extension is used as typed.
click "$playlist" "${removeButton[@]}"
click "$playlist" "${listSave[@]}"
answer_file_dialog "$work/lists/second"
wait_until 5 "the playlist window is titled with the second list file" \
    title_is "$playlist" "$work/lists/second"
expect_bytes "$work/lists/second" '"%s"\r\n' "$work/B.mid"
[ ! -e "$work/lists/second.lst" ] || fail "the save dialog added .lst to a name typed without it"

quit_pelora
echo "list OK"
