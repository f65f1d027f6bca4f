#!/bin/sh
# The window driven as a person drives it: on a real X server with a window manager, by key
# presses and clicks that go through the window system (xdotool). The offscreen tests call the
# widgets directly and cannot see where the window system hands an event.
# Usage: window_under_x.sh QUILLET QUILLET_CLI SAMPLE_RSC
# Exit status 77 (skipped) where Xvfb, openbox, xdotool or x11-utils is missing.
set -eu
quillet=$1
cli=$2
sample=$3

for tool in Xvfb openbox xdotool xwininfo xprop; do
    command -v "$tool" >/dev/null 2>&1 || { echo "skipped: $tool is not installed"; exit 77; }
done

work=$(mktemp -d)
server=
manager=
program=
cleanup() {
    for pid in $program $manager $server; do kill "$pid" 2>/dev/null || true; done
    rm -rf "$work"
}
trap cleanup EXIT INT TERM

fail() {
    echo "FAIL: $*" >&2
    # What the program said, for a failure that happened inside it.
    [ -s "$work/program.log" ] && tail -n 20 "$work/program.log" >&2
    exit 1
}

# A display of its own, so that tests running side by side never meet.
number=140
while [ -e "/tmp/.X11-unix/X$number" ] || [ -e "/tmp/.X$number-lock" ]; do number=$((number + 1)); done
export DISPLAY=":$number"
Xvfb "$DISPLAY" -screen 0 1600x1000x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
server=$!
for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$number" ] && break; sleep 0.1; done
openbox >"$work/openbox.log" 2>&1 &
manager=$!
sleep 1

# The program's settings go into the test's folder.
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config"
mkdir -p "$XDG_CONFIG_HOME"
unset QT_QPA_PLATFORM WAYLAND_DISPLAY QT_SCALE_FACTOR

title() { xdotool getwindowname "$window"; }

# Starts the program on FILE (scale in $scale) and waits for its window, found by its title.
start() {
    QT_SCALE_FACTOR=$scale "$quillet" "$1" >"$work/program.log" 2>&1 &
    program=$!
    window=
    # Up to a minute: a sanitizer build on a loaded machine starts slowly.
    for _ in $(seq 600); do
        window=$(xdotool search --name "^$(basename "$1") - Quillet by Dovrel\$" 2>/dev/null | head -n 1) || true
        [ -n "$window" ] && break
        sleep 0.1
    done
    [ -n "$window" ] || fail "no window titled '$(basename "$1") - Quillet by Dovrel' at scale $scale"
    xdotool windowactivate --sync "$window" >/dev/null 2>&1 || true
    sleep 0.5
}

# Waits until the program has ended; fails when it does not within five seconds.
ended() {
    for _ in $(seq 50); do
        kill -0 "$program" 2>/dev/null || { wait "$program" || true; program=; return 0; }
        sleep 0.1
    done
    fail "$1"
}

# The client area of the window: X, Y, WIDTH, HEIGHT. (xdotool's geometry counts the frame of
# some window managers twice.)
geometry() {
    info=$(xwininfo -id "$window")
    X=$(echo "$info" | sed -n 's/.*Absolute upper-left X: *//p')
    Y=$(echo "$info" | sed -n 's/.*Absolute upper-left Y: *//p')
    WIDTH=$(echo "$info" | sed -n 's/^ *Width: *//p')
    HEIGHT=$(echo "$info" | sed -n 's/^ *Height: *//p')
}

# The window and its frame lie on the 1600 x 1000 screen.
on_screen() {
    geometry
    extents=$(xprop -id "$window" _NET_FRAME_EXTENTS | sed 's/.*= *//; s/,//g')
    set -- $extents
    left=$((X - $1)) right=$((X + WIDTH + $2)) top=$((Y - $3)) bottom=$((Y + HEIGHT + $4))
    [ "$left" -ge 0 ] && [ "$top" -ge 0 ] && [ "$right" -le 1600 ] && [ "$bottom" -le 1000 ] ||
        fail "at scale $scale the window with its frame spans ($left,$top)-($right,$bottom), off the 1600x1000 screen"
}

cp "$sample" "$work/sample.rsc"

# A first run at scale 2, then scale 1 (which stores its placement), then 1.5 with the placement
# of scale 1: the window always lies on the screen. Ctrl+Q quits.
for scale in 2 1 1.5; do
    start "$work/sample.rsc"
    on_screen
    xdotool key --clearmodifiers ctrl+q
    ended "Ctrl+Q did not quit at scale $scale"
done

