#!/usr/bin/env bash
# The window on a real X server (Xvfb with openbox), driven by xdotool as a person would: a byte
# is typed into a raw file of 12288 bytes, another program copies a file over it, and the window
# asks at once; Save as writes the typed byte over the other file's bytes only after asking.
# A file cut from 10000 to 9900 bytes is told too. Skips (77) without Xvfb, openbox or xdotool.
#
# Usage: file_changed_on_disk.sh QUILLET
set -uo pipefail
quillet=$1
for tool in Xvfb openbox xdotool cmp; do
    command -v "$tool" >/dev/null || { echo "skipped: $tool is not installed"; exit 77; }
done

work=$(mktemp -d)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
    wait 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAILED: $*"; exit 1; }

# A display of its own: the server picks a free number and writes it down.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
pids+=($!)
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || { echo "skipped: Xvfb did not start"; exit 77; }
export DISPLAY=":$(head -1 "$work/display")"
openbox >"$work/openbox.log" 2>&1 &
pids+=($!)
export HOME="$work" XDG_CONFIG_HOME="$work/config"

# Waits up to ten seconds for a window whose whole title is $1; prints its id.
windowNamed() {
    for _ in $(seq 100); do
        id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -1)
        [ -n "$id" ] && { echo "$id"; return 0; }
        sleep 0.1
    done
    return 1
}
# Waits until no window has the title $1.
windowGone() {
    for _ in $(seq 100); do
        [ -z "$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null)" ] && return 0
        sleep 0.1
    done
    return 1
}
keys() { xdotool key --clearmodifiers --delay 50 "$@"; sleep 0.3; }
# A raw file of $2 bytes of 0x5A (its first word differs from its last).
rawFile() { head -c "$2" /dev/zero | tr '\0' 'Z' >"$1"; printf 'E' | dd of="$1" bs=1 seek=$(($2 - 1)) conv=notrunc status=none; }

startWindow() {
    "$quillet" "$1" >"$work/quillet.log" 2>&1 &
    quilletPid=$!
    pids+=($quilletPid)
    main=$(windowNamed "Quillet by Dovrel") || fail "the window did not appear"
    xdotool windowactivate --sync "$main" 2>/dev/null
    sleep 0.5
}
stopWindow() {
    xdotool windowactivate --sync "$main" 2>/dev/null
    keys alt+F4
    for _ in $(seq 50); do kill -0 "$quilletPid" 2>/dev/null || return 0; sleep 0.1; done
    fail "the window did not close"
}

# --- A file copied over the open one ------------------------------------------------------------
file="$work/raw.bin"
rawFile "$file" 12288
rawFile "$work/other.bin" 12288
printf 'other' | dd of="$work/other.bin" bs=1 seek=16 conv=notrunc status=none
startWindow "$file"
# The grid's first cell is byte 0; one row down is byte 0x10. Tab goes from the list to the grid.
keys Tab Down 9 9
windowNamed "Quillet by Dovrel\*" >/dev/null || fail "the typed byte did not mark the document modified"
cp "$work/other.bin" "$file"
box=$(windowNamed "File changed on disk") || fail "no question after the file was copied over"
keys Escape  # keep editing
windowGone "File changed on disk" || fail "Escape did not keep editing"

keys ctrl+s
windowNamed "Save As" >/dev/null || fail "no save dialog"
keys Return  # the name offered: the open file's
windowNamed "Confirm Save As" >/dev/null || fail "no question before replacing the file"
keys Return  # replace it
windowNamed "File changed on disk" >/dev/null || fail "no question before saving over the changed file"
cmp -s "$work/other.bin" "$file" || fail "the file was written before the question"
keys Return  # save anyway
for _ in $(seq 50); do cmp -s "$work/other.bin" "$file" || break; sleep 0.1; done
expected="$work/expected.bin"
cp "$work/other.bin" "$expected"
printf '\x99' | dd of="$expected" bs=1 seek=16 conv=notrunc status=none
cmp "$expected" "$file" || fail "the saved file is not the other file with the typed byte"
windowNamed "Quillet by Dovrel" >/dev/null || fail "the document is still marked modified after the save"
stopWindow

# --- A file cut short by less than a page -------------------------------------------------------
cut="$work/cut.bin"
rawFile "$cut" 10000
startWindow "$cut"
truncate -s 9900 "$cut"
windowNamed "File changed on disk" >/dev/null || fail "no question after the file was cut short"
keys Escape
windowGone "File changed on disk" || fail "Escape did not keep editing"
stopWindow
echo "passed"
