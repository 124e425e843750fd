#!/usr/bin/env bash
# The built editor in a real X display (Xvfb, no window manager) driven by xdotool: open a
# ROM, load species 25, change its level and target, save, and compare the whole file with
# what the save must write; then ctrl+click the selected row, change the target and save
# by the keyboard; then walk down to species 95 (level 40, right after 94 at level 10) and
# save it unchanged; then open a second ROM, click the still-selected species 95 and save
# unchanged again; then cut the second ROM short and check that a failed load shows one
# box and a failed save writes nothing; then open a file whose name ends in a blank beside
# its namesake and save into it. Usage: e2e_display.sh <zorvani-editor>; E2E_SCREENSHOT=<png>
# also keeps a picture of the window with the species loaded.
set -euo pipefail
EDITOR=$(realpath "${1:?usage: e2e_display.sh <zorvani-editor>}")
if [ -z "${E2E_IN_XVFB:-}" ]; then
    SHOT=${E2E_SCREENSHOT:+$(realpath -m "$E2E_SCREENSHOT")}
    E2E_IN_XVFB=1 E2E_SCREENSHOT=$SHOT \
        xvfb-run -a -s "-screen 0 1024x768x24" bash "$(realpath "${BASH_SOURCE[0]}")" "$EDITOR" &
    RUN=$!
    # Stopped from outside: end the inner script (which ends the editor) and the X server,
    # then let xvfb-run clean up after itself.
    trap 'pkill -TERM -P "$RUN"; wait "$RUN"; exit 1' TERM INT HUP
    wait "$RUN"
    exit
fi

unset QT_QPA_PLATFORM
TMP=$(mktemp -d)
PID=
cleanup() {
    local rc=$?
    if [ -n "$PID" ]; then kill "$PID" 2>/dev/null || true; wait "$PID" 2>/dev/null || true; fi
    rm -rf "$TMP"
    exit "$rc"
}
trap cleanup EXIT; trap 'exit 1' INT TERM HUP PIPE
fail() {
    echo "FAIL: $*" >&2
    [ -s "$TMP/editor.log" ] && sed 's/^/editor: /' "$TMP/editor.log" >&2
    echo "0 passed, 1 failed"
    exit 1
}
export XDG_RUNTIME_DIR=$TMP/run XDG_CONFIG_HOME=$TMP/config HOME=$TMP
mkdir -m700 "$XDG_RUNTIME_DIR"

# Sparse ROM a little longer than the table. Blocks 24..26 are filled with A5
# so that a stray write shows, then their entries: 24 loads on the way to 25.
ROM=$TMP/game.nds
BLOCK=$((0x3711640 + 44 * 24))            # species 25
truncate -s $((0x3716AD6 + 4096)) "$ROM"
put() { printf '%b' "$2" | dd of="${3:-$ROM}" bs=1 seek="$1" conv=notrunc status=none; }
put $((BLOCK - 44)) "$(printf '\\xa5%.0s' $(seq 132))"
put $((BLOCK - 44)) '\x05\xa5\x07\x00\x19\x00'  # 24: method 5, word 7, target 25
put "$BLOCK" '\x04\x5a\x10\x05\x1a\x00'         # 25: method 4, level 16 (05 above it), target 26
put $((BLOCK + 44)) '\x04\xa5\x24\x00\x1b\x00'  # 26
put $((0x3711640 + 44 * 93)) '\x04\xa5\x0a\x00\x5f\x00'  # 94: level 10, target 95
put $((0x3711640 + 44 * 94)) '\x04\xa5\x28\x00\x60\x00'  # 95: level 40, target 96
cp --sparse=always "$ROM" "$TMP/before.nds"
# The second ROM holds another entry at species 95: an item method (7), item 300, target 16.
ROM2=$TMP/second.nds
cp --sparse=always "$ROM" "$ROM2"
put $((0x3711640 + 44 * 94)) '\x07\x11\x2c\x01\x10\x00' "$ROM2"
cp --sparse=always "$ROM2" "$TMP/second-before.nds"

