# shellcheck shell=bash disable=SC2034 # the variables are the tests'
# Sourced by the end-to-end tests, which are called with
#   PELORA MAKE_MIDI CLOSE_WINDOW FIRST_DISPLAY
# Gives each test a private work folder, a virtual X screen of its own and,
# where one can start, a private PulseAudio daemon with a null sink, and the
# helpers that drive Pelora the way a person would.
#
# The screen runs no window manager: every window stands exactly where the
# program puts it, a window's client area is the X window itself, and the
# close box is stood in for by the WM_DELETE_WINDOW message that a window
# manager would send.
set -euo pipefail

pelora=$1
make_midi=$2
close_window=$3
first_display=$4
frames=$(dirname "$pelora")
xdnd_drag=$(dirname "$close_window")/e2e_xdnd_drag
test_name=$(basename "$0" .sh)

# Client coordinates of the controls the tests click, from the windows'
# designs: one table for every test.
# The player window.
mascot=(60 60)
loadButton=(20 144)
pauseButton=(68 144)
stopButton=(116 144)
playButton=(60 160)
# The playlist window.
firstRow=(60 8)
animationBox=(8 136)
speedBarThumb=(60 153)
listLoad=(156 136)     # 読込
listSave=(156 152)     # 保存
addButton=(220 136)    # 追加
removeButton=(220 152) # 削除
aboutButton=(276 136)  # About

work=$(mktemp -d "${TMPDIR:-/tmp}/pelora-e2e.XXXXXX")
mkdir -m 700 "$work/home" "$work/runtime" "$work/cwd" "$work/pulse"
background=() # processes started here, ended on exit in reverse order
pelora_pid=