# The text line: Enter applies, Ctrl+Z then undoes the document (not the line), and what is
# saved is what the window shows.
scale=1
start "$work/sample.rsc"
geometry
for _ in 1 2 3 4 5; do xdotool key --clearmodifiers Down; done
sleep 0.3
# The text line lies above the status bar, across the right pane.
xdotool mousemove --window "$window" $((WIDTH - 150)) $((HEIGHT - 40)) click 1
sleep 0.3
xdotool key --clearmodifiers End
xdotool type --delay 50 '!'
xdotool key --clearmodifiers Return
sleep 0.3
case $(title) in "sample.rsc* - Quillet by Dovrel") ;; *) fail "after Enter the title is '$(title)'" ;; esac
xdotool key --clearmodifiers ctrl+z
sleep 0.3
[ "$(title)" = "sample.rsc - Quillet by Dovrel" ] || fail "Ctrl+Z after Enter left the title '$(title)'"
# Ctrl+U in the line is Force unicode, not Qt's "delete the line".
xdotool key --clearmodifiers ctrl+u
sleep 0.3
[ "$(title)" = "sample.rsc - Quillet by Dovrel" ] || fail "Ctrl+U in the text line changed the document"
# Typing not applied is unsaved work: Quit asks, and Alt+D discards it.
xdotool type --delay 50 '?'
sleep 0.3
case $(title) in "sample.rsc* - Quillet by Dovrel") ;; *) fail "typing in the line left the title '$(title)'" ;; esac
xdotool key --clearmodifiers ctrl+q
sleep 1
kill -0 "$program" 2>/dev/null || fail "Quit did not ask about the typing in the text line"
xdotool key --clearmodifiers alt+d
ended "Alt+D (Discard) did not let the window close"
cmp "$sample" "$work/sample.rsc" || fail "the file changed although every change was taken back"
"$cli" list "$work/sample.rsc" | grep -q '^006(5) Hello, world!$' || fail "the block's text changed"

# The Delete key on the segment list deletes the segment after its question (Alt+Y answers Yes);
# Quit then asks about the change, and Alt+D discards it.
start "$work/sample.rsc"
xdotool key --clearmodifiers Down Down
xdotool key --clearmodifiers Delete
sleep 0.5
xdotool key --clearmodifiers alt+y
sleep 0.3
case $(title) in "sample.rsc* - Quillet by Dovrel") ;; *) fail "the Delete key deleted nothing: '$(title)'" ;; esac
xdotool key --clearmodifiers ctrl+q
sleep 0.5
xdotool key --clearmodifiers alt+d
ended "Alt+D (Discard) did not let the window close after a deletion"
cmp "$sample" "$work/sample.rsc" || fail "a discarded deletion reached the file"

# Cancel in the progress box, by Escape, by a click and by Space, while a large file is saved:
# each time the save stops, and leaves neither the target nor a temporary file.
big="$work/big/large.rsc"
mkdir -p "$work/big"
truncate -s 600M "$big"
start "$big"
for _ in $(seq 600); do
    case $(title) in "large.rsc - Quillet by Dovrel") break ;; esac
    sleep 0.1
done
for way in Escape click space; do
    # The window may still be finishing the cancelled save: the key is pressed again if need be.
    dialog=
    for _ in 1 2 3 4 5 6; do
        xdotool windowactivate --sync "$window" >/dev/null 2>&1 || true
        xdotool key --clearmodifiers ctrl+s
        dialog=$(timeout 10 xdotool search --sync --onlyvisible --name '^Save As$' | head -n 1) || true
        [ -n "$dialog" ] && break
    done
    [ -n "$dialog" ] || fail "Ctrl+S opened no Save As dialog before Cancel by $way"
    xdotool windowactivate --sync "$dialog" >/dev/null 2>&1 || true
    xdotool key --clearmodifiers ctrl+a
    xdotool type --delay 10 "$work/big/saved.rsc"
    xdotool key --clearmodifiers Return
    box=$(timeout 60 xdotool search --sync --onlyvisible --name '^Quillet$' | head -n 1)
    [ -n "$box" ] || fail "no progress box came up for the save before Cancel by $way"
    sleep 0.5
    case $way in
    click)
        main=$window
        window=$box
        geometry
        window=$main
        # The Cancel button lies in the box's bottom right corner.
        xdotool mousemove --window "$box" $((WIDTH - 50)) $((HEIGHT - 22)) click 1
        ;;
    *) xdotool key --clearmodifiers "$way" ;;
    esac
    for _ in $(seq 100); do xdotool search --onlyvisible --name '^Quillet$' >/dev/null 2>&1 || break; sleep 0.1; done
    sleep 0.5
    left=$(ls "$work/big")
    [ "$left" = "large.rsc" ] || fail "after Cancel by $way the folder holds: $left"
done
xdotool windowactivate --sync "$window" >/dev/null 2>&1 || true
xdotool key --clearmodifiers ctrl+q
# A key can be lost for a moment right after a cancelled save under load, as Ctrl+S above: once more.
for _ in $(seq 50); do kill -0 "$program" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$program" 2>/dev/null; then xdotool key --clearmodifiers ctrl+q; fi
ended "the program did not quit after the cancelled saves"

echo "window under X: all passed"