"$EDITOR" >"$TMP/editor.log" 2>&1 &
PID=$!
W=$(timeout 20 xdotool search --sync --onlyvisible --name "Zorvani veltrium" | head -n1) || fail "no editor window"
eval "$(xdotool getwindowgeometry --shell "$W")"
MENU=$((HEIGHT - 576))                    # the client area is 724 x 576 below the menu bar
# The bar shows the desktop's 9 pt menu font (12 px, lines under 16 px) with a few
# pixels of margin; the form's 18 pt font would make it 40 px high.
if [ "$WIDTH" -ne 724 ] || [ "$MENU" -lt 10 ] || [ "$MENU" -gt 26 ]; then fail "window is ${WIDTH}x$HEIGHT"; fi
click() { xdotool mousemove --window "$W" "$1" $((MENU + $2)) click 1; sleep 0.3; }
# Waits up to 20 s until the command succeeds.
await() { for _ in $(seq 50); do "$@" && return 0; sleep 0.4; done; return 1; }
# True when the client pixel (x, y) is light: a shown list or picker, not the dark picture.
light() {
    import -window "$W" -crop "1x1+$1+$((MENU + $2))" -depth 8 txt:- 2>/dev/null \
        | awk -F'[(),]' '/^0,0:/ { light = $3 > 200 && $4 > 200 && $5 > 200 } END { exit !light }'
}
# Middle of the highlighted (selected) row of the shown list, in client pixels: the
# dark run of a column inside the list, below its frame and left of its scroll bar.
selected_row() {
    import -window "$W" -crop "1x500+690+$((MENU + 4))" -depth 8 txt:- 2>/dev/null \
        | awk -F'[:,() ]+' '/^0,/ { if ($3 + $4 + $5 < 600) { if (!n++) first = $2; last = $2 } }
                            END { if (!n) exit 1; print 4 + int((first + last) / 2) }'
}
# A popup is a shown window of the program other than the main one.
popup() { xdotool search --onlyvisible --classname '^zorvani-editor$' 2>/dev/null | grep -qvx "$W"; }
# Clicks a picker, waits for its popup, presses keys in it and waits until it closes.
pick() {
    click "$1" "$2"
    await popup || fail "no popup at $1,$2"
    shift 2
    xdotool key --delay 50 "$@"
    await eval '! popup' || fail "the popup stayed open"
}

# Ctrl+O and the path typed into the file dialog.
open_rom() {
    timeout 20 xdotool windowfocus --sync "$W" || fail "cannot focus the window"
    xdotool key ctrl+o
    DLG=$(timeout 20 xdotool search --sync --onlyvisible --name "^Open Zorvani NDS ROM\.\.\.$" | head -n1) || fail "no file dialog"
    timeout 20 xdotool windowfocus --sync "$DLG" || fail "cannot focus the file dialog"
    xdotool type --delay 10 "$1"
    xdotool key Return
    await eval '! xdotool search --onlyvisible --name "^Open Zorvani" >/dev/null 2>&1' || fail "the file dialog stayed open"
}

open_rom "$ROM"

# "Drava Region" (again while the dialog's modality lasts) until List1 shows.
await eval 'click 79 40; light 620 500' || fail "List1 did not show"
click 600 8                               # List1 row 0, then Down to row 25
xdotool key --delay 30 --repeat 25 Down
await light 450 66 || fail "the level picker did not show"  # method 4 of species 25
[ -z "$E2E_SCREENSHOT" ] || { mkdir -p "$(dirname "$E2E_SCREENSHOT")" && import -window "$W" "$E2E_SCREENSHOT"; } || fail "screenshot"
pick 415 277 Down Return                  # target: one row down (26 -> 27)
pick 416 66 Down Down Down Down Return    # level: four rows down (16 -> 20)
click 452 465                             # "Save"

# Only the level word (14 00 over 10 05) and the target's low byte (1B over 1A)
# may change; cmp -l gives 1-based offsets and octal bytes.
EXPECTED=$(printf '%d %o %o\n' $((BLOCK + 3)) 0x10 0x14 $((BLOCK + 4)) 0x05 0x00 $((BLOCK + 5)) 0x1a 0x1b)
# saved [FILE]: FILE (the ROM when none is named) differs from the first ROM as expected.
saved() { CHANGED=$(cmp -l "$TMP/before.nds" "${1:-$ROM}" 2>&1 | awk '{print $1, $2, $3}'); [ "$CHANGED" = "$EXPECTED" ]; }
await saved || fail "changed bytes (offset old new):"$'\n'"$CHANGED"$'\n'"expected:"$'\n'"$EXPECTED"

# Ctrl+click on the selected row keeps it selected; then the target one row further
# and "Save" pressed by Return after Tab from the target picker.
ROW=$(selected_row) || fail "no selected row in the list"
xdotool mousemove --window "$W" 600 $((MENU + ROW)) keydown ctrl click 1 keyup ctrl
sleep 0.3
AFTER=$(selected_row) || AFTER=none
[ "$AFTER" = "$ROW" ] || fail "ctrl+click emptied or moved the selection (row at $ROW, then $AFTER)"
pick 415 277 Down Return                  # target 27 -> 28
xdotool key Tab Return
EXPECTED=$(printf '%d %o %o\n' $((BLOCK + 3)) 0x10 0x14 $((BLOCK + 4)) 0x05 0x00 $((BLOCK + 5)) 0x1a 0x1c)
await saved || fail "after Return on Save, changed bytes:"$'\n'"$CHANGED"$'\n'"expected:"$'\n'"$EXPECTED"