cleanup() {
    local status=$?
    [ -z "$pelora_pid" ] || kill "$pelora_pid" 2>/dev/null || true
    local i
    for ((i = ${#background[@]} - 1; i >= 0; i--)); do
        kill "${background[i]}" 2>/dev/null || true
    done
    wait 2>/dev/null || true
    rm -rf "$work"
    exit "$status"
}
trap cleanup EXIT

# fail WHAT: ends the test, with Pelora's output and a picture of the screen.
fail() {
    echo "FAIL [$test_name]: $*" >&2
    if [ -s "$work/pelora.log" ]; then
        echo "--- pelora's output:" >&2
        cat "$work/pelora.log" >&2
    fi
    if [ -n "${DISPLAY:-}" ] && import -window root "$PWD/$test_name-failure.png" 2>/dev/null; then
        echo "--- the screen at the failure: $PWD/$test_name-failure.png" >&2
    fi
    exit 1
}

# wait_until SECONDS WHAT COMMAND...: runs COMMAND every tenth of a second
# until it succeeds; fails the test after SECONDS, or at once when Pelora
# ended meanwhile.
wait_until() {
    local seconds=$1 what=$2
    shift 2
    local deadline=$((SECONDS + seconds))
    until "$@"; do
        if [ -n "$pelora_pid" ] && ! kill -0 "$pelora_pid" 2>/dev/null; then
            "$@" || fail "pelora ended while waiting for: $what"
            return 0
        fi
        [ "$SECONDS" -lt "$deadline" ] || fail "$what: not so after $seconds s"
        sleep 0.1
    done
}

# Whatever Pelora plays goes to the test's own null sink, or nowhere: never to
# the machine's speakers. Settings and dialogs' memories stay in the work folder.
export HOME=$work/home XDG_CONFIG_HOME=$work/home/.config XDG_CACHE_HOME=$work/home/.cache
export XDG_DATA_HOME=$work/home/.local/share XDG_RUNTIME_DIR=$work/runtime
export PULSE_SERVER=unix:$work/pulse/native PULSE_CLIENTCONFIG=$work/pulse/client.conf
export PULSE_RUNTIME_PATH=$work/pulse/runtime PULSE_STATE_PATH=$work/pulse/state
export ALSA_CONFIG_PATH=$work/no-alsa.conf JACK_DEFAULT_SERVER=pelora-e2e-none
export SDL_AUDIODRIVER=pelora-e2e-none
export LC_ALL=C.UTF-8
unset DISPLAY WAYLAND_DISPLAY SESSION_MANAGER DBUS_SESSION_BUS_ADDRESS
printf 'autospawn = no\n' >"$PULSE_CLIENTCONFIG"
: >"$ALSA_CONFIG_PATH"

# Starts Xvfb on the first free display from FIRST_DISPLAY and points DISPLAY
# at it. Xvfb tells the display number once it takes connections. A script
# may set screen_size beforehand.
screen_size=${screen_size:-1024x768x24}
start_screen() {
    local display ready=$work/display-ready xvfb
    for display in $(seq "$first_display" $((first_display + 8))); do
        [ ! -e "/tmp/.X$display-lock" ] || continue
        : >"$ready"
        Xvfb ":$display" -screen 0 "$screen_size" -nolisten tcp -noreset -displayfd 3 \
            3>"$ready" >"$work/xvfb.log" 2>&1 &
        xvfb=$!
        while kill -0 "$xvfb" 2>/dev/null && [ ! -s "$ready" ]; do
            sleep 0.05
        done
        if [ -s "$ready" ]; then
            background+=("$xvfb")
            export DISPLAY=:$display
            return 0
        fi
        wait "$xvfb" 2>/dev/null || true
    done
    fail "no virtual X screen could start on :$first_display to :$((first_display + 8)):" \
        "$(cat "$work/xvfb.log")"
}

# Starts a PulseAudio daemon with the null sink "e2e" as its default sink.
# Returns 1, with the reason in pulse_problem, when it cannot.
pulse_problem=
start_pulse() {
    if ! command -v pulseaudio >/dev/null || ! command -v pactl >/dev/null; then
        pulse_problem="pulseaudio or pactl is not installed"
        return 1
    fi
    cat >"$work/pulse/default.pa" <<EOF
load-module module-null-sink sink_name=e2e rate=44100 channels=2
load-module module-native-protocol-unix auth-anonymous=1 socket=$work/pulse/native
set-default-sink e2e
EOF
    # No display and no session bus: the daemon keeps to itself.
    env -u DISPLAY pulseaudio -n -F "$work/pulse/default.pa" --daemonize=no \
        --exit-idle-time=-1 --use-pid-file=no --realtime=no --high-priority=no \
        --log-target=stderr >"$work/pulse.log" 2>&1 &
    local daemon=$!
    background+=("$daemon")
    local deadline=$((SECONDS + 5))
    until pactl info 2>/dev/null | grep -qx 'Default Sink: e2e'; do
        if ! kill -0 "$daemon" 2>/dev/null || [ "$SECONDS" -ge "$deadline" ]; then
            pulse_problem="pulseaudio did not start: $(grep -v '^W:' "$work/pulse.log" | tail -3)"
            return 1
        fi
        sleep 0.1
    done
}

# start_recording: records the null sink's output from now on, all along: a
# recording started for each measurement would wait for the sink's next
# block, up to two seconds.
recording=$work/recording.raw
start_recording() {
    parec -d e2e.monitor --raw --format=s16le --rate=44100 --channels=2 --latency-msec=20 \
        >"$recording" 2>"$work/parec.log" &
    background+=($!)
}

# start_sound_checks: a sound server with its recording where one can start;
# sets sound to yes then, else says why the sound is not checked.
sound=
start_sound_checks() {
    if start_pulse; then
        start_recording
        sound=yes
    else
        echo "no sound checks here: $pulse_problem"
    fi
}

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
    # One read, no pipe: `tail | head` under pipefail ended the test without
    # a word whenever tail, still reading the growing recording, got SIGPIPE.
    dd if="$recording" of="$work/take.raw" iflag=skip_bytes,count_bytes skip="$from" \
        count="$bytes" bs=65536 status=none
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

# launch_pelora [ARG...]: starts Pelora from an empty folder, so that its
# frame pictures come from the folder beside the program, and returns at once.
launch_pelora() {
    (cd "$work/cwd" && QT_QPA_PLATFORM=xcb exec "$pelora" "$@") >"$work/pelora.log" 2>&1 &
    pelora_pid=$!
}

# start_pelora [ARG...]: launches Pelora and waits until both windows stand.
# Sets player and playlist to their window ids.
player='' playlist=''
# shellcheck disable=SC2120 # the arguments are optional
start_pelora() {
    player='' playlist=''
    launch_pelora "$@"
    wait_until 20 'the player window "Pelora" is shown' find_player
    find_playlist || fail 'the playlist window "MidiList" is not shown with the player window'
}

find_player() {
    local window
    for window in $(xdotool search --onlyvisible --name '^Pelora$' 2>/dev/null); do
        case $(window_type "$window") in
        _NET_WM_WINDOW_TYPE_DIALOG*) fail "pelora reported an error at start-up" ;;
        *) player=$window ;;
        esac
    done
    [ -n "$player" ]
}

# close WINDOW: what the close box does.
close() {
    "$close_window" "$1" || fail "could not ask window $1 to close"
}

# quit_pelora: closes the player window; the program must end with status 0
# and leave no window behind.
quit_pelora() {
    close "$player"
    wait_until 10 "pelora ends once its player window is closed" pelora_ended
    local status=0
    wait "$pelora_pid" || status=$?
    pelora_pid=
    [ "$status" -eq 0 ] || fail "pelora ended with status $status after its player window closed"
    [ -z "$(xdotool search --onlyvisible --name '.' 2>/dev/null)" ] ||
        fail "windows are left on the screen after pelora ended"
}

pelora_ended() { ! kill -0 "$pelora_pid" 2>/dev/null; }
player_has_focus() { [ "$(xdotool getwindowfocus 2>/dev/null)" = "$player" ]; }
find_playlist() { playlist=$(visible_window '^MidiList$') && [ -n "$playlist" ]; }

# visible_window PATTERN: the id of the visible window whose title matches.
visible_window() { xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1; }

# window_titled TITLE: the id of the visible window titled exactly TITLE (a
# path, say, whose dots and slashes a pattern would take for its own).
window_titled() {
    local window
    for window in $(xdotool search --onlyvisible --name '.' 2>/dev/null); do
        [ "$(title "$window")" != "$1" ] || { echo "$window"; return 0; }
    done
    return 1
}

# find_windows PLAYER_TITLE: sets player and playlist once both stand, the
# player titled PLAYER_TITLE (a file Pelora was given plays at once).
find_windows() { player=$(window_titled "$1") && find_playlist; }

# visible_count: how many windows are on the screen.
visible_count() { xdotool search --onlyvisible --name '.' 2>/dev/null | wc -l; }

window_type() { xprop -id "$1" -notype _NET_WM_WINDOW_TYPE 2>/dev/null | sed 's/.* = //'; }

# title WINDOW: the window's title as the window system shows it.
title() {
    xprop -id "$1" -notype _NET_WM_NAME 2>/dev/null | sed -n 's/^_NET_WM_NAME = "\(.*\)"$/\1/p'
}

is_shown() { xwininfo -id "$1" 2>/dev/null | grep -q 'Map State: IsViewable'; }
is_gone() { ! is_shown "$1"; }

# geometry WINDOW: "X,Y WIDTHxHEIGHT" of the client area on the screen.
geometry() {
    xwininfo -id "$1" | awk '/Absolute upper-left X/ {x = $4} /Absolute upper-left Y/ {y = $4}
        /^ *Width:/ {w = $2} /^ *Height:/ {h = $2} END {print x "," y " " w "x" h}'
}

expect_window() { # WINDOW TITLE GEOMETRY
    local seen
    seen=$(title "$1")
    [ "$seen" = "$2" ] || fail "window $1 is titled \"$seen\", not \"$2\""
    seen=$(geometry "$1")
    [ "$seen" = "$3" ] || fail "\"$2\" has its client area at $seen, not at $3"
}

# click WINDOW X Y [COUNT]: a left click at client coordinates.
click() {
    xdotool mousemove --window "$1" "$2" "$3" click --repeat "${4:-1}" --delay 100 1
}

# A top-level dialog of Pelora's, such as a file dialog, sets dialog.
dialog=
find_dialog() {
    local window
    dialog=
    for window in $(xdotool search --onlyvisible --name '.*' 2>/dev/null); do
        case $(window_type "$window") in
        _NET_WM_WINDOW_TYPE_DIALOG*) dialog=$window ;;
        esac
    done
    [ -n "$dialog" ]
}
no_dialog() { ! find_dialog; }

