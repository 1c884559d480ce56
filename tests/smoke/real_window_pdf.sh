#!/bin/bash
# Starts zorvane in a real X window (Xvfb) and opens a PDF through the real file dialog: the page chooser opens,
# Enter saves the first page as a picture beside the PDF; Esc in the chooser writes nothing; a file that is no PDF
# gives a "Dikkat!" box.
set -eEuo pipefail
trap 'echo "line $LINENO failed: $BASH_COMMAND"' ERR # set -e alone stops without a word
zorvane=$(realpath "$1")
make_chart=$(realpath "$2")

for tool in Xvfb xdotool; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done

work=$(mktemp -d)
cleanup() {
    stop_processes "${app:-}" "${xvfb:-}"
    rm -rf "$work"
}
trap cleanup EXIT
source "$(dirname "${BASH_SOURCE[0]}")/x_windows.sh"
fail() { echo "$1"; ls -la "$work"; cat "$work/log"; exit 1; }

start_xvfb
export QT_QPA_PLATFORM=xcb

"$make_chart" "$work/makale.pdf"
printf 'merhaba\n' > "$work/bozuk.pdf"
mkdir "$work/start"
(cd "$work/start" && exec "$zorvane") >"$work/log" 2>&1 &
app=$!
window=$(find_window '^ZORVANE \(Tessarix\)')
xdotool windowfocus --sync "$window"
sleep 0.5

gone() { window_gone "$1" || fail "\"$1\" stayed open"; }
open_through_dialog() { # "&Grafik Yükle", then the path typed into Qt's own file dialog
    xdotool windowfocus --sync "$window"
    xdotool key --window "$window" alt+g
    dialog=$(find_window 'Resim Dosyalar')
    xdotool windowfocus --sync "$dialog"
    sleep 0.3
    xdotool type --delay 10 "$1"
    xdotool key Return
    gone 'Resim Dosyalar'
}
answer_chooser() {
    chooser=$(find_window '^Sayfa Seç$')
    xdotool windowfocus --sync "$chooser"
    sleep 0.5
    [ -n "${SMOKE_SCREENSHOT:-}" ] && xwd -root -silent > "$SMOKE_SCREENSHOT"
    xdotool key "$1"
    gone '^Sayfa Seç$'
}

open_through_dialog "$work/makale.pdf"
answer_chooser Return
for _ in $(seq 100); do [ -s "$work/makale-s1.png" ] && break; sleep 0.1; done
[ -s "$work/makale-s1.png" ] || fail "Enter in the chooser saved no picture"
if xdotool search --onlyvisible --name '^Dikkat!$' >/dev/null 2>&1; then fail "a warning came up"; fi

open_through_dialog "$work/makale.pdf"
answer_chooser Escape
sleep 0.5
[ -e "$work/makale-s1-2.png" ] && fail "Esc in the chooser wrote a picture"

open_through_dialog "$work/bozuk.pdf"
warning=$(find_window '^Dikkat!$')
xdotool windowfocus --sync "$warning"
xdotool key Return
gone '^Dikkat!$'
[ "$(ls "$work" | grep -c '\.png$')" = 1 ] || fail "pictures other than makale-s1.png were written"
echo "real-window PDF smoke test: page saved and loaded, Esc wrote nothing, a bad PDF was warned about"
