#!/usr/bin/env bash
# Starts the real program under Xvfb in a fresh program folder, keeps an entry as a user
# would (keys and a click on the close button, through xdotool) and checks the bytes of the
# files it leaves; then checks that a second start and a start without setting.dat are
# refused.
#   e2e.sh VANTREL_EXECUTABLE SETTING_DAT
set -euo pipefail
exe="$1"
setting="$2"

work="$(mktemp -d)"
xvfb_pid=""
app_pid=""
others=()
cleanup() {
    for pid in "${others[@]}"; do kill "$pid" 2>/dev/null || true; done
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
    pgrep -a vantrel >&2 || true
    exit 1
}

# shellcheck source=xserver.sh
source "$(dirname "$0")/xserver.sh"
start_xvfb 91 140 || fail "no free X display"
xvfb_pid=$XVFB_PID
unset QT_QPA_PLATFORM
export QT_QPA_PLATFORM=xcb

# Gives the window the keyboard focus (there is no window manager) and presses Return.
press_return() {
    sleep 0.3
    xdotool windowfocus --sync "$1" 2>/dev/null || true
    sleep 0.2
    xdotool key Return
}

home="$work/home"
mkdir -p "$home"
cp "$setting" "$home/setting.dat"
export VANTREL_HOME="$home"

"$exe" &
app_pid=$!
win="$(wait_window Vantrel)" || fail "the main window did not appear"
[ -d "$home/data" ] || fail "no data folder"
[ -d "$home/pacs" ] || fail "no pacs folder"
sleep 0.5
xdotool windowfocus --sync "$win" 2>/dev/null || true
sleep 0.3
# 費目: open the pick list (F2), take the first category, Enter moves to 摘要.
xdotool key F2; sleep 0.2
xdotool key Down; sleep 0.2
xdotool key Return; sleep 0.2
# 金額: type the amount; Enter takes it.
xdotool key Right; sleep 0.2
xdotool type --delay 50 1200; sleep 0.2
xdotool key Return; sleep 0.3
# Next day: the page is saved.
xdotool key Next; sleep 0.5

today="$(date +%Y%m%d)"
month="${today:0:6}"
expected="$(printf '%s,\x90\x48\x94\xEF,,1200,\r\n' "$today")"
actual="$(cat "$home/data/$month.csv")"
[ "$actual" = "$expected" ] || fail "month file after PageDown: $(od -c "$home/data/$month.csv")"

# Back to the day: the keyboard is on the grid again (row 1, 費目); Right, then Ctrl+D asks
# in a box whose caption is 確認 alone, under a real X server. Escape keeps the row.
xdotool key Prior; sleep 0.5
xdotool key Right; sleep 0.2
xdotool key ctrl+d
box="$(wait_window 確認)" || fail "no box captioned exactly 確認 after Ctrl+D"
press_key() {
    sleep 0.3
    xdotool windowfocus --sync "$1" 2>/dev/null || true
    sleep 0.2
    xdotool key "$2"
}
press_key "$box" Escape
sleep 0.5
xdotool windowfocus --sync "$win" 2>/dev/null || true

# A second start is refused with a message; the first goes on.
"$exe" &
second_pid=$!
others+=("$second_pid")
box="$(wait_window error)" || fail "the second start showed no message"
kill -0 "$app_pid" || fail "the first instance ended"
press_return "$box"
for _ in $(seq 50); do kill -0 "$second_pid" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$second_pid" 2>/dev/null; then
    kill "$second_pid"
    fail "the second instance did not end"
fi
second_rc=0
wait "$second_pid" || second_rc=$?
[ "$second_rc" -ne 0 ] || fail "the second instance ended as if it had run"
kill -0 "$app_pid" || fail "the first instance ended with the second"

# Another book beside it runs freely: one program per book, not per machine.
other="$work/other"
mkdir -p "$other"
cp "$setting" "$other/setting.dat"
VANTREL_HOME="$other" "$exe" &
other_pid=$!
others+=("$other_pid")
for _ in $(seq 150); do
    [ "$(xdotool search --onlyvisible --name '^Vantrel$' 2>/dev/null | wc -l)" -ge 2 ] && break
    sleep 0.1
