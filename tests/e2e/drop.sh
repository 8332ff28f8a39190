#!/usr/bin/env bash
# Files dragged from another program through the XDND protocol, as a file
# manager drags them. A folder, a text file or a web link shows no drop
# cursor on either window. A MIDI file dropped on the player plays, taken as
# a copy where the source offers one and left where it was even when the
# source proposes a move; MIDI files dropped on the playlist go to their
# sorted places, and a list file dropped there loads, before the MIDI files
# dropped with it are added.
# shellcheck source-path=SCRIPTDIR source=common.sh
source "$(dirname "$0")/common.sh"

# Screen points over the mascot and over the playlist's list.
overPlayer=(150 140)
overList=(380 140)

mkdir "$work/folder.mid"
echo "not music" >"$work/notes.txt"
for name in tune B a; do "$make_midi" "$work/$name.mid" 30; done
printf '"%s"\r\n' "$work/B.mid" >"$work/one.lst"

start_screen
start_pulse || true
start_pelora

# answer [--probe] [--move] WINDOW X Y URI...: the target's answers on one line.
answer() { "$xdnd_drag" "$@" 2>&1 | xargs; }

for uri in "file://$work/folder.mid" "file://$work/notes.txt" "http://example.com/tune.mid"; do
    seen=$(answer --probe "$player" "${overPlayer[@]}" "$uri")
    [ "$seen" = refused ] || fail "the player answered \"$seen\" to a drag of $uri"
    seen=$(answer --probe "$playlist" "${overList[@]}" "$uri")
    [ "$seen" = refused ] || fail "the playlist answered \"$seen\" to a drag of $uri"
done

seen=$(answer "$player" "${overPlayer[@]}" "file://$work/tune.mid")
[ "$seen" = "accepted copy dropped" ] || fail "a MIDI file dropped on the player: \"$seen\""
wait_until 5 "the MIDI file dropped on the player plays" title_is "$player" "$work/tune.mid"
seen=$(answer --move "$player" "${overPlayer[@]}" "file://$work/a.mid")
[[ $seen == accepted*dropped ]] || fail "a MIDI file moved onto the player: \"$seen\""
wait_until 5 "the MIDI file moved onto the player plays" title_is "$player" "$work/a.mid"
[ -f "$work/a.mid" ] || fail "the file moved onto the player is gone from its folder"

seen=$(answer "$playlist" "${overList[@]}" "file://$work/one.lst")
[ "$seen" = "accepted copy dropped" ] || fail "a list file dropped on the playlist: \"$seen\""
wait_until 5 "the list file dropped on the playlist loads" title_is "$playlist" "$work/one.lst"
seen=$(answer "$playlist" "${overList[@]}" "file://$work/tune.mid" "file://$work/a.mid")
[ "$seen" = "accepted copy dropped" ] || fail "MIDI files dropped on the playlist: \"$seen\""
click "$playlist" "${listSave[@]}"
answer_file_dialog "$work/saved.lst"
wait_until 5 "the list is saved" title_is "$playlist" "$work/saved.lst"
expect_bytes "$work/saved.lst" '"%s"\r\n' "$work/a.mid" "$work/B.mid" "$work/tune.mid"
# A list file dropped with a MIDI file named before it replaces the list
# first; the MIDI file then joins the list it loaded.
seen=$(answer "$playlist" "${overList[@]}" "file://$work/tune.mid" "file://$work/one.lst")
[ "$seen" = "accepted copy dropped" ] || fail "a MIDI and a list file dropped together: \"$seen\""
wait_until 5 "the list file dropped with a MIDI file loads" title_is "$playlist" "$work/one.lst"
click "$playlist" "${listSave[@]}"
answer_file_dialog "$work/both.lst"
wait_until 5 "the list is saved" title_is "$playlist" "$work/both.lst"
expect_bytes "$work/both.lst" '"%s"\r\n' "$work/B.mid" "$work/tune.mid"
quit_pelora
echo "drop OK"
