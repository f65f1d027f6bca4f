# The window on a real X server for the scripts of this folder, which source this file: a
# display of its own (Xvfb with openbox), a scratch folder $work removed on exit, and helpers
# that drive the window with xdotool as a person would. Skips (exit 77) without Xvfb, openbox
# or xdotool. Expects $1 to be the quillet program.
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
    main=$(windowNamed ".*Quillet by Dovrel") || fail "the window did not appear"
    xdotool windowactivate --sync "$main" 2>/dev/null
    sleep 0.5
}
stopWindow() {
    xdotool windowactivate --sync "$main" 2>/dev/null
    keys alt+F4
    for _ in $(seq 50); do kill -0 "$quilletPid" 2>/dev/null || return 0; sleep 0.1; done
    fail "the window did not close"
}
