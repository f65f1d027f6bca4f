#!/usr/bin/env bash
# The window on a real X server, driven by xdotool as a person would: a byte is typed into a raw
# file that has a second name (a hard link), and Save as over it asks first. Escape writes
# nothing; Return saves, and the other name keeps the old content.
#
# Usage: save_linked_file.sh QUILLET
set -uo pipefail
source "$(dirname "$0")/window_session.sh"

file="$work/h1.bin"
rawFile "$file" 4096
ln "$file" "$work/h2.bin"
cp "$file" "$work/original.bin"
startWindow "$file"
# The grid's first cell is byte 0; one row down is byte 0x10. Tab goes from the list to the grid.
keys Tab Down 9 9
windowNamed "[^*]*\* - Quillet by Dovrel" >/dev/null || fail "the typed byte did not mark the document modified"

# Saves over h1.bin: the name offered is the open file's, and replacing it is confirmed.
saveOverTheFile() {
    keys ctrl+s
    windowNamed "Save As" >/dev/null || fail "no save dialog"
    keys Return
    windowNamed "Confirm Save As" >/dev/null || fail "no question before replacing the file"
    keys Return
    windowNamed "File has several names" >/dev/null || fail "no question before saving over a file of two names"
}
saveOverTheFile
keys Escape
windowGone "File has several names" || fail "Escape did not close the question"
cmp -s "$work/original.bin" "$file" || fail "Escape wrote the file"
windowNamed "[^*]*\* - Quillet by Dovrel" >/dev/null || fail "the document is no longer marked modified"

saveOverTheFile
keys Return  # save anyway
windowNamed "[^*]* - Quillet by Dovrel" >/dev/null || fail "the document is still marked modified after the save"
expected="$work/expected.bin"
cp "$work/original.bin" "$expected"
printf '\x99' | dd of="$expected" bs=1 seek=16 conv=notrunc status=none
cmp "$expected" "$file" || fail "the saved file is not the file with the typed byte"
cmp "$work/original.bin" "$work/h2.bin" || fail "the other name does not keep the old content"
[ "$(stat -c %h "$file")" = 1 ] || fail "the saved name still shares its file"
stopWindow
echo "passed"
