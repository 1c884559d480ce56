#!/bin/bash
# Starts zorvane in a real X window (Xvfb) under a window manager (openbox), loads a chart through the real
# file dialog, calibrates it, records three points with the mouse and checks the curve file, that the values
# window stays above the main window, which keeps the focus, and that a press on the background moves the
# window only while its button is held; then starts it with a picture to load.
set -eEuo pipefail
trap 'echo "line $LINENO failed: $BASH_COMMAND"' ERR # set -e alone stops without a word
zorvane=$(realpath "$1")
make_chart=$(realpath "$2")

for tool in Xvfb xdotool openbox xprop wmctrl; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done

work=$(mktemp -d)
cleanup() {
    stop_processes "${app:-}" "${wm:-}" "${xvfb:-}"
    rm -rf "$work"
}
trap cleanup EXIT
source "$(dirname "${BASH_SOURCE[0]}")/x_windows.sh"

start_xvfb
export QT_QPA_PLATFORM=xcb
openbox --sm-disable >"$work/wm.log" 2>&1 &
wm=$!
# Stacking and focus mean nothing without it: a window manager that never shows itself fails the test. (Read
# whole, not through a pipe into grep -q, whose early exit fails the pipe under pipefail; and not by the word
# "window" alone, which "no such atom on any window" holds too.)
wm_running() { [[ "$(xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null || true)" == *"window id #"* ]]; }
for _ in $(seq 100); do wm_running && break; sleep 0.1; done
wm_running || {
    echo "openbox did not take over the screen:"
    cat "$work/wm.log"
    exit 1
}

"$make_chart" "$work/chart.jpg"
mkdir "$work/start"
(cd "$work/start" && exec "$zorvane") >"$work/log" 2>&1 &
app=$!
window=$(find_window '^ZORVANE \(Tessarix\)')
xdotool windowfocus --sync "$window"
sleep 0.5

at() { xdotool mousemove --window "$window" "$1" "$2" click "${3:-1}"; sleep 0.15; }
twips() { echo $(( ($1 + 7) / 15 )); } # twips to the nearest pixel

# "&Grafik Yükle" through its accelerator, then the path typed into Qt's own file dialog.
xdotool key --window "$window" alt+g
dialog=$(find_window 'Resim Dosyalar')
xdotool windowfocus --sync "$dialog"
sleep 0.3
xdotool type --delay 10 "$work/chart.jpg"
xdotool key Return
# Clicks go wherever the pointer is when the server handles them: wait until the modal dialog is gone.
window_gone 'Resim Dosyalar'
sleep 0.5

# The 600 x 400 chart is shown at its natural size at (3480, 1200) twips, inside a 2-pixel border.
chart_x=$(( $(twips 3480) + 2 )); chart_y=$(( $(twips 1200) + 2 ))
bottom=$((1200 + (400 + 4) * 15)) # T + H in twips
type_value() { at "$1" "$2"; xdotool key ctrl+a; xdotool type "$3"; }
type_value $(( $(twips 3480) + 20 )) $(( $(twips $((bottom + 100))) + 10 )) 0          # Text1: x0
type_value $(( $(twips $((3480 + 604 * 15 - 855))) + 20 )) $(( $(twips $((bottom + 100))) + 10 )) 100 # Text3: x1
type_value $(( $(twips $((3480 - 855 - 100))) + 20 )) $(( $(twips $((bottom - 400))) + 10 )) 0  # Text2: y0
type_value $(( $(twips 2505) + 20 )) $(( $(twips 1200) + 10 )) 30                     # Text4: y1

assign_x0=($(( $(twips 3480) + 25 )) $(( $(twips $((bottom + 750))) + 12 )))
assign_x1=($(( $(twips $((3480 + 604 * 15 - 855))) + 25 )) $(( $(twips $((bottom + 750))) + 12 )))
assign_y0=($(( $(twips 2505) + 25 )) $(( $(twips $((bottom - 360 - 700))) + 12 )))
assign_y1=($(( $(twips 2520) + 25 )) $(( $(twips 1850) + 12 )))
at $((chart_x + 50)) $((chart_y + 350)); at "${assign_x0[@]}"; at "${assign_y0[@]}"
at $((chart_x + 550)) $((chart_y + 350)); at "${assign_x1[@]}"
at $((chart_x + 50)) $((chart_y + 50)); at "${assign_y1[@]}"

xdotool key --window "$window" alt+b # "İlk / &Başka Çizgi"
sleep 0.3
at $((chart_x + 100)) $((chart_y + 320))
at $((chart_x + 300)) $((chart_y + 200)) 3
at $((chart_x + 500)) $((chart_y + 80))

expected=$'10.0000  3.0000\r\n50.0000  15.0000\r\n90.0000  27.0000\r'
for _ in $(seq 100); do # the program may still be working through the queued clicks
    [ "$(cat "$work/chart_1.txt" 2>/dev/null || true)" = "$expected" ] && break
    sleep 0.1
