#!/usr/bin/env bash
# The real korvane-wizard.exe under Wine on a virtual screen, worked as a user would: page 1
# shows its Japanese text, one entry is typed (its name pasted in Japanese), 次へ and 完了 are
# clicked, KORV.ini appears beside the program in code page 932, and the completion window
# comes up; 閉じる ends the program.
# Usage: smoke.sh <korvane-wizard.exe> [folder for the screenshots]. WINEPREFIX as
# scripts/windows.sh sets it. Needs Xvfb, openbox, xdotool, xclip, xwininfo and ImageMagick.
set -euo pipefail

exe=$1
shots=${2:-.}
work=$(mktemp -d)
pids=()
cleanup() {
    local pid
    wineserver -k 2>/dev/null || true
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "smoke: FAILED: $*" >&2
    exit 1
}

# The first visible window whose title matches $1, waited for up to 30 s (Wine starts slowly).
wait_window() {
    local window
    for _ in $(seq 300); do
        window=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n1) || true
        [[ -n $window ]] && { sleep 0.5; echo "$window"; return; }
        sleep 0.1
    done
    fail "no window \"$1\" came up"
}

# Clicks the middle of a control of a window, given as the design has it: left, top, width
# and height in twips (15 to a pixel at 96 dpi) from the window's client area.
click_twips() {
    local x y
    read -r x y < <(xwininfo -id "$1" | awk '/Absolute upper-left X:/ {x = $NF}
                                             /Absolute upper-left Y:/ {y = $NF}
                                             END {print x, y}')
    xdotool mousemove --sync $((x + ($2 * 2 + $4) / 30)) $((y + ($3 * 2 + $5) / 30)) click 1
}

# Glyphs drawn: missing glyphs are boxes of one size (or nothing), drawn ones strokes of many
# sizes. Counts the sizes of the dark shapes of the screenshot $1 within the rectangle $2
# (ImageMagick geometry).
shape_sizes_in() {
    convert "$1" -crop "$2" +repage -colorspace gray -threshold 50% -negate \
        -define connected-components:verbose=true -connected-components 8 null: |
        awk 'NR > 1 && $NF == "gray(255)" {split($2, box, "+"); print box[1]}' | sort -u | wc -l
}

Xvfb -displayfd 3 -screen 0 1280x1024x24 -dpi 96 -nolisten tcp 3>"$work/display" \
    2>"$work/xvfb.log" &
pids+=($!)
for _ in $(seq 100); do [[ -s $work/display ]] && break; sleep 0.05; done
export DISPLAY=":$(head -n1 "$work/display")"
openbox --sm-disable 2>"$work/openbox.log" &
pids+=($!)
# Wine's desktop comes up on the screen its server had first: this screen gets a server of its
# own.
wineserver -k 2>/dev/null || true

mkdir "$work/program"
cp "$exe" "$work/program/korvane-wizard.exe"
(cd "$work/program" && exec wine korvane-wizard.exe) >"$work/wizard.log" 2>&1 &
wizard=$!
pids+=("$wizard")

page1=$(wait_window "PAGE1")
import -window root "$shots/smoke-page1.png"
# "ＫＯＲＶＡＮＥプログラムを作成します": 17 characters, at Label1 (240, 120, 4335, 255 twips).
sizes=$(shape_sizes_in "$shots/smoke-page1.png" "289x17+$(xwininfo -id "$page1" |
    awk '/Absolute upper-left X:/ {x = $NF + 16} /Absolute upper-left Y:/ {y = $NF + 8}
         END {print x "+" y}')")
((sizes >= 8)) || fail "page 1's title shows shapes of $sizes sizes: no Japanese glyphs"

# The name field has the focus; the name goes in through the clipboard, as no key types it.
printf 'ゲーム' >"$work/name.txt"
xclip -quiet -selection clipboard -t UTF8_STRING -i "$work/name.txt" >/dev/null 2>&1 &
pids+=($!)
sleep 0.5
xdotool key --clearmodifiers ctrl+v Tab
xdotool type --delay 20 'D:\GAME\RUN.EXE'
click_twips "$page1" 1080 4080 1095 375 # 次へ
page2=$(wait_window "PAGE2")
click_twips "$page2" 3360 4200 1335 375 # 完了
finish=$(wait_window "終了")
import -window root "$shots/smoke-finish.png"

ini="$work/program/KORV.ini"
[[ -f $ini ]] || fail "no KORV.ini beside the program"
# ゲーム in code page 932, and the path without its drive.
LC_ALL=C grep -qaxF $'1=\x83\x51\x81\x5b\x83\x80\r' "$ini" || fail "[NAME] 1 is not ゲーム in code page 932"
grep -qaxF $'1=GAME\\RUN.EXE\r' "$ini" || fail "[PATH] 1 is not GAME\\RUN.EXE"

click_twips "$finish" 1560 3360 2535 1095 # 閉じる
for _ in $(seq 100); do
    kill -0 "$wizard" 2>/dev/null || break
    sleep 0.1
done
kill -0 "$wizard" 2>/dev/null && fail "the program did not end after 閉じる"
wait "$wizard" || fail "the program ended with status $?"
echo "smoke: page 1 drawn in Japanese (shapes of $sizes sizes), KORV.ini written in code page 932, completion window shown, program ended"
