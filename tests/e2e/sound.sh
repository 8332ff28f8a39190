#!/usr/bin/env bash
# Real sound, recorded from the null sink of the test's own PulseAudio
# daemon: silence before anything plays, sound once a file is chosen in the
# open dialog, silence after "pause", sound again after "Play", and after
# "Stop" silence with the audio stream released. Skipped where PulseAudio
# cannot start.
# shellcheck source-path=SCRIPTDIR source=common.sh
source "$(dirname "$0")/common.sh"

loadButton=(20 144)
pauseButton=(68 144)
stopButton=(116 144)
playButton=(60 160)

if ! start_pulse; then
    echo "SKIP [$test_name]: no sound checks here: $pulse_problem"
    exit 77
fi

# The null sink's output is recorded all along: a recording started for each
# measurement would wait for the sink's next block, up to two seconds.
recording=$work/recording.raw
parec -d e2e.monitor --raw --format=s16le --rate=44100 --channels=2 --latency-msec=20 \
    >"$recording" 2>"$work/parec.log" &
background+=($!)

# measure MILLISECONDS: sets level to the RMS amplitude (0 to 1) of what the
# null sink puts out during the next MILLISECONDS.
level=
measure() {
    local bytes=$((44100 * 4 * $1 / 1000)) from deadline=$((SECONDS + 5))
    from=$(($(stat -c %s "$recording") / 4 * 4))
    until [ "$(stat -c %s "$recording")" -ge $((from + bytes)) ]; do
        [ "$SECONDS" -lt "$deadline" ] ||
            fail "the recording of the null sink stalled: $(cat "$work/parec.log")"
        sleep 0.05
    done
    tail -c +$((from + 1)) "$recording" | head -c "$bytes" >"$work/take.raw"
    level=$(sox -t raw -r 44100 -e signed -b 16 -c 2 "$work/take.raw" -n stat 2>&1 |
        awk '/^RMS +amplitude/ {print $3}')
    [ -n "$level" ] || fail "sox could not measure the recording"
    echo "RMS $level over $1 ms"
}
# The test file holds notes all along, so it sounds well above this, and the
# sink is silent well below it.
sounding() {
    measure 300
    awk -v level="$level" 'BEGIN { exit !(level > 0.005) }'
}
silent() {
    measure "${1:-300}"
    awk -v level="$level" 'BEGIN { exit !(level < 0.001) }'
}
no_stream() { [ -z "$(pactl list short sink-inputs)" ]; }

song=$work/long.mid
"$make_midi" "$song" 60

start_screen
start_pelora
silent 500 || fail "the sink is not silent before anything plays (RMS $level)"

click "$player" "${loadButton[@]}"
answer_file_dialog "$song"
wait_until 5 "the player window is titled with the chosen file" title_is "$player" "$song"
wait_until 10 "a file chosen in the open dialog sounds" sounding

click "$player" "${pauseButton[@]}"
wait_until 5 "the music falls silent after pause" silent

click "$player" "${playButton[@]}"
wait_until 10 "the music sounds again after play" sounding

click "$player" "${stopButton[@]}"
wait_until 5 "the music falls silent after stop" silent
silent 1000 || fail "the music came back after stop (RMS $level)"
wait_until 5 "stop releases the audio stream" no_stream

click "$player" "${playButton[@]}"
wait_until 10 "the music sounds after play following stop" sounding
quit_pelora
no_stream || fail "an audio stream is left after pelora ended"
echo "sound OK"
