#!/usr/bin/env bash
# On a Wayland desktop with XWayland, WAYLAND_DISPLAY and DISPLAY are both
# set and Qt, given the choice, would run Pelora as a Wayland client, where
# its windows cannot be placed. Here a headless weston stands in for the
# compositor and Xvfb for XWayland: Pelora's windows must appear on the X
# server at their designed places. With Wayland alone, Pelora runs there and
# says once that its windows cannot be placed; a platform the user chose in
# QT_QPA_PLATFORM is kept.
# shellcheck source-path=SCRIPTDIR source=common.sh
source "$(dirname "$0")/common.sh"

command -v weston >/dev/null || { echo "SKIP [$test_name]: weston is not installed"; exit 77; }
[ -n "$(find /usr/lib/*/qt6/plugins/platforms -name 'libqwayland*' 2>/dev/null)" ] ||
    { echo "SKIP [$test_name]: Qt's Wayland platform (qt6-wayland) is not installed"; exit 77; }

# A compositor of the test's own, with no screen, in the test's runtime folder.
compositor=pelora-e2e-$$
weston --backend=headless-backend.so --socket="$compositor" --idle-time=0 --no-config \
    >"$work/weston.log" 2>&1 &
background+=($!)
weston_ready() { [ -S "$XDG_RUNTIME_DIR/$compositor" ]; }
wait_until 10 "weston listens on $compositor" weston_ready
# As a GNOME or KDE Wayland session sets them; the session type makes Qt
# try Wayland first.
export WAYLAND_DISPLAY=$compositor XDG_SESSION_TYPE=wayland
start_screen
start_pulse || true

note='cannot be placed'
# launch_chosen [VARIABLE=VALUE...]: Pelora with the platform left to it.
launch_chosen() {
    (cd "$work/cwd" && exec env -u QT_QPA_PLATFORM "$@" "$pelora") >"$work/pelora.log" 2>&1 &
    pelora_pid=$!
}
notes() { grep -c "$note" "$work/pelora.log" || true; }
said_once() { [ "$(notes)" -eq 1 ]; }
end_pelora() {
    kill "$pelora_pid"
    wait "$pelora_pid" 2>/dev/null || true
    pelora_pid=
}

launch_chosen
wait_until 20 'the player window "Pelora" is shown on the X server' find_player
find_playlist || fail 'the playlist window "MidiList" is not shown on the X server'
expect_window "$player" Pelora "92,86 136x169"
expect_window "$playlist" MidiList "233,87 313x168"
[ "$(notes)" -eq 0 ] || fail "on X, pelora says its windows cannot be placed"
quit_pelora

launch_chosen DISPLAY=
wait_until 20 "with Wayland alone, pelora says its windows cannot be placed" said_once
sleep 1
kill -0 "$pelora_pid" || fail "pelora ended as a Wayland client: $(cat "$work/pelora.log")"
said_once || fail "pelora said $(notes) times that its windows cannot be placed"
[ "$(visible_count)" -eq 0 ] || fail "a Wayland client's windows are on the X server"
end_pelora

launch_chosen QT_QPA_PLATFORM=wayland
wait_until 20 "the user's QT_QPA_PLATFORM=wayland is kept" said_once
sleep 1
[ "$(visible_count)" -eq 0 ] || fail "with QT_QPA_PLATFORM=wayland, windows are on the X server"
end_pelora
echo "wayland OK"