done
[ "$(xdotool search --onlyvisible --name '^Vantrel$' 2>/dev/null | wc -l)" -ge 2 ] ||
    fail "a second book did not open beside the first"
xdotool search --onlyvisible --name '^error$' >/dev/null 2>&1 && fail "a second book was refused"
# A closed book is backed up while two others are open.
closed="$work/closed"
mkdir -p "$closed/data"
cp "$setting" "$closed/setting.dat"
printf '20240101,x,,1,\r\n' >"$closed/data/202401.csv"
mkdir -p "$work/closed-backups"
closed_backup="$(VANTREL_HOME="$closed" "$exe" --backup "$work/closed-backups")" ||
    fail "--backup of a closed book failed while other books were open"
cmp -s "$closed_backup/data/202401.csv" "$closed/data/202401.csv" || fail "closed book's backup"
# The other book ends on SIGTERM, saving as a logout would.
kill -TERM "$other_pid"
other_rc=0
wait "$other_pid" || other_rc=$?
[ "$other_rc" -eq 0 ] || fail "the other book ended with status $other_rc"
[ -e "$other/ini.ini" ] || fail "the other book wrote no ini.ini"

# The command line: --help and --version print and end; anything else is refused.
"$exe" --help | grep -q -- "--backup" || fail "--help says nothing of --backup"
"$exe" --version | grep -q "^Vantrel [0-9]" || fail "--version: $("$exe" --version)"
bogus_rc=0
"$exe" --bogus 2>"$work/bogus.err" >/dev/null || bogus_rc=$?
[ "$bogus_rc" -eq 2 ] || fail "an unknown option ended with status $bogus_rc"
grep -q "usage" "$work/bogus.err" || fail "an unknown option printed no usage"

# vantrel --backup refuses while the program runs: the book is not all on the disk yet.
backup_rc=0
"$exe" --backup "$work/backups" 2>"$work/backup.err" || backup_rc=$?
[ "$backup_rc" -eq 3 ] || fail "--backup ran beside the program (status $backup_rc)"
grep -q "running" "$work/backup.err" || fail "--backup did not say why: $(cat "$work/backup.err")"

# The close button (16 x 16 at 768, 8) ends the program and writes ini.ini.
xdotool mousemove --window "$win" 776 16 click 1
for _ in $(seq 100); do kill -0 "$app_pid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$app_pid" 2>/dev/null && fail "the close button did not end the program"
wait "$app_pid" || fail "the program ended with an error"
app_pid=""
expected_ini="$(printf '[setting]\r\nclipbmp=\r\ndisplayclip=0\r\nsime=0\r\nsime15before=1\r\n[ExtImg]\r\nnum=0\r\n')"
[ "$(cat "$home/ini.ini")" = "$expected_ini" ] || fail "ini.ini: $(od -c "$home/ini.ini")"
[ "$(cat "$home/data/$month.csv")" = "$expected" ] || fail "month file changed at close"

# With the program closed, --backup copies the book and prints the folder.
mkdir -p "$work/backups"
folder="$("$exe" --backup "$work/backups")" || fail "--backup failed"
[ "$(cat "$folder/data/$month.csv")" = "$expected" ] || fail "--backup: month file differs"
cmp -s "$folder/ini.ini" "$home/ini.ini" || fail "--backup: ini.ini differs"
cmp -s "$folder/setting.dat" "$home/setting.dat" || fail "--backup: setting.dat differs"

# Without setting.dat: a message, then the end, with nothing written.
bare="$work/bare"
mkdir -p "$bare"
VANTREL_HOME="$bare" "$exe" &
bare_pid=$!
others+=("$bare_pid")
box="$(wait_window 注意)" || fail "no message without setting.dat"
press_return "$box"
for _ in $(seq 50); do kill -0 "$bare_pid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$bare_pid" 2>/dev/null && { kill "$bare_pid"; fail "the program went on without setting.dat"; }
[ ! -e "$bare/ini.ini" ] || fail "ini.ini was written without setting.dat"
[ ! -e "$bare/data" ] || fail "data was made without setting.dat"

echo "end-to-end: all checks passed"