# answer_file_dialog PATH: types PATH into the file dialog that has just
# opened and presses Enter.
answer_file_dialog() {
    wait_until 10 "a file dialog opens" find_dialog
    xdotool windowfocus --sync "$dialog"
    xdotool type --delay 5 "$1"
    xdotool key Return
    wait_until 10 "the file dialog closes after Enter on $1" no_dialog
}

# pixel X Y: "R G B" of the screen at (X, Y).
pixel() {
    import -window root -crop "1x1+$1+$2" -depth 8 rgb:- | od -An -tu1 | xargs
}

# pixel_is X Y EXPR: EXPR, an awk condition over r, g and b, holds for the pixel.
pixel_is() {
    local r g b
    read -r r g b <<<"$(pixel "$1" "$2")"
    awk -v r="$r" -v g="$g" -v b="$b" "BEGIN { exit !($3) }"
}

# mascot_shows FRAME: the mascot shows the frame file FRAME (A0 to A3) at its
# own size from the mascot's top left corner. The buttons cover the
# picture's last row.
mascot_shows() {
    import -window root -crop 121x136+92+86 +repage "$work/mascot.png"
    [ "$(compare -metric AE "$frames/$1.gif[121x136+0+0]" "$work/mascot.png" null: 2>&1)" = 0 ]
}

