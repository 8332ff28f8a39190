#!/usr/bin/env bash
# Installs the build tree into a temporary prefix and starts the installed
# program from an empty folder on a virtual X screen: it must find its frame
# pictures on its own and bring up the player window.
# Usage: installed-start.sh BUILD_DIR
set -euo pipefail
build=$1
source "$(dirname "$0")/common.sh"

cmake --install "$build" --prefix "$work/usr" >/dev/null
mkdir "$work/elsewhere"

# Runs on the virtual screen: starts Pelora and waits for its player window,
# a plain top-level window titled "Pelora". Start-up errors are reported in a
# dialog box that carries the same title.
cat >"$work/start.sh" <<'SCRIPT'
set -u
cd "$1/elsewhere"
QT_QPA_PLATFORM=xcb "$1/usr/bin/pelora" >"$1/pelora.log" 2>&1 &
pid=$!
stop() {
    kill $pid 2>/dev/null
    wait $pid 2>/dev/null
    [ -z "$1" ] || echo "$1"
    exit $2
}
type_of() { xprop -id "$1" _NET_WM_WINDOW_TYPE | sed 's/.*= //'; }
for _ in $(seq 100); do
    kill -0 $pid 2>/dev/null || stop "pelora ended during start-up" 1
    for window in $(xdotool search --onlyvisible --name '^Pelora$' 2>/dev/null); do
        case $(type_of "$window") in
        _NET_WM_WINDOW_TYPE_DIALOG*) stop "pelora reported an error at start-up" 1 ;;
        _NET_WM_WINDOW_TYPE_NORMAL) stop "" 0 ;;
        esac
    done
    sleep 0.2
done
stop "no player window after 20 s" 1
SCRIPT
# Display numbers from 170 keep clear of other tests' virtual screens.
xvfb-run -a -n 170 -s '-screen 0 1024x768x24' bash "$work/start.sh" "$work" ||
    fail "the installed program did not start from $work/elsewhere: $(cat "$work/pelora.log")"

finish "installed program start"
