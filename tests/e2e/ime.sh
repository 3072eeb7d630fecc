#!/usr/bin/env bash
# Types Japanese into the day page through a real input method (fcitx5 with mozc) under Xvfb
# and checks the bytes of the month file it leaves. Covers the states users start from: a cell
# just clicked, an editor already open, a cell reached by Enter; and PageDown and Home pressed
# in the middle of a composition, which the input method takes and which must not page.
#   ime.sh VANTREL_EXECUTABLE SETTING_DAT
# mozc refuses to run as root: as root, the test runs itself again as an unprivileged user.
# Where fcitx5 and mozc are not installed (and cannot be), it is skipped with exit code 77.
set -euo pipefail
exe="$(readlink -f "$1")"
setting="$(readlink -f "$2")"
user=vantrel-ime

skip() {
    echo "SKIPPED: $*"
    exit 77
}
for tool in fcitx5 fcitx5-remote dbus-daemon Xvfb xdotool; do
    command -v "$tool" >/dev/null 2>&1 || skip "$tool is not installed"
done
[ -x /usr/lib/mozc/mozc_server ] || skip "mozc is not installed"
ls /usr/lib/*/qt6/plugins/platforminputcontexts/libfcitx5platforminputcontextplugin.so \
    >/dev/null 2>&1 || skip "the fcitx5 module for Qt 6 is not installed"

if [ "$(id -u)" -eq 0 ]; then
    id "$user" >/dev/null 2>&1 || useradd --system --no-create-home --shell /usr/sbin/nologin \
        "$user" || skip "no unprivileged user could be made"
    # The build tree may lie where that user cannot read: the program and its files go
    # into a folder of the user's own.
    work="$(mktemp -d)"
    chmod 755 "$work"
    cp "$0" "$work/ime.sh"
    cp "$(dirname "$0")/xserver.sh" "$work/xserver.sh"
    cp "$exe" "$work/vantrel"
    cp "$setting" "$work/setting.dat"
    chown -R "$user" "$work"
    rc=0
    runuser -u "$user" -- env -i PATH="$PATH" TMPDIR="$work" ASAN_OPTIONS="${ASAN_OPTIONS:-}" \
        UBSAN_OPTIONS="${UBSAN_OPTIONS:-}" SHOTS="${SHOTS:-}" \
        bash "$work/ime.sh" "$work/vantrel" "$work/setting.dat" || rc=$?
    rm -rf "$work"
    exit "$rc"
fi

work="$(mktemp -d)"
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
fail() {
    echo "FAIL: $*" >&2
    [ -f "$month_file" ] && od -c "$month_file" | head -20 >&2
    exit 1
}

export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_RUNTIME_DIR="$work/run"
mkdir -p "$HOME" "$XDG_CONFIG_HOME/fcitx5" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
# One input method group: the US keyboard, then mozc.
cat >"$XDG_CONFIG_HOME/fcitx5/profile" <<'PROFILE'
[Groups/0]
Name=Default
Default Layout=us
DefaultIM=mozc

[Groups/0/Items/0]
Name=keyboard-us
Layout=

[Groups/0/Items/1]
Name=mozc
Layout=

[GroupOrder]
0=Default
PROFILE

# shellcheck source=xserver.sh
source "$(dirname "$0")/xserver.sh"
start_xvfb 141 190 || fail "no free X display"
pids+=("$XVFB_PID")

# A private session bus on a file-path socket.
export DBUS_SESSION_BUS_ADDRESS="unix:path=$work/bus"
dbus-daemon --session --address="$DBUS_SESSION_BUS_ADDRESS" --nofork --nopidfile \
    >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 50); do [ -S "$work/bus" ] && break; sleep 0.1; done

fcitx5 --disable=wayland,waylandim,notificationitem,classicui -d >"$work/fcitx5.log" 2>&1 || true
for _ in $(seq 100); do fcitx5-remote >/dev/null 2>&1 && break; sleep 0.1; done
fcitx5-remote >/dev/null 2>&1 || skip "fcitx5 did not start: $(tail -3 "$work/fcitx5.log")"

book="$work/book"
mkdir -p "$book"
cp "$setting" "$book/setting.dat"
today="$(date +%Y%m%d)"
month_file="$book/data/${today:0:6}.csv"
export VANTREL_HOME="$book" QT_IM_MODULE=fcitx QT_QPA_PLATFORM=xcb
"$exe" >"$work/app.log" 2>&1 &
app=$!
pids+=($app)
win=""
for _ in $(seq 150); do
    win="$(xdotool search --onlyvisible --name '^Vantrel$' 2>/dev/null | head -n 1 || true)"
    [ -n "$win" ] && break
    sleep 0.1
done
[ -n "$win" ] || fail "the main window did not appear"
sleep 0.5
xdotool windowfocus --sync "$win" 2>/dev/null || true
sleep 0.5
fcitx5-remote -o
sleep 0.5
[ "$(fcitx5-remote)" = "2" ] || skip "fcitx5 did not take the window's input (state $(fcitx5-remote))"

key() { xdotool key --delay 120 "$@"; sleep 0.4; }
typ() { xdotool type --delay 150 "$1"; sleep 0.6; }
# Grid cell centres, window coordinates: the grid is at (31, 166), rows 26 high under a
# 26 high header; columns 120, 120, 120, 348 wide.
click_cell() {  # row (0 = first entry row), column
    local x=$((31 + (120 * $2) + 60)) y=$((166 + 26 + 26 * $1 + 13))
    [ "$2" -eq 3 ] && x=$((31 + 360 + 100))
    xdotool mousemove --window "$win" "$x" "$y" click 1
    sleep 0.5
}
# With SHOTS set to a folder, pictures of the screen along the way.
shot() { [ -n "${SHOTS:-}" ] && import -window root "$SHOTS/$1.png" 2>/dev/null || true; }

# Row 1: 費目 from its list, Enter on to 金額, typed while the input method is on; Enter on
# to メモ, which is selected without an editor: typed as users do.
click_cell 0 0
key F2 Down Return Return
typ 1300
key Return
shot 1-amount
typ kaimono
shot 2-composing
key space Return                     # convert, take the first candidate
shot 3-committed
key Return                           # the cell; the cursor moves on to a new row
# Row 2: an editor already open (F2) before typing.
key F2 Down Return Return
typ 250
key Return F2
typ hirugohann
key Return Return                    # the composition as it stands, then the cell
shot 4-row2
# Row 3: a cell just clicked; PageDown and Home pressed inside the composition.
key F2 Down Return Return
typ 80
key Return
click_cell 2 3
typ yasai
key space space Next Prior           # next page of candidates and back: the input method's
key Return                           # takes the candidate
typ shika
key Home                             # inside the composition: the input method's
key End Return Return
shot 5-row3
# Now leave the page for real: the day is saved.
key Next
sleep 1
[ -f "$month_file" ] || fail "no month file after PageDown"
# Every row on the day it was typed on (a paging key taken by the input method did not
# move the page), every memo whole from its first letter, the amounts in plain digits.
expected="$(printf '%s,食費,,1300,買い物\r\n%s,食費,,250,ひるごはん\r\n%s,食費,,80,野菜しか\r\n' \
    "$today" "$today" "$today" | iconv -f UTF-8 -t CP932)"
actual="$(cat "$month_file")"
[ "$actual" = "$expected" ] || fail "month file: $(iconv -f CP932 -t UTF-8 "$month_file")"
echo "input method: all checks passed"
