#!/usr/bin/env bash
# NET機能 in the real program under Xvfb, against the reference web service under a real
# lighttpd on loopback: the window menu, the password typed, データ確認, データ取り込み, and
# the bytes of the month files and ini.ini afterwards. Exits 77 (skipped) without lighttpd.
#   netimport.sh VANTREL_EXECUTABLE SETTING_DAT VANTREL_CGI
set -euo pipefail
exe="$1"
setting="$2"
cgi="$3"
[ -x /usr/sbin/lighttpd ] || { echo "lighttpd is not installed (tools/setup --test)"; exit 77; }

xvfb_pid=""
app_pid=""
server_pid=""
scratch_pids=(app_pid server_pid xvfb_pid)
# shellcheck source=../support/scratch.sh
source "$(dirname "$0")/../support/scratch.sh"

# shellcheck source=xserver.sh
source "$(dirname "$0")/xserver.sh"
start_xvfb 241 290 || fail "no free X display"
xvfb_pid=$XVFB_PID
export QT_QPA_PLATFORM=xcb

# The web service, on a loopback port nobody uses.
# shellcheck source=../support/ports.sh
source "$(dirname "$0")/../support/ports.sh"
port="$(free_port)" || fail "no free port"
mkdir -p "$work/www/cgi-bin" "$work/service"
cp "$cgi" "$work/www/cgi-bin/vantrel.cgi"
cat >"$work/lighttpd.conf" <<CONF
server.document-root = "$work/www"
server.bind = "127.0.0.1"
server.port = $port
server.errorlog = "$work/error.log"
server.modules = ("mod_cgi", "mod_setenv")
cgi.assign = ( ".cgi" => "" )
setenv.add-environment = ( "VANTREL_SERVICE_DATA" => "$work/service" )
CONF
/usr/sbin/lighttpd -D -f "$work/lighttpd.conf" &
server_pid=$!
wait_port "$port" || fail "the web server did not start"

# Two entries recorded through the service's form: today, and a day of last month.
today="$(date +%Y%m%d)"
lastmonth="$(date -d "$(date +%Y-%m-15) -1 month" +%Y%m)15"
record() {  # form fields
    local body="action=add&id=e2e&pass=secret&$1"
    printf '%s' "$body" | env -i REQUEST_METHOD=POST CONTENT_LENGTH="${#body}" \
        VANTREL_SERVICE_DATA="$work/service" "$work/www/cgi-bin/vantrel.cgi" | head -n 1 |
        grep -q "200 OK" || fail "the service did not record $1"
}
record "date=$today&category=%90H%94%EF&description=%83p%83%93&amount=320&memo=%92%A9"
record "date=$lastmonth&category=%8B%8B%97%BF&description=&amount=15000&memo="

home="$work/home"
mkdir -p "$home"
cp "$setting" "$home/setting.dat"
printf '[net]\r\nurl=http://127.0.0.1:%s/cgi-bin/vantrel.cgi\r\nid=e2e\r\n' "$port" >"$home/ini.ini"
export VANTREL_HOME="$home"
"$exe" &
app_pid=$!
win="$(wait_window Vantrel)" || fail "the main window did not appear"
sleep 0.5

# The window menu (a right click outside the grid), NET機能 the fifth item down.
xdotool mousemove --window "$win" 400 90 click 3
sleep 0.5
for _ in 1 2 3 4 5; do xdotool key Down; sleep 0.1; done
xdotool key Return
dialog="$(wait_window 'NET 機能')" || fail "NET機能 did not open"
sleep 0.3
xdotool windowfocus --sync "$dialog" 2>/dev/null || true
sleep 0.2
# The keyboard starts in Pass (the ID is known); Enter checks.
xdotool type --delay 30 secret
xdotool key Return
sleep 2
# データ取り込み, bottom right of the dialog.
xdotool mousemove --window "$dialog" 354 330 click 1
for _ in $(seq 50); do
    xdotool search --onlyvisible --name '^NET 機能$' >/dev/null 2>&1 || break
    sleep 0.1
done
xdotool search --onlyvisible --name '^NET 機能$' >/dev/null 2>&1 && fail "the dialog stayed open"

expected_today="$(printf '%s,\x90\x48\x94\xEF,\x83\x70\x83\x93,320,\x92\xA9\r\n' "$today")"
[ "$(cat "$home/data/${today:0:6}.csv")" = "$expected_today" ] ||
    fail "this month: $(od -c "$home/data/${today:0:6}.csv")"
expected_last="$(printf '%s,\x8B\x8B\x97\xBF,,15000,\r\n' "$lastmonth")"
[ "$(cat "$home/data/${lastmonth:0:6}.csv")" = "$expected_last" ] ||
    fail "last month: $(od -c "$home/data/${lastmonth:0:6}.csv")"

# The close button: ini.ini keeps the net settings and never the password.
xdotool mousemove --window "$win" 776 16 click 1
for _ in $(seq 100); do kill -0 "$app_pid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$app_pid" 2>/dev/null && fail "the program did not end"
app_pid=""
grep -q "^id=e2e" "$home/ini.ini" || fail "ini.ini lost the ID: $(cat "$home/ini.ini")"
grep -q "secret" "$home/ini.ini" && fail "the password was written to ini.ini"
# The service forgot what it sent.
[ ! -s "$work/service/id-653265/entries.csv" ] || fail "the service still holds the entries"
echo "NET機能: check and import from the real program passed"
