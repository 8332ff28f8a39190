#!/usr/bin/env bash
# The desktop's media controls over a private session bus: Pelora is
# org.mpris.MediaPlayer2.pelora; its PlaybackStatus and Metadata follow what
# plays (a song's name from its file, in the code page Japanese files are
# written in); Pause, PlayPause, Next, Previous, Stop and OpenUri do what the
# buttons, the list and a file from outside do, and Quit ends Pelora. A URI
# that is no local file's gets an error; a key binding's dbus-send, which
# asks no reply, pauses, also while a message is open.
# shellcheck source-path=SCRIPTDIR source=common.sh
source "$(dirname "$0")/common.sh"

need_bus_tools

for name in a b; do "$make_midi" "$work/$name.mid" 30; done
# A song named 歌 in code page 932: a track name, then one long note.
printf 'MThd\0\0\0\6\0\0\0\1\0\140MTrk\0\0\0\23\0\377\3\2\211\314\0\220\74\100\217\0\200\74\0\0\377\57\0' \
    >"$work/named.mid"

start_screen
start_pulse || true
start_bus

gdbus monitor --session -d "$service" >"$work/monitor.log" 2>&1 &
background+=($!)
launch_pelora "$work/a.mid" "$work/b.mid"
wait_until 20 "the first file named plays" find_windows "$work/a.mid"
wait_until 10 "Pelora is $service on the session bus" on_bus
wait_until 5 "PlaybackStatus is Playing while a.mid plays" status_is Playing
metadata=$(property Metadata)
[[ $metadata == *"'xesam:title': <'a.mid'>"* && $metadata == *"'xesam:url': <'file://$work/a.mid'>"* &&
    $metadata == *"'mpris:trackid': <objectpath '/"* ]] ||
    fail "Metadata while a.mid plays: $metadata"
[ "$(property CanGoPrevious)" = "(<false>,)" ] && [ "$(property CanGoNext)" = "(<true>,)" ] ||
    fail "a.mid is first of two in the list, yet CanGoPrevious $(property CanGoPrevious), CanGoNext $(property CanGoNext)"

mpris Pause
wait_until 5 "Pause pauses" status_is Paused
grep -q "'PlaybackStatus': <'Paused'>" "$work/monitor.log" ||
    fail "the desktop was not told of the pause: $(cat "$work/monitor.log")"
mpris PlayPause
wait_until 5 "PlayPause plays again" status_is Playing

for uri in "http://example.org/a.mid" "" "a.mid" "$work/a.mid" "file:///" "file://otherhost$work/a.mid" \
    "file://$work/a.mid%00"; do
    error=$(mpris OpenUri "$uri" 2>&1) && fail "OpenUri \"$uri\" was taken"
    [[ $error == *DBus.Error.InvalidArgs:* || $error == *DBus.Error.NotSupported:* ]] || fail "OpenUri \"$uri\": $error"
done
wait_until 5 "PlaybackStatus is Playing after refused URIs" status_is Playing

mpris OpenUri "file://$work/missing.mid"
wait_until 10 "a missing file is told in a message" find_dialog
message=$dialog
dbus-send --session --dest="$service" /org/mpris/MediaPlayer2 org.mpris.MediaPlayer2.Player.Pause
wait_until 5 "Pause by dbus-send, without a reply, pauses under the message" status_is Paused
is_shown "$message" || fail "the message about the missing file closed on Pause"
close "$message"
wait_until 5 "the message closes" no_dialog
mpris PlayPause
wait_until 5 "PlayPause plays again after the message" status_is Playing

mpris Next
wait_until 5 "Next plays the list's next entry" title_is "$player" "$work/b.mid"
[[ $(property Metadata) == *"'xesam:title': <'b.mid'>"* ]] || fail "Metadata after Next: $(property Metadata)"
[ "$(property CanGoNext)" = "(<false>,)" ] || fail "b.mid is last in the list, yet CanGoNext"
mpris Previous
wait_until 5 "Previous plays the list's entry before" title_is "$player" "$work/a.mid"

mpris Stop
wait_until 5 "Stop stops" status_is Stopped
mpris OpenUri "file://$work/named.mid"
wait_until 5 "OpenUri plays the file" title_is "$player" "$work/named.mid"
wait_until 5 "the song's name in its file is its title" eval \
    '[[ $(property Metadata) == *"'"'xesam:title': <'歌'>"'"* ]]'
wait_until 5 "PlaybackStatus is Playing after OpenUri" status_is Playing

gdbus call --session -d "$service" -o /org/mpris/MediaPlayer2 -m org.mpris.MediaPlayer2.Quit >/dev/null
wait_until 10 "Quit ends Pelora" pelora_ended
status=0
wait "$pelora_pid" || status=$?
pelora_pid=
[ "$status" -eq 0 ] || fail "pelora ended with status $status after Quit"
echo "media OK"
