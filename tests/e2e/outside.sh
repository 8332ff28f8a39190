#!/usr/bin/env bash
# Files from outside never cost the user a list. A list file handed over by
# a second start while the save dialog is open waits until the dialog has
# closed: the file saved holds the user's list. Many second starts with a
# missing file leave one message at a time, the later ones said together;
# and ten thousand missing names make one message that fits the screen.
# shellcheck source-path=SCRIPTDIR source=common.sh
source "$(dirname "$0")/common.sh"

mkdir "$work/lists"
"$make_midi" "$work/mine.mid" 30
printf '"%s"\r\n' /elsewhere/theirs.mid >"$work/lists/theirs.lst"

# second_start ARG...: another Pelora; it must hand its files over and end.
second_start() {
    local status=0
    (cd "$work" && QT_QPA_PLATFORM=xcb exec timeout 20 "$pelora" "$@") >>"$work/second.log" 2>&1 ||
        status=$?
    [ "$status" -eq 0 ] || fail "a second start ended with status $status: $(cat "$work/second.log")"
}
dialogs() {
    local window count=0
    for window in $(xdotool search --onlyvisible --name '.*' 2>/dev/null); do
        case $(window_type "$window") in _NET_WM_WINDOW_TYPE_DIALOG*) count=$((count + 1)) ;; esac
    done
    echo "$count"
}
one_dialog() { [ "$(dialogs)" -eq 1 ]; }
# dismiss: Return on the message shown.
dismiss() {
    find_dialog || fail "no message to dismiss"
    xdotool windowfocus --sync "$dialog" key Return
}

start_screen
start_pulse || true
launch_pelora "$work/mine.mid"
wait_until 20 "the file named on the command line plays" find_windows "$work/mine.mid"

click "$playlist" "${addButton[@]}"
click "$playlist" "${listSave[@]}"
wait_until 10 "the save dialog opens" find_dialog
second_start "$work/lists/theirs.lst"
sleep 1
title_is "$playlist" MidiList || fail "the handed-over list was loaded under the open save dialog"
xdotool windowfocus --sync "$dialog"
xdotool type --delay 5 "$work/lists/saved.lst"
xdotool key Return
wait_until 10 "the save dialog closes" no_dialog
saved() { [ -s "$work/lists/saved.lst" ]; }
wait_until 5 "the list is saved" saved
expect_bytes "$work/lists/saved.lst" '"%s"\r\n' "$work/mine.mid"
wait_until 5 "the handed-over list loads once the dialog has closed" \
    title_is "$playlist" "$work/lists/theirs.lst"

for i in $(seq 1 20); do second_start "$work/missing-$i.mid"; done
wait_until 10 "a message says the first missing file" one_dialog
sleep 1
[ "$(dialogs)" -eq 1 ] || fail "$(dialogs) message windows for 20 missing files, not one at a time"
dismiss
wait_until 10 "the later missing files are said together in one more message" one_dialog
dismiss
wait_until 5 "no message is left" no_dialog
sleep 1
no_dialog || fail "a third message after the gathered one"

names=()
for i in $(seq 1 10000); do names+=("$work/gone/song-$i.mid"); done
second_start "${names[@]}"
wait_until 20 "ten thousand missing names are told" one_dialog
find_dialog
height=$(xwininfo -id "$dialog" | awk '/^ *Height:/ {print $2}')
[ "$height" -le 700 ] || fail "the message for ten thousand names is $height pixels high"
dismiss
wait_until 5 "the message closes" no_dialog
quit_pelora
echo "outside OK"
