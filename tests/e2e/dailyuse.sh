#!/usr/bin/env bash
# Daily use of the real program under Xvfb, by keys alone (xdotool), checked from outside:
# every accepted edit is in the month file at once, an amount typed as "1,280" is stored as
# 1280, F2 keeps a cell's text, a row without its amount is not left behind unasked, the
# window menu opens with F10, and the category editor closes with Escape.
#   dailyuse.sh VANTREL_EXECUTABLE SETTING_DAT
set -euo pipefail
exe="$1"
setting="$2"

work="$(mktemp -d)"
xvfb_pid=""
app_pid=""
cleanup() {
    if [ -n "$app_pid" ]; then
        kill "$app_pid" 2>/dev/null || true
        wait "$app_pid" 2>/dev/null || true
    fi
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
fail() {
    echo "FAIL: $*" >&2
    list_windows
    exit 1
}

# shellcheck source=xserver.sh
source "$(dirname "$0")/xserver.sh"
start_xvfb 141 190 || fail "no free X display"
xvfb_pid=$XVFB_PID
export QT_QPA_PLATFORM=xcb

home="$work/home"
mkdir -p "$home"
cp "$setting" "$home/setting.dat"
export VANTREL_HOME="$home"
today="$(date +%Y%m%d)"
month="${today:0:6}"
file="$home/data/$month.csv"

"$exe" &
app_pid=$!
win="$(wait_window Vantrel)" || fail "the main window did not appear"
sleep 0.5
focus() { xdotool windowfocus --sync "$win" 2>/dev/null || true; sleep 0.3; }
visible() { xdotool search --onlyvisible --name '' 2>/dev/null | wc -l; }
focus

# 費目 from its list, then the amount as people type it: in the file at once.
xdotool key F2; sleep 0.2; xdotool key Down; sleep 0.2; xdotool key Return; sleep 0.3
xdotool key Right; sleep 0.2
xdotool type --delay 50 '1,280'; sleep 0.2
xdotool key Return; sleep 0.5
expected="$(printf '%s,\x90\x48\x94\xEF,,1280,\r\n' "$today")"
[ "$(cat "$file")" = "$expected" ] || fail "after the amount: $(od -c "$file" | head)"

# The memo, then F2 on it: the text is kept and the next key adds to it.
xdotool type --delay 50 'lunch'; xdotool key Return; sleep 0.4
xdotool key Up; sleep 0.2; xdotool key End; sleep 0.2
xdotool key F2; sleep 0.3; xdotool type --delay 50 'X'; xdotool key Return; sleep 0.5
expected="$(printf '%s,\x90\x48\x94\xEF,,1280,lunchX\r\n' "$today")"
[ "$(cat "$file")" = "$expected" ] || fail "after F2: $(od -c "$file" | head)"

# F10 opens the window menu; Escape closes it.
before="$(visible)"
xdotool key F10; sleep 0.6
[ "$(visible)" -gt "$before" ] || fail "F10 opened no menu"
xdotool key Escape; sleep 0.4
focus

# The category editor (Ctrl+H) closes with Escape when nothing changed.
xdotool key ctrl+h
wait_window 費目設定 >/dev/null || fail "Ctrl+H opened no category editor"
sleep 0.4
xdotool key Escape; sleep 0.6
xdotool search --onlyvisible --name '^費目設定$' >/dev/null 2>&1 &&
    fail "Escape left the category editor open"
focus

# A new row with a memo and no amount: leaving the day asks; いいえ (Escape) stays.
xdotool key ctrl+n; sleep 0.3
xdotool key Right Right Right; sleep 0.2
xdotool type --delay 50 'later'; xdotool key Return; sleep 0.4
xdotool key Next
box="$(wait_window 確認)" || fail "leaving a row without an amount asked nothing"
sleep 0.3
xdotool windowfocus --sync "$box" 2>/dev/null || true
xdotool key Escape; sleep 0.6
focus
# Still on today: the page's rows are as typed, and the file holds the whole entry only.
[ "$(cat "$file")" = "$expected" ] || fail "the file changed while the row waited"

# The close button asks the same question; はい (Return) drops the row and ends.
xdotool mousemove --window "$win" 776 16 click 1
box="$(wait_window 確認)" || fail "closing with a row without an amount asked nothing"
sleep 0.3
xdotool windowfocus --sync "$box" 2>/dev/null || true
xdotool key Return
for _ in $(seq 100); do kill -0 "$app_pid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$app_pid" 2>/dev/null && fail "the program did not end"
wait "$app_pid" || fail "the program ended with an error"
app_pid=""
[ "$(cat "$file")" = "$expected" ] || fail "at the end: $(od -c "$file" | head)"
echo "daily use: all checks passed"