# title_is WINDOW TITLE
title_is() { [ "$(title "$1")" = "$2" ]; }

# expect_bytes FILE PRINTF_FORMAT ARGS...: FILE holds exactly these bytes.
expect_bytes() {
    local file=$1 format=$2
    shift 2
    [ -f "$file" ] || fail "$file was not written"
    # shellcheck disable=SC2059 # the format is the caller's
    printf "$format" "$@" | cmp -s - "$file" ||
        fail "$file holds $(od -An -c "$file" | xargs), not $(printf "$format" "$@" | od -An -c | xargs)"
}

# The desktop's media controls on a private session bus.
need_bus_tools() {
    command -v dbus-daemon >/dev/null && command -v gdbus >/dev/null &&
        command -v dbus-send >/dev/null ||
        { echo "SKIP: dbus-daemon, gdbus or dbus-send is not installed"; exit 77; }
}
# start_bus: a session bus of the test's own, in DBUS_SESSION_BUS_ADDRESS.
start_bus() {
    local ready=$work/bus-address
    dbus-daemon --session --nofork --print-address=3 3>"$ready" >"$work/bus.log" 2>&1 &
    background+=($!)
    bus_started() { [ -s "$ready" ]; }
    wait_until 5 "a private session bus starts" bus_started
    DBUS_SESSION_BUS_ADDRESS=$(head -1 "$ready")
    export DBUS_SESSION_BUS_ADDRESS
}
service=org.mpris.MediaPlayer2.pelora
mpris() { # METHOD [ARG...]: calls a method of the player interface
    gdbus call --session -d "$service" -o /org/mpris/MediaPlayer2 \
        -m "org.mpris.MediaPlayer2.Player.$1" "${@:2}" >/dev/null
}
property() { # NAME: the player interface's property, as gdbus prints it
    gdbus call --session -d "$service" -o /org/mpris/MediaPlayer2 \
        -m org.freedesktop.DBus.Properties.Get org.mpris.MediaPlayer2.Player "$1"
}
set_property() { # NAME VALUE: as gdbus takes a variant, such as "<0.5>"
    gdbus call --session -d "$service" -o /org/mpris/MediaPlayer2 \
        -m org.freedesktop.DBus.Properties.Set org.mpris.MediaPlayer2.Player "$1" "$2" >/dev/null
}
status_is() { [ "$(property PlaybackStatus)" = "(<'$1'>,)" ]; }
on_bus() {
    gdbus call --session -d org.freedesktop.DBus -o / -m org.freedesktop.DBus.NameHasOwner \
        "$service" 2>/dev/null | grep -q true
}
