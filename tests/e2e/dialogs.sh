#!/usr/bin/env bash
# The file dialogs as a user on a Japanese desktop meets them: they speak
# Japanese, and each opens in the folder of its own last use, in the next
# run too, whatever lock another machine left on the settings; a folder
# that is gone is forgotten.
# shellcheck source-path=SCRIPTDIR source=common.sh
source "$(dirname "$0")/common.sh"

mkdir "$work/songs"
for name in first second; do "$make_midi" "$work/songs/$name.mid" 30; done
"$make_midi" "$work/cwd/third.mid" 30

start_screen
start_pulse || true

# Pelora under a Japanese locale; the tools that read its windows keep theirs.
start_japanese_pelora() { LC_ALL=ja_JP.UTF-8 LANG=ja_JP.UTF-8 start_pelora; }

# open_typed NAME: the load button's dialog, NAME typed into it.
open_typed() {
    click "$player" "${loadButton[@]}"
    wait_until 10 "the open dialog opens" find_dialog
    [ "$(title "$dialog")" = 開く ] || fail "the open dialog is titled \"$(title "$dialog")\", not \"開く\""
    answer_file_dialog "$1"
}

# A lock on the settings that another machine left in a shared home folder
# holds up neither the window nor the folder kept.
mkdir -p "$XDG_CONFIG_HOME/pelora"
printf '4242\npelora\nanother-machine\n' >"$XDG_CONFIG_HOME/pelora/pelora.ini.lock"

start_japanese_pelora
open_typed "$work/songs/first.mid"
wait_until 5 "the file chosen plays at once, past the settings' lock" \
    title_is "$player" "$work/songs/first.mid"
quit_pelora

start_japanese_pelora
open_typed second.mid
wait_until 5 "a name typed alone opens from the folder of the last run's song" \
    title_is "$player" "$work/songs/second.mid"
quit_pelora

rm -r "$work/songs"
start_japanese_pelora
open_typed third.mid
wait_until 5 "with the last folder gone, the dialog opens in the working folder" \
    title_is "$player" "$work/cwd/third.mid"
quit_pelora
echo "dialogs OK"