# Back to the list, down to species 94 and 95; "Save" with nothing changed writes 95's own
# level, so the file stays as it was.
click 600 "$ROW"
xdotool key --delay 30 --repeat 70 Down
STAMP=$(stat -c %.9Y "$ROM")
click 452 465
await eval '[ "$(stat -c %.9Y "$ROM")" != "$STAMP" ]' || fail "the save of species 95 wrote nothing"
saved || fail "an unchanged save of species 95 changed bytes:"$'\n'"$CHANGED"$'\n'"expected:"$'\n'"$EXPECTED"
[ "$(stat -c %s "$ROM")" -eq "$(stat -c %s "$TMP/before.nds")" ] || fail "the file size changed"
# The second ROM: a click on the still-selected species 95 shows its item method (the item
# picker in place of the level picker), and an unchanged "Save" leaves both files as they were.
open_rom "$ROM2"
ROW=$(selected_row) || fail "no selected row after the second Open"
click 600 "$ROW"
await eval 'light 450 120 && ! light 450 66' || fail "the click on the selected row did not load the second ROM's entry"
STAMP=$(stat -c %.9Y "$ROM2")
click 452 465
await eval '[ "$(stat -c %.9Y "$ROM2")" != "$STAMP" ]' || fail "the save into the second ROM wrote nothing"
CHANGED2=$(cmp -l "$TMP/second-before.nds" "$ROM2" 2>&1) || fail "an unchanged save changed the second ROM:"$'\n'"$CHANGED2"
saved || fail "the save into the second ROM changed the first:"$'\n'"$CHANGED"

# The second ROM cut inside species 96's target word: Down onto 96 shows one box, and
# once it is closed nothing loads 96 again and no row stays selected.
error_box() { xdotool search --onlyvisible --name '^Error: 1062$' >/dev/null 2>&1; }
truncate -s $((0x3711640 + 44 * 95 + 5)) "$ROM2"
cp --sparse=always "$ROM2" "$TMP/second-cut.nds"
click 600 "$ROW"                          # the list takes the focus; 95 still loads
! popup || fail "species 95 did not load from the cut file"
xdotool key Down
await error_box || fail "no error box for species 96"
xdotool key Return
await eval '! popup' || fail "the error box stayed open"
sleep 1
! popup || fail "a second box appeared after the first was closed"
! selected_row >/dev/null || fail "species 96 is still selected after its load failed"
# Up loads 95 again; cut inside its target word, a "Save" of another method writes
# none of the entry and shows one box.
xdotool key Up
await eval 'light 450 120' || fail "Up did not load species 95"
truncate -s $((0x3711640 + 44 * 94 + 5)) "$ROM2"
cp --sparse=always "$ROM2" "$TMP/second-cut.nds"
pick 415 13 Down Return                   # method 7 -> 8
click 452 465
await error_box || fail "no error box for the save into the cut entry"
xdotool key Return
await eval '! popup' || fail "the error box stayed open"
CHANGED2=$(cmp -l "$TMP/second-cut.nds" "$ROM2" 2>&1) || fail "the save into the cut entry wrote:"$'\n'"$CHANGED2"

# A name that ends in a blank, typed into the chooser beside its namesake without the
# blank: the still-selected species 95 loads from the chosen file (its level method),
# and a "Save" of another method changes that file's method byte alone.
BLANK="$TMP/sp.nds "
cp --sparse=always "$TMP/before.nds" "$BLANK"
cp --sparse=always "$TMP/second-before.nds" "$TMP/sp.nds"
open_rom "$BLANK"
ROW=$(selected_row) || fail "no selected row after the third Open"
click 600 "$ROW"
await eval 'light 450 66 && ! light 450 120' || fail "species 95 did not load from the file whose name ends in a blank"
pick 415 13 Down Return                   # method 4 -> 5
click 452 465
EXPECTED=$(printf '%d %o %o\n' $((0x3711640 + 44 * 94 + 1)) 0x04 0x05)
await saved "$BLANK" || fail "the file whose name ends in a blank, changed bytes:"$'\n'"$CHANGED"$'\n'"expected:"$'\n'"$EXPECTED"
CHANGED2=$(cmp -l "$TMP/second-before.nds" "$TMP/sp.nds" 2>&1) || fail "the save wrote into the namesake without the blank:"$'\n'"$CHANGED2"
! popup || fail "another window (a message box?) appeared"
kill -0 "$PID" 2>/dev/null || fail "the editor ended"
echo "1 passed, 0 failed"
