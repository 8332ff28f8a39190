#!/usr/bin/env bash
# Start-up as the user sees it: both windows with their titles, at their
# places and sizes, the player window active, the mascot on its first frame,
# the picture buttons on black; a held button shows its pressed picture;
# the speed bar and the check box set the mascot's pace and start and stop it;
# closing the player window ends the program with status 0.
# shellcheck source-path=SCRIPTDIR source=common.sh
source "$(dirname "$0")/common.sh"

start_screen
start_pulse || true
start_pelora

expect_window "$player" Pelora "92,86 136x169"
expect_window "$playlist" MidiList "233,87 313x168"
wait_until 5 "the player window is the active window" player_has_focus

# Pixels are read at screen coordinates: the player's client area starts at
# (92, 86), the playlist's at (233, 87).
wait_until 5 "the mascot shows frame A0.gif" mascot_shows A0
pixel_is 220 150 'r + g + b < 30' || fail "the mascot is not black right of its frame"
# The play button's face: a grey gradient, dark at its left end and lighter
# towards the middle, with the black triangle in the centre.
pixel_is 94 246 'r > 70 && r < 140 && g > 70 && g < 140 && b > 70 && b < 140' ||
    fail "the play button's left end is not dark grey: $(pixel 94 246)"
pixel_is 130 246 'r > 160 && g > 160 && b > 160' ||
    fail "the play button's face is not light towards its middle: $(pixel 130 246)"
pixel_is 160 246 'r + g + b < 90' || fail "the play button shows no black triangle: $(pixel 160 246)"
pixel_is 208 230 'r + g + b < 90' || fail "the stop button shows no black square: $(pixel 208 230)"
pixel_is 343 227 'r + g + b < 30' || fail "the playlist window is not black: $(pixel 343 227)"
pixel_is 533 187 'r + g + b < 30' || fail "the list is not black: $(pixel 533 187)"

# Held down, the stop button shows its symbol in blue; released, in black.
xdotool mousemove --window "$player" 116 144 mousedown 1
wait_until 5 "the held stop button shows a blue square" pixel_is 208 230 'b > 200 && r < 60 && g < 60'
xdotool mouseup 1
wait_until 5 "the released stop button shows a black square" pixel_is 208 230 'r + g + b < 90'

# Dragged to its left end, the speed bar sets a 1 ms frame interval. Checking
# the box starts the animation at once, even with nothing playing: at the
# 500 ms of start-up the first tick would show frame A0 again and the second,
# a second after the click, frame A1.
mascot_moved() { ! mascot_shows A0; }
xdotool mousemove --window "$playlist" "${speedBarThumb[@]}" mousedown 1 \
    mousemove --window "$playlist" 0 153 mouseup 1
click "$playlist" "${animationBox[@]}"
checked=$(date +%s%N)
click "$playlist" "${animationBox[@]}"
wait_until 5 'checking "アニメーション" starts the mascot' mascot_moved
moved_after=$((($(date +%s%N) - checked) / 1000000))
[ "$moved_after" -lt 900 ] ||
    fail "the mascot first moved $moved_after ms after the box was checked, not at the bar's 1 ms"

# Unchecked, the box stops the mascot where it is.
click "$playlist" "${animationBox[@]}"
sleep 0.3 # a frame drawn just before the timer stopped
import -window root -crop 136x137+92+86 +repage "$work/before.png"
sleep 0.5
import -window root -crop 136x137+92+86 +repage "$work/after.png"
[ "$(compare -metric AE "$work/before.png" "$work/after.png" null: 2>&1)" = 0 ] ||
    fail 'the mascot moves on with "アニメーション" unchecked'

# Play with no file chosen: the caption becomes empty, and the title bar must
# not fall back to the program's name.
click "$player" 68 160
caption_is_blank() {
    local seen
    seen=$(title "$player" | sed 's/\\342\\200\\213//g; s/\xe2\x80\x8b//g')
    [ -z "$seen" ]
}
wait_until 5 "an empty caption leaves the player's title bar blank" caption_is_blank

quit_pelora
echo "windows OK"
