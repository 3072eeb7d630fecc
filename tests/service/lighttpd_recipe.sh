#!/usr/bin/env bash
# The service's lighttpd snippet as a fresh Debian lighttpd takes it: Debian's own
# lighttpd.conf (moved to loopback and a scratch folder), with the cgi and setenv modules the
# snippet depends on and the snippet itself as "lighty-enable-mod vantrel" enables them. The
# configuration must load; an ID written in CP932 with bytes that are not UTF-8 (加藤, 山口,
# a half-width ﾀ) must be registered and fetched; a body past the snippet's size limit must
# be refused by lighttpd; and the store must keep its files to the web server's user.
# Exits 77 (skipped) without lighttpd.
#   lighttpd_recipe.sh VANTREL_CGI SNIPPET
set -euo pipefail
cgi="$1"
snippet="$2"
conf=/etc/lighttpd/lighttpd.conf
available=/etc/lighttpd/conf-available
for need in /usr/sbin/lighttpd "$conf" "$available/10-cgi.conf" "$available/05-setenv.conf"; do
    [ -e "$need" ] || { echo "skipped: $need is missing (tools/setup --test installs lighttpd)"; exit 77; }
done
command -v curl >/dev/null || { echo "skipped: curl is missing"; exit 77; }

server_pid=""
scratch_pids=(server_pid)
# shellcheck source=../support/scratch.sh
source "$(dirname "$0")/../support/scratch.sh"

# The snippet names the modules it needs in its depends line, as lighty-enable-mod reads it.
grep -q '^# -\*- depends: cgi setenv -\*-' "$snippet" || fail "the snippet does not depend on cgi and setenv"

# shellcheck source=../support/ports.sh
source "$(dirname "$0")/../support/ports.sh"
port="$(free_port)" || fail "no free port"

mkdir -p "$work/www" "$work/enabled" "$work/cgi-bin" "$work/uploads"
install -d -m 700 "$work/store"
cp "$cgi" "$work/cgi-bin/vantrel.cgi"
# Debian's configuration with only the places changed: the port, the scratch folders, no pid
# file, no user switch (the test may run as anyone), no IPv6 listener.
sed -e "s|^server.document-root.*|server.document-root = \"$work/www\"|" \
    -e "s|^server.port.*|server.port = $port\nserver.bind = \"127.0.0.1\"|" \
    -e "s|^server.errorlog.*|server.errorlog = \"$work/error.log\"|" \
    -e "s|^server.upload-dirs.*|server.upload-dirs = ( \"$work/uploads\" )|" \
    -e '/^server.pid-file/d; /^server.username/d; /^server.groupname/d' \
    -e '/^include_shell "\/usr\/share\/lighttpd\/use-ipv6.pl/d' \
    -e "s|^include \"/etc/lighttpd/conf-enabled/\*.conf\"|include \"$work/enabled/*.conf\"|" \
    "$conf" >"$work/lighttpd.conf"
sed "s|/usr/lib/cgi-bin/|$work/cgi-bin/|" "$available/10-cgi.conf" >"$work/enabled/10-cgi.conf"
cp "$available/05-setenv.conf" "$work/enabled/05-setenv.conf"
sed "s|/var/lib/vantrel|$work/store|" "$snippet" >"$work/enabled/50-vantrel.conf"

/usr/sbin/lighttpd -tt -f "$work/lighttpd.conf" || fail "lighttpd does not take the configuration"
/usr/sbin/lighttpd -D -f "$work/lighttpd.conf" &
server_pid=$!
wait_port "$port" || fail "the web server did not start"
url="http://127.0.0.1:$port/cgi-bin/vantrel.cgi"

status() { curl -s -o "$work/body" -w '%{http_code}' "$@"; }
[ "$(status "$url")" = 200 ] || fail "the form page is not served"

# 加藤 (89C1 93A1), 山口 (8E52 8CFB) and ﾀ (C0): the last two hold bytes that are not UTF-8.
for id in '%89%C1%93%A1' '%8ER%8C%FB' '%C0'; do
    got="$(status --data "action=add&id=$id&pass=secret&date=20261211&category=%90H%94%EF&description=%83p%83%93&amount=320&memo=" "$url")"
    [ "$got" = 200 ] || fail "adding for ID $id answered $got"
    got="$(status "$url?action=get&id=$id&pass=secret&remove=1")"
    [ "$got" = 200 ] || fail "fetching for ID $id answered $got"
    printf '20261211,\x90H\x94\xef,\x83p\x83\x93,320,\r\n' | cmp -s - "$work/body" ||
        fail "ID $id did not get its entry back: $(od -c "$work/body" | head -3)"
done

# lighttpd refuses a body past the snippet's limit itself (the CGI never reads it).
head -c 300000 /dev/zero | tr '\0' a >"$work/big"
[ "$(status --data-binary @"$work/big" "$url")" = 413 ] || fail "a 300 kB body was not refused with 413"

# Nothing of the store is open to other users.
loose="$(find "$work/store" -perm /077 -printf '%m %p\n')"
[ -z "$loose" ] || fail "the store has files other users can reach: $loose"
echo "the snippet works under Debian's lighttpd.conf"
