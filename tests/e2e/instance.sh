#!/usr/bin/env bash
# One Pelora for each user and display: a second start hands its file,
# named relative to its own folder, to the running Pelora, which plays it,
# and ends with status 0; with no file it brings back a closed playlist.
# A second start with an option that only a start can take says so and
# hands nothing over. Malformed and oversized requests on the socket are
# dropped and Pelora goes on. A socket left by a Pelora that was killed does not block the next
# start, and two started at the same moment end as one. SIGTERM and SIGINT
# end it as closing its player window does.
# shellcheck source-path=SCRIPTDIR source=common.sh
source "$(dirname "$0")/common.sh"

mkdir "$work/elsewhere"
"$make_midi" "$work/elsewhere/tune.mid" 30
for name in a b; do "$make_midi" "$work/$name.mid" 30; done

# second_start [ARG...]: another Pelora from another folder; it must end,
# with status 0, having handed its files over.
second_start() {
    local status=0
    (cd "$work/elsewhere" && QT_QPA_PLATFORM=xcb exec timeout 20 "$pelora" "$@") \
        >>"$work/second.log" 2>&1 || status=$?
    [ "$status" -eq 0 ] || fail "a second start ended with status $status: $(cat "$work/second.log")"
}

start_screen
start_sound_checks
start_pelora

second_start tune.mid
wait_until 5 "the running Pelora plays the file a second start handed over" \
    title_is "$player" "$work/elsewhere/tune.mid"
[ -z "$sound" ] || wait_until 10 "the handed-over file sounds" sounding
[ "$(visible_count)" -eq 2 ] || fail "$(visible_count) windows after a second start, not 2"

close "$playlist"
wait_until 5 "the playlist window closes" is_gone "$playlist"
second_start
wait_until 5 "a second start without files brings the playlist back" find_playlist

# Requests that are not Pelora's: a stranger's bytes, a length beyond the
# limit, more bytes than the length says, a relative name, bytes that are
# not UTF-8. Each is dropped without an answer.
socket=$(echo "$XDG_RUNTIME_DIR"/pelora-*.socket)
[ -S "$socket" ] || fail "no socket of the running Pelora in $XDG_RUNTIME_DIR"
request() { socat -t 2 - "UNIX-CONNECT:$socket" 2>/dev/null || true; }
answers=$(
    printf 'hello' | request
    printf 'PLR1\377\377\377\377' | request
    { printf 'PLR1\000\200\000\000'; head -c 9000000 /dev/zero; } | request
    printf 'PLR1\000\000\000\006a.mid\000' | request
    printf 'PLR1\000\000\000\004/\377\376\000' | request
)
[ -z "$answers" ] || fail "malformed requests were answered: $answers"
kill -0 "$pelora_pid" || fail "pelora ended after malformed requests"
second_start "$work/a.mid"
wait_until 5 "a second start still works after malformed requests" title_is "$player" "$work/a.mid"

# The SoundFont is chosen when Pelora starts: a second start with one says
# so and hands nothing over.
status=0
(cd "$work/elsewhere" && QT_QPA_PLATFORM=xcb exec timeout 20 "$pelora" --soundfont x.sf2 tune.mid) \
    >"$work/refused.log" 2>&1 || status=$?
[ "$status" -ne 0 ] && grep -q -- "cannot take --soundfont" "$work/refused.log" ||
    fail "a second start with --soundfont ended with status $status: $(cat "$work/refused.log")"
sleep 0.3
title_is "$player" "$work/a.mid" || fail "a second start with --soundfont handed its file over"

# Asked to end by a signal (a logout, `kill`, Ctrl+C), Pelora ends as closing
# its player does, also from under a file dialog: status 0, no sound left,
# its socket removed.
end_by_signal() { # SIGNAL
    kill -"$1" "$pelora_pid"
    wait_until 10 "pelora ends on SIG$1" pelora_ended
    local status=0
    wait "$pelora_pid" || status=$?
    pelora_pid=
    [ "$status" -eq 0 ] || fail "pelora ended with status $status on SIG$1"
    [ ! -e "$socket" ] || fail "pelora left its socket behind on SIG$1"
    [ -z "$sound" ] || no_stream || fail "a sound stream is left after SIG$1"
}
click "$player" "${loadButton[@]}"
wait_until 10 "the open dialog opens" find_dialog
end_by_signal TERM
launch_pelora "$work/b.mid"
wait_until 20 "Pelora starts again after SIGTERM" find_windows "$work/b.mid"
end_by_signal INT
start_pelora

# Killed, Pelora leaves its socket behind.
kill -KILL "$pelora_pid"
wait "$pelora_pid" 2>/dev/null || true
pelora_pid=
[ -S "$socket" ] || fail "the killed Pelora left no socket behind; nothing to test"
launch_pelora "$work/b.mid"
wait_until 20 "a start after a killed Pelora opens its windows" find_windows "$work/b.mid"
quit_pelora

# Two at once.
launch_pelora "$work/a.mid"
first=$pelora_pid
launch_pelora "$work/b.mid"
second=$pelora_pid
background+=("$first" "$second")
pelora_pid=
one_ended() { ! kill -0 "$first" 2>/dev/null || ! kill -0 "$second" 2>/dev/null; }
wait_until 20 "one of two Pelora started together ends" one_ended
if kill -0 "$first" 2>/dev/null; then
    running=$first ended=$second handed=$work/b.mid
else
    running=$second ended=$first handed=$work/a.mid
fi
status=0
wait "$ended" || status=$?
[ "$status" -eq 0 ] || fail "the Pelora that handed over ended with status $status"
pelora_pid=$running
wait_until 5 "the running Pelora plays the file of the one that ended" find_windows "$handed"
sleep 0.5
[ "$(visible_count)" -eq 2 ] || fail "$(visible_count) windows after two starts at once, not 2"
quit_pelora
echo "one instance OK"
