#!/usr/bin/env bash
# Pelora's command line: --version, --help and a refused option answer
# without a display (in Japanese under a Japanese locale) and open nothing; one file named relative to the working
# folder plays, with sound; several fill the list in its order and the first
# named plays; a list file loads into the playlist; a name that cannot be
# read is told in a message while the other files still play; a chosen
# SoundFont that cannot be used is told at start-up.
# shellcheck source-path=SCRIPTDIR source=common.sh
source "$(dirname "$0")/common.sh"

# No display is set yet: these must not need one.
version=$("$pelora" --version) || fail "pelora --version ended with status $?"
[[ $version =~ ^pelora\ [0-9]+\.[0-9]+ ]] || fail "pelora --version printed \"$version\""
"$pelora" --help >"$work/help.txt" || fail "pelora --help ended with status $?"
{ grep -q '^Usage: pelora ' "$work/help.txt" && grep -q -- '--version' "$work/help.txt" &&
    grep -q -- '--soundfont <FILE>' "$work/help.txt" && grep -q PELORA_SOUNDFONT "$work/help.txt"; } ||
    fail "pelora --help printed: $(cat "$work/help.txt")"
status=0
"$pelora" --no-such-option "$work/x.mid" >"$work/out.txt" 2>"$work/err.txt" || status=$?
[ "$status" -eq 2 ] || fail "an unknown option ended pelora with status $status, not 2"
{ [ ! -s "$work/out.txt" ] && grep -q '^Usage: pelora ' "$work/err.txt"; } ||
    fail "an unknown option printed \"$(cat "$work/out.txt")\" and \"$(cat "$work/err.txt")\""
# Under a Japanese locale, in Japanese; the locale need not be installed.
LC_ALL=ja_JP.UTF-8 "$pelora" --help | grep -q '^使い方: pelora ' ||
    fail "pelora --help under ja_JP.UTF-8 printed: $(LC_ALL=ja_JP.UTF-8 "$pelora" --help)"
status=0
LC_ALL=ja_JP.UTF-8 "$pelora" --no-such-option 2>"$work/err.txt" || status=$?
{ [ "$status" -eq 2 ] && grep -q '不明なオプションです: no-such-option' "$work/err.txt"; } ||
    fail "an unknown option under ja_JP.UTF-8: status $status, \"$(cat "$work/err.txt")\""

start_screen
status=0
"$pelora" --bogus >/dev/null 2>&1 || status=$?
{ [ "$status" -eq 2 ] && [ "$(visible_count)" -eq 0 ]; } ||
    fail "an unknown option on a display: status $status, $(visible_count) windows"

start_sound_checks

"$make_midi" "$work/cwd/tune.mid" 30
launch_pelora tune.mid
wait_until 20 "a file named on the command line plays, the player titled with its full path" \
    find_windows "$work/cwd/tune.mid"
[ -z "$sound" ] || wait_until 10 "the file named on the command line sounds" sounding
quit_pelora

for name in B a C; do "$make_midi" "$work/$name.mid" 30; done
launch_pelora "$work/B.mid" "$work/a.mid" "$work/C.mid"
wait_until 20 "of several files the first named plays" find_windows "$work/B.mid"
click "$playlist" "${listSave[@]}"
answer_file_dialog "$work/several.lst"
wait_until 5 "the list is saved" title_is "$playlist" "$work/several.lst"
expect_bytes "$work/several.lst" '"%s"\r\n' "$work/a.mid" "$work/B.mid" "$work/C.mid"
quit_pelora

printf '"%s"\r\n' "$work/C.mid" "$work/a.mid" >"$work/made.lst"
launch_pelora "$work/made.lst"
list_loaded() { find_player && playlist=$(window_titled "$work/made.lst"); }
wait_until 20 "a list file named on the command line loads, the playlist titled with it" \
    list_loaded
click "$playlist" "${firstRow[@]}" 2
wait_until 5 "the loaded list's first entry plays on a double-click" title_is "$player" "$work/a.mid"
quit_pelora

launch_pelora "$work/missing.mid" "$work/a.mid"
wait_until 20 "the readable file still plays beside a missing one" find_windows "$work/a.mid"
wait_until 5 "a message tells of the missing file" find_dialog
grep -qF "$work/missing.mid" "$work/pelora.log" ||
    fail "nothing names the missing file: $(cat "$work/pelora.log")"
close "$dialog"
wait_until 5 "the message closes" no_dialog
quit_pelora

# The SoundFont is tried once the windows are on screen, before any play.
launch_pelora --soundfont "$work/none.sf2"
wait_until 20 "with no file, a message tells that the chosen SoundFont cannot be used" find_dialog
grep -qF "cannot use the SoundFont $work/none.sf2" "$work/pelora.log" ||
    fail "nothing names the chosen SoundFont: $(cat "$work/pelora.log")"
close "$dialog"
wait_until 5 "the message closes" no_dialog
wait_until 5 "the windows stand" find_windows Pelora
quit_pelora
echo "command line OK"
