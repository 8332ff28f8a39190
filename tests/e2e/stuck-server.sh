#!/usr/bin/env bash
# A sound server that stops answering while Pelora plays (its PulseAudio
# daemon stopped with SIGSTOP): the windows go on answering every click,
# a file chosen then names the player window, and closing the player window
# ends the program at once with status 0, the server still stopped.
# Skipped where PulseAudio cannot start.
# shellcheck source-path=SCRIPTDIR source=common.sh
source "$(dirname "$0")/common.sh"

if ! start_pulse; then
    echo "SKIP [$test_name]: no sound server here: $pulse_problem"
    exit 77
fi
server=${background[-1]}
# A stopped daemon ignores the end of the test until it runs again.
trap 'status=$?; kill -CONT "$server" 2>/dev/null; (exit "$status"); cleanup' EXIT

has_stream() { [ -n "$(pactl list short sink-inputs 2>/dev/null)" ]; }

first=$work/first.mid second=$work/second.mid
"$make_midi" "$first" 60
"$make_midi" "$second" 60

start_screen
start_pelora
click "$player" "${loadButton[@]}"
answer_file_dialog "$first"
wait_until 10 "the chosen file plays through the sound server" has_stream

kill -STOP "$server"
sleep 0.5 # the stream's buffer fills: the audio thread now waits for the server

click "$player" "${pauseButton[@]}"
click "$player" "${playButton[@]}"
click "$player" "${stopButton[@]}"
click "$player" "${playButton[@]}"
click "$player" "${loadButton[@]}"
answer_file_dialog "$second"
wait_until 5 "the player window is titled with the file chosen while the server is stuck" \
    title_is "$player" "$second"
click "$player" "${stopButton[@]}"

closed=$(date +%s%N)
quit_pelora
echo "pelora ended $((($(date +%s%N) - closed) / 1000000)) ms after its player window was" \
    "closed, the sound server stopped"
kill -0 "$server" && [ "$(ps -o stat= -p "$server" | cut -c1)" = T ] ||
    fail "the sound server was not stopped all along"
echo "stuck-server OK"
