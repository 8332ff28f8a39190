#!/usr/bin/env bash
# Real sound, recorded from the null sink of the test's own PulseAudio
# daemon: silence, and FluidSynth not loaded, before anything plays; sound
# once a file is chosen in the open dialog, silence after "pause", sound
# again after "Play", and after "Stop" silence with the audio stream
# released. Skipped where PulseAudio cannot start.
# shellcheck source-path=SCRIPTDIR source=common.sh
source "$(dirname "$0")/common.sh"

if ! start_pulse; then
    echo "SKIP [$test_name]: no sound checks here: $pulse_problem"
    exit 77
fi

start_recording

song=$work/long.mid
"$make_midi" "$song" 60

start_screen
start_pelora
silent 500 || fail "the sink is not silent before anything plays (RMS $level)"
# Nothing of the synthesizer is loaded before the first song needs it.
! grep -q libfluidsynth "/proc/$pelora_pid/maps" || fail "FluidSynth is loaded before any song"

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