done

fail() { echo "$1"; ls -la "$work" "$work/start"; cat "$work/log"; exit 1; }

# SMOKE_SCREENSHOT=file.xwd keeps a picture of the screen, for the README.
[ -n "${SMOKE_SCREENSHOT:-}" ] && xwd -root -silent > "$SMOKE_SCREENSHOT"
actual=$(cat "$work/chart_1.txt" 2>/dev/null || true)
if [ "$actual" != "$expected" ]; then
    echo "curve file differs; got:"; cat -A "$work/chart_1.txt" 2>/dev/null || echo "(no file)"
    fail "three points not recorded"
fi

# After the three presses the values window is still above the maximized main window, which has the focus.
values=$(find_window '^De.*erler$' || true)
[ -n "$values" ] || fail "no values window"
position() { local i=0; for id in $stacking; do [ $((id)) -eq "$1" ] && { echo $i; return; }; i=$((i + 1)); done; echo -1; }
above() {
    stacking=$(xprop -root _NET_CLIENT_LIST_STACKING | grep -o '0x[0-9a-fA-F]*' || true)
    [ "$(position "$values")" -gt "$(position "$window")" ]
}
# The window manager restacks after the program asks it to: give it a moment.
for _ in $(seq 30); do above && break; sleep 0.1; done
above || fail "values window ($values) below the main window ($window): $(echo $stacking)"
[ "$(xdotool getactivewindow)" = "$window" ] || fail "the main window lost the focus"

# A press on the background moves the window while its button is held, whichever button, and not after.
wmctrl -i -r "$window" -b remove,maximized_vert,maximized_horz
sleep 0.3
place() { xdotool getwindowgeometry "$window" | sed -n 's/^ *Position: \([0-9]*\),\([0-9]*\).*/\1 \2/p'; }
for button in 3 2 1; do
    wmctrl -i -r "$window" -e 0,100,100,900,700
    sleep 0.4
    read -r x0 y0 <<<"$(place)"
    xdotool mousemove --window "$window" 150 150 mousedown "$button"
    sleep 0.2
    xdotool mousemove_relative 40 30
    sleep 0.3
    read -r x1 y1 <<<"$(place)"
    xdotool mouseup "$button"
    sleep 0.2
    xdotool mousemove_relative 60 60
    sleep 0.3
    read -r x2 y2 <<<"$(place)"
    [ $((x1 - x0)) -ge 30 ] && [ $((y1 - y0)) -ge 20 ] || fail "button $button: window did not follow ($x0,$y0 -> $x1,$y1)"
    [ "$x2 $y2" = "$x1 $y1" ] || fail "button $button: window followed after the release ($x1,$y1 -> $x2,$y2)"
done

# Alt+O opens the tracing window; there its own access keys work and the main window's do not.
xdotool key --window "$window" alt+o
tool=$(find_window '^Otomatik') || fail "Alt+O opened no tracing window"
xdotool windowactivate --sync "$tool" 2>/dev/null || xdotool windowfocus --sync "$tool"
sleep 0.3
xdotool key alt+g # "&Grafik Yükle" belongs to the main window
sleep 0.8
! xdotool search --onlyvisible --name 'Resim Dosyalar' >/dev/null 2>&1 || fail "the main window's Alt+G acted in the tracing window"
xdotool key alt+z # "İ&zle" without a colour picked
find_window '^Dikkat!$' >/dev/null || fail "Alt+Z did nothing in the tracing window"
xdotool key Return
sleep 0.3

# Started with a picture, as a file manager starts it: the picture's folder becomes the current folder once
# the window is up; a missing picture gives the warning box and leaves the start folder.
kill "$app"; wait "$app" 2>/dev/null || true
(cd "$work/start" && exec "$zorvane" ../chart.jpg) >"$work/log" 2>&1 &
app=$!
find_window '^ZORVANE \(Tessarix\)' >/dev/null
for _ in $(seq 100); do [ "$(readlink "/proc/$app/cwd")" = "$work" ] && break; sleep 0.1; done
if [ "$(readlink "/proc/$app/cwd")" != "$work" ]; then
    echo "zorvane ../chart.jpg did not load the picture: current folder $(readlink "/proc/$app/cwd")"; exit 1
fi
kill "$app"; wait "$app" 2>/dev/null || true
(cd "$work/start" && exec "$zorvane" yok.jpg) >"$work/log" 2>&1 &
app=$!
if ! find_window '^Dikkat!$' >/dev/null; then
    echo "zorvane yok.jpg showed no warning"; cat "$work/log"; exit 1
fi
[ "$(readlink "/proc/$app/cwd")" = "$work/start" ] || { echo "a missing picture moved the current folder"; exit 1; }
echo "real-window smoke test: three points recorded, values window on top, window moves while a button is held;"
echo "a picture given on the command line loads, a missing one warns"
