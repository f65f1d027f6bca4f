#!/usr/bin/env bash
# The window on a real X server (Xvfb with openbox), driven by xdotool as a person would: a byte
# is typed into a raw file of 12288 bytes, another program copies a file over it, and the window
# asks at once; Save as writes the typed byte over the other file's bytes only after asking.
# A file cut from 10000 to 9900 bytes is told too. Skips (77) without Xvfb, openbox or xdotool.
#
# Usage: file_changed_on_disk.sh QUILLET
set -uo pipefail
source "$(dirname "$0")/window_session.sh"

# --- A file copied over the open one ------------------------------------------------------------
file="$work/raw.bin"
rawFile "$file" 12288
rawFile "$work/other.bin" 12288
printf 'other' | dd of="$work/other.bin" bs=1 seek=16 conv=notrunc status=none
startWindow "$file"
# The grid's first cell is byte 0; one row down is byte 0x10. Tab goes from the list to the grid.
keys Tab Down 9 9
windowNamed "[^*]*\* - Quillet by Dovrel" >/dev/null || fail "the typed byte did not mark the document modified"
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
windowNamed "[^*]* - Quillet by Dovrel" >/dev/null || fail "the document is still marked modified after the save"
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
