#!/usr/bin/env bash
# The Debian packages as a user meets them, from outside: lintian on both packages, the menu
# entry, the AppStream metadata and both manual pages through their validators with nothing
# to report; then the program unpacked (dpkg-deb -x, nothing installed into the machine) and
# started from there under Xvfb with a fresh HOME, where it must create the book with the
# category list the package carries. Exits 77 (skipped, with the reason) where a tool is
# missing; tools/packages-test.txt lists them.
#   installed.sh PACKAGE_FOLDER (tools/package's build/package)
set -euo pipefail
packages="$(cd "$1" && pwd)"
here="$(cd "$(dirname "$0")" && pwd)"
for tool in dpkg-deb lintian desktop-file-validate appstreamcli man Xvfb xdotool; do
    command -v "$tool" >/dev/null ||
        { echo "skipped: $tool is missing (tools/setup --test installs it)"; exit 77; }
done
deb="$(ls "$packages"/vantrel_*.deb 2>/dev/null | head -n 1 || true)"
service="$(ls "$packages"/vantrel-service_*.deb 2>/dev/null | head -n 1 || true)"
[ -n "$deb" ] && [ -n "$service" ] || { echo "FAIL: no packages in $packages (run tools/package)"; exit 1; }

xvfb_pid=""
app_pid=""
scratch_pids=(app_pid xvfb_pid)
# shellcheck source=../support/scratch.sh
source "$here/../support/scratch.sh"
# Runs a check; any line it prints, on either stream, is a finding.
quiet() {
    local what="$1" said
    shift
    said="$("$@" 2>&1)" || fail "$what failed: $said"
    [ -z "$said" ] || fail "$what reports: $said"
}

# lintian: nothing at warning level or above (infos are listed, not counted).
# (As root it also says that it would rather not run as root: that line is no finding.)
lint="$(lintian --fail-on error,warning "$deb" "$service" 2>&1)" || fail "lintian: $lint"
lint="$(echo "$lint" | grep -v '^running with root privileges is not recommended!$' || true)"
if echo "$lint" | grep -E '^[EW]: ' >/dev/null; then fail "lintian: $lint"; fi
[ -z "$lint" ] || echo "lintian (information only): $lint"

root="$work/root"
dpkg-deb -x "$deb" "$root"
dpkg-deb -x "$service" "$work/service"
desktop="$root/usr/share/applications/org.vantrel.vantrel.desktop"
metainfo="$root/usr/share/metainfo/org.vantrel.vantrel.metainfo.xml"
[ -f "$desktop" ] || fail "no menu entry in the package"
quiet "desktop-file-validate" desktop-file-validate "$desktop"
grep -qx 'Name\[ja\]=Vantrel 家計簿' "$desktop" || fail "the menu entry has no Japanese name"
grep -qx 'Categories=Office;Finance;' "$desktop" || fail "the menu entry is not in Office;Finance"
# --no-net: the check of the screenshots' addresses needs the network this machine lacks.
said="$(appstreamcli validate --no-net "$metainfo" 2>&1)" || fail "appstreamcli: $said"
[ "$said" = "✔ Validation was successful." ] || fail "appstreamcli reports: $said"
for size in 16 24 32 48 64 128 256; do
    icon="$root/usr/share/icons/hicolor/${size}x${size}/apps/vantrel.png"
    file "$icon" | grep -q "PNG image data, $size x $size" || fail "no ${size}px icon"
done
[ -s "$root/usr/share/icons/hicolor/scalable/apps/vantrel.svg" ] || fail "no scalable icon"
for page in man1/vantrel.1.gz ja/man1/vantrel.1.gz; do
    [ -f "$root/usr/share/man/$page" ] || fail "no manual page $page"
    said="$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l "$root/usr/share/man/$page" \
        2>&1 >/dev/null)" || fail "man $page failed: $said"
    [ -z "$said" ] || fail "man --warnings $page reports: $said"
done
[ -x "$work/service/usr/lib/cgi-bin/vantrel.cgi" ] || fail "no CGI in vantrel-service"
[ -f "$work/service/etc/lighttpd/conf-available/50-vantrel.conf" ] ||
    fail "no lighttpd snippet in vantrel-service"

# The program answers --version with the package's version, and --help.
exe="$root/usr/bin/vantrel"
version="$(dpkg-deb -f "$deb" Version)"
said="$("$exe" --version)"
echo "$said" | grep -Eq "^Vantrel $version \(revision [0-9a-f]{12}\+?|unknown\)$" ||
    fail "--version said '$said', the package is $version"
"$exe" --help | grep -q "usage:" || fail "--help printed no usage"

# A fresh HOME: the book appears in the XDG data folder with the package's category list.
home="$work/home"
mkdir -p "$home"
# shellcheck source=../e2e/xserver.sh
source "$here/../e2e/xserver.sh"
start_xvfb 300 340 || fail "no free X display"
xvfb_pid=$XVFB_PID
env -i HOME="$home" DISPLAY="$DISPLAY" PATH=/usr/bin:/bin QT_QPA_PLATFORM=xcb \
    XDG_RUNTIME_DIR="$work" LANG=C.UTF-8 "$exe" >"$work/app.log" 2>&1 &
app_pid=$!
wait_window Vantrel >/dev/null || { list_windows; cat "$work/app.log" >&2; fail "the window did not appear"; }
book="$home/.local/share/vantrel"
cmp -s "$root/usr/share/vantrel/setting.dat" "$book/setting.dat" ||
    fail "the new book has not the package's category list"
[ -d "$book/data" ] || fail "the new book has no data folder"
# Ended as a desktop session ends it: the program saves and quits by itself.
kill -TERM "$app_pid"
for _ in $(seq 100); do kill -0 "$app_pid" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$app_pid" 2>/dev/null; then fail "the program did not end when its window was closed"; fi
wait "$app_pid" || fail "the program ended with status $?: $(cat "$work/app.log")"
app_pid=""
echo "the packages pass their checks and the unpacked program starts a new book"
