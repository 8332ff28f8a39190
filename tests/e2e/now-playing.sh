#!/usr/bin/env bash
# What the desktop's media controls show is what sounds, over a private
# session bus with the sound recorded from a null sink: the song's length
# and a position that moves with the music; SetPosition and Seek land where
# asked and say so (Seeked); Volume 0.5 halves the level and is kept for the
# next run; a burst of 400 Play/Pause presses, then Stop and Play, settles
# at once on one stream; the status is Stopped after the song's end and
# after a file that cannot be played; LoopStatus Track plays the song
# again, Playlist goes on to the list's next entry, round the list.
# shellcheck source-path=SCRIPTDIR source=common.sh
source "$(dirname "$0")/common.sh"

need_bus_tools
"$make_midi" "$work/a.mid" 30
"$make_midi" "$work/b.mid" 30
"$make_midi" "$work/short.mid" 1
echo "not music" >"$work/text.mid"

start_screen
start_sound_checks
start_bus
gdbus monitor --session -d "$service" >"$work/monitor.log" 2>&1 &
background+=($!)

seconds() { # the microseconds gdbus prints in "(<int64 N>,)", in whole seconds
    sed -E 's/.*int64 (-?[0-9]+).*/\1/' <<<"$1" | awk '{ print int($1 / 1000000) }'
}
position() { seconds "$(property Position)"; }
position_in() { local at; at=$(position) && [ "$at" -ge "$1" ] && [ "$at" -le "$2" ]; }
track_id() { property Metadata | sed -E "s/.*'mpris:trackid': <objectpath '([^']*)'>.*/\1/"; }

launch_pelora "$work/a.mid" "$work/b.mid"
wait_until 20 "the first file named plays" find_windows "$work/a.mid"
wait_until 10 "Pelora is $service on the session bus" on_bus
wait_until 5 "a.mid plays" status_is Playing
metadata=$(property Metadata)
[[ $metadata =~ \'mpris:length\':\ \<int64\ (30[0-9]{6}|29[0-9]{6})\> ]] ||
    fail "the 30 s song's length in Metadata: $metadata"
[ "$(property CanSeek)" = "(<true>,)" ] || fail "CanSeek is $(property CanSeek) while a.mid plays"
# The null sink takes its first block of sound after a while: from then on.
wait_until 5 "the position moves" position_in 1 30
first=$(position)
sleep 2
second=$(position)
[ "$second" -ge $((first + 1)) ] && [ "$second" -le $((first + 3)) ] ||
    fail "the position went from $first s to $second s in 2 s of music: $(property Position)"

mpris SetPosition "$(track_id)" 20000000
wait_until 2 "SetPosition to 20 s lands there" position_in 20 22
mpris Seek -- -10000000
wait_until 2 "Seek 10 s back lands at 10 s" position_in 10 12
grep -q "Seeked" "$work/monitor.log" || fail "no Seeked signal: $(cat "$work/monitor.log")"

if [ -n "$sound" ]; then
    wait_until 5 "a.mid is heard" sounding
    measure 1500
    full=$level
    set_property Volume "<0.5>"
    sleep 0.3
    measure 1500
    awk -v full="$full" -v half="$level" 'BEGIN { exit !(half > 0.3 * full && half < 0.7 * full) }' ||
        fail "Volume 0.5 took the level from $full to $level"
fi
grep -q "'Volume': <0.5>" "$work/monitor.log" || fail "the desktop was not told of the volume"

# A held media key, a script: the last press wins, at once, on one stream.
for _ in $(seq 400); do
    dbus-send --session --dest="$service" /org/mpris/MediaPlayer2 \
        org.mpris.MediaPlayer2.Player.PlayPause
done
mpris Stop
mpris Play
began=$(date +%s%N)
wait_until 3 "after the burst, Stop and Play, a.mid plays" status_is Playing
if [ -n "$sound" ]; then
    heard() { measure 50 >/dev/null && awk -v level="$level" 'BEGIN { exit !(level > 0.002) }'; }
    wait_until 2 "the music is heard after the burst" heard
    echo "from the burst's last command to its sound: $((($(date +%s%N) - began) / 1000000)) ms"
    [ "$(pactl list short sink-inputs | wc -l)" -le 1 ] ||
        fail "streams after the burst: $(pactl list short sink-inputs)"
fi

mpris OpenUri "file://$work/short.mid"
wait_until 5 "the short song plays" title_is "$player" "$work/short.mid"
wait_until 5 "the status is Stopped after the song's end" status_is Stopped

set_property LoopStatus "<'Track'>"
mpris Play
wait_until 5 "the short song plays again" status_is Playing
sleep 2.5
status_is Playing || fail "the Track loop ended with $(property PlaybackStatus)"
[ "$(grep -c Seeked "$work/monitor.log")" -ge 3 ] ||
    fail "no Seeked at the loop's starts: $(grep Seeked "$work/monitor.log")"

# short.mid sorts after b.mid: round the list, its next entry is a.mid.
set_property LoopStatus "<'Playlist'>"
wait_until 5 "the list's next entry after the song's end, round the list" \
    title_is "$player" "$work/a.mid"
sleep 1
title_is "$player" "$work/a.mid" || fail "after a.mid came $(title "$player")"
set_property LoopStatus "<'None'>"

mpris OpenUri "file://$work/text.mid"
wait_until 10 "a file that is no MIDI file is told" find_dialog
close "$dialog"
wait_until 5 "the message closes" no_dialog
wait_until 5 "the status is Stopped after a refused file" status_is Stopped

quit_pelora
grep -q "^volume=0.5" "$work/home/.config/pelora/pelora.ini" ||
    fail "the volume was not kept: $(cat "$work/home/.config/pelora/pelora.ini" 2>&1)"
echo "now-playing OK"
